// Conversion of script values between Lua and the engine, both ways.
#pragma once
#include <lua.hpp>

namespace Ferrox3D {
class CArgument;
class CArgumentArray;
}  // namespace Ferrox3D

namespace LuaValues {

// Pushes the Lua form of a value (nil for null and for kinds Lua has no form of). Never raises a Lua
// error except when memory runs out.
void Push(lua_State* L, const Ferrox3D::CArgument* pValue);

// A new engine value (count 1) for the Lua value at index; null when the value nests deeper than the
// limit (a table that contains itself, for one).
Ferrox3D::CArgument* ToArgument(lua_State* L, int index);

// Converts the Lua values first..last and appends them; false (and the text in pError, at least 64
// bytes) when one fails to convert.
bool AddArguments(lua_State* L, int first, int last, Ferrox3D::CArgumentArray* pTarget, char* pError,
                  size_t errorSize);

}  // namespace LuaValues
