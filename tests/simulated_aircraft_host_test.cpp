// The simulated aircraft: every key event the module can send belongs to
// exactly one system, each system's tokens are its own, the effects move the
// tokens the way the gauges expect, and the systems' rules hold at their
// edges. A rule's inputs are pinned by holding their tokens.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "host/load/default_panel.h"
#include "host/run/host.h"
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {
namespace {

// Every event a placed gauge's mouse area makes the host send, by gauge.
std::map<std::uint32_t, std::string> mouse_area_events() {
    Host host(parse_panel_config(kDefaultPanel, "(built-in panel)"));
    std::map<std::uint32_t, std::string> found;
    for (auto& placement : host.placements()) {
        const MouseRect* areas = placement->mouse();
        for (std::size_t i = 0; i < placement->mouse_count(); ++i)
            if (areas[i].kind == MouseKind::CHILD && areas[i].handler == nullptr && areas[i].event_id != 0)
                found.emplace(areas[i].event_id, placement->name());
    }
    return found;
}

TEST(SimulatedAircraft, EveryEventTheModuleCanSendIsInExactlyOneSystem) {
    std::map<std::uint32_t, std::string> sendable;  // number -> where it comes from
    for (const events::Named& e : events::kAll) sendable.emplace(e.number, e.name);
    for (const auto& [event, gauge] : mouse_area_events()) {
        EXPECT_NE(events::name_of(event), nullptr) << gauge << "'s mouse area sends unnamed event " << event;
        sendable.emplace(event, gauge);
    }
    EXPECT_GE(sendable.size(), std::size(events::kAll));

    std::map<std::uint32_t, std::vector<std::string>> handled_by;
    for (const sim::System* system : sim::systems()) {
        for (const sim::EventRule& rule : system->events) {
            handled_by[rule.event].push_back(system->name);
            EXPECT_NE(events::name_of(rule.event), nullptr) << system->name << " handles unnamed event " << rule.event;
            const bool explained = rule.effect != nullptr || (rule.reason != nullptr && rule.reason[0] != '\0');
            EXPECT_TRUE(explained) << system->name << ": " << rule.event << " is recorded only without a reason";
        }
    }
    for (const auto& [event, source] : sendable) {
        const auto it = handled_by.find(event);
        const std::size_t count = it == handled_by.end() ? 0 : it->second.size();
        EXPECT_EQ(count, 1u) << source << " (" << event << ") is in " << count << " system tables";
    }
}

TEST(SimulatedAircraft, EachTokenBelongsToOneSystemAndEffectsMoveTheirOwn) {
    std::map<std::uint32_t, std::string> owner;
    for (const sim::System* system : sim::systems())
        for (const sim::OwnedToken& owned : system->tokens)
            EXPECT_TRUE(owner.emplace(owned.token, system->name).second)
                << "token " << owned.token << " is owned by " << owner[owned.token] << " and " << system->name;
    for (const sim::System* system : sim::systems()) {
        for (const sim::EventRule& rule : system->events) {
            if (rule.token == 0) continue;
            EXPECT_EQ(owner[rule.token], system->name)
                << events::name_of(rule.event) << " moves token " << rule.token << " of another system";
        }
    }
}

TEST(SimulatedAircraft, StartingValues) {
    Simulation sim;
    EXPECT_EQ(sim.token(tokens::KOHLSMAN_SETTING), 29.92);
    EXPECT_EQ(sim.token(tokens::BATTERY_MASTER), 0.0);
    EXPECT_EQ(sim.token(tokens::THROTTLE_LEVER), 0.0);
}

TEST(SimulatedAircraft, EventsMoveTokens) {
    const auto negative = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
    struct Case {
        std::uint32_t event, param, token;
        double before, after;
    } cases[] = {
        {events::BATTERY_MASTER_TOGGLE, 0, tokens::BATTERY_MASTER, 0.0, 1.0},
        {events::BATTERY_MASTER_TOGGLE, 0, tokens::BATTERY_MASTER, 1.0, 0.0},
        {events::BATTERY_MASTER_TOGGLE, 0, tokens::BATTERY_MASTER, 2.0, 0.0},  // anything but 0 is on
        {events::STROBE_LIGHTS_TOGGLE, 0, tokens::STROBE_LIGHTS, 0.0, 1.0},
        {events::GENERATOR_TOGGLE, 0, tokens::GENERATOR_SWITCH, 1.0, 0.0},
        {events::FUEL_VALVE_TOGGLE, 0, tokens::FUEL_VALVE, 0.0, 1.0},
        {events::CARBURETOR_HEAT_TOGGLE, 0, tokens::CARBURETOR_HEAT, 0.0, 1.0},
        {events::NAV_GPS_TOGGLE, 0, tokens::GPS_DRIVES_NAV1, 1.0, 0.0},
        {events::THROTTLE_SET, 8192, tokens::THROTTLE_LEVER, 0.0, 0.5},
        {events::PROPELLER_SET, 16384, tokens::PROPELLER_LEVER, 0.0, 1.0},
        {events::MIXTURE_SET, 0, tokens::MIXTURE_LEVER, 1.0, 0.0},
        {events::THROTTLE_SET, 20000, tokens::THROTTLE_LEVER, 0.0, 1.0},  // the lever stops
        {events::AUTOPILOT_ON, 0, tokens::AUTOPILOT_ENGAGED, 0.0, 1.0},
        {events::AUTOPILOT_OFF, 0, tokens::AUTOPILOT_ENGAGED, 1.0, 0.0},
        {events::HEADING_BUG_SET, 359, tokens::AUTOPILOT_HEADING, 0.0, 359.0},
        {events::AUTOPILOT_ALTITUDE_SET, negative(-100), tokens::AUTOPILOT_ALTITUDE, 0.0, -100.0},
        {events::AUTOPILOT_HEADING_HOLD_ON, 0, tokens::AUTOPILOT_HEADING_HOLD, 0.0, 1.0},
        {events::AUTOPILOT_ALTITUDE_HOLD_OFF, 0, tokens::AUTOPILOT_ALTITUDE_HOLD, 1.0, 0.0},
        {events::VOR1_COURSE_SET, 275, tokens::VOR1_COURSE, 0.0, 275.0},
        {events::ADF_CARD_SET, 10, tokens::ADF_CARD, 0.0, 10.0},
        {events::ADF_IDENT_ON, 0, tokens::ADF_IDENT_AUDIO, 0.0, 1.0},
        {events::ADF_IDENT_OFF, 0, tokens::ADF_IDENT_AUDIO, 1.0, 0.0},
        {events::KOHLSMAN_INCREASE, 0, tokens::KOHLSMAN_SETTING, 29.92, 29.93},
        {events::KOHLSMAN_DECREASE, 0, tokens::KOHLSMAN_SETTING, 29.92, 29.91},
        {events::KOHLSMAN_INCREASE, 0, tokens::KOHLSMAN_SETTING, 31.5, 31.5},  // the knob stops
        {events::KOHLSMAN_DECREASE, 0, tokens::KOHLSMAN_SETTING, 27.5, 27.5},
        {events::COM1_WHOLE_UP, 0, tokens::COM1_FREQUENCY, 0x2357, 0x2457},
        {events::NAV2_IDENT_OFF, 0, tokens::NAV1_IDENT_AUDIO, 1.0, 1.0},  // recorded only
        {12345, 7, tokens::BATTERY_MASTER, 5.0, 5.0},                       // unknown: recorded only
    };
    Simulation sim;
    for (const Case& c : cases) {
        sim.set_token(c.token, c.before);
        sim.key_event(c.event, c.param);
        EXPECT_NEAR(sim.token(c.token), c.after, 1e-9) << c.event << " with " << c.param;
        EXPECT_EQ(sim.events().back().event, c.event);
        EXPECT_EQ(sim.events().back().param, c.param);
    }
    EXPECT_EQ(sim.events().size(), std::size(cases));
}

TEST(SimulatedAircraft, PanelWindowEventsTakeTheIdentAsParameter) {
    Simulation sim;
    sim.add_window(50, false);
    sim.add_window(75, true);
    sim.key_event(events::PANEL_WINDOW_OPEN, 50);
    EXPECT_TRUE(sim.window_visible(50));
    sim.key_event(events::PANEL_WINDOW_TOGGLE, 50);
    EXPECT_FALSE(sim.window_visible(50));
    sim.key_event(events::PANEL_WINDOW_CLOSE, 75);
    EXPECT_FALSE(sim.window_visible(75));
    sim.key_event(events::PANEL_WINDOW_CLOSE, 999);  // no such window: nothing
    EXPECT_FALSE(sim.window_visible(999));
    EXPECT_TRUE(sim.window_visible(50) == false && sim.windows().size() == 2);
}

TEST(SimulatedAircraft, ExpressionsAnswered) {
    Simulation sim;
    sim.atc_id = "N123";
    sim.set_token(tokens::HYDRAULIC_PRESSURE, 1500.0 * 144.0);
    const char* text = nullptr;
    double number = 0.0;
    EXPECT_TRUE(sim.evaluate("(A:ATC ID, string)", nullptr, &text));
    EXPECT_STREQ(text, "N123");
    EXPECT_TRUE(sim.evaluate("(a:hydraulic pressure,psi)", &number, nullptr));
    EXPECT_DOUBLE_EQ(number, 1500.0);
    EXPECT_FALSE(sim.evaluate("(A:AIRSPEED,knots)", &number, &text));
}

constexpr double kPsfPerInHg = 70.7328;
constexpr double kPsfPerPsi = 144.0;
double celsius(double rankine) { return (rankine - 491.67) / 1.8; }
int updates_in(double seconds) { return static_cast<int>(std::lround(seconds / kSecondsPerUpdate)); }
// Pins a rule's inputs: held tokens the systems leave alone.
void hold(Simulation& sim, std::initializer_list<std::pair<std::uint32_t, double>> values) {
    for (const auto& [token, value] : values) sim.set_token(token, value);
}

TEST(SimulatedAircraft, BusesFollowBatteryGeneratorAndAvionicsMaster) {
    using namespace sim::electrical;
    struct Case {
        const char* what;
        double battery, generator, avionics, rpm;
        double generator_active, main_bus, avionics_bus;
    } cases[] = {
        {"charging at the threshold", 1, 1, 1, kChargingRpm, 1, kChargingVolts, kChargingVolts},
        {"just below it, the battery alone", 1, 1, 1, kChargingRpm - 1, 0, kBatteryVolts, kBatteryVolts},
        {"generator switched off", 1, 0, 1, 2400, 0, kBatteryVolts, kBatteryVolts},
        {"battery off: no field, no charge", 0, 1, 1, 2400, 0, 0, 0},
        {"avionics master off", 1, 1, 0, 2400, 1, kChargingVolts, 0},
        {"everything off", 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Simulation sim;
        hold(sim, {{tokens::BATTERY_MASTER, c.battery},
                   {tokens::GENERATOR_SWITCH, c.generator},
                   {tokens::AVIONICS_MASTER, c.avionics},
                   {tokens::ENGINE_RPM, c.rpm}});
        sim.settle();
        EXPECT_EQ(sim.token(tokens::GENERATOR_ACTIVE), c.generator_active) << c.what;
        EXPECT_EQ(sim.token(tokens::MAIN_BUS_VOLTAGE), c.main_bus) << c.what;
        EXPECT_EQ(sim.token(tokens::AVIONICS_BUS_VOLTAGE), c.avionics_bus) << c.what;
    }
}

// The starter held on a stopped engine, its speed pinned: the update on which
// it catches, or none.
TEST(SimulatedAircraft, EngineCatchesOnceCrankedFastEnoughWithSparkAndFuel) {
    using namespace sim::engine;
    struct Case {
        const char* what;
        double rpm = kCatchRpm, mixture = 1.0, valve = 1.0, magneto = 1.0, bus = 24.0;
        double cylinders = 491.67;
        bool primed = false;
        double catches_after = kCatchSeconds;  // 0: never
    } cases[] = {
        {"cold, at the catch speed"},
        {.what = "turning too slowly", .rpm = kCatchRpm - 1, .catches_after = 0},
        {.what = "mixture at the cut-off", .mixture = kMixtureCutOff, .catches_after = 0},
        {.what = "mixture just above it", .mixture = kMixtureCutOff + 0.01},
        {.what = "fuel valve closed", .valve = 0.0, .catches_after = 0},
        {.what = "magnetos off", .magneto = 0.0, .catches_after = 0},
        {.what = "starter without power", .bus = kStarterVolts, .catches_after = 0},
        {.what = "primed", .primed = true, .catches_after = kCatchSecondsEasy},
        {.what = "warm", .cylinders = kWarmCylinderRankine, .catches_after = kCatchSecondsEasy},
        {.what = "not quite warm", .cylinders = kWarmCylinderRankine - 1},
    };
    for (const Case& c : cases) {
        Simulation sim;
        hold(sim, {{tokens::ENGINE_RPM, c.rpm},
                   {tokens::MIXTURE_LEVER, c.mixture},
                   {tokens::FUEL_VALVE, c.valve},
                   {tokens::MAGNETO_RIGHT, c.magneto},
                   {tokens::MAIN_BUS_VOLTAGE, c.bus},
                   {tokens::CYLINDER_HEAD_TEMPERATURE, c.cylinders},
                   {tokens::STARTER_ENGAGED, 1.0}});
        if (c.primed) sim.key_event(events::ENGINE_PRIMER, 0);
        int caught = 0;
        for (int n = 1; n <= updates_in(kCatchSeconds) + 5 && caught == 0; ++n) {
            sim.settle();
            if (sim.token(tokens::ENGINE_RUNNING) > 0.0) caught = n;
        }
        EXPECT_EQ(caught, updates_in(c.catches_after)) << c.what;
    }
}

TEST(SimulatedAircraft, EngineStopsWithinSecondsWithoutSparkOrFuel) {
    using namespace sim::engine;
    const std::uint32_t kMains[] = {tokens::FUEL_LEFT_MAIN_LEVEL, tokens::FUEL_RIGHT_MAIN_LEVEL};
    const std::uint32_t kAll[] = {tokens::FUEL_LEFT_MAIN_LEVEL, tokens::FUEL_RIGHT_MAIN_LEVEL,
                                  tokens::FUEL_LEFT_AUX_LEVEL, tokens::FUEL_RIGHT_AUX_LEVEL};
    struct Case {
        const char* what;
        std::uint32_t token;
        double value;
        std::span<const std::uint32_t> emptied;
        bool stops;
    } cases[] = {
        {"mixture cut off", tokens::MIXTURE_LEVER, kMixtureCutOff, {}, true},
        {"mixture just above the cut-off", tokens::MIXTURE_LEVER, kMixtureCutOff + 0.01, {}, false},
        {"fuel valve closed", tokens::FUEL_VALVE, 0.0, {}, true},
        {"magnetos off", tokens::MAGNETO_LEFT, 0.0, {}, false},  // the right one still sparks
        {"both magnetos off", tokens::MAGNETO_RIGHT, 0.0, {}, true},
        {"mains dry: the auxiliaries feed", 0, 0.0, kMains, false},
        {"every tank dry", 0, 0.0, kAll, true},
    };
    for (const Case& c : cases) {
        Simulation sim;
        sim.start(StartState::RUNNING);
        if (c.token == tokens::MAGNETO_RIGHT) sim.set_token(tokens::MAGNETO_LEFT, 0.0);
        if (c.token != 0) sim.set_token(c.token, c.value);
        for (std::uint32_t tank : c.emptied) sim.set_token(tank, 0.0);
        sim.settle();
        EXPECT_EQ(sim.token(tokens::ENGINE_RUNNING), c.stops ? 0.0 : 1.0) << c.what;
        for (int n = 0; n < updates_in(3.0); ++n) sim.settle();
        EXPECT_EQ(sim.token(tokens::ENGINE_RPM) == 0.0, c.stops) << c.what << ": spun down in three seconds";
    }
}

// Running, the speed follows the throttle from idle to full power under the
// propeller's cap, and the readings stay on their dials.
TEST(SimulatedAircraft, RunningEngineFollowsTheLevers) {
    using namespace sim::engine;
    struct Case {
        double throttle, propeller, heat, rpm;
    } cases[] = {
        {0.0, 1.0, 0, kIdleRpm},
        {1.0, 1.0, 0, kFullRpm},
        {1.0, 0.0, 0, kGovernedLowRpm},
        {1.0, 0.0, 1, kGovernedLowRpm - kCarburetorHeatRpmDrop},
        {0.5, 1.0, 0, (kIdleRpm + kFullRpm) / 2},
    };
    const double outside = 29.92 * kPsfPerInHg;
    double idle_manifold = 0.0;
    for (const Case& c : cases) {
        Simulation sim;
        sim.start(StartState::RUNNING);
        sim.set_token(tokens::THROTTLE_LEVER, c.throttle);
        sim.set_token(tokens::PROPELLER_LEVER, c.propeller);
        sim.set_token(tokens::CARBURETOR_HEAT, c.heat);
        for (int n = 0; n < updates_in(20.0); ++n) sim.settle();
        EXPECT_NEAR(sim.token(tokens::ENGINE_RPM), c.rpm, 1.0) << c.throttle << " " << c.propeller;
        const double manifold = sim.token(tokens::MANIFOLD_PRESSURE);
        if (c.throttle == 0.0) idle_manifold = manifold;
        EXPECT_LT(manifold, outside) << "the engine draws the manifold below the outside pressure";
        EXPECT_GT(manifold, 10.0 * kPsfPerInHg);
        const double oil_psi = sim.token(tokens::OIL_PRESSURE) / kPsfPerPsi;
        EXPECT_GT(oil_psi, 20.0);
        EXPECT_LE(oil_psi, 100.0);
    }
    EXPECT_LT(idle_manifold, 15.0 * kPsfPerInHg);
    Simulation sim;
    sim.start(StartState::RUNNING);
    sim.set_token(tokens::THROTTLE_LEVER, 1.0);
    for (int n = 0; n < updates_in(20.0); ++n) sim.settle();
    EXPECT_GT(sim.token(tokens::MANIFOLD_PRESSURE), 0.95 * outside) << "wide open, near the outside pressure";
}

// Temperatures: toward their running values over minutes, back toward the
// outside air when stopped; the engine's tokens are in degrees Rankine.
TEST(SimulatedAircraft, TemperaturesRiseOverMinutesAndFallBackToTheOutsideAir) {
    Simulation sim;
    sim.set_token(tokens::OUTSIDE_AIR_TEMPERATURE, 10.0);
    sim.start(StartState::PARKED);
    EXPECT_NEAR(celsius(sim.token(tokens::OIL_TEMPERATURE)), 10.0, 1e-9);
    EXPECT_NEAR(sim.token(tokens::MANIFOLD_PRESSURE), 29.92 * kPsfPerInHg, 0.5) << "stopped: the outside pressure";
    // Started at once by holding the running token, then handed back.
    for (std::uint32_t t : {tokens::MAGNETO_LEFT, tokens::FUEL_VALVE, tokens::MIXTURE_LEVER, tokens::ENGINE_RUNNING})
        sim.set_token(t, 1.0);
    sim.release(tokens::ENGINE_RUNNING);
    for (int n = 0; n < updates_in(30.0); ++n) sim.settle();
    const double oil_half_minute = celsius(sim.token(tokens::OIL_TEMPERATURE));
    EXPECT_GT(oil_half_minute, 10.5);
    EXPECT_LT(oil_half_minute, 40.0) << "not warm after half a minute";
    for (int n = 0; n < updates_in(20 * 60.0); ++n) sim.settle();
    EXPECT_NEAR(celsius(sim.token(tokens::OIL_TEMPERATURE)), 70.0, 10.0) << "idle running temperature";
    EXPECT_NEAR(celsius(sim.token(tokens::CYLINDER_HEAD_TEMPERATURE)), 120.0, 15.0);
    sim.set_token(tokens::FUEL_VALVE, 0.0);
    for (int n = 0; n < updates_in(60 * 60.0); ++n) sim.settle();
    EXPECT_NEAR(celsius(sim.token(tokens::OIL_TEMPERATURE)), 10.0, 2.0) << "an hour after stopping";
    EXPECT_EQ(sim.token(tokens::OIL_PRESSURE), 0.0);
}

// Fuel: drawn from the mains while they hold some, faster at more power, less
// leaned; the auxiliaries once both mains are dry; never from a held tank.
TEST(SimulatedAircraft, EngineBurnsFuelWithPowerAndMixture) {
    const auto burned = [](double throttle, double mixture, bool hold_right_main) {
        Simulation sim;
        sim.start(StartState::RUNNING);
        sim.set_token(tokens::THROTTLE_LEVER, throttle);
        sim.set_token(tokens::MIXTURE_LEVER, mixture);
        if (hold_right_main) sim.set_token(tokens::FUEL_RIGHT_MAIN_LEVEL, sim::engine::kFullTankLevel);
        for (int n = 0; n < updates_in(60.0); ++n) sim.settle();
        EXPECT_EQ(sim.token(tokens::FUEL_LEFT_AUX_LEVEL), sim::engine::kFullTankLevel);
        EXPECT_EQ(sim.token(tokens::FUEL_RIGHT_MAIN_LEVEL) < sim::engine::kFullTankLevel, !hold_right_main);
        return (sim::engine::kFullTankLevel - sim.token(tokens::FUEL_LEFT_MAIN_LEVEL)) / sim::engine::kFullTankLevel *
               sim.token(tokens::FUEL_LEFT_MAIN_CAPACITY) * 2 * 60;  // both mains, gallons per hour
    };
    const double full = burned(1.0, 1.0, false), idle = burned(0.0, 1.0, false), lean = burned(1.0, 0.2, false);
    EXPECT_GT(full, 10.0);
    EXPECT_LT(full, 16.0);
    EXPECT_LT(idle, 5.0);
    EXPECT_LT(lean, full);
    burned(1.0, 1.0, true);

    Simulation sim;
    sim.start(StartState::RUNNING);
    sim.set_token(tokens::FUEL_LEFT_MAIN_LEVEL, 0.0);
    sim.set_token(tokens::FUEL_RIGHT_MAIN_LEVEL, 0.0);
    sim.settle();
    EXPECT_LT(sim.token(tokens::FUEL_LEFT_AUX_LEVEL), sim::engine::kFullTankLevel);
}

TEST(SimulatedAircraft, HeldTokensStayUntilReleased) {
    Simulation sim;
    sim.set_token(tokens::MAIN_BUS_VOLTAGE, 27.5);
    sim.set_token(tokens::BATTERY_MASTER, 0.0);
    sim.settle();
    EXPECT_EQ(sim.token(tokens::MAIN_BUS_VOLTAGE), 27.5) << "held against a dead battery";
    sim.key_event(events::BATTERY_MASTER_TOGGLE, 0);
    EXPECT_EQ(sim.token(tokens::BATTERY_MASTER), 1.0) << "a key event acts on a held token";
    EXPECT_TRUE(sim.held(tokens::BATTERY_MASTER));
    EXPECT_EQ(std::vector<std::uint32_t>(sim.held_tokens().begin(), sim.held_tokens().end()),
              (std::vector<std::uint32_t>{tokens::BATTERY_MASTER, tokens::MAIN_BUS_VOLTAGE}));
    sim.release(tokens::MAIN_BUS_VOLTAGE);
    sim.settle();
    EXPECT_EQ(sim.token(tokens::MAIN_BUS_VOLTAGE), sim::electrical::kBatteryVolts);
    EXPECT_FALSE(sim.held(tokens::MAIN_BUS_VOLTAGE));

    // Spring-loaded controls undo their own press only.
    sim.set_token(tokens::ENGINE_PRIMER, 0.2);
    sim.settle();
    EXPECT_EQ(sim.token(tokens::ENGINE_PRIMER), 0.2);
    sim.key_event(events::STARTER_ENGAGE, 0);
    EXPECT_EQ(sim.token(tokens::STARTER_ENGAGED), 1.0);
    sim.settle();
    EXPECT_EQ(sim.token(tokens::STARTER_ENGAGED), 0.0);

    sim.set_token(tokens::TIME_OF_DAY, 100.0);
    EXPECT_FALSE(sim.held(tokens::TIME_OF_DAY)) << "the clock runs on from a set";
    sim.start(StartState::PARKED);
    EXPECT_TRUE(sim.held_tokens().empty()) << "a start state releases every token";
}

TEST(SimulatedAircraft, StartStates) {
    Simulation sim;
    sim.set_token(tokens::AIRSPEED_INDICATED, 120.0);
    sim.start(StartState::RUNNING);
    EXPECT_EQ(sim.token(tokens::ENGINE_RUNNING), 1.0);
    EXPECT_EQ(sim.token(tokens::THROTTLE_LEVER), sim::engine::kCruiseThrottle) << "all levers were back";
    EXPECT_EQ(sim.token(tokens::MIXTURE_LEVER), 1.0);
    EXPECT_EQ(sim.token(tokens::MAIN_BUS_VOLTAGE), sim::electrical::kChargingVolts);
    EXPECT_EQ(sim.token(tokens::AVIONICS_BUS_VOLTAGE), sim::electrical::kChargingVolts);
    EXPECT_EQ(sim.token(tokens::AIRSPEED_INDICATED), 120.0);
    const double rpm = sim.token(tokens::ENGINE_RPM), oil = sim.token(tokens::OIL_TEMPERATURE);
    EXPECT_GT(rpm, 2000.0);
    sim.settle();
    EXPECT_NEAR(sim.token(tokens::ENGINE_RPM), rpm, 1e-6) << "started at its running values";
    EXPECT_NEAR(sim.token(tokens::OIL_TEMPERATURE), oil, 1e-6);
    EXPECT_EQ(sim.token(tokens::GENERATOR_ACTIVE), 1.0);

    sim.write_token(tokens::THROTTLE_LEVER, 0.3);
    sim.start(StartState::RUNNING);
    EXPECT_EQ(sim.token(tokens::THROTTLE_LEVER), 0.3) << "a lever forward keeps the levers";

    sim.start(StartState::PARKED);
    for (std::uint32_t t : {tokens::ENGINE_RUNNING, tokens::ENGINE_RPM, tokens::BATTERY_MASTER, tokens::MAGNETO_LEFT,
                            tokens::MAIN_BUS_VOLTAGE, tokens::THROTTLE_LEVER, tokens::AIRSPEED_INDICATED,
                            tokens::ATTITUDE_BANK, tokens::OIL_PRESSURE})
        EXPECT_EQ(sim.token(t), 0.0) << t;
    EXPECT_EQ(celsius(sim.token(tokens::OIL_TEMPERATURE)), 0.0);
}

}  // namespace
}  // namespace ardelvine::hostapp
