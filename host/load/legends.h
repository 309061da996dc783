// How small the module's legends are: per bitmap, the capital height of the
// smallest text drawn on it at its own size. The table is made at build time
// from what the art generator measured, so a gauge placed too small to read
// can be told without the art at hand.
#pragma once

#include <cstdint>
#include <span>

namespace ardelvine::hostapp {

struct LegendHeight {
    std::uint32_t id;
    double height;  // pixels at the bitmap's own size
};

// Every bitmap that carries text, by ascending id.
std::span<const LegendHeight> legend_heights();

// The capital height of bitmap `id`'s smallest legend; 0 when it has none.
double smallest_legend(std::uint32_t id);

// A legend is read without effort from this many pixels of capital height.
inline constexpr double kLegibleLegend = 6.0;
// A bitmap enlarged more than this looks soft on screen.
inline constexpr double kMostEnlarged = 1.25;

}  // namespace ardelvine::hostapp
