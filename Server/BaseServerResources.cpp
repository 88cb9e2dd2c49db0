// CBaseServer's resource hooks: script classes, the rescan at start-up, privileged flags and the start list.
#include "Engine/Log.h"
#include "Server/BaseServer.h"
#include "Server/ServerResourceMgr.h"

bool CBaseServer::DefineScriptClasses() { return m_pResourceMgr->DefineClasses(); }

void CBaseServer::RescanResources() { m_pResourceMgr->RefreshResources(false); }

void CBaseServer::SetResourcePrivileged(const std::string& name, bool privileged) {
    m_pResourceMgr->SetPrivileged(name, privileged);
}

void CBaseServer::StartResources() {
    m_pResourceMgr->StartConfiguredResources(m_ResourceStartList);
    m_ResourceStartList.clear();
    if (Ferrox3D::CEventType* pStart = m_pResourceMgr->GetEventHandlers().GetEventType("OnServerStart"))
        pStart->Trigger();
}

void CBaseServer::ProcessResourceRequests() {
    m_pResourceMgr->ProcessDeferredStops();
    m_pResourceMgr->Checkpoint();
}
