// The smallest gauge shape: a fixed plate with one multi-picture icon on it,
// the icon the plate's only child. The engine controls and the warning lights
// are all built this way.
#pragma once

#include <cstdint>

#include "gauges/gauge.h"

namespace ardelvine::gauges {

struct PlateAndIcon {
    StaticImage plate;
    Icon icon;
    ElementHeader* chain[2 * 2];
};

// `self` is the object being initialised: the elements point into its chain.
constexpr PlateAndIcon make_plate_and_icon(PlateAndIcon& self, GaugeHeader& gauge, std::uint32_t plate_bitmap,
                                           const IconSpec& icon_spec) {
    PlateAndIcon g{};
    g.plate = plate(gauge, plate_bitmap, next_of(self.chain, 0));
    g.icon = icon(gauge, icon_spec, nullptr);
    g.chain[0] = &self.plate.header;
    g.chain[2] = &self.icon.header;
    return g;
}

}  // namespace ardelvine::gauges
