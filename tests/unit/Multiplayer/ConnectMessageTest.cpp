// The connect message reader: which fields survive truncation and which nicknames count.
#include <gtest/gtest.h>
#include "Engine/Stream.h"
#include "Multiplayer/ConnectMessage.h"
#include "TestClient.h"

using namespace Ferrox3D;
using TestClient::Bytes;

namespace {
tConnectMessage Read(const Bytes& payload, size_t cut = SIZE_MAX) {
    size_t size = std::min(cut, payload.size() - 8);
    CMemoryStream stream(payload.data() + 8, size);  // the body, after the header
    tConnectMessage message;
    ReadConnectMessage(&stream, message);
    return message;
}
}  // namespace

TEST(ConnectMessage, ReadsEveryField) {
    TestClient::tConnectRequest request;
    request.m_Password = "secret";
    request.m_Nickname = "Bob";
    request.m_Version[1] = 2;
    tConnectMessage m = Read(TestClient::BuildConnect(request));
    ASSERT_TRUE(m.m_bHasGame);
    EXPECT_EQ(m.m_Protocol, 29u);
    EXPECT_EQ(m.m_Version[1], 2u);
    EXPECT_EQ(m.m_Password, "secret");
    EXPECT_EQ(m.m_Nickname, "Bob");
    EXPECT_EQ(m.m_Game, 1);
}

// Body: protocol 4, version 16, password 1 + 2, nickname length 2 + 3 bytes, game 1 = 29 bytes.
TEST(ConnectMessage, TruncationLeavesLaterFieldsAbsent) {
    TestClient::tConnectRequest request;
    request.m_Password = "pw";
    request.m_Nickname = "Bob";
    Bytes payload = TestClient::BuildConnect(request);
    struct Case { size_t cut; bool protocol, version, password, nickname, game; };
    const Case cases[] = {
        {0, false, false, false, false, false}, {3, false, false, false, false, false},
        {4, true, false, false, false, false},  {19, true, false, false, false, false},
        {20, true, true, false, false, false},  {22, true, true, false, false, false},
        {23, true, true, true, false, false},   {27, true, true, true, false, false},
        {28, true, true, true, true, false},    {29, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        tConnectMessage m = Read(payload, c.cut);
        EXPECT_EQ(m.m_bHasProtocol, c.protocol) << c.cut;
        EXPECT_EQ(m.m_bHasVersion, c.version) << c.cut;
        EXPECT_EQ(m.m_bHasPassword, c.password) << c.cut;
        EXPECT_EQ(m.m_bHasNickname, c.nickname) << c.cut;
        EXPECT_EQ(m.m_bHasGame, c.game) << c.cut;
    }
}

TEST(ConnectMessage, Nicknames) {
    struct Case { std::string bytes; int32_t lengthField; bool valid; std::string name; };
    const Case cases[] = {
        {"A", -1, true, "A"},
        {std::string(31, 'n'), -1, true, std::string(31, 'n')},
        {std::string(32, 'n'), -1, false, ""},
        {"", -1, false, ""},
        {std::string("\0abc", 4), -1, false, ""},          // first byte zero: empty
        {std::string("ab\0cd", 5), -1, true, "ab"},        // cut at the first zero
        {"tab\there", -1, false, ""},                     // control characters are refused
        {"abc", 10, false, ""},                            // length beyond what remains
    };
    for (const Case& c : cases) {
        TestClient::tConnectRequest request;
        request.m_Nickname = c.bytes;
        request.m_NicknameLength = c.lengthField;
        tConnectMessage m = Read(TestClient::BuildConnect(request));
        EXPECT_EQ(m.m_bHasNickname, c.valid) << c.bytes;
        if (c.valid)
            EXPECT_EQ(m.m_Nickname, c.name);
    }
}
