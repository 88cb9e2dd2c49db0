// Stream base behaviour and the memory, growable, range and C-file streams.
#include "Engine/Stream.h"
#include <cstdlib>
#include <cstring>
#include <limits>

namespace Ferrox3D {

namespace {
// Resolves a seek to an absolute position; false for an unknown origin or a position below 0.
bool ResolveSeek(int64_t offset, int origin, uint64_t current, uint64_t length, uint64_t& result) {
    int64_t base;
    switch (origin) {
    case SEEK_ORIGIN_START: base = 0; break;
    case SEEK_ORIGIN_CURRENT: base = static_cast<int64_t>(current); break;
    case SEEK_ORIGIN_END: base = static_cast<int64_t>(length); break;
    default: return false;
    }
    if (offset < 0 ? base < -offset : base > std::numeric_limits<int64_t>::max() - offset)
        return false;
    result = static_cast<uint64_t>(base + offset);
    return true;
}
}  // namespace

uint64_t Stream::GetLength() {
    uint64_t position = Tell();
    Seek(0, SEEK_ORIGIN_END);
    uint64_t length = Tell();
    Seek(static_cast<int64_t>(position), SEEK_ORIGIN_START);
    return length;
}

uint64_t Stream::Remaining() {
    uint64_t length = GetLength(), position = Tell();
    return position < length ? length - position : 0;
}

CMemoryStream::CMemoryStream(void* pData, size_t length, int mode, CBaseObject* pOwner)
    : m_pData(static_cast<uint8_t*>(pData)), m_Length(length), m_Mode(mode), m_pOwner(pOwner) {}

CMemoryStream::CMemoryStream(const void* pData, size_t length)
    : CMemoryStream(const_cast<void*>(pData), length, MODE_READ) {}

size_t CMemoryStream::Read(void* pDest, size_t count) {
    if (!(m_Mode & MODE_READ) || m_Position >= m_Length)
        return 0;
    size_t n = std::min<uint64_t>(count, m_Length - m_Position);
    memcpy(pDest, m_pData + m_Position, n);
    m_Position += n;
    return n;
}

size_t CMemoryStream::Write(const void* pSrc, size_t count) {
    if (!(m_Mode & MODE_WRITE) || m_Position > m_Length || count > m_Length - m_Position)
        return 0;
    memcpy(m_pData + m_Position, pSrc, count);
    m_Position += count;
    return count;
}

bool CMemoryStream::Seek(int64_t offset, int origin) {
    return ResolveSeek(offset, origin, m_Position, m_Length, m_Position);
}

CUnlimitedStream::~CUnlimitedStream() {
    if (m_pData != m_Inline)
        free(m_pData);
}

bool CUnlimitedStream::Reserve(size_t needed) {
    if (needed <= m_Capacity)
        return true;
    size_t capacity = m_Capacity ? m_Capacity : 1;
    while (capacity < needed) {
        if (capacity > std::numeric_limits<size_t>::max() / 2)
            return false;
        capacity *= 2;
    }
    uint8_t* grown;
    if (m_pData == m_Inline) {
        grown = static_cast<uint8_t*>(malloc(capacity));
        if (grown)
            memcpy(grown, m_Inline, m_Length);
    } else {
        grown = static_cast<uint8_t*>(realloc(m_pData, capacity));
    }
    if (!grown)
        return false;
    m_pData = grown;
    m_Capacity = capacity;
    return true;
}

size_t CUnlimitedStream::Write(const void* pSrc, size_t count) {
    if (count > std::numeric_limits<size_t>::max() - m_Position || !Reserve(m_Position + count))
        return 0;
    if (count)
        memcpy(m_pData + m_Position, pSrc, count);
    m_Position += count;
    if (m_Position > m_Length)
        m_Length = m_Position;
    return count;
}

size_t CUnlimitedStream::Read(void* pDest, size_t count) {
    if (m_Position >= m_Length)
        return 0;
    size_t n = std::min(count, m_Length - m_Position);
    memcpy(pDest, m_pData + m_Position, n);
    m_Position += n;
    return n;
}

bool CUnlimitedStream::Seek(int64_t offset, int origin) {
    uint64_t target;
    if (!ResolveSeek(offset, origin, m_Position, m_Length, target) || target > std::numeric_limits<size_t>::max())
        return false;
    if (target > m_Length) {
        // Reserving room to write later: the gap reads as zero bytes, never as old memory.
        if (!Reserve(target))
            return false;
        memset(m_pData + m_Length, 0, target - m_Length);
        m_Length = target;
    }
    m_Position = target;
    return true;
}

CStreamRangeStream::CStreamRangeStream(Stream* pInner, uint64_t start, uint64_t length)
    : m_pInner(pInner), m_Start(start), m_Length(length) {}

size_t CStreamRangeStream::Read(void* pDest, size_t count) {
    if (m_Position >= m_Length || !m_pInner->Seek(static_cast<int64_t>(m_Start + m_Position), SEEK_ORIGIN_START))
        return 0;
    size_t n = m_pInner->Read(pDest, std::min<uint64_t>(count, m_Length - m_Position));
    m_Position += n;
    return n;
}

size_t CStreamRangeStream::Write(const void* pSrc, size_t count) {
    if (m_Position > m_Length || count > m_Length - m_Position ||
        !m_pInner->Seek(static_cast<int64_t>(m_Start + m_Position), SEEK_ORIGIN_START))
        return 0;
    size_t n = m_pInner->Write(pSrc, count);
    m_Position += n;
    return n;
}

bool CStreamRangeStream::Seek(int64_t offset, int origin) {
    return ResolveSeek(offset, origin, m_Position, m_Length, m_Position);
}

CStandardStream::~CStandardStream() {
    if (m_pFile)
        fclose(m_pFile);
}

CStandardStream* CStandardStream::Open(const char* path, const char* mode) {
    FILE* file = fopen(path, mode);
    return file ? new CStandardStream(file) : nullptr;
}

size_t CStandardStream::Read(void* pDest, size_t count) { return fread(pDest, 1, count, m_pFile); }

size_t CStandardStream::Write(const void* pSrc, size_t count) { return fwrite(pSrc, 1, count, m_pFile); }

bool CStandardStream::Seek(int64_t offset, int origin) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2)
        return false;
    return fseeko(m_pFile, static_cast<off_t>(offset), whence[origin]) == 0;
}

uint64_t CStandardStream::Tell() {
    off_t position = ftello(m_pFile);
    return position < 0 ? 0 : static_cast<uint64_t>(position);
}

bool CStandardStream::Flush() { return fflush(m_pFile) == 0; }

}  // namespace Ferrox3D
