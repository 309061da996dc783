// The simulated aircraft: every key event the module can send belongs to
// exactly one system, each system's tokens are its own, and the effects move
// the tokens the way the gauges expect.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

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

}  // namespace
}  // namespace ardelvine::hostapp
