// Reception framing between the transport and the session layer: magic, then packet id, then the body.
#pragma once
#include "Engine/Stream.h"
#include "Network/NetEvents.h"

class CNetCompatibilityShim : public CNetEvents {
public:
    void DisconnectEvent(ENetPeer* pPeer, uint32_t reason) override { OnPlayerDisconnect(pPeer, reason); }
    void ConnectEvent(ENetPeer* pPeer) override { OnPlayerConnect(pPeer); }
    // A payload shorter than the header, or with another magic, is dropped without a word.
    void PacketEvent(ENetPeer* pPeer, size_t length, const uint8_t* pData) override;

    virtual void ProcessPacket(const tPeerInfo& peer, uint32_t id, Ferrox3D::Stream* pStream) {}
    virtual bool OnPlayerConnect(ENetPeer* pPeer) { return true; }
    virtual void OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason) {}
    virtual void OnFinishConnecting() {}
};

// The framing on its own: true and the id when the payload carries a valid header.
bool ReadPacketHeader(Ferrox3D::Stream* pStream, uint32_t& id);
