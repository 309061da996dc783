// Views and panel windows: the panel window events show and hide the window
// whose ident is their parameter; the simulator's own views and windows (ATC,
// map, kneeboard) are outside the panel.
#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"

namespace ardelvine::hostapp::sim {
namespace {

void toggle_window(Simulation& sim, const EventRule&, std::uint32_t ident) { sim.toggle_window(ident); }
void open_window(Simulation& sim, const EventRule&, std::uint32_t ident) { sim.set_window_visible(ident, true); }
void close_window(Simulation& sim, const EventRule&, std::uint32_t ident) { sim.set_window_visible(ident, false); }

constexpr const char* kView = "a view change: nothing a panel shows";
constexpr const char* kSimulatorWindow = "a window of the simulator's own, not of the panel";

constexpr EventRule kEvents[] = {
    custom(events::PANEL_WINDOW_TOGGLE, toggle_window),
    custom(events::PANEL_WINDOW_OPEN, open_window),
    custom(events::PANEL_WINDOW_CLOSE, close_window),
    recorded(events::VIEW_MODE_NEXT, kView),
    recorded(events::VIEW_MODE_PREVIOUS, kView),
    recorded(events::VIEW_RESET, kView),
    recorded(events::ATC_WINDOW, kSimulatorWindow),
    recorded(events::KNEEBOARD_WINDOW, kSimulatorWindow),
    recorded(events::MAP_WINDOW, kSimulatorWindow),
};

}  // namespace

extern const System views_and_windows = {"views and panel windows", {}, kEvents};

}  // namespace ardelvine::hostapp::sim
