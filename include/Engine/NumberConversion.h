// Floating to integer conversions of script numbers: truncate toward zero, saturate at the
// target's range, NaN gives 0 (a plain cast would be undefined for those).
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace Ferrox3D {

inline int32_t DoubleToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    if (value >= 2147483648.0)
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

inline int64_t DoubleToInt64(double value) {
    if (std::isnan(value))
        return 0;
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(value);
}

// Values from 2^63 up convert by subtracting 2^63 first; negative values keep the bits of their
// int64 conversion (so -1 gives all ones, as an integer would).
inline uint64_t DoubleToUInt64(double value) {
    constexpr double twoTo63 = 9223372036854775808.0;
    if (std::isnan(value))
        return 0;
    if (value >= 2.0 * twoTo63)
        return std::numeric_limits<uint64_t>::max();
    if (value >= twoTo63)
        return static_cast<uint64_t>(static_cast<int64_t>(value - twoTo63)) + (uint64_t(1) << 63);
    return static_cast<uint64_t>(DoubleToInt64(value));
}

// The low 32 bits of the uint64 conversion: 4278255360.0 gives 0xFF00FF00, -1.0 all ones.
inline uint32_t DoubleToUInt32(double value) { return static_cast<uint32_t>(DoubleToUInt64(value)); }

}  // namespace Ferrox3D
