// The client slot table.
#include "Multiplayer/NetMachines.h"
#include <strings.h>
#include "Engine/BinaryIO.h"

using namespace Ferrox3D;

CNetMachine* CNetMachines::Get(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_Slots.size())
        return nullptr;
    return m_Slots[index].Get();
}

CNetMachine* CNetMachines::GetMachineFromPeer(ENetPeer* pPeer) const {
    if (!pPeer)
        return nullptr;
    for (const auto& pMachine : m_Slots) {
        if (pMachine && pMachine->m_pPeer == pPeer)
            return pMachine.Get();
    }
    return nullptr;
}

int32_t CNetMachines::FindFreeSlot() const {
    for (size_t i = 0; i < m_Slots.size(); ++i) {
        if (!m_Slots[i])
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool CNetMachines::IsNameInUse(const std::string& name) const {
    for (const auto& pMachine : m_Slots) {
        if (pMachine && pMachine->m_Name.size() == name.size() &&
            strncasecmp(pMachine->m_Name.c_str(), name.c_str(), name.size()) == 0)
            return true;
    }
    return false;
}

void CNetMachines::Store(int32_t index, CNetMachine* pMachine) {
    if (!F_ASSERT(index >= 0 && static_cast<size_t>(index) < m_Slots.size() && !m_Slots[index]))
        return;
    m_Slots[index] = pMachine;
    pMachine->m_Index = index;
}

Strong<CNetMachine> CNetMachines::Remove(int32_t index) {
    Strong<CNetMachine> pMachine;
    if (index < 0 || static_cast<size_t>(index) >= m_Slots.size())
        return pMachine;
    pMachine = std::move(m_Slots[index]);
    if (pMachine)
        pMachine->m_Index = -1;
    return pMachine;
}

size_t CNetMachines::GetOccupiedCount() const {
    size_t count = 0;
    for (const auto& pMachine : m_Slots)
        count += pMachine ? 1 : 0;
    return count;
}

bool CNetMachines::WriteClientList(Stream* pStream, uint16_t playerLimit) const {
    CBinaryWriter writer(pStream);
    if (!writer.WriteUInt16(static_cast<uint16_t>(GetOccupiedCount())) || !writer.WriteUInt16(playerLimit))
        return false;
    for (const auto& pMachine : m_Slots) {
        if (pMachine && !(writer.WriteInt32(pMachine->m_Index) && pMachine->Write(pStream)))
            return false;
    }
    return true;
}
