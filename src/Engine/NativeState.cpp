// Typed argument checks, "this", errors and stream results of a native call.
#include "Engine/NativeState.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include "Engine/LastError.h"
#include "Engine/ScriptStream.h"

namespace Ferrox3D {

CNativeState::CNativeState(CScripting* pScripting, CResource* pResource, CArgumentArray* pArguments,
                           CBaseObject* pThis)
    : m_pScripting(pScripting), m_pResource(pResource), m_pArguments(pArguments), m_pThis(pThis) {
    m_Error[0] = '\0';
}

int32_t CNativeState::GetArgumentCount() const {
    return m_pArguments ? static_cast<int32_t>(m_pArguments->GetArrayCount()) : 0;
}

CArgument* CNativeState::GetArgument(size_t index) const {
    return m_pArguments ? m_pArguments->GetAt(index) : nullptr;
}

bool CNativeState::Error(const char* format, ...) {
    char message[LOG_MESSAGE_BUFFER];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof(message), format, args);
    va_end(args);
    snprintf(m_Error, sizeof(m_Error), "%s", message);
    SetError("%s", message);
    m_bHasError = true;
    return false;
}

bool CNativeState::TypeError(const char* typeName, size_t index) {
    return Error("Expected %s for argument %d", typeName, static_cast<int>(index + 1));
}

bool CNativeState::CheckBoolean(size_t index, bool& value) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsBoolean())
        return TypeError("boolean", index);
    value = pArgument->ToBoolean();
    return true;
}

template <typename Int>
bool CNativeState::CheckNarrow(size_t index, Int& value) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsNumber())
        return TypeError("integer", index);
    if constexpr (sizeof(Int) >= 4) {
        pArgument->ToNumber(value);
    } else {
        // Narrow widths take the low bits of the 32-bit conversion of their signedness.
        typename std::conditional<std::is_signed<Int>::value, int32_t, uint32_t>::type wide = 0;
        pArgument->ToNumber(wide);
        value = static_cast<Int>(wide);
    }
    return true;
}

bool CNativeState::CheckNumber(size_t index, int8_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, uint8_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, int16_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, uint16_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, int32_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, uint32_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, int64_t& value) { return CheckNarrow(index, value); }
bool CNativeState::CheckNumber(size_t index, uint64_t& value) { return CheckNarrow(index, value); }

bool CNativeState::CheckNumber(size_t index, float& value) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsNumber())
        return TypeError("number", index);
    pArgument->ToNumber(value);
    return true;
}

bool CNativeState::CheckNumber(size_t index, double& value) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsNumber())
        return TypeError("number", index);
    pArgument->ToNumber(value);
    return true;
}

const char* CNativeState::CheckString(size_t index, size_t* pLength) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsString()) {
        TypeError("string", index);
        return nullptr;
    }
    return pArgument->ToString(pLength);
}

const uint8_t* CNativeState::CheckBytes(size_t index, size_t& length) {
    CArgument* pArgument = GetArgument(index);
    if (pArgument && pArgument->IsString())
        return reinterpret_cast<const uint8_t*>(pArgument->ToString(&length));
    if (pArgument && pArgument->IsBytes())
        return pArgument->ToBytes(length);
    TypeError("bytes", index);
    return nullptr;
}

// A vector value of the given tag, or an array of exactly count numbers (as scripts without
// vector values pass them).
bool CNativeState::CheckVector(size_t index, uint8_t type, float* pComponents, size_t count, const char* name) {
    CArgument* pArgument = GetArgument(index);
    if (pArgument && pArgument->GetType() == type) {
        if (type == ARGUMENT_VECTOR3D) {
            CVector3D vector;
            pArgument->ToVector3D(vector);
            pComponents[0] = vector.x, pComponents[1] = vector.y, pComponents[2] = vector.z;
        } else {
            CVector2D vector;
            pArgument->ToVector2D(vector);
            pComponents[0] = vector.x, pComponents[1] = vector.y;
        }
        return true;
    }
    auto* pArray = pArgument && pArgument->IsArray() ? static_cast<CArgumentArray*>(pArgument) : nullptr;
    if (!pArray || pArray->GetArrayCount() != count)
        return TypeError(name, index);
    for (CArgument* pElement : *pArray)
        if (!pElement->IsNumber())
            return TypeError(name, index);
    for (size_t i = 0; i < count; ++i)
        pArray->GetAt(i)->ToNumber(pComponents[i]);
    return true;
}

bool CNativeState::CheckVector2D(size_t index, CVector2D& value) {
    float c[2];
    if (!CheckVector(index, ARGUMENT_VECTOR2D, c, 2, "Vector2D"))
        return false;
    value = CVector2D(c[0], c[1]);
    return true;
}

bool CNativeState::CheckVector3D(size_t index, CVector3D& value) {
    float c[3];
    if (!CheckVector(index, ARGUMENT_VECTOR3D, c, 3, "Vector3D"))
        return false;
    value = CVector3D(c[0], c[1], c[2]);
    return true;
}

bool CNativeState::CheckMatrix4x4(size_t index, CMatrix4x4& value) {
    CArgument* pArgument = GetArgument(index);
    if (!pArgument || !pArgument->IsMatrix4x4())
        return TypeError("Matrix4x4", index);
    pArgument->ToMatrix4x4(value);
    return true;
}

bool CNativeState::CheckClass(ReflectedClass* pClass, size_t index, bool allowNull, CBaseObject*& pObject) {
    CArgument* pArgument = GetArgument(index);
    if (allowNull && pArgument && pArgument->IsNull()) {
        pObject = nullptr;
        return true;
    }
    CBaseObject* pFound = pArgument && pArgument->IsObject() ? pArgument->ToObject(pClass) : nullptr;
    if (!pFound)
        return TypeError(pClass ? pClass->GetName() : "Instance", index);
    pObject = pFound;
    return true;
}

CBaseObject* CNativeState::CheckReferenceable(size_t index) {
    CArgument* pArgument = GetArgument(index);
    CBaseObject* pObject = pArgument && pArgument->IsObject() ? pArgument->ToObject() : nullptr;
    if (!pObject)
        TypeError("Instance", index);
    return pObject;
}

CFunction* CNativeState::CheckFunction(size_t index) {
    CArgument* pArgument = GetArgument(index);
    CFunction* pFunction = pArgument && pArgument->IsFunction() ? pArgument->ToFunction() : nullptr;
    if (!pFunction)
        TypeError("Function", index);
    return pFunction;
}

Stream* CNativeState::CheckStream(size_t index) {
    ReflectedClass* pStreamClass = m_pScripting ? m_pScripting->GetGlobal()->GetStreamClass() : nullptr;
    CBaseObject* pObject;
    if (!pStreamClass || !CheckClass(pStreamClass, index, false, pObject)) {
        if (!m_bHasError)
            TypeError("Stream", index);
        return nullptr;
    }
    auto* pHolder = dynamic_cast<CObjectValue<Strong<Stream>>*>(pObject);
    if (!pHolder || !pHolder->m_Value) {
        Error("Stream closed");
        return nullptr;
    }
    return pHolder->m_Value.Get();
}

bool CNativeState::GetThis(ReflectedClass* pClass, CBaseObject*& pObject) {
    CBaseObject* pThis = m_pThis.Get();
    if (!pThis)
        return Error("'this' is null");
    ReflectedClass* pThisClass = pThis->GetReflectedClass();
    if (!pThisClass || !pThisClass->IsA(pClass))
        return Error("%s expected for 'this'", pClass ? pClass->GetName() : "Instance");
    pObject = pThis;
    return true;
}

void CNativeState::ReturnStream(Stream* pStream) {
    auto* pObject = new CScriptStream(pStream);
    if (m_pScripting)
        pObject->SetReflectedClass(m_pScripting->GetGlobal()->GetStreamClass());
    m_RVal.AddObject(pObject);
    pObject->Release();
}

}  // namespace Ferrox3D
