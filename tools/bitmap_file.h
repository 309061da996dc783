// Turns a Cairo ARGB32 drawing into the bytes of an uncompressed BMP file:
// 8 bits per pixel with a 256-entry colour table, or 24 bits per pixel.
//
// Pure black (0,0,0) is the transparent colour of every bitmap: pixels less
// than half covered become pure black, and drawn pixels that are black or
// nearly so are lifted to the darkest opaque grey, so nothing drawn turns
// transparent by accident.
#pragma once

#include <cairo.h>

#include <vector>

#include "resources/catalogue.h"

namespace ardelvine::tools {

std::vector<unsigned char> encode_bmp(cairo_surface_t* surface, resources::Depth depth);

}  // namespace ardelvine::tools
