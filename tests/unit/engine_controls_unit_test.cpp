// The engine and system controls: each picture rule with its own comparison,
// the magneto key's stop at "Both", and the autopilot's engage and disengage
// sequences with the heading and the altitude taken to the nearest hundred.
#include <cmath>
#include <limits>

#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_panel.h"
#include "model/failures.h"

namespace ardelvine::test {
namespace {

using namespace gauges;

class EngineControls : public FakePanel {};

Icon* picture(GaugeHeader& gauge) { return FakePanel::element_as<Icon>(gauge, 1); }

TEST_F(EngineControls, PictureRules) {
    struct Case {
        GaugeHeader* gauge;
        double value, image;
    };
    const Case cases[] = {
        {&Carburetor_Heat, 0.0, 0.0},  {&Carburetor_Heat, 0.01, 1.0}, {&Carburetor_Heat, -1.0, 0.0},
        {&Engine_Primer, 0.0, 0.0},    {&Engine_Primer, 1.0, 1.0},    {&Engine_Primer, -1.0, 1.0},
        {&Autopilot_Switch, 0.0, 0.0}, {&Autopilot_Switch, 1.0, 1.0}, {&Autopilot_Switch, -0.5, 1.0},
        {&Starter_Switch, 1.0, 1.0},   {&NAV_GPS_Switch, 1.0, 1.0},  // the variable itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.gauge->name) + " at " + std::to_string(c.value));
        EXPECT_EQ(evaluate(picture(*c.gauge), c.value), c.image);
    }
}

// The tooltips read their variable afresh, and say "on" only above zero.
TEST_F(EngineControls, TooltipsReadTheVariableAfresh) {
    evaluate(picture(Engine_Primer), -1.0);
    tokens[tokens::ENGINE_PRIMER] = -1.0;
    EXPECT_EQ(tooltip_text(Engine_Primer, 1), "off");
    tokens[tokens::ENGINE_PRIMER] = 2.0;
    EXPECT_EQ(tooltip_text(Engine_Primer, 1), "on");
    tokens[tokens::AUTOPILOT_ENGAGED] = 1.0;
    EXPECT_EQ(tooltip_text(Autopilot_Switch, 1), "on");
    tokens[tokens::AUTOPILOT_ENGAGED] = -1.0;
    EXPECT_EQ(tooltip_text(Autopilot_Switch, 1), "off");
}

// Position = 2 x left + right as last drawn; the left half steps up only below
// "Both", the right half's own event is never limited.
TEST_F(EngineControls, MagnetoKeyStopsAtBoth) {
    struct Case {
        double left, right;
        const char* text;
        bool left_half_sends;
    };
    const Case cases[] = {
        {0, 0, "None", true}, {0, 1, "Right", true}, {1, 0, "Left", true}, {1, 1, "Both", false},
        {1, 2, "Off", false}, {0, 0.5, "Off", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        events.clear();
        tokens[tokens::MAGNETO_LEFT] = c.left;
        EXPECT_EQ(evaluate(picture(Magnetos_Switch), c.right), 2 * c.left + c.right);
        EXPECT_EQ(tooltip_text(Magnetos_Switch, 1), c.text);
        click(Magnetos_Switch, 2);
        click(Magnetos_Switch, 3);
        Events expected;
        if (c.left_half_sends) expected.emplace_back(events::MAGNETOS_INCREASE, 0);
        expected.emplace_back(events::MAGNETOS_DECREASE, 0);
        EXPECT_EQ(events, expected);
    }
    // The stop uses the position as last drawn, not the variables now.
    tokens[tokens::MAGNETO_LEFT] = 1;
    evaluate(picture(Magnetos_Switch), 1.0);
    tokens[tokens::MAGNETO_LEFT] = 0;
    events.clear();
    click(Magnetos_Switch, 2);
    EXPECT_TRUE(events.empty());
}

TEST_F(EngineControls, AutopilotEngagesOnHeadingAndRoundedAltitude) {
    struct Case {
        double heading, altitude;
        std::int32_t heading_sent, altitude_sent;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {90.0, 4549.0, 90, 4500},   {359.9, 4550.0, 359, 4600}, {0.0, -49.0, 0, 0},
        {-0.5, -51.0, 0, -100},     {nan, nan, 0, 0},           {1e12, -1e12, INT32_MAX, INT32_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.heading) + " / " + std::to_string(c.altitude));
        events.clear();
        tokens = {{tokens::AUTOPILOT_ENGAGED, 0.0},
                  {tokens::GYRO_HEADING, c.heading},
                  {tokens::ALTITUDE_INDICATED, c.altitude}};
        click(Autopilot_Switch, 2);
        EXPECT_EQ(events, (Events{{events::AUTOPILOT_ON, 0},
                                  {events::AUTOPILOT_HEADING_HOLD_ON, 0},
                                  {events::HEADING_BUG_SET, static_cast<std::uint32_t>(c.heading_sent)},
                                  {events::AUTOPILOT_ALTITUDE_HOLD_ON, 0},
                                  {events::AUTOPILOT_ALTITUDE_SET, static_cast<std::uint32_t>(c.altitude_sent)}}));
    }
}

TEST_F(EngineControls, EngagedAutopilotDisengagesWithThreeEvents) {
    tokens = {{tokens::AUTOPILOT_ENGAGED, 1.0}, {tokens::GYRO_HEADING, 123.0}, {tokens::ALTITUDE_INDICATED, 5000.0}};
    click(Autopilot_Switch, 2);
    EXPECT_EQ(events, (Events{{events::AUTOPILOT_OFF, 0},
                              {events::AUTOPILOT_HEADING_HOLD_OFF, 0},
                              {events::AUTOPILOT_ALTITUDE_HOLD_OFF, 0}}));
}

TEST_F(EngineControls, ClickAreasSendTheirEventsAndRepeatWhereHeld) {
    struct Case {
        GaugeHeader* gauge;
        std::size_t entry;
        std::uint32_t event, flags;
    };
    const Case cases[] = {
        {&Starter_Switch, 1, events::STARTER_ENGAGE, 0x20200000u},
        {&Carburetor_Heat, 2, events::CARBURETOR_HEAT_TOGGLE, 0x20000000u},
        {&Engine_Primer, 2, events::ENGINE_PRIMER, 0x20200000u},
        {&NAV_GPS_Switch, 1, events::NAV_GPS_TOGGLE, 0x20000000u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gauge->name);
        events.clear();
        click(*c.gauge, c.entry);
        EXPECT_EQ(events, (Events{{c.event, 0}}));
        EXPECT_EQ(c.gauge->mouse[c.entry].click_flags, c.flags);
    }
    EXPECT_EQ(Starter_Switch.mouse[0].help_id, 0xAB65u);
    EXPECT_EQ(NAV_GPS_Switch.mouse[0].help_id, 0xAB4Du);
    EXPECT_EQ(Carburetor_Heat.mouse[1].help_id, 0x3343u);
}

// ------------------------------------------------------------ warning lights

class WarningLights : public FakePanel {};

TEST_F(WarningLights, EachLightsOnItsOwnCondition) {
    constexpr std::uint32_t kGearLeft = tokens::GEAR_LEFT_POSITION, kGearRight = tokens::GEAR_RIGHT_POSITION;
    struct Case {
        GaugeHeader* gauge;
        double own;  // the icon's own variable
        std::map<std::uint32_t, double> others;
        bool lit;
    };
    const Case cases[] = {
        {&Flaps_Warning_Light, 1000.0, {}, true},
        {&Flaps_Warning_Light, 999.9, {}, false},
        // Both main wheels down and locked, then either short of it.
        {&Gear_Warning_Light, 0.0, {{kGearLeft, 16300.0}, {kGearRight, 16300.0}}, true},
        {&Gear_Warning_Light, 1.0, {{kGearLeft, 16300.0}, {kGearRight, 16299.9}}, false},
        {&Gear_Warning_Light, 1.0, {{kGearLeft, 16299.9}, {kGearRight, 16300.0}}, false},
        {&Generator_Light, 0.0, {{tokens::GENERATOR_SWITCH, 0.0}, {tokens::BATTERY_MASTER, 1.0}}, true},
        {&Generator_Light, 1.0, {{tokens::GENERATOR_SWITCH, 0.0}, {tokens::BATTERY_MASTER, 0.0}}, false},
        {&Generator_Light, 0.0, {{tokens::GENERATOR_SWITCH, -1.0}, {tokens::BATTERY_MASTER, 1.0}}, false},
        {&Dive_Brake_Warning_Light, 10000.0, {}, false},
        {&Dive_Brake_Warning_Light, 10000.1, {}, true},
        {&Tail_Hook_Warning_Light, 0.5, {}, false},
        {&Tail_Hook_Warning_Light, 0.51, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.gauge->name) + " own " + std::to_string(c.own));
        tokens = c.others;
        EXPECT_EQ(evaluate(picture(*c.gauge), c.own), c.lit ? 0.0 : -1.0);
    }
}

TEST_F(WarningLights, FailureKeysByBus) {
    const std::pair<GaugeHeader*, std::uint32_t> cases[] = {
        {&Flaps_Warning_Light, failures::AVIONICS}, {&Generator_Light, failures::AVIONICS},       {&Gear_Warning_Light, failures::ELECTRICAL},
        {&Dive_Brake_Warning_Light, failures::ELECTRICAL}, {&Tail_Hook_Warning_Light, failures::ELECTRICAL},
    };
    for (auto [gauge, key] : cases) {
        const FailureRecord* f = picture(*gauge)->header.failures;
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f[0].key, key) << gauge->name;
        EXPECT_EQ(f[0].action, FAIL_HIDE);
        EXPECT_EQ(f[1].key, 0u);
    }
    EXPECT_EQ(picture(Generator_Light)->images, 2u);
}

}  // namespace
}  // namespace ardelvine::test
