// The live cockpit's server driven over loopback as the page drives it:
// refusals change nothing, a click's picture arrives with the next update, a
// drag survives the updates between its moves, and concurrent clicks and
// state reads lose or double nothing against the same clicks in a scenario.
#include <arpa/inet.h>
#include <cairo.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/run/host.h"
#include "host/live/connection_gate.h"
#include "host/live/live_server.h"
#include "host/live/request_checks.h"
#include "host/load/error.h"
#include "tests/run_program.h"

namespace ardelvine::hostapp {
namespace {

using json = nlohmann::json;

const char* kPanel = R"([Window Titles]
Window00=Switches
Window01=Quadrant

[Window00]
size_mm=400,120
background_color=24,24,24
gauge00=Ardelvine_Instr!Avionics_Switch, 10, 10
gauge01=Ardelvine_Instr!Battery_Switch, 50, 10
gauge02=Ardelvine_Instr!Beacon_Lights_Switch, 90, 10
gauge03=Ardelvine_Instr!Landing_Lights_Switch, 130, 10
gauge04=Ardelvine_Instr!Navigation_Lights_Switch, 170, 10
gauge05=Ardelvine_Instr!Strobe_Lights_Switch, 210, 10
gauge06=Ardelvine_Instr!Pitot_Heat_Switch, 250, 10
gauge07=Ardelvine_Instr!Battery_Switch, 340, 10

[Window01]
ident=THROTTLE_PANEL
size_mm=240,330
gauge00=Ardelvine_Instr!Throttle_Quadrant, 10, 10, 217
)";

// The update messages of the event stream, read as they come.
class StreamReader {
public:
    explicit StreamReader(int port)
        : thread_([this, port] {
              httplib::Client c("127.0.0.1", port);
              c.Get("/stream", [this](const char* data, std::size_t size) {
                  std::lock_guard lock(mutex_);
                  text_.append(data, size);
                  return !done_;
              });
          }) {}
    // Returns at once once the server has stopped; before, at its next message.
    ~StreamReader() {
        done_ = true;
        thread_.join();
    }
    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    std::vector<json> updates() const {
        std::lock_guard lock(mutex_);
        std::vector<json> out;
        const std::string head = "event: update\ndata: ";
        for (auto at = text_.find(head); at != std::string::npos; at = text_.find(head, at + 1)) {
            const auto begin = at + head.size(), end = text_.find("\n\n", begin);
            if (end == std::string::npos) break;
            out.push_back(json::parse(text_.substr(begin, end - begin)));
        }
        return out;
    }
    // The first update message from `from` on that `wanted` accepts; null when none came in time.
    template <typename Wanted>
    json wait_for(std::size_t from, Wanted wanted) const {
        for (int i = 0; i < 300; ++i) {
            const auto all = updates();
            for (std::size_t k = from; k < all.size(); ++k)
                if (wanted(all[k])) return all[k];
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return nullptr;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct LiveServerTest : ::testing::Test {
    std::unique_ptr<Host> host;
    std::unique_ptr<LiveServer> server;
    std::thread serving;

    void SetUp() override { start({}); }
    void start(RollingRecords records) {
        host = std::make_unique<Host>(parse_panel_config(kPanel, "live.cfg"));
        host->update();
        serve_host(records);
    }
    void serve_host(RollingRecords records) {
        ServeOptions options;
        options.port = 0;
        options.records = records;
        server = std::make_unique<LiveServer>(*host, options);
        serving = std::thread([this] { server->run(); });
        while (!server->serving()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void TearDown() override { finish(); }
    void finish() {
        if (!server) return;
        server->stop();
        serving.join();
        server.reset();
        host.reset();
    }

    ConnectionCounts server_counts() const { return server->connection_counts(); }

    httplib::Client client() const {
        httplib::Client c("127.0.0.1", server->port());
        c.set_read_timeout(10, 0);
        return c;
    }
    httplib::Result post(const std::string& path, const std::string& body) {
        return client().Post(path.c_str(), body, "application/json");
    }
    json get_json(const std::string& path) {
        auto r = client().Get(path.c_str());
        EXPECT_TRUE(r && r->status == 200) << path;
        return r ? json::parse(r->body) : json();
    }
    // What a refused request must leave alone: everything but the updates count.
    json lasting_state() {
        json s = get_json("/state");
        s.erase("updates");
        return s;
    }
};

TEST_F(LiveServerTest, RefusesBadRequestsWithOneLineAndChangesNothing) {
    const json before = lasting_state();
    struct Case {
        const char* method;
        std::string path;
        std::string body;
        int status;
        const char* says;  // null: the status alone says it
    };
    const std::vector<Case> cases = {
        {"POST", "/click", "{not json", 400, "not valid JSON"},
        {"POST", "/click", "[1,2]", 400, "JSON object"},
        {"POST", "/click", R"({"gauge":"Nope","x":1,"y":1})", 404, "no gauge 'Nope'"},
        {"POST", "/click", R"({"gauge":"Battery_Switch#3","x":15,"y":22})", 404, "no gauge 'Battery_Switch#3'"},
        {"POST", "/click", R"({"gauge":"Battery_Switch#0","x":15,"y":22})", 400, "NAME#N"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","x":100001,"y":22})", 400, "'x' must lie in"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","x":1.5,"y":22})", 400, "whole number"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","x":15,"y":22,"hold":10001})", 400, "'hold'"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","x":15,"y":22,"button":"middle"})", 400, "left, right or both"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","x":15,"y":22,"color":1})", 400, "unknown key 'color'"},
        {"POST", "/click", R"({"gauge":"Battery_Switch","y":22})", 400, "missing key 'x'"},
        {"POST", "/drag", R"({"gauge":"Throttle_Quadrant","x":45,"y":100,"end":"yes"})", 400, "true or false"},
        {"POST", "/set", R"({"token":-1,"value":1})", 400, "'token' must lie in"},
        {"POST", "/set", R"({"token":61,"value":"fast"})", 400, "'value' must be a number"},
        {"POST", "/set", R"({"token":61,"value":1e999})", 400, "not valid JSON"},
        {"POST", "/fail", R"({"key":64,"on":true})", 400, "'key' must lie in 1..63"},
        {"POST", "/fail", R"({"key":0,"on":true})", 400, nullptr},
        {"POST", "/fail", R"({"key":3})", 400, "missing key 'on'"},
        {"POST", "/lighting", R"({"mode":"dusk"})", 400, "day or night"},
        {"POST", "/window", R"({"ident":77,"visible":false})", 404, "no window with ident 77"},
        {"POST", "/window", R"({"ident":"NO_SUCH_PANEL","visible":false})", 400, "names no panel window"},
        {"POST", "/ready", R"({"gauge":"Engine_Off"})", 404, "no gauge 'Engine_Off'"},
        {"POST", "/click", std::string(kMaxRequestBody + 1, ' '), 413, "larger than"},
        {"GET", "/tooltip?gauge=Battery_Switch&x=a&y=1", "", 400, "'x' must be a whole number"},
        {"GET", "/tooltip?x=1&y=1", "", 400, "missing parameter 'gauge'"},
        {"GET", "/tokens?numbers=61,x", "", 400, "token numbers"},
        {"GET", "/window/07.png", "", 404, "no window 07"},
        {"GET", "/window/00.png?scale=4.01", "", 400, "'scale' must be a number from 0.25 to 4"},
        {"GET", "/window/00.png?scale=0.2", "", 400, "'scale'"},
        {"GET", "/window/00.png?scale=2x", "", 400, "'scale'"},
        {"GET", "/window/00.png?scale=nan", "", 400, "'scale'"},
        {"GET", "/window/00.png?scale=", "", 400, "'scale'"},
        {"GET", "/wave/99.wav", "", 404, "no sound 99"},
        {"GET", "/../../etc/passwd", "", 404, "no such resource"},
        {"GET", "/cockpit.html", "", 404, "no such resource"},
    };
    for (const Case& c : cases) {
        auto r = c.method == std::string("GET") ? client().Get(c.path.c_str())
                                                : client().Post(c.path.c_str(), c.body, "application/json");
        ASSERT_TRUE(r) << c.path << " " << c.body.substr(0, 60);
        EXPECT_EQ(r->status, c.status) << c.path << " " << c.body.substr(0, 60) << ": " << r->body;
        if (c.says != nullptr) {
            EXPECT_NE(r->body.find(c.says), std::string::npos) << c.path << ": " << r->body;
        }
        EXPECT_EQ(r->body.find('\n'), r->body.size() - 1) << "one line: " << r->body;
    }
    // A body that is not sent as JSON, and a name this machine is not reached by.
    auto plain = client().Post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})", "text/plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->status, 415);
    auto c = client();
    auto foreign = c.Get("/state", {{"Host", "cockpit.example:80"}});
    ASSERT_TRUE(foreign);
    EXPECT_EQ(foreign->status, 403);
    EXPECT_EQ(lasting_state(), before);
}

TEST_F(LiveServerTest, ServesThePageItsPicturesAndTheModulesSounds) {
    // The page's files as built into the program, byte for byte.
    for (const auto& [path, file] : std::vector<std::pair<const char*, const char*>>{
             {"/", "index.html"}, {"/cockpit.js", "cockpit.js"}, {"/cockpit.css", "cockpit.css"}}) {
        auto r = client().Get(path);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << path;
        std::ifstream in(std::string(ARD_SOURCE_DIR) + "/host/live/page/" + file, std::ios::binary);
        EXPECT_EQ(r->body, std::string(std::istreambuf_iterator<char>(in), {})) << path;
    }
    auto picture = client().Get("/window/01.png");
    ASSERT_TRUE(picture && picture->status == 200);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(picture->body.substr(1, 3), "PNG");
    auto wave = client().Get("/wave/10.wav");
    ASSERT_TRUE(wave && wave->status == 200);
    EXPECT_EQ(wave->body.substr(0, 4), "RIFF");

    const json panel = get_json("/panel");
    ASSERT_EQ(panel["windows"].size(), 2u);
    EXPECT_EQ(panel["windows"][1]["ident"], 10);
    EXPECT_EQ(panel["gauges"][7]["gauge"], "Battery_Switch#2") << "a second placement is named as scenarios name it";
}

TEST_F(LiveServerTest, PicturesAreDrawnAtTheScaleAskedAndFollowThePanel) {
    // The PNG header's width and height.
    const auto size = [](const std::string& png) {
        const auto word = [&](std::size_t at) {
            return (std::uint32_t(std::uint8_t(png[at])) << 24) | (std::uint32_t(std::uint8_t(png[at + 1])) << 16) |
                   (std::uint32_t(std::uint8_t(png[at + 2])) << 8) | std::uint32_t(std::uint8_t(png[at + 3]));
        };
        return std::pair{word(16), word(20)};
    };
    const json panel = get_json("/panel");
    const int w = panel["windows"][0]["w"], h = panel["windows"][0]["h"];
    for (const double scale : {0.25, 1.0, 1.5, 2.0, 4.0, 2.0}) {
        auto r = client().Get(("/window/00.png?scale=" + std::to_string(scale)).c_str());
        ASSERT_TRUE(r && r->status == 200) << scale;
        EXPECT_EQ(size(r->body), (std::pair{std::uint32_t(std::lround(w * scale)), std::uint32_t(std::lround(h * scale))}))
            << scale;
    }
    // A click shows at every scale with the update that draws it, under the
    // version of the picture at 1.
    auto at = [&](const char* scale) {
        auto r = client().Get((std::string("/window/00.png?scale=") + scale).c_str());
        return std::pair{r->body, std::stoull(r->get_header_value("X-Picture-Version"))};
    };
    const auto before = at("2");
    auto clicked = post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})");
    ASSERT_TRUE(clicked && clicked->status == 200);
    const std::uint64_t update = json::parse(clicked->body)["update"];
    while (get_json("/panel")["update"] <= update) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto after = at("2");
    EXPECT_NE(after.first, before.first);
    EXPECT_EQ(after.second, at("1").second);
    EXPECT_GT(after.second, before.second);
}

TEST_F(LiveServerTest, AClickReachesThePictureWithTheNextUpdate) {
    const std::string before = client().Get("/window/00.png")->body;
    // Listen to the stream, then click.
    std::atomic<bool> done{false};
    std::string stream;
    std::mutex stream_mutex;
    std::thread reader([&] {
        auto c = client();
        c.Get("/stream", [&](const char* data, std::size_t size) {
            std::lock_guard lock(stream_mutex);
            stream.append(data, size);
            return !done;
        });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    auto r = post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})");
    ASSERT_TRUE(r && r->status == 200);
    const json clicked = json::parse(r->body);
    EXPECT_EQ(clicked["events"], json::parse(R"([{"event":66241,"param":0}])"));
    EXPECT_EQ(clicked["sounds"][0]["wave"], 10);

    // The message of the next update names window 00.
    const std::uint64_t next = clicked["update"].get<std::uint64_t>() + 1;
    const std::string wanted = "\"update\":" + std::to_string(next) + ",\"pictures\":[{\"window\":0";
    for (int i = 0; i < 200; ++i) {
        {
            std::lock_guard lock(stream_mutex);
            if (stream.find(wanted) != std::string::npos) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    {
        std::lock_guard lock(stream_mutex);
        EXPECT_NE(stream.find(wanted), std::string::npos) << stream;
        EXPECT_NE(stream.find("\"sounds\":[{\"gauge\":\"Battery_Switch\",\"wave\":10}]"), std::string::npos) << stream;
    }
    EXPECT_NE(client().Get("/window/00.png")->body, before);
    EXPECT_EQ(get_json("/tooltip?gauge=Battery_Switch&x=15&y=22")["text"], "Battery switch (On)");
    done = true;
    post("/set", R"({"token":61,"value":1})");  // one more message wakes the reader
    server->stop();
    reader.join();
}

TEST_F(LiveServerTest, ADragHoldsItsLeverAcrossUpdatesAndStopsAtTheSlotsEnd) {
    ASSERT_EQ(post("/drag", R"({"gauge":"Throttle_Quadrant","x":45,"y":297})")->status, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // several updates pass
    ASSERT_EQ(post("/drag", R"({"gauge":"Throttle_Quadrant","x":140,"y":-40,"end":true})")->status, 200);
    // Out of the slot and past its top, the same gesture still pushes the throttle fully forward.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_DOUBLE_EQ(get_json("/tokens?numbers=558,559")["558"].get<double>(), 1.0);
    EXPECT_DOUBLE_EQ(get_json("/tokens?numbers=558,559")["559"].get<double>(), 0.0);
}

TEST_F(LiveServerTest, ConcurrentClicksAndReadsEqualTheSameClicksReplayed) {
    const std::vector<std::string> switches = {"Avionics_Switch", "Battery_Switch",  "Beacon_Lights_Switch",
                                               "Landing_Lights_Switch", "Navigation_Lights_Switch",
                                               "Strobe_Lights_Switch",  "Pitot_Heat_Switch"};
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    std::vector<int> clicks(switches.size(), 0);
    std::atomic<int> failures{0}, reads{0};
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < switches.size(); ++i) {
        threads.emplace_back([&, i] {
            auto c = client();
            const std::string body = R"({"gauge":")" + switches[i] + R"(","x":15,"y":22})";
            while (std::chrono::steady_clock::now() < until) {
                auto r = c.Post("/click", body, "application/json");
                if (r && r->status == 200) ++clicks[i];
                else ++failures;
            }
        });
    }
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&] {
            auto c = client();
            while (std::chrono::steady_clock::now() < until) {
                auto r = c.Get("/state");
                if (r && r->status == 200 && json::parse(r->body).contains("gauges")) ++reads;
                else ++failures;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_GT(reads, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the last clicks' update
    json live = get_json("/state");

    // The same clicks, in the scenario language, on the same panel.
    const std::string dir = ::testing::TempDir();
    std::ofstream(dir + "live_replay.cfg") << kPanel;
    std::ofstream scenario(dir + "live_replay.scn");
    scenario << "update\n";
    for (std::size_t i = 0; i < switches.size(); ++i)
        for (int n = 0; n < clicks[i]; ++n) scenario << "click " << switches[i] << " 15 22\n";
    scenario << "update\n";
    scenario.close();
    const auto run = testing::run_program(std::string(ARD_GAUGEHOST) + " state " + dir + "live_replay.cfg --scenario " +
                                          dir + "live_replay.scn 2>/dev/null");
    ASSERT_EQ(run.status, 0) << run.output;
    const json replayed = json::parse(run.output);

    EXPECT_EQ(live["gauges"], replayed["gauges"]);
    // Threads interleave their clicks; what each switch got is the same.
    auto counted = [](const json& list) {
        std::map<std::string, int> n;
        for (const json& e : list) ++n[e.dump()];
        return n;
    };
    EXPECT_EQ(counted(live["events"]), counted(replayed["events"]));
    EXPECT_EQ(counted(live["sounds"]), counted(replayed["sounds"]));
    int total = 0;
    for (int n : clicks) total += n;
    EXPECT_EQ(live["events"].size(), static_cast<std::size_t>(total));
}

// Names of the windows in a message's pictures.
std::vector<int> pictured(const json& update) {
    std::vector<int> windows;
    for (const json& p : update.value("pictures", json::array())) windows.push_back(p["window"].get<int>());
    return windows;
}

TEST_F(LiveServerTest, TheStreamTellsOnlyWhatChanged) {
    auto stream = std::make_unique<StreamReader>(server->port());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // A panel of switches left alone draws the same pictures: nothing to tell.
    const std::size_t quiet = stream->updates().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(stream->updates().size(), quiet);

    // The battery's click: its event and sound, then window 00 alone drawn anew.
    ASSERT_EQ(post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})")->status, 200);
    const json clicked = stream->wait_for(quiet, [](const json& m) { return m.contains("events"); });
    ASSERT_FALSE(clicked.is_null());
    EXPECT_EQ(clicked["events"], json::parse(R"([{"event":66241,"param":0}])"));
    EXPECT_EQ(clicked["sounds"], json::parse(R"([{"gauge":"Battery_Switch","wave":10}])"));
    const json drawn = stream->wait_for(quiet, [](const json& m) { return m.contains("pictures"); });
    ASSERT_FALSE(drawn.is_null());
    EXPECT_EQ(pictured(drawn), std::vector<int>{0});

    // The quadrant's window hidden, then night: the hidden window is not drawn.
    std::size_t from = stream->updates().size();
    ASSERT_EQ(post("/window", R"({"ident":"THROTTLE_PANEL","visible":false})")->status, 200);
    const json hidden = stream->wait_for(from, [](const json& m) { return m.contains("windows"); });
    EXPECT_EQ(hidden["windows"], json::parse(R"([{"window":1,"ident":10,"visible":false}])"));
    from = stream->updates().size();
    ASSERT_EQ(post("/lighting", R"({"mode":"night"})")->status, 200);
    const json night = stream->wait_for(from, [](const json& m) { return m.contains("lighting"); });
    EXPECT_EQ(night["lighting"], "night");
    const json dark = stream->wait_for(from, [](const json& m) { return m.contains("pictures"); });
    EXPECT_EQ(pictured(dark), std::vector<int>{0});

    // Shown again, it is drawn anew in the night it missed.
    from = stream->updates().size();
    ASSERT_EQ(post("/window", R"({"ident":10,"visible":true})")->status, 200);
    const json back = stream->wait_for(from, [](const json& m) { return m.contains("pictures"); });
    EXPECT_EQ(pictured(back), std::vector<int>{1});
    finish();
    stream.reset();
}

// A live panel runs without end: once its records would fill, they start
// afresh, and every click still reaches the stream and every tooltip its text.
TEST_F(LiveServerTest, RecordsStartAfreshWithoutLosingWhatTheStreamTells) {
    finish();
    start({.events = 6, .logged = 4});
    auto stream = std::make_unique<StreamReader>(server->port());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    constexpr int kClicks = 15;
    for (int n = 0; n < kClicks; ++n) {
        ASSERT_EQ(post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})")->status, 200);
        const json tip = get_json("/tooltip?gauge=Battery_Switch&x=15&y=22");
        EXPECT_TRUE(tip["text"] == "Battery switch (On)" || tip["text"] == "Battery switch (Off)") << tip;
    }
    int sounds = 0;
    for (int i = 0; i < 100 && sounds < kClicks; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        sounds = 0;
        for (const json& m : stream->updates()) sounds += static_cast<int>(m.value("sounds", json::array()).size());
    }
    EXPECT_EQ(sounds, kClicks);
    const json state = get_json("/state");
    EXPECT_LT(state["events"].size(), 6u);
    EXPECT_LT(state["tooltips"].size(), 4u);
    finish();
    stream.reset();
}

// A picture of opaque pixels, each from `pixel(x, y)`.
template <typename Pixel>
std::shared_ptr<WindowPicture> picture_of(int width, int height, Pixel pixel) {
    auto p = std::make_shared<WindowPicture>();
    p->width = width;
    p->height = height;
    p->stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
    p->pixels.resize(static_cast<std::size_t>(p->stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = 0xFF000000u | (pixel(x, y) & 0xFFFFFFu);
            std::memcpy(p->pixels.data() + static_cast<std::size_t>(p->stride) * y + 4 * x, &v, 4);
        }
    return p;
}

// The same pixels, not yet encoded.
std::shared_ptr<WindowPicture> copy_of(const WindowPicture& p) {
    auto c = std::make_shared<WindowPicture>();
    c->width = p.width;
    c->height = p.height;
    c->stride = p.stride;
    c->pixels = p.pixels;
    return c;
}

// The PNG read back by Cairo (through libpng, which checks every checksum):
// true when it shows exactly the picture's pixels.
::testing::AssertionResult reads_back(const WindowPicture& p) {
    struct Reader {
        const std::string* png;
        std::size_t at = 0;
    } reader{&p.png()};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->png->size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(data, r->png->data() + r->at, length);
            r->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    const auto done = [&](::testing::AssertionResult r) {
        cairo_surface_destroy(s);
        return r;
    };
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
        return done(::testing::AssertionFailure() << "unreadable PNG: " << cairo_status_to_string(cairo_surface_status(s)));
    if (cairo_image_surface_get_width(s) != p.width || cairo_image_surface_get_height(s) != p.height)
        return done(::testing::AssertionFailure() << "wrong size");
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            std::uint32_t got, want;
            std::memcpy(&got, data + static_cast<std::size_t>(stride) * y + 4 * x, 4);
            std::memcpy(&want, p.pixels.data() + static_cast<std::size_t>(p.stride) * y + 4 * x, 4);
            if ((got | 0xFF000000u) != want)
                return done(::testing::AssertionFailure() << "pixel " << x << "," << y << " differs");
        }
    return done(::testing::AssertionSuccess());
}

// Pictures in a row of one window: each PNG is made from the bands of the one
// before where they are the same, and must read back as its own pixels.
TEST(WindowPictureTest, EachPngReadsBackAsItsPictureWhateverItTookFromTheOneBefore) {
    std::mt19937 random(17);
    const auto noise = [&](int, int) { return static_cast<std::uint32_t>(random()); };
    auto first = picture_of(101, 3 * WindowPicture::kBandRows + 7, noise);
    ASSERT_TRUE(reads_back(*first));

    // One row of the second band changed; the others are taken from the first.
    auto second = copy_of(*first);
    second->pixels[static_cast<std::size_t>(second->stride) * (WindowPicture::kBandRows + 3) + 40] ^= 0x5A;
    second->set_basis(WindowPicture::basis_after(first));
    EXPECT_TRUE(reads_back(*second));

    // The last, short band changed, with a basis never asked for: its own basis counts.
    auto third = copy_of(*second);
    third->pixels[third->pixels.size() - 8] ^= 0x33;
    auto fourth = copy_of(*third);
    fourth->pixels[0] ^= 0x11;
    third->set_basis(WindowPicture::basis_after(second));
    fourth->set_basis(WindowPicture::basis_after(third));
    EXPECT_TRUE(reads_back(*fourth));
    EXPECT_TRUE(reads_back(*third));

    // A window drawn at another size shares nothing with the picture before.
    auto resized = picture_of(64, 20, noise);
    resized->set_basis(WindowPicture::basis_after(fourth));
    EXPECT_TRUE(reads_back(*resized));
    // Flat art, as panels mostly are, deflates to little.
    auto flat = picture_of(800, 600, [](int x, int) { return x < 400 ? 0x202020u : 0x808080u; });
    EXPECT_TRUE(reads_back(*flat));
    EXPECT_LT(flat->png().size(), 800u * 600u * 3u / 100u);
}


// ---------------------------------------------------------------- hardening

// A raw loopback connection, for requests no HTTP client library would send.
class RawConnection {
public:
    explicit RawConnection(int port, const char* address = "127.0.0.1") {
        const bool v6 = std::strchr(address, ':') != nullptr;
        fd_ = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM, 0);
        sockaddr_storage addr{};
        socklen_t size;
        if (v6) {
            auto& a = reinterpret_cast<sockaddr_in6&>(addr);
            a.sin6_family = AF_INET6;
            a.sin6_port = htons(static_cast<std::uint16_t>(port));
            inet_pton(AF_INET6, address, &a.sin6_addr);
            size = sizeof a;
        } else {
            auto& a = reinterpret_cast<sockaddr_in&>(addr);
            a.sin_family = AF_INET;
            a.sin_port = htons(static_cast<std::uint16_t>(port));
            inet_pton(AF_INET, address, &a.sin_addr);
            size = sizeof a;
        }
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), size) == 0;
    }
    ~RawConnection() { ::close(fd_); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return connected_; }
    bool send(const std::string& text) { return ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size()); }
    // Everything until the server closes, or `wait` passes.
    std::string read_all(std::chrono::milliseconds wait) {
        std::string out;
        const auto until = std::chrono::steady_clock::now() + wait;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return out;
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) return out;
            out.append(buffer, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    bool connected_ = false;
};

// The status of a raw answer, 0 when none came.
int status_of(const std::string& answer) {
    if (answer.rfind("HTTP/1.1 ", 0) != 0 || answer.size() < 12) return 0;
    return std::stoi(answer.substr(9, 3));
}

// Panel updates a second while `load` runs.
template <typename Load>
double updates_per_second_during(LivePanel& panel, Load load) {
    const auto before = panel.stats().updates;
    const auto began = std::chrono::steady_clock::now();
    load();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return static_cast<double>(panel.stats().updates - before) / seconds;
}

// Slowloris: a hundred and more connections that send their header a line at
// a time must not hold the server's threads; others are answered, the panel keeps
// its pace, and each slow one is cut once its header's time is up.
TEST_F(LiveServerTest, SlowHeadersHoldNoThreadAndOthersAreAnswered) {
    std::vector<std::unique_ptr<RawConnection>> slow;
    // More than one address may keep waiting: the oldest are pushed out.
    constexpr std::size_t kSlow = kConnectionsPerClient + 32;
    for (std::size_t i = 0; i < kSlow; ++i) {
        slow.push_back(std::make_unique<RawConnection>(server->port()));
        slow.back()->send("GET /panel HTTP/1.1\r\n");
    }
    std::chrono::milliseconds answered{0};
    const double rate = updates_per_second_during(server->panel(), [&] {
        for (int line = 0; line < 3; ++line) {
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            for (auto& c : slow) c->send("X-Slow: " + std::to_string(line) + "\r\n");
        }
        const auto began = std::chrono::steady_clock::now();
        auto c = client();
        c.set_read_timeout(2, 0);
        auto r = c.Get("/panel");
        answered = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
        EXPECT_TRUE(r && r->status == 200);
    });
    EXPECT_LT(answered.count(), 2000);
    EXPECT_GE(rate, 17.0);
    // The slow ones are cut by their header's deadline (or were pushed out by
    // newer ones from the same address): none gets an answer to its request.
    int cut = 0;
    for (auto& c : slow) {
        const int status = status_of(c->read_all(kHeaderDeadline));
        if (status == 408 || status == 503) ++cut;
    }
    EXPECT_EQ(cut, static_cast<int>(kSlow));
    EXPECT_GE(server_counts().pushed_out, kSlow - kConnectionsPerClient);
}

// A flood of readers: with half a million key events recorded, sixteen
// parallel `/state` readers must not slow the panel, which hands them the
// records it keeps as text and writes nothing for them.
TEST_F(LiveServerTest, ParallelStateReadersNeverStallThePanel) {
    finish();
    constexpr std::size_t kEvents = 500000;
    host = std::make_unique<Host>(parse_panel_config(kPanel, "live.cfg"));
    for (std::size_t i = 0; i < kEvents; ++i) host->simulation().key_event(66000 + i % 7, static_cast<std::uint32_t>(i));
    serve_host({.events = Simulation::kMaxEvents, .logged = kMaxLogged});
    std::size_t listed = 0;
    const double rate = updates_per_second_during(server->panel(), [&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
        std::vector<std::thread> readers;
        std::mutex m;
        for (int i = 0; i < 16; ++i)
            readers.emplace_back([&] {
                auto c = client();
                while (std::chrono::steady_clock::now() < until) {
                    auto r = c.Get("/state");
                    ASSERT_TRUE(r && r->status == 200);
                    std::lock_guard lock(m);
                    if (listed == 0) listed = json::parse(r->body)["events"].size();
                }
            });
        for (auto& t : readers) t.join();
    });
    EXPECT_EQ(listed, kEvents);
    EXPECT_GE(rate, 17.0);
}

// What `/state` writes from the records the panel keeps is what the host's
// own `state` writes.
TEST_F(LiveServerTest, TheStateReadLiveIsTheHostsOwn) {
    ASSERT_EQ(post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})")->status, 200);
    ASSERT_EQ(client().Get("/tooltip?gauge=Battery_Switch&x=15&y=22", {{"Sec-Fetch-Site", "same-origin"}})->status, 200);
    const json live = get_json("/state");
    server->stop();
    serving.join();
    server.reset();
    json own = host->state();
    own["updates"] = live["updates"];
    EXPECT_EQ(live, own);
    EXPECT_EQ(live["tooltips"].size(), 1u);
}

// What the drawer sets stays set until it is handed back, and the start
// buttons put the aircraft in its running state before the gauge acts.
TEST_F(LiveServerTest, ASetHoldsUntilReleasedAndTheAircraftStartsRunning) {
    ASSERT_EQ(post("/aircraft", R"({"state":"parked"})")->status, 200);
    ASSERT_EQ(post("/set", R"({"token":753,"value":12.5})")->status, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));  // the bus model had its turns
    EXPECT_EQ(get_json("/held")["held"], json::array({753}));
    EXPECT_EQ(get_json("/tokens?numbers=753")["753"], 12.5);

    ASSERT_EQ(post("/release", R"({"token":753})")->status, 200);
    EXPECT_EQ(get_json("/held")["held"], json::array());
    ASSERT_EQ(post("/aircraft", R"({"state":"running"})")->status, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // a few updates
    const json t = get_json("/tokens?numbers=60,753");
    EXPECT_GT(t["60"].get<double>(), 0.0);
    EXPECT_GT(t["753"].get<double>(), 20.0);
    EXPECT_EQ(post("/aircraft", R"({"state":"flying"})")->status, 400);
}

// Cross-site request forgery: a page of another site reaches the page
// itself and nothing else; a tooltip is recorded only for the page's own look.
TEST_F(LiveServerTest, AnotherSitesPageReachesOnlyThePage) {
    struct Case {
        const char* method;
        const char* path;
        httplib::Headers headers;
        int status;
    };
    const std::string own = "http://127.0.0.1:" + std::to_string(server->port());
    const std::vector<Case> cases = {
        {"GET", "/", {{"Sec-Fetch-Site", "cross-site"}}, 200},
        {"GET", "/cockpit.js", {{"Sec-Fetch-Site", "cross-site"}, {"Origin", "http://evil.example"}}, 200},
        {"GET", "/state", {{"Sec-Fetch-Site", "cross-site"}}, 403},
        {"GET", "/tooltip?gauge=Battery_Switch&x=15&y=22", {{"Sec-Fetch-Site", "cross-site"}}, 403},
        {"GET", "/tooltip?gauge=Battery_Switch&x=15&y=22", {{"Sec-Fetch-Site", "same-site"}}, 403},
        {"GET", "/tooltip?gauge=Battery_Switch&x=15&y=22", {{"Origin", "http://evil.example"}}, 403},
        {"GET", "/window/00.png", {{"Sec-Fetch-Site", "cross-site"}}, 403},
        {"POST", "/set", {{"Origin", "http://evil.example"}}, 403},
        {"POST", "/set", {{"Origin", "null"}}, 403},
        {"POST", "/set", {{"Origin", own}, {"Sec-Fetch-Site", "same-origin"}}, 200},
        // No Sec-Fetch-Site: the user's own navigation or a program, which records nothing.
        {"GET", "/tooltip?gauge=Battery_Switch&x=15&y=22", {}, 200},
    };
    for (const Case& c : cases) {
        auto cl = client();
        auto r = c.method == std::string("GET") ? cl.Get(c.path, c.headers)
                                                : cl.Post(c.path, c.headers, R"({"token":61,"value":3})", "application/json");
        ASSERT_TRUE(r) << c.path;
        EXPECT_EQ(r->status, c.status) << c.method << " " << c.path << " " << r->body;
    }
    EXPECT_EQ(get_json("/state")["tooltips"].size(), 0u) << "no tooltip recorded but for the page";
    EXPECT_EQ(client().Get("/tooltip?gauge=Battery_Switch&x=15&y=22", {{"Sec-Fetch-Site", "same-origin"}})->status, 200);
    EXPECT_EQ(get_json("/state")["tooltips"].size(), 1u);
}

// DNS rebinding and a false warning: loopback is decided by the address,
// whatever its spelling, and the Host check takes the bound address so.
TEST(LoopbackTest, DecidedByTheAddressNotItsSpelling) {
    for (const char* a : {"127.0.0.1", "127.0.0.2", "127.255.255.254", "::1", "0:0:0:0:0:0:0:1", "0000::0001",
                          "::ffff:127.0.0.1", "localhost", "LOCALHOST"})
        EXPECT_TRUE(loopback_address(a)) << a;
    for (const char* a : {"0.0.0.0", "::", "10.0.0.1", "128.0.0.1", "::2", "::ffff:10.0.0.1", "127.0.0.1.example",
                          "localhost.example", "", "1"})
        EXPECT_FALSE(loopback_address(a)) << a;
    for (const char* h : {"127.0.0.2:8018", "[0:0:0:0:0:0:0:1]:8018", "[::1]", "localhost:8018", "127.0.0.1"})
        EXPECT_TRUE(host_header_allowed(h, 8018)) << h;
    for (const char* h : {"evil.example", "evil.example:8018", "127.0.0.1:8019", "[::1]:80", "[::1", "::1", "0.0.0.0:8018",
                          "127.0.0.1:8018:8018", ""})
        EXPECT_FALSE(host_header_allowed(h, 8018)) << h;
}

TEST_F(LiveServerTest, ALoopbackBindInAnySpellingChecksTheHost) {
    for (const char* bind : {"127.0.0.2", "0:0:0:0:0:0:0:1"}) {
        finish();
        host = std::make_unique<Host>(parse_panel_config(kPanel, "live.cfg"));
        ServeOptions options;
        options.port = 0;
        options.bind = bind;
        try {
            server = std::make_unique<LiveServer>(*host, options);
        } catch (const InputError&) {
            continue;  // no IPv6 loopback on this machine
        }
        serving = std::thread([this] { server->run(); });
        while (!server->serving()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const std::string address = std::strchr(bind, ':') ? "[" + std::string(bind) + "]" : bind;
        for (const auto& [name, status] : std::vector<std::pair<std::string, int>>{
                 {address + ":" + std::to_string(server->port()), 200}, {"evil.example", 403}}) {
            RawConnection c(server->port(), std::strchr(bind, ':') ? "::1" : bind);
            ASSERT_TRUE(c.connected()) << bind;
            c.send("GET /panel HTTP/1.1\r\nHost: " + name + "\r\n\r\n");
            EXPECT_EQ(status_of(c.read_all(std::chrono::seconds(5))), status) << bind << " Host: " << name;
        }
    }
}

// Memory exhaustion through the stream: a click's ten thousand key events go
// out as a summary, the messages kept are bounded in bytes, and a reader that
// falls behind them is told to start over.
TEST_F(LiveServerTest, TheStreamKeepsBoundedBytesAndSummarisesFloods) {
    auto stream = std::make_unique<StreamReader>(server->port());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::size_t from = stream->updates().size();
    server->panel().call([](Host& h) {
        for (std::uint32_t i = 0; i < 10000; ++i) h.simulation().key_event(66000, i);
        return 0;
    });
    const json flood = stream->wait_for(from, [](const json& m) { return m.contains("events"); });
    ASSERT_FALSE(flood.is_null());
    EXPECT_EQ(flood["events"].size(), LivePanel::kRecordsInMessage);
    EXPECT_EQ(flood["events_more"], 10000 - LivePanel::kRecordsInMessage);
    EXPECT_EQ(get_json("/state")["events"].size(), 10000u) << "state keeps them all";

    const std::uint64_t first = server->panel().last_message();
    // Messages as large as they come: as many events as one lists, each of the widest numbers.
    for (int i = 0; i < 700; ++i)
        server->panel().call([](Host& h) {
            for (std::size_t k = 0; k <= LivePanel::kRecordsInMessage; ++k) h.simulation().key_event(0xFFFFFFFF, 0xFFFFFFFF);
            return 0;
        });
    bool lost = false;
    const auto kept = server->panel().messages_after(0, std::chrono::milliseconds(0), &lost);
    std::size_t bytes = 0;
    for (const auto& m : kept) bytes += m.text->size();
    EXPECT_TRUE(lost);
    EXPECT_LE(bytes, LivePanel::kKeptMessageBytes);
    EXPECT_LE(kept.size(), LivePanel::kKeptMessages);
    // A reader still at the first message is behind what is kept: resync, and the stream ends.
    EXPECT_GT(kept.front().number, first + 1);
    finish();
    stream.reset();
}

// Request smuggling and confusion: two Host headers, a key given twice, a
// media type that only begins like JSON's, gauge numbers in other spellings.
TEST_F(LiveServerTest, AmbiguousRequestsAreRefused) {
    RawConnection twice(server->port());
    twice.send("GET /panel HTTP/1.1\r\nHost: 127.0.0.1\r\nHost: evil.example\r\n\r\n");
    EXPECT_EQ(status_of(twice.read_all(std::chrono::seconds(5))), 400);

    const json before = get_json("/tokens?numbers=61");
    struct Case {
        std::string body;
        const char* type;
        int status;
    };
    const std::vector<Case> cases = {
        {R"({"token":61,"value":120,"token":62})", "application/json", 400},
        {R"({"token":61,"value":120})", "application/jsonp", 415},
        {R"({"token":61,"value":120})", "text/plain; x=application/json", 415},
        {R"({"gauge":"Battery_Switch#+2","x":15,"y":22})", "application/json", 400},
        {R"({"gauge":"Battery_Switch# 2","x":15,"y":22})", "application/json", 400},
        {R"({"gauge":"Battery_Switch#02","x":15,"y":22})", "application/json", 400},
        {R"({"gauge":"Battery_Switch#2 ","x":15,"y":22})", "application/json", 400},
    };
    for (const Case& c : cases) {
        const char* path = c.body.find("gauge") != std::string::npos ? "/click" : "/set";
        auto r = client().Post(path, c.body, c.type);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, c.status) << c.body << " as " << c.type << ": " << r->body;
    }
    EXPECT_EQ(get_json("/tokens?numbers=61"), before);
    EXPECT_EQ(client().Post("/set", R"({"token":61,"value":120})", "Application/JSON; charset=utf-8")->status, 200);
    EXPECT_EQ(post("/click", R"({"gauge":"Battery_Switch#2","x":15,"y":22})")->status, 200);
}

// A burst of clients: a hundred and fifty connections at once are all
// answered, none reset or dropped for a short listen queue (a dropped one
// waits a second for the kernel to try again).
TEST_F(LiveServerTest, ABurstOfClientsIsAnsweredNotReset) {
    std::vector<std::thread> clients;
    std::atomic<int> answered{0}, retried{0};
    for (int i = 0; i < 150; ++i)
        clients.emplace_back([&] {
            const auto began = std::chrono::steady_clock::now();
            RawConnection c(server->port());
            if (std::chrono::steady_clock::now() - began >= std::chrono::seconds(1)) ++retried;
            if (c.connected() && c.send("GET /cockpit.css HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n") &&
                status_of(c.read_all(std::chrono::seconds(5))) == 200)
                ++answered;
        });
    for (auto& t : clients) t.join();
    EXPECT_EQ(answered, 150);
    EXPECT_EQ(retried, 0);
}

// Ctrl+C or SIGTERM: requests in flight are answered or refused, the audio
// capture gets its length, and `serve` exits 0.
TEST(ServeSignalTest, SigtermFinishesTheCaptureAndExitsZero) {
    const std::string wav = ::testing::TempDir() + "serve_capture.wav";
    std::remove(wav.c_str());
    int port = 0;
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        socklen_t size = sizeof a;
        ::bind(s, reinterpret_cast<sockaddr*>(&a), size);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
        port = ntohs(a.sin_port);
        ::close(s);
    }
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string p = std::to_string(port);
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(ARD_GAUGEHOST, "gaugehost", "serve", "default", "--port", p.c_str(), "--audio-capture", wav.c_str(), nullptr);
        _exit(127);
    }
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(10, 0);
    bool up = false;
    for (int i = 0; i < 200 && !up; ++i) {
        auto r = c.Get("/cockpit.css");
        up = r && r->status == 200;
        if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(up);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(c.Post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})", "application/json")->status, 200);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Readers in flight while the signal comes: each gets an answer, or no connection.
    std::atomic<bool> done{false};
    std::atomic<int> cut{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i)
        readers.emplace_back([&] {
            httplib::Client r("127.0.0.1", port);
            r.set_read_timeout(10, 0);
            while (!done) {
                auto got = r.Get("/state");
                if (!got && got.error() != httplib::Error::Connection) ++cut;
                if (!got || got->status != 200) return;  // refused, or no server any more
            }
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 200 && (ended = ::waitpid(pid, &status, WNOHANG)) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    done = true;
    for (auto& t : readers) t.join();
    if (ended != pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "serve did not stop within 10 seconds of SIGTERM";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(cut, 0);
    std::ifstream in(wav, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 44u);
    const auto u32 = [&](std::size_t at) {
        std::uint32_t v;
        std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    EXPECT_EQ(u32(4), bytes.size() - 8) << "RIFF length";
    const auto data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    EXPECT_EQ(u32(data + 4), bytes.size() - data - 8) << "data length";
    EXPECT_GT(u32(data + 4), 0u);
}

}  // namespace
}  // namespace ardelvine::hostapp
