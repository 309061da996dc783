// The start-state gauges when the panel comes up (service 14) and on every
// update: the shutdown's conditional toggles, the radios' switches, the fuel
// capacities they capture, and the watch value passed on above 10.
#include <limits>

#include "gauges/radios/radio.h"
#include "gauges/systems/fuel_tanks.h"
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
const Events kRadioTail = {{65836, 0}, {65832, 0}, {65833, 0}};

TEST_F(StartState, ShutdownTogglesOnlyWhatIsOn) {
    struct Case {
        const char* what;
        std::map<std::uint32_t, double> state;
        Events expected;
    };
    const Events all_off = {{65820, 0}, {65927, 0}, {66057, 0}, {66060, 0}, {66053, 0}};
    auto with = [&](std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> extra) {
        Events e = {{65820, 0}};
        auto has = [&](std::uint32_t ev) {
            for (auto x : extra)
                if (x.first == ev) return true;
            return false;
        };
        if (has(66494)) e.emplace_back(66494, 0);
        if (has(65919)) e.emplace_back(65919, 0);
        e.emplace_back(65927, 0);
        for (std::uint32_t ev : {66241u, 66363u, 66293u, 65858u})
            if (has(ev)) e.emplace_back(ev, 0);
        e.insert(e.end(), {{66057, 0}, {66060, 0}, {66053, 0}});
        for (std::uint32_t ev : {66239u, 66379u})
            if (has(ev)) e.emplace_back(ev, 0);
        return e;
    };
    const Case cases[] = {
        {"everything off", {}, all_off},
        {"everything on",
         {{895, 1}, {560, 0.8}, {364, 1}, {565, 1}, {740, 1}, {13, 1}, {368, 1}, {619, 1}},
         with({{66494, 0}, {65919, 0}, {66241, 0}, {66363, 0}, {66293, 0}, {65858, 0}, {66239, 0}, {66379, 0}})},
        {"above zero, not one", {{895, 0.5}, {560, 0.1}, {364, 0.5}, {740, 0.5}, {13, 2}, {368, 0.5}, {619, 2}},
         with({{66494, 0}, {65919, 0}, {66241, 0}})},
        {"generator at minus one", {{565, -1}}, with({{66363, 0}})},
        {"negatives", {{895, -1}, {560, -1}, {364, -1}}, all_off},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tokens = c.state;
        tokens[60] = 1;
        events.clear();
        serve(Engine_Off, PANEL_SERVICE_PANEL_READY);
        Events expected = c.expected;
        expected.insert(expected.end(), kRadioTail.begin(), kRadioTail.end());
        EXPECT_EQ(events, expected);
    }
}

TEST_F(StartState, RadiosSwitchedWithTonesOff) {
    tokens[60] = 1;
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
        tokens = {{60, 0.0}, {290, 70.0}, {384, 70.0}, {292, 30.0}, {298, 30.0}, {895, 1}, {364, 1}};
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
        {10.9, {}}, {11.0, {{65698, 11}}}, {250.7, {{65698, 250}}}, {-50.0, {}}, {nan, {}},
        {1e20, {{65698, 2147483647u}}},
    };
    for (const auto& [value, expected] : cases) {
        tokens = {{326, value}, {60, 1}};
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
