// The panel checker: what a designer wants to know about a panel before
// flying it, found by reading it and placing its gauges without running any
// of them. Besides the panel's warnings it looks for gauges that reach out of
// their window, click areas of two gauges that overlap (a click there reaches
// only one of them), gauges whose faces overlap, gauges of this module
// stretched out of the proportions of their face, placed too small to read or
// enlarged until they blur, hidden windows that nothing can open, and window
// buttons whose string makes a click act on the main panel or on a window the
// panel lacks (no string, a space after an option letter, a misspelled window
// name). It works through the panel once, in line order, holding no more than the
// panel itself: its output and memory stay bounded whatever the panel.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "host/run/host.h"

namespace ardelvine::hostapp {

struct Finding {
    // NOTE says what a section is (one of zero size) and counts as no finding.
    enum class Kind { WARNING, OUTSIDE, OVERLAP, PROPORTIONS, UNREACHABLE, BUTTON, PARAMETER, FACES, NOTE, SIZE };
    Kind kind;
    int line = 0;
    std::string text;
};
inline constexpr std::size_t kFindingKinds = 10;

// A placed gauge's width for its height against its face's: beyond this
// factor either way it looks stretched.
inline constexpr double kStretchedProportions = 1.05;

// How much of a panel's findings is shown. A panel of thousands of gauges
// stacked on one another has millions of overlapping pairs: past these the
// findings are only counted.
struct CheckLimits {
    std::size_t per_gauge = 3;  // overlaps shown at one gauge's line
    std::size_t total = 2000;   // findings shown in all
};

struct CheckCounts {
    std::array<std::size_t, kFindingKinds> found{}, shown{};
    // Findings, notes aside.
    std::size_t findings() const;
    std::size_t warnings() const { return found[0]; }
    // Found but not shown, of every kind.
    std::size_t unshown() const;
};

// Gives `report` each finding shown on the host's panel, in line order, as it
// is found; counts every one. The host need not have installed its gauges
// (HostOptions::install = false).
CheckCounts check_panel(const Host& host, const std::function<void(const Finding&)>& report,
                        const CheckLimits& limits = {});
// The findings shown, as a list.
std::vector<Finding> check_panel(const Host& host);

// "warning", "outside", "overlap", "proportions", "unreachable", "button",
// "parameters", "faces", "note", "size" (a gauge placed too small to read its
// legends, or enlarged so far that its bitmaps look soft).
const char* finding_kind_name(Finding::Kind kind);

}  // namespace ardelvine::hostapp
