// Mouse areas. A gauge's list nests PARENT ... END_PARENT groups; CHILD
// entries are click areas of the group they stand in, a TOOLTIP right after a
// PARENT is that area's tooltip. A PARENT of 0,0,0,0 covers the whole gauge.
// Under a point the innermost area decides: for a click the most deeply
// nested CHILD, for a tooltip the most deeply nested PARENT that has one
// (first listed wins a tie). Drags in a row on one gauge are one gesture
// that stays with the drag area it began in.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/run/host.h"
#include "host/load/mouse_areas.h"
#include "module/gauge_descriptions.h"

namespace ardelvine::hostapp {

std::vector<MouseArea> mouse_areas(const MouseRect* list, std::size_t count, BitmapSize gauge_size) {
    std::vector<MouseArea> areas;
    std::vector<int> open;  // indices into `areas` of the PARENTs we are inside
    for (std::size_t i = 0; i < count && list[i].kind != MouseKind::END; ++i) {
        const MouseRect& r = list[i];
        switch (r.kind) {
            case MouseKind::PARENT: {
                MouseArea a{&r, static_cast<int>(open.size()), r.x, r.y, r.width, r.height, nullptr,
                            open.empty() ? -1 : open.back()};
                if (r.x == 0 && r.y == 0 && r.width == 0 && r.height == 0) {
                    a.w = gauge_size.width;
                    a.h = gauge_size.height;
                }
                if (r.help_id != 0) a.tooltip = &r;
                if (i + 1 < count && list[i + 1].kind == MouseKind::TOOLTIP) a.tooltip = &list[i + 1];
                open.push_back(static_cast<int>(areas.size()));
                areas.push_back(a);
                break;
            }
            case MouseKind::CHILD:
                areas.push_back({&r, static_cast<int>(open.size()), r.x, r.y, r.width, r.height, nullptr,
                                 open.empty() ? -1 : open.back()});
                break;
            case MouseKind::END_PARENT:
                if (!open.empty()) open.pop_back();
                break;
            case MouseKind::TOOLTIP:
            case MouseKind::END:
                break;
        }
    }
    return areas;
}

const MouseArea* area_at(const std::vector<MouseArea>& areas, int x, int y, MouseKind kind, bool need_tooltip) {
    const MouseArea* best = nullptr;
    for (const MouseArea& a : areas) {
        if (a.rect->kind != kind || (need_tooltip && a.tooltip == nullptr)) continue;
        if (x < a.x || y < a.y || x >= a.x + a.w || y >= a.y + a.h) continue;
        if (best == nullptr || a.depth > best->depth) best = &a;
    }
    return best;
}

namespace {

std::uint32_t button_flags(Button b) {
    switch (b) {
        case Button::LEFT: return MOUSE_LEFT;
        case Button::RIGHT: return MOUSE_RIGHT;
        case Button::BOTH: return MOUSE_LEFT | MOUSE_RIGHT;
    }
    return 0;
}

}  // namespace

// A gauge in a hidden window cannot be pointed at: it takes no clicks or
// drags and shows no tooltip (the request is recorded with no text, like one
// where no area lies).
bool Host::on_screen(const Placement& gauge) const {
    return window_shown(gauge.panel_window());
}

void Host::click(Placement& gauge, int x, int y, MouseAction action) {
    end_drag();
    if (!on_screen(gauge)) return;
    const auto areas = mouse_areas(gauge.mouse(), gauge.mouse_count(), gauge.background_size());
    const MouseArea* area = area_at(areas, x, y, MouseKind::CHILD, false);
    if (area == nullptr) return;
    const MouseRect& r = *area->rect;
    // Only the buttons the area asks for reach it.
    const std::uint32_t flags = button_flags(action.button) & r.click_flags & (MOUSE_LEFT | MOUSE_RIGHT);
    if (flags == 0) return;
    const std::uint32_t calls = 1 + ((r.click_flags & MOUSE_REPEAT) ? action.hold : 0);
    for (std::uint32_t n = 0; n < calls; ++n) {
        with_gauge(gauge, [&] {
            if (r.handler != nullptr) {
                MouseClick record{x - area->x, y - area->y, gauge.header()};
                r.handler(&record, flags);
            } else if (r.event_id != 0) {
                sim_.key_event(r.event_id, 0);
            }
        });
    }
}

void Host::drag(Placement& gauge, int x, int y) {
    if (!on_screen(gauge)) {
        end_drag();
        return;
    }
    if (drag_.gauge != &gauge) {
        drag_ = {&gauge};
        const auto areas = mouse_areas(gauge.mouse(), gauge.mouse_count(), gauge.background_size());
        const MouseArea* area = area_at(areas, x, y, MouseKind::CHILD, false);
        if (area != nullptr && (area->rect->click_flags & MOUSE_DRAG) != 0 && area->rect->handler != nullptr)
            drag_ = {&gauge, area->rect, area->x, area->y, area->w, area->h};
    }
    if (drag_.rect == nullptr || drag_.w <= 0 || drag_.h <= 0) return;
    const MouseRect& r = *drag_.rect;
    MouseClick record{std::clamp(x - drag_.x, 0, drag_.w - 1), std::clamp(y - drag_.y, 0, drag_.h - 1),
                      gauge.header()};
    with_gauge(gauge, [&] { r.handler(&record, MOUSE_DRAG); });
}

namespace {

// What a panel button's tooltip adds when its click shows nothing this host
// draws: the fixed buttons send the simulator's own view keys (kneeboard,
// map, ATC), a string may step the view or name no window at all (the
// GPS), and the windows it names may be missing from this panel. Null when
// the click reaches a window here.
const char* view_note(Placement& p, const PanelConfig& panel) {
    const gauges::GaugeDescription* d = gauges::find_description(p.original()->name);
    if (d == nullptr || d->group != gauges::GaugeGroup::PANEL_BUTTONS) return nullptr;
    static constexpr const char* kSimulatorView = " (a view the simulator shows; this host does not)";
    if (p.original()->callback == nullptr) return kSimulatorView;
    const char* parameters = p.header()->parameters;
    const std::vector<std::int64_t> windows = button_windows(parameters, "oct");
    for (const std::int64_t ident : windows)
        for (const WindowConfig& w : panel.windows)
            if (!w.vcockpit && static_cast<std::int64_t>(w.ident) == ident) return nullptr;
    const std::string text = parameters != nullptr ? parameters : "";
    const bool steps_view = text.substr(0, text.find_first_of("/#'")).find('p') != std::string::npos;
    if (windows.empty() || steps_view) return kSimulatorView;
    return " (no window of this panel answers it)";
}

}  // namespace

std::string Host::tooltip(Placement& gauge, int x, int y) { return tooltip_shown(gauge, x, y, true).text; }

TooltipShown Host::tooltip_shown(Placement& gauge, int x, int y, bool record) {
    end_drag();
    const auto areas = mouse_areas(gauge.mouse(), gauge.mouse_count(), gauge.background_size());
    const MouseArea* area = on_screen(gauge) ? area_at(areas, x, y, MouseKind::PARENT, true) : nullptr;
    std::string text;
    std::uint32_t help = 0;
    if (area != nullptr) {
        const MouseRect& t = *area->tooltip;
        if (t.kind == MouseKind::TOOLTIP && t.tooltip_text != nullptr) {
            with_gauge(gauge, [&] { text = format_tooltip(t.tooltip_text, t.args, t.event_id, sim_); });
        } else if (t.help_id != 0) {
            // An id the host has no text for shows as the id itself.
            const char* known = help_text(t.help_id);
            char fallback[32];
            std::snprintf(fallback, sizeof fallback, "Help text 0x%04X", t.help_id);
            text = known != nullptr ? known : fallback;
            help = t.help_id;
        }
        if (!text.empty())
            if (const char* note = view_note(gauge, panel_)) text += note;
    }
    TooltipShown shown{gauge.name(), x, y, std::move(text), help};
    if (!record) return shown;
    if (tooltips_.size() < kMaxLogged) tooltips_.push_back(shown);
    else log_full_ = true;
    return shown;
}

}  // namespace ardelvine::hostapp
