// The connect message reader.
#include "Multiplayer/ConnectMessage.h"
#include <cstring>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"

using namespace Ferrox3D;

bool IsValidNickname(const std::string& nickname) {
    if (nickname.empty() || nickname.size() > MAX_NICKNAME_LENGTH)
        return false;
    for (unsigned char c : nickname) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

namespace {
bool ReadNickname(CBinaryReader& reader, std::string& nickname) {
    uint16_t length;
    if (!reader.ReadUInt16(length) || length == 0 || length > MAX_NICKNAME_LENGTH)
        return false;
    char bytes[MAX_NICKNAME_LENGTH];
    if (!reader.ReadBytes(bytes, length))
        return false;
    nickname.assign(bytes, strnlen(bytes, length));
    return IsValidNickname(nickname);
}
}  // namespace

void ReadConnectMessage(Stream* pStream, tConnectMessage& message) {
    CBinaryReader reader(pStream);
    message.m_bHasProtocol = reader.ReadUInt32(message.m_Protocol);
    if (!message.m_bHasProtocol)
        return;
    message.m_bHasVersion = reader.ReadUInt32(message.m_Version[0]) && reader.ReadUInt32(message.m_Version[1]) &&
                            reader.ReadUInt32(message.m_Version[2]) && reader.ReadUInt32(message.m_Version[3]);
    if (!message.m_bHasVersion)
        return;
    message.m_bHasPassword = reader.ReadString(message.m_Password, MAX_PASSWORD_LENGTH);
    if (!message.m_bHasPassword)
        return;
    message.m_bHasNickname = ReadNickname(reader, message.m_Nickname);
    if (!message.m_bHasNickname)
        return;
    message.m_bHasGame = reader.ReadUInt8(message.m_Game);
}
