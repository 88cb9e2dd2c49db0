// The session script API: message, messageClient, messageAllExcept, triggerNetworkEvent, addNetworkHandler, removeNetworkHandler.
#include "Engine/NativeState.h"
#include "Multiplayer/NetMachine.h"
#include "Server/BaseServer.h"
#include "Server/ServerScripting.h"

using namespace Ferrox3D;

namespace {

CBaseServer& ServerOf(void* pUser) { return *static_cast<CBaseServer*>(pUser); }

// A client argument; with allowNull also nil and undefined, which give null.
bool CheckClient(CNativeState* pState, size_t index, bool allowNull, CNetMachine*& pClient) {
    pClient = nullptr;
    CArgument* pArgument = pState->GetArgument(index);
    if (allowNull && (!pArgument || pArgument->IsNull()))
        return true;
    CBaseObject* pObject = pArgument && pArgument->IsObject() ? pArgument->ToObject() : nullptr;
    pClient = dynamic_cast<CNetMachine*>(pObject);
    return pClient || pState->TypeError("Client", index);
}

bool CheckColour(CNativeState* pState, int32_t argumentCount, size_t index, uint32_t& colour) {
    colour = CHAT_COLOUR_SCRIPT;
    return argumentCount <= static_cast<int32_t>(index) || pState->CheckNumber(index, colour);
}

bool Message(CNativeState* pState, int32_t argumentCount, void* pUser) {
    size_t length;
    const char* text = pState->CheckString(0, &length);
    uint32_t colour;
    if (!text || !CheckColour(pState, argumentCount, 1, colour))
        return false;
    ServerOf(pUser).SendChat(nullptr, text, length, colour);
    return true;
}

// messageClient and messageAllExcept: text, a client and an optional colour, then the send.
bool MessageWithClient(CNativeState* pState, int32_t argumentCount, void* pUser,
                       void (CBaseServer::*send)(CNetMachine*, const char*, size_t, uint32_t)) {
    size_t length;
    const char* text = pState->CheckString(0, &length);
    CNetMachine* pClient;
    uint32_t colour;
    if (!text || !CheckClient(pState, 1, false, pClient) || !CheckColour(pState, argumentCount, 2, colour))
        return false;
    (ServerOf(pUser).*send)(pClient, text, length, colour);
    return true;
}

bool MessageClient(CNativeState* pState, int32_t argumentCount, void* pUser) {
    return MessageWithClient(pState, argumentCount, pUser, &CBaseServer::SendChat);
}

bool MessageAllExcept(CNativeState* pState, int32_t argumentCount, void* pUser) {
    return MessageWithClient(pState, argumentCount, pUser, &CBaseServer::SendChatExcept);
}

bool TriggerNetworkEvent(CNativeState* pState, int32_t argumentCount, void* pUser) {
    const char* name = pState->CheckString(0);
    CNetMachine* pClient;
    if (!name || !CheckClient(pState, 1, true, pClient))
        return false;
    CArgumentArray arguments(argumentCount > 2 ? static_cast<size_t>(argumentCount - 2) : 0);
    for (int32_t i = 2; i < argumentCount; ++i)
        arguments.Add(pState->GetArgument(static_cast<size_t>(i)));
    if (!ServerOf(pUser).SendNetworkEvent(pClient, name, arguments))
        return pState->Error("Network event %s could not be sent: its values cannot go over the network", name);
    pState->ReturnBoolean(true);
    return true;
}

bool AddNetworkHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    CFunction* pFunction = pState->CheckFunction(1);
    if (!pFunction)
        return false;
    ServerOf(pUser).GetScripting().GetNetworkHandlers().AddHandler(name, pState->GetResource(), pFunction);
    pState->ReturnBoolean(true);
    return true;
}

bool RemoveNetworkHandler(CNativeState* pState, int32_t, void* pUser) {
    const char* name = pState->CheckString(0);
    if (!name)
        return false;
    CNetworkHandlers& handlers = ServerOf(pUser).GetScripting().GetNetworkHandlers();
    pState->ReturnBoolean(handlers.RemoveHandlers(name, pState->GetResource()) > 0);
    return true;
}

}  // namespace

void CServerScripting::RegisterSessionFunctions() {
    ReflectedNamespace* pGlobal = m_Scripting.GetGlobal();
    pGlobal->RegisterFunction("message", "s|i", Message, &m_Server);
    pGlobal->RegisterFunction("messageClient", "sx|i", MessageClient, &m_Server);
    pGlobal->RegisterFunction("messageAllExcept", "sx|i", MessageAllExcept, &m_Server);
    pGlobal->RegisterFunction("triggerNetworkEvent", "sx*", TriggerNetworkEvent, &m_Server);
    pGlobal->RegisterFunction("addNetworkHandler", "sc", AddNetworkHandler, &m_Server);
    pGlobal->RegisterFunction("removeNetworkHandler", "s", RemoveNetworkHandler, &m_Server);
}
