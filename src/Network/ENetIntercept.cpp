// Raw datagrams that begin with FF FF bypass ENet and go to the event sink (the query protocol).
#include "Engine/Log.h"
#include "Network/ENetSystem.h"

using namespace Ferrox3D;

namespace {

// The transport whose host this thread is servicing right now; the intercept finds its sink here.
thread_local CNetEvents* t_pServicingSink = nullptr;

class CENetSocket : public CNetSocket {
public:
    explicit CENetSocket(ENetHost* pHost) : m_pHost(pHost) {}
    const uint8_t* GetData(size_t& length) override {
        length = m_pHost->receivedDataLength;
        return m_pHost->receivedData;
    }
    bool Send(const Packet& packet) override {
        ENetBuffer buffer;
        buffer.data = const_cast<uint8_t*>(packet.GetBytes());
        buffer.dataLength = packet.GetSize();
        return enet_socket_send(m_pHost->socket, &m_pHost->receivedAddress, &buffer, 1) >= 0;
    }

private:
    ENetHost* m_pHost;
};

}  // namespace

int CENetSystem::InterceptDatagram(ENetHost* pHost, ENetEvent* pEvent) {
    if (!t_pServicingSink || pHost->receivedDataLength < 2 || pHost->receivedData[0] != 0xFF ||
        pHost->receivedData[1] != 0xFF)
        return 0;
    CENetSocket socket(pHost);
    try {
        return t_pServicingSink->ReceiveDatagram(&socket) ? 1 : 0;
    } catch (const std::exception& e) {
        LogError("Raw datagram handler failed: %s", e.what());
    } catch (...) {
        LogError("Raw datagram handler failed");
    }
    return 1;
}

void CENetSystem::ServiceHost(std::vector<tNetEvent>& events) {
    if (!m_pHost)
        return;
    t_pServicingSink = m_pSink;
    ENetEvent event;
    while (events.size() < MAX_NET_EVENTS_PER_PASS && enet_host_service(m_pHost.get(), &event, 0) > 0)
        events.push_back(TakeEvent(event));
    t_pServicingSink = nullptr;
}
