// MD5 (RFC 1321 suite) and SHA-256 (FIPS 180-4 examples), and the client file hash name.
#include <gtest/gtest.h>
#include <string>
#include "Engine/Hashes.h"
#include "Engine/Stream.h"

using namespace Ferrox3D;

namespace {
std::string MD5Hex(const std::string& text) {
    CMD5Hash md5;
    md5.Add(text.data(), text.size());
    uint8_t digest[CMD5Hash::DIGEST_SIZE];
    EXPECT_TRUE(md5.Finish(digest));
    return ToHex(digest, sizeof(digest));
}

std::string SHAHex(const std::string& text) {
    CSHA256 sha;
    sha.Add(text.data(), text.size());
    uint8_t digest[CSHA256::DIGEST_SIZE];
    EXPECT_TRUE(sha.Finish(digest));
    return ToHex(digest, sizeof(digest));
}
}  // namespace

TEST(Hashes, MD5TestSuite) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [text, hex] : cases)
        EXPECT_EQ(MD5Hex(text), hex) << text;
}

TEST(Hashes, SHA256Examples) {
    EXPECT_EQ(SHAHex(""), "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    EXPECT_EQ(SHAHex("abc"), "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(SHAHex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
}

TEST(Hashes, ClientFileHashNameFoldsCase) {
    EXPECT_EQ(ClientFileHashName("ABC"), SHAHex("abc"));
    EXPECT_EQ(ClientFileHashName("Scripts/Main.JS"), ClientFileHashName("scripts/main.js"));
    EXPECT_NE(ClientFileHashName("\xC3\x84"), ClientFileHashName("\xC3\xA4"));  // only ASCII folds
    EXPECT_EQ(ClientFileHashName("x").size(), 64u);
}

TEST(Hashes, MD5OfStreamFromItsPosition) {
    const std::string text = "skip:" + std::string(5000, 'q');
    CMemoryStream stream(text.data(), text.size());
    stream.Seek(5, SEEK_ORIGIN_START);
    uint8_t digest[CMD5Hash::DIGEST_SIZE];
    ASSERT_TRUE(MD5OfStream(&stream, digest));
    EXPECT_EQ(ToHex(digest, sizeof(digest)), MD5Hex(std::string(5000, 'q')));
}
