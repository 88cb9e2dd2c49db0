// Script errors at load, in an event handler and in a timer are logged with their place; the server keeps serving.
#include <gtest/gtest.h>
#include "PlayerSession.h"

using namespace KestroTest;

namespace {

const char* const JS_SCRIPT =
    "addEventHandler('OnPlayerJoined', function(event, client) { throw new Error('js boom in event'); });\n"
    "setTimeout(function() { throw new Error('js boom in timer'); }, 1);\n";
const char* const JS_BROKEN = "console.log('half');\nthrow new Error('js boom at load');\n";
const char* const LUA_SCRIPT =
    "addEventHandler('OnPlayerJoined', function(event, client) error('lua boom in event') end)\n"
    "setTimeout(function() error('lua boom in timer') end, 1)\n";
const char* const LUA_BROKEN = "print('half')\nerror('lua boom at load')\n";

}  // namespace

TEST(ScriptErrors, LoggedAtLoadInEventsAndTimersWhileTheServerKeepsServing) {
    CGameServer game;
    CServerProcess& server = game.m_Process;
    WriteScriptResource(server, "resources/jsok", "javascript", "main.js", JS_SCRIPT);
    WriteScriptResource(server, "resources/jsbad", "javascript", "main.js", JS_BROKEN);
    WriteScriptResource(server, "resources/luaok", "lua", "main.lua", LUA_SCRIPT);
    WriteScriptResource(server, "resources/luabad", "lua", "main.lua", LUA_BROKEN);
    ASSERT_TRUE(game.Start("<resources><resource src='jsok'/><resource src='jsbad'/><resource src='luaok'/>"
                           "<resource src='luabad'/></resources>",
                           false))
        << server.Output();
    EXPECT_TRUE(server.WaitForLine("js boom at load")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("main.lua:2: lua boom at load")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("js boom in timer")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("main.lua:2: lua boom in timer")) << server.Output();

    auto pFirst = game.Player("First");
    EXPECT_TRUE(server.WaitForLine("js boom in event")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("main.lua:1: lua boom in event")) << server.Output();
    auto pSecond = game.Player("Second");  // still serving after every error
    EXPECT_GE(pSecond->GetIndex(), 0);
    EXPECT_TRUE(server.HasLine("File: ")) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
}
