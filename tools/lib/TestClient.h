// A headless player's client over ENet (range coder on) that speaks the game protocol, for tests and load.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "ClientMessages.h"
#include "Network/ENetHandles.h"
#include "SessionMirror.h"

namespace TestClient {

struct tReceived {
    uint32_t m_Id;   // 0 when the payload had no valid header
    uint8_t m_Channel;
    Bytes m_Payload;  // header included
};

class CTestClient {
public:
    CTestClient();
    CTestClient(const CTestClient&) = delete;
    CTestClient& operator=(const CTestClient&) = delete;

    // Starts the ENet connection; Service() completes it. False when the host cannot be made.
    bool Open(const char* host, uint16_t port);
    // Opens and services until connected (or disconnected, or the time-out).
    bool Connect(const char* host, uint16_t port, uint32_t timeoutMs);

    // Services the host once, waiting up to timeoutMs for the first event.
    void Service(uint32_t timeoutMs = 0);
    // Calls pump (or Service(5)) until the condition holds or the time-out passes.
    bool WaitFor(const std::function<bool()>& condition, uint32_t timeoutMs, const std::function<void()>& pump = {});
    bool WaitForMessage(uint32_t id, uint32_t timeoutMs, const std::function<void()>& pump = {});
    bool WaitForDisconnect(uint32_t timeoutMs, const std::function<void()>& pump = {});
    // The whole handshake: connect message, then waits for the client list (true) or a refusal.
    bool Handshake(const tConnectRequest& request, uint32_t timeoutMs, const std::function<void()>& pump = {});

    bool Send(const Bytes& payload, uint8_t channel = 0, uint32_t enetFlags = ENET_PACKET_FLAG_RELIABLE);
    bool SendConnect(const tConnectRequest& request) { return Send(BuildConnect(request)); }
    bool SendJoin() { return Send(BuildJoin()); }
    bool SendChat(const std::string& text) { return Send(BuildChat(text)); }
    bool SendCommand(const std::string& command, const std::string& parameters = "") {
        return Send(BuildCommand(command, parameters));
    }
    bool SendNetworkEvent(const std::string& name, const std::vector<tWireValue>& arguments = {}) {
        return Send(BuildNetworkEvent(name, arguments));
    }
    bool SendDisconnectMessage(const uint32_t* pReason = nullptr) { return Send(BuildDisconnect(pReason)); }
    // A raw UDP datagram from this client's socket, outside ENet (query traffic, garbage).
    bool SendDatagram(const Bytes& datagram);
    // Answers received on the socket outside ENet are not captured; use a plain socket for those.

    // ENet disconnect carrying the data; the graceful path waits for the server's acknowledgement.
    void DisconnectTransport(uint32_t data);
    // Drops the connection without telling the server.
    void Abandon();

    bool IsConnected() const { return m_bConnected; }
    bool WasDisconnected() const { return m_bDisconnected; }
    uint32_t GetDisconnectData() const { return m_DisconnectData; }
    const std::vector<tReceived>& GetReceived() const { return m_Received; }
    size_t CountReceived(uint32_t id) const;
    size_t GetMalformedCount() const { return m_Malformed; }
    CSessionMirror& Mirror() { return m_Mirror; }
    int32_t GetIndex() const { return m_Mirror.m_bAccepted ? m_Mirror.m_Accepted.m_Index : -1; }

private:
    void HandleEvent(ENetEvent& event);
    void Receive(const ENetEvent& event);

    CENetLibrary m_Library;
    ENetHostPtr m_pHost;
    ENetPeer* m_pPeer = nullptr;
    bool m_bConnected = false;
    bool m_bDisconnected = false;
    uint32_t m_DisconnectData = 0;
    std::vector<tReceived> m_Received;
    size_t m_Malformed = 0;
    CSessionMirror m_Mirror;
};

}  // namespace TestClient
