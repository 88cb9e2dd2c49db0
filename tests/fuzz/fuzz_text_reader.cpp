// Fuzzes the text reader: byte-order marks, UTF-16/32 conversion, lines and code points.
#include <cstddef>
#include <cstdint>
#include "Engine/TextReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        Ferrox3D::CMemoryStream stream(data, size);
        Ferrox3D::CTextReader reader(&stream);
        char line[16];
        size_t length;
        while (reader.ReadLine(line, sizeof(line), &length)) {
        }
    }
    Ferrox3D::CMemoryStream stream(data, size);
    Ferrox3D::CTextReader reader(&stream);
    uint32_t cp;
    while (reader.ReadCharacter(cp)) {
    }
    return 0;
}
