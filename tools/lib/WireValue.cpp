// Reading and writing the script values a test client meets.
#include "WireValue.h"
#include "Engine/Limits.h"

using namespace Ferrox3D;

namespace TestClient {

tWireValue tWireValue::Boolean(bool b) {
    tWireValue v;
    v.m_Tag = WIRE_BOOLEAN;
    v.m_Boolean = b;
    return v;
}

tWireValue tWireValue::String(std::string text) {
    tWireValue v;
    v.m_Tag = WIRE_STRING;
    v.m_Text = std::move(text);
    return v;
}

tWireValue tWireValue::Integer(int32_t i) {
    tWireValue v;
    v.m_Tag = WIRE_INTEGER;
    v.m_Integer = i;
    return v;
}

tWireValue tWireValue::Double(double d) {
    tWireValue v;
    v.m_Tag = WIRE_DOUBLE;
    v.m_Double = d;
    return v;
}

namespace {

bool WriteWireValue(CBinaryWriter& writer, const tWireValue& value) {
    if (!writer.WriteUInt8(value.m_Tag))
        return false;
    switch (value.m_Tag) {
    case WIRE_BOOLEAN: return writer.WriteBool(value.m_Boolean);
    case WIRE_STRING: return writer.WriteString(value.m_Text);
    case WIRE_INTEGER: return writer.WriteInt32(static_cast<int32_t>(value.m_Integer));
    case WIRE_DOUBLE: return writer.WriteDouble(value.m_Double);
    default: return true;
    }
}

bool SkipFloats(CBinaryReader& reader, int count, std::string& rendered) {
    rendered = "(";
    for (int i = 0; i < count; ++i) {
        float f;
        if (!reader.ReadFloat(f))
            return false;
        rendered += (i ? ", " : "") + std::to_string(f);
    }
    rendered += ")";
    return true;
}

bool ReadContainer(CBinaryReader& reader, bool bMap, std::string& rendered, int depth) {
    uint32_t count = 0;
    uint8_t count8 = 0;
    if (bMap ? !reader.ReadVarint(count) : !reader.ReadUInt8(count8))
        return false;
    if (!bMap)
        count = count8;
    if (count > reader.Remaining())  // every entry takes at least its tag byte
        return false;
    rendered = bMap ? "{" : "[";
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t tag;
        std::string key, value;
        if (!reader.ReadUInt8(tag) || (bMap && !reader.ReadString(key, MAX_WIRE_STRING)) ||
            !ReadWireValue(reader, tag, value, depth + 1))
            return false;
        rendered += (i ? ", " : "") + (bMap ? key + ": " : std::string()) + value;
    }
    rendered += bMap ? "}" : "]";
    return true;
}

}  // namespace

bool WriteWireArray(CBinaryWriter& writer, const std::vector<tWireValue>& values) {
    if (values.size() > MAX_WIRE_ARRAY_ELEMENTS || !writer.WriteUInt8(static_cast<uint8_t>(values.size())))
        return false;
    for (const tWireValue& value : values) {
        if (!WriteWireValue(writer, value))
            return false;
    }
    return true;
}

bool ReadWireValue(CBinaryReader& reader, uint8_t tag, std::string& rendered, int depth) {
    if (depth > MAX_VALUE_DEPTH)
        return false;
    int32_t i32;
    int64_t i64;
    float f;
    double d;
    uint8_t b;
    switch (tag) {
    case WIRE_NIL: case WIRE_UNDEFINED: case WIRE_FUNCTION: rendered = "null"; return true;
    case WIRE_BOOLEAN: if (!reader.ReadUInt8(b)) return false; rendered = b ? "true" : "false"; return true;
    case WIRE_STRING: case WIRE_BYTES: return reader.ReadString(rendered, MAX_WIRE_STRING);
    case WIRE_INTEGER: case WIRE_NETOBJECT:
        if (!reader.ReadInt32(i32)) return false;
        rendered = std::to_string(i32);
        return true;
    case WIRE_LONGINTEGER: if (!reader.ReadInt64(i64)) return false; rendered = std::to_string(i64); return true;
    case WIRE_FLOAT: if (!reader.ReadFloat(f)) return false; rendered = std::to_string(f); return true;
    case WIRE_DOUBLE: if (!reader.ReadDouble(d)) return false; rendered = std::to_string(d); return true;
    case WIRE_VECTOR2D: return SkipFloats(reader, 2, rendered);
    case WIRE_VECTOR3D: return SkipFloats(reader, 3, rendered);
    case WIRE_MATRIX4X4: return SkipFloats(reader, 16, rendered);
    case WIRE_ARRAY: return ReadContainer(reader, false, rendered, depth);
    case WIRE_MAP: return ReadContainer(reader, true, rendered, depth);
    default: return false;
    }
}

}  // namespace TestClient
