// The simulated aircraft, one system per file in this folder: the tokens each
// system owns with their starting values, and a table of the key events it
// handles. An event either moves tokens (a toggle flips, a set event takes its
// parameter, or a small free function beside the table does the arithmetic)
// or is recorded only, with the reason. Every key event the module can send is
// in exactly one system's table; the simulated-aircraft test walks them.
#pragma once

#include <cstdint>
#include <span>

#include "host/sim/simulation.h"

namespace ardelvine::hostapp::sim {

struct EventRule;
using Effect = void (*)(Simulation& sim, const EventRule& rule, std::uint32_t param);

struct EventRule {
    std::uint32_t event;
    Effect effect;        // null: recorded only
    std::uint32_t token;  // the token the effect moves; 0 when it moves none or several
    double amount;        // the effect's constant: a value, a scale or a step
    const char* reason;   // recorded only: why nothing else happens
};

struct OwnedToken {
    std::uint32_t token;
    double start;  // its value when the simulation starts
};

struct System {
    const char* name;
    std::span<const OwnedToken> tokens;
    std::span<const EventRule> events;
    // Runs after every panel update, or null: what the system does by itself
    // in one update's time (a spring-loaded control letting go, the engine
    // turning). It moves its tokens with drive_token, so held ones stay.
    void (*settle)(Simulation& sim) = nullptr;
    // Puts the system in a start state at once, or null when it has none.
    void (*start)(Simulation& sim, StartState state) = nullptr;
};

// ------------------------------------------------------------ effects

void flip(Simulation& sim, const EventRule& rule, std::uint32_t param);
void set_to_param(Simulation& sim, const EventRule& rule, std::uint32_t param);
void set_lever(Simulation& sim, const EventRule& rule, std::uint32_t param);
void set_to_amount(Simulation& sim, const EventRule& rule, std::uint32_t param);

// The token flips between 0 and 1; any value but 0 counts as on.
constexpr EventRule toggle(std::uint32_t event, std::uint32_t token) { return {event, flip, token, 0.0, nullptr}; }

// The token takes the parameter, read as a signed whole number.
constexpr EventRule set_param(std::uint32_t event, std::uint32_t token) {
    return {event, set_to_param, token, 1.0, nullptr};
}

// A lever: the parameter 0 to 16384 puts the token 0 to 1, held at the stops.
constexpr EventRule lever(std::uint32_t event, std::uint32_t token) {
    return {event, set_lever, token, 1.0 / 16384.0, nullptr};
}

// The token takes a fixed value.
constexpr EventRule set_value(std::uint32_t event, std::uint32_t token, double value) {
    return {event, set_to_amount, token, value, nullptr};
}

// An effect of its own, written beside its system's table.
constexpr EventRule custom(std::uint32_t event, Effect effect, std::uint32_t token = 0, double amount = 0.0) {
    return {event, effect, token, amount, nullptr};
}

constexpr EventRule recorded(std::uint32_t event, const char* reason) { return {event, nullptr, 0, 0.0, reason}; }

// ------------------------------------------------------------ the aircraft

// The rules' constants, where a designer checking the gauges and the tests
// of the rules' edges read them. docs/simulated-aircraft.md tells the rules.
namespace electrical {
inline constexpr double kBatteryVolts = 24.0;
inline constexpr double kChargingVolts = 28.0;
// The generator charges from this engine speed up: at idle, not while cranking.
inline constexpr double kChargingRpm = 600.0;
}  // namespace electrical

namespace engine {
// Running, the throttle sets the speed from idle to full power, and the
// propeller lever caps it from kGovernedLowRpm (back) to kFullRpm (forward).
inline constexpr double kIdleRpm = 700.0;
inline constexpr double kFullRpm = 2500.0;
inline constexpr double kGovernedLowRpm = 1800.0;
inline constexpr double kCarburetorHeatRpmDrop = 75.0;
// The starter turns the engine at kCrankRpm while engaged and the main bus
// carries more than kStarterVolts; with spark and fuel it catches after
// turning at kCatchRpm or faster for kCatchSeconds, or kCatchSecondsEasy when
// primed or when the cylinders are still at kWarmCylinderRankine or above.
inline constexpr double kCrankRpm = 250.0;
inline constexpr double kStarterVolts = 18.0;
inline constexpr double kCatchRpm = 150.0;
inline constexpr double kCatchSeconds = 3.0;
inline constexpr double kCatchSecondsEasy = 1.0;
inline constexpr double kWarmCylinderRankine = 50.0 * 1.8 + 491.67;  // 50 degrees Celsius
// The mixture lever at or below this is cut off: no fuel reaches the cylinders.
inline constexpr double kMixtureCutOff = 0.1;
// A fuel level token reads this for a full tank.
inline constexpr double kFullTankLevel = 8388610.0;
// Where `aircraft running` puts the throttle and propeller levers when all
// three levers are back.
inline constexpr double kCruiseThrottle = 0.85;
inline constexpr double kCruisePropeller = 0.95;
}  // namespace engine

// One per file of this folder.
extern const System electrical_and_lights;
extern const System engine_and_fuel;
extern const System radios;
extern const System transponder;
extern const System autopilot;
extern const System instruments;
extern const System views_and_windows;

// Every system, in the order docs/simulated-aircraft.md describes them.
std::span<const System* const> systems();

// The rule for an event, or null for an event no system handles.
const EventRule* find_rule(std::uint32_t event);

// Expressions the host can answer, compared without spaces and case.
struct ExpressionAnswer {
    const char* expression;  // upper case, no spaces: "(A:ATCID,STRING)"
    bool (*answer)(const Simulation& sim, double* number, const char** text);
};
std::span<const ExpressionAnswer> expression_answers();

}  // namespace ardelvine::hostapp::sim
