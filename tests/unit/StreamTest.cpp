// Streams, binary encodings and packet framing.
#include <gtest/gtest.h>
#include <vector>
#include "Engine/BinaryIO.h"
#include "Engine/Stream.h"
#include "Network/Packet.h"

using namespace Ferrox3D;

namespace {
std::vector<uint8_t> Bytes(CUnlimitedStream& s) { return {s.GetData(), s.GetData() + s.GetLength()}; }
}  // namespace

TEST(BinaryIO, StringEncodings) {
    struct Case { size_t length; std::vector<uint8_t> prefix; };
    const Case cases[] = {{0, {0x00}}, {3, {0x03}}, {200, {0xC8, 0x01}}, {16384, {0x80, 0x80, 0x01}}};
    for (const Case& c : cases) {
        CUnlimitedStream s;
        CBinaryWriter(&s).WriteString(std::string(c.length, 'a'));
        auto bytes = Bytes(s);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;
        s.Seek(0, SEEK_ORIGIN_START);
        std::string back;
        ASSERT_TRUE(CBinaryReader(&s).ReadString(back));
        EXPECT_EQ(back.size(), c.length);
    }
}

TEST(BinaryIO, MalformedStringsFail) {
    const std::vector<std::vector<uint8_t>> inputs = {
        {0x80, 0x80, 0x80, 0x80, 0x80},  // sixth length byte
        {0x05, 'a', 'b'},                // shorter than announced
        {0xFF, 0xFF, 0xFF, 0xFF, 0x0F},  // 4 GiB announced, nothing there
        {},
    };
    for (const auto& in : inputs) {
        CMemoryStream s(in.data(), in.size());
        std::string out = "untouched";
        EXPECT_FALSE(CBinaryReader(&s).ReadString(out));
        EXPECT_EQ(out, "untouched");
    }
}

TEST(Packet, HeaderAndGrowth) {
    Packet p(6);
    EXPECT_EQ(Bytes(p), (std::vector<uint8_t>{0x02, 0x34, 0x57, 0x4B, 0x06, 0, 0, 0}));
    std::vector<uint8_t> body(300, 1);
    Packet big(1);
    big.Seek(0, SEEK_ORIGIN_START);
    big.Write(body.data(), body.size());
    EXPECT_EQ(big.GetCapacity(), 512u);
    Packet far(1);
    far.Seek(1024, SEEK_ORIGIN_START);
    uint8_t one = 7;
    far.Write(&one, 1);
    EXPECT_EQ(far.GetCapacity(), 2048u);
    EXPECT_EQ(far.GetLength(), 1025u);
    EXPECT_EQ(far.GetData()[1000], 0);  // the gap is zero-filled
}

TEST(MemoryStream, WriteNeverPartial) {
    uint8_t buffer[100] = {};
    CMemoryStream s(buffer, sizeof(buffer), CMemoryStream::MODE_READ | CMemoryStream::MODE_WRITE);
    uint8_t ten[10] = {};
    s.Seek(95, SEEK_ORIGIN_START);
    EXPECT_EQ(s.Write(ten, 10), 0u);
    s.Seek(200, SEEK_ORIGIN_START);
    EXPECT_EQ(s.Read(ten, 1), 0u);
    EXPECT_FALSE(s.Seek(-1, SEEK_ORIGIN_START));
}
