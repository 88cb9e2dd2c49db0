// Reads a text stream as UTF-8: byte-order mark detection, code points and lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "Engine/Stream.h"

namespace Ferrox3D {

enum eTextEncoding {
    TEXT_ENCODING_UTF8 = 0,
    TEXT_ENCODING_UTF16LE,
    TEXT_ENCODING_UTF16BE,
    TEXT_ENCODING_UTF32BE,
};

// The whole stream (from its position) is loaded on first use; UTF-16 and UTF-32 text
// is converted to UTF-8 then. A stream larger than MAX_TEXT_DOCUMENT reads as empty and
// HasFailed() says so.
class CTextReader {
public:
    explicit CTextReader(Stream* pStream) : m_pStream(pStream) {}

    size_t Read(void* pDest, size_t count);
    // One UTF-8 sequence. False at the end, or at a truncated or broken sequence (which
    // ends the text). A byte that cannot start a sequence yields U+FFFD.
    bool ReadCharacter(uint32_t& codePoint);
    // The next line without its line feed or carriage return + line feed; false at the end.
    // A line longer than capacity - 1 bytes is cut there and the rest of it is skipped.
    bool ReadLine(char* pBuffer, size_t capacity, size_t* pLength);
    bool ReadLine(std::string& line);

    eTextEncoding GetEncoding() { Load(); return m_Encoding; }
    // All loaded text and the reading position inside it.
    const std::string& GetText() { Load(); return m_Text; }
    bool HasFailed() { Load(); return m_bFailed; }
    bool AtEnd() { Load(); return m_Position >= m_Text.size(); }

private:
    void Load();
    void DetermineEncoding();
    bool LoadBytes(std::string& bytes);
    bool TakeLine(size_t& start, size_t& length);

    Strong<Stream> m_pStream;
    std::string m_Text;
    size_t m_Position = 0;
    eTextEncoding m_Encoding = TEXT_ENCODING_UTF8;
    bool m_bLoaded = false;
    bool m_bFailed = false;
};

// Appends a code point as UTF-8.
void AppendUTF8(std::string& out, uint32_t codePoint);

}  // namespace Ferrox3D
