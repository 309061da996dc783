#include "host/sim/radio_tuning.h"

#include <cmath>

namespace ardelvine::hostapp::radio_tuning {

namespace {

// Two BCD digits as the number they spell; digits above 9 count as they stand.
int two_digits(std::uint32_t byte) { return 10 * static_cast<int>((byte >> 4) & 0xF) + static_cast<int>(byte & 0xF); }
std::uint32_t bcd2(int n) { return static_cast<std::uint32_t>(((n / 10) % 10) << 4 | (n % 10)); }
std::uint32_t bcd3(int n) { return static_cast<std::uint32_t>(((n / 100) % 10) << 8) | bcd2(n % 100); }

int wrap_step(int value, int direction, int lowest, int highest) {
    const int next = value + direction;
    if (next > highest || next < lowest) return direction > 0 ? lowest : highest;
    return next;
}

// Megahertz held without the leading 1: the high byte is the megahertz above 100.
std::uint32_t whole_step(std::uint32_t bits, int direction, int lowest, int highest) {
    const int megahertz = 100 + two_digits((bits >> 8) & 0xFF);
    return bcd2(wrap_step(megahertz, direction, lowest, highest) - 100) << 8 | (bits & 0xFF);
}

// The next hundredths on a raster (`on` says which hundredths belong to it),
// wrapping within the megahertz.
template <typename OnRaster>
std::uint32_t raster_step(std::uint32_t bits, int direction, OnRaster on) {
    const int hundredths = two_digits(bits & 0xFF);
    int h = hundredths;
    for (int i = 0; i < 100; ++i) {
        h = (h + direction + 100) % 100;
        if (on(h)) break;
    }
    return (bits & ~0xFFu) | bcd2(h);
}

}  // namespace

std::uint32_t bits_of(double value) {
    if (!std::isfinite(value)) return 0;
    double wrapped = std::fmod(std::trunc(value), 4294967296.0);
    if (wrapped < 0.0) wrapped += 4294967296.0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped));
}

std::uint32_t com_whole(std::uint32_t bits, int direction) { return whole_step(bits, direction, 118, 136); }

std::uint32_t com_channel(std::uint32_t bits, int direction) {
    return raster_step(bits, direction, [](int h) { return h % 5 == 0 || h % 5 == 2; });
}

std::uint32_t nav_whole(std::uint32_t bits, int direction) { return whole_step(bits, direction, 108, 117); }

std::uint32_t nav_fraction(std::uint32_t bits, int direction) {
    return raster_step(bits, direction, [](int h) { return h % 5 == 0; });
}

AdfTokens adf_set(std::uint32_t digits) { return {(digits >> 4) & 0xFFF, digits & 0xF}; }

AdfTokens adf_step(AdfTokens now, int tenths) {
    const int thousands = now.tenths >= 0x100 ? 1 : 0;
    const int hundreds = static_cast<int>((now.units >> 8) & 0xF);
    const int kilohertz = 1000 * thousands + 100 * hundreds + two_digits(now.units & 0xFF);
    const int tenth = static_cast<int>(now.tenths >= 0x100 ? now.tenths - 0x100 : now.tenths) % 10;
    int total = 10 * kilohertz + tenth + tenths;
    if (total < kAdfLowestTenths) total = kAdfLowestTenths;
    if (total > kAdfHighestTenths) total = kAdfHighestTenths;
    const int whole = total / 10;
    return {bcd3(whole % 1000), (whole >= 1000 ? 0x100u : 0u) + static_cast<std::uint32_t>(total % 10)};
}

std::uint32_t transponder_digit(std::uint32_t bits, int digit, int direction) {
    const int shift = 12 - 4 * digit;
    const int value = static_cast<int>((bits >> shift) & 0xF);
    const int next = direction > 0 ? (value >= 7 ? 0 : value + 1) : (value == 0 || value > 7 ? 7 : value - 1);
    return (bits & ~(0xFu << shift)) | (static_cast<std::uint32_t>(next) << shift);
}

}  // namespace ardelvine::hostapp::radio_tuning
