// Element pictures: each kind of element in a gauge's chain drawn by its own
// rule onto the gauge's pixels (the context's matrix maps gauge pixels, those
// of the gauge's background bitmap, onto the target):
//   STATIC_IMAGE  the bitmap at the element's position
//   NEEDLE        the bitmap (drawn pointing along +x) turned about its offset
//                 point, which sits on the element's position
//   ICON          bitmap id + image index at the element's position
//   SLIDER        the bitmap shifted by dx, dy
//   MOVING_IMAGE  the strip (id) shifted by dx, dy, seen through the window
//                 bitmap (id + 1) at the element's position
//   SPRITE        the picture (id), centred on the element's offset point
//                 (a point of the background, the centre of rotation),
//                 shifted by dx (right) and dy (up) along its own axes,
//                 scaled by its texture scale and turned counter-clockwise by
//                 `rotation`; seen through the window bitmap (id + 1) at the
//                 element's position
//   STRING        the element's text in its box, font and colours
// Smoothed needles, sliders and sprites seen through a window go to the
// turned-picture painter; everything else, and whatever the painter declines,
// is painted by Cairo.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "host/draw/bitmaps.h"
#include "host/load/placement.h"

namespace ardelvine::hostapp {

// Placement of the element pictures in gauge (background bitmap) pixels:
// each matrix maps the element's own bitmap pixels onto the gauge.
cairo_matrix_t needle_matrix(const ElementHeader& element, double angle_deg);
cairo_matrix_t sprite_matrix(const Sprite& sprite, double dx, double dy, double rotation_deg, int picture_width,
                             int picture_height);
cairo_matrix_t shifted(double x, double y);

// The element record of a state, read by its kind.
inline const AnyElement& any(const ElementState& s) { return *reinterpret_cast<const AnyElement*>(s.element); }
// A STRING element's text up to its character count.
std::string shown_text(const StringElement& e);

// Sets a colour (0xBBGGRR) under a tint as the context's source.
void set_colour(cairo_t* cr, std::uint32_t bgr, Tint tint, const Lighting& lighting);

// Elements drawn onto a gauge whose pixels the context's matrix maps.
struct Drawing {
    cairo_t* cr;
    BitmapStore& bitmaps;
    Lighting lighting;

    // An element's bitmap as it is painted, under the element's tint.
    cairo_surface_t* bitmap(std::uint32_t id, const ElementHeader& e) const {
        return bitmaps.drawn(id, element_tint(e.image_flags, lighting));
    }
};

// Draws one element by the rule of its kind; hidden ones draw nothing.
void draw_element(const Drawing& d, const ElementState& s);

}  // namespace ardelvine::hostapp
