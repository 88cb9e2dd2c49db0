// A small script API (functions, properties, namespaces, classes with inheritance, vectors) for Lua tests.
#pragma once
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentMap.h"
#include "Engine/NativeState.h"
#include "Engine/Scripting.h"
#include "LuaTestFixture.h"

namespace LuaApi {

using namespace Ferrox3D;

class CAnimal : public CBaseObject {
public:
    explicit CAnimal(const char* name) : m_Name(name) { ++s_Live; }
    ~CAnimal() override { --s_Live; }
    std::string m_Name;
    int m_Legs = 4;
    static inline int s_Live = 0;
};

// An engine function that adds its arguments.
class CAdder : public CFunction {
public:
    bool Call(CArgumentArray* pArguments, CReturnValue* pResult) override {
        double sum = 0;
        for (CArgument* a : *pArguments) {
            double d = 0;
            if (a->IsNumber())
                a->ToNumber(d);
            sum += d;
        }
        if (pResult)
            pResult->AddNumber(sum);
        return true;
    }
};

inline std::string Describe(const CArgument* a);

inline std::string DescribeArray(const CArgumentArray* array) {
    std::string s = "array[";
    for (size_t i = 0; i < array->GetArrayCount(); ++i)
        s += (i ? "," : "") + Describe(array->GetAt(i));
    return s + "]";
}

inline std::string DescribeMap(const CArgumentMap* map) {
    std::vector<std::string> entries;
    for (const auto& e : *map)
        entries.push_back(e.first + "=" + Describe(e.second));
    std::sort(entries.begin(), entries.end());
    std::string s = "map{";
    for (size_t i = 0; i < entries.size(); ++i)
        s += (i ? "," : "") + entries[i];
    return s + "}";
}

// A text form of an engine value that names its kind, for checking conversions from Lua.
inline std::string Describe(const CArgument* a) {
    if (!a)
        return "none";
    char text[128];
    switch (a->GetType()) {
    case ARGUMENT_NIL: return "nil";
    case ARGUMENT_UNDEFINED: return "undefined";
    case ARGUMENT_BOOLEAN: return a->ToBoolean() ? "boolean:true" : "boolean:false";
    case ARGUMENT_STRING: {
        size_t length;
        const char* s = a->ToString(&length);
        return "string:" + std::string(s, length);
    }
    case ARGUMENT_INTEGER:
    case ARGUMENT_LONGINTEGER: {
        int64_t v = 0;
        a->ToNumber(v);
        snprintf(text, sizeof(text), "%s:%lld", a->GetType() == ARGUMENT_INTEGER ? "integer" : "long",
                 static_cast<long long>(v));
        return text;
    }
    case ARGUMENT_FLOAT:
    case ARGUMENT_DOUBLE: {
        double v = 0;
        a->ToNumber(v);
        snprintf(text, sizeof(text), "%s:%g", a->GetType() == ARGUMENT_FLOAT ? "float" : "double", v);
        return text;
    }
    case ARGUMENT_VECTOR2D: {
        CVector2D v;
        a->ToVector2D(v);
        snprintf(text, sizeof(text), "vector2:%g,%g", v.x, v.y);
        return text;
    }
    case ARGUMENT_VECTOR3D: {
        CVector3D v;
        a->ToVector3D(v);
        snprintf(text, sizeof(text), "vector3:%g,%g,%g", v.x, v.y, v.z);
        return text;
    }
    case ARGUMENT_MATRIX4X4: {
        CMatrix4x4 m;
        a->ToMatrix4x4(m);
        snprintf(text, sizeof(text), "matrix:%g..%g", m.m[0][0], m.m[3][3]);
        return text;
    }
    case ARGUMENT_ARRAY: return DescribeArray(static_cast<const CArgumentArray*>(a));
    case ARGUMENT_MAP: return DescribeMap(static_cast<const CArgumentMap*>(a));
    case ARGUMENT_FUNCTION: return a->ToFunction() ? "function" : "function:empty";
    case ARGUMENT_OBJECT:
    case ARGUMENT_NETOBJECT: {
        CBaseObject* o = a->ToObject();
        ReflectedClass* c = o ? o->GetReflectedClass() : nullptr;
        return std::string("object:") + (c ? c->GetName() : "?");
    }
    case ARGUMENT_LUAREF: return "luaref";
    default: return std::string("tag:") + std::to_string(a->GetType());
    }
}

// The API the tests publish; one per fixture.
class CTestApi {
public:
    CScripting m_Scripting;
    ReflectedClass* m_pAnimal = nullptr;
    ReflectedClass* m_pDog = nullptr;
    ReflectedClass* m_pVec2 = nullptr;
    ReflectedClass* m_pVec3 = nullptr;
    ReflectedClass* m_pMatrix = nullptr;
    Strong<CAnimal> m_pHeld;
    int m_Counter = 0;
    Strong<CFunction> m_pStored;

    CTestApi() {
        ReflectedNamespace* g = m_Scripting.GetGlobal();
        m_pAnimal = g->NewClass("Animal");
        m_pDog = g->NewClass("Dog", m_pAnimal);
        m_pVec2 = g->NewClass("Vec2");
        m_pVec3 = g->NewClass("Vec3");
        m_pMatrix = g->NewClass("Matrix4x4");
        m_pAnimal->RegisterConstructor("s", &NewAnimal, this);
        m_pAnimal->AddProperty(this, "name", ARGUMENT_STRING, &GetName, &SetName);
        m_pAnimal->AddProperty(this, "legs", ARGUMENT_INTEGER, &GetLegs);
        m_pAnimal->RegisterFunction("speak", "t", &Speak, const_cast<char*>("..."));
        m_pAnimal->RegisterToString(&AnimalToString, this);
        m_pDog->RegisterConstructor("s", &NewDog, this);
        m_pDog->RegisterFunction("speak", "t", &Speak, const_cast<char*>("woof"));
        m_pDog->RegisterFunction("fetch", "t.", &Fetch, this);
        m_pVec2->RegisterConstructor("", &NewValue<CVector2D>, m_pVec2);
        m_pVec3->RegisterConstructor("", &NewValue<CVector3D>, m_pVec3);
        m_pVec3->AddProperty(this, "x", ARGUMENT_FLOAT, &Vec3X);
        m_pMatrix->RegisterConstructor("", &NewValue<CMatrix4x4>, m_pMatrix);
        g->RegisterFunction("describe", ".", &DescribeNative, this);
        g->RegisterFunction("echo", ".", &Echo, this);
        g->RegisterFunction("sample", "s", &Sample, this);
        g->RegisterFunction("held", "", &Held, this);
        g->RegisterFunction("fail", "", &Fail, this);
        g->RegisterFunction("callBack", "c*", &CallBack, this);
        g->RegisterFunction("resourceOf", "", &ResourceOf, this);
        g->RegisterFunction("store", "c", &Store, this);
        g->AddProperty(this, "counter", ARGUMENT_INTEGER, &GetCounter, &SetCounter);
        g->AddProperty(this, "version", ARGUMENT_STRING, &GetVersion);
        ReflectedNamespace* tools = g->AddNamespace("tools");
        tools->SetAlias("t");
        tools->RegisterFunction("twice", "i", &Twice, this);
        tools->AddProperty(this, "level", ARGUMENT_INTEGER, &GetCounter, &SetCounter);
        tools->AddProperty(this, "fixed", ARGUMENT_INTEGER, &GetCounter);
        m_pHeld = Strong<CAnimal>::Adopt(NewAnimalObject("held", m_pAnimal));
        m_Scripting.GetDefineHandlers()->Define("NEG_ONE", int32_t(-1));
        m_Scripting.GetDefineHandlers()->Define("ALL_BITS", uint32_t(0xFFFFFFFF));
    }

    static CAnimal* NewAnimalObject(const char* name, ReflectedClass* pClass) {
        auto* animal = new CAnimal(name);
        animal->SetReflectedClass(pClass);
        return animal;
    }

    static CTestApi* Self(void* user) { return static_cast<CTestApi*>(user); }

    static bool NewAnimal(CNativeState* s, int32_t, void* user) { return Construct(s, Self(user)->m_pAnimal); }
    static bool NewDog(CNativeState* s, int32_t, void* user) { return Construct(s, Self(user)->m_pDog); }
    static bool Construct(CNativeState* s, ReflectedClass* pClass) {
        const char* name = s->CheckString(0);
        if (!name)
            return false;
        CAnimal* animal = NewAnimalObject(name, pClass);
        s->ReturnObject(animal);
        animal->Release();
        return true;
    }
    template <typename T>
    static bool NewValue(CNativeState* s, int32_t, void* user) {
        auto* value = new CObjectValue<T>();
        value->SetReflectedClass(static_cast<ReflectedClass*>(user));
        s->ReturnObject(value);
        value->Release();
        return true;
    }
    static bool Vec3X(CNativeState* s, int32_t, void* user) {
        CBaseObject* pThis;
        if (!s->GetThis(Self(user)->m_pVec3, pThis))
            return false;
        s->ReturnNumber(static_cast<CObjectValue<CVector3D>*>(pThis)->m_Value.x);
        return true;
    }
    static bool GetName(CNativeState* s, int32_t, void* user) {
        CAnimal* animal;
        if (!s->GetThis(Self(user)->m_pAnimal, animal))
            return false;
        s->ReturnString(animal->m_Name.c_str());
        return true;
    }
    static bool SetName(CNativeState* s, int32_t, void* user) {
        CAnimal* animal;
        const char* name;
        if (!s->GetThis(Self(user)->m_pAnimal, animal) || !(name = s->CheckString(0)))
            return false;
        animal->m_Name = name;
        return true;
    }
    static bool GetLegs(CNativeState* s, int32_t, void* user) {
        CAnimal* animal;
        if (!s->GetThis(Self(user)->m_pAnimal, animal))
            return false;
        s->ReturnNumber(animal->m_Legs);
        return true;
    }
    static bool Speak(CNativeState* s, int32_t, void* user) {
        s->ReturnString(static_cast<const char*>(user));
        return true;
    }
    static bool AnimalToString(CNativeState* s, int32_t, void* user) {
        CAnimal* animal;
        if (!s->GetThis(Self(user)->m_pAnimal, animal))
            return false;
        s->ReturnString(("Animal(" + animal->m_Name + ")").c_str());
        return true;
    }
    static bool Fetch(CNativeState* s, int32_t, void* user) {
        CAnimal* dog;
        if (!s->GetThis(Self(user)->m_pDog, dog))
            return false;
        s->Return(s->GetArgument(0));
        return true;
    }
    static bool DescribeNative(CNativeState* s, int32_t count, void*) {
        std::string text = count == 1 ? Describe(s->GetArgument(0)) : "count:" + std::to_string(count);
        s->ReturnString(text.c_str(), text.size());
        return true;
    }
    static bool Echo(CNativeState* s, int32_t, void*) {
        s->Return(s->GetArgument(0));
        return true;
    }
    static bool Held(CNativeState* s, int32_t, void* user) {
        s->ReturnObject(Self(user)->m_pHeld);
        return true;
    }
    static bool Fail(CNativeState* s, int32_t, void*) { return s->Error("native failure %d", 42); }
    static bool CallBack(CNativeState* s, int32_t count, void*) {
        CFunction* f = s->CheckFunction(0);
        if (!f)
            return false;
        Strong<CArgumentArray> args = Strong<CArgumentArray>::Adopt(new CArgumentArray());
        for (int32_t i = 1; i < count; ++i)
            args->Add(s->GetArgument(i));
        CReturnValue result;
        if (!f->Invoke(args, &result))
            return s->Error("callback failed");
        s->Return(result.GetReturnArgument());
        return true;
    }
    static bool ResourceOf(CNativeState* s, int32_t, void*) {
        s->ReturnNumber(static_cast<int64_t>(reinterpret_cast<intptr_t>(s->GetResource())));
        return true;
    }
    static bool Store(CNativeState* s, int32_t, void* user) {
        CFunction* f = s->CheckFunction(0);
        Self(user)->m_pStored = f;
        return f != nullptr;
    }
    static bool GetCounter(CNativeState* s, int32_t, void* user) {
        s->ReturnNumber(Self(user)->m_Counter);
        return true;
    }
    static bool SetCounter(CNativeState* s, int32_t, void* user) { return s->CheckNumber(0, Self(user)->m_Counter); }
    static bool GetVersion(CNativeState* s, int32_t, void*) {
        s->ReturnString("1.0");
        return true;
    }
    static bool Twice(CNativeState* s, int32_t, void*) {
        int32_t n;
        if (!s->CheckNumber(0, n))
            return false;
        s->ReturnNumber(n * 2);
        return true;
    }
    static bool Sample(CNativeState* s, int32_t, void* user);
};

inline bool CTestApi::Sample(CNativeState* s, int32_t, void* user) {
    const char* kind = s->CheckString(0);
    if (!kind)
        return false;
    std::string k = kind;
    if (k == "bool") s->ReturnBoolean(true);
    else if (k == "string") s->ReturnString("a\0b", 3);
    else if (k == "bytes") s->ReturnBytes("\x01\x02\x00", 3);
    else if (k == "int") s->ReturnNumber(int32_t(-7));
    else if (k == "long") s->ReturnNumber(int64_t(1) << 40);
    else if (k == "float") s->ReturnNumber(1.5f);
    else if (k == "double") s->ReturnNumber(0.25);
    else if (k == "vec2") s->ReturnVector2D(CVector2D(1, 2));
    else if (k == "vec3") s->ReturnVector3D(CVector3D(1, 2, 3));
    else if (k == "matrix") s->ReturnMatrix4x4(CMatrix4x4());
    else if (k == "nil") s->ReturnNull();
    else if (k == "undefined") s->ReturnUndefined();
    else if (k == "object") s->ReturnObject(Self(user)->m_pHeld);
    else if (k == "function") {
        CAdder* adder = new CAdder();
        s->ReturnFunction(adder);
        adder->Release();
    } else if (k == "array") {
        auto* a = new CArgumentArray();
        a->AddNumber(int32_t(1));
        a->AddString("two");
        auto* inner = new CArgumentArray();
        inner->AddBoolean(false);
        a->AddAndOwn(inner);
        s->ReturnAndOwn(a);
    } else if (k == "map") {
        auto* m = new CArgumentMap();
        auto* v = new CArgumentArray();
        v->AddNumber(int32_t(5));
        m->Set("five", v->GetAt(0)->Clone());
        v->Release();
        m->Set("name", new CArgumentString("x"));
        s->ReturnAndOwn(m);
    } else return s->Error("unknown sample %s", kind);
    return true;
}

// A fixture with the test API published in a fresh Lua state.
class LuaApiTest : public ::testing::Test {
protected:
    LuaApiTest() : m_Lua(&m_Api.m_Scripting) { EXPECT_TRUE(m_Lua.DefineClasses()); }

    // An environment that is destroyed (its creator reference given back) with the fixture.
    CLuaScriptEnvironment* Environment(const char* name) {
        auto* env = static_cast<CLuaScriptEnvironment*>(m_Lua.CreateEnvironment(name));
        m_Environments.push_back(env);
        return env;
    }
    ~LuaApiTest() override {
        for (CLuaScriptEnvironment* env : m_Environments)
            env->Destroy();
    }

    CCapturedLog m_Log;
    CTestApi m_Api;
    CLuaScripting m_Lua;
    std::vector<CLuaScriptEnvironment*> m_Environments;
};

}  // namespace LuaApi
