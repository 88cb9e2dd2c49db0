// The generic natives of the "reflection" namespace: clone, move, tostring, createFunction, call.
#include <cstring>
#include "Engine/LastError.h"
#include "Engine/NativeState.h"
#include "Engine/ReflectionHelpers.h"

namespace Ferrox3D {

namespace {
// Argument index as an object, with the message scripts see for anything else.
CBaseObject* CheckObject(CNativeState* pState, size_t index) {
    CArgument* pArgument = pState->GetArgument(index);
    CBaseObject* pObject = pArgument && pArgument->IsObject() ? pArgument->ToObject() : nullptr;
    if (!pObject)
        pState->TypeError("Object", index);
    return pObject;
}

using HookGetter = const ReflectedFunction* (ReflectedClass::*)() const;

// Runs the hook of pObject's class with the given arguments; `missing` is the error when the
// class has none. A failing hook's message becomes this call's error.
bool RunHook(CNativeState* pState, CBaseObject* pObject, HookGetter getter, const char* missing,
             CArgumentArray* pArguments, CReturnValue& result) {
    ReflectedClass* pClass = pObject->GetReflectedClass();
    if (!pClass)
        return pState->Error("Class not part of reflection");
    const ReflectedFunction* pHook = (pClass->*getter)();
    if (!pHook)
        return pState->Error("%s", missing);
    if (Reflection::CallHook(pState->GetScripting(), pState->GetResource(), *pHook, pObject, pArguments, result))
        return true;
    return pState->Error("%s", GetLastError());
}

bool Clone(CNativeState* pState, int32_t, void*) {
    CBaseObject* pObject = CheckObject(pState, 0);
    CReturnValue result;
    if (!pObject || !RunHook(pState, pObject, &ReflectedClass::GetCloneHook, "Class is not cloneable", nullptr, result))
        return false;
    CArgument* pValue = result.GetReturnArgument();
    if (!pValue || !pValue->IsObject())
        return pState->Error("Clone didn't return anything");
    pState->Return(pValue);
    return true;
}

bool Move(CNativeState* pState, int32_t, void*) {
    CBaseObject* pTarget = CheckObject(pState, 0);
    CBaseObject* pSource = pTarget ? CheckObject(pState, 1) : nullptr;
    if (!pSource)
        return false;
    if (pTarget == pSource)
        return pState->Error("Cannot move to same place");
    CArgumentArray arguments(1);
    arguments.AddObject(pSource);
    CReturnValue result;
    if (!RunHook(pState, pTarget, &ReflectedClass::GetMoveHook, "Class is not movable", &arguments, result))
        return false;
    pState->ReturnBoolean(true);
    return true;
}

bool ToString(CNativeState* pState, int32_t, void*) {
    CBaseObject* pObject = CheckObject(pState, 0);
    CReturnValue result;
    if (!pObject ||
        !RunHook(pState, pObject, &ReflectedClass::GetToStringHook, "Class doesn't implement ToString", nullptr, result))
        return false;
    CArgument* pValue = result.GetReturnArgument();
    if (!pValue)
        return pState->Error("ToString didn't return anything");
    if (!pValue->IsString())
        return pState->Error("ToString didn't return a string");
    pState->Return(pValue);
    return true;
}

bool CreateFunction(CNativeState* pState, int32_t, void*) {
    CFunction* pFunction = pState->CheckFunction(0);
    if (!pFunction)
        return false;
    if (!pFunction->GetReflectedClass() && pState->GetScripting())
        pFunction->SetReflectedClass(pState->GetScripting()->GetFunctionClass());
    pState->ReturnObject(pFunction);
    return true;
}

bool Call(CNativeState* pState, int32_t argumentCount, void*) {
    ReflectedClass* pFunctionClass = pState->GetScripting() ? pState->GetScripting()->GetFunctionClass() : nullptr;
    CBaseObject* pObject;
    if (!pState->CheckClass(pFunctionClass, 0, false, pObject))
        return false;
    auto* pFunction = dynamic_cast<CFunction*>(pObject);
    if (!pFunction)
        return pState->TypeError(pFunctionClass->GetName(), 0);
    CArgumentArray arguments(argumentCount > 0 ? argumentCount - 1 : 0);
    for (int32_t i = 1; i < argumentCount; ++i)
        arguments.Add(pState->GetArgument(i));
    CReturnValue result;
    // The callee reports its own failures; like a handler, a failing call just returns nothing.
    if (pFunction->Invoke(&arguments, &result) && result.GetReturnArgument())
        pState->Return(result.GetReturnArgument());
    return true;
}
}  // namespace

void CScripting::RegisterReflectionFunctions() {
    m_pReflection->RegisterFunction("clone", "x", Clone);
    m_pReflection->RegisterFunction("move", "xx", Move);
    m_pReflection->RegisterFunction("tostring", "x", ToString);
    m_pReflection->RegisterFunction("createFunction", "c", CreateFunction);
    m_pReflection->RegisterFunction("call", "x", Call);
}

}  // namespace Ferrox3D
