// Panel configurations and scenarios: what they mean, and how bad ones are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "host/cli/cli.h"
#include "host/load/error.h"
#include "host/load/panel_config.h"
#include "host/load/scenario.h"

namespace ardelvine::hostapp {
namespace {

// The input is refused with a message that starts with `message`.
template <typename Parse>
void expect_refused(Parse&& parse, const std::string& message) {
    try {
        parse();
        ADD_FAILURE() << "accepted; expected: " << message;
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
    }
}

TEST(PanelConfig, WindowsGaugesAndParameters) {
    const auto p = parse_panel_config(R"(// comment
[Window Titles]
Window00=Main Panel
Window01=Radios

[Window00]
size_mm=640,480
ident=MAIN_PANEL
background_color=1,2,3
file=panel.bmp
gauge00=Ardelvine_Instr!Airspeed, 10, 20
gauge01=Ardelvine_Instr!Voltmeter, 10, 20, 80
gauge02=Ardelvine_Instr!Fuel_Toggle, 1, 2, 19, 19, t RADIO_STACK_PANEL, hFUEL
gauge03=Ardelvine_Instr!Fuel_Toggle, 1, 2, oGPS_PANEL

[Window01]
visible=0
ident=50
gauge00=Ardelvine_Instr!Radio_COM, 5, 5, 300

[Views]
whatever=1
)",
                                      "p.cfg");
    ASSERT_EQ(p.windows.size(), 2u);
    const WindowConfig& main = p.windows[0];
    EXPECT_EQ(main.title, "Main Panel");
    EXPECT_EQ(main.size_w, 640);
    EXPECT_EQ(main.ident, 0u);
    EXPECT_TRUE(main.visible);
    EXPECT_EQ(main.background[2], 3);
    ASSERT_EQ(main.gauges.size(), 4u);
    EXPECT_EQ(main.gauges[0].module, "Ardelvine_Instr");
    EXPECT_EQ(main.gauges[0].gauge, "Airspeed");
    EXPECT_FALSE(main.gauges[0].width.has_value());
    EXPECT_EQ(main.gauges[1].width, 80);
    EXPECT_FALSE(main.gauges[1].height.has_value());
    EXPECT_EQ(main.gauges[2].height, 19);
    EXPECT_EQ(main.gauges[2].parameters, "t RADIO_STACK_PANEL, hFUEL");
    EXPECT_EQ(main.gauges[3].parameters, "oGPS_PANEL");
    EXPECT_EQ(main.gauges[3].line, 14);
    EXPECT_EQ(p.windows[1].ident, 50u);
    EXPECT_FALSE(p.windows[1].visible);
    // No size given: as large as what the window holds.
    EXPECT_EQ(p.windows[1].size_w, 305);
}

TEST(PanelConfig, BadConfigurationsNameFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"gauge00=A!B,1,2\n", "p.cfg:1: 'gauge00' stands before any [section]"},
        {"[Window00]\ngauge00=Airspeed, 1, 2\n", "p.cfg:2: expected Module!Gauge"},
        {"[Window00]\ngauge00=M!Airspeed, 1\n", "p.cfg:2: gauge Airspeed: expected x and y"},
        {"[Window00]\ngauge00=M!Airspeed, x, 2\n", "p.cfg:2: expected a whole number for x, got 'x'"},
        {"[Window00]\ngauge00=M!Airspeed, 1, 2, -5\n", "p.cfg:2: gauge Airspeed: width must be positive"},
        {"[Window00]\nvisible=maybe\n", "p.cfg:2: expected a whole number for visible"},
        {"[Window00]\nsomething\n", "p.cfg:2: expected key=value"},
        {"[Window00\n", "p.cfg:1: expected a section name in brackets"},
        {"[Window00]\n[window00]\n", "p.cfg:2: section [window00] is defined twice"},
        {"[Window00]\nsize_mm=100,x\n", "p.cfg:2: expected a whole number for size_mm, got 'x'"},
        {"[Window00]\nsize_mm=1,2,3\n", "p.cfg:2: expected two numbers for size_mm"},
        {"[Vcockpit01]\npixel_size=20000,512\n", "p.cfg:2: pixel_size must lie in 0..16384"},
        {"[Color]\nNight=255,128\n", "p.cfg:2: expected Night=r,g,b"},
        {"[Views]\n", "p.cfg: no [WindowNN] section"},
    };
    for (const Case& c : cases) expect_refused([&] { parse_panel_config(c.text, "p.cfg"); }, c.message);
}

TEST(Scenario, Commands) {
    const auto s = parse_scenario(R"(# a comment
set 61 120.5
update
update 3   # trailing comment
ready
click Battery_Switch 5 6 right hold 4
click Fuel_Valve#2 1 2
drag Throttle_Quadrant 40 120
tooltip Battery_Switch 5 5
fail 3 on
lighting night
window RADIO_STACK_PANEL hide
atc D-EABC
snapshot after-click
)",
                                  "s.scn");
    ASSERT_EQ(s.commands.size(), 13u);
    EXPECT_EQ(s.commands[0].kind, Command::Kind::SET);
    EXPECT_EQ(s.commands[0].number, 61u);
    EXPECT_DOUBLE_EQ(s.commands[0].value, 120.5);
    EXPECT_EQ(s.commands[1].number, 1u);
    EXPECT_EQ(s.commands[2].number, 3u);
    EXPECT_EQ(s.commands[4].button, Button::RIGHT);
    EXPECT_EQ(s.commands[4].number, 4u);
    EXPECT_EQ(s.commands[5].gauge.name, "Fuel_Valve");
    EXPECT_EQ(s.commands[5].gauge.occurrence, 2);
    EXPECT_EQ(s.commands[5].button, Button::LEFT);
    EXPECT_TRUE(s.commands[8].on);
    EXPECT_TRUE(s.commands[9].on);
    EXPECT_EQ(s.commands[10].number, 50u);
    EXPECT_FALSE(s.commands[10].on);
    EXPECT_EQ(s.commands[11].text, "D-EABC");
    EXPECT_EQ(s.commands[12].line, 14);
}

TEST(Scenario, BadLinesNameFileAndLine) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"jump 3\n", "s.scn:1: unknown command 'jump'"},
        {"\nset 61\n", "s.scn:2: expected: set TOKEN VALUE"},
        {"set 61 fast\n", "s.scn:1: expected a number for the value, got 'fast'"},
        {"set 61 nan\n", "s.scn:1: expected a number for the value"},
        {"update 0\n", "s.scn:1: update count must lie in 1..1000000"},
        {"update many\n", "s.scn:1: expected a whole number for update count"},
        {"click Battery_Switch 5\n", "s.scn:1: expected: click GAUGE X Y"},
        {"click Battery_Switch 5 5 middle\n", "s.scn:1: expected left, right, both or hold N, got 'middle'"},
        {"click Battery_Switch#0 5 5\n", "s.scn:1: placement number must lie in 1..9999"},
        {"fail 3 maybe\n", "s.scn:1: expected on or off, got 'maybe'"},
        {"fail 99 on\n", "s.scn:1: failure key must lie in 1..63"},
        {"lighting dusk\n", "s.scn:1: expected night or day"},
        {"window 50 open\n", "s.scn:1: expected show or hide"},
        {"snapshot ../x\n", "s.scn:1: a snapshot name holds letters"},
    };
    for (const Case& c : cases) expect_refused([&] { parse_scenario(c.text, "s.scn"); }, c.message);
}

TEST(CommandLine, BadInputExitsWithStatusTwoAndOneLine) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"frobnicate"}, "gaugehost: unknown command 'frobnicate'"},
        {{"state"}, "gaugehost: state needs one panel configuration"},
        {{"state", "/nonexistent.cfg"}, "gaugehost: /nonexistent.cfg: no such file"},
        {{"state", "default", "--scenario"}, "gaugehost: option --scenario needs a value"},
        {{"state", "default", "--bogus"}, "gaugehost: unknown option --bogus"},
        {{"list", "--module", "/nonexistent.gau"}, "gaugehost: /nonexistent.gau: no such gauge module"},
        {{"resources", "list"}, "gaugehost: expected: gaugehost resources export DIR"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(run_cli(c.args, out, err), 2) << c.message;
        const std::string text = err.str();
        EXPECT_EQ(text.rfind(c.message, 0), 0u) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
    }
}

}  // namespace
}  // namespace ardelvine::hostapp

namespace ardelvine::hostapp {
namespace {

TEST(CommandLine, ResourcesExportWritesEveryResourceById) {
    const std::string dir = ::testing::TempDir() + "exported";
    std::ostringstream out, err;
    ASSERT_EQ(run_cli({"resources", "export", dir}, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "Wrote 197 resources of Ardelvine_Instr to " + dir + "\n");
    std::ifstream bitmap(dir + "/bitmap-1400.bmp", std::ios::binary), wave(dir + "/wave-10.wav", std::ios::binary);
    EXPECT_TRUE(bitmap.good());
    EXPECT_TRUE(wave.good());
}

}  // namespace
}  // namespace ardelvine::hostapp
