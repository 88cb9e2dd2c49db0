// Resources in the real server: discovery, the configured start list, broken meta files, JavaScript and Lua scripts.
#include <gtest/gtest.h>
#include <cstdlib>
#include "PlayerSession.h"
#include "ServerProcess.h"

using namespace KestroTest;

namespace {

const char* const JS_SCRIPT =
    "addEventHandler('OnResourceStart', function(event, resource) {\n"
    "  if (resource == thisResource) console.log('js saw its start: ' + resource.name);\n"
    "});\n";
const char* const LUA_SCRIPT =
    "addEventHandler('OnResourceStart', function(event, resource)\n"
    "  if resource == thisResource then print('lua saw its start: ' .. resource.name) end\n"
    "end)\n";

}  // namespace

TEST(ResourceStart, ConfiguredResourcesStartFromFoldersGroupsAndArchives) {
    CServerProcess server;
    WriteScriptResource(server, "resources/jsres", "javascript", "main.js", JS_SCRIPT);
    WriteScriptResource(server, "resources/[games]/luares", "lua", "main.lua", LUA_SCRIPT);
    WriteScriptResource(server, "resources/zlast", "lua", "main.lua", LUA_SCRIPT);
    WriteScriptResource(server, "packing", "lua", "main.lua", LUA_SCRIPT);
    std::string tar = "tar -cf '" + server.PathOf("resources/packed.tar") + "' -C '" + server.PathOf("packing") +
                      "' meta.xml main.lua";
    ASSERT_EQ(system(tar.c_str()), 0);
    server.WriteFile("resources/broken/meta.xml", "<meta><script src='a.lua' type='server'/></meta>");
    server.WriteFile("resources/missingdep/meta.xml", "<meta><dependency src='nowhere'/></meta>");
    server.WriteConfig(ServerXml("<resources><resource src='JSRES'/><resource src='luares'/><resource src='zlast'/>"
                                 "<resource src='packed'/><resource src='broken'/></resources>"));
    ASSERT_TRUE(server.Start({"-port", std::to_string(PickFreePort()), "-noinput"}));
    EXPECT_TRUE(server.WaitForLine("4 resources in the resource cache")) << server.Output();
    EXPECT_TRUE(server.HasLine("language attribute missing on script element in resource broken!")) << server.Output();
    EXPECT_TRUE(server.HasLine("Failed to load resource broken!")) << server.Output();
    EXPECT_TRUE(server.HasLine("Unable to find dependency nowhere for resource missingdep!")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("Starting resources...")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("START: Starting resource jsres...")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("js saw its start: jsres")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("START: Resource jsres started.")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("lua saw its start: luares")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("lua saw its start: zlast")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("lua saw its start: packed")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("Error loading resource broken: resource not found!")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("4/5 Resources loaded, 1 failed")) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
    EXPECT_TRUE(server.HasLine("STOP: Resource packed stopped.")) << server.Output();
}

TEST(ResourceStart, ShippedExamplesServePlayersWithoutErrors) {
    CGameServer game;
    CServerProcess& server = game.m_Process;
    for (const char* file : {"greeter-js/meta.xml", "greeter-js/server.js", "greeter-lua/meta.xml", "greeter-lua/server.lua"}) {
        std::string command = std::string("cp '") + KESTRO_SOURCE_DIR + "/resources/" + file + "' '" +
                              server.PathOf(std::string("resources/") + file) + "'";
        server.WriteFile(std::string("resources/") + file, "");
        ASSERT_EQ(system(command.c_str()), 0);
    }
    ASSERT_TRUE(game.Start("<resources><resource src='greeter-lua'/></resources>", false)) << server.Output();
    EXPECT_TRUE(server.WaitForLine("greeter-js: greeter-js is running on Linux")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("greeter-lua: Hello, operator!")) << server.Output();
    EXPECT_TRUE(server.WaitForLine("1/1 Resources loaded, 0 failed")) << server.Output();

    auto pAnna = game.Player("Anna");
    auto pBen = game.Player("Ben");
    EXPECT_TRUE(server.WaitForLine("greeter-js: welcome, Ben!")) << server.Output();
    pAnna->SendChat("hi all");
    EXPECT_TRUE(server.WaitForLine("Anna: hi all")) << server.Output();
    size_t chatsBefore = pBen->CountReceived(PACKET_CHAT);
    pBen->SendCommand("roll");
    EXPECT_TRUE(pBen->WaitFor([&] { return pBen->CountReceived(PACKET_CHAT) > chatsBefore; }, CLIENT_WAIT_MS,
                              [&] { ServiceAll({pAnna.get(), pBen.get()}); }))
        << server.Output();
    EXPECT_TRUE(server.WaitForLine("greeter-lua: Ben rolled")) << server.Output();
    pAnna->SendDisconnectMessage();
    EXPECT_TRUE(server.WaitForLine("greeter-lua: Anna has left")) << server.Output();
    server.Interrupt();
    EXPECT_EQ(server.WaitForExit(), 0) << server.Output();
    EXPECT_FALSE(server.HasLine("ERROR")) << server.Output();
    EXPECT_FALSE(server.HasLine("SCRIPT ERROR")) << server.Output();
}
