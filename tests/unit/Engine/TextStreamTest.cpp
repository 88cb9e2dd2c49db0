// Text reader (marks, lines, code points) and text writer (byte-order mark once).
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Engine/TextReader.h"
#include "Engine/TextWriter.h"

using namespace Ferrox3D;

namespace {
std::vector<std::string> Lines(const std::string& bytes, size_t capacity = 128) {
    CMemoryStream stream(bytes.data(), bytes.size());
    CTextReader reader(&stream);
    std::vector<std::string> lines;
    std::vector<char> buffer(capacity);
    size_t length = 99;
    while (reader.ReadLine(buffer.data(), buffer.size(), &length)) {
        EXPECT_EQ(length, strlen(buffer.data()));
        lines.emplace_back(buffer.data(), length);
    }
    return lines;
}
using L = std::vector<std::string>;
}  // namespace

TEST(TextReader, Lines) {
    const struct {
        const char* name;
        std::string bytes;
        L lines;
    } cases[] = {
        {"mark, CR LF, last line without feed", "\xEF\xBB\xBF" "a\r\nb", {"a", "b"}},
        {"no mark", "one\ntwo\n", {"one", "two"}},
        {"empty lines kept", "\n\nx", {"", "", "x"}},
        {"empty text", "", {}},
        {"lone CR stays in the line", "a\rb\n", {"a\rb"}},
        {"UTF-16LE converted", std::string("\xFF\xFE" "h\0i\0\n\0\xE4\0", 10), {"hi", "\xC3\xA4"}},
        {"UTF-16BE converted", std::string("\xFE\xFF\0h\xD8\x3D\xDE\x00", 8), {"h\xF0\x9F\x98\x80"}},
        {"UTF-32BE converted", std::string("\0\0\xFE\xFF\0\0\0x", 8), {"x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(c.bytes), c.lines) << c.name;
}

TEST(TextReader, LongLineIsCutAndItsRestSkipped) {
    EXPECT_EQ(Lines(std::string(300, 'x') + "\nnext\n", 8), (L{"xxxxxxx", "next"}));
}

TEST(TextReader, Characters) {
    const std::string text = "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\x80Z";
    CMemoryStream stream(text.data(), text.size());
    CTextReader reader(&stream);
    std::vector<uint32_t> got;
    uint32_t cp;
    while (reader.ReadCharacter(cp))
        got.push_back(cp);
    EXPECT_EQ(got, (std::vector<uint32_t>{'A', 0xE4, 0x20AC, 0x1F600, 0xFFFD, 'Z'}));
}

TEST(TextReader, BrokenSequenceEndsTheText) {
    for (const std::string& text : {std::string("a\xC3"), std::string("a\xE2\x41\x42")}) {
        CMemoryStream stream(text.data(), text.size());
        CTextReader reader(&stream);
        uint32_t cp;
        EXPECT_TRUE(reader.ReadCharacter(cp));
        EXPECT_FALSE(reader.ReadCharacter(cp));
    }
}

TEST(TextWriter, MarkOnlyAtTheStartOfAnEmptyStream) {
    CUnlimitedStream stream;
    CTextWriter writer(&stream);
    EXPECT_EQ(writer.Write("ab"), 2u);
    EXPECT_EQ(writer.Print("%d-%s", 7, "x"), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.GetData()), stream.GetLength()),
              "\xEF\xBB\xBF" "ab7-x");
}
