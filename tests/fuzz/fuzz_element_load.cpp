// Fuzzes document loading: binary chunk files (plain and compressed) and XML text.
#include <cstddef>
#include <cstdint>
#include "Engine/ElementChunk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ferrox3D::CMemoryStream stream(data, size);
    auto element = Ferrox3D::CElementChunk::Load(&stream);
    if (element) {
        element->FindElement("a");
        element->Attribute("b");
    }
    return 0;
}
