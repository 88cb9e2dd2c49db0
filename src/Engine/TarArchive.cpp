// TAR archives: the member scan (with GNU long names and pax paths) and the directory tree.
#include "Engine/TarArchive.h"
#include "Engine/TarHeader.h"

namespace Ferrox3D {

// Names and sizes that extension headers (GNU 'L', pax 'x') give the member after them.
struct CTARArchive::tPending {
    std::string m_LongName;
    tPaxOverrides m_Pax;
    bool m_bUnusable = false;  // an extension was too large to honour: skip the member it names
    void Reset() { *this = tPending(); }
};

namespace {

uint64_t Padding(uint64_t size) { return (TAR_BLOCK_SIZE - size % TAR_BLOCK_SIZE) % TAR_BLOCK_SIZE; }

bool ReadExtension(Stream* pStream, uint64_t size, std::string& data) {
    data.assign(size, '\0');
    return size == 0 || pStream->Read(data.data(), size) == size;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos)
            return parts;
        start = slash + 1;
    }
}

// Handles an extension header; false when its data does not read.
bool TakeExtension(Stream* pStream, const tTarHeader& header, CTARArchive::tPending& pending) {
    std::string data;
    if (header.m_Type == 'L') {
        if (header.m_Size > TAR_LONG_NAME_MAX) {
            pending.m_bUnusable = true;
            return true;
        }
        if (!ReadExtension(pStream, header.m_Size, data))
            return false;
        pending.m_LongName = data.substr(0, data.find('\0'));
        return true;
    }
    if (header.m_Size > TAR_PAX_HEADER_MAX) {
        pending.m_bUnusable = true;
        return true;
    }
    if (!ReadExtension(pStream, header.m_Size, data))
        return false;
    ParsePaxRecords(data, pending.m_Pax);
    if (pending.m_Pax.m_Path.size() > TAR_LONG_NAME_MAX)
        pending.m_bUnusable = true;
    return true;
}
}  // namespace

CTARArchive::CEntry* CTARArchive::CDirectoryEntry::Find(const std::string& name) const {
    auto it = m_Children.find(name);
    return it != m_Children.end() ? it->second.get() : nullptr;
}

void CTARArchive::Clear() {
    m_Records.clear();
    m_Root.m_Children.clear();
    m_pStream.Reset();
}

bool CTARArchive::Read(Stream* pStream) {
    Clear();
    if (!pStream)
        return false;
    m_pStream = pStream;
    tPending pending;
    for (;;) {
        uint8_t block[TAR_BLOCK_SIZE];
        size_t got = pStream->Read(block, sizeof(block));
        if (got == 0)
            break;  // the end without an end marker
        tTarHeader header;
        eTarBlock kind = got == sizeof(block) ? ParseTarHeader(block, header) : TAR_BLOCK_BAD;
        if (kind == TAR_BLOCK_END)
            break;
        if (kind == TAR_BLOCK_BAD || !ReadMember(pStream, header, pending)) {
            Clear();  // bad checksum, partial header or data cut short
            return false;
        }
    }
    BuildTree();
    return true;
}

// Takes one member or extension header whose block was just read, and moves past its data.
bool CTARArchive::ReadMember(Stream* pStream, const tTarHeader& header, tPending& pending) {
    uint64_t start = pStream->Tell();
    uint64_t size = header.m_Size;
    if (size > pStream->Remaining())
        return false;
    if (header.m_Type == 'L' || header.m_Type == 'x') {
        if (!TakeExtension(pStream, header, pending))
            return false;
    } else if (header.m_Type != 'g' && header.m_Type != 'K') {  // those belong to no member kept here
        if (pending.m_Pax.m_bHasSize) {
            size = pending.m_Pax.m_Size;
            if (size > pStream->Remaining())
                return false;
        }
        bool member = header.m_Type == '0' || header.m_Type == '5';
        if (member && !pending.m_bUnusable) {
            std::string name = !pending.m_Pax.m_Path.empty() ? pending.m_Pax.m_Path
                               : !pending.m_LongName.empty() ? pending.m_LongName
                                                             : header.m_Name;
            m_Records.push_back({NormaliseTarPath(std::move(name)), header.m_Type, start, size, header.m_ModifiedTime});
        }
        pending.Reset();
    }
    return pStream->Seek(static_cast<int64_t>(start + size + Padding(size)), SEEK_ORIGIN_START);
}

void CTARArchive::BuildTree() {
    for (uint32_t i = 0; i < m_Records.size(); ++i)
        if (m_Records[i].m_Type == '0')
            AddToTree(i);
}

// The first file of a path wins; a path through a file, or deeper than the limit, is not added.
void CTARArchive::AddToTree(uint32_t record) {
    std::vector<std::string> parts = SplitPath(m_Records[record].m_Name);
    if (parts.size() > static_cast<size_t>(TAR_MAX_PATH_DEPTH) || parts.back().empty())
        return;
    CDirectoryEntry* directory = &m_Root;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].empty())
            continue;  // "a//b" is "a/b"
        CEntry* next = directory->Find(parts[i]);
        if (!next) {
            auto made = std::make_unique<CDirectoryEntry>(parts[i]);
            next = made.get();
            directory->m_Children.emplace(parts[i], std::move(made));
        }
        if (!next->m_bDirectory)
            return;
        directory = static_cast<CDirectoryEntry*>(next);
    }
    if (!directory->Find(parts.back()))
        directory->m_Children.emplace(parts.back(), std::make_unique<CEntry>(parts.back(), false, record));
}

// The node a path names: one leading "/" dropped; an empty path is the root; any other
// empty component matches nothing.
CTARArchive::CEntry* CTARArchive::Walk(const char* path) {
    std::string relative = path ? path : "";
    if (!relative.empty() && relative[0] == '/')
        relative.erase(0, 1);
    if (relative.empty())
        return &m_Root;
    CEntry* node = &m_Root;
    for (const std::string& part : SplitPath(relative)) {
        if (!node->m_bDirectory || part.empty())
            return nullptr;
        node = static_cast<CDirectoryEntry*>(node)->Find(part);
        if (!node)
            return nullptr;
    }
    return node;
}

Strong<Stream> CTARArchive::Open(const char* path, bool write) {
    CEntry* entry = write ? nullptr : Walk(path);
    if (!entry || entry->m_bDirectory || !m_pStream)
        return nullptr;
    const tFileRecord& record = m_Records[entry->m_Record];
    return Strong<Stream>::Adopt(new CStreamRangeStream(m_pStream, record.m_Offset, record.m_Size));
}

bool CTARArchive::Exists(const char* path, bool acceptFile, bool acceptDirectory) {
    CEntry* entry = Walk(path);
    return entry && (entry->m_bDirectory ? acceptDirectory : acceptFile);
}

bool CTARArchive::Enumerate(const char* path, const CFileMgr::tEnumerateCallback& callback) {
    CEntry* entry = Walk(path);
    if (!entry || !entry->m_bDirectory)
        return false;
    for (const auto& [name, child] : static_cast<CDirectoryEntry*>(entry)->m_Children) {
        CFileMgr::tDirectoryEntry info{path ? path : "", name.c_str(), !child->m_bDirectory, child->m_bDirectory};
        if (!callback(info))
            return false;
    }
    return true;
}

}  // namespace Ferrox3D
