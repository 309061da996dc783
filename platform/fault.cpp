#include "platform/fault.h"

namespace ardelvine::platform {

namespace {

struct FaultState {
    bool armed = false;
    FaultStep step = FaultStep::ANY;
    std::uint32_t occurrence = 0;
    std::uint32_t seen_of_step = 0;
    std::uint32_t seen = 0;
    bool fired = false;
    std::optional<std::uint32_t> status;
};

FaultState state;

}  // namespace

void fault_inject(FaultStep step, std::uint32_t occurrence) {
    state = FaultState{.armed = occurrence != 0, .step = step, .occurrence = occurrence};
}

void fault_reset() { state = FaultState{}; }

std::uint32_t fault_steps_seen() { return state.seen; }

bool fault_fired() { return state.fired; }

void fault_force_status(std::optional<std::uint32_t> status) { state.status = status; }

std::optional<std::uint32_t> fault_forced_status() { return state.status; }

bool fault_step(FaultStep step) {
    ++state.seen;
    if (!state.armed) return false;
    if (state.step != FaultStep::ANY && state.step != step) return false;
    if (++state.seen_of_step != state.occurrence) return false;
    state.fired = true;
    return true;
}

}  // namespace ardelvine::platform
