// The toggle and guarded switches driven through their own records: a fake
// panel-services table records key events and serves variables, and the
// callbacks, handlers and tooltip producers are reached from the gauge headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "module/exports.h"
#include "module/gauge_list.h"
#include "sound/sound.h"

namespace ardelvine {
namespace {

using gauges::Avionics_Switch, gauges::Battery_Switch, gauges::Beacon_Lights_Switch,
    gauges::Landing_Lights_Switch, gauges::Navigation_Lights_Switch, gauges::Panel_Lights_Switch,
    gauges::Pitot_Heat_Switch, gauges::Strobe_Lights_Switch, gauges::Fuel_Valve, gauges::Generator_Switch;

struct SwitchCase {
    GaugeHeader* gauge;
    const char* name;
    std::uint32_t token;
    std::uint32_t event;
    const char* tooltip;
    bool guarded;
};

const SwitchCase kSwitches[] = {
    {&Avionics_Switch, "Avionics_Switch", 740, 66293, "Avionics switch (%1!s!)", false},
    {&Battery_Switch, "Battery_Switch", 364, 66241, "Battery switch (%1!s!)", false},
    {&Beacon_Lights_Switch, "Beacon_Lights_Switch", 368, 66239, "Beacon lights switch (%1!s!)", false},
    {&Landing_Lights_Switch, "Landing_Lights_Switch", 14, 65751, "Landing lights switch (%1!s!)", false},
    {&Navigation_Lights_Switch, "Navigation_Lights_Switch", 619, 66379, "Navigation lights switch (%1!s!)", false},
    {&Panel_Lights_Switch, "Panel_Lights_Switch", 10, 65750, "Panel lights switch (%1!s!)", false},
    {&Pitot_Heat_Switch, "Pitot_Heat_Switch", 13, 65858, "Pitot heat switch (%1!s!)", false},
    {&Strobe_Lights_Switch, "Strobe_Lights_Switch", 11, 65560, "Strobe lights switch (%1!s!)", false},
    {&Fuel_Valve, "Fuel_Valve", 895, 66494, "Fuel valve (%1!s!)", true},
    {&Generator_Switch, "Generator_Switch", 565, 66363, "Generator switch (%1!s!)", true},
};

// ------------------------------------------------------------ fake host

std::vector<std::pair<std::uint32_t, std::uint32_t>> g_events;
std::map<std::uint32_t, double> g_tokens;

std::int32_t ARD_CALL fake_trigger_key_event(std::uint32_t event, std::uint32_t parameter) {
    g_events.emplace_back(event, parameter);
    return 1;
}

void ARD_CALL fake_lookup_var(ModuleVar* var) { var->value = g_tokens[var->token]; }

class Switches : public ::testing::Test {
protected:
    void SetUp() override {
        services_.entry[ENTRY_TRIGGER_KEY_EVENT - 1] = reinterpret_cast<ServiceEntry>(&fake_trigger_key_event);
        services_.entry[ENTRY_LOOKUP_VAR - 1] = reinterpret_cast<ServiceEntry>(&fake_lookup_var);
        saved_services_ = ImportTable.panel.table;
        ImportTable.panel.table = &services_;
        saved_sound_ = sound::sound_enabled;  // clicks here have no device behind them
        g_events.clear();
        g_tokens.clear();
    }
    void TearDown() override {
        ImportTable.panel.table = saved_services_;
        sound::sound_enabled = saved_sound_;
    }

private:
    PanelServices services_{};
    PanelServices* saved_services_ = nullptr;
    std::int32_t saved_sound_ = 1;
};

// ------------------------------------------------------------ the records, as the host sees them

ElementHeader* element(const GaugeHeader& gauge, int n) {
    ElementHeader* e = gauge.elements[0];
    for (int i = 0; i < n && e != nullptr; ++i) e = e->children ? e->children[0] : nullptr;
    return e;
}
Icon* lever(const GaugeHeader& gauge) { return reinterpret_cast<Icon*>(element(gauge, 1)); }
Icon* cover(const GaugeHeader& gauge) { return reinterpret_cast<Icon*>(element(gauge, 2)); }
const MouseRect& tooltip_rect(const GaugeHeader& gauge) { return gauge.mouse[1]; }
const MouseRect& click_rect(const GaugeHeader& gauge) { return gauge.mouse[2]; }

// What the host does at an update: refresh the source, then ask the callback.
double evaluate(Icon* icon, double value) {
    icon->source.value = value;
    return icon->update(&icon->header);
}

std::string tooltip(const GaugeHeader& gauge) { return tooltip_rect(gauge).args[0].text(0, 0, 0, 0, 0, 0); }

void click(GaugeHeader& gauge, std::uint32_t flags) {
    MouseClick at{5, 5, &gauge};
    EXPECT_EQ(click_rect(gauge).handler(&at, flags), 0);
}

bool cover_closed(const GaugeHeader& gauge) { return evaluate(cover(gauge), 0.0) == 0.0; }

// The cover is module-wide state that outlives each test; put it where a test wants it.
void set_cover(GaugeHeader& gauge, bool closed) {
    if (cover_closed(gauge) != closed) click(gauge, MOUSE_RIGHT);
    ASSERT_EQ(cover_closed(gauge), closed);
}

TEST_F(Switches, RecordsMatchTheirRows) {
    for (const SwitchCase& c : kSwitches) {
        SCOPED_TRACE(c.name);
        const GaugeHeader& g = *c.gauge;
        EXPECT_STREQ(g.name, c.name);
        EXPECT_EQ(g.version, kGaugeHeaderVersion);
        EXPECT_EQ(g.default_width, 30u);
        EXPECT_NE(g.callback, nullptr);

        const int chain_length = c.guarded ? 3 : 2;
        for (int n = 0; n < chain_length; ++n) {
            ASSERT_NE(element(g, n), nullptr);
            EXPECT_EQ(element(g, n)->gauge, c.gauge);
            EXPECT_EQ(element(g, n)->image_flags, IMAGE_TRANSPARENT | IMAGE_RESTORE);
            EXPECT_EQ(element(g, n)->x, 0);
        }
        EXPECT_EQ(element(g, chain_length - 1)->children, nullptr);

        EXPECT_EQ(element(g, 0)->kind, ElementKind::STATIC_IMAGE);
        EXPECT_EQ(element(g, 0)->bitmap, c.guarded ? 2420u : 2370u);
        Icon* icon = lever(g);
        EXPECT_EQ(icon->header.kind, ElementKind::ICON);
        EXPECT_EQ(icon->header.bitmap, c.guarded ? 2440u : 2380u);
        EXPECT_EQ(icon->source.token, c.token);
        EXPECT_EQ(icon->scale, 1.0);
        EXPECT_EQ(icon->images, 2u);
        EXPECT_NE(icon->update, nullptr);
        if (c.guarded) {
            EXPECT_EQ(cover(g)->header.kind, ElementKind::ICON);
            EXPECT_EQ(cover(g)->header.bitmap, 2430u);
            EXPECT_EQ(cover(g)->source.token, 0u);
            EXPECT_EQ(cover(g)->images, 1u);
        }

        const MouseKind kinds[] = {MouseKind::PARENT, MouseKind::TOOLTIP, MouseKind::CHILD,
                                   MouseKind::END_PARENT, MouseKind::END};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(g.mouse[i].kind, kinds[i]) << "entry " << i;
        EXPECT_EQ(g.mouse[0].width, 0);
        EXPECT_STREQ(tooltip_rect(g).tooltip_text, c.tooltip);
        EXPECT_EQ(tooltip_rect(g).event_id, 1u);
        EXPECT_NE(tooltip_rect(g).args[0].text, nullptr);
        EXPECT_EQ(tooltip_rect(g).args[0].number, nullptr);

        const MouseRect& area = click_rect(g);
        const std::int32_t expected[] = {0, c.guarded ? 5 : 0, c.guarded ? 54 : 30, c.guarded ? 110 : 44};
        const std::int32_t actual[] = {area.x, area.y, area.width, area.height};
        EXPECT_TRUE(std::equal(std::begin(actual), std::end(actual), std::begin(expected)));
        EXPECT_EQ(area.cursor, CURSOR_HAND);
        EXPECT_EQ(area.click_flags, c.guarded ? MOUSE_LEFT | MOUSE_RIGHT : MOUSE_LEFT);
        EXPECT_EQ(area.event_id, 0u);
        EXPECT_NE(area.handler, nullptr);
    }
}

// Only exactly 1.0 puts the plain lever on; the tooltip follows the lever as
// last drawn, not the variable.
TEST_F(Switches, PlainLeverIsOnOnlyAtExactlyOne) {
    const struct {
        double value;
        double image;
        const char* text;
    } cases[] = {{1.0, 1.0, "On"}, {0.0, 0.0, "Off"}, {2.0, 0.0, "Off"}, {0.5, 0.0, "Off"}, {-1.0, 0.0, "Off"}};
    for (const SwitchCase& c : kSwitches) {
        if (c.guarded) continue;
        for (const auto& k : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(k.value));
            evaluate(lever(*c.gauge), 1.0 - k.image);  // start from the other state
            g_tokens[c.token] = 1.0 - k.image;
            EXPECT_EQ(evaluate(lever(*c.gauge), k.value), k.image);
            EXPECT_EQ(tooltip(*c.gauge), k.text);
        }
    }
}

TEST_F(Switches, EachPlainSwitchKeepsItsOwnFlag) {
    evaluate(lever(Battery_Switch), 1.0);
    evaluate(lever(Avionics_Switch), 0.0);
    EXPECT_EQ(tooltip(Battery_Switch), "On");
    EXPECT_EQ(tooltip(Avionics_Switch), "Off");
}

// The plain handler sends its event for whatever the host delivers.
TEST_F(Switches, PlainClickSendsItsEventForAnyFlags) {
    for (const SwitchCase& c : kSwitches) {
        if (c.guarded) continue;
        SCOPED_TRACE(c.name);
        g_events.clear();
        for (std::uint32_t flags : {MOUSE_LEFT, MOUSE_RIGHT, MOUSE_LEFT | MOUSE_RIGHT, 0u}) click(*c.gauge, flags);
        EXPECT_EQ(g_events, (decltype(g_events)(4, {c.event, 0})));
    }
}

TEST_F(Switches, GuardedLeverIsOnForAnyNonZeroValue) {
    const std::pair<double, double> cases[] = {{0.0, 0.0}, {1.0, 1.0}, {0.5, 1.0}, {2.0, 1.0}, {-1.0, 1.0}};
    for (GaugeHeader* g : {&Fuel_Valve, &Generator_Switch})
        for (auto [value, image] : cases) EXPECT_EQ(evaluate(lever(*g), value), image) << g->name << " " << value;
}

// The tooltip reads the variable afresh and says "on" only above zero.
TEST_F(Switches, GuardedTooltipReadsTheVariableAndTheCover) {
    const struct {
        double value;
        bool closed;
        const char* text;
    } cases[] = {
        {1.0, true, "on and protected"},   {1.0, false, "on and accessible"},
        {0.0, true, "off and protected"},  {0.0, false, "off and accessible"},
        {-1.0, true, "off and protected"}, {-1.0, false, "off and accessible"},
        {0.5, false, "on and accessible"},
    };
    for (const SwitchCase& c : kSwitches) {
        if (!c.guarded) continue;
        for (const auto& k : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(k.value));
            set_cover(*c.gauge, k.closed);
            g_tokens[c.token] = k.value;
            evaluate(lever(*c.gauge), 1.0 - k.value);  // the lever's copy must not matter
            EXPECT_EQ(tooltip(*c.gauge), k.text);
        }
    }
}

TEST_F(Switches, GuardedClicksFollowTheCover) {
    for (const SwitchCase& c : kSwitches) {
        if (!c.guarded) continue;
        SCOPED_TRACE(c.name);
        GaugeHeader& g = *c.gauge;
        g_events.clear();
        set_cover(g, true);
        EXPECT_EQ(evaluate(cover(g), 0.0), 0.0);  // cover drawn

        click(g, MOUSE_LEFT);
        click(g, MOUSE_LEFT | MOUSE_RIGHT);
        EXPECT_TRUE(g_events.empty()) << "the closed cover stops the lever";
        EXPECT_TRUE(cover_closed(g)) << "both bits count as a left click";

        click(g, MOUSE_RIGHT);
        EXPECT_EQ(evaluate(cover(g), 0.0), -1.0);  // the lever shows through
        EXPECT_TRUE(g_events.empty()) << "the cover sends nothing";

        click(g, MOUSE_LEFT);
        click(g, MOUSE_LEFT | MOUSE_RIGHT);
        EXPECT_EQ(g_events, (decltype(g_events)(2, {c.event, 0})));
        EXPECT_FALSE(cover_closed(g));

        click(g, MOUSE_RIGHT);
        EXPECT_TRUE(cover_closed(g));
        click(g, 0);  // neither button: nothing
        EXPECT_TRUE(cover_closed(g));
        EXPECT_EQ(g_events.size(), 2u);
    }
}

TEST_F(Switches, EachGuardedSwitchHasItsOwnCover) {
    set_cover(Fuel_Valve, true);
    set_cover(Generator_Switch, true);
    click(Fuel_Valve, MOUSE_RIGHT);
    EXPECT_FALSE(cover_closed(Fuel_Valve));
    EXPECT_TRUE(cover_closed(Generator_Switch));
    click(Generator_Switch, MOUSE_LEFT);
    EXPECT_TRUE(g_events.empty());
}

}  // namespace
}  // namespace ardelvine
