// Panel configurations in the simulator's own INI format:
//
//   [Window Titles]
//   Window00=Main Panel
//   [Window00]
//   size_mm=640,480
//   visible=1
//   ident=MAIN_PANEL        (a number or a window name)
//   position=7
//   background_color=16,16,16
//   gauge00=Ardelvine_Instr!Airspeed, 10, 20, 100
//   gauge01=Ardelvine_Instr!Fuel_Toggle, 0, 0, 19, 19, a RADIO_STACK_PANEL
//
// A gauge line gives the module and gauge, x and y, then optionally width and
// height (whole numbers), then optionally the parameter string: everything
// from the first field that is not a whole number, commas included.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ardelvine::hostapp {

struct GaugeLine {
    std::string module;
    std::string gauge;
    int x = 0, y = 0;
    std::optional<int> width, height;
    std::string parameters;
    int line = 0;
};

struct WindowConfig {
    int index = 0;  // NN of [WindowNN]
    std::string title;
    int size_w = 0, size_h = 0;  // design units (millimetres); the panel's pixel size
    // False without size_mm: the host then sizes the window to hold its
    // gauges once their widths and heights are known.
    bool size_given = false;
    std::uint32_t ident = 0;
    bool visible = true;
    int position = 0;
    std::string window_size, window_pos;
    std::uint8_t background[3] = {0, 0, 0};
    std::vector<GaugeLine> gauges;
    int line = 0;
};

struct PanelConfig {
    std::string file;
    std::vector<WindowConfig> windows;
};

// Throws InputError naming the file and line.
PanelConfig parse_panel_config(const std::string& text, const std::string& file_name);
PanelConfig load_panel_config(const std::string& path);

// Window names a configuration may use for `ident`.
std::optional<std::uint32_t> window_ident_by_name(const std::string& name);

}  // namespace ardelvine::hostapp
