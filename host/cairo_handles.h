// Owning handles for Cairo surfaces and contexts.
#pragma once

#include <cairo.h>

#include <memory>

namespace ardelvine::hostapp {

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;

struct ContextFree {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Context = std::unique_ptr<cairo_t, ContextFree>;

}  // namespace ardelvine::hostapp
