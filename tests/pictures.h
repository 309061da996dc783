// Small Cairo pictures the drawing tests make and read: solid bitmaps,
// rectangles painted on them, and single pixels read back.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ardelvine::hostapp {

inline std::uint32_t pixel(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
    std::uint32_t p;
    std::memcpy(&p, row + 4 * x, 4);
    return p;
}

inline cairo_surface_t* solid(int w, int h, double r, double g, double b) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

inline void paint_rect(cairo_surface_t* s, int x, int y, int w, int h, double r, double g, double b) {
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_destroy(cr);
}

inline constexpr std::uint32_t kGrey = 0xFF808080;

// A copy of a picture's pixels, to compare two frames.
inline std::vector<unsigned char> pixels_of(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    return {data, data + static_cast<std::size_t>(cairo_image_surface_get_stride(s)) * cairo_image_surface_get_height(s)};
}

}  // namespace ardelvine::hostapp
