// Failure keys: the host's failures that the gauges' failure records name,
// each after the system or instrument that fails. Each number is written here
// once; the gauges, the host's simulation and the tests use the names.
#pragma once

#include <cstdint>

namespace ardelvine::failures {

// ---------------------------------------------------------------- systems
inline constexpr std::uint32_t ENGINE = 2;         // engine and systems needles, the attitude gyro
inline constexpr std::uint32_t PITOT_STATIC = 3;   // airspeed, altimeter and vertical speed
inline constexpr std::uint32_t VACUUM = 4;         // the attitude gyro
inline constexpr std::uint32_t ELECTRICAL = 20;    // lamps, displays and electric needles
inline constexpr std::uint32_t AVIONICS = 21;      // the radios' displays and lamps, two warning lights

// ---------------------------------------------------------------- instruments
inline constexpr std::uint32_t ADF = 5;
inline constexpr std::uint32_t AIRSPEED = 6;
inline constexpr std::uint32_t ALTIMETER = 7;
inline constexpr std::uint32_t ATTITUDE = 8;
inline constexpr std::uint32_t COM = 9;
inline constexpr std::uint32_t COMPASS = 12;       // the gyro and the magnetic compass cards
inline constexpr std::uint32_t NAV = 14;
inline constexpr std::uint32_t TRANSPONDER = 17;
inline constexpr std::uint32_t TURN_COORDINATOR = 18;
inline constexpr std::uint32_t VERTICAL_SPEED = 19;

}  // namespace ardelvine::failures
