// The table-driven dials on the example panel, driven through the host: needle
// angles across every table and past both ends, the altimeter card and knob,
// failures, and the dials' tooltips.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/run/host.h"
#include "tests/example_panel.h"
#include "model/tokens.h"
#include "model/failures.h"

namespace ardelvine::hostapp {
namespace {

// Vertical speed tokens are metres per second times 256.
constexpr double kFeetPerMinute = 1.3004799584;
// Pounds per square foot per psi, and per inch of mercury.
constexpr double kPsi = 144.0;
constexpr double kInHg = 70.7328;
constexpr double rankine(double celsius) { return celsius * 1.8 + 32.0 + 459.67; }

struct DialsOnPanel : ExamplePanel {
    DialsOnPanel() : ExamplePanel(ARD_SOURCE_DIR "/examples/dials.cfg") {}
};

// ------------------------------------------------------------ needle angles

struct AngleCase {
    const char* gauge;
    std::size_t element;
    std::uint32_t token;
    double value;
    double angle;  // unwrapped degrees clockwise from 12 o'clock
};

// At the table's points, between them, and past both ends. The angles count
// on from the first entry's direction, so a second turn reads 360 more.
const AngleCase kAngles[] = {
    // Airspeed: almost two turns, then pinned at the 430 stop.
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, -10, -4.37},  // the first segment goes on below 0
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, 90, 112.67},
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, 200, 360.0},  // 12 o'clock after a full turn
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, 330, 541.71},  // 6 o'clock on the second turn
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, 430, 682.28},
    {"Airspeed", 1, tokens::AIRSPEED_INDICATED, 600, 682.28},

    // Altimeter hands: ten-thousands, thousands, hundreds.
    {"Altimeter", 2, tokens::ALTITUDE_INDICATED, 750, 2.7},
    {"Altimeter", 3, tokens::ALTITUDE_INDICATED, 750, 27.0},
    {"Altimeter", 4, tokens::ALTITUDE_INDICATED, 750, 270.0},  // 9 o'clock
    {"Altimeter", 2, tokens::ALTITUDE_INDICATED, -50, -0.18},
    {"Altimeter", 3, tokens::ALTITUDE_INDICATED, -50, -1.8},
    {"Altimeter", 4, tokens::ALTITUDE_INDICATED, -50, 0.0},  // held at 12 o'clock below zero
    {"Altimeter", 4, tokens::ALTITUDE_INDICATED, 12345, 4444.2},

    // Vertical speed: zero at 9 o'clock, pinned at the 6000 marks.
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, -10000 * kFeetPerMinute, 113.26},
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, -1000 * kFeetPerMinute, 213.96},
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, 0, 270.0},
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, 2000 * kFeetPerMinute, 360.0},
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, 6000 * kFeetPerMinute, 426.74},
    {"Vertical_Speed", 1, tokens::VERTICAL_SPEED, 10000 * kFeetPerMinute, 426.74},

    // Tachometer: the sub-dial stops at 3300; the hundreds needle turns on.
    {"Tachometer", 1, tokens::ENGINE_RPM, -100, 52.82},
    {"Tachometer", 1, tokens::ENGINE_RPM, 1500, 160.04},
    {"Tachometer", 1, tokens::ENGINE_RPM, 3800, 316.27},
    {"Tachometer", 2, tokens::ENGINE_RPM, 250, 90.0},
    {"Tachometer", 2, tokens::ENGINE_RPM, 2400, 864.0},

    // Manifold pressure: 40 inches at 30°, halfway from the 30 to the 50 mark.
    {"Manifold_Pressure", 1, tokens::MANIFOLD_PRESSURE, 0, 210.03},
    {"Manifold_Pressure", 1, tokens::MANIFOLD_PRESSURE, 40 * kInHg, 390.01},
    {"Manifold_Pressure", 1, tokens::MANIFOLD_PRESSURE, 65 * kInHg, 510.02},

    {"CHT_Indicator", 1, tokens::CYLINDER_HEAD_TEMPERATURE, rankine(-70), 315.0},
    {"CHT_Indicator", 1, tokens::CYLINDER_HEAD_TEMPERATURE, rankine(250), 385.87},
    {"CHT_Indicator", 1, tokens::CYLINDER_HEAD_TEMPERATURE, rankine(420), 405.35},

    // Oil gauges. Token 425's table falls: the needle goes back as the value rises.
    {"Oil_Temp_Press_1", 1, tokens::FUEL_PRESSURE, -1 * kPsi, 540.84},
    {"Oil_Temp_Press_1", 1, tokens::FUEL_PRESSURE, 5 * kPsi, 540.84},
    {"Oil_Temp_Press_1", 1, tokens::FUEL_PRESSURE, 15 * kPsi, 468.17},
    {"Oil_Temp_Press_1", 1, tokens::FUEL_PRESSURE, 40 * kPsi, 359.1},
    {"Oil_Temp_Press_1", 2, tokens::OIL_PRESSURE, -5 * kPsi, 180.84},
    {"Oil_Temp_Press_1", 2, tokens::OIL_PRESSURE, 100 * kPsi, 270.0},
    {"Oil_Temp_Press_1", 2, tokens::OIL_PRESSURE, 320 * kPsi, 359.12},
    {"Oil_Temp_Press_1", 3, tokens::OIL_TEMPERATURE, rankine(-10), 284.6},
    {"Oil_Temp_Press_1", 3, tokens::OIL_TEMPERATURE, rankine(75), 359.94},
    {"Oil_Temp_Press_1", 3, tokens::OIL_TEMPERATURE, rankine(220), 435.28},
    {"Oil_Temp_Press_2", 3, tokens::OIL_TEMPERATURE, rankine(75), 359.94},

    {"Hydr_Press_Indicator", 1, tokens::HYDRAULIC_PRESSURE, -100 * kPsi, 270.0},
    {"Hydr_Press_Indicator", 1, tokens::HYDRAULIC_PRESSURE, 1000 * kPsi, 360.0},
    {"Hydr_Press_Indicator", 1, tokens::HYDRAULIC_PRESSURE, 3300 * kPsi, 450.0},

    {"OAT_Indicator", 1, tokens::OUTSIDE_AIR_TEMPERATURE, -80, 319.66},
    {"OAT_Indicator", 1, tokens::OUTSIDE_AIR_TEMPERATURE, 0, 360.0},
    {"OAT_Indicator", 1, tokens::OUTSIDE_AIR_TEMPERATURE, 80, 399.04},

    {"Voltmeter", 1, tokens::MAIN_BUS_VOLTAGE, -2, 314.1},
    {"Voltmeter", 1, tokens::MAIN_BUS_VOLTAGE, 22.5, 382.28},
    {"Voltmeter", 1, tokens::MAIN_BUS_VOLTAGE, 55, 404.56},
};

TEST_F(DialsOnPanel, NeedlesFollowTheirTables) {
    for (const AngleCase& c : kAngles) {
        set(c.token, c.value);
        const ElementState& s = element(c.gauge, c.element);
        EXPECT_NEAR(s.angle, c.angle, 0.01) << c.gauge << " element " << c.element << " at " << c.value;
        EXPECT_EQ(s.value, c.value);
    }
}

// ------------------------------------------------------------ barometric card and knob

TEST_F(DialsOnPanel, BarometricCardTurnsBetweenItsStops) {
    const std::pair<double, double> cases[] = {
        {26.0, -180.0}, {27.9, -180.0}, {29.4, -45.0}, {29.9, 0.0}, {30.4, 45.0}, {31.5, 144.0}, {33.0, 144.0},
    };
    for (const auto& [setting, rotation] : cases) {
        set(tokens::KOHLSMAN_SETTING, setting);
        EXPECT_NEAR(element("Altimeter", 1).rotation, rotation, 1e-9) << setting;
    }
    // No failure stops the card.
    host->simulation().set_failure(failures::PITOT_STATIC, true);
    host->simulation().set_failure(failures::ALTIMETER, true);
    set(tokens::KOHLSMAN_SETTING, 30.4);
    EXPECT_NEAR(element("Altimeter", 1).rotation, 45.0, 1e-9);
}

TEST_F(DialsOnPanel, BarometricKnobStepsTheSettingAHundredthAtATime) {
    Placement& altimeter = gauge("Altimeter");
    set(tokens::KOHLSMAN_SETTING, 29.92);
    host->click(altimeter, 40, 220, {Button::LEFT, 9});  // right half, held: ten steps up
    EXPECT_NEAR(host->simulation().token(tokens::KOHLSMAN_SETTING), 30.02, 1e-9);
    host->click(altimeter, 20, 220, {Button::LEFT, 0});  // left half: one step down
    EXPECT_NEAR(host->simulation().token(tokens::KOHLSMAN_SETTING), 30.01, 1e-9);
    host->click(altimeter, 20, 220, {Button::RIGHT, 0});  // the knob takes no right clicks
    EXPECT_NEAR(host->simulation().token(tokens::KOHLSMAN_SETTING), 30.01, 1e-9);

    const auto& events = host->simulation().events();
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events.front().event, 65883u);
    EXPECT_EQ(events.back().event, 65884u);

    host->update();
    EXPECT_NEAR(element("Altimeter", 1).rotation, (30.01 - 29.9) * 90.0, 1e-9);
}

// ------------------------------------------------------------ failures

enum class Effect { NONE, FREEZE, ZERO };

struct FailureCase {
    const char* gauge;
    std::size_t element;
    std::uint32_t token;
    double before, after;
    std::uint32_t key;
    Effect effect;
};

const FailureCase kFailures[] = {
    {"Airspeed", 1, 61, 120, 200, 6, Effect::ZERO},
    {"Altimeter", 2, 74, 750, 2000, 7, Effect::FREEZE},
    {"Altimeter", 3, 74, 750, 2000, 3, Effect::FREEZE},
    {"Vertical_Speed", 1, 65, 1000, 2000, 19, Effect::FREEZE},
    {"Vertical_Speed", 1, 65, 1000, 2000, 3, Effect::ZERO},
    {"Tachometer", 1, 390, 1000, 2000, 20, Effect::ZERO},
    {"Tachometer", 1, 390, 1000, 2000, 2, Effect::NONE},
    {"Manifold_Pressure", 1, 391, 1500, 2500, 20, Effect::ZERO},
    {"CHT_Indicator", 1, 415, 600, 800, 20, Effect::ZERO},
    {"Oil_Temp_Press_2", 2, 562, 10000, 20000, 20, Effect::ZERO},
    {"Voltmeter", 1, 753, 24, 28, 20, Effect::ZERO},
    {"Hydr_Press_Indicator", 1, 732, 144000, 288000, 20, Effect::NONE},
    {"OAT_Indicator", 1, 341, -20, 20, 20, Effect::NONE},
};

TEST_F(DialsOnPanel, FailuresFreezeOrZeroTheirNeedles) {
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(std::string(c.gauge) + " element " + std::to_string(c.element) + " failure " +
                     std::to_string(c.key));
        set(c.token, c.before);
        host->simulation().set_failure(c.key, true);
        set(c.token, c.after);
        const ElementState& s = element(c.gauge, c.element);
        const double shown = c.effect == Effect::FREEZE ? c.before : c.effect == Effect::ZERO ? 0.0 : c.after;
        EXPECT_EQ(s.value, shown);
        EXPECT_TRUE(s.visible);
        host->simulation().set_failure(c.key, false);
        host->update();
        EXPECT_EQ(element(c.gauge, c.element).value, c.after);
    }
}

// ------------------------------------------------------------ tooltips

TEST_F(DialsOnPanel, VoltmeterTooltipShowsTheBusVoltageFourCharactersWide) {
    const std::pair<double, const char*> cases[] = {
        {28.04, "Main bus voltage (28.0 volts)"},
        {9.46, "Main bus voltage ( 9.5 volts)"},
        {0.0, "Main bus voltage ( 0.0 volts)"},
        {-1.0, "Main bus voltage (-1.0 volts)"},
    };
    for (const auto& [volts, text] : cases) {
        host->simulation().set_token(tokens::MAIN_BUS_VOLTAGE, volts);
        EXPECT_EQ(host->tooltip(gauge("Voltmeter"), 100, 100), text);
    }
}

// The tooltip's expression comes inside an outer pair of brackets, which the
// evaluator must see past to find the pressure.
TEST_F(DialsOnPanel, HydraulicTooltipShowsWholePsi) {
    host->simulation().set_token(tokens::HYDRAULIC_PRESSURE, 1500 * kPsi);
    EXPECT_EQ(host->tooltip(gauge("Hydr_Press_Indicator"), 80, 80), "Hydraulic Pressure (1500 PSI)");
}

TEST_F(DialsOnPanel, HelpTooltipsByArea) {
    struct Case {
        const char* gauge;
        int x, y;
        std::uint32_t help;  // 0: no tooltip
    };
    const Case cases[] = {
        {"Airspeed", 100, 100, 0x3002},
        {"Altimeter", 100, 100, 0x3051},
        {"Altimeter", 30, 220, 0x3054},  // the knob
        {"Vertical_Speed", 100, 100, 0x3099},
        {"Tachometer", 100, 100, 0x3210},
        {"Manifold_Pressure", 100, 100, 0x30A0},
        {"CHT_Indicator", 100, 100, 0x30D0},
        {"OAT_Indicator", 100, 100, 0x3224},
        {"Oil_Temp_Press_1", 200, 60, 0xAB4F},   // upper half
        {"Oil_Temp_Press_1", 200, 200, 0xAB2C},  // lower right quarter
        {"Oil_Temp_Press_1", 60, 200, 0xAB4E},   // lower left quarter: pressure
        {"Oil_Temp_Press_2", 60, 60, 0xAB4F},
    };
    for (const Case& c : cases) {
        const char* known = c.help != 0 ? help_text(c.help) : "";
        ASSERT_NE(known, nullptr) << std::hex << c.help;
        EXPECT_EQ(host->tooltip(gauge(c.gauge), c.x, c.y), known) << c.gauge << " at " << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace ardelvine::hostapp
