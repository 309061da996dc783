// The live cockpit as a page sees it, over loopback: how long a click takes
// to reach the changed window's picture, and how many frames a second the
// server keeps up with while the page fetches every picture it is told of.
// The panel is the built-in one after its built-in cruise; "moving" flies a
// turn that swings every flight instrument, through /set as the drawer does,
// so that the windows change on every update.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/panel_host.h"
#include "host/live/live_server.h"

namespace ardelvine::hostapp {
namespace {

using Clock = std::chrono::steady_clock;
using json = nlohmann::json;

// The built-in panel served on a free port until destroyed.
class Served {
public:
    Served() : server_(panel_host(), options()) {
        serving_ = std::thread([this] { server_.run(); });
        while (!server_.serving()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Served() {
        server_.stop();
        serving_.join();
    }
    Served(const Served&) = delete;
    Served& operator=(const Served&) = delete;

    LiveServer& server() { return server_; }
    httplib::Client client() const {
        httplib::Client c("127.0.0.1", server_.port());
        c.set_read_timeout(10, 0);
        return c;
    }

private:
    static ServeOptions options() {
        ServeOptions o;
        o.port = 0;
        return o;
    }
    LiveServer server_;
    std::thread serving_;
};

std::string window_path(int window) {
    char path[32];
    std::snprintf(path, sizeof path, "/window/%02d.png", window);
    return path;
}

// From POST /click on the battery switch until GET /window/NN.png answers
// the picture in which it moved. The picture comes with the next update, so
// the mean lies near half an update period plus the drawing. A pilot clicks
// at any moment of the period: each click waits its own part of one first
// (not timed), or every click would land just after the update that drew
// the one before and wait a whole period.
void BM_LiveClickToPicture(benchmark::State& state) {
    Served served;
    auto c = served.client();
    const json layout = json::parse(c.Get("/panel")->body);
    int window = -1;
    for (const json& g : layout["gauges"])
        if (g["gauge"] == "Battery_Switch") window = g["window"].get<int>();
    LivePanel& panel = served.server().panel();
    const std::string path = window_path(window);
    std::vector<double> took;
    int n = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(n++ * 23 % 56));
        const std::uint64_t before = panel.picture(window)->version;
        const auto start = Clock::now();
        auto clicked = c.Post("/click", R"({"gauge":"Battery_Switch","x":15,"y":22})", "application/json");
        if (!clicked || clicked->status != 200) {
            state.SkipWithError("the click was refused");
            break;
        }
        // The stream would say so; asking the panel directly costs less here.
        while (panel.picture(window)->version == before) std::this_thread::sleep_for(std::chrono::microseconds(200));
        auto picture = c.Get(path);
        if (!picture || std::stoull(picture->get_header_value("X-Picture-Version")) <= before) {
            state.SkipWithError("the picture did not change");
            break;
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        took.push_back(seconds * 1e3);
    }
    if (!took.empty()) {
        std::sort(took.begin(), took.end());
        state.counters["median_ms"] = took[took.size() / 2];
        state.counters["worst_ms"] = took.back();
    }
}
BENCHMARK(BM_LiveClickToPicture)->Iterations(54)->UseManualTime()->Unit(benchmark::kMillisecond);

// Three seconds of the live panel with a page reading the stream and
// fetching every changed picture. Counters: panel updates (frames) a second,
// updates that started a whole period late, the longest and the mean update
// with its drawing, the frames a second the panel thread could run at that
// mean, and the pictures the page received a second.
void BM_LiveFramesPerSecond(benchmark::State& state) {
    const bool moving = state.range(0) != 0;
    Served served;
    LivePanel& panel = served.server().panel();
    std::atomic<bool> done{false};
    std::atomic<long> pictures{0};

    std::thread page([&] {
        auto stream = served.client();
        auto fetch = served.client();
        std::string pending;
        stream.Get("/stream", [&](const char* data, std::size_t size) {
            pending.append(data, size);
            for (auto end = pending.find("\n\n"); end != std::string::npos; end = pending.find("\n\n")) {
                const std::string message = pending.substr(0, end);
                pending.erase(0, end + 2);
                const auto at = message.find("data: ");
                if (message.rfind("event: update", 0) != 0 || at == std::string::npos) continue;
                const json update = json::parse(message.substr(at + 6));
                for (const json& p : update.value("pictures", json::array()))
                    if (auto r = fetch.Get(window_path(p["window"].get<int>())); r && r->status == 200) ++pictures;
            }
            return !done;
        });
    });
    std::thread pilot([&] {
        if (!moving) return;
        auto c = served.client();
        auto set = [&](int token, double value) {
            c.Post("/set", json{{"token", token}, {"value", value}}.dump(), "application/json");
        };
        for (int n = 0; !done; ++n) {
            const double t = n / 18.0;
            set(84, std::fmod(95.0 + 3.0 * t, 360.0));  // heading: a standard-rate turn
            set(80, -15.0 + 10.0 * std::sin(t));        // bank
            set(78, 3.0 * std::sin(0.7 * t));           // pitch
            set(61, 120.0 + 20.0 * std::sin(0.3 * t));  // airspeed
            set(74, 3500.0 + 300.0 * std::sin(0.2 * t));  // altitude
            std::this_thread::sleep_for(std::chrono::milliseconds(55));
        }
    });

    constexpr double kSeconds = 3.0;
    LivePanel::Stats first, last;
    long pictures_first = 0, pictures_last = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the page has its first pictures
        first = panel.stats();
        pictures_first = pictures;
        const auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        last = panel.stats();
        pictures_last = pictures;
        state.SetIterationTime(seconds);
        const double updates = static_cast<double>(last.updates - first.updates);
        state.counters["frames_per_s"] = updates / seconds;
        state.counters["late"] = static_cast<double>(last.late - first.late);
        state.counters["busiest_ms"] = last.busiest * 1e3;
        state.counters["mean_ms"] = updates > 0 ? (last.busy - first.busy) / updates * 1e3 : 0.0;
        state.counters["could_run_per_s"] = last.busy > first.busy ? updates / (last.busy - first.busy) : 0.0;
        state.counters["pictures_per_s"] = static_cast<double>(pictures_last - pictures_first) / seconds;
    }
    done = true;
    served.server().stop();  // ends the stream the page reads
    page.join();
    pilot.join();
}
BENCHMARK(BM_LiveFramesPerSecond)
    ->ArgName("moving")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ardelvine::hostapp
