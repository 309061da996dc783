// The renderer: turns the evaluated element chains of the gauges placed in a
// panel window into a picture.
//
// A window is drawn at `scale` pixels per panel unit: its background colour
// and over it its background bitmap stretched to the window, then every
// gauge of the window in placement order, each scaled from its background
// bitmap's pixels to the placement's width and height. Within a gauge the
// elements are drawn in chain order (the order of Placement::elements()),
// each by the rule of its kind (host/draw/elements.h).
//
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

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "host/draw/bitmaps.h"
#include "host/draw/elements.h"
#include "host/draw/geometry.h"
#include "host/load/panel_config.h"
#include "host/load/placement.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {

class Renderer {
public:
    // From a scale of 1.5 the bitmaps are painted from `fine` where it has
    // them (host/draw/bitmaps.h).
    explicit Renderer(BitmapSource bitmaps, double scale = 1.0, FineSource fine = {});
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
    // Where the last draw changed its window's picture, in its pixels;
    // nullopt when it painted all of it.
    const std::optional<std::vector<Box>>& damage() const { return damage_; }

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    double scale_;
    std::size_t redrawn_ = 0;
    std::optional<std::vector<Box>> damage_;
};

}  // namespace ardelvine::hostapp
