// Monotonic clock: CLOCK_MONOTONIC_RAW in nanoseconds, gettimeofday in microseconds as a fallback.
#include "Engine/Clock.h"
#include <sys/time.h>
#include <ctime>

namespace Ferrox3D {

namespace {
uint64_t g_StartTicks = 0;
uint64_t g_Frequency = 0;

bool ReadRawClock(uint64_t& ticks) {
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_RAW, &now) != 0)
        return false;
    ticks = static_cast<uint64_t>(now.tv_sec) * 1000000000ull + static_cast<uint64_t>(now.tv_nsec);
    return true;
}
}  // namespace

void InitialiseClock() {
    uint64_t ticks;
    g_Frequency = ReadRawClock(ticks) ? 1000000000ull : 1000000ull;
    g_StartTicks = GetClockTicks();
}

uint64_t GetClockFrequency() {
    if (g_Frequency == 0)
        InitialiseClock();
    return g_Frequency;
}

uint64_t GetClockTicks() {
    uint64_t ticks;
    if (GetClockFrequency() == 1000000000ull && ReadRawClock(ticks))
        return ticks;
    timeval now{};
    gettimeofday(&now, nullptr);
    return static_cast<uint64_t>(now.tv_sec) * 1000000ull + static_cast<uint64_t>(now.tv_usec);
}

uint32_t GetMillisecondsNow() {
    uint64_t elapsed = GetClockTicks() - g_StartTicks;
    return static_cast<uint32_t>(elapsed / (GetClockFrequency() / 1000));
}

}  // namespace Ferrox3D
