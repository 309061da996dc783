// The sizes a designer places a gauge by: its default width and height in
// panel units, as a panel line without them gets, and its background
// bitmap's pixels, the grid its positions and mouse areas are measured in.
#pragma once

#include <cstdint>
#include <vector>

#include "host/draw/bitmap_info.h"
#include "host/load/module_loader.h"

namespace ardelvine::hostapp {

struct GaugeSize {
    const GaugeHeader* gauge;
    std::uint32_t width;  // the header's default width
    int height;           // that width in the background's proportions
    std::uint32_t bitmap;  // the background's id
    BitmapInfo face;       // its pixels; 0 x 0 when the module lacks it
};

// Every gauge of the module in Linkage order.
std::vector<GaugeSize> gauge_sizes(const LoadedModule& module);

}  // namespace ardelvine::hostapp
