// The renderer through the real module: frames redrawn piece by piece equal
// fresh ones, needles point where their tables say, the render command writes
// every window, and twice the scale draws the finer art.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cairo.h>
#include <dlfcn.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "host/cli/cli.h"
#include "host/run/host.h"
#include "host/load/needle.h"
#include "host/draw/render.h"
#include "host/load/default_panel.h"
#include "host/run/window_files.h"
#include "model/tokens.h"
#include "tests/pictures.h"

using namespace ardelvine;
using namespace ardelvine::hostapp;

namespace {

// ---------------------------------------------------------------- the real module

// A panel whose one window of `size` holds one gauge of the module.
std::string one_gauge_panel(const std::string& gauge, int size, const std::string& colour = "0,0,0") {
    return "[Window Titles]\nWindow00=Test\n[Window00]\nsize_mm=" + std::to_string(size) + "," +
           std::to_string(size) + "\nident=MAIN_PANEL\nbackground_color=" + colour +
           "\ngauge00=Ardelvine_Instr!" + gauge + "\n";
}

ElementState& first_needle(Placement& p) {
    for (ElementState& s : p.elements())
        if (s.element->kind == ElementKind::NEEDLE) return s;
    throw std::runtime_error("no needle");
}

// Frame after frame only the box where the horizon's card, bank pointer and
// bars moved is redrawn; the picture must come out exactly as a renderer
// drawing the same attitude from nothing draws it, at any scale.
TEST(RenderModule, HorizonRedrawnFrameByFrameEqualsOneDrawnAfresh) {
    const std::string panel = one_gauge_panel("Attitude, 20, 10, 160", 200, "10,20,30");
    struct Pose {
        double bank, pitch, bars;
    } poses[] = {{0, 0, 50}, {1.5, 0.5, 50}, {-25, 8, 50}, {-26.25, 8.75, 80}, {170, -55, 20}, {33, 12, 0}};
    for (const double scale : {1.0, 1.7}) {
        Host host(parse_panel_config(panel, "horizon.cfg"));
        const WindowConfig& window = host.panel().windows[0];
        Renderer running(host_bitmaps(host), scale);
        for (const Pose& p : poses) {
            host.simulation().set_token(tokens::ATTITUDE_BANK, p.bank);
            host.simulation().set_token(tokens::ATTITUDE_PITCH, p.pitch);
            host.simulation().set_token(tokens::ATTITUDE_BARS_POSITION, p.bars);
            host.update();
            const std::vector<unsigned char> redrawn = pixels_of(running.draw(window, host.placements(), {}));
            EXPECT_EQ(running.gauges_redrawn(), 1u);
            Renderer fresh(host_bitmaps(host), scale);
            EXPECT_TRUE(redrawn == pixels_of(fresh.draw(window, host.placements(), {})))
                << "bank " << p.bank << ", pitch " << p.pitch << ", scale " << scale;
        }
    }
}

TEST(RenderModule, AirspeedNeedleTipLiesWhereTheTableSays) {
    Host host(parse_panel_config(one_gauge_panel("Airspeed, 0, 0, 300", 300), "airspeed.cfg"));
    Renderer renderer(host_bitmaps(host));
    const WindowConfig& window = host.panel().windows[0];
    Placement& airspeed = *host.placements()[0];
    // Table points of the needle at these speeds.
    struct Case {
        double knots;
        int x, y;
    } cases[] = {{0, 150, 32}, {35, 182, 33}, {60, 235, 66}, {120, 150, 273}, {330, 148, 217}};
    for (const Case& c : cases) {
        host.simulation().set_token(tokens::AIRSPEED_INDICATED, c.knots);
        host.update();
        ElementState& needle = first_needle(airspeed);
        const std::vector<unsigned char> with = pixels_of(renderer.draw(window, host.placements(), {}));
        needle.visible = false;
        cairo_surface_t* without = renderer.draw(window, host.placements(), {});
        const double a = direction_deg(150, 150, c.x, c.y) * std::numbers::pi / 180.0;
        const auto at = [&](const std::vector<unsigned char>& px, double angle, double r) {
            const int x = static_cast<int>(std::lround(150 + r * std::sin(angle)));
            const int y = static_cast<int>(std::lround(150 - r * std::cos(angle)));
            std::uint32_t p;
            std::memcpy(&p, px.data() + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(without) + 4 * x, 4);
            return p;
        };
        const std::vector<unsigned char> bare = pixels_of(without);
        EXPECT_NE(at(with, a, 75), at(bare, a, 75)) << c.knots << " kt: nothing drawn along the needle";
        EXPECT_EQ(at(with, a + std::numbers::pi / 2, 75), at(bare, a + std::numbers::pi / 2, 75))
            << c.knots << " kt: the needle shows across its own direction";
        needle.visible = true;
    }
}

TEST(RenderModule, FrameAfterOneChangeMatchesAFreshRender) {
    // The vertical speed indicator lies over the airspeed indicator's right
    // side; the tachometer stands apart.
    Host host(parse_panel_config(R"([Window00]
size_mm=480,160
ident=MAIN_PANEL
background_color=10,20,30
gauge00=Ardelvine_Instr!Airspeed, 0, 0, 160
gauge01=Ardelvine_Instr!Vertical_Speed, 110, 20, 140
gauge02=Ardelvine_Instr!Tachometer, 320, 0, 160
)", "overlapping.cfg"));
    const WindowConfig& window = host.panel().windows[0];
    Renderer running(host_bitmaps(host));
    host.update();
    running.draw(window, host.placements(), {});
    struct Case {
        const char* what;
        std::uint32_t token;
        double value;
    } cases[] = {
        {"the gauge below another", tokens::AIRSPEED_INDICATED, 95},
        {"the gauge above another", tokens::VERTICAL_SPEED, 1000},
        {"a gauge apart", tokens::ENGINE_RPM, 2100},
    };
    for (const Case& c : cases) {
        host.simulation().set_token(c.token, c.value);
        host.update();
        const std::vector<unsigned char> incremental = pixels_of(running.draw(window, host.placements(), {}));
        EXPECT_EQ(running.gauges_redrawn(), 1u) << c.what;
        Renderer fresh(host_bitmaps(host));
        EXPECT_TRUE(incremental == pixels_of(fresh.draw(window, host.placements(), {}))) << c.what;
    }
}

TEST(RenderCommand, WritesEveryVisibleWindowAtScale) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("ardelvine-render-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    const std::filesystem::path scenario = dir / "s.txt";
    std::filesystem::create_directories(dir);
    {
        std::ofstream(scenario) << "update\nsnapshot first\nwindow RADIO_STACK_PANEL hide\nupdate\n";
    }
    std::ostringstream out, err;
    const int status = run_cli({"render", "default", "--scenario", scenario.string(), "--out", dir.string(),
                                "--scale", "0.5", "--areas"},
                               out, err);
    ASSERT_EQ(status, 0) << err.str();
    for (const char* name : {"first-window-00-main-panel.png", "first-window-01-radio-stack.png",
                             "window-00-main-panel.png", "window-02-throttle-quadrant.png"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
        EXPECT_NE(out.str().find(name), std::string::npos) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "window-01-radio-stack.png")) << "a hidden window is not drawn";
    cairo_surface_t* png = cairo_image_surface_create_from_png((dir / "window-00-main-panel.png").c_str());
    EXPECT_EQ(cairo_image_surface_get_width(png), 980);
    EXPECT_EQ(cairo_image_surface_get_height(png), 595);
    cairo_surface_destroy(png);

    EXPECT_EQ(run_cli({"render", "default", "--lighting", "dusk"}, out, err), 2);
    EXPECT_EQ(run_cli({"render", "default", "--scale", "0"}, out, err), 2);
    std::filesystem::remove_all(dir);
}


// Mean absolute Laplacian of a picture's grey levels: how much fine detail
// (sharp edges) it holds.
double sharpness(cairo_surface_t* pic) {
    const int w = cairo_image_surface_get_width(pic), h = cairo_image_surface_get_height(pic);
    const auto grey = [&](int x, int y) {
        const std::uint32_t p = pixel(pic, x, y);
        return 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
    };
    double sum = 0;
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x)
            sum += std::abs(4 * grey(x, y) - grey(x - 1, y) - grey(x + 1, y) - grey(x, y - 1) - grey(x, y + 1));
    return sum / ((w - 2.0) * (h - 2.0));
}

// A picture enlarged twice, bilinear.
Surface enlarged_twice(cairo_surface_t* pic) {
    Surface big(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2 * cairo_image_surface_get_width(pic),
                                           2 * cairo_image_surface_get_height(pic)));
    cairo_t* cr = cairo_create(big.get());
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, pic, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_destroy(cr);
    return big;
}

// The built-in panel drawn at scale 2 from the finer drawings beside the
// module is much sharper than its 1x picture enlarged, and where nothing
// moves it is the 2x art itself.
TEST(RenderModule, TwiceTheScaleDrawsTheFinerArt) {
    {
        Host host(parse_panel_config(kDefaultPanel, "(built-in panel)"));
        host.update();
        Renderer at_1x(host_bitmaps(host)), finer(host_bitmaps(host), 2.0, host_fine_bitmaps(host));
        for (const WindowConfig& window : host.panel().windows) {
            const double blurred = sharpness(enlarged_twice(at_1x.draw(window, host.placements(), {})).get());
            EXPECT_GE(sharpness(finer.draw(window, host.placements(), {})), 1.3 * blurred) << window.title;
        }
    }

    // The tachometer alone at its face's own size, all but its face hidden.
    Host tacho(parse_panel_config(one_gauge_panel("Tachometer, 0, 0, 240", 240), "tachometer.cfg"));
    tacho.update();
    Placement& gauge = *tacho.placements()[0];
    for (std::size_t i = 1; i < gauge.elements().size(); ++i) gauge.elements()[i].visible = false;
    Renderer renderer(host_bitmaps(tacho), 2.0, host_fine_bitmaps(tacho));
    cairo_surface_t* pic = renderer.draw(tacho.panel().windows[0], tacho.placements(), {});
    const std::string art = (std::filesystem::path(fine_pack_of(tacho.module().path())) /
                             ("bitmap-" + std::to_string(gauge.elements()[0].element->bitmap) + "@2x.bmp")).string();
    cairo_surface_t* face = decode_bitmap_file(art);
    ASSERT_NE(face, nullptr) << art;
    ASSERT_EQ(cairo_image_surface_get_width(face), 480);
    std::size_t compared = 0, differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 480; ++x) {
            const std::uint32_t want = pixel(face, x, y), got = pixel(pic, x, y);
            if ((want >> 24) != 0xFF) continue;  // the window's colour shows through
            ++compared;
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF)) > 2) {
                    ++differing;
                    break;
                }
        }
    cairo_surface_destroy(face);
    EXPECT_GT(compared, 480u * 480u / 2);
    EXPECT_EQ(differing, 0u);
}

}  // namespace
