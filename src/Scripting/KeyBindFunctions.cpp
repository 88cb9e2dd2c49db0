// The key-bind script API: bindKey, unbindKey, unbindAllKeys and the class KeyEvent.
#include "Engine/NativeState.h"
#include "Scripting/KeyBinds.h"

namespace Ferrox3D {

namespace {

bool BindKey(CNativeState* pState, int32_t argumentCount, void* pUser) {
    int32_t keyCode, keyState;
    if (!pState->CheckNumber(0, keyCode) || !pState->CheckNumber(1, keyState))
        return false;
    CFunction* pFunction = pState->CheckFunction(2);
    if (!pFunction)
        return false;
    bool bAllowRepeat = false;
    if (argumentCount > 3 && !pState->CheckBoolean(3, bAllowRepeat))
        return false;
    static_cast<CKeyBinds*>(pUser)->AddBind(pState->GetResource(), keyCode, keyState, pFunction, bAllowRepeat);
    pState->ReturnBoolean(true);
    return true;
}

bool UnbindKey(CNativeState* pState, int32_t, void* pUser) {
    int32_t keyCode;
    if (!pState->CheckNumber(0, keyCode))
        return false;
    pState->ReturnBoolean(static_cast<CKeyBinds*>(pUser)->RemoveBinds(keyCode, pState->GetResource()) > 0);
    return true;
}

bool UnbindAllKeys(CNativeState* pState, int32_t, void* pUser) {
    static_cast<CKeyBinds*>(pUser)->RemoveHandlers(pState->GetResource());
    return true;
}

CKeyEvent* GetEvent(CNativeState* pState, void* pUser) {
    CKeyEvent* pEvent;
    if (!pState->GetThis(static_cast<CKeyBinds*>(pUser)->GetKeyEventClass(), pEvent))
        return nullptr;
    return pEvent;
}

bool PreventDefault(CNativeState* pState, int32_t, void* pUser) {
    CKeyEvent* pEvent = GetEvent(pState, pUser);
    if (!pEvent)
        return false;
    pEvent->PreventDefault();
    return true;
}

bool IsDefaultPrevented(CNativeState* pState, int32_t, void* pUser) {
    CKeyEvent* pEvent = GetEvent(pState, pUser);
    if (!pEvent)
        return false;
    pState->ReturnBoolean(pEvent->IsDefaultPrevented());
    return true;
}

template <typename Value, Value (*Read)(const tKeyEventMessage&)>
bool GetField(CNativeState* pState, int32_t, void* pUser) {
    CKeyEvent* pEvent = GetEvent(pState, pUser);
    if (!pEvent)
        return false;
    pState->ReturnNumber(Read(pEvent->GetMessage()));
    return true;
}

int32_t KeyCodeOf(const tKeyEventMessage& m) { return static_cast<int32_t>(m.m_KeyCode); }
int32_t ScanCodeOf(const tKeyEventMessage& m) { return static_cast<int32_t>(m.m_ScanCode); }
int32_t ModifiersOf(const tKeyEventMessage& m) { return m.m_Modifiers; }
int32_t RepeatOf(const tKeyEventMessage& m) { return m.m_RepeatCount; }
// Documented as a boolean; the value scripts have always seen is the number 1 or 0.
int32_t DownOf(const tKeyEventMessage& m) { return m.m_bDown ? 1 : 0; }

}  // namespace

void CKeyBinds::RegisterFunctions(CScripting* pScripting) {
    ReflectedNamespace* pGlobal = pScripting->GetGlobal();
    pGlobal->RegisterFunction("bindKey", "iic|b", BindKey, this);
    pGlobal->RegisterFunction("unbindKey", "i", UnbindKey, this);
    pGlobal->RegisterFunction("unbindAllKeys", "", UnbindAllKeys, this);
    m_pKeyEventClass = pGlobal->NewClass("KeyEvent");
    m_pKeyEventClass->RegisterFunction("preventDefault", "t", PreventDefault, this);
    m_pKeyEventClass->RegisterFunction("isDefaultPrevented", "t", IsDefaultPrevented, this);
    m_pKeyEventClass->AddProperty(this, "keyCode", ARGUMENT_INTEGER, GetField<int32_t, KeyCodeOf>);
    m_pKeyEventClass->AddProperty(this, "scanCode", ARGUMENT_INTEGER, GetField<int32_t, ScanCodeOf>);
    m_pKeyEventClass->AddProperty(this, "mod", ARGUMENT_INTEGER, GetField<int32_t, ModifiersOf>);
    m_pKeyEventClass->AddProperty(this, "repeat", ARGUMENT_INTEGER, GetField<int32_t, RepeatOf>);
    m_pKeyEventClass->AddProperty(this, "down", ARGUMENT_BOOLEAN, GetField<int32_t, DownOf>);
}

}  // namespace Ferrox3D
