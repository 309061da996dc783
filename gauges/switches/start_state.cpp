// The two start-state gauges. Placing one on a panel chooses how the aircraft
// starts: Engine_Off shuts a running aircraft down to cold and dark when the
// panel comes up, Engine_On switches every radio on. Neither shows anything
// (a 5 x 5 picture) or answers the mouse.
//
// Both also capture the four fuel tanks' capacities when the panel comes up,
// which the fuel gauge needs to show gallons, and on every update pass on the
// value of one simulation variable as a key event while it is above 10.
#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "gauges/systems/fuel_tanks.h"
#include "gauges/whole_number.h"
#include "module/host.h"

namespace ardelvine::gauges {
namespace {

using radios::radio_power;

// The panel has come up with the aircraft in the air or on the ground with a
// running engine: only then does the start state apply.
bool start_condition() { return host::read_token(60) > 0.0; }

// On every update: the variable's whole value goes out while it is above 10.
// A value that is not a number sends nothing.
void pass_on_update() {
    const double value = host::read_token(326);
    if (value != value) return;
    const std::int32_t whole = saturated_int32(value);
    if (whole > 10) host::trigger_key_event(65698, event_parameter(whole));
}

// Every radio switched on or off, identifier tones off either way, and the
// simulation told that the tones are off.
void set_radios(std::int32_t on) {
    radio_power.adf = on;
    radio_power.adf_tone = 0;
    host::trigger_key_event(65836, 0);  // ADF identifier off
    radio_power.com1 = on;
    radio_power.nav1 = on;
    radio_power.nav1_tone = 0;
    host::trigger_key_event(65832, 0);  // NAV1 identifier off
    host::trigger_key_event(65833, 0);
    radio_power.transponder = on;
}

void radios_on() { set_radios(1); }

// Each toggle goes out only while its system shows on, so a second run leaves
// what is already off alone. How "on" reads differs by system.
void shut_down() {
    host::trigger_key_event(65820, 0);                                         // left lever fully back
    if (host::read_token(895) > 0.0) host::trigger_key_event(66494, 0);        // fuel valve
    if (host::read_token(560) > 0.0) host::trigger_key_event(65919, 0);        // right lever fully back
    host::trigger_key_event(65927, 0);
    if (host::read_token(364) > 0.0) host::trigger_key_event(66241, 0);        // battery master
    if (host::read_token(565) != 0.0) host::trigger_key_event(66363, 0);       // generator
    if (host::read_token(740) == 1.0) host::trigger_key_event(66293, 0);       // avionics master
    if (host::read_token(13) == 1.0) host::trigger_key_event(65858, 0);        // pitot heat
    host::trigger_key_event(66057, 0);
    host::trigger_key_event(66060, 0);
    host::trigger_key_event(66053, 0);
    if (host::read_token(368) == 1.0) host::trigger_key_event(66239, 0);       // beacon lights
    if (host::read_token(619) == 1.0) host::trigger_key_event(66379, 0);       // navigation lights
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
        .blank = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = 40 /* 5 x 5 */, .gauge = &gauge,
                             .children = nullptr, .image_flags = IMAGE_TRANSPARENT | IMAGE_RESTORE}},
        .chain = {&self.blank.header, nullptr},
        .mouse = {mouse_parent(), mouse_end_parent(), mouse_end()},
    };
}

constinit Invisible engine_on = make_invisible(engine_on, Engine_On);
constinit Invisible engine_off = make_invisible(engine_off, Engine_Off);

}  // namespace

constinit GaugeHeader Engine_On =
    make_gauge("Engine_On", 30, engine_on.chain, engine_on.mouse, &start_state_service<&radios_on>);
constinit GaugeHeader Engine_Off =
    make_gauge("Engine_Off", 30, engine_off.chain, engine_off.mouse, &start_state_service<&shut_down>);

}  // namespace ardelvine::gauges
