// The gauge catalogue and `list` as a panel designer uses them: the catalogue
// of the built module is written into the build folder by gaugehost itself,
// and every page is read back against the module's own records: its size,
// a panel line that `check` accepts, every key event its mouse records hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <nlohmann/json.hpp>

#include "host/cli/cli.h"
#include "host/load/module_loader.h"
#include "host/load/mouse_areas.h"
#include "host/load/panel_config.h"
#include "host/run/host.h"
#include "model/events.h"
#include "module/gauge_descriptions.h"
#include "params/params.h"
#include "tests/run_program.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string unescape(std::string text) {
    for (const auto& [from, to] : {std::pair{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}})
        for (std::size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, std::strlen(from), to);
    return text;
}

// Runs `check` on a panel of one window holding `line`, beside a hidden
// window of every name a button may give: its exit status and output.
std::pair<int, std::string> check_line(const std::string& line, const fs::path& dir) {
    const fs::path panel = dir / "line.cfg";
    std::ofstream cfg(panel);
    cfg << "[Window00]\nsize_mm=500,700\nposition=0\nvisible=1\n" << line << "\n";
    int n = 1;
    for (const params::WindowName& w : params::kWindowNames)
        if (w.ident != 0) cfg << "[Window" << n++ << "]\nsize_mm=10,10\nvisible=0\nident=" << w.name << "\n";
    cfg.close();
    std::ostringstream out, err;
    const int status = run_cli({"check", panel.string()}, out, err);
    return {status, out.str() + err.str()};
}

// Only the test that reads the catalogue writes it: the tests of this suite
// run side by side, each in its own process.
class Catalogue : public ::testing::Test {};

TEST_F(Catalogue, EveryPageAgreesWithTheModulesRecords) {
    fs::remove_all(ARD_CATALOGUE_DIR);
    const testing::ProgramRun run = testing::run_program(std::string(ARD_GAUGEHOST) + " catalogue " + ARD_CATALOGUE_DIR);
    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path dir = ARD_CATALOGUE_DIR;
    const fs::path scratch = fs::path(::testing::TempDir()) / "catalogue-check";
    fs::create_directories(scratch);

    std::ostringstream listed, err;
    ASSERT_EQ(run_cli({"list", "--json"}, listed, err), 0) << err.str();
    const nlohmann::json list = nlohmann::json::parse(listed.str());
    ASSERT_EQ(list["gauges"].size(), std::size(gauges::kRegistry));

    PanelServices none{};
    LoadedModule module(ARD_DEFAULT_MODULE, &none);
    const std::string index = read(dir / "index.html");
    int pages = 0;
    for (const GaugeHeader* g : module.gauges()) {
        SCOPED_TRACE(g->name);
        const std::string name = g->name;
        const std::string page = read(dir / (name + ".html"));
        ASSERT_FALSE(page.empty());
        ++pages;
        EXPECT_NE(index.find("href=\"" + name + ".html\""), std::string::npos);
        EXPECT_NE(page.find(gauges::find_description(name)->sentence), std::string::npos);

        const auto entry = std::find_if(list["gauges"].begin(), list["gauges"].end(),
                                        [&](const nlohmann::json& j) { return j["name"] == name; });
        ASSERT_NE(entry, list["gauges"].end());
        const std::string size = std::to_string(entry->at("width").get<int>()) + " &times; " +
                                 std::to_string(entry->at("height").get<int>()) + " panel units";
        EXPECT_NE(page.find(size), std::string::npos) << size;

        // The catalogue finds the buttons' language by clicking; the checker
        // knows them by group and code: both must name the same gauges.
        const gauges::GaugeDescription* d = gauges::find_description(name);
        EXPECT_EQ(page.find("<code>tWINDOW</code>") != std::string::npos,
                  d->group == gauges::GaugeGroup::PANEL_BUTTONS && g->callback != nullptr);

        // The ready line, and each option's example line, pass the checker cleanly.
        const std::regex line_pattern("gauge00=[^<]*");
        int lines = 0;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), line_pattern); it != std::sregex_iterator(); ++it) {
            const std::string line = unescape(it->str());
            const auto [status, output] = check_line(line, scratch);
            EXPECT_EQ(status, 0) << line << "\n" << output;
            // A window button's bare line is its one finding: the page shows what to write after it.
            const bool bare_button = line.find(name + ", 10, 10, ") != std::string::npos &&
                                     std::count(line.begin(), line.end(), ',') == 4 &&
                                     output.find("button: " + name + " has no parameter string") != std::string::npos;
            EXPECT_TRUE(output.find("nothing to report") != std::string::npos ||
                        (bare_button && output.find(": 1 finding\n") != std::string::npos))
                << line << "\n" << output;
            ++lines;
        }
        EXPECT_GE(lines, 1);

        for (const MouseArea& a : g->mouse != nullptr ? mouse_areas(g->mouse, kMaxMouseRects, {}) : std::vector<MouseArea>{})
            if (a.rect->kind == MouseKind::CHILD && a.rect->handler == nullptr && a.rect->event_id != 0) {
                std::string cell = ">";  // appended, not summed: GCC's optimiser warns falsely of the sum
                cell.append(std::to_string(a.rect->event_id)).append("<");
                EXPECT_NE(page.find(cell), std::string::npos) << a.rect->event_id;
                EXPECT_NE(page.find(events::name_of(a.rect->event_id)), std::string::npos);
            }

        // Each picture the page shows is beside it.
        const std::regex picture("src=\"(pictures/[^\"]+)\"");
        int pictures = 0;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), picture); it != std::sregex_iterator(); ++it, ++pictures)
            EXPECT_TRUE(fs::is_regular_file(dir / (*it)[1].str())) << (*it)[1];
        EXPECT_EQ(pictures, 5);
    }
    EXPECT_EQ(pages, 62);
}

// A panel line without width and height gets the size `list` gives.
TEST_F(Catalogue, ListedSizesAreTheSizesPlaced) {
    std::ostringstream listed, err;
    ASSERT_EQ(run_cli({"list", "--json"}, listed, err), 0) << err.str();
    const nlohmann::json list = nlohmann::json::parse(listed.str());
    std::string panel = "[Window00]\nsize_mm=1000,1000\n";
    for (std::size_t i = 0; i < list["gauges"].size(); ++i)
        panel += "gauge" + std::to_string(i) + "=Ardelvine_Instr!" + list["gauges"][i]["name"].get<std::string>() + ", 0, 0\n";
    HostOptions options;
    options.install = false;
    Host host(parse_panel_config(panel, "all.cfg"), options);
    ASSERT_EQ(host.placements().size(), list["gauges"].size());
    for (std::size_t i = 0; i < list["gauges"].size(); ++i) {
        const nlohmann::json& g = list["gauges"][i];
        EXPECT_EQ(host.placements()[i]->width(), g["width"].get<int>()) << g["name"];
        EXPECT_EQ(host.placements()[i]->height(), g["height"].get<int>()) << g["name"];
        EXPECT_EQ(host.placements()[i]->background_size().width, g["bitmap"]["width"].get<int>()) << g["name"];
    }
    std::ostringstream text;
    ASSERT_EQ(run_cli({"list"}, text, err), 0);
    EXPECT_NE(text.str().find("panel units"), std::string::npos);
    EXPECT_NE(text.str().find(" 30     44  30x44 "), std::string::npos) << text.str();  // Battery_Switch
}

// A designer checks a subpanel without a scenario that opens it.
TEST(RenderAllWindows, DrawsHiddenWindowsToo) {
    const fs::path dir = fs::path(::testing::TempDir()) / "all-windows";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=60,60\nvisible=1\ngauge00=Ardelvine_Instr!Battery_Switch, 0, 0\n"
                                        "[Window01]\nsize_mm=60,60\nvisible=0\nident=GPS_PANEL\n"
                                        "gauge00=Ardelvine_Instr!Fuel_Valve, 0, 0\n";
    for (const bool all : {false, true}) {
        std::vector<std::string> args = {"render", (dir / "panel.cfg").string(), "--out", (dir / "out").string(), "--areas"};
        if (all) args.push_back("--all-windows");
        std::ostringstream out, err;
        ASSERT_EQ(run_cli(args, out, err), 0) << err.str();
        EXPECT_EQ(fs::exists(dir / "out" / "window-01-window1.png"), all) << out.str();
        fs::remove_all(dir / "out");
    }
}

// The catalogue's code names no gauge: what a page tells of one comes from
// its records, its description and the host's names.
TEST(CatalogueSource, NamesNoGauge) {
    const std::string source = read(fs::path(ARD_SOURCE_DIR) / "host/cli/catalogue.cpp");
    ASSERT_FALSE(source.empty());
    for (const gauges::GaugeEntry& g : gauges::kRegistry)
        EXPECT_EQ(source.find(std::string("\"") + g.name), std::string::npos) << g.name;
}

}  // namespace
}  // namespace ardelvine::hostapp
