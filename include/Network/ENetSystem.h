// Reliable-UDP host on the game port: peers, channels, raw-datagram intercept, optional network thread.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>
#include "Network/ENetHandles.h"
#include "Network/IPAddress.h"
#include "Network/NetEvents.h"
#include "Network/Packet.h"

// Threads: the main thread runs every sink call and every send; the network thread (when
// multithreaded and at least one peer is connected) only services the host and moves data.
// Lock order: the host lock first; inside it, briefly, either queue lock. The two queue locks
// never nest, and no sink call is made while any of them is held, so handlers may send,
// disconnect and ping freely in both modes.
class CENetSystem {
public:
    CENetSystem(CNetEvents* pSink, bool bMultithreaded);
    virtual ~CENetSystem();
    CENetSystem(const CENetSystem&) = delete;
    CENetSystem& operator=(const CENetSystem&) = delete;

    // Opens the host on the address ("" for any) and port (0 picks a free one).
    bool Listen(const char* bindAddress, uint16_t port);
    uint16_t GetPort() const;
    bool IsListening() const { return m_pHost != nullptr; }

    virtual bool Connect(const char* host, uint16_t port) { return false; }  // client role only
    virtual void Disconnect(ENetPeer* pPeer, uint32_t reason);
    virtual void Update();
    virtual bool SendPacket(ENetPeer* pPeer, const Packet* pPacket, ePacketPriority priority, uint32_t flags,
                            uint8_t channel);
    virtual bool SendHostPacket(const Packet* pPacket, ePacketPriority priority, uint32_t flags, uint8_t channel);
    virtual bool SendEveryonePacket(const Packet* pPacket, ePacketPriority priority, uint32_t flags,
                                    uint8_t channel);
    virtual bool GetIPAddress(ENetPeer* pPeer, CIPAddress& address);
    virtual uint32_t GetLastPing(ENetPeer* pPeer);

    // Only admitted peers (those that passed the session handshake) receive broadcasts; a peer
    // not admitted within the handshake time-out is disconnected.
    void SetPeerAdmitted(ENetPeer* pPeer, bool bAdmitted);
    bool IsPeerAdmitted(ENetPeer* pPeer) const;
    void SetHandshakeTimeout(uint32_t milliseconds) { m_HandshakeTimeout = std::chrono::milliseconds(milliseconds); }

    // Sends what is queued, tells every peer it is disconnected (with the reason) and waits up to
    // the time given for the goodbyes to leave; then closes the host. Also run by the destructor.
    void Shutdown(uint32_t reason, uint32_t waitMilliseconds);

    size_t GetPeerCount() const { return m_Peers.size(); }
    bool IsMultithreaded() const { return m_bMultithreaded; }
    bool IsNetworkThreadRunning() const { return m_NetworkThread.joinable(); }

private:
    struct tTarget {
        ENetPeer* m_pPeer;
        uint32_t m_ConnectionId;
    };
    // A send or a disconnect, carried out by whichever thread services the host.
    struct tOutgoing {
        bool m_bDisconnect = false;
        uint32_t m_Reason = 0;
        ePacketPriority m_Priority = PRIORITY_LOW;  // carried, not used for ordering
        uint8_t m_Channel = 0;
        ENetPacketPtr m_pPacket;
        std::vector<tTarget> m_Targets;
    };
    // An ENet event gathered while servicing, handled later on the main thread.
    struct tNetEvent {
        ENetEventType m_Type;
        ENetPeer* m_pPeer;
        uint32_t m_ConnectionId;
        uint32_t m_Data;
        ENetPacketPtr m_pPacket;
    };
    // The main thread's view of one connection.
    struct tPeerState {
        uint32_t m_ConnectionId;
        bool m_bAdmitted;
        bool m_bDropping;
        std::chrono::steady_clock::time_point m_ConnectedAt;
    };

    static int InterceptDatagram(ENetHost* pHost, ENetEvent* pEvent);

    bool Submit(tOutgoing&& item);
    bool MakeSend(const Packet* pPacket, ePacketPriority priority, uint32_t flags, uint8_t channel, tOutgoing& item);
    bool FindTarget(ENetPeer* pPeer, tTarget& target) const;
    // Under the host lock:
    void FlushOutgoing();
    void Execute(tOutgoing& item);
    void ServiceHost(std::vector<tNetEvent>& events);
    tNetEvent TakeEvent(ENetEvent& event);
    void WaitForGoodbyes(uint32_t reason, uint32_t waitMilliseconds);
    // Main thread:
    void HandleEvents(std::vector<tNetEvent>& events);
    void HandleEvent(tNetEvent& event);
    void DropStalledHandshakes();
    void StartNetworkThread();
    void StopNetworkThread();
    void NetworkThreadMain();

    CENetLibrary m_Library;
    CNetEvents* m_pSink;
    bool m_bMultithreaded;
    ENetHostPtr m_pHost;
    uint32_t m_NextConnectionId = 0;  // host lock
    std::unordered_map<ENetPeer*, tPeerState> m_Peers;  // main thread
    std::chrono::milliseconds m_HandshakeTimeout;

    std::thread m_NetworkThread;
    std::atomic<bool> m_bStopThread{false};
    mutable std::mutex m_HostLock;
    std::mutex m_EventLock;
    std::vector<tNetEvent> m_Events;  // event lock
    std::mutex m_OutgoingLock;
    std::vector<tOutgoing> m_Outgoing;  // outgoing lock
};
