// One game protocol message: 8-byte header (magic, id) and a body, with send priority, flags and channel.
#pragma once
#include <cstdint>
#include "Engine/BinaryIO.h"
#include "Engine/Stream.h"

enum ePacketPriority {
    PRIORITY_IMMEDIATE = 0,
    PRIORITY_HIGH = 1,
    PRIORITY_MEDIUM = 2,
    PRIORITY_LOW = 3,
};

enum ePacketFlags {
    PACKET_FLAG_RELIABLE = 1,
    PACKET_FLAG_UNSEQUENCED = 2,
    PACKET_FLAG_BROADCAST = 4,
};

enum ePacketChannel {
    PACKET_CHANNEL_MESSAGES = 0,
    PACKET_CHANNEL_SYNC = 1,
};

enum ePacketId : uint32_t {
    PACKET_CONNECT = 1,
    PACKET_CONNECT_ACCEPTED = 2,
    PACKET_JOIN = 3,
    PACKET_ELEMENT_SYNC = 4,
    PACKET_LOCAL_PLAYER = 5,
    PACKET_CHAT = 6,
    PACKET_COMMAND = 7,
    PACKET_RESOURCE_START = 8,
    PACKET_RESOURCE_STOP = 9,
    PACKET_NETWORK_EVENT = 10,
    PACKET_CREATE_ELEMENTS = 11,
    PACKET_DELETE_ELEMENTS = 12,
    PACKET_ELEMENT_SYNCER = 13,
    PACKET_JOIN_COMPLETE = 14,
    PACKET_ELEMENT_PARENT = 15,
    PACKET_DISCONNECT = 16,
    PACKET_GAME_MODE = 17,
    PACKET_ELEMENT_NAME = 18,
    PACKET_CLIENT_LIST = 19,
    PACKET_CLIENTS_ADDED = 20,
    PACKET_CLIENTS_REMOVED = 21,
    PACKET_ELEMENT_DATA = 22,
    PACKET_ELEMENT_CLEAR_DATA = 23,
    PACKET_CLIENT_DATA = 24,
    PACKET_CLIENT_CLEAR_DATA = 25,
    PACKET_CLIENT_PLAYER = 26,
    PACKET_KEY_EVENT = 27,
    PACKET_ELEMENT_DIMENSION = 28,
    PACKET_SERVER_NAME = 29,
    PACKET_CVARS = 30,
    PACKET_REQUEST_SYNCER = 31,
    PACKET_STREAMING_ENABLED = 33,
    PACKET_CLIENT_FLAGS = 34,
    PACKET_GAME_FIRST = 101,  // 101 to 180: game layer messages
    PACKET_GAME_LAST = 180,
};


// Built as a local object by senders; the transport copies the bytes, so one packet may go to many.
class Packet : public Ferrox3D::CUnlimitedStream {
public:
    explicit Packet(uint32_t id);
    uint32_t GetId() const { return m_Id; }
    const uint8_t* GetBytes() const { return GetData(); }
    size_t GetSize() const { return static_cast<size_t>(const_cast<Packet*>(this)->GetLength()); }

private:
    uint32_t m_Id;
};
