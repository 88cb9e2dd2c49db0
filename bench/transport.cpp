// Echo round trips per second through the game port's transport (both threading modes) from N
// clients, against a plain ENet echo host with the same settings in the same run.
#include <benchmark/benchmark.h>
#include <enet/enet.h>
#include <memory>
#include <vector>
#include "Engine/BinaryIO.h"
#include "Network/ENetSystem.h"
#include "Network/NetCompatibilityShim.h"

namespace {

constexpr int PACKETS_PER_CLIENT = 100;
constexpr size_t BODY_BYTES = 24;

// Echoes every framed message back to its sender.
class CEchoSink : public CNetCompatibilityShim {
public:
    CENetSystem* m_pSystem = nullptr;
    bool OnPlayerConnect(ENetPeer* pPeer) override {
        m_pSystem->SetPeerAdmitted(pPeer, true);
        return true;
    }
    void ProcessPacket(const tPeerInfo& peer, uint32_t id, Ferrox3D::Stream* pStream) override {
        Packet reply(id);
        uint8_t body[BODY_BYTES];
        size_t read = pStream->Read(body, sizeof(body));
        reply.Write(body, read);
        m_pSystem->SendPacket(peer.m_pPeer, &reply, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0);
    }
};

// The server under test: something that can be pumped once.
class IEchoServer {
public:
    virtual ~IEchoServer() = default;
    virtual uint16_t Port() = 0;
    virtual void Pump() = 0;
};

class CTransportServer : public IEchoServer {
public:
    explicit CTransportServer(bool bThreaded) : m_System(&m_Sink, bThreaded) {
        m_Sink.m_pSystem = &m_System;
        m_System.Listen("127.0.0.1", 0);
    }
    uint16_t Port() override { return m_System.GetPort(); }
    void Pump() override { m_System.Update(); }

private:
    CEchoSink m_Sink;
    CENetSystem m_System;
};

// The straightforward version: one ENet host serviced inline, echoing payloads as they are.
class CRawServer : public IEchoServer {
public:
    CRawServer() {
        ENetAddress address{};
        enet_address_set_host_ip(&address, "127.0.0.1");
        m_pHost.reset(enet_host_create(&address, 4095, 255, 0, 0));
        enet_host_compress_with_range_coder(m_pHost.get());
    }
    uint16_t Port() override { return m_pHost->address.port; }
    void Pump() override {
        ENetEvent event;
        while (enet_host_service(m_pHost.get(), &event, 0) > 0) {
            if (event.type != ENET_EVENT_TYPE_RECEIVE)
                continue;
            ENetPacket* pReply = enet_packet_create(event.packet->data, event.packet->dataLength, ENET_PACKET_FLAG_RELIABLE);
            enet_peer_send(event.peer, 0, pReply);
            enet_packet_destroy(event.packet);
        }
        enet_host_flush(m_pHost.get());
    }

private:
    ENetHostPtr m_pHost;
};

struct tClient {
    ENetHostPtr m_pHost;
    ENetPeer* m_pPeer = nullptr;
    bool m_bConnected = false;
    int m_Received = 0;

    void Service() {
        ENetEvent event;
        while (enet_host_service(m_pHost.get(), &event, 0) > 0) {
            if (event.type == ENET_EVENT_TYPE_CONNECT)
                m_bConnected = true;
            if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                ++m_Received;
                enet_packet_destroy(event.packet);
            }
        }
    }
};

std::vector<std::unique_ptr<tClient>> ConnectClients(IEchoServer& server, int count) {
    std::vector<std::unique_ptr<tClient>> clients;
    ENetAddress address{};
    enet_address_set_host_ip(&address, "127.0.0.1");
    address.port = server.Port();
    for (int i = 0; i < count; ++i) {
        auto pClient = std::make_unique<tClient>();
        pClient->m_pHost.reset(enet_host_create(nullptr, 1, 2, 0, 0));
        enet_host_compress_with_range_coder(pClient->m_pHost.get());
        pClient->m_pPeer = enet_host_connect(pClient->m_pHost.get(), &address, 2, 0);
        clients.push_back(std::move(pClient));
    }
    for (int spins = 0; spins < 20000; ++spins) {
        server.Pump();
        bool bAll = true;
        for (auto& c : clients) {
            c->Service();
            bAll &= c->m_bConnected;
        }
        if (bAll)
            break;
    }
    return clients;
}

void RunEcho(benchmark::State& state, IEchoServer& server) {
    CENetLibrary library;
    int count = static_cast<int>(state.range(0));
    auto clients = ConnectClients(server, count);
    Packet message(PACKET_CHAT);
    uint8_t body[BODY_BYTES] = {};
    message.Write(body, sizeof(body));
    for (auto _ : state) {
        for (auto& c : clients) {
            c->m_Received = 0;
            for (int i = 0; i < PACKETS_PER_CLIENT; ++i)
                enet_peer_send(c->m_pPeer, 0,
                               enet_packet_create(message.GetBytes(), message.GetSize(), ENET_PACKET_FLAG_RELIABLE));
            enet_host_flush(c->m_pHost.get());
        }
        bool bDone = false;
        while (!bDone) {
            server.Pump();
            bDone = true;
            for (auto& c : clients) {
                c->Service();
                bDone &= c->m_Received >= PACKETS_PER_CLIENT;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * count * PACKETS_PER_CLIENT);
}

void BM_RawENetEcho(benchmark::State& state) {
    CENetLibrary library;
    CRawServer server;
    RunEcho(state, server);
}

void BM_TransportEchoMainThread(benchmark::State& state) {
    CTransportServer server(false);
    RunEcho(state, server);
}

void BM_TransportEchoNetworkThread(benchmark::State& state) {
    CTransportServer server(true);
    RunEcho(state, server);
}

}  // namespace

BENCHMARK(BM_RawENetEcho)->Arg(1)->Arg(8)->Arg(32)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransportEchoMainThread)->Arg(1)->Arg(8)->Arg(32)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransportEchoNetworkThread)->Arg(1)->Arg(8)->Arg(32)->UseRealTime()->Unit(benchmark::kMillisecond);
