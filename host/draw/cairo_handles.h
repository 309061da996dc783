// Owning handles for Cairo surfaces and contexts, made only through the
// checked constructors below: a surface or context that Cairo could not make
// (memory ran out) stops the run with an error instead of leaving a gauge or
// a window silently undrawn.
#pragma once

#include <cairo.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace ardelvine::hostapp {

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

struct ContextFree {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Context = std::unique_ptr<cairo_t, ContextFree>;

// The machine could not draw: not bad input, so the program exits with 1.
struct DrawingError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline void check_cairo(cairo_status_t status, int width = 0, int height = 0) {
    if (status == CAIRO_STATUS_SUCCESS) return;
    std::string what = std::string("cannot draw: ") + cairo_status_to_string(status);
    if (width > 0) what += " (a picture of " + std::to_string(width) + "x" + std::to_string(height) + " pixels)";
    throw DrawingError(what);
}

inline Surface new_image(int width, int height) {
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    check_cairo(cairo_surface_status(s.get()), width, height);
    return s;
}

inline Context new_context(cairo_surface_t* target) {
    Context cr(cairo_create(target));
    check_cairo(cairo_status(cr.get()));
    return cr;
}

}  // namespace ardelvine::hostapp
