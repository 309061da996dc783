// The toggle and guarded switches through the host: a click sends the toggle,
// the simulation flips the token, the next update draws the other lever and
// the tooltip names the new state; the click is heard in the captured audio.
// Guard covers stop left clicks until a right click opens them, and every
// placed copy of a switch shares its lever flag, cover and sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host_on_panel.h"
#include "model/events.h"
#include "model/tokens.h"
#include "tests/captured_audio.h"
#include "resources/catalogue.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=400,200
gauge00=Ardelvine_Instr!Battery_Switch, 0, 0
gauge01=Ardelvine_Instr!Battery_Switch, 40, 0
gauge02=Ardelvine_Instr!Fuel_Valve, 80, 0
gauge03=Ardelvine_Instr!Fuel_Valve, 140, 0
gauge04=Ardelvine_Instr!Generator_Switch, 200, 0
)";

constexpr std::uint32_t kBatteryToken = tokens::BATTERY_MASTER, kBatteryEvent = events::BATTERY_MASTER_TOGGLE;
constexpr std::uint32_t kFuelValveEvent = events::FUEL_VALVE_TOGGLE;

struct SwitchesOnPanel : HostOnPanel {
    void SetUp() override {
        open(kPanel, "switches", true);
        host->ready();
        host->update();
    }

    // The bitmap drawn for an icon, or 0 when it draws nothing.
    std::uint32_t drawn(const std::string& name, std::size_t index, int copy = 1) {
        const ElementState& s = element(name, index, copy);
        return s.visible ? s.element->bitmap + static_cast<std::uint32_t>(s.image) : 0;
    }
    // Each switch is clicked and read at one point of its face.
    void click(const std::string& name, Button button, int copy = 1) {
        HostOnPanel::click(name, 15, 20, button, copy);
    }
    std::string tooltip(const std::string& name, int copy = 1) { return HostOnPanel::tooltip(name, 15, 20, copy); }
    Events events() { return events_since(0); }
};

TEST_F(SwitchesOnPanel, BatteryClickGoesRoundTheSimulation) {
    EXPECT_EQ(drawn("Battery_Switch", 1), 2380u);
    EXPECT_EQ(tooltip("Battery_Switch"), "Battery switch (Off)");

    click("Battery_Switch", Button::LEFT);
    EXPECT_EQ(events(), (Events{{kBatteryEvent, 0}}));
    EXPECT_EQ(host->simulation().token(kBatteryToken), 1.0);
    ASSERT_EQ(sounds(), 1u);
    EXPECT_EQ(host->sounds()[0].gauge, "Battery_Switch");
    EXPECT_EQ(host->sounds()[0].wave, resources::waves::TOGGLE_CLICK);
    // The lever follows the token only at the next update.
    EXPECT_EQ(tooltip("Battery_Switch"), "Battery switch (Off)");
    host->update();
    EXPECT_EQ(drawn("Battery_Switch", 1), 2381u);
    EXPECT_EQ(tooltip("Battery_Switch"), "Battery switch (On)");

    click("Battery_Switch", Button::LEFT);
    host->update();
    EXPECT_EQ(host->simulation().token(kBatteryToken), 0.0);
    EXPECT_EQ(drawn("Battery_Switch", 1), 2380u);

    host->update(10);
    host.reset();  // completes the capture
    EXPECT_GT(loudest_sample(capture), 1000) << "the click is in the captured audio";
}

TEST_F(SwitchesOnPanel, GuardedSwitchOpensMovesAndCloses) {
    EXPECT_EQ(drawn("Fuel_Valve", 2), 2430u) << "the cover starts closed";
    click("Fuel_Valve", Button::LEFT);
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(sounds(), 0u) << "a left click on the closed cover is silent";

    click("Fuel_Valve", Button::RIGHT);
    click("Fuel_Valve", Button::LEFT);
    host->update();
    EXPECT_EQ(events(), (Events{{kFuelValveEvent, 0}}));
    EXPECT_EQ(drawn("Fuel_Valve", 1), 2441u);
    EXPECT_EQ(drawn("Fuel_Valve", 2), 0u) << "the open cover draws nothing";
    EXPECT_EQ(tooltip("Fuel_Valve"), "Fuel valve (on and accessible)");

    click("Fuel_Valve", Button::RIGHT);
    host->update();
    EXPECT_EQ(drawn("Fuel_Valve", 1), 2441u) << "the lever stays where it was put";
    EXPECT_EQ(drawn("Fuel_Valve", 2), 2430u);
    EXPECT_EQ(tooltip("Fuel_Valve"), "Fuel valve (on and protected)");
    EXPECT_EQ(sounds(), 3u);
    EXPECT_EQ(tooltip("Generator_Switch"), "Generator switch (off and protected)");
}

TEST_F(SwitchesOnPanel, CopiesShareLeverCoverAndSound) {
    click("Battery_Switch", Button::LEFT, 1);
    host->update();
    EXPECT_EQ(drawn("Battery_Switch", 1, 2), 2381u);
    EXPECT_EQ(tooltip("Battery_Switch", 2), "Battery switch (On)");

    click("Fuel_Valve", Button::RIGHT, 1);
    host->update();
    EXPECT_EQ(drawn("Fuel_Valve", 2, 2), 0u);
    click("Fuel_Valve", Button::LEFT, 2);
    EXPECT_EQ(events().back(), (Events::value_type{kFuelValveEvent, 0}));

    // Both copies play the one click that the gauge loaded.
    click("Battery_Switch", Button::LEFT, 2);
    ASSERT_EQ(sounds(), 4u);
    for (const SoundPlayed& s : host->sounds()) EXPECT_EQ(s.wave, resources::waves::TOGGLE_CLICK) << s.gauge;
}

// Each toggle switch, placed beside all the others: its click flips, in the
// simulated aircraft, the very token its lever shows, and the next update
// draws the other lever. A switch whose event the aircraft routes to another
// token, or to none, fails here whatever its records say.
TEST(ToggleSwitchesOnPanel, EachClickFlipsTheTokenItsLeverShows) {
    const char* names[] = {"Avionics_Switch",  "Battery_Switch",           "Beacon_Lights_Switch",
                           "Landing_Lights_Switch", "Navigation_Lights_Switch", "Panel_Lights_Switch",
                           "Pitot_Heat_Switch", "Strobe_Lights_Switch",     "Fuel_Valve",
                           "Generator_Switch"};
    std::string panel = "[Window00]\nsize_mm=700,120\n";
    for (int i = 0; i < 10; ++i)
        panel += "gauge" + std::to_string(i) + "=Ardelvine_Instr!" + names[i] + ", " + std::to_string(i * 65) + ", 0\n";
    Host host(parse_panel_config(panel, "all_switches.cfg"));
    host.update();
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Placement& p = *host.find({name, 1});
        const bool guarded = p.elements().size() == 3;
        if (guarded) host.click(p, 15, 20, {.button = Button::RIGHT});  // open the cover
        const ElementState& lever = p.elements().at(1);
        const std::uint32_t token = reinterpret_cast<const Icon*>(lever.element)->source.token;
        const double before = host.simulation().token(token);
        const std::string tip_before = host.tooltip(p, 15, 20);
        host.click(p, 15, 20, {.button = Button::LEFT});
        host.update();
        EXPECT_EQ(host.simulation().token(token), before == 0.0 ? 1.0 : 0.0) << "token " << token;
        EXPECT_EQ(lever.image, before == 0.0 ? 1 : 0);
        EXPECT_NE(host.tooltip(p, 15, 20), tip_before);
    }
}

// A switch's click sound belongs to its name, not to one placement: removing
// one copy leaves the other clicking.
TEST_F(SwitchesOnPanel, RemovingOneCopyKeepsTheOtherClicking) {
    // The guarded valve clicks for a right click (its cover) whatever its state.
    const std::pair<const char*, Button> gauges[] = {{"Battery_Switch", Button::LEFT}, {"Fuel_Valve", Button::RIGHT}};
    const auto handle = reinterpret_cast<std::uintptr_t>(host->module().handle());
    for (const auto& [name, button] : gauges) {
        SCOPED_TRACE(name);
        Placement& first = gauge(name, 1);
        Placement& second = gauge(name, 2);
        const std::size_t before = host->sounds().size();

        first.service(PANEL_SERVICE_PRE_KILL, 0);  // the first copy's window goes away
        host->click(second, 15, 20, {.button = button});
        EXPECT_EQ(host->sounds().size(), before + 1);

        // Put back, then the other copy removed: still heard.
        first.service(PANEL_SERVICE_PRE_INSTALL, handle);
        second.service(PANEL_SERVICE_PRE_KILL, 0);
        host->click(first, 15, 20, {.button = button});
        EXPECT_EQ(host->sounds().size(), before + 2);
        second.service(PANEL_SERVICE_PRE_INSTALL, handle);
    }
}

}  // namespace
}  // namespace ardelvine::hostapp
