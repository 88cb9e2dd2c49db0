// Argument arrays: building, cloning, moving, and their one-byte-count wire form.
#include "Engine/ArgumentArray.h"
#include "Engine/BinaryIO.h"
#include "Engine/Limits.h"
#include "Engine/Log.h"

namespace Ferrox3D {

CArgumentArray::CArgumentArray(size_t capacity) : CArgument(ARGUMENT_ARRAY) { m_Elements.reserve(capacity); }

void CArgumentArray::AddString(const char* text) { AddAndOwn(new CArgumentString(text)); }

void CArgumentArray::Add(const CArgument* pValue) {
    CArgument* pClone = pValue ? pValue->Clone() : nullptr;
    AddAndOwn(pClone ? pClone : new CArgument(ARGUMENT_UNDEFINED));
}

void CArgumentArray::AddAndOwn(CArgument* pValue) {
    if (F_ASSERT(pValue))
        m_Elements.push_back(pValue);
}

void CArgumentArray::InsertTo(CArgumentArray* pTarget) const {
    pTarget->Resize(pTarget->GetArrayCount() + m_Elements.size());
    for (CArgument* pValue : m_Elements)
        pTarget->Add(pValue);
}

void CArgumentArray::Clear() {
    std::vector<CArgument*> elements;
    elements.swap(m_Elements);
    for (CArgument* pValue : elements)
        pValue->Release();
}

void CArgumentArray::Move(CArgumentArray* pTarget) {
    if (pTarget == this)
        return;
    pTarget->m_Elements.insert(pTarget->m_Elements.end(), m_Elements.begin(), m_Elements.end());
    m_Elements.clear();
}

CArgument* CArgumentArray::Clone() const {
    auto* pClone = new CArgumentArray(m_Elements.size());
    pClone->SetNetObjectResolver(m_pResolver);
    for (CArgument* pValue : m_Elements) {
        CArgument* pElement = pValue->Clone();
        // A kind that cannot be copied stays as a placeholder, so positions keep their meaning.
        pClone->m_Elements.push_back(pElement ? pElement : new CArgument(ARGUMENT_UNDEFINED));
    }
    return pClone;
}

bool CArgumentArray::ReadPayload(CBinaryReader& in, int depth) {
    Clear();
    if (depth >= MAX_VALUE_DEPTH) {
        LogWarn("CArgumentArray::Read - values nested deeper than %d", MAX_VALUE_DEPTH);
        return false;
    }
    uint8_t count;
    if (!in.ReadUInt8(count) || count > in.Remaining())  // every element has at least its tag byte
        return false;
    m_Elements.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        uint8_t type;
        if (!in.ReadUInt8(type))
            return false;
        CArgument* pValue = CreateElement(type, m_pResolver);
        if (!pValue) {
            LogWarn("CArgument::Create(%s) - Failed. (Argument %u of %u)", GetArgumentTagName(type), i + 1, count);
            return false;
        }
        if (!pValue->ReadPayload(in, depth + 1)) {
            pValue->Release();
            return false;
        }
        m_Elements.push_back(pValue);
    }
    return true;
}

bool CArgumentArray::CanWrite(int depth) const {
    if (depth >= MAX_VALUE_DEPTH) {
        LogWarn("CArgument::Write - values nested deeper than %d", MAX_VALUE_DEPTH);
        return false;
    }
    if (m_Elements.size() > MAX_WIRE_ARRAY_ELEMENTS) {
        LogWarn("CArgument::Write - an array of %zu elements is longer than %zu", m_Elements.size(),
                MAX_WIRE_ARRAY_ELEMENTS);
        return false;
    }
    for (const CArgument* pValue : m_Elements)
        if (!pValue->CanWrite(depth + 1))
            return false;
    return true;
}

bool CArgumentArray::WritePayload(CBinaryWriter& out) const {
    if (!out.WriteUInt8(static_cast<uint8_t>(m_Elements.size())))
        return false;
    for (const CArgument* pValue : m_Elements)
        if (!out.WriteUInt8(pValue->GetType()) || !pValue->WritePayload(out))
            return false;
    return true;
}

size_t CArgumentArray::GetPayloadSize() const {
    size_t size = 1;
    for (const CArgument* pValue : m_Elements)
        size += 1 + pValue->GetPayloadSize();
    return size;
}

}  // namespace Ferrox3D
