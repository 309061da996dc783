// Floating-point values turned into the 32-bit whole numbers that key events
// carry. A plain conversion of a value beyond the 32-bit range, or of NaN, is
// undefined; these saturate instead.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace ardelvine::gauges {

// Truncated toward zero and held to the 32-bit range; NaN gives 0.
constexpr std::int32_t saturated_int32(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// A key event's parameter word for a signed whole number.
constexpr std::uint32_t event_parameter(std::int32_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace ardelvine::gauges
