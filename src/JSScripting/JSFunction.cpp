// Calls across the language boundary in both directions, with a checkpoint after the outermost one.
#include "JSScripting/JSFunction.h"
#include "Engine/ArgumentKinds.h"
#include "Engine/LastError.h"
#include "Engine/Reflection.h"
#include "Engine/Scripting.h"
#include "JSScripting/JSErrorReport.h"
#include "JSScripting/JSReferenceable.h"
#include "JSScripting/JSScripting.h"
#include "JSScripting/JSValue.h"
#include <exception>
#include <js/CallAndConstruct.h>
#include <jsfriendapi.h>

using namespace Ferrox3D;

namespace {
constexpr size_t SLOT_ENGINE_FUNCTION = 0;  // the wrapper of the engine function

// The generic callback: copied arguments, the first result returned.
bool CallEngineFunction(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    JSObject* pWrapper = &js::GetFunctionNativeReserved(&args.callee(), SLOT_ENGINE_FUNCTION).toObject();
    CJSReferenceable* pRecord = CJSReferenceable::FromWrapper(pWrapper);
    auto* pFunction = pRecord ? dynamic_cast<CFunction*>(pRecord->GetObject()) : nullptr;
    if (!pFunction) {
        JS_ReportErrorASCII(cx, "function is gone");
        return false;
    }
    try {
        Strong<CFunction> keepAlive(pFunction);
        CArgumentArray arguments(args.length());
        for (unsigned i = 0; i < args.length(); ++i) {
            if (!AddJSValue(cx, args[i], arguments))
                return false;
        }
        CReturnValue result;
        ClearError();
        if (!pFunction->Call(&arguments, &result)) {
            const char* pszError = GetLastError();
            JS_ReportErrorUTF8(cx, "%s", *pszError ? pszError : "function call failed");
            return false;
        }
        return SetJSReturnValue(cx, result.GetReturnArgument(), args.rval());
    } catch (const std::exception& e) {
        JS_ReportErrorUTF8(cx, "%s", e.what());
    }
    return false;
}

bool IsEngineFunctionObject(JSObject* pObject) { return JS_IsNativeFunction(pObject, CallEngineFunction); }
}  // namespace

CJSFunction::CJSFunction(CJSScripting& scripting, JS::HandleObject function)
    : m_pEnvironment(CJSScriptEnvironment::FromObject(function)), m_Function(scripting, JS::ObjectValue(*function)) {
    if (!m_pEnvironment)
        m_pEnvironment = scripting.GetScriptEnvironment();
    SetReflectedClass(scripting.GetScripting()->GetFunctionClass());
}

bool CJSFunction::Call(CArgumentArray* pArguments, CReturnValue* pResult) {
    CJSScripting* pScripting = m_Function.GetScripting();
    if (!pScripting)
        return SetError("JavaScript is shut down");
    Strong<CFunction> keepAlive(this);  // the script may drop the last other reference
    JSContext* cx = pScripting->GetContext();
    CJSCallScope scope(*pScripting, m_pEnvironment, &m_Function.Get().toObject());
    if (CallIn(cx, pArguments, pResult))
        return true;
    ReportPendingException(cx);
    return false;
}

bool CJSFunction::CallIn(JSContext* cx, CArgumentArray* pArguments, CReturnValue* pResult) {
    JS::RootedValueVector arguments(cx);
    JS::RootedValue argument(cx), function(cx, m_Function.Get()), result(cx);
    size_t count = pArguments ? pArguments->GetArrayCount() : 0;
    if (!arguments.reserve(count))
        return false;
    for (size_t i = 0; i < count; ++i) {
        if (!GetJSValue(cx, pArguments->GetAt(i), &argument) || !arguments.append(argument))
            return false;
    }
    if (!JS::Call(cx, JS::UndefinedHandleValue, function, arguments, &result))
        return false;
    return !pResult || AddJSValue(cx, result, *pResult);
}

bool AddFunction(JSContext* cx, JS::HandleObject function, CArgumentArray& out) {
    if (IsEngineFunctionObject(function)) {
        JSObject* pWrapper = &js::GetFunctionNativeReserved(function, SLOT_ENGINE_FUNCTION).toObject();
        CJSReferenceable* pRecord = CJSReferenceable::FromWrapper(pWrapper);
        out.AddFunction(pRecord ? dynamic_cast<CFunction*>(pRecord->GetObject()) : nullptr);
        return true;
    }
    auto* pFunction = new CJSFunction(*CJSScripting::FromContext(cx), function);
    out.AddFunction(pFunction);
    pFunction->Release();
    return true;
}

bool NewJSFunctionValue(JSContext* cx, CFunction* pFunction, JS::MutableHandleValue out, bool bReturn) {
    if (auto* pJSFunction = dynamic_cast<CJSFunction*>(pFunction)) {
        out.set(pJSFunction->GetFunction());
        return true;
    }
    if (!pFunction) {
        if (bReturn)
            out.setNull();
        else
            out.setUndefined();
        return true;
    }
    CJSScripting* pScripting = CJSScripting::FromContext(cx);
    if (!pFunction->GetReflectedClass())
        pFunction->SetReflectedClass(pScripting->GetScripting()->GetFunctionClass());
    JS::RootedObject wrapper(cx, CJSReferenceable::Get(*pScripting, pFunction));
    if (!wrapper)
        return false;
    JSFunction* pCallable = js::NewFunctionWithReserved(cx, CallEngineFunction, 0, 0, nullptr);
    if (!pCallable)
        return false;
    JSObject* pObject = JS_GetFunctionObject(pCallable);
    js::SetFunctionNativeReserved(pObject, SLOT_ENGINE_FUNCTION, JS::ObjectValue(*wrapper));
    out.setObject(*pObject);
    return true;
}
