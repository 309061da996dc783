// Draws the module's bitmaps from its own data.
//
// Each picture is drawn by what the catalogue says it is (a face, a needle, a
// drum, a lamp...) and placed by what the module's element records say about
// it: a face carries a mark and a number at every point of the tables of the
// needles that turn over it, a needle is a pointer from its offset point, a
// drum has a digit in each cell of its window's height, a card or strip has
// headings laid out so that its window shows the heading its source names.
// A gauge whose records are still placeholders gets the same kind of picture
// with geometry guessed from the bitmap's size alone, and picks up its marks
// by itself once its records are written.
//
// Conventions shared with the renderer:
//   - A needle bitmap points along +x (3 o'clock) from its offset point; the
//     renderer rotates it about that point by (table angle - 90 degrees), the
//     table angle being measured clockwise from 12 o'clock.
//   - A moving image's strip is placed so that the window shows it at the
//     fraction f = (value - minimum) / (maximum - minimum) of its travel: the
//     strip's left (top) edge lies f * (strip size - window size) pixels left
//     of (above) the window's.
//   - A sprite turns counter-clockwise about its texture centre by its
//     rotation value and slides up its own axis by its y value, in gauge
//     pixels before its texture scale squeezes it.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/records.h"
#include "resources/catalogue.h"

namespace ardelvine::tools {

// Where the module's records use one bitmap id.
struct BitmapUse {
    const GaugeHeader* gauge;
    const ElementHeader* element;
    const ElementHeader* background;  // the gauge's root element
};

class ArtBook {
public:
    // Collects the uses of every bitmap from the gauges of a Linkage.
    explicit ArtBook(GaugeHeader* const* gauges);

    // A new ARGB32 surface holding the record's picture at `scale` times its
    // size (positions, pivots and windows stay where the records put them at
    // 1x; only the pixels are finer); the caller destroys it. With
    // `problems`, what a designer would not ship about its layout is added
    // there, one sentence each naming the bitmap.
    // With `smallest_legend`, the capital height of its smallest text at 1x
    // (0 when it has none) is written there.
    cairo_surface_t* draw(const resources::BitmapRecord& record, int scale = 1,
                          std::vector<std::string>* problems = nullptr, double* smallest_legend = nullptr) const;

    // The picture at 1x, drawn without knowing what lies over it: what
    // measures a needle's hub or a control's painted pixels reads.
    cairo_surface_t* draw_plain(const resources::BitmapRecord& record) const;

    const std::vector<BitmapUse>& uses(std::uint32_t id) const;

private:
    std::map<std::uint32_t, std::vector<BitmapUse>> uses_;
};

}  // namespace ardelvine::tools
