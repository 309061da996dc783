// A panel configuration and a scenario, run in process on the host's own
// code against the built module: parsing, placement, installation, updates,
// clicks, drags, tooltips and the state it reports. Input: the panel text, a
// line "%%", then the scenario text. Scenarios that would run for long
// (many updates or held clicks) are skipped so every input stays quick.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/load/error.h"
#include "host/run/host.h"

namespace {

using namespace ardelvine::hostapp;

// Updates plus held repeats one input may ask for.
constexpr std::uint64_t kWorkBudget = 2000;

bool quick(const Scenario& s) {
    std::uint64_t work = 0;
    for (const Command& c : s.commands)
        if (c.kind == Command::Kind::UPDATE || c.kind == Command::Kind::CLICK) work += c.number + 1;
    return work <= kWorkBudget;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find("\n%%\n");
    const std::string panel_text = input.substr(0, cut);
    const std::string scenario_text = cut == std::string::npos ? std::string() : input.substr(cut + 4);
    try {
        PanelConfig panel = parse_panel_config(panel_text, "fuzz.cfg");
        const Scenario scenario = parse_scenario(scenario_text, "fuzz.scn");
        if (!quick(scenario)) return 0;
        HostOptions options;
        options.module_path = ARD_DEFAULT_MODULE;
        Host host(std::move(panel), options);
        host.validate(scenario);
        host.run(scenario);
        (void)host.state().dump();
    } catch (const InputError&) {
    }
    return 0;
}
