// Panels as aircraft designers write them: a panel of the kind that ships with
// an aircraft (other modules' gauges beside ours, a one-number size with a
// background bitmap, odd case and tabs, a virtual cockpit, a night colour)
// runs, shows the other gauges as outlines and lists them, warns with file and
// line, and the checker finds what a designer would want to hear of.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <chrono>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/cli/checker.h"
#include "host/cli/cli.h"
#include "host/load/error.h"
#include "host/run/host.h"
#include "host/live/live_server.h"
#include "host/load/panel_config.h"
#include "host/load/text.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

struct Colour {
    int r, g, b;
};

// An uncompressed bottom-up BMP, 24 bits, or 8 bits with a colour table: its
// top half one colour, its bottom half another.
std::string bmp(int w, int h, Colour top, Colour bottom, int bits = 24) {
    const int stride = (w * bits / 8 + 3) / 4 * 4;
    const int palette = bits == 8 ? 2 * 4 : 0;
    std::string b = "BM";
    auto le = [&](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    le(static_cast<std::uint32_t>(54 + palette + stride * h), 4), le(0, 4), le(54 + palette, 4);
    le(40, 4), le(static_cast<std::uint32_t>(w), 4), le(static_cast<std::uint32_t>(h), 4), le(1, 2),
        le(static_cast<std::uint32_t>(bits), 2);
    le(0, 4), le(static_cast<std::uint32_t>(stride * h), 4), le(2835, 4), le(2835, 4);
    le(bits == 8 ? 2 : 0, 4), le(0, 4);
    if (bits == 8)
        for (const Colour& c : {top, bottom}) b += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r), 0};
    for (int row = h - 1; row >= 0; --row) {  // stored bottom-up
        const Colour& c = row < h / 2 ? top : bottom;
        std::string line;
        for (int x = 0; x < w; ++x) {
            if (bits == 8) line += static_cast<char>(row < h / 2 ? 0 : 1);
            else line += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
        }
        line.resize(static_cast<std::size_t>(stride), '\0');
        b += line;
    }
    return b;
}

// A PNG read once, for its size and the colours of its parts.
class Picture {
public:
    explicit Picture(const fs::path& png) : s_(cairo_image_surface_create_from_png(png.c_str())) {}
    ~Picture() { cairo_surface_destroy(s_); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    std::pair<int, int> size() const { return {cairo_image_surface_get_width(s_), cairo_image_surface_get_height(s_)}; }
    // The mean colour of a rectangle; -1s when the picture could not be read.
    Colour mean(int x0, int y0, int w, int h) const {
        long r = 0, g = 0, b = 0, n = 0;
        if (cairo_surface_status(s_) == CAIRO_STATUS_SUCCESS) {
            const unsigned char* data = cairo_image_surface_get_data(s_);
            const int stride = cairo_image_surface_get_stride(s_);
            for (int y = y0; y < y0 + h && y < size().second; ++y)
                for (int x = x0; x < x0 + w && x < size().first; ++x) {
                    std::uint32_t p;
                    std::memcpy(&p, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, 4);
                    r += (p >> 16) & 0xFF, g += (p >> 8) & 0xFF, b += p & 0xFF, ++n;
                }
        }
        if (n == 0) return {-1, -1, -1};
        return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
    }

private:
    cairo_surface_t* s_;
};

void write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct CliRun {
    int status;
    std::string out, err;
};

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = run_cli(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines = split(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// The trainer panel beside its background, written in another case than the
// panel names it: 400x150, so the 800-wide main panel is 300 high.
class TrainerPanel : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ardelvine-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy_file(fs::path(ARD_SOURCE_DIR) / "tests/panels/trainer.cfg", dir_ / "trainer.cfg");
        write(dir_ / "PANEL_Background.BMP", bmp(400, 150, kTop, kBottom));
        panel_ = (dir_ / "trainer.cfg").string();
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir_);
    }
    // The panel with the line that starts with `start` replaced.
    void replace_line(const std::string& start, const std::string& line) {
        std::string text = read_file(panel_);
        const std::size_t at = text.find(start);
        text.replace(at, text.find('\n', at) - at, line);
        write(panel_, text);
    }

    static constexpr Colour kTop{40, 90, 140}, kBottom{150, 110, 60};
    fs::path dir_;
    std::string panel_;
};

TEST_F(TrainerPanel, StateListsOurGaugesAndTheOthersAndWarnsOnStderr) {
    const CliRun run = cli({"state", panel_});
    ASSERT_EQ(run.status, 0) << run.err;
    const json state = json::parse(run.out);  // stdout is nothing but the JSON

    struct Placed {
        const char* name;
        const char* where;  // "window" or "vcockpit"
        int at, x, y, w;
    } placed[] = {
        {"Airspeed", "window", 0, 20, 70, 160},      {"Altimeter", "window", 0, 200, 70, 160},
        {"Battery_Switch", "window", 0, 380, 80, 30}, {"Radios_Toggle", "window", 0, 730, 10, 19},
        {"GPS_Toggle", "window", 0, 710, 10, 19},    {"Radio_COM", "window", 50, 0, 0, 350},
        // The virtual cockpit maps 512 design units onto 1024 texture pixels.
        {"Airspeed", "vcockpit", 1, 0, 0, 512},      {"Waltham_Clock", "vcockpit", 1, 512, 0, 512},
    };
    ASSERT_EQ(state["gauges"].size(), std::size(placed));
    for (std::size_t i = 0; i < std::size(placed); ++i) {
        const json& g = state["gauges"][i];
        const Placed& p = placed[i];
        EXPECT_EQ(g["name"], p.name);
        EXPECT_EQ(g[p.where], p.at) << p.name;
        EXPECT_EQ(g.count(std::string(p.where) == "window" ? "vcockpit" : "window"), 0u) << p.name;
        EXPECT_EQ(g["x"], p.x) << p.name;
        EXPECT_EQ(g["y"], p.y) << p.name;
        EXPECT_EQ(g["w"], p.w) << p.name;
    }

    const json expected_unloaded = json::parse(R"([
        {"module": "SimIcons1024", "gauge": "Kneeboard Icon", "window": 0, "x": 752, "y": 10, "w": 18, "h": 18},
        {"module": "SimIcons1024", "gauge": "ATC Icon", "window": 0, "x": 772, "y": 10, "w": 18, "h": 18},
        {"module": "fs9gps", "gauge": "gps_500", "window": 0, "x": 440, "y": 80, "w": 300, "h": 190},
        {"module": "Bendix_King_Radio", "gauge": "Bendix-King Radio Nav-Comm 1", "window": 50, "x": 0, "y": 140, "w": 350, "h": 95},
        {"module": "fs9gps", "gauge": "gps_500", "window": 225, "x": 0, "y": 0, "w": 456, "h": 290},
        {"module": "Flight_Recorder", "gauge": "FDR Display", "vcockpit": 1, "x": 0, "y": 512, "w": 1024, "h": 256}])");
    EXPECT_EQ(state["unloaded"], expected_unloaded);
    EXPECT_EQ(state["windows"], json::parse(R"([{"ident": 0, "visible": true}, {"ident": 50, "visible": false},
                                                {"ident": 225, "visible": false}])"));

    // One line per slip and per other module, in line order, naming file and line.
    const std::string prefix = "gaugehost: " + panel_ + ":";
    const std::vector<std::string> expected = {
        prefix + "20: warning: unknown key 'windowsize_ratio' in [Window00], ignored",
        prefix + "25: warning: 2 gauges of module 'SimIcons1024' cannot run here (this host runs Ardelvine_Instr): shown as outlines",
        prefix + "30: warning: 2 gauges of module 'fs9gps' cannot run here (this host runs Ardelvine_Instr): shown as outlines",
        prefix + "38: warning: 1 gauge of module 'Bendix_King_Radio' cannot run here (this host runs Ardelvine_Instr): shown as outlines",
        prefix + "60: warning: 1 gauge of module 'Flight_Recorder' cannot run here (this host runs Ardelvine_Instr): shown as outlines",
    };
    EXPECT_EQ(lines_of(run.err), expected);
}

TEST_F(TrainerPanel, StrictRefusesWhatWouldOtherwiseBeWarnings) {
    for (const char* command : {"state", "check", "render"}) {
        const CliRun run = cli({command, panel_, "--strict", "--out", (dir_ / "out").string()});
        EXPECT_EQ(run.status, 2) << command;
        const std::vector<std::string> err = lines_of(run.err);
        ASSERT_FALSE(err.empty()) << command;
        // The checker also counts the trainer's gauges placed too small or too large to read well.
        const std::string refused = std::string(command) == "check" ? "9 findings" : "5 warnings";
        EXPECT_EQ(err.back(), "gaugehost: " + panel_ + ": " + refused + ", refused under --strict") << command;
        EXPECT_FALSE(fs::exists(dir_ / "out")) << command << ": refused before anything was drawn";
    }
    // Without the slips nothing is left to refuse.
    replace_line("windowsize_ratio=", "");
    std::string text = read_file(panel_);
    std::string ours;
    for (const std::string& line : split(text, '\n'))
        if (line.find('!') == std::string::npos || line.find("Ardelvine_Instr!") != std::string::npos) ours += line + "\n";
    write(panel_, ours);
    const CliRun clean = cli({"state", panel_, "--strict"});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.err, "");
}

TEST_F(TrainerPanel, PicturesShowTheBackgroundOutlinesAndTheVirtualCockpit) {
    const fs::path out = dir_ / "out";
    const CliRun run = cli({"render", panel_, "--out", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(fs::exists(out / "window-00-main-panel.png"));
    ASSERT_TRUE(fs::exists(out / "vcockpit-01.png"));
    EXPECT_FALSE(fs::exists(out / "window-01-radio-stack.png")) << "hidden";
    const Picture main(out / "window-00-main-panel.png"), vc(out / "vcockpit-01.png");
    EXPECT_EQ(main.size(), std::make_pair(800, 300)) << "the height follows the bitmap's proportions";
    EXPECT_EQ(vc.size(), std::make_pair(1024, 1024)) << "the texture's pixel_size";

    // The bitmap stretched over the whole window, right way up, where no gauge stands.
    const Colour top = main.mean(5, 5, 10, 10), bottom = main.mean(5, 280, 10, 10);
    EXPECT_NEAR(top.r, kTop.r, 3);
    EXPECT_NEAR(top.b, kTop.b, 3);
    EXPECT_NEAR(bottom.r, kBottom.r, 3);
    EXPECT_NEAR(bottom.b, kBottom.b, 3);

    // The GPS outline: a dashed amber frame and a translucent grey inside,
    // over the background; the recorder's on the texture, where nothing else is.
    const Colour inside = main.mean(560, 200, 40, 40);
    int amber = 0;  // dashes along the top edge, 300 long
    for (int x = 440; x < 740; ++x) {
        const Colour c = main.mean(x, 80, 1, 1);
        amber += c.r > 200 && c.b < 120;
    }
    EXPECT_GT(amber, 100);
    EXPECT_LT(amber, 250) << "dashed";
    EXPECT_GT(inside.r, kBottom.r - 60);
    EXPECT_LT(std::abs(inside.r - kBottom.r) + std::abs(inside.b - kBottom.b), 140) << "the background shows through";
    EXPECT_NE(inside.r, kBottom.r);
    const Colour recorder = vc.mean(200, 600, 100, 100), empty = vc.mean(200, 900, 100, 100);
    EXPECT_GT(recorder.r + recorder.g + recorder.b, empty.r + empty.g + empty.b + 60);
}

TEST_F(TrainerPanel, TheNightColourTintsThePanelLights) {
    write(dir_ / "lights.scn", "set 10 1\nupdate\n");  // panel lights on
    auto lit_airspeed = [&](const std::string& night) {
        replace_line("Night=", night);
        const fs::path out = dir_ / night;
        const CliRun run = cli({"render", panel_, "--lighting", "night", "--scenario", (dir_ / "lights.scn").string(),
                             "--out", out.string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return Picture(out / "window-00-main-panel.png").mean(20, 70, 160, 160);
    };
    const Colour red = lit_airspeed("Night=255,60,60"), blue = lit_airspeed("Night=60,60,255");
    EXPECT_GT(red.r, red.b + 20);
    EXPECT_GT(blue.b, blue.r + 20);
}

TEST(PanelReading, LenientAsTheSimulatorIs) {
    const PanelConfig p = parse_panel_config(
        "\xEF\xBB\xBF[WINDOW TITLES]\r\n"
        "window00 = Main\t\r\n"
        "[window00]\n"
        "\tSIZE_MM = 640 ,\t480\t; the panel\n"
        "Background_Color=1, 2 ,3 // grey\n"
        "IDENT=radio_stack_panel\n"  // names are written in capitals
        "gauge00=Other Module!Some Gauge , 10 ,20, 30, 40, a;b // a comment\n"
        "gauge01=Ardelvine_Instr!Airspeed,\t1,\t2\t\n"
        "gauge02=\n"
        "VIEW_FORWARD=1\n"
        "[Window01]\n"
        "file_1024=small.bmp\n"
        "FILE=Panel.bmp\n"
        "file_1600=large.bmp\n"
        "size_mm=300\n"
        "ident=MAIN_PANEL\n"
        "Position=9\n"
        "ZORDER=3\n"
        "gauge00=Ardelvine_Instr!Airspeed, 0, 0, 100, 120\n"
        "[Window Titles]\n"
        "Title=x\n"
        "[Vcockpit02]\n"
        "size_mm=256,256\n"
        "[Colour]\n"
        "night=10,20,30\n",
        "p.cfg");
    ASSERT_EQ(p.windows.size(), 3u);
    const WindowConfig& main = p.windows[0];
    EXPECT_EQ(main.title, "Main");
    EXPECT_EQ(main.size_w, 640);
    EXPECT_EQ(main.size_h, 480);
    EXPECT_EQ(main.background, (RgbBytes{1, 2, 3}));
    EXPECT_EQ(main.ident, 0u) << "an unknown name leaves the ident alone: a warning";
    ASSERT_EQ(main.gauges.size(), 2u);
    EXPECT_EQ(main.gauges[0].module, "Other Module");
    EXPECT_EQ(main.gauges[0].gauge, "Some Gauge");
    EXPECT_EQ(main.gauges[0].height, 40);
    EXPECT_EQ(main.gauges[0].parameters, "a;b");
    EXPECT_EQ(main.gauges[1].y, 2);
    const WindowConfig& second = p.windows[1];
    EXPECT_EQ(second.background_file, "Panel.bmp") << "file= wins over the sized ones";
    EXPECT_EQ(second.background_line, 13);
    EXPECT_EQ(second.ident, 0u) << "two windows share the main panel's ident";
    EXPECT_TRUE(second.size_given);
    EXPECT_FALSE(second.height_given);
    EXPECT_EQ(second.position, -1) << "no place on the screen: as if not given";
    EXPECT_EQ(second.zorder, 3);
    EXPECT_TRUE(p.windows[2].vcockpit);
    EXPECT_EQ(p.windows[2].index, 2);
    EXPECT_EQ(p.night_colour, (RgbBytes{10, 20, 30}));

    struct Expected {
        int line;
        const char* text;
    } warnings[] = {
        {6, "ident 'radio_stack_panel' is no window name this host knows; Window00 keeps ident 0"},
        {9, "'gauge02' places nothing, ignored"},
        {10, "unknown key 'view_forward' in [Window00], ignored"},
        {17, "position=9 is no place on the screen (0 to 8), ignored"},
        {21, "'title' in [Window Titles] names no window, ignored"},
    };
    ASSERT_EQ(p.warnings.size(), std::size(warnings));
    for (std::size_t i = 0; i < std::size(warnings); ++i) {
        EXPECT_EQ(p.warnings[i].line, warnings[i].line);
        EXPECT_EQ(p.warnings[i].text, warnings[i].text);
    }
}

TEST(PanelReading, ASemicolonInAGaugeLineIsACommentUntilItsParametersBegin) {
    struct Case {
        const char* line;
        std::optional<int> width, height;
        const char* parameters;
    } cases[] = {
        {"Ardelvine_Instr!Airspeed, 1, 2, 160 ; the ASI", 160, std::nullopt, ""},
        {"Ardelvine_Instr!Airspeed, 1, 2, 160, 150\t;", 160, 150, ""},
        {"Ardelvine_Instr!Airspeed, 1, 2;160", std::nullopt, std::nullopt, ""},
        {"Ardelvine_Instr!Airspeed, 1, 2, ; nothing more", std::nullopt, std::nullopt, ""},
        {"Ardelvine_Instr!Fuel_Toggle, 1, 2, 19, 19, tGPS_PANEL;oCOMPASS_PANEL", 19, 19, "tGPS_PANEL;oCOMPASS_PANEL"},
        {"Ardelvine_Instr!Fuel_Toggle, 1, 2, a ; b, c", std::nullopt, std::nullopt, "a ; b, c"},
    };
    for (const Case& c : cases) {
        const PanelConfig p = parse_panel_config(std::string("[Window00]\ngauge00=") + c.line + "\n", "p.cfg");
        ASSERT_EQ(p.windows[0].gauges.size(), 1u) << c.line;
        const GaugeLine& g = p.windows[0].gauges[0];
        EXPECT_EQ(g.y, 2) << c.line;
        EXPECT_EQ(g.width, c.width) << c.line;
        EXPECT_EQ(g.height, c.height) << c.line;
        EXPECT_EQ(g.parameters, c.parameters) << c.line;
    }
    const PanelConfig empty = parse_panel_config("[Window00]\ngauge00=  ; retired\n", "p.cfg");
    EXPECT_TRUE(empty.windows[0].gauges.empty());
    ASSERT_EQ(empty.warnings.size(), 1u);
    EXPECT_EQ(empty.warnings[0].text, "'gauge00' places nothing, ignored");
}

// Backgrounds come from the panel's own folder alone: a name leading out of it
// by `..`, an absolute path, a drive or a symbolic link is not opened (`serve
// --bind` would show any bitmap the host can read to the network).
TEST(PanelReading, BackgroundsFoundBesideThePanelWhateverTheirCase) {
    const fs::path root = fs::temp_directory_path() / "ardelvine-backgrounds";
    const fs::path dir = root / "panel";
    fs::remove_all(root);
    fs::create_directories(dir / "Art");
    fs::create_directories(root / "outside");
    write(dir / "Art" / "WIDE.bmp", bmp(200, 50, {9, 9, 9}, {9, 9, 9}, 8));
    write(dir / "tall.BMP", bmp(50, 100, {9, 9, 9}, {9, 9, 9}));
    write(dir / "broken.bmp", "BM not really");
    write(root / "outside" / "x.bmp", bmp(50, 100, {9, 9, 9}, {9, 9, 9}));
    fs::create_symlink(root / "outside" / "x.bmp", dir / "link.bmp");
    fs::create_directory_symlink(root / "outside", dir / "linked");
    fs::create_symlink(dir / "tall.BMP", dir / "Art" / "near.bmp");
    const std::string outside = "lies outside the panel's folder";
    struct Case {
        std::string lines;
        int height;          // of a window 100 wide
        std::string warning;  // after "background bitmap NAME "; empty: none
    } cases[] = {
        {"file=art\\wide.bmp\nsize_mm=100\n", 25, ""},
        {"file=art/Wide.BMP\nsize_mm=100\n", 25, ""},
        {"file=TALL.bmp\nsize_mm=100\n", 200, ""},
        {"file=tall.bmp\nsize_mm=100,30\n", 30, ""},  // a height given stays
        {"file=Art/../tall.bmp\nsize_mm=100\n", 200, ""},
        {"file=art/near.bmp\nsize_mm=100\n", 200, ""},  // a link that stays inside
        {"file=gone.bmp\nsize_mm=100\ngauge00=M!G, 0, 0, 10, 70\n", 70, "is not beside the panel file"},
        {"file=broken.bmp\nsize_mm=100\n", 0, "not a BMP file"},  // the host makes it 1 high
        {"file=../outside/x.bmp\nsize_mm=100\n", 0, outside},
        {"file=..\\outside\\x.bmp\nsize_mm=100\n", 0, outside},
        {"file=Art/../../outside/x.bmp\nsize_mm=100\n", 0, outside},
        {"file=" + (root / "outside" / "x.bmp").string() + "\nsize_mm=100\n", 0, outside},
        {"file=C:\\outside\\x.bmp\nsize_mm=100\n", 0, outside},
        {"file=link.bmp\nsize_mm=100\n", 0, outside},
        {"file=linked/x.bmp\nsize_mm=100\n", 0, outside},
    };
    for (const Case& c : cases) {
        PanelConfig p = parse_panel_config("[Window00]\n" + c.lines, (dir / "p.cfg").string());
        find_backgrounds(p, dir.string());
        EXPECT_EQ(p.windows[0].size_h, c.height) << c.lines;
        if (c.warning.empty()) {
            EXPECT_TRUE(p.warnings.empty()) << c.lines << p.warnings[0].text;
            EXPECT_FALSE(p.windows[0].background_path.empty()) << c.lines;
        } else {
            ASSERT_EQ(p.warnings.size(), 1u) << c.lines;
            EXPECT_EQ(p.warnings[0].line, 2) << c.lines;
            EXPECT_NE(p.warnings[0].text.find(c.warning), std::string::npos) << p.warnings[0].text;
            EXPECT_TRUE(p.windows[0].background_path.empty()) << c.lines;
        }
    }
    fs::remove_all(root);
}

// The live page shows the panel's windows with the other modules outlined as
// in pictures; the virtual cockpit's texture, numbered like a window, is no
// window of the page and never stands in for one.
TEST_F(TrainerPanel, ServedLikeItsPicturesWithoutTheVirtualCockpit) {
    HostOptions options;
    options.main_window = false;
    Host host(load_panel_config(panel_), options);
    host.update();
    LiveServer server(host, ServeOptions{"127.0.0.1", 0});
    std::thread serving([&] { server.run(); });
    while (!server.serving()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    httplib::Client client("127.0.0.1", server.port());
    client.set_read_timeout(10, 0);

    auto layout = client.Get("/panel");
    ASSERT_TRUE(layout && layout->status == 200);
    const json panel = json::parse(layout->body);
    std::vector<int> windows;
    for (const json& w : panel["windows"]) windows.push_back(w["window"]);
    EXPECT_EQ(windows, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(panel["windows"][1]["visible"], false);
    std::vector<std::string> gauges;
    for (const json& g : panel["gauges"]) gauges.push_back(g["gauge"]);
    EXPECT_EQ(gauges, (std::vector<std::string>{"Airspeed", "Altimeter", "Battery_Switch", "Radios_Toggle",
                                                "GPS_Toggle", "Radio_COM"}));

    auto hidden = client.Get("/window/01.png");
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->status, 404) << "the radio stack is hidden; the texture is not it";
    auto click = client.Post("/click", R"({"gauge": "Airspeed#2", "x": 10, "y": 10})", "application/json");
    ASSERT_TRUE(click);
    EXPECT_EQ(click->status, 409) << click->body;

    auto main = client.Get("/window/00.png");
    ASSERT_TRUE(main && main->status == 200);
    write(dir_ / "live.png", main->body);
    const Picture picture(dir_ / "live.png");
    EXPECT_EQ(picture.size(), std::make_pair(800, 300));
    const Colour inside = picture.mean(560, 200, 40, 40);
    EXPECT_NE(inside.r, kBottom.r) << "the GPS outline is drawn over the background";
    EXPECT_LT(std::abs(inside.r - kBottom.r) + std::abs(inside.b - kBottom.b), 140);
    server.stop();
    serving.join();
}

TEST(PanelWindows, WindowsSharingAnIdentOpenAndCloseTogether) {
    HostOptions options;
    options.main_window = false;
    Host host(parse_panel_config("[Window00]\nsize_mm=100,100\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n"
                                 "[Window01]\nident=50\nvisible=0\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n"
                                 "[Window02]\nident=50\nvisible=1\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n",
                                 "shared.cfg"),
              options);
    EXPECT_EQ(host.placements()[1]->panel_window(), 1u);
    EXPECT_EQ(host.placements()[2]->panel_window(), 2u);
    auto shown = [&] { return std::vector<bool>{host.window_shown(1), host.window_shown(2)}; };
    EXPECT_EQ(shown(), (std::vector<bool>{false, true})) << "each starts as its section says";
    host.simulation().toggle_window(50);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false})) << "one shown: the ident is open, and a toggle closes it";
    host.run(parse_scenario("window 50 show\n", "s.scn"));
    EXPECT_EQ(shown(), (std::vector<bool>{true, true}));
    host.click(*host.placements()[1], 15, 20, {});
    const std::size_t events = host.simulation().events().size();
    EXPECT_GT(events, 0u) << "the switch of a shown window takes the click";
    host.simulation().toggle_window(50);
    EXPECT_EQ(shown(), (std::vector<bool>{false, false}));
    host.click(*host.placements()[1], 15, 20, {});
    EXPECT_EQ(host.simulation().events().size(), events) << "hidden: no click";
}

// A panel with one of each thing the checker looks for, and things it must
// let pass: a window a button opens, a hidden window with a name the
// simulator's keys open.
constexpr const char* kFlawedPanel = R"([Window00]
size_mm=400,200
gauge00=Ardelvine_Instr!Airspeed, 10, 10, 100
gauge01=Ardelvine_Instr!Battery_Switch, 350, 170
gauge02=Ardelvine_Instr!Avionics_Switch, 200, 20
gauge03=Ardelvine_Instr!Fuel_Valve, 205, 25, 54
gauge04=Ardelvine_Instr!Altimeter, 120, 10, 150, 60
gauge05=Ardelvine_Instr!Fuel_Toggle, 300, 10, 24, 24, o10001 tGPS_PANEL
gauge06=Default!Clock, 390, 190, 20, 20
zorder=2
colour=1
[Window01]
visible=0
gauge00=Ardelvine_Instr!Voltmeter, 0, 0, 206
[Window02]
visible=0
gauge00=Ardelvine_Instr!Voltmeter, 0, 0, 206
[Window03]
ident=COMPASS_PANEL
visible=0
gauge00=Ardelvine_Instr!Voltmeter, 0, 0, 206
[Window04]
ident=300
visible=0
nomenu=1
gauge00=Ardelvine_Instr!Voltmeter, 0, 0, 206
)";

TEST(PanelChecker, FindsOneOfEach) {
    HostOptions options;
    options.install = false;
    options.main_window = false;
    Host host(parse_panel_config(kFlawedPanel, "flawed.cfg"), options);
    using K = Finding::Kind;
    struct Expected {
        K kind;
        int line;
        const char* text;  // the finding starts with it
    } expected[] = {
        {K::SIZE, 3, "gauge Airspeed is placed 100x100 (its face 300x300): its smallest legend is 3.1 pixels high"},
        {K::OUTSIDE, 4, "gauge Battery_Switch at 350,170 30x44 reaches past the bottom edge of [Window00] (400x200)"},
        {K::OVERLAP, 6, "click areas of Fuel_Valve and Avionics_Switch (line 5) overlap at"},
        {K::FACES, 7, "faces of Altimeter and Avionics_Switch (line 5) overlap by 30x44 at 200,20"},
        {K::FACES, 7, "faces of Altimeter and Fuel_Valve (line 6) overlap by 54x45 at 205,25"},
        {K::SIZE, 7, "gauge Altimeter is placed 150x60 (its face 262x254): its smallest legend is 1.6 pixels high, "
                     "under 6; at least 228 wide reads"},
        {K::PROPORTIONS, 7, "gauge Altimeter is placed 150x60, 2."},
        {K::BUTTON, 8, "tGPS_PANEL in Fuel_Toggle: no window of this panel has ident 225"},
        {K::SIZE, 8, "gauge Fuel_Toggle is placed 24x24 (its face 19x19): its bitmaps are enlarged 1.26 times"},
        {K::WARNING, 9, "1 gauge of module 'Default' cannot run here"},
        {K::OUTSIDE, 9, "gauge Default!Clock at 390,190 20x20 reaches past the right and bottom edge"},
        {K::WARNING, 11, "unknown key 'colour' in [Window00], ignored"},
        {K::UNREACHABLE, 15, "[Window02] starts hidden, no button of this module opens ident 10002"},
        {K::UNREACHABLE, 22, "[Window04] starts hidden"},
    };
    const std::vector<Finding> found = check_panel(host);
    ASSERT_EQ(found.size(), std::size(expected));
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].kind, expected[i].kind) << found[i].text;
        EXPECT_EQ(found[i].line, expected[i].line) << found[i].text;
        EXPECT_EQ(found[i].text.rfind(expected[i].text, 0), 0u) << found[i].text;
    }
    EXPECT_NE(found.back().text.find("nothing can show it"), std::string::npos) << "nomenu=1";
    EXPECT_EQ(host.simulation().events().size(), 0u) << "nothing ran";
}

TEST(PanelChecker, ReportsOnStdoutAndExitsZeroWithWarnings) {
    const fs::path dir = fs::temp_directory_path() / "ardelvine-checker";
    fs::remove_all(dir);
    fs::create_directories(dir);
    write(dir / "flawed.cfg", kFlawedPanel);
    const std::string panel = (dir / "flawed.cfg").string();
    const CliRun run = cli({"check", panel});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> out = lines_of(run.out);
    ASSERT_EQ(out.size(), 15u) << run.out;
    EXPECT_EQ(out[0].rfind(panel + ":3: size: gauge Airspeed", 0), 0u) << out[0];
    EXPECT_EQ(out[1].rfind(panel + ":4: outside: gauge Battery_Switch", 0), 0u) << out[1];
    EXPECT_EQ(out[11].rfind(panel + ":11: warning: unknown key 'colour'", 0), 0u) << out[11];
    EXPECT_EQ(out[14], "5 windows, 10 gauges placed, 1 of other modules outlined: 14 findings");

    const CliRun strict = cli({"check", panel, "--strict"});
    EXPECT_EQ(strict.status, 2);
    EXPECT_EQ(strict.out, run.out);
    EXPECT_EQ(strict.err, "gaugehost: " + panel + ": 14 findings, refused under --strict\n");

    EXPECT_EQ(cli({"check", "default"}).out, "6 windows, 76 gauges placed: nothing to report\n");
    EXPECT_EQ(cli({"check", "default", "--strict"}).status, 0);
    write(dir / "bad.cfg", "[Window00]\ngauge00=Ardelvine_Instr!Airspeed, left, 0\n");
    const CliRun bad = cli({"check", (dir / "bad.cfg").string()});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, (dir / "bad.cfg").string() + ":2: error: expected a whole number for x, got 'left'\n"
                       "1 windows, 0 gauges placed: nothing to report, 1 line that cannot be read\n");
    fs::remove_all(dir);
}

// Thousands of gauges stacked on one spot have millions of overlapping pairs:
// the report stops at a few per gauge and a few thousand in all, then says how
// many more of each kind there were, and ends in seconds.
TEST(PanelChecker, StacksOfGaugesGiveABoundedReport) {
    const fs::path dir = fs::temp_directory_path() / "ardelvine-checker-stack";
    fs::remove_all(dir);
    fs::create_directories(dir);
    constexpr int kGauges = 10000;
    std::string text = "[Window00]\nsize_mm=100,100\n";
    for (int i = 0; i < kGauges; ++i) text += "gauge" + std::to_string(i) + "=Ardelvine_Instr!Battery_Switch, 10, 10\n";
    write(dir / "stack.cfg", text);
    const std::string panel = (dir / "stack.cfg").string();

    const auto start = std::chrono::steady_clock::now();
    const CliRun run = cli({"check", panel});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_LT(seconds, 60.0) << "a quadratic report of 50 million lines takes hours";
    const std::vector<std::string> out = lines_of(run.out);
    const CheckLimits limits;
    ASSERT_EQ(out.size(), limits.total + 2);
    const std::size_t pairs = std::size_t{kGauges} * (kGauges - 1) / 2;
    EXPECT_EQ(out[limits.total], panel + ": " + std::to_string(pairs - limits.total) + " more findings not listed (" +
                                     std::to_string(pairs - limits.total) + " overlap)");
    EXPECT_EQ(out.back(), "1 windows, 10000 gauges placed: " + std::to_string(pairs) + " findings");
    // The line of the third gauge (line 5) reports both gauges before it; later
    // ones at most limits.per_gauge.
    std::map<std::string, int> at_line;
    for (std::size_t i = 0; i < limits.total; ++i) ++at_line[out[i].substr(0, out[i].find(": overlap"))];
    EXPECT_EQ(at_line[panel + ":4"], 1);
    EXPECT_EQ(at_line[panel + ":5"], 2);
    for (const auto& [line, n] : at_line) EXPECT_LE(n, static_cast<int>(limits.per_gauge)) << line;
    fs::remove_all(dir);
}

// Real aircraft put gauges that only do work in sections of zero size. They
// load, their gauges run (a start state placed so runs its sequence), nothing
// of them is drawn, and the checker says what they are.
TEST(PanelWindows, SectionsOfZeroSizeRunTheirGaugesAndDrawNothing) {
    const fs::path dir = fs::temp_directory_path() / "ardelvine-zero-size";
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    write(dir / "logic.cfg",
          "[Window00]\nsize_mm=200,100\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n"
          "[VCockpit01]\nsize_mm=0,0\npixel_size=0,0\ngauge00=Ardelvine_Instr!Engine_Off,0,0,0,0\n"
          "[Window01]\nsize_mm=0,0\ngauge00=Ardelvine_Instr!Engine_On,0,0,0,0\n"
          "[VCockpit02]\nsize_mm=0,0\npixel_size=1024,1024\ngauge00=Ardelvine_Instr!Voltmeter,0,0,10,10\n");
    const std::string panel = (dir / "logic.cfg").string();

    {
        HostOptions options;
        options.main_window = false;
        Host host(load_panel_config(panel), options);
        ASSERT_EQ(host.placements().size(), 4u);
        const Placement& logic = *host.placements()[1];
        EXPECT_EQ(std::make_pair(logic.width(), logic.height()), std::make_pair(0, 0));
        EXPECT_EQ(host.placements()[3]->width(), 10) << "no texture scale from a size of zero";
        Simulation& sim = host.simulation();
        sim.set_token(tokens::ENGINE_RUNNING, 1.0);
        sim.set_token(tokens::BATTERY_MASTER, 1.0);
        host.ready(host.placements()[1].get());
        host.update();
        EXPECT_EQ(sim.token(tokens::BATTERY_MASTER), 0.0) << "Engine_Off ran its sequence";
    }

    const CliRun render = cli({"render", panel, "--out", (dir / "out").string()});
    EXPECT_EQ(render.status, 0) << render.err;
    std::vector<std::string> pictures;
    for (const auto& entry : fs::directory_iterator(dir / "out")) pictures.push_back(entry.path().filename().string());
    EXPECT_EQ(pictures, std::vector<std::string>{"window-00-window0.png"});

    const CliRun check = cli({"check", panel, "--strict"});
    EXPECT_EQ(check.status, 0) << check.err;
    const std::vector<std::string> out = lines_of(check.out);
    ASSERT_EQ(out.size(), 4u) << check.out;
    EXPECT_EQ(out[0], panel + ":4: note: [Vcockpit01] is of zero size: nothing of it is drawn; the 1 gauge of "
                              "this module in it runs as any other (logic only)");
    EXPECT_EQ(out[1].rfind(panel + ":8: note: [Window01] is of zero size", 0), 0u) << out[1];
    EXPECT_EQ(out[3], "4 windows, 4 gauges placed: nothing to report");

    // Only a section of zero size may place a gauge of zero size.
    try {
        parse_panel_config("[Window00]\ngauge00=M!G, 0, 0, 0, 0\n", "p.cfg");
        ADD_FAILURE() << "a gauge of zero size in a window of some size";
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "p.cfg:2: gauge G: width must be positive");
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ardelvine::hostapp
