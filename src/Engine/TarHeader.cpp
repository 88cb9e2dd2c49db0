// TAR header blocks: checksum, numeric fields (octal or base-256), names and pax records.
#include "Engine/TarHeader.h"
#include <cstring>

namespace Ferrox3D {

namespace {
constexpr size_t NAME_AT = 0, NAME_SIZE = 100;
constexpr size_t MTIME_AT = 136, MTIME_SIZE = 12;
constexpr size_t SIZE_AT = 124, SIZE_SIZE = 12;
constexpr size_t CHECKSUM_AT = 148, CHECKSUM_SIZE = 8;
constexpr size_t TYPE_AT = 156;
constexpr size_t MAGIC_AT = 257;
constexpr size_t PREFIX_AT = 345, PREFIX_SIZE = 155;
constexpr uint64_t MAX_FIELD_VALUE = static_cast<uint64_t>(INT64_MAX);

// Octal digits after optional blanks, up to the first NUL or blank; GNU's base-256 form
// (top bit of the first byte set) for large values. False when the field holds neither.
bool ReadNumber(const uint8_t* field, size_t size, uint64_t& value) {
    value = 0;
    if (field[0] & 0x80) {
        if (field[0] & 0x40)
            return false;  // negative
        value = field[0] & 0x3F;
        for (size_t i = 1; i < size; ++i) {
            if (value > (MAX_FIELD_VALUE >> 8))
                return false;
            value = (value << 8) | field[i];
        }
        return true;
    }
    size_t i = 0;
    while (i < size && field[i] == ' ')
        ++i;
    for (; i < size && field[i] != '\0' && field[i] != ' '; ++i) {
        if (field[i] < '0' || field[i] > '7' || value > (MAX_FIELD_VALUE >> 3))
            return false;
        value = (value << 3) | static_cast<uint64_t>(field[i] - '0');
    }
    return true;
}

std::string Field(const uint8_t* field, size_t size) {
    const void* nul = memchr(field, '\0', size);
    size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - field) : size;
    return std::string(reinterpret_cast<const char*>(field), length);
}

bool ChecksumMatches(const uint8_t (&block)[TAR_BLOCK_SIZE]) {
    uint64_t stored;
    if (!ReadNumber(block + CHECKSUM_AT, CHECKSUM_SIZE, stored))
        return false;
    int64_t unsignedSum = 0, signedSum = 0;
    for (size_t i = 0; i < TAR_BLOCK_SIZE; ++i) {
        bool inField = i >= CHECKSUM_AT && i < CHECKSUM_AT + CHECKSUM_SIZE;
        uint8_t byte = inField ? ' ' : block[i];
        unsignedSum += byte;
        signedSum += static_cast<int8_t>(byte);
    }
    return static_cast<int64_t>(stored) == unsignedSum || static_cast<int64_t>(stored) == signedSum;
}

// Up to 18 decimal digits, so the value always fits.
bool ReadDecimal(const std::string& text, uint64_t& value) {
    if (text.empty() || text.size() > 18)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

bool IsAllZero(const uint8_t (&block)[TAR_BLOCK_SIZE]) {
    for (uint8_t byte : block)
        if (byte)
            return false;
    return true;
}
}  // namespace

eTarBlock ParseTarHeader(const uint8_t (&block)[TAR_BLOCK_SIZE], tTarHeader& header) {
    if (IsAllZero(block))
        return TAR_BLOCK_END;
    uint64_t size, mtime;
    if (!ChecksumMatches(block) || !ReadNumber(block + SIZE_AT, SIZE_SIZE, size) ||
        !ReadNumber(block + MTIME_AT, MTIME_SIZE, mtime))
        return TAR_BLOCK_BAD;
    header.m_Size = size;
    header.m_ModifiedTime = static_cast<int64_t>(mtime);
    header.m_Type = block[TYPE_AT] ? static_cast<char>(block[TYPE_AT]) : '0';
    header.m_Name = Field(block + NAME_AT, NAME_SIZE);
    // POSIX ustar (and pax) carry "ustar\0"; GNU's "ustar  " uses the prefix area otherwise.
    if (memcmp(block + MAGIC_AT, "ustar", 6) == 0) {
        std::string prefix = Field(block + PREFIX_AT, PREFIX_SIZE);
        if (!prefix.empty())
            header.m_Name = prefix + "/" + header.m_Name;
    }
    return TAR_BLOCK_MEMBER;
}

void ParsePaxRecords(const std::string& data, tPaxOverrides& out) {
    size_t at = 0;
    while (at < data.size()) {
        size_t space = data.find(' ', at);
        uint64_t length;
        if (space == std::string::npos || !ReadDecimal(data.substr(at, space - at), length) ||
            length <= space - at + 1 || length > data.size() - at || data[at + length - 1] != '\n')
            return;
        std::string record = data.substr(space + 1, at + length - 1 - (space + 1));
        size_t equals = record.find('=');
        if (equals == std::string::npos)
            return;
        std::string key = record.substr(0, equals), value = record.substr(equals + 1);
        if (key == "path") {
            out.m_Path = value;
        } else if (key == "size" && ReadDecimal(value, out.m_Size)) {
            out.m_bHasSize = true;
        }
        at += length;
    }
}

std::string NormaliseTarPath(std::string name) {
    size_t start = 0;
    for (;;) {
        if (name.compare(start, 2, "./") == 0)
            start += 2;
        else if (name.compare(start, 1, "/") == 0)
            start += 1;
        else
            break;
    }
    name.erase(0, start);
    if (name == ".")
        name.clear();
    return name;
}

}  // namespace Ferrox3D
