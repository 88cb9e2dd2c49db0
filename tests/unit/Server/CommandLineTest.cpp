// Command-line options: case, values, refusals and the player clamp.
#include <gtest/gtest.h>
#include "Server/BaseServer.h"
#include "Server/CommandLine.h"

TEST(CommandLine, OptionsAndValues) {
    tCommandLine line = ParseCommandLine(std::vector<std::string>{
        "-NoInput", "-dumpdoc", "-config", "x.xml", "-httpport", "80", "-rconport", "81", "-bindip",
        std::string(80, '1'), "unknown", "-multithreaded", "-disablemultithreaded", "-maxplayers", "12"});
    EXPECT_TRUE(line.noInput);
    EXPECT_TRUE(line.dumpDoc);
    EXPECT_EQ(line.configPath, "x.xml");
    EXPECT_EQ(line.httpPort, 80);
    EXPECT_EQ(line.rconPort, 81);
    EXPECT_EQ(line.bindIP->size(), 63u);
    EXPECT_EQ(line.multithreaded, false);  // the later option wins
    EXPECT_EQ(line.maxPlayers, 12);
    EXPECT_FALSE(line.port);
}

TEST(CommandLine, BadValuesAreRefusedOrClamped) {
    struct Case {
        std::vector<std::string> args;
        std::optional<uint16_t> port;
        std::optional<int> maxPlayers;
    };
    const Case cases[] = {
        {{"-port"}, std::nullopt, std::nullopt},               // last argument: no effect
        {{"-port", "abc"}, std::nullopt, std::nullopt},        // not a number: warned, ignored
        {{"-port", "70000"}, std::nullopt, std::nullopt},
        {{"-port", "-1"}, std::nullopt, std::nullopt},
        {{"-port", "22003"}, 22003, std::nullopt},
        {{"-maxplayers", "500"}, std::nullopt, 255},            // clamped to the slot table
        {{"-maxplayers", "255"}, std::nullopt, 255},
        {{"-maxplayers", "-3"}, std::nullopt, std::nullopt},
        {{"-maxplayers", "ten"}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        tCommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.port, c.port) << c.args.back();
        EXPECT_EQ(line.maxPlayers, c.maxPlayers) << c.args.back();
    }
}

TEST(CommandLine, OverridesApplyAfterTheParse) {
    CBaseServer server;
    server.m_usPort = 1;
    server.m_MaxPlayers = 3;
    server.ApplyCommandLine(ParseCommandLine(std::vector<std::string>{"-maxplayers", "200", "-multithreaded"}));
    EXPECT_EQ(server.m_usPort, 1);
    EXPECT_EQ(server.m_MaxPlayers, 200);  // not checked against the configuration's limit
    EXPECT_TRUE(server.m_bMultithreaded);
}
