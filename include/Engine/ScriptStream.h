// The object behind the script class Stream: a strong reference to a stream, null once closed.
#pragma once
#include "Engine/ObjectModel.h"
#include "Engine/Stream.h"

namespace Ferrox3D {

class CScriptStream : public CObjectValue<Strong<Stream>> {
public:
    explicit CScriptStream(Stream* pStream) : CObjectValue(Strong<Stream>(pStream)) {}
    Stream* GetStream() const { return m_Value.Get(); }
    virtual void Close() { m_Value.Reset(); }
};

}  // namespace Ferrox3D
