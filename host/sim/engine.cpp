// Engine and fuel: the three quadrant levers, the fuel valve, carburettor heat,
// the magneto key, the spring-loaded starter and primer; and the engine itself,
// which on every update cranks, catches, runs or spins down, and moves its
// instruments and the fuel in the tanks with it.
#include <algorithm>
#include <cmath>

#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {

using namespace engine;

namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::THROTTLE_LEVER, 0.0},   {tokens::PROPELLER_LEVER, 0.0}, {tokens::MIXTURE_LEVER, 0.0},
    {tokens::FUEL_VALVE, 0.0},       {tokens::CARBURETOR_HEAT, 0.0}, {tokens::MAGNETO_LEFT, 0.0},
    {tokens::MAGNETO_RIGHT, 0.0},    {tokens::STARTER_ENGAGED, 0.0}, {tokens::ENGINE_PRIMER, 0.0},
    {tokens::ENGINE_RUNNING, 0.0},   {tokens::START_STATE_WATCH, 0.0},
    {tokens::ENGINE_RPM, 0.0},       {tokens::MANIFOLD_PRESSURE, 0.0}, {tokens::CYLINDER_HEAD_TEMPERATURE, 0.0},
    {tokens::OIL_TEMPERATURE, 0.0},  {tokens::OIL_PRESSURE, 0.0},      {tokens::FUEL_PRESSURE, 0.0},
    // Tanks full: mains of 70 gallons, auxiliaries of 30.
    {tokens::FUEL_LEFT_MAIN_LEVEL, kFullTankLevel},  {tokens::FUEL_LEFT_MAIN_CAPACITY, 70.0},
    {tokens::FUEL_RIGHT_MAIN_LEVEL, kFullTankLevel}, {tokens::FUEL_RIGHT_MAIN_CAPACITY, 70.0},
    {tokens::FUEL_LEFT_AUX_LEVEL, kFullTankLevel},   {tokens::FUEL_LEFT_AUX_CAPACITY, 30.0},
    {tokens::FUEL_RIGHT_AUX_LEVEL, kFullTankLevel},  {tokens::FUEL_RIGHT_AUX_CAPACITY, 30.0},
};

// ------------------------------------------------------------ the controls

// The magneto key: off, right, left, both, one step per event; the left and
// right magnetos follow the key (left on from "left" up, right on at "right"
// and "both").
void turn_magnetos(Simulation& sim, const EventRule& rule, std::uint32_t) {
    const double now = 2.0 * (sim.token(tokens::MAGNETO_LEFT) != 0.0) + (sim.token(tokens::MAGNETO_RIGHT) != 0.0);
    const int position = static_cast<int>(std::clamp(now + rule.amount, 0.0, 3.0));
    sim.write_token(tokens::MAGNETO_LEFT, position >= 2 ? 1.0 : 0.0);
    sim.write_token(tokens::MAGNETO_RIGHT, position % 2 == 1 ? 1.0 : 0.0);
}

// The starter button and the primer plunger are spring-loaded: pressed, they
// show for the update that follows, then come back out. Only a press is
// undone: a scenario that sets either token keeps it.
void press_starter(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, 1.0);
    sim.memory().starter_pressed = true;
}

// A push of the primer squirts fuel into the cylinders: the next start
// catches sooner.
void press_primer(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, 1.0);
    sim.memory().primer_pressed = true;
    sim.memory().primed = true;
}

void release_spring_loaded(Simulation& sim) {
    Memory& memory = sim.memory();
    if (memory.starter_pressed) sim.write_token(tokens::STARTER_ENGAGED, 0.0);
    if (memory.primer_pressed) sim.write_token(tokens::ENGINE_PRIMER, 0.0);
    memory.starter_pressed = memory.primer_pressed = false;
}

constexpr EventRule kEvents[] = {
    lever(events::THROTTLE_SET, tokens::THROTTLE_LEVER),
    lever(events::PROPELLER_SET, tokens::PROPELLER_LEVER),
    lever(events::MIXTURE_SET, tokens::MIXTURE_LEVER),
    toggle(events::FUEL_VALVE_TOGGLE, tokens::FUEL_VALVE),
    toggle(events::CARBURETOR_HEAT_TOGGLE, tokens::CARBURETOR_HEAT),
    custom(events::MAGNETOS_INCREASE, turn_magnetos, 0, +1.0),
    custom(events::MAGNETOS_DECREASE, turn_magnetos, 0, -1.0),
    custom(events::STARTER_ENGAGE, press_starter, tokens::STARTER_ENGAGED),
    custom(events::ENGINE_PRIMER, press_primer, tokens::ENGINE_PRIMER),
    recorded(events::SHUTDOWN_STEP_1, "the levers and switches it would move are the start-state gauge's own events"),
    recorded(events::SHUTDOWN_STEP_2, "the levers and switches it would move are the start-state gauge's own events"),
    recorded(events::SHUTDOWN_STEP_3, "the levers and switches it would move are the start-state gauge's own events"),
    recorded(events::SHUTDOWN_STEP_4, "the levers and switches it would move are the start-state gauge's own events"),
    recorded(events::START_STATE_WATCH_SET, "reports a value back to the simulator: nothing a panel shows"),
};

// ------------------------------------------------------------ the engine

// Pounds per square foot per inch of mercury, as the manifold dial reads them.
constexpr double kPsfPerInHg = 70.7328;
constexpr double kSeaLevelInHg = 29.92;
// Closed throttle at idle leaves this share of the outside pressure in the
// manifold; wide open, the intake loses kIntakeLoss of it at full speed.
constexpr double kIdleManifoldShare = 0.4;
constexpr double kIntakeLoss = 0.03;
constexpr double kPsfPerPsi = 144.0;
constexpr double kOilPsiPerRpm = 0.035;
constexpr double kOilPsiMax = 80.0;
constexpr double kFuelPsi = 6.0;  // the engine-driven pump from idle up
// Running temperatures in degrees Celsius, at idle and at full power.
constexpr double kOilIdleCelsius = 70.0, kOilFullCelsius = 95.0;
constexpr double kCylinderIdleCelsius = 120.0, kCylinderFullCelsius = 215.0;
// Fuel flow in gallons per hour, at idle and at full power with the mixture
// rich; leaned to the cut-off it falls to kLeanFlowShare of that.
constexpr double kIdleGallonsPerHour = 2.5, kFullGallonsPerHour = 14.0;
constexpr double kLeanFlowShare = 0.55;

// How quickly a reading follows its target: the share of the distance
// closed in one update, for a lag of `seconds` (a first-order lag).
constexpr double follow(double seconds) { return kSecondsPerUpdate / (seconds + kSecondsPerUpdate); }
constexpr double kRunningFollow = follow(1.0);     // engine speed under power
constexpr double kCrankingFollow = follow(0.4);    // the starter bringing it round
constexpr double kSpinDownFollow = follow(0.7);    // friction and compression, stopped
constexpr double kSpinDownRpmPerSecond = 200.0;    // ... and the last turns to a standstill
constexpr double kPressureFollow = follow(0.4);
constexpr double kOilFollow = follow(240.0);       // oil: minutes to warm and to cool
constexpr double kCylinderFollow = follow(90.0);

// Settles on the target once within a millionth, rather than creeping
// toward it through ever smaller numbers.
double approach(double now, double target, double share) {
    const double next = now + (target - now) * share;
    return std::abs(target - next) < 1e-6 ? target : next;
}
double rankine(double celsius) { return celsius * 1.8 + 491.67; }
bool on(const Simulation& sim, std::uint32_t token) { return sim.token(token) != 0.0; }

struct Tank {
    std::uint32_t level, capacity;
};
constexpr Tank kMains[] = {{tokens::FUEL_LEFT_MAIN_LEVEL, tokens::FUEL_LEFT_MAIN_CAPACITY},
                           {tokens::FUEL_RIGHT_MAIN_LEVEL, tokens::FUEL_RIGHT_MAIN_CAPACITY}};
constexpr Tank kAuxiliaries[] = {{tokens::FUEL_LEFT_AUX_LEVEL, tokens::FUEL_LEFT_AUX_CAPACITY},
                                 {tokens::FUEL_RIGHT_AUX_LEVEL, tokens::FUEL_RIGHT_AUX_CAPACITY}};

bool holds_fuel(const Simulation& sim, const Tank& tank) {
    return sim.token(tank.level) > 0.0 && sim.token(tank.capacity) > 0.0;
}

// Draws `gallons` from the tanks of a group that hold fuel, equally.
bool draw(Simulation& sim, std::span<const Tank> group, double gallons) {
    int feeding = 0;
    for (const Tank& tank : group) feeding += holds_fuel(sim, tank) ? 1 : 0;
    if (feeding == 0) return false;
    for (const Tank& tank : group) {
        if (!holds_fuel(sim, tank)) continue;
        const double drawn = gallons / feeding / sim.token(tank.capacity) * kFullTankLevel;
        sim.drive_token(tank.level, std::max(0.0, sim.token(tank.level) - drawn));
    }
    return true;
}

// Fuel reaches the cylinders through the open valve, past a mixture above
// the cut-off, from any tank that holds some.
bool fuel_reaches_engine(const Simulation& sim) {
    if (sim.token(tokens::FUEL_VALVE) <= 0.0 || sim.token(tokens::MIXTURE_LEVER) <= kMixtureCutOff) return false;
    for (const Tank& tank : kMains)
        if (holds_fuel(sim, tank)) return true;
    for (const Tank& tank : kAuxiliaries)
        if (holds_fuel(sim, tank)) return true;
    return false;
}

bool spark(const Simulation& sim) { return on(sim, tokens::MAGNETO_LEFT) || on(sim, tokens::MAGNETO_RIGHT); }

// The outside pressure at the indicated altitude, standard atmosphere;
// worked out again only when the altitude changes.
double outside_psf(Simulation& sim) {
    Memory& memory = sim.memory();
    const double altitude = sim.token(tokens::ALTITUDE_INDICATED);
    if (altitude != memory.outside_pressure_altitude || memory.outside_pressure_psf == 0.0) {
        const double feet = std::clamp(altitude, -2000.0, 40000.0);
        memory.outside_pressure_altitude = altitude;
        memory.outside_pressure_psf = kSeaLevelInHg * kPsfPerInHg * std::pow(1.0 - 6.8756e-6 * feet, 5.2559);
    }
    return memory.outside_pressure_psf;
}

// The speed the engine runs at, under power, with the levers where they are.
double running_rpm(const Simulation& sim) {
    const double throttle = std::clamp(sim.token(tokens::THROTTLE_LEVER), 0.0, 1.0);
    const double propeller = std::clamp(sim.token(tokens::PROPELLER_LEVER), 0.0, 1.0);
    const double by_throttle = kIdleRpm + throttle * (kFullRpm - kIdleRpm);
    const double governed = kGovernedLowRpm + propeller * (kFullRpm - kGovernedLowRpm);
    const double heat_drop = on(sim, tokens::CARBURETOR_HEAT) ? kCarburetorHeatRpmDrop : 0.0;
    return std::min(by_throttle, governed) - heat_drop;
}

// Stopped, the manifold holds the outside pressure; turning, the closed
// throttle draws it down (to about 12 inches at idle), and wide open it stays
// close to the outside pressure.
double manifold_psf(const Simulation& sim, double rpm, double outside) {
    const double throttle = std::clamp(sim.token(tokens::THROTTLE_LEVER), 0.0, 1.0);
    const double drawn = (1.0 - throttle) * std::min(1.0, rpm / kIdleRpm) * (1.0 - kIdleManifoldShare);
    return outside * (1.0 - drawn) * (1.0 - kIntakeLoss * std::min(1.0, rpm / kFullRpm));
}

// Power as a share of full: speed and manifold pressure together.
double power_share(double rpm, double manifold, double outside) {
    return std::clamp(rpm / kFullRpm * manifold / outside, 0.0, 1.0);
}

double fuel_gallons_per_hour(const Simulation& sim, double power) {
    const double mixture =
        std::clamp((sim.token(tokens::MIXTURE_LEVER) - kMixtureCutOff) / (1.0 - kMixtureCutOff), 0.0, 1.0);
    return (kIdleGallonsPerHour + (kFullGallonsPerHour - kIdleGallonsPerHour) * power) *
           (kLeanFlowShare + (1.0 - kLeanFlowShare) * mixture);
}

double oil_psf(double rpm) { return std::min(kOilPsiMax, rpm * kOilPsiPerRpm) * kPsfPerPsi; }

double fuel_psf(bool fuel, double rpm) {
    return fuel ? kFuelPsi * std::min(1.0, rpm / kIdleRpm) * kPsfPerPsi : 0.0;
}

// The readings of an engine turning at `rpm`, running or not.
struct Readings {
    double manifold, oil_pressure, fuel_pressure, oil_temperature, cylinder_temperature;
};

Readings readings(Simulation& sim, double rpm, bool running, bool fuel) {
    const double outside = outside_psf(sim);
    const double manifold = rpm > 0.0 ? manifold_psf(sim, rpm, outside) : outside;
    const double power = power_share(rpm, manifold, outside);
    const double air = sim.token(tokens::OUTSIDE_AIR_TEMPERATURE);
    return {manifold, oil_psf(rpm), fuel_psf(fuel, rpm),
            rankine(running ? kOilIdleCelsius + (kOilFullCelsius - kOilIdleCelsius) * power : air),
            rankine(running ? kCylinderIdleCelsius + (kCylinderFullCelsius - kCylinderIdleCelsius) * power : air)};
}

// One update of the engine. It runs while token 60 says so and it has spark
// and fuel; without either it stops at once and spins down. Stopped, the
// starter brings it round, and turning fast enough with spark and fuel it
// catches once cranked long enough.
void step_engine(Simulation& sim) {
    Memory& memory = sim.memory();
    const double rpm = sim.token(tokens::ENGINE_RPM);
    const bool fuel = fuel_reaches_engine(sim);
    const bool fires = fuel && spark(sim);
    const bool cranking =
        on(sim, tokens::STARTER_ENGAGED) && sim.token(tokens::MAIN_BUS_VOLTAGE) > kStarterVolts;
    bool running = sim.token(tokens::ENGINE_RUNNING) > 0.0 && fires;
    if (!running && fires && cranking && rpm >= kCatchRpm) {
        memory.cranked_seconds += kSecondsPerUpdate;
        const bool easy = memory.primed || sim.token(tokens::CYLINDER_HEAD_TEMPERATURE) >= kWarmCylinderRankine;
        running = memory.cranked_seconds >= (easy ? kCatchSecondsEasy : kCatchSeconds) - 1e-9;
    }
    if (running) memory.cranked_seconds = 0.0, memory.primed = false;
    sim.drive_token(tokens::ENGINE_RUNNING, running ? 1.0 : 0.0);

    double next = 0.0;
    if (running)
        next = approach(rpm, running_rpm(sim), kRunningFollow);
    else if (cranking)
        next = approach(rpm, kCrankRpm, kCrankingFollow);
    else
        next = std::max(0.0, approach(rpm, 0.0, kSpinDownFollow) - kSpinDownRpmPerSecond * kSecondsPerUpdate);
    sim.drive_token(tokens::ENGINE_RPM, next);

    const Readings r = readings(sim, next, running, fuel);
    sim.drive_token(tokens::MANIFOLD_PRESSURE, approach(sim.token(tokens::MANIFOLD_PRESSURE), r.manifold, kPressureFollow));
    sim.drive_token(tokens::OIL_PRESSURE, approach(sim.token(tokens::OIL_PRESSURE), r.oil_pressure, kPressureFollow));
    sim.drive_token(tokens::FUEL_PRESSURE, approach(sim.token(tokens::FUEL_PRESSURE), r.fuel_pressure, kPressureFollow));
    sim.drive_token(tokens::OIL_TEMPERATURE, approach(sim.token(tokens::OIL_TEMPERATURE), r.oil_temperature, kOilFollow));
    sim.drive_token(tokens::CYLINDER_HEAD_TEMPERATURE,
                    approach(sim.token(tokens::CYLINDER_HEAD_TEMPERATURE), r.cylinder_temperature, kCylinderFollow));

    if (running) {
        const double outside = sim.memory().outside_pressure_psf;
        const double gallons = fuel_gallons_per_hour(sim, power_share(next, r.manifold, outside)) *
                               kSecondsPerUpdate / 3600.0;
        if (!draw(sim, kMains, gallons)) draw(sim, kAuxiliaries, gallons);
    }
    release_spring_loaded(sim);
}

// Writes the readings of an engine at `rpm` at once, without lag.
void show_readings(Simulation& sim, double rpm, bool running) {
    const Readings r = readings(sim, rpm, running, fuel_reaches_engine(sim));
    sim.write_token(tokens::ENGINE_RUNNING, running ? 1.0 : 0.0);
    sim.write_token(tokens::ENGINE_RPM, rpm);
    sim.write_token(tokens::MANIFOLD_PRESSURE, r.manifold);
    sim.write_token(tokens::OIL_PRESSURE, r.oil_pressure);
    sim.write_token(tokens::FUEL_PRESSURE, r.fuel_pressure);
    sim.write_token(tokens::OIL_TEMPERATURE, r.oil_temperature);
    sim.write_token(tokens::CYLINDER_HEAD_TEMPERATURE, r.cylinder_temperature);
}

// Parked: every control back or off, the engine cold at the outside air
// temperature. Running: magnetos on both, fuel on, mixture rich, the throttle
// and propeller where they are unless all three levers are back (then at
// cruise), and every reading at its value for that setting. The fuel in the
// tanks stays as it is.
void start_engine(Simulation& sim, StartState state) {
    for (std::uint32_t control : {tokens::STARTER_ENGAGED, tokens::ENGINE_PRIMER, tokens::CARBURETOR_HEAT})
        sim.write_token(control, 0.0);
    if (state == StartState::PARKED) {
        for (std::uint32_t control : {tokens::THROTTLE_LEVER, tokens::PROPELLER_LEVER, tokens::MIXTURE_LEVER,
                                      tokens::FUEL_VALVE, tokens::MAGNETO_LEFT, tokens::MAGNETO_RIGHT})
            sim.write_token(control, 0.0);
        show_readings(sim, 0.0, false);
        return;
    }
    const bool all_back = sim.token(tokens::THROTTLE_LEVER) <= 0.0 && sim.token(tokens::PROPELLER_LEVER) <= 0.0 &&
                          sim.token(tokens::MIXTURE_LEVER) <= 0.0;
    if (all_back) {
        sim.write_token(tokens::THROTTLE_LEVER, kCruiseThrottle);
        sim.write_token(tokens::PROPELLER_LEVER, kCruisePropeller);
    }
    for (std::uint32_t control : {tokens::MIXTURE_LEVER, tokens::FUEL_VALVE, tokens::MAGNETO_LEFT, tokens::MAGNETO_RIGHT})
        sim.write_token(control, 1.0);
    show_readings(sim, running_rpm(sim), true);
}

}  // namespace

extern const System engine_and_fuel = {"engine and fuel", kTokens, kEvents, step_engine, start_engine};

}  // namespace ardelvine::hostapp::sim
