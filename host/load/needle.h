// How a needle turns: the host's reading of a nonlinearity table.
//
// Each entry names a pixel of the background that the needle points through
// at the entry's value; its direction is measured from the pivot, in degrees
// clockwise from 12 o'clock. From one entry to the next the needle turns
// clockwise by the clockwise angle between the two directions (0 for equal
// points, less than a full turn), linearly in the value. Walking the table
// this way gives every entry an unwrapped angle, so a table may carry a
// needle through several turns. Below the first and beyond the last entry the
// end segment goes on at its own rate; an end segment between two equal
// points therefore pins the needle.
#pragma once

#include <cstdint>

#include "model/records.h"

namespace ardelvine::hostapp {

// Direction from (px, py) to (x, y), degrees clockwise from 12 o'clock, in [0, 360).
double direction_deg(double px, double py, double x, double y);

// Fills each entry's `angle` with its unwrapped angle; the first entry keeps
// its own direction.
void fill_table_angles(NonlinearityEntry* table, std::uint32_t entries, std::int32_t pivot_x,
                       std::int32_t pivot_y);

// The segment (index of its first entry) that answers for `value`, its
// answer put in `angle`; 0 when no segment does (an empty table, NaN).
std::uint32_t table_segment(const NonlinearityEntry* table, std::uint32_t entries, double value, double& angle);

// The needle angle (unwrapped degrees) for `value`, from a table whose angles
// fill_table_angles has filled. Tables may rise or fall in value.
double table_angle(const NonlinearityEntry* table, std::uint32_t entries, double value);

// Whether the table has two entries or more and its values never turn back
// (all rising or all falling), NaN-free: only then may the quick answers of
// the table_angle below be given.
bool table_is_monotonic(const NonlinearityEntry* table, std::uint32_t entries);

// The angle for `value` along the segment from `a` to `b`, which may lie
// beyond either end; a zero-length segment has no rate and gives a's angle.
inline double segment_angle(const NonlinearityEntry& a, const NonlinearityEntry& b, double value) {
    if (a.value == b.value) return a.angle;
    return a.angle + (value - a.value) * (b.angle - a.angle) / (b.value - a.value);
}

// table_angle for a needle asked every update, exactly its answer. In a
// monotonic table the answer for most values is found without a search: a
// value in `segment` (remembered from the last search), or before the first
// or past the last entry, where the end segments go on.
[[gnu::always_inline]] inline double table_angle(const NonlinearityEntry* table, std::uint32_t entries, double value, bool monotonic,
                          std::uint32_t& segment) {
    if (monotonic) {
        // A segment answers for its far end but not its near one: a value on
        // the near end belongs to the segment before, when there is one.
        const NonlinearityEntry& a = table[segment];
        const NonlinearityEntry& b = table[segment + 1];
        if (a.value < b.value ? a.value < value && value <= b.value : b.value <= value && value < a.value)
            return segment_angle(a, b, value);
        const NonlinearityEntry& first = table[0];
        const NonlinearityEntry& last = table[entries - 1];
        const bool rising = last.value >= first.value;
        if (rising ? value <= first.value : value >= first.value) return segment_angle(first, table[1], value);
        if (rising ? value > last.value : value < last.value) return segment_angle(table[entries - 2], last, value);
    }
    double angle = 0.0;
    segment = table_segment(table, entries, value, angle);
    return angle;
}

}  // namespace ardelvine::hostapp
