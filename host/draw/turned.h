// The turned-picture painter: paints a bitmap placed on an ARGB32 image by
// any matrix (turned, scaled, shifted), bilinear and OVER as Cairo's filter
// and operator round, but only over the pixels its samples can reach instead
// of the whole turned bounding box. Needles, sliding bars and turning cards
// are drawn this way every frame they move.
//
// A bitmap comes to the painter padded (its pixels inside a one-pixel
// transparent border, with a map of which 2x2 blocks are one plain colour);
// a card seen through a window comes with the window's opening, worked out
// once per placement of the window.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ardelvine::hostapp {

// Marks a 2x2 block of a bitmap whose four pixels differ or are partly
// transparent; 0 is a transparent one.
constexpr std::uint8_t kMixedBlock = 255;

// A bitmap's premultiplied pixels inside a one-pixel transparent border.
struct Padded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    // Per pixel, the 2x2 block whose top left corner it is: when all four
    // are the same opaque colour, that colour's place in `colours`, 0 when
    // all are transparent, else kMixedBlock. A bilinear sample inside such
    // a block is that colour, so the wide plain areas of a card cost one
    // byte read instead of four pixels (a byte each keeps the card's map
    // small enough to stay in the processor's nearest cache).
    std::vector<std::uint8_t> blocks;
    std::vector<std::uint32_t> colours;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the bitmap pixels that are not transparent, ends exclusive
    // Bitmap pixels per unit of the placement (a finer drawing's factor).
    double fineness = 1.0;
};

// A bitmap's pixels with a transparent border, for painting it turned; no
// pixels when it is not ARGB32.
Padded pad_bitmap(cairo_surface_t* bitmap);

// How much of each target pixel a window bitmap placed without turning lets
// through, 0 to 128, worked out once per placement: the window stays put
// while the card behind it turns.
struct Opening {
    const Padded* window = nullptr;
    cairo_matrix_t to_window{};  // target pixel -> window pixel
    int y0 = 0;
    struct Row {
        int x0 = 0, x1 = 0;        // pixels the window reaches at all
        int open0 = 0, open1 = 0;  // a run of them it lets through whole
        std::size_t at = 0;        // where the row's values start in `cover`
    };
    std::vector<Row> rows;
    std::vector<std::uint8_t> cover;
};

// Paints `pad` placed by `place` (record coordinates, the bitmap's pixels
// divided by its fineness -> user space of `cr`) into
// the context's image, inside its clip. With a `window` placed by
// `window_place`, the picture shows only through the window's alpha; the
// window's openings are kept in `openings` (the last 16 placements). Returns
// false where this does not apply (no plain whole-pixel rectangular clip,
// unsmoothed or backed elements by `flags`, a target that is not an image),
// and the caller draws with Cairo instead.
bool paint_turned(cairo_t* cr, const Padded& pad, const cairo_matrix_t& place, std::uint32_t flags,
                  std::vector<Opening>* openings = nullptr, const Padded* window = nullptr,
                  const cairo_matrix_t* window_place = nullptr);

}  // namespace ardelvine::hostapp
