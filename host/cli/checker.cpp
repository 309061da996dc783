#include "host/cli/checker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/load/mouse_areas.h"
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

void check_outside(const std::string& what, int line, const WindowConfig& w, int x, int y, int width, int height,
                   std::vector<Finding>& out) {
    std::vector<std::string> edges;
    if (x < 0) edges.push_back("left");
    if (y < 0) edges.push_back("top");
    if (x + width > w.size_w) edges.push_back("right");
    if (y + height > w.size_h) edges.push_back("bottom");
    if (edges.empty()) return;
    const bool gone = x >= w.size_w || y >= w.size_h || x + width <= 0 || y + height <= 0;
    std::string where;
    for (std::size_t i = 0; i < edges.size(); ++i) where += (i == 0 ? "" : i + 1 == edges.size() ? " and " : ", ") + edges[i];
    out.push_back({Finding::Kind::OUTSIDE, line,
                   what + " at " + box(x, y, width, height) + (gone ? " lies wholly outside " : " reaches past the " + where +
                                                                                      " edge of ") +
                       window_name(w)});
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

// The windows a click on a gauge opens or toggles, read from its parameters
// as the window buttons read them: each `o` and `t` followed at once by a
// window name or number, none after a comment character. A button without
// parameters toggles the main panel.
std::vector<std::int64_t> windows_opened(const char* parameters) {
    if (parameters == nullptr || parameters[0] == '\0') return {0};
    std::string text(parameters);
    text.erase(std::min(text.size(), text.find_first_of("/#'")));
    std::vector<std::int64_t> idents;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != 'o' && text[i] != 't') continue;
        const char* argument = text.c_str() + i + 1;
        if (*argument == '\0') continue;
        std::int64_t ident = std::strtol(argument, nullptr, 10);
        for (const params::WindowName& n : params::kWindowNames)
            if (std::strncmp(argument, n.name, std::strlen(n.name)) == 0) {
                ident = n.ident;
                break;
            }
        idents.push_back(ident);
    }
    return idents;
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
    }
    return "finding";
}

std::vector<Finding> check_panel(const Host& host) {
    const PanelConfig& panel = host.panel();
    const auto& placements = host.placements();
    const auto& lines = host.placement_lines();
    std::vector<Finding> out;
    for (const PanelWarning& w : panel.warnings) out.push_back({Finding::Kind::WARNING, w.line, w.text});

    for (std::size_t i = 0; i < placements.size(); ++i) {
        const Placement& p = *placements[i];
        check_outside("gauge " + p.name(), lines[i], panel.windows[p.panel_window()], p.x(), p.y(), p.width(),
                      p.height(), out);
    }
    for (const UnloadedGauge& u : host.unloaded())
        check_outside("gauge " + u.module + "!" + u.gauge, u.line, panel.windows[u.window], u.x, u.y, u.w, u.h, out);

    // Click areas of two gauges in one window that overlap: once per pair.
    std::vector<std::vector<Rect>> areas;
    for (const auto& p : placements) areas.push_back(click_areas(*p));
    for (std::size_t i = 0; i < placements.size(); ++i) {
        for (std::size_t j = i + 1; j < placements.size(); ++j) {
            if (placements[i]->panel_window() != placements[j]->panel_window()) continue;
            bool found = false;
            for (const Rect& a : areas[i]) {
                for (const Rect& b : areas[j]) {
                    if (found || !a.overlaps(b)) continue;
                    found = true;
                    const double x0 = std::max(a.x0, b.x0), y0 = std::max(a.y0, b.y0);
                    const double x1 = std::min(a.x1, b.x1), y1 = std::min(a.y1, b.y1);
                    out.push_back({Finding::Kind::OVERLAP, lines[j],
                                   "click areas of " + placements[j]->name() + " and " + placements[i]->name() +
                                       " (line " + std::to_string(lines[i]) + ") overlap at " +
                                       box(x0, y0, x1 - x0, y1 - y0) + ": a click there reaches only one of them"});
                }
            }
        }
    }

    for (std::size_t i = 0; i < placements.size(); ++i) {
        const Placement& p = *placements[i];
        const BitmapSize face = p.background_size();
        if (face.width <= 0 || face.height <= 0 || p.width() <= 0 || p.height() <= 0) continue;
        const double placed = static_cast<double>(p.width()) / p.height();
        const double natural = static_cast<double>(face.width) / face.height;
        const double factor = placed / natural;
        if (factor <= kStretchedProportions && factor >= 1.0 / kStretchedProportions) continue;
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.2f", factor >= 1.0 ? factor : 1.0 / factor);
        out.push_back({Finding::Kind::PROPORTIONS, lines[i],
                       "gauge " + p.name() + " is placed " + std::to_string(p.width()) + "x" + std::to_string(p.height()) +
                           ", " + ratio + " times " + (factor >= 1.0 ? "wider" : "taller") +
                           " for its size than its face (" + std::to_string(face.width) + "x" +
                           std::to_string(face.height) + "): it will look stretched"});
    }

    std::vector<std::int64_t> opened;
    for (const auto& p : placements)
        for (std::int64_t ident : windows_opened(const_cast<Placement&>(*p).header()->parameters)) opened.push_back(ident);
    for (const WindowConfig& w : panel.windows) {
        if (w.vcockpit || w.visible || named_window(w.ident)) continue;
        if (std::find(opened.begin(), opened.end(), static_cast<std::int64_t>(w.ident)) != opened.end()) continue;
        std::string text = "[";
        text.append(section_name(w)).append("] starts hidden, no button of this module opens ident ");
        text.append(std::to_string(w.ident)).append(" and it is no window the simulator's keys open: ");
        text += w.nomenu ? "with nomenu=1 nothing can show it" : "only the simulator's menu can show it";
        if (!host.unloaded().empty()) text += " (unless a gauge of another module does)";
        out.push_back({Finding::Kind::UNREACHABLE, w.line, text});
    }

    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return out;
}

}  // namespace ardelvine::hostapp
