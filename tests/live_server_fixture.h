// The live server's test fixture: a panel served over loopback, a client
// of it, and the state a refused request must leave alone.
#pragma once

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

}  // namespace
}  // namespace ardelvine::hostapp
