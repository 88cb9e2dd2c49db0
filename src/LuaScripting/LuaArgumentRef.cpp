// Lua values without an engine form, kept by registry reference while a script value holds them.
#include "LuaScripting/LuaArgumentRef.h"
#include <utility>
#include "LuaScripting/LuaScripting.h"

CArgumentLuaRef::CArgumentLuaRef(lua_State* L, int index)
    : CArgument(Ferrox3D::ARGUMENT_LUAREF),
      m_Reference(CLuaScripting::Get(L)->GetStateHandle(), L, index) {}

CArgumentLuaRef::CArgumentLuaRef(CLuaStrongReference reference)
    : CArgument(Ferrox3D::ARGUMENT_LUAREF), m_Reference(std::move(reference)) {}

void CArgumentLuaRef::Push(lua_State* L) const {
    lua_State* main = m_Reference.GetMainState();
    if (main && CLuaScripting::Get(L) == CLuaScripting::Get(main))
        m_Reference.Push(L);
    else
        lua_pushnil(L);
}

Ferrox3D::CArgument* CArgumentLuaRef::Clone() const { return new CArgumentLuaRef(m_Reference.Duplicate()); }
