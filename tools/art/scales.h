// The units in which a dial's numbers are written, by the token its needle
// reads: the module's tables work in the simulator's units (feet per minute,
// Rankine, pounds per square foot), faces are marked in the pilot's.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ardelvine::tools::art {

struct Scale {
    std::uint32_t token;
    double factor, offset;  // shown = value * factor + offset
    double step;            // minor tick spacing in shown units; 0 = ticks at table points only
    double label_step;      // further numbers at multiples of this; 0 = table points only
    bool labels;
    bool absolute;  // numbers without sign (both halves of a centre-zero dial)
    std::string_view unit = {};  // named beside a sub-dial that reads it
};

// The scale for a needle's source token, or null when none is known: a face
// is never marked in raw units by accident.
const Scale* scale_of(std::uint32_t token);

std::span<const Scale> scales();

}  // namespace ardelvine::tools::art
