// The global functions that find clients: getClients, getClient, getConsole, getClientFromPlayerElement, localClient.
#include "Engine/Limits.h"
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Server/BaseServer.h"
#include "Server/ServerScriptAPI.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

namespace {
CNetMachines& Machines(void* pUser) { return static_cast<CBaseServer*>(pUser)->GetSession().GetMachines(); }

bool IsPlayer(const CNetMachine* pClient) { return pClient->IsJoined() && !pClient->IsConsole(); }

CNetMachine* FindConsole(const CNetMachines& machines) {
    CNetMachine* pConsole = nullptr;
    machines.ForEach([&](CNetMachine* pClient) {
        if (!pConsole && pClient->IsConsole())
            pConsole = pClient;
    });
    return pConsole;
}

bool GetClients(CNativeState* pState, int32_t, void* pUser) {
    auto* pList = new CArgumentArray;
    Machines(pUser).ForEach([&](CNetMachine* pClient) {
        if (IsPlayer(pClient))
            pList->AddObject(pClient);
    });
    pState->ReturnAndOwn(pList);
    return true;
}

bool GetClient(CNativeState* pState, int32_t, void* pUser) {
    int64_t index = 0;
    if (!pState->CheckNumber(0, index))
        return false;
    if (index < 0 || index >= static_cast<int64_t>(CLIENT_SLOT_COUNT))
        return pState->Error("index out of bounds");
    CNetMachine* pClient = Machines(pUser).Get(static_cast<int32_t>(index));
    if (pClient && IsPlayer(pClient))
        pState->ReturnObject(pClient);
    else
        pState->ReturnNull();
    return true;
}

bool GetConsole(CNativeState* pState, int32_t, void* pUser) {
    if (CNetMachine* pConsole = FindConsole(Machines(pUser)))
        pState->ReturnObject(pConsole);
    else
        pState->ReturnNull();
    return true;
}

// Player elements come with the network objects: no record has one yet, so nothing matches.
bool GetClientFromPlayerElement(CNativeState* pState, int32_t, void*) {
    if (!pState->CheckReferenceable(0))
        return false;
    pState->ReturnNull();
    return true;
}

// The server's local slot is the console's.
bool GetLocalClient(CNativeState* pState, int32_t, void* pUser) {
    if (CNetMachine* pClient = Machines(pUser).Get(static_cast<int32_t>(CONSOLE_CLIENT_SLOT)))
        pState->ReturnObject(pClient);
    else
        pState->ReturnNull();
    return true;
}

bool GetLocalPlayer(CNativeState* pState, int32_t, void*) {
    pState->ReturnNull();
    return true;
}
}  // namespace

ReflectedClass* RegisterClientClass(CBaseServer& server, ReflectedNamespace* pGlobal) {
    ReflectedClass* pClass = DefineClientClass(server, pGlobal);
    pGlobal->RegisterFunction("getClients", "", GetClients, &server);
    pGlobal->RegisterFunction("getClient", "i", GetClient, &server);
    pGlobal->RegisterFunction("getConsole", "", GetConsole, &server);
    pGlobal->RegisterFunction("getClientFromPlayerElement", "x", GetClientFromPlayerElement, &server);
    pGlobal->AddProperty(&server, "localClient", ARGUMENT_OBJECT, GetLocalClient);
    pGlobal->AddProperty(&server, "localPlayer", ARGUMENT_OBJECT, GetLocalPlayer);
    return pClass;
}
