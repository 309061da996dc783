// Electrical system and lights: the master switches, the generator, pitot heat
// and the five light circuits, each a switch that its toggle event flips.
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::BATTERY_MASTER, 0.0},    {tokens::AVIONICS_MASTER, 0.0},   {tokens::GENERATOR_SWITCH, 0.0},
    {tokens::GENERATOR_ACTIVE, 0.0},  {tokens::MAIN_BUS_VOLTAGE, 0.0},  {tokens::AVIONICS_BUS_VOLTAGE, 0.0},
    {tokens::PITOT_HEAT, 0.0},        {tokens::PANEL_LIGHTS, 0.0},      {tokens::STROBE_LIGHTS, 0.0},
    {tokens::LANDING_LIGHTS, 0.0},    {tokens::BEACON_LIGHTS, 0.0},     {tokens::NAVIGATION_LIGHTS, 0.0},
};

constexpr EventRule kEvents[] = {
    toggle(events::BATTERY_MASTER_TOGGLE, tokens::BATTERY_MASTER),
    toggle(events::AVIONICS_MASTER_TOGGLE, tokens::AVIONICS_MASTER),
    toggle(events::GENERATOR_TOGGLE, tokens::GENERATOR_SWITCH),
    toggle(events::PITOT_HEAT_TOGGLE, tokens::PITOT_HEAT),
    toggle(events::PANEL_LIGHTS_TOGGLE, tokens::PANEL_LIGHTS),
    toggle(events::STROBE_LIGHTS_TOGGLE, tokens::STROBE_LIGHTS),
    toggle(events::LANDING_LIGHTS_TOGGLE, tokens::LANDING_LIGHTS),
    toggle(events::BEACON_LIGHTS_TOGGLE, tokens::BEACON_LIGHTS),
    toggle(events::NAVIGATION_LIGHTS_TOGGLE, tokens::NAVIGATION_LIGHTS),
};

}  // namespace

extern const System electrical_and_lights = {"electrical and lights", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
