// The game port's ENet host: sending, disconnecting and delivering events on the main thread.
#include "Network/ENetSystem.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"

using namespace Ferrox3D;

CENetSystem::CENetSystem(CNetEvents* pSink, bool bMultithreaded)
    : m_pSink(pSink), m_bMultithreaded(bMultithreaded), m_HandshakeTimeout(HANDSHAKE_TIMEOUT_MS) {}

CENetSystem::~CENetSystem() { Shutdown(0, SHUTDOWN_GOODBYE_MS); }

bool CENetSystem::Listen(const char* bindAddress, uint16_t port) {
    if (!m_Library.IsReady() || m_pHost)
        return false;
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = port;
    if (bindAddress && *bindAddress && enet_address_set_host_ip(&address, bindAddress) != 0)
        return false;
    ENetHostPtr pHost(enet_host_create(&address, MAX_NET_PEERS, MAX_NET_CHANNELS, 0, 0));
    if (!pHost || enet_host_compress_with_range_coder(pHost.get()) != 0)
        return false;
    pHost->intercept = &CENetSystem::InterceptDatagram;
    // ENet would otherwise accept 32 MiB messages and buffer as much per peer.
    pHost->maximumPacketSize = MAX_INCOMING_PACKET;
    pHost->maximumWaitingData = MAX_PEER_WAITING_DATA;
    m_pHost = std::move(pHost);
    return true;
}

uint16_t CENetSystem::GetPort() const { return m_pHost ? m_pHost->address.port : 0; }

bool CENetSystem::FindTarget(ENetPeer* pPeer, tTarget& target) const {
    auto it = m_Peers.find(pPeer);
    if (it == m_Peers.end())
        return false;
    target = {pPeer, it->second.m_ConnectionId};
    return true;
}

bool CENetSystem::MakeSend(const Packet* pPacket, ePacketPriority priority, uint32_t flags, uint8_t channel,
                           tOutgoing& item) {
    uint32_t enetFlags = flags & (PACKET_FLAG_RELIABLE | PACKET_FLAG_UNSEQUENCED);
    item.m_pPacket.reset(enet_packet_create(pPacket->GetBytes(), pPacket->GetSize(), enetFlags));
    item.m_Priority = priority;
    item.m_Channel = channel;
    return item.m_pPacket != nullptr;
}

bool CENetSystem::SendPacket(ENetPeer* pPeer, const Packet* pPacket, ePacketPriority priority, uint32_t flags,
                             uint8_t channel) {
    if (!m_pHost)
        return false;
    if (flags & PACKET_FLAG_BROADCAST)
        return SendEveryonePacket(pPacket, priority, flags, channel);
    tOutgoing item;
    tTarget target;
    if (!FindTarget(pPeer, target))
        return true;  // a peer that is not connected does not get the packet
    item.m_Targets.push_back(target);
    if (!MakeSend(pPacket, priority, flags, channel, item))
        return true;
    return Submit(std::move(item));
}

bool CENetSystem::SendEveryonePacket(const Packet* pPacket, ePacketPriority priority, uint32_t flags,
                                     uint8_t channel) {
    if (!m_pHost)
        return false;
    tOutgoing item;
    for (const auto& [pPeer, state] : m_Peers) {
        if (state.m_bAdmitted)
            item.m_Targets.push_back({pPeer, state.m_ConnectionId});
    }
    if (item.m_Targets.empty() || !MakeSend(pPacket, priority, flags, channel, item))
        return true;
    return Submit(std::move(item));
}

bool CENetSystem::SendHostPacket(const Packet* pPacket, ePacketPriority priority, uint32_t flags, uint8_t channel) {
    return SendEveryonePacket(pPacket, priority, flags | PACKET_FLAG_BROADCAST, channel);
}

void CENetSystem::Disconnect(ENetPeer* pPeer, uint32_t reason) {
    auto it = m_Peers.find(pPeer);
    if (!m_pHost || it == m_Peers.end() || it->second.m_bDropping)
        return;
    it->second.m_bAdmitted = false;
    it->second.m_bDropping = true;
    tOutgoing item;
    item.m_bDisconnect = true;
    item.m_Reason = reason;
    item.m_Targets.push_back({pPeer, it->second.m_ConnectionId});
    Submit(std::move(item));
}

// With a network thread the item joins its queue; without one it is carried out at once, after
// anything still queued from a thread that has since stopped, so order is kept.
bool CENetSystem::Submit(tOutgoing&& item) {
    if (IsNetworkThreadRunning()) {
        std::lock_guard<std::mutex> guard(m_OutgoingLock);
        m_Outgoing.push_back(std::move(item));
        return true;
    }
    std::lock_guard<std::mutex> guard(m_HostLock);
    FlushOutgoing();
    Execute(item);
    return true;
}

uint32_t CENetSystem::GetLastPing(ENetPeer* pPeer) {
    if (!pPeer)
        return 0xFFFFFFFF;
    std::lock_guard<std::mutex> guard(m_HostLock);
    return pPeer->roundTripTime;
}

bool CENetSystem::GetIPAddress(ENetPeer* pPeer, CIPAddress& address) {
    if (!pPeer)
        return false;
    std::lock_guard<std::mutex> guard(m_HostLock);
    address = CIPAddress(pPeer->address.host, pPeer->address.port);
    return true;
}

void CENetSystem::SetPeerAdmitted(ENetPeer* pPeer, bool bAdmitted) {
    auto it = m_Peers.find(pPeer);
    if (it != m_Peers.end() && !it->second.m_bDropping)
        it->second.m_bAdmitted = bAdmitted;
}

bool CENetSystem::IsPeerAdmitted(ENetPeer* pPeer) const {
    auto it = m_Peers.find(pPeer);
    return it != m_Peers.end() && it->second.m_bAdmitted;
}

void CENetSystem::Update() {
    if (!m_pHost)
        return;
    std::vector<tNetEvent> events;
    {
        std::lock_guard<std::mutex> guard(m_EventLock);
        events.swap(m_Events);
    }
    HandleEvents(events);
    if (!IsNetworkThreadRunning()) {
        events.clear();
        {
            std::lock_guard<std::mutex> guard(m_HostLock);
            FlushOutgoing();
            ServiceHost(events);
        }
        HandleEvents(events);
        std::lock_guard<std::mutex> guard(m_HostLock);
        if (m_pHost)
            enet_host_flush(m_pHost.get());
    }
    DropStalledHandshakes();
}

// Handlers run with no transport lock held.
void CENetSystem::HandleEvents(std::vector<tNetEvent>& events) {
    for (tNetEvent& event : events)
        HandleEvent(event);
}

void CENetSystem::HandleEvent(tNetEvent& event) {
    auto it = m_Peers.find(event.m_pPeer);
    bool bKnown = it != m_Peers.end() && it->second.m_ConnectionId == event.m_ConnectionId;
    switch (event.m_Type) {
    case ENET_EVENT_TYPE_CONNECT:
        m_Peers[event.m_pPeer] = {event.m_ConnectionId, false, false, std::chrono::steady_clock::now()};
        m_pSink->ConnectEvent(event.m_pPeer);
        if (m_bMultithreaded && !IsNetworkThreadRunning())
            StartNetworkThread();
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        if (!bKnown)
            break;
        m_Peers.erase(it);
        if (m_Peers.empty())
            StopNetworkThread();
        m_pSink->DisconnectEvent(event.m_pPeer, event.m_Data);
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        if (bKnown && !it->second.m_bDropping)
            m_pSink->PacketEvent(event.m_pPeer, event.m_pPacket->dataLength, event.m_pPacket->data);
        break;
    default:
        break;
    }
}

void CENetSystem::DropStalledHandshakes() {
    if (m_Peers.empty())
        return;
    auto deadline = std::chrono::steady_clock::now() - m_HandshakeTimeout;
    std::vector<ENetPeer*> stalled;
    for (const auto& [pPeer, state] : m_Peers) {
        if (!state.m_bAdmitted && !state.m_bDropping && state.m_ConnectedAt < deadline)
            stalled.push_back(pPeer);
    }
    for (ENetPeer* pPeer : stalled)
        Disconnect(pPeer, 0);
}

void CENetSystem::Shutdown(uint32_t reason, uint32_t waitMilliseconds) {
    StopNetworkThread();
    std::vector<tNetEvent> dropped;
    {
        std::lock_guard<std::mutex> guard(m_EventLock);
        dropped.swap(m_Events);
    }
    std::lock_guard<std::mutex> guard(m_HostLock);
    if (!m_pHost)
        return;
    FlushOutgoing();
    WaitForGoodbyes(reason, waitMilliseconds);
    m_pHost.reset();
    m_Peers.clear();
}
