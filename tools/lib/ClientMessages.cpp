// Client-to-server message bodies, written from the protocol tables.
#include "ClientMessages.h"
#include "Network/Packet.h"

using namespace Ferrox3D;

namespace TestClient {

namespace {
Bytes Finish(const Packet& packet) { return Bytes(packet.GetBytes(), packet.GetBytes() + packet.GetSize()); }

void WriteCounted(CBinaryWriter& writer, const std::string& text) {
    writer.WriteUInt32(static_cast<uint32_t>(text.size()));
    writer.WriteBytes(text.data(), text.size());
}
}  // namespace

Bytes BuildConnect(const tConnectRequest& request) {
    Packet packet(PACKET_CONNECT);
    CBinaryWriter writer(&packet);
    writer.WriteUInt32(request.m_Protocol);
    for (uint32_t part : request.m_Version)
        writer.WriteUInt32(part);
    writer.WriteString(request.m_Password);
    size_t length = request.m_NicknameLength < 0 ? request.m_Nickname.size() : request.m_NicknameLength;
    writer.WriteUInt16(static_cast<uint16_t>(length));
    writer.WriteBytes(request.m_Nickname.data(), request.m_Nickname.size());
    writer.WriteUInt8(request.m_Game);
    return Finish(packet);
}

Bytes BuildJoin() { return BuildMessage(PACKET_JOIN); }

Bytes BuildChat(const std::string& text) {
    Packet packet(PACKET_CHAT);
    CBinaryWriter writer(&packet);
    WriteCounted(writer, text);
    return Finish(packet);
}

Bytes BuildCommand(const std::string& command, const std::string& parameters) {
    Packet packet(PACKET_COMMAND);
    CBinaryWriter writer(&packet);
    WriteCounted(writer, command);
    WriteCounted(writer, parameters);
    return Finish(packet);
}

Bytes BuildNetworkEvent(const std::string& name, const std::vector<tWireValue>& arguments) {
    Packet packet(PACKET_NETWORK_EVENT);
    CBinaryWriter writer(&packet);
    writer.WriteString(name);
    WriteWireArray(writer, arguments);
    return Finish(packet);
}

Bytes BuildDisconnect(const uint32_t* pReason) {
    Packet packet(PACKET_DISCONNECT);
    if (pReason)
        CBinaryWriter(&packet).WriteUInt32(*pReason);
    return Finish(packet);
}

Bytes BuildMessage(uint32_t id, const Bytes& body) {
    Packet packet(id);
    CBinaryWriter(&packet).WriteBytes(body.data(), body.size());
    return Finish(packet);
}

}  // namespace TestClient
