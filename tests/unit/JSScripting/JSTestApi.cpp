// Natives of the binding tests.
#include "JSTestApi.h"
#include <js/HeapAPI.h>
#include <string>
#include "Engine/ArgumentMap.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"

using namespace Ferrox3D;

tTestApiCounters g_TestApi;

namespace {
ReflectedClass* g_pThingClass = nullptr;
ReflectedClass* g_pSpecialClass = nullptr;
ReflectedClass* g_pSingletonClass = nullptr;
CTestThing* g_pShared = nullptr;
CTestThing* g_pSingleton = nullptr;
int32_t g_Counter = 0;

bool NewThing(CNativeState* pState, ReflectedClass* pClass) {
    auto* pThing = new CTestThing();
    pThing->SetReflectedClass(pClass);
    if (pState->GetArgumentCount() > 0 && !pState->CheckNumber(0, pThing->m_Value)) {
        pThing->Release();
        return false;
    }
    pState->ReturnObject(pThing);
    pThing->Release();
    return true;
}

bool ThingConstructor(CNativeState* pState, int32_t, void*) { return NewThing(pState, g_pThingClass); }
bool SpecialConstructor(CNativeState* pState, int32_t, void*) { return NewThing(pState, g_pSpecialClass); }

bool SingletonConstructor(CNativeState* pState, int32_t, void*) {
    if (!g_pSingleton) {
        g_pSingleton = new CTestThing();
        g_pSingleton->SetReflectedClass(g_pSingletonClass);
    }
    pState->ReturnObject(g_pSingleton);
    return true;
}

bool GetValue(CNativeState* pState, int32_t, void*) {
    CTestThing* pThing;
    if (!pState->GetThis(g_pThingClass, pThing))
        return false;
    pState->ReturnNumber(pThing->m_Value);
    return true;
}

bool SetValue(CNativeState* pState, int32_t, void*) {
    CTestThing* pThing;
    int32_t value;
    if (!pState->GetThis(g_pThingClass, pThing) || !pState->CheckNumber(0, value))
        return false;
    pThing->m_Value = value;
    return true;
}

bool SpecialOnly(CNativeState* pState, int32_t, void*) {
    CTestThing* pThing;
    if (!pState->GetThis(g_pSpecialClass, pThing))
        return false;
    pState->ReturnString("special");
    return true;
}

bool Echo(CNativeState* pState, int32_t count, void*) {
    if (count > 0)
        pState->Return(pState->GetArgument(0));
    return true;
}

// "kind:kind:..." of every argument, arrays as [..] and maps as {..}.
std::string Describe(const CArgument* pValue) {
    std::string text = pValue->GetTypeName();
    if (pValue->IsArray()) {
        text += "[";
        for (const CArgument* pElement : *static_cast<const CArgumentArray*>(pValue))
            text += Describe(pElement) + ",";
        text += "]";
    }
    return text;
}

bool KindsOf(CNativeState* pState, int32_t count, void*) {
    std::string text;
    for (int32_t i = 0; i < count; ++i)
        text += (i ? ":" : "") + Describe(pState->GetArgument(i));
    pState->ReturnString(text.c_str());
    return true;
}

bool LongOf(CNativeState* pState, int32_t, void*) {
    int64_t value;
    if (!pState->CheckNumber(0, value))
        return false;
    pState->ReturnString(std::to_string(value).c_str());
    return true;
}

bool MakeLong(CNativeState* pState, int32_t, void*) {
    pState->ReturnNumber(static_cast<long long>(1) << 40);
    return true;
}

bool Fail(CNativeState* pState, int32_t, void*) { return pState->Error("custom failure %d", 42); }

bool CallBack(CNativeState* pState, int32_t, void*) {
    CFunction* pFunction = pState->CheckFunction(0);
    if (!pFunction)
        return false;
    CArgumentArray arguments;
    arguments.AddNumber(1);
    arguments.AddString("two");
    CReturnValue result;
    if (!pFunction->Invoke(&arguments, &result))
        return pState->Error("callback failed");
    pState->Return(result.GetReturnArgument());
    return true;
}

bool MakeValues(CNativeState* pState, int32_t, void*) {
    auto* pMap = new CArgumentMap();
    auto* pList = new CArgumentArray();
    pList->AddNumber(1);
    pList->AddString("x");
    pList->AddNull();
    pMap->Set("list", pList);
    pMap->Set("flag", new CArgumentBoolean(true));
    pMap->Set("vector", new CArgumentVector3D(CVector3D(1, 2, 3)));
    CMatrix4x4 matrix;
    matrix.m[3][0] = 7;
    pMap->Set("matrix", new CArgumentMatrix4x4(matrix));
    pMap->Set("bytes", new CArgumentBytes("a\0b", 3));
    pMap->Set("nothing", new CArgumentObject(nullptr));
    pState->ReturnAndOwn(pMap);
    return true;
}

bool GetShared(CNativeState* pState, int32_t, void*) {
    pState->ReturnObject(GetSharedThing());
    return true;
}

bool NullObject(CNativeState* pState, int32_t, void*) {
    pState->ReturnAndOwn(new CArgumentObject(nullptr));
    return true;
}

// An engine function (not a script one): adds its two numeric arguments.
class CAdder : public CFunction {
public:
    bool Call(CArgumentArray* pArguments, CReturnValue* pResult) override {
        double sum = 0;
        for (const CArgument* pValue : *pArguments) {
            double number = 0;
            if (!pValue->IsNumber())
                return SetError("adder takes numbers");
            pValue->ToNumber(number);
            sum += number;
        }
        if (pResult)
            pResult->AddNumber(sum);
        return true;
    }
};

bool MakeAdder(CNativeState* pState, int32_t, void*) {
    auto* pAdder = new CAdder();
    pState->ReturnFunction(pAdder);
    pAdder->Release();
    return true;
}

bool Twice(CNativeState* pState, int32_t, void*) {
    double value;
    if (!pState->CheckNumber(0, value))
        return false;
    pState->ReturnNumber(value * 2);
    return true;
}

bool GetCounter(CNativeState* pState, int32_t, void*) {
    pState->ReturnNumber(g_Counter);
    return true;
}

bool SetCounter(CNativeState* pState, int32_t, void*) { return pState->CheckNumber(0, g_Counter); }

template <typename T>
bool NewValue(CNativeState* pState, ReflectedClass* pClass) {
    auto* pObject = new CObjectValue<T>();
    pObject->SetReflectedClass(pClass);
    pState->ReturnObject(pObject);
    pObject->Release();
    return true;
}

bool Vec2Constructor(CNativeState* pState, int32_t, void*) {
    return NewValue<CVector2D>(pState, pState->GetScripting()->GetGlobal()->GetVec2Class());
}
bool Vec3Constructor(CNativeState* pState, int32_t, void*) {
    return NewValue<CVector3D>(pState, pState->GetScripting()->GetGlobal()->GetVec3Class());
}
bool MatrixConstructor(CNativeState* pState, int32_t, void*) {
    return NewValue<CMatrix4x4>(pState, pState->GetScripting()->GetGlobal()->GetMatrix4x4Class());
}

// Component accessors of Vec2/Vec3: the user pointer is the component index.
template <typename T>
bool GetComponent(CNativeState* pState, int32_t, void* pUser) {
    CObjectValue<T>* pVector;
    ReflectedClass* pClass = pState->GetThisObject() ? pState->GetThisObject()->GetReflectedClass() : nullptr;
    if (!pState->GetThis(pClass, pVector))
        return false;
    pState->ReturnNumber((&pVector->m_Value.x)[reinterpret_cast<uintptr_t>(pUser)]);
    return true;
}
template <typename T>
bool SetComponent(CNativeState* pState, int32_t, void* pUser) {
    CObjectValue<T>* pVector;
    ReflectedClass* pClass = pState->GetThisObject() ? pState->GetThisObject()->GetReflectedClass() : nullptr;
    float value;
    if (!pState->GetThis(pClass, pVector) || !pState->CheckNumber(0, value))
        return false;
    (&pVector->m_Value.x)[reinterpret_cast<uintptr_t>(pUser)] = value;
    return true;
}

bool MatrixTranslationX(CNativeState* pState, int32_t, void*) {
    CObjectValue<CMatrix4x4>* pMatrix;
    if (!pState->GetThis(pState->GetScripting()->GetGlobal()->GetMatrix4x4Class(), pMatrix))
        return false;
    pState->ReturnNumber(pMatrix->m_Value.m[3][0]);
    return true;
}

template <typename T>
void AddComponents(ReflectedClass* pClass, int count) {
    const char* names[] = {"x", "y", "z"};
    for (int i = 0; i < count; ++i)
        pClass->AddProperty(reinterpret_cast<void*>(static_cast<uintptr_t>(i)), names[i], ARGUMENT_FLOAT,
                            GetComponent<T>, SetComponent<T>);
}
}  // namespace

CTestThing::CTestThing() = default;

CTestThing::~CTestThing() {
    ++g_TestApi.thingsDestroyed;
    if (g_TestApi.bLanguageAlive)
        g_TestApi.destroyedDuringCollection += JS::RuntimeHeapIsCollecting();
}

CTestThing* GetSharedThing() {
    if (!g_pShared) {
        g_pShared = new CTestThing();
        g_pShared->SetReflectedClass(g_pThingClass);
    }
    return g_pShared;
}

CTestThing* GetSingleton() { return g_pSingleton; }

void ReleaseTestApi() {
    for (CTestThing** ppThing : {&g_pShared, &g_pSingleton}) {
        if (*ppThing)
            (*ppThing)->Release();
        *ppThing = nullptr;
    }
    g_TestApi = {};
    g_Counter = 0;
}

void RegisterTestApi(CScripting& scripting) {
    ReflectedNamespace* pGlobal = scripting.GetGlobal();
    g_pThingClass = pGlobal->NewClass("Thing");
    g_pThingClass->RegisterConstructor("|i", ThingConstructor);
    g_pThingClass->RegisterFunction("getValue", "t", GetValue);
    g_pThingClass->RegisterFunction("setValue", "ti", SetValue);
    g_pThingClass->AddProperty(nullptr, "value", ARGUMENT_INTEGER, GetValue, SetValue);
    g_pThingClass->AddProperty(nullptr, "readOnly", ARGUMENT_INTEGER, GetValue);
    g_pSpecialClass = pGlobal->NewClass("Special", g_pThingClass);
    g_pSpecialClass->RegisterConstructor("|i", SpecialConstructor);
    g_pSpecialClass->RegisterFunction("specialOnly", "t", SpecialOnly);
    g_pSingletonClass = pGlobal->NewClass("Singleton", g_pThingClass);
    g_pSingletonClass->RegisterConstructor("", SingletonConstructor);
    pGlobal->NewClass("Abstract");  // no constructor

    AddComponents<CVector2D>(pGlobal->NewClass("Vec2"), 2);
    pGlobal->GetVec2Class()->RegisterConstructor("", Vec2Constructor);
    AddComponents<CVector3D>(pGlobal->NewClass("Vec3"), 3);
    pGlobal->GetVec3Class()->RegisterConstructor("", Vec3Constructor);
    ReflectedClass* pMatrix = pGlobal->NewClass("Matrix4x4");
    pMatrix->RegisterConstructor("", MatrixConstructor);
    pMatrix->AddProperty(nullptr, "tx", ARGUMENT_FLOAT, MatrixTranslationX);

    pGlobal->RegisterFunction("echo", ".", Echo);
    pGlobal->RegisterFunction("kindsOf", "*", KindsOf);
    pGlobal->RegisterFunction("longOf", "i", LongOf);
    pGlobal->RegisterFunction("makeLong", "", MakeLong);
    pGlobal->RegisterFunction("fail", "", Fail);
    pGlobal->RegisterFunction("callBack", "c", CallBack);
    pGlobal->RegisterFunction("makeValues", "", MakeValues);
    pGlobal->RegisterFunction("getShared", "", GetShared);
    pGlobal->RegisterFunction("nullObject", "", NullObject);
    pGlobal->RegisterFunction("makeAdder", "", MakeAdder);
    pGlobal->AddProperty(nullptr, "counter", ARGUMENT_INTEGER, GetCounter, SetCounter);
    ReflectedNamespace* pUtil = pGlobal->AddNamespace("util");
    pUtil->SetAlias("u");
    pUtil->RegisterFunction("twice", "f", Twice);
}
