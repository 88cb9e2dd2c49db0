// A folder on disk as a file source, and where the executable lives.
#include "Engine/MountedPath.h"
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <memory>

namespace Ferrox3D {

namespace {
struct tDirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool StatKind(const std::string& path, bool& isFile, bool& isDirectory) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return false;
    isFile = S_ISREG(info.st_mode);
    isDirectory = S_ISDIR(info.st_mode);
    return true;
}

bool ReadLink(const char* link, std::string& target) {
    char buffer[4096];
    ssize_t length = readlink(link, buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return false;
    target.assign(buffer, static_cast<size_t>(length));
    return true;
}
}  // namespace

std::string CMountedPath::Join(const char* path) const {
    std::string relative = path ? path : "";
    if (m_Folder.empty())
        return relative;
    if (!relative.empty() && relative[0] == '/')
        relative.erase(0, 1);
    char last = m_Folder.back();
    return (last == '/' || last == '\\') ? m_Folder + relative : m_Folder + "/" + relative;
}

Strong<Stream> CMountedPath::Open(const char* path, bool write) {
    return Strong<Stream>::Adopt(CStandardStream::Open(Join(path).c_str(), write ? "r+b" : "rb"));
}

Strong<Stream> CMountedPath::Create(const char* path) { return CFileMgr::Create(Join(path)); }

bool CMountedPath::Exists(const char* path, bool acceptFile, bool acceptDirectory) {
    bool isFile, isDirectory;
    return StatKind(Join(path), isFile, isDirectory) && ((isFile && acceptFile) || (isDirectory && acceptDirectory));
}

bool CMountedPath::Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) {
    std::string directory = Join(path);
    std::unique_ptr<DIR, tDirCloser> dir(opendir(directory.c_str()));
    if (!dir)
        return true;  // an absent folder enumerates as empty
    std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    while (struct dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        bool isFile, isDirectory;
        if (name == "." || name == ".." || !StatKind(prefix + name, isFile, isDirectory))
            continue;
        if (!callback(CFileMgr::tDirectoryEntry{directory.c_str(), name.c_str(), isFile, isDirectory}))
            return false;
    }
    return true;
}

Strong<Stream> CFileMgr::Create(const std::string& realPath) {
    for (size_t slash = realPath.find('/', 1); slash != std::string::npos; slash = realPath.find('/', slash + 1))
        mkdir(realPath.substr(0, slash).c_str(), 0755);  // errors show when the file is opened
    return Strong<Stream>::Adopt(CStandardStream::Open(realPath.c_str(), "wb+"));
}

std::string GetExecutableFolder() {
    std::string target;
    if (!ReadLink("/proc/self/exe", target)) {
        char link[64];
        snprintf(link, sizeof(link), "/proc/%llu/exe", static_cast<unsigned long long>(getpid()));
        if (!ReadLink(link, target))
            return "";
    }
    size_t slash = target.rfind('/');
    return slash == std::string::npos ? "" : target.substr(0, slash + 1);
}

}  // namespace Ferrox3D
