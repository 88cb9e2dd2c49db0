// Reading rules of configuration keys and the engine/game-level parse.
#include <gtest/gtest.h>
#include <openssl/rand.h>
#include <memory>
#include "Engine/Context.h"
#include "Engine/FileSystem.h"
#include "Engine/Password.h"
#include "Server/UrboServer.h"

namespace {

// The game-level parse reads the colour table from the built-in archive through the context.
class ServerConfiguration : public testing::Test {
protected:
    void SetUp() override {
        auto pFileSystem = std::make_unique<Ferrox3D::CFileSystem>();
        ASSERT_TRUE(pFileSystem->MountDefaultRoots());
        m_Context.SetFileSystem(std::move(pFileSystem));
    }
    Ferrox3D::Context m_Context;
};

CServerConfiguration Document(const std::string& body) {
    CServerConfiguration config;
    EXPECT_TRUE(config.Parse("<server>" + body + "</server>"));
    return config;
}

struct ParsedServer {
    CUrboServer server;
    bool ok = false;
    explicit ParsedServer(const std::string& body) {
        CServerConfiguration config = Document(body);
        ok = server.ParseConfig(config);
    }
};

}  // namespace

TEST_F(ServerConfiguration, KeyReadingRules) {
    CServerConfiguration config = Document(
        "<Port>22001</Port><port>1</port><yes>yes</yes><one>1</one><zero>0</zero><False>false</False>"
        "<True>TRUE</True><word>abc</word><neg>-7</neg><num>12abc</num><empty></empty>"
        "<f>2.5</f><long>" + std::string(100, 'x') + "</long>");
    EXPECT_EQ(config.GetIntValue("PORT", 5), 22001);  // case-insensitive, first match wins
    EXPECT_TRUE(config.GetBoolValue("yes", true));
    EXPECT_FALSE(config.GetBoolValue("yes", false));
    EXPECT_TRUE(config.GetBoolValue("one", false));
    EXPECT_FALSE(config.GetBoolValue("zero", true));
    EXPECT_FALSE(config.GetBoolValue("false", true));
    EXPECT_FALSE(config.GetBoolValue("true", false));  // "TRUE" is not "true"
    EXPECT_EQ(config.GetIntValue("word", 9), 0);        // a word reads as 0, not the default
    EXPECT_EQ(config.GetIntValue("neg", 9), -7);
    EXPECT_EQ(config.GetIntValue("num", 9), 12);
    EXPECT_EQ(config.GetIntValue("empty", 9), 9);       // no text: default
    EXPECT_EQ(config.GetIntValue("missing", 9), 9);
    EXPECT_FLOAT_EQ(config.GetFloatValue("f", 1.0f), 2.5f);
    EXPECT_EQ(config.GetShortText("long", "").size(), 63u);
    EXPECT_EQ(config.GetTextValue("long", "").size(), 100u);
}

TEST_F(ServerConfiguration, LoadResults) {
    CServerConfiguration config;
    EXPECT_EQ(config.LoadFile("/nonexistent/server.xml"), CServerConfiguration::LOAD_MISSING);
    EXPECT_FALSE(config.Parse("<server><a></server>"));
    EXPECT_FALSE(config.Parse(""));
    EXPECT_FALSE(config.Parse("just text"));
    EXPECT_TRUE(config.Parse("<x/>"));
}

TEST_F(ServerConfiguration, RootOnlyGivesDefaults) {
    ParsedServer parsed("");
    ASSERT_TRUE(parsed.ok);
    const CUrboServer& s = parsed.server;
    EXPECT_EQ(s.m_usPort, 22000);
    EXPECT_EQ(s.m_usHTTPPort, 22000);
    EXPECT_EQ(s.m_usRConPort, 23000);
    EXPECT_EQ(s.m_MaxPlayers, 32);
    EXPECT_TRUE(s.m_Password.empty());
    EXPECT_FALSE(s.m_bServerBrowser);
    EXPECT_TRUE(s.m_bHTTPServer);
    EXPECT_FALSE(s.m_bRCon);
    EXPECT_EQ(s.m_GameId, GAME_URBO_A);
    EXPECT_EQ(s.m_SyncMethod, SYNC_METHOD_INTERVAL);
    EXPECT_EQ(s.m_SyncPacketPriority, 3);
    EXPECT_EQ(s.m_usStreamInterval, 1000);
    EXPECT_FLOAT_EQ(s.m_fMinuteDuration, 1.0f);
    EXPECT_FALSE(s.m_bNativeMultiplayer);
    EXPECT_EQ(s.m_MinClientVersion[0], 1);
}

TEST_F(ServerConfiguration, WordsAndVersions) {
    struct Case {
        const char* body;
        int syncMethod;
        int priority;
    };
    const Case cases[] = {
        {"<syncmethod>REPLAY</syncmethod>", SYNC_METHOD_REPLAY, 3},
        {"<syncmethod>none</syncmethod><syncpacketpriority>High</syncpacketpriority>", SYNC_METHOD_NONE, 1},
        {"<syncmethod>often</syncmethod><syncpacketpriority>urgent</syncpacketpriority>", SYNC_METHOD_INTERVAL, 3},
        {"<syncpacketpriority>immediate</syncpacketpriority>", SYNC_METHOD_INTERVAL, 0},
    };
    for (const Case& c : cases) {
        ParsedServer parsed(c.body);
        ASSERT_TRUE(parsed.ok) << c.body;
        EXPECT_EQ(parsed.server.m_SyncMethod, c.syncMethod) << c.body;
        EXPECT_EQ(parsed.server.m_SyncPacketPriority, c.priority) << c.body;
    }
    ParsedServer version("<minclientversion>1.2.3.4</minclientversion><httpserver>yes</httpserver>");
    EXPECT_EQ(version.server.m_MinClientVersion[3], 4);
    EXPECT_TRUE(version.server.m_bHTTPServer);  // "yes" keeps the default
    ParsedServer partial("<minclientversion>2.5</minclientversion><httpserver>0</httpserver>");
    EXPECT_EQ(partial.server.m_MinClientVersion[0], 2);
    EXPECT_EQ(partial.server.m_MinClientVersion[1], 5);
    EXPECT_EQ(partial.server.m_MinClientVersion[2], 0);
    EXPECT_FALSE(partial.server.m_bHTTPServer);
    ParsedServer word("<port>abc</port>");
    EXPECT_EQ(word.server.m_usPort, 0);
}

TEST_F(ServerConfiguration, FatalChecks) {
    struct Case {
        std::string body;
        bool ok;
    };
    const Case cases[] = {
        {"<maxplayers>0</maxplayers>", false},   {"<maxplayers>x</maxplayers>", false},
        {"<maxplayers>-1</maxplayers>", false},  {"<maxplayers>128</maxplayers>", false},
        {"<maxplayers>127</maxplayers>", true},  {"<maxplayers>1</maxplayers>", true},
        {"<rcon>true</rcon><rconport>22000</rconport>", false},
        {"<rcon>1</rcon><rconport>1000</rconport><httpport>1000</httpport>", false},
        {"<rcon>true</rcon>", true},             {"<rconport>22000</rconport>", true},
        {"<streaminterval>499</streaminterval>", false}, {"<streaminterval>500</streaminterval>", true},
        {"<streaminterval>5000</streaminterval>", true}, {"<streaminterval>5001</streaminterval>", false},
        {"<game>TORNO</game>", false},           {"<game>urbo:x</game>", false},
        {"<game>URBO:B</game>", true},           {"<game>urbo:d</game>", true},
    };
    for (const Case& c : cases) {
        ParsedServer parsed(c.body);
        EXPECT_EQ(parsed.ok, c.ok) << c.body;
    }
    ParsedServer torno("<game>Torno</game>");
    EXPECT_EQ(torno.server.m_GameId, GAME_TORNO);
    ParsedServer d("<game>urbo:d</game><dx_nativemultiplayer>false</dx_nativemultiplayer>");
    EXPECT_FALSE(d.server.m_bNativeMultiplayer);
    ParsedServer d2("<game>urbo:d</game>");
    EXPECT_TRUE(d2.server.m_bNativeMultiplayer);
    EXPECT_FLOAT_EQ(d2.server.m_fMinuteDuration, 2.0f);
}

TEST_F(ServerConfiguration, ListsCVarsAndRules) {
    ParsedServer parsed(
        "<resources><note/><resource src=\"a\"/><other src=\"b\"/><resource/><resource src=\"c\" privileged=\"1\"/>"
        "</resources>"
        "<modules><module src=\"m.so\"/></modules>"
        "<cvar name=\"Gravity\" value=\"1\"/><CVAR name=\"gravity\" value=\"2\"/><cvar value=\"x\"/><cvar name=\"n\"/>"
        "<rule name=\"Mode\" value=\"dm\"/><rule name=\"mode\" value=\"x\"/><rule name=\"Mode\" value=\"tdm\"/>"
        "<rule value=\"v\"/>");
    ASSERT_TRUE(parsed.ok);
    const CUrboServer& s = parsed.server;
    EXPECT_EQ(s.m_ResourceStartList, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(s.m_ModuleList, (std::vector<std::string>{"m.so"}));
    ASSERT_NE(s.GetCVar("GRAVITY"), nullptr);
    EXPECT_EQ(s.GetCVar("GRAVITY")->m_Value, "2");  // the later value of the same folded name wins
    EXPECT_EQ(s.GetCVar("n"), nullptr);
    EXPECT_EQ(s.m_ConfigVariables.size(), 1u);
    ASSERT_EQ(s.m_Rules.size(), 2u);
    EXPECT_EQ(s.m_Rules[0], (std::pair<std::string, std::string>{"Mode", "tdm"}));
    EXPECT_EQ(s.m_Rules[1], (std::pair<std::string, std::string>{"mode", "x"}));
}

TEST_F(ServerConfiguration, PasswordsAreKeptOnlyAsRecords) {
    ParsedServer parsed("<password>secret</password><rconpassword>ignored</rconpassword>");
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.server.m_Password.substr(0, 8), "b$2a$10$");
    EXPECT_EQ(parsed.server.m_Password.size(), 61u);
    EXPECT_EQ(parsed.server.m_Password.find("secret"), std::string::npos);
    EXPECT_TRUE(Ferrox3D::VerifyPassword("secret", parsed.server.m_Password.c_str()));
    EXPECT_FALSE(Ferrox3D::VerifyPassword("Secret", parsed.server.m_Password.c_str()));
    EXPECT_TRUE(parsed.server.m_RConPassword.empty());  // read only with rcon on

    ParsedServer rcon("<rcon>true</rcon><rconpassword>admin</rconpassword><password></password>");
    ASSERT_TRUE(rcon.ok);
    EXPECT_TRUE(Ferrox3D::VerifyPassword("admin", rcon.server.m_RConPassword.c_str()));
    EXPECT_TRUE(rcon.server.m_Password.empty());
}

namespace {
// A random source that always fails, to stand for a broken cryptographic source.
int FailingBytes(unsigned char*, int) { return 0; }
int FailingStatus() { return 0; }
}  // namespace

TEST_F(ServerConfiguration, NoSecureRandomBytesRefusesToStart) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    RAND_METHOD failing{};
    failing.bytes = FailingBytes;
    failing.status = FailingStatus;
    const RAND_METHOD* pDefault = RAND_get_rand_method();
    ASSERT_EQ(RAND_set_rand_method(&failing), 1);
    ParsedServer parsed("<password>secret</password>");
    ParsedServer none("<password></password>");
    RAND_set_rand_method(pDefault);
#pragma GCC diagnostic pop
    EXPECT_FALSE(parsed.ok);
    EXPECT_TRUE(parsed.server.m_Password.empty());
    EXPECT_TRUE(none.ok);  // no password needs no salt
}
