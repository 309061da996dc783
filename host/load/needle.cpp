#include "host/load/needle.h"

#include <cmath>
#include <numbers>

namespace ardelvine::hostapp {

double direction_deg(double px, double py, double x, double y) {
    double deg = std::atan2(x - px, py - y) * 180.0 / std::numbers::pi;
    if (deg < 0.0) deg += 360.0;
    if (deg >= 360.0) deg -= 360.0;
    return deg;
}

void fill_table_angles(NonlinearityEntry* table, std::uint32_t entries, std::int32_t pivot_x,
                       std::int32_t pivot_y) {
    if (table == nullptr || entries == 0) return;
    double previous_dir = direction_deg(pivot_x, pivot_y, table[0].x, table[0].y);
    double angle = previous_dir;
    table[0].angle = angle;
    for (std::uint32_t i = 1; i < entries; ++i) {
        double dir = direction_deg(pivot_x, pivot_y, table[i].x, table[i].y);
        double step = 0.0;
        if (table[i].x != table[i - 1].x || table[i].y != table[i - 1].y) {
            step = std::fmod(dir - previous_dir + 360.0, 360.0);
            // Rounding must not turn "no turn" into a whole one.
            if (step > 360.0 - 1e-9) step = 0.0;
        }
        angle += step;
        table[i].angle = angle;
        previous_dir = dir;
    }
}

std::uint32_t table_segment(const NonlinearityEntry* table, std::uint32_t entries, double value, double& angle) {
    angle = 0.0;
    if (table == nullptr || entries == 0 || std::isnan(value)) return 0;
    if (entries == 1) {
        angle = table[0].angle;
        return 0;
    }
    const bool rising = table[entries - 1].value >= table[0].value;
    // Before the first entry, in the table's own direction: the first segment goes on.
    if (rising ? value <= table[0].value : value >= table[0].value) {
        angle = segment_angle(table[0], table[1], value);
        return 0;
    }
    for (std::uint32_t i = 0; i + 1 < entries; ++i) {
        // Plain comparisons, not fmin/fmax: those are library calls here, and
        // a segment with a NaN end is passed over either way.
        const double a = table[i].value, b = table[i + 1].value;
        const double lo = a < b ? a : b, hi = a < b ? b : a;
        if (value >= lo && value <= hi && lo != hi) {
            angle = segment_angle(table[i], table[i + 1], value);
            return i;
        }
    }
    angle = segment_angle(table[entries - 2], table[entries - 1], value);
    return entries - 2;
}

double table_angle(const NonlinearityEntry* table, std::uint32_t entries, double value) {
    double angle = 0.0;
    table_segment(table, entries, value, angle);
    return angle;
}

bool table_is_monotonic(const NonlinearityEntry* table, std::uint32_t entries) {
    if (table == nullptr || entries < 2) return false;
    const bool rising = table[entries - 1].value >= table[0].value;
    for (std::uint32_t i = 0; i + 1 < entries; ++i) {
        const double a = table[i].value, b = table[i + 1].value;
        if (!(rising ? a <= b : a >= b)) return false;  // also false for NaN
    }
    return true;
}

}  // namespace ardelvine::hostapp
