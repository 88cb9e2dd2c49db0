// The timer table: placement in the lowest free slot, removal, and the main loop's timer step.
#include "Scripting/TimerHandlers.h"

namespace Ferrox3D {

CScriptTimer::CScriptTimer(CTimerHandlers* pTable, CResource* pResource, CFunction* pFunction, double interval,
                           int32_t remainingCount)
    : m_pTable(pTable), m_pResource(pResource), m_pFunction(pFunction), m_fInterval(interval),
      m_RemainingCount(remainingCount) {}

bool CTimerHandlers::AddTimer(CScriptTimer* pTimer) {
    if (m_UsedCount >= TIMER_SLOT_COUNT)
        return false;
    for (size_t slot = 0; slot < TIMER_SLOT_COUNT; ++slot) {
        if (m_Used[slot])
            continue;
        m_Used[slot] = true;
        m_Slots[slot] = pTimer;
        pTimer->m_Slot = static_cast<int32_t>(slot);
        ++m_UsedCount;
        return true;
    }
    return false;
}

bool CTimerHandlers::RemoveTimer(CScriptTimer* pTimer) {
    if (!pTimer || pTimer->m_Slot < 0 || static_cast<size_t>(pTimer->m_Slot) >= TIMER_SLOT_COUNT)
        return false;
    size_t slot = static_cast<size_t>(pTimer->m_Slot);
    if (!m_Used[slot] || m_Slots[slot].Get() != pTimer)
        return false;
    m_Used[slot] = false;
    --m_UsedCount;
    m_Slots[slot].Reset();  // may be the last reference: nothing of the timer is used after this
    return true;
}

size_t CTimerHandlers::RemoveTimers(CResource* pResource) {
    size_t removed = 0;
    for (size_t slot = 0; slot < TIMER_SLOT_COUNT; ++slot) {
        CScriptTimer* pTimer = m_Slots[slot].Get();
        if (m_Used[slot] && (!pResource || pTimer->m_pResource == pResource) && RemoveTimer(pTimer))
            ++removed;
    }
    return removed;
}

void CTimerHandlers::RemoveTimers() {
    RemoveTimers(nullptr);
    m_UsedCount = 0;
}

void CTimerHandlers::Process(double deltaTime) {
    // The used flags are read afresh for every slot: a timer cleared by an earlier callback is not
    // visited, and one created in a higher slot during this step is.
    for (size_t slot = 0; slot < TIMER_SLOT_COUNT && m_UsedCount > 0; ++slot) {
        if (m_Used[slot])
            Fire(m_Slots[slot].Get(), deltaTime);
    }
}

void CTimerHandlers::Fire(CScriptTimer* pTimer, double deltaTime) {
    Strong<CScriptTimer> keep(pTimer);  // valid until its handling ends, even if the callback clears it
    pTimer->m_fElapsed += deltaTime;
    if (pTimer->m_fInterval > pTimer->m_fElapsed)
        return;
    if (pTimer->m_pFunction)
        pTimer->m_pFunction->Invoke(&pTimer->m_Arguments, nullptr);
    pTimer->m_fElapsed = 0.0;
    if (pTimer->m_RemainingCount > 0 && --pTimer->m_RemainingCount == 0)
        RemoveTimer(pTimer);
}

}  // namespace Ferrox3D
