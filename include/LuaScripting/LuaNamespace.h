// Reflected namespaces as Lua tables: functions, class tables, child namespaces, property metamethods.
#pragma once
#include <lua.hpp>
#include "Engine/Reflection.h"

namespace LuaNamespace {

// Fills the table at index with the namespace (recursively) and gives it the property metamethods. In the
// global namespace's table (the environment table) writes of other keys define resource globals; in any
// other they raise "property '%s' not found".
void Register(lua_State* L, Ferrox3D::ReflectedNamespace* pNamespace, int tableIndex, bool isGlobal);

}  // namespace LuaNamespace
