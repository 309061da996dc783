// Sizes and rectangles of pictures, and the test every placement matrix
// passes before Cairo or the painter sees it: a value gone wild (NaN, an
// infinite angle, a zero texture scale) would otherwise put the whole
// context in error.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace ardelvine::hostapp {

inline int width_of(cairo_surface_t* s) { return s != nullptr ? cairo_image_surface_get_width(s) : 0; }
inline int height_of(cairo_surface_t* s) { return s != nullptr ? cairo_image_surface_get_height(s) : 0; }

// How many of a bitmap's pixels make one pixel of its record's coordinates:
// 1 for the module's own bitmaps, 2 or 3 for the finer drawings of the same
// pictures (which carry it as their device scale, so that Cairo draws them at
// their 1x size).
inline double fineness_of(cairo_surface_t* s) {
    double x = 1.0, y = 1.0;
    if (s != nullptr) cairo_surface_get_device_scale(s, &x, &y);
    return x;
}
// A bitmap's size in its record's coordinates.
inline double drawn_width(cairo_surface_t* s) { return width_of(s) / fineness_of(s); }
inline double drawn_height(cairo_surface_t* s) { return height_of(s) / fineness_of(s); }

// Whether a placement is finite and can be inverted.
inline bool usable(const cairo_matrix_t& m) {
    for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0})
        if (!std::isfinite(v)) return false;
    cairo_matrix_t inverse = m;
    return cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS;
}

// A rectangle of picture pixels.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    void add(const Box& b) {
        if (b.empty()) return;
        if (empty()) {
            *this = b;
            return;
        }
        x0 = std::min(x0, b.x0), y0 = std::min(y0, b.y0), x1 = std::max(x1, b.x1), y1 = std::max(y1, b.y1);
    }
    bool contains(const Box& b) const { return x0 <= b.x0 && y0 <= b.y0 && b.x1 <= x1 && b.y1 <= y1; }
    Box clipped(const Box& to) const {
        return {std::max(x0, to.x0), std::max(y0, to.y0), std::min(x1, to.x1), std::min(y1, to.y1)};
    }
};

}  // namespace ardelvine::hostapp
