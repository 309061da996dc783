// The module's gauge registry: every gauge in the order Linkage lists it, with
// its default width in millimetres, whether it has a lifecycle callback, and
// whether its own records are written (built) or a placeholder stands in for
// it. This is the one place these facts are written: Linkage, the
// placeholders and the tests are made from it, and a gauge file takes its
// name and width from its entry (make_gauge checks the callback against it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "model/records.h"

// X(name, width, has_callback, built | placeholder)
#define ARDELVINE_GAUGES(X) \
    X(Engine_On, 30, true, built) \
    X(Engine_Off, 30, true, built) \
    X(Registration, 150, true, built) \
    X(Kneeboard_Toggle, 19, false, built) \
    X(ATC_Toggle, 19, false, built) \
    X(Map_Toggle, 19, false, built) \
    X(Invisible_Toggle, 19, true, built) \
    X(Close_Subpanel, 19, true, built) \
    X(Radios_Toggle, 19, true, built) \
    X(Landing_View_Toggle, 19, true, built) \
    X(GPS_Toggle, 19, true, built) \
    X(Throttle_Toggle, 19, true, built) \
    X(Compass_Toggle, 19, true, built) \
    X(Fuel_Toggle, 19, true, built) \
    X(Electricity_Toggle, 19, true, built) \
    X(Radio_COM, 100, true, built) \
    X(Radio_ADF, 100, true, built) \
    X(Radio_NAV, 100, true, built) \
    X(Radio_IFF_XPDR, 100, true, built) \
    X(Autopilot_Switch, 60, true, built) \
    X(AP_Tester, 100, false, built) \
    X(Altimeter, 100, false, built) \
    X(Attitude, 100, false, built) \
    X(Turn_Coordinator, 100, false, built) \
    X(Vertical_Speed, 100, false, built) \
    X(Gyro_Compass, 100, false, built) \
    X(Airspeed, 100, false, built) \
    X(Attitude_w_Cage, 100, false, built) \
    X(Oil_Temp_Press_1, 100, false, built) \
    X(Oil_Temp_Press_2, 100, false, built) \
    X(Tachometer, 100, false, built) \
    X(Manifold_Pressure, 100, false, built) \
    X(CHT_Indicator, 100, false, built) \
    X(Throttle_Quadrant, 150, true, built) \
    X(Hydr_Press_Indicator, 80, false, built) \
    X(Magnetos_Switch, 36, false, built) \
    X(Fuel_Quantity, 100, false, built) \
    X(ADF_VOR_Indicator, 100, true, built) \
    X(Waltham_Clock, 100, false, built) \
    X(OAT_Indicator, 100, false, built) \
    X(Whiskey_Compass, 76, false, built) \
    X(Voltmeter, 100, false, built) \
    X(ADF_VOR_Indicator_Small, 100, true, built) \
    X(NAV_GPS_Switch, 30, true, built) \
    X(Battery_Switch, 30, true, built) \
    X(Navigation_Lights_Switch, 30, true, built) \
    X(Landing_Lights_Switch, 30, true, built) \
    X(Beacon_Lights_Switch, 30, true, built) \
    X(Strobe_Lights_Switch, 30, true, built) \
    X(Panel_Lights_Switch, 30, true, built) \
    X(Pitot_Heat_Switch, 30, true, built) \
    X(Generator_Switch, 30, true, built) \
    X(Fuel_Valve, 30, true, built) \
    X(Avionics_Switch, 30, true, built) \
    X(Starter_Switch, 40, false, built) \
    X(Carburetor_Heat, 38, false, built) \
    X(Engine_Primer, 60, false, built) \
    X(Generator_Light, 30, false, built) \
    X(Gear_Warning_Light, 40, false, built) \
    X(Dive_Brake_Warning_Light, 40, false, built) \
    X(Tail_Hook_Warning_Light, 40, false, built) \
    X(Flaps_Warning_Light, 80, false, built)

namespace ardelvine::gauges {

struct GaugeEntry {
    const char* name;
    std::uint32_t width;  // millimetres
    bool callback;        // the header has a lifecycle callback
    bool built;           // false: a placeholder stands in for the gauge
};

inline constexpr bool kGaugeBuilt_built = true;
inline constexpr bool kGaugeBuilt_placeholder = false;

// registry::Battery_Switch and so on: each gauge's entry by its name.
namespace registry {
#define ARD_GAUGE_ENTRY(name, width, callback, state) \
    inline constexpr GaugeEntry name{#name, width, callback, kGaugeBuilt_##state};
ARDELVINE_GAUGES(ARD_GAUGE_ENTRY)
#undef ARD_GAUGE_ENTRY
}  // namespace registry

// Every entry in Linkage order.
#define ARD_GAUGE_ENTRY(name, width, callback, state) registry::name,
inline constexpr GaugeEntry kRegistry[] = {ARDELVINE_GAUGES(ARD_GAUGE_ENTRY)};
#undef ARD_GAUGE_ENTRY

#define ARD_DECLARE_GAUGE(name, width, callback, state) extern GaugeHeader name;
ARDELVINE_GAUGES(ARD_DECLARE_GAUGE)
#undef ARD_DECLARE_GAUGE

}  // namespace ardelvine::gauges
