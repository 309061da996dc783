// A long run of the built-in panel as a live cockpit would drive it: every
// update a click on the battery switch and a tooltip over it, for a million
// updates by default. Reports the process's resident memory at the start,
// along the way and at the end, and the time per update. The host's logs are
// bounded, so memory levels off once they are full.
//
//   ardelvine_soak [UPDATES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/panel_host.h"

namespace {

// Resident set size in kilobytes, from the kernel's view of this process.
long resident_kb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ardelvine::hostapp;
    const long updates = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    if (updates <= 0) {
        std::fprintf(stderr, "usage: ardelvine_soak [UPDATES]\n");
        return 2;
    }
    Host& host = panel_host();
    Placement* battery = host.find({"Battery_Switch", 1});
    if (battery == nullptr) return 1;
    host.update(10);
    const long start_kb = resident_kb();
    std::printf("%-12s %12s %14s %10s %10s %10s\n", "updates", "memory (kB)", "us per update", "events", "sounds",
                "tooltips");
    const auto started = std::chrono::steady_clock::now();
    auto report = [&](long done) {
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count();
        std::printf("%-12ld %12ld %14.2f %10zu %10zu %10zu\n", done, resident_kb(), done > 0 ? us / done : 0.0,
                    host.simulation().events().size(), host.sounds().size(), host.tooltips().size());
        std::fflush(stdout);
    };
    report(0);
    for (long n = 1; n <= updates; ++n) {
        host.click(*battery, 15, 22, {Button::LEFT, 0});
        host.tooltip(*battery, 15, 22);
        host.update();
        if (n % (updates / 10 > 0 ? updates / 10 : 1) == 0) report(n);
    }
    std::printf("memory: %ld kB at the start, %ld kB at the end\n", start_kb, resident_kb());
    return 0;
}
