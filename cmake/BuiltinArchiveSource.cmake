# Turns the built-in TAR archive (IN) into a C++ byte array with its accessor (OUT).
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUT}.tmp
"// Generated at build time from data/; do not edit.
#include \"Engine/BuiltinArchive.h\"

namespace Ferrox3D {
namespace {
alignas(16) const uint8_t g_BuiltinArchive[] = {${bytes}};
}  // namespace

tBuiltinArchive GetBuiltinArchive() { return {g_BuiltinArchive, sizeof(g_BuiltinArchive)}; }

}  // namespace Ferrox3D
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
