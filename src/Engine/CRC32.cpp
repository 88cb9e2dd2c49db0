// Table-driven CRC-32 for name keys and file checksums.
#include "Engine/CRC32.h"
#include <cstring>
#include <vector>
#include "Engine/Stream.h"

namespace Ferrox3D {

namespace {
struct CRCTable {
    uint32_t entries[256];
    CRCTable() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[i] = c;
        }
    }
};
const CRCTable g_Table;

inline uint8_t FoldASCII(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c; }

constexpr size_t HASH_READ_PIECE = 1024 * 1024;
}  // namespace

void CRC32Hash::AddBytes(const void* data, size_t length) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < length; ++i)
        m_Value = (m_Value >> 8) ^ g_Table.entries[(m_Value ^ bytes[i]) & 0xFF];
}

void CRC32Hash::AddUTF8String(const char* text, size_t length, bool foldCase) {
    for (size_t i = 0; i < length && text[i]; ++i) {
        uint8_t c = static_cast<uint8_t>(text[i]);
        if (foldCase)
            c = FoldASCII(c);
        m_Value = (m_Value >> 8) ^ g_Table.entries[(m_Value ^ c) & 0xFF];
    }
}

void CRC32Hash::AddString(const char* text, size_t length, bool foldCase) {
    if (text)
        AddUTF8String(text, length, foldCase);
}

void CRC32Hash::AddString(const char* text, bool foldCase) {
    if (text)
        AddUTF8String(text, strlen(text), foldCase);
}

uint32_t CRC32Hash::GetHash(Stream* pStream) {
    static std::vector<uint8_t> rgucBuffer(HASH_READ_PIECE);
    CRC32Hash hash;
    size_t n;
    while ((n = pStream->Read(rgucBuffer.data(), rgucBuffer.size())) > 0)
        hash.AddBytes(rgucBuffer.data(), n);
    return hash.GetValue();
}

uint32_t NameKey(const char* text, bool foldCase) {
    CRC32Hash hash;
    hash.AddString(text, foldCase);
    return hash.GetValue();
}

}  // namespace Ferrox3D
