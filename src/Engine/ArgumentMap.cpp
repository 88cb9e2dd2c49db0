// String-keyed value maps: ownership rules, cloning, and their varint-count wire form.
#include "Engine/ArgumentMap.h"
#include <algorithm>
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"

namespace Ferrox3D {

void CArgumentMap::Set(const std::string& key, CArgument* pValue) {
    if (!F_ASSERT(pValue))
        return;
    auto [it, inserted] = m_Entries.emplace(key, pValue);
    if (inserted || it->second == pValue)
        return;
    CArgument* pOld = it->second;
    it->second = pValue;
    pOld->Release();
}

CArgument* CArgumentMap::Get(const std::string& key) const {
    auto it = m_Entries.find(key);
    return it == m_Entries.end() ? nullptr : it->second;
}

bool CArgumentMap::Remove(const std::string& key) {
    auto it = m_Entries.find(key);
    if (it == m_Entries.end())
        return false;
    CArgument* pValue = it->second;
    m_Entries.erase(it);
    pValue->Release();
    return true;
}

void CArgumentMap::Clear() {
    Entries entries;
    entries.swap(m_Entries);
    for (auto& entry : entries)
        entry.second->Release();
}

CArgument* CArgumentMap::Clone() const {
    auto* pClone = new CArgumentMap();
    pClone->SetNetObjectResolver(m_pResolver);
    pClone->Resize(m_Entries.size());
    for (const auto& entry : m_Entries) {
        CArgument* pValue = entry.second->Clone();
        pClone->Set(entry.first, pValue ? pValue : new CArgument(ARGUMENT_UNDEFINED));
    }
    return pClone;
}

bool CArgumentMap::ReadPayload(CBinaryReader& in, int depth) {
    if (depth >= MAX_VALUE_DEPTH) {
        LogWarn("CArgumentMap::Read - values nested deeper than %d", MAX_VALUE_DEPTH);
        return false;
    }
    uint32_t count;
    // Every entry holds at least its tag byte and its key length byte.
    if (!in.ReadVarint(count) || count > in.Remaining() / 2)
        return false;
    Clear();
    Resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t type;
        std::string key;
        if (!in.ReadUInt8(type) || !in.ReadString(key, MAX_WIRE_STRING))
            return false;
        CArgument* pValue = CreateElement(type, m_pResolver);
        if (!pValue) {
            LogWarn("CArgument::Create(%s) - Failed", GetArgumentTagName(type));
            return false;
        }
        if (!pValue->ReadPayload(in, depth + 1)) {
            pValue->Release();
            return false;
        }
        Set(key, pValue);
    }
    return true;
}

bool CArgumentMap::CanWrite(int depth) const {
    if (depth >= MAX_VALUE_DEPTH) {
        LogWarn("CArgument::Write - values nested deeper than %d", MAX_VALUE_DEPTH);
        return false;
    }
    return std::all_of(m_Entries.begin(), m_Entries.end(), [depth](const Entries::value_type& entry) {
        return entry.first.size() <= MAX_WIRE_STRING && entry.second->CanWrite(depth + 1);
    });
}

bool CArgumentMap::WritePayload(CBinaryWriter& out) const {
    if (!out.WriteVarint(static_cast<uint32_t>(m_Entries.size())))
        return false;
    for (const auto& entry : m_Entries) {
        if (!out.WriteUInt8(entry.second->GetType()) || !out.WriteString(entry.first) ||
            !entry.second->WritePayload(out))
            return false;
    }
    return true;
}

size_t CArgumentMap::GetPayloadSize() const {
    size_t size = GetVarintSize(static_cast<uint32_t>(m_Entries.size()));
    for (const auto& entry : m_Entries)
        size += 1 + GetVarintSize(static_cast<uint32_t>(entry.first.size())) + entry.first.size() +
                entry.second->GetPayloadSize();
    return size;
}

}  // namespace Ferrox3D
