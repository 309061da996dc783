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

// The needle angle (unwrapped degrees) for `value`, from a table whose angles
// fill_table_angles has filled. Tables may rise or fall in value.
double table_angle(const NonlinearityEntry* table, std::uint32_t entries, double value);

}  // namespace ardelvine::hostapp
