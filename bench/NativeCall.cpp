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

// One call as a binding makes it once its values are converted: state, call, read the result.
float CallThroughState(CScripting& scripting, const ReflectedFunction& function, CArgumentArray& arguments) {
    CNativeState call(&scripting, nullptr, &arguments);
    float result = 0;
    if (function.Call(call))
        call.GetReturnValue()->ToNumber(result);
    return result;
}

void FillArguments(CArgumentArray& arguments) {
    arguments.AddNumber(1.0f);
    arguments.AddNumber(2.0);
    arguments.AddVector3D({3, 4, 5});
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

void ThroughNativeState(benchmark::State& state) {
    CScripting scripting;
    ReflectedFunction* pFunction = scripting.GetGlobal()->RegisterFunction("distance", "ffv", NativeDistance);
    CArgumentArray arguments(3);
    FillArguments(arguments);
    for (auto _ : state)
        benchmark::DoNotOptimize(CallThroughState(scripting, *pFunction, arguments));
}
BENCHMARK(ThroughNativeState);

// The same, including building the argument array each time as a binding converts its values.
void ThroughNativeStateWithArguments(benchmark::State& state) {
    CScripting scripting;
    ReflectedFunction* pFunction = scripting.GetGlobal()->RegisterFunction("distance", "ffv", NativeDistance);
    for (auto _ : state) {
        CArgumentArray arguments(3);
        FillArguments(arguments);
        benchmark::DoNotOptimize(CallThroughState(scripting, *pFunction, arguments));
    }
}
BENCHMARK(ThroughNativeStateWithArguments);

}  // namespace
