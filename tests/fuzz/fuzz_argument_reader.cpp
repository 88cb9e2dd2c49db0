// Fuzzes the script value reader: arrays and maps of any kind, nesting, network object ids.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include "Engine/ArgumentArray.h"
#include "Engine/ArgumentMap.h"
#include "Engine/Log.h"
#include "Engine/Stream.h"

namespace {
class NullSink : public Ferrox3D::ILogSink {
    void WriteLine(Ferrox3D::eLogType, const char*) override {}
};

class Resolver : public Ferrox3D::INetObjectResolver {
public:
    Ferrox3D::CBaseObject object;
    Ferrox3D::CBaseObject* FindNetObject(int32_t id) override { return id == 1 ? &object : nullptr; }
    bool GetNetObjectId(Ferrox3D::CBaseObject* pObject, int32_t& id) override {
        return pObject == &object ? (id = 1, true) : false;
    }
};

// A value that was read must write, and what it writes must read again.
void CheckRoundTrip(Ferrox3D::CArgument& value, Ferrox3D::CArgument& fresh) {
    Ferrox3D::CUnlimitedStream out;
    if (!value.Write(&out))
        abort();
    out.Seek(0, Ferrox3D::SEEK_ORIGIN_START);
    if (!fresh.Read(&out) || out.Remaining() != 0)
        abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NullSink sink;
    Ferrox3D::SetLogSink(&sink);
    static Resolver resolver;
    if (size == 0)
        return 0;
    bool asMap = data[0] & 1;
    bool withResolver = data[0] & 2;
    Ferrox3D::CMemoryStream stream(data + 1, size - 1);
    Ferrox3D::Strong<Ferrox3D::CArgument> value, fresh;
    if (asMap) {
        value = Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(new Ferrox3D::CArgumentMap());
        fresh = Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(new Ferrox3D::CArgumentMap());
    } else {
        value = Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(new Ferrox3D::CArgumentArray());
        fresh = Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(new Ferrox3D::CArgumentArray());
    }
    value->SetNetObjectResolver(withResolver ? &resolver : nullptr);
    fresh->SetNetObjectResolver(withResolver ? &resolver : nullptr);
    if (value->Read(&stream)) {
        Ferrox3D::Strong<Ferrox3D::CArgument> clone = Ferrox3D::Strong<Ferrox3D::CArgument>::Adopt(value->Clone());
        CheckRoundTrip(*value, *fresh);
        CheckRoundTrip(*clone, *fresh);
    }
    return 0;
}
