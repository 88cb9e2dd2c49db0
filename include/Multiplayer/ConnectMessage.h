// Reading a client's connect message field by field, each length checked before it is used.
#pragma once
#include <cstdint>
#include <string>
#include "Engine/Stream.h"

// The fields in wire order; reading stops at the first field that is short or out of range, and
// every later field stays absent. The handshake then refuses at the first absent field it needs.
struct tConnectMessage {
    bool m_bHasProtocol = false;
    uint32_t m_Protocol = 0;
    bool m_bHasVersion = false;
    uint32_t m_Version[4] = {0, 0, 0, 0};
    bool m_bHasPassword = false;
    std::string m_Password;
    bool m_bHasNickname = false;  // false also for a nickname that is empty, too long or holds control characters
    std::string m_Nickname;
    bool m_bHasGame = false;
    uint8_t m_Game = 0;
};

void ReadConnectMessage(Ferrox3D::Stream* pStream, tConnectMessage& message);

// A nickname is 1 to 31 bytes up to the first zero byte, without control characters.
bool IsValidNickname(const std::string& nickname);
