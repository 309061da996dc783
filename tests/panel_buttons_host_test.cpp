// Window buttons and the registration plate through gaugehost: a click on a
// configured button opens a hidden window and the next picture shows it, the
// plate is drawn in the colour its line asks for, and a face name the machine
// lacks falls back to a font it has.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/cli/cli.h"
#include "host/draw/fonts.h"
#include "host/load/panel_config.h"
#include "host/run/host.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;

// Pixels inside a rectangle whose colour is close to (r, g, b).
int pixels_like(const fs::path& png, int x0, int y0, int w, int h, int r, int g, int b) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    int count = 0;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        for (int y = y0; y < y0 + h && y < cairo_image_surface_get_height(s); ++y)
            for (int x = x0; x < x0 + w && x < cairo_image_surface_get_width(s); ++x) {
                std::uint32_t p;
                std::memcpy(&p, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, 4);
                const int pr = (p >> 16) & 0xFF, pg = (p >> 8) & 0xFF, pb = p & 0xFF;
                count += std::abs(pr - r) < 40 && std::abs(pg - g) < 40 && std::abs(pb - b) < 40;
            }
    }
    cairo_surface_destroy(s);
    return count;
}

TEST(PanelButtonsHost, ClickOpensAHiddenWindowAndThePictureShowsIt) {
    const fs::path dir = fs::temp_directory_path() / "ardelvine-panel-buttons";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "panel.cfg") << "[Window Titles]\nWindow01=Radio Stack\n"
                                        "[Window00]\nsize_mm=100,40\nvisible=1\n"
                                        "gauge00=Ardelvine_Instr!Radios_Toggle, 10, 10, 19, 19, tRADIO_STACK_PANEL\n"
                                        "gauge01=Ardelvine_Instr!Close_Subpanel, 40, 10, 19, 19, cRADIO_STACK_PANEL\n"
                                        "[Window01]\nsize_mm=170,70\nident=RADIO_STACK_PANEL\nvisible=0\n"
                                        "gauge00=Ardelvine_Instr!Registration, 10, 5, 150\n"
                                        "gauge01=Ardelvine_Instr!Registration, 10, 40, 150, tOPEN r0 g255 b0\n";
    std::ofstream(dir / "run.scn") << "update\nsnapshot before\n"
                                      "click Radios_Toggle 1 1\n"  // outside the key: nothing
                                      "update\nsnapshot missed\n"
                                      "click Radios_Toggle 9 9\nupdate\nsnapshot opened\n"
                                      "click Close_Subpanel 9 9\nupdate\n";
    std::ostringstream out, err;
    ASSERT_EQ(run_cli({"render", (dir / "panel.cfg").string(), "--scenario", (dir / "run.scn").string(), "--out",
                       dir.string()},
                      out, err),
              0)
        << err.str();
    EXPECT_TRUE(fs::exists(dir / "before-window-00-window0.png"));
    EXPECT_FALSE(fs::exists(dir / "before-window-01-radio-stack.png"));
    EXPECT_FALSE(fs::exists(dir / "missed-window-01-radio-stack.png"));
    const fs::path opened = dir / "opened-window-01-radio-stack.png";
    ASSERT_TRUE(fs::exists(opened));
    EXPECT_GT(pixels_like(opened, 10, 40, 150, 25, 0, 255, 0), 40) << "green text on the second plate";
    EXPECT_EQ(pixels_like(opened, 10, 5, 150, 25, 0, 255, 0), 0);
    EXPECT_FALSE(fs::exists(dir / "window-01-radio-stack.png")) << "closed again by the second button";
    if (!HasFailure()) fs::remove_all(dir);
}

// A window button's tooltip says when its click shows nothing here: a view
// of the simulator's own, or windows this panel lacks.
TEST(PanelButtonsHost, TooltipsSayWhatAClickShowsNothingOf) {
    struct Case {
        const char* line;
        const char* tooltip;
    } cases[] = {
        {"Radios_Toggle, 0, 0, 19, 19, t300", "Display/Hide the radio stack"},
        {"Radios_Toggle, 0, 0, 19, 19, tRADIO_STACK_PANEL", "Display/Hide the radio stack (no window of this panel answers it)"},
        {"Fuel_Toggle, 0, 0, 19, 19, o300 hTOGGLE_FUEL_WINDOW", "Display/Hide the fuel subpanel"},
        {"Close_Subpanel, 0, 0, 19, 19, c300", "Close the subpanel"},
        {"Electricity_Toggle, 0, 0, 19, 19", "Display/Hide the electricity switches"},  // the main panel
        {"GPS_Toggle, 0, 0, 19, 19, hTOGGLE_GPS_WINDOW", "Display/Hide the GPS (a view the simulator shows; this host does not)"},
        {"Landing_View_Toggle, 0, 0, 19, 19, p1", "Switch between Normal and Landing view (a view the simulator shows; this host does not)"},
        {"Map_Toggle, 0, 0, 19, 19", "Display/Hide the map (a view the simulator shows; this host does not)"},
        {"Compass_Toggle, 0, 0, 19, 19, tCOMPASS_PANEL # t300", "Display/Hide the compass (no window of this panel answers it)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Host host(parse_panel_config(std::string("[Window00]\nsize_mm=100,40\ngauge00=Ardelvine_Instr!") + c.line +
                                         "\n[Window01]\nsize_mm=50,50\nident=300\nvisible=0\n",
                                     "buttons.cfg"));
        host.update();
        const std::string name(c.line, std::strchr(c.line, ',') - c.line);
        EXPECT_EQ(host.tooltip(*host.find({name, 1}), 9, 9), c.tooltip);
    }
}

TEST(PanelButtonsHost, FacesTheMachineLacksFallBackToLiberationSans) {
    const std::pair<const char*, const char*> cases[] = {
        {"Arial", "Liberation Sans"},
        {"", "Liberation Sans"},
        {"Quartz", "DSEG7 Classic"},
        {"DSEG7 Classic", "DSEG7 Classic"},
        {"Courier New", "Courier New"},  // fontconfig draws it in its metric twin, Liberation Mono
        {"Liberation Mono", "Liberation Mono"},
        {"No Such Face 1234", kFallbackFont},
        {"\xff\xfe", kFallbackFont},
    };
    for (const auto& [face, family] : cases) EXPECT_EQ(font_for_face(face), family) << face;
}

}  // namespace
}  // namespace ardelvine::hostapp
