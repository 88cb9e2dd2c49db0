// Constructing reflected classes from the engine and unwrapping vector and matrix objects.
#include "Engine/ReflectionHelpers.h"
#include "Engine/ArgumentKinds.h"
#include "Engine/LastError.h"
#include "Engine/NativeState.h"

namespace Ferrox3D {
namespace Reflection {

bool CallHook(CScripting* pScripting, CResource* pResource, const ReflectedFunction& hook, CBaseObject* pThis,
              CArgumentArray* pArguments, CReturnValue& result) {
    CNativeState state(pScripting, pResource, pArguments, pThis);
    if (!hook.Call(state))
        return false;
    if (CArgument* pValue = state.GetReturnValue())
        result.Add(pValue);
    return true;
}

CBaseObject* Construct(CScripting* pScripting, ReflectedClass* pClass) {
    const ReflectedFunction* pConstructor = pClass ? pClass->GetConstructor() : nullptr;
    if (!pConstructor)
        return SetError("Class is not constructable"), nullptr;
    CReturnValue result;
    if (!CallHook(pScripting, nullptr, *pConstructor, nullptr, nullptr, result))
        return nullptr;
    CArgument* pValue = result.GetReturnArgument();
    if (!pValue)
        return SetError("Constructor didn't return anything"), nullptr;
    if (!pValue->IsObject())
        return SetError("Constructor didn't return object"), nullptr;
    CBaseObject* pObject = pValue->ToObject();
    if (!pObject)
        return SetError("Constructor returned null"), nullptr;
    pObject->AddRef();
    return pObject;
}

namespace {
template <typename T>
const T* ValueOf(CBaseObject* pObject, ReflectedClass* pObjectClass, ReflectedClass* pClass) {
    if (!pClass || !pObjectClass || !pObjectClass->IsA(pClass))
        return nullptr;
    auto* pHolder = dynamic_cast<CObjectValue<T>*>(pObject);
    return pHolder ? &pHolder->m_Value : nullptr;
}
}  // namespace

CArgument* ToArgument(CBaseObject* pObject, CScripting* pScripting) {
    if (!pObject)
        return new CArgument(ARGUMENT_NIL);
    ReflectedClass* pClass = pObject->GetReflectedClass();
    if (pScripting) {
        ReflectedNamespace* pGlobal = pScripting->GetGlobal();
        if (auto* pMatrix = ValueOf<CMatrix4x4>(pObject, pClass, pGlobal->GetMatrix4x4Class()))
            return new CArgumentMatrix4x4(*pMatrix);
        if (auto* pVector = ValueOf<CVector3D>(pObject, pClass, pGlobal->GetVec3Class()))
            return new CArgumentVector3D(*pVector);
        if (auto* pVector = ValueOf<CVector2D>(pObject, pClass, pGlobal->GetVec2Class()))
            return new CArgumentVector2D(*pVector);
    }
    return CArgument::Create(pObject);
}

}  // namespace Reflection
}  // namespace Ferrox3D
