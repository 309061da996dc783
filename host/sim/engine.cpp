// Engine and fuel: the three quadrant levers, the fuel valve, carburettor heat,
// the magneto key, the spring-loaded starter and primer, and the shutdown
// steps whose effect on the engine is not simulated (nothing turns the
// engine, so nothing would show it).
#include <algorithm>

#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::THROTTLE_LEVER, 0.0},   {tokens::PROPELLER_LEVER, 0.0}, {tokens::MIXTURE_LEVER, 0.0},
    {tokens::FUEL_VALVE, 0.0},       {tokens::CARBURETOR_HEAT, 0.0}, {tokens::MAGNETO_LEFT, 0.0},
    {tokens::MAGNETO_RIGHT, 0.0},    {tokens::STARTER_ENGAGED, 0.0}, {tokens::ENGINE_PRIMER, 0.0},
    {tokens::ENGINE_RUNNING, 0.0},   {tokens::START_STATE_WATCH, 0.0},
    {tokens::ENGINE_RPM, 0.0},       {tokens::MANIFOLD_PRESSURE, 0.0}, {tokens::CYLINDER_HEAD_TEMPERATURE, 0.0},
    {tokens::OIL_TEMPERATURE, 0.0},  {tokens::OIL_PRESSURE, 0.0},      {tokens::FUEL_PRESSURE, 0.0},
    {tokens::FUEL_LEFT_MAIN_LEVEL, 0.0},  {tokens::FUEL_LEFT_MAIN_CAPACITY, 0.0},
    {tokens::FUEL_RIGHT_MAIN_LEVEL, 0.0}, {tokens::FUEL_RIGHT_MAIN_CAPACITY, 0.0},
    {tokens::FUEL_LEFT_AUX_LEVEL, 0.0},   {tokens::FUEL_LEFT_AUX_CAPACITY, 0.0},
    {tokens::FUEL_RIGHT_AUX_LEVEL, 0.0},  {tokens::FUEL_RIGHT_AUX_CAPACITY, 0.0},
};

// The magneto key: off, right, left, both, one step per event; the left and
// right magnetos follow the key (left on from "left" up, right on at "right"
// and "both").
void turn_magnetos(Simulation& sim, const EventRule& rule, std::uint32_t) {
    const double now = 2.0 * (sim.token(tokens::MAGNETO_LEFT) != 0.0) + (sim.token(tokens::MAGNETO_RIGHT) != 0.0);
    const int position = static_cast<int>(std::clamp(now + rule.amount, 0.0, 3.0));
    sim.set_token(tokens::MAGNETO_LEFT, position >= 2 ? 1.0 : 0.0);
    sim.set_token(tokens::MAGNETO_RIGHT, position % 2 == 1 ? 1.0 : 0.0);
}

// The starter button and the primer plunger are spring-loaded: pressed, they
// show for the update that follows, then come back out.
void release_spring_loaded(Simulation& sim) {
    sim.set_token(tokens::STARTER_ENGAGED, 0.0);
    sim.set_token(tokens::ENGINE_PRIMER, 0.0);
}

constexpr EventRule kEvents[] = {
    lever(events::THROTTLE_SET, tokens::THROTTLE_LEVER),
    lever(events::PROPELLER_SET, tokens::PROPELLER_LEVER),
    lever(events::MIXTURE_SET, tokens::MIXTURE_LEVER),
    toggle(events::FUEL_VALVE_TOGGLE, tokens::FUEL_VALVE),
    toggle(events::CARBURETOR_HEAT_TOGGLE, tokens::CARBURETOR_HEAT),
    custom(events::MAGNETOS_INCREASE, turn_magnetos, 0, +1.0),
    custom(events::MAGNETOS_DECREASE, turn_magnetos, 0, -1.0),
    set_value(events::STARTER_ENGAGE, tokens::STARTER_ENGAGED, 1.0),
    set_value(events::ENGINE_PRIMER, tokens::ENGINE_PRIMER, 1.0),
    recorded(events::SHUTDOWN_STEP_1, "the powerplant's own shutdown is not simulated"),
    recorded(events::SHUTDOWN_STEP_2, "the powerplant's own shutdown is not simulated"),
    recorded(events::SHUTDOWN_STEP_3, "the powerplant's own shutdown is not simulated"),
    recorded(events::SHUTDOWN_STEP_4, "the powerplant's own shutdown is not simulated"),
    recorded(events::START_STATE_WATCH_SET, "reports a value back to the simulator: nothing a panel shows"),
};

}  // namespace

extern const System engine_and_fuel = {"engine and fuel", kTokens, kEvents, release_spring_loaded};

}  // namespace ardelvine::hostapp::sim
