// Both ADF/VOR indicators through their records: which elements each mode
// shows, one mode per gauge name, the station pointer's parking regions, the
// knob's steps and wrap, the needles parked by the radios' power flags, and
// the course window's three characters.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_services.h"
#include "tests/unit/gauge_walk.h"

namespace ardelvine::test {
namespace {

using gauges::ADF_VOR_Indicator;
using gauges::ADF_VOR_Indicator_Small;
using gauges::radios::radio_power;

enum Area { MODE, KNOB_DOWN, KNOB_UP };

// Elements shown in ADF mode (A), in VOR mode (V), always (-).
constexpr char kShownIn[] = "-AVAAVVVVVVVVAVA";

class Indicator : public FakeServicesTest {
protected:
    void SetUp() override {
        FakeServicesTest::SetUp();
        radio_power = {.nav1 = 1, .com1 = 1, .adf = 1, .transponder = 1, .nav1_tone = 0, .adf_tone = 0};
        set_mode(ADF_VOR_Indicator, true);
        set_mode(ADF_VOR_Indicator_Small, true);
    }
    static bool adf_mode(const GaugeHeader& g) {
        evaluate(element(g, 1));
        return !hidden(element(g, 1));
    }
    static void set_mode(GaugeHeader& g, bool adf) {
        if (adf_mode(g) != adf) click(g, MODE, MOUSE_LEFT);
    }
    // An element's value as the host gets it, with the token's value in its source.
    template <typename T>
    static double with_source(GaugeHeader& g, int n, double value) {
        auto& e = element_as<T>(g, n);
        if constexpr (std::is_same_v<T, Sprite>) e.rotation.source.value = value;
        else if constexpr (std::is_same_v<T, StringElement>) e.sources[0].value = value;
        else e.source.value = value;
        return evaluate(&e.header);
    }
};

TEST_F(Indicator, EachModeShowsItsElements) {
    for (GaugeHeader* g : {&ADF_VOR_Indicator, &ADF_VOR_Indicator_Small}) {
        for (bool adf : {true, false}) {
            set_mode(*g, adf);
            char buffer[4 + 64] = {};
            element_as<StringElement>(*g, 11).text = buffer;
            for (int n = 1; n < 16; ++n) {
                evaluate(element(*g, n));
                const bool shown = kShownIn[n] == (adf ? 'A' : 'V');
                EXPECT_EQ(hidden(element(*g, n)), !shown) << g->name << " element " << n << (adf ? " ADF" : " VOR");
            }
            element_as<StringElement>(*g, 11).text = nullptr;
        }
    }
}

TEST_F(Indicator, ModeBelongsToTheGaugeName) {
    click(ADF_VOR_Indicator, MODE, MOUSE_LEFT);
    EXPECT_FALSE(adf_mode(ADF_VOR_Indicator));
    EXPECT_TRUE(adf_mode(ADF_VOR_Indicator_Small));
    // A fresh install keeps the mode.
    ADF_VOR_Indicator.callback(&ADF_VOR_Indicator, PANEL_SERVICE_PRE_INSTALL, 0);
    ADF_VOR_Indicator.callback(&ADF_VOR_Indicator, PANEL_SERVICE_PRE_KILL, 0);
    EXPECT_FALSE(adf_mode(ADF_VOR_Indicator));
    EXPECT_TRUE(events.empty());
}

TEST_F(Indicator, StationPointerParksOutsideTheCourseLine) {
    set_mode(ADF_VOR_Indicator, false);
    const struct {
        double heading, course, signal;
        double shown;
    } cases[] = {
        {100, 30, 1, 90},   {10, 350, 1, -340}, {75, 30, 1, 45},   {76, 30, 1, 90},  {30, 75, 1, -45},
        {30, 76, 1, 90},    {165, 30, 1, 135},  {164, 30, 1, 90},  {30, 165, 1, -135}, {30, 164, 1, 90},
        {40, 30, 0, 90},    {40, 30, 0.9, 90},  {40, 30, -2, 10},  {200, 0, 1, 200},
    };
    for (const auto& c : cases) {
        tokens[tokens::GYRO_HEADING] = c.heading;
        tokens[tokens::VOR1_COURSE] = c.course;
        tokens[tokens::VOR1_SIGNAL] = c.signal;
        EXPECT_EQ(evaluate(element(ADF_VOR_Indicator, 5)), c.shown)
            << c.heading << " - " << c.course << " signal " << c.signal;
    }
    radio_power.nav1 = 0;
    tokens[tokens::VOR1_SIGNAL] = 1;
    tokens[tokens::GYRO_HEADING] = 40;
    tokens[tokens::VOR1_COURSE] = 30;
    EXPECT_EQ(evaluate(element(ADF_VOR_Indicator, 5)), 90.0);
}

TEST_F(Indicator, NeedlesParkWithTheirRadiosOff) {
    auto values = [&] {
        return std::vector<double>{with_source<Needle>(ADF_VOR_Indicator, 4, 45.0),
                                   with_source<Needle>(ADF_VOR_Indicator, 6, 60.0),
                                   with_source<Needle>(ADF_VOR_Indicator, 7, -30.0),
                                   with_source<Icon>(ADF_VOR_Indicator, 9, 1.0),
                                   with_source<Icon>(ADF_VOR_Indicator, 10, 3.0)};
    };
    EXPECT_EQ(values(), (std::vector<double>{45, 60, -30, 1, 1}));
    radio_power.adf = 0;
    EXPECT_EQ(values(), (std::vector<double>{90, 60, -30, 1, 1}));
    radio_power.nav1 = 0;
    EXPECT_EQ(values(), (std::vector<double>{90, 0, 0, 0, 0}));
    radio_power.adf = 1;
    EXPECT_EQ(with_source<Icon>(ADF_VOR_Indicator, 10, 0.0), 0.0);
}

TEST_F(Indicator, KnobStepsAndWraps) {
    const struct {
        bool adf;
        double value;
        int area;
        std::uint32_t flags;
        std::uint32_t sent;
    } cases[] = {
        {true, 0, KNOB_DOWN, MOUSE_LEFT, 359},      {true, 5, KNOB_DOWN, MOUSE_RIGHT, 355},
        {true, 10, KNOB_DOWN, MOUSE_RIGHT, 0},      {true, 9.9, KNOB_DOWN, MOUSE_RIGHT, 359},
        {true, 359, KNOB_UP, MOUSE_LEFT, 0},        {true, 349, KNOB_UP, MOUSE_RIGHT, 359},
        {true, 350, KNOB_UP, MOUSE_RIGHT, 0},       {true, 120, KNOB_UP, MOUSE_LEFT | MOUSE_RIGHT, 121},
        {false, 359.7, KNOB_UP, MOUSE_LEFT, 0},     {false, 355, KNOB_UP, MOUSE_RIGHT, 5},
        {false, -0.5, KNOB_DOWN, MOUSE_LEFT, 359},  {false, 1e300, KNOB_UP, MOUSE_LEFT, 1},
        {false, std::numeric_limits<double>::quiet_NaN(), KNOB_DOWN, MOUSE_LEFT, 359},
    };
    for (const auto& c : cases) {
        set_mode(ADF_VOR_Indicator, c.adf);
        tokens[c.adf ? tokens::ADF_CARD : tokens::VOR1_COURSE] = c.value;
        events.clear();
        click(ADF_VOR_Indicator, c.area, c.flags);
        EXPECT_EQ(events, Events(1, {c.adf ? events::ADF_CARD_SET : events::VOR1_COURSE_SET, c.sent}))
            << (c.adf ? "card " : "course ") << c.value;
    }
    events.clear();
    click(ADF_VOR_Indicator, KNOB_UP, MOUSE_REPEAT);
    EXPECT_TRUE(events.empty()) << "neither button";
}

TEST_F(Indicator, CourseWindowKeepsToThreeCharacters) {
    set_mode(ADF_VOR_Indicator, false);
    auto& window = element_as<StringElement>(ADF_VOR_Indicator, 11);
    char buffer[4 + 64];
    window.text = buffer;
    const struct {
        double course;
        const char* text;
    } cases[] = {{7, "007"}, {359.4, "359"}, {999.4, "999"}, {999.5, "100"}, {-99.4, "-99"}, {-99.5, "-10"}};
    for (const auto& c : cases) {
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(with_source<StringElement>(ADF_VOR_Indicator, 11, c.course), c.course);
        EXPECT_STREQ(buffer, c.text) << c.course;
        EXPECT_EQ(buffer[4], '#');
    }
    window.text = nullptr;
}

}  // namespace
}  // namespace ardelvine::test
