// Registration of the server's script API on the script root, its constants and its events.
#include "Engine/DefineHandlers.h"
#include "Engine/Reflection.h"
#include "Engine/Scripting.h"
#include "Scripting/EventHandlers.h"
#include "Server/BaseServer.h"
#include "Server/ServerScriptAPI.h"
#include "Server/ServerSession.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

void RegisterServerScriptAPI(CBaseServer& server, CScripting& scripting) {
    ReflectedNamespace* pGlobal = scripting.GetGlobal();
    RegisterServerNamespace(server, pGlobal);
    if (auto* pGame = dynamic_cast<CUrboServer*>(&server))
        RegisterGameServerNamespace(*pGame, pGlobal);
    server.m_pClientClass = RegisterClientClass(server, pGlobal);
    server.GetSession().GetMachines().ForEach([&](CNetMachine* pClient) {
        pClient->SetReflectedClass(server.m_pClientClass);
    });
    server.GetSession().GetBanList().RegisterFunctions(pGlobal->AddNamespace("server"));
    DefineServerConstants(*scripting.GetDefineHandlers());
}

void DefineServerConstants(CDefineHandlers& defines) {
    static const struct {
        const char* name;
        int32_t value;
    } constants[] = {
        {"INVALID_NETWORK_ID", -1}, {"INVALID_CLIENT_ID", -1},
        {"CHAT_TYPE_NONE", 0}, {"CHAT_TYPE_CHAT", 1}, {"CHAT_TYPE_INFO", 2}, {"CHAT_TYPE_DEBUG", 3},
        {"SERVER_VERSION_MAJOR", 1}, {"SERVER_VERSION_MINOR", 6}, {"SERVER_VERSION_PATCH", 1},
        {"GAME_UNKNOWN", 0}, {"GAME_URBO_A", 1}, {"GAME_URBO_B", 2}, {"GAME_URBO_C", 3}, {"GAME_URBO_D", 5},
        {"GAME_TORNO", 7}, {"GAME_KASTRO_ONE", 10}, {"GAME_KASTRO_TWO", 11}, {"GAME_KASTRO_THREE", 12},
        {"GAME_KASTRO_ONE_RM", 13},
    };
    for (const auto& constant : constants)
        defines.Define(constant.name, constant.value);
}

void CreateServerEvents(EventHandlers::CEventHandlers& events) {
    if (!events.GetEventType("OnProcess"))
        events.CreateEventType("OnProcess", "Called every process", 1, false);
    if (!events.GetEventType("OnServerStart"))
        events.CreateEventType("OnServerStart", "Called when the server finished the start sequence", 0, false);
}
