// Autopilot: the master, the heading and altitude holds and their targets.
// The other modes the annunciator shows keep the values a scenario sets.
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::AUTOPILOT_AVAILABLE, 0.0},        {tokens::AUTOPILOT_ENGAGED, 0.0},
    {tokens::AUTOPILOT_WING_LEVELER, 0.0},     {tokens::AUTOPILOT_NAV1_HOLD, 0.0},
    {tokens::AUTOPILOT_HEADING_HOLD, 0.0},     {tokens::AUTOPILOT_HEADING, 0.0},
    {tokens::AUTOPILOT_ALTITUDE_HOLD, 0.0},    {tokens::AUTOPILOT_ALTITUDE, 0.0},
    {tokens::AUTOPILOT_ATTITUDE_HOLD, 0.0},    {tokens::AUTOPILOT_GLIDE_SLOPE_HOLD, 0.0},
    {tokens::AUTOPILOT_APPROACH_HOLD, 0.0},    {tokens::AUTOPILOT_BACK_COURSE_HOLD, 0.0},
    {tokens::AUTOPILOT_YAW_DAMPER, 0.0},       {tokens::AUTOPILOT_AIRSPEED_HOLD, 0.0},
    {tokens::AUTOPILOT_AIRSPEED, 0.0},         {tokens::AUTOPILOT_MACH_HOLD, 0.0},
    {tokens::AUTOPILOT_MACH, 0.0},             {tokens::AUTOPILOT_VERTICAL_SPEED_HOLD, 0.0},
    {tokens::AUTOPILOT_VERTICAL_SPEED, 0.0},   {tokens::AUTOTHROTTLE_ARMED, 0.0},
    {tokens::AUTOPILOT_RPM_HOLD, 0.0},         {tokens::AUTOPILOT_RPM, 0.0},
    {tokens::FLIGHT_DIRECTOR_ACTIVE, 0.0},     {tokens::AUTOTHROTTLE_ACTIVE, 0.0},
};

constexpr EventRule kEvents[] = {
    set_value(events::AUTOPILOT_ON, tokens::AUTOPILOT_ENGAGED, 1.0),
    set_value(events::AUTOPILOT_OFF, tokens::AUTOPILOT_ENGAGED, 0.0),
    set_value(events::AUTOPILOT_HEADING_HOLD_ON, tokens::AUTOPILOT_HEADING_HOLD, 1.0),
    set_value(events::AUTOPILOT_HEADING_HOLD_OFF, tokens::AUTOPILOT_HEADING_HOLD, 0.0),
    set_value(events::AUTOPILOT_ALTITUDE_HOLD_ON, tokens::AUTOPILOT_ALTITUDE_HOLD, 1.0),
    set_value(events::AUTOPILOT_ALTITUDE_HOLD_OFF, tokens::AUTOPILOT_ALTITUDE_HOLD, 0.0),
    set_param(events::HEADING_BUG_SET, tokens::AUTOPILOT_HEADING),
    set_param(events::AUTOPILOT_ALTITUDE_SET, tokens::AUTOPILOT_ALTITUDE),
};

}  // namespace

extern const System autopilot = {"autopilot", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
