// The arithmetic of the simulated radios: stepping binary-coded-decimal
// frequencies and codes the way the simulator's own sets do. Each function
// takes the token's value as it is stored (a whole number holding BCD digits)
// and returns the new value; what each key event does with them is in
// radios.cpp.
#pragma once

#include <cstdint>

namespace ardelvine::hostapp::radio_tuning {

// A token's value as BCD bits: its low 32 bits as an unsigned whole number
// (negative, huge and NaN values wrap or read 0, never overflow).
std::uint32_t bits_of(double value);

// COM1 (token 23, 0x2357 for 123.57 MHz): whole megahertz within 118..136,
// wrapping at either end, the hundredths kept; one 25 kHz channel
// (.00 .02 .05 .07 .10 ... .97), wrapping within the megahertz without carry.
std::uint32_t com_whole(std::uint32_t bits, int direction);
std::uint32_t com_channel(std::uint32_t bits, int direction);

// NAV1 (token 24, 0x1130 for 111.30, 0x0850 for 108.50): whole megahertz
// within 108..117, wrapping; one 50 kHz step, wrapping without carry.
std::uint32_t nav_whole(std::uint32_t bits, int direction);
std::uint32_t nav_fraction(std::uint32_t bits, int direction);

// The ADF frequency as its two tokens: 16 holds hundreds, tens and units as
// BCD, 18 holds 0x100 for a thousands digit 1 plus the tenths digit.
struct AdfTokens {
    std::uint32_t units;   // token 16
    std::uint32_t tenths;  // token 18
};
inline constexpr int kAdfLowestTenths = 1000;   // 100.0 kHz
inline constexpr int kAdfHighestTenths = 17999;  // 1799.9 kHz
// Four BCD digits, hundreds to tenths (0x4100 is 410.0 kHz).
AdfTokens adf_set(std::uint32_t digits);
// Moves by `tenths` tenths of a kilohertz with carry between the digits,
// stopping at the ends of the receiver's range.
AdfTokens adf_step(AdfTokens now, int tenths);

// One octal digit of the transponder code (token 38, 0x7700), 0 the
// thousands to 3 the units, up or down by one, wrapping within the digit.
std::uint32_t transponder_digit(std::uint32_t bits, int digit, int direction);

}  // namespace ardelvine::hostapp::radio_tuning
