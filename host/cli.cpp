#include "host/cli.h"

#include <iostream>
#include <map>
#include <optional>

#include "host/default_panel.h"
#include "host/error.h"
#include "host/host.h"

namespace ardelvine::hostapp {

const char* const kUsage = R"(gaugehost - runs the Ardelvine instruments gauge module outside the simulator

Usage:
  gaugehost                          run the built-in panel and scenario (all 62 gauges)
  gaugehost list                     the module's gauges: Linkage order, default width, callback
  gaugehost state PANEL [options]    run a panel and print what it shows as JSON
  gaugehost --help                   this text

PANEL is a panel configuration file, or "default" for the built-in panel.

Options:
  --scenario FILE      drive the panel with a scenario (set, update, ready, click,
                       drag, tooltip, fail, lighting, window, atc, snapshot)
  --module PATH        the gauge module to load (default: the one built beside gaugehost)
  --atc-id TEXT        the aircraft's identifier, as (A:ATC ID,string) answers it

Bad input (a panel configuration, scenario, module or option) is reported on
one line naming the file and line, with exit status 2.
)";

namespace {

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
};

constexpr const char* kValueOptions[] = {"--scenario", "--module", "--atc-id", "--out", "--lighting", "--audio-capture"};

Options parse_options(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            bool known = false;
            for (const char* v : kValueOptions) {
                if (a == v) {
                    if (i + 1 >= args.size()) throw InputError("option " + a + " needs a value");
                    o.values[a] = args[++i];
                    known = true;
                }
            }
            if (!known) throw InputError("unknown option " + a + " (see gaugehost --help)");
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

std::string option(const Options& o, const std::string& name, const std::string& fallback = "") {
    auto it = o.values.find(name);
    return it == o.values.end() ? fallback : it->second;
}

PanelConfig panel_from(const std::string& name) {
    if (name == "default") return parse_panel_config(kDefaultPanel, "(built-in panel)");
    return load_panel_config(name);
}

HostOptions host_options(const Options& o) {
    HostOptions h;
    h.module_path = option(o, "--module", ARD_DEFAULT_MODULE);
    h.atc_id = option(o, "--atc-id");
    return h;
}

Scenario scenario_from(const Options& o) {
    const std::string file = option(o, "--scenario");
    return file.empty() ? Scenario{} : load_scenario(file);
}

int cmd_list(const Options& o, std::ostream& out) {
    PanelServices none{};
    LoadedModule module(option(o, "--module", ARD_DEFAULT_MODULE), &none);
    out << module.name() << ": " << module.gauges().size() << " gauges\n";
    int n = 1;
    for (const GaugeHeader* g : module.gauges()) {
        out << (n < 10 ? " " : "") << n << "  " << g->name;
        for (std::size_t pad = std::string(g->name).size(); pad < 26; ++pad) out << ' ';
        out << g->default_width << " mm" << (g->default_width < 100 ? " " : "") << "  "
            << (g->callback != nullptr ? "callback" : "-") << "\n";
        ++n;
    }
    return 0;
}

int cmd_state(const Options& o, std::ostream& out) {
    if (o.positional.size() != 1) throw InputError("state needs one panel configuration (or \"default\")");
    PanelConfig panel = panel_from(o.positional[0]);
    Scenario scenario = scenario_from(o);
    Host host(std::move(panel), host_options(o));
    host.validate(scenario);
    if (scenario.commands.empty()) host.update();
    host.run(scenario);
    out << host.state().dump(2) << "\n";
    return 0;
}

int cmd_default(const Options& o, std::ostream& out) {
    Host host(panel_from("default"), host_options(o));
    Scenario scenario = parse_scenario(kDefaultScenario, "(built-in scenario)");
    host.run(scenario);
    std::size_t elements = 0, visible = 0;
    for (auto& p : host.placements()) {
        for (const ElementState& e : p->elements()) {
            ++elements;
            if (e.visible) ++visible;
        }
    }
    out << "Built-in panel: " << host.placements().size() << " gauges in " << host.panel().windows.size()
        << " windows, " << host.updates() << " updates, " << elements << " elements evaluated (" << visible
        << " visible), " << host.simulation().events().size() << " key events, " << host.tooltips().size()
        << " tooltips\n";
    for (const TooltipShown& t : host.tooltips()) out << "  tooltip " << t.gauge << ": \"" << t.text << "\"\n";
    return 0;
}

}  // namespace

int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        for (const std::string& a : args) {
            if (a == "--help" || a == "-h" || a == "help") {
                out << kUsage;
                return 0;
            }
        }
        const Options o = parse_options(args);
        if (o.command.empty()) return cmd_default(o, out);
        if (o.command == "list") return cmd_list(o, out);
        if (o.command == "state") return cmd_state(o, out);
        throw InputError("unknown command '" + o.command + "' (see gaugehost --help)");
    } catch (const InputError& e) {
        err << "gaugehost: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "gaugehost: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace ardelvine::hostapp
