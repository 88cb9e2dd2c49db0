// The server namespace's core members: game, name, gameMode, port, maxClients, rules and shutdown.
#include <string>
#include "Engine/Log.h"
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Engine/Utf8Cut.h"
#include "Server/BaseServer.h"
#include "Server/ServerScriptAPI.h"
#include "Server/ServerSession.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

namespace {
CBaseServer& Server(void* pUser) { return *static_cast<CBaseServer*>(pUser); }

// The setter's text cut to the limit on a character boundary; false after an argument error.
bool CheckServerText(CNativeState* pState, std::string& text) {
    size_t length = 0;
    const char* value = pState->CheckString(0, &length);
    if (!value)
        return false;
    text.assign(value, Utf8PrefixLength(value, length, SERVER_TEXT_LIMIT));
    return true;
}

bool GetGame(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnNumber(static_cast<int32_t>(FindGameId(Server(pUser).m_GameText)));
    return true;
}

bool GetName(CNativeState* pState, int32_t, void* pUser) {
    const std::string& name = Server(pUser).m_ServerName;
    pState->ReturnString(name.data(), name.size());
    return true;
}

bool SetName(CNativeState* pState, int32_t, void* pUser) {
    std::string text;
    if (!CheckServerText(pState, text))
        return false;
    Server(pUser).m_ServerName = std::move(text);
    Server(pUser).GetSession().SendServerName(nullptr);
    return true;
}

bool GetGameMode(CNativeState* pState, int32_t, void* pUser) {
    const std::string& mode = Server(pUser).m_GameMode;
    pState->ReturnString(mode.data(), mode.size());
    return true;
}

bool SetGameMode(CNativeState* pState, int32_t, void* pUser) {
    std::string text;
    if (!CheckServerText(pState, text))
        return false;
    Server(pUser).m_GameMode = std::move(text);
    Server(pUser).GetSession().SendGameMode(nullptr);
    return true;
}

bool GetPort(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnNumber(static_cast<int32_t>(Server(pUser).m_usPort));
    return true;
}

bool GetMaxClients(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnNumber(static_cast<long long>(Server(pUser).m_MaxPlayers));
    return true;
}

bool SetRule(CNativeState* pState, int32_t, void* pUser) {
    size_t nameLength = 0, valueLength = 0;
    const char* name = pState->CheckString(0, &nameLength);
    const char* value = name ? pState->CheckString(1, &valueLength) : nullptr;
    if (!value)
        return false;
    Server(pUser).SetRule(std::string(name, nameLength), std::string(value, valueLength));
    return true;
}

bool GetRule(CNativeState* pState, int32_t, void* pUser) {
    size_t length = 0;
    const char* name = pState->CheckString(0, &length);
    if (!name)
        return false;
    if (const std::string* value = Server(pUser).GetRule(std::string(name, length)))
        pState->ReturnString(value->data(), value->size());
    else
        pState->ReturnNull();
    return true;
}

bool Shutdown(CNativeState*, int32_t, void* pUser) {
    Log("Script requested server shutdown!");
    Server(pUser).RequestShutdown();
    return true;
}
}  // namespace

void RegisterServerNamespace(CBaseServer& server, ReflectedNamespace* pGlobal) {
    ReflectedNamespace* pServer = pGlobal->AddNamespace("server");
    pServer->AddProperty(&server, "game", ARGUMENT_INTEGER, GetGame);
    pServer->AddProperty(&server, "name", ARGUMENT_STRING, GetName, SetName);
    pServer->AddProperty(&server, "gameMode", ARGUMENT_STRING, GetGameMode, SetGameMode);
    pServer->AddProperty(&server, "port", ARGUMENT_INTEGER, GetPort);
    pServer->AddProperty(&server, "maxClients", ARGUMENT_LONGINTEGER, GetMaxClients);
    pServer->RegisterFunction("setRule", "ss", SetRule, &server);
    pServer->RegisterFunction("getRule", "s", GetRule, &server);
    pServer->RegisterFunction("shutdown", "", Shutdown, &server);
}
