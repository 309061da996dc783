// The renderer: turns the evaluated element chains of the gauges placed in a
// panel window into a picture.
//
// A window is drawn at `scale` pixels per panel unit: its background colour
// and over it its background bitmap stretched to the window, then every gauge of the window in placement order, each scaled from its
// background bitmap's pixels to the placement's width and height. Within a
// gauge the elements are drawn in chain order (the order of
// Placement::elements()), each by the rule of its kind:
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
// Pure black is transparent in every decoded bitmap; an element without the
// transparent flag gets a black backing instead. Elements with the smooth flag
// are filtered bilinearly, the others sampled nearest. At night everything not
// flagged bright is darkened, and lit elements glow warm while the panel
// lights are on.
//
// The Renderer keeps, per gauge, two pre-drawn layers: the unchanging static
// images below the first moving element and those above the last one (glass,
// bezels). A frame redraws only gauges whose element states changed, and only
// their rectangles of the window picture.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/load/panel_config.h"
#include "host/load/placement.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {

// Decoded module bitmaps by resource id (ARGB32, transparent colour cleared).
// The source keeps ownership; null for an id it does not have.
using BitmapSource = std::function<cairo_surface_t*(std::uint32_t id)>;

struct Lighting {
    bool night = false;
    bool panel_lights = false;
    // The panel's own colour for its lights at night ([Color] Night=); none:
    // a warm flood light.
    std::optional<RgbBytes> night_colour;
    bool operator==(const Lighting&) const = default;
};

// What an element's colours are multiplied by under a lighting.
enum class Tint : std::uint8_t { NONE, DARK, LIT };
Tint element_tint(std::uint32_t image_flags, Lighting lighting);
struct TintFactors {
    double r, g, b;
};
TintFactors tint_factors(Tint tint, const std::optional<RgbBytes>& night_colour = {});

// Placement of the element pictures in gauge (background bitmap) pixels:
// each matrix maps the element's own bitmap pixels onto the gauge.
cairo_matrix_t needle_matrix(const ElementHeader& element, double angle_deg);
cairo_matrix_t sprite_matrix(const Sprite& sprite, double dx, double dy, double rotation_deg, int picture_width,
                             int picture_height);

class Renderer {
public:
    explicit Renderer(BitmapSource bitmaps, double scale = 1.0);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Brings the picture of `window` up to date with the gauges' element
    // states and returns it. The surface belongs to the renderer and stays
    // valid until the renderer is destroyed.
    cairo_surface_t* draw(const WindowConfig& window, const std::vector<std::unique_ptr<Placement>>& placements,
                          Lighting lighting);
    // Makes the next draw of every window start from nothing (layers included).
    void invalidate();
    // Makes the next draw of every window paint the whole picture again,
    // from the layers it already has.
    void repaint();

    double scale() const { return scale_; }
    // Gauges whose pictures the last draw redrew.
    std::size_t gauges_redrawn() const { return redrawn_; }

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    double scale_;
    std::size_t redrawn_ = 0;
};

}  // namespace ardelvine::hostapp
