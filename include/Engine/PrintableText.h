// Text from peers made safe for the console: no control characters, no broken UTF-8.
#pragma once
#include <cstddef>
#include <string>

namespace Ferrox3D {

// A copy in which every C0 or C1 control character, DEL and every byte that is not part of a
// well-formed UTF-8 sequence is replaced by '?', so a peer cannot drive the operator's terminal.
std::string MakePrintable(const char* text, size_t length);
inline std::string MakePrintable(const std::string& text) { return MakePrintable(text.data(), text.size()); }

}  // namespace Ferrox3D
