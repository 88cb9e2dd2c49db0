// Publishing a namespace of the reflection tree into a Lua table.
#include "LuaScripting/LuaNamespace.h"
#include "LuaScripting/LuaClasses.h"
#include "LuaScripting/LuaNative.h"

using namespace Ferrox3D;

namespace {

// __index (table, key): a namespace property calls its getter; any other key is absent.
int NamespaceIndex(lua_State* L) {
    lua_pushvalue(L, 2);
    if (lua_type(L, 2) != LUA_TSTRING || lua_rawget(L, lua_upvalueindex(1)) != LUA_TLIGHTUSERDATA)
        return 0;
    auto* pProperty = static_cast<const ReflectedProperty*>(lua_touserdata(L, -1));
    return LuaNative::Call(L, pProperty->m_Getter, pProperty->m_pUser, nullptr, 4, 3);
}

// __newindex (table, key, value)
int NamespaceNewIndex(lua_State* L) {
    lua_pushvalue(L, 2);
    if (lua_type(L, 2) == LUA_TSTRING && lua_rawget(L, lua_upvalueindex(1)) == LUA_TLIGHTUSERDATA) {
        auto* pProperty = static_cast<const ReflectedProperty*>(lua_touserdata(L, -1));
        if (pProperty->IsReadOnly())
            return luaL_error(L, "property '%s' readonly", lua_tostring(L, 2));
        lua_pop(L, 1);
        LuaNative::Call(L, pProperty->m_Setter, pProperty->m_pUser, nullptr, 3, 3);
        return 0;
    }
    if (!lua_toboolean(L, lua_upvalueindex(2)))
        return luaL_error(L, "property '%s' not found", luaL_tolstring(L, 2, nullptr));
    lua_settop(L, 3);
    lua_rawset(L, 1);
    return 0;
}

void SetPropertyMetatable(lua_State* L, ReflectedNamespace* pNamespace, int table, bool isGlobal) {
    lua_createtable(L, 0, 2);
    lua_createtable(L, 0, static_cast<int>(pNamespace->GetProperties().size()));
    for (const auto& property : pNamespace->GetProperties()) {
        lua_pushlightuserdata(L, property.get());
        lua_setfield(L, -2, property->GetName());
    }
    lua_pushvalue(L, -1);
    lua_pushcclosure(L, NamespaceIndex, 1);
    lua_setfield(L, -3, "__index");
    lua_pushboolean(L, isGlobal);
    lua_pushcclosure(L, NamespaceNewIndex, 2);
    lua_setfield(L, -2, "__newindex");
    lua_setmetatable(L, table);
}

}  // namespace

namespace LuaNamespace {

void Register(lua_State* L, ReflectedNamespace* pNamespace, int tableIndex, bool isGlobal) {
    luaL_checkstack(L, 8, "namespace nesting");
    int table = lua_absindex(L, tableIndex);
    for (const auto& function : pNamespace->GetFunctions()) {
        LuaNative::PushFunction(L, &function->m_Function, function->m_pUser, false);
        lua_setfield(L, table, function->GetName());
    }
    for (const auto& pClass : pNamespace->GetClasses()) {
        if (CLuaType* pType = LuaClasses::GetLuaType(L, pClass.get())) {
            pType->PushTable(L);
            lua_setfield(L, table, pClass->GetName());
        }
    }
    for (const auto& pChild : pNamespace->GetNamespaces()) {
        lua_newtable(L);
        Register(L, pChild.get(), -1, false);
        if (const char* alias = pChild->GetAlias()) {
            lua_pushvalue(L, -1);
            lua_setfield(L, table, alias);
        }
        lua_setfield(L, table, pChild->GetName());
    }
    SetPropertyMetatable(L, pNamespace, table, isGlobal);
}

}  // namespace LuaNamespace
