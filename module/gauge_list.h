// The 62 gauges in the order Linkage lists them: name, default width in
// millimetres, and whether the gauge has a GaugeCallback.
#pragma once

#include "model/records.h"

#define ARDELVINE_GAUGES(X)                 \
    X(Engine_On, 30, true)                  \
    X(Engine_Off, 30, true)                 \
    X(Registration, 150, true)              \
    X(Kneeboard_Toggle, 19, false)          \
    X(ATC_Toggle, 19, false)                \
    X(Map_Toggle, 19, false)                \
    X(Invisible_Toggle, 19, true)           \
    X(Close_Subpanel, 19, true)             \
    X(Radios_Toggle, 19, true)              \
    X(Landing_View_Toggle, 19, true)        \
    X(GPS_Toggle, 19, true)                 \
    X(Throttle_Toggle, 19, true)            \
    X(Compass_Toggle, 19, true)             \
    X(Fuel_Toggle, 19, true)                \
    X(Electricity_Toggle, 19, true)         \
    X(Radio_COM, 100, true)                 \
    X(Radio_ADF, 100, true)                 \
    X(Radio_NAV, 100, true)                 \
    X(Radio_IFF_XPDR, 100, true)            \
    X(Autopilot_Switch, 60, true)           \
    X(AP_Tester, 100, false)                \
    X(Altimeter, 100, false)                \
    X(Attitude, 100, false)                 \
    X(Turn_Coordinator, 100, false)         \
    X(Vertical_Speed, 100, false)           \
    X(Gyro_Compass, 100, false)             \
    X(Airspeed, 100, false)                 \
    X(Attitude_w_Cage, 100, false)          \
    X(Oil_Temp_Press_1, 100, false)         \
    X(Oil_Temp_Press_2, 100, false)         \
    X(Tachometer, 100, false)               \
    X(Manifold_Pressure, 100, false)        \
    X(CHT_Indicator, 100, false)            \
    X(Throttle_Quadrant, 150, true)         \
    X(Hydr_Press_Indicator, 80, false)      \
    X(Magnetos_Switch, 36, false)           \
    X(Fuel_Quantity, 100, false)            \
    X(ADF_VOR_Indicator, 100, true)         \
    X(Waltham_Clock, 100, false)            \
    X(OAT_Indicator, 100, false)            \
    X(Whiskey_Compass, 76, false)           \
    X(Voltmeter, 100, false)                \
    X(ADF_VOR_Indicator_Small, 100, true)   \
    X(NAV_GPS_Switch, 30, true)             \
    X(Battery_Switch, 30, true)             \
    X(Navigation_Lights_Switch, 30, true)   \
    X(Landing_Lights_Switch, 30, true)      \
    X(Beacon_Lights_Switch, 30, true)       \
    X(Strobe_Lights_Switch, 30, true)       \
    X(Panel_Lights_Switch, 30, true)        \
    X(Pitot_Heat_Switch, 30, true)          \
    X(Generator_Switch, 30, true)           \
    X(Fuel_Valve, 30, true)                 \
    X(Avionics_Switch, 30, true)            \
    X(Starter_Switch, 40, false)            \
    X(Carburetor_Heat, 38, false)           \
    X(Engine_Primer, 60, false)             \
    X(Generator_Light, 30, false)           \
    X(Gear_Warning_Light, 40, false)        \
    X(Dive_Brake_Warning_Light, 40, false)  \
    X(Tail_Hook_Warning_Light, 40, false)   \
    X(Flaps_Warning_Light, 80, false)

namespace ardelvine::gauges {

#define ARD_DECLARE_GAUGE(name, width, callback) extern GaugeHeader name;
ARDELVINE_GAUGES(ARD_DECLARE_GAUGE)
#undef ARD_DECLARE_GAUGE

}  // namespace ardelvine::gauges
