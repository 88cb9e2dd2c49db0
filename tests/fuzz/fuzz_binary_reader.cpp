// Fuzzes the binary reader: varints, strings and fixed-width values over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include "Engine/BinaryIO.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ferrox3D::CMemoryStream stream(data, size);
    Ferrox3D::CBinaryReader reader(&stream);
    for (int i = 0; i < 64 && reader.Remaining() > 0; ++i) {
        uint8_t selector;
        if (!reader.ReadUInt8(selector))
            break;
        std::string text;
        uint32_t u32;
        double d;
        switch (selector % 3) {
        case 0: reader.ReadString(text, 4096); break;
        case 1: reader.ReadVarint(u32); break;
        default: reader.ReadDouble(d); break;
        }
    }
    return 0;
}
