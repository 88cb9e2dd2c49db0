// Events: names, order, sources, cancellation, removal and handlers that change the registry.
#include <gtest/gtest.h>
#include <functional>
#include "ArgumentTestUtil.h"
#include "Engine/LastError.h"
#include "Engine/Limits.h"
#include "Engine/NativeState.h"
#include "LogCapture.h"
#include "Scripting/EventHandlers.h"

using namespace Ferrox3D;

namespace {

// A script function whose body is a C++ lambda; it records what each call received.
class LambdaFunction : public CFunction {
public:
    explicit LambdaFunction(std::function<void(CArgumentArray*)> body = nullptr) : m_Body(std::move(body)) {}
    bool Call(CArgumentArray* pArguments, CReturnValue*) override {
        m_Calls.push_back(Own(static_cast<CArgumentArray*>(pArguments->Clone())));
        if (m_Body)
            m_Body(pArguments);
        return true;
    }
    std::function<void(CArgumentArray*)> m_Body;
    std::vector<Strong<CArgumentArray>> m_Calls;
};

class Element : public CBaseObject {};

class Events : public ::testing::Test {
protected:
    void SetUp() override { m_Events.RegisterFunctions(&m_Scripting); }

    Strong<LambdaFunction> Handler(std::function<void(CArgumentArray*)> body = nullptr) {
        return Strong<LambdaFunction>::Adopt(new LambdaFunction(std::move(body)));
    }

    // Calls a global script function as a binding would, from resource pResource.
    std::pair<bool, Strong<CArgument>> Script(const char* name, CArgumentArray& arguments, CResource* pResource) {
        const ReflectedFunction* pFunction = m_Scripting.GetGlobal()->GetFunction(name);
        EXPECT_NE(pFunction, nullptr) << name;
        CNativeState state(&m_Scripting, pResource, &arguments);
        bool ok = pFunction->Call(state);
        Strong<CArgument> value = state.GetReturnValue() ? Own(state.GetReturnValue()->Clone()) : nullptr;
        return {ok, value};
    }

    // A method call on an event object, as a binding makes it for event.preventDefault().
    bool CallEventMethod(CArgument* pEventValue, const char* method) {
        CBaseObject* pEvent = pEventValue->ToObject();
        const ReflectedFunction* pMethod = pEvent->GetReflectedClass()->GetFunction(method);
        if (!pMethod)
            return false;
        CArgumentArray none;
        CNativeState state(&m_Scripting, nullptr, &none, pEvent);
        return pMethod->Call(state) && state.GetReturnValue() && state.GetReturnValue()->ToBoolean();
    }

    CResource* Resource(int i) { return reinterpret_cast<CResource*>(&m_ResourceStandIns[i]); }

    CScripting m_Scripting;
    CEventHandlers m_Events;
    int m_ResourceStandIns[3] = {};
};

void AddStrings(CArgumentArray& array, std::initializer_list<const char*> texts) {
    for (const char* text : texts)
        array.AddString(text);
}

}  // namespace

TEST_F(Events, NamesMatchWithoutRegardToCase) {
    CEventType* pType = m_Events.CreateEventType("OnPlayerJoin", "a player joined", -1, false);
    ASSERT_NE(pType, nullptr);
    EXPECT_EQ(m_Events.CreateEventType("ONPLAYERJOIN", "", -1, false), nullptr);
    auto handler = Handler();
    CArgumentArray subscribe;
    AddStrings(subscribe, {"onplayerjoin"});
    subscribe.AddFunction(handler);
    auto [ok, result] = Script("addEventHandler", subscribe, Resource(0));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(result->ToBoolean());
    EXPECT_TRUE(pType->Trigger());
    EXPECT_EQ(handler->m_Calls.size(), 1u);
}

TEST_F(Events, AddEventCreatesOnceAndReportsExistence) {
    CArgumentArray declare;
    AddStrings(declare, {"OnCustom"});
    declare.AddNumber(2);
    EXPECT_TRUE(Script("addEvent", declare, Resource(0)).second->ToBoolean());
    CEventType* pType = m_Events.GetEventType("oncustom");
    ASSERT_NE(pType, nullptr);
    EXPECT_TRUE(pType->IsCancellable());
    EXPECT_EQ(pType->GetArgumentCount(), 2);

    CArgumentArray again;
    AddStrings(again, {"ONCUSTOM"});
    EXPECT_TRUE(Script("addEvent", again, Resource(1)).second->ToBoolean());
    EXPECT_EQ(m_Events.GetEventType("OnCustom"), pType);
    EXPECT_EQ(pType->GetArgumentCount(), 2) << "an existing type is left as it was";
    EXPECT_STREQ(pType->GetName(), "OnCustom");
}

TEST_F(Events, HandlersRunInOrderAndGoTogether) {
    CEventType* pType = m_Events.CreateEventType("OnThing", "", -1, false);
    std::string order;
    auto first = Handler([&](CArgumentArray*) { order += "1"; });
    auto second = Handler([&](CArgumentArray*) { order += "2"; });
    auto other = Handler([&](CArgumentArray*) { order += "x"; });
    pType->AddHandler(Resource(0), first);
    pType->AddHandler(Resource(1), other);
    pType->AddHandler(Resource(0), second);
    pType->Trigger();
    EXPECT_EQ(order, "1x2");

    order.clear();
    EXPECT_TRUE(pType->Trigger(Resource(0), nullptr));
    EXPECT_EQ(order, "12") << "the resource variant runs only that resource's handlers";

    CArgumentArray remove;
    AddStrings(remove, {"OnThing"});
    EXPECT_TRUE(Script("removeEventHandler", remove, Resource(0)).second->ToBoolean());
    EXPECT_FALSE(Script("removeEventHandler", remove, Resource(0)).second->ToBoolean());
    CArgumentArray unknown;
    AddStrings(unknown, {"OnNothing"});
    EXPECT_FALSE(Script("removeEventHandler", unknown, Resource(0)).second->ToBoolean());
    EXPECT_EQ(pType->GetHandlerCount(), 1u);
    EXPECT_EQ(m_Events.RemoveHandlers(), 1u);
}

TEST_F(Events, HandlersReceiveTheEventThenClonesOfTheArguments) {
    CEventType* pType = m_Events.CreateEventType("OnData", "", -1, false);
    auto handler = Handler();
    pType->AddHandler(nullptr, handler);
    CArgumentArray arguments;
    AddStrings(arguments, {"a"});
    arguments.AddNumber(5);
    pType->Trigger(&arguments);
    ASSERT_EQ(handler->m_Calls.size(), 1u);
    CArgumentArray& got = *handler->m_Calls[0];
    ASSERT_EQ(got.GetArrayCount(), 3u);
    EXPECT_EQ(got.GetAt(0)->ToObject()->GetReflectedClass(), m_Events.GetEventClass());
    EXPECT_STREQ(got.GetAt(1)->ToString(), "a");
    EXPECT_NE(got.GetAt(1), arguments.GetAt(0));
}

TEST_F(Events, BoundHandlersFollowTheirSource) {
    CEventType* pType = m_Events.CreateEventType("OnElementStreamIn", "", -1, true);
    pType->SetSourceIndex(0);
    auto* pP = new Element();
    auto q = Own<CBaseObject>(new Element());
    auto bound = Handler();
    auto unbound = Handler();
    CArgumentArray bind;
    AddStrings(bind, {"OnElementStreamIn"});
    bind.AddObject(pP);
    bind.AddFunction(bound);
    ASSERT_TRUE(Script("bindEventHandler", bind, Resource(0)).first);
    pType->AddHandler(Resource(0), unbound);

    CArgumentArray fromP, fromQ, noSource;
    fromP.AddObject(pP);
    fromQ.AddObject(q);
    noSource.AddNull();
    pType->Trigger(&fromP);
    pType->Trigger(&fromQ);
    pType->Trigger(&noSource);
    EXPECT_EQ(bound->m_Calls.size(), 1u);
    EXPECT_EQ(unbound->m_Calls.size(), 3u);

    fromP.Clear();
    bind.Clear();
    bound->m_Calls.clear();
    unbound->m_Calls.clear();
    Weak<CBaseObject> watch(pP);
    pP->Release();  // destroyed without anyone removing its handlers
    ASSERT_FALSE(watch);
    pType->Trigger(&fromQ);
    EXPECT_EQ(bound->m_Calls.size(), 0u) << "a handler whose object died does not turn into an unbound one";
    EXPECT_EQ(pType->GetHandlerCount(), 1u) << "and is dropped";
}

TEST_F(Events, UnbindAndRemovalBySource) {
    CEventType* pType = m_Events.CreateEventType("OnElementDestroy", "", -1, true);
    pType->SetSourceIndex(0);
    auto p = Own<CBaseObject>(new Element());
    auto handler = Handler();
    pType->AddHandler(p, Resource(0), handler);
    pType->AddHandler(p, Resource(1), handler);
    pType->AddHandler(Resource(0), handler);
    CArgumentArray unbind;
    AddStrings(unbind, {"OnElementDestroy"});
    unbind.AddObject(p);
    EXPECT_TRUE(Script("unbindEventHandler", unbind, Resource(0)).second->ToBoolean());
    EXPECT_FALSE(Script("unbindEventHandler", unbind, Resource(0)).second->ToBoolean());
    EXPECT_EQ(m_Events.RemoveHandlersWithSource(nullptr, nullptr), 0u);
    EXPECT_EQ(m_Events.RemoveHandlersWithSource(p, nullptr), 1u);
    EXPECT_EQ(pType->GetHandlerCount(), 1u);
}

TEST_F(Events, TriggerEventDropsTheSourceAndReportsPreventDefault) {
    m_Events.CreateEventType("OnVote", "", -1, true);
    bool laterSawPrevented = false;
    auto preventing = Handler([&](CArgumentArray* pArguments) { CallEventMethod(pArguments->GetAt(0), "preventDefault"); });
    auto later = Handler([&](CArgumentArray* pArguments) {
        laterSawPrevented = CallEventMethod(pArguments->GetAt(0), "isDefaultPrevented");
    });
    m_Events.GetEventType("OnVote")->AddHandler(Resource(0), preventing);
    m_Events.GetEventType("OnVote")->AddHandler(Resource(1), later);

    auto source = Own<CBaseObject>(new Element());
    CArgumentArray trigger;
    AddStrings(trigger, {"OnVote"});
    trigger.AddObject(source);
    trigger.AddString("a");
    trigger.AddString("b");
    auto [ok, result] = Script("triggerEvent", trigger, Resource(0));
    ASSERT_TRUE(ok);
    EXPECT_TRUE(result->ToBoolean());
    EXPECT_TRUE(laterSawPrevented);
    CArgumentArray& got = *later->m_Calls[0];
    ASSERT_EQ(got.GetArrayCount(), 3u);
    EXPECT_STREQ(got.GetAt(1)->ToString(), "a");
    EXPECT_STREQ(got.GetAt(2)->ToString(), "b");
}

TEST_F(Events, ScriptErrorsAndWarnings) {
    m_Events.CreateEventType("OnPlain", "", -1, false);
    auto handler = Handler();
    LogCapture log;
    struct Case {
        const char* function;
        std::function<void(CArgumentArray&)> fill;
        const char* error;
    };
    auto object = Own<CBaseObject>(new Element());
    const Case cases[] = {
        {"bindEventHandler", [&](CArgumentArray& a) { a.AddString("OnMissing"); a.AddObject(object); a.AddFunction(handler); },
         "Event 'OnMissing' doesn't exist"},
        {"bindEventHandler", [&](CArgumentArray& a) { a.AddString("OnPlain"); a.AddObject(object); a.AddFunction(handler); },
         "Event 'OnPlain' is not bindable"},
        {"triggerEvent", [&](CArgumentArray& a) { a.AddString("OnMissing"); }, "Event 'OnMissing' doesn't exist"},
        {"triggerEvent", [&](CArgumentArray& a) { a.AddString("OnPlain"); a.AddString("not a source"); },
         "Expected Instance for argument 2"},
        {"triggerEvent", [&](CArgumentArray& a) { a.AddNumber(1); }, "Expected string for argument 1"},
        {"addEventHandler", [&](CArgumentArray& a) { a.AddString("OnPlain"); a.AddNumber(1); },
         "Expected Function for argument 2"},
    };
    for (const Case& c : cases) {
        CArgumentArray arguments;
        c.fill(arguments);
        EXPECT_FALSE(Script(c.function, arguments, Resource(0)).first) << c.error;
        EXPECT_STREQ(GetLastError(), c.error);
    }

    CArgumentArray missing;
    AddStrings(missing, {"OnMissing"});
    missing.AddFunction(handler);
    auto [ok, result] = Script("addEventHandler", missing, Resource(0));
    EXPECT_TRUE(ok) << "not a script error";
    EXPECT_FALSE(result->ToBoolean());
    EXPECT_TRUE(log.Contains("AddEventHandler: Event 'OnMissing' doesn't exist"));

    CArgumentArray trigger;
    AddStrings(trigger, {"OnPlain"});
    EXPECT_TRUE(Script("triggerEvent", trigger, Resource(0)).first);
    EXPECT_TRUE(log.Contains("Trigger: Event 'OnPlain' used with 'preventDefault' but not registered that way"));
}

TEST_F(Events, TooFewArgumentsOnlyWarn) {
    CEventType* pType = m_Events.CreateEventType("OnPair", "", 2, false);
    auto handler = Handler();
    pType->AddHandler(nullptr, handler);
    LogCapture log;
    CArgumentArray one;
    AddStrings(one, {"x"});
    EXPECT_TRUE(pType->Trigger(&one));
    EXPECT_TRUE(log.Contains("TriggerWithEvent: Event 'OnPair' triggered with 1 arguments but requires 2 arguments"));
    EXPECT_EQ(handler->m_Calls.size(), 1u);
}

TEST_F(Events, HandlerRemovingItselfAndOthersDuringDispatch) {
    CEventType* pType = m_Events.CreateEventType("OnStop", "", -1, false);
    std::string order;
    auto stopper = Handler([&](CArgumentArray*) {
        order += "s";
        m_Events.RemoveHandlers(Resource(0));  // its resource stops: itself and its siblings go
    });
    auto sibling = Handler([&](CArgumentArray*) { order += "b"; });
    auto stranger = Handler([&](CArgumentArray*) { order += "o"; });
    pType->AddHandler(Resource(0), stopper);
    pType->AddHandler(Resource(0), sibling);
    pType->AddHandler(Resource(1), stranger);
    pType->Trigger();
    EXPECT_EQ(order, "so");
    EXPECT_EQ(pType->GetHandlerCount(), 1u);
    EXPECT_EQ(stopper->GetRefCount(), 1) << "removed handlers are deleted once the dispatch ends";
    pType->Trigger();
    EXPECT_EQ(order, "soo");
}

TEST_F(Events, HandlerAddedDuringDispatchRunsFromTheNextTrigger) {
    CEventType* pType = m_Events.CreateEventType("OnGrow", "", -1, false);
    auto added = Handler();
    auto adder = Handler([&](CArgumentArray*) { pType->AddHandler(Resource(0), added); });
    pType->AddHandler(Resource(0), adder);
    pType->Trigger();
    EXPECT_EQ(added->m_Calls.size(), 0u);
    pType->Trigger();
    EXPECT_EQ(added->m_Calls.size(), 1u);
}

TEST_F(Events, HandlerTriggeringItsOwnEvent) {
    CEventType* pType = m_Events.CreateEventType("OnEcho", "", -1, false);
    int depth = 0;
    std::string order;
    auto recursive = Handler([&](CArgumentArray*) {
        order += "r" + std::to_string(depth);
        if (depth < 3) {
            ++depth;
            pType->Trigger();
            --depth;
        }
        if (depth == 2)
            m_Events.RemoveHandlers(Resource(1));  // removal deep inside: applied when all unwind
    });
    auto tail = Handler([&](CArgumentArray*) { order += "t"; });
    pType->AddHandler(Resource(0), recursive);
    pType->AddHandler(Resource(1), tail);
    pType->Trigger();
    // The innermost dispatch reaches the tail; the outer ones find it removed.
    EXPECT_EQ(order, "r0r1r2r3t");
    EXPECT_EQ(pType->GetHandlerCount(), 1u);
}

TEST_F(Events, HandlerDestroyingItsBoundObject) {
    CEventType* pType = m_Events.CreateEventType("OnHit", "", -1, true);
    pType->SetSourceIndex(0);
    auto target = Own<CBaseObject>(new Element());
    int laterCalls = 0;
    // What the replication manager does when it destroys an element: its handlers go and weak
    // references to it read null, while the trigger's own arguments still hold it.
    auto destroyer = Handler([&](CArgumentArray*) {
        m_Events.RemoveHandlersWithSource(target, nullptr);
        target->ResolveReferences();
        target->PruneReferences();
    });
    auto later = Handler([&](CArgumentArray*) { ++laterCalls; });
    pType->AddHandler(target, Resource(0), destroyer);
    pType->AddHandler(target, Resource(0), later);
    pType->AddHandler(target, Resource(1), later);
    CArgumentArray trigger;
    trigger.AddObject(target);
    EXPECT_TRUE(pType->Trigger(&trigger));
    EXPECT_EQ(laterCalls, 0) << "handlers of the destroyed object stop at once";
    EXPECT_EQ(pType->GetHandlerCount(), 0u);
}

TEST_F(Events, EndlessRetriggeringStopsAtTheNestingLimit) {
    CEventType* pType = m_Events.CreateEventType("OnLoop", "", -1, false);
    int calls = 0;
    auto loop = Handler([&](CArgumentArray*) {
        ++calls;
        pType->Trigger();
    });
    pType->AddHandler(Resource(0), loop);
    LogCapture log;
    EXPECT_TRUE(pType->Trigger());
    EXPECT_EQ(calls, MAX_EVENT_NESTING);
    EXPECT_TRUE(log.Contains("TriggerWithEvent: Event 'OnLoop' triggered inside 64 other events; not dispatched"));
    EXPECT_TRUE(pType->Trigger()) << "the registry works normally afterwards";
}
