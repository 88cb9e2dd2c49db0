// The system's binary encodings: little-endian numbers, varints and varint-prefixed UTF-8 strings.
#pragma once
#include <cstdint>
#include <string>
#include "Engine/Stream.h"

namespace Ferrox3D {

// Bytes the varint encoding of value takes (1 to 5).
inline size_t GetVarintSize(uint32_t value) {
    size_t n = 1;
    while (value >>= 7)
        ++n;
    return n;
}

class CBinaryWriter {
public:
    explicit CBinaryWriter(Stream* pStream) : m_pStream(pStream) {}
    bool WriteUInt8(uint8_t value);
    bool WriteUInt16(uint16_t value);
    bool WriteInt32(int32_t value);
    bool WriteUInt32(uint32_t value);
    bool WriteInt64(int64_t value);
    bool WriteFloat(float value);
    bool WriteDouble(double value);
    bool WriteBool(bool value) { return WriteUInt8(value ? 1 : 0); }
    bool WriteVarint(uint32_t value);
    // Length (low 32 bits) as a varint, then the bytes; null or empty writes the single byte 0.
    bool WriteString(const char* text, size_t length);
    bool WriteString(const std::string& text) { return WriteString(text.data(), text.size()); }
    bool WriteBytes(const void* data, size_t length);
    Stream* GetStream() const { return m_pStream; }

private:
    Strong<Stream> m_pStream;
};

// Readers fail (false, output untouched or partial) on a short read; none allocates
// more than the stream has left.
class CBinaryReader {
public:
    explicit CBinaryReader(Stream* pStream) : m_pStream(pStream) {}
    bool ReadUInt8(uint8_t& value);
    bool ReadUInt16(uint16_t& value);
    bool ReadInt32(int32_t& value);
    bool ReadUInt32(uint32_t& value);
    bool ReadInt64(int64_t& value);
    bool ReadFloat(float& value);
    bool ReadDouble(double& value);
    bool ReadBool(bool& value);
    bool ReadVarint(uint32_t& value);  // at most VARINT_MAX_BYTES bytes
    // Fails on a short read, a sixth length byte, or a length beyond maxLength or what remains.
    bool ReadString(std::string& text, size_t maxLength = SIZE_MAX);
    bool ReadBytes(void* data, size_t length);
    uint64_t Remaining() { return m_pStream->Remaining(); }
    Stream* GetStream() const { return m_pStream; }

private:
    Strong<Stream> m_pStream;
};

}  // namespace Ferrox3D
