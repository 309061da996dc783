// The mouse-area overlay of a rendered window: where a gauge can be clicked
// and what each area does, for panel designers checking their layout.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/load/mouse_areas.h"
#include "host/load/panel_config.h"
#include "host/load/placement.h"

namespace ardelvine::hostapp {

// Draws the gauges of other modules that stand in the window, as dashed
// outlines at their place and size, labelled with their module and name; at
// night their inside is barely lighter than the darkened panel.
void draw_unloaded_gauges(cairo_surface_t* target, const WindowConfig& window, const std::vector<UnloadedGauge>& gauges,
                          double scale, bool night);

// The text a tooltip area shows, as the host formats it; empty for none.
using AreaTooltip = std::function<std::string(const Placement& gauge, const MouseArea& area)>;

// Draws every mouse area of the window's gauges over `target` (a picture of
// the window at `scale`): a frame coloured by cursor, and a label beside each
// area saying what it does: the key event's name (or "handler") and the
// buttons of a click area, the tooltip of a tooltip area. Labels are of one
// size whatever the scale, and each goes where it covers no other label (a
// label with no room left is not drawn). With `legend`, the colours are
// explained along the bottom edge.
void draw_mouse_areas(cairo_surface_t* target, const WindowConfig& window,
                      const std::vector<std::unique_ptr<Placement>>& placements, double scale,
                      const AreaTooltip& tooltip = {}, bool legend = true);

}  // namespace ardelvine::hostapp
