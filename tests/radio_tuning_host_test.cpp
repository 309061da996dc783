// The simulated radios' digit arithmetic: steps at the ends of each band, the
// channel rasters, carries and stops of the ADF, the transponder's digits,
// and token values no set would hold.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/sim/radio_tuning.h"

namespace ardelvine::hostapp::radio_tuning {
namespace {

struct Step {
    std::uint32_t before;
    int direction;
    std::uint32_t after;
};

TEST(RadioTuning, ComWholeMegahertzWrapsAt118And136) {
    const Step cases[] = {{0x2357, +1, 0x2457}, {0x3657, +1, 0x1857}, {0x1800, -1, 0x3600},
                          {0x1900, -1, 0x1800}, {0x0000, +1, 0x1800}, {0x0000, -1, 0x3600}};
    for (const Step& c : cases) EXPECT_EQ(com_whole(c.before, c.direction), c.after) << std::hex << c.before;
}

TEST(RadioTuning, ComChannelsOnThe25KilohertzRaster) {
    const Step cases[] = {
        {0x2300, +1, 0x2302}, {0x2302, +1, 0x2305}, {0x2305, +1, 0x2307}, {0x2307, +1, 0x2310},
        {0x2397, +1, 0x2300},  // no carry into the megahertz
        {0x2300, -1, 0x2397}, {0x2310, -1, 0x2307}, {0x2301, +1, 0x2302}, {0x2301, -1, 0x2300},
    };
    for (const Step& c : cases) EXPECT_EQ(com_channel(c.before, c.direction), c.after) << std::hex << c.before;
}

TEST(RadioTuning, NavAcrossTheLeadingOne) {
    const Step whole[] = {{0x0850, +1, 0x0950}, {0x0950, +1, 0x1050}, {0x1750, +1, 0x0850},
                          {0x0850, -1, 0x1750}, {0x1050, -1, 0x0950}};
    for (const Step& c : whole) EXPECT_EQ(nav_whole(c.before, c.direction), c.after) << std::hex << c.before;
    const Step fraction[] = {{0x1130, +1, 0x1135}, {0x1195, +1, 0x1100}, {0x1100, -1, 0x1195}, {0x1132, -1, 0x1130}};
    for (const Step& c : fraction) EXPECT_EQ(nav_fraction(c.before, c.direction), c.after) << std::hex << c.before;
}

TEST(RadioTuning, AdfCarriesAndStops) {
    const struct {
        AdfTokens before;
        int tenths;
        AdfTokens after;
    } cases[] = {
        {{0x409, 9}, +1, {0x410, 0}},      {{0x999, 9}, +1, {0x000, 0x100}},  // into the thousands
        {{0x000, 0x100}, -1, {0x999, 9}},  {{0x365, 0}, +10, {0x366, 0}},
        {{0x799, 0x109}, +1, {0x799, 0x109}},                                  // 1799.9 is the top
        {{0x100, 0}, -10, {0x100, 0}},     {{0x100, 5}, -10, {0x100, 0}},     // 100.0 the bottom
    };
    for (const auto& c : cases) {
        const AdfTokens got = adf_step(c.before, c.tenths);
        EXPECT_EQ(got.units, c.after.units) << std::hex << c.before.units << "/" << c.before.tenths;
        EXPECT_EQ(got.tenths, c.after.tenths) << std::hex << c.before.units << "/" << c.before.tenths;
    }
    EXPECT_EQ(adf_set(0x4100).units, 0x410u);
    EXPECT_EQ(adf_set(0x4100).tenths, 0u);
    EXPECT_EQ(adf_set(0x8505).tenths, 5u);
}

TEST(RadioTuning, TransponderDigitsWrapWithinThemselves) {
    EXPECT_EQ(transponder_digit(0x1200, 0, +1), 0x2200u);
    EXPECT_EQ(transponder_digit(0x7777, 0, +1), 0x0777u);
    EXPECT_EQ(transponder_digit(0x7777, 3, +1), 0x7770u);
    EXPECT_EQ(transponder_digit(0x1200, 3, -1), 0x1207u);
    EXPECT_EQ(transponder_digit(0x1900, 1, -1), 0x1700u) << "a digit above 7 comes back to 7";
}

TEST(RadioTuning, TokenValuesAsBits) {
    EXPECT_EQ(bits_of(0x2357), 0x2357u);
    EXPECT_EQ(bits_of(-1.0), 0xFFFFFFFFu);
    EXPECT_EQ(bits_of(std::numeric_limits<double>::quiet_NaN()), 0u);
    EXPECT_EQ(bits_of(1e300), 0u);
}

}  // namespace
}  // namespace ardelvine::hostapp::radio_tuning
