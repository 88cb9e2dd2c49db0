// The concrete script value kinds: scalars, text and bytes, vectors, objects and functions.
#pragma once
#include <string>
#include "Engine/Argument.h"
#include "Engine/Function.h"

namespace Ferrox3D {

// A value with one plain payload of type T (booleans, numbers, vectors, matrices).
template <typename T, uint8_t Tag>
class CArgumentScalar : public CArgument {
public:
    explicit CArgumentScalar(const T& value = T()) : CArgument(Tag), m_Value(value) {}
    const T& GetValue() const { return m_Value; }
    void SetValue(const T& value) { m_Value = value; }
    CArgument* Clone() const override { return new CArgumentScalar(m_Value); }
    bool ReadPayload(CBinaryReader& in, int depth) override;
    bool WritePayload(CBinaryWriter& out) const override;
    bool CanWrite(int depth) const override { return true; }
    size_t GetPayloadSize() const override;

private:
    T m_Value;
};

using CArgumentBoolean = CArgumentScalar<bool, ARGUMENT_BOOLEAN>;
using CArgumentInteger = CArgumentScalar<int32_t, ARGUMENT_INTEGER>;
using CArgumentFloat = CArgumentScalar<float, ARGUMENT_FLOAT>;
using CArgumentLongInteger = CArgumentScalar<int64_t, ARGUMENT_LONGINTEGER>;
using CArgumentDouble = CArgumentScalar<double, ARGUMENT_DOUBLE>;
using CArgumentVector2D = CArgumentScalar<CVector2D, ARGUMENT_VECTOR2D>;
using CArgumentVector3D = CArgumentScalar<CVector3D, ARGUMENT_VECTOR3D>;
using CArgumentMatrix4x4 = CArgumentScalar<CMatrix4x4, ARGUMENT_MATRIX4X4>;

// A length-counted byte run: text (tag 2) or a byte string (tag 21). Embedded NULs survive and
// the data is always followed by a NUL.
template <uint8_t Tag>
class CArgumentText : public CArgument {
public:
    CArgumentText() : CArgument(Tag) {}
    CArgumentText(const void* pData, size_t length) : CArgument(Tag) { SetData(pData, length); }
    void SetData(const void* pData, size_t length) {
        m_Data.assign(pData ? static_cast<const char*>(pData) : "", pData ? length : 0);
    }
    const char* GetString() const { return m_Data.c_str(); }
    const uint8_t* GetData() const { return reinterpret_cast<const uint8_t*>(m_Data.data()); }
    size_t GetLength() const { return m_Data.size(); }
    CArgument* Clone() const override { return new CArgumentText(m_Data.data(), m_Data.size()); }
    bool ReadPayload(CBinaryReader& in, int depth) override;
    bool WritePayload(CBinaryWriter& out) const override;
    bool CanWrite(int depth) const override;
    size_t GetPayloadSize() const override;

protected:
    std::string m_Data;
};

class CArgumentString : public CArgumentText<ARGUMENT_STRING> {
public:
    CArgumentString() = default;
    explicit CArgumentString(const char* text);
    CArgumentString(const char* text, size_t length) : CArgumentText(text, length) {}
    void SetString(const char* text);
    void SetString(const char* text, size_t length) { SetData(text, length); }
    CArgument* Clone() const override { return new CArgumentString(m_Data.data(), m_Data.size()); }
};

class CArgumentBytes : public CArgumentText<ARGUMENT_BYTES> {
public:
    CArgumentBytes() = default;
    CArgumentBytes(const void* pData, size_t length) : CArgumentText(pData, length) {}
    CArgument* Clone() const override { return new CArgumentBytes(GetData(), GetLength()); }
};

// Holds one engine object strongly. Cannot go on the wire.
class CArgumentObject : public CArgument {
public:
    explicit CArgumentObject(CBaseObject* pObject) : CArgumentObject(ARGUMENT_OBJECT, pObject) {}
    CBaseObject* GetObject() const { return m_pObject; }
    CArgument* Clone() const override;
    bool CanWrite(int depth) const override;

protected:
    CArgumentObject(uint8_t type, CBaseObject* pObject) : CArgument(type), m_pObject(pObject) {}
    Strong<CBaseObject> m_pObject;
};

// A network object by id: the object when the id resolved, else only the id. Goes on the wire
// as its int32 id.
class CArgumentNetObject : public CArgumentObject {
public:
    CArgumentNetObject(CBaseObject* pObject, int32_t id, INetObjectResolver* pResolver = nullptr);
    int32_t GetId() const { return m_Id; }
    CArgument* Clone() const override;
    bool ReadPayload(CBinaryReader& in, int depth) override;
    bool WritePayload(CBinaryWriter& out) const override;
    bool CanWrite(int depth) const override { return true; }
    size_t GetPayloadSize() const override { return 4; }

private:
    int32_t m_Id;
};

// A script function value; may be empty. Cannot go on the wire.
class CArgumentFunction : public CArgument {
public:
    explicit CArgumentFunction(CFunction* pFunction = nullptr) : CArgument(ARGUMENT_FUNCTION), m_pFunction(pFunction) {}
    CFunction* GetFunction() const { return m_pFunction; }
    void SetFunction(CFunction* pFunction) { m_pFunction = pFunction; }
    CArgument* Clone() const override { return new CArgumentFunction(m_pFunction); }
    bool CanWrite(int depth) const override;

private:
    Strong<CFunction> m_pFunction;
};

}  // namespace Ferrox3D
