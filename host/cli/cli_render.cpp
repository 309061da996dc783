// The commands that draw: render and the built-in run. They are the part of
// the command line that needs the renderer.
#include <ostream>

#include "host/cli/cli_options.h"
#include "host/load/default_panel.h"
#include "host/load/error.h"
#include "host/run/host.h"
#include "host/draw/render.h"
#include "host/load/text.h"
#include "host/run/window_files.h"
#include "platform/audio.h"

namespace ardelvine::hostapp {

namespace {

double scale_option(const Options& o) {
    if (o.values.count("--scale") == 0) return 1.0;
    const std::string text = option(o, "--scale");
    const std::optional<double> n = parse_number(text);
    if (!n || !(*n > 0.0) || *n > 16.0)
        throw InputError("--scale takes a number above 0 and at most 16, not '" + text + "'");
    return *n;
}

// Pictures play sound on the sound card, and refuse a panel whose pictures
// would be too large before anything runs.
HostOptions picture_options(const Options& o, std::ostream& err) {
    HostOptions h = host_options(o, err, AudioOutput::DEVICE);
    const double scale = scale_option(o);
    h.accept = [scale, warnings = h.accept](const Host& host) {
        warnings(host);
        check_picture_sizes(host, scale);
    };
    return h;
}

// One line instead of the sound libraries' own complaints.
void report_sound(std::ostream& err) {
    if (platform::audio_output_missing())
        err << "gaugehost: no audio output device: sound is off (--audio-capture FILE.wav records it)\n";
}

// Runs the scenario, writing the visible windows at each snapshot and once
// more at the end; returns the paths written.
std::vector<std::string> render_run(Host& host, const Scenario& scenario, const Options& o,
                                    const std::string& out_dir, std::ostream& err) {
    const std::string lighting = option(o, "--lighting", "day");
    if (lighting != "day" && lighting != "night")
        throw InputError("--lighting takes day or night, not '" + lighting + "'");
    host.set_night(lighting == "night");
    const double scale = scale_option(o);
    Renderer renderer(host_bitmaps(host), scale, host_fine_bitmaps(host));
    const RenderRequest request{out_dir, "", o.values.count("--areas") > 0, o.values.count("--all-windows") > 0};
    // Hidden windows start shown, so that their gauges run and are drawn as a pilot would see them opened.
    if (request.all_windows)
        for (const WindowConfig& w : host.panel().windows)
            if (!w.vcockpit) host.simulation().set_window_visible(w.ident, true);
    std::size_t snapshots = 0, done = 0;
    for (const Command& c : scenario.commands)
        if (c.kind == Command::Kind::SNAPSHOT) ++snapshots;

    std::vector<std::string> written;
    if (scenario.commands.empty()) host.update();
    bool progress = false;  // a progress line stands unfinished on the terminal
    host.run(scenario, [&](const Command& c) {
        if (snapshots > 1) {
            err << "\rrendering snapshot " << ++done << "/" << snapshots << ": " << c.text << "        " << std::flush;
            progress = true;
        }
        RenderRequest at = request;
        at.prefix = c.text + "-";
        try {
            for (std::string& path : render_windows(host, renderer, at)) written.push_back(std::move(path));
        } catch (const std::exception& e) {
            if (progress) err << "\n";
            throw input_error(scenario.file, c.line, std::string("snapshot ") + c.text + ": " + e.what());
        }
    });
    if (progress) err << "\n";
    for (std::string& path : render_windows(host, renderer, request)) written.push_back(std::move(path));
    return written;
}

void report_pictures(std::ostream& out, const std::vector<std::string>& written, const std::string& out_dir) {
    out << "Wrote " << written.size() << " picture" << (written.size() == 1 ? "" : "s") << " to " << out_dir << ":\n";
    for (const std::string& path : written) out << "  " << path << "\n";
}

}  // namespace

int cmd_render(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) throw InputError("render needs one panel configuration (or \"default\")");
    PanelConfig panel = panel_from(o.positional[0]);
    Scenario scenario = scenario_from(o, panel);
    Host host(std::move(panel), picture_options(o, err));
    report_sound(err);
    const std::string out_dir = option(o, "--out", ".");
    const std::vector<std::string> written = render_run(host, scenario, o, out_dir, err);
    host.finish_audio();
    report_pictures(out, written, out_dir);
    return 0;
}

int cmd_default(const Options& o, std::ostream& out, std::ostream& err) {
    PanelConfig panel = panel_from("default");
    Scenario scenario = parse_scenario(kDefaultScenario, "(built-in scenario)");
    validate_scenario(panel, scenario);
    Host host(std::move(panel), picture_options(o, err));
    report_sound(err);
    const std::string out_dir = option(o, "--out", "gaugehost-out");
    const std::vector<std::string> written = render_run(host, scenario, o, out_dir, err);
    host.finish_audio();
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
    report_pictures(out, written, out_dir);
    return 0;
}

}  // namespace ardelvine::hostapp
