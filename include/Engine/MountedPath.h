// A folder on disk served as a file source.
#pragma once
#include <string>
#include "Engine/FileSystem.h"

namespace Ferrox3D {

class CMountedPath : public CVirtualFileMgr {
public:
    // An empty folder means paths are taken as given.
    explicit CMountedPath(std::string folder) : m_Folder(std::move(folder)) {}

    Strong<Stream> Open(const char* path, bool write) override;
    Strong<Stream> Create(const char* path) override;
    bool Exists(const char* path, bool acceptFile, bool acceptDirectory) override;
    // A folder that cannot be opened enumerates as empty (true).
    bool Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) override;

    const std::string& GetFolder() const { return m_Folder; }
    // The folder and the path joined with one "/".
    std::string Join(const char* path) const;

private:
    std::string m_Folder;
};

// The folder that holds the running executable, with a trailing "/"; empty when unknown.
std::string GetExecutableFolder();

}  // namespace Ferrox3D
