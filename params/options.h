// The parameter language as a panel designer reads it: each option of the
// window buttons and of the registration plate, when it acts, what it does
// and an example. The host's catalogue shows these rows beside the window
// and tooltip names of params.h, each example as a whole panel line, which
// its test hands to the checker.
#pragma once

namespace ardelvine::params {

struct OptionDoc {
    char letter;
    const char* argument;  // what follows the letter at once
    const char* when;
    const char* what;
    const char* example;  // a whole parameter string
};

inline constexpr OptionDoc kButtonOptions[] = {
    {'o', "WINDOW", "every click", "opens the window", "oRADIO_STACK_PANEL"},
    {'c', "WINDOW", "every click", "closes the window", "cGPS_PANEL"},
    {'t', "WINDOW", "every click", "toggles the window (all o first, then all c, then all t)", "tTHROTTLE_PANEL"},
    {'p', "N", "every click",
     "steps the view: p0 (or p) resets it, p3 steps forward three times, p-2 back twice (at most 100 either way)",
     "p1"},
    {'a', "WINDOW", "first installation", "closes the window when the panel loads", "aRADIO_STACK_PANEL tRADIO_STACK_PANEL"},
    {'b', "FACE", "installation", "wears another button's face: 100, 110, ... 180", "b140 tGPS_PANEL"},
    {'h', "TOOLTIP", "installation",
     "the tooltip: one of the tooltip names, or a host text id of at least 40960 (a smaller number removes it)",
     "hTOGGLE_GPS_WINDOW tGPS_PANEL"},
};

inline constexpr OptionDoc kPlateOptions[] = {
    {'t', "TEXT", "only as the very first option",
     "shows TEXT instead of the aircraft's identifier: up to its first space, at most 7 characters, _ shown as a space",
     "tD_EABC"},
    {'r', "N", "installation", "red of the text, 0 to 255 (more counts as 255)", "r255 g200 b40"},
    {'g', "N", "installation", "green of the text", "g255"},
    {'b', "N", "installation", "blue of the text", "b255"},
    {'f', "FONT", "installation, last of all", "the font: the rest of the line, at most 31 characters",
     "r255 fCourier New"},
};

}  // namespace ardelvine::params
