// Resource commands typed at the console of the real server, and a resource's command handler and timer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "PlayerSession.h"

using namespace KestroTest;

namespace {

const char* const JS_SCRIPT =
    "addCommandHandler('hello', function(command, parameters, client) {\n"
    "  console.log('hello from ' + (client ? client.name : 'nobody') + ': ' + parameters);\n"
    "});\n"
    "setTimeout(function() { console.log('timer fired in ' + thisResource.name); }, 10);\n";

void WriteResource(CServerProcess& server) {
    server.WriteFile("resources/hello/meta.xml", "<meta><script src='main.js' type='server' language='javascript'/></meta>");
    server.WriteFile("resources/hello/main.js", JS_SCRIPT);
}

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

TEST(ResourceConsole, StartStopRestartRefreshAndDumpdoc) {
    CGameServer game;
    WriteResource(game.m_Process);
    CServerProcess& server = game.m_Process;
    std::vector<uint16_t> ports = PickFreePorts(2);
    game.m_Port = ports[0];
    server.WriteConfig(ServerXml("<port>" + std::to_string(ports[0]) + "</port><httpport>" + std::to_string(ports[1]) +
                                 "</httpport><resources><resource src='hello'/></resources>"));
    ASSERT_TRUE(server.Start() && server.WaitForLine("Server is now listening")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("timer fired in hello")) << server.Output();

    auto pPlayer = game.Player("Bob");
    pPlayer->SendCommand("hello", "world");
    EXPECT_TRUE(server.WaitForLine("hello from Bob: world")) << server.Output();

    struct Step { const char* typed; const char* expected; };
    const Step steps[] = {
        {"stop hello\n", "Stopped resource hello"},
        {"stop hello\n", "Failed to stop resource hello"},
        {"start\n", "No resource specified!"},
        {"start nowhere\n", "Unable to find the resource nowhere!"},
        {"start hello\n", "Started resource hello"},
        {"start hello\n", "Failed to start resource hello"},
        {"restart hello\n", "Restarted resource hello"},
        {"stopall\n", "Stopped 1 resources"},
        {"refresh\n", "1 resources in the resource cache"},
        {"dumpdoc\n", "Documentation dumped"},
        {"frobnicate\n", "'frobnicate' is not recognized as an internal or external command"},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(server.WriteInput(step.typed));
        EXPECT_TRUE(server.WaitForLine(step.expected)) << step.typed << server.Output();
    }
    // The stopped resource took its command handler with it.
    pPlayer->SendCommand("hello", "again");
    server.WriteInput("say done\n");
    EXPECT_TRUE(server.WaitForLine("Console: done")) << server.Output();
    EXPECT_FALSE(server.HasLine("hello from Bob: again")) << server.Output();

    for (const char* file : {"Defines.xml", "EventTypes.xml", "Commands.xml", "Documentation.xml"})
        EXPECT_TRUE(IsFile(server.PathOf(std::string("Documentation/") + file))) << file;
    server.WriteInput("quit\n");
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}

// consoleCommand runs restricted commands only for resources the configuration marks privileged.
TEST(ResourceConsole, ConsoleCommandFromScriptsNeedsPrivilege) {
    CServerProcess server;
    const char* script =
        "setTimeout(function() {\n"
        "  consoleCommand('/stop ' + (thisResource.name == 'admin' ? 'victim1' : 'victim2'));\n"
        "  console.log(thisResource.name + ' asked');\n"
        "}, 1);\n";
    for (const char* name : {"admin", "plain", "victim1", "victim2"}) {
        server.WriteFile(std::string("resources/") + name + "/meta.xml",
                         "<meta><script src='main.js' type='server' language='javascript'/></meta>");
        server.WriteFile(std::string("resources/") + name + "/main.js",
                         std::string(name).rfind("victim", 0) == 0 ? "" : script);
    }
    server.WriteConfig(ServerXml("<resources><resource src='victim1'/><resource src='victim2'/>"
                                 "<resource src='admin' privileged='true'/><resource src='plain'/></resources>"));
    ASSERT_TRUE(server.Start({"-port", std::to_string(PickFreePort()), "-noinput"}));
    EXPECT_TRUE(server.WaitForLine("admin asked")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("plain asked")) << server.Output();
    EXPECT_TRUE(server.HasLine("Stopped resource victim1")) << server.Output();
    EXPECT_FALSE(server.HasLine("Stopped resource victim2")) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}
