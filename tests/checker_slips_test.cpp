// The slips a panel designer makes that the checker names: window buttons
// whose click would act on the main panel or on no window of the panel, a
// gauge key given twice, faces on top of one another, a misspelled gauge;
// and a panel with several lines that cannot be read has each one reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/cli/cli.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;

struct Checked {
    int status;
    std::string out;
};

Checked check(const std::string& name, const std::string& panel) {
    const fs::path path = fs::path(::testing::TempDir()) / name;
    std::ofstream(path) << panel;
    std::ostringstream out, err;
    const int status = run_cli({"check", path.string()}, out, err);
    std::string text = out.str() + err.str();
    // The report names the file as given; the expectations name it "panel.cfg".
    for (std::size_t at; (at = text.find(path.string())) != std::string::npos;) text.replace(at, path.string().size(), "panel.cfg");
    return {status, text};
}

TEST(CheckerSlips, OneOfEach) {
    const Checked c = check("slips.cfg", R"([Window00]
size_mm=400,200
gauge00=Ardelvine_Instr!Radios_Toggle, 10, 10, 19, 19, t RADIO_STACK_PANEL
gauge01=Ardelvine_Instr!Throttle_Toggle, 40, 10, 19, 19, tTHROTLE_PANEL
gauge02=Ardelvine_Instr!Fuel_Toggle, 70, 10
gauge03=Ardelvine_Instr!GPS_Toggle, 100, 10, 19, 19, oGPS_PANEL
gauge04=Ardelvine_Instr!Compass_Toggle, 130, 10, 19, 19, h TOGGLE_COMPASS_WINDOW tTHROTTLE_PANEL
gauge05=Ardelvine_Instr!Airspeed, 200, 10, 100, 100
gauge05=Ardelvine_Instr!Altimeter, 280, 60, 100, 96
gauge07=Ardelvine_Instr!Close_Subpanel, 160, 10, 19, 19, c10 // a number needs no name
[Window01]
size_mm=150,209
visible=0
ident=THROTTLE_PANEL
)");
    EXPECT_EQ(c.status, 0) << c.out;
    EXPECT_EQ(c.out,
              "panel.cfg:3: parameters: 't RADIO_STACK_PANEL' in Radios_Toggle: with the space the argument is no window "
              "name but a number without digits: a click toggles window 0, the main panel; write tRADIO_STACK_PANEL\n"
              "panel.cfg:4: button: tTHROTLE_PANEL in Throttle_Toggle names no window: it reads as 0, so a click toggles "
              "the main panel; did you mean THROTTLE_PANEL?\n"
              "panel.cfg:5: button: Fuel_Toggle has no parameter string: a click toggles window 0, the main panel (name a "
              "window: tRADIO_STACK_PANEL)\n"
              "panel.cfg:6: button: oGPS_PANEL in GPS_Toggle: no window of this panel has ident 225 (GPS_PANEL), so a "
              "click opens nothing here\n"
              "panel.cfg:7: parameters: 'h TOGGLE_COMPASS_WINDOW' in Compass_Toggle: with the space the argument is no "
              "tooltip name but a number without digits, which removes the tooltip; write hTOGGLE_COMPASS_WINDOW\n"
              "panel.cfg:8: size: gauge Airspeed is placed 100x100 (its face 300x300): its smallest legend is 3.1 pixels "
              "high, under 6; at least 196 wide reads\n"
              "panel.cfg:9: warning: gauge05 is given again in [Window00] (first at line 8): this host places both, the "
              "simulator reads only one; give each gauge line its own number\n"
              "panel.cfg:9: faces: faces of Altimeter and Airspeed (line 8) overlap by 20x50 at 280,60: Altimeter is "
              "drawn over it\n"
              "panel.cfg:9: size: gauge Altimeter is placed 100x96 (its face 262x254): its smallest legend is 2.6 pixels "
              "high, under 6; at least 228 wide reads\n"
              "2 windows, 8 gauges placed: 9 findings\n");
}

TEST(CheckerSlips, EveryUnreadableLineIsReported) {
    const Checked c = check("two-errors.cfg", R"([Window00]
size_mm=300,300
gauge00=Ardelvine_Instr!Batery_Switch, 0, 0
gauge01=Ardelvine_Instr!Airspeed, left, 0
gauge02=Ardelvine_Instr!Airspeed, 100, 0
gauge03=Ardelvine_Instr!Airspeed, 150, 0
)");
    EXPECT_EQ(c.status, 2);
    EXPECT_EQ(c.out,
              "panel.cfg:3: error: module Ardelvine_Instr has no gauge named 'Batery_Switch'; did you mean "
              "Battery_Switch?\n"
              "panel.cfg:4: error: expected a whole number for x, got 'left'\n"
              "panel.cfg:5: size: gauge Airspeed is placed 100x100 (its face 300x300): its smallest legend is 3.1 pixels "
              "high, under 6; at least 196 wide reads\n"
              "panel.cfg:6: faces: faces of Airspeed and Airspeed (line 5) overlap by 50x100 at 150,0: Airspeed is "
              "drawn over it\n"
              "panel.cfg:6: size: gauge Airspeed is placed 100x100 (its face 300x300): its smallest legend is 3.1 pixels "
              "high, under 6; at least 196 wide reads\n"
              "1 windows, 2 gauges placed: 3 findings, 2 lines that cannot be read\n");
}

}  // namespace
}  // namespace ardelvine::hostapp
