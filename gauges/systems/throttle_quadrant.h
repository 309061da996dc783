// The throttle quadrant's levers as the rest of the module and its tests see
// them: the key event each slot sends (its parameter the position, 0 to 16384),
// the variable each lever follows (0 fully back, 1 fully forward), and
// how a height in a slot becomes a lever position.
#pragma once

#include <cstdint>

#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::gauges {

// Left to right: throttle, propeller, mixture.
inline constexpr std::uint32_t kLever1Event = events::THROTTLE_SET;
inline constexpr std::uint32_t kLever2Event = events::PROPELLER_SET;
inline constexpr std::uint32_t kLever3Event = events::MIXTURE_SET;
inline constexpr std::uint32_t kLever1Token = tokens::THROTTLE_LEVER;
inline constexpr std::uint32_t kLever2Token = tokens::PROPELLER_LEVER;
inline constexpr std::uint32_t kLever3Token = tokens::MIXTURE_LEVER;

// The position for a click `y` pixels below the top of a slot `height` pixels
// high: 1 at the top, 0 at the bottom and below, never outside 0..1. A slot of
// no height gives 0.
double lever_fraction(std::int32_t y, std::int32_t height);

}  // namespace ardelvine::gauges
