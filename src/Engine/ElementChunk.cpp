// Element chunks: text and attributes, and their payload in the script-value wire form.
#include "Engine/ElementChunk.h"
#include "Engine/BinaryIO.h"

namespace Ferrox3D {

namespace {
// Wire tags whose payload has a fixed size; -1 marks kinds a reader cannot make.
int FixedPayloadSize(uint8_t tag) {
    switch (tag) {
    case 0: case 12: case 19: return 0;   // nil, undefined, function
    case 1: return 1;                      // boolean
    case 4: case 5: return 4;              // integer, float
    case 8: case 15: case 16: return 8;    // vector 2D, long integer, double
    case 9: return 12;                     // vector 3D
    case 11: return 64;                    // matrix 4x4
    default: return -1;
    }
}

bool SkipValue(CBinaryReader& reader, uint8_t tag, int depth);

bool SkipBytes(CBinaryReader& reader, uint64_t count) {
    Stream* stream = reader.GetStream();
    return count <= stream->Remaining() && stream->Seek(static_cast<int64_t>(count), SEEK_ORIGIN_CURRENT);
}

bool SkipLengthPrefixed(CBinaryReader& reader) {
    uint32_t length;
    return reader.ReadVarint(length) && SkipBytes(reader, length);
}

bool SkipArray(CBinaryReader& reader, int depth) {
    uint8_t count, tag;
    if (!reader.ReadUInt8(count))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!reader.ReadUInt8(tag) || !SkipValue(reader, tag, depth + 1))
            return false;
    return true;
}

bool SkipMap(CBinaryReader& reader, int depth) {
    uint32_t count;
    uint8_t tag;
    if (!reader.ReadVarint(count) || count > reader.Remaining() / 2)
        return false;
    for (uint32_t i = 0; i < count; ++i)
        if (!reader.ReadUInt8(tag) || !SkipLengthPrefixed(reader) || !SkipValue(reader, tag, depth + 1))
            return false;
    return true;
}

// Moves past one value's payload without making it; fails on kinds a reader cannot make.
bool SkipValue(CBinaryReader& reader, uint8_t tag, int depth) {
    if (depth > MAX_VALUE_DEPTH)
        return false;
    int fixed = FixedPayloadSize(tag);
    if (fixed >= 0)
        return SkipBytes(reader, static_cast<uint64_t>(fixed));
    switch (tag) {
    case ATTRIBUTE_TAG_STRING: case 21: return SkipLengthPrefixed(reader);
    case 17: return SkipArray(reader, depth);
    case ATTRIBUTE_TAG_MAP: return SkipMap(reader, depth);
    default: return false;
    }
}

bool ReadAttributeValue(CBinaryReader& reader, CElementChunk::tAttributeValue& value) {
    if (value.m_Tag == ATTRIBUTE_TAG_STRING)
        return reader.ReadString(value.m_Data);
    Stream* stream = reader.GetStream();
    uint64_t start = stream->Tell();
    if (!SkipValue(reader, value.m_Tag, 1))
        return false;
    uint64_t end = stream->Tell();
    value.m_Data.assign(end - start, '\0');
    return stream->Seek(static_cast<int64_t>(start), SEEK_ORIGIN_START) &&
           reader.ReadBytes(value.m_Data.data(), value.m_Data.size());
}
}  // namespace

bool CElementChunk::ReadData(Stream* pStream) {
    CBinaryReader reader(pStream);
    std::string text;
    uint32_t count;
    // Every entry takes at least a tag byte and a key length byte.
    if (!reader.ReadString(text) || !reader.ReadVarint(count) || count > reader.Remaining() / 2)
        return false;
    tAttributes attributes;
    for (uint32_t i = 0; i < count; ++i) {
        tAttributeValue value;
        std::string key;
        if (!reader.ReadUInt8(value.m_Tag) || !reader.ReadString(key) || !ReadAttributeValue(reader, value))
            return false;
        attributes[std::move(key)] = std::move(value);
    }
    m_Text.swap(text);
    m_Attributes.swap(attributes);
    return true;
}

bool CElementChunk::WriteData(Stream* pStream) const {
    CBinaryWriter writer(pStream);
    if (!writer.WriteString(m_Text) || !writer.WriteVarint(static_cast<uint32_t>(m_Attributes.size())))
        return false;
    for (const auto& [key, value] : m_Attributes) {
        bool ok = writer.WriteUInt8(value.m_Tag) && writer.WriteString(key) &&
                  (value.m_Tag == ATTRIBUTE_TAG_STRING ? writer.WriteString(value.m_Data)
                                                       : writer.WriteBytes(value.m_Data.data(), value.m_Data.size()));
        if (!ok)
            return false;
    }
    return true;
}

const char* CElementChunk::Attribute(const char* name, size_t* pLength) const {
    const tAttributeValue* value = GetAttributeValue(name);
    if (!value || value->m_Tag != ATTRIBUTE_TAG_STRING)
        return nullptr;
    if (pLength)
        *pLength = value->m_Data.size();
    return value->m_Data.c_str();
}

void CElementChunk::SetAttribute(const std::string& name, std::string text) {
    SetAttributeValue(name, tAttributeValue{ATTRIBUTE_TAG_STRING, std::move(text)});
}

const CElementChunk::tAttributeValue* CElementChunk::GetAttributeValue(const char* name) const {
    auto it = m_Attributes.find(name ? name : "");
    return it != m_Attributes.end() ? &it->second : nullptr;
}

void CElementChunk::SetAttributeValue(const std::string& name, tAttributeValue value) {
    m_Attributes[name] = std::move(value);
}

CElementChunk* CElementChunk::AddElement(const std::string& name) {
    auto* child = new CElementChunk();
    child->SetName(name);
    AddChild(child);
    return child;
}

}  // namespace Ferrox3D
