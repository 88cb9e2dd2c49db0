// Chunk trees: the node every document is read into, and the registry of chunk types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>
#include "Engine/Stream.h"

namespace Ferrox3D {

enum eChunkType : uint32_t {
    CHUNK_ROOT = 0,
    CHUNK_DATA = 1,
    CHUNK_IMAGE_DATA = 5,
    CHUNK_HISTORY = 21,
    CHUNK_TEXTURE = 72,
    CHUNK_ELEMENT = 93,
};

constexpr uint32_t CHUNK_VERSION_CURRENT = 8;
constexpr uint32_t CHUNK_VERSION_OLDEST = 6;

class CElementChunk;

// A node of a chunk tree. Children are owned; destroying a chunk orphans it and
// destroys its children.
class CChunk {
public:
    explicit CChunk(uint32_t typeId);
    virtual ~CChunk();
    CChunk(const CChunk&) = delete;
    CChunk& operator=(const CChunk&) = delete;

    // The payload, from a stream that holds exactly the payload.
    virtual bool ReadData(Stream* pStream) { return true; }
    virtual bool WriteData(Stream* pStream) const { return true; }
    virtual void Process() {}

    // One record (after its type id) with all descendants, in the form of m_Version.
    // depth counts the chunks above this one; deeper than MAX_ELEMENT_TREE_DEPTH fails.
    bool Read(Stream* pStream, int depth = 0);
    // One record in the current form (version 8) with all descendants.
    bool Write(Stream* pStream) const;

    // Leaves the parent; later siblings keep their index fields.
    void Orphan();
    // Appends a child (ownership passes to this chunk) and sets its index and parent.
    void AddChild(CChunk* pChild);

    // First element child at or after start whose name matches without regard to ASCII case.
    CElementChunk* FindChunk(size_t start, const char* name) const;

    uint64_t GetIndex() const { return m_Index; }
    uint32_t GetVersion() const { return m_Version; }
    void SetVersion(uint32_t version) { m_Version = version; }
    uint32_t GetTypeId() const { return m_TypeId; }
    CChunk* GetParent() const { return m_pParent; }
    const std::string& GetName() const { return m_Name; }
    void SetName(std::string name) { m_Name = std::move(name); }
    size_t GetChildCount() const { return m_Children.size(); }
    CChunk* GetChild(size_t i) const { return i < m_Children.size() ? m_Children[i] : nullptr; }

protected:
    uint64_t m_Index = 0;
    uint32_t m_Version = CHUNK_VERSION_CURRENT;
    uint32_t m_TypeId;
    CChunk* m_pParent = nullptr;
    std::string m_Name;
    std::vector<CChunk*> m_Children;

private:
    bool ReadHeader(Stream* pStream, uint64_t& payloadSize, uint64_t& extraSize);
    bool ReadPayload(Stream* pStream, uint64_t payloadSize, uint64_t extraSize);
    bool ReadChildren(Stream* pStream, int depth);
    void DestroyChildren();
};

// The unnamed container a binary chunk file is read into.
class CRootChunk : public CChunk {
public:
    CRootChunk() : CChunk(CHUNK_ROOT) {}
    uint32_t m_HeaderValue = 0xFFFFFFFF;  // the value kept from a compressed file's header
    bool m_bCompressed = false;
};

// Maps a type id to a factory of empty chunks of that type (version 8, id set).
class CChunkTypes {
public:
    using tFactory = std::function<CChunk*(uint32_t typeId)>;

    // The registry every reader uses, with the built-in types registered.
    static CChunkTypes& Global();

    void RegisterCustomChunk(uint32_t typeId, tFactory factory);
    template <typename T>
    void RegisterCustomChunk(uint32_t typeId) {
        RegisterCustomChunk(typeId, [](uint32_t id) -> CChunk* { return new T(id); });
    }
    // Unknown ids and failing factories give a data chunk that keeps the id and the bytes.
    CChunk* _Create(uint32_t typeId) const;

private:
    static constexpr uint32_t DIRECT_IDS = 100;
    tFactory m_Direct[DIRECT_IDS];
    std::unordered_map<uint32_t, tFactory> m_Other;
};

}  // namespace Ferrox3D
