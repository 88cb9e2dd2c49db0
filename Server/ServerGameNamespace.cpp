// The server namespace's game-level members: the parsed configuration, stream distances, getCVar, setPassword.
#include <cstdio>
#include <string>
#include "Engine/Log.h"
#include "Engine/NativeState.h"
#include "Engine/Password.h"
#include "Engine/Reflection.h"
#include "Server/ServerScriptAPI.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

namespace {
CUrboServer& Server(void* pUser) { return *static_cast<CUrboServer*>(pUser); }

template <bool CBaseServer::*Member>
bool GetBool(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnBoolean(Server(pUser).*Member);
    return true;
}

template <typename Int, Int CBaseServer::*Member>
bool GetInt(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnNumber(static_cast<int32_t>(Server(pUser).*Member));
    return true;
}

template <std::string CBaseServer::*Member>
bool GetText(CNativeState* pState, int32_t, void* pUser) {
    const std::string& text = Server(pUser).*Member;
    pState->ReturnString(text.data(), text.size());
    return true;
}

// Stream distances: any number is stored as it is.
template <typename Owner, float Owner::*Member>
bool GetDistance(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnNumber(Server(pUser).*Member);
    return true;
}

template <typename Owner, float Owner::*Member>
bool SetDistance(CNativeState* pState, int32_t, void* pUser) {
    float value = 0.0f;
    if (!pState->CheckNumber(0, value))
        return false;
    Server(pUser).*Member = value;
    return true;
}

bool GetSyncLocalEntities(CNativeState* pState, int32_t, void* pUser) {
    pState->ReturnBoolean(Server(pUser).m_bSyncLocalEntities);
    return true;
}

bool GetMinClientVersion(CNativeState* pState, int32_t, void* pUser) {
    const int* version = Server(pUser).m_MinClientVersion;
    char text[48];
    snprintf(text, sizeof(text), "%u.%u.%u", static_cast<unsigned>(version[0]), static_cast<unsigned>(version[1]),
             static_cast<unsigned>(version[2]));
    pState->ReturnString(text);
    return true;
}

bool GetCVar(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    if (const tConfigVariable* pVariable = Server(pUser).GetCVar(name))
        pState->ReturnString(pVariable->m_Value.data(), pVariable->m_Value.size());
    else
        pState->ReturnNull();
    return true;
}

// The text is kept only as its password record, as for the configuration's password key.
bool SetPassword(CNativeState* pState, int32_t, void* pUser) {
    const char* text = pState->CheckString(0);
    if (!text)
        return false;
    std::string record;
    if (!MakePasswordRecord(text, record))
        return pState->Error("Failed to hash the password");
    Server(pUser).m_Password = std::move(record);
    pState->ReturnBoolean(true);
    return true;
}

void AddSettings(CUrboServer& server, ReflectedNamespace* pServer) {
    pServer->AddProperty(&server, "rcon", ARGUMENT_BOOLEAN, GetBool<&CBaseServer::m_bRCon>);
    pServer->AddProperty(&server, "rconPort", ARGUMENT_INTEGER, GetInt<uint16_t, &CBaseServer::m_usRConPort>);
    pServer->AddProperty(&server, "listed", ARGUMENT_BOOLEAN, GetBool<&CBaseServer::m_bServerBrowser>);
    pServer->AddProperty(&server, "httpServer", ARGUMENT_BOOLEAN, GetBool<&CBaseServer::m_bHTTPServer>);
    pServer->AddProperty(&server, "httpPort", ARGUMENT_INTEGER, GetInt<uint16_t, &CBaseServer::m_usHTTPPort>);
    pServer->AddProperty(&server, "httpURL", ARGUMENT_STRING, GetText<&CBaseServer::m_HTTPUrl>);
    pServer->AddProperty(&server, "minClientVersion", ARGUMENT_STRING, GetMinClientVersion);
    pServer->AddProperty(&server, "syncInterval", ARGUMENT_INTEGER, GetInt<uint16_t, &CBaseServer::m_usSyncInterval>);
    pServer->AddProperty(&server, "syncMethod", ARGUMENT_INTEGER, GetInt<int, &CBaseServer::m_SyncMethod>);
    pServer->AddProperty(&server, "duplicateNames", ARGUMENT_BOOLEAN, GetBool<&CBaseServer::m_bDuplicateNames>);
}

void AddDistances(CUrboServer& server, ReflectedNamespace* pServer) {
    pServer->AddProperty(&server, "streamInDistance", ARGUMENT_FLOAT,
                         GetDistance<CBaseServer, &CBaseServer::m_fStreamInDistance>,
                         SetDistance<CBaseServer, &CBaseServer::m_fStreamInDistance>);
    pServer->AddProperty(&server, "streamOutDistance", ARGUMENT_FLOAT,
                         GetDistance<CBaseServer, &CBaseServer::m_fStreamOutDistance>,
                         SetDistance<CBaseServer, &CBaseServer::m_fStreamOutDistance>);
    pServer->AddProperty(&server, "pickupStreamInDistance", ARGUMENT_FLOAT,
                         GetDistance<CUrboServer, &CUrboServer::m_fPickupStreamInDistance>,
                         SetDistance<CUrboServer, &CUrboServer::m_fPickupStreamInDistance>);
    pServer->AddProperty(&server, "pickupStreamOutDistance", ARGUMENT_FLOAT,
                         GetDistance<CUrboServer, &CUrboServer::m_fPickupStreamOutDistance>,
                         SetDistance<CUrboServer, &CUrboServer::m_fPickupStreamOutDistance>);
}
}  // namespace

void RegisterGameServerNamespace(CUrboServer& server, ReflectedNamespace* pGlobal) {
    ReflectedNamespace* pServer = pGlobal->AddNamespace("server");
    AddSettings(server, pServer);
    AddDistances(server, pServer);
    pServer->AddProperty(&server, "logPath", ARGUMENT_STRING, GetText<&CBaseServer::m_LogPath>);
    pServer->AddProperty(&server, "syncLocalEntities", ARGUMENT_BOOLEAN, GetSyncLocalEntities);
    pServer->AddProperty(&server, "bindIP", ARGUMENT_STRING, GetText<&CBaseServer::m_BindIP>);
    pServer->RegisterFunction("getCVar", "s", GetCVar, &server);
    pServer->RegisterFunction("setPassword", "s", SetPassword, &server);
}
