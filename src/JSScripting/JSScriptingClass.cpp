// Classes, inheritance through prototypes, and construction with `new`.
#include "JSScripting/JSScriptingClass.h"
#include "Engine/ArgumentKinds.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"
#include "JSScripting/JSNatives.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSValue.h"
#include <exception>
#include <js/Object.h>
#include <js/PropertyAndElement.h>
#include <jsfriendapi.h>

using namespace Ferrox3D;

namespace {
constexpr size_t SLOT_CLASS = 0;  // reserved slot of the constructor: its CJSScriptingClass
}

CJSScriptingClass::CJSScriptingClass(ReflectedClass* pClass, const char* pszName)
    : m_pClass(pClass), m_Name(pszName ? pszName : "") {}

CJSScriptingClass::~CJSScriptingClass() {
    if (m_pScripting) {
        m_pScripting->RemoveClass(this);
        Detach();
    }
}

JSObject* CJSScriptingClass::GetPrototype() const { return m_pPrototype ? m_pPrototype->get() : nullptr; }
JSObject* CJSScriptingClass::GetConstructor() const { return m_pConstructor ? m_pConstructor->get() : nullptr; }

bool CJSScriptingClass::Initialise(CJSScripting& scripting, CJSScriptingClass* pParent) {
    JSContext* cx = scripting.GetContext();
    JSAutoRealm realm(cx, scripting.GetHostGlobal());
    JS::RootedObject parentPrototype(cx, pParent ? pParent->GetPrototype() : JS::GetRealmObjectPrototype(cx));
    if (!parentPrototype) {
        JS_ReportErrorASCII(cx, "no parent prototype");
        return false;
    }
    JS::RootedObject prototype(cx, JS_NewObjectWithGivenProto(cx, nullptr, parentPrototype));
    JSFunction* pConstructor = js::NewFunctionWithReserved(cx, Construct, 0, JSFUN_CONSTRUCTOR, m_Name.c_str());
    if (!prototype || !pConstructor)
        return false;
    JS::RootedObject constructor(cx, JS_GetFunctionObject(pConstructor));
    js::SetFunctionNativeReserved(constructor, SLOT_CLASS, JS::PrivateValue(this));
    if (!JS_LinkConstructorAndPrototype(cx, constructor, prototype))
        return false;
    m_pScripting = &scripting;
    m_pJSClass = scripting.NewJSClass(m_Name.c_str());
    m_pPrototype = std::make_unique<JS::PersistentRootedObject>(cx, prototype);
    m_pConstructor = std::make_unique<JS::PersistentRootedObject>(cx, constructor);
    scripting.AddClass(this);
    return DefineMembers(prototype);
}

void CJSScriptingClass::Detach() {
    if (JSObject* pConstructor = GetConstructor())
        js::SetFunctionNativeReserved(pConstructor, SLOT_CLASS, JS::UndefinedValue());
    m_pPrototype.reset();
    m_pConstructor.reset();
    m_pJSClass = nullptr;
    m_pScripting = nullptr;
}

bool CJSScriptingClass::DefineMembers(JS::HandleObject prototype) {
    if (!m_pClass)
        return true;
    return DefineReflectedFunctions(*m_pScripting, prototype, m_pClass->GetFunctions(), m_pClass) &&
           DefineReflectedProperties(*m_pScripting, prototype, m_pClass->GetProperties(), m_pClass) &&
           DefineIndexAliases(prototype);
}

// v[0], v[1] (and v[2]) read and write the components of Vec2 and Vec3.
bool CJSScriptingClass::DefineIndexAliases(JS::HandleObject prototype) {
    ReflectedNamespace* pGlobal = m_pScripting->GetScripting()->GetGlobal();
    const char* const components[] = {"x", "y", "z"};
    int count = m_pClass == pGlobal->GetVec2Class() ? 2 : m_pClass == pGlobal->GetVec3Class() ? 3 : 0;
    for (int i = 0; i < count; ++i) {
        const ReflectedProperty* pProperty = m_pClass->GetProperty(components[i]);
        const char index[2] = {static_cast<char>('0' + i), '\0'};
        if (pProperty && !DefineReflectedProperty(*m_pScripting, prototype, *pProperty, index, m_pClass))
            return false;
    }
    ClearError();
    return true;
}

bool CJSScriptingClass::Construct(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    const JS::Value& slot = js::GetFunctionNativeReserved(&args.callee(), SLOT_CLASS);
    auto* pClass = slot.isUndefined() ? nullptr : static_cast<CJSScriptingClass*>(slot.toPrivate());
    if (pClass && !args.isConstructing()) {
        JS_ReportErrorUTF8(cx, "Constructor %s requires 'new'", pClass->GetName());
        return false;
    }
    if (!pClass || !pClass->m_pClass || !pClass->m_pClass->GetConstructor()) {
        JS_ReportErrorASCII(cx, "Illegal constructor.");
        return false;
    }
    try {
        return pClass->ConstructIn(cx, args);
    } catch (const std::exception& e) {
        JS_ReportErrorUTF8(cx, "%s: %s", pClass->GetName(), e.what());
    }
    return false;
}

// The new object takes the prototype of `new.target`, so script classes may extend engine classes.
bool CJSScriptingClass::ConstructIn(JSContext* cx, JS::CallArgs& args) {
    JS::RootedObject object(cx, JS_NewObjectForConstructor(cx, m_pJSClass, args));
    if (!object)
        return false;
    CArgumentArray arguments(args.length());
    for (unsigned i = 0; i < args.length(); ++i) {
        if (!AddJSValue(cx, args[i], arguments))
            return false;
    }
    CJSScriptEnvironment* pEnvironment = m_pScripting->GetScriptEnvironment();
    CNativeState state(m_pScripting->GetScripting(), pEnvironment ? pEnvironment->GetResource() : nullptr, &arguments);
    if (!m_pClass->GetConstructor()->Call(state)) {
        JS_ReportErrorUTF8(cx, "%s", GetLastError());
        return false;
    }
    CArgument* pResult = state.GetReturnValue();
    CBaseObject* pObject = pResult && pResult->IsObject() ? pResult->ToObject() : nullptr;
    if (!pObject || !m_pScripting->GetClass(pObject->GetReflectedClass())) {
        JS_ReportErrorASCII(cx, "Constructor failed!");
        return false;
    }
    // An object that already has a wrapper keeps it: no second record, no second release.
    if (pObject->GetJSScriptReference()) {
        JSObject* pExisting = CJSReferenceable::Get(*m_pScripting, pObject);
        if (!pExisting)
            return false;
        args.rval().setObject(*pExisting);
        return true;
    }
    if (!CJSReferenceable::Attach(*m_pScripting, pObject, object, true)) {
        JS_ReportErrorASCII(cx, "CJSScriptingClass::Set returned null!");
        return false;
    }
    args.rval().setObject(*object);
    return true;
}
