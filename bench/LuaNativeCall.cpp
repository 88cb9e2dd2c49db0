// A native called from Lua through the reflection layer against a bare lua_CFunction doing the same work.
#include <benchmark/benchmark.h>
#include "Engine/NativeState.h"
#include "Engine/Scripting.h"
#include "Engine/Stream.h"
#include "LuaScripting/LuaScriptEnvironment.h"
#include "LuaScripting/LuaScripting.h"

using namespace Ferrox3D;

namespace {

constexpr int CALLS_PER_ITERATION = 1000;

bool AddNative(CNativeState* pState, int32_t, void*) {
    int32_t a, b;
    if (!pState->CheckNumber(0, a) || !pState->CheckNumber(1, b))
        return false;
    pState->ReturnNumber(a + b);
    return true;
}

int AddBare(lua_State* L) {
    lua_Integer a = luaL_checkinteger(L, 1);
    lua_Integer b = luaL_checkinteger(L, 2);
    lua_pushinteger(L, static_cast<int32_t>(a + b));
    return 1;
}

const char LOOP[] =
    "function loop(f)\n"
    "  local sum = 0\n"
    "  for i = 1, 1000 do sum = f(i, 1) end\n"
    "  return sum\n"
    "end\n";

class CBenchLua {
public:
    CBenchLua() : m_Lua(&m_Scripting) {
        m_Scripting.GetGlobal()->RegisterFunction("add", "ii", &AddNative);
        m_Lua.DefineClasses();
        m_pEnvironment = static_cast<CLuaScriptEnvironment*>(m_Lua.CreateEnvironment("bench"));
        lua_State* L = m_Lua.GetState();
        m_pEnvironment->PushTable(L);
        lua_pushcfunction(L, AddBare);
        lua_setfield(L, -2, "addBare");
        lua_pop(L, 1);
        CMemoryStream loop(LOOP, sizeof(LOOP) - 1);
        m_pEnvironment->DoFile(&loop, "loop.lua");
    }
    ~CBenchLua() { m_pEnvironment->Destroy(); }

    // Calls loop(<global name>) once: CALLS_PER_ITERATION calls of the function.
    bool Run(const char* function) {
        lua_State* L = m_Lua.GetState();
        m_pEnvironment->PushTable(L);
        lua_getfield(L, -1, "loop");
        lua_getfield(L, -2, function);
        bool ok = m_pEnvironment->Call(1, 1) && lua_tointeger(L, -1) == CALLS_PER_ITERATION + 1;
        lua_pop(L, ok ? 2 : 1);
        return ok;
    }

private:
    CScripting m_Scripting;
    CLuaScripting m_Lua;
    CLuaScriptEnvironment* m_pEnvironment;
};

void RunCalls(benchmark::State& state, const char* function) {
    CBenchLua lua;
    for (auto _ : state) {
        if (!lua.Run(function)) {
            state.SkipWithError("the Lua loop failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * CALLS_PER_ITERATION);
}

void BM_ReflectedNative(benchmark::State& state) { RunCalls(state, "add"); }
void BM_BareCFunction(benchmark::State& state) { RunCalls(state, "addBare"); }

}  // namespace

BENCHMARK(BM_BareCFunction);
BENCHMARK(BM_ReflectedNative);
