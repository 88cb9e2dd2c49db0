// The server's side of the transport: its events and start-up steps handed to the session layer.
#include "Multiplayer/NetMachine.h"
#include "Server/BaseServer.h"
#include "Server/ServerSession.h"

using namespace Ferrox3D;

bool CBaseServer::CreateNetworkHost() { return m_pSession->Open(); }

void CBaseServer::CreateConsoleClient() { m_pSession->CreateConsoleClient(); }

void CBaseServer::UpdateTransport() { m_pSession->Update(); }

size_t CBaseServer::GetPlayerCount() const { return m_pSession->GetPlayerCount(); }

CNetMachine* CBaseServer::NewMachine() {
    auto* pMachine = new CNetMachine;
    pMachine->SetReflectedClass(m_pClientClass);
    return pMachine;
}

bool CBaseServer::OnPlayerConnect(ENetPeer* pPeer) { return m_pSession->OnPlayerConnect(pPeer); }

void CBaseServer::OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason) {
    m_pSession->OnPlayerDisconnect(pPeer, reason);
}

void CBaseServer::ProcessPacket(const tPeerInfo& peer, uint32_t id, Stream* pStream) {
    if (m_pSession->ProcessPacket(peer, id, pStream))
        return;
    if (CNetMachine* pClient = m_pSession->GetMachines().GetMachineFromPeer(peer.m_pPeer))
        ProcessPlayerMessage(pClient, id, pStream);
}

// Every FF FF datagram belongs to the query protocol; until it answers, they are dropped here.
bool CBaseServer::ReceiveDatagram(CNetSocket* pSocket) { return true; }
