// Chunk records: reading and writing one node with its payload window and its children.
#include "Engine/Chunk.h"
#include <algorithm>
#include <strings.h>
#include "Engine/BinaryIO.h"
#include "Engine/ElementChunk.h"

namespace Ferrox3D {

namespace {
// The fewest bytes one child entry can take, so a stored count is checked against what is left.
constexpr uint64_t MIN_CHILD_BYTES_V7 = 4 + 1 + 4 + 4;         // type, empty name, size, count
constexpr uint64_t MIN_CHILD_BYTES_V6 = 4 + 2 + 1 + 4 + 4 + 2;  // type, header, name, sizes, count

bool SkipBytes(Stream* pStream, uint64_t count) {
    if (count > pStream->Remaining())
        return false;
    return pStream->Seek(static_cast<int64_t>(count), SEEK_ORIGIN_CURRENT);
}
}  // namespace

CChunk::CChunk(uint32_t typeId) : m_TypeId(typeId) {}

CChunk::~CChunk() {
    Orphan();
    DestroyChildren();
}

void CChunk::DestroyChildren() {
    std::vector<CChunk*> children;
    children.swap(m_Children);
    for (CChunk* child : children) {
        child->m_pParent = nullptr;  // nothing left to orphan from
        delete child;
    }
}

void CChunk::Orphan() {
    if (m_pParent) {
        auto& siblings = m_pParent->m_Children;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        if (it != siblings.end())
            siblings.erase(it);
    }
    m_pParent = nullptr;
    m_Index = 0;
}

void CChunk::AddChild(CChunk* pChild) {
    pChild->Orphan();
    pChild->m_pParent = this;
    pChild->m_Index = m_Children.size();
    m_Children.push_back(pChild);
}

CElementChunk* CChunk::FindChunk(size_t start, const char* name) const {
    for (size_t i = start; i < m_Children.size(); ++i) {
        CChunk* child = m_Children[i];
        if (child->m_TypeId == CHUNK_ELEMENT && strcasecmp(child->m_Name.c_str(), name) == 0)
            if (auto* element = dynamic_cast<CElementChunk*>(child))
                return element;
    }
    return nullptr;
}

// Reads the name and the size fields; afterwards the stream is at the payload.
bool CChunk::ReadHeader(Stream* pStream, uint64_t& payloadSize, uint64_t& extraSize) {
    CBinaryReader reader(pStream);
    extraSize = 0;
    uint16_t headerSize = 0;
    if (m_Version < 7 && !reader.ReadUInt16(headerSize))
        return false;
    if (!reader.ReadString(m_Name))
        return false;
    if (m_Version < 7) {
        // The header size counts one length byte and the name; anything beyond is skipped.
        uint64_t nameBytes = m_Name.size() + 1;
        if (headerSize > nameBytes && !SkipBytes(pStream, headerSize - nameBytes))
            return false;
        uint32_t recordSize;
        if (!reader.ReadUInt32(recordSize))
            return false;
        uint32_t size;
        if (!reader.ReadUInt32(size) || static_cast<uint64_t>(size) + 4 > recordSize)
            return false;
        payloadSize = size;
        extraSize = recordSize - 4 - static_cast<uint64_t>(size);
        return true;
    }
    uint32_t size;
    if (!reader.ReadUInt32(size))
        return false;
    payloadSize = size;
    return true;
}

bool CChunk::ReadPayload(Stream* pStream, uint64_t payloadSize, uint64_t extraSize) {
    uint64_t start = pStream->Tell();
    if (payloadSize > pStream->Remaining())
        return false;
    Strong<Stream> window = Strong<Stream>::Adopt(new CStreamRangeStream(pStream, start, payloadSize));
    if (!ReadData(window))
        return false;
    if (!pStream->Seek(static_cast<int64_t>(start + payloadSize), SEEK_ORIGIN_START))
        return false;
    return SkipBytes(pStream, extraSize);
}

bool CChunk::ReadChildren(Stream* pStream, int depth) {
    CBinaryReader reader(pStream);
    uint32_t count;
    if (m_Version < 7) {
        uint16_t shortCount;
        if (!reader.ReadUInt16(shortCount))
            return false;
        count = shortCount;
    } else if (!reader.ReadUInt32(count)) {
        return false;
    }
    uint64_t minChild = m_Version < 7 ? MIN_CHILD_BYTES_V6 : MIN_CHILD_BYTES_V7;
    if (count > pStream->Remaining() / minChild)
        return false;
    m_Children.reserve(m_Children.size() + count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t typeId;
        if (!reader.ReadUInt32(typeId))
            return false;
        CChunk* child = CChunkTypes::Global()._Create(typeId);
        child->m_pParent = this;
        child->m_Version = m_Version;
        child->m_Index = i;
        m_Children.push_back(child);
        if (!child->Read(pStream, depth + 1)) {
            delete child;  // orphans itself; the children read before stay
            return false;
        }
    }
    return true;
}

bool CChunk::Read(Stream* pStream, int depth) {
    if (!pStream || depth > MAX_ELEMENT_TREE_DEPTH)
        return false;
    Strong<Stream> keep(pStream);
    uint64_t payloadSize, extraSize;
    return ReadHeader(pStream, payloadSize, extraSize) && ReadPayload(pStream, payloadSize, extraSize) &&
           ReadChildren(pStream, depth);
}

bool CChunk::Write(Stream* pStream) const {
    CBinaryWriter writer(pStream);
    CUnlimitedStream payload;
    if (!writer.WriteString(m_Name) || !WriteData(&payload) || payload.GetLength() > UINT32_MAX)
        return false;
    if (!writer.WriteUInt32(static_cast<uint32_t>(payload.GetLength())) ||
        !writer.WriteBytes(payload.GetData(), payload.GetLength()) ||
        !writer.WriteUInt32(static_cast<uint32_t>(m_Children.size())))
        return false;
    for (const CChunk* child : m_Children)
        if (!writer.WriteUInt32(child->m_TypeId) || !child->Write(pStream))
            return false;
    return true;
}

}  // namespace Ferrox3D
