// The timer script API: setTimeout, setInterval, setImmediate and their clear functions.
#include <cmath>
#include "Engine/NativeState.h"
#include "Scripting/TimerHandlers.h"

namespace Ferrox3D {

namespace {

// A delay the table can honour: a finite number of milliseconds from 0 to MAX_TIMER_DELAY_MS.
// A negative or absurd delay is the script's mistake, not a timer that fires weeks later.
bool CheckDelay(CNativeState* pState, size_t index, double& seconds) {
    double milliseconds;
    if (!pState->CheckNumber(index, milliseconds))
        return false;
    if (!std::isfinite(milliseconds) || milliseconds < 0.0 || milliseconds > MAX_TIMER_DELAY_MS)
        return pState->Error("Invalid delay for argument %d (expected 0 to %.0f milliseconds)",
                             static_cast<int>(index + 1), MAX_TIMER_DELAY_MS);
    seconds = std::floor(milliseconds) / 1000.0;
    return true;
}

bool CreateTimer(CNativeState* pState, int32_t argumentCount, CTimerHandlers* pTable, bool bDelay,
                 int32_t remainingCount) {
    CFunction* pFunction = pState->CheckFunction(0);
    if (!pFunction)
        return false;
    double interval = 0.0;
    if (bDelay && !CheckDelay(pState, 1, interval))
        return false;
    Strong<CScriptTimer> pTimer = Strong<CScriptTimer>::Adopt(
        new CScriptTimer(pTable, pState->GetResource(), pFunction, interval, remainingCount));
    pTimer->SetReflectedClass(pTable->GetTimerClass());
    if (!pTable->AddTimer(pTimer)) {
        pState->ReturnNull();
        return true;
    }
    for (int32_t i = bDelay ? 2 : 1; i < argumentCount; ++i)
        pTimer->GetArguments().Add(pState->GetArgument(static_cast<size_t>(i)));
    pState->ReturnObject(pTimer);
    return true;
}

bool SetTimeout(CNativeState* pState, int32_t argumentCount, void* pUser) {
    return CreateTimer(pState, argumentCount, static_cast<CTimerHandlers*>(pUser), true, 1);
}

bool SetInterval(CNativeState* pState, int32_t argumentCount, void* pUser) {
    return CreateTimer(pState, argumentCount, static_cast<CTimerHandlers*>(pUser), true, 0);
}

bool SetImmediate(CNativeState* pState, int32_t argumentCount, void* pUser) {
    return CreateTimer(pState, argumentCount, static_cast<CTimerHandlers*>(pUser), false, 1);
}

bool ClearTimer(CNativeState* pState, int32_t, void* pUser) {
    auto* pTable = static_cast<CTimerHandlers*>(pUser);
    CScriptTimer* pTimer;
    if (!pState->CheckClass(pTable->GetTimerClass(), 0, false, pTimer))
        return false;
    pState->ReturnBoolean(pTable->RemoveTimer(pTimer));
    return true;
}

}  // namespace

void CTimerHandlers::RegisterFunctions(CScripting* pScripting) {
    ReflectedNamespace* pGlobal = pScripting->GetGlobal();
    m_pTimerClass = pGlobal->NewClass("Timer");
    pGlobal->RegisterFunction("setTimeout", "ci*", SetTimeout, this);
    pGlobal->RegisterFunction("setInterval", "ci*", SetInterval, this);
    pGlobal->RegisterFunction("setImmediate", "c*", SetImmediate, this);
    pGlobal->RegisterFunction("clearTimeout", "x", ClearTimer, this);
    pGlobal->RegisterFunction("clearInterval", "x", ClearTimer, this);
    pGlobal->RegisterFunction("clearImmediate", "x", ClearTimer, this);
}

}  // namespace Ferrox3D
