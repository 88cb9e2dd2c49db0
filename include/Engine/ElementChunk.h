// Element trees: what every XML document and binary chunk file is read into.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include "Engine/Chunk.h"

namespace Ferrox3D {

class CArgument;
class INetObjectResolver;

// Tags of the script-value wire form that element attributes use.
constexpr uint8_t ATTRIBUTE_TAG_STRING = 2;
constexpr uint8_t ATTRIBUTE_TAG_MAP = 18;

// A named element with a text, attributes and element children (the chunk name is the tag).
class CElementChunk : public CChunk {
public:
    // An attribute value as a script value: its wire tag and payload. For strings the
    // payload is the text itself; other kinds (only possible in binary files) keep their
    // wire payload unchanged.
    struct tAttributeValue {
        uint8_t m_Tag = ATTRIBUTE_TAG_STRING;
        std::string m_Data;
        bool operator==(const tAttributeValue& o) const { return m_Tag == o.m_Tag && m_Data == o.m_Data; }
    };
    using tAttributes = std::map<std::string, tAttributeValue, std::less<>>;

    explicit CElementChunk(uint32_t typeId = CHUNK_ELEMENT) : CChunk(typeId) {}

    // A whole document in either form (binary chunk file, else XML text with any byte-order
    // mark); the top element, or null when there is none or the input is malformed.
    static std::unique_ptr<CElementChunk> Load(Stream* pStream);
    static std::unique_ptr<CElementChunk> LoadFromText(const char* text, size_t length);
    static std::unique_ptr<CElementChunk> LoadFromFile(const char* realPath);  // a path on disk

    // Payload: the text as a wire string, then the attributes as a wire map.
    bool ReadData(Stream* pStream) override;
    bool WriteData(Stream* pStream) const override;

    const std::string& GetText() const { return m_Text; }
    void SetText(std::string text) { m_Text = std::move(text); }

    // The attribute's text when it exists and is a string; null otherwise. Names are exact.
    const char* Attribute(const char* name, size_t* pLength = nullptr) const;
    void SetAttribute(const std::string& name, std::string text);
    const tAttributeValue* GetAttributeValue(const char* name) const;
    void SetAttributeValue(const std::string& name, tAttributeValue value);
    const tAttributes& GetAttributes() const { return m_Attributes; }
    // The attribute as a script value (the caller owns the one reference), or null when it is
    // absent or its payload does not read. Element ids resolve through the resolver when given.
    CArgument* CreateAttributeArgument(const char* name, INetObjectResolver* pResolver = nullptr) const;
    // Stores a script value as an attribute; false when the value cannot go on the wire.
    bool SetAttributeArgument(const std::string& name, const CArgument& value);

    // First element child named so (ASCII case ignored) at or after position start; go on
    // with found->GetIndex() + 1 to visit siblings of one name.
    CElementChunk* FindElement(const char* name, size_t start = 0) const { return FindChunk(start, name); }
    // Appends a new element child and returns it (owned by this element).
    CElementChunk* AddElement(const std::string& name);

private:
    std::string m_Text;
    tAttributes m_Attributes;
};

}  // namespace Ferrox3D
