// String-keyed script values (element data, attributes, exports); keys compare byte for byte.
#pragma once
#include <string>
#include <unordered_map>
#include "Engine/Argument.h"

namespace Ferrox3D {

// Owns one reference to each value. On the wire: a varint count, then per entry the value's tag,
// the key as a string and the value's payload. Iteration order carries no meaning.
class CArgumentMap : public CArgument {
public:
    using Entries = std::unordered_map<std::string, CArgument*>;

    CArgumentMap() : CArgument(ARGUMENT_MAP) {}
    ~CArgumentMap() override { Clear(); }

    // Takes over the caller's reference; storing the value the key already holds changes nothing.
    void Set(const std::string& key, CArgument* pValue);
    // Borrowed; null when the key is absent.
    CArgument* Get(const std::string& key) const;
    bool Remove(const std::string& key);
    void Clear();
    void Resize(size_t buckets) { m_Entries.reserve(buckets); }
    size_t GetCount() const { return m_Entries.size(); }
    const Entries& GetEntries() const { return m_Entries; }
    Entries::const_iterator begin() const { return m_Entries.begin(); }
    Entries::const_iterator end() const { return m_Entries.end(); }

    CArgument* Clone() const override;
    bool ReadPayload(CBinaryReader& in, int depth) override;
    bool WritePayload(CBinaryWriter& out) const override;
    bool CanWrite(int depth) const override;
    size_t GetPayloadSize() const override;

private:
    Entries m_Entries;
};

}  // namespace Ferrox3D
