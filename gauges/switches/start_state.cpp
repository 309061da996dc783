// The two start-state gauges. Placing one on a panel chooses how the aircraft
// starts: Engine_Off shuts a running aircraft down to cold and dark when the
// panel comes up, Engine_On switches every radio on. Neither shows anything
// (a 5 x 5 picture) or answers the mouse.
//
// Both also capture the four fuel tanks' capacities when the panel comes up,
// which the fuel gauge needs to show gallons, and on every update pass on the
// value of one simulation variable as a key event while it is above 10.
#include "gauges/gauge.h"
#include "model/events.h"
#include "model/tokens.h"
#include "gauges/radios/radio.h"
#include "gauges/systems/fuel_tanks.h"
#include "gauges/whole_number.h"
#include "module/host.h"

namespace ardelvine::gauges {
namespace {

using radios::radio_power;

// The panel has come up with the aircraft in the air or on the ground with a
// running engine: only then does the start state apply.
bool start_condition() { return panel_services::read_token(tokens::ENGINE_RUNNING) > 0.0; }

// On every update: the variable's whole value goes out while it is above 10.
// A value that is not a number sends nothing.
void pass_on_update() {
    const double value = panel_services::read_token(tokens::START_STATE_WATCH);
    if (value != value) return;
    const std::int32_t whole = saturated_int32(value);
    if (whole > 10) panel_services::trigger_key_event(events::START_STATE_WATCH_SET, event_parameter(whole));
}

// Every radio switched on or off, identifier tones off either way, and the
// simulation told that the tones are off.
void set_radios(std::int32_t on) {
    radio_power.adf = on;
    radio_power.adf_tone = 0;
    panel_services::trigger_key_event(events::ADF_IDENT_OFF, 0);
    radio_power.com1 = on;
    radio_power.nav1 = on;
    radio_power.nav1_tone = 0;
    panel_services::trigger_key_event(events::NAV1_IDENT_OFF, 0);
    panel_services::trigger_key_event(events::NAV2_IDENT_OFF, 0);
    radio_power.transponder = on;
}

void radios_on() { set_radios(1); }

// Each toggle goes out only while its system shows on, so a second run leaves
// what is already off alone. How "on" reads differs by system.
void shut_down() {
    using namespace events;
    using panel_services::read_token;
    panel_services::trigger_key_event(THROTTLE_SET, 0);  // closed
    if (read_token(tokens::FUEL_VALVE) > 0.0) panel_services::trigger_key_event(FUEL_VALVE_TOGGLE, 0);
    if (read_token(tokens::MIXTURE_LEVER) > 0.0) panel_services::trigger_key_event(MIXTURE_SET, 0);  // cut-off
    panel_services::trigger_key_event(SHUTDOWN_STEP_1, 0);
    if (read_token(tokens::BATTERY_MASTER) > 0.0) panel_services::trigger_key_event(BATTERY_MASTER_TOGGLE, 0);
    if (read_token(tokens::GENERATOR_SWITCH) != 0.0) panel_services::trigger_key_event(GENERATOR_TOGGLE, 0);
    if (read_token(tokens::AVIONICS_MASTER) == 1.0) panel_services::trigger_key_event(AVIONICS_MASTER_TOGGLE, 0);
    if (read_token(tokens::PITOT_HEAT) == 1.0) panel_services::trigger_key_event(PITOT_HEAT_TOGGLE, 0);
    panel_services::trigger_key_event(SHUTDOWN_STEP_2, 0);
    panel_services::trigger_key_event(SHUTDOWN_STEP_3, 0);
    panel_services::trigger_key_event(SHUTDOWN_STEP_4, 0);
    if (read_token(tokens::BEACON_LIGHTS) == 1.0) panel_services::trigger_key_event(BEACON_LIGHTS_TOGGLE, 0);
    if (read_token(tokens::NAVIGATION_LIGHTS) == 1.0) panel_services::trigger_key_event(NAVIGATION_LIGHTS_TOGGLE, 0);
    set_radios(0);
}

template <void (*StartState)()>
void ARD_CALL start_state_service(GaugeHeader*, std::int32_t service, std::uintptr_t) {
    switch (service) {
        case PANEL_SERVICE_PANEL_READY:
            capture_fuel_tank_capacities();
            if (start_condition()) StartState();
            break;
        case PANEL_SERVICE_PRE_UPDATE:
            pass_on_update();
            break;
        default:
            break;
    }
}

struct Invisible {
    StaticImage blank;
    ElementHeader* chain[2];
    MouseRect mouse[3];
};

constexpr Invisible make_invisible(Invisible& self, GaugeHeader& gauge) {
    return Invisible{
        .blank = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::INVISIBLE_TOKEN /* 5 x 5 */, .gauge = &gauge,
                             .children = nullptr, .image_flags = kPlainFlags}},
        .chain = {&self.blank.header, nullptr},
        .mouse = {mouse_parent(), mouse_end_parent(), mouse_end()},
    };
}

constinit Invisible engine_on = make_invisible(engine_on, Engine_On);
constinit Invisible engine_off = make_invisible(engine_off, Engine_Off);

}  // namespace

constinit GaugeHeader Engine_On =
    make_gauge(registry::Engine_On, engine_on.chain, engine_on.mouse, &start_state_service<&radios_on>);
constinit GaugeHeader Engine_Off =
    make_gauge(registry::Engine_Off, engine_off.chain, engine_off.mouse, &start_state_service<&shut_down>);

}  // namespace ardelvine::gauges
