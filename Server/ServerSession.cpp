// Session layer: the game port's lifecycle, message dispatch, joining and the one disconnect path.
#include "Server/ServerSession.h"
#include "Engine/BinaryIO.h"
#include "Engine/Log.h"
#include "Server/BaseServer.h"
#include "Server/UrboServer.h"

using namespace Ferrox3D;

CServerSession::CServerSession(CBaseServer& server) : m_Server(server) {}

CServerSession::~CServerSession() { Shutdown(); }

bool CServerSession::Open() {
    if (m_pNetSystem)
        return m_pNetSystem->IsListening();
    m_pNetSystem = std::make_unique<CENetSystem>(&m_Server, m_Server.m_bMultithreaded);
    return m_pNetSystem->Listen(m_Server.m_BindIP.c_str(), m_Server.m_usPort);
}

void CServerSession::Update() {
    if (m_pNetSystem)
        m_pNetSystem->Update();
}

void CServerSession::Shutdown() {
    if (m_pNetSystem)
        m_pNetSystem->Shutdown(DISCONNECT_NONE, SHUTDOWN_GOODBYE_MS);
}

void CServerSession::CreateConsoleClient() {
    if (m_Machines.Get(CONSOLE_CLIENT_SLOT))
        return;
    Strong<CNetMachine> pConsole = Strong<CNetMachine>::Adopt(m_Server.NewMachine());
    pConsole->m_GameText = m_Server.m_GameText;
    pConsole->m_Game = FindGameId(m_Server.m_GameText);
    pConsole->m_bAdministrator = true;
    pConsole->m_bConsole = true;
    pConsole->m_Name = "Console";
    m_Machines.Store(CONSOLE_CLIENT_SLOT, pConsole);
}

bool CServerSession::OnPlayerConnect(ENetPeer* pPeer) {
    // A peer is only reused after its disconnect removed the old record; this keeps it so.
    if (CNetMachine* pStale = m_Machines.GetMachineFromPeer(pPeer))
        RemoveClient(pStale, DISCONNECT_NONE);
    CIPAddress address;
    std::string text;
    if (!m_pNetSystem->GetIPAddress(pPeer, address) || !address.ToString(text))
        text = "unknown";
    Log("CONNECT: %s is attempting to connect", text.c_str());
    // A prevented OnPlayerConnect is reported but does not refuse: no reason code says why.
    return RaisePlayerConnect(text);
}

// Whatever the reason (12 included), a connection that ends takes its record with it.
void CServerSession::OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason) {
    if (CNetMachine* pClient = m_Machines.GetMachineFromPeer(pPeer))
        RemoveClient(pClient, reason);
}

bool CServerSession::ProcessPacket(const tPeerInfo& peer, uint32_t id, Stream* pStream) {
    CNetMachine* pClient = m_Machines.GetMachineFromPeer(peer.m_pPeer);
    if (id == PACKET_CONNECT) {
        if (!pClient)
            HandleConnect(peer.m_pPeer, pStream);
        return true;
    }
    if (!pClient)
        return true;  // nothing but the connect message counts before the handshake
    switch (id) {
    case PACKET_JOIN: HandleJoin(pClient); return true;
    case PACKET_DISCONNECT: HandleLeave(pClient, pStream); return true;
    default: return false;
    }
}

// A repeated join message is ignored: joining twice would announce the client twice.
void CServerSession::HandleJoin(CNetMachine* pClient) {
    if (pClient->m_bJoined)
        return;
    Strong<CNetMachine> keep(pClient);
    pClient->m_bJoined = true;
    pClient->m_bStreamingEnabled = true;
    m_Server.OnPlayerJoined(pClient);
    if (pClient->m_Index < 0)
        return;
    RaisePlayerJoined(pClient);
    if (pClient->m_Index < 0)
        return;
    pClient->SendPlayer();
    Packet complete(PACKET_JOIN_COMPLETE);
    pClient->SendPacket(&complete);
}

void CServerSession::HandleLeave(CNetMachine* pClient, Stream* pStream) {
    uint32_t reason;
    if (!CBinaryReader(pStream).ReadUInt32(reason))
        reason = DISCONNECT_CLIENT_QUIT;
    DisconnectClient(pClient, reason);
}

void CServerSession::DisconnectClient(CNetMachine* pClient, uint32_t reason) {
    if (!pClient || pClient->m_bConsole || pClient->m_Index < 0)
        return;
    ENetPeer* pPeer = pClient->m_pPeer;
    RemoveClient(pClient, reason);
    m_pNetSystem->Disconnect(pPeer, reason);
}

void CServerSession::RemoveClient(CNetMachine* pClient, uint32_t reason) {
    if (pClient->m_bLeaving || pClient->m_Index < 0)
        return;
    Strong<CNetMachine> keep(pClient);
    pClient->m_bLeaving = true;
    RaisePlayerQuit(pClient, reason);
    int32_t index = pClient->m_Index;
    --m_PlayerCount;
    m_pNetSystem->SetPeerAdmitted(pClient->m_pPeer, false);
    m_Machines.Remove(index);
    Packet removed(PACKET_CLIENTS_REMOVED);
    CBinaryWriter writer(&removed);
    writer.WriteUInt16(1);
    writer.WriteInt32(index);
    SendToEveryone(removed);
}

bool CServerSession::SendToEveryone(const Packet& packet) {
    return m_pNetSystem && m_pNetSystem->SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE,
                                                            PACKET_CHANNEL_MESSAGES);
}

void CServerSession::SendText(CNetMachine* pClient, uint32_t id, const std::string& text) {
    Packet packet(id);
    CBinaryWriter(&packet).WriteString(text);
    if (pClient)
        pClient->SendPacket(&packet);
    else
        SendToEveryone(packet);
}

void CServerSession::SendGameMode(CNetMachine* pClient) { SendText(pClient, PACKET_GAME_MODE, m_Server.m_GameMode); }

void CServerSession::SendServerName(CNetMachine* pClient) {
    SendText(pClient, PACKET_SERVER_NAME, m_Server.m_ServerName);
}
