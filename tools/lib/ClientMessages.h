// The messages a player's client sends, built byte for byte (and, on demand, malformed).
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "WireValue.h"

namespace TestClient {

using Bytes = std::vector<uint8_t>;

enum eDefaultGame : uint8_t { GAME_URBO_A = 1 };

struct tConnectRequest {
    uint32_t m_Protocol = 29;
    uint32_t m_Version[4] = {1, 0, 0, 0};
    std::string m_Password;
    std::string m_Nickname = "Player";
    int32_t m_NicknameLength = -1;  // the uint16 length field; -1 writes the nickname's size
    uint8_t m_Game = GAME_URBO_A;
};

Bytes BuildConnect(const tConnectRequest& request);
Bytes BuildJoin();
Bytes BuildChat(const std::string& text);
Bytes BuildCommand(const std::string& command, const std::string& parameters);
Bytes BuildNetworkEvent(const std::string& name, const std::vector<tWireValue>& arguments);
Bytes BuildDisconnect(const uint32_t* pReason);  // null leaves the reason out
// Any id with any body bytes after a correct header.
Bytes BuildMessage(uint32_t id, const Bytes& body = {});

}  // namespace TestClient
