// Readers and writers of the chat, command, network-event and key messages.
#include "Multiplayer/PlayerMessages.h"
#include <cstring>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"

using namespace Ferrox3D;

namespace {

// A uint32 byte count within [minimum, maximum] and what remains, then that many bytes.
bool ReadCounted(CBinaryReader& in, uint32_t minimum, uint32_t maximum, std::string& text) {
    uint32_t length;
    if (!in.ReadUInt32(length) || length < minimum || length > maximum || length > in.Remaining())
        return false;
    text.assign(length, '\0');
    return length == 0 || in.ReadBytes(text.data(), length);
}

}  // namespace

bool ReadChatMessage(Stream* pStream, std::string& text) {
    CBinaryReader in(pStream);
    std::string raw;
    if (!ReadCounted(in, 1, MAX_CHAT_LENGTH, raw))
        return false;
    text.assign(raw.c_str(), strnlen(raw.c_str(), raw.size()));
    return !text.empty();
}

bool ReadCommandMessage(Stream* pStream, tCommandMessage& message) {
    CBinaryReader in(pStream);
    return ReadCounted(in, 1, MAX_COMMAND_LENGTH, message.m_Command) &&
           ReadCounted(in, 0, MAX_COMMAND_LENGTH, message.m_Parameters);
}

eNetworkEventRead ReadNetworkEventMessage(Stream* pStream, INetObjectResolver* pResolver, std::string& name,
                                          CArgumentArray& arguments) {
    CBinaryReader in(pStream);
    if (!in.ReadString(name, MAX_NETWORK_EVENT_NAME))
        return NETWORK_EVENT_BAD_NAME;
    arguments.SetNetObjectResolver(pResolver);
    if (!arguments.Read(pStream)) {
        arguments.Clear();
        return NETWORK_EVENT_BAD_ARGUMENTS;
    }
    return NETWORK_EVENT_OK;
}

bool ReadKeyEventMessage(Stream* pStream, tKeyEventMessage& message) {
    CBinaryReader in(pStream);
    uint8_t flags;
    tKeyEventMessage read;
    if (!in.ReadUInt8(flags) || !in.ReadUInt32(read.m_ScanCode) || !in.ReadUInt32(read.m_KeyCode) ||
        !in.ReadUInt16(read.m_Modifiers) || !in.ReadInt32(read.m_RepeatCount))
        return false;
    read.m_bDown = (flags & 1) != 0;
    message = read;
    return true;
}

void WriteChatMessage(Packet& packet, const char* text, size_t length, uint32_t colour) {
    CBinaryWriter out(&packet);
    out.WriteUInt32(static_cast<uint32_t>(length));
    out.WriteUInt32(colour);
    out.WriteBytes(text, length);
}

bool WriteNetworkEventMessage(Packet& packet, const char* name, const CArgumentArray& arguments) {
    CBinaryWriter out(&packet);
    return out.WriteString(name, strlen(name)) && arguments.Write(&packet);
}
