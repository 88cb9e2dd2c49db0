// A client's chat, commands, network events and keys; chat and network events sent to clients.
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Engine/PrintableText.h"
#include "Multiplayer/NetMachine.h"
#include "Multiplayer/PlayerMessages.h"
#include "Server/BaseServer.h"
#include "Server/ServerScripting.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

namespace {

const char* MessageName(uint32_t id) {
    switch (id) {
    case PACKET_CHAT: return "chat";
    case PACKET_COMMAND: return "command";
    case PACKET_NETWORK_EVENT: return "network event";
    case PACKET_KEY_EVENT: return "key";
    default: return "unknown";
    }
}

}  // namespace

// A malformed message changes nothing; only the first few of each client are logged, so a
// client cannot flood the log.
void CBaseServer::DropMalformed(CNetMachine* pClient, uint32_t id) {
    if (++pClient->m_MalformedCount > MALFORMED_WARNINGS_PER_CLIENT)
        return;
    LogWarn("Dropped a malformed %s message from %s%s", MessageName(id), MakePrintable(pClient->GetName()).c_str(),
            pClient->m_MalformedCount == MALFORMED_WARNINGS_PER_CLIENT ? " (further ones are not logged)" : "");
}

bool CBaseServer::ProcessPlayerMessage(CNetMachine* pClient, uint32_t id, Stream* pStream) {
    switch (id) {
    case PACKET_CHAT: HandleChat(pClient, pStream); return true;
    case PACKET_COMMAND: HandleCommand(pClient, pStream); return true;
    case PACKET_NETWORK_EVENT: HandleNetworkEvent(pClient, pStream); return true;
    case PACKET_KEY_EVENT: HandleKeyEvent(pClient, pStream); return true;
    default: return false;
    }
}

void CBaseServer::HandleChat(CNetMachine* pClient, Stream* pStream) {
    std::string text;
    if (!ReadChatMessage(pStream, text))
        return DropMalformed(pClient, PACKET_CHAT);
    UserChat(pClient, text.data(), text.size());
}

void CBaseServer::HandleCommand(CNetMachine* pClient, Stream* pStream) {
    tCommandMessage message;
    if (!ReadCommandMessage(pStream, message))
        return DropMalformed(pClient, PACKET_COMMAND);
    Strong<CNetMachine> keep(pClient);
    if (!m_pScripting->RaisePlayerCommand(pClient, message.m_Command, message.m_Parameters))
        return;
    if (message.m_Parameters.size() > COMMAND_PARAMETERS_MAX || pClient->GetIndex() < 0)
        return;
    m_pScripting->GetCommands().Trigger(message.m_Command.c_str(), message.m_Parameters.c_str(), pClient,
                                        pClient->m_bAdministrator);
}

void CBaseServer::HandleNetworkEvent(CNetMachine* pClient, Stream* pStream) {
    std::string name;
    Strong<CArgumentArray> pArguments = Strong<CArgumentArray>::Adopt(new CArgumentArray);
    switch (ReadNetworkEventMessage(pStream, GetNetObjectResolver(), name, *pArguments)) {
    case NETWORK_EVENT_BAD_NAME:
        return DropMalformed(pClient, PACKET_NETWORK_EVENT);
    case NETWORK_EVENT_BAD_ARGUMENTS:
        if (++pClient->m_MalformedCount <= MALFORMED_WARNINGS_PER_CLIENT)
            LogWarn("Failed to read network arguments for network event %s.", MakePrintable(name).c_str());
        return;
    case NETWORK_EVENT_OK:
        break;
    }
    Strong<CNetMachine> keep(pClient);
    if (m_pScripting->GetNetworkHandlers().Dispatch(pClient, name.c_str(), pArguments) == 0)
        LogWarn("Network event %s not bound serverside", MakePrintable(name).c_str());
}

void CBaseServer::HandleKeyEvent(CNetMachine* pClient, Stream* pStream) {
    Ferrox3D::tKeyEventMessage message;
    if (!ReadKeyEventMessage(pStream, message))
        return DropMalformed(pClient, PACKET_KEY_EVENT);
    Strong<CNetMachine> keep(pClient);
    m_pScripting->GetKeyBinds().Dispatch(message, pClient);
}

void CBaseServer::UserChat(CNetMachine* pClient, const char* text, size_t length) {
    Strong<CNetMachine> keep(pClient);
    std::string body(text, length);
    if (!m_pScripting->RaisePlayerChat(pClient, body))
        return;
    std::string line = pClient->GetName() + ": " + body;
    Log("%s", MakePrintable(line).c_str());
    SendChat(nullptr, line.data(), line.size(), CHAT_COLOUR_PLAYER);
}

void CBaseServer::SendChat(CNetMachine* pClient, const char* text, size_t length, uint32_t colour) {
    if (pClient && pClient->IsConsole())
        return;
    Packet packet(PACKET_CHAT);
    WriteChatMessage(packet, text, length, colour);
    if (pClient)
        pClient->SendPacket(&packet);
    else
        GetSession().SendToEveryone(packet);
}

void CBaseServer::SendChatExcept(CNetMachine* pClient, const char* text, size_t length, uint32_t colour) {
    Packet packet(PACKET_CHAT);
    WriteChatMessage(packet, text, length, colour);
    GetSession().GetMachines().ForEach([&](CNetMachine* pOther) {
        if (pOther != pClient && !pOther->IsConsole())
            pOther->SendPacket(&packet);
    });
}

bool CBaseServer::SendNetworkEvent(CNetMachine* pClient, const char* name, const CArgumentArray& arguments) {
    Packet packet(PACKET_NETWORK_EVENT);
    if (!WriteNetworkEventMessage(packet, name, arguments))
        return false;
    if (!pClient)
        return GetSession().SendToEveryone(packet);
    return pClient->IsConsole() || pClient->SendPacket(&packet);
}
