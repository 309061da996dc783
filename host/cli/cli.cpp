#include "host/cli/cli.h"

#include <climits>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>

#include "host/cli/checker.h"
#include "host/cli/gauge_sizes.h"
#include "host/cli/lenient_panel.h"
#include "host/cli/cli_options.h"
#include "host/load/default_panel.h"
#include "host/load/error.h"
#include "host/run/host.h"
#include "host/cli/resources_export.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

const char* const kUsage = R"(gaugehost - runs the Ardelvine instruments gauge module outside the simulator

Usage:
  gaugehost [--out DIR]              run the built-in panel and scenario (all 62 gauges) and
                                     write a PNG of each window to DIR (./gaugehost-out)
  gaugehost render PANEL [options]   run a panel and write a PNG of each visible window
  gaugehost list [--json]            the module's gauges in Linkage order: default width and
                                     height in panel units, background bitmap size, callback
  gaugehost catalogue DIR            write the gauge catalogue for panel designers into DIR:
                                     index.html and a page per gauge with its pictures, sizes,
                                     panel line, tokens, key events, tooltips, parameter
                                     options, failures and sounds
  gaugehost resources export DIR     write every bitmap and sound of the module by id
                                     (bitmap-1400.bmp, wave-10.wav): the names replacement
                                     art takes (configure with -DARD_ART_DIR=DIR)
  gaugehost state PANEL [options]    run a panel and print what it shows as JSON
  gaugehost serve PANEL [options]    run a panel live, 18 updates a second, as a cockpit page
                                     in the browser (Ctrl+C stops); see the README for its
                                     HTTP interface
  gaugehost check PANEL [--strict]   read a panel and place its gauges without running
                                     any, and list what a designer should know: its
                                     warnings, gauges outside their window, overlapping
                                     click areas and faces, stretched gauges, gauges
                                     too small to read or enlarged until they blur,
                                     hidden windows nothing opens, window buttons
                                     whose click acts on the main panel or on no
                                     window, and every line it cannot read (exit 0
                                     with nothing worse than findings, 2 with lines
                                     it cannot read; with --strict, exit 2 on any
                                     finding)
  gaugehost --help                   this text

PANEL is a panel configuration file, or "default" for the built-in panel.
Gauges of other modules in it are shown as labelled outlines and listed in
state's "unloaded"; keys the simulator does not know and other slips are
warnings on stderr, naming the file and line.

Options:
  --scenario FILE      drive the panel with a scenario (set, update, ready, reload,
                       click, drag, tooltip, fail, lighting, window, atc, snapshot)
  --module PATH        the gauge module to load (default: the one built beside gaugehost)
  --atc-id TEXT        the aircraft's identifier, as (A:ATC ID,string) answers it
  --audio-capture FILE write every sound played to FILE (a WAV); the panel's clock
                       runs 1/18 s per update. Without it, render and the built-in
                       run play on the sound card and state mixes offline (its
                       "sounds" list is then the same on every machine)
  --strict             the panel's warnings are errors: it is refused (exit 2)

Render options:
  --out DIR            where the pictures go (default: the current folder; for the
                       built-in run ./gaugehost-out)
  --lighting day|night the lighting to start with (a scenario may change it); at
                       night only bright and, with the panel lights on, lit parts shine
  --scale N            pixels per panel unit (default 1; from 1.5 the finer art
                       beside the module is drawn, where the build left it)
  --areas              draw every mouse area over the gauges: a colour per cursor,
                       the key event's name (or handler) and buttons of click areas,
                       the tooltip text of others, labels placed clear of each other
  --all-windows        every window starts shown and is drawn, hidden subpanels too

Serve options (also --scenario, --lighting):
  --port N             the port to listen on (default 8018; 0 picks a free one)
  --bind ADDR          the address to listen on (default 127.0.0.1, this machine
                       only); any other lets whoever reaches it operate the panel.
                       The built-in panel starts in its built-in flight unless a
                       --scenario is given
  --edit               designer mode: gauges and windows are moved, resized, added
                       and removed in the page while they run, and saved back into
                       PANEL, every other line of it kept byte for byte

Pictures are named window-NN-TITLE.png after the window, and a virtual
cockpit's texture vcockpit-NN.png (serve shows windows only); each scenario
`snapshot NAME` also writes them as NAME-window-NN-TITLE.png at that moment.

Bad input (a panel configuration, scenario, module or option) is reported on
one line naming the file and line, with exit status 2.
)";

namespace {

// Messages echo what they were given; a bad line of a megabyte is shown cut.
constexpr std::size_t kMaxMessage = 400;

constexpr const char* kValueOptions[] = {"--scenario", "--module", "--atc-id", "--out", "--lighting", "--audio-capture", "--scale",
                                         "--port", "--bind"};
constexpr const char* kFlagOptions[] = {"--areas", "--strict", "--json", "--all-windows", "--edit"};

Options parse_options(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            bool known = false;
            for (const char* f : kFlagOptions) {
                if (a == f) {
                    o.values.emplace(a, "1");
                    known = true;
                }
            }
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

}  // namespace

std::string option(const Options& o, const std::string& name, const std::string& fallback) {
    auto it = o.values.find(name);
    return it == o.values.end() ? fallback : it->second;
}

PanelConfig panel_from(const std::string& name) {
    if (name == "default") return parse_panel_config(kDefaultPanel, "(built-in panel)");
    return load_panel_config(name);
}

[[noreturn]] void refuse_strict(const std::string& file, std::size_t count, const char* what) {
    throw input_error(file, 0,
                      std::to_string(count) + " " + what + (count == 1 ? "" : "s") + ", refused under --strict");
}

void report_warnings(const Options& o, const PanelConfig& panel, std::ostream& err) {
    const bool strict = o.values.count("--strict") > 0;
    for (const PanelWarning& w : panel.warnings) {
        const std::string where = panel.file + ":" + (w.line > 0 ? std::to_string(w.line) + ":" : "");
        err << "gaugehost: " << printable(where + (strict ? " " : " warning: ") + w.text, kMaxMessage) << "\n";
    }
    if (strict && !panel.warnings.empty()) refuse_strict(panel.file, panel.warnings.size(), "warning");
}

// `state` mixes offline unless asked to capture, so the sounds it lists do not
// depend on the machine having a sound card; pictures play on the real one.
HostOptions host_options(const Options& o, std::ostream& err, AudioOutput audio) {
    HostOptions h;
    h.audio = audio;
    // Said once the host has added its own (other modules), before anything runs.
    h.accept = [&o, &err](const Host& host) { report_warnings(o, host.panel(), err); };
    h.module_path = option(o, "--module", ARD_DEFAULT_MODULE);
    h.atc_id = option(o, "--atc-id");
    h.audio_capture = option(o, "--audio-capture");
    return h;
}

Scenario scenario_from(const Options& o, const PanelConfig& panel) {
    Scenario scenario;
    if (o.values.count("--scenario") > 0) scenario = load_scenario(option(o, "--scenario"));
    validate_scenario(panel, scenario);
    return scenario;
}

namespace {

void expect_no_arguments(const Options& o, const char* command) {
    if (!o.positional.empty())
        throw InputError(std::string(command) + " takes no arguments, got '" + o.positional[0] + "'");
}

int cmd_list(const Options& o, std::ostream& out) {
    expect_no_arguments(o, "list");
    PanelServices none{};
    LoadedModule module(option(o, "--module", ARD_DEFAULT_MODULE), &none);
    const std::vector<GaugeSize> sizes = gauge_sizes(module);
    if (o.values.count("--json") > 0) {
        nlohmann::ordered_json gauges = nlohmann::ordered_json::array();
        for (const GaugeSize& g : sizes)
            gauges.push_back({{"name", g.gauge->name}, {"width", g.width}, {"height", g.height},
                              {"bitmap", {{"id", g.bitmap}, {"width", g.face.width}, {"height", g.face.height}}},
                              {"callback", g.gauge->callback != nullptr}});
        out << nlohmann::ordered_json{{"module", module.name()}, {"gauges", std::move(gauges)}}.dump(2) << "\n";
        return 0;
    }
    out << module.name() << ": " << sizes.size()
        << " gauges; default width and height in panel units (a panel line may give its own)\n";
    char line[160];
    std::snprintf(line, sizeof line, "%3s  %-26s %6s %6s  %-9s %s\n", "#", "name", "width", "height", "bitmap", "callback");
    out << line;
    int n = 1;
    for (const GaugeSize& g : sizes) {
        const std::string face = std::to_string(g.face.width) + "x" + std::to_string(g.face.height);
        std::snprintf(line, sizeof line, "%3d  %-26s %6u %6d  %-9s %s\n", n++, g.gauge->name, g.width, g.height,
                      face.c_str(), g.gauge->callback != nullptr ? "callback" : "-");
        out << line;
    }
    return 0;
}

int cmd_resources(const Options& o, std::ostream& out) {
    if (o.positional.size() != 2 || o.positional[0] != "export")
        throw InputError("expected: gaugehost resources export DIR");
    PanelServices none{};
    LoadedModule module(option(o, "--module", ARD_DEFAULT_MODULE), &none);
    const std::size_t written = export_resources(module.handle(), o.positional[1]);
    out << "Wrote " << written << " resources of " << module.name() << " to " << o.positional[1] << "\n";
    return 0;
}

int cmd_state(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) throw InputError("state needs one panel configuration (or \"default\")");
    PanelConfig panel = panel_from(o.positional[0]);
    Scenario scenario = scenario_from(o, panel);
    Host host(std::move(panel), host_options(o, err));
    if (scenario.commands.empty()) host.update();
    host.run(scenario);
    host.finish_audio();
    out << host.state().dump(2) << "\n";
    return 0;
}

int cmd_check(const Options& o, std::ostream& out) {
    if (o.positional.size() != 1) throw InputError("check needs one panel configuration (or \"default\")");
    HostOptions options = host_options(o, out);
    options.accept = {};
    options.install = false;
    options.main_window = false;
    const LenientPanel read = read_panel_leniently(o.positional[0], options);
    const std::string file = o.positional[0] == "default" ? "(built-in panel)" : o.positional[0];
    // Lines that cannot be read go out among the findings, in line order.
    std::size_t said = 0;
    const auto say_errors = [&](int before) {
        for (; said < read.errors.size() && read.errors[said].line < before; ++said)
            out << printable(file + ":" + std::to_string(read.errors[said].line) + ": error: " + read.errors[said].message,
                             kMaxMessage)
                << "\n";
    };
    if (read.host == nullptr) {
        say_errors(INT_MAX);
        out << file << ": more than " << kMaxUnreadable << " lines cannot be read: stopped there, nothing checked\n";
        return 2;
    }
    const Host& host = *read.host;
    // Each line goes out as it is found: a large panel's report starts at once.
    const CheckCounts counts = check_panel(host, [&](const Finding& f) {
        say_errors(f.line + 1);
        out << printable(file + ":" + (f.line > 0 ? std::to_string(f.line) + ":" : "") + " " +
                             finding_kind_name(f.kind) + ": " + f.text,
                         kMaxMessage)
            << "\n";
    });
    say_errors(INT_MAX);
    if (const std::size_t more = counts.unshown(); more > 0) {
        out << file << ": " << more << " more " << (more == 1 ? "finding" : "findings") << " not listed (";
        const char* separator = "";
        for (std::size_t k = 0; k < kFindingKinds; ++k) {
            if (counts.found[k] == counts.shown[k]) continue;
            out << separator << counts.found[k] - counts.shown[k] << " " << finding_kind_name(static_cast<Finding::Kind>(k));
            separator = ", ";
        }
        out << ")\n";
    }
    const std::size_t findings = counts.findings();
    out << host.panel().windows.size() << " windows, " << host.placements().size() << " gauges placed";
    if (!host.unloaded().empty()) out << ", " << host.unloaded().size() << " of other modules outlined";
    out << ": " << (findings == 0 ? "nothing to report" : std::to_string(findings) + (findings == 1 ? " finding" : " findings"));
    if (!read.errors.empty())
        out << ", " << read.errors.size() << (read.errors.size() == 1 ? " line" : " lines") << " that cannot be read";
    out << "\n";
    if (!read.errors.empty()) return 2;
    // A checker run for a build wants every finding to fail it, not only the reader's.
    if (o.values.count("--strict") > 0 && findings > 0)
        refuse_strict(file, findings, counts.warnings() == findings ? "warning" : "finding");
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
        if (o.command.empty()) return cmd_default(o, out, err);
        if (o.command == "render") return cmd_render(o, out, err);
        if (o.command == "list") return cmd_list(o, out);
        if (o.command == "resources") return cmd_resources(o, out);
        if (o.command == "state") return cmd_state(o, out, err);
        if (o.command == "check") return cmd_check(o, out);
        if (o.command == "serve") return cmd_serve(o, out, err);
        if (o.command == "catalogue") return cmd_catalogue(o, out, err);
        throw InputError("unknown command '" + o.command + "' (see gaugehost --help)");
    } catch (const InputError& e) {
        err << "gaugehost: " << printable(e.what(), kMaxMessage) << "\n";
        return 2;
    } catch (const std::exception& e) {
        err << "gaugehost: " << printable(e.what(), kMaxMessage) << "\n";
        return 1;
    }
}

}  // namespace ardelvine::hostapp
