// The engine and system controls that are not two-position toggles: the
// magneto key, the starter button, the carburettor heat and primer knobs, the
// NAV/GPS selector and the autopilot master switch.
//
// Each is a plate with one picture of the control on it, chosen by an image
// index. The starter and the selector show their variable as it is; the other
// four work the index out in a small callback. The starter, carb heat, primer
// and the magneto key's right half need no code on a click: their areas name
// the key event and the host sends it. Only the selector and the autopilot
// switch click audibly.
#include "gauges/gauge.h"
#include "model/events.h"
#include "model/tokens.h"
#include "gauges/switches/plate_and_icon.h"
#include "gauges/switches/toggle_switch.h"
#include "gauges/whole_number.h"
#include "module/host.h"
#include "sound/gauge_sound.h"
#include "resources/help.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
namespace {

constexpr std::uint32_t kHeld = MOUSE_LEFT | MOUSE_REPEAT;  // repeats while the button is held
static_assert(kHeld == 0x20200000u);

// ------------------------------------------------------------ Magnetos_Switch

namespace magnetos {

// 0 off, 1 right, 2 left, 3 both, as last drawn; the tooltip and the left
// half's stop read it.
double position = 0.0;

double ARD_CALL magneto_icon_value(ElementHeader* element) {
    if (element == nullptr) return position;
    position = 2.0 * panel_services::read_token(tokens::MAGNETO_LEFT) + icon_source_value(element);
    return position;
}

// The left half turns the key one step clockwise and stops at "Both".
std::int32_t ARD_CALL magneto_click(MouseClick*, std::uint32_t) {
    if (position < 3.0) panel_services::trigger_key_event(events::MAGNETOS_INCREASE, 0);
    return 0;
}

const char* ARD_CALL magneto_state_text(ARD_TOOLTIP_WORDS) {
    if (position == 0.0) return "None";
    if (position == 1.0) return "Right";
    if (position == 2.0) return "Left";
    if (position == 3.0) return "Both";
    return "Off";
}

constinit PlateAndIcon control = make_plate_and_icon(control, Magnetos_Switch, bitmaps::MAGNETOS_PLATE,
    {.bitmap = bitmaps::MAGNETOS_KEY /* off, right, left, both */, .at = {9, 23}, .images = 4,
     .token = tokens::MAGNETO_RIGHT, .update = &magneto_icon_value});

TooltipArg state_arg[] = {tooltip_text(&magneto_state_text)};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Magnetos switch (%1!s!)", state_arg),
    mouse_child({0, 20, 49, 75}, CURSOR_UP, kHeld, &magneto_click),
    mouse_child_event({50, 20, 49, 75}, CURSOR_DOWN, kHeld, events::MAGNETOS_DECREASE),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace magnetos

// ------------------------------------------------------------ Starter_Switch

namespace starter {

constinit PlateAndIcon control = make_plate_and_icon(control, Starter_Switch, bitmaps::STARTER_PLATE,
    {.bitmap = bitmaps::STARTER_SWITCH /* released, then engaged */, .images = 2,
     .token = tokens::STARTER_ENGAGED, .update = nullptr});

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, CURSOR_NONE, help::STARTER_SWITCH),
    mouse_child_event({0, 0, 28, 28}, CURSOR_HAND, kHeld, events::STARTER_ENGAGE),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace starter

// ------------------------------------------------------------ Carburetor_Heat

namespace carb_heat {

double ARD_CALL carb_heat_icon_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) > 0.0 ? 1.0 : 0.0;
}

constinit PlateAndIcon control = make_plate_and_icon(control, Carburetor_Heat, bitmaps::CARB_HEAT_PLATE,
    {.bitmap = bitmaps::CARB_HEAT_KNOB /* cold, then hot */, .images = 2,
     .token = tokens::CARBURETOR_HEAT, .update = &carb_heat_icon_value});

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip_id(help::CARBURETOR_HEAT),
    mouse_child_event({0, 0, 60, 60}, CURSOR_HAND, MOUSE_LEFT, events::CARBURETOR_HEAT_TOGGLE),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace carb_heat

// ------------------------------------------------------------ Engine_Primer

namespace primer {

// The picture shows the plunger in for any non-zero value, negative ones
// included; the tooltip says "on" only above zero.
double ARD_CALL primer_icon_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) != 0.0 ? 1.0 : 0.0;
}

const char* ARD_CALL primer_state_text(ARD_TOOLTIP_WORDS) { return panel_services::read_token(tokens::ENGINE_PRIMER) > 0.0 ? "on" : "off"; }

constinit PlateAndIcon control = make_plate_and_icon(control, Engine_Primer, bitmaps::PRIMER_PLATE,
    {.bitmap = bitmaps::PRIMER_KNOB /* out, then in */, .images = 2, .token = tokens::ENGINE_PRIMER,
     .update = &primer_icon_value});

TooltipArg state_arg[] = {tooltip_text(&primer_state_text)};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Engine primer switch (%1!s!)", state_arg),
    mouse_child_event({0, 0, 70, 70}, CURSOR_HAND, kHeld, events::ENGINE_PRIMER),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace primer

// ------------------------------------------------------------ NAV_GPS_Switch

namespace nav_gps {

sound::GaugeSound sound{};

void ARD_CALL nav_gps_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    sound::gauge_sound_service(sound, service, data, waves::DETENT_CLICK);
}

std::int32_t ARD_CALL nav_gps_click(MouseClick*, std::uint32_t) {
    panel_services::trigger_key_event(events::NAV_GPS_TOGGLE, 0);
    sound::gauge_sound_click(sound);
    return 0;
}

constinit PlateAndIcon control = make_plate_and_icon(control, NAV_GPS_Switch, bitmaps::NAV_GPS_PLATE,
    {.bitmap = bitmaps::NAV_GPS_SWITCH /* NAV, then GPS */, .images = 2,
     .token = tokens::GPS_DRIVES_NAV1, .update = nullptr});

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, CURSOR_NONE, help::NAV_GPS_SWITCH),
    mouse_child({0, 10, 30, 40}, CURSOR_HAND, MOUSE_LEFT, &nav_gps_click),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace nav_gps

// ------------------------------------------------------------ Autopilot_Switch

namespace autopilot {

sound::GaugeSound sound{};

void ARD_CALL autopilot_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    sound::gauge_sound_service(sound, service, data, waves::DETENT_CLICK);
}

double ARD_CALL autopilot_icon_value(ElementHeader* element) {
    return element != nullptr && icon_source_value(element) != 0.0 ? 1.0 : 0.0;
}

// Engaged: master, heading hold and altitude hold off. Disengaged: master on,
// then hold the present gyro heading and the indicated altitude taken to the
// nearest hundred (halves up). Each repeat of a held button decides afresh.
std::int32_t ARD_CALL autopilot_click(MouseClick*, std::uint32_t) {
    if (panel_services::read_token(tokens::AUTOPILOT_ENGAGED) != 0.0) {
        panel_services::trigger_key_event(events::AUTOPILOT_OFF, 0);
        panel_services::trigger_key_event(events::AUTOPILOT_HEADING_HOLD_OFF, 0);
        panel_services::trigger_key_event(events::AUTOPILOT_ALTITUDE_HOLD_OFF, 0);
    } else {
        panel_services::trigger_key_event(events::AUTOPILOT_ON, 0);
        const double heading = panel_services::read_token(tokens::GYRO_HEADING);
        panel_services::trigger_key_event(events::AUTOPILOT_HEADING_HOLD_ON, 0);
        panel_services::trigger_key_event(events::HEADING_BUG_SET, event_parameter(saturated_int32(heading)));
        const double altitude = std::floor((panel_services::read_token(tokens::ALTITUDE_INDICATED) + 50.0) / 100.0) * 100.0;
        panel_services::trigger_key_event(events::AUTOPILOT_ALTITUDE_HOLD_ON, 0);
        panel_services::trigger_key_event(events::AUTOPILOT_ALTITUDE_SET, event_parameter(saturated_int32(altitude)));
    }
    sound::gauge_sound_click(sound);
    return 0;
}

const char* ARD_CALL autopilot_state_text(ARD_TOOLTIP_WORDS) {
    return panel_services::read_token(tokens::AUTOPILOT_ENGAGED) > 0.0 ? "on" : "off";
}

constinit PlateAndIcon control = make_plate_and_icon(control, Autopilot_Switch, bitmaps::AUTOPILOT_PLATE,
    {.bitmap = bitmaps::AUTOPILOT_SWITCH /* off, then engaged */, .images = 2, .token = tokens::AUTOPILOT_ENGAGED,
     .update = &autopilot_icon_value});

TooltipArg state_arg[] = {tooltip_text(&autopilot_state_text)};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Autopilot switch (%1!s!)", state_arg),
    mouse_child({0, 0, 72, 72}, CURSOR_HAND, kHeld, &autopilot_click),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace autopilot
}  // namespace

constinit GaugeHeader Magnetos_Switch = make_gauge(registry::Magnetos_Switch, magnetos::control.chain, magnetos::mouse);
constinit GaugeHeader Starter_Switch = make_gauge(registry::Starter_Switch, starter::control.chain, starter::mouse);
constinit GaugeHeader Carburetor_Heat = make_gauge(registry::Carburetor_Heat, carb_heat::control.chain, carb_heat::mouse);
constinit GaugeHeader Engine_Primer = make_gauge(registry::Engine_Primer, primer::control.chain, primer::mouse);
constinit GaugeHeader NAV_GPS_Switch =
    make_gauge(registry::NAV_GPS_Switch, nav_gps::control.chain, nav_gps::mouse, &nav_gps::nav_gps_service);
constinit GaugeHeader Autopilot_Switch =
    make_gauge(registry::Autopilot_Switch, autopilot::control.chain, autopilot::mouse, &autopilot::autopilot_service);

}  // namespace ardelvine::gauges
