// The table-driven dials; their needles and tables come with their own change.
#include "gauges/pending.h"

namespace ardelvine::gauges {

ARD_PENDING_GAUGE(Altimeter, 100, 250, false)
ARD_PENDING_GAUGE(Vertical_Speed, 100, 440, false)
ARD_PENDING_GAUGE(Airspeed, 100, 1400, false)
ARD_PENDING_GAUGE(Oil_Temp_Press_1, 100, 1340, false)
ARD_PENDING_GAUGE(Oil_Temp_Press_2, 100, 1350, false)
ARD_PENDING_GAUGE(Tachometer, 100, 1360, false)
ARD_PENDING_GAUGE(Manifold_Pressure, 100, 1180, false)
ARD_PENDING_GAUGE(CHT_Indicator, 100, 1430, false)
ARD_PENDING_GAUGE(Hydr_Press_Indicator, 80, 2270, false)
ARD_PENDING_GAUGE(OAT_Indicator, 100, 1460, false)
ARD_PENDING_GAUGE(Voltmeter, 100, 2390, false)

}  // namespace ardelvine::gauges
