// The autopilot annunciator's shape and its readout text, for the module's
// tests and tools.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ardelvine::gauges {

inline constexpr std::uint32_t kApReadoutChars = 6;
inline constexpr std::size_t kApReadouts = 6;     // after the panel and the foot lamp
inline constexpr std::size_t kApLamps = 18;       // after the readouts
inline constexpr std::size_t kApModeLamps = 19;   // after the lamps
inline constexpr std::size_t kApTesterElements = 2 + kApReadouts + kApLamps + kApModeLamps;
static_assert(kApTesterElements == 45);

// A readout's text for value `v`: the number rounded to a whole and right-
// aligned in six characters. False, leaving `text` alone, when it cannot be
// shown: not a number, infinite, below -10000, or seven digits or more.
bool ap_readout_format(double v, char (&text)[kApReadoutChars + 1]);

}  // namespace ardelvine::gauges
