// The list of systems, the shared effects, and the lookup from event number to
// its rule: a table indexed by the number's offset from the first key event,
// built once, so a key event costs one index whatever the number of systems.
#include <algorithm>
#include <array>
#include <cstdint>

#include "host/sim/system.h"
#include "host/sim/simulation.h"

namespace ardelvine::hostapp::sim {

namespace {

constexpr const System* kSystems[] = {
    &electrical_and_lights, &engine_and_fuel, &radios, &transponder, &autopilot, &instruments, &views_and_windows,
};

// Key event numbers start here; the module sends none beyond kFirstEvent + kEventRange.
constexpr std::uint32_t kFirstEvent = 0x10000;
constexpr std::uint32_t kEventRange = 0x1000;

struct Index {
    std::array<const EventRule*, kEventRange> rules{};
    Index() {
        for (const System* system : kSystems)
            for (const EventRule& rule : system->events)
                if (rule.event - kFirstEvent < kEventRange && rules[rule.event - kFirstEvent] == nullptr)
                    rules[rule.event - kFirstEvent] = &rule;
    }
};

}  // namespace

void flip(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, sim.token(rule.token) == 0.0 ? 1.0 : 0.0);
}

void set_to_param(Simulation& sim, const EventRule& rule, std::uint32_t param) {
    sim.write_token(rule.token, static_cast<std::int32_t>(param) * rule.amount);
}

void set_lever(Simulation& sim, const EventRule& rule, std::uint32_t param) {
    sim.write_token(rule.token, std::clamp(static_cast<std::int32_t>(param) * rule.amount, 0.0, 1.0));
}

void set_to_amount(Simulation& sim, const EventRule& rule, std::uint32_t) { sim.write_token(rule.token, rule.amount); }

std::span<const System* const> systems() { return kSystems; }

const EventRule* find_rule(std::uint32_t event) {
    static const Index index;
    const std::uint32_t slot = event - kFirstEvent;
    return slot < kEventRange ? index.rules[slot] : nullptr;
}

}  // namespace ardelvine::hostapp::sim
