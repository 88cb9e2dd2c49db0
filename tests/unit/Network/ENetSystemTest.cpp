// The game port's transport against the headless test client over loopback, in both threading modes.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <vector>
#include "Engine/BinaryIO.h"
#include "Network/ENetSystem.h"
#include "Network/NetCompatibilityShim.h"
#include "TestClient.h"

using namespace Ferrox3D;
using TestClient::Bytes;
using TestClient::CTestClient;

namespace {

constexpr uint32_t WAIT_MS = 3000;

struct tDelivered {
    ENetPeer* m_pPeer;
    uint32_t m_Id;
    Bytes m_Body;
};

// Records what the transport delivers; a test can hook the packet handler to act from inside it.
class CRecordingSink : public CNetCompatibilityShim {
public:
    bool OnPlayerConnect(ENetPeer* pPeer) override {
        m_Connected.push_back(pPeer);
        return true;
    }
    void OnPlayerDisconnect(ENetPeer* pPeer, uint32_t reason) override { m_Disconnected.push_back({pPeer, reason}); }
    void ProcessPacket(const tPeerInfo& peer, uint32_t id, Stream* pStream) override {
        tDelivered d{peer.m_pPeer, id, {}};
        d.m_Body.resize(pStream->Remaining());
        pStream->Read(d.m_Body.data(), d.m_Body.size());
        m_Packets.push_back(d);
        if (m_OnPacket)
            m_OnPacket(peer.m_pPeer, id);
    }
    bool ReceiveDatagram(CNetSocket* pSocket) override {
        size_t length;
        const uint8_t* pData = pSocket->GetData(length);
        m_Datagrams.emplace_back(pData, pData + length);
        return true;
    }

    std::vector<ENetPeer*> m_Connected;
    std::vector<std::pair<ENetPeer*, uint32_t>> m_Disconnected;
    std::vector<tDelivered> m_Packets;
    std::vector<Bytes> m_Datagrams;
    std::function<void(ENetPeer*, uint32_t)> m_OnPacket;
};

class TransportTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        m_pServer = std::make_unique<CENetSystem>(&m_Sink, GetParam());
        ASSERT_TRUE(m_pServer->Listen("127.0.0.1", 0));
    }
    void TearDown() override { m_pServer->Shutdown(0, 0); }

    CTestClient& AddClient() {
        m_Clients.push_back(std::make_unique<CTestClient>());
        CTestClient& client = *m_Clients.back();
        EXPECT_TRUE(client.Open("127.0.0.1", m_pServer->GetPort()));
        EXPECT_TRUE(WaitFor([&] { return client.IsConnected(); }));
        return client;
    }

    void Pump() {
        m_pServer->Update();
        for (auto& client : m_Clients)
            client->Service(1);
    }

    bool WaitFor(const std::function<bool()>& condition) {
        return m_Clients.empty() ? false : m_Clients.front()->WaitFor(condition, WAIT_MS, [this] { Pump(); });
    }

    CRecordingSink m_Sink;
    std::unique_ptr<CENetSystem> m_pServer;
    std::vector<std::unique_ptr<CTestClient>> m_Clients;
};

}  // namespace

TEST_P(TransportTest, FramedPacketsReachTheSessionLayerAndBadOnesAreDropped) {
    CTestClient& client = AddClient();
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Connected.size() == 1; }));
    client.Send({0x02, 0x34, 0x57});                                      // shorter than a header
    client.Send({0x03, 0x34, 0x57, 0x4B, 0x06, 0x00, 0x00, 0x00});        // wrong magic
    client.Send({0x02, 0x34, 0x57, 0x4B, 0x06, 0x00, 0x00});              // id cut short
    client.Send(TestClient::BuildMessage(PACKET_CHAT, {0xAA, 0xBB}));
    ASSERT_TRUE(WaitFor([&] { return !m_Sink.m_Packets.empty(); }));
    ASSERT_EQ(m_Sink.m_Packets.size(), 1u);
    EXPECT_EQ(m_Sink.m_Packets[0].m_Id, PACKET_CHAT);
    EXPECT_EQ(m_Sink.m_Packets[0].m_Body, (Bytes{0xAA, 0xBB}));
}

// A handler that sends, pings and disconnects from inside packet handling must not deadlock.
TEST_P(TransportTest, HandlersMaySendPingAndDisconnect) {
    CTestClient& client = AddClient();
    m_Sink.m_OnPacket = [this](ENetPeer* pPeer, uint32_t id) {
        Packet reply(PACKET_SERVER_NAME);
        CBinaryWriter(&reply).WriteString("reply");
        m_pServer->SendPacket(pPeer, &reply, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0);
        EXPECT_NE(m_pServer->GetLastPing(pPeer), 0xFFFFFFFFu);
        CIPAddress address;
        std::string text;
        EXPECT_TRUE(m_pServer->GetIPAddress(pPeer, address) && address.ToString(text));
        EXPECT_EQ(text, "127.0.0.1");
        m_pServer->Disconnect(pPeer, 9);
    };
    client.Send(TestClient::BuildJoin());
    ASSERT_TRUE(WaitFor([&] { return client.WasDisconnected(); }));
    EXPECT_EQ(client.GetDisconnectData(), 9u);
    EXPECT_EQ(client.Mirror().m_ServerName, "reply");  // the reply left before the disconnect
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Disconnected.size() == 1; }));
    EXPECT_EQ(m_pServer->GetPeerCount(), 0u);
    EXPECT_EQ(m_pServer->GetLastPing(nullptr), 0xFFFFFFFFu);
}

TEST_P(TransportTest, BroadcastsReachOnlyAdmittedPeers) {
    CTestClient& admitted = AddClient();
    CTestClient& raw = AddClient();
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Connected.size() == 2; }));
    ENetPeer* pFirst = m_Sink.m_Connected[0];
    m_pServer->SetPeerAdmitted(pFirst, true);
    Packet packet(PACKET_GAME_MODE);
    CBinaryWriter(&packet).WriteString("mode");
    EXPECT_TRUE(m_pServer->SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0));
    EXPECT_TRUE(m_pServer->SendPacket(nullptr, &packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE | PACKET_FLAG_BROADCAST, 0));
    ASSERT_TRUE(WaitFor([&] { return admitted.CountReceived(PACKET_GAME_MODE) == 2; }));
    for (int i = 0; i < 20; ++i)
        Pump();
    EXPECT_EQ(raw.CountReceived(PACKET_GAME_MODE), 0u);
}

TEST_P(TransportTest, RawDatagramsStartingWithFFFFBypassENet) {
    CTestClient& client = AddClient();
    client.SendDatagram({0xFF, 0xFF});
    client.SendDatagram({0xFF});
    client.SendDatagram({0xFF, 0xFF, 'q', 'u', 'e', 'r', 'y'});
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Datagrams.size() == 2; }));
    EXPECT_EQ(m_Sink.m_Datagrams[0], (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(m_Sink.m_Datagrams[1].size(), 7u);
    client.Send(TestClient::BuildJoin());  // the connection survives the garbage
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Packets.size() == 1; }));
}

TEST_P(TransportTest, PeersThatNeverFinishTheHandshakeAreDropped) {
    m_pServer->SetHandshakeTimeout(100);
    CTestClient& silent = AddClient();
    ASSERT_TRUE(WaitFor([&] { return silent.WasDisconnected(); }));
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Disconnected.size() == 1; }));
}

TEST_P(TransportTest, ShutdownFlushesQueuedPacketsAndSaysGoodbye) {
    CTestClient& client = AddClient();
    ASSERT_TRUE(WaitFor([&] { return m_Sink.m_Connected.size() == 1; }));
    Packet packet(PACKET_SERVER_NAME);
    CBinaryWriter(&packet).WriteString("last words");
    m_pServer->SendPacket(m_Sink.m_Connected[0], &packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0);
    std::thread server([this] { m_pServer->Shutdown(0, 2000); });
    client.WaitFor([&] { return client.WasDisconnected(); }, WAIT_MS);
    server.join();
    EXPECT_TRUE(client.WasDisconnected());
    EXPECT_EQ(client.Mirror().m_ServerName, "last words");
}

INSTANTIATE_TEST_SUITE_P(ThreadingModes, TransportTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "NetworkThread" : "MainThread"; });

TEST(TransportThread, StartsWithTheFirstPeerAndStopsWithTheLast) {
    CRecordingSink sink;
    CENetSystem server(&sink, true);
    ASSERT_TRUE(server.Listen("127.0.0.1", 0));
    auto pump = [&](CTestClient& c) { return [&] { server.Update(); c.Service(1); }; };
    for (int round = 0; round < 2; ++round) {
        server.Update();
        EXPECT_FALSE(server.IsNetworkThreadRunning());
        CTestClient client;
        ASSERT_TRUE(client.Open("127.0.0.1", server.GetPort()));
        ASSERT_TRUE(client.WaitFor([&] { return server.IsNetworkThreadRunning(); }, WAIT_MS, pump(client)));
        client.DisconnectTransport(0);
        ASSERT_TRUE(client.WaitFor([&] { return !server.IsNetworkThreadRunning(); }, WAIT_MS, pump(client)));
    }
    EXPECT_EQ(sink.m_Disconnected.size(), 2u);
}

TEST(TransportBroadcast, WithNoPeerSendsNothing) {
    CRecordingSink sink;
    CENetSystem server(&sink, false);
    Packet packet(PACKET_CHAT);
    EXPECT_FALSE(server.SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0));  // no host yet
    ASSERT_TRUE(server.Listen("127.0.0.1", 0));
    EXPECT_TRUE(server.SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, 0));
}
