// Signature masks and the one place a native is actually called.
#include "Engine/ScriptFunction.h"
#include "Engine/Assert.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"

namespace Ferrox3D {

namespace {
PluginCallAdapter g_PluginCallAdapter = nullptr;
}

void SetPluginCallAdapter(PluginCallAdapter adapter) { g_PluginCallAdapter = adapter; }

int GetRequiredArgumentCount(const char* mask) {
    int count = 0;
    for (const char* p = mask; p && *p && *p != '|' && *p != '*'; ++p)
        if (*p != 't')
            ++count;
    return count;
}

bool ScriptFunction::Call(CNativeState& state, void* pUser) const {
    ClearError();
    int32_t count = state.GetArgumentCount();
    bool bResult;
    if (m_pNative)
        bResult = m_pNative(&state, count, pUser);
    else if (m_pPluginNative && g_PluginCallAdapter)
        bResult = g_PluginCallAdapter(m_pPluginNative, &state, count, pUser);
    else
        return state.Error("Cannot call %s", GetName());
    F_ASSERT(bResult != state.m_bHasError);
    // The native may have run script code after its Error (cleanup, a callback); the text the
    // binding shows must still be the native's own.
    if (!bResult && state.m_bHasError)
        SetError("%s", state.GetError());
    return bResult;
}

}  // namespace Ferrox3D
