// The TAR archive of game data built into the executable (made from data/ at build time).
#pragma once
#include <cstddef>
#include <cstdint>

namespace Ferrox3D {

struct tBuiltinArchive {
    const uint8_t* m_pData;
    size_t m_Size;
};

tBuiltinArchive GetBuiltinArchive();

}  // namespace Ferrox3D
