// Key binds: script functions run when a client reports a key going down or up.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>
#include "Engine/Function.h"
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

class CResource;  // the owner of a bind; only its address is used here
class CScripting;
class CKeyBinds;

enum eKeyState : int32_t {
    KEYSTATE_UP = 0,
    KEYSTATE_DOWN = 1,
    KEYSTATE_BOTH = 2,
};

// One key message as it arrived.
struct tKeyEventMessage {
    bool m_bDown = false;
    uint32_t m_ScanCode = 0;
    uint32_t m_KeyCode = 0;
    uint16_t m_Modifiers = 0;
    int32_t m_RepeatCount = 0;
};

// The event handed to every bind of one dispatch (script class KeyEvent).
class CKeyEvent : public CBaseObject {
public:
    CKeyEvent(CKeyBinds* pTable, const tKeyEventMessage& message) : m_pTable(pTable), m_Message(message) {}
    void PreventDefault() { m_bDefaultPrevented = true; }
    bool IsDefaultPrevented() const { return m_bDefaultPrevented; }
    const tKeyEventMessage& GetMessage() const { return m_Message; }
    CKeyBinds* GetTable() const { return m_pTable; }

private:
    CKeyBinds* m_pTable;
    tKeyEventMessage m_Message;
    bool m_bDefaultPrevented = false;
};

class CScriptKeyBind {
public:
    CScriptKeyBind(CResource* pResource, int32_t keyCode, int32_t keyState, bool bAllowRepeat, CFunction* pFunction)
        : m_pResource(pResource), m_KeyCode(keyCode), m_KeyState(keyState), m_bAllowRepeat(bAllowRepeat),
          m_pFunction(pFunction) {}

    // Whether this bind runs for the event: state, repeat and removal considered.
    bool Matches(const tKeyEventMessage& message) const;
    CResource* GetResource() const { return m_pResource; }
    bool IsRemoved() const { return m_bRemoved; }

private:
    friend class CKeyBinds;
    CResource* m_pResource;
    int32_t m_KeyCode;
    int32_t m_KeyState;  // stored as given; a value outside the three states never matches
    bool m_bAllowRepeat;
    bool m_bRemoved = false;
    Strong<CFunction> m_pFunction;
};

class CKeyBinds {
public:
    CKeyBinds() = default;
    CKeyBinds(const CKeyBinds&) = delete;
    CKeyBinds& operator=(const CKeyBinds&) = delete;

    void AddBind(CResource* pResource, int32_t keyCode, int32_t keyState, CFunction* pFunction, bool bAllowRepeat);
    // unbindKey: the resource's binds of the key (every bind of the key without a resource).
    size_t RemoveBinds(int32_t keyCode, CResource* pResource);
    // unbindAllKeys and a stopping resource: every bind of the resource.
    size_t RemoveHandlers(CResource* pResource);
    size_t GetBindCount(int32_t keyCode) const;

    // Runs the binds of the key, newest first, with the event and (when passing clients) the client.
    // Returns how many ran.
    size_t Dispatch(const tKeyEventMessage& message, CBaseObject* pClient);

    void SetPassClient(bool bPassClient) { m_bPassClient = bPassClient; }

    // bindKey, unbindKey, unbindAllKeys and the class KeyEvent.
    void RegisterFunctions(CScripting* pScripting);
    ReflectedClass* GetKeyEventClass() const { return m_pKeyEventClass; }

private:
    // During a dispatch a bind is only marked; it is deleted when the outermost dispatch ends.
    template <typename Match>
    size_t RemoveMatching(Match match);
    void PurgeRemoved();

    // Per key, the binds in the order they were added; dispatch walks them backwards.
    std::unordered_map<int32_t, std::vector<std::unique_ptr<CScriptKeyBind>>> m_Binds;
    int32_t m_Depth = 0;
    bool m_bPassClient = false;
    ReflectedClass* m_pKeyEventClass = nullptr;
};

}  // namespace Ferrox3D
