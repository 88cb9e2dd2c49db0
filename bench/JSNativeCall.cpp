// A native call from JavaScript through the reflection layer against a bare JSNative doing the same work.
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <js/CallAndConstruct.h>
#include <js/PropertyAndElement.h>
#include "Engine/NativeState.h"
#include "JSScripting/JSScriptEnvironment.h"
#include "JSScripting/JSScripting.h"

using namespace Ferrox3D;

namespace {

int32_t Add(int32_t a, int32_t b) { return a + b; }

bool ReflectedAdd(CNativeState* pState, int32_t, void*) {
    int32_t a, b;
    if (!pState->CheckNumber(0, a) || !pState->CheckNumber(1, b))
        return false;
    pState->ReturnNumber(Add(a, b));
    return true;
}

// The same checks and work written straight against the engine.
bool BareAdd(JSContext* cx, unsigned argc, JS::Value* vp) {
    JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
    if (!args.get(0).isNumber() || !args.get(1).isNumber()) {
        JS_ReportErrorASCII(cx, "Expected integer for argument 1");
        return false;
    }
    int32_t a = args[0].isInt32() ? args[0].toInt32() : static_cast<int32_t>(args[0].toDouble());
    int32_t b = args[1].isInt32() ? args[1].toInt32() : static_cast<int32_t>(args[1].toDouble());
    args.rval().setInt32(Add(a, b));
    return true;
}

constexpr int32_t CALLS_PER_RUN = 1000;
const char* s_Script =
    "function viaReflection(n) { let s = 0; for (let i = 0; i < n; ++i) s = add(s, 1); return s; }\n"
    "function viaBareNative(n) { let s = 0; for (let i = 0; i < n; ++i) s = bareAdd(s, 1); return s; }\n";

// One language and one resource for the whole run (the engine starts once per process).
struct tHost {
    CScripting reflection;
    std::unique_ptr<CJSScripting> pLanguage;
    CJSScriptEnvironment* pEnvironment = nullptr;

    tHost() {
        reflection.GetGlobal()->RegisterFunction("add", "ii", ReflectedAdd);
        pLanguage = std::make_unique<CJSScripting>(&reflection);
        pEnvironment = pLanguage->CreateEnvironment("bench");
        JSContext* cx = pLanguage->GetContext();
        JSAutoRealm realm(cx, pEnvironment->GetGlobal());
        JS::RootedObject global(cx, pEnvironment->GetGlobal());
        JS_DefineFunction(cx, global, "bareAdd", BareAdd, 2, 0);
        pEnvironment->DoString(s_Script, strlen(s_Script), "bench.js");
    }
    ~tHost() {
        pEnvironment->Destroy();
        pLanguage.reset();
    }
};

tHost& Host() {
    static tHost s_Host;
    return s_Host;
}

void RunLoop(benchmark::State& state, const char* pszFunction) {
    tHost& host = Host();
    JSContext* cx = host.pLanguage->GetContext();
    CJSCallScope scope(*host.pLanguage, host.pEnvironment, host.pEnvironment->GetGlobal());
    JS::RootedObject global(cx, host.pEnvironment->GetGlobal());
    JS::RootedValue function(cx), result(cx);
    JS::RootedValueArray<1> arguments(cx);
    arguments[0].setInt32(CALLS_PER_RUN);
    if (!JS_GetProperty(cx, global, pszFunction, &function)) {
        state.SkipWithError("function missing");
        return;
    }
    for (auto _ : state) {
        if (!JS::Call(cx, JS::UndefinedHandleValue, function, arguments, &result) || result.toInt32() != CALLS_PER_RUN) {
            state.SkipWithError("call failed");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * CALLS_PER_RUN);
}

void ReflectedNativeFromJS(benchmark::State& state) { RunLoop(state, "viaReflection"); }
BENCHMARK(ReflectedNativeFromJS);

void BareJSNative(benchmark::State& state) { RunLoop(state, "viaBareNative"); }
BENCHMARK(BareJSNative);

}  // namespace
