// Client records: sending to a client and the record's wire form.
#include "Multiplayer/NetMachine.h"
#include "Engine/BinaryIO.h"
#include "Network/ENetSystem.h"

using namespace Ferrox3D;

bool CNetMachine::SendPacket(const Packet* pPacket, ePacketPriority priority, uint32_t flags, uint8_t channel) {
    if (m_bConsole || !m_pPeer || !m_pNetSystem)
        return false;
    return m_pNetSystem->SendPacket(m_pPeer, pPacket, priority, flags & ~PACKET_FLAG_BROADCAST, channel);
}

uint8_t CNetMachine::GetFlags() const {
    return (m_bAdministrator ? CLIENT_FLAG_ADMINISTRATOR : 0) | (m_bConsole ? CLIENT_FLAG_CONSOLE : 0);
}

void CNetMachine::SendUpdate() {
    if (!m_pNetSystem)
        return;
    Packet packet(PACKET_CLIENT_FLAGS);
    CBinaryWriter writer(&packet);
    writer.WriteUInt16(1);
    writer.WriteInt32(m_Index);
    writer.WriteUInt8(GetFlags());
    m_pNetSystem->SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, PACKET_CHANNEL_MESSAGES);
}

void CNetMachine::SendPlayer() {
    if (!m_bJoined)
        return;
    Packet packet(PACKET_LOCAL_PLAYER);
    CBinaryWriter(&packet).WriteInt32(m_PlayerId);
    SendPacket(&packet);
}
