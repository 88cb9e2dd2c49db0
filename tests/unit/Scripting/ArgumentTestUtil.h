// Helpers for script value tests: owned values, byte dumps and deep comparison.
#pragma once
#include <cstring>
#include <vector>
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentMap.h"
#include "Engine/Stream.h"

using Bytes = std::vector<uint8_t>;

template <typename T = Ferrox3D::CArgument>
Ferrox3D::Strong<T> Own(T* p) {
    return Ferrox3D::Strong<T>::Adopt(p);
}

inline Bytes WireBytes(const Ferrox3D::CArgument& value, bool* pOk = nullptr) {
    Ferrox3D::CUnlimitedStream stream;
    bool ok = value.Write(&stream);
    if (pOk)
        *pOk = ok;
    return Bytes(stream.GetData(), stream.GetData() + stream.GetLength());
}

// Same kind and payload, containers compared element by element (maps by key).
inline bool SameValue(const Ferrox3D::CArgument* a, const Ferrox3D::CArgument* b) {
    using namespace Ferrox3D;
    if (!a || !b || a->GetType() != b->GetType())
        return false;
    if (a->IsArray()) {
        auto *x = static_cast<const CArgumentArray*>(a), *y = static_cast<const CArgumentArray*>(b);
        if (x->GetArrayCount() != y->GetArrayCount())
            return false;
        for (size_t i = 0; i < x->GetArrayCount(); ++i)
            if (!SameValue(x->GetAt(i), y->GetAt(i)))
                return false;
        return true;
    }
    if (a->IsMap()) {
        auto *x = static_cast<const CArgumentMap*>(a), *y = static_cast<const CArgumentMap*>(b);
        if (x->GetCount() != y->GetCount())
            return false;
        for (const auto& entry : *x)
            if (!SameValue(entry.second, y->Get(entry.first)))
                return false;
        return true;
    }
    if (a->IsObject())
        return a->ToObject() == b->ToObject();
    if (a->IsFunction())
        return a->ToFunction() == b->ToFunction();
    return WireBytes(*a) == WireBytes(*b);
}
