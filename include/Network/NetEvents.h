// What the transport tells its owner: connects, disconnects, packets and raw intercepted datagrams.
#pragma once
#include <cstddef>
#include <cstdint>

typedef struct _ENetPeer ENetPeer;
class Packet;

// A transport peer as the session layer sees it; the second word is always 0 in the server.
struct tPeerInfo {
    ENetPeer* m_pPeer = nullptr;
    uint64_t m_Word = 0;
};

// The raw datagram being intercepted on the game port, and a way to answer its sender.
class CNetSocket {
public:
    virtual ~CNetSocket() = default;
    virtual const uint8_t* GetData(size_t& length) = 0;
    // Sends the packet's bytes as one raw datagram to the address the datagram came from.
    virtual bool Send(const Packet& packet) = 0;
};

class CNetEvents {
public:
    virtual ~CNetEvents() = default;
    virtual void DisconnectEvent(ENetPeer* pPeer, uint32_t reason) = 0;
    virtual void LocalDisconnectEvent(uint32_t reason) {}
    virtual void ConnectEvent(ENetPeer* pPeer) = 0;
    virtual void PacketEvent(ENetPeer* pPeer, size_t length, const uint8_t* pData) = 0;
    // Runs on whichever thread services the host, with the host lock held: it must not call
    // back into the transport. True when it consumed the datagram.
    virtual bool ReceiveDatagram(CNetSocket* pSocket) { return false; }
};
