// JavaScript handlers of engine events, the registry's constants, and scripts that throw.
#include "JSTestSupport.h"
#include "Scripting/EventHandlers.h"

using Ferrox3D::LOGTYPE_ERROR;

class JSEventTest : public JSBindingTest {
protected:
    void RegisterApi(Ferrox3D::CScripting& scripting) override {
        m_Events.RegisterFunctions(&scripting);
        m_pType = m_Events.CreateEventType("OnTest", "", 2, true);
        scripting.GetDefineHandlers()->Define("NEG_ONE", int32_t(-1));
        scripting.GetDefineHandlers()->Define("ALL_BITS", uint32_t(0xFFFFFFFF));
    }
    void TearDown() override {
        m_Events.RemoveHandlers();
        JSBindingTest::TearDown();
    }
    Ferrox3D::CEventHandlers m_Events;
    Ferrox3D::EventHandlers::CEventType* m_pType = nullptr;
};

TEST_F(JSEventTest, ConstantsAreReadOnlyIntegers) {
    EXPECT_EQ(Eval("NEG_ONE + ',' + ALL_BITS"), "-1,4294967295");
    EXPECT_EQ(Eval("(() => { 'use strict'; try { NEG_ONE = 3; } catch (e) { return e instanceof TypeError; } })()"),
              "true");
}

TEST_F(JSEventTest, HandlersReceiveTheEventAndArguments) {
    ASSERT_TRUE(Run("var seen = [];"
                    "addEventHandler('ontest', (event, a, b) => {"
                    "  seen.push(event instanceof CancellableEvent, event instanceof Event, a, typeof b);"
                    "  event.preventDefault(); });"
                    "addEventHandler('OnTest', (event) => { seen.push(event.isDefaultPrevented()); });"));
    Ferrox3D::CArgumentArray arguments;
    arguments.AddString("first");
    arguments.AddVector3D(Ferrox3D::CVector3D(4, 5, 6));
    bool bPrevented = false;
    EXPECT_TRUE(m_pType->Trigger(&arguments, bPrevented));
    EXPECT_TRUE(bPrevented);
    EXPECT_EQ(Eval("seen.join()"), "true,true,first,undefined,true") << "no Vec3 class here: vectors are undefined";
}

TEST_F(JSEventTest, AThrowingHandlerIsLoggedAndTheRestStillRun) {
    ASSERT_TRUE(Run("var after = 0;\n"
                    "addEventHandler('OnTest', () => { throw new Error('handler broke'); });\n"
                    "addEventHandler('OnTest', () => { after++; });",
                    "handlers.js"));
    EXPECT_TRUE(m_pType->Trigger());
    EXPECT_TRUE(m_Log.Has("Error: handler broke", LOGTYPE_ERROR));
    EXPECT_TRUE(m_Log.HasSubstring("File: handlers.js Line: 2"));
    EXPECT_EQ(Eval("after"), "1");
    EXPECT_TRUE(m_pType->Trigger());
    EXPECT_EQ(Eval("after"), "2");
}

TEST_F(JSEventTest, AsyncHandlersFinishAtTheCheckpointAfterTheTrigger) {
    ASSERT_TRUE(Run("var log = [];"
                    "addEventHandler('OnTest', async (event) => { log.push('start'); await null; log.push('end');"
                    "  throw new Error('late failure'); });"));
    m_pType->Trigger();
    EXPECT_TRUE(m_Log.Has("Error: late failure", LOGTYPE_ERROR)) << "the unhandled rejection is reported";
    EXPECT_EQ(Eval("log.join()"), "start,end");
}

TEST_F(JSEventTest, ScriptErrorsFromTheEventApiAreCatchable) {
    EXPECT_EQ(Eval("(() => { try { triggerEvent('NoSuchEvent'); } catch (e) { return e.message; } })()"),
              "Event 'NoSuchEvent' doesn't exist");
    EXPECT_EQ(Eval("addEvent('OnScript') && triggerEvent('OnScript', null, 1)"), "false");
}
