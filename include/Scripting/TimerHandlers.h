// Script timers: a fixed table of 4096 slots, filled lowest slot first, fired by the main loop.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include "Engine/ArgumentArray.h"
#include "Engine/Function.h"
#include "Engine/Limits.h"
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

class CResource;  // the owner of a timer; only its address is used here
class CScripting;
class CTimerHandlers;

class CScriptTimer : public CBaseObject {
public:
    // remainingCount 0 fires without end.
    CScriptTimer(CTimerHandlers* pTable, CResource* pResource, CFunction* pFunction, double interval,
                 int32_t remainingCount);

    double GetInterval() const { return m_fInterval; }
    double GetElapsed() const { return m_fElapsed; }
    int32_t GetRemainingCount() const { return m_RemainingCount; }
    int32_t GetSlot() const { return m_Slot; }
    CResource* GetResource() const { return m_pResource; }
    CArgumentArray& GetArguments() { return m_Arguments; }

private:
    friend class CTimerHandlers;
    CTimerHandlers* m_pTable;
    CResource* m_pResource;
    Strong<CFunction> m_pFunction;
    CArgumentArray m_Arguments;
    double m_fInterval;
    double m_fElapsed = 0.0;
    int32_t m_RemainingCount;
    int32_t m_Slot = -1;
};

class CTimerHandlers {
public:
    CTimerHandlers() = default;
    ~CTimerHandlers() { RemoveTimers(); }
    CTimerHandlers(const CTimerHandlers&) = delete;
    CTimerHandlers& operator=(const CTimerHandlers&) = delete;

    // Places the timer in the lowest free slot (the table takes a reference); false when all are used.
    bool AddTimer(CScriptTimer* pTimer);
    // True when the timer was in its slot and is gone now.
    bool RemoveTimer(CScriptTimer* pTimer);
    // Every timer of the resource (every timer when it is null).
    size_t RemoveTimers(CResource* pResource);
    void RemoveTimers();

    // One main-loop step: every live timer in slot order advances by the delta and fires when due.
    void Process(double deltaTime);

    size_t GetUsedCount() const { return m_UsedCount; }
    CScriptTimer* GetTimer(size_t slot) const { return slot < TIMER_SLOT_COUNT ? m_Slots[slot].Get() : nullptr; }

    // setTimeout, setInterval, setImmediate, clearTimeout, clearInterval, clearImmediate and the class Timer.
    void RegisterFunctions(CScripting* pScripting);
    ReflectedClass* GetTimerClass() const { return m_pTimerClass; }

private:
    void Fire(CScriptTimer* pTimer, double deltaTime);

    std::array<Strong<CScriptTimer>, TIMER_SLOT_COUNT> m_Slots;
    std::array<bool, TIMER_SLOT_COUNT> m_Used{};
    size_t m_UsedCount = 0;
    ReflectedClass* m_pTimerClass = nullptr;
};

}  // namespace Ferrox3D
