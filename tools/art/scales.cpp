#include "tools/art/scales.h"

#include "model/tokens.h"

namespace ardelvine::tools::art {

namespace {

constexpr double kRankineToCelsius = -(459.67 + 32.0) / 1.8;

constexpr Scale kScales[] = {
    {tokens::AIRSPEED_INDICATED, 1.0, 0.0, 10, 20, true, false},                             // knots
    {tokens::ALTITUDE_INDICATED, 0.01, 0.0, 0, 0, true, false},                              // hundreds of feet
    {tokens::VERTICAL_SPEED, 1.0 / 130.048, 0.0, 1, 5, true, true},                          // hundreds of feet per minute
    {tokens::ENGINE_RPM, 0.001, 0.0, 0.5, 1, true, false, "x1000"},                                  // thousands
    {tokens::MANIFOLD_PRESSURE, 1.0 / 70.7328, 0.0, 2, 10, true, false},                     // inches of mercury
    {tokens::CYLINDER_HEAD_TEMPERATURE, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},  // degrees Celsius
    {tokens::FUEL_PRESSURE, 1.0 / 144.0, 0.0, 5, 5, true, false, "FUEL PSI"},                           // psi
    {tokens::OIL_PRESSURE, 1.0 / 144.0, 0.0, 20, 100, true, false, "OIL PSI"},                         // psi
    {tokens::OIL_TEMPERATURE, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},            // degrees Celsius
    {tokens::HYDRAULIC_PRESSURE, 1.0 / 144000.0, 0.0, 0.25, 1, true, false},                 // thousands of psi
    {tokens::OUTSIDE_AIR_TEMPERATURE, 1.0, 0.0, 5, 10, true, false},                         // degrees Celsius
    {tokens::MAIN_BUS_VOLTAGE, 1.0, 0.0, 1, 5, true, false},                                 // volts
    // Fuel tank levels: the needles' callbacks turn them into gallons.
    {tokens::FUEL_LEFT_MAIN_LEVEL, 1.0, 0.0, 5, 0, true, false},
    {tokens::FUEL_RIGHT_MAIN_LEVEL, 1.0, 0.0, 5, 0, true, false},
    {tokens::FUEL_LEFT_AUX_LEVEL, 1.0, 0.0, 2.5, 0, true, false},
    {tokens::FUEL_RIGHT_AUX_LEVEL, 1.0, 0.0, 2.5, 0, true, false},
    {tokens::ATTITUDE_BANK, 1.0, 0.0, 10, 0, false, false},                                  // degrees
    {tokens::TURN_RATE, 1.0, 0.0, 0, 0, false, false},                                       // as read
};

}  // namespace

const Scale* scale_of(std::uint32_t token) {
    for (const Scale& s : kScales)
        if (s.token == token) return &s;
    return nullptr;
}

std::span<const Scale> scales() { return kScales; }

}  // namespace ardelvine::tools::art
