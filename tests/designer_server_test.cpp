// `serve --edit`: the designer's edits over HTTP lay the panel out anew with
// the gauges running, undo and redo, the diff a save would write, and the
// save, which writes the panel file given and nothing else; edits it cannot
// take are refused with one line and change nothing.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/live/live_server.h"
#include "host/load/panel_config.h"
#include "host/load/text.h"
#include "host/run/host.h"
#include "tests/run_program.h"

namespace ardelvine::hostapp {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

void write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The trainer panel with CRLF endings, served for editing from a folder of its own.
class Designer : public ::testing::Test {
protected:
    void SetUp() override { serve(true); }
    void serve(bool edit) {
        dir_ = fs::temp_directory_path() /
               ("ardelvine-designer-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // The trainer panel with CRLF endings, as Windows editors write it.
        original_.clear();
        for (const char c : read_file(std::string(ARD_SOURCE_DIR) + "/tests/panels/trainer.cfg")) {
            if (c == '\n') original_ += '\r';
            original_ += c;
        }
        panel_ = (dir_ / "panel.cfg").string();
        write(panel_, original_);
        host_ = std::make_unique<Host>(load_panel_config(panel_));
        host_->update();
        ServeOptions options;
        options.port = 0;
        if (edit) options.edit = panel_;
        server_ = std::make_unique<LiveServer>(*host_, options);
        serving_ = std::thread([this] { server_->run(); });
        while (!server_->serving()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void TearDown() override {
        server_->stop();
        serving_.join();
        server_.reset();
        host_.reset();
        if (!HasFailure()) fs::remove_all(dir_);
    }
    httplib::Result post(const std::string& path, const std::string& body = "{}") {
        httplib::Client c("127.0.0.1", server_->port());
        c.set_read_timeout(20, 0);
        return c.Post(path.c_str(), body, "application/json");
    }
    std::string get(const std::string& path) {
        httplib::Client c("127.0.0.1", server_->port());
        auto r = c.Get(path.c_str());
        EXPECT_TRUE(r && r->status == 200) << path;
        return r ? r->body : "";
    }
    // Where the page's layout has a gauge: x, y, w, h.
    json placed(const std::string& section, const std::string& key) {
        const json panel = json::parse(get("/panel"));
        for (const char* list : {"gauges", "outlines"})
            for (const json& g : panel[list])
                if (g["section"] == section && g["key"] == key) return {g["x"], g["y"], g["w"], g["h"]};
        return nullptr;
    }
    std::string on_disk() { return read_file(panel_); }

    fs::path dir_;
    std::string panel_, original_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<LiveServer> server_;
    std::thread serving_;
};

TEST_F(Designer, EditsLayOutLiveUndoAndSaveOnlyTheEditedLines) {
    // Clicked before the edits, the switch stays on through them: the gauges keep running.
    ASSERT_EQ(post("/click", R"({"gauge": "Battery_Switch", "x": 10, "y": 20})")->status, 200);
    const Placement* battery = host_->find({"Battery_Switch", 1});
    struct Step {
        const char* path;
        const char* body;
        const char* section;
        const char* key;
        json where;  // in the page's layout afterwards; null: gone
    } steps[] = {
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge04", "x": 400, "y": 90, "w": 30, "h": 40})", "Window00",
         "Gauge04", {400, 90, 30, 40}},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 35, "y": 71})", "Window00", "gauge00",
         {35, 71, 160, 160}},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge02", "x": 700, "y": 40, "w": 20, "h": 20})", "Window00",
         "gauge02", {700, 40, 20, 20}},
        {"/edit/add", R"({"section": "Window01", "gauge": "Ardelvine_Instr!Waltham_Clock", "x": 10, "y": 240, "w": 40, "h": 40})",
         "Window01", "gauge02", {10, 240, 40, 40}},
        {"/edit/remove", R"({"section": "Window00", "key": "gauge03"})", "Window00", "gauge03", nullptr},
        {"/edit/remove", R"({"section": "Window00", "key": "gauge01"})", "Window00", "gauge01", nullptr},
        {"/edit/undo", "", "Window00", "gauge01", {200, 70, 160, 155}},
    };
    for (const Step& s : steps) {
        const auto r = post(s.path, s.body);
        ASSERT_TRUE(r && r->status == 200) << s.path << " " << s.body << ": " << (r ? r->body : "no answer");
        EXPECT_EQ(placed(s.section, s.key), s.where) << s.path << " " << s.body;
    }
    const auto added = post("/edit/add", R"({"section": "Window00", "gauge": "Ardelvine_Instr!Waltham_Clock", "x": 1, "y": 2})");
    ASSERT_EQ(added->status, 200) << added->body;
    EXPECT_EQ(json::parse(added->body)["key"], "gauge08");
    ASSERT_EQ(post("/edit/undo")->status, 200);
    EXPECT_EQ(host_->find({"Battery_Switch", 1}), battery) << "moved, not placed anew";

    const std::string diff = get("/edit/diff");
    EXPECT_EQ(diff,
              "--- panel.cfg\n+++ panel.cfg\n"
              "@@ -20,11 +20,10 @@\n"
              " windowsize_ratio=1.000\n render_3d_window=0\n \n"
              "-gauge00=Ardelvine_Instr!Airspeed,  20, 70, 160\t\n+gauge00=Ardelvine_Instr!Airspeed,  35, 71, 160\t\n"
              " gauge01=Ardelvine_Instr!Altimeter,\t200,70,160\n"
              "-gauge02=SimIcons1024!Kneeboard Icon, 752, 10, 18, 18\n-gauge03=SimIcons1024!ATC Icon, 772, 10, 18, 18\n"
              "-Gauge04=Ardelvine_Instr!Battery_Switch, 380 , 80\n"
              "+gauge02=SimIcons1024!Kneeboard Icon, 700, 40, 20, 20\n+Gauge04=Ardelvine_Instr!Battery_Switch, 400 , 90, 30, 40\n"
              " gauge05=Ardelvine_Instr!Radios_Toggle, 730, 10, 19, 19, tRADIO_STACK_PANEL\n"
              " gauge06=Ardelvine_Instr!GPS_Toggle, 710, 10, 19, 19, tGPS_PANEL  // the large GPS\n"
              " gauge07=fs9gps!gps_500, 440, 80, 300, 190\n"
              "@@ -36,6 +35,7 @@\n"
              " background_color=30,30,34 ; dark grey\n gauge00=Ardelvine_Instr!Radio_COM, 0, 0, 350\n"
              " gauge01=Bendix_King_Radio!Bendix-King Radio Nav-Comm 1, 0, 140, 350, 95\n"
              "+gauge02=Ardelvine_Instr!Waltham_Clock, 10, 240, 40, 40\n \n [Window02]\n Size_Mm=456,290\n");
    EXPECT_EQ(on_disk(), original_) << "nothing is written before a save";

    ASSERT_EQ(post("/edit/save")->status, 200);
    EXPECT_EQ(read_file(panel_ + ".bak"), original_);
    EXPECT_EQ(get("/edit/diff"), "");
    // What the page showed is what `state` of the saved file places.
    const json page = json::parse(get("/panel"));
    const auto run = testing::run_program(std::string("(").append(ARD_GAUGEHOST).append(" state ").append(panel_).append(" 2>/dev/null)"));
    ASSERT_EQ(run.status, 0) << run.output;
    const json state = json::parse(run.output);
    std::map<int, json> ident;  // `state` names windows by ident
    for (const json& w : page["windows"]) ident[w["window"].get<int>()] = w["ident"];
    std::size_t compared = 0;
    for (const json& g : page["gauges"])
        for (const json& s : state["gauges"])
            if (s.contains("window") && g["gauge"] == s["name"] && ident[g["window"].get<int>()] == s["window"] &&
                g["x"] == s["x"] && g["y"] == s["y"] &&
                g["w"] == s["w"] && g["h"] == s["h"])
                ++compared;
    EXPECT_EQ(compared, page["gauges"].size());

    // A later save keeps the first backup; a save with nothing new writes the same bytes.
    const std::string saved = on_disk();
    ASSERT_EQ(post("/edit/undo")->status, 200);
    ASSERT_EQ(post("/edit/redo")->status, 200);
    ASSERT_EQ(post("/edit/save")->status, 200);
    EXPECT_EQ(on_disk(), saved);
    EXPECT_EQ(read_file(panel_ + ".bak"), original_);

    // Saves at once: each is written whole or refused while another runs.
    ASSERT_EQ(post("/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 36, "y": 71})")->status, 200);
    std::vector<std::thread> savers;
    std::atomic<int> written{0}, refused{0};
    for (int i = 0; i < 6; ++i)
        savers.emplace_back([&] {
            const auto r = post("/edit/save");
            (r && r->status == 200 ? written : refused) += r && (r->status == 200 || r->status == 409) ? 1 : 100;
        });
    for (auto& t : savers) t.join();
    EXPECT_GE(written.load(), 1);
    EXPECT_EQ(written.load() + refused.load(), 6);
    EXPECT_NE(on_disk().find("gauge00=Ardelvine_Instr!Airspeed,  36, 71, 160\t\r\n"), std::string::npos);
    EXPECT_EQ(get("/edit/diff"), "");
}

TEST_F(Designer, WindowsAreSetAndAdded) {
    for (const char* body : {R"({"section": "window02", "visible": true, "window_pos": [0.1, 0.25], "position": 2})",
                             R"({"section": "Window01", "size_mm": [360, 290], "ident": 10001})",
                             R"({"section": "Window03", "add": true, "size_mm": [200, 100], "ident": "COMPASS_PANEL"})"}) {
        const auto r = post("/edit/window", body);
        ASSERT_EQ(r->status, 200) << body << ": " << r->body;
    }
    ASSERT_EQ(post("/edit/add", R"({"section": "Window03", "gauge": "Ardelvine_Instr!Waltham_Clock", "x": 0, "y": 0, "w": 90})")->status,
              200);
    const json panel = json::parse(get("/panel"));
    ASSERT_EQ(panel["windows"].size(), 4u);
    EXPECT_EQ(panel["windows"][1]["w"], 360);
    EXPECT_EQ(panel["windows"][2]["window_pos"], "0.1,0.25");
    EXPECT_EQ(panel["windows"][3]["section"], "Window03");
    EXPECT_EQ(placed("Window03", "gauge00"), json({0, 0, 90, 90}));
    const std::string diff = get("/edit/diff");
    for (const char* line : {"-size_mm=350,280\n-ident=RADIO_STACK_PANEL\n+size_mm=360,290\n+ident=10001\n",
                             "-Visible=0\n+Visible=1\n zorder=3\n+window_pos=0.1,0.25\n+position=2\n",
                             "+\n+[Window03]\n+size_mm=200,100\n+ident=COMPASS_PANEL\n+gauge00=Ardelvine_Instr!Waltham_Clock, 0, 0, 90\n"})
        EXPECT_NE(diff.find(line), std::string::npos) << line << " in\n" << diff;
    // Undone, the window is gone again, its gauge removed with it.
    for (int i = 0; i < 2; ++i) ASSERT_EQ(post("/edit/undo")->status, 200);
    EXPECT_EQ(json::parse(get("/panel"))["windows"].size(), 3u);
    EXPECT_EQ(host_->placements().size(), 8u);
}

TEST_F(Designer, RefusesBadEditsWithOneLineAndChangesNothing) {
    ASSERT_EQ(post("/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 30, "y": 70})")->status, 200);
    const std::string diff = get("/edit/diff"), layout = get("/panel");
    struct Case {
        const char* path;
        const char* body;
        int status;
        const char* content_type = "application/json";
    } cases[] = {
        {"/edit/gauge", R"({"section": "Window07", "key": "gauge00", "x": 1, "y": 1})", 404},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge42", "x": 1, "y": 1})", 404},
        {"/edit/gauge", R"({"section": "Window Titles", "key": "window00", "x": 1, "y": 1})", 404},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1000001, "y": 1})", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1, "y": 1, "w": 0})", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1, "y": 1, "w": 16385})", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1.5, "y": 1})", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1, "y": 1, "z": 1})", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1, "y": 1)", 400},
        {"/edit/gauge", R"({"section": "Window00", "key": "gauge00", "x": 1, "y": 1})", 415, "text/plain"},
        {"/edit/add", R"({"section": "Window00", "gauge": "Ardelvine_Instr!No_Such_Gauge", "x": 1, "y": 1})", 400},
        {"/edit/add", R"({"section": "Window00", "gauge": "Ardelvine_Instr!Waltham_Clock, 5", "x": 1, "y": 1})", 400},
        {"/edit/remove", R"({"section": "Window00", "key": "ident"})", 404},
        // The picture of a window this large would pass the host's caps: laid out, refused, laid back.
        {"/edit/window", R"({"section": "Window01", "size_mm": [16384, 16384]})", 400},
        {"/edit/window", R"({"section": "Window01", "position": 9})", 400},
        {"/edit/window", R"({"section": "Window01", "ident": "NO_SUCH_PANEL"})", 400},
        {"/edit/window", R"({"section": "Window01"})", 400},
        {"/edit/window", R"({"section": "Window01", "add": true})", 400},
        {"/edit/redo", "", 409},
        {"/edit/save", R"({"now": true})", 400},
    };
    for (const Case& c : cases) {
        httplib::Client client("127.0.0.1", server_->port());
        const auto r = client.Post(c.path, c.body, c.content_type);
        ASSERT_TRUE(r) << c.body;
        EXPECT_EQ(r->status, c.status) << c.path << " " << c.body << ": " << r->body;
        EXPECT_EQ(std::count(r->body.begin(), r->body.end(), '\n'), 1) << r->body;
    }
    // Edits are POSTs, and only this server's own page makes them.
    httplib::Client client("127.0.0.1", server_->port());
    EXPECT_EQ(client.Get("/edit/save")->status, 404);
    const httplib::Headers elsewhere = {{"Origin", "http://example.com"}};
    EXPECT_EQ(client.Post("/edit/undo", elsewhere, "{}", "application/json")->status, 403);
    EXPECT_EQ(get("/edit/diff"), diff);
    EXPECT_EQ(json::parse(get("/panel"))["gauges"], json::parse(layout)["gauges"]);

    // A file changed on disk since it was loaded is not written over.
    write(panel_, original_ + "; edited elsewhere\r\n");
    const auto refused = post("/edit/save");
    EXPECT_EQ(refused->status, 409);
    EXPECT_NE(refused->body.find("changed on disk"), std::string::npos) << refused->body;
    EXPECT_EQ(on_disk(), original_ + "; edited elsewhere\r\n");
    EXPECT_FALSE(fs::exists(panel_ + ".bak"));
}

TEST_F(Designer, WithoutEditTheEditsAreForbidden) {
    TearDown();
    serve(false);
    for (const char* path : {"/edit/gauge", "/edit/add", "/edit/remove", "/edit/window", "/edit/undo", "/edit/redo", "/edit/save"})
        EXPECT_EQ(post(path)->status, 403) << path;
    httplib::Client client("127.0.0.1", server_->port());
    EXPECT_EQ(client.Get("/edit/diff")->status, 403);
    EXPECT_FALSE(json::parse(get("/panel"))["edit"].get<bool>());
}

}  // namespace
}  // namespace ardelvine::hostapp
