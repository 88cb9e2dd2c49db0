// Script value creation, kind names, conversions and the all-or-nothing wire entry points.
#include "Engine/Argument.h"
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentMap.h"
#include "Engine/BinaryIO.h"
#include "Engine/Log.h"
#include "Engine/NumberConversion.h"
#include "Engine/Reflection.h"
#include "Engine/ScriptStream.h"

namespace Ferrox3D {

namespace {
struct tKindNames {
    const char* tag;
    const char* type;
};
const tKindNames g_KindNames[ARGUMENT_TYPE_COUNT] = {
    {"ARGUMENT_NIL", "null"},           {"ARGUMENT_BOOLEAN", "boolean"},      {"ARGUMENT_STRING", "string"},
    {"ARGUMENT_TABLE", "table"},        {"ARGUMENT_INTEGER", "integer"},      {"ARGUMENT_FLOAT", "number"},
    {"ARGUMENT_NETOBJECT", "element"},  {"ARGUMENT_OBJECT", "instance"},      {"ARGUMENT_VECTOR2D", "Vector2D"},
    {"ARGUMENT_VECTOR3D", "Vector3D"},  {"ARGUMENT_VECTOR4D", "Vector4D"},    {"ARGUMENT_MATRIX4X4", "Matrix4x4"},
    {"ARGUMENT_UNDEFINED", "undefined"}, {"ARGUMENT_LUAREF", "luaref"},       {"ARGUMENT_JSVALUE", "jsvalue"},
    {"ARGUMENT_LONGINTEGER", "integer"}, {"ARGUMENT_DOUBLE", "number"},       {"ARGUMENT_ARRAY", "array"},
    {"ARGUMENT_MAP", "map"},            {"ARGUMENT_FUNCTION", "function"},    {"ARGUMENT_SQREF", "sqref"},
    {"ARGUMENT_BYTES", "bytes"},
};

template <typename Out>
void ConvertNumber(const CArgument& value, Out& out, Out (*fromDouble)(double)) {
    switch (value.GetType()) {
    case ARGUMENT_INTEGER: out = static_cast<Out>(static_cast<const CArgumentInteger&>(value).GetValue()); break;
    case ARGUMENT_LONGINTEGER: out = static_cast<Out>(static_cast<const CArgumentLongInteger&>(value).GetValue()); break;
    case ARGUMENT_FLOAT: out = fromDouble(static_cast<const CArgumentFloat&>(value).GetValue()); break;
    case ARGUMENT_DOUBLE: out = fromDouble(static_cast<const CArgumentDouble&>(value).GetValue()); break;
    default: break;
    }
}

template <typename Float>
Float SameFloat(double value) {
    return static_cast<Float>(value);
}
}  // namespace

const char* GetArgumentTagName(uint8_t type) {
    return type < ARGUMENT_TYPE_COUNT ? g_KindNames[type].tag : "ARGUMENT_UNKNOWN";
}

const char* GetArgumentTypeName(uint8_t type) {
    return type < ARGUMENT_TYPE_COUNT ? g_KindNames[type].type : "unknown";
}

CArgument* CArgument::Create(uint8_t type) {
    switch (type) {
    case ARGUMENT_NIL:
    case ARGUMENT_UNDEFINED: return new CArgument(type);
    case ARGUMENT_BOOLEAN: return new CArgumentBoolean(false);
    case ARGUMENT_STRING: return new CArgumentString();
    case ARGUMENT_INTEGER: return new CArgumentInteger(0);
    case ARGUMENT_FLOAT: return new CArgumentFloat(0.0f);
    case ARGUMENT_VECTOR2D: return new CArgumentVector2D();
    case ARGUMENT_VECTOR3D: return new CArgumentVector3D();
    case ARGUMENT_MATRIX4X4: return new CArgumentMatrix4x4();
    case ARGUMENT_LONGINTEGER: return new CArgumentLongInteger(0);
    case ARGUMENT_DOUBLE: return new CArgumentDouble(0.0);
    case ARGUMENT_ARRAY: return new CArgumentArray();
    case ARGUMENT_MAP: return new CArgumentMap();
    case ARGUMENT_FUNCTION: return new CArgumentFunction();
    case ARGUMENT_BYTES: return new CArgumentBytes();
    default: return nullptr;
    }
}

CArgument* CArgument::Create(CBaseObject* pObject) {
    CArgument* pValue = pObject ? pObject->CreateArgument() : nullptr;
    return pValue ? pValue : new CArgument(ARGUMENT_NIL);
}

CArgument* CArgument::CreateElement(uint8_t type, INetObjectResolver* pResolver) {
    CArgument* pValue = type == ARGUMENT_NETOBJECT && pResolver ? new CArgumentNetObject(nullptr, -1) : Create(type);
    if (pValue)
        pValue->SetNetObjectResolver(pResolver);
    return pValue;
}

bool CArgument::ToBoolean() const {
    if (!F_ASSERT(IsBoolean()))
        return false;
    return static_cast<const CArgumentBoolean*>(this)->GetValue();
}

const char* CArgument::ToString(size_t* pLength) const {
    if (!F_ASSERT(IsString()))
        return nullptr;
    auto* pString = static_cast<const CArgumentString*>(this);
    if (pLength)
        *pLength = pString->GetLength();
    return pString->GetString();
}

void CArgument::ToNumber(int32_t& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<int32_t>(*this, value, DoubleToInt32);
}

void CArgument::ToNumber(int64_t& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<int64_t>(*this, value, DoubleToInt64);
}

void CArgument::ToNumber(uint32_t& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<uint32_t>(*this, value, DoubleToUInt32);
}

void CArgument::ToNumber(uint64_t& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<uint64_t>(*this, value, DoubleToUInt64);
}

void CArgument::ToNumber(float& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<float>(*this, value, SameFloat<float>);
}

void CArgument::ToNumber(double& value) const {
    if (F_ASSERT(IsNumber()))
        ConvertNumber<double>(*this, value, SameFloat<double>);
}

void CArgument::ToVector2D(CVector2D& value) const {
    if (F_ASSERT(IsVector2D()))
        value = static_cast<const CArgumentVector2D*>(this)->GetValue();
}

void CArgument::ToVector3D(CVector3D& value) const {
    if (F_ASSERT(IsVector3D()))
        value = static_cast<const CArgumentVector3D*>(this)->GetValue();
}

void CArgument::ToMatrix4x4(CMatrix4x4& value) const {
    if (F_ASSERT(IsMatrix4x4()))
        value = static_cast<const CArgumentMatrix4x4*>(this)->GetValue();
}

CFunction* CArgument::ToFunction() const {
    if (!F_ASSERT(IsFunction()))
        return nullptr;
    return static_cast<const CArgumentFunction*>(this)->GetFunction();
}

const uint8_t* CArgument::ToBytes(size_t& length) const {
    if (!F_ASSERT(IsBytes()))
        return nullptr;
    auto* pBytes = static_cast<const CArgumentBytes*>(this);
    length = pBytes->GetLength();
    return pBytes->GetData();
}

CBaseObject* CArgument::ToObject() const {
    if (!F_ASSERT(IsObject()))
        return nullptr;
    return static_cast<const CArgumentObject*>(this)->GetObject();
}

CBaseObject* CArgument::ToObject(ReflectedClass* pClass) const {
    CBaseObject* pObject = ToObject();
    if (!pObject || !pClass)
        return nullptr;
    ReflectedClass* pObjectClass = pObject->GetReflectedClass();
    return pObjectClass && pObjectClass->IsA(pClass) ? pObject : nullptr;
}

Stream* CArgument::ToStream() const {
    auto* pHolder = dynamic_cast<CObjectValue<Strong<Stream>>*>(ToObject());
    return pHolder ? pHolder->m_Value.Get() : nullptr;
}

CArgument* CArgument::Clone() const {
    if (IsNull())
        return new CArgument(m_Type);
    return nullptr;
}

// Wire entry points. A value is checked whole before any byte is produced, then written into a
// scratch buffer and handed to the stream in one piece, so a refusal never leaves half a value.
bool CArgument::Read(Stream* pStream) {
    CBinaryReader in(pStream);
    return ReadPayload(in, 0);
}

bool CArgument::Write(Stream* pStream) const {
    if (!CanWrite(0))
        return false;
    CUnlimitedStream scratch;
    CBinaryWriter out(&scratch);
    if (!WritePayload(out))
        return false;
    uint64_t start = pStream->Tell();
    size_t length = static_cast<size_t>(scratch.GetLength());
    if (length == 0 || pStream->Write(scratch.GetData(), length) == length)
        return true;
    pStream->Seek(static_cast<int64_t>(start), SEEK_ORIGIN_START);
    return false;
}

bool CArgument::GetSize(size_t& size) const {
    if (!CanWrite(0))
        return false;
    size = GetPayloadSize();
    return true;
}

bool CArgument::ReadPayload(CBinaryReader&, int) { return IsNull(); }

bool CArgument::WritePayload(CBinaryWriter&) const { return IsNull(); }

bool CArgument::CanWrite(int) const {
    if (IsNull())
        return true;
    LogWarn("CArgument::Write - a %s value cannot be written", GetTypeName());
    return false;
}

size_t CArgument::GetPayloadSize() const { return 0; }

// Engine objects become object values by default; network objects override this.
CArgument* CBaseObject::CreateArgument() { return new CArgumentObject(this); }

}  // namespace Ferrox3D
