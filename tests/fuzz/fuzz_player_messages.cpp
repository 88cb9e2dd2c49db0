// Fuzzes the chat, command, network-event and key message readers; the first byte picks the reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include "Multiplayer/PlayerMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    Ferrox3D::CMemoryStream body(data + 1, size - 1);
    switch (data[0] % 4) {
    case 0: {
        std::string text;
        ReadChatMessage(&body, text);
        break;
    }
    case 1: {
        tCommandMessage message;
        ReadCommandMessage(&body, message);
        break;
    }
    case 2: {
        std::string name;
        Ferrox3D::CArgumentArray arguments;
        ReadNetworkEventMessage(&body, nullptr, name, arguments);
        break;
    }
    default: {
        Ferrox3D::tKeyEventMessage message;
        ReadKeyEventMessage(&body, message);
        break;
    }
    }
    return 0;
}
