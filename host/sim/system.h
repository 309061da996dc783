// The simulated aircraft, one system per file in this folder: the tokens each
// system owns with their starting values, and a table of the key events it
// handles. An event either moves tokens (a toggle flips, a set event takes its
// parameter, or a small free function beside the table does the arithmetic)
// or is recorded only, with the reason. Every key event the module can send is
// in exactly one system's table; the simulated-aircraft test walks them.
#pragma once

#include <cstdint>
#include <span>

namespace ardelvine::hostapp {

class Simulation;

namespace sim {

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
    // between updates (a spring-loaded control letting go).
    void (*settle)(Simulation& sim) = nullptr;
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

}  // namespace sim
}  // namespace ardelvine::hostapp
