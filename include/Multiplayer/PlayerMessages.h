// Wire form of chat, command, network-event and key messages: readers that check every field, and writers.
#pragma once
#include <cstdint>
#include <string>
#include "Engine/ArgumentArray.h"
#include "Engine/Stream.h"
#include "Network/Packet.h"
#include "Scripting/KeyBinds.h"

struct tCommandMessage {
    std::string m_Command;
    std::string m_Parameters;
};

enum eNetworkEventRead {
    NETWORK_EVENT_OK,
    NETWORK_EVENT_BAD_NAME,       // no readable name: nothing to report the event by
    NETWORK_EVENT_BAD_ARGUMENTS,  // the name is known, the values are not readable
};

// Client to server PACKET_CHAT: uint32 length (1 to MAX_CHAT_LENGTH), the bytes. The text ends at
// its first NUL; an empty text is refused.
bool ReadChatMessage(Ferrox3D::Stream* pStream, std::string& text);
// Client to server PACKET_COMMAND: uint32 length and command bytes (1 to MAX_COMMAND_LENGTH), uint32
// length and parameter bytes (0 to MAX_COMMAND_LENGTH).
bool ReadCommandMessage(Ferrox3D::Stream* pStream, tCommandMessage& message);
// PACKET_NETWORK_EVENT: string name, then an argument array; element ids resolve through pResolver.
eNetworkEventRead ReadNetworkEventMessage(Ferrox3D::Stream* pStream, Ferrox3D::INetObjectResolver* pResolver,
                                          std::string& name, Ferrox3D::CArgumentArray& arguments);
// Client to server PACKET_KEY_EVENT: uint8 flags (bit 0 down), uint32 scan code, uint32 key code,
// uint16 modifiers, int32 repeat count; all 15 bytes must be there.
bool ReadKeyEventMessage(Ferrox3D::Stream* pStream, Ferrox3D::tKeyEventMessage& message);

// Server to client PACKET_CHAT: uint32 length, uint32 colour, the bytes.
void WriteChatMessage(Packet& packet, const char* text, size_t length, uint32_t colour);
// PACKET_NETWORK_EVENT; false (the packet unusable) when a value cannot go on the wire.
bool WriteNetworkEventMessage(Packet& packet, const char* name, const Ferrox3D::CArgumentArray& arguments);
