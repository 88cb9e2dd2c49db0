// Fuzzes the reader of "/commandline.txt" over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include "Engine/Log.h"
#include "Server/CommandFile.h"

namespace {
struct CSilentSink : Ferrox3D::ILogSink {
    void WriteLine(Ferrox3D::eLogType, const char*) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CSilentSink sink;
    Ferrox3D::SetLogSink(&sink);
    Ferrox3D::CMemoryStream stream(data, size);
    ReadCommandFileLines(&stream);
    return 0;
}
