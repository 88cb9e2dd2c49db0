// Console text: reading lines from standard input, and text made safe for the terminal.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Engine/Limits.h"
#include "Engine/PrintableText.h"
#include "Server/ConsoleInput.h"

using namespace Ferrox3D;

TEST(ConsoleTextTest, InputIsCutIntoLinesAndLongPieces) {
    std::string buffer = "quit\nsay a\nunfinish";
    EXPECT_EQ(TakeConsoleLines(buffer, false), (std::vector<std::string>{"quit\n", "say a\n"}));
    EXPECT_EQ(buffer, "unfinish");
    buffer += "ed\n";
    EXPECT_EQ(TakeConsoleLines(buffer, false), (std::vector<std::string>{"unfinished\n"}));

    buffer = std::string(5000, 'x') + "\n";  // one long line: a 4095-byte piece, then the rest
    std::vector<std::string> pieces = TakeConsoleLines(buffer, false);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), CONSOLE_READ_BUFFER - 1);
    EXPECT_EQ(pieces[1], std::string(5000 - (CONSOLE_READ_BUFFER - 1), 'x') + "\n");

    buffer = std::string(CONSOLE_READ_BUFFER - 1, 'y') + "\n";  // the line feed does not fit
    pieces = TakeConsoleLines(buffer, false);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[1], "\n");

    buffer = "last words";
    EXPECT_EQ(TakeConsoleLines(buffer, true), (std::vector<std::string>{"last words"}));
}

TEST(ConsoleTextTest, ControlCharactersNeverReachTheTerminal) {
    struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain text", "plain text"},
        {"\x1b[2J\x1b]0;owned\x07", "?[2J?]0;owned?"},
        {"tab\there\r\n", "tab?here??"},
        {"del\x7f", "del?"},
        {"c1 \xc2\x9b" "31m", "c1 ?31m"},          // CSI as a UTF-8 C1 character
        {"raw \x9b" "31m", "raw ?31m"},            // a lone continuation byte
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},
        {"cut \xe2\x82", "cut ??"},
        {"overlong \xc0\x9b", "overlong ??"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakePrintable(c.in), c.out) << c.in;
}
