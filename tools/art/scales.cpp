#include "tools/art/scales.h"

namespace ardelvine::tools::art {

namespace {

constexpr double kRankineToCelsius = -(459.67 + 32.0) / 1.8;

constexpr Scale kScales[] = {
    {61, 1.0, 0.0, 10, 20, true, false},                       // indicated airspeed, knots
    {74, 0.01, 0.0, 0, 0, true, false},                        // altitude, 100 ft
    {65, 1.0 / 130.048, 0.0, 1, 0, true, true},                // vertical speed, 100 ft/min
    {390, 0.001, 0.0, 0.5, 1, true, false},                    // engine rpm, thousands
    {391, 1.0 / 70.7328, 0.0, 2, 10, true, false},             // manifold pressure, inHg
    {415, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},  // cylinder head, deg C
    {425, 1.0 / 144.0, 0.0, 5, 5, true, false},                // pressure, psi
    {562, 1.0 / 144.0, 0.0, 20, 100, true, false},             // oil pressure, psi
    {561, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},  // oil temperature, deg C
    {732, 1.0 / 144000.0, 0.0, 0.25, 1, true, false},          // hydraulic pressure, 1000 psi
    {341, 1.0, 0.0, 5, 10, true, false},                       // outside air, deg C
    {753, 1.0, 0.0, 1, 5, true, false},                        // bus volts
    {80, 1.0, 0.0, 10, 0, false, false},                       // bank, degrees
    {70, 1.0, 0.0, 0, 0, false, false},                        // turn rate
};

}  // namespace

const Scale* scale_of(std::uint32_t token) {
    for (const Scale& s : kScales)
        if (s.token == token) return &s;
    return nullptr;
}

std::span<const Scale> scales() { return kScales; }

}  // namespace ardelvine::tools::art
