// The twelve push buttons that open, close and toggle panel windows and views.
//
// Nine are one configurable button in nine faces: a panel line tells each
// placement what a click does and may change its face and tooltip (the
// language is in params/params.h). Without a parameter string a click toggles
// the main panel. The other three make the host send one key event and carry
// no code.
//
// Every button is a face at (0,0) with flags 0x3 and a hand-cursor click area
// of 13 x 13 at (3,3) under a whole-gauge area that holds its tooltip.
#include <array>

#include "gauges/gauge.h"
#include "model/events.h"
#include "module/host.h"
#include "params/params.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {

struct ButtonRow {
    const GaugeEntry& gauge;  // name and width
    std::uint32_t face;     // bitmap of the root element
    std::uint32_t help_id;  // host tooltip of the whole gauge, or 0
    const char* tooltip;    // the module's own tooltip, or null
    std::uint32_t event;    // a fixed button's key event; 0 for a configurable one
};

// ------------------------------------------------------------ callbacks

// Installation: face and tooltip every time; the window to close only the
// first time this placement is installed, so reloading a panel does not shut
// a window the pilot has opened since.
void ARD_CALL button_service(GaugeHeader* gauge, std::int32_t service, std::uintptr_t) {
    if (service != PANEL_SERVICE_PRE_INSTALL) return;
    params::apply_install_options(gauge);
    if (gauge != nullptr && gauge->user_data == 0) {
        params::apply_close_at_install(gauge);
        gauge->user_data = 1;
    }
}

// The area asks the host for left clicks only.
std::int32_t ARD_CALL button_click(MouseClick* click, std::uint32_t) {
    const GaugeHeader* gauge = click != nullptr ? click->gauge : nullptr;
    if (!params::run_click_commands(gauge != nullptr ? gauge->parameters : nullptr))
        panel_services::panel_window_toggle(0);  // the main panel
    return 0;
}

// ------------------------------------------------------------ records

template <std::size_t N>
constexpr std::array<MouseRect, N> button_mouse(const ButtonRow& row) {
    std::array<MouseRect, N> list{};
    std::size_t n = 0;
    list[n++] = mouse_parent({0, 0, 0, 0}, CURSOR_NONE, row.help_id);
    if (row.tooltip != nullptr) list[n++] = mouse_tooltip(row.tooltip);
    list[n++] = row.event != 0 ? mouse_child_event({3, 3, 13, 13}, CURSOR_HAND, MOUSE_LEFT, row.event)
                               : mouse_child({3, 3, 13, 13}, CURSOR_HAND, MOUSE_LEFT, &button_click);
    list[n++] = mouse_end_parent();
    list[n++] = mouse_end();
    return list;
}

template <const ButtonRow& Row, GaugeHeader& Gauge>
struct WindowButton {
    static StaticImage face;
    static ElementHeader* chain[2];
    static std::array<MouseRect, Row.tooltip != nullptr ? 5 : 4> mouse;

    static constexpr GaugeHeader header() {
        if constexpr (Row.event != 0)
            return make_gauge(Row.gauge, chain, mouse.data());
        else
            return make_gauge(Row.gauge, chain, mouse.data(), &button_service);
    }
};

template <const ButtonRow& Row, GaugeHeader& Gauge>
constinit StaticImage WindowButton<Row, Gauge>::face = {
    .header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = Row.face, .x = 0, .y = 0, .gauge = &Gauge,
               .image_flags = kPlainFlags}};

template <const ButtonRow& Row, GaugeHeader& Gauge>
constinit ElementHeader* WindowButton<Row, Gauge>::chain[2] = {&face.header, nullptr};

template <const ButtonRow& Row, GaugeHeader& Gauge>
constinit std::array<MouseRect, Row.tooltip != nullptr ? 5 : 4> WindowButton<Row, Gauge>::mouse =
    button_mouse<Row.tooltip != nullptr ? 5 : 4>(Row);

// ------------------------------------------------------------ the buttons

// Configurable: faces 100 to 180, the ones a parameter string may choose.
constexpr ButtonRow kInvisible{registry::Invisible_Toggle, bitmaps::INVISIBLE_BUTTON, 0, nullptr, 0};
constexpr ButtonRow kCloseSubpanel{registry::Close_Subpanel, bitmaps::CLOSE_BUTTON, 0, "Close the subpanel", 0};
constexpr ButtonRow kRadios{registry::Radios_Toggle, bitmaps::RADIOS_BUTTON, help::RADIO_STACK_WINDOW, nullptr, 0};
constexpr ButtonRow kLandingView{registry::Landing_View_Toggle, bitmaps::LANDING_VIEW_BUTTON, 0, "Switch between Normal and Landing view", 0};
constexpr ButtonRow kGps{registry::GPS_Toggle, bitmaps::GPS_BUTTON, help::GPS_WINDOW, nullptr, 0};
constexpr ButtonRow kThrottle{registry::Throttle_Toggle, bitmaps::THROTTLE_BUTTON, help::THROTTLE_QUADRANT_WINDOW, nullptr, 0};
constexpr ButtonRow kCompass{registry::Compass_Toggle, bitmaps::COMPASS_BUTTON, help::COMPASS_WINDOW, nullptr, 0};
constexpr ButtonRow kFuel{registry::Fuel_Toggle, bitmaps::FUEL_BUTTON, help::FUEL_PANEL_WINDOW, "Display/Hide the fuel subpanel", 0};
constexpr ButtonRow kElectricity{registry::Electricity_Toggle, bitmaps::ELECTRICITY_BUTTON, 0, "Display/Hide the electricity switches", 0};

// Fixed: the host sends the event; no code, no parameters.
constexpr ButtonRow kKneeboard{registry::Kneeboard_Toggle, bitmaps::KNEEBOARD_BUTTON, help::KNEEBOARD_WINDOW, nullptr, events::KNEEBOARD_WINDOW};
constexpr ButtonRow kMap{registry::Map_Toggle, bitmaps::MAP_BUTTON, help::MAP_WINDOW, nullptr, events::MAP_WINDOW};
constexpr ButtonRow kAtc{registry::ATC_Toggle, bitmaps::ATC_BUTTON, help::ATC_WINDOW, nullptr, events::ATC_WINDOW};

static_assert(kInvisible.face == params::kFirstFace && kElectricity.face == params::kLastFace,
              "the configurable faces are the ones the b option chooses from");

}  // namespace

constinit GaugeHeader Invisible_Toggle = WindowButton<kInvisible, Invisible_Toggle>::header();
constinit GaugeHeader Close_Subpanel = WindowButton<kCloseSubpanel, Close_Subpanel>::header();
constinit GaugeHeader Radios_Toggle = WindowButton<kRadios, Radios_Toggle>::header();
constinit GaugeHeader Landing_View_Toggle = WindowButton<kLandingView, Landing_View_Toggle>::header();
constinit GaugeHeader GPS_Toggle = WindowButton<kGps, GPS_Toggle>::header();
constinit GaugeHeader Throttle_Toggle = WindowButton<kThrottle, Throttle_Toggle>::header();
constinit GaugeHeader Compass_Toggle = WindowButton<kCompass, Compass_Toggle>::header();
constinit GaugeHeader Fuel_Toggle = WindowButton<kFuel, Fuel_Toggle>::header();
constinit GaugeHeader Electricity_Toggle = WindowButton<kElectricity, Electricity_Toggle>::header();

constinit GaugeHeader Kneeboard_Toggle = WindowButton<kKneeboard, Kneeboard_Toggle>::header();
constinit GaugeHeader Map_Toggle = WindowButton<kMap, Map_Toggle>::header();
constinit GaugeHeader ATC_Toggle = WindowButton<kAtc, ATC_Toggle>::header();

}  // namespace ardelvine::gauges
