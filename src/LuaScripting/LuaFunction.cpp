// Calling Lua functions from the engine and engine functions from Lua.
#include "LuaScripting/LuaFunction.h"
#include <utility>
#include "Engine/ArgumentArray.h"
#include "Engine/Scripting.h"
#include "LuaScripting/LuaObjects.h"
#include "LuaScripting/LuaScripting.h"
#include "LuaScripting/LuaValues.h"

using namespace Ferrox3D;

CLuaFunction::CLuaFunction(CLuaScriptEnvironment* pEnvironment, CLuaStrongReference function)
    : m_pEnvironment(pEnvironment), m_Function(std::move(function)) {}

bool CLuaFunction::Call(CArgumentArray* pArguments, CReturnValue* pResult) {
    lua_State* L = m_Function.GetMainState();
    int count = pArguments ? static_cast<int>(pArguments->GetArrayCount()) : 0;
    if (!L || !lua_checkstack(L, count + 2))
        return false;
    m_Function.Push(L);
    for (int i = 0; i < count; ++i)
        LuaValues::Push(L, pArguments->GetAt(i));
    if (!CLuaScripting::Get(L)->Call(m_pEnvironment, count, pResult ? 1 : 0))
        return false;
    if (pResult) {
        CArgument* value = LuaValues::ToArgument(L, -1);
        pResult->AddAndOwn(value ? value : new CArgument(ARGUMENT_UNDEFINED));
        lua_pop(L, 1);
    }
    return true;
}

namespace {

// Runs the engine function of the closure; the result count, or -1 when it failed.
int CallEngineFunction(lua_State* L, CFunction* pFunction, char* error, size_t errorSize) {
    Strong<CArgumentArray> arguments = Strong<CArgumentArray>::Adopt(new CArgumentArray(lua_gettop(L)));
    if (!LuaValues::AddArguments(L, 1, lua_gettop(L), arguments, error, errorSize))
        return -1;
    CReturnValue result;
    if (!pFunction->Invoke(arguments, &result) || !result.GetReturnArgument())
        return 0;
    LuaValues::Push(L, result.GetReturnArgument());
    return 1;
}

int EngineFunctionClosure(lua_State* L) {
    auto* pFunction = static_cast<CFunction*>(LuaObjects::Get(L, lua_upvalueindex(1)));
    if (!pFunction)
        return 0;
    char error[128] = "Function call failed";
    int results;
    try {
        results = CallEngineFunction(L, pFunction, error, sizeof(error));
    } catch (...) {
        results = -1;
    }
    if (results < 0)
        return luaL_error(L, "%s", error);
    return results;
}

}  // namespace

namespace LuaFunctions {

CLuaFunction* MakeFunction(lua_State* L, int index) {
    CLuaScripting* pLua = CLuaScripting::Get(L);
    auto* pFunction = new CLuaFunction(pLua->GetScriptEnvironment(), CLuaStrongReference(pLua->GetStateHandle(), L, index));
    pFunction->SetReflectedClass(pLua->GetScripting()->GetFunctionClass());
    return pFunction;
}

void PushEngineFunction(lua_State* L, CFunction* pFunction) {
    if (!pFunction) {
        lua_pushnil(L);
        return;
    }
    CLuaScripting::Get(L)->PushObject(L, pFunction, CLuaScripting::Get(L)->GetScripting()->GetFunctionClass());
    lua_pushcclosure(L, EngineFunctionClosure, 1);
}

}  // namespace LuaFunctions
