// Decoding of "/commandline.txt" into command lines.
#include "Server/CommandFile.h"
#include <cstdint>

namespace {

// The code point at bytes[i] (advancing i); a malformed sequence reads as '?' and one byte.
uint32_t NextCodePoint(const std::string& bytes, size_t& i) {
    auto byteAt = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
    uint8_t lead = byteAt(i);
    size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) {
        ++i;
        return '?';
    }
    uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byteAt(i + k) & 0xC0) != 0x80) {
            ++i;
            return '?';
        }
        codePoint = (codePoint << 6) | (byteAt(i + k) & 0x3F);
    }
    i += length;
    return codePoint;
}

}  // namespace

std::vector<tCommandFileLine> DecodeCommandFile(const std::string& bytes) {
    std::vector<tCommandFileLine> lines;
    std::string current;
    int number = 1;
    size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (i < bytes.size()) {
        uint32_t codePoint = NextCodePoint(bytes, i);
        if (codePoint == 0)
            break;
        if (codePoint == '\r')
            continue;
        if (codePoint == '\n') {
            lines.push_back({number++, current});
            current.clear();
            continue;
        }
        current.push_back(codePoint > 255 ? '?' : static_cast<char>(codePoint));
    }
    return lines;
}
