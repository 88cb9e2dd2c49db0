// Writes text to a stream with a byte-order mark at the start of an empty stream.
#pragma once
#include <cstddef>
#include "Engine/Log.h"
#include "Engine/Stream.h"

namespace Ferrox3D {

class CTextWriter {
public:
    // Writes UTF-8, the only encoding this server writes.
    explicit CTextWriter(Stream* pStream) : m_pStream(pStream) {}

    // Bytes written (the mark not counted); the mark goes first when the stream is empty.
    size_t Write(const char* pText, size_t length);
    size_t Write(const char* pText);
    // Formats into a TEXT_WRITER_FORMAT_BUFFER buffer (longer output is cut) and writes.
    size_t Print(const char* format, ...) F_PRINTF(2, 3);
    Stream* GetStream() const { return m_pStream; }

private:
    bool WriteByteOrderMark();

    Strong<Stream> m_pStream;
};

}  // namespace Ferrox3D
