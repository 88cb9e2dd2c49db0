// The server's script API driven through the native layer while a test client watches.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "../Scripting/LogCapture.h"
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"
#include "Engine/Reflection.h"
#include "Engine/Utf8Cut.h"
#include "Scripting/EventHandlers.h"
#include "Scripting/EventType.h"
#include "Server/ServerScriptAPI.h"
#include "Server/ServerSession.h"
#include "Server/UrboServer.h"
#include "TestClient.h"

using namespace Ferrox3D;
using TestClient::CTestClient;

namespace {

constexpr uint32_t WAIT_MS = 3000;
using ArgsPtr = std::unique_ptr<CArgumentArray>;

// The outcome of one native call: success, the returned value (owned) and the error text.
struct tResult {
    bool m_bOk = false;
    Strong<CArgument> m_pValue;
    std::string m_Error;
};

// A value a client's data cannot keep (like a reference into a closed script VM).
class CUncopyable : public CArgument {
public:
    CUncopyable() : CArgument(ARGUMENT_LUAREF) {}
    CArgument* Clone() const override { return nullptr; }
};

// Records the arguments of every call.
class CRecorder : public CFunction {
public:
    bool Call(CArgumentArray* pArguments, CReturnValue*) override {
        m_Calls.emplace_back(pArguments ? static_cast<CArgumentArray*>(pArguments->Clone()) : new CArgumentArray);
        return true;
    }
    std::vector<std::unique_ptr<CArgumentArray>> m_Calls;
};

class ServerScriptAPITest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Server.m_BindIP = "127.0.0.1";
        m_Server.m_usPort = 0;
        m_Server.SetRule("Version", "1.6.1");
        ASSERT_TRUE(m_Server.CreateNetworkHost());
        RegisterServerScriptAPI(m_Server, m_Scripting);
        m_Server.CreateConsoleClient();
        Session().SetEventHandlers(&m_Events);
    }
    CServerSession& Session() { return m_Server.GetSession(); }
    ReflectedNamespace* Global() { return m_Scripting.GetGlobal(); }
    ReflectedNamespace* ServerNs() { return Global()->GetNamespace("server"); }
    ReflectedClass* ClientClass() { return Global()->GetClass("Client"); }

    tResult Finish(CNativeState& state, bool ok) {
        tResult result;
        result.m_bOk = ok;
        if (ok && state.GetReturnValue())
            result.m_pValue = state.GetReturnValue();
        if (!ok)
            result.m_Error = GetLastError();
        return result;
    }
    tResult Call(const ReflectedFunction* pFunction, ArgsPtr args = std::make_unique<CArgumentArray>(),
                 CBaseObject* pThis = nullptr) {
        EXPECT_NE(pFunction, nullptr);
        CNativeState state(&m_Scripting, nullptr, args.get(), pThis);
        return Finish(state, pFunction->Call(state));
    }
    tResult Get(ReflectedProperty* pProperty, CBaseObject* pThis = nullptr) {
        CNativeState state(&m_Scripting, nullptr, nullptr, pThis);
        return Finish(state, pProperty->Get(state));
    }
    tResult Set(ReflectedProperty* pProperty, ArgsPtr args, CBaseObject* pThis = nullptr) {
        CNativeState state(&m_Scripting, nullptr, args.get(), pThis);
        return Finish(state, pProperty->Set(state));
    }
    tResult Method(const char* name, CBaseObject* pClient, ArgsPtr args = std::make_unique<CArgumentArray>()) {
        return Call(ClientClass()->GetFunction(name), std::move(args), pClient);
    }

    std::unique_ptr<CTestClient> Join(const char* nickname) {
        auto pClient = std::make_unique<CTestClient>();
        EXPECT_TRUE(pClient->Open("127.0.0.1", Session().GetNetSystem()->GetPort()));
        EXPECT_TRUE(pClient->WaitFor([&] { return pClient->IsConnected(); }, WAIT_MS, Pump(*pClient)));
        TestClient::tConnectRequest request;
        request.m_Nickname = nickname;
        EXPECT_TRUE(pClient->Handshake(request, WAIT_MS, Pump(*pClient)));
        pClient->SendJoin();
        EXPECT_TRUE(pClient->WaitForMessage(PACKET_JOIN_COMPLETE, WAIT_MS, Pump(*pClient)));
        return pClient;
    }
    std::function<void()> Pump(CTestClient& client) {
        return [this, &client] {
            Session().Update();
            client.Service(1);
        };
    }
    // Lets queued messages arrive (nothing is expected to change after the time-out).
    void Settle(CTestClient& client) { client.WaitFor([] { return false; }, 200, Pump(client)); }

    LogCapture m_Log;
    CScripting m_Scripting;
    CUrboServer m_Server;
    EventHandlers::CEventHandlers m_Events;
};

ArgsPtr Args(std::initializer_list<const char*> texts) {
    auto args = std::make_unique<CArgumentArray>();
    for (const char* text : texts)
        args->AddString(text);
    return args;
}

ArgsPtr Number(int64_t value) {
    auto args = std::make_unique<CArgumentArray>();
    args->AddNumber(static_cast<long long>(value));
    return args;
}

std::string Text(const tResult& result) {
    size_t length = 0;
    const char* text = result.m_pValue ? result.m_pValue->ToString(&length) : nullptr;
    return text ? std::string(text, length) : std::string("<none>");
}

bool IsNull(const tResult& result) { return result.m_bOk && (!result.m_pValue || result.m_pValue->GetType() == ARGUMENT_NIL); }

}  // namespace

TEST(Utf8Cut, CutsOnCharacterBoundaries) {
    struct Case { std::string m_Text; size_t m_Limit; size_t m_Expected; };
    const Case cases[] = {
        {"abc", 5, 3},                      // short enough
        {"abcdef", 3, 3},                   // ASCII
        {"ab\xC3\xA9", 3, 2},               // two-byte character split after its lead
        {"a\xE2\x82\xAC", 3, 1},            // three-byte character split after two bytes
        {"a\xE2\x82\xAC", 4, 4},            // fits exactly
        {"\xF0\x9F\x98\x80x", 3, 0},        // four-byte character split
        {"ab\x80\x80\x80\x80", 4, 4},       // stray continuation bytes: plain byte cut
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8PrefixLength(c.m_Text.data(), c.m_Text.size(), c.m_Limit), c.m_Expected) << c.m_Text;
}

TEST_F(ServerScriptAPITest, RulesSettingsAndLookupsWithoutPlayers) {
    EXPECT_EQ(Text(Call(ServerNs()->GetFunction("getRule"), Args({"Version"}))), "1.6.1");
    EXPECT_TRUE(IsNull(Call(ServerNs()->GetFunction("getRule"), Args({"version"}))));
    Call(ServerNs()->GetFunction("setRule"), Args({"Mode", "a"}));
    Call(ServerNs()->GetFunction("setRule"), Args({"mode", "b"}));
    Call(ServerNs()->GetFunction("setRule"), Args({"Mode", "c"}));
    ASSERT_EQ(m_Server.m_Rules.size(), 3u);
    EXPECT_EQ(m_Server.m_Rules[1], std::make_pair(std::string("Mode"), std::string("c")));
    EXPECT_EQ(m_Server.m_Rules[2], std::make_pair(std::string("mode"), std::string("b")));

    tResult maxClients = Get(ServerNs()->GetProperty("maxClients"));
    EXPECT_EQ(maxClients.m_pValue->GetType(), ARGUMENT_LONGINTEGER);
    m_Server.m_MinClientVersion[0] = 1, m_Server.m_MinClientVersion[1] = 2, m_Server.m_MinClientVersion[2] = 3;
    m_Server.m_MinClientVersion[3] = 4;
    EXPECT_EQ(Text(Get(ServerNs()->GetProperty("minClientVersion"))), "1.2.3");

    tResult console = Call(Global()->GetFunction("getConsole"));
    ASSERT_TRUE(console.m_pValue && console.m_pValue->ToObject());
    EXPECT_EQ(Get(Global()->GetProperty("localClient")).m_pValue->ToObject(), console.m_pValue->ToObject());
    EXPECT_TRUE(IsNull(Get(Global()->GetProperty("localPlayer"))));
    EXPECT_TRUE(IsNull(Call(Global()->GetFunction("getClient"), Number(255))));
    for (int64_t index : {256, -1}) {
        tResult outside = Call(Global()->GetFunction("getClient"), Number(index));
        EXPECT_FALSE(outside.m_bOk);
        EXPECT_EQ(outside.m_Error, "index out of bounds") << index;
    }
    CBaseObject* pConsole = console.m_pValue->ToObject();
    int32_t ping = -1;
    Get(ClientClass()->GetProperty("ping"), pConsole).m_pValue->ToNumber(ping);
    EXPECT_EQ(ping, 0);
    tResult kick = Method("disconnect", pConsole);
    EXPECT_FALSE(kick.m_bOk);
    EXPECT_EQ(kick.m_Error, "Cannot disconnect the console");

    Call(ServerNs()->GetFunction("shutdown"));
    EXPECT_TRUE(m_Log.Contains("Script requested server shutdown!"));
    EXPECT_TRUE(m_Server.GetQuitSignal().IsSignalled());
}

// Name and game mode reach every client, cut to 63 bytes without splitting a character.
TEST_F(ServerScriptAPITest, NameAndGameModeReachClients) {
    auto client = Join("Alice");
    std::string name(62, 'n');
    name += "\xC3\xA9 and more";  // the limit falls inside the two-byte character
    EXPECT_TRUE(Set(ServerNs()->GetProperty("name"), Args({name.c_str()})).m_bOk);
    EXPECT_TRUE(Set(ServerNs()->GetProperty("gameMode"), Args({"Deathmatch"})).m_bOk);
    EXPECT_EQ(Text(Get(ServerNs()->GetProperty("name"))), std::string(62, 'n'));
    EXPECT_TRUE(client->WaitFor([&] { return client->Mirror().m_GameMode == "Deathmatch"; }, WAIT_MS, Pump(*client)));
    EXPECT_EQ(client->Mirror().m_ServerName, std::string(62, 'n'));
}

TEST_F(ServerScriptAPITest, ClientDataFlagsAndKick) {
    auto client = Join("Bob");
    Strong<CRecorder> pQuit = Strong<CRecorder>::Adopt(new CRecorder);
    m_Events.GetEventType("OnPlayerQuit")->AddHandler(static_cast<CResource*>(nullptr), pQuit.Get());

    tResult clients = Call(Global()->GetFunction("getClients"));
    auto* pList = static_cast<CArgumentArray*>(clients.m_pValue.Get());
    ASSERT_EQ(pList->GetArrayCount(), 1u);
    CBaseObject* pBob = pList->GetAt(0)->ToObject();
    EXPECT_EQ(Text(Get(ClientClass()->GetProperty("name"), pBob)), "Bob");
    EXPECT_EQ(Text(Get(ClientClass()->GetProperty("ip"), pBob)), "127.0.0.1");
    EXPECT_EQ(Call(Global()->GetFunction("getClient"), Number(client->GetIndex())).m_pValue->ToObject(), pBob);

    EXPECT_TRUE(Method("setData", pBob, Args({"team", "red"})).m_bOk);
    EXPECT_EQ(Text(Method("getData", pBob, Args({"team"}))), "red");
    EXPECT_EQ(Method("getData", pBob, Args({"none"})).m_pValue->GetType(), ARGUMENT_UNDEFINED);
    int32_t index = client->GetIndex();
    EXPECT_TRUE(client->WaitFor([&] { return client->Mirror().m_Clients[index].m_Data.count("team") == 1; },
                                WAIT_MS, Pump(*client)));
    ArgsPtr bad = Args({"bad"});
    bad->AddAndOwn(new CUncopyable);
    tResult refused = Method("setData", pBob, std::move(bad));
    EXPECT_FALSE(refused.m_bOk);
    EXPECT_EQ(refused.m_Error, "data is not storable");
    EXPECT_TRUE(Method("removeAllData", pBob).m_bOk);
    EXPECT_TRUE(client->WaitFor([&] { return client->Mirror().m_Clients[index].m_Data.empty(); }, WAIT_MS,
                                Pump(*client)));

    // The flag goes out once per change.
    size_t flagsBefore = client->CountReceived(PACKET_CLIENT_FLAGS);
    for (int i = 0; i < 2; ++i) {
        ArgsPtr yes = std::make_unique<CArgumentArray>();
        yes->AddBoolean(true);
        Set(ClientClass()->GetProperty("administrator"), std::move(yes), pBob);
    }
    Settle(*client);
    EXPECT_EQ(client->CountReceived(PACKET_CLIENT_FLAGS), flagsBefore + 1);
    EXPECT_EQ(client->Mirror().m_Clients[index].m_Flags & 1, 1);

    // A kick: the client hears 13, and so does OnPlayerQuit.
    EXPECT_TRUE(Method("disconnect", pBob).m_bOk);
    EXPECT_TRUE(client->WaitForDisconnect(WAIT_MS, Pump(*client)));
    EXPECT_EQ(client->GetDisconnectData(), 13u);
    ASSERT_EQ(pQuit->m_Calls.size(), 1u);
    int32_t reason = 0;
    pQuit->m_Calls[0]->GetAt(2)->ToNumber(reason);  // after the event and the client
    EXPECT_EQ(reason, 13);
    EXPECT_EQ(Call(Global()->GetFunction("getClients")).m_pValue->GetType(), ARGUMENT_ARRAY);
}
