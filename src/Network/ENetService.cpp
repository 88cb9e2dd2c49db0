// Servicing the ENet host (under the host lock) and the optional "NetworkThread" that does it.
#include <pthread.h>
#include "Engine/Limits.h"
#include "Network/ENetSystem.h"

using namespace Ferrox3D;

namespace {
// A peer that has since disconnected, or been reused by a new connection, is skipped.
bool IsSameConnection(ENetPeer* pPeer, uint32_t connectionId) {
    return pPeer->state == ENET_PEER_STATE_CONNECTED &&
           static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pPeer->data)) == connectionId;
}
}  // namespace

void CENetSystem::FlushOutgoing() {
    std::vector<tOutgoing> items;
    {
        std::lock_guard<std::mutex> guard(m_OutgoingLock);
        items.swap(m_Outgoing);
    }
    for (tOutgoing& item : items)
        Execute(item);
}

void CENetSystem::Execute(tOutgoing& item) {
    if (!m_pHost)
        return;
    for (const tTarget& target : item.m_Targets) {
        if (!IsSameConnection(target.m_pPeer, target.m_ConnectionId))
            continue;
        if (item.m_bDisconnect)
            enet_peer_disconnect_later(target.m_pPeer, item.m_Reason);
        else
            enet_peer_send(target.m_pPeer, item.m_Channel, item.m_pPacket.get());
    }
}

CENetSystem::tNetEvent CENetSystem::TakeEvent(ENetEvent& event) {
    if (event.type == ENET_EVENT_TYPE_CONNECT)
        event.peer->data = reinterpret_cast<void*>(static_cast<uintptr_t>(++m_NextConnectionId));
    tNetEvent taken;
    taken.m_Type = event.type;
    taken.m_pPeer = event.peer;
    taken.m_ConnectionId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event.peer->data));
    taken.m_Data = event.data;
    taken.m_pPacket.reset(event.packet);
    return taken;
}

void CENetSystem::WaitForGoodbyes(uint32_t reason, uint32_t waitMilliseconds) {
    ENetHost* pHost = m_pHost.get();
    // Peers whose connect event was not handled yet are told too (ENet sends them a last notice).
    for (size_t i = 0; i < pHost->peerCount; ++i) {
        if (pHost->peers[i].state != ENET_PEER_STATE_DISCONNECTED)
            enet_peer_disconnect_later(&pHost->peers[i], reason);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        bool bPending = false;
        for (size_t i = 0; i < pHost->peerCount; ++i)
            bPending |= pHost->peers[i].state != ENET_PEER_STATE_DISCONNECTED;
        if (!bPending)
            break;
        ENetEvent event;
        if (enet_host_service(pHost, &event, 10) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
    }
}

void CENetSystem::StartNetworkThread() {
    m_bStopThread = false;
    m_NetworkThread = std::thread(&CENetSystem::NetworkThreadMain, this);
}

void CENetSystem::StopNetworkThread() {
    if (!m_NetworkThread.joinable())
        return;
    m_bStopThread = true;
    m_NetworkThread.join();
    m_bStopThread = false;
}

void CENetSystem::NetworkThreadMain() {
    pthread_setname_np(pthread_self(), "NetworkThread");
    std::vector<tNetEvent> events;
    while (!m_bStopThread) {
        {
            std::lock_guard<std::mutex> guard(m_HostLock);
            FlushOutgoing();
            ServiceHost(events);
        }
        if (!events.empty()) {
            std::lock_guard<std::mutex> guard(m_EventLock);
            for (tNetEvent& event : events)
                m_Events.push_back(std::move(event));
            events.clear();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(NETWORK_THREAD_INTERVAL_MS));
    }
}
