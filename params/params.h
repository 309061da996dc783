// The parameter language of panel configurations: the free text a panel line
// gives a gauge after its position, which the host hands over in the header's
// parameter string. Aircraft designers write it by hand and share it, so every
// reading here is lenient and bounded: nothing is reported, nothing overflows,
// and a string never makes a click do unbounded work.
//
// Options are a lower-case key letter followed at once by its argument, in
// any order, separated by anything or nothing:
//
//   o WINDOW   open a window on every click          (all of them, in order)
//   c WINDOW   close a window on every click          (then all of these)
//   t WINDOW   toggle a window on every click         (then all of these)
//   p N        step the view on every click: N = 0 resets it, N > 0 steps
//              forward N times, N < 0 back -N times   (first one only)
//   a WINDOW   close a window when the gauge is first installed (first only)
//   b FACE     the button face, bitmap 100 to 180 in steps of 10 (first only)
//   h TOOLTIP  the host tooltip of the whole gauge    (first only)
//
// WINDOW is a name of kWindowNames (matched as a prefix, first in table order
// wins) or a number; TOOLTIP a name of kTooltipNames or a host text id of at
// least 0xA000. '/', '#' and '\'' start a comment: no key after the first of
// them counts. Registration reads its own keys with the same search.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "resources/help.h"

namespace ardelvine::params {

struct WindowName {
    const char* name;
    std::int32_t ident;
};

// Compared in this order; the first name the argument begins with wins.
inline constexpr WindowName kWindowNames[] = {
    {"MAIN_PANEL", 0},
    {"RADIO_STACK_PANEL", 50},
    {"COMPASS_PANEL", 75},
    {"ANNUNCIATOR_PANEL", 125},
    {"ANNUNCIATOR2_PANEL", 150},
    {"COLLECTIVE_PANEL", 200},
    {"THROTTLE_PANEL", 10},
    {"MINI_CONTROLS_PANEL", 100},
    {"IFR_MAIN_PANEL", 175},
    {"GPS_PANEL", 225},
    {"OVERHEAD_PANEL", 250},
};

struct TooltipName {
    const char* name;
    std::uint32_t help_id;
};

inline constexpr TooltipName kTooltipNames[] = {
    {"TOGGLE_RADIO_WINDOW", help::RADIO_STACK_WINDOW},
    {"TOGGLE_GPS_WINDOW", help::GPS_WINDOW},
    {"TOGGLE_THROTTLE_WINDOW", help::THROTTLE_QUADRANT_WINDOW},
    {"TOGGLE_COMPASS_WINDOW", help::COMPASS_WINDOW},
    {"TOGGLE_FUEL_WINDOW", help::FUEL_PANEL_WINDOW},
    {"TOGGLE_COLLECTIVE_WINDOW", help::COLLECTIVE_WINDOW},
};

// Host text ids start here; a smaller number given for h clears the tooltip.
inline constexpr std::uint32_t kFirstHostHelpId = 0xA000;

// The button faces the b option may choose.
inline constexpr std::int32_t kFirstFace = 100;
inline constexpr std::int32_t kLastFace = 180;
inline constexpr std::int32_t kFaceStep = 10;

// The most view steps one click sends either way: a slip of the keyboard
// ("p99999999") would otherwise freeze the panel for minutes.
inline constexpr std::int32_t kMaxViewSteps = 100;

// The first `key` in `text`, or null when there is none or when a comment
// character ('/', '#', '\'') stands anywhere before it.
const char* find_key(const char* text, char key);
char* find_key(char* text, char key);

// The decimal number `text` starts with, as atoi reads it (leading white
// space, optional sign, digits up to the first other character; 0 without
// digits), except that a number beyond 32 bits saturates instead of wrapping.
std::int32_t read_number(const char* text);

// A window argument: -1 for no text, the ident of the first window name the
// text begins with, otherwise the text read as a number.
std::int32_t window_ident(const char* text);

// A tooltip argument: 0 for no text, the id of the first tooltip name the text
// begins with, otherwise the number if it is a host text id, else 0.
std::uint32_t tooltip_id(const char* text);

// A click of a configurable button: sends every o, then every c, then every t
// command, then the p steps. False only when there is no string or it is
// empty (the button then does its default), true otherwise, even when the
// string holds no click option at all.
bool run_click_commands(const char* parameters);

// b and h, at every installation: the face of the gauge's root element and
// the help id of its first mouse area. A b out of range cancels h as well.
void apply_install_options(GaugeHeader* gauge);

// a: closes its window. The buttons run it once per placement.
void apply_close_at_install(GaugeHeader* gauge);

// Readings the language offers panel authors' own gauges; each does nothing
// when the gauge, its string or the destination is missing, or the string is
// empty, and leaves the destination alone when the key is not found.
void read_float_after(const GaugeHeader* gauge, char key, double* out);
void read_number_after(const GaugeHeader* gauge, char key, std::int32_t* out);
// Ends the string at its first comment character, in place.
void cut_comment(GaugeHeader* gauge);
// Ends it at its first comment character, then turns it to upper case.
void cut_comment_upper(GaugeHeader* gauge);

}  // namespace ardelvine::params
