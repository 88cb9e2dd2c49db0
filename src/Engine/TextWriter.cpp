// Text output with a UTF-8 byte-order mark at the start of a new file.
#include "Engine/TextWriter.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace Ferrox3D {

bool CTextWriter::WriteByteOrderMark() {
    static const uint8_t mark[] = {0xEF, 0xBB, 0xBF};
    if (m_pStream->Tell() != 0 || m_pStream->GetLength() != 0)
        return true;
    return m_pStream->Write(mark, sizeof(mark)) == sizeof(mark);
}

size_t CTextWriter::Write(const char* pText, size_t length) {
    if (!WriteByteOrderMark())
        return 0;
    return length ? m_pStream->Write(pText, length) : 0;
}

size_t CTextWriter::Write(const char* pText) { return Write(pText, pText ? strlen(pText) : 0); }

size_t CTextWriter::Print(const char* format, ...) {
    char buffer[TEXT_WRITER_FORMAT_BUFFER];
    va_list args;
    va_start(args, format);
    int written = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        return 0;
    return Write(buffer, strnlen(buffer, sizeof(buffer)));
}

}  // namespace Ferrox3D
