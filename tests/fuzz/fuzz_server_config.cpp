// Fuzzes the configuration document and the whole configuration parse (no context: no log file).
#include <cstddef>
#include <cstdint>
#include <string>
#include "Engine/Log.h"
#include "Server/UrboServer.h"

namespace {
struct CSilentSink : Ferrox3D::ILogSink {
    void WriteLine(Ferrox3D::eLogType, const char*) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CSilentSink sink;
    Ferrox3D::SetLogSink(&sink);
    CServerConfiguration config;
    if (!config.Parse(std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    CUrboServer server;
    server.ParseConfig(config);
    return 0;
}
