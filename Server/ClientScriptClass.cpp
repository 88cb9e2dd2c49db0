// The script class Client (a client record) and its properties and methods.
#include <string>
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Multiplayer/DisconnectReasons.h"
#include "Network/ENetSystem.h"
#include "Server/BaseServer.h"
#include "Server/ServerScriptAPI.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

namespace {
CBaseServer& Server(void* pUser) { return *static_cast<CBaseServer*>(pUser); }

// The call's Client; false after the state's "this" error.
bool This(CNativeState* pState, void* pUser, CNetMachine*& pClient) {
    return pState->GetThis(Server(pUser).m_pClientClass, pClient);
}

bool GetIndex(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnNumber(pClient->GetIndex());
    return true;
}

bool GetName(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnString(pClient->GetName().data(), pClient->GetName().size());
    return true;
}

bool GetGame(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnNumber(pClient->m_Game);
    return true;
}

// Player elements come with the network objects; until a client has one this reads null.
bool GetPlayer(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnNull();
    return true;
}

bool SetPlayer(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    const CArgument* pValue = pState->GetArgument(0);
    if (pValue && pValue->GetType() != ARGUMENT_NIL && pValue->GetType() != ARGUMENT_UNDEFINED)
        return pState->TypeError("element", 0);
    pClient->m_PlayerId = -1;
    pClient->SendPlayer();
    return true;
}

bool GetAdministrator(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnBoolean(pClient->m_bAdministrator);
    return true;
}

// Only a change reaches the clients.
bool SetAdministrator(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    bool value = false;
    if (!This(pState, pUser, pClient) || !pState->CheckBoolean(0, value))
        return false;
    if (pClient->m_bAdministrator != value) {
        pClient->m_bAdministrator = value;
        pClient->SendUpdate();
    }
    return true;
}

bool GetConsole(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pState->ReturnBoolean(pClient->IsConsole());
    return true;
}

bool GetIP(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    std::string text;
    pClient->m_Address.ToString(text);
    pState->ReturnString(text.data(), text.size());
    return true;
}

bool GetPing(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    CENetSystem* pNet = Server(pUser).GetSession().GetNetSystem();
    int32_t ping = -1;
    if (pClient->IsConsole())
        ping = 0;
    else if (pClient->GetPeer() && pNet)
        ping = static_cast<int32_t>(pNet->GetLastPing(pClient->GetPeer()));
    pState->ReturnNumber(ping);
    return true;
}

bool DespawnPlayer(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    if (pClient->m_PlayerId != -1) {
        pClient->m_PlayerId = -1;
        pClient->SendPlayer();
    }
    return true;
}

bool Disconnect(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    if (pClient->IsConsole())
        return pState->Error("Cannot disconnect the console");
    Server(pUser).GetSession().DisconnectClient(pClient, DISCONNECT_KICKED);
    return true;
}

bool GetData(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    size_t length = 0;
    const char* key = This(pState, pUser, pClient) ? pState->CheckString(0, &length) : nullptr;
    if (!key)
        return false;
    if (CArgument* pValue = pClient->GetData().Get(std::string(key, length)))
        pState->ReturnAndOwn(pValue->Clone());
    else
        pState->ReturnUndefined();
    return true;
}

bool SetData(CNativeState* pState, int32_t argumentCount, void* pUser) {
    CNetMachine* pClient;
    size_t length = 0;
    const char* key = This(pState, pUser, pClient) ? pState->CheckString(0, &length) : nullptr;
    bool sync = true;
    if (!key || (argumentCount > 2 && !pState->CheckBoolean(2, sync)))
        return false;
    if (!pClient->SetData(std::string(key, length), pState->GetArgument(1), sync))
        return pState->Error("data is not storable");
    return true;
}

bool RemoveData(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    size_t length = 0;
    const char* key = This(pState, pUser, pClient) ? pState->CheckString(0, &length) : nullptr;
    if (!key)
        return false;
    pClient->RemoveData(std::string(key, length));
    return true;
}

bool RemoveAllData(CNativeState* pState, int32_t, void* pUser) {
    CNetMachine* pClient;
    if (!This(pState, pUser, pClient))
        return false;
    pClient->ClearData();
    return true;
}
}  // namespace

ReflectedClass* DefineClientClass(CBaseServer& server, ReflectedNamespace* pGlobal) {
    ReflectedClass* pClass = pGlobal->NewClass("Client");
    pClass->AddProperty(&server, "index", ARGUMENT_INTEGER, GetIndex);
    pClass->AddProperty(&server, "name", ARGUMENT_STRING, GetName);
    pClass->AddProperty(&server, "game", ARGUMENT_INTEGER, GetGame);
    pClass->AddProperty(&server, "player", ARGUMENT_OBJECT, GetPlayer, SetPlayer);
    pClass->AddProperty(&server, "administrator", ARGUMENT_BOOLEAN, GetAdministrator, SetAdministrator);
    pClass->AddProperty(&server, "console", ARGUMENT_BOOLEAN, GetConsole);
    pClass->AddProperty(&server, "ip", ARGUMENT_STRING, GetIP);
    pClass->AddProperty(&server, "ping", ARGUMENT_INTEGER, GetPing);
    pClass->RegisterFunction("despawnPlayer", "t", DespawnPlayer, &server);
    pClass->RegisterFunction("disconnect", "t", Disconnect, &server);
    pClass->RegisterFunction("getData", "ts", GetData, &server);
    pClass->RegisterFunction("setData", "ts.|b", SetData, &server);
    pClass->RegisterFunction("removeData", "ts", RemoveData, &server);
    pClass->RegisterFunction("removeAllData", "t", RemoveAllData, &server);
    return pClass;
}
