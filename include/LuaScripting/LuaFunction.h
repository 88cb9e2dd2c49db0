// Functions across the boundary: Lua functions as engine functions, engine functions as Lua closures.
#pragma once
#include <lua.hpp>
#include "Engine/Function.h"
#include "LuaScripting/LuaReference.h"
#include "LuaScripting/LuaScriptEnvironment.h"

// A Lua function held by the engine (an event handler, a timer callback). It is called on the main
// state in the environment it came from, whichever coroutine handed it over.
class CLuaFunction : public Ferrox3D::CFunction {
public:
    CLuaFunction(CLuaScriptEnvironment* pEnvironment, CLuaStrongReference function);

    bool Call(Ferrox3D::CArgumentArray* pArguments, Ferrox3D::CReturnValue* pResult) override;
    void Push(lua_State* L) const { m_Function.Push(L); }

private:
    Ferrox3D::Strong<CLuaScriptEnvironment> m_pEnvironment;
    CLuaStrongReference m_Function;
};

namespace LuaFunctions {

// A new CLuaFunction for the Lua function at index, tied to the executing environment.
CLuaFunction* MakeFunction(lua_State* L, int index);
// Pushes a closure that calls the engine function (nil for null).
void PushEngineFunction(lua_State* L, Ferrox3D::CFunction* pFunction);

}  // namespace LuaFunctions
