// The stack of root file sources and the default roots: the executable's folder, then the built-in archive.
#include "Engine/FileSystem.h"
#include <unordered_set>
#include "Engine/BuiltinArchive.h"
#include "Engine/MountedPath.h"
#include "Engine/TarArchive.h"

namespace Ferrox3D {

std::string MakeAbsolutePath(const char* path) {
    std::string absolute = path ? path : "";
    if (absolute.empty() || absolute[0] != '/')
        absolute.insert(0, "/");
    return absolute;
}

void CFileSystem::Mount(std::unique_ptr<CVirtualFileMgr> source) {
    if (source)
        m_Roots.push_back(std::move(source));
}

bool CFileSystem::MountDefaultRoots() {
    std::string folder = GetExecutableFolder();
    if (!folder.empty())
        Mount(std::make_unique<CMountedPath>(folder));
    tBuiltinArchive builtin = GetBuiltinArchive();
    auto archive = std::make_unique<CTARArchive>();
    Strong<Stream> data = Strong<Stream>::Adopt(new CMemoryStream(builtin.m_pData, builtin.m_Size));
    if (builtin.m_Size && archive->Read(data))
        Mount(std::move(archive));
    return !m_Roots.empty();
}

Strong<Stream> CFileSystem::Open(const char* path, bool write) {
    std::string absolute = MakeAbsolutePath(path);
    for (auto& root : m_Roots)
        if (Strong<Stream> stream = root->Open(absolute.c_str(), write))
            return stream;
    return nullptr;
}

Strong<Stream> CFileSystem::Create(const char* path) {
    std::string absolute = MakeAbsolutePath(path);
    for (auto& root : m_Roots)
        if (Strong<Stream> stream = root->Create(absolute.c_str()))
            return stream;
    return nullptr;
}

bool CFileSystem::Exists(const char* path, bool acceptFile, bool acceptDirectory) {
    std::string absolute = MakeAbsolutePath(path);
    for (auto& root : m_Roots)
        if (root->Exists(absolute.c_str(), acceptFile, acceptDirectory))
            return true;
    return false;
}

bool CFileSystem::Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) {
    std::string absolute = MakeAbsolutePath(path);
    std::unordered_set<std::string> reported;
    auto once = [&](const CFileMgr::tDirectoryEntry& entry) {
        if (!reported.insert(entry.m_pName).second)
            return true;
        CFileMgr::tDirectoryEntry virtualEntry = entry;
        virtualEntry.m_pDirectory = absolute.c_str();
        return callback(virtualEntry);
    };
    for (auto& root : m_Roots) {
        // A root without the directory adds nothing (an archive would report it as a failure).
        if (!root->Exists(absolute.c_str(), false, true))
            continue;
        if (!root->Enumerate(absolute.c_str(), once))
            return false;
    }
    return true;
}

bool CFileSystem::ResolvePath(std::string& out) const {
    for (const auto& root : m_Roots) {
        auto* folder = dynamic_cast<CMountedPath*>(root.get());
        if (folder && folder->Exists("/", false, true)) {
            out = folder->GetFolder();
            if (out.empty() || out.back() != '/')
                out += '/';
            return true;
        }
    }
    return false;
}

}  // namespace Ferrox3D
