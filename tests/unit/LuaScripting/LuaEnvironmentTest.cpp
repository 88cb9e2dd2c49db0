// Resource environments: the library subset, isolation, load, print and script errors with file and line.
#include "LuaTestFixture.h"

class LuaEnvironmentTest : public ::testing::Test {
protected:
    CCapturedLog m_Log;
    Ferrox3D::CScripting m_Scripting;
    CLuaScripting m_Lua{&m_Scripting};
};

TEST_F(LuaEnvironmentTest, HoldsExactlyTheLibrarySubset) {
    EnvironmentPtr env = MakeEnvironment(m_Lua, "subset");
    // an empty script API leaves only its two built-in namespaces beside the library subset
    EXPECT_TRUE(RunLuaText(env, "assert(type(reflection) == 'table' and type(module) == 'table')"));
    EXPECT_TRUE(RunLuaText(env, "reflection = nil; module = nil")) << m_Log.All();
    EXPECT_TRUE(RunLuaFile(env, "library_subset.lua")) << m_Log.All();
}

TEST_F(LuaEnvironmentTest, LoadAndPrintAreTheEnvironmentsOwn) {
    EnvironmentPtr env = MakeEnvironment(m_Lua, "loader");
    EXPECT_TRUE(RunLuaFile(env, "load_and_print.lua")) << m_Log.All();
    EXPECT_TRUE(m_Log.Contains("hello\t1\tnil\ttrue")) << m_Log.All();
}

TEST_F(LuaEnvironmentTest, ResourcesDoNotSeeEachOthersGlobals) {
    EnvironmentPtr a = MakeEnvironment(m_Lua, "a");
    EnvironmentPtr b = MakeEnvironment(m_Lua, "b");
    ASSERT_TRUE(RunLuaText(a, "x = 'a'; string.extra = 1; _G.y = 1"));
    ASSERT_TRUE(RunLuaText(b, "x = 'b'"));
    EXPECT_TRUE(RunLuaText(a, "assert(x == 'a')")) << m_Log.All();
    EXPECT_TRUE(RunLuaText(b, "assert(x == 'b' and y == nil and string.extra == nil)")) << m_Log.All();
    // nothing leaked into the shared globals either
    lua_State* L = m_Lua.GetState();
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    EXPECT_EQ(lua_getfield(L, -1, "x"), LUA_TNIL);
    lua_pop(L, 2);
}

struct tErrorCase {
    const char* name;
    const char* script;
    const char* expected;  // the start of the SCRIPT ERROR line
};

TEST_F(LuaEnvironmentTest, ErrorsNameFileAndLine) {
    const tErrorCase cases[] = {
        {"runtime", "local a = 1\n\nerror('boom')\n", "SCRIPT ERROR: runtime.lua:3: boom"},
        {"syntax", "local a = 1\nlocal = 2\n", "SCRIPT ERROR: syntax.lua:2:"},
        {"arith", "local t\nlocal n = t.x\n", "SCRIPT ERROR: arith.lua:2: attempt to index a nil value"},
        {"table", "error({})", "SCRIPT ERROR: (error object is a table value)"},
        {"nested", "local function f()\n  error('deep', 2)\nend\nf()\n", "SCRIPT ERROR: nested.lua:4: deep"},
    };
    for (const tErrorCase& c : cases) {
        m_Log.Clear();
        EnvironmentPtr env = MakeEnvironment(m_Lua, c.name);
        std::string file = std::string(c.name) + ".lua";
        EXPECT_FALSE(RunLuaText(env, c.script, file.c_str())) << c.name;
        ASSERT_FALSE(m_Log.m_Lines.empty()) << c.name;
        EXPECT_EQ(m_Log.m_Lines[0].first, Ferrox3D::LOGTYPE_ERROR) << c.name;
        EXPECT_EQ(m_Log.m_Lines[0].second.rfind(c.expected, 0), 0u) << c.name << ": " << m_Log.All();
    }
}

TEST_F(LuaEnvironmentTest, RuntimeErrorsCarryATraceback) {
    EnvironmentPtr env = MakeEnvironment(m_Lua, "trace");
    EXPECT_FALSE(RunLuaText(env, "local function inner()\n  error('x')\nend\ninner()\n", "trace.lua"));
    EXPECT_TRUE(m_Log.Contains("stack traceback:")) << m_Log.All();
    EXPECT_TRUE(m_Log.Contains("trace.lua:4: in main chunk")) << m_Log.All();
}

TEST_F(LuaEnvironmentTest, PrecompiledFilesAreRefused) {
    EnvironmentPtr env = MakeEnvironment(m_Lua, "binary");
    const std::string binary = std::string("\x1bLua\x53", 5) + "rest";
    EXPECT_FALSE(RunLuaText(env, binary, "binary.lua"));
    EXPECT_TRUE(m_Log.Contains("SCRIPT ERROR: binary.lua: attempt to load a binary chunk")) << m_Log.All();
}

TEST_F(LuaEnvironmentTest, ExecutingStackFollowsCalls) {
    EnvironmentPtr env = MakeEnvironment(m_Lua, "stack");
    EXPECT_EQ(m_Lua.GetScriptEnvironment(), nullptr);
    lua_State* L = m_Lua.GetState();
    lua_pushcfunction(L, [](lua_State* L) -> int {
        lua_pushlightuserdata(L, CLuaScripting::Get(L)->GetScriptEnvironment());
        return 1;
    });
    ASSERT_TRUE(env->Call(0, 1));
    EXPECT_EQ(lua_touserdata(L, -1), env.Get());
    lua_pop(L, 1);
    EXPECT_EQ(m_Lua.GetScriptEnvironment(), nullptr);
}
