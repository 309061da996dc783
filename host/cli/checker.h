// The panel checker: what a designer wants to know about a panel before
// flying it, found by reading it and placing its gauges without running any
// of them. Besides the panel's warnings it looks for gauges that reach out of
// their window, click areas of two gauges that overlap (a click there reaches
// only one of them), gauges of this module stretched far from the
// proportions of their face, and hidden windows that nothing can open.
#pragma once

#include <string>
#include <vector>

#include "host/run/host.h"

namespace ardelvine::hostapp {

struct Finding {
    enum class Kind { WARNING, OUTSIDE, OVERLAP, PROPORTIONS, UNREACHABLE };
    Kind kind;
    int line = 0;
    std::string text;
};

// A placed gauge's width for its height against its face's: beyond this
// factor either way it looks stretched.
inline constexpr double kStretchedProportions = 1.25;

// Every finding on the host's panel, in line order. The host need not have
// installed its gauges (HostOptions::install = false).
std::vector<Finding> check_panel(const Host& host);

// "warning", "outside", "overlap", "proportions", "unreachable".
const char* finding_kind_name(Finding::Kind kind);

}  // namespace ardelvine::hostapp
