// Chat between players and the operator's console on standard input, against the real server binary.
#include <gtest/gtest.h>
#include <string>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "PlayerSession.h"

using namespace KestroTest;
using TestClient::Bytes;
using TestClient::CTestClient;

namespace {

constexpr uint32_t PLAYER_CHAT_COLOUR = 1;
const char* const NOT_RECOGNIZED = "' is not recognized as an internal or external command, operable program or batch file.";

// The server with its console on standard input (no "-noinput").
class ChatConsoleTest : public ::testing::Test {
protected:
    void Start(const std::string& commandFile = "") {
        std::vector<uint16_t> ports = PickFreePorts(2);
        m_Server.m_Port = ports[0];
        CServerProcess& process = m_Server.m_Process;
        process.WriteConfig(ServerXml("<port>" + std::to_string(ports[0]) + "</port><httpport>" +
                                      std::to_string(ports[1]) + "</httpport>"));
        if (!commandFile.empty())
            process.WriteFile("commandline.txt", commandFile);
        ASSERT_TRUE(process.Start() && process.WaitForLine("Server is now listening")) << process.Output();
    }

    // Waits until the client has received count chat lines, servicing the others meanwhile.
    static bool WaitForChat(CTestClient& client, size_t count, const std::vector<CTestClient*>& all) {
        return client.WaitFor([&] { return client.Mirror().m_Chat.size() >= count; }, CLIENT_WAIT_MS,
                              [&] { ServiceAll(all); });
    }

    CGameServer m_Server;
};

Bytes Body(const std::function<void(Ferrox3D::CBinaryWriter&)>& write) {
    Ferrox3D::CUnlimitedStream stream;
    Ferrox3D::CBinaryWriter writer(&stream);
    write(writer);
    return Bytes(stream.GetData(), stream.GetData() + stream.GetLength());
}

}  // namespace

TEST_F(ChatConsoleTest, PlayerChatIsLoggedAndRelayedToEveryone) {
    Start();
    auto alice = m_Server.Player("Alice");
    auto bob = m_Server.Player("Bob");
    std::vector<CTestClient*> all = {alice.get(), bob.get()};
    ASSERT_TRUE(alice->SendChat("hello there"));
    for (CTestClient* pClient : all) {
        ASSERT_TRUE(WaitForChat(*pClient, 1, all));
        EXPECT_EQ(pClient->Mirror().m_Chat[0].m_Colour, PLAYER_CHAT_COLOUR);
        EXPECT_EQ(pClient->Mirror().m_Chat[0].m_Text, "Alice: hello there");
    }
    EXPECT_TRUE(m_Server.m_Process.WaitForLine("Alice: hello there")) << m_Server.m_Process.Output();

    // Terminal escapes reach the other players as sent, but the console only as '?'.
    ASSERT_TRUE(bob->SendChat("\x1b[2Jwiped"));
    ASSERT_TRUE(WaitForChat(*alice, 2, all));
    EXPECT_EQ(alice->Mirror().m_Chat[1].m_Text, "Bob: \x1b[2Jwiped");
    EXPECT_TRUE(m_Server.m_Process.WaitForLine("Bob: ?[2Jwiped")) << m_Server.m_Process.Output();
}

TEST_F(ChatConsoleTest, ConsoleSayReachesClientsAndUnknownWordsAreReported) {
    Start();
    auto alice = m_Server.Player("Alice");
    std::vector<CTestClient*> all = {alice.get()};
    CServerProcess& process = m_Server.m_Process;
    // Three lines at once run in one pass, in order.
    ASSERT_TRUE(process.WriteInput("say hi\nbogus word\nsay\n"));
    ASSERT_TRUE(WaitForChat(*alice, 2, all)) << process.Output();
    EXPECT_EQ(alice->Mirror().m_Chat[0].m_Text, "Console: hi");
    EXPECT_EQ(alice->Mirror().m_Chat[0].m_Colour, PLAYER_CHAT_COLOUR);
    EXPECT_EQ(alice->Mirror().m_Chat[1].m_Text, "Console: ");
    EXPECT_TRUE(process.WaitForLine("Console: hi")) << process.Output();
    EXPECT_TRUE(process.WaitForLine(std::string("'bogus") + NOT_RECOGNIZED)) << process.Output();

    // 255 bytes with the line feed run; 256 are ignored without a word.
    ASSERT_TRUE(process.WriteInput("say " + std::string(250, 'a') + "\n"));
    ASSERT_TRUE(process.WriteInput("say " + std::string(251, 'b') + "\n"));
    ASSERT_TRUE(process.WriteInput("say end\n"));
    ASSERT_TRUE(WaitForChat(*alice, 4, all)) << process.Output();
    EXPECT_EQ(alice->Mirror().m_Chat[2].m_Text, "Console: " + std::string(250, 'a'));
    EXPECT_EQ(alice->Mirror().m_Chat[3].m_Text, "Console: end");
}

TEST_F(ChatConsoleTest, QuitInCapitalsExitsZero) {
    Start();
    ASSERT_TRUE(m_Server.m_Process.WriteInput("QUIT\n"));
    EXPECT_EQ(m_Server.m_Process.WaitForExit(), 0) << m_Server.m_Process.Output();
    EXPECT_TRUE(m_Server.m_Process.HasLine("Server shutting down..."));
}

TEST_F(ChatConsoleTest, ClosedInputKeepsTheServerRunning) {
    Start();
    m_Server.m_Process.CloseInput();
    auto alice = m_Server.Player("Alice");
    ASSERT_TRUE(alice->SendChat("still here"));
    EXPECT_TRUE(WaitForChat(*alice, 1, {alice.get()})) << m_Server.m_Process.Output();
    m_Server.m_Process.Interrupt();
    EXPECT_EQ(m_Server.m_Process.WaitForExit(), 0);
}

TEST_F(ChatConsoleTest, CommandFileRunsFinishedLinesInOrder) {
    Start("/first\nsay not a command\nsecond\r\n/second\n/" + std::string(300, 'x') + "\n/last");
    CServerProcess& process = m_Server.m_Process;
    EXPECT_TRUE(process.WaitForLine(std::string("'first") + NOT_RECOGNIZED)) << process.Output();
    EXPECT_TRUE(process.WaitForLine(std::string("'second") + NOT_RECOGNIZED)) << process.Output();
    EXPECT_TRUE(process.HasLine("commandline.txt line 5 is longer than 255 bytes")) << process.Output();
    ASSERT_TRUE(process.WriteInput("quit\n"));
    EXPECT_EQ(process.WaitForExit(), 0);
    EXPECT_FALSE(process.HasLine("'last")) << process.Output();  // no line feed: not run
    EXPECT_FALSE(process.HasLine("'say")) << process.Output();
}

// Every kind of malformed message: nothing happens, the server logs a bounded number of warnings
// for the client, and it keeps serving it.
TEST_F(ChatConsoleTest, MalformedMessagesAreDroppedWithBoundedWarnings) {
    Start();
    auto alice = m_Server.Player("Alice");
    const Bytes bad[] = {
        Body([](auto& w) { w.WriteUInt32(0); }),                                      // empty chat
        Body([](auto& w) { w.WriteUInt32(Ferrox3D::MAX_CHAT_LENGTH + 1); }),          // chat too long
        Body([](auto& w) { w.WriteUInt32(50); w.WriteBytes("abc", 3); }),             // chat cut short
        Body([](auto& w) { w.WriteUInt16(1); }),                                      // no length at all
    };
    for (int round = 0; round < 5; ++round) {
        for (const Bytes& body : bad) {
            alice->Send(TestClient::BuildMessage(PACKET_CHAT, body));
            alice->Send(TestClient::BuildMessage(PACKET_COMMAND, body));
            alice->Send(TestClient::BuildMessage(PACKET_KEY_EVENT, body));
        }
        alice->Send(TestClient::BuildMessage(PACKET_NETWORK_EVENT, Body([](auto& w) { w.WriteUInt8(40); })));
        alice->Send(TestClient::BuildMessage(PACKET_NETWORK_EVENT,
                                             Body([](auto& w) { w.WriteString("ev"); w.WriteUInt8(3); w.WriteUInt8(99); })));
    }
    ASSERT_TRUE(alice->SendChat("after"));
    ASSERT_TRUE(WaitForChat(*alice, 1, {alice.get()})) << m_Server.m_Process.Output();
    EXPECT_EQ(alice->Mirror().m_Chat[0].m_Text, "Alice: after");
    // The log is read from a pipe: once the line logged after every bad message is in, all are.
    ASSERT_TRUE(m_Server.m_Process.WaitForLine("Alice: after")) << m_Server.m_Process.Output();
    size_t warnings = 0;
    for (const std::string& line : m_Server.m_Process.Lines())
        if (line.find("Dropped a malformed") != std::string::npos ||
            line.find("Failed to read network arguments") != std::string::npos)
            ++warnings;
    EXPECT_EQ(warnings, Ferrox3D::MALFORMED_WARNINGS_PER_CLIENT) << m_Server.m_Process.Output();
    EXPECT_TRUE(m_Server.m_Process.HasLine("(further ones are not logged)"));
}

TEST_F(ChatConsoleTest, UnboundNetworkEventAndUnknownCommandFromAPlayer) {
    Start();
    auto alice = m_Server.Player("Alice");
    ASSERT_TRUE(alice->SendCommand("nosuchcommand", "x"));
    ASSERT_TRUE(alice->SendCommand("quit"));  // restricted: a player may not run it
    ASSERT_TRUE(alice->SendNetworkEvent("Ping\x1b[0m", {TestClient::tWireValue::Integer(1)}));
    EXPECT_TRUE(m_Server.m_Process.WaitForLine("Network event Ping?[0m not bound serverside"))
        << m_Server.m_Process.Output();
    ASSERT_TRUE(alice->SendChat("still running"));
    EXPECT_TRUE(WaitForChat(*alice, 1, {alice.get()}));
    EXPECT_FALSE(m_Server.m_Process.HasLine("nosuchcommand"));
}
