// Players reaching script handlers over the network: commands, network events, key binds, script messages.
// Until resources can load scripts into the binary, the server object runs in this process; handlers are
// registered through the script API as a binding would, and the test clients talk to it over ENet.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "../unit/Session/ScriptCallUtil.h"
#include "Engine/ArgumentMap.h"
#include "Multiplayer/NetMachine.h"
#include "PlayerSession.h"
#include "Scripting/EventHandlers.h"
#include "Server/ServerScripting.h"
#include "Server/ServerSession.h"
#include "Server/UrboServer.h"

using namespace KestroTest;
using namespace SessionTest;
using TestClient::Bytes;
using TestClient::CTestClient;

namespace {

class ScriptedSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server.m_usPort = PickFreePort();
        m_Server.m_BindIP = "127.0.0.1";
        ASSERT_TRUE(m_Server.ResolveBindAddress() && m_Server.CreateNetworkHost());
        m_Server.CreateConsoleClient();
        m_Server.InitialiseFrameTimer();
        m_Server.GetScripting().SetEventHandlers(&m_Events);
    }

    std::unique_ptr<CTestClient> Player(const std::string& name) {
        auto pClient = std::make_unique<CTestClient>();
        m_Clients.push_back(pClient.get());
        EXPECT_TRUE(pClient->Open("127.0.0.1", m_Server.m_usPort));
        EXPECT_TRUE(pClient->WaitFor([&] { return pClient->IsConnected(); }, CLIENT_WAIT_MS, [&] { Pump(); }));
        TestClient::tConnectRequest request;
        request.m_Nickname = name;
        EXPECT_TRUE(pClient->Handshake(request, CLIENT_WAIT_MS, [&] { Pump(); }));
        pClient->SendJoin();
        EXPECT_TRUE(pClient->WaitForMessage(PACKET_JOIN_COMPLETE, CLIENT_WAIT_MS, [&] { Pump(); }));
        return pClient;
    }

    // One server pass and a little servicing of every client.
    void Pump() {
        m_Server.RunPass();
        for (CTestClient* pClient : m_Clients)
            pClient->Service(1);
    }
    bool WaitUntil(const std::function<bool()>& condition) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CLIENT_WAIT_MS);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Pump();
        }
        return true;
    }

    tCall Call(const char* name, CArgumentArray& arguments) {
        return CallGlobal(m_Server.GetScripting().GetScripting(), FakeResource(1), name, arguments);
    }

    CEventHandlers m_Events;
    CUrboServer m_Server;
    std::vector<CTestClient*> m_Clients;
};

// The body of a network event as the client writes it.
Bytes NetworkEventBody(const std::string& name, const CArgumentArray& arguments) {
    Packet packet(PACKET_NETWORK_EVENT);
    EXPECT_TRUE(CBinaryWriter(&packet).WriteString(name) && arguments.Write(&packet));
    return Bytes(packet.GetBytes() + PACKET_HEADER_SIZE, packet.GetBytes() + packet.GetSize());
}

// One value of every kind that can go over the network.
Strong<CArgumentArray> EveryStorableKind() {
    auto pValues = Strong<CArgumentArray>::Adopt(new CArgumentArray);
    pValues->AddNull();
    pValues->AddUndefined();
    pValues->AddBoolean(true);
    pValues->AddString("text with \xc3\xa9");
    pValues->AddNumber(int32_t(-7));
    pValues->AddNumber(int64_t(1) << 40);
    pValues->AddNumber(1.5f);
    pValues->AddNumber(0.1);
    pValues->AddVector2D(CVector2D(1, 2));
    pValues->AddVector3D(CVector3D(3, 4, 5));
    CMatrix4x4 matrix;
    pValues->AddMatrix4x4(matrix);
    pValues->AddBytes("\x00\x01\xff", 3);
    auto* pArray = new CArgumentArray;
    pArray->AddNumber(int32_t(1));
    auto* pNested = new CArgumentArray;
    pNested->AddString("deep");
    pArray->AddAndOwn(pNested);
    pValues->AddAndOwn(pArray);
    auto* pMap = new CArgumentMap;
    pMap->Set("key", new CArgumentString("value", 5));
    pValues->AddAndOwn(pMap);
    return pValues;
}

}  // namespace

TEST_F(ScriptedSessionTest, CommandReachesItsHandlerWithTheClient) {
    auto alice = Player("Alice");
    m_Server.GetScripting().GetCommands().SetPassClient(true);
    std::vector<std::string> runs;
    CArgumentArray add;
    add.AddString("Greet");
    add.AddFunction(MakeFunction([&](CArgumentArray* pArgs) {
        auto* pClient = dynamic_cast<CNetMachine*>(pArgs->GetAt(2)->ToObject());
        runs.push_back(std::string(pArgs->GetAt(0)->ToString()) + "|" + pArgs->GetAt(1)->ToString() + "|" +
                       (pClient ? pClient->GetName() : "?"));
    }));
    ASSERT_TRUE(ResultIsTrue(Call("addCommandHandler", add)));
    int commandEvents = 0;
    m_Events.GetEventType("OnPlayerCommand")->AddHandler(nullptr, MakeFunction([&](CArgumentArray*) { ++commandEvents; }));

    alice->SendCommand("GREET", "a b");
    alice->SendCommand("greet", std::string(255, 'p'));
    alice->SendCommand("greet", std::string(256, 'q'));  // raised as an event, never run
    alice->SendCommand("unknown", "x");
    ASSERT_TRUE(WaitUntil([&] { return commandEvents == 4; }));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], "GREET|a b|Alice");
    EXPECT_EQ(runs[1], "greet|" + std::string(255, 'p') + "|Alice");
}

TEST_F(ScriptedSessionTest, PreventedChatIsNeitherLoggedNorSent) {
    auto alice = Player("Alice");
    m_Events.GetEventType("OnPlayerChat")->AddHandler(nullptr, MakeFunction([](CArgumentArray* pArgs) {
        if (std::string(pArgs->GetAt(2)->ToString()) == "secret")
            static_cast<CCancellableEvent*>(pArgs->GetAt(0)->ToObject())->PreventDefault();
    }));
    alice->SendChat("secret");
    alice->SendChat("public");
    ASSERT_TRUE(WaitUntil([&] { return !alice->Mirror().m_Chat.empty(); }));
    for (int i = 0; i < 20; ++i)
        Pump();
    ASSERT_EQ(alice->Mirror().m_Chat.size(), 1u);
    EXPECT_EQ(alice->Mirror().m_Chat[0].m_Text, "Alice: public");
}

TEST_F(ScriptedSessionTest, NetworkEventsRoundTripEveryStorableKind) {
    auto alice = Player("Alice");
    CArgumentArray add;
    add.AddString("Echo");
    add.AddFunction(MakeFunction([&](CArgumentArray* pArgs) {
        CArgumentArray back;  // "echo", the sending client, then every value it sent
        back.AddString("echo");
        for (CArgument* pValue : *pArgs)
            back.Add(pValue);
        EXPECT_TRUE(ResultIsTrue(Call("triggerNetworkEvent", back)));
    }));
    ASSERT_TRUE(ResultIsTrue(Call("addNetworkHandler", add)));
    Strong<CArgumentArray> pValues = EveryStorableKind();
    alice->Send(TestClient::BuildMessage(PACKET_NETWORK_EVENT, NetworkEventBody("ECHO", *pValues)));
    ASSERT_TRUE(WaitUntil([&] { return alice->CountReceived(PACKET_NETWORK_EVENT) > 0; }));

    const TestClient::tReceived* pEcho = nullptr;
    for (const auto& received : alice->GetReceived())
        if (received.m_Id == PACKET_NETWORK_EVENT)
            pEcho = &received;
    ASSERT_NE(pEcho, nullptr);
    Bytes expected = NetworkEventBody("echo", *pValues);
    Bytes got(pEcho->m_Payload.begin() + PACKET_HEADER_SIZE, pEcho->m_Payload.end());
    EXPECT_EQ(got, expected);

    CArgumentArray remove;
    remove.AddString("echo");
    EXPECT_TRUE(ResultIsTrue(Call("removeNetworkHandler", remove)));
    EXPECT_FALSE(ResultIsTrue(Call("removeNetworkHandler", remove)));
}

TEST_F(ScriptedSessionTest, KeyBindsFireOnDownAndUp) {
    auto alice = Player("Alice");
    std::vector<std::string> fired;
    for (int32_t state : {0, 1}) {
        CArgumentArray bind;
        bind.AddNumber(int32_t(70));
        bind.AddNumber(state);
        bind.AddFunction(MakeFunction([&fired, state](CArgumentArray*) { fired.push_back(state ? "down" : "up"); }));
        ASSERT_TRUE(ResultIsTrue(Call("bindKey", bind)));
    }
    auto key = [](bool bDown, int32_t repeat) {
        CUnlimitedStream body;
        CBinaryWriter writer(&body);
        writer.WriteUInt8(bDown ? 1 : 0);
        writer.WriteUInt32(33);
        writer.WriteUInt32(70);
        writer.WriteUInt16(0);
        writer.WriteInt32(repeat);
        return TestClient::BuildMessage(PACKET_KEY_EVENT, Bytes(body.GetData(), body.GetData() + body.GetLength()));
    };
    alice->Send(key(true, 0));
    alice->Send(key(true, 1));  // a repeat: these binds do not take repeats
    alice->Send(key(false, 0));
    ASSERT_TRUE(WaitUntil([&] { return fired.size() >= 2; }));
    for (int i = 0; i < 10; ++i)
        Pump();
    EXPECT_EQ(fired, (std::vector<std::string>{"down", "up"}));
}

TEST_F(ScriptedSessionTest, ScriptMessagesCarryTheirColour) {
    auto alice = Player("Alice");
    auto bob = Player("Bob");
    CNetMachine* pAlice = m_Server.GetSession().GetMachines().Get(alice->GetIndex());
    ASSERT_NE(pAlice, nullptr);
    CArgumentArray toAll;
    toAll.AddString("to all");
    EXPECT_TRUE(Call("message", toAll).m_bOk);
    CArgumentArray toAlice;
    toAlice.AddString("to alice");
    toAlice.AddObject(pAlice);
    toAlice.AddNumber(uint32_t(0xFF112233));
    EXPECT_TRUE(Call("messageClient", toAlice).m_bOk);
    CArgumentArray notAlice;
    notAlice.AddString("not alice");
    notAlice.AddObject(pAlice);
    EXPECT_TRUE(Call("messageAllExcept", notAlice).m_bOk);
    CArgumentArray missingClient;
    missingClient.AddString("nobody");
    EXPECT_FALSE(Call("messageClient", missingClient).m_bOk);

    ASSERT_TRUE(WaitUntil([&] { return alice->Mirror().m_Chat.size() >= 2 && bob->Mirror().m_Chat.size() >= 2; }));
    const auto& a = alice->Mirror().m_Chat;
    const auto& b = bob->Mirror().m_Chat;
    EXPECT_EQ(a[0].m_Text, "to all");
    EXPECT_EQ(a[0].m_Colour, CHAT_COLOUR_SCRIPT);
    EXPECT_EQ(a[1].m_Text, "to alice");
    EXPECT_EQ(a[1].m_Colour, 0xFF112233u);
    EXPECT_EQ(b[1].m_Text, "not alice");
    for (int i = 0; i < 10; ++i)
        Pump();
    EXPECT_EQ(a.size(), 2u);
}
