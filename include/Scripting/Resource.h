// One resource: its meta file, scripts, client files, start and stop, and the file access of its scripts.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "Engine/ArgumentMap.h"
#include "Engine/ObjectModel.h"
#include "Engine/Stream.h"

namespace Ferrox3D {

class CResourceMgr;
class CScriptEnvironment;
class CTARArchive;
class CElementChunk;

enum eResourceScriptKind : int32_t {
    RESOURCE_SCRIPT_UNKNOWN = 0,
    RESOURCE_SCRIPT_LUA = 1,
    RESOURCE_SCRIPT_SQUIRREL = 2,
    RESOURCE_SCRIPT_JAVASCRIPT = 3,
    RESOURCE_SCRIPT_MAP = 4,
};

// One script or map, read whole when the meta file is loaded.
struct tResourceScript {
    int32_t m_Kind = RESOURCE_SCRIPT_UNKNOWN;
    std::string m_Path;
    uint64_t m_Size = 0;
    std::vector<uint8_t> m_Bytes;
};

// One file delivered to clients over HTTP under its hash name.
struct tClientFile {
    std::string m_Name;      // the meta file's src, cut to 255 bytes
    std::string m_HashName;  // SHA-256 of the lower-cased name, 64 upper-case hex digits
    uint64_t m_Size = 0;
    uint32_t m_Checksum = 0;  // CRC-32 of the bytes
};

class CResource : public CBaseObject {
public:
    CResource(CResourceMgr* pManager, const char* name);
    ~CResource() override;

    ReflectedClass* GetReflectedClass() override;

    // Reads "meta.xml" and rebuilds the dependencies, script lists and client files.
    bool LoadMeta(bool server);
    virtual bool Start();
    // restarting: whether the stop is part of a restart (passed to OnResourceStop).
    bool Stop(bool restarting);
    bool Restart();
    bool LoadFileSystem();

    // File access of the resource's scripts: only inside the resource's own folder or archive.
    Strong<Stream> OpenFile(const char* path, bool write);
    Strong<Stream> CreateFile(const char* path);
    bool FileExists(const char* path, bool acceptFile, bool acceptDirectory);

    void ClearScripts();
    // Drops the references to other resources (breaks dependency cycles before release).
    void ClearDependencies() { m_Dependencies.clear(); }
    // Copies the client files under "/htdocs/resources/<name>/<hash name>".
    void UpdateHtDocs();
    // Closes the archive; the next file access opens it again.
    void CloseArchive();

    const std::string& GetName() const { return m_Name; }
    CResourceMgr* GetManager() const { return m_pManager; }
    // The manager is going away; this resource only waits for its last reference.
    void ForgetManager() { m_pManager = nullptr; }
    bool IsStarted() const;
    bool IsStarting() const { return m_bStarting; }
    bool IsArchiveResource() const;
    bool IsPrivileged() const { return m_bPrivileged; }
    void SetPrivileged(bool privileged) { m_bPrivileged = privileged; }

    const std::string& GetFolderPath() const { return m_FolderPath; }
    const std::string& GetArchivePath() const { return m_ArchivePath; }
    void SetPaths(const std::string& folder, const std::string& archive);

    const std::vector<Strong<CResource>>& GetDependencies() const { return m_Dependencies; }
    const std::vector<tResourceScript>& GetServerScripts() const { return m_ServerScripts; }
    const std::vector<tResourceScript>& GetClientScripts() const { return m_ClientScripts; }
    const std::vector<tClientFile>& GetClientFiles() const { return m_ClientFiles; }
    CArgumentMap& GetExports() { return *m_pExports; }
    CScriptEnvironment* GetEnvironment(int index) const { return m_rgEnvironments[index]; }

    // Environments in the order they are destroyed: Lua, JavaScript, Squirrel.
    enum { ENV_LUA = 0, ENV_JAVASCRIPT = 1, ENV_SQUIRREL = 2, ENV_COUNT = 3 };

private:
    // Meta loading, one element kind each; false after logging why.
    bool LoadDependencies(const CElementChunk& root);
    bool LoadScripts(const CElementChunk& root, const char* element, bool isMap);
    bool LoadClientFiles(const CElementChunk& root);
    bool ReadScript(const char* src, int32_t kind, bool client);
    bool AddClientFile(const char* src, const char* type);

    bool StartDependencies();
    void CreateEnvironments();
    bool RunServerScripts();
    bool RunScript(const tResourceScript& script);
    void DestroyEnvironments();
    void RemoveRegistrations();

    // The path a script entry records for src.
    std::string EntryPath(const char* src) const;
    // The virtual path of a relative path inside the resource folder.
    std::string JoinFolder(const char* path) const;
    // Whether the real file behind a folder path stays inside the resource folder (no symlink out).
    bool StaysInFolder(const std::string& virtualPath) const;

    CResourceMgr* m_pManager;
    std::string m_Name;
    CScriptEnvironment* m_rgEnvironments[ENV_COUNT] = {};
    std::vector<Strong<CResource>> m_Dependencies;
    std::vector<tResourceScript> m_ServerScripts;
    std::vector<tResourceScript> m_ClientScripts;
    std::vector<tClientFile> m_ClientFiles;
    bool m_bPrivileged = false;
    bool m_bStarting = false;
    std::string m_FolderPath;
    std::string m_ArchivePath;
    std::unique_ptr<CTARArchive> m_pArchive;
    Strong<CArgumentMap> m_pExports;
};

}  // namespace Ferrox3D
