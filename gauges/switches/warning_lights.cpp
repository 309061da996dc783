// The five warning lights: flaps extended, gear down, generator off, dive
// brakes deployed and tail hook extended. Each is a dark lamp with the lit
// lamp drawn over it while its condition holds; no press-to-test, no sound,
// only a tooltip. The lit lamp goes out with the bus that feeds it (failure 20
// electrical or 21 avionics).
//
// The conditions compare floating-point values as the simulation keeps them;
// where the boundary falls matters: flaps and gear light at their threshold,
// dive brakes and tail hook only above it.
#include "gauges/gauge.h"
#include "model/tokens.h"
#include "gauges/switches/plate_and_icon.h"
#include "gauges/switches/toggle_switch.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {

constexpr double kLit = 0.0, kDark = -1.0;

// Flaps position, in the simulation's units.
double ARD_CALL flaps_light_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) >= 1000.0 ? kLit : kDark;
}

// Both gear legs down and locked; the icon's own variable is not consulted.
double ARD_CALL gear_light_value(ElementHeader*) {
    const double left = panel_services::read_token(tokens::GEAR_LEFT_POSITION);
    const double right = panel_services::read_token(tokens::GEAR_RIGHT_POSITION);
    return left >= 16300.0 && right >= 16300.0 ? kLit : kDark;
}

// The generator switched off while the battery feeds the bus.
double ARD_CALL generator_light_value(ElementHeader*) {
    const double generator = panel_services::read_token(tokens::GENERATOR_SWITCH);
    const double battery = panel_services::read_token(tokens::BATTERY_MASTER);
    return generator == 0.0 && battery > 0.0 ? kLit : kDark;
}

double ARD_CALL dive_brake_light_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) > 10000.0 ? kLit : kDark;
}

double ARD_CALL tail_hook_light_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) > 0.5 ? kLit : kDark;
}

FailureRecord electrical[] = {{failures::ELECTRICAL, FAIL_HIDE}, {0}};
FailureRecord avionics[] = {{failures::AVIONICS, FAIL_HIDE}, {0}};

// One row per light: the dark lamp, then the lit picture drawn over it.
constinit PlateAndIcon flaps = make_plate_and_icon(flaps, Flaps_Warning_Light, bitmaps::FLAPS_LAMP,
    {.bitmap = bitmaps::FLAPS_LAMP_LIT, .images = 1, .token = tokens::FLAPS_POSITION, .update = &flaps_light_value,
     .failures = avionics, .flags = kBrightFlags});
constinit PlateAndIcon gear = make_plate_and_icon(gear, Gear_Warning_Light, bitmaps::GEAR_LAMP,
    {.bitmap = bitmaps::GEAR_LAMP_LIT, .images = 1, .token = tokens::GEAR_POSITION, .update = &gear_light_value,
     .failures = electrical, .flags = kBrightFlags});
// Declares a second picture that it never selects and that has no bitmap.
constinit PlateAndIcon generator = make_plate_and_icon(generator, Generator_Light, bitmaps::GENERATOR_LAMP,
    {.bitmap = bitmaps::GENERATOR_LAMP_LIT, .images = 2, .token = tokens::GENERATOR_ACTIVE, .update = &generator_light_value,
     .failures = avionics, .flags = kPlainFlags});
constinit PlateAndIcon dive_brake = make_plate_and_icon(dive_brake, Dive_Brake_Warning_Light, bitmaps::DIVE_BRAKE_LAMP,
    {.bitmap = bitmaps::DIVE_BRAKE_LAMP_LIT, .images = 1, .token = tokens::DIVE_BRAKE_POSITION, .update = &dive_brake_light_value,
     .failures = electrical, .flags = kBrightFlags});
constinit PlateAndIcon tail_hook = make_plate_and_icon(tail_hook, Tail_Hook_Warning_Light, bitmaps::TAIL_HOOK_LAMP,
    {.bitmap = bitmaps::TAIL_HOOK_LAMP_LIT, .images = 1, .token = tokens::TAIL_HOOK_POSITION, .update = &tail_hook_light_value,
     .failures = electrical, .flags = kBrightFlags});

MouseRect flaps_mouse[] = {mouse_parent(), mouse_tooltip("Flaps extended warning light"), mouse_end_parent(), mouse_end()};
MouseRect gear_mouse[] = {mouse_parent(), mouse_tooltip("Gear down light"), mouse_end_parent(), mouse_end()};
MouseRect generator_mouse[] = {mouse_parent(), mouse_tooltip_id(help::GENERATOR_WARNING_LIGHT), mouse_end_parent(), mouse_end()};
MouseRect dive_brake_mouse[] = {mouse_parent(), mouse_tooltip("Dive brake deployed warning light"), mouse_end_parent(),
                                mouse_end()};
MouseRect tail_hook_mouse[] = {mouse_parent(), mouse_tooltip("Tail hook extended warning light"), mouse_end_parent(),
                               mouse_end()};

}  // namespace

constinit GaugeHeader Flaps_Warning_Light = make_gauge(registry::Flaps_Warning_Light, flaps.chain, flaps_mouse);
constinit GaugeHeader Gear_Warning_Light = make_gauge(registry::Gear_Warning_Light, gear.chain, gear_mouse);
constinit GaugeHeader Generator_Light = make_gauge(registry::Generator_Light, generator.chain, generator_mouse);
constinit GaugeHeader Dive_Brake_Warning_Light =
    make_gauge(registry::Dive_Brake_Warning_Light, dive_brake.chain, dive_brake_mouse);
constinit GaugeHeader Tail_Hook_Warning_Light =
    make_gauge(registry::Tail_Hook_Warning_Light, tail_hook.chain, tail_hook_mouse);

}  // namespace ardelvine::gauges
