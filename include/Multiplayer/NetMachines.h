// The client slot table: 256 slots, a client's index is its slot, slot 255 holds the console.
#pragma once
#include <array>
#include <string>
#include "Engine/Limits.h"
#include "Multiplayer/NetMachine.h"

class CNetMachines {
public:
    CNetMachine* Get(int32_t index) const;
    CNetMachine* GetMachineFromPeer(ENetPeer* pPeer) const;
    // The lowest free slot, or -1.
    int32_t FindFreeSlot() const;
    // True when an occupied slot's name equals the name ignoring ASCII case ("Console" included).
    bool IsNameInUse(const std::string& name) const;

    // Stores the record (taking a reference) and sets its index.
    void Store(int32_t index, CNetMachine* pMachine);
    // Empties the slot, sets the record's index to -1 and hands back the table's reference.
    Ferrox3D::Strong<CNetMachine> Remove(int32_t index);

    size_t GetOccupiedCount() const;
    // The client list body: record count, player limit, then index and record of every occupied slot.
    bool WriteClientList(Ferrox3D::Stream* pStream, uint16_t playerLimit) const;

    template <typename F>
    void ForEach(F&& f) const {
        for (const auto& pMachine : m_Slots) {
            if (pMachine)
                f(pMachine.Get());
        }
    }

private:
    std::array<Ferrox3D::Strong<CNetMachine>, Ferrox3D::CLIENT_SLOT_COUNT> m_Slots;
};
