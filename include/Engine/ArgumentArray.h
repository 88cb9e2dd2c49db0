// Ordered lists of script values (call arguments, results, event data, network event payloads).
#pragma once
#include <vector>
#include "Engine/ArgumentKinds.h"

namespace Ferrox3D {

// Owns one reference to each element. On the wire: a one-byte count, then tag and payload of
// each element.
class CArgumentArray : public CArgument {
public:
    explicit CArgumentArray(size_t capacity = 0);
    ~CArgumentArray() override { Clear(); }

    void AddBoolean(bool value) { AddAndOwn(new CArgumentBoolean(value)); }
    void AddString(const char* text);
    void AddString(const char* text, size_t length) { AddAndOwn(new CArgumentString(text, length)); }
    void AddNumber(int8_t value) { AddNumber(static_cast<int32_t>(value)); }
    void AddNumber(uint8_t value) { AddNumber(static_cast<int32_t>(value)); }
    void AddNumber(int16_t value) { AddNumber(static_cast<int32_t>(value)); }
    void AddNumber(uint16_t value) { AddNumber(static_cast<int32_t>(value)); }
    void AddNumber(int32_t value) { AddAndOwn(new CArgumentInteger(value)); }
    void AddNumber(uint32_t value) { AddNumber(static_cast<int32_t>(value)); }  // keeps the bits
    void AddNumber(long value) { AddAndOwn(new CArgumentLongInteger(static_cast<int64_t>(value))); }
    void AddNumber(unsigned long value) { AddNumber(static_cast<long>(value)); }
    void AddNumber(long long value) { AddAndOwn(new CArgumentLongInteger(static_cast<int64_t>(value))); }
    void AddNumber(unsigned long long value) { AddNumber(static_cast<long long>(value)); }
    void AddNumber(float value) { AddAndOwn(new CArgumentFloat(value)); }
    void AddNumber(double value) { AddAndOwn(new CArgumentDouble(value)); }
    void AddVector2D(const CVector2D& value) { AddAndOwn(new CArgumentVector2D(value)); }
    void AddVector3D(const CVector3D& value) { AddAndOwn(new CArgumentVector3D(value)); }
    void AddMatrix4x4(const CMatrix4x4& value) { AddAndOwn(new CArgumentMatrix4x4(value)); }
    void AddBytes(const void* pData, size_t length) { AddAndOwn(new CArgumentBytes(pData, length)); }
    void AddNull() { AddAndOwn(new CArgument(ARGUMENT_NIL)); }
    void AddUndefined() { AddAndOwn(new CArgument(ARGUMENT_UNDEFINED)); }
    void AddObject(CBaseObject* pObject) { AddAndOwn(CArgument::Create(pObject)); }
    void AddFunction(CFunction* pFunction) { AddAndOwn(new CArgumentFunction(pFunction)); }
    // Appends a clone; an undefined value when pValue is null or cannot be cloned.
    void Add(const CArgument* pValue);
    // Appends the value itself, taking over the caller's reference (a null value is skipped).
    void AddAndOwn(CArgument* pValue);

    size_t GetArrayCount() const { return m_Elements.size(); }
    // Borrowed; null when the index is not below the count.
    CArgument* GetAt(size_t index) const { return index < m_Elements.size() ? m_Elements[index] : nullptr; }
    // Appends clones of all elements to pTarget, as Add does.
    void InsertTo(CArgumentArray* pTarget) const;
    void Resize(size_t capacity) { m_Elements.reserve(capacity); }
    void Clear();
    // Moves all elements to the end of pTarget and leaves this array empty; no counts change.
    void Move(CArgumentArray* pTarget);

    CArgument* Clone() const override;
    bool ReadPayload(CBinaryReader& in, int depth) override;
    bool WritePayload(CBinaryWriter& out) const override;
    bool CanWrite(int depth) const override;
    size_t GetPayloadSize() const override;

    std::vector<CArgument*>::const_iterator begin() const { return m_Elements.begin(); }
    std::vector<CArgument*>::const_iterator end() const { return m_Elements.end(); }

private:
    std::vector<CArgument*> m_Elements;
};

// The result array of a call; its first element is the returned value.
class CReturnValue : public CArgumentArray {
public:
    CReturnValue() : CArgumentArray(1) {}
    CArgument* GetReturnArgument() const { return GetAt(0); }
};

}  // namespace Ferrox3D
