// Pictures of panel windows written as PNG files, one per visible window.
#pragma once

#include <string>
#include <vector>

#include "host/panel_config.h"
#include "host/render.h"

namespace ardelvine::hostapp {

class Host;

// "window-00-main-panel.png" for window 0 titled "Main Panel".
std::string window_file_name(const WindowConfig& window);

struct RenderRequest {
    std::string out_dir = ".";
    std::string prefix;  // put before each file name, e.g. "cruise-"
    bool areas = false;
};

// Writes a PNG of every window of the host's panel that is visible now;
// returns the paths written. Throws InputError when a file cannot be written.
std::vector<std::string> render_windows(Host& host, Renderer& renderer, const RenderRequest& request);

}  // namespace ardelvine::hostapp
