// Start-up, configuration refusals, log file and SIGINT of the real server binary.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include "ServerProcess.h"

using namespace KestroTest;

namespace {

std::string ListeningLine(uint16_t port, int players) {
    return "Server is now listening on port " + std::to_string(port) + " max players " + std::to_string(players) + "...";
}

// Starts with the configuration and stdin closed; expects exit 1 after the message.
void ExpectRefusal(const std::string& xml, const std::string& message, std::vector<std::string> args = {}) {
    CServerProcess server;
    if (!xml.empty())
        server.WriteConfig(xml);
    args.push_back("-port");
    args.push_back(std::to_string(PickFreePort()));
    ASSERT_TRUE(server.Start(args));
    server.CloseInput();
    EXPECT_TRUE(server.WaitForLine(message)) << server.Output();
    EXPECT_EQ(server.WaitForExit(), 1) << server.Output();
    EXPECT_TRUE(server.HasLine("Press any key to continue ...")) << server.Output();
    EXPECT_FALSE(server.HasLine("Server is now listening")) << server.Output();
}

}  // namespace

TEST(Startup, MissingConfigurationExitsOneWithoutWaitingForAKey) {
    ExpectRefusal("", "I can't start because server.xml doesn't exist...");
    // Standard input left open (a pipe, not a terminal) must not hold the process either.
    CServerProcess server;
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(server.WaitForExit(), 1) << server.Output();
}

TEST(Startup, MalformedConfigurationExitsOne) {
    ExpectRefusal("<server><port>1</server>", "I can't start because server.xml failed to parse...");
    ExpectRefusal("", "I can't start because server.xml doesn't exist...", {"-config", "other.xml"});
}

TEST(Startup, ConfigPathFromCommandLine) {
    CServerProcess server;
    server.WriteFile("conf/alt.xml", ServerXml("<maxplayers>7</maxplayers>"));
    uint16_t port = PickFreePort();
    ASSERT_TRUE(server.Start({"-CONFIG", "conf/alt.xml", "-port", std::to_string(port)}));
    EXPECT_TRUE(server.WaitForLine(ListeningLine(port, 7))) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}

TEST(Startup, RootOnlyStartsWithDefaultsAndStopsOnInterrupt) {
    CServerProcess server;
    server.WriteConfig("<anything/>");
    // The default game port is used only when nothing else holds it; otherwise a free one.
    uint16_t port = IsPortFree(22000) ? 22000 : PickFreePort();
    std::vector<std::string> args{"-noinput"};
    if (port != 22000)
        args.insert(args.end(), {"-port", std::to_string(port)});
    ASSERT_TRUE(server.Start(args));
    EXPECT_TRUE(server.WaitForLine("Server is starting...")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("Multithreading: disabled")) << server.Output();
    EXPECT_TRUE(server.WaitForLine(ListeningLine(port, 32))) << server.Output();
    ASSERT_TRUE(server.Interrupt());
    EXPECT_TRUE(server.WaitForLine("Server shutting down...")) << server.Output();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
    EXPECT_FALSE(server.FileExists("ServerLog.log"));  // no logpath, no log file
}

TEST(Startup, FatalKeys) {
    struct Case {
        const char* name;
        std::string body;
        const char* message;  // null: starts
    };
    const Case cases[] = {
        {"maxplayers 0", "<maxplayers>0</maxplayers>", "The max players should at least be 1!"},
        {"maxplayers word", "<maxplayers>many</maxplayers>", "The max players should at least be 1!"},
        {"maxplayers -1", "<maxplayers>-1</maxplayers>", "The max players should not be set to anything more than 127!"},
        {"maxplayers 128", "<MaxPlayers>128</MaxPlayers>", "The max players should not be set to anything more than 127!"},
        {"maxplayers 127", "<maxplayers>127</maxplayers>", nullptr},
        {"rcon port clash", "<rcon>true</rcon><rconport>22000</rconport>", "The rconport and httpport cannot match!"},
        {"rcon off, same ports", "<rcon>false</rcon><rconport>22000</rconport>", nullptr},
        {"streaminterval 499", "<streaminterval>499</streaminterval>",
         "The streaminterval must be greater than or equal to 500 and less than or equal to 5000!"},
        {"streaminterval 500", "<streaminterval>500</streaminterval>", nullptr},
        {"streaminterval 5000", "<streaminterval>5000</streaminterval>", nullptr},
        {"streaminterval 5001", "<streaminterval>5001</streaminterval>",
         "The streaminterval must be greater than or equal to 500 and less than or equal to 5000!"},
        {"game torno", "<game>ToRnO</game>", "Failed to load vehicle colours!"},
        {"game unknown", "<game>chess</game>", "Failed to load vehicle colours!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.message) {
            ExpectRefusal(ServerXml(c.body), c.message);
            continue;
        }
        CServerProcess server;
        server.WriteConfig(ServerXml(c.body));
        uint16_t port = PickFreePort();
        ASSERT_TRUE(server.Start({"-port", std::to_string(port)}));
        EXPECT_TRUE(server.WaitForLine("Server is now listening on port " + std::to_string(port))) << server.Output();
        server.Interrupt();
        EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
    }
}

TEST(Startup, GamePortInUseFailsTheStart) {
    uint16_t port = PickFreePort();
    int blocker = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ASSERT_EQ(bind(blocker, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);  // all addresses
    CServerProcess server;
    server.WriteConfig(ServerXml(""));
    ASSERT_TRUE(server.Start({"-port", std::to_string(port)}));
    EXPECT_TRUE(server.WaitForLine("Failed to start the server!")) << server.Output();
    EXPECT_EQ(server.WaitForExit(), 1) << server.Output();
    close(blocker);
}

TEST(Startup, CommandLineOverridesAreCheckedAndClamped) {
    CServerProcess server;
    server.WriteConfig(ServerXml("<port>1</port>"));
    uint16_t port = PickFreePort();
    ASSERT_TRUE(server.Start({"-port", "http", "-PORT", std::to_string(port), "-maxplayers", "500", "-noinput"}));
    EXPECT_TRUE(server.WaitForLine("Ignoring -port 'http'")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("-maxplayers 500 is more than")) << server.Output();
    EXPECT_TRUE(server.WaitForLine(ListeningLine(port, 255))) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}

TEST(Startup, LogFileFormatAndAppend) {
    CServerProcess server;
    server.WriteConfig(ServerXml("<logpath>logs</logpath><logtimestamp>T%Y</logtimestamp><syncmethod>sometimes</syncmethod>"));
    server.WriteFile("logs/.keep", "");
    for (int run = 0; run < 2; ++run) {
        uint16_t port = PickFreePort();
        ASSERT_TRUE(server.Start({"-port", std::to_string(port), "-noinput"}));
        ASSERT_TRUE(server.WaitForLine(ListeningLine(port, 32))) << server.Output();
        server.Interrupt();
        ASSERT_EQ(server.WaitForExit(), 0) << server.Output();
    }
    const std::string dash(60, '-');
    // The banner is written when "logpath" opens the file, before "logtimestamp" is read.
    std::string log = server.ReadFile("logs/ServerLog.log");
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(log.find("\xEF\xBB\xBF", 3), std::string::npos) << "one byte-order mark only";
    EXPECT_NE(log.find("> --------------------- Logging Started ----------------------\r\n"), std::string::npos);
    EXPECT_NE(log.find("> Ferrox 1.2.0\r\n"), std::string::npos);
    EXPECT_NE(log.find("> Platform: Linux\r\n"), std::string::npos);
    EXPECT_NE(log.find("> [ERROR]   Invalid syncmethod specified, using interval!\r\n"), std::string::npos);
    EXPECT_NE(log.find("\n<T20"), std::string::npos) << "the configured time stamp format";
    EXPECT_NE(log.find("> [INFO]    Server is starting...\r\n"), std::string::npos);
    const std::string ended = "> ---------------------- Logging Ended -----------------------\r\n";
    size_t firstEnd = log.find(ended);
    ASSERT_NE(firstEnd, std::string::npos) << log;
    size_t secondStart = log.find("Logging Started", firstEnd);
    ASSERT_NE(secondStart, std::string::npos) << "the second run appends below the first end banner";
    size_t secondEnd = log.find(ended, secondStart);
    ASSERT_NE(secondEnd, std::string::npos);
    EXPECT_EQ(log.find('\n', secondEnd + ended.size()) + 1, log.size()) << "one dash line after the end banner";
    EXPECT_EQ(log.substr(log.size() - dash.size() - 2), dash + "\r\n");
    EXPECT_EQ(log.find("\n\n"), std::string::npos);
    for (size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1))
        ASSERT_EQ(log[at - 1], '\r') << "every line ends in CR LF";
}

TEST(Startup, OverlongCommandFileLineIsSkippedWithAWarning) {
    CServerProcess server;
    server.WriteConfig(ServerXml(""));
    server.WriteFile("commandline.txt", "/" + std::string(300, 'x') + "\r\n/unknowncommand\n");
    uint16_t port = PickFreePort();
    ASSERT_TRUE(server.Start({"-port", std::to_string(port), "-noinput"}));
    EXPECT_TRUE(server.WaitForLine(ListeningLine(port, 32))) << server.Output();
    EXPECT_TRUE(server.WaitForLine("commandline.txt line 1 is longer than 255 bytes and is skipped")) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}
