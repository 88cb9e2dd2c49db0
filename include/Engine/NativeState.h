// Arguments, "this", result and error of one native call, with typed argument checks.
#pragma once
#include <cstddef>
#include <cstdint>
#include "Engine/ArgumentArray.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"
#include "Engine/Scripting.h"

namespace Ferrox3D {

class CNativeState {
public:
    // pArguments is borrowed for the call; null means no arguments.
    CNativeState(CScripting* pScripting, CResource* pResource, CArgumentArray* pArguments,
                 CBaseObject* pThis = nullptr);
    CNativeState(const CNativeState&) = delete;
    CNativeState& operator=(const CNativeState&) = delete;

    CScripting* GetScripting() const { return m_pScripting; }
    CResource* GetResource() const { return m_pResource; }
    CArgumentArray* GetArguments() const { return m_pArguments; }
    int32_t GetArgumentCount() const;
    // Borrowed; null when the index is not below the count.
    CArgument* GetArgument(size_t index) const;
    CBaseObject* GetThisObject() const { return m_pThis.Get(); }
    void SetThis(CBaseObject* pThis) { m_pThis = pThis; }

    // Argument checks (0-based index). On failure: the error "Expected %s for argument %d" with
    // the kind's name and index + 1, and a false or null result.
    bool CheckBoolean(size_t index, bool& value);
    bool CheckNumber(size_t index, int8_t& value);
    bool CheckNumber(size_t index, uint8_t& value);
    bool CheckNumber(size_t index, int16_t& value);
    bool CheckNumber(size_t index, uint16_t& value);
    bool CheckNumber(size_t index, int32_t& value);
    bool CheckNumber(size_t index, uint32_t& value);
    bool CheckNumber(size_t index, int64_t& value);
    bool CheckNumber(size_t index, uint64_t& value);
    bool CheckNumber(size_t index, float& value);
    bool CheckNumber(size_t index, double& value);
    const char* CheckString(size_t index, size_t* pLength = nullptr);
    // A string or a byte string.
    const uint8_t* CheckBytes(size_t index, size_t& length);
    // A vector value, or an array of exactly 2 (3) numbers.
    bool CheckVector2D(size_t index, CVector2D& value);
    bool CheckVector3D(size_t index, CVector3D& value);
    bool CheckMatrix4x4(size_t index, CMatrix4x4& value);
    // An object of pClass or a class derived from it; with allowNull also nil and undefined,
    // which give null. The object is borrowed from the argument.
    bool CheckClass(ReflectedClass* pClass, size_t index, bool allowNull, CBaseObject*& pObject);
    template <typename T>
    bool CheckClass(ReflectedClass* pClass, size_t index, bool allowNull, T*& pObject) {
        CBaseObject* pBase;
        if (!CheckClass(pClass, index, allowNull, pBase))
            return false;
        pObject = static_cast<T*>(pBase);
        return true;
    }
    // Any object; null on failure.
    CBaseObject* CheckReferenceable(size_t index);
    CFunction* CheckFunction(size_t index);
    // An object of the global Stream class; "Stream closed" once it holds no stream.
    Stream* CheckStream(size_t index);
    // The call's "this" when it is of pClass: "'this' is null", "%s expected for 'this'".
    bool GetThis(ReflectedClass* pClass, CBaseObject*& pObject);
    template <typename T>
    bool GetThis(ReflectedClass* pClass, T*& pObject) {
        CBaseObject* pBase;
        if (!GetThis(pClass, pBase))
            return false;
        pObject = static_cast<T*>(pBase);
        return true;
    }

    // Fails the call with a message; returns false so natives can `return State.Error(...)`.
    bool Error(const char* format, ...) F_PRINTF(2, 3);
    bool TypeError(const char* typeName, size_t index);
    bool HasError() const { return m_bHasError; }
    // The message of this call's last Error.
    const char* GetError() const { return m_Error; }

    // Results: only the first appended value reaches the script.
    void Return(const CArgument* pValue) { m_RVal.Add(pValue); }
    void ReturnAndOwn(CArgument* pValue) { m_RVal.AddAndOwn(pValue); }
    void ReturnNull() { m_RVal.AddNull(); }
    void ReturnUndefined() { m_RVal.AddUndefined(); }
    void ReturnBoolean(bool value) { m_RVal.AddBoolean(value); }
    template <typename Number>
    void ReturnNumber(Number value) { m_RVal.AddNumber(value); }
    void ReturnString(const char* text) { m_RVal.AddString(text); }
    void ReturnString(const char* text, size_t length) { m_RVal.AddString(text, length); }
    void ReturnBytes(const void* pData, size_t length) { m_RVal.AddBytes(pData, length); }
    void ReturnObject(CBaseObject* pObject) { m_RVal.AddObject(pObject); }
    void ReturnFunction(CFunction* pFunction) { m_RVal.AddFunction(pFunction); }
    void ReturnVector2D(const CVector2D& value) { m_RVal.AddVector2D(value); }
    void ReturnVector3D(const CVector3D& value) { m_RVal.AddVector3D(value); }
    void ReturnMatrix4x4(const CMatrix4x4& value) { m_RVal.AddMatrix4x4(value); }
    // A new object of the global Stream class holding the stream (an empty one for null).
    void ReturnStream(Stream* pStream);
    // The value the script receives: the first result, or null when there is none.
    CArgument* GetReturnValue() const { return m_RVal.GetReturnArgument(); }

    CReturnValue m_RVal;
    bool m_bHasError = false;

private:
    template <typename Int>
    bool CheckNarrow(size_t index, Int& value);
    bool CheckVector(size_t index, uint8_t type, float* pComponents, size_t count, const char* name);

    CScripting* m_pScripting;
    CResource* m_pResource;
    CArgumentArray* m_pArguments;
    Weak<CBaseObject> m_pThis;
    char m_Error[LAST_ERROR_BUFFER];
};

}  // namespace Ferrox3D
