// The monotonic clock behind frame timing and "milliseconds now".
#pragma once
#include <cstdint>

namespace Ferrox3D {

// Records the start tick; called once by the context before anything is timed.
void InitialiseClock();
uint64_t GetClockTicks();           // nanoseconds of CLOCK_MONOTONIC_RAW (microseconds where missing)
uint64_t GetClockFrequency();       // ticks per second
uint32_t GetMillisecondsNow();      // (ticks - start ticks) * 1000 / frequency, truncated

}  // namespace Ferrox3D
