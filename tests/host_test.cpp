// The host's core driven through a small fixture module: lifecycle order,
// per-placement copies, how each element kind turns its value into what it
// draws, failures, mouse delivery and tooltip formatting.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "host/load/error.h"
#include "host/run/host.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=300,200
gauge00=Fixture!Probe, 0, 0
gauge01=Fixture!Probe, 120, 0, 50, 40, some parameters, with a comma
[Window01]
ident=50
visible=0
gauge00=Fixture!Probe, 0, 0
)";

template <typename T>
T& symbol(Host& host, const char* name) {
    return *static_cast<T*>(dlsym(host.module().handle(), name));
}

struct HostTest : ::testing::Test {
    std::unique_ptr<Host> host;
    void SetUp() override {
        HostOptions options;
        options.module_path = ARD_FIXTURE_MODULE;
        host = std::make_unique<Host>(parse_panel_config(kPanel, "fixture.cfg"), options);
        symbol<int>(*host, "FixtureServiceCount") = 0;
        symbol<int>(*host, "FixtureClickCount") = 0;
    }
    Placement& probe(int n = 1) { return *host->find({"Probe", n}); }
    ElementState& element(int index, int n = 1) { return probe(n).elements()[static_cast<std::size_t>(index)]; }
    std::vector<int> services() {
        int* log = &symbol<int>(*host, "FixtureServiceLog");
        return {log, log + symbol<int>(*host, "FixtureServiceCount")};
    }
};

TEST_F(HostTest, PlacementsGetTheirOwnCopiesOfTheRecords) {
    ASSERT_EQ(host->placements().size(), 3u);
    Placement& a = probe(1);
    Placement& b = probe(2);
    EXPECT_NE(a.header(), b.header());
    EXPECT_NE(a.header(), a.original());
    // Each copy was installed once: its own user-data word counts one install.
    EXPECT_EQ(a.header()->user_data, 1u);
    EXPECT_EQ(b.header()->user_data, 1u);
    EXPECT_EQ(a.original()->user_data, 0u);
    // Elements point back at their own copy of the header, and chain onwards.
    EXPECT_EQ(a.elements()[0].element->gauge, a.header());
    EXPECT_EQ(a.elements()[0].element->children[0], a.elements()[1].element);
    EXPECT_EQ(a.elements().back().element->children, nullptr);
    EXPECT_EQ(a.header()->parameters, nullptr);
    ASSERT_NE(b.header()->parameters, nullptr);
    EXPECT_STREQ(b.header()->parameters, "some parameters, with a comma");
    // No height given: the fixture has no bitmaps, so the gauge is square.
    EXPECT_EQ(a.width(), 100);
    EXPECT_EQ(a.height(), 100);
    EXPECT_EQ(b.width(), 50);
    EXPECT_EQ(b.height(), 40);
}

TEST_F(HostTest, LifecycleOrder) {
    host->ready();
    host->update(2);
    // Ready reaches all three; updates only the gauges of visible windows.
    EXPECT_EQ(services(), (std::vector<int>{14, 14, 14, 6, 6, 6, 6}));
    // Hold the library so its counters can be read after the host unloads it.
    void* keep = dlopen(ARD_FIXTURE_MODULE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(keep, nullptr);
    host.reset();  // kill every placement, then deinit
    EXPECT_EQ(*static_cast<int*>(dlsym(keep, "FixtureDeinitCalls")), 1);
    const int* log = static_cast<int*>(dlsym(keep, "FixtureServiceLog"));
    EXPECT_EQ(std::vector<int>(log + 7, log + 10), (std::vector<int>{12, 12, 12}));
    dlclose(keep);
}

// A reloaded panel: every placement removed, then every one installed again,
// hidden windows included; the scenario command does the same.
TEST_F(HostTest, ReloadRemovesThenInstallsEveryPlacement) {
    host->reload();
    host->run(parse_scenario("reload\n", "reload.scn"));
    EXPECT_EQ(services(), (std::vector<int>{12, 12, 12, 2, 2, 2, 12, 12, 12, 2, 2, 2}));
    EXPECT_EQ(probe(1).header()->user_data, 3u) << "installed at start and twice more";
}

TEST_F(HostTest, ServiceCodesReachTheUnloadedModuleInOrder) {
    // Install order matches the panel: window by window, line by line.
    auto& sim = host->simulation();
    sim.set_token(100, 10.0);
    host->update();
    EXPECT_DOUBLE_EQ(element(1).angle, 90.0);
    EXPECT_DOUBLE_EQ(element(1, 3).angle, 0.0);  // hidden window: not updated
}

struct NeedleCase {
    double value;
    double angle;
};

class NeedleAngles : public HostTest, public ::testing::WithParamInterface<NeedleCase> {};

TEST_P(NeedleAngles, FollowTheTableAndItsEndSegments) {
    host->simulation().set_token(100, GetParam().value);
    host->update();
    EXPECT_NEAR(element(1).angle, GetParam().angle, 1e-9);
    EXPECT_DOUBLE_EQ(element(1).value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Fixture, NeedleAngles,
                         ::testing::Values(NeedleCase{0, 0}, NeedleCase{5, 45}, NeedleCase{10, 90},
                                           NeedleCase{15, 135}, NeedleCase{20, 180}, NeedleCase{30, 270},
                                           NeedleCase{-4, -36}));

TEST_F(HostTest, IconImageRange) {
    struct Case {
        double value;
        int image;
        bool visible;
    } cases[] = {{0, 0, true}, {1, 1, true}, {2.9, 2, true}, {3, -1, false}, {-1, -1, false}, {-0.5, 0, true}};
    for (const Case& c : cases) {
        host->simulation().set_token(101, c.value);
        host->update();
        EXPECT_EQ(element(2).image, c.image) << c.value;
        EXPECT_EQ(element(2).visible, c.visible) << c.value;
    }
    // A callback's value replaces the token: -1 draws nothing, 0 the first image.
    symbol<double>(*host, "FixtureIconReturn") = -1.0;
    host->update();
    EXPECT_FALSE(element(3).visible);
    symbol<double>(*host, "FixtureIconReturn") = 0.0;
    host->update();
    EXPECT_TRUE(element(3).visible);
    EXPECT_EQ(element(3).image, 0);
}

TEST_F(HostTest, FailureActions) {
    auto& sim = host->simulation();
    sim.set_token(100, 10.0);
    host->update();
    sim.set_failure(5, true);  // freeze
    sim.set_token(100, 20.0);
    host->update();
    EXPECT_DOUBLE_EQ(element(1).angle, 90.0);
    sim.set_failure(5, false);
    sim.set_failure(6, true);  // show zero
    host->update();
    EXPECT_DOUBLE_EQ(element(1).value, 0.0);
    EXPECT_DOUBLE_EQ(element(1).angle, 0.0);
    EXPECT_TRUE(element(1).visible);
    sim.set_failure(7, true);  // not drawn; the strongest active action wins
    host->update();
    EXPECT_FALSE(element(1).visible);
    sim.set_failure(6, false);
    sim.set_failure(7, false);
    host->update();
    EXPECT_TRUE(element(1).visible);
    EXPECT_DOUBLE_EQ(element(1).angle, 180.0);
}

// Several failures active on one element: the strongest acts, wherever the
// element's list names it.
TEST(FailureOrder, StrongestActiveWinsInAnyListOrder) {
    const FailureRecord end{0, 0, 0};
    const FailureRecord freeze{5, FAIL_FREEZE, 0}, zero{6, FAIL_ZERO, 0}, hide{7, FAIL_HIDE, 0};
    FailureRecord lists[][4] = {{freeze, zero, hide, end}, {hide, zero, freeze, end}, {zero, hide, freeze, end}};
    const struct {
        std::vector<std::uint32_t> active;
        bool visible;
        double value;  // after the token moved from 10 to 20
    } cases[] = {{{5, 6}, true, 0.0}, {{5, 7}, false, 20.0}, {{6, 7}, false, 20.0}, {{5, 6, 7}, false, 20.0}};
    for (auto& list : lists) {
        for (const auto& c : cases) {
            Needle needle{};
            needle.header.kind = ElementKind::NEEDLE, needle.header.failures = list;
            needle.source.token = 100;
            ElementHeader* root[] = {&needle.header, nullptr};
            MouseRect mouse[1] = {};
            mouse[0].kind = MouseKind::END;
            GaugeHeader header{};
            header.version = kGaugeHeaderVersion, header.name = "Failing", header.elements = root, header.mouse = mouse;
            Placement gauge(header, "", 0, 0, 0, 40, 40);
            Simulation sim;
            sim.set_token(100, 10.0);
            gauge.evaluate(sim);
            for (std::uint32_t key : c.active) sim.set_failure(key, true);
            sim.set_token(100, 20.0);
            gauge.evaluate(sim);
            const ElementState& s = gauge.elements()[0];
            EXPECT_EQ(s.visible, c.visible) << list[0].key << " first, " << c.active.size() << " active";
            EXPECT_DOUBLE_EQ(s.value, c.value) << list[0].key << " first, " << c.active.size() << " active";
        }
    }
}

TEST_F(HostTest, HiddenFlagSetByACallback) {
    host->simulation().set_token(100, -1.0);
    host->update();
    EXPECT_FALSE(element(1).visible);
    EXPECT_TRUE(element(1, 2).element->image_flags & IMAGE_HIDDEN);
    EXPECT_FALSE(probe(1).original()->elements[0]->children[0]->image_flags & IMAGE_HIDDEN)
        << "a callback changes the placement's copy, not the module's record";
}

TEST_F(HostTest, SliderMovingImageSpriteAndString) {
    auto& sim = host->simulation();
    sim.set_token(102, 3.0);
    sim.set_token(103, 4.0);
    sim.set_token(104, 90.0);
    sim.set_token(105, 2.0);
    sim.set_token(106, 15.0);
    sim.set_token(107, 123.456);
    host->update();
    EXPECT_DOUBLE_EQ(element(4).dx, 6.0);
    EXPECT_DOUBLE_EQ(element(4).dy, -2.0);
    EXPECT_DOUBLE_EQ(element(5).dx, 0.0) << "no bitmaps: nothing to travel";
    EXPECT_DOUBLE_EQ(element(6).dx, 3.0);
    EXPECT_DOUBLE_EQ(element(6).rotation, -30.0);
    const auto& s = reinterpret_cast<const StringElement&>(*element(7).element);
    EXPECT_STREQ(s.text, "0123.46");
    const auto state = host->state();
    EXPECT_EQ(state["gauges"][0]["elements"][7]["text"], "0123.46");
    EXPECT_EQ(state["gauges"][0]["elements"][6]["rotation"], -30.0);
}

TEST_F(HostTest, MovingImageTravelsItsStripPastTheWindowClamped) {
    // Sizes of a compass strip behind its window; the background gives the gauge's pixel grid.
    auto sizes = [](std::uint32_t id) {
        switch (id) {
            case 1: return BitmapSize{200, 150};
            case 40: return BitmapSize{1219, 53};
            case 41: return BitmapSize{139, 53};
            default: return BitmapSize{};
        }
    };
    Placement p(*probe().original(), "", 0, 0, 0, 100, 75, sizes);
    EXPECT_EQ(p.background_size().width, 200);
    Simulation sim;
    struct Case {
        double heading, dx;
    } cases[] = {{0, 0}, {90, -270}, {360, -1080}, {400, -1080}, {-10, 0}};
    for (const Case& c : cases) {
        sim.set_token(104, c.heading);
        p.evaluate(sim);
        EXPECT_DOUBLE_EQ(p.elements()[5].dx, c.dx) << c.heading;
        EXPECT_DOUBLE_EQ(p.elements()[5].dy, 0.0);
    }
}

TEST_F(HostTest, ClicksReachOnlyTheInnermostAreaAndTheButtonsItAsksFor) {
    auto clicks = [&] { return symbol<int>(*host, "FixtureClickCount"); };
    int* flags = &symbol<int>(*host, "FixtureClickFlags");
    int* xs = &symbol<int>(*host, "FixtureClickX");
    int* ys = &symbol<int>(*host, "FixtureClickY");

    host->click(probe(), 25, 27, {Button::LEFT, 0});
    ASSERT_EQ(clicks(), 1);
    EXPECT_EQ(static_cast<std::uint32_t>(flags[0]), MOUSE_LEFT);
    EXPECT_EQ(xs[0], 5);  // relative to the area
    EXPECT_EQ(ys[0], 7);

    host->click(probe(), 25, 27, {Button::RIGHT, 0});  // the area asks for left clicks only
    EXPECT_EQ(clicks(), 1);
    host->click(probe(), 5, 5, {Button::LEFT, 0});  // no click area there
    EXPECT_EQ(clicks(), 1);

    host->click(probe(), 65, 65, {Button::BOTH, 3});  // repeats while held
    ASSERT_EQ(clicks(), 5);
    EXPECT_EQ(static_cast<std::uint32_t>(flags[4]), MOUSE_LEFT | MOUSE_RIGHT);

    host->click(probe(), 25, 27, {Button::LEFT, 3});  // no repeat flag: once
    EXPECT_EQ(clicks(), 6);

    // An area without handler makes the host send its event (none here: 0 is not sent).
    host->click(probe(), 5, 85, {Button::LEFT, 2});
    EXPECT_TRUE(host->simulation().events().empty());

    host->drag(probe(), 90, 15);
    ASSERT_EQ(clicks(), 7);
    EXPECT_EQ(static_cast<std::uint32_t>(flags[6]), MOUSE_DRAG);
    host->end_drag();
    host->drag(probe(), 65, 65);  // not a drag area
    EXPECT_EQ(clicks(), 7);
}

TEST_F(HostTest, DragsInARowAreOneGestureClampedToTheAreaItBeganIn) {
    auto clicks = [&] { return symbol<int>(*host, "FixtureClickCount"); };
    int* xs = &symbol<int>(*host, "FixtureClickX");
    int* ys = &symbol<int>(*host, "FixtureClickY");
    // The drag area is 80,0 20x20; the repeat area 60,60 20x20 takes no drags.
    struct Step {
        int x, y;
        int to_x, to_y;  // where the handler is told the mouse is; -1: no call
    };
    const Step gesture[] = {{90, 15, 10, 15}, {150, 5, 19, 5}, {65, 65, 0, 19}, {85, -40, 5, 0}};
    for (const Step& step : gesture) {
        const int before = clicks();
        host->drag(probe(), step.x, step.y);
        ASSERT_EQ(clicks(), before + 1) << step.x << "," << step.y;
        EXPECT_EQ(xs[before], step.to_x) << step.x << "," << step.y;
        EXPECT_EQ(ys[before], step.to_y) << step.x << "," << step.y;
    }

    host->update();  // the panel runs on with the button held, as a live panel does
    host->drag(probe(), 150, 5);
    ASSERT_EQ(clicks(), 5) << "the gesture outlives the update";
    EXPECT_EQ(xs[4], 19);

    host->end_drag();
    host->drag(probe(), 65, 65);
    host->drag(probe(), 90, 15);
    EXPECT_EQ(clicks(), 5) << "a gesture begun off every drag area reaches none";

    host->end_drag();
    host->drag(probe(), 90, 15);
    host->drag(probe(2), 90, 15);  // another placement: a gesture of its own
    EXPECT_EQ(clicks(), 7);

    const int before = clicks();
    host->run(parse_scenario("drag Probe 90 15\ndrag Probe 300 5\nupdate\ndrag Probe 300 5\n", "drag.txt"));
    ASSERT_EQ(clicks(), before + 2) << "the update ends the gesture; the last drag begins off the area";
    EXPECT_EQ(xs[before + 1], 19);
    EXPECT_EQ(ys[before + 1], 5);
}

TEST_F(HostTest, TooltipsFromTheInnermostParent) {
    EXPECT_EQ(host->tooltip(probe(), 5, 95), "Probe ( 7.2 kt, Open)");
    EXPECT_EQ(host->tooltip(probe(), 15, 15), "Airspeed indicator");
    EXPECT_EQ(host->tooltip(probe(), 500, 500), "");
    ASSERT_EQ(host->tooltips().size(), 3u);
    const auto tooltips = host->state()["tooltips"];
    EXPECT_EQ(tooltips[0]["text"], "Probe ( 7.2 kt, Open)");
    EXPECT_FALSE(tooltips[0].contains("help")) << "the gauge's own text";
    EXPECT_EQ(tooltips[1]["help"], 0x3002) << "a host text by id";
    EXPECT_FALSE(tooltips[2].contains("help"));
}

TEST(HostMouse, DeeperAreaWinsAndFirstListedBreaksATie) {
    HostOptions options;
    options.module_path = ARD_FIXTURE_MODULE;
    Host host(parse_panel_config("[Window00]\nsize_mm=100,100\ngauge00=Fixture!Areas, 0, 0\n", "areas.cfg"), options);
    Placement& areas = *host.find({"Areas", 1});
    // Children at depth 1: 1001 at 0,0 and 1002 at 10,0 (20x20 each); 1003 at
    // depth 2 covers 10,10 to 19,19. Parents: "first" 0,0 30x30 holding
    // "inner" 10,10 10x10; "second" 20,20 20x20 beside "first".
    struct Case {
        int x, y;
        std::uint32_t event;  // 0: none
        const char* tooltip;
    } cases[] = {
        {5, 5, 1001, "first"},   {15, 5, 1001, "first"},  {25, 5, 1002, "first"}, {15, 15, 1003, "inner"},
        {25, 25, 0, "first"},    {35, 35, 0, "second"},   {45, 45, 0, ""},
    };
    for (const Case& c : cases) {
        const std::size_t before = host.simulation().events().size();
        host.click(areas, c.x, c.y, {Button::LEFT, 0});
        const auto& events = host.simulation().events();
        if (c.event == 0) {
            EXPECT_EQ(events.size(), before) << c.x << "," << c.y;
        } else {
            ASSERT_EQ(events.size(), before + 1) << c.x << "," << c.y;
            EXPECT_EQ(events.back().event, c.event) << c.x << "," << c.y;
        }
        EXPECT_EQ(host.tooltip(areas, c.x, c.y), c.tooltip) << c.x << "," << c.y;
    }
}

TEST_F(HostTest, StateCarriesFlagsStringLooksAndValidUtf8) {
    host->simulation().set_token(100, -1.0);  // the needle's callback hides it
    host->update();
    auto& s = reinterpret_cast<StringElement&>(*element(7).element);
    s.foreground = 0x0000FF;
    // Latin-1/Windows-1252 bytes, a valid UTF-8 e acute, a stray continuation
    // byte, a truncated sequence, a surrogate and a byte no code page assigns.
    std::strcpy(s.text, "\xB0" "\xC3\xA9" "\x80" "\xE2\x82" "\xED\xA0\x80" "\x81");
    const auto state = host->state();
    const auto& elements = state["gauges"][0]["elements"];
    EXPECT_EQ(elements[0]["flags"], 0x4003u);
    EXPECT_EQ(elements[1]["flags"].get<std::uint32_t>() & IMAGE_HIDDEN, IMAGE_HIDDEN)
        << "flags as the callback left them";
    EXPECT_EQ(elements[7]["color"], 0x0000FFu);
    EXPECT_EQ(elements[7]["font"], "Arial");
    EXPECT_EQ(elements[7]["text"], "\u00B0\u00E9\u20AC\u00E2\u201A\u00ED\u00A0\u20AC\uFFFD");
    EXPECT_NO_THROW((void)state.dump()) << "strict dump accepts only valid UTF-8";
}

// The third probe sits in window 50, hidden: it cannot be pointed at until
// the window shows.
TEST_F(HostTest, HiddenWindowsTakeNoClicksOrTooltips) {
    auto clicks = [&] { return symbol<int>(*host, "FixtureClickCount"); };
    host->click(probe(3), 25, 27, {Button::LEFT, 0});
    host->drag(probe(3), 90, 15);
    EXPECT_EQ(clicks(), 0);
    EXPECT_EQ(host->tooltip(probe(3), 15, 15), "");
    host->simulation().set_window_visible(50, true);
    host->click(probe(3), 25, 27, {Button::LEFT, 0});
    EXPECT_EQ(clicks(), 1);
    EXPECT_EQ(host->tooltip(probe(3), 15, 15), "Airspeed indicator");
}

TEST(HostWindows, WithoutSizeAWindowHoldsItsGauges) {
    HostOptions options;
    options.module_path = ARD_FIXTURE_MODULE;
    // Default width 100, square without a background bitmap; one gauge given only a width.
    Host host(parse_panel_config("[Window00]\ngauge00=Fixture!Probe, 150, 20\ngauge01=Fixture!Probe, 0, 300, 40\n"
                                 "[Window01]\nsize_mm=50,60\ngauge00=Fixture!Probe, 0, 0\n",
                                 "p.cfg"),
              options);
    EXPECT_EQ(host.panel().windows[0].size_w, 250);
    EXPECT_EQ(host.panel().windows[0].size_h, 340);
    EXPECT_EQ(host.panel().windows[1].size_w, 50) << "a size given stays";
    EXPECT_EQ(host.panel().windows[1].size_h, 60);
}

TEST(HostErrors, BadModuleAndUnknownGauges) {
    struct Case {
        const char* panel;
        const char* module;
        const char* message;
    } cases[] = {
        {"[Window00]\ngauge00=Fixture!Probe, 0, 0\n", "/nonexistent/x.gau", "no such gauge module"},
        {"[Window00]\ngauge00=Fixture!Probe, 0, 0\n", "/etc/hostname", "cannot load"},
        {"[Window00]\ngauge00=Fixture!Nope, 0, 0\n", ARD_FIXTURE_MODULE, "p.cfg:2: module Fixture has no gauge named 'Nope'"},
    };
    for (const Case& c : cases) {
        HostOptions options;
        options.module_path = c.module;
        try {
            Host host(parse_panel_config(c.panel, "p.cfg"), options);
            ADD_FAILURE() << "accepted: " << c.panel;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST_F(HostTest, ScenarioNamesOnlyPlacedGauges) {
    auto s = parse_scenario("update\nclick Probe#3 1 1\nclick Probe#4 1 1\n", "s.scn");
    try {
        host->validate(s);
        ADD_FAILURE();
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "s.scn:3: gauge 'Probe' is placed only 3 time(s)");
    }
    EXPECT_EQ(host->updates(), 0u) << "nothing runs before the whole scenario is checked";
}

// Another module's gauge of the same name is an outline: a scenario that
// clicks it is refused at its line before anything runs, never run against
// a gauge the host does not have.
TEST(HostErrors, ScenarioCannotActOnAnotherModulesGauge) {
    HostOptions options;
    options.module_path = ARD_FIXTURE_MODULE;
    Host host(parse_panel_config("[Window00]\ngauge00=Other!Probe, 0, 0, 20\n", "p.cfg"), options);
    for (const char* action : {"click Probe 1 1", "tooltip Probe 1 1", "drag Probe 1 1", "ready Probe"}) {
        try {
            host.run(parse_scenario(std::string("update\n") + action + "\n", "s.scn"));
            ADD_FAILURE() << action;
        } catch (const InputError& e) {
            EXPECT_STREQ(e.what(), "s.scn:2: no gauge 'Probe' of Fixture is placed on this panel") << action;
        }
    }
    EXPECT_EQ(host.updates(), 0u);
}

}  // namespace
}  // namespace ardelvine::hostapp
