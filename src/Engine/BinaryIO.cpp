// Little-endian fixed-width values, varints and strings over any stream.
#include "Engine/BinaryIO.h"
#include <cstring>

namespace Ferrox3D {

namespace {
template <typename T>
void ToLittleEndian(T value, uint8_t (&bytes)[sizeof(T)]) {
    uint64_t bits = 0;
    memcpy(&bits, &value, sizeof(T));
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

template <typename T>
T FromLittleEndian(const uint8_t (&bytes)[sizeof(T)]) {
    uint64_t bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    T value;
    memcpy(&value, &bits, sizeof(T));
    return value;
}

template <typename T>
bool WriteLE(Stream* stream, T value) {
    uint8_t bytes[sizeof(T)];
    ToLittleEndian(value, bytes);
    return stream->Write(bytes, sizeof(T)) == sizeof(T);
}

template <typename T>
bool ReadLE(Stream* stream, T& value) {
    uint8_t bytes[sizeof(T)];
    if (stream->Read(bytes, sizeof(T)) != sizeof(T))
        return false;
    value = FromLittleEndian<T>(bytes);
    return true;
}
}  // namespace

bool CBinaryWriter::WriteUInt8(uint8_t value) { return m_pStream->Write(&value, 1) == 1; }
bool CBinaryWriter::WriteUInt16(uint16_t value) { return WriteLE(m_pStream.Get(), value); }
bool CBinaryWriter::WriteInt32(int32_t value) { return WriteLE(m_pStream.Get(), value); }
bool CBinaryWriter::WriteUInt32(uint32_t value) { return WriteLE(m_pStream.Get(), value); }
bool CBinaryWriter::WriteInt64(int64_t value) { return WriteLE(m_pStream.Get(), value); }
bool CBinaryWriter::WriteFloat(float value) { return WriteLE(m_pStream.Get(), value); }
bool CBinaryWriter::WriteDouble(double value) { return WriteLE(m_pStream.Get(), value); }

bool CBinaryWriter::WriteVarint(uint32_t value) {
    uint8_t bytes[VARINT_MAX_BYTES];
    size_t n = 0;
    do {
        uint8_t group = value & 0x7F;
        value >>= 7;
        bytes[n++] = value ? (group | 0x80) : group;
    } while (value);
    return m_pStream->Write(bytes, n) == n;
}

bool CBinaryWriter::WriteString(const char* text, size_t length) {
    if (!text || length == 0)
        return WriteUInt8(0);
    return WriteVarint(static_cast<uint32_t>(length)) && WriteBytes(text, length);
}

bool CBinaryWriter::WriteBytes(const void* data, size_t length) {
    return length == 0 || m_pStream->Write(data, length) == length;
}

bool CBinaryReader::ReadUInt8(uint8_t& value) { return m_pStream->Read(&value, 1) == 1; }
bool CBinaryReader::ReadUInt16(uint16_t& value) { return ReadLE(m_pStream.Get(), value); }
bool CBinaryReader::ReadInt32(int32_t& value) { return ReadLE(m_pStream.Get(), value); }
bool CBinaryReader::ReadUInt32(uint32_t& value) { return ReadLE(m_pStream.Get(), value); }
bool CBinaryReader::ReadInt64(int64_t& value) { return ReadLE(m_pStream.Get(), value); }
bool CBinaryReader::ReadFloat(float& value) { return ReadLE(m_pStream.Get(), value); }
bool CBinaryReader::ReadDouble(double& value) { return ReadLE(m_pStream.Get(), value); }

bool CBinaryReader::ReadBool(bool& value) {
    uint8_t byte;
    if (!ReadUInt8(byte))
        return false;
    value = byte != 0;
    return true;
}

bool CBinaryReader::ReadVarint(uint32_t& value) {
    uint64_t result = 0;
    for (int i = 0; i < VARINT_MAX_BYTES; ++i) {
        uint8_t byte;
        if (!ReadUInt8(byte))
            return false;
        result |= static_cast<uint64_t>(byte & 0x7F) << (7 * i);
        if (!(byte & 0x80)) {
            value = static_cast<uint32_t>(result);
            return true;
        }
    }
    return false;
}

bool CBinaryReader::ReadString(std::string& text, size_t maxLength) {
    uint32_t length;
    if (!ReadVarint(length) || length > maxLength || length > Remaining())
        return false;
    std::string result(length, '\0');
    if (!ReadBytes(result.data(), length))
        return false;
    text.swap(result);
    return true;
}

bool CBinaryReader::ReadBytes(void* data, size_t length) {
    return length == 0 || m_pStream->Read(data, length) == length;
}

}  // namespace Ferrox3D
