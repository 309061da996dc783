// A panel of gauges run by the host, for the tests that drive gauges through
// it: finding a placed gauge, clicking it, reading its tooltip, its elements
// and the key events the simulation received.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/run/host.h"

namespace ardelvine::hostapp {

using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

struct HostOnPanel : ::testing::Test {
    std::unique_ptr<Host> host;
    // Where the host writes what it plays, when a test listens: one file per
    // test, since ctest runs the tests of a fixture side by side.
    std::string capture;

    void open(const char* panel, const std::string& file_name, bool capture_audio = false) {
        HostOptions options;
        if (capture_audio) {
            capture = ::testing::TempDir() + file_name + "_" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav";
            options.audio_capture = capture;
        }
        host = std::make_unique<Host>(parse_panel_config(panel, file_name), options);
    }

    Simulation& sim() { return host->simulation(); }
    Placement& gauge(const std::string& name, int copy = 1) {
        Placement* p = host->find({name, copy});
        EXPECT_NE(p, nullptr) << name << "#" << copy;
        return *p;
    }
    const ElementState& element(const std::string& name, std::size_t index, int copy = 1) {
        return gauge(name, copy).elements().at(index);
    }
    void click(const std::string& name, int x, int y, Button button = Button::LEFT, int copy = 1) {
        host->click(gauge(name, copy), x, y, {.button = button});
    }
    std::string tooltip(const std::string& name, int x, int y, int copy = 1) {
        return host->tooltip(gauge(name, copy), x, y);
    }
    Events events_since(std::size_t from = 0) {
        Events out;
        const auto& all = sim().events();
        for (std::size_t i = from; i < all.size(); ++i) out.emplace_back(all[i].event, all[i].param);
        return out;
    }
    std::size_t sounds() const { return host->sounds().size(); }
};

}  // namespace ardelvine::hostapp
