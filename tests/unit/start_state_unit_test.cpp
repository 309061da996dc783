// The start-state gauges when the panel comes up (service 14) and on every
// update: the shutdown's conditional toggles, the radios' switches, the fuel
// capacities they capture, and the watch value passed on above 10.
#include <limits>

#include "gauges/radios/radio.h"
#include "gauges/systems/fuel_tanks.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_panel.h"

namespace ardelvine::test {
namespace {

using namespace gauges;
using radios::radio_power;

class StartState : public FakePanel {
protected:
    void SetUp() override {
        FakePanel::SetUp();
        saved_flags_ = radio_power;
        saved_tanks_ = FuelTankCapacities;
    }
    void TearDown() override {
        radio_power = saved_flags_;
        FuelTankCapacities = saved_tanks_;
        FakePanel::TearDown();
    }
    static void serve(GaugeHeader& gauge, std::int32_t code) { gauge.callback(&gauge, code, 0); }

private:
    radios::RadioPowerFlags saved_flags_{};
    FuelTanks saved_tanks_{};
};

// The radios' part, the same at the end of every start under the condition.
const Events kRadioTail = {{events::ADF_IDENT_OFF, 0}, {events::NAV1_IDENT_OFF, 0}, {events::NAV2_IDENT_OFF, 0}};

TEST_F(StartState, ShutdownTogglesOnlyWhatIsOn) {
    struct Case {
        const char* what;
        std::map<std::uint32_t, double> state;
        Events expected;
    };
    const Events all_off = {{events::THROTTLE_SET, 0},
                            {events::SHUTDOWN_STEP_1, 0},
                            {events::SHUTDOWN_STEP_2, 0},
                            {events::SHUTDOWN_STEP_3, 0},
                            {events::SHUTDOWN_STEP_4, 0}};
    auto with = [&](std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> extra) {
        Events e = {{events::THROTTLE_SET, 0}};
        auto has = [&](std::uint32_t ev) {
            for (auto x : extra)
                if (x.first == ev) return true;
            return false;
        };
        if (has(events::FUEL_VALVE_TOGGLE)) e.emplace_back(events::FUEL_VALVE_TOGGLE, 0);
        if (has(events::MIXTURE_SET)) e.emplace_back(events::MIXTURE_SET, 0);
        e.emplace_back(events::SHUTDOWN_STEP_1, 0);
        for (std::uint32_t ev : {events::BATTERY_MASTER_TOGGLE, events::GENERATOR_TOGGLE,
                                 events::AVIONICS_MASTER_TOGGLE, events::PITOT_HEAT_TOGGLE})
            if (has(ev)) e.emplace_back(ev, 0);
        e.insert(e.end(), {{events::SHUTDOWN_STEP_2, 0}, {events::SHUTDOWN_STEP_3, 0}, {events::SHUTDOWN_STEP_4, 0}});
        for (std::uint32_t ev : {events::BEACON_LIGHTS_TOGGLE, events::NAVIGATION_LIGHTS_TOGGLE})
            if (has(ev)) e.emplace_back(ev, 0);
        return e;
    };
    const Case cases[] = {
        {"everything off", {}, all_off},
        {"everything on",
         {{tokens::FUEL_VALVE, 1},
          {tokens::MIXTURE_LEVER, 0.8},
          {tokens::BATTERY_MASTER, 1},
          {tokens::GENERATOR_SWITCH, 1},
          {tokens::AVIONICS_MASTER, 1},
          {tokens::PITOT_HEAT, 1},
          {tokens::BEACON_LIGHTS, 1},
          {tokens::NAVIGATION_LIGHTS, 1}},
         with({{events::FUEL_VALVE_TOGGLE, 0},
               {events::MIXTURE_SET, 0},
               {events::BATTERY_MASTER_TOGGLE, 0},
               {events::GENERATOR_TOGGLE, 0},
               {events::AVIONICS_MASTER_TOGGLE, 0},
               {events::PITOT_HEAT_TOGGLE, 0},
               {events::BEACON_LIGHTS_TOGGLE, 0},
               {events::NAVIGATION_LIGHTS_TOGGLE, 0}})},
        {"above zero, not one",
         {{tokens::FUEL_VALVE, 0.5},
          {tokens::MIXTURE_LEVER, 0.1},
          {tokens::BATTERY_MASTER, 0.5},
          {tokens::AVIONICS_MASTER, 0.5},
          {tokens::PITOT_HEAT, 2},
          {tokens::BEACON_LIGHTS, 0.5},
          {tokens::NAVIGATION_LIGHTS, 2}},
         with({{events::FUEL_VALVE_TOGGLE, 0}, {events::MIXTURE_SET, 0}, {events::BATTERY_MASTER_TOGGLE, 0}})},
        {"generator at minus one", {{tokens::GENERATOR_SWITCH, -1}}, with({{events::GENERATOR_TOGGLE, 0}})},
        {"negatives", {{tokens::FUEL_VALVE, -1}, {tokens::MIXTURE_LEVER, -1}, {tokens::BATTERY_MASTER, -1}}, all_off},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tokens = c.state;
        tokens[tokens::ENGINE_RUNNING] = 1;
        events.clear();
        serve(Engine_Off, PANEL_SERVICE_PANEL_READY);
        Events expected = c.expected;
        expected.insert(expected.end(), kRadioTail.begin(), kRadioTail.end());
        EXPECT_EQ(events, expected);
    }
}

TEST_F(StartState, RadiosSwitchedWithTonesOff) {
    tokens[tokens::ENGINE_RUNNING] = 1;
    radio_power = {.nav1 = 1, .com1 = 1, .adf = 1, .transponder = 1, .nav1_tone = 1, .adf_tone = 1};
    serve(Engine_Off, PANEL_SERVICE_PANEL_READY);
    EXPECT_EQ((std::vector<int>{radio_power.nav1, radio_power.com1, radio_power.adf, radio_power.transponder,
                                radio_power.nav1_tone, radio_power.adf_tone}),
              (std::vector<int>{0, 0, 0, 0, 0, 0}));

    radio_power.nav1_tone = radio_power.adf_tone = 1;
    events.clear();
    serve(Engine_On, PANEL_SERVICE_PANEL_READY);
    EXPECT_EQ(events, kRadioTail);
    EXPECT_EQ((std::vector<int>{radio_power.nav1, radio_power.com1, radio_power.adf, radio_power.transponder,
                                radio_power.nav1_tone, radio_power.adf_tone}),
              (std::vector<int>{1, 1, 1, 1, 0, 0}));
}

// Without the start condition only the capacities are captured.
TEST_F(StartState, NotRunningOnlyCapturesCapacities) {
    FuelTankCapacities = {0, 0, 0, 0};
    for (GaugeHeader* g : {&Engine_On, &Engine_Off}) {
        tokens = {{tokens::ENGINE_RUNNING, 0.0},
                  {tokens::FUEL_LEFT_MAIN_CAPACITY, 70.0},
                  {tokens::FUEL_RIGHT_MAIN_CAPACITY, 70.0},
                  {tokens::FUEL_LEFT_AUX_CAPACITY, 30.0},
                  {tokens::FUEL_RIGHT_AUX_CAPACITY, 30.0},
                  {tokens::FUEL_VALVE, 1},
                  {tokens::BATTERY_MASTER, 1}};
        radio_power.com1 = 1;
        serve(*g, PANEL_SERVICE_PANEL_READY);
        serve(*g, PANEL_SERVICE_PRE_INSTALL);
        serve(*g, PANEL_SERVICE_PRE_KILL);
        EXPECT_TRUE(events.empty()) << g->name;
        EXPECT_EQ(radio_power.com1, 1);
        EXPECT_EQ(FuelTankCapacities.right_aux, 30.0);
    }
}

TEST_F(StartState, WatchValuePassedOnAboveTen) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, Events> cases[] = {
        {10.9, {}},
        {11.0, {{events::START_STATE_WATCH_SET, 11}}},
        {250.7, {{events::START_STATE_WATCH_SET, 250}}},
        {-50.0, {}},
        {nan, {}},
        {1e20, {{events::START_STATE_WATCH_SET, 2147483647u}}},
    };
    for (const auto& [value, expected] : cases) {
        tokens = {{tokens::START_STATE_WATCH, value}, {tokens::ENGINE_RUNNING, 1}};
        events.clear();
        serve(Engine_On, PANEL_SERVICE_PRE_UPDATE);
        EXPECT_EQ(events, expected) << value;
        events.clear();
        serve(Engine_Off, PANEL_SERVICE_PRE_UPDATE);
        EXPECT_EQ(events, expected) << value;
    }
}

}  // namespace
}  // namespace ardelvine::test
