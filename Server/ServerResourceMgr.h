// The server's resource manager: owns the event registry and the JavaScript and Lua engines, and ties resources to the server.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include <memory>
#include "Scripting/EventHandlers.h"
#include "Scripting/ResourceMgr.h"

class CBaseServer;
class CJSScripting;
class CLuaScripting;

// The event registry and the languages: a base of the manager so they are made before it and
// destroyed after every resource has stopped.
class CServerScriptEngines {
public:
    // With a null script root the engines make and own one.
    explicit CServerScriptEngines(Ferrox3D::CScripting* pScripting);
    ~CServerScriptEngines();

protected:
    std::unique_ptr<Ferrox3D::CScripting> m_pOwnedScripting;
    Ferrox3D::CScripting* m_pScriptRoot;
    std::unique_ptr<Ferrox3D::CEventHandlers> m_pEventRegistry;
    std::unique_ptr<CLuaScripting> m_pLua;
    std::unique_ptr<CJSScripting> m_pJS;
};

class CServerResourceMgr : private CServerScriptEngines, public Ferrox3D::CResourceMgr {
public:
    // pScripting is the server's script root (borrowed, outlives the manager; null: the manager owns
    // one). Registers the event and resource script API and the two languages, and hands the event
    // registry to the session layer.
    CServerResourceMgr(CBaseServer& server, Ferrox3D::CScripting* pScripting);
    ~CServerResourceMgr() override;

    Ferrox3D::CEventHandlers& GetEventHandlers() { return *m_pEventRegistry; }
    // Publishes the script API into every language; false when one cannot.
    bool DefineClasses();
    // Runs queued promise jobs of JavaScript (once per main-loop pass).
    void Checkpoint();
    // Writes the four documentation files under "<server folder>/Documentation"; false when there
    // is no server folder or a file cannot be written.
    bool DumpDocumentation(const std::vector<Ferrox3D::tDocumentedCommand>& commands);
    // The configured start list: privileged flags, then the starts with the summary line.
    void SetPrivileged(const std::string& name, bool privileged);
    void StartConfiguredResources(const std::vector<std::string>& names);

    // Command handlers, timers and key binds live with the server's script registries.
    using RegistrationRemover = std::function<void(Ferrox3D::CResource*)>;
    void SetRegistrationRemover(RegistrationRemover remover) { m_RemoveRegistrations = std::move(remover); }
    void RemoveScriptRegistrations(Ferrox3D::CResource* pResource) override;

private:
    CBaseServer& m_Server;
    RegistrationRemover m_RemoveRegistrations;
};
