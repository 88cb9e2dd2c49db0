// Players connecting to the real server: each refusal with its code and log line, slots, join and leave.
#include <gtest/gtest.h>
#include <functional>
#include "PlayerSession.h"

using namespace KestroTest;
using TestClient::CTestClient;
using TestClient::tConnectRequest;

namespace {

class HandshakeTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        m_Server.m_Request.m_Version[1] = 2;
        ASSERT_TRUE(m_Server.Start("<maxplayers>2</maxplayers><minclientversion>1.2.0.0</minclientversion>"
                                   "<servername>Test Server</servername><gamemode>Testing</gamemode>",
                                   GetParam()))
            << m_Server.m_Process.Output();
    }
    CGameServer m_Server;
};

struct tRefusal {
    const char* m_Case;
    std::function<void(tConnectRequest&)> m_Change;
    uint32_t m_Code;
    const char* m_Line;
};

}  // namespace

TEST_P(HandshakeTest, RefusalsCarryTheirCodeAndLogLine) {
    auto bob = m_Server.Player("Bob");
    ASSERT_EQ(bob->GetIndex(), 0);
    const tRefusal refusals[] = {
        {"protocol", [](tConnectRequest& r) { r.m_Protocol = 28; }, 2,
         "CONNECT: 127.0.0.1 (28) revoked connection [UNSUPPORTED CLIENT]"},
        {"old client", [](tConnectRequest& r) { r.m_Version[1] = 1; r.m_Version[2] = 9; r.m_Version[3] = 9; }, 2,
         "CONNECT: 127.0.0.1 revoked connection [UNSUPPORTED CLIENT]"},
        {"empty nickname", [](tConnectRequest& r) { r.m_Nickname = ""; }, 9,
         "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"long nickname", [](tConnectRequest& r) { r.m_Nickname = std::string(32, 'x'); }, 9,
         "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"zero first byte", [](tConnectRequest& r) { r.m_Nickname = std::string("\0ab", 3); }, 9,
         "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"control character", [](tConnectRequest& r) { r.m_Nickname = "a\nb"; }, 9,
         "CONNECT: 127.0.0.1 revoked connection [INVALID NICKNAME]"},
        {"game", [](tConnectRequest& r) { r.m_Nickname = "Gamer"; r.m_Game = 2; }, 3,
         "CONNECT: Gamer revoked connection [WRONG GAME]"},
        {"console", [](tConnectRequest& r) { r.m_Nickname = "cOnSoLe"; }, 12,
         "CONNECT: cOnSoLe revoked connection [NICKNAME IN USE]"},
        {"name in use", [](tConnectRequest& r) { r.m_Nickname = "bob"; }, 12,
         "CONNECT: bob revoked connection [NICKNAME IN USE]"},
    };
    for (const tRefusal& refusal : refusals) {
        tConnectRequest request;
        request.m_Version[1] = 2;
        refusal.m_Change(request);
        auto client = m_Server.Open();
        EXPECT_FALSE(client->Handshake(request, CLIENT_WAIT_MS, [&] { ServiceAll({client.get(), bob.get()}); }))
            << refusal.m_Case;
        EXPECT_TRUE(client->WasDisconnected()) << refusal.m_Case;
        EXPECT_EQ(client->GetDisconnectData(), refusal.m_Code) << refusal.m_Case;
        EXPECT_TRUE(m_Server.m_Process.WaitForLine(refusal.m_Line, 2s)) << refusal.m_Case;
        EXPECT_EQ(client->CountReceived(PACKET_CLIENT_LIST), 0u) << refusal.m_Case;
    }
    // Accepted versions at and above the minimum; then the limit of two players is reached.
    tConnectRequest exact;
    exact.m_Nickname = "Alice";
    exact.m_Version[1] = 2;
    auto alice = m_Server.Open();
    ASSERT_TRUE(alice->Handshake(exact, CLIENT_WAIT_MS, [&] { ServiceAll({alice.get(), bob.get()}); }));
    tConnectRequest full;
    full.m_Nickname = "Carol";
    full.m_Version[0] = 2;
    auto carol = m_Server.Open();
    EXPECT_FALSE(carol->Handshake(full, CLIENT_WAIT_MS, [&] { ServiceAll({carol.get(), alice.get(), bob.get()}); }));
    EXPECT_EQ(carol->GetDisconnectData(), 1u);
    EXPECT_TRUE(m_Server.m_Process.WaitForLine("CONNECT: Carol revoked connection [SERVER FULL]", 2s));
    // None of the refused peers was ever announced to Bob.
    bob->WaitFor([&] { return bob->Mirror().m_Clients.count(1) > 0; }, CLIENT_WAIT_MS);
    EXPECT_EQ(bob->CountReceived(PACKET_CLIENTS_ADDED), 1u);
    EXPECT_EQ(bob->Mirror().m_Clients[1].m_Name, "Alice");
}

TEST_P(HandshakeTest, AcceptedClientGetsSettingsListAndJoins) {
    auto bob = m_Server.Player("Bob", false);
    EXPECT_TRUE(m_Server.m_Process.WaitForLine("CONNECT: 127.0.0.1 is attempting to connect", 2s));
    const auto& mirror = bob->Mirror();
    EXPECT_EQ(mirror.m_Accepted.m_Index, 0);
    EXPECT_EQ(mirror.m_Accepted.m_SyncInterval, 30);
    EXPECT_EQ(mirror.m_Accepted.m_SyncMethod, 1);
    EXPECT_EQ(mirror.m_GameMode, "Testing");
    EXPECT_EQ(mirror.m_ServerName, "Test Server");
    EXPECT_EQ(mirror.m_PlayerLimit, 2);
    ASSERT_EQ(mirror.m_Clients.size(), 2u);  // itself and the console
    EXPECT_EQ(bob->Mirror().m_Clients[255].m_Name, "Console");
    EXPECT_EQ(bob->Mirror().m_Clients[255].m_Flags, 3);
    EXPECT_EQ(bob->Mirror().m_Clients[0].m_Name, "Bob");
    // The order of the welcome: variables, acceptance, game mode, server name, client list.
    std::vector<uint32_t> ids;
    for (const auto& r : bob->GetReceived())
        ids.push_back(r.m_Id);
    EXPECT_EQ(ids, (std::vector<uint32_t>{PACKET_CVARS, PACKET_CONNECT_ACCEPTED, PACKET_GAME_MODE,
                                          PACKET_SERVER_NAME, PACKET_CLIENT_LIST}));
    bob->SendJoin();
    bob->SendJoin();  // a repeated join is ignored
    ASSERT_TRUE(bob->WaitForMessage(PACKET_JOIN_COMPLETE, CLIENT_WAIT_MS));
    bob->WaitFor([] { return false; }, 300);
    EXPECT_EQ(bob->CountReceived(PACKET_JOIN_COMPLETE), 1u);
    EXPECT_EQ(mirror.m_LocalPlayer, -1);
    EXPECT_EQ(bob->GetMalformedCount(), 0u);
}

TEST_P(HandshakeTest, LeavingFreesTheSlotAndTellsTheOthers) {
    auto bob = m_Server.Player("Bob");
    struct tLeave {
        const char* m_Case;
        std::function<void(CTestClient&)> m_Leave;
    };
    const uint32_t reason = 6;
    const tLeave leaves[] = {
        {"disconnect message", [](CTestClient& c) { c.SendDisconnectMessage(); }},
        {"disconnect message with reason", [&](CTestClient& c) { c.SendDisconnectMessage(&reason); }},
        {"ENet disconnect", [](CTestClient& c) { c.DisconnectTransport(0); }},
        {"ENet disconnect with data 12", [](CTestClient& c) { c.DisconnectTransport(12); }},
    };
    for (const tLeave& leave : leaves) {
        auto alice = m_Server.Player("Alice");
        EXPECT_EQ(alice->GetIndex(), 1) << leave.m_Case;  // the slot of the last Alice again
        ASSERT_TRUE(bob->WaitFor([&] { return bob->Mirror().m_Clients.count(1) > 0; }, CLIENT_WAIT_MS,
                                 [&] { ServiceAll({bob.get(), alice.get()}); }));
        leave.m_Leave(*alice);
        EXPECT_TRUE(bob->WaitFor([&] { return bob->Mirror().m_Clients.count(1) == 0; }, CLIENT_WAIT_MS,
                                 [&] { ServiceAll({bob.get(), alice.get()}); }))
            << leave.m_Case;
    }
}

TEST_P(HandshakeTest, HundredConnectLeaveCyclesLeakNoSlot) {
    for (int cycle = 0; cycle < 100; ++cycle) {
        auto client = m_Server.Player("Cycler", false);
        ASSERT_EQ(client->GetIndex(), 0) << cycle;
        if (cycle % 2)
            client->SendDisconnectMessage();
        else
            client->DisconnectTransport(12);
        client->WaitForDisconnect(CLIENT_WAIT_MS);
    }
    auto a = m_Server.Player("A", false);
    auto b = m_Server.Player("B", false);
    EXPECT_EQ(a->GetIndex(), 0);
    EXPECT_EQ(b->GetIndex(), 1);
}

TEST_P(HandshakeTest, ShutdownTellsConnectedClients) {
    auto bob = m_Server.Player("Bob");
    auto silent = m_Server.Open();  // still in the handshake
    ASSERT_TRUE(m_Server.m_Process.Interrupt());
    EXPECT_TRUE(bob->WaitForDisconnect(CLIENT_WAIT_MS, [&] { ServiceAll({bob.get(), silent.get()}); }));
    EXPECT_TRUE(silent->WaitForDisconnect(CLIENT_WAIT_MS, [&] { ServiceAll({bob.get(), silent.get()}); }))
        << silent->IsConnected() << " " << m_Server.m_Process.Output();
    EXPECT_EQ(bob->GetDisconnectData(), 0u);
    EXPECT_EQ(m_Server.m_Process.WaitForExit(), 0) << m_Server.m_Process.Output();
}

INSTANTIATE_TEST_SUITE_P(ThreadingModes, HandshakeTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "NetworkThread" : "MainThread"; });
