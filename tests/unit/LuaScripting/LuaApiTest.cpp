// The published script API seen from Lua: conversions, classes, namespaces, objects across collections.
#include "LuaApiFixture.h"
#include "LuaScripting/LuaObjects.h"

using namespace LuaApi;

TEST_F(LuaApiTest, ConvertsValuesBothWays) {
    EXPECT_TRUE(RunLuaFile(Environment("conversions"), "conversions.lua")) << m_Log.All();
}

TEST_F(LuaApiTest, ClassTablesWithInheritance) {
    CLuaScriptEnvironment* a = Environment("a");
    EXPECT_TRUE(RunLuaFile(a, "classes.lua")) << m_Log.All();
    CLuaScriptEnvironment* b = Environment("b");
    EXPECT_TRUE(RunLuaText(b, "assert(shared == nil and Animal ~= nil)")) << m_Log.All();
    EXPECT_TRUE(RunLuaText(a, "assert(shared == Animal)")) << m_Log.All();
}

TEST_F(LuaApiTest, NamespaceTablesAndProperties) {
    EXPECT_TRUE(RunLuaFile(Environment("ns"), "namespaces.lua")) << m_Log.All();
    EXPECT_EQ(m_Api.m_Counter, 3);
}

TEST_F(LuaApiTest, ObjectsAcrossCollections) {
    CLuaScriptEnvironment* env = Environment("gc");
    int liveBefore = CAnimal::s_Live;
    EXPECT_TRUE(RunLuaFile(env, "collection.lua")) << m_Log.All();
    EXPECT_TRUE(RunLuaText(env, "rescued = nil")) << m_Log.All();
    m_Lua.CollectGarbage();
    m_Lua.CollectGarbage();
    EXPECT_EQ(m_Api.m_pHeld->GetRefCount(), 1);  // every userdata gave its reference back
    EXPECT_EQ(CAnimal::s_Live, liveBefore);
}

TEST_F(LuaApiTest, ObjectDestroyedByTheEngineIsNeverReached) {
    CLuaScriptEnvironment* env = Environment("victim");
    CAnimal* victim = CTestApi::NewAnimalObject("victim", m_Api.m_pAnimal);
    lua_State* L = m_Lua.GetState();
    env->PushTable(L);
    m_Lua.PushObject(L, victim);
    lua_setfield(L, -2, "victim");
    lua_pop(L, 1);
    size_t records = CLuaReferenceable::GetLiveCount();
    victim->Obliterate();  // strong holders (the userdata) notwithstanding
    EXPECT_EQ(CLuaReferenceable::GetLiveCount(), records - 1);
    EXPECT_TRUE(RunLuaText(env, R"(
        local ok, err = pcall(function() return victim.name end)
        assert(not ok and err:find("'this' is null", 1, true), err)
        assert(describe(victim) == "nil")
        victim = nil
        collectgarbage()
    )")) << m_Log.All();
}

TEST_F(LuaApiTest, FunctionsMadeInCoroutinesAreCalledOnTheMainState) {
    CLuaScriptEnvironment* env = Environment("co");
    ASSERT_TRUE(RunLuaText(env, R"(
        local co = coroutine.create(function()
            local prefix = "got "
            store(function(x) return prefix .. x end)
            coroutine.yield()
        end)
        coroutine.resume(co)
        co = nil
        collectgarbage()
        collectgarbage()
    )")) << m_Log.All();
    ASSERT_TRUE(m_Api.m_pStored);
    Strong<CArgumentArray> args = Strong<CArgumentArray>::Adopt(new CArgumentArray());
    args->AddString("it");
    CReturnValue result;
    ASSERT_TRUE(m_Api.m_pStored->Call(args, &result)) << m_Log.All();
    EXPECT_EQ(Describe(result.GetReturnArgument()), "string:got it");
    m_Api.m_pStored.Reset();
}

TEST_F(LuaApiTest, CallsRunInTheirResource) {
    CLuaScriptEnvironment* env = Environment("owner");
    auto* resource = reinterpret_cast<CResource*>(uintptr_t(0x1230));
    env->SetResource(resource);
    ASSERT_TRUE(RunLuaText(env, "assert(resourceOf() == 0x1230); store(function() return resourceOf() end)"))
        << m_Log.All();
    CReturnValue result;
    ASSERT_TRUE(m_Api.m_pStored->Call(nullptr, &result)) << m_Log.All();
    EXPECT_EQ(Describe(result.GetReturnArgument()), "integer:4656");
    m_Api.m_pStored.Reset();
}

TEST_F(LuaApiTest, ErrorsInCallsFromTheEngineAreReportedWithFileAndLine) {
    CLuaScriptEnvironment* env = Environment("handler");
    ASSERT_TRUE(RunLuaText(env, "store(function()\n  error('in handler')\nend)", "handler.lua"));
    EXPECT_FALSE(m_Api.m_pStored->Call(nullptr, nullptr));
    EXPECT_TRUE(m_Log.Contains("SCRIPT ERROR: handler.lua:2: in handler")) << m_Log.All();
    m_Log.Clear();
    EXPECT_TRUE(RunLuaText(env, R"(
        local ok, err = pcall(callBack, function() error("inner") end)
        assert(not ok and err:find("callback failed", 1, true), err)
    )", "outer.lua")) << m_Log.All();
    EXPECT_TRUE(m_Log.Contains("SCRIPT ERROR: outer.lua:2: inner")) << m_Log.All();
    m_Api.m_pStored.Reset();
}

TEST_F(LuaApiTest, RecursionThroughNativesEndsInAScriptError) {
    CLuaScriptEnvironment* env = Environment("recursion");
    EXPECT_TRUE(RunLuaText(env, R"(
        local depth = 0
        local function dive() depth = depth + 1; return callBack(dive) end
        local ok, err = pcall(dive)
        assert(not ok and depth > 10, tostring(err))
    )")) << m_Log.All();
}
