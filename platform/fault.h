// Test-only failure injection for the platform services the sound library
// relies on. Every fallible platform step asks fault_step() before doing its
// work; a test arms one step (or the n-th fallible step of any kind) and
// checks what the caller does when the platform says no. Nothing in the host
// or in a panel can reach these functions.
#pragma once

#include <cstdint>
#include <optional>

namespace ardelvine::platform {

enum class FaultStep : std::uint32_t {
    ANY,  // counts every fallible step below
    DEVICE_CREATE,
    COOPERATIVE_LEVEL,
    RESOURCE_FIND,
    RIFF_OPEN,
    RIFF_DESCEND,
    RIFF_READ,
    RIFF_ASCEND,
    MEMORY,
    BUFFER_CREATE,
    BUFFER_LOCK,
    BUFFER_UNLOCK,
    BUFFER_SET_POSITION,
    BUFFER_PLAY,
    BUFFER_STOP,
    BUFFER_STATUS,
    BUFFER_GET_POSITION,
    BUFFER_GET_VOLUME,
    BUFFER_SET_VOLUME,
    BUFFER_GET_PAN,
    BUFFER_SET_PAN,
    BUFFER_GET_FREQUENCY,
    BUFFER_SET_FREQUENCY,
    COUNT
};

// The `occurrence`-th call (from 1) of `step` after this call fails; with
// ANY, the `occurrence`-th fallible step of whatever kind. Counters restart.
void fault_inject(FaultStep step, std::uint32_t occurrence = 1);

// No failure armed; counters and the forced status cleared.
void fault_reset();

// Fallible steps seen since the last inject or reset, and whether the armed
// failure has fired. A walk over every step stops once a run sees fewer steps
// than the occurrence it armed.
std::uint32_t fault_steps_seen();
bool fault_fired();

// Makes every buffer status query answer `status` (bits as the mixer reports
// them), so callers can be checked against bits the mixer rarely sets.
void fault_force_status(std::optional<std::uint32_t> status);
std::optional<std::uint32_t> fault_forced_status();

// Called by each platform step: true when this call must fail.
bool fault_step(FaultStep step);

}  // namespace ardelvine::platform
