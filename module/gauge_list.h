// The module's gauge registry: every gauge in the order Linkage lists it, with
// its default width in millimetres and whether it has a lifecycle callback.
// This is the one place these facts are written: Linkage and the tests are
// made from it, and a gauge file takes its name and width from its entry
// (make_gauge checks the callback against it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "model/records.h"

// X(name, width, has_callback)
#define ARDELVINE_GAUGES(X) \
    X(Engine_On, 30, true) \
    X(Engine_Off, 30, true) \
    X(Registration, 150, true) \
    X(Kneeboard_Toggle, 19, false) \
    X(ATC_Toggle, 19, false) \
    X(Map_Toggle, 19, false) \
    X(Invisible_Toggle, 19, true) \
    X(Close_Subpanel, 19, true) \
    X(Radios_Toggle, 19, true) \
    X(Landing_View_Toggle, 19, true) \
    X(GPS_Toggle, 19, true) \
    X(Throttle_Toggle, 19, true) \
    X(Compass_Toggle, 19, true) \
    X(Fuel_Toggle, 19, true) \
    X(Electricity_Toggle, 19, true) \
    X(Radio_COM, 100, true) \
    X(Radio_ADF, 100, true) \
    X(Radio_NAV, 100, true) \
    X(Radio_IFF_XPDR, 100, true) \
    X(Autopilot_Switch, 60, true) \
    X(AP_Tester, 100, false) \
    X(Altimeter, 100, false) \
    X(Attitude, 100, false) \
    X(Turn_Coordinator, 100, false) \
    X(Vertical_Speed, 100, false) \
    X(Gyro_Compass, 100, false) \
    X(Airspeed, 100, false) \
    X(Attitude_w_Cage, 100, false) \
    X(Oil_Temp_Press_1, 100, false) \
    X(Oil_Temp_Press_2, 100, false) \
    X(Tachometer, 100, false) \
    X(Manifold_Pressure, 100, false) \
    X(CHT_Indicator, 100, false) \
    X(Throttle_Quadrant, 150, true) \
    X(Hydr_Press_Indicator, 80, false) \
    X(Magnetos_Switch, 36, false) \
    X(Fuel_Quantity, 100, false) \
    X(ADF_VOR_Indicator, 100, true) \
    X(Waltham_Clock, 100, false) \
    X(OAT_Indicator, 100, false) \
    X(Whiskey_Compass, 76, false) \
    X(Voltmeter, 100, false) \
    X(ADF_VOR_Indicator_Small, 100, true) \
    X(NAV_GPS_Switch, 30, true) \
    X(Battery_Switch, 30, true) \
    X(Navigation_Lights_Switch, 30, true) \
    X(Landing_Lights_Switch, 30, true) \
    X(Beacon_Lights_Switch, 30, true) \
    X(Strobe_Lights_Switch, 30, true) \
    X(Panel_Lights_Switch, 30, true) \
    X(Pitot_Heat_Switch, 30, true) \
    X(Generator_Switch, 30, true) \
    X(Fuel_Valve, 30, true) \
    X(Avionics_Switch, 30, true) \
    X(Starter_Switch, 40, false) \
    X(Carburetor_Heat, 38, false) \
    X(Engine_Primer, 60, false) \
    X(Generator_Light, 30, false) \
    X(Gear_Warning_Light, 40, false) \
    X(Dive_Brake_Warning_Light, 40, false) \
    X(Tail_Hook_Warning_Light, 40, false) \
    X(Flaps_Warning_Light, 80, false)

namespace ardelvine::gauges {

struct GaugeEntry {
    const char* name;
    std::uint32_t width;  // millimetres
    bool callback;        // the header has a lifecycle callback
};

// registry::Battery_Switch and so on: each gauge's entry by its name.
namespace registry {
#define ARD_GAUGE_ENTRY(name, width, callback) inline constexpr GaugeEntry name{#name, width, callback};
ARDELVINE_GAUGES(ARD_GAUGE_ENTRY)
#undef ARD_GAUGE_ENTRY
}  // namespace registry

// Every entry in Linkage order.
#define ARD_GAUGE_ENTRY(name, width, callback) registry::name,
inline constexpr GaugeEntry kRegistry[] = {ARDELVINE_GAUGES(ARD_GAUGE_ENTRY)};
#undef ARD_GAUGE_ENTRY

#define ARD_DECLARE_GAUGE(name, width, callback) extern GaugeHeader name;
ARDELVINE_GAUGES(ARD_DECLARE_GAUGE)
#undef ARD_DECLARE_GAUGE

}  // namespace ardelvine::gauges
