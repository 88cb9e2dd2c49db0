// The connection handshake: the ordered checks of a connect message, the new record and its welcome.
#include "Engine/BinaryIO.h"
#include "Engine/Log.h"
#include "Server/BaseServer.h"
#include "Engine/Password.h"
#include "Server/ServerSession.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

bool IsClientVersionOlder(const uint32_t version[4], const int minimum[4]) {
    for (int i = 0; i < 4; ++i) {
        if (version[i] != static_cast<uint32_t>(minimum[i]))
            return version[i] < static_cast<uint32_t>(minimum[i]);
    }
    return false;
}

void CServerSession::Refuse(ENetPeer* pPeer, uint32_t reason, const char* format, const std::string& who) {
    if (format)
        LogWarn(format, who.c_str());
    m_pNetSystem->Disconnect(pPeer, reason);
}

void CServerSession::HandleConnect(ENetPeer* pPeer, Stream* pStream) {
    CIPAddress address;
    std::string text;
    if (!m_pNetSystem->GetIPAddress(pPeer, address) || !address.ToString(text))
        return Refuse(pPeer, DISCONNECT_BAD_ADDRESS, nullptr, text);
    if (m_BanList.IsBanned(text))  // before anything of the message is read
        return Refuse(pPeer, DISCONNECT_BANNED, "CONNECT: %s revoked connection [BANNED]", text);
    tConnectMessage message;
    ReadConnectMessage(pStream, message);
    int32_t slot;
    if (!CheckConnect(pPeer, text, message, slot))
        return;
    CNetMachine* pClient = Admit(pPeer, address, message.m_Nickname, slot);
    Welcome(pClient);
}

bool CServerSession::CheckConnect(ENetPeer* pPeer, const std::string& address, const tConnectMessage& message,
                                  int32_t& slot) {
    if (message.m_Protocol != PROTOCOL_VERSION) {  // a missing version reads as 0
        LogWarn("CONNECT: %s (%d) revoked connection [UNSUPPORTED CLIENT]", address.c_str(),
                static_cast<int>(message.m_Protocol));
        m_pNetSystem->Disconnect(pPeer, DISCONNECT_UNSUPPORTED_CLIENT);
        return false;
    }
    if (!message.m_bHasVersion || IsClientVersionOlder(message.m_Version, m_Server.m_MinClientVersion)) {
        Refuse(pPeer, DISCONNECT_UNSUPPORTED_CLIENT, "CONNECT: %s revoked connection [UNSUPPORTED CLIENT]", address);
        return false;
    }
    if (!message.m_bHasPassword ||
        (!m_Server.m_Password.empty() && !Ferrox3D::VerifyPassword(message.m_Password.c_str(), m_Server.m_Password.c_str()))) {
        Refuse(pPeer, DISCONNECT_WRONG_PASSWORD, "CONNECT: %s revoked connection [WRONG PASSWORD]", address);
        return false;
    }
    if (!message.m_bHasNickname) {
        Refuse(pPeer, DISCONNECT_INVALID_NICKNAME, "CONNECT: %s revoked connection [INVALID NICKNAME]", address);
        return false;
    }
    const std::string& name = message.m_Nickname;
    if (!message.m_bHasGame || message.m_Game != FindGameId(m_Server.m_GameText)) {
        Refuse(pPeer, DISCONNECT_WRONG_GAME, "CONNECT: %s revoked connection [WRONG GAME]", name);
        return false;
    }
    if (!m_Server.m_bDuplicateNames && m_Machines.IsNameInUse(name)) {
        Refuse(pPeer, DISCONNECT_NICKNAME_IN_USE, "CONNECT: %s revoked connection [NICKNAME IN USE]", name);
        return false;
    }
    slot = m_Machines.FindFreeSlot();
    if (m_PlayerCount >= static_cast<size_t>(std::max(m_Server.m_MaxPlayers, 0)) || slot < 0 ||
        slot >= static_cast<int32_t>(CONSOLE_CLIENT_SLOT)) {
        Refuse(pPeer, DISCONNECT_SERVER_FULL, "CONNECT: %s revoked connection [SERVER FULL]", name);
        return false;
    }
    return true;
}

CNetMachine* CServerSession::Admit(ENetPeer* pPeer, const CIPAddress& address, const std::string& name,
                                   int32_t slot) {
    Strong<CNetMachine> pClient = Strong<CNetMachine>::Adopt(m_Server.NewMachine());
    pClient->m_pNetSystem = m_pNetSystem.get();
    pClient->m_pPeer = pPeer;
    pClient->m_GameText = m_Server.m_GameText;
    pClient->m_Game = FindGameId(m_Server.m_GameText);
    pClient->m_PeerWord = 0;
    pClient->m_Address = address;
    pClient->m_Name = name;
    pClient->m_bStreamingEnabled = false;
    m_Machines.Store(slot, pClient);
    ++m_PlayerCount;
    m_pNetSystem->SetPeerAdmitted(pPeer, true);
    return pClient;  // the slot table holds it
}

void CServerSession::Welcome(CNetMachine* pClient) {
    Strong<CNetMachine> keep(pClient);
    RaisePlayerJoin(pClient);
    if (pClient->m_Index >= 0)
        m_Server.OnPlayerJoin(pClient);
    if (pClient->m_Index < 0)
        return;  // a handler sent it away
    SendCvars(pClient);
    SendConnectAccepted(pClient);
    SendGameMode(pClient);
    SendServerName(pClient);
    SendClientAdded(pClient);
    SendClientList(pClient);
}

void CServerSession::SendCvars(CNetMachine* pClient) {
    Packet packet(PACKET_CVARS);
    CBinaryWriter writer(&packet);
    writer.WriteUInt16(static_cast<uint16_t>(m_Server.m_ConfigVariables.size()));
    for (const auto& entry : m_Server.m_ConfigVariables) {
        CUnlimitedStream block;
        CBinaryWriter blockWriter(&block);
        blockWriter.WriteString(entry.second.m_Name);
        blockWriter.WriteString(entry.second.m_Value);
        writer.WriteVarint(static_cast<uint32_t>(block.GetLength()));
        writer.WriteBytes(block.GetData(), block.GetLength());
    }
    pClient->SendPacket(&packet);
}

void CServerSession::SendConnectAccepted(CNetMachine* pClient) {
    Packet packet(PACKET_CONNECT_ACCEPTED);
    CBinaryWriter writer(&packet);
    writer.WriteInt32(pClient->m_Index);
    writer.WriteUInt16(m_Server.m_usHTTPPort);
    writer.WriteString(m_Server.m_HTTPUrl);
    writer.WriteUInt16(m_Server.m_usSyncInterval);
    writer.WriteUInt8(0);
    writer.WriteUInt8(static_cast<uint8_t>(m_Server.m_SyncMethod));
    pClient->SendPacket(&packet);
}

// To every other occupied slot; the console receives nothing.
void CServerSession::SendClientAdded(CNetMachine* pClient) {
    Packet packet(PACKET_CLIENTS_ADDED);
    CBinaryWriter writer(&packet);
    writer.WriteUInt16(1);
    writer.WriteInt32(pClient->m_Index);
    if (!pClient->Write(&packet))
        return;
    m_Machines.ForEach([&](CNetMachine* pOther) {
        if (pOther != pClient && !pOther->m_bConsole)
            pOther->SendPacket(&packet);
    });
}

void CServerSession::SendClientList(CNetMachine* pClient) {
    Packet packet(PACKET_CLIENT_LIST);
    int limit = std::max(0, std::min(m_Server.m_MaxPlayers, 0xFFFF));
    if (m_Machines.WriteClientList(&packet, static_cast<uint16_t>(limit)))
        pClient->SendPacket(&packet);
}
