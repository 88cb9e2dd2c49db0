// Hostile peers against the real server: the server keeps running and loses no other client.
#include <gtest/gtest.h>
#include <functional>
#include <random>
#include "PlayerSession.h"

using namespace KestroTest;
using TestClient::Bytes;
using TestClient::CTestClient;

namespace {

class HostileClientTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { ASSERT_TRUE(m_Server.Start("", GetParam())) << m_Server.m_Process.Output(); }

    // Bob is still there and still hears about newcomers.
    void ExpectBobUnharmed(CTestClient& bob, const std::string& newcomer) {
        auto pNew = m_Server.Player(newcomer, false);
        EXPECT_TRUE(bob.WaitFor([&] { return bob.Mirror().m_Clients.count(pNew->GetIndex()) > 0; }, CLIENT_WAIT_MS,
                                [&] { ServiceAll({&bob, pNew.get()}); }))
            << m_Server.m_Process.Output();
        EXPECT_FALSE(bob.WasDisconnected());
        EXPECT_TRUE(m_Server.m_Process.IsRunning());
    }

    CGameServer m_Server;
};

Bytes Cut(Bytes payload, size_t size) {
    payload.resize(size);
    return payload;
}

struct tTruncated {
    const char* m_Case;
    size_t m_Size;  // header included
    uint32_t m_Code;
    const char* m_Line;
};

}  // namespace

// Body of the connect message "Eve", password "pw": protocol 4, version 16, password 3, nickname 2 + 3, game 1.
TEST_P(HostileClientTest, TruncatedConnectMessagesAreRefusedWithTheFieldTheyLack) {
    auto bob = m_Server.Player("Bob");
    TestClient::tConnectRequest request;
    request.m_Password = "pw";
    request.m_Nickname = "Eve";
    Bytes full = TestClient::BuildConnect(request);
    const tTruncated cases[] = {
        {"header only", 8, 2, "CONNECT: 127.0.0.1 (0) revoked connection [UNSUPPORTED CLIENT]"},
        {"inside protocol", 10, 2, "CONNECT: 127.0.0.1 (0) revoked connection [UNSUPPORTED CLIENT]"},
        {"inside version", 20, 2, "CONNECT: 127.0.0.1 revoked connection [UNSUPPORTED CLIENT]"},
        {"inside password", 30, 4, "CONNECT: 127.0.0.1 revoked connection [WRONG PASSWORD]"},
        {"inside nickname length", 32, 9, "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"inside nickname", 35, 9, "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"without game", 36, 3, "CONNECT: Eve revoked connection [WRONG GAME]"},
    };
    ASSERT_EQ(full.size(), 37u);
    for (const tTruncated& c : cases) {
        auto client = m_Server.Open();
        client->Send(Cut(full, c.m_Size));
        EXPECT_TRUE(client->WaitForDisconnect(CLIENT_WAIT_MS, [&] { ServiceAll({client.get(), bob.get()}); }))
            << c.m_Case;
        EXPECT_EQ(client->GetDisconnectData(), c.m_Code) << c.m_Case;
        EXPECT_TRUE(m_Server.m_Process.WaitForLine(c.m_Line, 2s)) << c.m_Case;
    }
    ExpectBobUnharmed(*bob, "Newcomer");
}

TEST_P(HostileClientTest, GarbageIsDroppedAndTheConnectionLives) {
    auto bob = m_Server.Player("Bob");
    auto mallory = m_Server.Open();
    std::mt19937 random(7);
    std::vector<Bytes> garbage = {
        {}, {0x02}, {0x02, 0x34, 0x57, 0x4B}, {0x03, 0x34, 0x57, 0x4B, 0x01, 0, 0, 0},   // short, bad magic
        TestClient::BuildMessage(999), TestClient::BuildMessage(0),                     // unknown ids
        TestClient::BuildJoin(), TestClient::BuildChat("before the handshake"),          // ignored without a record
        TestClient::BuildMessage(PACKET_CONNECT, Bytes(200000, 0xEE)),                 // oversized nonsense
    };
    for (int i = 0; i < 20; ++i) {
        Bytes noise(random() % 512);
        for (auto& b : noise)
            b = static_cast<uint8_t>(random());
        garbage.push_back(noise);
    }
    for (const Bytes& payload : garbage)
        mallory->Send(payload);
    mallory->Send(Bytes(2 * 1024 * 1024, 0x42));  // beyond the largest message the server accepts
    mallory->SendDatagram({0xFF, 0xFF});
    mallory->SendDatagram({0xFF, 0xFF, 0x00, 0x01});
    mallory->SendDatagram({0x13, 0x37, 0x00});
    ExpectBobUnharmed(*bob, "Newcomer");
    EXPECT_EQ(bob->Mirror().m_Clients.size(), 3u);  // console, Bob, the newcomer: Mallory never counted
}

TEST_P(HostileClientTest, RepeatedConnectAndAbandonedPeers) {
    auto bob = m_Server.Player("Bob");
    TestClient::tConnectRequest again;
    again.m_Nickname = "Other";
    bob->SendConnect(again);  // a second connect message from a client with a record is ignored
    for (int i = 0; i < 5; ++i) {
        auto ghost = m_Server.Player("Ghost" + std::to_string(i), false);
        ghost->Abandon();  // gone without a word; ENet times it out later
    }
    ExpectBobUnharmed(*bob, "Newcomer");
    EXPECT_EQ(bob->Mirror().m_Clients[0].m_Name, "Bob");
}

TEST_P(HostileClientTest, PeersThatNeverSendTheConnectMessageAreDropped) {
    auto bob = m_Server.Player("Bob");
    auto silent = m_Server.Open();
    EXPECT_TRUE(silent->WaitForDisconnect(20000, [&] { ServiceAll({silent.get(), bob.get()}); }));
    EXPECT_FALSE(bob->WasDisconnected());
}

INSTANTIATE_TEST_SUITE_P(ThreadingModes, HostileClientTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "NetworkThread" : "MainThread"; });
