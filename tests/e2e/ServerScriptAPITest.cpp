// The server script API seen from JavaScript and Lua resources in the real server, with a test client watching.
#include <gtest/gtest.h>
#include "PlayerSession.h"

using namespace KestroTest;

namespace {

const char* const JS_SCRIPT =
    "addEventHandler('OnPlayerJoined', function(event, client) {\n"
    "  console.log('js greets ' + client.name + ' on ' + server.name);\n"
    "  server.name = 'Renamed by script';\n"
    "  try { getConsole().disconnect(); } catch (e) { console.log('js caught: ' + e.message); }\n"
    "});\n";
const char* const LUA_SCRIPT =
    "addEventHandler('OnPlayerJoined', function(event, client)\n"
    "  print('lua greets ' .. client.name .. ', rule Version=' .. tostring(server.getRule('Version')))\n"
    "  local ok, err = pcall(getClient, 300)\n"
    "  print('lua caught: ' .. tostring(err))\n"
    "end)\n"
    "addEventHandler('OnPlayerQuit', function(event, client, reason)\n"
    "  server.shutdown()\n"
    "end)\n";

}  // namespace

TEST(ServerScriptAPI, ResourcesGreetRenameAndShutDownTheServer) {
    CGameServer game;
    WriteScriptResource(game.m_Process, "resources/jsapi", "javascript", "main.js", JS_SCRIPT);
    WriteScriptResource(game.m_Process, "resources/luaapi", "lua", "main.lua", LUA_SCRIPT);
    ASSERT_TRUE(game.Start("<servername>Before</servername><resources><resource src='jsapi'/>"
                           "<resource src='luaapi'/></resources>",
                           false))
        << game.m_Process.Output();
    auto pPlayer = game.Player("Alice");
    EXPECT_TRUE(game.m_Process.WaitForLine("js greets Alice on Before")) << game.m_Process.Output();
    EXPECT_TRUE(game.m_Process.HasLine("js caught: Cannot disconnect the console")) << game.m_Process.Output();
    EXPECT_TRUE(game.m_Process.WaitForLine("lua greets Alice, rule Version=1.6.1")) << game.m_Process.Output();
    EXPECT_TRUE(game.m_Process.WaitForLine("index out of bounds")) << game.m_Process.Output();
    EXPECT_TRUE(pPlayer->WaitFor([&] { return pPlayer->CountReceived(PACKET_SERVER_NAME) >= 2; }, CLIENT_WAIT_MS))
        << "the renamed server never reached the client";

    pPlayer->SendDisconnectMessage();
    EXPECT_TRUE(game.m_Process.WaitForLine("Script requested server shutdown!")) << game.m_Process.Output();
    EXPECT_EQ(game.m_Process.WaitForExit(), 0) << game.m_Process.Output();
}
