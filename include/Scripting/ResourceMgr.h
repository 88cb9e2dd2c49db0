// The resource manager: discovery under "/resources", the cache, the start list, commands and the resource script API.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>
#include "Engine/ObjectModel.h"
#include "Scripting/DocumentationDump.h"
#include "Scripting/Resource.h"

namespace Ferrox3D {

class CFileSystem;
class CScripting;
class ReflectedClass;
namespace EventHandlers {
class CEventHandlers;
class CEventType;
}  // namespace EventHandlers

class CResourceMgr {
public:
    // All three are borrowed and must outlive the manager; pEvents may be null (no resource events).
    CResourceMgr(CFileSystem* pFileSystem, CScripting* pScripting, EventHandlers::CEventHandlers* pEvents);
    virtual ~CResourceMgr();
    CResourceMgr(const CResourceMgr&) = delete;
    CResourceMgr& operator=(const CResourceMgr&) = delete;

    // Factory of cache entries; a new resource with one reference for the caller.
    virtual CResource* NewResource(const char* name);
    // A console start, stop or restart happened (the network layer tells clients).
    virtual void RefreshResourceState(CResource* pResource) {}
    // Elements and network handlers the resource made.
    virtual void RemoveThingsAssociatedWithResource(CResource* pResource) {}
    // The registries outside this layer: command handlers, timers and key binds of the resource.
    virtual void RemoveScriptRegistrations(CResource* pResource) {}
    virtual bool LoadMap(CElementChunk* pRoot, CResource* pResource) { return true; }

    // Case-insensitive; null when absent.
    CResource* FindResourceByName(const char* name) const;
    void EnsureLoadedResource(const char* name, const std::string& folder, const std::string& archive, bool log);
    // Rescan of "/resources" and reload of every meta file.
    void RefreshResources(bool log);
    // Stops the started resources, empties the cache, collects garbage.
    void ClearAllResources();
    // Every cached resource, in cache order.
    std::vector<CResource*> GetResources() const;

    // The start list of the configuration: queued names, then started in order with the summary line.
    void QueueResourceStart(const std::string& name) { m_StartQueue.push_back(name); }
    void StartQueuedResources();

    // Console commands (the whole parameter text is the name).
    void CommandStart(const char* name);
    void CommandStop(const char* name);
    void CommandRestart(const char* name);
    void CommandStopAll();

    // A stop (or restart) asked for by one of the resource's own scripts runs once that call has returned.
    void DeferStop(CResource* pResource, bool restart);
    void ProcessDeferredStops();

    // platform, thisResource, findResourceByName, getResources, exportFunction, file functions and class Resource.
    void RegisterFunctions(CScripting* pScripting);

    CFileSystem* GetFileSystem() const { return m_pFileSystem; }
    void SetFileSystem(CFileSystem* pFileSystem) { m_pFileSystem = pFileSystem; }
    CScripting* GetScripting() const { return m_pScripting; }
    EventHandlers::CEventHandlers* GetEvents() const { return m_pEvents; }
    EventHandlers::CEventType* GetStartEvent() const { return m_pOnResourceStart; }
    EventHandlers::CEventType* GetStopEvent() const { return m_pOnResourceStop; }
    ReflectedClass* GetResourceClass() const { return m_pResourceClass; }
    bool IsServer() const { return m_bServer; }

    // Every resource object alive, cached or still held by scripts: they forget the manager when it goes.
    void Attach(CResource* pResource) { m_Live.insert(pResource); }
    void Detach(CResource* pResource) { m_Live.erase(pResource); }
    void SetServer(bool server) { m_bServer = server; }

private:
    bool ScanFolder(const char* path, bool log, std::vector<std::string>& seen);
    void RemoveMissing(const std::vector<std::string>& seen, bool log);
    void ReloadAll();
    // Stops it when started, breaks its dependencies and drops the cache's reference.
    void Drop(size_t index);
    CResource* FindForCommand(const char* name);
    void CollectGarbage();

    CFileSystem* m_pFileSystem;
    CScripting* m_pScripting;
    EventHandlers::CEventHandlers* m_pEvents;
    EventHandlers::CEventType* m_pOnResourceStart = nullptr;
    EventHandlers::CEventType* m_pOnResourceStop = nullptr;
    ReflectedClass* m_pResourceClass = nullptr;
    // One reference per entry; names are kept apart by comparing them, not only their keys.
    std::vector<Strong<CResource>> m_Cache;
    std::vector<std::string> m_StartQueue;
    struct tDeferredStop {
        Strong<CResource> m_pResource;
        bool m_bRestart;
    };
    std::vector<tDeferredStop> m_DeferredStops;
    std::unordered_set<CResource*> m_Live;
    bool m_bServer = true;
};

}  // namespace Ferrox3D
