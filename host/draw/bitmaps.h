// The module's bitmaps as Cairo surfaces.
//
// A bitmap resource is an uncompressed BMP (8 bits with a colour table, or 24
// bits) found by numeric id in the module's resource directory, read by the
// same reader (resources/formats.h) that checks replacement art at build time. Decoded, it
// becomes an ARGB32 image surface in which pure black (0,0,0), the module's
// transparent colour, is fully transparent and every other pixel opaque; the
// renderer draws elements whose transparency flag is clear as they are.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "host/draw/bitmap_info.h"

namespace ardelvine::hostapp {

// Decodes bitmap `id` into a new surface that the caller destroys; null when
// the module has no such bitmap or it cannot be decoded. Throws DrawingError
// when memory for the surface runs out.
cairo_surface_t* decode_bitmap(void* module, std::uint32_t id);
// A bitmap file (a window's background), decoded the same way; null when it
// cannot be read or decoded.
cairo_surface_t* decode_bitmap_file(const std::string& path);

// Decoded bitmaps of one module, each decoded once on first use.
class BitmapCache {
public:
    explicit BitmapCache(void* module) : module_(module) {}

    // The surface of bitmap `id`, owned by the cache; null when there is none.
    cairo_surface_t* get(std::uint32_t id);

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    void* module_;
    std::unordered_map<std::uint32_t, std::unique_ptr<cairo_surface_t, SurfaceDeleter>> surfaces_;
};

}  // namespace ardelvine::hostapp
