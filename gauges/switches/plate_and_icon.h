// The smallest gauge shape: a fixed plate with one multi-picture icon on it,
// the icon the plate's only child. The engine controls and the warning lights
// are all built this way.
#pragma once

#include <cstdint>

#include "gauges/gauge.h"

namespace ardelvine::gauges {

inline constexpr std::uint32_t kPlateFlags = IMAGE_TRANSPARENT | IMAGE_RESTORE;
static_assert(kPlateFlags == 0x3);

struct IconRow {
    std::uint32_t bitmap;  // the first picture; the others follow it
    std::int32_t x = 0, y = 0;
    std::uint32_t images;
    std::uint32_t token;     // the icon's source variable
    ElementCallback update;  // null: the variable itself is the image index
    std::uint32_t flags = kPlateFlags;
    FailureRecord* failures = nullptr;
};

struct PlateAndIcon {
    StaticImage plate;
    Icon icon;
    ElementHeader* chain[2 * 2];
};

// `self` is the object being initialised: the elements point into its chain.
constexpr PlateAndIcon make_plate_and_icon(PlateAndIcon& self, GaugeHeader& gauge, std::uint32_t plate,
                                           const IconRow& icon) {
    PlateAndIcon g{};
    g.plate = StaticImage{.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = plate, .gauge = &gauge,
                                     .children = next_of(self.chain, 0), .image_flags = kPlateFlags}};
    g.icon = Icon{.header = {.kind = ElementKind::ICON, .bitmap = icon.bitmap, .x = icon.x, .y = icon.y,
                             .gauge = &gauge, .children = nullptr, .failures = icon.failures,
                             .image_flags = icon.flags},
                  .source = {.token = icon.token},
                  .scale = 1.0,
                  .images = icon.images,
                  .update = icon.update};
    g.chain[0] = &self.plate.header;
    g.chain[2] = &self.icon.header;
    return g;
}

}  // namespace ardelvine::gauges
