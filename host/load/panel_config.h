// Panel configurations in the simulator's own INI format, read as leniently
// as the simulator reads them, since designers hand us the files they ship:
//
//   [Window Titles]
//   Window00=Main Panel
//   [Window00]
//   file=Panel_Background.bmp   (drawn under the gauges; sets the height
//   size_mm=1024                 when size_mm gives only a width)
//   visible=1
//   ident=MAIN_PANEL        (a number or a window name)
//   background_color=16,16,16
//   gauge00=Ardelvine_Instr!Airspeed, 10, 20, 100
//   gauge01=Ardelvine_Instr!Fuel_Toggle, 0, 0, 19, 19, tRADIO_STACK_PANEL
//   gauge02=OtherModule!Some Gauge, 200, 20, 60, 60
//   [Vcockpit01]
//   size_mm=512,512
//   pixel_size=1024,1024
//   texture=$VC_panel
//   gauge00=Ardelvine_Instr!Clock, 0, 0, 128
//   [Vcockpit02]            (of zero size: logic only, nothing drawn)
//   size_mm=0,0
//   pixel_size=0,0
//   gauge00=Ardelvine_Instr!Engine_On, 0, 0, 0, 0
//   [Color]
//   Night=255,160,96
//
// Keys are read in any case, with white space and tabs anywhere around keys,
// values and commas; `//` starts a comment anywhere on a line, and `;` a
// comment everywhere but in a gauge line's parameters. A key of a window
// section that the simulator does not know, and other slips the simulator
// passes over, are warnings with the file and line; lines that cannot mean
// anything (a gauge whose position is not a number, a section header without
// its bracket) are errors.
//
// A gauge line gives the module and gauge, x and y, then optionally width and
// height (whole numbers), then optionally the parameter string: everything
// from the first field that is not a whole number, commas included.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ardelvine::hostapp {

// Something the simulator would pass over but a designer wants to hear of.
struct PanelWarning {
    int line = 0;  // 0: the file as a whole
    std::string text;
};

struct GaugeLine {
    std::string module;
    std::string gauge;
    int x = 0, y = 0;
    std::optional<int> width, height;
    std::string parameters;
    int line = 0;
    std::string key;  // "gauge03" as written, in its own case
};

using RgbBytes = std::array<std::uint8_t, 3>;

struct WindowConfig {
    int index = 0;  // NN of [WindowNN] or [VcockpitNN]
    // Where it stands in PanelConfig::windows: how placements name their window.
    std::size_t slot = 0;
    // A virtual-cockpit section: its gauges are drawn on a texture, which is
    // always shown; it has no ident and no visibility of its own.
    bool vcockpit = false;
    std::string title;
    int size_w = 0, size_h = 0;  // design units (millimetres); a 2D window's pixel size
    // Without size_mm the host sizes the window to hold its gauges once their
    // widths and heights are known; with a width alone only the height.
    bool size_given = false;
    bool height_given = false;
    int texture_w = 0, texture_h = 0;  // pixel_size of a virtual-cockpit texture; 0: as size_mm
    // size_mm or pixel_size with a side of 0: where real panels put gauges
    // that only do work (start states, sounds, logic). Nothing of it is drawn;
    // its gauges of this module are installed and updated as any other, and
    // may be placed with a width and height of 0.
    bool zero_size = false;
    std::uint32_t ident = 0;
    bool visible = true;
    bool nomenu = false;
    // position: where the simulator puts the window on the screen, 0 top left
    // to 8 bottom right, row by row; -1 when not given. zorder: windows with a
    // higher one stand over those with a lower.
    int position = -1;
    int zorder = 0;
    std::string window_size, window_pos;
    RgbBytes background = {0, 0, 0};
    // The background bitmap as written (file=, or the largest file_NNNN=),
    // the line that names it, and where it was found beside the panel file
    // with its pixel size (empty and 0 when it is not there or unreadable).
    std::string background_file;
    int background_line = 0;
    std::string background_path;
    int background_w = 0, background_h = 0;
    std::vector<GaugeLine> gauges;
    int line = 0;
};

struct PanelConfig {
    std::string file;
    std::vector<WindowConfig> windows;
    // [Color] Night=: the colour of the panel lights at night.
    std::optional<RgbBytes> night_colour;
    std::vector<PanelWarning> warnings;
};

// Throws InputError naming the file and line.
PanelConfig parse_panel_config(const std::string& text, const std::string& file_name);
// Parses the file and finds each window's background bitmap beside it.
PanelConfig load_panel_config(const std::string& path);

// Looks for each window's background bitmap in `folder`, ignoring case as the
// simulator's file system does, and reads its size; a window with only a
// width in size_mm then takes its height from the bitmap's proportions. A
// missing or unreadable bitmap is a warning.
void find_backgrounds(PanelConfig& config, const std::string& folder);

// Window names a configuration may use for `ident`.
std::optional<std::uint32_t> window_ident_by_name(const std::string& name);

// The window idents a window button's parameter string names after any of
// the option letters `options` ("ot": what a click opens or toggles), read as
// the buttons read them: a window name or a number right after the letter,
// none after a comment character. A button without a string names window 0:
// its click toggles the main panel.
std::vector<std::int64_t> button_windows(const char* parameters, std::string_view options);

// "Window00", "Vcockpit01": how messages name a window.
std::string section_name(const WindowConfig& window);

// One line of a panel file as the reader takes it, for tools that edit the
// file in place and must agree with the reader on every line.
struct PanelLine {
    enum class Kind { NOTHING, SECTION, KEY, BAD_SECTION, NOT_KEY } kind = Kind::NOTHING;
    std::string name;   // SECTION: the name in the brackets; KEY: the key in lower case
    std::string key;    // KEY: the key as written
    std::string value;  // KEY: the value without its comment
    std::string text;   // the line without its comment (for messages)
};
// `in_window`: whether the line stands in a [WindowNN] or [VcockpitNN]
// section, where a gauge line's `;` may belong to its parameters.
PanelLine read_panel_line(std::string_view raw, bool in_window);
// A gauge line's value (after `=` and without `//` comments) without its `;` comment.
std::string gauge_without_comment(const std::string& value);
bool is_gauge_key(const std::string& key);
// NN of a section named "WindowNN" (prefix "window") or "VcockpitNN" ("vcockpit").
std::optional<int> numbered_section(const std::string& section, std::string_view prefix);

}  // namespace ardelvine::hostapp
