// Key event numbers: what the module asks the simulator to do. Each number is
// written here once, named after what it does in the simulator; the gauges,
// the host's simulated aircraft and the tests use the names. Events carry
// parameter 0 unless their comment says what the parameter holds.
//
// One list makes both the constants and kAll, so a new event cannot be
// missing from kAll: the host's simulated aircraft must handle every entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#define ARDELVINE_EVENTS(X) \
    /* electrical and lights */ \
    X(STROBE_LIGHTS_TOGGLE, 65560) \
    X(PANEL_LIGHTS_TOGGLE, 65750) \
    X(LANDING_LIGHTS_TOGGLE, 65751) \
    X(PITOT_HEAT_TOGGLE, 65858) \
    X(BEACON_LIGHTS_TOGGLE, 66239) \
    X(BATTERY_MASTER_TOGGLE, 66241) \
    X(AVIONICS_MASTER_TOGGLE, 66293) \
    X(GENERATOR_TOGGLE, 66363) \
    X(NAVIGATION_LIGHTS_TOGGLE, 66379) \
    /* engine and fuel */ \
    X(MAGNETOS_DECREASE, 65634)  /* both, left, right, off */ \
    X(MAGNETOS_INCREASE, 65635)  /* off, right, left, both */ \
    X(THROTTLE_SET, 65820)  /* 0 (closed) to 16384 (full) */ \
    X(MIXTURE_SET, 65919)  /* 0 (cut-off) to 16384 (rich) */ \
    X(PROPELLER_SET, 65923)  /* 0 (coarse) to 16384 (fine) */ \
    X(ENGINE_PRIMER, 66238)  /* one stroke of the primer pump */ \
    X(STARTER_ENGAGE, 66300)  /* repeated while the starter is held */ \
    X(CARBURETOR_HEAT_TOGGLE, 66484) \
    X(FUEL_VALVE_TOGGLE, 66494) \
    /* the cold-and-dark shutdown's own steps besides its toggles, in the order sent */ \
    X(SHUTDOWN_STEP_1, 65927) \
    X(SHUTDOWN_STEP_2, 66057) \
    X(SHUTDOWN_STEP_3, 66060) \
    X(SHUTDOWN_STEP_4, 66053) \
    /* Sent on every update while the start-state watch value exceeds 10; the */ \
    /* parameter is that value as a whole number. */ \
    X(START_STATE_WATCH_SET, 65698) \
    /* radios */ \
    X(COM1_WHOLE_DOWN, 65636)  /* one megahertz */ \
    X(COM1_WHOLE_UP, 65637) \
    X(COM1_FRACTION_DOWN, 66434)  /* one channel */ \
    X(COM1_FRACTION_UP, 66435) \
    X(NAV1_WHOLE_DOWN, 65640)  /* one megahertz */ \
    X(NAV1_WHOLE_UP, 65641) \
    X(NAV1_FRACTION_DOWN, 65642)  /* one step */ \
    X(NAV1_FRACTION_UP, 65643) \
    X(NAV1_IDENT_OFF, 65832)  /* station identifier audio */ \
    X(NAV2_IDENT_OFF, 65833) \
    X(ADF_IDENT_OFF, 65836) \
    X(NAV1_IDENT_ON, 65837) \
    X(ADF_IDENT_ON, 65841) \
    X(ADF_FREQUENCY_SET, 66122)  /* four BCD digits: 0x4100 is 410.0 kHz */ \
    X(ADF_TENTH_DOWN, 66461)  /* 0.1 kHz */ \
    X(ADF_TENTH_UP, 66462) \
    X(ADF_WHOLE_UP, 66542)  /* 1 kHz */ \
    X(ADF_WHOLE_DOWN, 66543) \
    X(NAV_GPS_TOGGLE, 66375)  /* GPS or NAV1 drives the navigation */ \
    /* transponder (one digit each, 0 to 7) */ \
    X(TRANSPONDER_THOUSANDS_UP, 65651) \
    X(TRANSPONDER_HUNDREDS_UP, 65652) \
    X(TRANSPONDER_TENS_UP, 65653) \
    X(TRANSPONDER_UNITS_UP, 65654) \
    X(TRANSPONDER_THOUSANDS_DOWN, 66455) \
    X(TRANSPONDER_HUNDREDS_DOWN, 66456) \
    X(TRANSPONDER_TENS_DOWN, 66457) \
    X(TRANSPONDER_UNITS_DOWN, 66458) \
    /* autopilot */ \
    X(AUTOPILOT_OFF, 65791) \
    X(AUTOPILOT_ON, 65792) \
    X(HEADING_BUG_SET, 66042)  /* degrees */ \
    X(AUTOPILOT_ALTITUDE_HOLD_ON, 66103) \
    X(AUTOPILOT_ALTITUDE_HOLD_OFF, 66104) \
    X(AUTOPILOT_HEADING_HOLD_ON, 66106) \
    X(AUTOPILOT_HEADING_HOLD_OFF, 66107) \
    X(AUTOPILOT_ALTITUDE_SET, 66124)  /* feet */ \
    /* instruments */ \
    X(VOR1_COURSE_SET, 65716)  /* degrees */ \
    X(GYRO_DRIFT_INCREASE, 65877) \
    X(GYRO_DRIFT_DECREASE, 65878) \
    X(KOHLSMAN_INCREASE, 65883) \
    X(KOHLSMAN_DECREASE, 65884) \
    X(ADF_CARD_SET, 66039)  /* degrees */ \
    X(ATTITUDE_BARS_UP, 66318) \
    X(ATTITUDE_BARS_DOWN, 66319) \
    X(ATTITUDE_CAGE_BUTTON, 66373) \
    /* views and panel windows */ \
    X(ATC_WINDOW, 65564) \
    X(VIEW_MODE_NEXT, 65734) \
    X(VIEW_MODE_PREVIOUS, 65735) \
    X(VIEW_RESET, 65875) \
    X(KNEEBOARD_WINDOW, 65876) \
    X(MAP_WINDOW, 66432) \
    X(PANEL_WINDOW_TOGGLE, 66506)  /* parameter: window ident */ \
    X(PANEL_WINDOW_OPEN, 66507) \
    X(PANEL_WINDOW_CLOSE, 66508)

namespace ardelvine::events {

#define ARD_EVENT_CONSTANT(name, number, ...) inline constexpr std::uint32_t name = number;
ARDELVINE_EVENTS(ARD_EVENT_CONSTANT)
#undef ARD_EVENT_CONSTANT

struct Named {
    std::uint32_t number;
    const char* name;
};

#define ARD_EVENT_ENTRY(name, number, ...) Named{number, #name},
inline constexpr Named kAll[] = {ARDELVINE_EVENTS(ARD_EVENT_ENTRY)};
#undef ARD_EVENT_ENTRY

constexpr bool numbers_distinct() {
    for (std::size_t i = 0; i < std::size(kAll); ++i)
        for (std::size_t j = i + 1; j < std::size(kAll); ++j)
            if (kAll[i].number == kAll[j].number) return false;
    return true;
}
static_assert(numbers_distinct(), "two event names share a number");

// The name of an event number, or null for one the module never sends.
constexpr const char* name_of(std::uint32_t number) {
    for (const Named& e : kAll)
        if (e.number == number) return e.name;
    return nullptr;
}

}  // namespace ardelvine::events
