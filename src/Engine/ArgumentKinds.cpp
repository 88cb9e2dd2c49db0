// Payloads of the scalar, text, object and function kinds: wire form and cloning.
#include "Engine/ArgumentKinds.h"
#include <cstring>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"

namespace Ferrox3D {

namespace {
bool ReadFloats(CBinaryReader& in, float* pValues, int count) {
    for (int i = 0; i < count; ++i)
        if (!in.ReadFloat(pValues[i]))
            return false;
    return true;
}

bool WriteFloats(CBinaryWriter& out, const float* pValues, int count) {
    for (int i = 0; i < count; ++i)
        if (!out.WriteFloat(pValues[i]))
            return false;
    return true;
}

bool ReadValue(CBinaryReader& in, bool& value) { return in.ReadBool(value); }
bool ReadValue(CBinaryReader& in, int32_t& value) { return in.ReadInt32(value); }
bool ReadValue(CBinaryReader& in, float& value) { return in.ReadFloat(value); }
bool ReadValue(CBinaryReader& in, int64_t& value) { return in.ReadInt64(value); }
bool ReadValue(CBinaryReader& in, double& value) { return in.ReadDouble(value); }
bool ReadValue(CBinaryReader& in, CVector2D& value) { return in.ReadFloat(value.x) && in.ReadFloat(value.y); }
bool ReadValue(CBinaryReader& in, CVector3D& value) {
    return in.ReadFloat(value.x) && in.ReadFloat(value.y) && in.ReadFloat(value.z);
}
bool ReadValue(CBinaryReader& in, CMatrix4x4& value) { return ReadFloats(in, value.Data(), 16); }

bool WriteValue(CBinaryWriter& out, bool value) { return out.WriteBool(value); }
bool WriteValue(CBinaryWriter& out, int32_t value) { return out.WriteInt32(value); }
bool WriteValue(CBinaryWriter& out, float value) { return out.WriteFloat(value); }
bool WriteValue(CBinaryWriter& out, int64_t value) { return out.WriteInt64(value); }
bool WriteValue(CBinaryWriter& out, double value) { return out.WriteDouble(value); }
bool WriteValue(CBinaryWriter& out, const CVector2D& value) { return out.WriteFloat(value.x) && out.WriteFloat(value.y); }
bool WriteValue(CBinaryWriter& out, const CVector3D& value) {
    return out.WriteFloat(value.x) && out.WriteFloat(value.y) && out.WriteFloat(value.z);
}
bool WriteValue(CBinaryWriter& out, const CMatrix4x4& value) { return WriteFloats(out, value.Data(), 16); }

// Payload sizes: a boolean is one byte, the rest their packed float/integer bytes.
template <typename T>
constexpr size_t WireSize() { return std::is_same<T, bool>::value ? 1 : sizeof(T); }
static_assert(sizeof(CVector2D) == 8 && sizeof(CVector3D) == 12 && sizeof(CMatrix4x4) == 64, "packed vectors");
}  // namespace

template <typename T, uint8_t Tag>
bool CArgumentScalar<T, Tag>::ReadPayload(CBinaryReader& in, int) {
    T value;
    if (!ReadValue(in, value))
        return false;
    m_Value = value;
    return true;
}

template <typename T, uint8_t Tag>
bool CArgumentScalar<T, Tag>::WritePayload(CBinaryWriter& out) const {
    return WriteValue(out, m_Value);
}

template <typename T, uint8_t Tag>
size_t CArgumentScalar<T, Tag>::GetPayloadSize() const {
    return WireSize<T>();
}

template class CArgumentScalar<bool, ARGUMENT_BOOLEAN>;
template class CArgumentScalar<int32_t, ARGUMENT_INTEGER>;
template class CArgumentScalar<float, ARGUMENT_FLOAT>;
template class CArgumentScalar<int64_t, ARGUMENT_LONGINTEGER>;
template class CArgumentScalar<double, ARGUMENT_DOUBLE>;
template class CArgumentScalar<CVector2D, ARGUMENT_VECTOR2D>;
template class CArgumentScalar<CVector3D, ARGUMENT_VECTOR3D>;
template class CArgumentScalar<CMatrix4x4, ARGUMENT_MATRIX4X4>;

// Text and bytes: length prefix, then the bytes. The length is bounded by what the stream still
// holds before anything is allocated.
template <uint8_t Tag>
bool CArgumentText<Tag>::ReadPayload(CBinaryReader& in, int) {
    return in.ReadString(m_Data, MAX_WIRE_STRING);
}

template <uint8_t Tag>
bool CArgumentText<Tag>::WritePayload(CBinaryWriter& out) const {
    return out.WriteString(m_Data.data(), m_Data.size());
}

template <uint8_t Tag>
bool CArgumentText<Tag>::CanWrite(int) const {
    if (m_Data.size() <= MAX_WIRE_STRING)
        return true;
    LogWarn("CArgument::Write - a %s of %zu bytes is longer than %zu", GetTypeName(), m_Data.size(),
            MAX_WIRE_STRING);
    return false;
}

template <uint8_t Tag>
size_t CArgumentText<Tag>::GetPayloadSize() const {
    return GetVarintSize(static_cast<uint32_t>(m_Data.size())) + m_Data.size();
}

template class CArgumentText<ARGUMENT_STRING>;
template class CArgumentText<ARGUMENT_BYTES>;

CArgumentString::CArgumentString(const char* text) { SetString(text); }

void CArgumentString::SetString(const char* text) { SetData(text, text ? strlen(text) : 0); }

CArgument* CArgumentObject::Clone() const {
    auto* pClone = new CArgumentObject(m_pObject);
    pClone->SetNetObjectResolver(m_pResolver);
    return pClone;
}

bool CArgumentObject::CanWrite(int) const {
    LogWarn("CArgument::Write - an object value cannot be written");
    return false;
}

CArgumentNetObject::CArgumentNetObject(CBaseObject* pObject, int32_t id, INetObjectResolver* pResolver)
    : CArgumentObject(ARGUMENT_NETOBJECT, pObject), m_Id(id) {
    m_pResolver = pResolver;
}

CArgument* CArgumentNetObject::Clone() const { return new CArgumentNetObject(m_pObject, m_Id, m_pResolver); }

bool CArgumentNetObject::ReadPayload(CBinaryReader& in, int) {
    int32_t id;
    if (!in.ReadInt32(id))
        return false;
    m_Id = id;
    m_pObject = (id >= 0 && m_pResolver) ? m_pResolver->FindNetObject(id) : nullptr;
    return true;
}

bool CArgumentNetObject::WritePayload(CBinaryWriter& out) const {
    int32_t id = m_Id;
    if (m_pObject && m_pResolver)
        m_pResolver->GetNetObjectId(m_pObject, id);
    return out.WriteInt32(id);
}

bool CArgumentFunction::CanWrite(int) const {
    LogWarn("CArgument::Write - a function value cannot be written");
    return false;
}

}  // namespace Ferrox3D
