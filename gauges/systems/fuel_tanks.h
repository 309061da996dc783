// The four fuel tanks' capacities in gallons, as the start-state gauges last
// captured them from the simulation. The fuel gauge turns the simulation's
// tank levels into gallons with them; until a capture has happened they are
// 0 and the fuel gauge reads empty.
#pragma once

namespace ardelvine::gauges {

struct FuelTanks {
    double left_main;
    double right_main;
    double left_aux;
    double right_aux;
};

extern FuelTanks FuelTankCapacities;

// Reads the four capacity variables and keeps each one that is above zero; a
// tank that reads 0 or less keeps what it had.
void capture_fuel_tank_capacities();

}  // namespace ardelvine::gauges
