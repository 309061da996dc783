// The built-in panel after its built-in scenario, shared by every benchmark
// of the program: a process runs one host at a time, so the benchmarks take
// turns with the same one rather than each making its own.
#pragma once

#include "host/load/default_panel.h"
#include "host/run/host.h"

namespace ardelvine::hostapp {

inline Host& panel_host() {
    static Host* host = [] {
        auto* h = new Host(parse_panel_config(kDefaultPanel, "(built-in panel)"));
        h->run(parse_scenario(kDefaultScenario, "(built-in scenario)"));
        return h;
    }();
    return *host;
}

}  // namespace ardelvine::hostapp
