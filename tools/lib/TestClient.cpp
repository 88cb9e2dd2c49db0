// The test client's ENet connection: connecting, servicing, sending and recording what arrives.
#include "TestClient.h"
#include <chrono>
#include <thread>
#include "Engine/Limits.h"
#include "Engine/Stream.h"
#include "Network/NetCompatibilityShim.h"
#include "Network/Packet.h"

using namespace Ferrox3D;

namespace TestClient {

namespace {
constexpr size_t CLIENT_CHANNELS = 2;  // messages and element sync
}

CTestClient::CTestClient() = default;

bool CTestClient::Open(const char* host, uint16_t port) {
    if (!m_Library.IsReady())
        return false;
    m_pHost.reset(enet_host_create(nullptr, 1, CLIENT_CHANNELS, 0, 0));
    if (!m_pHost || enet_host_compress_with_range_coder(m_pHost.get()) != 0)
        return false;
    ENetAddress address;
    address.port = port;
    if (enet_address_set_host(&address, host) != 0)
        return false;
    m_pPeer = enet_host_connect(m_pHost.get(), &address, CLIENT_CHANNELS, 0);
    return m_pPeer != nullptr;
}

bool CTestClient::Connect(const char* host, uint16_t port, uint32_t timeoutMs) {
    return Open(host, port) && WaitFor([this] { return m_bConnected || m_bDisconnected; }, timeoutMs) &&
           m_bConnected;
}

void CTestClient::Service(uint32_t timeoutMs) {
    if (!m_pHost)
        return;
    ENetEvent event;
    int result = enet_host_service(m_pHost.get(), &event, timeoutMs);
    while (result > 0) {
        HandleEvent(event);
        result = enet_host_service(m_pHost.get(), &event, 0);
    }
}

void CTestClient::HandleEvent(ENetEvent& event) {
    switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
        m_bConnected = true;
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        m_bConnected = false;
        m_bDisconnected = true;
        m_DisconnectData = event.data;
        m_pPeer = nullptr;
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        Receive(event);
        enet_packet_destroy(event.packet);
        break;
    default:
        break;
    }
}

void CTestClient::Receive(const ENetEvent& event) {
    tReceived received;
    received.m_Channel = event.channelID;
    received.m_Payload.assign(event.packet->data, event.packet->data + event.packet->dataLength);
    CMemoryStream stream(event.packet->data, event.packet->dataLength);
    uint32_t id = 0;
    if (!ReadPacketHeader(&stream, id))
        id = 0;
    received.m_Id = id;
    CBinaryReader reader(&stream);
    if (id != 0 && !m_Mirror.Apply(id, reader))
        ++m_Malformed;
    m_Received.push_back(std::move(received));
}

bool CTestClient::WaitFor(const std::function<bool()>& condition, uint32_t timeoutMs,
                          const std::function<void()>& pump) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (pump)
            pump();
        else
            Service(5);
    }
    return true;
}

bool CTestClient::WaitForMessage(uint32_t id, uint32_t timeoutMs, const std::function<void()>& pump) {
    return WaitFor([this, id] { return CountReceived(id) > 0; }, timeoutMs, pump);
}

bool CTestClient::WaitForDisconnect(uint32_t timeoutMs, const std::function<void()>& pump) {
    return WaitFor([this] { return m_bDisconnected; }, timeoutMs, pump);
}

bool CTestClient::Handshake(const tConnectRequest& request, uint32_t timeoutMs, const std::function<void()>& pump) {
    return SendConnect(request) &&
           WaitFor([this] { return m_bDisconnected || CountReceived(PACKET_CLIENT_LIST) > 0; }, timeoutMs, pump) &&
           !m_bDisconnected;
}

bool CTestClient::Send(const Bytes& payload, uint8_t channel, uint32_t enetFlags) {
    if (!m_pPeer || !m_bConnected)
        return false;
    // ENet's range coder reads through the data pointer even for an empty packet, so an empty one
    // points at a dummy byte instead of null.
    static const uint8_t dummy = 0;
    ENetPacket* pPacket = payload.empty()
                              ? enet_packet_create(&dummy, 0, enetFlags | ENET_PACKET_FLAG_NO_ALLOCATE)
                              : enet_packet_create(payload.data(), payload.size(), enetFlags);
    if (!pPacket)
        return false;
    if (enet_peer_send(m_pPeer, channel, pPacket) != 0) {
        enet_packet_destroy(pPacket);
        return false;
    }
    enet_host_flush(m_pHost.get());
    return true;
}

bool CTestClient::SendDatagram(const Bytes& datagram) {
    if (!m_pHost || !m_pPeer)
        return false;
    ENetBuffer buffer;
    buffer.data = const_cast<uint8_t*>(datagram.data());
    buffer.dataLength = datagram.size();
    return enet_socket_send(m_pHost->socket, &m_pPeer->address, &buffer, 1) >= 0;
}

void CTestClient::DisconnectTransport(uint32_t data) {
    if (m_pPeer)
        enet_peer_disconnect(m_pPeer, data);
    Service(0);
}

void CTestClient::Abandon() {
    if (m_pPeer)
        enet_peer_reset(m_pPeer);
    m_pPeer = nullptr;
    m_bConnected = false;
}

size_t CTestClient::CountReceived(uint32_t id) const {
    size_t count = 0;
    for (const tReceived& r : m_Received)
        count += r.m_Id == id;
    return count;
}

}  // namespace TestClient
