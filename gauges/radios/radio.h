// What every radio of the stack shares: the module-wide power and tone
// switches, the main switch that needs electrical supply to come on, knobs
// and buttons that act only while their set is on, elements that light up or
// go dark with it, the readout that shows for a moment after a click, and the
// binary-coded-decimal frequency and code tokens.
//
// The switches live in one RadioPowerFlags for the whole module: every placed
// copy of a radio, the ADF/VOR indicator and the start-state gauges see the
// same set. They start with every radio on and every identifier tone off, and
// change only through the main and tone switches and the start-state gauges;
// installing or removing a gauge never resets them.
#pragma once

#include <cstdint>

#include "model/records.h"
#include "model/tokens.h"
#include "sound/gauge_sound.h"

namespace ardelvine::gauges::radios {

struct RadioPowerFlags {
    std::int32_t nav1;         // read also by the ADF/VOR indicator
    std::int32_t com1;
    std::int32_t adf;          // read also by the ADF/VOR indicator
    std::int32_t transponder;
    std::int32_t nav1_tone;    // station identifier audio
    std::int32_t adf_tone;
};

extern RadioPowerFlags radio_power;

// A main switch comes on only while the electrical supply reads above this
// (strictly); it goes off whatever the supply.
inline constexpr std::uint32_t kSupplyToken = tokens::AVIONICS_BUS_VOLTAGE;
inline constexpr double kSwitchOnSupply = 20.0;

// Updates a readout stays up after a click on its window.
inline constexpr std::int32_t kReadoutUpdates = 60;

// ------------------------------------------------------------ BCD tokens

// A frequency or code token's value as the radios read it: the low 32 bits of
// the number as an unsigned integer. Fractions are cut toward zero; negative,
// huge, infinite and NaN values wrap modulo 2^32 (NaN and infinities read 0)
// instead of overflowing a conversion.
std::uint32_t bcd_bits(double value);

// Reads `token` afresh through the panel services and takes its low 32 bits.
std::uint32_t read_bcd_token(std::uint32_t token);

// Two BCD digits (one byte) as the number they spell: 0x57 is 57. A byte
// with digits above 9 counts them as they stand (0xAB is 10 * 10 + 11).
constexpr double two_digits(std::uint32_t byte) {
    return 10.0 * static_cast<double>((byte >> 4) & 0xF) + static_cast<double>(byte & 0xF);
}

// A VHF frequency as whole megahertz and hundredths (0 to 99 for sound digits).
struct Megahertz {
    double whole;
    double hundredths;
};

// COM1 (token 23) holds the frequency without its leading 1, 0x2357 for
// 123.57 MHz; the tens of megahertz pick the base. Below 0x1000 the
// subtraction wraps, as the set's own 32-bit arithmetic does.
Megahertz decode_com(std::uint32_t bits);
// NAV1 (token 24) likewise: 0x1130 is 111.30, 0x0850 is 108.50.
Megahertz decode_nav(std::uint32_t bits);

// The COM frequency as the set shows it: channels whose hundredths end in 2
// or 7 lie on a 25 kHz raster and read with a third decimal 5.
double com_channel(Megahertz f);

// The ADF frequency in kilohertz from tokens 16 (hundreds, tens and units as
// BCD digits) and 18 (0x100 and more for a thousands digit 1; the rest is the
// tenths digit).
struct Kilohertz {
    double whole;
    double tenths;
    double frequency() const { return whole + tenths / 10.0; }
};
Kilohertz decode_adf(std::uint32_t units_bits, std::uint32_t tenths_bits);

// The transponder's code (token 38, one octal digit per 4-bit group) as the
// decimal number that reads the same: 0x7700 is 7700.
double decode_code(std::uint32_t bits);

// "on" / "off" for a switch flag, as the tooltips show it.
const char* on_off(std::int32_t flag);

// ------------------------------------------------------------ switches

// The main switch: off -> on only above kSwitchOnSupply, on -> off always,
// with a click each time it moves. True when it moved.
bool main_switch(std::int32_t& power, sound::GaugeSound& sound);

// The tone switch, only while powered: tells the simulator the new state,
// flips the flag and clicks.
void tone_switch(std::int32_t power, std::int32_t& tone, std::uint32_t tone_off_event,
                 std::uint32_t tone_on_event, sound::GaugeSound& sound);

// The main switch's lever as a two-image icon, keeping the simulator's
// identifier audio in step on every update: off while the set is off, on while
// it is on with its tone switch on.
double power_lever_keeping_tone(std::int32_t power, std::int32_t tone, std::uint32_t tone_off_event,
                                std::uint32_t tone_on_event);

inline double power_lever(std::int32_t power) { return power != 0 ? 1.0 : 0.0; }
// The small lamp that shows the set is on: image 0, or nothing.
inline double power_lamp(std::int32_t power) { return power != 0 ? 0.0 : -1.0; }

// ------------------------------------------------------------ lit elements

// Lights an element while its set has power, touching only the lit bit.
void light_with_power(ElementHeader* element, std::int32_t power);
// The same for digit drums and fixed digits, which also ask to be drawn again.
void light_drum(ElementHeader* element, std::int32_t power);

// ------------------------------------------------------------ readout

// What one string callback wrote last. Formatting a number costs more than
// the rest of a radio's update, so a callback whose value has not changed and
// whose buffer still holds that text writes nothing.
struct LastText {
    std::uint64_t value_bits = 0;
    std::uint32_t chars = 0;
    char text[16] = {};
};

// A click on the readout window, only while powered: up for kReadoutUpdates.
void readout_click(std::int32_t power, std::int32_t& timer, sound::GaugeSound& sound);

// Writes `value` with `format` into the string's buffer, never more than the
// characters the element shows (a frequency decoded from a wild token may be
// longer), then shows the string while powered with time left on its timer,
// counting it down, and hides it otherwise.
void readout_update(ElementHeader* element, const char* format, double value, std::int32_t power,
                    std::int32_t& timer, LastText& last);

// Writes `value` with `format` into the string's buffer, cut to the
// characters the element shows.
void write_bounded(ElementHeader* element, const char* format, double value, LastText& last);

}  // namespace ardelvine::gauges::radios
