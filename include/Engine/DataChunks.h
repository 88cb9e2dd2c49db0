// Chunk types that carry bytes: raw data, image levels, history text and texture headers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "Engine/Chunk.h"

namespace Ferrox3D {

// The whole payload as bytes; also what unknown chunk types are kept as.
class CDataChunk : public CChunk {
public:
    explicit CDataChunk(uint32_t typeId = CHUNK_DATA) : CChunk(typeId) {}
    bool ReadData(Stream* pStream) override;
    bool WriteData(Stream* pStream) const override;
    std::vector<uint8_t> m_Data;
};

// One image level of a texture; the index is the level.
class CImageDataChunk : public CDataChunk {
public:
    explicit CImageDataChunk(uint32_t typeId = CHUNK_IMAGE_DATA) : CDataChunk(typeId) {}
};

// The whole payload as text.
class CHistoryChunk : public CChunk {
public:
    explicit CHistoryChunk(uint32_t typeId = CHUNK_HISTORY) : CChunk(typeId) {}
    bool ReadData(Stream* pStream) override;
    bool WriteData(Stream* pStream) const override;
    std::string m_Text;
};

// A texture header; the second and fifth fields are kept and written back unchanged.
class CTextureChunk : public CChunk {
public:
    explicit CTextureChunk(uint32_t typeId = CHUNK_TEXTURE) : CChunk(typeId) {}
    bool ReadData(Stream* pStream) override;
    bool WriteData(Stream* pStream) const override;
    uint16_t m_Format = 0;  // 0: each level holds an image file, 1: raw 4-byte pixels
    uint16_t m_Field2 = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Field5 = 0;
};

}  // namespace Ferrox3D
