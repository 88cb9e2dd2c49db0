// Events with Lua handlers: dispatch order, failing handlers, engine-raised events with converted arguments.
#include "LuaApiFixture.h"
#include "Scripting/EventHandlers.h"
#include "Scripting/EventType.h"

using namespace LuaApi;

namespace {

// Publishes the event API into the tree before the Lua classes are made.
struct tEventApi {
    explicit tEventApi(CScripting* pScripting) { m_Events.RegisterFunctions(pScripting); }
    CEventHandlers m_Events;
};

class LuaEventTest : public ::testing::Test {
protected:
    LuaEventTest() : m_EventApi(&m_Api.m_Scripting), m_Lua(&m_Api.m_Scripting) {
        EXPECT_TRUE(m_Lua.DefineClasses());
        m_pEngineEvent = m_EventApi.m_Events.CreateEventType("OnEngine", "raised by the engine", 3, false);
        m_pEnvironment = static_cast<CLuaScriptEnvironment*>(m_Lua.CreateEnvironment("events"));
        m_pEnvironment->SetResource(reinterpret_cast<CResource*>(uintptr_t(0x10)));
    }
    ~LuaEventTest() override {
        m_EventApi.m_Events.RemoveHandlers();
        m_pEnvironment->Destroy();
    }

    CCapturedLog m_Log;
    CTestApi m_Api;
    tEventApi m_EventApi;
    CLuaScripting m_Lua;
    CEventType* m_pEngineEvent = nullptr;
    CLuaScriptEnvironment* m_pEnvironment = nullptr;
};

TEST_F(LuaEventTest, HandlersRunInOrderAndAFailingOneStopsOnlyItself) {
    ASSERT_TRUE(RunLuaFile(m_pEnvironment, "events.lua")) << m_Log.All();
    EXPECT_TRUE(m_Log.Contains("SCRIPT ERROR: events.lua:10: handler failure")) << m_Log.All();
}

TEST_F(LuaEventTest, EngineEventsReachLuaWithConvertedArguments) {
    ASSERT_TRUE(RunLuaFile(m_pEnvironment, "events.lua")) << m_Log.All();
    m_Log.Clear();
    Strong<CArgumentArray> args = Strong<CArgumentArray>::Adopt(new CArgumentArray());
    args->AddObject(m_Api.m_pHeld);
    args->AddVector3D(CVector3D(7, 8, 9));
    auto* data = new CArgumentMap();
    data->Set("name", new CArgumentString("payload"));
    auto* list = new CArgumentArray();
    list->AddNumber(int32_t(1));
    list->AddNumber(int32_t(2));
    data->Set("list", list);
    args->AddAndOwn(data);
    EXPECT_TRUE(m_pEngineEvent->Trigger(args));
    EXPECT_TRUE(m_Log.Contains("SCRIPT ERROR: events.lua:30: attempt to index a nil value")) << m_Log.All();
    EXPECT_TRUE(RunLuaText(m_pEnvironment, R"(
        assert(received.element == held())
        assert(received.x == 7 and received.name == "payload" and received.count == 2)
    )")) << m_Log.All();
}
}  // namespace
