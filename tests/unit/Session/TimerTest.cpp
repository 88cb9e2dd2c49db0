// Timers through their script functions: slots, firing, counts, clearing during the step, bad delays.
#include <gtest/gtest.h>
#include <vector>
#include "ScriptCallUtil.h"
#include "Scripting/TimerHandlers.h"

using namespace Ferrox3D;
using namespace SessionTest;

namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override { m_Timers.RegisterFunctions(&m_Scripting); }

    // setTimeout/setInterval(function, delay, extra...) or setImmediate(function, extra...).
    CScriptTimer* Create(const char* name, CFunction* pFunction, double delay = -1, CResource* pResource = nullptr) {
        CArgumentArray arguments;
        arguments.AddFunction(pFunction);
        if (delay >= 0)
            arguments.AddNumber(delay);
        tCall call = CallGlobal(m_Scripting, pResource, name, arguments);
        EXPECT_TRUE(call.m_bOk) << call.m_Error;
        if (!call.m_bOk || !call.m_pResult || !call.m_pResult->IsObject())
            return nullptr;
        return static_cast<CScriptTimer*>(call.m_pResult->ToObject());
    }

    tCall Clear(CScriptTimer* pTimer) {
        CArgumentArray arguments;
        arguments.AddObject(pTimer);
        return CallGlobal(m_Scripting, nullptr, "clearTimeout", arguments);
    }

    CScripting m_Scripting;
    CTimerHandlers m_Timers;
};

TEST_F(TimerTest, TakesLowestFreeSlotAndRefusesTheOneTooMany) {
    auto pFunction = MakeFunction();
    std::vector<CScriptTimer*> timers;
    for (size_t i = 0; i < TIMER_SLOT_COUNT; ++i)
        timers.push_back(Create("setTimeout", pFunction, 1000));
    EXPECT_EQ(m_Timers.GetUsedCount(), TIMER_SLOT_COUNT);
    EXPECT_EQ(timers[17]->GetSlot(), 17);

    CArgumentArray arguments;
    arguments.AddFunction(pFunction);
    arguments.AddNumber(10);
    tCall full = CallGlobal(m_Scripting, nullptr, "setTimeout", arguments);
    ASSERT_TRUE(full.m_bOk);
    EXPECT_TRUE(full.m_pResult && full.m_pResult->IsNull());

    EXPECT_TRUE(ResultIsTrue(Clear(timers[17])));
    CScriptTimer* pNext = Create("setInterval", pFunction, 5);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(pNext->GetSlot(), 17);
}

TEST_F(TimerTest, FiringFollowsIntervalCountAndStoredArguments) {
    std::vector<std::string> seen;
    auto pOnce = MakeFunction([&](CArgumentArray* pArgs) { seen.push_back(pArgs->GetAt(0)->ToString()); });
    CArgumentArray arguments;
    arguments.AddFunction(pOnce);
    arguments.AddNumber(100);
    arguments.AddString("payload");
    ASSERT_TRUE(CallGlobal(m_Scripting, nullptr, "setTimeout", arguments).m_bOk);
    auto pRepeat = MakeFunction();
    Create("setInterval", pRepeat, 100);

    for (int pass = 1; pass <= 4; ++pass)
        m_Timers.Process(0.02);
    EXPECT_TRUE(seen.empty());
    m_Timers.Process(0.02);  // 100 ms reached on the fifth 20 ms step
    EXPECT_EQ(seen, std::vector<std::string>{"payload"});
    EXPECT_EQ(pRepeat->m_Calls, 1);
    EXPECT_EQ(m_Timers.GetUsedCount(), 1u);  // the timeout is gone, the interval stays

    for (int pass = 0; pass < 10; ++pass)
        m_Timers.Process(0.02);
    EXPECT_EQ(pRepeat->m_Calls, 3);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(TimerTest, ZeroDelayAndImmediateFireOnTheNextStepOnce) {
    auto pTimeout = MakeFunction();
    auto pImmediate = MakeFunction();
    Create("setTimeout", pTimeout, 0);
    Create("setImmediate", pImmediate);
    m_Timers.Process(0.0);
    m_Timers.Process(0.0);
    EXPECT_EQ(pTimeout->m_Calls, 1);
    EXPECT_EQ(pImmediate->m_Calls, 1);
    EXPECT_EQ(m_Timers.GetUsedCount(), 0u);
}

TEST_F(TimerTest, TimerClearingItselfRunsOnceAndClearsFalseAfterwards) {
    Strong<CScriptTimer> pSelf;
    auto pFunction = MakeFunction([&](CArgumentArray*) { EXPECT_TRUE(m_Timers.RemoveTimer(pSelf)); });
    pSelf = Create("setInterval", pFunction, 0);
    m_Timers.Process(0.01);
    m_Timers.Process(0.01);
    EXPECT_EQ(pFunction->m_Calls, 1);
    EXPECT_FALSE(Clear(pSelf).m_pResult->ToBoolean());
}

TEST_F(TimerTest, CallbacksClearingAndCreatingOthersDuringTheStep) {
    Strong<CScriptTimer> pLater;
    auto pLaterFunction = MakeFunction();
    auto pCreated = MakeFunction();
    auto pFirst = MakeFunction([&](CArgumentArray*) {
        m_Timers.RemoveTimer(pLater);         // a higher slot cleared before its turn: not visited
        Create("setImmediate", pCreated);     // lands in the slot just freed above the current one
    });
    Create("setInterval", pFirst, 0);
    pLater = Create("setInterval", pLaterFunction, 0);
    m_Timers.Process(0.01);
    EXPECT_EQ(pLaterFunction->m_Calls, 0);
    EXPECT_EQ(pCreated->m_Calls, 1);  // created in a higher slot during the step: visited in it
}

TEST_F(TimerTest, ClearingATimerWhoseSlotWasRetakenLeavesTheNewOne) {
    auto pFunction = MakeFunction();
    Strong<CScriptTimer> pOld = Create("setTimeout", pFunction, 0);
    m_Timers.Process(0.0);  // fires and frees slot 0
    CScriptTimer* pNew = Create("setInterval", pFunction, 50);
    ASSERT_EQ(pNew->GetSlot(), pOld->GetSlot());
    EXPECT_FALSE(Clear(pOld).m_pResult->ToBoolean());
    EXPECT_EQ(m_Timers.GetTimer(0), pNew);
}

TEST_F(TimerTest, RefusesNegativeAndAbsurdDelays) {
    auto pFunction = MakeFunction();
    for (double delay : {-1.0, -0.5, 4294967295.0, 1e300, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        CArgumentArray arguments;
        arguments.AddFunction(pFunction);
        arguments.AddNumber(delay);
        tCall call = CallGlobal(m_Scripting, nullptr, "setTimeout", arguments);
        EXPECT_FALSE(call.m_bOk) << delay;
        EXPECT_NE(call.m_Error.find("Invalid delay"), std::string::npos) << call.m_Error;
    }
    EXPECT_EQ(m_Timers.GetUsedCount(), 0u);
}

TEST_F(TimerTest, RemovesOnlyTheStoppingResourcesTimers) {
    auto pFunction = MakeFunction();
    Create("setTimeout", pFunction, 10, FakeResource(1));
    Create("setTimeout", pFunction, 10, FakeResource(2));
    Create("setTimeout", pFunction, 10, FakeResource(1));
    EXPECT_EQ(m_Timers.RemoveTimers(FakeResource(1)), 2u);
    ASSERT_EQ(m_Timers.GetUsedCount(), 1u);
    EXPECT_EQ(m_Timers.GetTimer(1)->GetResource(), FakeResource(2));
}

}  // namespace
