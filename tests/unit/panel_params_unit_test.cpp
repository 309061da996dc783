// The parameter language, the panel-window buttons and the registration plate,
// driven through their records: a fake panel-services table records what the
// module asks of the host, and each case works on its own copy of a gauge's
// header, elements and mouse list, as a placed gauge does.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/events.h"
#include "module/gauge_list.h"
#include "params/params.h"
#include "tests/unit/fake_services.h"
#include "resources/help.h"

namespace ardelvine {
namespace {

using namespace gauges;

using test::Events;
constexpr std::uint32_t OPEN = events::PANEL_WINDOW_OPEN, CLOSE = events::PANEL_WINDOW_CLOSE,
                        TOGGLE = events::PANEL_WINDOW_TOGGLE;
constexpr std::uint32_t VIEW_RESET = events::VIEW_RESET, VIEW_NEXT = events::VIEW_MODE_NEXT,
                        VIEW_PREVIOUS = events::VIEW_MODE_PREVIOUS;

using PanelParams = test::FakeServicesTest;
using Windows = std::vector<std::uint32_t>;

Events repeated(std::pair<std::uint32_t, std::uint32_t> event, int times) { return Events(times, event); }

// A gauge as the host places it: its own header, element copies and mouse
// list, and a writable parameter string.
struct Placed {
    GaugeHeader header;
    StaticImage root;
    StringElement text{};
    ElementHeader* chain[4] = {};
    std::vector<MouseRect> mouse;
    std::vector<char> parameters;
    char text_buffer[64] = {};

    Placed(const GaugeHeader& gauge, const char* params) : header(gauge) {
        const ElementHeader* first = gauge.elements[0];
        std::memcpy(static_cast<void*>(&root), first, sizeof root);
        root.header.gauge = &header;
        chain[0] = &root.header;
        if (first->children != nullptr) {
            std::memcpy(static_cast<void*>(&text), first->children[0], sizeof text);
            text.header.gauge = &header;
            text.text = text_buffer;
            chain[2] = &text.header;
            root.header.children = &chain[2];
        }
        header.elements = chain;
        for (const MouseRect* r = gauge.mouse; r->kind != MouseKind::END; ++r) mouse.push_back(*r);
        mouse.push_back(*(gauge.mouse + mouse.size()));
        header.mouse = mouse.data();
        if (params != nullptr) {
            parameters.assign(params, params + std::strlen(params) + 1);
            header.parameters = parameters.data();
        } else {
            header.parameters = nullptr;
        }
    }
    Placed(const Placed&) = delete;

    void service(std::int32_t code) { header.callback(&header, code, 0); }
    const MouseRect& child() const {
        for (const MouseRect& r : mouse)
            if (r.kind == MouseKind::CHILD) return r;
        return mouse.front();
    }
    void click() {
        MouseClick at{6, 6, &header};
        EXPECT_EQ(child().handler(&at, MOUSE_LEFT), 0);
    }
    std::string shown() {
        text.update(&text.header);
        return text_buffer;
    }
};

// ------------------------------------------------------------ the language

TEST(ParamsNumbers, ReadLikeAtoiButSaturate) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"", 0},         {"abc", 0},        {"  \t42x", 42},  {"+7", 7},        {"-0", 0},
        {"- 5", 0},      {"12abc", 12},     {"\n-3", -3},     {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},          {"-2147483648", INT32_MIN},         {"-2147483649", INT32_MIN},
        {"4294967396", INT32_MAX},          {"99999999999999999999999999999", INT32_MAX},
        {"000000000000000000000000000017", 17},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(params::read_number(text), expected) << text;
    EXPECT_EQ(params::read_number(nullptr), 0);
}

TEST(ParamsKeys, FoundOnlyBeforeTheFirstComment) {
    const struct {
        const char* text;
        char key;
        int at;  // -1: not found
    } cases[] = {
        {"abc", 'b', 1}, {"a/b", 'b', -1}, {"a#b", 'a', 0},  {"'b", 'b', -1},   {"bb/", 'b', 0},
        {"xyz", 'b', -1}, {"", 'b', -1},   {"B", 'b', -1},   {"x\xff" "b", 'b', 2}, {"o#", '#', 1},
    };
    for (const auto& c : cases) {
        const char* found = params::find_key(c.text, c.key);
        EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - c.text), c.at) << c.text << " " << c.key;
    }
    EXPECT_EQ(params::find_key(static_cast<const char*>(nullptr), 'b'), nullptr);
    EXPECT_EQ(params::find_key("abc", '\0'), nullptr) << "the terminator is no key";
}

TEST(ParamsNames, WindowsAndTooltipsByPrefixOrNumber) {
    const std::pair<const char*, std::int32_t> windows[] = {
        {"IFR_MAIN_PANEL", 175}, {"MAIN_PANELX", 0},  {"ANNUNCIATOR2_PANEL", 150}, {"THROTTLE_PANEL", 10},
        {"RADIO", 0},            {"?", 0},            {"75", 75},                  {"-5", -5},
        {" 50", 50},             {"", -1},
    };
    for (const auto& [text, ident] : windows) EXPECT_EQ(params::window_ident(text), ident) << text;
    EXPECT_EQ(params::window_ident(nullptr), -1);

    const std::pair<const char*, std::uint32_t> tooltips[] = {
        {"TOGGLE_GPS_WINDOW", 0xAB87}, {"TOGGLE_COLLECTIVE_WINDOWS", 0xAB8B}, {"43910", 0xAB86},
        {"40960", 0xA000},             {"40959", 0},                          {"-43910", 0},
        {"TOGGLE", 0},                 {"", 0},                               {"99999999999", 0x7FFFFFFF},
    };
    for (const auto& [text, id] : tooltips) EXPECT_EQ(params::tooltip_id(text), id) << text;
}

struct ClickCase {
    const char* parameters;
    Events events;  // what one click sends
};

// One click of a configurable button, from the string to the events it sends.
TEST_F(PanelParams, ClickCommands) {
    const ClickCase cases[] = {
        {"c50 o75", {{OPEN, 75}, {CLOSE, 50}}},
        {"t50 t75 p-2", {{TOGGLE, 50}, {TOGGLE, 75}, {VIEW_PREVIOUS, 0}, {VIEW_PREVIOUS, 0}}},
        {"p", {{VIEW_RESET, 0}}},
        {"p0", {{VIEW_RESET, 0}}},
        {"px", {{VIEW_RESET, 0}}},
        {"p3 p-1", repeated({VIEW_NEXT, 0}, 3)},
        {"o50 # t75", {{OPEN, 50}}},
        {"oIFR_MAIN_PANEL", {{OPEN, 175}}},
        {"oMAIN_PANELX", {{OPEN, 0}}},
        {"tRADIO_STACK_PANEL", {{TOGGLE, 50}}},
        {"t RADIO_STACK_PANEL", {{TOGGLE, 0}}},  // a space before the name makes it window 0
        {"t50c75o10", {{OPEN, 10}, {CLOSE, 75}, {TOGGLE, 50}}},
        {"oRADIO o?", {{OPEN, 0}, {OPEN, 0}}},
        {"o-5 o", {}},  // a negative ident and a missing one are skipped
        {"b140", {}},   // installation options only: nothing, and no default either
        {"x'o50", {}},
        {"oTHROTTLE_PANEL/cRADIO_STACK_PANEL", {{OPEN, 10}}},
        {"O50 T50", {}},  // keys are lower case
        {"p100000", repeated({VIEW_NEXT, 0}, 100)},
        {"p-2147483648", repeated({VIEW_PREVIOUS, 0}, 100)},
        {"p99999999999", repeated({VIEW_NEXT, 0}, 100)},
        {"o4294967346", {{OPEN, 0x7FFFFFFF}}},  // saturates, never wraps round to window 50
        {"o\x01\xff" "50 t\x7f", {{OPEN, 0}, {TOGGLE, 0}}},
    };
    for (const ClickCase& c : cases) {
        events.clear();
        Placed button(Radios_Toggle, c.parameters);
        button.click();
        EXPECT_EQ(events, c.events) << c.parameters;
    }
}

// Without a string, or with an empty one, a click toggles the main panel.
TEST_F(PanelParams, ButtonsWithoutAStringToggleTheMainPanel) {
    for (const char* parameters : {static_cast<const char*>(nullptr), ""}) {
        events.clear();
        windows_toggled.clear();
        Placed button(Invisible_Toggle, parameters);
        button.click();
        button.click();
        EXPECT_EQ(windows_toggled, (Windows{0, 0}));
        EXPECT_EQ(events, Events{});
    }
    events.clear();
    windows_toggled.clear();
    Placed button(Invisible_Toggle, "t50");
    button.click();
    EXPECT_EQ(events, (Events{{TOGGLE, 50}}));
    EXPECT_EQ(windows_toggled, Windows{});
}

// A string from a shared panel file can be anything; clicks and installs stay
// bounded and leave the string as it was.
TEST_F(PanelParams, HostileStrings) {
    std::vector<std::string> strings = {
        std::string(200000, 'o'),
        std::string(100000, '9'),
        // Built by appending: GCC 12 at -O3 warns falsely of "x" + std::string.
        std::string("t").append(100000, '7'),
        std::string(50000, '/') + "o50",
        std::string("p").append(5000, '-') + "9",
        "b120 h'",
        "\x01\x02\x03\x7f\x80\xfe\xff",
    };
    std::string random;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        random += static_cast<char>(1 + (seed >> 16) % 255);
    }
    strings.push_back(random);
    for (const std::string& s : strings) {
        events.clear();
        Placed button(Compass_Toggle, s.c_str());
        button.service(PANEL_SERVICE_PRE_INSTALL);
        button.click();
        EXPECT_EQ(std::string(button.header.parameters), s);
        std::size_t keys = 0;
        for (char c : s) keys += c == 'o' || c == 'c' || c == 't' || c == 'a';
        EXPECT_LE(events.size(), keys + params::kMaxViewSteps);
        const std::uint32_t face = button.root.header.bitmap;
        EXPECT_TRUE(face == 160 || (face >= 100 && face <= 180 && face % 10 == 0)) << face;
    }
}

// ------------------------------------------------------------ the buttons

struct ButtonCase {
    GaugeHeader* gauge;
    std::uint32_t face;
    std::uint32_t help_id;
    const char* tooltip;  // the module's own text, or null
    std::uint32_t event;  // a fixed button's event; 0 for a configurable one
};

const ButtonCase kButtons[] = {
    {&Invisible_Toggle, 100, 0, nullptr, 0},
    {&Close_Subpanel, 110, 0, "Close the subpanel", 0},
    {&Radios_Toggle, 120, help::RADIO_STACK_WINDOW, nullptr, 0},
    {&Landing_View_Toggle, 130, 0, "Switch between Normal and Landing view", 0},
    {&GPS_Toggle, 140, help::GPS_WINDOW, nullptr, 0},
    {&Throttle_Toggle, 150, help::THROTTLE_QUADRANT_WINDOW, nullptr, 0},
    {&Compass_Toggle, 160, help::COMPASS_WINDOW, nullptr, 0},
    {&Fuel_Toggle, 170, help::FUEL_PANEL_WINDOW, "Display/Hide the fuel subpanel", 0},
    {&Electricity_Toggle, 180, 0, "Display/Hide the electricity switches", 0},
    {&Kneeboard_Toggle, 60, help::KNEEBOARD_WINDOW, nullptr, events::KNEEBOARD_WINDOW},
    {&Map_Toggle, 70, help::MAP_WINDOW, nullptr, events::MAP_WINDOW},
    {&ATC_Toggle, 80, help::ATC_WINDOW, nullptr, events::ATC_WINDOW},
};

TEST(PanelButtons, RecordsMatchTheirRows) {
    for (const ButtonCase& c : kButtons) {
        const GaugeHeader& g = *c.gauge;
        SCOPED_TRACE(g.name);
        EXPECT_EQ(g.default_width, 19u);
        EXPECT_EQ(g.user_data, 0u);
        EXPECT_EQ(g.callback != nullptr, c.event == 0);
        const ElementHeader& face = *g.elements[0];
        EXPECT_EQ(face.kind, ElementKind::STATIC_IMAGE);
        EXPECT_EQ(face.bitmap, c.face);
        EXPECT_EQ(face.image_flags, 0x3u);
        EXPECT_EQ(face.gauge, c.gauge);
        EXPECT_EQ(face.children, nullptr);

        std::size_t n = 0;
        EXPECT_EQ(g.mouse[n].kind, MouseKind::PARENT);
        EXPECT_EQ(g.mouse[n].width, 0);
        EXPECT_EQ(g.mouse[n++].help_id, c.help_id);
        if (c.tooltip != nullptr) {
            EXPECT_EQ(g.mouse[n].kind, MouseKind::TOOLTIP);
            EXPECT_STREQ(g.mouse[n++].tooltip_text, c.tooltip);
        }
        const MouseRect& child = g.mouse[n++];
        EXPECT_EQ(child.kind, MouseKind::CHILD);
        EXPECT_EQ((std::vector<int>{child.x, child.y, child.width, child.height}), (std::vector<int>{3, 3, 13, 13}));
        EXPECT_EQ(child.cursor, CURSOR_HAND);
        EXPECT_EQ(child.click_flags, MOUSE_LEFT);
        EXPECT_EQ(child.event_id, c.event);
        EXPECT_EQ(child.handler != nullptr, c.event == 0) << "an event or a handler, never both";
        EXPECT_EQ(g.mouse[n++].kind, MouseKind::END_PARENT);
        EXPECT_EQ(g.mouse[n].kind, MouseKind::END);
    }
}

struct InstallCase {
    const char* parameters;
    std::uint32_t face;     // 0: the button's own
    std::int64_t help_id;   // -1: the button's own
};

TEST_F(PanelParams, InstallOptionsOnEveryConfigurableButton) {
    const InstallCase cases[] = {
        {"b125 hTOGGLE_GPS_WINDOW", 0, -1},  // a face out of step cancels the tooltip too
        {"b120 hTOGGLE_GPS_WINDOW", 120, 0xAB87},
        {"h40000", 0, 0},
        {"h43910", 0, 0xAB86},
        {"b150", 150, -1},
        {"b 180", 180, -1},
        {"b90 h43910", 0, -1},
        {"b190", 0, -1},
        {"b-100", 0, -1},
        {"b4294967396", 0, -1},  // would be 100 if the reading wrapped
        {"#b120 h43910", 0, -1},
        {"h43910 b120/", 120, 0xAB86},
        {"o50", 0, -1},
    };
    for (const ButtonCase& button : kButtons) {
        if (button.event != 0) continue;
        for (const InstallCase& c : cases) {
            SCOPED_TRACE(std::string(button.gauge->name) + " " + c.parameters);
            Placed placed(*button.gauge, c.parameters);
            placed.service(PANEL_SERVICE_PRE_INSTALL);
            EXPECT_EQ(placed.root.header.bitmap, c.face != 0 ? c.face : button.face);
            EXPECT_EQ(placed.mouse[0].help_id, c.help_id >= 0 ? c.help_id : button.help_id);
        }
    }
}

TEST_F(PanelParams, CloseAtInstallationHappensOncePerPlacement) {
    Placed button(Fuel_Toggle, "a50 aTHROTTLE_PANEL t50");
    button.service(PANEL_SERVICE_PRE_INSTALL);
    button.service(PANEL_SERVICE_PRE_UPDATE);
    button.service(PANEL_SERVICE_PRE_KILL);
    button.service(PANEL_SERVICE_PRE_INSTALL);
    EXPECT_EQ(events, (Events{{CLOSE, 50}}));
    EXPECT_EQ(button.header.user_data, 1u);

    for (const char* parameters : {"a-1", "a", "#a50", "b120"}) {
        events.clear();
        Placed other(Fuel_Toggle, parameters);
        other.service(PANEL_SERVICE_PRE_INSTALL);
        EXPECT_EQ(events, Events{}) << parameters;
        EXPECT_EQ(other.header.user_data, 1u) << "the flag is set whether or not there was an a";
    }
}

// The readings no button uses, for panel authors' own gauges.
TEST(ParamsReadings, AfterAKeyAndCuts) {
    Placed gauge(Invisible_Toggle, "x12.5 n-7 z/q9");
    double number = -1.0;
    std::int32_t integer = -1;
    params::read_float_after(&gauge.header, 'x', &number);
    params::read_number_after(&gauge.header, 'n', &integer);
    EXPECT_EQ(number, 12.5);
    EXPECT_EQ(integer, -7);
    params::read_number_after(&gauge.header, 'q', &integer);  // after the comment: untouched
    EXPECT_EQ(integer, -7);
    params::read_float_after(&gauge.header, 'x', nullptr);
    params::cut_comment_upper(&gauge.header);
    EXPECT_STREQ(gauge.header.parameters, "X12.5 N-7 Z");

    Placed quoted(Invisible_Toggle, "ab'c#d/e");
    params::cut_comment(&quoted.header);
    EXPECT_STREQ(quoted.header.parameters, "ab");
    params::cut_comment(nullptr);
    Placed none(Invisible_Toggle, nullptr);
    params::cut_comment_upper(&none.header);
    EXPECT_EQ(none.header.parameters, nullptr);
}

// ------------------------------------------------------------ the plate

TEST(RegistrationRecords, PlateAndText) {
    const GaugeHeader& g = Registration;
    EXPECT_EQ(g.default_width, 150u);
    EXPECT_NE(g.callback, nullptr);
    const ElementHeader& plate = *g.elements[0];
    EXPECT_EQ(plate.bitmap, 50u);
    EXPECT_EQ(plate.image_flags, 0x3u);
    const auto& text = *reinterpret_cast<const StringElement*>(plate.children[0]);
    EXPECT_EQ(text.header.kind, ElementKind::STRING);
    EXPECT_EQ(text.header.bitmap, kNoBitmap);
    EXPECT_EQ(text.header.image_flags, 0x3u);
    EXPECT_EQ(text.header.children, nullptr);
    EXPECT_EQ(text.sources[0].token, 0u);
    EXPECT_EQ(text.chars, 7u);
    EXPECT_EQ(text.box_width, 150u);
    EXPECT_EQ(text.box_height, 25u);
    EXPECT_EQ(text.foreground, 0xFFFFFFu);
    EXPECT_EQ(text.highlight, 0x5C5C5Cu);
    EXPECT_EQ(text.background, 0u);
    EXPECT_STREQ(text.font, "Arial");
    EXPECT_EQ(text.weight, 400u);
    EXPECT_EQ(text.charset, 1u);
    EXPECT_EQ(text.draw_flags, TEXT_CENTRE | TEXT_MIDDLE | TEXT_ONE_LINE);
    EXPECT_EQ(g.mouse[0].kind, MouseKind::PARENT);
    EXPECT_STREQ(g.mouse[1].tooltip_text, "Registration number");
    EXPECT_EQ(g.mouse[1].event_id, 0u);
    EXPECT_EQ(g.mouse[2].kind, MouseKind::END_PARENT);
}

struct PlateCase {
    const char* parameters;
    const char* identifier;
    const char* shown;
    std::uint32_t colour;
    const char* font;
};

TEST_F(PanelParams, PlateTextColourAndFont) {
    const char* const kLongFont = "Arial Narrow Bold Condensed Extra Wide";  // 38 characters
    const PlateCase cases[] = {
        {nullptr, "N4471A", "N4471A", 0xFFFFFF, "Arial"},
        {"", "D-EABC", "D-EABC", 0xFFFFFF, "Arial"},
        {nullptr, "AB CD", "AB", 0xFFFFFF, "Arial"},
        {nullptr, "G_ABCD", "G ABCD", 0xFFFFFF, "Arial"},
        {nullptr, "ABCDEFGHIJ", "ABCDEFG", 0xFFFFFF, "Arial"},
        {nullptr, "", "", 0xFFFFFF, "Arial"},
        {nullptr, nullptr, "", 0xFFFFFF, "Arial"},  // the host has answered nothing yet
        {"tF_ABCD", "N4471A", "F ABCD", 0xFFFFFF, "Arial"},
        {"t", "N4471A", "", 0xFFFFFF, "Arial"},
        {"tLONGER_THAN_SEVEN", "N4471A", "LONGER ", 0xFFFFFF, "Arial"},
        {"tVH FOO", "N4471A", "VH", 0xFFFFFF, "Arial"},
        {"r255 g0 b0", "N1", "N1", 0x0000FF, "Arial"},
        {"r300 g0 b0", "N1", "N1", 0x0000FF, "Arial"},
        {"r-1 g0 b0", "N1", "N1", 0x0000FF, "Arial"},
        {"r4294967306 g0 b0", "N1", "N1", 0x0000FF, "Arial"},  // wrapping would give red 10
        {"#r10", "N1", "N1", 0xFFFFFF, "Arial"},
        {"g10", "N1", "N1", 0xFF0AFF, "Arial"},
        {"r10 tABC", "N1", "N1", 0xFFFF0A, "Arial"},  // t counts only as the first character
        {"tabc", "N1", "abc", 0x00FFFF, "Arial"},     // the b of the text is a colour key
        {"fCourier New", "N1", "N1", 0xFFFFFF, "Courier New"},
        {"r0 g0 b128 fLiberation Mono", "N1", "N1", 0x800000, "Liberation Mono"},
        {"fX r10", "N1", "N1", 0xFFFFFF, "X r10"},  // keys after f belong to the font
        {"tAB fDSEG7 Classic", "N1", "AB", 0xFFFFFF, "DSEG7 Classic"},
        {"f", "N1", "N1", 0xFFFFFF, ""},
    };
    for (const PlateCase& c : cases) {
        SCOPED_TRACE(c.parameters != nullptr ? c.parameters : "(none)");
        atc_id = c.identifier;
        Placed plate(Registration, c.parameters);
        plate.service(PANEL_SERVICE_PRE_INSTALL);
        plate.service(PANEL_SERVICE_PRE_UPDATE);
        EXPECT_EQ(plate.shown(), c.shown);
        EXPECT_EQ(plate.text.foreground, c.colour);
        EXPECT_STREQ(plate.text.font, c.font);
    }

    Placed plate(Registration, (std::string("f") + kLongFont).c_str());
    plate.service(PANEL_SERVICE_PRE_INSTALL);
    EXPECT_EQ(std::string(plate.text.font), std::string(kLongFont).substr(0, 31));
    EXPECT_EQ(plate.text.font[31], '\0');
}

// The identifier is asked for at every update and the text follows it; the
// text never grows past seven characters, whatever the host answers.
TEST_F(PanelParams, PlateFollowsTheHostAndStaysInItsBuffer) {
    Placed plate(Registration, nullptr);
    plate.service(PANEL_SERVICE_PRE_INSTALL);
    atc_id = "N4471A";
    plate.service(PANEL_SERVICE_PRE_UPDATE);
    EXPECT_EQ(plate.shown(), "N4471A");
    const std::string huge(100000, 'W');
    atc_id = huge.c_str();
    std::memset(plate.text_buffer, '#', sizeof plate.text_buffer);
    plate.service(PANEL_SERVICE_PRE_UPDATE);
    EXPECT_EQ(plate.shown(), "WWWWWWW");
    EXPECT_EQ(plate.text_buffer[8], '#') << "nothing written past the terminator";
    atc_id = "\x01\xff\xfe_X";
    plate.service(PANEL_SERVICE_PRE_UPDATE);
    EXPECT_EQ(plate.shown(), "\x01\xff\xfe X");
    plate.service(PANEL_SERVICE_PRE_KILL);  // not the plate's business
    EXPECT_EQ(plate.shown(), "\x01\xff\xfe X");
}

}  // namespace
}  // namespace ardelvine
