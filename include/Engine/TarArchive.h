// A read-only TAR archive (ustar, GNU and pax) over any stream, served as a file source.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "Engine/FileSystem.h"

namespace Ferrox3D {

struct tTarHeader;

class CTARArchive : public CVirtualFileMgr {
public:
    struct tFileRecord {
        std::string m_Name;  // the full member path, never cut
        char m_Type;         // '0' regular file, '5' directory
        uint64_t m_Offset;   // of the data in the source stream
        uint64_t m_Size;
        int64_t m_ModifiedTime;
    };

    class CEntry {
    public:
        CEntry(std::string name, bool directory, uint32_t record)
            : m_Name(std::move(name)), m_bDirectory(directory), m_Record(record) {}
        virtual ~CEntry() = default;
        std::string m_Name;
        bool m_bDirectory;
        uint32_t m_Record;  // index into the records; NO_RECORD for directories
    };

    class CDirectoryEntry : public CEntry {
    public:
        explicit CDirectoryEntry(std::string name) : CEntry(std::move(name), true, NO_RECORD) {}
        CEntry* Find(const std::string& name) const;
        std::map<std::string, std::unique_ptr<CEntry>> m_Children;  // member names are case-sensitive
    };

    static constexpr uint32_t NO_RECORD = 0xFFFFFFFF;
    struct tPending;

    CTARArchive() : m_Root("") {}

    // Drops any earlier content and reads the member headers. False, with the archive empty,
    // on a bad header checksum or a truncated archive.
    bool Read(Stream* pStream);

    Strong<Stream> Open(const char* path, bool write) override;
    Strong<Stream> Create(const char* path) override { return nullptr; }
    bool Exists(const char* path, bool acceptFile, bool acceptDirectory) override;
    bool Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) override;

    const std::vector<tFileRecord>& GetRecords() const { return m_Records; }

private:
    void Clear();
    bool ReadMember(Stream* pStream, const tTarHeader& header, tPending& pending);
    void BuildTree();
    void AddToTree(uint32_t record);
    CEntry* Walk(const char* path);

    Strong<Stream> m_pStream;
    std::vector<tFileRecord> m_Records;
    CDirectoryEntry m_Root;
};

}  // namespace Ferrox3D
