// The key-bind table: binds per key code, dispatch newest first, removal deferred while dispatching.
#include "Scripting/KeyBinds.h"
#include <algorithm>
#include "Engine/ArgumentArray.h"

namespace Ferrox3D {

bool CScriptKeyBind::Matches(const tKeyEventMessage& message) const {
    if (m_bRemoved)
        return false;
    if (message.m_RepeatCount >= 1 && !m_bAllowRepeat)
        return false;
    switch (m_KeyState) {
    case KEYSTATE_BOTH: return true;
    case KEYSTATE_UP: return !message.m_bDown;
    case KEYSTATE_DOWN: return message.m_bDown;
    default: return false;
    }
}

void CKeyBinds::AddBind(CResource* pResource, int32_t keyCode, int32_t keyState, CFunction* pFunction,
                        bool bAllowRepeat) {
    m_Binds[keyCode].push_back(std::make_unique<CScriptKeyBind>(pResource, keyCode, keyState, bAllowRepeat, pFunction));
}

template <typename Match>
size_t CKeyBinds::RemoveMatching(Match match) {
    size_t removed = 0;
    for (auto& entry : m_Binds) {
        for (auto& pBind : entry.second) {
            if (!pBind->m_bRemoved && match(*pBind)) {
                pBind->m_bRemoved = true;
                ++removed;
            }
        }
    }
    if (m_Depth == 0)
        PurgeRemoved();
    return removed;
}

void CKeyBinds::PurgeRemoved() {
    for (auto it = m_Binds.begin(); it != m_Binds.end();) {
        auto& binds = it->second;
        binds.erase(std::remove_if(binds.begin(), binds.end(), [](const auto& pBind) { return pBind->m_bRemoved; }),
                    binds.end());
        it = binds.empty() ? m_Binds.erase(it) : std::next(it);
    }
}

size_t CKeyBinds::RemoveBinds(int32_t keyCode, CResource* pResource) {
    return RemoveMatching([&](const CScriptKeyBind& bind) {
        return bind.m_KeyCode == keyCode && (!pResource || bind.m_pResource == pResource);
    });
}

size_t CKeyBinds::RemoveHandlers(CResource* pResource) {
    return RemoveMatching([&](const CScriptKeyBind& bind) { return bind.m_pResource == pResource; });
}

size_t CKeyBinds::GetBindCount(int32_t keyCode) const {
    auto found = m_Binds.find(keyCode);
    if (found == m_Binds.end())
        return 0;
    return std::count_if(found->second.begin(), found->second.end(),
                         [](const auto& pBind) { return !pBind->m_bRemoved; });
}

size_t CKeyBinds::Dispatch(const tKeyEventMessage& message, CBaseObject* pClient) {
    auto found = m_Binds.find(static_cast<int32_t>(message.m_KeyCode));
    if (found == m_Binds.end())
        return 0;
    // The list node stays put: nothing is erased from the table until the outermost dispatch ends,
    // and binds added meanwhile go to the end, past where this walk starts.
    std::vector<std::unique_ptr<CScriptKeyBind>>* pBinds = &found->second;
    Strong<CKeyEvent> pEvent = Strong<CKeyEvent>::Adopt(new CKeyEvent(this, message));
    pEvent->SetReflectedClass(m_pKeyEventClass);
    size_t ran = 0;
    ++m_Depth;
    for (size_t i = pBinds->size(); i-- > 0;) {
        CScriptKeyBind* pBind = (*pBinds)[i].get();
        if (!pBind->Matches(message))
            continue;
        Strong<CFunction> pFunction = pBind->m_pFunction;
        CArgumentArray arguments(2);
        arguments.AddObject(pEvent);
        if (m_bPassClient) {
            if (pClient)
                arguments.AddObject(pClient);
            else
                arguments.AddNull();
        }
        pFunction->Invoke(&arguments, nullptr);
        ++ran;
    }
    if (--m_Depth == 0)
        PurgeRemoved();
    return ran;
}

}  // namespace Ferrox3D
