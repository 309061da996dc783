// The transponder: the four-digit reply code on four drums, a pair of buttons
// above and below each drum, a main switch, and a second switch that is only
// drawn. The digit buttons send their events with no limits of their own: the
// simulator keeps each digit within 0 to 7.
#include <cmath>

#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/help.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
namespace {
namespace xpdr {
using namespace radios;

constexpr std::uint32_t kCodeToken = tokens::TRANSPONDER_CODE;


// Module-wide state of the transponder (its power flag is in radio_power).
double code = 0.0;  // the code read as a decimal number, 7700 for 0x7700
sound::GaugeSound sound{};

void ARD_CALL xpdr_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    if (service == PANEL_SERVICE_PRE_UPDATE) code = decode_code(read_bcd_token(kCodeToken));
    sound::gauge_sound_service(sound, service, data, waves::DETENT_CLICK);
}

// Each drum reads the code afresh and shows one decimal place of it.
double code_digit(ElementHeader* element, double place) {
    code = decode_code(read_bcd_token(kCodeToken));
    light_drum(element, radio_power.transponder);
    const double above = std::floor(code / (place * 10.0));
    return std::floor((code - place * 10.0 * above) / place);
}
double ARD_CALL units_drum(ElementHeader* e) { return code_digit(e, 1.0); }
double ARD_CALL tens_drum(ElementHeader* e) { return code_digit(e, 10.0); }
double ARD_CALL hundreds_drum(ElementHeader* e) { return code_digit(e, 100.0); }
double ARD_CALL thousands_drum(ElementHeader* e) {
    code = decode_code(read_bcd_token(kCodeToken));
    light_drum(e, radio_power.transponder);
    return std::floor(code / 1000.0);
}

double ARD_CALL power_lamp_image(ElementHeader*) { return power_lamp(radio_power.transponder); }
double ARD_CALL main_switch_lever(ElementHeader*) { return power_lever(radio_power.transponder); }

std::int32_t ARD_CALL power_switch(MouseClick*, std::uint32_t) {
    main_switch(radio_power.transponder, sound);
    return 0;
}

// One handler per button, as the mouse list needs a function for each.
template <std::uint32_t Event>
std::int32_t ARD_CALL digit_button(MouseClick*, std::uint32_t) {
    if (radio_power.transponder != 0) panel_services::trigger_key_event(Event, 0);
    return 0;
}

// The second switch is drawn only: a click does nothing, not even a sound.
std::int32_t ARD_CALL inert_switch(MouseClick*, std::uint32_t) { return 0; }

const char* ARD_CALL power_arg(ARD_TOOLTIP_WORDS) { return on_off(radio_power.transponder); }

// ------------------------------------------------------------ records

constexpr std::size_t kElements = 8;
extern ElementHeader* chain[2 * kElements];

FailureRecord dark_failures[] = {{failures::ELECTRICAL, FAIL_HIDE}, {failures::AVIONICS, FAIL_HIDE}, {failures::TRANSPONDER, FAIL_NONE}, {0}};

StaticImage panel = plate(Radio_IFF_XPDR, bitmaps::XPDR_PANEL, next_of(chain, 0));
// A strip of cells 0-9-0 behind its window; the tens drum has no token.
MovingImage units = drum(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_DIGIT_DRUM, .at = {184, 57}, .top = 10, .update = units_drum,
                                          .failures = dark_failures, .token = kCodeToken}, next_of(chain, 1));
MovingImage tens = drum(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_DIGIT_DRUM, .at = {161, 57}, .top = 10, .update = tens_drum,
                                         .failures = dark_failures}, next_of(chain, 2));
MovingImage hundreds = drum(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_DIGIT_DRUM, .at = {138, 57}, .top = 10, .update = hundreds_drum,
                                             .failures = dark_failures, .token = kCodeToken}, next_of(chain, 3));
MovingImage thousands = drum(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_DIGIT_DRUM, .at = {115, 57}, .top = 10, .update = thousands_drum,
                                              .failures = dark_failures, .token = kCodeToken}, next_of(chain, 4));
Icon second_switch = icon(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_SECOND_SWITCH, .at = {208, 31}, .images = 2,
                                           .failures = dark_failures}, next_of(chain, 5));
Icon lamp = icon(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_POWER_LAMP, .at = {53, 79}, .images = 1, .update = power_lamp_image,
                                  .failures = dark_failures, .flags = kBrightFlags}, next_of(chain, 6));
Icon lever = icon(Radio_IFF_XPDR, {.bitmap = bitmaps::XPDR_MAIN_SWITCH /* off, then on */, .at = {27, 8}, .images = 2,
                                   .update = main_switch_lever}, next_of(chain, 7));

ElementHeader* chain[] = {
    &panel.header,     nullptr,
    &units.header,     nullptr,
    &tens.header,      nullptr,
    &hundreds.header,  nullptr,
    &thousands.header, nullptr,
    &second_switch.header, nullptr,
    &lamp.header,      nullptr,
    &lever.header,     nullptr,
};

TooltipArg args[] = {tooltip_text(power_arg)};
constexpr std::uint32_t kTransponderHelp = help::TRANSPONDER;
constexpr std::uint32_t kButton = MOUSE_LEFT | MOUSE_REPEAT;

constexpr Control kMainSwitch = control({29, 12, 24, 60}, mouse_tooltip("Transponder main switch (%1!s!)", args),
                                         CURSOR_HAND, MOUSE_LEFT, power_switch);

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({53, 0, 200, 99}, mouse_tooltip_id(kTransponderHelp)),
    kMainSwitch.tooltip,
    kMainSwitch.click,
    mouse_child({111, 76, 23, 15}, CURSOR_DOWN, kButton, digit_button<events::TRANSPONDER_THOUSANDS_DOWN>),
    mouse_child({111, 44, 23, 15}, CURSOR_UP, kButton, digit_button<events::TRANSPONDER_THOUSANDS_UP>),
    mouse_child({134, 76, 23, 15}, CURSOR_DOWN, kButton, digit_button<events::TRANSPONDER_HUNDREDS_DOWN>),
    mouse_child({134, 44, 23, 15}, CURSOR_UP, kButton, digit_button<events::TRANSPONDER_HUNDREDS_UP>),
    mouse_child({157, 76, 23, 15}, CURSOR_DOWN, kButton, digit_button<events::TRANSPONDER_TENS_DOWN>),
    mouse_child({157, 44, 23, 15}, CURSOR_UP, kButton, digit_button<events::TRANSPONDER_TENS_UP>),
    mouse_child({180, 76, 23, 15}, CURSOR_DOWN, kButton, digit_button<events::TRANSPONDER_UNITS_DOWN>),
    mouse_child({180, 44, 23, 15}, CURSOR_UP, kButton, digit_button<events::TRANSPONDER_UNITS_UP>),
    mouse_child({208, 31, 24, 32}, CURSOR_HAND, MOUSE_LEFT, inert_switch),
    mouse_end_parent(),
    mouse_end());

}  // namespace xpdr
}  // namespace

constinit GaugeHeader Radio_IFF_XPDR =
    make_gauge(registry::Radio_IFF_XPDR, xpdr::chain, xpdr::mouse.data(), xpdr::xpdr_service);

}  // namespace ardelvine::gauges
