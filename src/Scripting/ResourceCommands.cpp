// CResourceMgr: the configured start list and the console commands start, stop, restart and stopall.
#include "Engine/Log.h"
#include "Scripting/ResourceMgr.h"

namespace Ferrox3D {

void CResourceMgr::StartQueuedResources() {
    Log("Starting resources...");
    int started = 0;
    int failed = 0;
    for (const std::string& name : m_StartQueue) {
        CResource* pResource = FindResourceByName(name.c_str());
        if (!pResource) {
            LogError("Error loading resource %s: resource not found!", name.c_str());
            ++failed;
        } else if (!pResource->Start()) {
            LogError("Error loading resource %s!", name.c_str());
            ++failed;
        } else {
            ++started;
        }
    }
    LogMessage(failed ? LOGTYPE_WARN : LOGTYPE_INFO, "%i/%i Resources loaded, %i failed", started,
               static_cast<int>(m_StartQueue.size()), failed);
    m_StartQueue.clear();
}

CResource* CResourceMgr::FindForCommand(const char* name) {
    if (!name || !*name) {
        LogError("No resource specified!");
        return nullptr;
    }
    CResource* pResource = FindResourceByName(name);
    if (!pResource)
        LogError("Unable to find the resource %s!", name);
    return pResource;
}

void CResourceMgr::CommandStart(const char* name) {
    Strong<CResource> pResource = FindForCommand(name);
    if (!pResource)
        return;
    bool ok = !pResource->IsStarted() && pResource->Start();
    if (ok)
        RefreshResourceState(pResource);
    CollectGarbage();
    if (ok)
        Log("Started resource %s", name);
    else
        LogError("Failed to start resource %s", name);
}

void CResourceMgr::CommandStop(const char* name) {
    Strong<CResource> pResource = FindForCommand(name);
    if (!pResource)
        return;
    bool ok = pResource->IsStarted() && pResource->Stop(false);
    if (ok)
        RefreshResourceState(pResource);
    CollectGarbage();
    if (ok)
        Log("Stopped resource %s", name);
    else
        LogError("Failed to stop resource %s", name);
}

void CResourceMgr::CommandRestart(const char* name) {
    Strong<CResource> pResource = FindForCommand(name);
    if (!pResource)
        return;
    if (!pResource->IsStarted()) {
        LogError("Failed to restart resource %s", name);
        return;
    }
    bool ok = pResource->Restart();
    RefreshResourceState(pResource);
    CollectGarbage();
    if (ok)
        Log("Restarted resource %s", name);
    else
        LogError("Failed to restart resource %s", name);
}

void CResourceMgr::CommandStopAll() {
    int stopped = 0;
    for (const auto& pResource : std::vector<Strong<CResource>>(m_Cache)) {
        if (pResource->IsStarted() && pResource->Stop(false))
            ++stopped;
    }
    CollectGarbage();
    Log("Stopped %d resources", stopped);
}

void CResourceMgr::DeferStop(CResource* pResource, bool restart) {
    m_DeferredStops.push_back(tDeferredStop{pResource, restart});
}

void CResourceMgr::ProcessDeferredStops() {
    std::vector<tDeferredStop> pending;
    pending.swap(m_DeferredStops);
    for (const tDeferredStop& stop : pending) {
        if (!stop.m_pResource->IsStarted())
            continue;
        if (stop.m_bRestart)
            stop.m_pResource->Restart();
        else
            stop.m_pResource->Stop(false);
    }
}

}  // namespace Ferrox3D
