// Scenarios: a small line-based language that drives a panel.
//
//   # comment
//   set 61 120            token value, held there until released
//   release 61            the token handed back to the simulated aircraft
//   aircraft running      the aircraft put at once in a start state: running
//                         or parked (every held token released)
//   update 10             ten panel updates (default 1)
//   ready [GAUGE]         the panel is laid out (service 14 to every gauge,
//                         or only to the one named)
//   reload                every gauge removed and installed again (services 12
//                         then 2), module state kept, as a reloaded panel
//   click Battery_Switch 5 5 [left|right|both] [hold N]
//   drag Throttle_Quadrant 40 120
//   tooltip Battery_Switch 5 5
//   fail 3 on|off         a failure by key
//   lighting day|night
//   window 50 show|hide   a panel window by ident or name
//   atc N4471A            the aircraft's identifier
//   snapshot NAME         pictures of the panel as it is now (render)
//
// A gauge is named as placed; `Name#2` is its second placement. Positions are
// pixels of the gauge's background bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ardelvine::hostapp {

enum class Button { LEFT, RIGHT, BOTH };

struct GaugeRef {
    std::string name;
    int occurrence = 1;  // 1 = first placement
};

// The bounds a mouse action is held to, wherever it comes from.
inline constexpr int kMaxMousePosition = 100000;  // x and y, either sign
inline constexpr long long kMaxHold = 10000;      // held repeats of one click

struct Command {
    enum class Kind {
        SET, RELEASE, AIRCRAFT, UPDATE, READY, RELOAD, CLICK, DRAG, TOOLTIP, FAIL, LIGHTING, WINDOW, ATC, SNAPSHOT
    };
    Kind kind;
    int line = 0;
    std::uint32_t number = 0;  // token, update count, failure key, window ident, hold repeats
    double value = 0.0;        // set
    bool on = false;           // fail on, lighting night, window show, aircraft running
    GaugeRef gauge;
    int x = 0, y = 0;
    Button button = Button::LEFT;
    std::string text;  // atc, snapshot
};

struct Scenario {
    std::string file;
    std::vector<Command> commands;
};

// Throws InputError naming the file and line.
Scenario parse_scenario(const std::string& text, const std::string& file_name);
Scenario load_scenario(const std::string& path);

}  // namespace ardelvine::hostapp
