// The live cockpit's server driven over loopback as the page drives it:
// refusals change nothing, a click's picture arrives with the next update, a
// drag survives the updates between its moves, and concurrent clicks and
// state reads lose or double nothing against the same clicks in a scenario.
#include "tests/live_server_fixture.h"

#include "host/load/text.h"

namespace ardelvine::hostapp {
namespace {

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
             {"/", "index.html"}, {"/cockpit.js", "cockpit.js"}, {"/cockpit.css", "cockpit.css"},
             {"/drawer.js", "drawer.js"}, {"/designer.js", "designer.js"}}) {
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
    std::vector<unsigned char> pixels(static_cast<std::size_t>(p->stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = 0xFF000000u | (pixel(x, y) & 0xFFFFFFu);
            std::memcpy(pixels.data() + static_cast<std::size_t>(p->stride) * y + 4 * x, &v, 4);
        }
    p->set_pixels(pixels.data());
    return p;
}

// The same pixels, not yet encoded.
std::shared_ptr<WindowPicture> copy_of(const WindowPicture& p) {
    auto c = std::make_shared<WindowPicture>();
    c->width = p.width;
    c->height = p.height;
    c->stride = p.stride;
    c->bands_of_rows = p.bands_of_rows;
    return c;
}

// Flips `bits` of the byte `at` bytes into row `y`, in a band of the picture's own.
void flip(WindowPicture& p, int y, int at, unsigned char bits) {
    auto& band = p.bands_of_rows[static_cast<std::size_t>(y / WindowPicture::kBandRows)];
    auto mine = std::make_shared<std::vector<unsigned char>>(*band);
    (*mine)[static_cast<std::size_t>(p.stride) * (y % WindowPicture::kBandRows) + at] ^= bits;
    band = std::move(mine);
}

// A PNG read back by Cairo (through libpng, which checks every checksum) as
// opaque pixels, row after row; none when it is unreadable.
struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Decoded decoded(const std::string& png) {
    struct Reader {
        const std::string* png;
        std::size_t at = 0;
    } reader{&png};
    cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* data, unsigned int length) {
            auto* r = static_cast<Reader*>(closure);
            if (r->png->size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(data, r->png->data() + r->at, length);
            r->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    Decoded d;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        d.width = cairo_image_surface_get_width(s);
        d.height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        d.pixels.resize(static_cast<std::size_t>(d.width) * d.height);
        for (int y = 0; y < d.height; ++y)
            for (int x = 0; x < d.width; ++x) {
                std::memcpy(&d.at(x, y), data + static_cast<std::size_t>(stride) * y + 4 * x, 4);
                d.at(x, y) |= 0xFF000000u;
            }
    }
    cairo_surface_destroy(s);
    return d;
}

// True when the picture's PNG shows exactly its pixels.
::testing::AssertionResult reads_back(const WindowPicture& p) {
    Decoded d = decoded(p.png());
    if (d.width != p.width || d.height != p.height) return ::testing::AssertionFailure() << "unreadable, or of a wrong size";
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            std::uint32_t want;
            std::memcpy(&want, p.row(y) + 4 * x, 4);
            if (d.at(x, y) != want) return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    return ::testing::AssertionSuccess();
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
    flip(*second, WindowPicture::kBandRows + 3, 40, 0x5A);
    second->set_basis(WindowPicture::basis_after(first));
    EXPECT_TRUE(reads_back(*second));

    // The last, short band changed, with a basis never asked for: its own basis counts.
    auto third = copy_of(*second);
    flip(*third, third->height - 1, 4 * third->width - 8, 0x33);
    auto fourth = copy_of(*third);
    flip(*fourth, 0, 0, 0x11);
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

// A reader that shows a picture asks for what changed since its version: a
// click's answer is a patch over the clicked gauge at the scale asked, which
// laid onto the old picture gives the new one; a version the changes kept do
// not reach gets the whole picture, the newest an empty answer.
TEST_F(LiveServerTest, APatchSinceTheVersionShownMakesTheNewPictureOfTheOld) {
    const json panel = get_json("/panel");
    const int w = panel["windows"][0]["w"], h = panel["windows"][0]["h"];
    json gauge;
    for (const json& g : panel["gauges"])
        if (g["gauge"] == "Battery_Switch") gauge = g;
    const auto get = [&](const std::string& query) { return client().Get(("/window/00.png?" + query).c_str()); };
    const auto version = [](const httplib::Result& r) { return std::stoull(r->get_header_value("X-Picture-Version")); };
    for (const int scale : {1, 2}) {
        const std::string at = "scale=" + std::to_string(scale);
        auto old = get(at);
        ASSERT_TRUE(old && old->status == 200);
        const std::uint64_t shown = version(old);
        auto clicked = post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})");
        ASSERT_TRUE(clicked && clicked->status == 200);
        const std::uint64_t update = json::parse(clicked->body)["update"];
        while (get_json("/panel")["update"] <= update) std::this_thread::sleep_for(std::chrono::milliseconds(5));

        auto patch = get(at + "&since=" + std::to_string(shown));
        ASSERT_TRUE(patch && patch->status == 200) << scale;
        ASSERT_TRUE(patch->has_header("X-Patch")) << scale;
        EXPECT_GT(version(patch), shown);
        // Each piece inside the picture, one over the switch, whose lever
        // moves; laid onto the old picture they make the new one.
        const std::string pieces = patch->get_header_value("X-Patch");
        Decoded picture = decoded(old->body), packed = decoded(patch->body);
        ASSERT_GT(packed.width, 0);
        EXPECT_LE(2 * packed.width * packed.height, w * h * scale * scale);
        const int gx = gauge["x"].get<int>() * scale, gy = gauge["y"].get<int>() * scale;
        const int gw = gauge["w"].get<int>() * scale, gh = gauge["h"].get<int>() * scale;
        bool over_switch = false;
        for (const std::string& piece : split(pieces, ';')) {
            int x = 0, y = 0, pw = 0, ph = 0, px = 0, py = 0;
            ASSERT_GE(std::sscanf(piece.c_str(), "%d,%d,%d,%d,%d,%d", &x, &y, &pw, &ph, &px, &py), 4) << pieces;
            ASSERT_TRUE(x >= 0 && y >= 0 && pw > 0 && ph > 0 && x + pw <= w * scale && y + ph <= h * scale) << pieces;
            ASSERT_TRUE(px >= 0 && py >= 0 && px + pw <= packed.width && py + ph <= packed.height) << pieces;
            over_switch = over_switch || (x < gx + gw && gx < x + pw && y < gy + gh && gy < y + ph);
            // Every band of rows a piece spans holds a tile that changed.
            for (int band = 0; band < ph; band += WindowPicture::kBandRows) {
                bool differs = false;
                for (int row = band; row < std::min(ph, band + WindowPicture::kBandRows); ++row)
                    for (int column = 0; column < pw; ++column) {
                        differs = differs || picture.at(x + column, y + row) != packed.at(px + column, py + row);
                        picture.at(x + column, y + row) = packed.at(px + column, py + row);
                    }
                EXPECT_TRUE(differs) << piece << " band " << band;
            }
        }
        EXPECT_TRUE(over_switch) << pieces;
        auto whole = get(at);
        EXPECT_EQ(version(whole), version(patch));
        EXPECT_EQ(picture.pixels, decoded(whole->body).pixels) << "scale " << scale;

        auto none = get(at + "&since=" + std::to_string(version(whole)));
        EXPECT_EQ(none->status, 204);
        EXPECT_EQ(version(none), version(whole));
        for (const std::uint64_t unknown : {std::uint64_t{0}, std::uint64_t{version(whole) + 1}}) {
            auto r = get(at + "&since=" + std::to_string(unknown));
            EXPECT_FALSE(r->has_header("X-Patch")) << unknown;
            EXPECT_EQ(decoded(r->body).pixels, decoded(whole->body).pixels) << unknown;
        }
    }
    EXPECT_EQ(get("since=x")->status, 400);

    // Changes kept reach back as far as their oldest `from`, and a picture is
    // handed out under versions up to the next one's. They are told in tiles,
    // cut at the picture's edges, runs of the same columns joined down.
    WindowPicture p;
    p.version = 9;
    p.width = 200;
    p.height = 100;
    p.changes = {{4, 6, {{0, 0, 2, 2}}}, {6, 8, {{130, 40, 1, 1}}}, {8, 9, {{150, 70, 60, 30}}}};
    using Rects = std::vector<WindowPicture::Rect>;
    const Rects corner = {{128, 64, 72, 36}};
    const std::vector<std::pair<std::uint64_t, std::optional<Rects>>> cases = {
        {3, std::nullopt}, {4, Rects{{0, 0, 64, 32}, {128, 32, 64, 32}, corner[0]}}, {7, Rects{{128, 32, 64, 32}, corner[0]}},
        {8, corner}, {9, Rects{}}, {11, Rects{}}, {12, std::nullopt}};
    for (const auto& [shown, want] : cases) EXPECT_EQ(p.changed_since(shown, 11), want) << shown;
}

}  // namespace
}  // namespace ardelvine::hostapp
