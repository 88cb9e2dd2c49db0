// Registry references that stay valid however the thread that made them ends.
#include "LuaScripting/LuaReference.h"
#include <utility>

CLuaStrongReference::CLuaStrongReference(LuaStatePtr pState, lua_State* L, int index) : m_pState(std::move(pState)) {
    lua_pushvalue(L, index);
    m_iRef = luaL_ref(L, LUA_REGISTRYINDEX);  // the registry is shared by every thread of the state
}

CLuaStrongReference::CLuaStrongReference(CLuaStrongReference&& other) noexcept
    : m_pState(std::move(other.m_pState)), m_iRef(other.m_iRef) {
    other.m_iRef = LUA_NOREF;
}

CLuaStrongReference& CLuaStrongReference::operator=(CLuaStrongReference&& other) noexcept {
    if (this != &other) {
        Reset();
        m_pState = std::move(other.m_pState);
        m_iRef = other.m_iRef;
        other.m_iRef = LUA_NOREF;
    }
    return *this;
}

CLuaStrongReference CLuaStrongReference::Duplicate() const {
    lua_State* L = GetMainState();
    if (!L || !IsSet())
        return {};
    Push(L);
    CLuaStrongReference copy(m_pState, L, -1);
    lua_pop(L, 1);
    return copy;
}

void CLuaStrongReference::Push(lua_State* L) const {
    if (IsSet() && GetMainState())
        lua_rawgeti(L, LUA_REGISTRYINDEX, m_iRef);
    else
        lua_pushnil(L);
}

void CLuaStrongReference::Reset() {
    if (lua_State* L = GetMainState(); L && IsSet())
        luaL_unref(L, LUA_REGISTRYINDEX, m_iRef);
    m_iRef = LUA_NOREF;
    m_pState.reset();
}
