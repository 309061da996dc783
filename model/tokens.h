// Token numbers: the simulation variables the gauges read, named after what
// each holds in the simulator, with its unit. Each number is written here
// once; the gauges, the host's simulated aircraft, the art generator and the
// tests use the names.
#pragma once

#include <cstdint>

namespace ardelvine::tokens {

// ---------------------------------------------------------------- electrical and lights (0 off, 1 on)
inline constexpr std::uint32_t PANEL_LIGHTS = 10;
inline constexpr std::uint32_t STROBE_LIGHTS = 11;
inline constexpr std::uint32_t PITOT_HEAT = 13;
inline constexpr std::uint32_t LANDING_LIGHTS = 14;
inline constexpr std::uint32_t BATTERY_MASTER = 364;
inline constexpr std::uint32_t BEACON_LIGHTS = 368;
inline constexpr std::uint32_t GENERATOR_SWITCH = 565;
inline constexpr std::uint32_t GENERATOR_ACTIVE = 566;  // the generator is charging
inline constexpr std::uint32_t NAVIGATION_LIGHTS = 619;
inline constexpr std::uint32_t AVIONICS_MASTER = 740;
inline constexpr std::uint32_t MAIN_BUS_VOLTAGE = 753;      // volts
inline constexpr std::uint32_t AVIONICS_BUS_VOLTAGE = 755;  // volts; the radios switch on above 20

// ---------------------------------------------------------------- radios
inline constexpr std::uint32_t ADF_FREQUENCY = 16;  // BCD hundreds, tens, units of kilohertz: 0x410
// 0x100 and up: thousands digit 1; the rest is the tenths digit
inline constexpr std::uint32_t ADF_FREQUENCY_EXTENDED = 18;
inline constexpr std::uint32_t COM1_FREQUENCY = 23;  // BCD without the leading 1: 0x2357 is 123.57 MHz
inline constexpr std::uint32_t NAV1_FREQUENCY = 24;  // BCD without the leading 1: 0x1130 is 111.30 MHz
inline constexpr std::uint32_t GPS_DRIVES_NAV1 = 848;  // 0 NAV, 1 GPS
inline constexpr std::uint32_t ADF_IDENT_AUDIO = 880;  // 1 while the ADF identifier is heard
// 1 while the NAV1 identifier is heard. The gauges never read it; the host
// keeps it so a scenario can see the tone switch act.
inline constexpr std::uint32_t NAV1_IDENT_AUDIO = 881;

// ---------------------------------------------------------------- transponder
inline constexpr std::uint32_t TRANSPONDER_CODE = 38;  // one octal digit per 4 bits: 0x7700

// ---------------------------------------------------------------- engine and fuel
inline constexpr std::uint32_t ENGINE_RUNNING = 60;  // above 0 while the engine runs
inline constexpr std::uint32_t FUEL_LEFT_MAIN_LEVEL = 289;  // 8388610 is a full tank
inline constexpr std::uint32_t FUEL_LEFT_MAIN_CAPACITY = 290;  // gallons
inline constexpr std::uint32_t FUEL_LEFT_AUX_LEVEL = 291;
inline constexpr std::uint32_t FUEL_LEFT_AUX_CAPACITY = 292;
inline constexpr std::uint32_t FUEL_RIGHT_AUX_LEVEL = 297;
inline constexpr std::uint32_t FUEL_RIGHT_AUX_CAPACITY = 298;
inline constexpr std::uint32_t FUEL_RIGHT_MAIN_LEVEL = 383;
inline constexpr std::uint32_t FUEL_RIGHT_MAIN_CAPACITY = 384;
inline constexpr std::uint32_t START_STATE_WATCH = 326;  // watched by the start-state gauges
inline constexpr std::uint32_t ENGINE_PRIMER = 361;
inline constexpr std::uint32_t CARBURETOR_HEAT = 365;
inline constexpr std::uint32_t ENGINE_RPM = 390;                  // revolutions per minute
inline constexpr std::uint32_t MANIFOLD_PRESSURE = 391;  // pounds per square foot: 70.7328 per inch of mercury
inline constexpr std::uint32_t MAGNETO_LEFT = 399;                // 0 or 1
inline constexpr std::uint32_t MAGNETO_RIGHT = 400;               // 0 or 1
inline constexpr std::uint32_t STARTER_ENGAGED = 401;             // 0 or 1
inline constexpr std::uint32_t CYLINDER_HEAD_TEMPERATURE = 415;  // degrees Rankine
inline constexpr std::uint32_t FUEL_PRESSURE = 425;  // pounds per square foot
inline constexpr std::uint32_t THROTTLE_LEVER = 558;   // 0 back to 1 forward
inline constexpr std::uint32_t PROPELLER_LEVER = 559;  // 0 back to 1 forward
inline constexpr std::uint32_t MIXTURE_LEVER = 560;    // 0 back to 1 forward
inline constexpr std::uint32_t OIL_TEMPERATURE = 561;  // degrees Rankine
inline constexpr std::uint32_t OIL_PRESSURE = 562;     // pounds per square foot
inline constexpr std::uint32_t FUEL_VALVE = 895;       // 1 open

// ---------------------------------------------------------------- airframe
inline constexpr std::uint32_t DIVE_BRAKE_POSITION = 327;  // 0 to 16384
inline constexpr std::uint32_t FLAPS_POSITION = 329;       // 0 to 16384
inline constexpr std::uint32_t GEAR_POSITION = 332;        // 0 up to 16384 down
inline constexpr std::uint32_t GEAR_LEFT_POSITION = 333;
inline constexpr std::uint32_t GEAR_RIGHT_POSITION = 334;
inline constexpr std::uint32_t HYDRAULIC_PRESSURE = 732;  // pounds per square foot
inline constexpr std::uint32_t TAIL_HOOK_POSITION = 869;  // 0 up to 1 down

// ---------------------------------------------------------------- flight instruments
inline constexpr std::uint32_t AIRSPEED_INDICATED = 61;  // knots
inline constexpr std::uint32_t VERTICAL_SPEED = 65;      // metres per second times 256
inline constexpr std::uint32_t TURN_BALL = 69;           // -127 left to 127 right
inline constexpr std::uint32_t TURN_RATE = 70;           // 256 per standard-rate mark
inline constexpr std::uint32_t ALTITUDE_INDICATED = 74;  // feet
inline constexpr std::uint32_t KOHLSMAN_SETTING = 76;    // inches of mercury
inline constexpr std::uint32_t ATTITUDE_PITCH = 78;      // degrees
inline constexpr std::uint32_t ATTITUDE_BANK = 80;       // degrees
inline constexpr std::uint32_t MAGNETIC_COMPASS = 83;    // degrees
inline constexpr std::uint32_t GYRO_HEADING = 84;        // degrees
inline constexpr std::uint32_t GYRO_DRIFT = 85;          // 0x10000 per turn of the setting
inline constexpr std::uint32_t OUTSIDE_AIR_TEMPERATURE = 341;  // degrees Celsius
inline constexpr std::uint32_t TIME_OF_DAY = 557;             // seconds since midnight
inline constexpr std::uint32_t ATTITUDE_BARS_POSITION = 612;
inline constexpr std::uint32_t ATTITUDE_CAGE = 825;  // 0, 1, 2: the cage knob's picture

// ---------------------------------------------------------------- navigation indicators
inline constexpr std::uint32_t ADF_CARD = 22;              // degrees
inline constexpr std::uint32_t ADF_BEARING = 39;           // degrees, relative
inline constexpr std::uint32_t VOR1_COURSE_DEVIATION = 40;  // -127 to 127
inline constexpr std::uint32_t VOR1_GLIDE_SLOPE = 41;       // -119 to 119
inline constexpr std::uint32_t VOR1_SIGNAL = 43;            // 0 no station
inline constexpr std::uint32_t VOR1_TO_FROM = 44;           // 0 or 1
inline constexpr std::uint32_t VOR1_COURSE = 45;            // degrees

// ---------------------------------------------------------------- autopilot (0 off, above 0 on, unless a value)
inline constexpr std::uint32_t AUTOPILOT_AVAILABLE = 87;
inline constexpr std::uint32_t AUTOPILOT_ENGAGED = 103;
inline constexpr std::uint32_t AUTOPILOT_WING_LEVELER = 104;
inline constexpr std::uint32_t AUTOPILOT_NAV1_HOLD = 105;
inline constexpr std::uint32_t AUTOPILOT_HEADING_HOLD = 106;
inline constexpr std::uint32_t AUTOPILOT_HEADING = 107;  // degrees
inline constexpr std::uint32_t AUTOPILOT_ALTITUDE_HOLD = 108;
inline constexpr std::uint32_t AUTOPILOT_ALTITUDE = 109;  // feet
inline constexpr std::uint32_t AUTOPILOT_ATTITUDE_HOLD = 110;
inline constexpr std::uint32_t AUTOPILOT_GLIDE_SLOPE_HOLD = 111;
inline constexpr std::uint32_t AUTOPILOT_APPROACH_HOLD = 112;
inline constexpr std::uint32_t AUTOPILOT_BACK_COURSE_HOLD = 113;
inline constexpr std::uint32_t AUTOPILOT_YAW_DAMPER = 114;
inline constexpr std::uint32_t AUTOPILOT_AIRSPEED_HOLD = 115;
inline constexpr std::uint32_t AUTOPILOT_AIRSPEED = 116;  // knots
inline constexpr std::uint32_t AUTOPILOT_MACH_HOLD = 117;
inline constexpr std::uint32_t AUTOPILOT_MACH = 118;
inline constexpr std::uint32_t AUTOPILOT_VERTICAL_SPEED_HOLD = 119;
inline constexpr std::uint32_t AUTOPILOT_VERTICAL_SPEED = 120;  // feet per minute
inline constexpr std::uint32_t AUTOTHROTTLE_ARMED = 123;
inline constexpr std::uint32_t AUTOPILOT_RPM_HOLD = 124;
inline constexpr std::uint32_t AUTOPILOT_RPM = 125;  // revolutions per minute
inline constexpr std::uint32_t FLIGHT_DIRECTOR_ACTIVE = 792;
inline constexpr std::uint32_t AUTOTHROTTLE_ACTIVE = 819;

}  // namespace ardelvine::tokens
