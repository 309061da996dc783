// COM1: one tuning knob (left button one 25 kHz channel, right button one
// megahertz), the main switch, and a lit frequency readout that comes up for a
// moment when its window is clicked. The set keeps itself between 118.000 and
// 135.975 MHz; how a step moves the frequency is the simulator's.
#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
namespace {
namespace com {
using namespace radios;

constexpr std::uint32_t kFrequencyToken = tokens::COM1_FREQUENCY;

// The knob's face carries twelve channel letters 30 degrees apart.
constexpr double kChannelTurn = 30.0, kMegahertzTurn = 90.0;
constexpr double kLowest = 118.0, kHighestChannel = 135.97, kHighestWholeToStepUp = 134.0;

// Module-wide state of COM1.
Megahertz tuned{};
double frequency = 0.0;  // as last shown: with the channel's third decimal once a readout or tooltip asked
double knob_angle = 0.0;  // unbounded
std::int32_t readout_timer = 0;
LastText readout_text{};
sound::GaugeSound sound{};

void ARD_CALL com_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    if (service == PANEL_SERVICE_PRE_UPDATE) {
        tuned = decode_com(read_bcd_token(kFrequencyToken));
        frequency = tuned.whole + tuned.hundredths / 100.0;
    }
    sound::gauge_sound_service(sound, service, data, waves::DETENT_CLICK);
}

double ARD_CALL knob_rotation(ElementHeader*) { return knob_angle; }
double ARD_CALL main_switch_lever(ElementHeader*) { return power_lever(radio_power.com1); }
double ARD_CALL power_lamp_image(ElementHeader*) { return power_lamp(radio_power.com1); }

double ARD_CALL readout(ElementHeader* element) {
    frequency = com_channel(tuned);
    readout_update(element, "%7.3f", frequency, radio_power.com1, readout_timer, readout_text);
    return 0.0;
}

std::int32_t ARD_CALL tune_down(MouseClick*, std::uint32_t flags) {
    if (radio_power.com1 == 0) return 0;
    if ((flags & MOUSE_LEFT) != 0) {
        if (frequency > kLowest) {
            panel_services::trigger_key_event(events::COM1_FRACTION_DOWN, 0);
            knob_angle -= kChannelTurn;
        }
    } else if ((flags & MOUSE_RIGHT) != 0) {
        if (tuned.whole > kLowest) {
            panel_services::trigger_key_event(events::COM1_WHOLE_DOWN, 0);
            knob_angle -= kMegahertzTurn;
        }
    }
    return 0;
}

std::int32_t ARD_CALL tune_up(MouseClick*, std::uint32_t flags) {
    if (radio_power.com1 == 0) return 0;
    if ((flags & MOUSE_LEFT) != 0) {
        if (frequency < kHighestChannel) {
            panel_services::trigger_key_event(events::COM1_FRACTION_UP, 0);
            knob_angle += kChannelTurn;
        }
    } else if ((flags & MOUSE_RIGHT) != 0) {
        if (tuned.whole <= kHighestWholeToStepUp) {
            panel_services::trigger_key_event(events::COM1_WHOLE_UP, 0);
            knob_angle += kMegahertzTurn;
        }
    }
    return 0;
}

std::int32_t ARD_CALL readout_window(MouseClick*, std::uint32_t) {
    readout_click(radio_power.com1, readout_timer, sound);
    return 0;
}

std::int32_t ARD_CALL power_switch(MouseClick*, std::uint32_t) {
    main_switch(radio_power.com1, sound);
    return 0;
}

double ARD_CALL frequency_arg(ARD_TOOLTIP_WORDS) {
    frequency = com_channel(tuned);
    return frequency;
}
const char* ARD_CALL power_arg(ARD_TOOLTIP_WORDS) { return on_off(radio_power.com1); }

// ------------------------------------------------------------ records

constexpr std::size_t kElements = 5;
extern ElementHeader* chain[2 * kElements];

FailureRecord lamp_failures[] = {{failures::AVIONICS, FAIL_HIDE}, {failures::COM, FAIL_NONE}, {0}};

StaticImage panel = plate(Radio_COM, bitmaps::COM_PANEL, next_of(chain, 0));
Sprite knob = card(Radio_COM,
                   {.bitmap = bitmaps::COM_TUNING_CARD, .at = {132, 14}, .axle = {181, 63}, .rotation_scale = -1.0,
                    .rotation = knob_rotation},
                   next_of(chain, 1));
Icon lever = icon(Radio_COM, {.bitmap = bitmaps::COM_MAIN_SWITCH /* off, then on */, .at = {46, 58}, .images = 2,
                              .update = main_switch_lever},
                  next_of(chain, 2));
StringElement frequency_text = text(Radio_COM,
                                    {.at = {240, 12}, .chars = 7, .width = 84, .height = 25, .colour = 0x00F0F0,
                                     .highlight = 0x00FFFF, .token = kFrequencyToken, .second_token = 0,
                                     .update = readout, .failures = nullptr, .flags = kBrightFlags},
                                    next_of(chain, 3));
Icon lamp = icon(Radio_COM, {.bitmap = bitmaps::COM_POWER_LAMP, .at = {243, 90}, .images = 1, .update = power_lamp_image,
                             .failures = lamp_failures, .flags = kBrightFlags},
                 next_of(chain, 4));

ElementHeader* chain[] = {
    &panel.header,          nullptr,
    &knob.header,           nullptr,
    &lever.header,          nullptr,
    &frequency_text.header, nullptr,
    &lamp.header,           nullptr,
};

TooltipArg args[] = {tooltip_number(frequency_arg), tooltip_text(power_arg)};
constexpr const char* kFrequencyTip = "Communications Radio COM1 - %1!07.3f! MHz";

constexpr Control kMainSwitch =
    control({46, 58, 67, 58}, mouse_tooltip("COM1 main switch (%2!s!)", args), CURSOR_HAND, MOUSE_LEFT, power_switch);

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({0, 0, 350, 58}, mouse_tooltip(kFrequencyTip, args)),
    tooltip_area({113, 58, 237, 72}, mouse_tooltip(kFrequencyTip, args)),
    kMainSwitch.tooltip,
    mouse_child({132, 14, 49, 98}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, tune_down),
    mouse_child({181, 14, 49, 98}, CURSOR_UP, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, tune_up),
    mouse_child({256, 0, 44, 44}, CURSOR_HAND, MOUSE_LEFT | MOUSE_REPEAT, readout_window),
    kMainSwitch.click,
    mouse_end_parent(),
    mouse_end());

}  // namespace com
}  // namespace

constinit GaugeHeader Radio_COM = make_gauge(registry::Radio_COM, com::chain, com::mouse.data(), com::com_service);

}  // namespace ardelvine::gauges
