// Registry references: made inside a coroutine, they stay usable after the coroutine is collected.
#include "LuaTestFixture.h"
#include "LuaScripting/LuaReference.h"

namespace {
CLuaStrongReference* g_pCaptured = nullptr;

int Capture(lua_State* L) {
    *g_pCaptured = CLuaStrongReference(CLuaScripting::Get(L)->GetStateHandle(), L, 1);
    return 0;
}
}  // namespace

TEST(LuaReference, OutlivesTheCoroutineThatMadeIt) {
    CCapturedLog log;
    Ferrox3D::CScripting scripting;
    CLuaScripting lua(&scripting);
    CLuaStrongReference captured;
    g_pCaptured = &captured;
    EnvironmentPtr env = MakeEnvironment(lua, "refs");
    lua_State* L = lua.GetState();
    env->PushTable(L);
    lua_pushcfunction(L, Capture);
    lua_setfield(L, -2, "capture");
    lua_pop(L, 1);
    ASSERT_TRUE(RunLuaText(env, R"(
        local co = coroutine.create(function()
            local upvalue = "kept"
            capture(function(a) return upvalue .. a end)
            coroutine.yield()
        end)
        assert(coroutine.resume(co))
        co = nil
        collectgarbage()
        collectgarbage()
    )")) << log.All();
    ASSERT_TRUE(captured.IsSet());
    EXPECT_EQ(captured.GetMainState(), L);
    captured.Push(L);
    lua_pushstring(L, "!");
    ASSERT_TRUE(env->Call(1, 1)) << log.All();
    EXPECT_STREQ(lua_tostring(L, -1), "kept!");
    lua_pop(L, 1);

    CLuaStrongReference copy = captured.Duplicate();
    captured.Reset();
    copy.Push(L);
    EXPECT_EQ(lua_type(L, -1), LUA_TFUNCTION);
    lua_pop(L, 1);
    g_pCaptured = nullptr;
}

TEST(LuaReference, ReleasedAfterTheStateClosedIsHarmless) {
    CLuaStrongReference survivor;
    {
        Ferrox3D::CScripting scripting;
        CLuaScripting lua(&scripting);
        lua_State* L = lua.GetState();
        lua_newtable(L);
        survivor = CLuaStrongReference(lua.GetStateHandle(), L, -1);
        lua_pop(L, 1);
    }
    EXPECT_EQ(survivor.GetMainState(), nullptr);
    survivor.Reset();  // must not touch the freed state (AddressSanitizer watches)
}
