// Owning handles for the ENet library, its hosts and its packets.
#pragma once
#include <enet/enet.h>
#include <memory>

// Keeps the ENet library initialised while any instance lives.
class CENetLibrary {
public:
    CENetLibrary();
    ~CENetLibrary();
    CENetLibrary(const CENetLibrary&) = delete;
    CENetLibrary& operator=(const CENetLibrary&) = delete;
    bool IsReady() const { return m_bReady; }

private:
    bool m_bReady;
};

struct tENetHostDeleter {
    void operator()(ENetHost* pHost) const { enet_host_destroy(pHost); }
};
using ENetHostPtr = std::unique_ptr<ENetHost, tENetHostDeleter>;

// A packet that no peer has taken is ours to free; once sent, ENet frees it when done.
struct tENetPacketDeleter {
    void operator()(ENetPacket* pPacket) const {
        if (pPacket->referenceCount == 0)
            enet_packet_destroy(pPacket);
    }
};
using ENetPacketPtr = std::unique_ptr<ENetPacket, tENetPacketDeleter>;
