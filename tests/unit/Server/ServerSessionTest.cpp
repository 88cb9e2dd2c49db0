// The session layer in-process: ban and password refusals, game-layer hooks that kick, record lifetimes.
#include <gtest/gtest.h>
#include <crypt.h>
#include <functional>
#include <memory>
#include "../Scripting/LogCapture.h"
#include "Engine/ArgumentArray.h"
#include "Scripting/EventHandlers.h"
#include "Server/BaseServer.h"
#include "Server/ServerSession.h"
#include "TestClient.h"

using TestClient::CTestClient;
using TestClient::tConnectRequest;

namespace {

constexpr uint32_t WAIT_MS = 3000;

class CHookedServer : public CBaseServer {
public:
    void OnPlayerJoin(CNetMachine* pClient) override {
        if (m_OnJoin)
            m_OnJoin(pClient);
    }
    std::function<void(CNetMachine*)> m_OnJoin;
};

std::string MakeRecord(const char* password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    crypt_gensalt_rn("$2a$", 4, nullptr, 0, salt, sizeof(salt));
    crypt_data data{};
    return std::string("b") + crypt_rn(password, salt, &data, sizeof(data));
}

class ServerSessionTest : public ::testing::Test {
protected:
    void Open() {
        m_Server.m_BindIP = "127.0.0.1";
        m_Server.m_usPort = 0;
        ASSERT_TRUE(m_Server.CreateNetworkHost());
        m_Server.CreateConsoleClient();
    }
    CServerSession& Session() { return m_Server.GetSession(); }

    std::unique_ptr<CTestClient> Connect() {
        auto pClient = std::make_unique<CTestClient>();
        EXPECT_TRUE(pClient->Open("127.0.0.1", Session().GetNetSystem()->GetPort()));
        EXPECT_TRUE(pClient->WaitFor([&] { return pClient->IsConnected(); }, WAIT_MS, Pump(*pClient)));
        return pClient;
    }
    std::function<void()> Pump(CTestClient& client) {
        return [this, &client] {
            Session().Update();
            client.Service(1);
        };
    }
    // Runs the handshake; true when accepted.
    bool Handshake(CTestClient& client, const tConnectRequest& request) {
        return client.Handshake(request, WAIT_MS, Pump(client));
    }

    LogCapture m_Log;
    CHookedServer m_Server;
};

}  // namespace

TEST_F(ServerSessionTest, BannedAddressIsRefusedBeforeAnythingIsRead) {
    Open();
    Session().GetBanList().Ban("127.0.0.1", 0);
    auto client = Connect();
    client->Send(TestClient::BuildMessage(PACKET_CONNECT));  // an empty body would be an unsupported client
    ASSERT_TRUE(client->WaitForDisconnect(WAIT_MS, Pump(*client)));
    EXPECT_EQ(client->GetDisconnectData(), 7u);
    EXPECT_TRUE(m_Log.Contains("CONNECT: 127.0.0.1 revoked connection [BANNED]"));
    EXPECT_FALSE(m_Log.Contains("UNSUPPORTED CLIENT"));

    Session().GetBanList().Unban("127.0.0.1");
    auto again = Connect();
    EXPECT_TRUE(Handshake(*again, tConnectRequest()));
}

TEST_F(ServerSessionTest, PasswordIsCheckedAgainstTheRecord) {
    m_Server.m_Password = MakeRecord("secret");
    Open();
    struct Case { const char* m_Password; bool m_bAccepted; };
    const Case cases[] = {{"wrong", false}, {"", false}, {"Secret", false}, {"secret", true}};
    for (const Case& c : cases) {
        auto client = Connect();
        tConnectRequest request;
        request.m_Password = c.m_Password;
        request.m_Nickname = std::string("P") + c.m_Password;
        EXPECT_EQ(Handshake(*client, request), c.m_bAccepted) << c.m_Password;
        if (!c.m_bAccepted)
            EXPECT_EQ(client->GetDisconnectData(), 4u) << c.m_Password;
    }
    EXPECT_TRUE(m_Log.Contains("CONNECT: 127.0.0.1 revoked connection [WRONG PASSWORD]"));
}

TEST_F(ServerSessionTest, DuplicateNamesWhenAllowed) {
    m_Server.m_bDuplicateNames = true;
    Open();
    tConnectRequest request;
    request.m_Nickname = "Console";
    auto first = Connect();
    auto second = Connect();
    EXPECT_TRUE(Handshake(*first, request));
    EXPECT_TRUE(Handshake(*second, request));
    EXPECT_EQ(Session().GetPlayerCount(), 2u);
}

// A game layer that sends the client away while it is being admitted: no welcome, no leak.
TEST_F(ServerSessionTest, KickDuringJoinHookLeavesNothingBehind) {
    m_Server.m_OnJoin = [this](CNetMachine* pClient) { Session().DisconnectClient(pClient, 13); };
    Open();
    auto client = Connect();
    EXPECT_FALSE(Handshake(*client, tConnectRequest()));
    EXPECT_EQ(client->GetDisconnectData(), 13u);
    EXPECT_EQ(client->CountReceived(PACKET_CONNECT_ACCEPTED), 0u);
    EXPECT_EQ(Session().GetPlayerCount(), 0u);
    EXPECT_EQ(Session().GetMachines().GetOccupiedCount(), 1u);  // the console only
}

// Whatever data the ENet disconnect carries, the record goes; a peer reused later starts clean.
TEST_F(ServerSessionTest, NoRecordOutlivesItsConnection) {
    Open();
    for (uint32_t data : {0u, 6u, 12u, 0xFFFFFFFFu}) {
        auto client = Connect();
        ASSERT_TRUE(Handshake(*client, tConnectRequest())) << data;
        client->DisconnectTransport(data);
        ASSERT_TRUE(client->WaitFor([&] { return Session().GetPlayerCount() == 0; }, WAIT_MS, Pump(*client))) << data;
        EXPECT_EQ(Session().GetMachines().GetOccupiedCount(), 1u) << data;
    }
    auto reused = Connect();
    reused->SendJoin();  // only a record could make this count
    reused->WaitFor([] { return false; }, 200, Pump(*reused));
    EXPECT_EQ(reused->CountReceived(PACKET_JOIN_COMPLETE), 0u);
    EXPECT_EQ(Session().GetMachines().GetOccupiedCount(), 1u);
}

namespace {
// An engine handler that notes each event it sees as "Name:argument,argument".
class CRecordingHandler : public Ferrox3D::CEventHandler {
public:
    CRecordingHandler(std::vector<std::string>& log, std::function<void(Ferrox3D::CEvent*)> act = nullptr)
        : CEventHandler(nullptr, nullptr), m_Log(log), m_Act(std::move(act)) {}
    void Execute(Ferrox3D::CEvent* pEvent, const char* name, Ferrox3D::CArgumentArray* pArguments) override {
        std::string line = std::string(name) + ":";
        for (size_t i = 0; pArguments && i < pArguments->GetArrayCount(); ++i) {
            Ferrox3D::CArgument* pValue = pArguments->GetAt(i);
            int32_t number = 0;
            if (pValue->IsString())
                line += pValue->ToString();
            else if (pValue->IsNumber()) {
                pValue->ToNumber(number);
                line += std::to_string(number);
            }
            else if (auto* pClient = dynamic_cast<CNetMachine*>(pValue->ToObject()))
                line += pClient->GetName();
            line += ",";
        }
        m_Log.push_back(line);
        if (m_Act)
            m_Act(pEvent);
    }
    std::vector<std::string>& m_Log;
    std::function<void(Ferrox3D::CEvent*)> m_Act;
};
}  // namespace

TEST_F(ServerSessionTest, JoiningAndLeavingRaiseTheirEvents) {
    Ferrox3D::CEventHandlers events;
    Session().SetEventHandlers(&events);
    std::vector<std::string> log;
    for (const char* name : {"OnPlayerConnect", "OnPlayerJoin", "OnPlayerJoined", "OnPlayerQuit"}) {
        Ferrox3D::CEventType* pType = events.GetEventType(name);
        ASSERT_NE(pType, nullptr) << name;
        pType->AddHandler(new CRecordingHandler(log, [](Ferrox3D::CEvent* pEvent) {
            // Preventing the connect event is reported but does not refuse the player.
            if (auto* pCancellable = dynamic_cast<Ferrox3D::CCancellableEvent*>(pEvent))
                pCancellable->PreventDefault();
        }));
    }
    EXPECT_TRUE(events.GetEventType("OnPlayerConnect")->IsCancellable());
    EXPECT_FALSE(events.GetEventType("OnPlayerQuit")->IsCancellable());
    // A quit handler that kicks the leaving client again must not run the disconnect path twice.
    events.GetEventType("OnPlayerQuit")->AddHandler(new CRecordingHandler(log, [this](Ferrox3D::CEvent*) {
        Session().GetMachines().ForEach([this](CNetMachine* pClient) { Session().DisconnectClient(pClient, 13); });
    }));
    Open();
    auto client = Connect();
    tConnectRequest request;
    request.m_Nickname = "Bob";
    ASSERT_TRUE(Handshake(*client, request));
    client->SendJoin();
    ASSERT_TRUE(client->WaitForMessage(PACKET_JOIN_COMPLETE, WAIT_MS, Pump(*client)));
    client->SendDisconnectMessage();
    ASSERT_TRUE(client->WaitFor([&] { return Session().GetPlayerCount() == 0; }, WAIT_MS, Pump(*client)));
    EXPECT_EQ(log, (std::vector<std::string>{"OnPlayerConnect:127.0.0.1,", "OnPlayerJoin:Bob,", "OnPlayerJoined:Bob,",
                                             "OnPlayerQuit:Bob,6,", "OnPlayerQuit:Bob,6,"}));
    EXPECT_EQ(Session().GetMachines().GetOccupiedCount(), 1u);
    Session().SetEventHandlers(nullptr);
}

TEST_F(ServerSessionTest, ClientDataReachesEveryoneAndNewcomers) {
    Open();
    auto bob = Connect();
    tConnectRequest request;
    request.m_Nickname = "Bob";
    ASSERT_TRUE(Handshake(*bob, request));
    CNetMachine* pBob = Session().GetMachines().Get(0);
    ASSERT_NE(pBob, nullptr);
    Ferrox3D::CArgumentArray values;
    values.AddString("red");
    values.AddNumber(int32_t(7));
    values.AddNull();
    EXPECT_TRUE(pBob->SetData("team", values.GetAt(0), true));
    EXPECT_TRUE(pBob->SetData("score", values.GetAt(1), true));
    EXPECT_TRUE(pBob->SetData("secret", values.GetAt(1), false));
    auto& mine = bob->Mirror().m_Clients[0].m_Data;
    ASSERT_TRUE(bob->WaitFor([&] { return mine.count("score") > 0; }, WAIT_MS, Pump(*bob)));
    EXPECT_EQ(mine["team"], "red");
    EXPECT_EQ(mine.count("secret"), 0u);  // not synced

    auto alice = Connect();  // a newcomer sees Bob's data in the client list
    request.m_Nickname = "Alice";
    ASSERT_TRUE(Handshake(*alice, request));
    EXPECT_EQ(alice->Mirror().m_Clients[0].m_Data["score"], "7");
    EXPECT_EQ(alice->Mirror().m_Clients[0].m_Data.size(), 3u);  // the unsynced key is part of the record

    EXPECT_TRUE(pBob->SetData("team", values.GetAt(2), true));  // nil removes
    EXPECT_TRUE(pBob->RemoveData("score"));
    EXPECT_FALSE(pBob->RemoveData("score"));
    ASSERT_TRUE(bob->WaitFor([&] { return mine.empty(); }, WAIT_MS, Pump(*bob)));
    pBob->ClearData();
    EXPECT_EQ(pBob->GetData().GetCount(), 0u);
    ASSERT_TRUE(bob->WaitForMessage(PACKET_CLIENT_CLEAR_DATA, WAIT_MS, Pump(*bob)));
    EXPECT_EQ(bob->GetMalformedCount(), 0u);
}
