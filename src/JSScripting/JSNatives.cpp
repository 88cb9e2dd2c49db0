// Calling a native from JavaScript: convert the arguments, find "this", call, convert the result.
#include "JSScripting/JSNatives.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSValue.h"
#include <exception>
#include <js/PropertyAndElement.h>
#include <jsfriendapi.h>
#include <string>

namespace {
constexpr size_t SLOT_BINDING = 0;

// The receiver must be a wrapper; a wrapper whose object is gone gives no "this" and the native
// fails with its own "'this' is null".
bool GetThisObject(JSContext* cx, const JS::CallArgs& args, const tJSNativeBinding& binding,
                   Ferrox3D::CBaseObject*& pThis) {
    JSObject* pReceiver = args.thisv().isObject() ? &args.thisv().toObject() : nullptr;
    if (!CJSReferenceable::IsWrapper(pReceiver)) {
        JS_ReportErrorUTF8(cx, "'%s' called on an object that does not implement interface %s.",
                           binding.pFunction->GetName(), binding.pThisClass->GetName());
        return false;
    }
    CJSReferenceable* pRecord = CJSReferenceable::FromWrapper(pReceiver);
    pThis = pRecord ? pRecord->GetObject() : nullptr;
    return true;
}

bool InvokeNative(JSContext* cx, const JS::CallArgs& args, const tJSNativeBinding& binding) {
    CJSScripting* pScripting = CJSScripting::FromContext(cx);
    Ferrox3D::CBaseObject* pThis = nullptr;
    if (binding.pThisClass && !GetThisObject(cx, args, binding, pThis))
        return false;
    Ferrox3D::CArgumentArray arguments(args.length());
    for (unsigned i = 0; i < args.length(); ++i) {
        if (!AddJSValue(cx, args[i], arguments))
            return false;
    }
    CJSScriptEnvironment* pEnvironment = pScripting->GetScriptEnvironment();
    Ferrox3D::CNativeState state(pScripting->GetScripting(), pEnvironment ? pEnvironment->GetResource() : nullptr,
                                 &arguments, pThis);
    if (!binding.pFunction->Call(state, binding.pUser)) {
        JS_ReportErrorUTF8(cx, "%s", Ferrox3D::GetLastError());
        return false;
    }
    return SetJSReturnValue(cx, state.GetReturnValue(), args.rval());
}

bool CallNative(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    const auto* pBinding =
        static_cast<const tJSNativeBinding*>(js::GetFunctionNativeReserved(&args.callee(), SLOT_BINDING).toPrivate());
    try {
        return InvokeNative(cx, args, *pBinding);
    } catch (const std::exception& e) {
        JS_ReportErrorUTF8(cx, "%s: %s", pBinding->pFunction->GetName(), e.what());
    } catch (...) {
        JS_ReportErrorUTF8(cx, "%s: internal error", pBinding->pFunction->GetName());
    }
    return false;
}
}  // namespace

JSObject* NewNativeFunction(JSContext* cx, const tJSNativeBinding* pBinding, const char* pszName, unsigned nargs) {
    JSFunction* pFunction = js::NewFunctionWithReserved(cx, CallNative, nargs, 0, pszName);
    if (!pFunction)
        return nullptr;
    JSObject* pObject = JS_GetFunctionObject(pFunction);
    js::SetFunctionNativeReserved(pObject, SLOT_BINDING, JS::PrivateValue(const_cast<tJSNativeBinding*>(pBinding)));
    return pObject;
}

bool DefineReflectedFunctions(CJSScripting& scripting, JS::HandleObject target,
                              const std::vector<std::unique_ptr<Ferrox3D::ReflectedFunction>>& functions,
                              const Ferrox3D::ReflectedClass* pThisClass) {
    JSContext* cx = scripting.GetContext();
    JS::RootedObject function(cx);
    for (const auto& pFunction : functions) {
        const Ferrox3D::ScriptFunction& entry = pFunction->m_Function;
        const tJSNativeBinding* pBinding = scripting.GetBinding(&entry, pFunction->m_pUser, pThisClass);
        function = NewNativeFunction(cx, pBinding, entry.GetName(), entry.GetRequiredArgumentCount());
        if (!function || !JS_DefineProperty(cx, target, entry.GetName(), function, JSPROP_READONLY))
            return false;
    }
    return true;
}

bool DefineReflectedProperty(CJSScripting& scripting, JS::HandleObject target, const Ferrox3D::ReflectedProperty& property,
                             const char* pszName, const Ferrox3D::ReflectedClass* pThisClass) {
    JSContext* cx = scripting.GetContext();
    const tJSNativeBinding* pGetter = scripting.GetBinding(&property.m_Getter, property.m_pUser, pThisClass);
    JS::RootedObject getter(cx, NewNativeFunction(cx, pGetter, ("get " + std::string(pszName)).c_str(), 0));
    JS::RootedObject setter(cx);
    if (!getter)
        return false;
    if (!property.IsReadOnly()) {
        const tJSNativeBinding* pSetter = scripting.GetBinding(&property.m_Setter, property.m_pUser, pThisClass);
        setter = NewNativeFunction(cx, pSetter, ("set " + std::string(pszName)).c_str(), 1);
        if (!setter)
            return false;
    }
    return JS_DefineProperty(cx, target, pszName, getter, setter, 0);
}

bool DefineReflectedProperties(CJSScripting& scripting, JS::HandleObject target,
                               const std::vector<std::unique_ptr<Ferrox3D::ReflectedProperty>>& properties,
                               const Ferrox3D::ReflectedClass* pThisClass) {
    for (const auto& pProperty : properties) {
        if (!DefineReflectedProperty(scripting, target, *pProperty, pProperty->GetName(), pThisClass))
            return false;
    }
    return true;
}
