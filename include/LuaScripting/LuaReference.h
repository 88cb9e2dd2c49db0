// A registry reference to one Lua value, always pushed and released through the main state.
#pragma once
#include "LuaScripting/LuaState.h"

// Made from any thread of the state (a coroutine included) but never remembers that thread: a coroutine
// may be collected long before the reference is used, so every use goes through the main state.
class CLuaStrongReference {
public:
    CLuaStrongReference() = default;
    // References the value at index of L; the handle must own L's main state.
    CLuaStrongReference(LuaStatePtr pState, lua_State* L, int index);
    ~CLuaStrongReference() { Reset(); }
    CLuaStrongReference(const CLuaStrongReference&) = delete;
    CLuaStrongReference& operator=(const CLuaStrongReference&) = delete;
    CLuaStrongReference(CLuaStrongReference&& other) noexcept;
    CLuaStrongReference& operator=(CLuaStrongReference&& other) noexcept;

    // A second reference to the same value; empty when this one is empty or the state is closed.
    CLuaStrongReference Duplicate() const;
    // Pushes the value onto L (nil when empty); L must belong to the same state.
    void Push(lua_State* L) const;
    // The main state while the state is open, else null.
    lua_State* GetMainState() const { return m_pState ? m_pState->Get() : nullptr; }
    const LuaStatePtr& GetStateHandle() const { return m_pState; }
    bool IsSet() const { return m_iRef != LUA_NOREF && m_iRef != LUA_REFNIL; }
    void Reset();

private:
    LuaStatePtr m_pState;
    int m_iRef = LUA_NOREF;
};
