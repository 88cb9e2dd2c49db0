// Fuzzes the reception framing and the connect message reader over arbitrary payloads.
#include <cstddef>
#include <cstdint>
#include "Multiplayer/ConnectMessage.h"
#include "Network/NetCompatibilityShim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Ferrox3D::CMemoryStream framed(data, size);
    uint32_t id;
    if (ReadPacketHeader(&framed, id)) {
        tConnectMessage message;
        ReadConnectMessage(&framed, message);
    }
    Ferrox3D::CMemoryStream bare(data, size);  // the body alone, without a header in front
    tConnectMessage message;
    ReadConnectMessage(&bare, message);
    return 0;
}
