// Token numbers: the simulation variables the gauges read, named after what
// each holds in the simulator, with its unit. Each number is written here
// once; the gauges, the host's simulated aircraft, the art generator and the
// tests use the names, and the host's catalogue shows name and unit.
//
// One list makes both the constants and kAll, so a token cannot be named in
// one and missing from the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

// X(name, number, unit): the unit, or what the values mean.
#define ARDELVINE_TOKENS(X) \
    /* electrical and lights (0 off, 1 on) */ \
    X(PANEL_LIGHTS, 10, "0 off, 1 on") \
    X(STROBE_LIGHTS, 11, "0 off, 1 on") \
    X(PITOT_HEAT, 13, "0 off, 1 on") \
    X(LANDING_LIGHTS, 14, "0 off, 1 on") \
    X(BATTERY_MASTER, 364, "0 off, 1 on") \
    X(BEACON_LIGHTS, 368, "0 off, 1 on") \
    X(GENERATOR_SWITCH, 565, "0 off, 1 on") \
    X(GENERATOR_ACTIVE, 566, "1 while the generator is charging") \
    X(NAVIGATION_LIGHTS, 619, "0 off, 1 on") \
    X(AVIONICS_MASTER, 740, "0 off, 1 on") \
    X(MAIN_BUS_VOLTAGE, 753, "volts") \
    /* the radios switch on above 20 */ \
    X(AVIONICS_BUS_VOLTAGE, 755, "volts") \
    /* radios */ \
    X(ADF_FREQUENCY, 16, "BCD hundreds, tens, units of kilohertz: 0x410") \
    X(ADF_FREQUENCY_EXTENDED, 18, "0x100 and up: thousands digit 1; the rest is the tenths digit") \
    X(COM1_FREQUENCY, 23, "BCD without the leading 1: 0x2357 is 123.57 MHz") \
    X(NAV1_FREQUENCY, 24, "BCD without the leading 1: 0x1130 is 111.30 MHz") \
    X(GPS_DRIVES_NAV1, 848, "0 NAV, 1 GPS") \
    X(ADF_IDENT_AUDIO, 880, "1 while the ADF identifier is heard") \
    /* The gauges never read it; the host keeps it so a scenario can see the tone switch act. */ \
    X(NAV1_IDENT_AUDIO, 881, "1 while the NAV1 identifier is heard") \
    /* transponder */ \
    X(TRANSPONDER_CODE, 38, "one octal digit per 4 bits: 0x7700") \
    /* engine and fuel */ \
    X(ENGINE_RUNNING, 60, "above 0 while the engine runs") \
    X(FUEL_LEFT_MAIN_LEVEL, 289, "8388610 is a full tank") \
    X(FUEL_LEFT_MAIN_CAPACITY, 290, "gallons") \
    X(FUEL_LEFT_AUX_LEVEL, 291, "8388610 is a full tank") \
    X(FUEL_LEFT_AUX_CAPACITY, 292, "gallons") \
    X(FUEL_RIGHT_AUX_LEVEL, 297, "8388610 is a full tank") \
    X(FUEL_RIGHT_AUX_CAPACITY, 298, "gallons") \
    X(FUEL_RIGHT_MAIN_LEVEL, 383, "8388610 is a full tank") \
    X(FUEL_RIGHT_MAIN_CAPACITY, 384, "gallons") \
    X(START_STATE_WATCH, 326, "a number the start-state gauges watch") \
    X(ENGINE_PRIMER, 361, "1 while the pump is pressed") \
    X(CARBURETOR_HEAT, 365, "0 off, 1 on") \
    X(ENGINE_RPM, 390, "revolutions per minute") \
    X(MANIFOLD_PRESSURE, 391, "pounds per square foot: 70.7328 per inch of mercury") \
    X(MAGNETO_LEFT, 399, "0 off, 1 on") \
    X(MAGNETO_RIGHT, 400, "0 off, 1 on") \
    X(STARTER_ENGAGED, 401, "1 while engaged") \
    X(CYLINDER_HEAD_TEMPERATURE, 415, "degrees Rankine") \
    X(FUEL_PRESSURE, 425, "pounds per square foot") \
    X(THROTTLE_LEVER, 558, "0 back to 1 forward") \
    X(PROPELLER_LEVER, 559, "0 back to 1 forward") \
    X(MIXTURE_LEVER, 560, "0 back to 1 forward") \
    X(OIL_TEMPERATURE, 561, "degrees Rankine") \
    X(OIL_PRESSURE, 562, "pounds per square foot") \
    X(FUEL_VALVE, 895, "1 open") \
    /* airframe */ \
    X(DIVE_BRAKE_POSITION, 327, "0 to 16384") \
    X(FLAPS_POSITION, 329, "0 to 16384") \
    X(GEAR_POSITION, 332, "0 up to 16384 down") \
    X(GEAR_LEFT_POSITION, 333, "0 up to 16384 down") \
    X(GEAR_RIGHT_POSITION, 334, "0 up to 16384 down") \
    X(HYDRAULIC_PRESSURE, 732, "pounds per square foot") \
    X(TAIL_HOOK_POSITION, 869, "0 up to 1 down") \
    /* flight instruments */ \
    X(AIRSPEED_INDICATED, 61, "knots") \
    X(VERTICAL_SPEED, 65, "metres per second times 256") \
    X(TURN_BALL, 69, "-127 left to 127 right") \
    X(TURN_RATE, 70, "256 per standard-rate mark") \
    X(ALTITUDE_INDICATED, 74, "feet") \
    X(KOHLSMAN_SETTING, 76, "inches of mercury") \
    X(ATTITUDE_PITCH, 78, "degrees") \
    X(ATTITUDE_BANK, 80, "degrees") \
    X(MAGNETIC_COMPASS, 83, "degrees") \
    X(GYRO_HEADING, 84, "degrees") \
    X(GYRO_DRIFT, 85, "0x10000 per turn of the setting") \
    X(OUTSIDE_AIR_TEMPERATURE, 341, "degrees Celsius") \
    X(TIME_OF_DAY, 557, "seconds since midnight") \
    X(ATTITUDE_BARS_POSITION, 612, "the bars' height setting") \
    X(ATTITUDE_CAGE, 825, "0, 1, 2: the cage knob's picture") \
    /* navigation indicators */ \
    X(ADF_CARD, 22, "degrees") \
    X(ADF_BEARING, 39, "degrees, relative") \
    X(VOR1_COURSE_DEVIATION, 40, "-127 to 127") \
    X(VOR1_GLIDE_SLOPE, 41, "-119 to 119") \
    X(VOR1_SIGNAL, 43, "0 no station") \
    X(VOR1_TO_FROM, 44, "0 from, 1 to") \
    X(VOR1_COURSE, 45, "degrees") \
    /* autopilot (0 off, above 0 on, unless a value) */ \
    X(AUTOPILOT_AVAILABLE, 87, "0 off, above 0 on") \
    X(AUTOPILOT_ENGAGED, 103, "0 off, above 0 on") \
    X(AUTOPILOT_WING_LEVELER, 104, "0 off, above 0 on") \
    X(AUTOPILOT_NAV1_HOLD, 105, "0 off, above 0 on") \
    X(AUTOPILOT_HEADING_HOLD, 106, "0 off, above 0 on") \
    X(AUTOPILOT_HEADING, 107, "degrees") \
    X(AUTOPILOT_ALTITUDE_HOLD, 108, "0 off, above 0 on") \
    X(AUTOPILOT_ALTITUDE, 109, "feet") \
    X(AUTOPILOT_ATTITUDE_HOLD, 110, "0 off, above 0 on") \
    X(AUTOPILOT_GLIDE_SLOPE_HOLD, 111, "0 off, above 0 on") \
    X(AUTOPILOT_APPROACH_HOLD, 112, "0 off, above 0 on") \
    X(AUTOPILOT_BACK_COURSE_HOLD, 113, "0 off, above 0 on") \
    X(AUTOPILOT_YAW_DAMPER, 114, "0 off, above 0 on") \
    X(AUTOPILOT_AIRSPEED_HOLD, 115, "0 off, above 0 on") \
    X(AUTOPILOT_AIRSPEED, 116, "knots") \
    X(AUTOPILOT_MACH_HOLD, 117, "0 off, above 0 on") \
    X(AUTOPILOT_MACH, 118, "Mach number") \
    X(AUTOPILOT_VERTICAL_SPEED_HOLD, 119, "0 off, above 0 on") \
    X(AUTOPILOT_VERTICAL_SPEED, 120, "feet per minute") \
    X(AUTOTHROTTLE_ARMED, 123, "0 off, above 0 on") \
    X(AUTOPILOT_RPM_HOLD, 124, "0 off, above 0 on") \
    X(AUTOPILOT_RPM, 125, "revolutions per minute") \
    X(FLIGHT_DIRECTOR_ACTIVE, 792, "0 off, above 0 on") \
    X(AUTOTHROTTLE_ACTIVE, 819, "0 off, above 0 on")

namespace ardelvine::tokens {

#define ARD_TOKEN_CONSTANT(name, number, unit) inline constexpr std::uint32_t name = number;
ARDELVINE_TOKENS(ARD_TOKEN_CONSTANT)
#undef ARD_TOKEN_CONSTANT

struct Named {
    std::uint32_t number;
    const char* name;
    const char* unit;
};

#define ARD_TOKEN_ENTRY(name, number, unit) Named{number, #name, unit},
inline constexpr Named kAll[] = {ARDELVINE_TOKENS(ARD_TOKEN_ENTRY)};
#undef ARD_TOKEN_ENTRY

constexpr bool numbers_distinct() {
    for (std::size_t i = 0; i < std::size(kAll); ++i)
        for (std::size_t j = i + 1; j < std::size(kAll); ++j)
            if (kAll[i].number == kAll[j].number) return false;
    return true;
}
static_assert(numbers_distinct(), "two token names share a number");

// The entry of a token number, or null for one the module never reads.
constexpr const Named* find(std::uint32_t number) {
    for (const Named& t : kAll)
        if (t.number == number) return &t;
    return nullptr;
}

}  // namespace ardelvine::tokens
