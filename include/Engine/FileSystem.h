// The virtual file system: file sources behind one interface, and the stack of root sources.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "Engine/Stream.h"

namespace Ferrox3D {

class CFileMgr {
public:
    struct tDirectoryEntry {
        const char* m_pDirectory;  // the directory path
        const char* m_pName;       // the entry's name inside it
        bool m_bFile;
        bool m_bDirectory;
    };
    // Called for each entry; returns true to go on.
    using tEnumerateCallback = std::function<bool(const tDirectoryEntry&)>;

    // Creates every folder on the way (mode 0755, errors ignored), then the file (truncated,
    // readable and writable). Null when the file cannot be opened.
    static Strong<Stream> Create(const std::string& realPath);
};

// A file source. Paths use "/" separators; a leading "/" is optional.
class CVirtualFileMgr {
public:
    virtual ~CVirtualFileMgr() = default;
    // Null when the file is missing; with write set, only an existing file opens.
    virtual Strong<Stream> Open(const char* path, bool write) = 0;
    // Creates or truncates a file; null when the source cannot write.
    virtual Strong<Stream> Create(const char* path) = 0;
    virtual bool Exists(const char* path, bool acceptFile, bool acceptDirectory) = 0;
    // False when the callback stopped the enumeration (or, for archives, the directory is missing).
    virtual bool Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) = 0;
};

// Root sources tried in mount order: the first that has a file wins.
class CFileSystem : public CVirtualFileMgr {
public:
    void Mount(std::unique_ptr<CVirtualFileMgr> source);
    // The executable's folder, then the built-in archive; false when neither could be mounted.
    bool MountDefaultRoots();

    Strong<Stream> Open(const char* path, bool write) override;
    Strong<Stream> Create(const char* path) override;
    bool Exists(const char* path, bool acceptFile, bool acceptDirectory) override;
    // Each root that has the directory enumerates it in turn; the entry's directory is the
    // virtual path and a name is reported once. A directory no root has enumerates as empty.
    bool Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) override;
    // The real folder (with a trailing "/") of the first folder root that exists.
    bool ResolvePath(std::string& out) const;

    size_t GetRootCount() const { return m_Roots.size(); }

private:
    std::vector<std::unique_ptr<CVirtualFileMgr>> m_Roots;
};

// "/" + path, unless it already starts with "/".
std::string MakeAbsolutePath(const char* path);

}  // namespace Ferrox3D
