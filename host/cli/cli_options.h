// What the command line's commands share: the parsed options and the way a
// panel, a scenario and the host's options are made from them.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "host/run/host.h"
#include "host/load/panel_config.h"
#include "host/load/scenario.h"

namespace ardelvine::hostapp {

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
};

std::string option(const Options& o, const std::string& name, const std::string& fallback = "");
// A panel configuration file, or "default" for the built-in panel.
PanelConfig panel_from(const std::string& name);
// Says the panel's warnings on `err` once the host has placed the gauges;
// under --strict they refuse the panel.
HostOptions host_options(const Options& o, std::ostream& err, AudioOutput audio = AudioOutput::OFFLINE);
void report_warnings(const Options& o, const PanelConfig& panel, std::ostream& err);
// The scenario, checked against the panel before any host exists, so a
// refused one leaves nothing behind (no capture file, no pictures).
Scenario scenario_from(const Options& o, const PanelConfig& panel);

// The commands that draw pictures (render, the built-in run without a
// command, and serve). A host built without the renderer refuses them as bad usage.
int cmd_render(const Options& o, std::ostream& out, std::ostream& err);
int cmd_default(const Options& o, std::ostream& out, std::ostream& err);
// The gauge catalogue: static HTML pages with pictures of every gauge.
int cmd_catalogue(const Options& o, std::ostream& out, std::ostream& err);
// The live cockpit: serves the panel to a browser until stopped.
int cmd_serve(const Options& o, std::ostream& out, std::ostream& err);

}  // namespace ardelvine::hostapp
