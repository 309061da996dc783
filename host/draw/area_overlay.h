// The mouse-area overlay of a rendered window: where a gauge can be clicked
// and what each area does, for panel designers checking their layout.
#pragma once

#include <cairo.h>

#include <memory>
#include <vector>

#include "host/load/panel_config.h"
#include "host/load/placement.h"

namespace ardelvine::hostapp {

// Draws the gauges of other modules that stand in the window, as dashed
// outlines at their place and size, labelled with their module and name; at
// night their inside is barely lighter than the darkened panel.
void draw_unloaded_gauges(cairo_surface_t* target, const WindowConfig& window, const std::vector<UnloadedGauge>& gauges,
                          double scale, bool night);

// Draws every mouse area of the window's gauges over `target` (a picture of
// the window at `scale`): a frame coloured by cursor and a short label of
// what the area does.
void draw_mouse_areas(cairo_surface_t* target, const WindowConfig& window,
                      const std::vector<std::unique_ptr<Placement>>& placements,
                      double scale);

}  // namespace ardelvine::hostapp
