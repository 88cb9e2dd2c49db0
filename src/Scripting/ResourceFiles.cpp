// CResource file access: a script reaches only the files of its own folder or archive.
#include "Engine/FileSystem.h"
#include "Engine/TarArchive.h"
#include "Scripting/Resource.h"
#include "Scripting/ResourceMgr.h"
#include "Scripting/ResourcePaths.h"

namespace Ferrox3D {

namespace {

std::string JoinPath(const std::string& folder, const char* path) {
    if (folder.empty())
        return path;
    char last = folder.back();
    return last == '/' || last == '\\' ? folder + path : folder + "/" + path;
}

}  // namespace

std::string CResource::EntryPath(const char* src) const { return JoinPath(m_FolderPath, src); }

std::string CResource::JoinFolder(const char* path) const { return JoinPath(m_FolderPath, path); }

// The file system's folder root decides where a virtual path lands on disk; a symbolic link
// inside the resource must not lead out of it.
bool CResource::StaysInFolder(const std::string& virtualPath) const {
    CFileSystem* pFileSystem = m_pManager ? m_pManager->GetFileSystem() : nullptr;
    std::string base;
    if (!pFileSystem || !pFileSystem->ResolvePath(base))
        return true;  // no folder on disk behind the file system: nothing to escape to
    auto real = [&](const std::string& path) { return base + (path[0] == '/' ? path.substr(1) : path); };
    return IsInsideRealFolder(real(m_FolderPath), real(virtualPath));
}

bool CResource::IsArchiveResource() const { return !m_ArchivePath.empty() && m_FolderPath.empty(); }

Strong<Stream> CResource::OpenFile(const char* path, bool write) {
    if (!LoadFileSystem() || !IsResourceRelativePath(path))
        return nullptr;
    if (IsArchiveResource())  // never falls through to the server folder
        return write ? nullptr : m_pArchive->Open(path, false);
    std::string joined = JoinFolder(path);
    if (!StaysInFolder(joined))
        return nullptr;
    return m_pManager->GetFileSystem()->Open(joined.c_str(), write);
}

Strong<Stream> CResource::CreateFile(const char* path) {
    if (IsArchiveResource() || m_FolderPath.empty() || !IsResourceRelativePath(path))
        return nullptr;
    std::string joined = JoinFolder(path);
    if (!StaysInFolder(joined))
        return nullptr;
    return m_pManager->GetFileSystem()->Create(joined.c_str());
}

bool CResource::FileExists(const char* path, bool acceptFile, bool acceptDirectory) {
    if (!LoadFileSystem() || !IsResourceRelativePath(path))
        return false;
    if (IsArchiveResource())
        return m_pArchive->Exists(path, acceptFile, acceptDirectory);
    std::string joined = JoinFolder(path);
    return StaysInFolder(joined) && m_pManager->GetFileSystem()->Exists(joined.c_str(), acceptFile, acceptDirectory);
}

}  // namespace Ferrox3D
