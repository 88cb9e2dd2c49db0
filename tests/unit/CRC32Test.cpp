// Name keys: check value, case folding, NUL handling.
#include <gtest/gtest.h>
#include "Engine/CRC32.h"
#include "Engine/Stream.h"

using namespace Ferrox3D;

TEST(CRC32, KeysOfNames) {
    EXPECT_EQ(NameKey("123456789", false), 0xCBF43926u);
    EXPECT_EQ(NameKey("", true), 0u);
    EXPECT_EQ(NameKey(nullptr, true), 0u);
    EXPECT_EQ(NameKey("OnPlayerJoin", true), NameKey("onplayerjoin", true));
    EXPECT_NE(NameKey("OnPlayerJoin", false), NameKey("onplayerjoin", false));
    EXPECT_NE(NameKey("\xC3\x84", true), NameKey("\xC3\xA4", true));  // bytes above 0x7F never fold
    CRC32Hash withNul;
    withNul.AddUTF8String("ab\0cd", 5, false);
    EXPECT_EQ(withNul.GetValue(), NameKey("ab", false));
}

TEST(CRC32, StreamChecksumFromPosition) {
    const char text[] = "xx123456789";
    CMemoryStream s(text, 11);
    s.Seek(2, SEEK_ORIGIN_START);
    EXPECT_EQ(CRC32Hash::GetHash(&s), 0xCBF43926u);
}
