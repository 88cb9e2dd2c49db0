// Readers of chat, command, network-event and key messages: every length checked, short bodies refused.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "Multiplayer/PlayerMessages.h"

using namespace Ferrox3D;

namespace {

using Bytes = std::vector<uint8_t>;

struct CBody {
    CUnlimitedStream m_Stream;
    CBinaryWriter m_Writer{&m_Stream};
    CBody& U8(uint8_t v) { return m_Writer.WriteUInt8(v), *this; }
    CBody& U16(uint16_t v) { return m_Writer.WriteUInt16(v), *this; }
    CBody& U32(uint32_t v) { return m_Writer.WriteUInt32(v), *this; }
    CBody& Text(const std::string& s) { return m_Writer.WriteBytes(s.data(), s.size()), *this; }
    CBody& Counted(const std::string& s) { return U32(static_cast<uint32_t>(s.size())).Text(s); }
    CMemoryStream Reader() { return CMemoryStream(m_Stream.GetData(), static_cast<size_t>(m_Stream.GetLength())); }
};

TEST(PlayerMessagesTest, ChatLengthsAndTerminators) {
    struct {
        const char* name;
        uint32_t declared;
        std::string bytes;
        bool ok;
        std::string text;
    } cases[] = {
        {"empty", 0, "", false, ""},
        {"one byte", 1, "a", true, "a"},
        {"largest", MAX_CHAT_LENGTH, std::string(MAX_CHAT_LENGTH, 'b'), true, std::string(MAX_CHAT_LENGTH, 'b')},
        {"too long", MAX_CHAT_LENGTH + 1, std::string(MAX_CHAT_LENGTH + 1, 'c'), false, ""},
        {"shorter than declared", 10, "abc", false, ""},
        {"leading NUL", 3, std::string("\0ab", 3), false, ""},
        {"inner NUL ends the text", 5, std::string("hi\0yo", 5), true, "hi"},
    };
    for (const auto& c : cases) {
        CBody body;
        body.U32(c.declared).Text(c.bytes);
        CMemoryStream in = body.Reader();
        std::string text;
        EXPECT_EQ(ReadChatMessage(&in, text), c.ok) << c.name;
        if (c.ok)
            EXPECT_EQ(text, c.text) << c.name;
    }
    CMemoryStream nothing(nullptr, 0);
    std::string text;
    EXPECT_FALSE(ReadChatMessage(&nothing, text));
}

TEST(PlayerMessagesTest, CommandFieldsAreCheckedOneByOne) {
    auto read = [](CBody& body, tCommandMessage& message) {
        CMemoryStream in = body.Reader();
        return ReadCommandMessage(&in, message);
    };
    tCommandMessage message;
    CBody full;
    full.Counted("kick").Counted("bob");
    ASSERT_TRUE(read(full, message));
    EXPECT_EQ(message.m_Command, "kick");
    EXPECT_EQ(message.m_Parameters, "bob");
    CBody noParameters;
    noParameters.Counted("kick").U32(0);
    EXPECT_TRUE(read(noParameters, message));
    EXPECT_EQ(message.m_Parameters, "");

    CBody emptyCommand, missingParameters, shortParameters, hugeParameters;
    emptyCommand.U32(0).Counted("x");
    missingParameters.Counted("kick");
    shortParameters.Counted("kick").U32(4).Text("ab");
    hugeParameters.Counted("kick").U32(MAX_COMMAND_LENGTH + 1).Text(std::string(MAX_COMMAND_LENGTH + 1, 'p'));
    for (CBody* pBad : {&emptyCommand, &missingParameters, &shortParameters, &hugeParameters})
        EXPECT_FALSE(read(*pBad, message));
}

TEST(PlayerMessagesTest, KeyMessageNeedsAllFifteenBytes) {
    CBody body;
    body.U8(0x03).U32(44).U32(70).U16(0x0201).U32(2);
    const uint8_t* pData = body.m_Stream.GetData();
    for (size_t length = 0; length < 15; ++length) {
        CMemoryStream shortIn(pData, length);
        tKeyEventMessage message;
        EXPECT_FALSE(ReadKeyEventMessage(&shortIn, message)) << length;
    }
    CMemoryStream in(pData, 15);
    tKeyEventMessage message;
    ASSERT_TRUE(ReadKeyEventMessage(&in, message));
    EXPECT_TRUE(message.m_bDown);
    EXPECT_EQ(message.m_ScanCode, 44u);
    EXPECT_EQ(message.m_KeyCode, 70u);
    EXPECT_EQ(message.m_Modifiers, 0x0201);
    EXPECT_EQ(message.m_RepeatCount, 2);
}

TEST(PlayerMessagesTest, NetworkEventRoundTripAndBadInput) {
    CArgumentArray sent;
    sent.AddString("text");
    sent.AddNumber(-5);
    sent.AddNumber(2.5);
    auto* pInner = new CArgumentArray;
    pInner->AddBoolean(true);
    sent.AddAndOwn(pInner);
    Packet packet(PACKET_NETWORK_EVENT);
    ASSERT_TRUE(WriteNetworkEventMessage(packet, "Hello", sent));
    CMemoryStream in(packet.GetBytes(), packet.GetSize());
    in.Seek(PACKET_HEADER_SIZE, SEEK_ORIGIN_START);
    std::string name;
    CArgumentArray received;
    ASSERT_EQ(ReadNetworkEventMessage(&in, nullptr, name, received), NETWORK_EVENT_OK);
    EXPECT_EQ(name, "Hello");
    ASSERT_EQ(received.GetArrayCount(), 4u);
    EXPECT_STREQ(received.GetAt(0)->ToString(), "text");

    // Arrays nested past the value reader's limit: the name is known, the values are refused.
    CBody deep;
    deep.U8(2).Text("ev");
    for (int i = 0; i < MAX_VALUE_DEPTH + 2; ++i)
        deep.U8(1).U8(ARGUMENT_ARRAY);
    deep.U8(0);
    CMemoryStream deepIn = deep.Reader();
    EXPECT_EQ(ReadNetworkEventMessage(&deepIn, nullptr, name, received), NETWORK_EVENT_BAD_ARGUMENTS);
    EXPECT_EQ(name, "ev");
    EXPECT_EQ(received.GetArrayCount(), 0u);

    CBody badName;
    badName.U8(50).Text("short");
    CMemoryStream badNameIn = badName.Reader();
    EXPECT_EQ(ReadNetworkEventMessage(&badNameIn, nullptr, name, received), NETWORK_EVENT_BAD_NAME);
}

}  // namespace
