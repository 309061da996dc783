// A host running one of the example panels, updated once, with the look-ups
// the host tests of its gauges share.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "host/run/host.h"

namespace ardelvine::hostapp {

class ExamplePanel : public ::testing::Test {
protected:
    explicit ExamplePanel(const char* panel_file) : panel_file_(panel_file) {}

    void SetUp() override {
        host = std::make_unique<Host>(load_panel_config(panel_file_));
        host->update();
    }

    Placement& gauge(const std::string& name) {
        Placement* p = host->find({name});
        EXPECT_NE(p, nullptr) << name;
        return *p;
    }
    const ElementState& element(const std::string& name, std::size_t index) {
        return gauge(name).elements().at(index);
    }
    // Sets a token and shows it: one update.
    void set(std::uint32_t token, double value) {
        host->simulation().set_token(token, value);
        host->update();
    }

    std::unique_ptr<Host> host;

private:
    const char* panel_file_;
};

}  // namespace ardelvine::hostapp
