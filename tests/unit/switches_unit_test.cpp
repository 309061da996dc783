// The toggle and guarded switches driven through their own records: a fake
// panel-services table records key events and serves variables, and the
// callbacks, handlers and tooltip producers are reached from the gauge headers.
#include <gtest/gtest.h>

#include <cstdint>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/events.h"
#include "model/tokens.h"
#include "module/exports.h"
#include "module/gauge_list.h"
#include "sound/sound.h"

namespace ardelvine {
namespace {

using namespace gauges;

// The toggle family; what each switch reads, sends and says is read from its
// own records below, never typed again here.
struct SwitchCase {
    GaugeHeader* gauge;
    bool guarded;
    std::uint32_t token = 0, event = 0;
};

SwitchCase kSwitches[] = {
    {&Avionics_Switch, false},      {&Battery_Switch, false},       {&Beacon_Lights_Switch, false},
    {&Landing_Lights_Switch, false}, {&Navigation_Lights_Switch, false}, {&Panel_Lights_Switch, false},
    {&Pitot_Heat_Switch, false},    {&Strobe_Lights_Switch, false}, {&Fuel_Valve, true},
    {&Generator_Switch, true},
};

using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
Events g_events;
std::map<std::uint32_t, double> g_tokens;

std::int32_t ARD_CALL fake_trigger_key_event(std::uint32_t event, std::uint32_t parameter) {
    g_events.emplace_back(event, parameter);
    return 1;
}
void ARD_CALL fake_lookup_var(ModuleVar* var) { var->value = g_tokens[var->token]; }

ElementHeader* element(const GaugeHeader& gauge, int n);
Icon* icon(const GaugeHeader& gauge, int n);
std::uint32_t sent_event(GaugeHeader& gauge);

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
        for (SwitchCase& c : kSwitches) c.token = icon(*c.gauge, 1)->source.token, c.event = sent_event(*c.gauge);
        g_events.clear();
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

// The records as the host walks them.
ElementHeader* element(const GaugeHeader& gauge, int n) {
    ElementHeader* e = gauge.elements[0];
    for (int i = 0; i < n && e != nullptr; ++i) e = e->children ? e->children[0] : nullptr;
    return e;
}
Icon* icon(const GaugeHeader& gauge, int n) { return reinterpret_cast<Icon*>(element(gauge, n)); }

// What the host does at an update: refresh the source, then ask the callback.
double evaluate(Icon* icon, double value) {
    icon->source.value = value;
    return icon->update(&icon->header);
}
std::string tooltip(const GaugeHeader& gauge) { return gauge.mouse[1].args[0].text(0, 0, 0, 0, 0, 0); }
void click(GaugeHeader& gauge, std::uint32_t flags) {
    MouseClick at{5, 5, &gauge};
    EXPECT_EQ(gauge.mouse[2].handler(&at, flags), 0);
}
bool cover_closed(const GaugeHeader& gauge) { return evaluate(icon(gauge, 2), 0.0) == 0.0; }

// Covers are module-wide and outlive each test; put one where a test wants it.
void set_cover(GaugeHeader& gauge, bool closed) {
    if (cover_closed(gauge) != closed) click(gauge, MOUSE_RIGHT);
    ASSERT_EQ(cover_closed(gauge), closed);
}

// The event a left click on the lever sends (a guarded one with its cover
// open), or 0 when it sends none; covers are left as they were.
std::uint32_t sent_event(GaugeHeader& gauge) {
    const bool guarded = element(gauge, 2) != nullptr;
    const bool was_closed = guarded && cover_closed(gauge);
    if (was_closed) click(gauge, MOUSE_RIGHT);
    g_events.clear();
    click(gauge, MOUSE_LEFT);
    const std::uint32_t event = g_events.size() == 1 ? g_events[0].first : 0;
    if (was_closed) click(gauge, MOUSE_RIGHT);
    return event;
}

// Every switch reads a token of its own and sends a toggle event of its own
// that the simulated aircraft knows; its tooltip names it and leaves room for
// the state.
TEST_F(Switches, EachSwitchHasItsOwnTokenEventAndName) {
    std::set<std::uint32_t> tokens_seen, events_seen;
    std::set<std::string> names_seen;
    for (const SwitchCase& c : kSwitches) {
        SCOPED_TRACE(c.gauge->name);
        EXPECT_NE(c.token, 0u);
        EXPECT_TRUE(tokens_seen.insert(c.token).second) << "token shared";
        EXPECT_TRUE(events_seen.insert(c.event).second) << "event shared";
        const char* event = events::name_of(c.event);
        ASSERT_NE(event, nullptr) << "event " << c.event << " is not a named event";
        EXPECT_TRUE(std::string(event).ends_with("_TOGGLE")) << event;
        const std::string text = c.gauge->mouse[1].tooltip_text;
        const std::string state = " (%1!s!)";
        ASSERT_GT(text.size(), state.size());
        EXPECT_EQ(text.substr(text.size() - state.size()), state);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text[0])));
        EXPECT_TRUE(names_seen.insert(text).second) << "tooltip shared";
    }
}

TEST_F(Switches, RecordsHaveTheFamilysShape) {
    for (const SwitchCase& c : kSwitches) {
        const GaugeHeader& g = *c.gauge;
        SCOPED_TRACE(g.name);
        EXPECT_EQ(g.default_width, 30u);
        EXPECT_NE(g.callback, nullptr);
        const std::uint32_t bitmaps[] = {c.guarded ? 2420u : 2370u, c.guarded ? 2440u : 2380u, 2430u};
        const std::uint32_t images[] = {0, 2, 1};
        const int length = c.guarded ? 3 : 2;
        for (int n = 0; n < length; ++n) {
            EXPECT_EQ(element(g, n)->kind, n == 0 ? ElementKind::STATIC_IMAGE : ElementKind::ICON);
            EXPECT_EQ(element(g, n)->bitmap, bitmaps[n]);
            EXPECT_EQ(element(g, n)->gauge, c.gauge);
            EXPECT_EQ(element(g, n)->image_flags, 0x3u);
            if (n > 0) {
                EXPECT_EQ(icon(g, n)->images, images[n]);
            }
        }
        EXPECT_EQ(element(g, length - 1)->children, nullptr);

        const MouseKind kinds[] = {MouseKind::PARENT, MouseKind::TOOLTIP, MouseKind::CHILD, MouseKind::END_PARENT,
                                   MouseKind::END};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(g.mouse[i].kind, kinds[i]) << "mouse entry " << i;
        EXPECT_EQ(g.mouse[1].event_id, 1u);
        const MouseRect& area = g.mouse[2];
        EXPECT_EQ((std::vector<int>{area.x, area.y, area.width, area.height, area.cursor}),
                  (c.guarded ? std::vector<int>{0, 5, 54, 110, 5} : std::vector<int>{0, 0, 30, 44, 5}));
        EXPECT_EQ(area.click_flags, c.guarded ? 0xA0000000u : 0x20000000u);
    }
}

// Only exactly 1.0 puts a plain lever on; the tooltip tells the lever as last
// drawn, not the variable, and every switch keeps its own flag.
TEST_F(Switches, PlainLeverIsOnOnlyAtExactlyOne) {
    const std::pair<double, double> cases[] = {{1.0, 1.0}, {0.0, 0.0}, {2.0, 0.0}, {0.5, 0.0}, {-1.0, 0.0}};
    for (const SwitchCase& c : kSwitches) {
        if (c.guarded) continue;
        for (auto [value, image] : cases) {
            SCOPED_TRACE(std::string(c.gauge->name) + " at " + std::to_string(value));
            evaluate(icon(*c.gauge, 1), 1.0 - image);  // start from the other state
            g_tokens[c.token] = 1.0 - image;
            EXPECT_EQ(evaluate(icon(*c.gauge, 1), value), image);
            EXPECT_EQ(tooltip(*c.gauge), image == 1.0 ? "On" : "Off");
        }
    }
    evaluate(icon(Battery_Switch, 1), 1.0);
    evaluate(icon(Avionics_Switch, 1), 0.0);
    EXPECT_EQ(tooltip(Battery_Switch), "On");
}

// A plain handler sends its event for whatever the host delivers.
TEST_F(Switches, PlainClickSendsItsEventForAnyFlags) {
    for (const SwitchCase& c : kSwitches) {
        if (c.guarded) continue;
        g_events.clear();
        for (std::uint32_t flags : {MOUSE_LEFT, MOUSE_RIGHT, MOUSE_LEFT | MOUSE_RIGHT, 0u}) click(*c.gauge, flags);
        EXPECT_EQ(g_events, Events(4, {c.event, 0})) << c.gauge->name;
    }
}

// Any non-zero value draws a guarded lever on; the tooltip reads the variable
// afresh and says "on" only above zero.
TEST_F(Switches, GuardedLeverAndTooltip) {
    const struct {
        double value, image;
        bool closed;
        const char* text;
    } cases[] = {
        {1.0, 1.0, true, "on and protected"},   {1.0, 1.0, false, "on and accessible"},
        {0.0, 0.0, true, "off and protected"},  {0.0, 0.0, false, "off and accessible"},
        {-1.0, 1.0, true, "off and protected"}, {0.5, 1.0, false, "on and accessible"},
    };
    for (GaugeHeader* g : {&Fuel_Valve, &Generator_Switch}) {
        for (const auto& k : cases) {
            SCOPED_TRACE(std::string(g->name) + " at " + std::to_string(k.value));
            set_cover(*g, k.closed);
            g_tokens[icon(*g, 1)->source.token] = k.value;
            EXPECT_EQ(evaluate(icon(*g, 1), k.value), k.image);
            evaluate(icon(*g, 1), 1.0 - k.value);  // the lever's copy must not matter
            EXPECT_EQ(tooltip(*g), k.text);
        }
    }
}

TEST_F(Switches, GuardedClicksFollowTheCover) {
    for (const SwitchCase& c : kSwitches) {
        if (!c.guarded) continue;
        SCOPED_TRACE(c.gauge->name);
        GaugeHeader& g = *c.gauge;
        g_events.clear();
        set_cover(g, true);
        click(g, MOUSE_LEFT);
        click(g, MOUSE_LEFT | MOUSE_RIGHT);  // left wins: the cover stays shut
        EXPECT_TRUE(g_events.empty());
        EXPECT_TRUE(cover_closed(g));

        click(g, MOUSE_RIGHT);
        EXPECT_EQ(evaluate(icon(g, 2), 0.0), -1.0);  // the lever shows through
        click(g, MOUSE_LEFT);
        click(g, MOUSE_LEFT | MOUSE_RIGHT);
        EXPECT_EQ(g_events, Events(2, {c.event, 0}));
        EXPECT_FALSE(cover_closed(g));
        click(g, 0);  // neither button: nothing
        EXPECT_FALSE(cover_closed(g));
    }
    // Each guarded switch has its own cover.
    set_cover(Fuel_Valve, false);
    set_cover(Generator_Switch, true);
    EXPECT_FALSE(cover_closed(Fuel_Valve));
}

}  // namespace
}  // namespace ardelvine
