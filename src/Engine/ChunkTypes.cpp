// The registry of chunk types, filled with the built-in types on first use.
#include "Engine/Chunk.h"
#include "Engine/DataChunks.h"
#include "Engine/ElementChunk.h"

namespace Ferrox3D {

CChunkTypes& CChunkTypes::Global() {
    static CChunkTypes* registry = [] {
        auto* types = new CChunkTypes;
        types->RegisterCustomChunk<CDataChunk>(CHUNK_DATA);
        types->RegisterCustomChunk<CImageDataChunk>(CHUNK_IMAGE_DATA);
        types->RegisterCustomChunk<CHistoryChunk>(CHUNK_HISTORY);
        types->RegisterCustomChunk<CTextureChunk>(CHUNK_TEXTURE);
        types->RegisterCustomChunk<CElementChunk>(CHUNK_ELEMENT);
        return types;
    }();
    return *registry;
}

void CChunkTypes::RegisterCustomChunk(uint32_t typeId, tFactory factory) {
    if (typeId < DIRECT_IDS)
        m_Direct[typeId] = std::move(factory);
    else
        m_Other[typeId] = std::move(factory);
}

CChunk* CChunkTypes::_Create(uint32_t typeId) const {
    const tFactory* factory = nullptr;
    if (typeId < DIRECT_IDS) {
        factory = m_Direct[typeId] ? &m_Direct[typeId] : nullptr;
    } else {
        auto it = m_Other.find(typeId);
        factory = it != m_Other.end() ? &it->second : nullptr;
    }
    CChunk* chunk = factory ? (*factory)(typeId) : nullptr;
    return chunk ? chunk : new CDataChunk(typeId);
}

}  // namespace Ferrox3D
