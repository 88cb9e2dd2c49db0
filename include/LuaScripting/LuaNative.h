// Calling natives of the reflection tree from Lua: functions, methods, constructors, property accessors.
#pragma once
#include <lua.hpp>
#include "Engine/ObjectModel.h"
#include "Engine/Reflection.h"

namespace LuaNative {

// Pushes a closure calling the function; with isMethod the first argument is taken as "this" when it
// is a userdata of this binding.
void PushFunction(lua_State* L, const Ferrox3D::ScriptFunction* pFunction, void* pUser, bool isMethod);

// Calls the native with "this" and the Lua values first..last as arguments and pushes its result.
// Returns the number of values pushed, or raises the Lua error of a failed native.
int Call(lua_State* L, const Ferrox3D::ScriptFunction& function, void* pUser, Ferrox3D::CBaseObject* pThis,
         int first, int last);

}  // namespace LuaNative
