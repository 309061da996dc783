// The radio design every set stands on: reading BCD tokens whatever their
// value, the frequency and code decoders, the supply rule of the main switch,
// tone switching, lit bits and the readout timer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "gauges/radios/radio.h"
#include "tests/unit/fake_services.h"

namespace ardelvine::test {
namespace {

using namespace gauges::radios;

TEST(RadioBcd, LowBitsOfAnyValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::uint32_t bits;
    } cases[] = {
        {0x2357, 0x2357},          {9047.9, 0x2357},           {-1.0, 0xFFFFFFFFu},
        {-0.5, 0},                 {4294967296.0, 0},          {4294967297.0, 1},
        {-4294967297.0, 0xFFFFFFFFu}, {1e15, 0xA4C68000u},      {-1e15, 0x5B398000u},
        {1e300, 0},  // every double this large is a multiple of 2^32
        {nan, 0},                  {inf, 0},                   {-inf, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(bcd_bits(c.value), c.bits) << c.value;
}

TEST(RadioBcd, ComDecodingAndChannels) {
    const struct {
        std::uint32_t bits;
        double whole, hundredths, shown;
    } cases[] = {
        {0x1800, 118, 0, 118.000},  {0x3597, 135, 97, 135.975}, {0x2357, 123, 57, 123.575},
        {0x2350, 123, 50, 123.500}, {0x2302, 123, 2, 123.025},  {0x1000, 110, 0, 110.0},
        {0x2FFF, 135, 165, 136.65},  // digits above 9 count as they stand
        // The first channel of each ten-megahertz band belongs to that band.
        {0x3000, 130, 0, 130.0},    {0x2000, 120, 0, 120.0},    {0x1FFF, 125, 165, 126.65},
        // Below 0x1000 the base subtraction wraps: the set reads a wild whole part.
        {0x0850, 16777208.0 + 110.0, 50, 16777318.5},
    };
    for (const auto& c : cases) {
        const Megahertz f = decode_com(c.bits);
        EXPECT_EQ(f.whole, c.whole) << std::hex << c.bits;
        EXPECT_EQ(f.hundredths, c.hundredths) << std::hex << c.bits;
        EXPECT_NEAR(com_channel(f), c.shown, 1e-9) << std::hex << c.bits;
    }
}

TEST(RadioBcd, NavAdfAndCodeDecoding) {
    const struct {
        std::uint32_t bits;
        double whole, hundredths;
    } nav[] = {{0x1130, 111, 30}, {0x0850, 108, 50}, {0x1795, 117, 95}, {0x0800, 108, 0}, {0x1000, 110, 0}};
    for (const auto& c : nav) {
        EXPECT_EQ(decode_nav(c.bits).whole, c.whole) << std::hex << c.bits;
        EXPECT_EQ(decode_nav(c.bits).hundredths, c.hundredths) << std::hex << c.bits;
    }

    const struct {
        std::uint32_t units, tenths;
        double frequency;
    } adf[] = {{0x234, 0x105, 1234.5}, {0x410, 0, 410.0}, {0x850, 0x100, 1850.0}, {0x200, 5, 200.5},
               {0x999, 0x109, 1999.9}, {0xFFFF, 0, 25500.0 + 150 + 15}};
    for (const auto& c : adf)
        EXPECT_DOUBLE_EQ(decode_adf(c.units, c.tenths).frequency(), c.frequency) << std::hex << c.units;

    const struct {
        std::uint32_t bits;
        double code;
    } codes[] = {{0x7700, 7700}, {0x1200, 1200}, {0x0007, 7}, {0x7777, 7777}, {0x12345, 18345}};
    for (const auto& c : codes) EXPECT_EQ(decode_code(c.bits), c.code) << std::hex << c.bits;
}

class RadioSwitches : public FakeServicesTest {};

// Off to on needs the supply strictly above 20; on to off always works. Only
// a move clicks.
TEST_F(RadioSwitches, MainSwitchNeedsSupplyToComeOn) {
    sound::GaugeSound sound{};
    const struct {
        std::int32_t before;
        double supply;
        std::int32_t after;
    } cases[] = {{0, 20.0, 0}, {0, 20.01, 1}, {0, 0.0, 0}, {0, -30.0, 0}, {1, 0.0, 0}, {1, 28.0, 0}, {0, 28.0, 1}};
    for (const auto& c : cases) {
        tokens[kSupplyToken] = c.supply;
        std::int32_t power = c.before;
        EXPECT_EQ(main_switch(power, sound), c.before != c.after) << c.before << " at " << c.supply;
        EXPECT_EQ(power, c.after) << c.before << " at " << c.supply;
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(RadioSwitches, ToneSwitchAndLeverKeepTheSimulatorInStep) {
    sound::GaugeSound sound{};
    std::int32_t tone = 0;
    tone_switch(0, tone, 1, 2, sound);  // off: nothing at all
    EXPECT_EQ(tone, 0);
    EXPECT_TRUE(events.empty());
    tone_switch(1, tone, 1, 2, sound);
    tone_switch(1, tone, 1, 2, sound);
    EXPECT_EQ(tone, 0);
    EXPECT_EQ(events, (Events{{2, 0}, {1, 0}}));

    events.clear();
    EXPECT_EQ(power_lever_keeping_tone(0, 1, 1, 2), 0.0);
    EXPECT_EQ(power_lever_keeping_tone(1, 1, 1, 2), 1.0);
    EXPECT_EQ(power_lever_keeping_tone(1, 0, 1, 2), 1.0);
    EXPECT_EQ(events, (Events{{1, 0}, {2, 0}}));
}

TEST_F(RadioSwitches, LitBitFollowsPowerAndNothingElse) {
    ElementHeader e{};
    e.image_flags = IMAGE_DRAWN | IMAGE_HIDDEN | 0x83;
    light_with_power(&e, 1);
    EXPECT_EQ(e.image_flags, IMAGE_DRAWN | IMAGE_HIDDEN | IMAGE_LIT | 0x83);
    light_drum(&e, 0);
    EXPECT_EQ(e.image_flags, IMAGE_HIDDEN | 0x83u);
    light_drum(nullptr, 1);
}

// Shown for exactly 60 string updates after the last click, hidden at once
// when the set goes off; the text never passes the characters shown.
TEST_F(RadioSwitches, ReadoutTimer) {
    sound::GaugeSound sound{};
    char buffer[8 + 64];
    std::memset(buffer, '#', sizeof buffer);
    StringElement e{};
    e.header.kind = ElementKind::STRING;
    e.chars = 7;
    e.text = buffer;
    std::int32_t timer = 0;
    LastText last;

    auto shown = [&](std::int32_t power) {
        readout_update(&e.header, "%7.3f", 123.575, power, timer, last);
        return (e.header.image_flags & IMAGE_HIDDEN) == 0;
    };
    EXPECT_FALSE(shown(1));
    readout_click(0, timer, sound);
    EXPECT_EQ(timer, 0);
    readout_click(1, timer, sound);
    int updates = 0;
    while (shown(1)) ++updates;
    EXPECT_EQ(updates, kReadoutUpdates);
    EXPECT_STREQ(buffer, "123.575");

    readout_click(1, timer, sound);
    EXPECT_TRUE(shown(1));
    EXPECT_FALSE(shown(0));
    EXPECT_EQ(timer, kReadoutUpdates - 1) << "the timer waits while the set is off";

    readout_update(&e.header, "%7.3f", 16777318.5, 1, timer, last);
    EXPECT_STREQ(buffer, "1677731");
    EXPECT_EQ(buffer[9], '#');

    // The same value into a buffer that no longer holds its text (a new
    // placement's, or one the host cleared) is written again.
    std::memset(buffer, 0, sizeof buffer);
    readout_update(&e.header, "%7.3f", 16777318.5, 1, timer, last);
    EXPECT_STREQ(buffer, "1677731");
}

}  // namespace
}  // namespace ardelvine::test
