// The native calling sequence from Lua: convert, call with the calling resource, push or raise.
#include "LuaScripting/LuaNative.h"
#include <cstdio>
#include <exception>
#include "Engine/ArgumentArray.h"
#include "Engine/LastError.h"
#include "Engine/Limits.h"
#include "Engine/NativeState.h"
#include "LuaScripting/LuaObjects.h"
#include "LuaScripting/LuaScriptEnvironment.h"
#include "LuaScripting/LuaScripting.h"
#include "LuaScripting/LuaValues.h"

using namespace Ferrox3D;

namespace {

struct tNativeError {
    char text[LAST_ERROR_BUFFER];
};

// All C++ work of a call, so no Lua error ever jumps over a destructor. -1 when the call failed.
int RunNative(lua_State* L, const ScriptFunction& function, void* pUser, CBaseObject* pThis, int first, int last,
              tNativeError& error) {
    try {
        Strong<CArgumentArray> arguments =
            Strong<CArgumentArray>::Adopt(new CArgumentArray(last >= first ? last - first + 1 : 0));
        if (!LuaValues::AddArguments(L, first, last, arguments, error.text, sizeof(error.text)))
            return -1;
        CLuaScripting* pLua = CLuaScripting::Get(L);
        CLuaScriptEnvironment* pEnvironment = pLua->GetScriptEnvironment();
        CNativeState state(pLua->GetScripting(), pEnvironment ? pEnvironment->GetResource() : nullptr, arguments,
                           pThis);
        if (!function.Call(state, pUser)) {
            snprintf(error.text, sizeof(error.text), "%s", GetLastError());
            return -1;
        }
        const CArgument* result = state.GetReturnValue();
        if (!result || result->IsNull())
            return 0;
        LuaValues::Push(L, result);
        return 1;
    } catch (const std::exception& e) {
        snprintf(error.text, sizeof(error.text), "%s", e.what());
    } catch (...) {
        snprintf(error.text, sizeof(error.text), "Native call failed");
    }
    return -1;
}

int NativeClosure(lua_State* L) {
    auto* pFunction = static_cast<const ScriptFunction*>(lua_touserdata(L, lua_upvalueindex(1)));
    void* pUser = lua_touserdata(L, lua_upvalueindex(2));
    bool isMethod = lua_toboolean(L, lua_upvalueindex(3));
    int first = 1;
    CBaseObject* pThis = nullptr;
    if (isMethod) {
        bool isBinding;
        pThis = LuaObjects::Get(L, 1, &isBinding);
        if (isBinding)
            first = 2;  // the receiver is "this", not an argument
    }
    return LuaNative::Call(L, *pFunction, pUser, pThis, first, lua_gettop(L));
}

}  // namespace

namespace LuaNative {

void PushFunction(lua_State* L, const ScriptFunction* pFunction, void* pUser, bool isMethod) {
    lua_pushlightuserdata(L, const_cast<ScriptFunction*>(pFunction));
    lua_pushlightuserdata(L, pUser);
    lua_pushboolean(L, isMethod);
    lua_pushcclosure(L, NativeClosure, 3);
}

int Call(lua_State* L, const ScriptFunction& function, void* pUser, CBaseObject* pThis, int first, int last) {
    tNativeError error;  // plain bytes: nothing to destroy when the error below unwinds
    int results = RunNative(L, function, pUser, pThis, first, last, error);
    if (results < 0)
        return luaL_error(L, "%s", error.text);
    return results;
}

}  // namespace LuaNative
