// Key binds and network handlers: dispatch order, matching, and removal during a dispatch.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "Multiplayer/NetworkHandlers.h"
#include "ScriptCallUtil.h"
#include "Scripting/KeyBinds.h"

using namespace Ferrox3D;
using namespace SessionTest;

namespace {

constexpr int32_t KEY_F = 70;

tKeyEventMessage Key(bool bDown, int32_t repeat = 0, uint32_t keyCode = KEY_F) {
    tKeyEventMessage message;
    message.m_bDown = bDown;
    message.m_KeyCode = keyCode;
    message.m_RepeatCount = repeat;
    return message;
}

class KeyBindsTest : public ::testing::Test {
protected:
    void SetUp() override { m_Binds.RegisterFunctions(&m_Scripting); }

    tCall Bind(CResource* pResource, int32_t key, int32_t state, CFunction* pFunction, bool bRepeat = false) {
        CArgumentArray arguments;
        arguments.AddNumber(key);
        arguments.AddNumber(state);
        arguments.AddFunction(pFunction);
        arguments.AddBoolean(bRepeat);
        return CallGlobal(m_Scripting, pResource, "bindKey", arguments);
    }

    // A bind that appends its name to m_Order.
    Strong<CLambdaFunction> Recorder(const std::string& name) {
        return MakeFunction([this, name](CArgumentArray*) { m_Order.push_back(name); });
    }

    CScripting m_Scripting;
    CKeyBinds m_Binds;
    std::vector<std::string> m_Order;
};

TEST_F(KeyBindsTest, StatesAndRepeatsSelectTheBindsNewestFirst) {
    EXPECT_TRUE(ResultIsTrue(Bind(nullptr, KEY_F, KEYSTATE_DOWN, Recorder("down"))));
    Bind(nullptr, KEY_F, KEYSTATE_UP, Recorder("up"));
    Bind(nullptr, KEY_F, KEYSTATE_BOTH, Recorder("both+repeat"), true);
    Bind(nullptr, KEY_F, 7, Recorder("bad state"));  // stored as given; it never matches
    struct {
        tKeyEventMessage message;
        std::vector<std::string> expected;
    } cases[] = {
        {Key(true), {"both+repeat", "down"}},
        {Key(false), {"both+repeat", "up"}},
        {Key(true, 3), {"both+repeat"}},
        {Key(true, 0, KEY_F + 1), {}},
    };
    for (const auto& c : cases) {
        m_Order.clear();
        m_Binds.Dispatch(c.message, nullptr);
        EXPECT_EQ(m_Order, c.expected);
    }
}

TEST_F(KeyBindsTest, EventObjectCarriesTheFieldsAndPreventDefaultIsSeenByLaterBinds) {
    ReflectedClass* pClass = m_Binds.GetKeyEventClass();
    std::vector<int32_t> fields;
    bool bLaterSawPrevented = false;
    auto pReader = MakeFunction([&](CArgumentArray* pArgs) {
        CBaseObject* pEvent = pArgs->GetAt(0)->ToObject(pClass);
        ASSERT_NE(pEvent, nullptr);
        for (const char* name : {"keyCode", "scanCode", "mod", "repeat", "down"}) {
            CNativeState state(&m_Scripting, nullptr, nullptr, pEvent);
            ASSERT_TRUE(pClass->GetProperty(name)->Get(state)) << name;
            int32_t value = -1;
            state.GetReturnValue()->ToNumber(value);
            fields.push_back(value);
        }
        CNativeState query(&m_Scripting, nullptr, nullptr, pEvent);
        pClass->GetFunction("isDefaultPrevented")->Call(query);
        bLaterSawPrevented = query.GetReturnValue()->ToBoolean();
    });
    auto pPreventer = MakeFunction([&](CArgumentArray* pArgs) {
        CNativeState state(&m_Scripting, nullptr, nullptr, pArgs->GetAt(0)->ToObject());
        EXPECT_TRUE(pClass->GetFunction("preventDefault")->Call(state));
    });
    Bind(nullptr, KEY_F, KEYSTATE_BOTH, pReader, true);
    Bind(nullptr, KEY_F, KEYSTATE_BOTH, pPreventer, true);  // newer: runs first
    tKeyEventMessage message = Key(true, 2);
    message.m_ScanCode = 33;
    message.m_Modifiers = 0x0102;
    m_Binds.Dispatch(message, nullptr);
    EXPECT_EQ(fields, (std::vector<int32_t>{KEY_F, 33, 0x0102, 2, 1}));
    EXPECT_TRUE(bLaterSawPrevented);
}

TEST_F(KeyBindsTest, UnbindingDuringADispatchSkipsRemovedBindsAndDeletesThemAfter) {
    Bind(FakeResource(2), KEY_F, KEYSTATE_BOTH, Recorder("other resource"));
    Bind(FakeResource(1), KEY_F, KEYSTATE_BOTH, Recorder("own older"));
    auto pUnbinder = MakeFunction([&](CArgumentArray*) {
        m_Order.push_back("unbinder");
        CArgumentArray key;
        key.AddNumber(KEY_F);
        EXPECT_TRUE(ResultIsTrue(CallGlobal(m_Scripting, FakeResource(1), "unbindKey", key)));
    });
    Bind(FakeResource(1), KEY_F, KEYSTATE_BOTH, pUnbinder);
    pUnbinder.Reset();  // the bind holds the only reference while it runs
    m_Binds.Dispatch(Key(true), nullptr);
    EXPECT_EQ(m_Order, (std::vector<std::string>{"unbinder", "other resource"}));
    EXPECT_EQ(m_Binds.GetBindCount(KEY_F), 1u);

    CArgumentArray none;
    CallGlobal(m_Scripting, FakeResource(2), "unbindAllKeys", none);
    EXPECT_EQ(m_Binds.GetBindCount(KEY_F), 0u);
}

TEST_F(KeyBindsTest, PassesTheClientWhenAsked) {
    Strong<CBaseObject> pClient = Strong<CBaseObject>::Adopt(new CBaseObject);
    size_t count = 0;
    CBaseObject* pSeen = nullptr;
    Bind(nullptr, KEY_F, KEYSTATE_BOTH, MakeFunction([&](CArgumentArray* pArgs) {
        count = pArgs->GetArrayCount();
        pSeen = count > 1 ? pArgs->GetAt(1)->ToObject() : nullptr;
    }));
    m_Binds.Dispatch(Key(true), pClient);
    EXPECT_EQ(count, 1u);
    m_Binds.SetPassClient(true);
    m_Binds.Dispatch(Key(true), pClient);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(pSeen, pClient.Get());
}

class NetworkHandlersTest : public ::testing::Test {
protected:
    Strong<CLambdaFunction> Recorder(const std::string& name) {
        return MakeFunction([this, name](CArgumentArray* pArgs) {
            m_Order.push_back(name + "/" + std::to_string(pArgs->GetArrayCount()));
        });
    }

    CNetworkHandlers m_Handlers;
    std::vector<std::string> m_Order;
};

TEST_F(NetworkHandlersTest, NewestFirstWithTheClientInFrontAndNamesInAnyCase) {
    m_Handlers.AddHandler("Ping", nullptr, Recorder("first"));
    m_Handlers.AddHandler("PING", nullptr, Recorder("second"));
    m_Handlers.AddHandler("other", nullptr, Recorder("other"));
    Strong<CArgumentArray> pArguments = Strong<CArgumentArray>::Adopt(new CArgumentArray);
    pArguments->AddNumber(1);
    pArguments->AddString("x");
    EXPECT_EQ(m_Handlers.Dispatch(nullptr, "ping", pArguments), 2u);
    EXPECT_EQ(m_Order, (std::vector<std::string>{"second/3", "first/3"}));
    EXPECT_EQ(m_Handlers.Dispatch(nullptr, "nobody", pArguments), 0u);
}

TEST_F(NetworkHandlersTest, RemovalDuringADispatchSkipsTheRemovedAndDeletesAfter) {
    m_Handlers.AddHandler("ev", FakeResource(1), Recorder("own oldest"));
    m_Handlers.AddHandler("ev", FakeResource(2), Recorder("other"));
    m_Handlers.AddHandler("ev", FakeResource(1), MakeFunction([&](CArgumentArray*) {
        m_Order.push_back("remover");
        EXPECT_EQ(m_Handlers.RemoveHandlers("EV", FakeResource(1)), 2u);
        m_Handlers.AddHandler("ev", FakeResource(3), Recorder("added during"));  // first runs next time
    }));
    m_Handlers.Dispatch(nullptr, "ev", nullptr);
    EXPECT_EQ(m_Order, (std::vector<std::string>{"remover", "other/1"}));
    EXPECT_EQ(m_Handlers.GetHandlerCount("ev"), 2u);
    m_Order.clear();
    m_Handlers.Dispatch(nullptr, "ev", nullptr);
    EXPECT_EQ(m_Order, (std::vector<std::string>{"added during/1", "other/1"}));
    EXPECT_EQ(m_Handlers.RemoveHandlers("ev", nullptr), 2u);  // without a resource: all of the name
    EXPECT_EQ(m_Handlers.GetHandlerCount("ev"), 0u);
}

}  // namespace
