// Path rules of resource files.
#include "Scripting/ResourcePaths.h"
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace Ferrox3D {

bool IsResourceRelativePath(const char* path) {
    if (!path || !*path || path[0] == '/' || path[0] == '\\')
        return false;
    const char* start = path;
    for (const char* p = path;; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0') {
            if (p - start == 2 && start[0] == '.' && start[1] == '.')
                return false;
            if (*p == '\0')
                return true;
            start = p + 1;
        }
    }
}

namespace {

struct FreeDeleter {
    void operator()(char* p) const { free(p); }
};

// realpath of the path, or of its deepest existing ancestor with the rest appended.
std::string ResolveExisting(const std::string& path) {
    std::string head = path;
    std::string tail;
    while (!head.empty()) {
        std::unique_ptr<char, FreeDeleter> resolved(realpath(head.c_str(), nullptr));
        if (resolved)
            return std::string(resolved.get()) + tail;
        size_t slash = head.find_last_of('/');
        if (slash == std::string::npos)
            return std::string();
        tail = head.substr(slash) + tail;
        head.erase(slash);
    }
    return std::string();
}

}  // namespace

bool IsInsideRealFolder(const std::string& realFolder, const std::string& realTarget) {
    std::string folder = ResolveExisting(realFolder);
    std::string target = ResolveExisting(realTarget);
    if (folder.empty() || target.empty())
        return false;
    if (folder.back() != '/')
        folder += '/';
    return target.compare(0, folder.size(), folder) == 0 || target + "/" == folder;
}

}  // namespace Ferrox3D
