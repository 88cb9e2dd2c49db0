// Parsing the server's session messages into the client's mirror.
#include "SessionMirror.h"
#include "Engine/Limits.h"
#include "Engine/Stream.h"
#include "Network/Packet.h"
#include "WireValue.h"

using namespace Ferrox3D;

namespace TestClient {

bool ReadClientRecord(CBinaryReader& body, tClientRecord& record) {
    uint16_t count;
    if (!body.ReadUInt8(record.m_Flags) || !body.ReadUInt8(record.m_Game) || !body.ReadInt32(record.m_PlayerId) ||
        !body.ReadString(record.m_Name, MAX_WIRE_STRING) || !body.ReadUInt16(count))
        return false;
    for (uint16_t i = 0; i < count; ++i) {
        std::string key, value;
        uint8_t tag;
        if (!body.ReadString(key, MAX_WIRE_STRING) || !body.ReadUInt8(tag) || !ReadWireValue(body, tag, value))
            return false;
        record.m_Data[key] = value;
    }
    return true;
}

bool CSessionMirror::Apply(uint32_t id, CBinaryReader& body) {
    switch (id) {
    case PACKET_CONNECT_ACCEPTED: return ApplyAccepted(body);
    case PACKET_CVARS: return ApplyCvars(body);
    case PACKET_GAME_MODE: return body.ReadString(m_GameMode, MAX_WIRE_STRING);
    case PACKET_SERVER_NAME: return body.ReadString(m_ServerName, MAX_WIRE_STRING);
    case PACKET_CLIENT_LIST: return ApplyClientList(body);
    case PACKET_CLIENTS_ADDED: return ApplyClientsAdded(body);
    case PACKET_CLIENTS_REMOVED: return ApplyClientsRemoved(body);
    case PACKET_CLIENT_DATA: return ApplyClientData(body);
    case PACKET_CLIENT_CLEAR_DATA:
    case PACKET_CLIENT_PLAYER:
    case PACKET_CLIENT_FLAGS: return ApplyPerClient(id, body);
    case PACKET_LOCAL_PLAYER: return body.ReadInt32(m_LocalPlayer);
    case PACKET_JOIN_COMPLETE: ++m_JoinCompleted; return true;
    case PACKET_CHAT: return ApplyChat(body);
    case PACKET_NETWORK_EVENT: return ApplyNetworkEvent(body);
    default: return true;
    }
}

bool CSessionMirror::ApplyAccepted(CBinaryReader& body) {
    tAccepted a;
    uint8_t zero;
    if (!body.ReadInt32(a.m_Index) || !body.ReadUInt16(a.m_HttpPort) || !body.ReadString(a.m_HttpUrl, MAX_WIRE_STRING) ||
        !body.ReadUInt16(a.m_SyncInterval) || !body.ReadUInt8(zero) || !body.ReadUInt8(a.m_SyncMethod))
        return false;
    m_Accepted = a;
    m_bAccepted = true;
    return true;
}

bool CSessionMirror::ApplyCvars(CBinaryReader& body) {
    uint16_t count;
    if (!body.ReadUInt16(count))
        return false;
    m_Cvars.clear();
    for (uint16_t i = 0; i < count; ++i) {
        uint32_t blockLength;
        std::string name, value;
        if (!body.ReadVarint(blockLength) || blockLength > body.Remaining())
            return false;
        uint64_t blockStart = body.GetStream()->Tell();
        if (!body.ReadString(name, blockLength) || !body.ReadString(value, blockLength) ||
            body.GetStream()->Tell() - blockStart > blockLength)
            return false;
        body.GetStream()->Seek(static_cast<int64_t>(blockStart + blockLength), SEEK_ORIGIN_START);
        m_Cvars.emplace_back(name, value);
    }
    return true;
}

bool CSessionMirror::ApplyClientList(CBinaryReader& body) {
    uint16_t count;
    if (!body.ReadUInt16(count) || !body.ReadUInt16(m_PlayerLimit))
        return false;
    m_Clients.clear();
    return ReadClientEntries(body, count);
}

bool CSessionMirror::ApplyClientsAdded(CBinaryReader& body) {
    uint16_t count;
    return body.ReadUInt16(count) && ReadClientEntries(body, count);
}

bool CSessionMirror::ReadClientEntries(CBinaryReader& body, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i) {
        int32_t index;
        tClientRecord record;
        if (!body.ReadInt32(index) || !ReadClientRecord(body, record))
            return false;
        m_Clients[index] = record;
    }
    return true;
}

bool CSessionMirror::ApplyClientsRemoved(CBinaryReader& body) {
    uint16_t count;
    if (!body.ReadUInt16(count))
        return false;
    for (uint16_t i = 0; i < count; ++i) {
        int32_t index;
        if (!body.ReadInt32(index))
            return false;
        m_Clients.erase(index);
    }
    return true;
}

bool CSessionMirror::ApplyClientData(CBinaryReader& body) {
    uint16_t clients, entries;
    int32_t index;
    if (!body.ReadUInt16(clients) || clients != 1 || !body.ReadInt32(index) || !body.ReadUInt16(entries))
        return false;
    for (uint16_t i = 0; i < entries; ++i) {
        std::string key, value;
        uint8_t tag;
        if (!body.ReadString(key, MAX_WIRE_STRING) || !body.ReadUInt8(tag))
            return false;
        if (tag == 0) {
            m_Clients[index].m_Data.erase(key);
            continue;
        }
        if (!ReadWireValue(body, tag, value))
            return false;
        m_Clients[index].m_Data[key] = value;
    }
    return true;
}

bool CSessionMirror::ApplyPerClient(uint32_t id, CBinaryReader& body) {
    uint16_t count;
    int32_t index, player;
    uint8_t flags;
    if (!body.ReadUInt16(count) || count != 1 || !body.ReadInt32(index))
        return false;
    if (id == PACKET_CLIENT_CLEAR_DATA) {
        m_Clients[index].m_Data.clear();
        return true;
    }
    if (id == PACKET_CLIENT_PLAYER) {
        if (!body.ReadInt32(player))
            return false;
        m_Clients[index].m_PlayerId = player;
        return true;
    }
    if (!body.ReadUInt8(flags))
        return false;
    m_Clients[index].m_Flags = flags;
    return true;
}

bool CSessionMirror::ApplyChat(CBinaryReader& body) {
    uint32_t length;
    tChatLine line;
    if (!body.ReadUInt32(length) || !body.ReadUInt32(line.m_Colour) || length > body.Remaining())
        return false;
    line.m_Text.resize(length);
    if (!body.ReadBytes(line.m_Text.data(), length))
        return false;
    m_Chat.push_back(line);
    return true;
}

bool CSessionMirror::ApplyNetworkEvent(CBinaryReader& body) {
    tNetworkEvent event;
    if (!body.ReadString(event.m_Name, MAX_WIRE_STRING) || !ReadWireValue(body, 17, event.m_Arguments))
        return false;
    m_NetworkEvents.push_back(event);
    return true;
}

}  // namespace TestClient
