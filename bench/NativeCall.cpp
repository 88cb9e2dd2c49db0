// Cost of one native call through CNativeState (checks and result) against the plain C++ call.
#include <benchmark/benchmark.h>
#include "Engine/NativeState.h"

using namespace Ferrox3D;

namespace {

float Distance2D(float x, float y, const CVector3D& point) {
    float dx = point.x - x, dy = point.y - y;
    return dx * dx + dy * dy;
}

bool NativeDistance(CNativeState* pState, int32_t, void*) {
    float x, y;
    CVector3D point;
    if (!pState->CheckNumber(0, x) || !pState->CheckNumber(1, y) || !pState->CheckVector3D(2, point))
        return false;
    pState->ReturnNumber(Distance2D(x, y, point));
    return true;
}

void DirectCall(benchmark::State& state) {
    float x = 1.0f, y = 2.0f;
    CVector3D point(3, 4, 5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(point);
        benchmark::DoNotOptimize(Distance2D(x, y, point));
    }
}
BENCHMARK(DirectCall);

// What a binding does per call once its own values are converted: state, call, read the result.
void ThroughNativeState(benchmark::State& state) {
    CScripting scripting;
    ReflectedFunction* pFunction = scripting.GetGlobal()->RegisterFunction("distance", "ffv", NativeDistance);
    CArgumentArray arguments(3);
    arguments.AddNumber(1.0f);
    arguments.AddNumber(2.0);
    arguments.AddVector3D({3, 4, 5});
    for (auto _ : state) {
        CNativeState call(&scripting, nullptr, &arguments);
        bool ok = pFunction->Call(call);
        float result = 0;
        call.GetReturnValue()->ToNumber(result);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(ThroughNativeState);

// The same, including building the argument array each time as a binding converts its values.
void ThroughNativeStateWithArguments(benchmark::State& state) {
    CScripting scripting;
    ReflectedFunction* pFunction = scripting.GetGlobal()->RegisterFunction("distance", "ffv", NativeDistance);
    for (auto _ : state) {
        CArgumentArray arguments(3);
        arguments.AddNumber(1.0f);
        arguments.AddNumber(2.0);
        arguments.AddVector3D({3, 4, 5});
        CNativeState call(&scripting, nullptr, &arguments);
        bool ok = pFunction->Call(call);
        float result = 0;
        call.GetReturnValue()->ToNumber(result);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(ThroughNativeStateWithArguments);

}  // namespace
