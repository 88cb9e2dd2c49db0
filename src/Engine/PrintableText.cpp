// Replacement of control characters and malformed UTF-8 in text bound for the console.
#include "Engine/PrintableText.h"
#include <cstdint>

namespace Ferrox3D {

namespace {

// Length of the well-formed UTF-8 sequence at p (1 to 4), or 0 when it is malformed.
size_t SequenceLength(const uint8_t* p, size_t remaining, uint32_t& codePoint) {
    uint8_t lead = p[0];
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (length > remaining)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool IsControl(uint32_t codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

}  // namespace

std::string MakePrintable(const char* text, size_t length) {
    std::string out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    size_t i = 0;
    while (i < length) {
        uint32_t codePoint = 0;
        size_t sequence = SequenceLength(p + i, length - i, codePoint);
        if (sequence == 0 || IsControl(codePoint)) {
            out.push_back('?');
            i += sequence ? sequence : 1;
            continue;
        }
        out.append(text + i, sequence);
        i += sequence;
    }
    return out;
}

}  // namespace Ferrox3D
