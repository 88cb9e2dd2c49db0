// The registries' construction, the built-in console commands and resource clean-up.
#include "Server/ServerScripting.h"
#include <cstring>
#include "Engine/PrintableText.h"
#include "Multiplayer/NetMachine.h"
#include "Server/BaseServer.h"

using namespace Ferrox3D;

namespace {

// "say": the client chats the parameters; without a client there is nobody to chat as.
class CSayCommandHandler : public CCommandHandler {
public:
    explicit CSayCommandHandler(CBaseServer& server) : m_Server(server) {}
    void Execute(const char* command, const char* parameters, CBaseObject* pClient) override {
        auto* pMachine = dynamic_cast<CNetMachine*>(pClient);
        if (!pMachine)
            return;
        const char* text = parameters ? parameters : "";
        m_Server.UserChat(pMachine, text, strlen(text));
    }

private:
    CBaseServer& m_Server;
};

// "quit" and "exit".
class CExitCommandHandler : public CCommandHandler {
public:
    explicit CExitCommandHandler(CBaseServer& server) : m_Server(server) {}
    void Execute(const char*, const char*, CBaseObject*) override { m_Server.RequestShutdown(); }

private:
    CBaseServer& m_Server;
};

// Only the operator is told about an unknown command; players get no answer.
class CUnhandledCommandHandler2 : public CCommandHandler {
public:
    void Execute(const char* command, const char*, CBaseObject* pClient) override {
        auto* pMachine = dynamic_cast<CNetMachine*>(pClient);
        if (pClient && !(pMachine && pMachine->IsConsole()))
            return;
        GetTable()->GetLogger()->LogFormatted(
            LOGTYPE_ERROR, "'%s' is not recognized as an internal or external command, operable program or batch file.",
            MakePrintable(command, strlen(command)).c_str());
    }
};

}  // namespace

CServerScripting::CServerScripting(CBaseServer& server) : m_Server(server) {
    m_Scripting.RegisterReflectionFunctions();
    RegisterBuiltinCommands();
    m_Timers.RegisterFunctions(&m_Scripting);
    m_Commands.RegisterFunctions(&m_Scripting);
    m_KeyBinds.RegisterFunctions(&m_Scripting);
    RegisterSessionFunctions();
}

void CServerScripting::RegisterBuiltinCommands() {
    m_Commands.AddCommandHandler(new CSayCommandHandler(m_Server), "say");
    m_Commands.AddCommandHandler(new CExitCommandHandler(m_Server), "quit");
    m_Commands.AddCommandHandler(new CExitCommandHandler(m_Server), "exit");
    m_Commands.SetUnhandledCommandHandler(new CUnhandledCommandHandler2);
}

void CServerScripting::RemoveResource(CResource* pResource) {
    if (!pResource)
        return;  // a null owner would mean every timer and bind, built-in commands aside
    m_Commands.RemoveHandlers(pResource);
    m_Timers.RemoveTimers(pResource);
    m_KeyBinds.RemoveHandlers(pResource);
    m_NetworkHandlers.RemoveHandlers(pResource);
}
