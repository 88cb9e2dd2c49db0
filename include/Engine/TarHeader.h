// Parsing of single TAR header blocks and pax extended records.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "Engine/Limits.h"

namespace Ferrox3D {

enum eTarBlock {
    TAR_BLOCK_MEMBER,  // a valid header
    TAR_BLOCK_END,     // all zero: the end of the archive
    TAR_BLOCK_BAD,     // checksum or a number field does not read
};

struct tTarHeader {
    std::string m_Name;  // ustar prefix + "/" + name, or the name field
    char m_Type;         // NUL reads as '0'
    uint64_t m_Size;
    int64_t m_ModifiedTime;
};

eTarBlock ParseTarHeader(const uint8_t (&block)[TAR_BLOCK_SIZE], tTarHeader& header);

// The path and size a pax extended header gives the next member (empty / unset when absent).
struct tPaxOverrides {
    std::string m_Path;
    bool m_bHasSize = false;
    uint64_t m_Size = 0;
};
// Reads "length key=value\n" records; stops quietly at the first malformed record.
void ParsePaxRecords(const std::string& data, tPaxOverrides& out);

// Drops leading "./" and "/" so "./a/b" and "/a/b" name the member "a/b".
std::string NormaliseTarPath(std::string name);

}  // namespace Ferrox3D
