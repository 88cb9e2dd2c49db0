// Binary chunk files: header, optional zlib body, root record; and the writer of the same form.
#include "Engine/ChunkFile.h"
#include <cstring>
#include <vector>
#include <zlib.h>
#include "Engine/BinaryIO.h"

namespace Ferrox3D {

namespace {
bool ReadPlainBody(Stream* pStream, CRootChunk& root) {
    uint32_t rootType;  // stored but carries no meaning for the root
    return CBinaryReader(pStream).ReadUInt32(rootType) && root.Read(pStream);
}

// Inflates exactly the announced size; a size beyond what the data can hold is refused first.
bool ReadCompressedBody(Stream* pStream, CRootChunk& root) {
    CBinaryReader reader(pStream);
    uint32_t inflatedSize, compressedSize;
    if (!reader.ReadUInt32(inflatedSize) || !reader.ReadUInt32(compressedSize) ||
        !reader.ReadUInt32(root.m_HeaderValue))
        return false;
    if (compressedSize > reader.Remaining() || inflatedSize > MAX_CHUNK_FILE_INFLATED ||
        inflatedSize > static_cast<uint64_t>(compressedSize) * MAX_DEFLATE_RATIO)
        return false;
    std::vector<uint8_t> compressed(compressedSize);
    if (!reader.ReadBytes(compressed.data(), compressed.size()))
        return false;
    std::vector<uint8_t> body(inflatedSize);
    uLongf produced = inflatedSize;
    if (uncompress(body.data(), &produced, compressed.data(), compressedSize) != Z_OK || produced != inflatedSize)
        return false;
    root.m_bCompressed = true;
    CMemoryStream plain(body.data(), body.size());
    return ReadPlainBody(&plain, root);
}

bool WritePlainBody(Stream* pStream, const CChunk& top) {
    CBinaryWriter writer(pStream);
    // The root record: type, empty name, empty payload, one child.
    return writer.WriteUInt32(CHUNK_ROOT) && writer.WriteUInt8(0) && writer.WriteUInt32(0) &&
           writer.WriteUInt32(1) && writer.WriteUInt32(top.GetTypeId()) && top.Write(pStream);
}

bool WriteCompressedBody(Stream* pStream, const CChunk& top) {
    CUnlimitedStream plain;
    if (!WritePlainBody(&plain, top) || plain.GetLength() > UINT32_MAX)
        return false;
    uLongf bound = compressBound(plain.GetLength());
    std::vector<uint8_t> compressed(bound);
    if (compress2(compressed.data(), &bound, plain.GetData(), plain.GetLength(), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    CBinaryWriter writer(pStream);
    return writer.WriteUInt32(static_cast<uint32_t>(plain.GetLength())) &&
           writer.WriteUInt32(static_cast<uint32_t>(bound)) && writer.WriteUInt32(0) &&
           writer.WriteBytes(compressed.data(), bound);
}
}  // namespace

std::unique_ptr<CRootChunk> ReadChunkFile(Stream* pStream) {
    Strong<Stream> keep(pStream);
    CBinaryReader reader(pStream);
    uint8_t head[4];
    uint32_t version, ignored;
    if (!reader.ReadBytes(head, sizeof(head)) || memcmp(head, CHUNK_FILE_MAGIC, 3) != 0 ||
        (head[3] != CHUNK_FILE_COMPRESSED && head[3] != CHUNK_FILE_PLAIN))
        return nullptr;
    if (!reader.ReadUInt32(version) || version < CHUNK_VERSION_OLDEST || version > CHUNK_VERSION_CURRENT)
        return nullptr;
    if (version > 7 && !reader.ReadUInt32(ignored))
        return nullptr;
    auto root = std::make_unique<CRootChunk>();
    root->SetVersion(version);
    bool ok = head[3] == CHUNK_FILE_COMPRESSED ? ReadCompressedBody(pStream, *root) : ReadPlainBody(pStream, *root);
    return ok ? std::move(root) : nullptr;
}

bool WriteChunkFile(Stream* pStream, const CChunk& top, bool compress) {
    CBinaryWriter writer(pStream);
    if (!writer.WriteBytes(CHUNK_FILE_MAGIC, 3) || !writer.WriteUInt8(compress ? CHUNK_FILE_COMPRESSED : CHUNK_FILE_PLAIN) ||
        !writer.WriteUInt32(CHUNK_VERSION_CURRENT) || !writer.WriteUInt32(0))
        return false;
    return compress ? WriteCompressedBody(pStream, top) : WritePlainBody(pStream, top);
}

}  // namespace Ferrox3D
