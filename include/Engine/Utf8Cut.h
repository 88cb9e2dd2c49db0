// Cutting UTF-8 text to a byte limit without splitting a character.
#pragma once
#include <cstddef>

namespace Ferrox3D {

// The length of the longest prefix of at most `limit` bytes that ends on a character boundary.
// Bytes that are not well-formed UTF-8 are treated as single characters.
size_t Utf8PrefixLength(const char* text, size_t length, size_t limit);

}  // namespace Ferrox3D
