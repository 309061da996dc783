#include "gauges/radios/radio.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "module/host.h"

namespace ardelvine::gauges::radios {

constinit RadioPowerFlags radio_power = {
    .nav1 = 1,
    .com1 = 1,
    .adf = 1,
    .transponder = 1,
    .nav1_tone = 0,
    .adf_tone = 0,
};

std::uint32_t bcd_bits(double value) {
    if (value >= 0.0 && value < 4294967296.0) return static_cast<std::uint32_t>(value);
    if (!std::isfinite(value)) return 0;
    // fmod of a whole double by 2^32 is exact, and what is left fits a 64-bit
    // integer whatever the value's size.
    double wrapped = std::fmod(std::trunc(value), 4294967296.0);
    if (wrapped < 0.0) wrapped += 4294967296.0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
}

std::uint32_t read_bcd_token(std::uint32_t token) { return bcd_bits(panel_services::read_token(token)); }

Megahertz decode_com(std::uint32_t bits) {
    std::uint32_t base = 0x1000;
    double tens = 110.0;
    if (bits >= 0x3000) {
        base = 0x3000, tens = 130.0;
    } else if (bits >= 0x2000) {
        base = 0x2000, tens = 120.0;
    }
    const std::uint32_t rest = bits - base;
    return {.whole = static_cast<double>(rest >> 8) + tens, .hundredths = two_digits(rest & 0xFF)};
}

Megahertz decode_nav(std::uint32_t bits) {
    const bool above_110 = bits >= 0x1000;
    const std::uint32_t rest = above_110 ? bits - 0x1000 : bits;
    return {.whole = static_cast<double>(rest >> 8) + (above_110 ? 110.0 : 100.0),
            .hundredths = two_digits(rest & 0xFF)};
}

double com_channel(Megahertz f) {
    const double last = f.hundredths - 10.0 * std::floor(f.hundredths / 10.0);
    return f.whole + f.hundredths / 100.0 + (last == 2.0 || last == 7.0 ? 0.005 : 0.0);
}

Kilohertz decode_adf(std::uint32_t units_bits, std::uint32_t tenths_bits) {
    const double thousands = tenths_bits >= 0x100 ? 1.0 : 0.0;
    const std::uint32_t hundreds = units_bits / 256;
    const std::uint32_t below = units_bits - 256 * hundreds;
    const std::uint32_t tens = below / 16;
    const std::uint32_t units = below - 16 * tens;
    return {.whole = 1000.0 * thousands + 100.0 * hundreds + 10.0 * tens + units,
            .tenths = static_cast<double>(tenths_bits >= 256 ? tenths_bits - 256 : tenths_bits)};
}

double decode_code(std::uint32_t bits) {
    const std::uint32_t d1 = bits / 4096;
    bits -= 4096 * d1;
    const std::uint32_t d2 = bits / 256;
    bits -= 256 * d2;
    const std::uint32_t d3 = bits / 16;
    const std::uint32_t d4 = bits - 16 * d3;
    return 1000.0 * d1 + 100.0 * d2 + 10.0 * d3 + d4;
}

const char* on_off(std::int32_t flag) { return flag != 0 ? "on" : "off"; }

bool main_switch(std::int32_t& power, sound::GaugeSound& sound) {
    const double supply = panel_services::read_token(kSupplyToken);
    if (power == 0 && !(supply > kSwitchOnSupply)) return false;
    power = power != 0 ? 0 : 1;
    sound::gauge_sound_click(sound);
    return true;
}

void tone_switch(std::int32_t power, std::int32_t& tone, std::uint32_t tone_off_event,
                 std::uint32_t tone_on_event, sound::GaugeSound& sound) {
    if (power == 0) return;
    panel_services::trigger_key_event(tone != 0 ? tone_off_event : tone_on_event, 0);
    tone = tone != 0 ? 0 : 1;
    sound::gauge_sound_click(sound);
}

double power_lever_keeping_tone(std::int32_t power, std::int32_t tone, std::uint32_t tone_off_event,
                                std::uint32_t tone_on_event) {
    if (power == 0) {
        panel_services::trigger_key_event(tone_off_event, 0);
        return 0.0;
    }
    if (tone != 0) panel_services::trigger_key_event(tone_on_event, 0);
    return 1.0;
}

void light_with_power(ElementHeader* element, std::int32_t power) {
    if (element == nullptr) return;
    if (power != 0)
        element->image_flags |= IMAGE_LIT;
    else
        element->image_flags &= ~IMAGE_LIT;
}

void light_drum(ElementHeader* element, std::int32_t power) {
    if (element == nullptr) return;
    light_with_power(element, power);
    element->image_flags &= ~IMAGE_DRAWN;
}

void readout_click(std::int32_t power, std::int32_t& timer, sound::GaugeSound& sound) {
    if (power == 0) return;
    timer = kReadoutUpdates;
    sound::gauge_sound_click(sound);
}

void write_bounded(ElementHeader* element, const char* format, double value, LastText& last) {
    if (element == nullptr || element->kind != ElementKind::STRING) return;
    auto* string = reinterpret_cast<StringElement*>(element);
    if (string->text == nullptr) return;
    // The buffer holds the characters shown and a terminator.
    const std::size_t size = std::size_t{string->chars} + 1;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool fits = size <= sizeof last.text;
    if (fits && bits == last.value_bits && string->chars == last.chars &&
        std::memcmp(string->text, last.text, size) == 0)
        return;
    std::snprintf(string->text, size, format, value);
    if (!fits) return;
    std::memcpy(last.text, string->text, size);
    last.value_bits = bits;
    last.chars = string->chars;
}

void readout_update(ElementHeader* element, const char* format, double value, std::int32_t power,
                    std::int32_t& timer, LastText& last) {
    if (element == nullptr) return;
    write_bounded(element, format, value, last);
    if (power != 0 && timer > 0) {
        --timer;
        element->image_flags &= ~IMAGE_HIDDEN;
    } else {
        element->image_flags |= IMAGE_HIDDEN;
    }
}

}  // namespace ardelvine::gauges::radios
