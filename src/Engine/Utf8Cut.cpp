// Cutting UTF-8 text to a byte limit without splitting a character.
#include "Engine/Utf8Cut.h"

namespace Ferrox3D {
namespace {
bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Bytes a lead byte announces, 1 for anything that does not start a multi-byte character.
size_t SequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}
}  // namespace

size_t Utf8PrefixLength(const char* text, size_t length, size_t limit) {
    if (length <= limit)
        return length;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (!IsContinuation(bytes[limit]))
        return limit;
    // The cut falls inside a run of continuation bytes: find its lead byte (at most 3 back).
    size_t start = limit;
    while (start > 0 && limit - start < 3 && IsContinuation(bytes[start]))
        --start;
    if (IsContinuation(bytes[start]) || start + SequenceLength(bytes[start]) <= limit)
        return limit;  // stray continuation bytes, not a character cut in two
    return start;
}

}  // namespace Ferrox3D
