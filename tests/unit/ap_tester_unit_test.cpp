// The autopilot annunciator: readouts right-aligned in six characters across
// their value classes, keeping their text when a value cannot be shown, and
// lamps lit only above zero.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "gauges/systems/ap_tester.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_panel.h"
#include "model/failures.h"

namespace ardelvine::test {
namespace {

using gauges::AP_Tester;

class ApTester : public FakePanel {};

// Runs a readout's callback for `value` on a buffer holding `before`.
std::string readout_after(double value, const char* before = "before") {
    auto* s = FakePanel::element_as<StringElement>(AP_Tester, 2);
    char buffer[16] = {};
    std::strcpy(buffer, before);
    s->text = buffer;
    s->sources[0].value = value;
    const double returned = s->update(&s->header);
    if (!std::isnan(value)) {
        EXPECT_EQ(returned, value);
    }
    s->text = nullptr;
    return buffer;
}

TEST_F(ApTester, ReadoutsRightAlignInSixCharacters) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "     0"},       {42.0, "    42"},      {999.4, "   999"},
        {999.6, "  1000"},      {1000.0, "  1000"},    {9999.4, "  9999"},
        {9999.7, " 10000"},     {10000.0, " 10000"},   {99999.4, " 99999"},
        {99999.7, "100000"},    {123456.0, "123456"},  {999999.4, "999999"},
        {-42.0, "   -42"},      {-999.4, "  -999"},    {-999.7, " -1000"},
        {-1000.0, " -1000"},    {-9999.6, "-10000"},   {-10000.0, "-10000"},
    };
    for (auto [value, text] : cases) EXPECT_EQ(readout_after(value), text) << value;
}

TEST_F(ApTester, ReadoutKeepsItsTextWhenTheValueCannotBeShown) {
    const double keeps[] = {-10000.4, -20000.0, 999999.6, 1e6, 1e300,
                            std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
    for (double v : keeps) EXPECT_EQ(readout_after(v, "  -500"), "  -500") << v;
}

// The readout rounds as the C library's "%.0f" does (halves to even, "-0"
// for a small negative), across every value class and its edges.
TEST_F(ApTester, ReadoutRoundsAsPrintfDoes) {
    std::vector<double> values = {0.5,      1.5,       2.5,       -0.5,     -1.5,      -0.0,     -0.3,
                                  0.49999,  999.5,     998.5,     9999.5,   99999.5,   999998.5, 999999.5,
                                  -999.5,   -998.5,    -9999.5,   -9998.5,  1e-300,    -1e-300,  0.5000001,
                                  123.4999, 100000.0,  -10000.0,  4503599627370495.5};
    for (double v = 0.37; v < 2e6; v = v * 1.37 + 0.731)
        for (double x : {v, -v, std::floor(v) + 0.5, -std::floor(v) - 0.5}) values.push_back(x);
    for (double v : values) {
        char library[64];
        std::snprintf(library, sizeof library, "%.0f", v);
        char expected[sizeof library + 8];
        const bool fits = v >= -10000.0 && std::strlen(library) <= gauges::kApReadoutChars;
        if (fits) std::snprintf(expected, sizeof expected, "%6s", library);
        EXPECT_EQ(readout_after(v, "before"), fits ? std::string(expected) : "before") << v;
    }
}

TEST_F(ApTester, LampsLightOnlyAboveZero) {
    std::set<std::uint32_t> lamp_tokens;
    for (int n = 8; n < 26; ++n) {
        Icon* lamp = element_as<Icon>(AP_Tester, n);
        ASSERT_EQ(lamp->header.kind, ElementKind::ICON);
        EXPECT_EQ(lamp->header.x, 83);
        lamp_tokens.insert(lamp->source.token);
        EXPECT_EQ(evaluate(lamp, 0.0001), 0.0);
        EXPECT_EQ(evaluate(lamp, 0.0), -1.0);
        EXPECT_EQ(evaluate(lamp, -3.0), -1.0);
        EXPECT_EQ(evaluate(lamp, std::nan("")), -1.0);
    }
    EXPECT_EQ(lamp_tokens, (std::set<std::uint32_t>{87, 103, 104, 105, 106, 108, 110, 111, 112, 113, 114, 115, 117,
                                                    119, 123, 124, 792, 819}));
}

// Everything but the panel goes out with the electrical failure; the mode
// lamps beside the column never light whatever their (absent) variable holds.
TEST_F(ApTester, EveryDisplayHidesUnderFailure20AndModeLampsStayDark) {
    ASSERT_EQ(chain_length(AP_Tester), 45);
    EXPECT_EQ(element(AP_Tester, 0)->failures, nullptr);
    for (int n = 1; n < 45; ++n) {
        const ElementHeader* e = element(AP_Tester, n);
        ASSERT_NE(e->failures, nullptr) << n;
        EXPECT_EQ(e->failures[0].key, failures::ELECTRICAL);
        EXPECT_EQ(e->failures[0].action, FAIL_HIDE);
        EXPECT_EQ(e->failures[1].key, 0u);
        EXPECT_EQ(e->image_flags, 0x7u);
    }
    for (int n : {1, 26, 34, 44}) EXPECT_EQ(evaluate(element_as<Icon>(AP_Tester, n), 5.0), -1.0) << n;
    EXPECT_STREQ(AP_Tester.mouse[1].tooltip_text, "Autopilot annunciator");
}

}  // namespace
}  // namespace ardelvine::test
