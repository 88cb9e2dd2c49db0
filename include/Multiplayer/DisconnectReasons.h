// Reason codes carried by ENet disconnects and passed to OnPlayerQuit.
#pragma once
#include <cstdint>

enum eDisconnectReason : uint32_t {
    DISCONNECT_NONE = 0,  // time-out, or a disconnect the server started itself
    DISCONNECT_SERVER_FULL = 1,
    DISCONNECT_UNSUPPORTED_CLIENT = 2,
    DISCONNECT_WRONG_GAME = 3,
    DISCONNECT_WRONG_PASSWORD = 4,
    DISCONNECT_CLIENT_QUIT = 6,
    DISCONNECT_BANNED = 7,
    DISCONNECT_BAD_ADDRESS = 8,
    DISCONNECT_INVALID_NICKNAME = 9,
    DISCONNECT_NICKNAME_IN_USE = 12,
    DISCONNECT_KICKED = 13,
    DISCONNECT_CRC_CHECK_FAILED = 14,
};
