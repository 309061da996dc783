// Pictures of panel windows written as PNG files, one per visible window.
#pragma once

#include <string>
#include <vector>

#include "host/draw/area_overlay.h"
#include "host/draw/cairo_handles.h"
#include "host/load/panel_config.h"
#include "host/draw/render.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {

class Host;

// The panel token that says whether the panel lights are on.
inline constexpr std::uint32_t kPanelLightsToken = tokens::PANEL_LIGHTS;
// The lighting the host's panel is drawn in now.
Lighting lighting_of(Host& host);

// The host's decoded bitmaps as a BitmapSource.
BitmapSource host_bitmaps(Host& host);
// The finer drawings of the host's module, from the pack beside it.
FineSource host_fine_bitmaps(const Host& host);

// The largest picture the host draws, of a window or of one gauge's layer.
inline constexpr double kMaxPictureSide = 16384;
inline constexpr double kMaxPictureBytes = 256.0 * 1024 * 1024;  // 4 bytes a pixel

// Refuses, before anything is drawn, a panel whose window or gauge pictures
// at `scale` pixels per panel unit would pass those caps: the message names
// the panel file and line, or the --scale option when the panel alone fits.
void check_picture_sizes(const Host& host, double scale);

// "window-00-main-panel.png" for window 0 titled "Main Panel".
std::string window_file_name(const WindowConfig& window);

struct RenderRequest {
    std::string out_dir = ".";
    std::string prefix;  // put before each file name, e.g. "cruise-"
    bool areas = false;
    bool all_windows = false;  // hidden windows too
};

// The window as it is seen: the renderer's picture, with the gauges of other
// modules outlined and, when asked, every mouse area drawn over it. What is
// drawn over goes on a copy held in `copy` (the renderer keeps its own picture
// for the next frame); the result lives as long as the renderer and `copy`.
// With `legend`, the areas' colours are explained along the bottom edge.
cairo_surface_t* window_picture(const Host& host, Renderer& renderer, const WindowConfig& window, Lighting lighting,
                                bool areas, Surface& copy, bool legend = true);

// The text each tooltip area of the host's gauges shows now, for labelling it.
AreaTooltip area_tooltip(const Host& host);

// Writes a PNG of every window of the host's panel that is visible now (or of
// every window, with `all_windows`) and not of zero size; returns the paths
// written. Throws InputError when a file cannot be written.
std::vector<std::string> render_windows(Host& host, Renderer& renderer, const RenderRequest& request);

}  // namespace ardelvine::hostapp
