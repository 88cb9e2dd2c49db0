// CResourceMgr: the cache of resources, discovery under "/resources" and the rescan.
#include "Scripting/ResourceMgr.h"
#include <strings.h>
#include <algorithm>
#include "Engine/FileSystem.h"
#include "Engine/Log.h"
#include "Engine/Scripting.h"
#include "Scripting/EventHandlers.h"

namespace Ferrox3D {

namespace {

bool IsGroupFolder(const std::string& name) { return name.size() >= 2 && name.front() == '[' && name.back() == ']'; }

// The base name of an archive resource ("race.TAR" -> "race"), or empty for any other file.
std::string ArchiveBaseName(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || strcasecmp(name.c_str() + dot + 1, "tar") != 0)
        return std::string();
    return name.substr(0, dot);
}

}  // namespace

CResourceMgr::CResourceMgr(CFileSystem* pFileSystem, CScripting* pScripting, CEventHandlers* pEvents)
    : m_pFileSystem(pFileSystem), m_pScripting(pScripting), m_pEvents(pEvents) {
    if (m_pEvents) {
        m_pOnResourceStart = m_pEvents->CreateEventType(
            "OnResourceStart", "Called when a resource has been started. Preventing the default stops it again.", 1,
            true);
        m_pOnResourceStop = m_pEvents->CreateEventType(
            "OnResourceStop", "Called when a resource is being stopped. Preventing the default keeps it running.", 2,
            true);
        for (CEventType* pType : {m_pOnResourceStart, m_pOnResourceStop})
            if (pType)
                pType->SetSourceIndex(0);
    }
}

CResourceMgr::~CResourceMgr() {
    ClearAllResources();
    for (CResource* pResource : m_Live)
        pResource->ForgetManager();
}

CResource* CResourceMgr::NewResource(const char* name) { return new CResource(this, name); }

CResource* CResourceMgr::FindResourceByName(const char* name) const {
    if (!name)
        return nullptr;
    for (const auto& pResource : m_Cache)
        if (strcasecmp(pResource->GetName().c_str(), name) == 0)
            return pResource;
    return nullptr;
}

std::vector<CResource*> CResourceMgr::GetResources() const {
    std::vector<CResource*> resources;
    for (const auto& pResource : m_Cache)
        resources.push_back(pResource);
    return resources;
}

void CResourceMgr::EnsureLoadedResource(const char* name, const std::string& folder, const std::string& archive,
                                        bool log) {
    if (CResource* pResource = FindResourceByName(name)) {
        pResource->SetPaths(folder, archive);
        return;
    }
    Strong<CResource> pResource = Strong<CResource>::Adopt(NewResource(name));
    pResource->SetPaths(folder, archive);
    m_Cache.push_back(pResource);
    if (log)
        Log("Found new resource %s", name);
}

// Every entry is looked at: a group folder is scanned whole and never ends the scan of its parent.
bool CResourceMgr::ScanFolder(const char* path, bool log, std::vector<std::string>& seen) {
    return m_pFileSystem->Enumerate(path, [&](const CFileMgr::tDirectoryEntry& entry) {
        std::string name = entry.m_pName;
        std::string inner = std::string(path) + "/" + name;
        if (name.empty() || name[0] == '.')
            return true;
        if (entry.m_bDirectory && IsGroupFolder(name)) {
            ScanFolder(inner.c_str(), log, seen);
        } else if (entry.m_bDirectory) {
            seen.push_back(name);
            EnsureLoadedResource(name.c_str(), inner, std::string(), log);
        } else if (entry.m_bFile) {
            std::string base = ArchiveBaseName(name);
            if (!base.empty()) {
                seen.push_back(base);
                EnsureLoadedResource(base.c_str(), std::string(), inner, log);
            }
        }
        return true;
    });
}

void CResourceMgr::RefreshResources(bool log) {
    Log("Scanning resources...");
    for (const auto& pResource : m_Cache) {
        pResource->SetPaths(std::string(), std::string());
        pResource->CloseArchive();
    }
    std::vector<std::string> seen;
    if (m_pFileSystem && ScanFolder("/resources", log, seen))
        RemoveMissing(seen, log);
    Log("Loading resources...");
    ReloadAll();
    Log("%d resources in the resource cache", static_cast<int>(m_Cache.size()));
}

void CResourceMgr::RemoveMissing(const std::vector<std::string>& seen, bool log) {
    for (size_t i = m_Cache.size(); i-- > 0;) {
        const std::string& name = m_Cache[i]->GetName();
        if (std::find(seen.begin(), seen.end(), name) != seen.end())
            continue;
        if (log)
            Log("Removing resource %s", name.c_str());
        Drop(i);
    }
}

void CResourceMgr::ReloadAll() {
    // A copy: a resource that fails leaves the cache while the others still load.
    std::vector<Strong<CResource>> resources = m_Cache;
    for (const auto& pResource : resources) {
        if (pResource->LoadMeta(m_bServer))
            continue;
        LogWarn("Failed to load resource %s!", pResource->GetName().c_str());
        auto found = std::find(m_Cache.begin(), m_Cache.end(), pResource);
        if (found != m_Cache.end())
            Drop(static_cast<size_t>(found - m_Cache.begin()));
    }
}

void CResourceMgr::Drop(size_t index) {
    Strong<CResource> pResource = m_Cache[index];
    m_Cache.erase(m_Cache.begin() + static_cast<std::ptrdiff_t>(index));
    if (pResource->IsStarted())
        pResource->Stop(false);
    pResource->ClearDependencies();
}

void CResourceMgr::ClearAllResources() {
    for (const auto& pResource : std::vector<Strong<CResource>>(m_Cache))
        if (pResource->IsStarted())
            pResource->Stop(false);
    for (const auto& pResource : m_Cache)
        pResource->ClearDependencies();  // dependency cycles must not keep resources alive
    m_Cache.clear();
    m_DeferredStops.clear();
    CollectGarbage();
}

void CResourceMgr::CollectGarbage() {
    if (m_pScripting)
        m_pScripting->CollectGarbage();
}

}  // namespace Ferrox3D
