// The simulated aircraft flown through the built-in panel's gauges as a pilot
// flies it: a start-up by the switches' own clicks, the start-state gauges
// taking a running aircraft cold and dark, a held token and its release.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/load/default_panel.h"
#include "tests/host_on_panel.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {
namespace {

struct AircraftOnPanel : HostOnPanel {
    void SetUp() override { open(kDefaultPanel, "(built-in panel)"); }

    void run(const std::string& scenario) { host->run(parse_scenario(scenario, "procedure.scn")); }
    void seconds(double s) { host->update(static_cast<std::uint32_t>(s * 18)); }
    bool generator_lamp_lit() { return gauge("Generator_Light").elements().at(1).visible; }

    // Battery on, the guarded fuel valve and generator opened and switched,
    // mixture rich, throttle a little open, magnetos to both, one push of the
    // primer, then the starter held (pressed before every update) for up to
    // `crank` seconds or until the engine runs.
    void start_up(bool open_fuel_valve, double crank) {
        host->update();
        click("Battery_Switch", 15, 22);
        if (open_fuel_valve) {
            click("Fuel_Valve", 27, 50, Button::RIGHT);
            click("Fuel_Valve", 27, 50);
        }
        click("Generator_Switch", 27, 50, Button::RIGHT);
        click("Generator_Switch", 27, 50);
        click("Throttle_Quadrant", 185, 5);   // mixture: the top of its slot
        click("Throttle_Quadrant", 105, 5);   // propeller forward
        click("Throttle_Quadrant", 45, 240);  // throttle a little open
        for (int step = 0; step < 3; ++step) click("Magnetos_Switch", 20, 50);
        click("Engine_Primer", 30, 30);
        host->update();
        for (int n = 0; n < crank * 18 && sim().token(tokens::ENGINE_RUNNING) == 0.0; ++n) {
            click("Starter_Switch", 14, 14);
            host->update();
        }
    }
};

TEST_F(AircraftOnPanel, StartUpThroughTheGaugesRunsTheEngineAndCharges) {
    host->update();
    EXPECT_EQ(tooltip("Voltmeter", 100, 100), "Main bus voltage ( 0.0 volts)") << "parked: dead bus";
    start_up(true, 5.0);
    EXPECT_GT(sim().token(tokens::ENGINE_RUNNING), 0.0) << "caught within five seconds of cranking";
    seconds(5.0);
    EXPECT_GT(sim().token(tokens::ENGINE_RPM), 700.0);
    EXPECT_EQ(sim().token(tokens::GENERATOR_ACTIVE), 1.0);
    EXPECT_FALSE(generator_lamp_lit());
    EXPECT_EQ(tooltip("Voltmeter", 100, 100), "Main bus voltage (28.0 volts)");
    EXPECT_EQ(tooltip("Engine_Primer", 30, 30), "Engine primer switch (off)") << "the primer sprang back";
}

TEST_F(AircraftOnPanel, StartUpWithTheFuelValveClosedDoesNotStart) {
    start_up(false, 8.0);
    EXPECT_EQ(sim().token(tokens::ENGINE_RUNNING), 0.0);
    seconds(5.0);
    EXPECT_EQ(sim().token(tokens::ENGINE_RPM), 0.0) << "spun down once the starter let go";
    EXPECT_EQ(tooltip("Voltmeter", 100, 100), "Main bus voltage (24.0 volts)") << "the battery alone";
}

TEST_F(AircraftOnPanel, EngineOffTakesARunningAircraftColdAndDarkAndEngineOnKeepsItRunning) {
    run("aircraft running\nready Engine_Off\nupdate 54\n");
    EXPECT_EQ(sim().token(tokens::ENGINE_RUNNING), 0.0);
    EXPECT_EQ(sim().token(tokens::ENGINE_RPM), 0.0) << "stopped within three seconds";
    EXPECT_EQ(sim().token(tokens::MAIN_BUS_VOLTAGE), 0.0);
    EXPECT_EQ(sim().token(tokens::AVIONICS_BUS_VOLTAGE), 0.0);
    EXPECT_EQ(tooltip("Radio_COM", 80, 85), "COM1 main switch (off)");
    EXPECT_EQ(tooltip("Radio_NAV", 39, 58), "NAV1 main switch (off)");
    EXPECT_EQ(tooltip("Voltmeter", 100, 100), "Main bus voltage ( 0.0 volts)");
    // With the engine stopped, the start-state gauges leave it as it is.
    run("ready Engine_On\nupdate\n");
    EXPECT_EQ(tooltip("Radio_COM", 80, 85), "COM1 main switch (off)");

    run("aircraft running\nready Engine_On\nupdate 54\n");
    EXPECT_EQ(sim().token(tokens::ENGINE_RUNNING), 1.0);
    EXPECT_EQ(tooltip("Radio_COM", 80, 85), "COM1 main switch (on)");
    EXPECT_EQ(tooltip("Voltmeter", 100, 100), "Main bus voltage (28.0 volts)");
}

TEST_F(AircraftOnPanel, RunningDryStopsTheEngine) {
    run("aircraft running\n"
        "set 289 200\nset 383 200\nset 291 0\nset 297 0\n"  // a few drops in the mains
        "release 289\nrelease 383\nupdate 36\n");
    EXPECT_EQ(sim().token(tokens::FUEL_LEFT_MAIN_LEVEL), 0.0);
    EXPECT_EQ(sim().token(tokens::ENGINE_RUNNING), 0.0);
    run("update 54\n");
    EXPECT_EQ(sim().token(tokens::ENGINE_RPM), 0.0);
    EXPECT_EQ(sim().token(tokens::GENERATOR_ACTIVE), 0.0);
}

TEST_F(AircraftOnPanel, AHeldTokenIsNotMovedUntilReleased) {
    run("aircraft running\nset 753 26\nset 561 600\nupdate 18\n");
    EXPECT_EQ(sim().token(tokens::MAIN_BUS_VOLTAGE), 26.0);
    EXPECT_EQ(sim().token(tokens::OIL_TEMPERATURE), 600.0);
    EXPECT_EQ(host->state()["held"], nlohmann::ordered_json::array({tokens::OIL_TEMPERATURE, tokens::MAIN_BUS_VOLTAGE}));
    run("release 753\nupdate\n");
    EXPECT_EQ(sim().token(tokens::MAIN_BUS_VOLTAGE), 28.0);
    EXPECT_EQ(host->state()["held"], nlohmann::ordered_json::array({tokens::OIL_TEMPERATURE}));

    run("set 361 0.2\nupdate\n");
    EXPECT_EQ(tooltip("Engine_Primer", 30, 30), "Engine primer switch (on)") << "a set primer stays pushed";
}

}  // namespace
}  // namespace ardelvine::hostapp
