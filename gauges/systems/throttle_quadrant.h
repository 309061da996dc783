// The throttle quadrant's levers as the rest of the module and its tests see
// them: the key event each slot sends, the variable each lever follows, and
// how a height in a slot becomes a lever position.
#pragma once

#include <cstdint>

namespace ardelvine::gauges {

inline constexpr std::uint32_t kLever1Event = 65820;  // left lever, position 0..16384
inline constexpr std::uint32_t kLever2Event = 65923;  // middle lever
inline constexpr std::uint32_t kLever3Event = 65919;  // right lever
inline constexpr std::uint32_t kLever1Token = 558;    // 0 fully back .. 1 fully forward
inline constexpr std::uint32_t kLever2Token = 559;
inline constexpr std::uint32_t kLever3Token = 560;

// The position for a click `y` pixels below the top of a slot `height` pixels
// high: 1 at the top, 0 at the bottom and below, never outside 0..1. A slot of
// no height gives 0.
double lever_fraction(std::int32_t y, std::int32_t height);

}  // namespace ardelvine::gauges
