// Element attributes as script values: made from and turned into the wire payload they keep.
#include "Engine/Argument.h"
#include "Engine/ArgumentKinds.h"
#include "Engine/ElementChunk.h"

namespace Ferrox3D {

CArgument* CElementChunk::CreateAttributeArgument(const char* name, INetObjectResolver* pResolver) const {
    const tAttributeValue* stored = GetAttributeValue(name);
    if (!stored)
        return nullptr;
    if (stored->m_Tag == ATTRIBUTE_TAG_STRING) {
        auto* text = new CArgumentString();
        text->SetString(stored->m_Data.data(), stored->m_Data.size());
        return text;
    }
    CArgument* value = CArgument::CreateElement(stored->m_Tag, pResolver);
    if (!value)
        return nullptr;
    CMemoryStream payload(stored->m_Data.data(), stored->m_Data.size());
    if (!value->Read(&payload)) {
        value->Release();
        return nullptr;
    }
    return value;
}

bool CElementChunk::SetAttributeArgument(const std::string& name, const CArgument& value) {
    if (value.IsString()) {
        size_t length = 0;
        const char* text = value.ToString(&length);
        SetAttributeValue(name, tAttributeValue{ATTRIBUTE_TAG_STRING, std::string(text, length)});
        return true;
    }
    CUnlimitedStream payload;
    if (!value.Write(&payload))
        return false;
    SetAttributeValue(name, tAttributeValue{value.GetType(),
                                            std::string(reinterpret_cast<const char*>(payload.GetData()),
                                                        payload.GetLength())});
    return true;
}

}  // namespace Ferrox3D
