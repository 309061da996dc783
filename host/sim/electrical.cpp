// Electrical system and lights: the master switches, the generator, pitot heat
// and the five light circuits, each a switch that its toggle event flips; and
// the two buses, which follow the switches and the engine on every update.
#include "host/sim/system.h"
#include "host/sim/simulation.h"
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

bool switched_on(const Simulation& sim, std::uint32_t token) { return sim.token(token) != 0.0; }

// Each update: the battery puts its voltage on the main bus while its master
// is on; the generator, switched on with the battery (its field comes from the
// battery) and turned fast enough by the engine, charges and lifts the bus to
// its own voltage. The avionics bus is fed from the main bus through the
// avionics master.
void step_buses(Simulation& sim) {
    const bool battery = switched_on(sim, tokens::BATTERY_MASTER);
    const bool charging = battery && switched_on(sim, tokens::GENERATOR_SWITCH) &&
                          sim.token(tokens::ENGINE_RPM) >= electrical::kChargingRpm;
    sim.drive_token(tokens::GENERATOR_ACTIVE, charging ? 1.0 : 0.0);
    sim.drive_token(tokens::MAIN_BUS_VOLTAGE,
                    charging ? electrical::kChargingVolts : battery ? electrical::kBatteryVolts : 0.0);
    sim.drive_token(tokens::AVIONICS_BUS_VOLTAGE,
                    switched_on(sim, tokens::AVIONICS_MASTER) ? sim.token(tokens::MAIN_BUS_VOLTAGE) : 0.0);
}

// Parked, every switch is off and the buses are dead; running, the masters
// and the generator are on and it charges. The lights stay as they are when
// the engine is started.
void start_electrical(Simulation& sim, StartState state) {
    if (state == StartState::PARKED) {
        for (const OwnedToken& owned : kTokens) sim.write_token(owned.token, 0.0);
        return;
    }
    for (std::uint32_t token : {tokens::BATTERY_MASTER, tokens::GENERATOR_SWITCH, tokens::AVIONICS_MASTER,
                                tokens::GENERATOR_ACTIVE})
        sim.write_token(token, 1.0);
    sim.write_token(tokens::MAIN_BUS_VOLTAGE, electrical::kChargingVolts);
    sim.write_token(tokens::AVIONICS_BUS_VOLTAGE, electrical::kChargingVolts);
}

}  // namespace

extern const System electrical_and_lights = {"electrical and lights", kTokens, kEvents, step_buses, start_electrical};

}  // namespace ardelvine::hostapp::sim
