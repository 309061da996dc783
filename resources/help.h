// Help ids: the host's own tooltip texts that mouse areas name instead of a
// text of the module. Each number is written here once; the gauges, the
// host's table of texts and the tests use the names.
#pragma once

#include <cstdint>

namespace ardelvine::help {

// ---------------------------------------------------------------- instruments
inline constexpr std::uint32_t AIRSPEED_INDICATOR = 0x3002;
inline constexpr std::uint32_t CLOCK = 0x3018;
inline constexpr std::uint32_t GENERATOR_WARNING_LIGHT = 0x3032;
inline constexpr std::uint32_t ALTIMETER = 0x3051;
inline constexpr std::uint32_t ALTIMETER_SETTING_KNOB = 0x3054;
inline constexpr std::uint32_t TURN_COORDINATOR = 0x3090;
inline constexpr std::uint32_t ATTITUDE_INDICATOR = 0x3092;
inline constexpr std::uint32_t VERTICAL_SPEED_INDICATOR = 0x3099;
inline constexpr std::uint32_t MANIFOLD_PRESSURE = 0x30A0;
inline constexpr std::uint32_t CYLINDER_HEAD_TEMPERATURE = 0x30D0;
inline constexpr std::uint32_t TRANSPONDER = 0x3180;
inline constexpr std::uint32_t THROTTLE_LEVER = 0x3190;
inline constexpr std::uint32_t PROPELLER_LEVER = 0x3198;
inline constexpr std::uint32_t MIXTURE_LEVER = 0x31A0;
inline constexpr std::uint32_t MAGNETIC_COMPASS = 0x31B8;
inline constexpr std::uint32_t HEADING_INDICATOR = 0x3208;
inline constexpr std::uint32_t TACHOMETER = 0x3210;
inline constexpr std::uint32_t OUTSIDE_AIR_TEMPERATURE = 0x3224;
inline constexpr std::uint32_t CARBURETOR_HEAT = 0x3343;

// ---------------------------------------------------------------- areas of a gauge
inline constexpr std::uint32_t CLOCK_AREA = 0xAB16;  // the same text as CLOCK
inline constexpr std::uint32_t OIL_TEMPERATURE_AND_PRESSURE = 0xAB2C;
inline constexpr std::uint32_t HEADING_INDICATOR_AREA = 0xAB35;  // the same text as HEADING_INDICATOR
inline constexpr std::uint32_t NAV_GPS_SWITCH = 0xAB4D;
inline constexpr std::uint32_t OIL_PRESSURE = 0xAB4E;
inline constexpr std::uint32_t OIL_TEMPERATURE = 0xAB4F;
inline constexpr std::uint32_t STARTER_SWITCH = 0xAB65;

// ---------------------------------------------------------------- window buttons
inline constexpr std::uint32_t RADIO_STACK_WINDOW = 0xAB86;
inline constexpr std::uint32_t GPS_WINDOW = 0xAB87;
inline constexpr std::uint32_t THROTTLE_QUADRANT_WINDOW = 0xAB88;
inline constexpr std::uint32_t COMPASS_WINDOW = 0xAB89;
inline constexpr std::uint32_t FUEL_PANEL_WINDOW = 0xAB8A;
inline constexpr std::uint32_t COLLECTIVE_WINDOW = 0xAB8B;
inline constexpr std::uint32_t MAP_WINDOW = 0xAB8F;
inline constexpr std::uint32_t KNEEBOARD_WINDOW = 0xAB93;
inline constexpr std::uint32_t ATC_WINDOW = 0xAB94;

}  // namespace ardelvine::help
