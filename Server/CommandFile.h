// The start-up command file "/commandline.txt": its text decoded into the lines that run.
#pragma once
#include <string>
#include <vector>

struct tCommandFileLine {
    int m_Number;       // 1-based line number in the file
    std::string m_Text;  // without its line feed
};

// UTF-8 text (a byte-order mark skipped) up to the first NUL; carriage returns dropped; characters
// above 255 (and malformed bytes) become '?', the others one byte each. Only lines that end in a
// line feed are returned.
std::vector<tCommandFileLine> DecodeCommandFile(const std::string& bytes);
