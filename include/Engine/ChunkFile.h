// Binary chunk files ("HBF"): reading the root container and writing a tree.
#pragma once
#include <memory>
#include "Engine/Chunk.h"

namespace Ferrox3D {

constexpr char CHUNK_FILE_MAGIC[3] = {'H', 'B', 'F'};
constexpr uint8_t CHUNK_FILE_COMPRESSED = 0x5A;
constexpr uint8_t CHUNK_FILE_PLAIN = 0xFF;

// Reads a binary chunk file from the stream's position. Null when the stream does not
// start like one, or the body is malformed; the stream position is then unspecified.
std::unique_ptr<CRootChunk> ReadChunkFile(Stream* pStream);

// Writes a version-8 chunk file whose root holds the one chunk given.
bool WriteChunkFile(Stream* pStream, const CChunk& top, bool compress);

}  // namespace Ferrox3D
