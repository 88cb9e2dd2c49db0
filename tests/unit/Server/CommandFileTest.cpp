// "/commandline.txt": complete lines only, carriage returns dropped, NUL ends, long lines skipped.
#include <gtest/gtest.h>
#include "Server/CommandFile.h"

using Lines = std::vector<std::string>;

namespace {
Lines Read(const std::string& bytes) {
    Ferrox3D::CMemoryStream stream(bytes.data(), bytes.size());
    return ReadCommandFileLines(&stream);
}
}  // namespace

TEST(CommandFile, Lines) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"complete lines only", "/start a\nsay hi\n/stop", {"/start a", "say hi"}},
        {"carriage returns dropped", "/a\r\n\r\n/b\r\n", {"/a", "", "/b"}},
        {"byte-order mark", "\xEF\xBB\xBF/a\n", {"/a"}},
        {"NUL ends reading", std::string("/a\n/b\0/c\n", 9), {"/a"}},
        {"above 255 becomes ?", "/say \xC3\xA9\xE2\x82\xAC\n", {"/say \xE9?"}},
        {"UTF-16", std::string("\xFF\xFE/\0a\0\n\0", 8), {"/a"}},
        {"254 bytes plus line feed run", std::string(254, 'x') + "\n", {std::string(254, 'x')}},
        {"255 bytes plus line feed skipped", std::string(255, 'x') + "\n/ok\n", {"/ok"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.bytes), c.lines) << c.name;
}
