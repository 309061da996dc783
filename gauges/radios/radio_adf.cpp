// The ADF receiver, a three-band tuner: the band knob turns a band card and
// retunes to the frequency two neighbouring bands share, the tuning knob moves
// a pointer over the band's scale (left button 0.5 kHz, right button 5 kHz,
// held within the band), and a lit readout comes up for a moment when its
// window is clicked. Main switch, lamp and tone switch as every set has them.
#include <cmath>

#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
namespace {
namespace adf {
using namespace radios;

constexpr std::uint32_t kUnitsToken = tokens::ADF_FREQUENCY;
constexpr std::uint32_t kTenthsToken = tokens::ADF_FREQUENCY_EXTENDED;
constexpr std::uint32_t kToneToken = tokens::ADF_IDENT_AUDIO;
constexpr std::uint32_t kToneOff = events::ADF_IDENT_OFF, kToneOn = events::ADF_IDENT_ON;
// Each click sends its step five times: 0.5 kHz with the left button, 5 kHz with the right.
constexpr int kStepsPerClick = 5;

// Re-expresses the digits of `value` in `from` as digits in `to`: 4100 in
// tens becomes 0x4100, the four BCD digits of 410.0 kHz.
constexpr std::uint32_t rebase_digits(std::uint32_t value, std::uint32_t from, std::uint32_t to) {
    const std::uint32_t q = value / from, r = value % from;
    return q == 0 && r == 0 ? 0 : rebase_digits(q, from, to) * to + r;
}
// The frequencies two neighbouring bands share, where a band change retunes.
constexpr std::uint32_t kBandEdge12 = rebase_digits(4100, 10, 16);
constexpr std::uint32_t kBandEdge23 = rebase_digits(8500, 10, 16);
static_assert(kBandEdge12 == 0x4100 && kBandEdge23 == 0x8500);

// Per band: where its scale starts, pointer degrees per kHz, and the limits of
// each button (a click is refused once its five steps would leave the band).
struct Band {
    double start, degrees_per_khz, end_of_scale;
    double highest_for_whole_up, highest_for_tenth_up, lowest_for_whole_down, lowest_for_tenth_down;
};
constexpr Band kBands[] = {
    {200.0, 0.5, 105.0, 405.0, 409.5, 205.0, 200.5},
    {410.0, 0.4, 176.0, 845.0, 849.5, 415.0, 410.5},
    {850.0, 0.3, 270.0, 1745.0, 1749.5, 855.0, 850.5},
};

// Module-wide state of the ADF set (power and tone flags are in radio_power).
Kilohertz tuned{};
double frequency = 0.0;
double band = 1.0;  // 1, 2 or 3; compared exactly
double dial = 0.0;  // the frequency pointer's place on the band scale
double knob_position = 60.0;  // unbounded
std::int32_t readout_timer = 0;
LastText readout_text{};
sound::GaugeSound sound{};

void decode() {
    tuned = decode_adf(read_bcd_token(kUnitsToken), read_bcd_token(kTenthsToken));
    frequency = tuned.frequency();
}

// The band's entry when `band` is exactly 1, 2 or 3, else null.
const Band* current_band() {
    for (int b = 1; b <= 3; ++b)
        if (band == b) return &kBands[b - 1];
    return nullptr;
}

double dial_of(const Band& b) { return (frequency - b.start) * b.degrees_per_khz; }

void ARD_CALL adf_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        panel_services::trigger_key_event(kToneOff, 0);
        decode();
        band = frequency <= 410.0 ? 1.0 : frequency <= 850.0 ? 2.0 : 3.0;
        dial = dial_of(kBands[static_cast<int>(band) - 1]);
    } else if (service == PANEL_SERVICE_PRE_UPDATE) {
        decode();  // the band stays as installed or chosen
    }
    sound::gauge_sound_service(sound, service, data, waves::DETENT_CLICK);
}

// While the set is off the pointer stays where it was.
double ARD_CALL frequency_pointer(ElementHeader* element) {
    if (radio_power.adf != 0)
        if (const Band* b = current_band()) dial = dial_of(*b);
    light_with_power(element, radio_power.adf);
    return dial;
}

double ARD_CALL band_card(ElementHeader* element) {
    light_with_power(element, radio_power.adf);
    return (1.0 - band) * 90.0;
}

double ARD_CALL readout(ElementHeader* element) {
    readout_update(element, "%7.2f", frequency, radio_power.adf, readout_timer, readout_text);
    return 0.0;
}

double ARD_CALL tuning_knob(ElementHeader*) { return knob_position; }
double ARD_CALL band_knob(ElementHeader*) { return band; }
double ARD_CALL tone_lever(ElementHeader*) { return radio_power.adf_tone != 0 ? 1.0 : 0.0; }
double ARD_CALL power_lamp_image(ElementHeader*) { return power_lamp(radio_power.adf); }
double ARD_CALL main_switch_lever(ElementHeader*) {
    return power_lever_keeping_tone(radio_power.adf, radio_power.adf_tone, kToneOff, kToneOn);
}

std::int32_t ARD_CALL power_switch(MouseClick*, std::uint32_t) {
    main_switch(radio_power.adf, sound);
    return 0;
}

std::int32_t ARD_CALL tone_switch_click(MouseClick*, std::uint32_t) {
    tone_switch(radio_power.adf, radio_power.adf_tone, kToneOff, kToneOn, sound);
    return 0;
}

// Band changes retune to the edge the two bands share: up to the bottom of
// the new band's scale, down to the top of the lower band's.
std::int32_t ARD_CALL band_down(MouseClick*, std::uint32_t) {
    if (radio_power.adf == 0 || !(band > 1.0)) return 0;
    band -= 1.0;
    sound::gauge_sound_click(sound);
    if (band == 1.0) {
        dial = kBands[0].end_of_scale;
        panel_services::trigger_key_event(events::ADF_FREQUENCY_SET, kBandEdge12);
    } else if (band == 2.0) {
        dial = kBands[1].end_of_scale;
        panel_services::trigger_key_event(events::ADF_FREQUENCY_SET, kBandEdge23);
    }
    return 0;
}

std::int32_t ARD_CALL band_up(MouseClick*, std::uint32_t) {
    if (radio_power.adf == 0 || !(band < 3.0)) return 0;
    band += 1.0;
    sound::gauge_sound_click(sound);
    dial = 0.0;
    if (band == 2.0) panel_services::trigger_key_event(events::ADF_FREQUENCY_SET, kBandEdge12);
    if (band == 3.0) panel_services::trigger_key_event(events::ADF_FREQUENCY_SET, kBandEdge23);
    return 0;
}

void step(std::uint32_t event, double knob_turn) {
    for (int i = 0; i < kStepsPerClick; ++i) panel_services::trigger_key_event(event, 0);
    knob_position += knob_turn;
}

// The right button counts first: a click with both is a right click.
std::int32_t ARD_CALL tune_up(MouseClick*, std::uint32_t flags) {
    const Band* b = current_band();
    if (radio_power.adf == 0 || b == nullptr) return 0;
    if ((flags & MOUSE_RIGHT) != 0) {
        if (frequency <= b->highest_for_whole_up) step(events::ADF_WHOLE_UP, 5.0);
    } else if ((flags & MOUSE_LEFT) != 0) {
        if (frequency <= b->highest_for_tenth_up) step(events::ADF_TENTH_UP, 1.0);
    }
    return 0;
}

std::int32_t ARD_CALL tune_down(MouseClick*, std::uint32_t flags) {
    const Band* b = current_band();
    if (radio_power.adf == 0 || b == nullptr) return 0;
    if ((flags & MOUSE_RIGHT) != 0) {
        if (frequency >= b->lowest_for_whole_down) step(events::ADF_WHOLE_DOWN, -5.0);
    } else if ((flags & MOUSE_LEFT) != 0) {
        if (frequency >= b->lowest_for_tenth_down) step(events::ADF_TENTH_DOWN, -1.0);
    }
    return 0;
}

std::int32_t ARD_CALL readout_window(MouseClick*, std::uint32_t) {
    readout_click(radio_power.adf, readout_timer, sound);
    return 0;
}

double ARD_CALL frequency_arg(ARD_TOOLTIP_WORDS) { return tuned.frequency(); }
// What the simulator is playing, not the set's own switch.
const char* ARD_CALL tone_arg(ARD_TOOLTIP_WORDS) { return panel_services::read_token(kToneToken) == 1.0 ? "on" : "off"; }
const char* ARD_CALL power_arg(ARD_TOOLTIP_WORDS) { return on_off(radio_power.adf); }

// ------------------------------------------------------------ records

constexpr std::size_t kElements = 10;
extern ElementHeader* chain[2 * kElements];

FailureRecord readout_failures[] = {{failures::ELECTRICAL, FAIL_HIDE}, {failures::AVIONICS, FAIL_HIDE}, {failures::ADF, FAIL_NONE}, {0}};
FailureRecord lamp_failures[] = {{failures::ELECTRICAL, FAIL_HIDE}, {failures::AVIONICS, FAIL_HIDE}, {0}};

// Each straight above and below its pivot: the frequency pointer turns one
// degree per unit of the dial, the tuning knob 3 degrees per unit (starting
// at 6 o'clock), the band knob 90 degrees per band.
NonlinearityEntry frequency_table[] = {through(0, 178, 29), through(180, 178, 225)};
NonlinearityEntry tuning_table[] = {through(0, 275, 13), through(60, 275, 73)};
NonlinearityEntry band_table[] = {through(1, 178, 114), through(3, 178, 178)};

StaticImage panel = plate(Radio_ADF, bitmaps::ADF_PANEL, next_of(chain, 0));
Needle pointer_needle = pointer(Radio_ADF, {.bitmap = bitmaps::ADF_FREQUENCY_POINTER, .pivot = {178, 127}, .offset = {98, 98},
                                            .table = frequency_table, .update = frequency_pointer,
                                            .flags = kLitSmoothFlags}, next_of(chain, 1));
Sprite card_sprite = card(Radio_ADF, {.bitmap = bitmaps::ADF_BAND_CARD, .at = {130, 30}, .axle = {178, 127},
                                      .rotation_scale = 1.0, .rotation = band_card, .flags = kLitSmoothFlags},
                          next_of(chain, 2));
StaticImage glass = plate(Radio_ADF, bitmaps::ADF_GLASS, next_of(chain, 3));
StringElement frequency_text = text(Radio_ADF,
                                    {.at = {135, 195}, .chars = 7, .width = 84, .height = 25, .colour = 0x00FAFA,
                                     .highlight = 0x00FFFF, .token = kUnitsToken, .second_token = 0,
                                     .update = readout, .failures = readout_failures, .flags = kBrightFlags},
                                    next_of(chain, 4));
Needle tuning = pointer(Radio_ADF, {.bitmap = bitmaps::ADF_TUNING_KNOB, .pivot = {275, 43}, .offset = {21, 21}, .table = tuning_table,
                                    .update = tuning_knob}, next_of(chain, 5));
Needle band_selector = pointer(Radio_ADF, {.bitmap = bitmaps::ADF_BAND_KNOB, .pivot = {178, 146}, .offset = {32, 32},
                                           .table = band_table, .update = band_knob}, next_of(chain, 6));
Icon tone = icon(Radio_ADF, {.bitmap = bitmaps::ADF_TONE_SWITCH /* off, then on */, .at = {48, 174}, .images = 2, .token = kToneToken,
                             .update = tone_lever}, next_of(chain, 7));
Icon lamp = icon(Radio_ADF, {.bitmap = bitmaps::ADF_POWER_LAMP, .at = {169, 229}, .images = 1, .update = power_lamp_image,
                             .failures = lamp_failures, .flags = kBrightFlags}, next_of(chain, 8));
Icon lever = icon(Radio_ADF, {.bitmap = bitmaps::ADF_MAIN_SWITCH /* off, then on */, .at = {243, 177}, .images = 2,
                              .update = main_switch_lever}, next_of(chain, 9));

ElementHeader* chain[] = {
    &panel.header,          nullptr,
    &pointer_needle.header, nullptr,
    &card_sprite.header,    nullptr,
    &glass.header,          nullptr,
    &frequency_text.header, nullptr,
    &tuning.header,         nullptr,
    &band_selector.header,  nullptr,
    &tone.header,           nullptr,
    &lamp.header,           nullptr,
    &lever.header,          nullptr,
};

TooltipArg args[] = {tooltip_number(frequency_arg), tooltip_text(tone_arg), tooltip_text(power_arg)};

constexpr Control kToneSwitch =
    control({48, 174, 64, 64}, mouse_tooltip("Tone switch (%2!s!)", args), CURSOR_HAND, MOUSE_LEFT, tone_switch_click);
constexpr Control kMainSwitch =
    control({243, 177, 64, 64}, mouse_tooltip("ADF main switch (%3!s!)", args), CURSOR_HAND, MOUSE_LEFT, power_switch);

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({0, 0, 350, 170}, mouse_tooltip("Navigation Radio ADF - %1!07.2f! kHz", args)),
    kToneSwitch.tooltip,
    kMainSwitch.tooltip,
    kMainSwitch.click,
    kToneSwitch.click,
    mouse_child({146, 114, 30, 60}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_REPEAT, band_down),
    mouse_child({178, 114, 30, 60}, CURSOR_UP, MOUSE_LEFT | MOUSE_REPEAT, band_up),
    mouse_child({245, 13, 30, 60}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, tune_down),
    mouse_child({275, 13, 30, 60}, CURSOR_UP, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, tune_up),
    mouse_child({78, 0, 49, 49}, CURSOR_HAND, MOUSE_LEFT | MOUSE_REPEAT, readout_window),
    mouse_end_parent(),
    mouse_end());

}  // namespace adf
}  // namespace

constinit GaugeHeader Radio_ADF = make_gauge(registry::Radio_ADF, adf::chain, adf::mouse.data(), adf::adf_service);

}  // namespace ardelvine::gauges
