// Text loading with byte-order mark detection, UTF-8 decoding and line splitting.
#include "Engine/TextReader.h"
#include <cstring>

namespace Ferrox3D {

namespace {
constexpr size_t LOAD_PIECE = 64 * 1024;
constexpr uint32_t REPLACEMENT_CHARACTER = 0xFFFD;

struct tMark {
    uint8_t bytes[4];
    size_t length;
    eTextEncoding encoding;
};
// Longest first, so the UTF-32 mark is not taken for a UTF-8 text starting with NULs.
const tMark MARKS[] = {
    {{0x00, 0x00, 0xFE, 0xFF}, 4, TEXT_ENCODING_UTF32BE},
    {{0xEF, 0xBB, 0xBF}, 3, TEXT_ENCODING_UTF8},
    {{0xFF, 0xFE}, 2, TEXT_ENCODING_UTF16LE},
    {{0xFE, 0xFF}, 2, TEXT_ENCODING_UTF16BE},
};

uint32_t UnitAt(const std::string& bytes, size_t i, size_t width, bool bigEndian) {
    uint32_t value = 0;
    for (size_t k = 0; k < width; ++k) {
        uint32_t b = static_cast<uint8_t>(bytes[i + k]);
        value |= bigEndian ? b << (8 * (width - 1 - k)) : b << (8 * k);
    }
    return value;
}

std::string FromUTF16(const std::string& bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t unit = UnitAt(bytes, i, 2, bigEndian);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t low = UnitAt(bytes, i + 2, 2, bigEndian);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUTF8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUTF8(out, (unit >= 0xD800 && unit < 0xE000) ? REPLACEMENT_CHARACTER : unit);
    }
    return out;
}

std::string FromUTF32BE(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() / 4);
    for (size_t i = 0; i + 3 < bytes.size(); i += 4)
        AppendUTF8(out, UnitAt(bytes, i, 4, true));
    return out;
}
}  // namespace

void AppendUTF8(std::string& out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
        cp = REPLACEMENT_CHARACTER;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void CTextReader::DetermineEncoding() {
    uint8_t head[4] = {};
    uint64_t start = m_pStream->Tell();
    size_t got = m_pStream->Read(head, sizeof(head));
    for (const tMark& mark : MARKS) {
        if (got >= mark.length && memcmp(head, mark.bytes, mark.length) == 0) {
            m_Encoding = mark.encoding;
            m_pStream->Seek(static_cast<int64_t>(start + mark.length), SEEK_ORIGIN_START);
            return;
        }
    }
    m_Encoding = TEXT_ENCODING_UTF8;
    m_pStream->Seek(static_cast<int64_t>(start), SEEK_ORIGIN_START);
}

// Reads to the end of the stream without trusting its reported length.
bool CTextReader::LoadBytes(std::string& bytes) {
    char piece[LOAD_PIECE];
    for (;;) {
        size_t got = m_pStream->Read(piece, sizeof(piece));
        if (got == 0)
            return true;
        if (bytes.size() + got > MAX_TEXT_DOCUMENT)
            return false;
        bytes.append(piece, got);
    }
}

void CTextReader::Load() {
    if (m_bLoaded)
        return;
    m_bLoaded = true;
    if (!m_pStream)
        return;
    DetermineEncoding();
    std::string bytes;
    if (!LoadBytes(bytes)) {
        m_bFailed = true;
        return;
    }
    switch (m_Encoding) {
    case TEXT_ENCODING_UTF16LE: m_Text = FromUTF16(bytes, false); break;
    case TEXT_ENCODING_UTF16BE: m_Text = FromUTF16(bytes, true); break;
    case TEXT_ENCODING_UTF32BE: m_Text = FromUTF32BE(bytes); break;
    default: m_Text.swap(bytes); break;
    }
}

size_t CTextReader::Read(void* pDest, size_t count) {
    Load();
    size_t n = std::min(count, m_Text.size() - std::min(m_Position, m_Text.size()));
    if (n)
        memcpy(pDest, m_Text.data() + m_Position, n);
    m_Position += n;
    return n;
}

bool CTextReader::ReadCharacter(uint32_t& codePoint) {
    Load();
    if (m_Position >= m_Text.size())
        return false;
    uint8_t lead = static_cast<uint8_t>(m_Text[m_Position++]);
    size_t follow;
    uint32_t value;
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        follow = 1, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        follow = 2, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        follow = 3, value = lead & 0x07;
    } else {
        codePoint = REPLACEMENT_CHARACTER;
        return true;
    }
    for (size_t i = 0; i < follow; ++i) {
        if (m_Position >= m_Text.size())
            return false;
        uint8_t next = static_cast<uint8_t>(m_Text[m_Position++]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    codePoint = value;
    return true;
}

// Finds the next line in the loaded text and moves past its terminator.
bool CTextReader::TakeLine(size_t& start, size_t& length) {
    Load();
    if (m_Position >= m_Text.size())
        return false;
    start = m_Position;
    size_t feed = m_Text.find('\n', start);
    size_t end = feed == std::string::npos ? m_Text.size() : feed;
    m_Position = feed == std::string::npos ? end : feed + 1;
    if (feed != std::string::npos && end > start && m_Text[end - 1] == '\r')
        --end;
    length = end - start;
    return true;
}

bool CTextReader::ReadLine(char* pBuffer, size_t capacity, size_t* pLength) {
    size_t start, length;
    if (capacity == 0 || !TakeLine(start, length))
        return false;
    length = std::min(length, capacity - 1);
    memcpy(pBuffer, m_Text.data() + start, length);
    pBuffer[length] = '\0';
    if (pLength)
        *pLength = length;
    return true;
}

bool CTextReader::ReadLine(std::string& line) {
    size_t start, length;
    if (!TakeLine(start, length))
        return false;
    line.assign(m_Text, start, length);
    return true;
}

}  // namespace Ferrox3D
