// The server's resource manager: script engines, the event registry and the documentation dump.
#include "Server/ServerResourceMgr.h"
#include "Engine/Context.h"
#include "Engine/FileSystem.h"
#include "JSScripting/JSScripting.h"
#include "LuaScripting/LuaScripting.h"
#include "Scripting/DocumentationDump.h"
#include "Server/BaseServer.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

namespace {
CFileSystem* ContextFileSystem() { return g_pContext ? g_pContext->GetFileSystem() : nullptr; }
}  // namespace

CServerScriptEngines::CServerScriptEngines(CScripting* pScripting)
    : m_pOwnedScripting(pScripting ? nullptr : std::make_unique<CScripting>()),
      m_pScriptRoot(pScripting ? pScripting : m_pOwnedScripting.get()),
      m_pEventRegistry(std::make_unique<CEventHandlers>()),
      m_pLua(std::make_unique<CLuaScripting>(m_pScriptRoot)),
      m_pJS(std::make_unique<CJSScripting>(m_pScriptRoot)) {
    if (m_pOwnedScripting)
        m_pOwnedScripting->RegisterReflectionFunctions();
    m_pScriptRoot->AddVM("SpiderMonkey", m_pJS.get());
    m_pScriptRoot->AddVM("Lua", m_pLua.get());
    m_pEventRegistry->RegisterFunctions(m_pScriptRoot);
}

CServerScriptEngines::~CServerScriptEngines() = default;

CServerResourceMgr::CServerResourceMgr(CBaseServer& server, CScripting* pScripting)
    : CServerScriptEngines(pScripting),
      CResourceMgr(ContextFileSystem(), m_pScriptRoot, m_pEventRegistry.get()),
      m_Server(server) {
    RegisterFunctions(m_pScriptRoot);
    m_Server.GetSession().SetEventHandlers(m_pEventRegistry.get());
}

// Resources stop while the languages and the event registry still exist; the session raises no
// event into the registry once it is gone.
CServerResourceMgr::~CServerResourceMgr() {
    ClearAllResources();
    m_Server.GetSession().SetEventHandlers(nullptr);
}

void CServerResourceMgr::SetPrivileged(const std::string& name, bool privileged) {
    if (CResource* pResource = FindResourceByName(name.c_str()))
        pResource->SetPrivileged(privileged);
}

void CServerResourceMgr::StartConfiguredResources(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        QueueResourceStart(name);
    StartQueuedResources();
}

bool CServerResourceMgr::DefineClasses() {
    if (!GetFileSystem())
        SetFileSystem(ContextFileSystem());
    return GetScripting()->DefineAllClasses();
}

void CServerResourceMgr::Checkpoint() { m_pJS->Checkpoint(); }

void CServerResourceMgr::RemoveScriptRegistrations(CResource* pResource) {
    if (m_RemoveRegistrations)
        m_RemoveRegistrations(pResource);
}

bool CServerResourceMgr::DumpDocumentation(const std::vector<tDocumentedCommand>& commands) {
    std::string base;
    if (!GetFileSystem() || !GetFileSystem()->ResolvePath(base))
        return false;
    return Ferrox3D::DumpDocumentation(base + "Documentation", GetScripting(), m_pEventRegistry.get(), commands);
}
