// The engine controls, warning lights, start-state gauges and fuel gauge
// through the host: clicks go round the simulation and show at the next
// update, the start state switches the radios, and the fuel needles read
// gallons once the capacities are captured.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host_on_panel.h"
#include "model/events.h"
#include "model/tokens.h"
#include "model/failures.h"
#include "resources/catalogue.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=900,400
gauge00=Ardelvine_Instr!Radio_COM, 0, 0, 350
gauge01=Ardelvine_Instr!Radio_NAV, 0, 140, 350
gauge02=Ardelvine_Instr!Fuel_Quantity, 360, 0, 300
gauge03=Ardelvine_Instr!Magnetos_Switch, 670, 0, 99
gauge04=Ardelvine_Instr!Autopilot_Switch, 780, 0, 72
gauge05=Ardelvine_Instr!NAV_GPS_Switch, 860, 0, 30
gauge06=Ardelvine_Instr!Generator_Light, 670, 120, 48
gauge07=Ardelvine_Instr!Flaps_Warning_Light, 730, 120, 48
gauge08=Ardelvine_Instr!Engine_On, 880, 380, 10
gauge10=Ardelvine_Instr!Starter_Switch, 670, 200, 28
gauge09=Ardelvine_Instr!Engine_Off, 890, 380, 10
)";

struct ControlsOnPanel : HostOnPanel {
    void SetUp() override { open(kPanel, "controls.cfg"); }
};

TEST_F(ControlsOnPanel, EngineOffSwitchesTheRadiosOffAndEngineOnBackOn) {
    sim().set_token(tokens::ENGINE_RUNNING, 1.0);
    sim().set_token(tokens::BATTERY_MASTER, 1.0);
    host->ready(&gauge("Engine_Off"));
    host->update();
    EXPECT_EQ(tooltip("Radio_COM", 80, 85), "COM1 main switch (off)");
    EXPECT_EQ(tooltip("Radio_NAV", 39, 58), "NAV1 main switch (off)");
    EXPECT_EQ(sim().token(tokens::BATTERY_MASTER), 0.0);
    EXPECT_EQ(sim().token(tokens::THROTTLE_LEVER), 0.0);

    host->ready(&gauge("Engine_On"));
    host->update();
    EXPECT_EQ(tooltip("Radio_COM", 80, 85), "COM1 main switch (on)");
    EXPECT_EQ(tooltip("Radio_NAV", 39, 58), "NAV1 main switch (on)");
}

TEST_F(ControlsOnPanel, FuelNeedlesReadGallonsOnceCapacitiesAreCaptured) {
    sim().set_token(tokens::FUEL_LEFT_MAIN_LEVEL, 4194305.0);  // half full
    sim().set_token(tokens::FUEL_LEFT_MAIN_CAPACITY, 50.0);
    host->update();
    const double empty_angle = element("Fuel_Quantity", 4).angle;
    host->ready();
    host->update();
    EXPECT_DOUBLE_EQ(element("Fuel_Quantity", 4).value, 25.0);
    EXPECT_NE(element("Fuel_Quantity", 4).angle, empty_angle);
    EXPECT_EQ(tooltip("Fuel_Quantity", 75, 75), "Fuel quantity left main tank (25.0 gal)");

    sim().set_failure(failures::ELECTRICAL, true);
    host->update();
    EXPECT_EQ(element("Fuel_Quantity", 4).value, 0.0) << "the electrical failure drops the needles to zero";
}

// Off, right, left, both: the left half steps the key clockwise and stops at
// "Both"; the right half steps it back.
TEST_F(ControlsOnPanel, MagnetoKeyTurnsThroughItsPositions) {
    const char* names[] = {"None", "Right", "Left", "Both", "Both"};
    for (int step = 0; step < 5; ++step) {
        host->update();
        EXPECT_EQ(element("Magnetos_Switch", 1).image, std::min(step, 3));
        EXPECT_EQ(tooltip("Magnetos_Switch", 20, 50), std::string("Magnetos switch (") + names[step] + ")");
        click("Magnetos_Switch", 20, 50);
    }
    click("Magnetos_Switch", 70, 50);
    host->update();
    EXPECT_EQ(element("Magnetos_Switch", 1).image, 2);
}

TEST_F(ControlsOnPanel, AutopilotEngagesOnTheHeadingAndAltitudeThenDisengages) {
    sim().set_token(tokens::GYRO_HEADING, 271.6);
    sim().set_token(tokens::ALTITUDE_INDICATED, 4550.0);
    host->update();
    const std::size_t first = sim().events().size();
    click("Autopilot_Switch", 30, 30);
    EXPECT_EQ(events_since(first), (Events{{events::AUTOPILOT_ON, 0},
                                           {events::AUTOPILOT_HEADING_HOLD_ON, 0},
                                           {events::HEADING_BUG_SET, 271},
                                           {events::AUTOPILOT_ALTITUDE_HOLD_ON, 0},
                                           {events::AUTOPILOT_ALTITUDE_SET, 4600}}));
    host->update();
    EXPECT_EQ(element("Autopilot_Switch", 1).image, 1);
    EXPECT_EQ(sim().token(tokens::AUTOPILOT_ALTITUDE), 4600.0);
    EXPECT_EQ(tooltip("Autopilot_Switch", 30, 30), "Autopilot switch (on)");

    click("Autopilot_Switch", 30, 30);
    host->update();
    EXPECT_EQ(element("Autopilot_Switch", 1).image, 0);
    EXPECT_EQ(sim().token(tokens::AUTOPILOT_HEADING_HOLD), 0.0);

    click("NAV_GPS_Switch", 15, 30);
    host->update();
    EXPECT_EQ(element("NAV_GPS_Switch", 1).image, 1);
    ASSERT_EQ(host->sounds().size(), 3u);
    for (const SoundPlayed& s : host->sounds()) EXPECT_EQ(s.wave, resources::waves::DETENT_CLICK) << s.gauge;
}

// The starter button springs back: held, it shows engaged for the update
// that follows, then comes out again.
TEST_F(ControlsOnPanel, StarterSpringsBackAfterAnUpdate) {
    host->update();
    const std::size_t first = sim().events().size();
    host->click(gauge("Starter_Switch"), 14, 14, {.hold = 3});
    EXPECT_EQ(events_since(first), (Events(4, {events::STARTER_ENGAGE, 0})));
    host->update();
    EXPECT_EQ(element("Starter_Switch", 1).image, 1);
    host->update();
    EXPECT_EQ(element("Starter_Switch", 1).image, 0);
}

TEST_F(ControlsOnPanel, LampsLightOnTheirConditionAndGoOutWithTheirBus) {
    sim().set_token(tokens::BATTERY_MASTER, 1.0);
    sim().set_token(tokens::FLAPS_POSITION, 1000.0);
    host->update();
    EXPECT_TRUE(element("Generator_Light", 1).visible);
    EXPECT_TRUE(element("Flaps_Warning_Light", 1).visible);
    sim().set_failure(failures::AVIONICS, true);
    host->update();
    EXPECT_FALSE(element("Generator_Light", 1).visible);
    EXPECT_FALSE(element("Flaps_Warning_Light", 1).visible);
    EXPECT_TRUE(element("Generator_Light", 0).visible) << "the dark lamp stays";
}

}  // namespace
}  // namespace ardelvine::hostapp
