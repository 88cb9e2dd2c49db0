// Packet construction: the header is written at once.
#include "Network/Packet.h"

Packet::Packet(uint32_t id) : m_Id(id) {
    Ferrox3D::CBinaryWriter writer(this);
    writer.WriteUInt32(Ferrox3D::PACKET_MAGIC);
    writer.WriteUInt32(id);
}
