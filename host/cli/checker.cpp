#include "host/cli/checker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/load/legends.h"
#include "host/load/mouse_areas.h"
#include "host/load/text.h"
#include "module/gauge_descriptions.h"
#include "params/params.h"

namespace ardelvine::hostapp {

namespace {

struct Rect {
    double x0, y0, x1, y1;
    bool overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::string box(double x, double y, double w, double h) {
    return number(x) + "," + number(y) + " " + number(w) + "x" + number(h);
}

std::string window_name(const WindowConfig& w) {
    std::string name = "[";
    name.append(section_name(w)).append("] (").append(std::to_string(w.size_w)).append("x");
    return name.append(std::to_string(w.size_h)).append(")");
}

// What reaches past the window's edges, as a finding's text; empty when
// nothing does.
std::string outside_text(const std::string& what, const WindowConfig& w, int x, int y, int width, int height) {
    std::vector<std::string> edges;
    if (x < 0) edges.push_back("left");
    if (y < 0) edges.push_back("top");
    if (x + width > w.size_w) edges.push_back("right");
    if (y + height > w.size_h) edges.push_back("bottom");
    if (edges.empty()) return {};
    const bool gone = x >= w.size_w || y >= w.size_h || x + width <= 0 || y + height <= 0;
    std::string where;
    for (std::size_t i = 0; i < edges.size(); ++i) where += (i == 0 ? "" : i + 1 == edges.size() ? " and " : ", ") + edges[i];
    return what + " at " + box(x, y, width, height) +
           (gone ? " lies wholly outside " : " reaches past the " + where + " edge of ") + window_name(w);
}

// The click areas of a placed gauge, in its window's units.
std::vector<Rect> click_areas(const Placement& p) {
    const BitmapSize size = p.background_size();
    const double sx = size.width > 0 ? static_cast<double>(p.width()) / size.width : 1.0;
    const double sy = size.height > 0 ? static_cast<double>(p.height()) / size.height : 1.0;
    std::vector<Rect> out;
    for (const MouseArea& a : mouse_areas(const_cast<Placement&>(p).mouse(), p.mouse_count(), size)) {
        if (a.rect->kind != MouseKind::CHILD || a.w <= 0 || a.h <= 0) continue;
        const double x = p.x() + a.x * sx, y = p.y() + a.y * sy;
        out.push_back({x, y, x + a.w * sx, y + a.h * sy});
    }
    return out;
}

// A gauge that reads the window buttons' parameter language: a panel button
// that has code (the fixed ones send one event and read nothing).
bool reads_window_options(const Placement& p) {
    const gauges::GaugeDescription* d = gauges::find_description(p.original()->name);
    return d != nullptr && d->group == gauges::GaugeGroup::PANEL_BUTTONS && p.original()->callback != nullptr;
}

const char* window_verb(char option) {
    switch (option) {
        case 'o': return "opens";
        case 'c': return "closes";
        case 't': return "toggles";
        default: return "closes at load";
    }
}

const params::WindowName* window_name_at(std::string_view text) {
    for (const params::WindowName& n : params::kWindowNames)
        if (text.rfind(n.name, 0) == 0) return &n;
    return nullptr;
}

std::vector<std::string> window_names() {
    std::vector<std::string> names;
    for (const params::WindowName& n : params::kWindowNames) names.emplace_back(n.name);
    return names;
}

// What a window button's string makes a click do that its writer hardly
// meant: act on the main panel for want of a string, for a space after an
// option letter or a misspelled window name, or act on an ident that no
// window of the panel has. Each as (kind, text).
std::vector<std::pair<Finding::Kind, std::string>> button_slips(const Placement& p, const std::vector<std::uint32_t>& idents) {
    using K = Finding::Kind;
    const char* parameters = const_cast<Placement&>(p).header()->parameters;
    const std::string name = p.name();
    if (parameters == nullptr || parameters[0] == '\0')
        return {{K::BUTTON, name + " has no parameter string: a click toggles window 0, the main panel (name a window: "
                                   "tRADIO_STACK_PANEL)"}};
    std::string text(parameters);
    text.erase(std::min(text.size(), text.find_first_of("/#'")));
    std::vector<std::pair<K, std::string>> out;
    const auto has_ident = [&](std::int64_t ident) {
        return ident == 0 || std::find(idents.begin(), idents.end(), static_cast<std::uint32_t>(ident)) != idents.end();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char option = text[i];
        if (std::strchr("octah", option) == nullptr || i + 1 >= text.size()) continue;
        const std::string_view argument = std::string_view(text).substr(i + 1);
        const std::string written = echo(text.substr(i, std::min(text.size() - i, text.find(' ', i + 2) - i)));
        if (argument[0] == ' ' || argument[0] == '\t') {
            const std::string rest = trim(argument);
            if (option == 'h') {
                for (const params::TooltipName& t : params::kTooltipNames)
                    if (rest.rfind(t.name, 0) == 0)
                        out.push_back({K::PARAMETER, "'h " + std::string(t.name) + "' in " + name +
                                                         ": with the space the argument is no tooltip name but a "
                                                         "number without digits, which removes the tooltip; write h" +
                                                         t.name});
                continue;
            }
            if (const params::WindowName* n = window_name_at(rest))
                out.push_back({K::PARAMETER, std::string("'") + option + " " + n->name + "' in " + name +
                                                 ": with the space the argument is no window name but a number without "
                                                 "digits: a click " + window_verb(option) +
                                                 " window 0, the main panel; write " + option + n->name});
            continue;
        }
        if (option == 'h') continue;
        if (const params::WindowName* n = window_name_at(argument)) {
            if (!has_ident(n->ident))
                out.push_back({K::BUTTON, std::string(1, option) + n->name + " in " + name + ": no window of this panel has ident " +
                                              std::to_string(n->ident) + " (" + n->name + "), so a click " +
                                              window_verb(option) + " nothing here"});
            continue;
        }
        const bool numeric = std::isdigit(static_cast<unsigned char>(argument[0])) ||
                             (argument.size() > 1 && (argument[0] == '-' || argument[0] == '+') &&
                              std::isdigit(static_cast<unsigned char>(argument[1])));
        if (numeric) {
            const long long ident = std::strtoll(std::string(argument.substr(0, 24)).c_str(), nullptr, 10);
            if (!has_ident(ident))
                out.push_back({K::BUTTON, written + " in " + name + ": no window of this panel has ident " +
                                              std::to_string(ident)});
            continue;
        }
        std::size_t end = 0;
        while (end < argument.size() && (std::isalnum(static_cast<unsigned char>(argument[end])) || argument[end] == '_')) ++end;
        // A lower-case letter right after is the next option, not a window.
        if (end == 0 || std::islower(static_cast<unsigned char>(argument[0]))) continue;
        const std::string word(argument.substr(0, end));
        const std::vector<std::string> near = nearest_names(word, window_names(), 1);
        out.push_back({K::BUTTON, std::string(1, option) + echo(word) + " in " + name +
                                      " names no window: it reads as 0, so a click " + window_verb(option) +
                                      " the main panel" + (near.empty() ? "" : "; did you mean " + near[0] + "?")});
    }
    return out;
}

// Whether a gauge draws anything a neighbour could hide: not the invisible ones.
bool shows_face(const Placement& p) {
    const gauges::GaugeDescription* d = gauges::find_description(p.original()->name);
    return d == nullptr || d->group != gauges::GaugeGroup::INVISIBLE;
}

bool named_window(std::uint32_t ident) {
    for (const params::WindowName& n : params::kWindowNames)
        if (static_cast<std::uint32_t>(n.ident) == ident) return true;
    return false;
}

}  // namespace

const char* finding_kind_name(Finding::Kind kind) {
    switch (kind) {
        case Finding::Kind::WARNING: return "warning";
        case Finding::Kind::OUTSIDE: return "outside";
        case Finding::Kind::OVERLAP: return "overlap";
        case Finding::Kind::PROPORTIONS: return "proportions";
        case Finding::Kind::UNREACHABLE: return "unreachable";
        case Finding::Kind::BUTTON: return "button";
        case Finding::Kind::PARAMETER: return "parameters";
        case Finding::Kind::FACES: return "faces";
        case Finding::Kind::NOTE: return "note";
        case Finding::Kind::SIZE: return "size";
    }
    return "finding";
}

std::size_t CheckCounts::findings() const {
    std::size_t n = 0;
    for (std::size_t k = 0; k < kFindingKinds; ++k) n += k == static_cast<std::size_t>(Finding::Kind::NOTE) ? 0 : found[k];
    return n;
}

std::size_t CheckCounts::unshown() const {
    std::size_t n = 0;
    for (std::size_t k = 0; k < kFindingKinds; ++k) n += found[k] - shown[k];
    return n;
}

namespace {

// Counts every finding and shows those the limits allow, making the text of
// a finding only when it is shown.
class Reporter {
public:
    Reporter(const std::function<void(const Finding&)>& report, const CheckLimits& limits)
        : report_(report), limits_(limits) {}

    template <class Text>
    bool add(Finding::Kind kind, int line, const Text& text, bool allowed = true) {
        const auto k = static_cast<std::size_t>(kind);
        ++counts_.found[k];
        const bool note = kind == Finding::Kind::NOTE;
        if (!allowed || (!note && shown_ >= limits_.total)) return false;
        ++counts_.shown[k];
        shown_ += note ? 0 : 1;
        report_({kind, line, text()});
        return true;
    }
    const CheckCounts& counts() const { return counts_; }

private:
    const std::function<void(const Finding&)>& report_;
    const CheckLimits& limits_;
    CheckCounts counts_;
    std::size_t shown_ = 0;
};

// A gauge whose smallest legend, at the size it is placed, falls under the
// height that reads, or whose bitmaps are enlarged until they blur.
void check_size(Reporter& out, int line, const Placement& p) {
    // A gauge that shows nothing (the start-state gauges) may be placed at any size.
    if (const auto* d = gauges::find_description(p.name()); d != nullptr && d->group == gauges::GaugeGroup::INVISIBLE)
        return;
    const BitmapSize face = p.background_size();
    if (face.width <= 0 || face.height <= 0 || p.width() <= 0 || p.height() <= 0) return;
    const double sx = static_cast<double>(p.width()) / face.width, sy = static_cast<double>(p.height()) / face.height;
    double legend = 0;
    for (const ElementState& s : p.elements()) {
        const ElementHeader& e = *s.element;
        const std::uint32_t images =
            e.kind == ElementKind::ICON ? std::max<std::uint32_t>(1, reinterpret_cast<const Icon&>(e).images) : 1;
        for (std::uint32_t i = 0; i < images; ++i)
            if (const double h = smallest_legend(e.bitmap + i); h > 0 && (legend == 0 || h < legend)) legend = h;
    }
    const auto fixed = [](const char* format, double v) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, format, v);
        return std::string(buffer);
    };
    const auto placed = [&] {
        return "gauge " + p.name() + " is placed " + std::to_string(p.width()) + "x" + std::to_string(p.height()) +
               " (its face " + std::to_string(face.width) + "x" + std::to_string(face.height) + ")";
    };
    if (legend > 0 && legend * std::min(sx, sy) < kLegibleLegend) {
        out.add(Finding::Kind::SIZE, line, [&] {
            const int wide = static_cast<int>(std::ceil(kLegibleLegend / legend * face.width));
            return placed() + ": its smallest legend is " + fixed("%.1f", legend * std::min(sx, sy)) +
                   " pixels high, under " + number(kLegibleLegend) + "; at least " + std::to_string(wide) + " wide reads";
        });
    }
    if (std::max(sx, sy) > kMostEnlarged) {
        out.add(Finding::Kind::SIZE, line, [&] {
            const int wide = static_cast<int>(std::floor(kMostEnlarged * face.width));
            return placed() + ": its bitmaps are enlarged " + fixed("%.2f", std::max(sx, sy)) + " times and look soft; at most " +
                   std::to_string(wide) + " wide keeps them sharp";
        });
    }
}

Rect bounds(const std::vector<Rect>& areas) {
    Rect b{0, 0, 0, 0};
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const Rect& a = areas[i];
        b = i == 0 ? a : Rect{std::min(b.x0, a.x0), std::min(b.y0, a.y0), std::max(b.x1, a.x1), std::max(b.y1, a.y1)};
    }
    return b;
}

}  // namespace

CheckCounts check_panel(const Host& host, const std::function<void(const Finding&)>& report, const CheckLimits& limits) {
    const PanelConfig& panel = host.panel();
    const auto& placements = host.placements();
    const auto& lines = host.placement_lines();
    const auto& unloaded = host.unloaded();
    Reporter out(report, limits);

    // What speaks at each line, in line order; at one line the panel's
    // warnings come before what is found of its gauge.
    enum Source { WARNING, GAUGE, UNLOADED, WINDOW };
    struct Item {
        int line;
        Source source;
        std::size_t index;
    };
    std::vector<Item> items;
    items.reserve(panel.warnings.size() + placements.size() + unloaded.size() + panel.windows.size());
    for (std::size_t i = 0; i < panel.warnings.size(); ++i) items.push_back({panel.warnings[i].line, WARNING, i});
    for (std::size_t i = 0; i < placements.size(); ++i) items.push_back({lines[i], GAUGE, i});
    for (std::size_t i = 0; i < unloaded.size(); ++i) items.push_back({unloaded[i].line, UNLOADED, i});
    for (std::size_t i = 0; i < panel.windows.size(); ++i) items.push_back({panel.windows[i].line, WINDOW, i});
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.line != b.line ? a.line < b.line : a.source < b.source;
    });

    // Click areas, and their bounds to pass over most pairs at once.
    std::vector<std::vector<Rect>> areas;
    std::vector<Rect> extent;
    areas.reserve(placements.size());
    for (const auto& p : placements) {
        areas.push_back(click_areas(*p));
        extent.push_back(bounds(areas.back()));
    }
    std::vector<std::vector<std::size_t>> in_window(panel.windows.size());
    for (std::size_t i = 0; i < placements.size(); ++i) in_window[placements[i]->panel_window()].push_back(i);

    std::vector<std::int64_t> opened;
    for (const auto& p : placements)
        for (std::int64_t ident : button_windows(const_cast<Placement&>(*p).header()->parameters, "ot")) opened.push_back(ident);
    std::sort(opened.begin(), opened.end());

    std::vector<std::uint32_t> idents;
    for (const WindowConfig& w : panel.windows)
        if (!w.vcockpit) idents.push_back(w.ident);

    using K = Finding::Kind;
    for (const Item& item : items) {
        switch (item.source) {
            case WARNING:
                out.add(K::WARNING, item.line, [&] { return panel.warnings[item.index].text; });
                break;
            case UNLOADED: {
                const UnloadedGauge& u = unloaded[item.index];
                const WindowConfig& w = panel.windows[u.window];
                if (w.zero_size) break;
                const std::string text = outside_text("gauge " + u.module + "!" + u.gauge, w, u.x, u.y, u.w, u.h);
                if (!text.empty()) out.add(K::OUTSIDE, u.line, [&] { return text; });
                break;
            }
            case GAUGE: {
                const std::size_t j = item.index;
                const Placement& p = *placements[j];
                const WindowConfig& w = panel.windows[p.panel_window()];
                if (!w.zero_size) {
                    const std::string text = outside_text("gauge " + p.name(), w, p.x(), p.y(), p.width(), p.height());
                    if (!text.empty()) out.add(K::OUTSIDE, item.line, [&] { return text; });
                }
                if (reads_window_options(p))
                    for (const auto& slip : button_slips(p, idents))
                        out.add(slip.first, item.line, [&] { return slip.second; });
                // Faces, and click areas, of this gauge and an earlier one in
                // its window that overlap: once per pair, at the later gauge's line.
                std::size_t shown_here = 0;
                const Rect placed{static_cast<double>(p.x()), static_cast<double>(p.y()), static_cast<double>(p.x() + p.width()),
                                static_cast<double>(p.y() + p.height())};
                for (std::size_t i : in_window[p.panel_window()]) {
                    if (i >= j) break;
                    const Placement& q = *placements[i];
                    // One finding a pair: overlapping click areas say more than faces do.
                    const Rect* a = nullptr;
                    const Rect* b = nullptr;
                    if (!areas[i].empty() && !areas[j].empty() && extent[i].overlaps(extent[j]))
                        for (std::size_t m = 0; a == nullptr && m < areas[i].size(); ++m)
                            for (std::size_t n = 0; a == nullptr && n < areas[j].size(); ++n)
                                if (areas[i][m].overlaps(areas[j][n])) a = &areas[i][m], b = &areas[j][n];
                    if (a != nullptr) {
                        const bool shown = out.add(K::OVERLAP, item.line, [&] {
                            const double x0 = std::max(a->x0, b->x0), y0 = std::max(a->y0, b->y0);
                            const double x1 = std::min(a->x1, b->x1), y1 = std::min(a->y1, b->y1);
                            return "click areas of " + p.name() + " and " + q.name() + " (line " +
                                   std::to_string(lines[i]) + ") overlap at " + box(x0, y0, x1 - x0, y1 - y0) +
                                   ": a click there reaches only one of them";
                        }, shown_here < limits.per_gauge);
                        shown_here += shown ? 1 : 0;
                        continue;
                    }
                    const Rect other{static_cast<double>(q.x()), static_cast<double>(q.y()),
                                     static_cast<double>(q.x() + q.width()), static_cast<double>(q.y() + q.height())};
                    if (w.zero_size || !placed.overlaps(other) || !shows_face(p) || !shows_face(q)) continue;
                    const bool shown = out.add(K::FACES, item.line, [&] {
                        const double x0 = std::max(placed.x0, other.x0), y0 = std::max(placed.y0, other.y0);
                        const double x1 = std::min(placed.x1, other.x1), y1 = std::min(placed.y1, other.y1);
                        return "faces of " + p.name() + " and " + q.name() + " (line " + std::to_string(lines[i]) +
                               ") overlap by " + number(x1 - x0) + "x" + number(y1 - y0) + " at " + number(x0) + "," +
                               number(y0) + ": " + p.name() + " is drawn over it";
                    }, shown_here < limits.per_gauge);
                    shown_here += shown ? 1 : 0;
                }
                if (!w.zero_size) check_size(out, item.line, p);
                const BitmapSize face = p.background_size();
                if (face.width <= 0 || face.height <= 0 || p.width() <= 0 || p.height() <= 0) break;
                const double factor = (static_cast<double>(p.width()) / p.height()) /
                                      (static_cast<double>(face.width) / face.height);
                if (factor <= kStretchedProportions && factor >= 1.0 / kStretchedProportions) break;
                out.add(K::PROPORTIONS, item.line, [&] {
                    char ratio[32];
                    std::snprintf(ratio, sizeof ratio, "%.2f", factor >= 1.0 ? factor : 1.0 / factor);
                    return "gauge " + p.name() + " is placed " + std::to_string(p.width()) + "x" +
                           std::to_string(p.height()) + ", " + ratio + " times " + (factor >= 1.0 ? "wider" : "taller") +
                           " for its size than its face (" + std::to_string(face.width) + "x" +
                           std::to_string(face.height) + "): it will look stretched";
                });
                break;
            }
            case WINDOW: {
                const WindowConfig& w = panel.windows[item.index];
                if (w.zero_size) {
                    out.add(K::NOTE, w.line, [&] {
                        const std::size_t ours = in_window[w.slot].size();
                        // Appended, as the unreachable text is: GCC 12 at -O3 warns
                        // falsely of "[" + std::string.
                        std::string text = "[";
                        text.append(section_name(w)).append("] is of zero size: nothing of it is drawn; the ");
                        text.append(std::to_string(ours));
                        text += ours == 1 ? " gauge of this module in it runs" : " gauges of this module in it run";
                        return text + " as any other (logic only)";
                    });
                }
                if (w.vcockpit || w.visible || named_window(w.ident)) break;
                if (std::binary_search(opened.begin(), opened.end(), static_cast<std::int64_t>(w.ident))) break;
                out.add(K::UNREACHABLE, w.line, [&] {
                    std::string text = "[";
                    text.append(section_name(w)).append("] starts hidden, no button of this module opens ident ");
                    text.append(std::to_string(w.ident)).append(" and it is no window the simulator's keys open: ");
                    text += w.nomenu ? "with nomenu=1 nothing can show it" : "only the simulator's menu can show it";
                    if (!unloaded.empty()) text += " (unless a gauge of another module does)";
                    return text;
                });
                break;
            }
        }
    }
    return out.counts();
}

std::vector<Finding> check_panel(const Host& host) {
    std::vector<Finding> found;
    check_panel(host, [&](const Finding& f) { found.push_back(f); });
    return found;
}

}  // namespace ardelvine::hostapp
