// NAV1: the frequency on four digit drums behind a fixed leading 1, two knobs
// (megahertz and fraction) each with a pointer and a decrease and an increase
// half, the main switch and the station identifier (tone) switch. The set
// keeps the megahertz between 108 and 117; the fraction's steps and wrap are
// the simulator's.
#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/catalogue.h"

#include <cmath>

namespace ardelvine::gauges {
namespace {
namespace nav {
using namespace radios;

constexpr std::uint32_t kFrequencyToken = tokens::NAV1_FREQUENCY;
constexpr std::uint32_t kToneOff = events::NAV1_IDENT_OFF, kToneOn = events::NAV1_IDENT_ON;
constexpr double kLowest = 108.0, kHighest = 117.0;

// Module-wide state of NAV1 (power and tone flags are in radio_power).
Megahertz tuned{};
sound::GaugeSound sound{};

void decode() { tuned = decode_nav(read_bcd_token(kFrequencyToken)); }

void ARD_CALL nav_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    // A fresh set starts with its identifier silent, whatever the tone switch says.
    if (service == PANEL_SERVICE_PRE_INSTALL) panel_services::trigger_key_event(kToneOff, 0);
    if (service == PANEL_SERVICE_PRE_UPDATE) decode();
    sound::gauge_sound_service(sound, service, data, waves::TOGGLE_CLICK);
}

double units_of(double v) { return v - 10.0 * std::floor(v / 10.0); }

double lit_digit(ElementHeader* element, double digit) {
    light_drum(element, radio_power.nav1);
    return digit;
}
double ARD_CALL hundredths_drum(ElementHeader* e) { return lit_digit(e, units_of(tuned.hundredths)); }
double ARD_CALL tenths_drum(ElementHeader* e) { return lit_digit(e, std::floor(tuned.hundredths / 10.0)); }
double ARD_CALL units_drum(ElementHeader* e) { return lit_digit(e, units_of(tuned.whole)); }
double ARD_CALL tens_drum(ElementHeader* e) {
    return lit_digit(e, std::floor((tuned.whole - 100.0 * std::floor(tuned.whole / 100.0)) / 10.0));
}
double ARD_CALL leading_one(ElementHeader* e) { return lit_digit(e, 0.0); }

double ARD_CALL fraction_pointer(ElementHeader*) { return tuned.hundredths; }
double ARD_CALL megahertz_pointer(ElementHeader*) { return tuned.whole; }

double ARD_CALL tone_lever(ElementHeader*) {
    if (radio_power.nav1_tone != 0) {
        if (radio_power.nav1 != 0) panel_services::trigger_key_event(kToneOn, 0);
        return 1.0;
    }
    panel_services::trigger_key_event(kToneOff, 0);
    return 0.0;
}
double ARD_CALL main_switch_lever(ElementHeader*) {
    return power_lever_keeping_tone(radio_power.nav1, radio_power.nav1_tone, kToneOff, kToneOn);
}
double ARD_CALL power_lamp_image(ElementHeader*) { return power_lamp(radio_power.nav1); }

// The knob halves act on every call the host makes, held repeats included.
std::int32_t ARD_CALL megahertz_down(MouseClick*, std::uint32_t) {
    decode();
    if (tuned.whole > kLowest && radio_power.nav1 != 0) panel_services::trigger_key_event(events::NAV1_WHOLE_DOWN, 0);
    return 0;
}
std::int32_t ARD_CALL megahertz_up(MouseClick*, std::uint32_t) {
    decode();
    if (tuned.whole < kHighest && radio_power.nav1 != 0) panel_services::trigger_key_event(events::NAV1_WHOLE_UP, 0);
    return 0;
}
std::int32_t ARD_CALL fraction_down(MouseClick*, std::uint32_t) {
    decode();
    if (radio_power.nav1 != 0) panel_services::trigger_key_event(events::NAV1_FRACTION_DOWN, 0);
    return 0;
}
std::int32_t ARD_CALL fraction_up(MouseClick*, std::uint32_t) {
    decode();
    if (radio_power.nav1 != 0) panel_services::trigger_key_event(events::NAV1_FRACTION_UP, 0);
    return 0;
}

std::int32_t ARD_CALL power_switch(MouseClick*, std::uint32_t) {
    // Silence the identifier first; switching on again brings it back from
    // the lever's next update if the tone switch is on.
    if (radio_power.nav1 != 0) panel_services::trigger_key_event(kToneOff, 0);
    main_switch(radio_power.nav1, sound);
    return 0;
}

std::int32_t ARD_CALL tone_switch_click(MouseClick*, std::uint32_t) {
    tone_switch(radio_power.nav1, radio_power.nav1_tone, kToneOff, kToneOn, sound);
    return 0;
}

double ARD_CALL frequency_arg(ARD_TOOLTIP_WORDS) { return tuned.whole + tuned.hundredths / 100.0; }
const char* ARD_CALL tone_arg(ARD_TOOLTIP_WORDS) { return on_off(radio_power.nav1_tone); }
const char* ARD_CALL power_arg(ARD_TOOLTIP_WORDS) { return on_off(radio_power.nav1); }

// ------------------------------------------------------------ records

constexpr std::size_t kElements = 11;
extern ElementHeader* chain[2 * kElements];

FailureRecord dark_failures[] = {{failures::AVIONICS, FAIL_HIDE}, {failures::NAV, FAIL_NONE}, {0}};

// Straight above and below each pivot. The megahertz pointer turns clockwise
// 45 degrees per megahertz from 108 at 12 o'clock. The fraction pointer turns
// the other way, 3.6 degrees per hundredth, a full turn from .00 back to 12
// o'clock at 1.00: its rows are listed from the top value down so that falling
// values carry it clockwise (.50 at 6 o'clock, .95 at 18 degrees).
NonlinearityEntry megahertz_table[] = {through(108, 79, 11), through(112, 79, 79)};
NonlinearityEntry fraction_table[] = {through(100, 195, 11), through(50, 195, 79)};

StaticImage panel = plate(Radio_NAV, bitmaps::NAV_PANEL, next_of(chain, 0));
MovingImage hundredths = drum(Radio_NAV, {.bitmap = bitmaps::NAV_DIGIT_DRUM, .at = {159, 36}, .top = 10, .update = hundredths_drum,
                                          .failures = dark_failures}, next_of(chain, 1));
MovingImage tenths = drum(Radio_NAV, {.bitmap = bitmaps::NAV_DIGIT_DRUM, .at = {146, 36}, .top = 10, .update = tenths_drum,
                                      .failures = dark_failures}, next_of(chain, 2));
MovingImage units = drum(Radio_NAV, {.bitmap = bitmaps::NAV_DIGIT_DRUM, .at = {128, 36}, .top = 10, .update = units_drum,
                                     .failures = dark_failures}, next_of(chain, 3));
MovingImage tens = drum(Radio_NAV, {.bitmap = bitmaps::NAV_TENS_DRUM, .at = {115, 36}, .top = 1, .update = tens_drum,
                                    .failures = dark_failures}, next_of(chain, 4));
// The leading 1 never changes: its scale 0 keeps it on its one image.
Icon leading = icon(Radio_NAV, {.bitmap = bitmaps::NAV_LEADING_ONE, .at = {102, 36}, .images = 1, .update = leading_one,
                                .failures = dark_failures, .flags = kSmoothFlags, .scale = 0.0},
                    next_of(chain, 5));
Needle fraction_knob = pointer(Radio_NAV, {.bitmap = bitmaps::NAV_KNOB, .pivot = {195, 45}, .offset = {17, 17},
                                           .table = fraction_table, .update = fraction_pointer},
                               next_of(chain, 6));
Needle megahertz_knob = pointer(Radio_NAV, {.bitmap = bitmaps::NAV_KNOB, .pivot = {79, 45}, .offset = {17, 17},
                                            .table = megahertz_table, .update = megahertz_pointer},
                                next_of(chain, 7));
Icon tone = icon(Radio_NAV, {.bitmap = bitmaps::NAV_TONE_SWITCH /* off, then on */, .at = {225, 47}, .images = 2, .update = tone_lever,
                             .failures = dark_failures}, next_of(chain, 8));
Icon lever = icon(Radio_NAV, {.bitmap = bitmaps::NAV_MAIN_SWITCH /* off, then on */, .at = {25, 32}, .images = 2,
                              .update = main_switch_lever}, next_of(chain, 9));
Icon lamp = icon(Radio_NAV, {.bitmap = bitmaps::NAV_POWER_LAMP, .at = {272, 44}, .images = 1, .update = power_lamp_image,
                             .failures = dark_failures, .flags = kBrightFlags}, next_of(chain, 10));

ElementHeader* chain[] = {
    &panel.header,         nullptr,
    &hundredths.header,    nullptr,
    &tenths.header,        nullptr,
    &units.header,         nullptr,
    &tens.header,          nullptr,
    &leading.header,       nullptr,
    &fraction_knob.header, nullptr,
    &megahertz_knob.header, nullptr,
    &tone.header,          nullptr,
    &lever.header,         nullptr,
    &lamp.header,          nullptr,
};

TooltipArg args[] = {tooltip_number(frequency_arg), tooltip_text(tone_arg), tooltip_text(power_arg)};

constexpr Control kToneSwitch =
    control({225, 47, 34, 34}, mouse_tooltip("Tone switch (%2!s!)", args), CURSOR_HAND, MOUSE_LEFT, tone_switch_click);
constexpr Control kMainSwitch =
    control({25, 32, 28, 52}, mouse_tooltip("NAV1 main switch (%3!s!)", args), CURSOR_HAND, MOUSE_LEFT, power_switch);

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({55, 0, 168, 95}, mouse_tooltip("Navigation Radio NAV1 - %1!07.3f! MHz", args)),
    kToneSwitch.tooltip,
    kMainSwitch.tooltip,
    mouse_child({62, 28, 17, 34}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_REPEAT, megahertz_down),
    mouse_child({79, 28, 17, 34}, CURSOR_UP, MOUSE_LEFT | MOUSE_REPEAT, megahertz_up),
    mouse_child({178, 28, 17, 34}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_REPEAT, fraction_down),
    mouse_child({195, 28, 17, 34}, CURSOR_UP, MOUSE_LEFT | MOUSE_REPEAT, fraction_up),
    kMainSwitch.click,
    kToneSwitch.click,
    mouse_end_parent(),
    mouse_end());

}  // namespace nav
}  // namespace

constinit GaugeHeader Radio_NAV = make_gauge(registry::Radio_NAV, nav::chain, nav::mouse.data(), nav::nav_service);

}  // namespace ardelvine::gauges
