// Per-client script data and the messages that keep every client's copy of it in step.
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "Multiplayer/NetMachine.h"
#include "Network/ENetSystem.h"

using namespace Ferrox3D;

bool CNetMachine::SetData(const std::string& key, const CArgument* pValue, bool bSync) {
    if (!pValue || pValue->GetType() == ARGUMENT_NIL) {
        m_Data.Remove(key);
    } else {
        CArgument* pCopy = pValue->Clone();
        if (!pCopy)
            return false;
        m_Data.Set(key, pCopy);
    }
    if (bSync)
        SendDataChange(key, m_Data.Get(key));
    return true;
}

bool CNetMachine::RemoveData(const std::string& key) {
    if (!m_Data.Remove(key))
        return false;
    SendDataChange(key, nullptr);
    return true;
}

void CNetMachine::ClearData() {
    m_Data.Clear();
    Packet packet(PACKET_CLIENT_CLEAR_DATA);
    CBinaryWriter writer(&packet);
    writer.WriteUInt16(1);
    writer.WriteInt32(m_Index);
    SendToEveryone(packet);
}

// A value that cannot go on the wire is kept on the server but not announced.
void CNetMachine::SendDataChange(const std::string& key, const CArgument* pValue) {
    Packet packet(PACKET_CLIENT_DATA);
    CBinaryWriter writer(&packet);
    writer.WriteUInt16(1);
    writer.WriteInt32(m_Index);
    writer.WriteUInt16(1);
    writer.WriteString(key);
    writer.WriteUInt8(pValue ? pValue->GetType() : ARGUMENT_NIL);
    if (pValue && !pValue->Write(&packet))
        return;
    SendToEveryone(packet);
}

void CNetMachine::SendToEveryone(const Packet& packet) {
    if (m_pNetSystem)
        m_pNetSystem->SendEveryonePacket(&packet, PRIORITY_LOW, PACKET_FLAG_RELIABLE, PACKET_CHANNEL_MESSAGES);
}

// Entries follow the record's fixed fields: uint16 count, then key, tag and payload of each.
bool CNetMachine::Write(Stream* pStream) const {
    CBinaryWriter writer(pStream);
    if (m_Data.GetCount() > MAX_CLIENT_DATA_ENTRIES ||
        !(writer.WriteUInt8(GetFlags()) && writer.WriteUInt8(static_cast<uint8_t>(m_Game)) &&
          writer.WriteInt32(m_PlayerId) && writer.WriteString(m_Name) &&
          writer.WriteUInt16(static_cast<uint16_t>(m_Data.GetCount()))))
        return false;
    for (const auto& [key, pValue] : m_Data) {
        if (!writer.WriteString(key) || !writer.WriteUInt8(pValue->GetType()) || !pValue->Write(pStream))
            return false;
    }
    return true;
}
