// The abstract byte stream every file, archive, datagram and buffer is read and written through.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include "Engine/Limits.h"
#include "Engine/ObjectModel.h"

namespace Ferrox3D {

enum eSeekOrigin { SEEK_ORIGIN_START = 0, SEEK_ORIGIN_CURRENT = 1, SEEK_ORIGIN_END = 2 };

class Stream : public CBaseObject {
public:
    virtual size_t Read(void* pDest, size_t count) = 0;
    virtual size_t Write(const void* pSrc, size_t count) = 0;
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual uint64_t Tell() = 0;
    virtual uint64_t GetLength();
    virtual bool SetModifiedTime(time_t) { return false; }

    // Bytes between the position and the end; 0 when the position is past the end.
    uint64_t Remaining();
};

// Memory owned by someone else; optionally keeps that owner alive.
class CMemoryStream : public Stream {
public:
    enum { MODE_READ = 1, MODE_WRITE = 2 };
    CMemoryStream(void* pData, size_t length, int mode, CBaseObject* pOwner = nullptr);
    CMemoryStream(const void* pData, size_t length);  // read-only

    size_t Read(void* pDest, size_t count) override;
    size_t Write(const void* pSrc, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    uint64_t Tell() override { return m_Position; }
    uint64_t GetLength() override { return m_Length; }
    const uint8_t* GetData() const { return m_pData; }

private:
    uint8_t* m_pData;
    size_t m_Length;
    uint64_t m_Position = 0;
    int m_Mode;
    Strong<CBaseObject> m_pOwner;
};

// Growable buffer: inline storage first, heap after; seeking past the end zero-fills.
class CUnlimitedStream : public Stream {
public:
    CUnlimitedStream() = default;
    ~CUnlimitedStream() override;

    size_t Read(void* pDest, size_t count) override;
    size_t Write(const void* pSrc, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    uint64_t Tell() override { return m_Position; }
    uint64_t GetLength() override { return m_Length; }

    const uint8_t* GetData() const { return m_pData; }
    uint8_t* GetData() { return m_pData; }
    size_t GetCapacity() const { return m_Capacity; }
    void Clear() { m_Length = m_Position = 0; }

private:
    bool Reserve(size_t needed);

    uint8_t m_Inline[UNLIMITED_STREAM_INLINE];
    uint8_t* m_pData = m_Inline;
    size_t m_Capacity = UNLIMITED_STREAM_INLINE;
    size_t m_Length = 0;
    size_t m_Position = 0;
};

// A window [start, start + length) of another stream.
class CStreamRangeStream : public Stream {
public:
    CStreamRangeStream(Stream* pInner, uint64_t start, uint64_t length);

    size_t Read(void* pDest, size_t count) override;
    size_t Write(const void* pSrc, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    uint64_t Tell() override { return m_Position; }
    uint64_t GetLength() override { return m_Length; }

private:
    Strong<Stream> m_pInner;
    uint64_t m_Start;
    uint64_t m_Length;
    uint64_t m_Position = 0;
};

// A C library FILE, closed with the stream.
class CStandardStream : public Stream {
public:
    explicit CStandardStream(FILE* pFile) : m_pFile(pFile) {}
    ~CStandardStream() override;
    static CStandardStream* Open(const char* path, const char* mode);  // null when fopen fails

    size_t Read(void* pDest, size_t count) override;
    size_t Write(const void* pSrc, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    uint64_t Tell() override;
    bool Flush();

private:
    FILE* m_pFile;
};

}  // namespace Ferrox3D
