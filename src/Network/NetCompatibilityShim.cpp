// Reception framing: received payloads are read in place and handed on by packet id.
#include "Network/NetCompatibilityShim.h"
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"

using namespace Ferrox3D;

bool ReadPacketHeader(Stream* pStream, uint32_t& id) {
    CBinaryReader reader(pStream);
    uint32_t magic;
    return reader.ReadUInt32(magic) && magic == PACKET_MAGIC && reader.ReadUInt32(id);
}

void CNetCompatibilityShim::PacketEvent(ENetPeer* pPeer, size_t length, const uint8_t* pData) {
    CMemoryStream stream(pData, length);
    uint32_t id;
    if (!ReadPacketHeader(&stream, id))
        return;
    tPeerInfo peer;
    peer.m_pPeer = pPeer;
    ProcessPacket(peer, id, &stream);
}
