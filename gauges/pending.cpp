// Gauges whose behaviour has not been built yet. Each keeps its real name,
// width, background bitmap and (where it will have one) a lifecycle callback,
// so panels can place it today.
#include "gauges/pending.h"

namespace ardelvine::gauges {

void ARD_CALL pending_callback(GaugeHeader*, std::int32_t, std::uintptr_t) {}

ARD_PENDING_GAUGE(Engine_On, 30, 40, true)
ARD_PENDING_GAUGE(Engine_Off, 30, 40, true)
ARD_PENDING_GAUGE(Registration, 150, 50, true)
ARD_PENDING_GAUGE(Kneeboard_Toggle, 19, 60, false)
ARD_PENDING_GAUGE(ATC_Toggle, 19, 80, false)
ARD_PENDING_GAUGE(Map_Toggle, 19, 70, false)
ARD_PENDING_GAUGE(Invisible_Toggle, 19, 100, true)
ARD_PENDING_GAUGE(Close_Subpanel, 19, 110, true)
ARD_PENDING_GAUGE(Radios_Toggle, 19, 120, true)
ARD_PENDING_GAUGE(Landing_View_Toggle, 19, 130, true)
ARD_PENDING_GAUGE(GPS_Toggle, 19, 140, true)
ARD_PENDING_GAUGE(Throttle_Toggle, 19, 150, true)
ARD_PENDING_GAUGE(Compass_Toggle, 19, 160, true)
ARD_PENDING_GAUGE(Fuel_Toggle, 19, 170, true)
ARD_PENDING_GAUGE(Electricity_Toggle, 19, 180, true)
ARD_PENDING_GAUGE(Radio_COM, 100, 1090, true)
ARD_PENDING_GAUGE(Radio_ADF, 100, 1000, true)
ARD_PENDING_GAUGE(Radio_NAV, 100, 1210, true)
ARD_PENDING_GAUGE(Radio_IFF_XPDR, 100, 1130, true)
ARD_PENDING_GAUGE(Autopilot_Switch, 60, 3210, true)
ARD_PENDING_GAUGE(AP_Tester, 100, 7000, false)
ARD_PENDING_GAUGE(Attitude, 100, 310, false)
ARD_PENDING_GAUGE(Turn_Coordinator, 100, 390, false)
ARD_PENDING_GAUGE(Gyro_Compass, 100, 470, false)
ARD_PENDING_GAUGE(Attitude_w_Cage, 100, 3060, false)
ARD_PENDING_GAUGE(Throttle_Quadrant, 150, 2230, true)
ARD_PENDING_GAUGE(Magnetos_Switch, 36, 2300, false)
ARD_PENDING_GAUGE(Fuel_Quantity, 100, 2320, false)
ARD_PENDING_GAUGE(ADF_VOR_Indicator, 100, 2000, true)
ARD_PENDING_GAUGE(Waltham_Clock, 100, 2160, false)
ARD_PENDING_GAUGE(Whiskey_Compass, 76, 2210, false)
ARD_PENDING_GAUGE(ADF_VOR_Indicator_Small, 100, 3100, true)
ARD_PENDING_GAUGE(NAV_GPS_Switch, 30, 2350, true)
ARD_PENDING_GAUGE(Starter_Switch, 40, 3080, false)
ARD_PENDING_GAUGE(Carburetor_Heat, 38, 3170, false)
ARD_PENDING_GAUGE(Engine_Primer, 60, 3190, false)
ARD_PENDING_GAUGE(Generator_Light, 30, 2450, false)
ARD_PENDING_GAUGE(Gear_Warning_Light, 40, 2470, false)
ARD_PENDING_GAUGE(Dive_Brake_Warning_Light, 40, 3000, false)
ARD_PENDING_GAUGE(Tail_Hook_Warning_Light, 40, 3020, false)
ARD_PENDING_GAUGE(Flaps_Warning_Light, 80, 3040, false)

}  // namespace ardelvine::gauges
