// CRC-32 (reflected 0xEDB88320, as zlib) name keys, optionally after ASCII case folding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Ferrox3D {

class Stream;

class CRC32Hash {
public:
    // Feeds at most length bytes, stopping at the first NUL.
    void AddUTF8String(const char* text, size_t length, bool foldCase);
    void AddString(const char* text, size_t length, bool foldCase);  // null feeds nothing
    void AddString(const char* text, bool foldCase);
    void AddBytes(const void* data, size_t length);
    uint32_t GetValue() const { return ~m_Value; }

    // CRC-32 of the stream from its position to its end, no folding. Not reentrant (static buffer).
    static uint32_t GetHash(Stream* pStream);

private:
    uint32_t m_Value = 0xFFFFFFFF;
};

// The finished key of a name: folded for resources, events, commands, network events, cvars.
uint32_t NameKey(const char* text, bool foldCase = true);
inline uint32_t NameKey(const std::string& text, bool foldCase = true) {
    return NameKey(text.c_str(), foldCase);
}

}  // namespace Ferrox3D
