// Reflection and native calls driven the way a language binding drives them.
#include <gtest/gtest.h>
#include <cstring>
#include "ArgumentTestUtil.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"
#include "Engine/ReflectionHelpers.h"
#include "Engine/ScriptStream.h"

using namespace Ferrox3D;

namespace {

// A test class with one integer; its natives below.
class CCounter : public CBaseObject {
public:
    explicit CCounter(ReflectedClass* pClass, int value = 0) : m_Value(value) { SetReflectedClass(pClass); }
    int m_Value;
};

ReflectedClass* CounterClass(CNativeState* pState) {
    return pState->GetScripting()->GetGlobal()->GetNamespace("test")->GetClass("Counter");
}

bool NewCounter(CNativeState* pState, int32_t argc, void*) {
    int32_t start = 0;
    if (argc > 0 && !pState->CheckNumber(0, start))
        return false;
    auto* pCounter = new CCounter(CounterClass(pState), start);
    pState->ReturnObject(pCounter);
    pCounter->Release();
    return true;
}

bool GetValue(CNativeState* pState, int32_t, void*) {
    CCounter* pThis;
    if (!pState->GetThis(CounterClass(pState), pThis))
        return false;
    pState->ReturnNumber(pThis->m_Value);
    return true;
}

bool SetValue(CNativeState* pState, int32_t, void*) {
    CCounter* pThis;
    int32_t value;
    if (!pState->GetThis(CounterClass(pState), pThis) || !pState->CheckNumber(0, value))
        return false;
    pThis->m_Value = value;
    return true;
}

bool CloneCounter(CNativeState* pState, int32_t, void*) {
    CCounter* pThis;
    if (!pState->GetThis(CounterClass(pState), pThis))
        return false;
    auto* pCopy = new CCounter(CounterClass(pState), pThis->m_Value);
    pState->ReturnObject(pCopy);
    pCopy->Release();
    return true;
}

bool MoveCounter(CNativeState* pState, int32_t, void*) {
    CCounter *pThis, *pSource;
    if (!pState->GetThis(CounterClass(pState), pThis) || !pState->CheckClass(CounterClass(pState), 0, false, pSource))
        return false;
    pThis->m_Value = pSource->m_Value;
    pSource->m_Value = 0;
    return true;
}

bool CounterToString(CNativeState* pState, int32_t, void*) {
    CCounter* pThis;
    if (!pState->GetThis(CounterClass(pState), pThis))
        return false;
    pState->ReturnString(("Counter " + std::to_string(pThis->m_Value)).c_str());
    return true;
}

// Every check of the state, one per argument, as named by the user pointer.
bool CheckOne(CNativeState* pState, int32_t, void* pUser) {
    const std::string what = static_cast<const char*>(pUser);
    bool b;
    int32_t i;
    uint8_t u8;
    double d;
    size_t length;
    CVector2D v2;
    CVector3D v3;
    CMatrix4x4 m;
    CBaseObject* pObject;
    if (what == "boolean") return pState->CheckBoolean(0, b);
    if (what == "integer") return pState->CheckNumber(0, i);
    if (what == "uint8") return pState->CheckNumber(0, u8) && (pState->ReturnNumber(u8), true);
    if (what == "number") return pState->CheckNumber(0, d);
    if (what == "string") return pState->CheckString(0) != nullptr;
    if (what == "bytes") return pState->CheckBytes(0, length) && (pState->ReturnNumber(uint32_t(length)), true);
    if (what == "Vector2D") return pState->CheckVector2D(0, v2) && (pState->ReturnVector2D(v2), true);
    if (what == "Vector3D") return pState->CheckVector3D(0, v3) && (pState->ReturnVector3D(v3), true);
    if (what == "Matrix4x4") return pState->CheckMatrix4x4(0, m);
    if (what == "Counter") return pState->CheckClass(CounterClass(pState), 0, false, pObject);
    if (what == "Counter or null")
        return pState->CheckClass(CounterClass(pState), 0, true, pObject) && (pState->ReturnObject(pObject), true);
    if (what == "Instance") return pState->CheckReferenceable(0) != nullptr;
    if (what == "Function") return pState->CheckFunction(0) != nullptr;
    if (what == "Stream") return pState->CheckStream(0) != nullptr;
    return pState->Error("unknown check");
}

// Fails, then runs a script callback that itself fails with another message.
bool FailThenCallBack(CNativeState* pState, int32_t, void*) {
    CFunction* pCallback = pState->CheckFunction(0);
    if (!pCallback)
        return false;
    pState->Error("outer failure");
    CArgumentArray none;
    pCallback->Call(&none, nullptr);  // a binding's call, clearing and setting the last error
    return false;
}

class FailingScriptFunction : public CFunction {
public:
    bool Call(CArgumentArray*, CReturnValue*) override {
        ClearError();
        SetError("inner failure");
        ++m_Calls;
        return false;
    }
    int m_Calls = 0;
};

class EchoFunction : public CFunction {
public:
    bool Call(CArgumentArray* pArguments, CReturnValue* pResult) override {
        if (pResult && pArguments->GetArrayCount() > 0)
            pResult->Add(pArguments->GetAt(0));
        return true;
    }
};

struct tCallResult {
    bool ok;
    std::string error;
    Strong<CArgument> value;
};

class NativeCall : public ::testing::Test {
protected:
    void SetUp() override {
        m_Scripting.RegisterReflectionFunctions();
        ReflectedNamespace* pTest = m_Scripting.GetGlobal()->AddNamespace("test");
        m_pCounter = pTest->NewClass("Counter");
        m_pCounter->RegisterConstructor("|i", NewCounter);
        m_pCounter->AddProperty(nullptr, "value", ARGUMENT_INTEGER, GetValue, SetValue);
        m_pCounter->RegisterFunction("get", "t", GetValue);
        m_pCounter->RegisterClone(CloneCounter);
        m_pCounter->RegisterMove(MoveCounter);
        m_pCounter->RegisterToString(CounterToString);
        m_pPlain = pTest->NewClass("Plain");
        pTest->RegisterFunction("check", "x", CheckOne, nullptr);
        pTest->RegisterFunction("failThenCallBack", "c", FailThenCallBack);
        m_pStreamClass = m_Scripting.GetGlobal()->NewClass("Stream");
    }

    // What every binding does: convert arguments, make a state, call, read result or last error.
    tCallResult Call(const ReflectedFunction& function, CArgumentArray& arguments, CBaseObject* pThis = nullptr) {
        CNativeState state(&m_Scripting, nullptr, &arguments, pThis);
        tCallResult result{function.Call(state), GetLastError(), nullptr};
        if (CArgument* pValue = state.GetReturnValue())
            result.value = Own(pValue->Clone());
        return result;
    }

    tCallResult CallStatic(const char* ns, const char* name, CArgumentArray& arguments, void* pUser = nullptr) {
        const ReflectedFunction* pFunction = m_Scripting.GetGlobal()->GetNamespace(ns)->GetFunction(name);
        EXPECT_NE(pFunction, nullptr) << name;
        ReflectedFunction withUser = *pFunction;
        if (pUser)
            withUser.m_pUser = pUser;
        return Call(withUser, arguments);
    }

    Strong<CCounter> MakeCounter(int value) {
        return Strong<CCounter>::Adopt(new CCounter(m_pCounter, value));
    }

    CScripting m_Scripting;
    ReflectedClass* m_pCounter;
    ReflectedClass* m_pPlain;
    ReflectedClass* m_pStreamClass;
};

}  // namespace

TEST_F(NativeCall, RequiredArgumentCountOfMasks) {
    const std::pair<const char*, int> masks[] = {{"tvf", 2}, {"s|x*", 1}, {"", 0}, {"sx|i", 2}, {"ci*", 2}, {"t", 0}};
    for (const auto& [mask, count] : masks)
        EXPECT_EQ(GetRequiredArgumentCount(mask), count) << mask;
    EXPECT_EQ(m_pCounter->GetProperty("value")->m_Getter.GetSignature(), std::string("t"));
}

TEST_F(NativeCall, TreeLookups) {
    ReflectedNamespace* pGlobal = m_Scripting.GetGlobal();
    ClearError();
    EXPECT_EQ(pGlobal->AddNamespace("test"), pGlobal->AddNamespace("test"));
    EXPECT_STREQ(GetLastError(), "");
    EXPECT_EQ(pGlobal->GetNamespace("nothing"), nullptr);
    EXPECT_STREQ(GetLastError(), "Namespace nothing not found.");
    EXPECT_EQ(m_pCounter->GetProperty("missing"), nullptr);
    EXPECT_STREQ(GetLastError(), "Property missing not found.");
    ReflectedClass* pDerived = pGlobal->GetNamespace("test")->NewClass("Special", m_pCounter);
    EXPECT_EQ(pDerived->GetProperty("value"), m_pCounter->GetProperty("value")) << "found through the base";
    EXPECT_TRUE(pDerived->IsA(m_pCounter));
    EXPECT_FALSE(m_pCounter->IsA(pDerived));
    EXPECT_EQ(pGlobal->GetStreamClass(), m_pStreamClass);
    ASSERT_NE(m_Scripting.GetReflectionNamespace(), nullptr);
    EXPECT_STREQ(m_Scripting.GetFunctionClass()->GetName(), "Function");
}

TEST_F(NativeCall, ArgumentChecksAcceptTheirKinds) {
    auto counter = MakeCounter(1);
    EchoFunction function;
    struct Case {
        const char* check;
        std::function<void(CArgumentArray&)> fill;
    };
    const Case cases[] = {
        {"boolean", [](CArgumentArray& a) { a.AddBoolean(false); }},
        {"integer", [](CArgumentArray& a) { a.AddNumber(2.9); }},
        {"number", [](CArgumentArray& a) { a.AddNumber(int64_t(5)); }},
        {"string", [](CArgumentArray& a) { a.AddString(""); }},
        {"bytes", [](CArgumentArray& a) { a.AddBytes("ab", 2); }},
        {"bytes", [](CArgumentArray& a) { a.AddString("abc"); }},
        {"Vector2D", [](CArgumentArray& a) { a.AddVector2D({1, 2}); }},
        {"Matrix4x4", [](CArgumentArray& a) { a.AddMatrix4x4(CMatrix4x4()); }},
        {"Counter", [&](CArgumentArray& a) { a.AddObject(counter); }},
        {"Instance", [&](CArgumentArray& a) { a.AddObject(counter); }},
        {"Function", [&](CArgumentArray& a) { a.AddFunction(&function); }},
    };
    for (const Case& c : cases) {
        CArgumentArray arguments;
        c.fill(arguments);
        EXPECT_TRUE(CallStatic("test", "check", arguments, const_cast<char*>(c.check)).ok) << c.check;
    }
}

TEST_F(NativeCall, ArgumentChecksNameTheKindAndTheArgument) {
    auto plain = Own<CBaseObject>(new CBaseObject());
    plain->SetReflectedClass(m_pPlain);
    const char* checks[] = {"boolean", "integer", "number", "string", "bytes", "Vector2D",
                            "Vector3D", "Matrix4x4", "Counter", "Instance", "Function", "Stream"};
    for (const char* check : checks) {
        for (int variant = 0; variant < 2; ++variant) {
            CArgumentArray arguments;
            if (variant == 0 && strcmp(check, "Instance") == 0)
                arguments.AddNumber(1);
            else if (variant == 0)
                arguments.AddObject(plain);  // the wrong kind (or class) for every other check
            auto result = CallStatic("test", "check", arguments, const_cast<char*>(check));
            EXPECT_FALSE(result.ok) << check;
            EXPECT_EQ(result.error, std::string("Expected ") + check + " for argument 1") << check << variant;
        }
    }
}

TEST_F(NativeCall, VectorsFromArraysOfExactlyTheirSize) {
    struct Case {
        std::vector<double> numbers;
        bool addString;
        bool ok;
    };
    const Case cases[] = {{{1, 2, 3}, false, true}, {{1, 2}, false, false}, {{1, 2}, true, false}, {{1, 2, 3, 4}, false, false}};
    for (const Case& c : cases) {
        auto array = new CArgumentArray();
        for (double n : c.numbers)
            array->AddNumber(n);
        if (c.addString)
            array->AddString("3");
        CArgumentArray arguments;
        arguments.AddAndOwn(array);
        auto result = CallStatic("test", "check", arguments, const_cast<char*>("Vector3D"));
        EXPECT_EQ(result.ok, c.ok) << c.numbers.size();
        if (c.ok) {
            CVector3D v;
            result.value->ToVector3D(v);
            EXPECT_EQ(v, CVector3D(1, 2, 3));
        } else {
            EXPECT_EQ(result.error, "Expected Vector3D for argument 1");
        }
    }
}

TEST_F(NativeCall, NarrowIntegersTakeTheLowBits) {
    CArgumentArray arguments;
    arguments.AddNumber(int32_t(0x1FF));
    auto result = CallStatic("test", "check", arguments, const_cast<char*>("uint8"));
    ASSERT_TRUE(result.ok);
    int32_t value;
    result.value->ToNumber(value);
    EXPECT_EQ(value, 0xFF);
}

TEST_F(NativeCall, ClassCheckWithAllowNull) {
    for (auto type : {ARGUMENT_NIL, ARGUMENT_UNDEFINED}) {
        CArgumentArray arguments;
        arguments.AddAndOwn(CArgument::Create(type));
        auto result = CallStatic("test", "check", arguments, const_cast<char*>("Counter or null"));
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.value->GetType(), ARGUMENT_NIL);
        result = CallStatic("test", "check", arguments, const_cast<char*>("Counter"));
        EXPECT_EQ(result.error, "Expected Counter for argument 1");
    }
}

TEST_F(NativeCall, MethodsAndPropertiesCheckThis) {
    auto counter = MakeCounter(7);
    auto plain = Own<CBaseObject>(new CBaseObject());
    plain->SetReflectedClass(m_pPlain);
    const ReflectedFunction& get = *m_pCounter->GetFunction("get");
    CArgumentArray none;
    auto result = Call(get, none, counter);
    ASSERT_TRUE(result.ok);
    int32_t value;
    result.value->ToNumber(value);
    EXPECT_EQ(value, 7);

    EXPECT_EQ(Call(get, none, plain).error, "Counter expected for 'this'");
    EXPECT_EQ(Call(get, none, nullptr).error, "'this' is null");

    const ReflectedProperty& property = *m_pCounter->GetProperty("value");
    CArgumentArray newValue;
    newValue.AddNumber(11);
    CNativeState setter(&m_Scripting, nullptr, &newValue, counter);
    EXPECT_TRUE(property.Set(setter));
    EXPECT_EQ(counter->m_Value, 11);
    EXPECT_FALSE(property.IsReadOnly());
}

TEST_F(NativeCall, ThisThatDiedReadsAsNull) {
    auto* pCounter = new CCounter(m_pCounter, 1);
    CArgumentArray none;
    CNativeState state(&m_Scripting, nullptr, &none, pCounter);
    pCounter->Release();
    EXPECT_EQ(state.GetThisObject(), nullptr);
}

TEST_F(NativeCall, AFunctionWithoutEntryCannotBeCalled) {
    ReflectedFunction empty;
    empty.m_Function = ScriptFunction("ghost", "", nullptr);
    CArgumentArray none;
    auto result = Call(empty, none);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "Cannot call ghost");
}

TEST_F(NativeCall, NativeKeepsItsErrorAcrossACallbackIntoScript) {
    FailingScriptFunction callback;
    CArgumentArray arguments;
    arguments.AddFunction(&callback);
    auto result = CallStatic("test", "failThenCallBack", arguments);
    EXPECT_EQ(callback.m_Calls, 1);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "outer failure");

    SetError("kept");
    EXPECT_FALSE(callback.Invoke(&arguments, nullptr));
    EXPECT_STREQ(GetLastError(), "kept") << "Invoke keeps the caller's error";
}

TEST_F(NativeCall, StreamsGoInAndOutAsStreamObjects) {
    auto* pStream = new CUnlimitedStream();
    CArgumentArray none;
    CNativeState state(&m_Scripting, nullptr, &none);
    state.ReturnStream(pStream);
    pStream->Release();
    CArgument* pValue = state.GetReturnValue();
    ASSERT_TRUE(pValue->IsObject());
    EXPECT_EQ(pValue->ToStream(), pStream);
    EXPECT_EQ(pValue->ToObject()->GetReflectedClass(), m_pStreamClass);

    CArgumentArray arguments;
    arguments.Add(pValue);
    EXPECT_TRUE(CallStatic("test", "check", arguments, const_cast<char*>("Stream")).ok);
    static_cast<CScriptStream*>(pValue->ToObject())->Close();
    auto result = CallStatic("test", "check", arguments, const_cast<char*>("Stream"));
    EXPECT_EQ(result.error, "Stream closed");
}

TEST_F(NativeCall, ReflectionClone) {
    auto counter = MakeCounter(3);
    auto plain = Own<CBaseObject>(new CBaseObject());
    plain->SetReflectedClass(m_pPlain);
    auto classless = Own<CBaseObject>(new CBaseObject());

    CArgumentArray arguments;
    arguments.AddObject(counter);
    auto result = CallStatic("reflection", "clone", arguments);
    ASSERT_TRUE(result.ok) << result.error;
    auto* pCopy = static_cast<CCounter*>(result.value->ToObject());
    EXPECT_NE(pCopy, counter.Get());
    EXPECT_EQ(pCopy->m_Value, 3);

    const std::pair<CBaseObject*, const char*> failures[] = {
        {plain, "Class is not cloneable"}, {classless, "Class not part of reflection"}, {nullptr, "Expected Object for argument 1"}};
    for (const auto& [pObject, message] : failures) {
        CArgumentArray one;
        one.AddObject(pObject);
        EXPECT_EQ(CallStatic("reflection", "clone", one).error, message);
    }
    m_pCounter->RegisterClone([](CNativeState*, int32_t, void*) { return true; });
    EXPECT_EQ(CallStatic("reflection", "clone", arguments).error, "Clone didn't return anything");
}

TEST_F(NativeCall, ReflectionMove) {
    auto target = MakeCounter(0), source = MakeCounter(9);
    auto plain = Own<CBaseObject>(new CBaseObject());
    plain->SetReflectedClass(m_pPlain);
    CArgumentArray arguments;
    arguments.AddObject(target);
    arguments.AddObject(source);
    ASSERT_TRUE(CallStatic("reflection", "move", arguments).ok);
    EXPECT_EQ(target->m_Value, 9);
    EXPECT_EQ(source->m_Value, 0);

    CArgumentArray same, one, unmovable, wrongSource;
    same.AddObject(target);
    same.AddObject(target);
    one.AddObject(target);
    unmovable.AddObject(plain);
    unmovable.AddObject(target);
    wrongSource.AddObject(target);
    wrongSource.AddObject(plain);
    EXPECT_EQ(CallStatic("reflection", "move", same).error, "Cannot move to same place");
    EXPECT_EQ(CallStatic("reflection", "move", one).error, "Expected Object for argument 2");
    EXPECT_EQ(CallStatic("reflection", "move", unmovable).error, "Class is not movable");
    EXPECT_EQ(CallStatic("reflection", "move", wrongSource).error, "Expected Counter for argument 1")
        << "the hook's own error reaches the script";
}

TEST_F(NativeCall, ReflectionToString) {
    auto counter = MakeCounter(4);
    auto plain = Own<CBaseObject>(new CBaseObject());
    plain->SetReflectedClass(m_pPlain);
    CArgumentArray arguments, withPlain;
    arguments.AddObject(counter);
    withPlain.AddObject(plain);
    auto result = CallStatic("reflection", "tostring", arguments);
    ASSERT_TRUE(result.ok);
    EXPECT_STREQ(result.value->ToString(), "Counter 4");
    EXPECT_EQ(CallStatic("reflection", "tostring", withPlain).error, "Class doesn't implement ToString");
    m_pCounter->RegisterToString([](CNativeState*, int32_t, void*) { return true; });
    EXPECT_EQ(CallStatic("reflection", "tostring", arguments).error, "ToString didn't return anything");
    m_pCounter->RegisterToString([](CNativeState* pState, int32_t, void*) { return pState->ReturnNumber(1), true; });
    EXPECT_EQ(CallStatic("reflection", "tostring", arguments).error, "ToString didn't return a string");
}

TEST_F(NativeCall, ReflectionFunctionObjects) {
    auto* pEcho = new EchoFunction();
    CArgumentArray arguments;
    arguments.AddFunction(pEcho);
    pEcho->Release();
    auto made = CallStatic("reflection", "createFunction", arguments);
    ASSERT_TRUE(made.ok);
    EXPECT_EQ(made.value->ToObject()->GetReflectedClass(), m_Scripting.GetFunctionClass());

    CArgumentArray call;
    call.Add(made.value);
    call.AddString("back");
    auto result = CallStatic("reflection", "call", call);
    ASSERT_TRUE(result.ok);
    EXPECT_STREQ(result.value->ToString(), "back");

    auto counter = MakeCounter(1);
    CArgumentArray notFunction;
    notFunction.AddObject(counter);
    EXPECT_EQ(CallStatic("reflection", "call", notFunction).error, "Expected Function for argument 1");
}

TEST_F(NativeCall, EngineConstruction) {
    Strong<CBaseObject> made = Strong<CBaseObject>::Adopt(Reflection::Construct(&m_Scripting, m_pCounter));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetRefCount(), 1);
    EXPECT_EQ(made->GetReflectedClass(), m_pCounter);

    EXPECT_EQ(Reflection::Construct(&m_Scripting, m_pPlain), nullptr);
    EXPECT_STREQ(GetLastError(), "Class is not constructable");
    const std::pair<NativeProc, const char*> constructors[] = {
        {[](CNativeState*, int32_t, void*) { return true; }, "Constructor didn't return anything"},
        {[](CNativeState* s, int32_t, void*) { return s->ReturnNumber(1), true; }, "Constructor didn't return object"},
        {[](CNativeState* s, int32_t, void*) { return s->ReturnAndOwn(new CArgumentObject(nullptr)), true; },
         "Constructor returned null"},
    };
    for (const auto& [proc, message] : constructors) {
        m_pPlain->RegisterConstructor("", proc);
        EXPECT_EQ(Reflection::Construct(&m_Scripting, m_pPlain), nullptr);
        EXPECT_STREQ(GetLastError(), message);
    }
}

TEST_F(NativeCall, ToArgumentUnwrapsVectorObjects) {
    ReflectedClass* pVec3 = m_Scripting.GetGlobal()->NewClass("Vec3");
    auto* pVector = new CObjectValue<CVector3D>(CVector3D(1, 2, 3));
    pVector->SetReflectedClass(pVec3);
    auto value = Own(Reflection::ToArgument(pVector, &m_Scripting));
    pVector->Release();
    ASSERT_TRUE(value->IsVector3D());
    auto counter = MakeCounter(1);
    EXPECT_EQ(Own(Reflection::ToArgument(counter, &m_Scripting))->ToObject(), counter.Get());
}

TEST_F(NativeCall, LanguageTable) {
    struct FakeVM : CScriptingVM {
        bool ok = true;
        int defined = 0, collected = 0;
        bool DefineClasses() override { return ++defined, ok; }
        void CollectGarbage() override { ++collected; }
        CScriptEnvironment* CreateEnvironment(const char*) override { return nullptr; }
    } lua, js;
    m_Scripting.AddVM("Lua", &lua);
    m_Scripting.AddVM("SpiderMonkey", &js);
    EXPECT_EQ(m_Scripting.GetVM("Lua"), &lua);
    EXPECT_EQ(m_Scripting.GetVM("lua"), nullptr);
    lua.ok = false;
    EXPECT_FALSE(m_Scripting.DefineAllClasses());
    EXPECT_EQ(js.defined, 0) << "stops at the first failure";
    m_Scripting.CollectGarbage();
    EXPECT_EQ(lua.collected + js.collected, 2);
}

TEST_F(NativeCall, DefinesKeepOrderAndSignedness) {
    CDefineHandlers* pDefines = m_Scripting.GetDefineHandlers();
    pDefines->Define("KEY_A", int32_t(-4));
    pDefines->Define("COLOUR_WHITE", uint32_t(0xFFFFFFFF));
    pDefines->Define("KEY_A", int32_t(1));
    const auto& defines = pDefines->GetDefines();
    ASSERT_EQ(defines.size(), 3u);
    EXPECT_EQ(defines[0].GetSigned(), -4);
    EXPECT_FALSE(defines[0].isUnsigned);
    EXPECT_EQ(defines[1].value, 0xFFFFFFFFu);
    EXPECT_TRUE(defines[1].isUnsigned);
    EXPECT_EQ(defines[2].name, "KEY_A") << "duplicates are kept";
}
