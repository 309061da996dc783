// The live server under attack: slow clients, parallel state readers, other
// sites' pages, loopback spellings, floods of messages, ambiguous requests,
// bursts of clients and a stop signal; each test names what it stops.
#include "tests/live_server_fixture.h"

namespace ardelvine::hostapp {
namespace {

// Its own suite: a fixture class is one per test program in each suite.
struct LiveServerHardening : LiveServerTest {};

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

// The panel runs 18.2 updates a second. A server thread that holds the panel
// while it works for a client stops it for as long as that lasts, which
// shows as a rate far under this; a machine busy with other tests under the
// sanitizers only takes a few updates off it.
constexpr double kPanelKeepsItsPace = 9.0;

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
TEST_F(LiveServerHardening, SlowHeadersHoldNoThreadAndOthersAreAnswered) {
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
    EXPECT_GE(rate, kPanelKeepsItsPace);
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
TEST_F(LiveServerHardening, ParallelStateReadersNeverStallThePanel) {
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
    EXPECT_GE(rate, kPanelKeepsItsPace);
}

// What `/state` writes from the records the panel keeps is what the host's
// own `state` writes.
TEST_F(LiveServerHardening, TheStateReadLiveIsTheHostsOwn) {
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
TEST_F(LiveServerHardening, ASetHoldsUntilReleasedAndTheAircraftStartsRunning) {
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
TEST_F(LiveServerHardening, AnotherSitesPageReachesOnlyThePage) {
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

TEST_F(LiveServerHardening, ALoopbackBindInAnySpellingChecksTheHost) {
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
TEST_F(LiveServerHardening, TheStreamKeepsBoundedBytesAndSummarisesFloods) {
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
TEST_F(LiveServerHardening, AmbiguousRequestsAreRefused) {
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
TEST_F(LiveServerHardening, ABurstOfClientsIsAnsweredNotReset) {
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
