// The toggle and guarded switches; their levers, covers and sounds come with
// their own change.
#include "gauges/pending.h"

namespace ardelvine::gauges {

ARD_PENDING_GAUGE(Battery_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Navigation_Lights_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Landing_Lights_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Beacon_Lights_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Strobe_Lights_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Panel_Lights_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Pitot_Heat_Switch, 30, 2370, true)
ARD_PENDING_GAUGE(Generator_Switch, 30, 2420, true)
ARD_PENDING_GAUGE(Fuel_Valve, 30, 2420, true)
ARD_PENDING_GAUGE(Avionics_Switch, 30, 2370, true)

}  // namespace ardelvine::gauges
