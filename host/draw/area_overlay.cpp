#include "host/draw/area_overlay.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "host/draw/cairo_handles.h"
#include "model/events.h"

namespace ardelvine::hostapp {

namespace {

// Labels are this many pixels high whatever the picture's scale, and cut
// to this many characters.
constexpr double kLabelFont = 11.0;
constexpr double kLabelHeight = 14.0;
constexpr std::size_t kMaxLabel = 40;

struct Rgb {
    double r, g, b;
};

Rgb cursor_colour(std::int32_t cursor) {
    switch (cursor) {
        case CURSOR_HAND: return {0.20, 0.55, 1.00};
        case CURSOR_UP: return {0.20, 0.85, 0.30};
        case CURSOR_DOWN: return {1.00, 0.35, 0.25};
        default: return {0.85, 0.85, 0.85};
    }
}

std::string buttons(std::uint32_t flags) {
    std::string out;
    if ((flags & MOUSE_LEFT) != 0) out += " L";
    if ((flags & MOUSE_RIGHT) != 0) out += " R";
    if ((flags & MOUSE_REPEAT) != 0) out += " held";
    if ((flags & MOUSE_DRAG) != 0) out += " drag";
    return out;
}

std::string area_label(const Placement& p, const MouseArea& a, const AreaTooltip& tooltip) {
    const MouseRect& r = *a.rect;
    std::string label;
    if (r.kind == MouseKind::CHILD) {
        const char* name = r.handler == nullptr ? events::name_of(r.event_id) : nullptr;
        label = r.handler != nullptr ? "handler" : name != nullptr ? name : "event " + std::to_string(r.event_id);
        return label + buttons(r.click_flags);
    }
    if (a.tooltip == nullptr) return {};
    if (tooltip) label = tooltip(p, a);
    if (label.empty()) {
        const MouseRect& t = *a.tooltip;
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "help 0x%04X", t.help_id);
        label = t.kind == MouseKind::TOOLTIP && t.tooltip_text != nullptr ? t.tooltip_text : buffer;
    }
    if (label.size() > kMaxLabel) label = label.substr(0, kMaxLabel - 2) + "..";
    return label;
}

struct Box {
    double x0, y0, x1, y1;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// Where a label of `w` x `h` device pixels goes for an area: inside its top
// left corner, then just above, below, right and left of it, then further
// down and up the picture beside it; the first place inside the picture that
// covers no label placed before. Nothing when every place is taken.
std::optional<Box> free_place(const Box& area, double w, double h, double width, double height,
                              const std::vector<Box>& taken) {
    std::vector<std::pair<double, double>> tries = {
        {area.x0 + 1, area.y0 + 1}, {area.x0, area.y0 - h - 1}, {area.x0, area.y1 + 1},
        {area.x1 + 2, area.y0},     {area.x0 - w - 2, area.y0}, {area.x0 + 1, area.y1 - h - 1},
    };
    for (double step = h + 1; step < height; step += h + 1)
        for (double x : {area.x0, area.x1 + 2, area.x0 - w - 2}) {
            tries.emplace_back(x, area.y0 + step);
            tries.emplace_back(x, area.y0 - step);
        }
    for (auto [x, y] : tries) {
        x = std::clamp(x, 0.0, std::max(0.0, width - w));
        if (y < 0 || y + h > height) continue;
        const Box b{x, y, x + w, y + h};
        if (std::none_of(taken.begin(), taken.end(), [&](const Box& t) { return t.overlaps(b); })) return b;
    }
    return std::nullopt;
}

void draw_label(cairo_t* cr, double x, double y, const std::string& text, Rgb colour, double height = 10) {
    if (text.empty()) return;
    cairo_text_extents_t te;
    cairo_text_extents(cr, text.c_str(), &te);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_rectangle(cr, x, y, te.x_advance + 3, height);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_move_to(cr, x + 1.5, y + height - 2);
    cairo_show_text(cr, text.c_str());
}

}  // namespace

void draw_unloaded_gauges(cairo_surface_t* target, const WindowConfig& window, const std::vector<UnloadedGauge>& gauges,
                          double scale, bool night) {
    Context context = new_context(target);
    cairo_t* cr = context.get();
    cairo_scale(cr, scale, scale);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    const Rgb amber{1.0, 0.72, 0.20};
    for (const UnloadedGauge& u : gauges) {
        if (u.window != window.slot) continue;
        cairo_save(cr);
        cairo_rectangle(cr, u.x + 0.5, u.y + 0.5, std::max(0, u.w - 1), std::max(0, u.h - 1));
        cairo_set_source_rgba(cr, 0.45, 0.45, 0.50, night ? 0.08 : 0.35);
        cairo_fill_preserve(cr);
        const double dash[] = {4.0, 3.0};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_width(cr, 1.5);
        cairo_set_source_rgb(cr, amber.r, amber.g, amber.b);
        cairo_stroke(cr);
        // Module above gauge, in the top left corner: the name a designer
        // wrote, cut at the outline so that small neighbours stay apart.
        cairo_rectangle(cr, u.x, u.y, u.w, u.h);
        cairo_clip(cr);
        cairo_set_font_size(cr, 9);
        draw_label(cr, u.x + 2, u.y + 2, u.module + "!", amber);
        draw_label(cr, u.x + 2, u.y + 13, u.gauge, {1, 1, 1});
        cairo_restore(cr);
    }
    cairo_surface_flush(target);
}

void draw_mouse_areas(cairo_surface_t* target, const WindowConfig& window,
                      const std::vector<std::unique_ptr<Placement>>& placements, double scale,
                      const AreaTooltip& tooltip, bool legend) {
    Context context = new_context(target);
    cairo_t* cr = context.get();
    const double width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kLabelFont);
    struct Label {
        Box area;
        std::string text;
        Rgb colour;
        bool click;
    };
    std::vector<Label> labels;
    // Frames in panel units scaled to the picture; labels after, in pixels.
    for (const auto& p : placements) {
        if (p->panel_window() != window.slot) continue;
        const BitmapSize size = p->background_size();
        const double sx = (size.width > 0 ? static_cast<double>(p->width()) / size.width : 1.0) * scale;
        const double sy = (size.height > 0 ? static_cast<double>(p->height()) / size.height : 1.0) * scale;
        for (const MouseArea& a : mouse_areas(p->mouse(), p->mouse_count(), size)) {
            const Rgb c = cursor_colour(a.rect->cursor);
            const double x = p->x() * scale + a.x * sx, y = p->y() * scale + a.y * sy, w = a.w * sx, h = a.h * sy;
            cairo_rectangle(cr, x + 0.5, y + 0.5, std::max(0.0, w - 1), std::max(0.0, h - 1));
            const bool click = a.rect->kind == MouseKind::CHILD;
            if (click) {
                cairo_set_source_rgba(cr, c.r, c.g, c.b, 0.18);
                cairo_fill_preserve(cr);
                cairo_set_dash(cr, nullptr, 0, 0);
                cairo_set_line_width(cr, 1.5);
            } else {
                const double dash[] = {3.0, 2.0};
                cairo_set_dash(cr, dash, 2, 0);
                cairo_set_line_width(cr, 1.0);
            }
            cairo_set_source_rgb(cr, c.r, c.g, c.b);
            cairo_stroke(cr);
            std::string text = area_label(*p, a, tooltip);
            if (!text.empty()) labels.push_back({{x, y, x + w, y + h}, std::move(text), c, click});
        }
    }
    cairo_set_dash(cr, nullptr, 0, 0);
    // Click areas first: what a click sends matters more than the words around it.
    std::stable_partition(labels.begin(), labels.end(), [](const Label& l) { return l.click; });
    std::vector<Box> taken;
    const double legend_height = legend ? kLabelHeight + 4 : 0.0;
    for (const Label& l : labels) {
        cairo_text_extents_t te;
        cairo_text_extents(cr, l.text.c_str(), &te);
        const std::optional<Box> place =
            free_place(l.area, te.x_advance + 3, kLabelHeight, width, height - legend_height, taken);
        if (!place) continue;
        taken.push_back(*place);
        // A label away from its area points at it.
        const Box near{l.area.x0 - 3, l.area.y0 - 3, l.area.x1 + 3, l.area.y1 + 3};
        if (!near.overlaps(*place)) {
            const double lx = std::clamp((l.area.x0 + l.area.x1) / 2, place->x0, place->x1);
            const double ly = place->y1 <= l.area.y0 ? place->y1 : place->y0 >= l.area.y1 ? place->y0 : (place->y0 + place->y1) / 2;
            cairo_set_source_rgba(cr, l.colour.r, l.colour.g, l.colour.b, 0.8);
            cairo_set_line_width(cr, 1.0);
            cairo_move_to(cr, lx, ly);
            cairo_line_to(cr, std::clamp(lx, l.area.x0, l.area.x1), std::clamp(ly, l.area.y0, l.area.y1));
            cairo_stroke(cr);
        }
        draw_label(cr, place->x0, place->y0, l.text, l.colour, kLabelHeight);
    }
    if (legend) {
        const struct {
            std::int32_t cursor;
            const char* name;
        } entries[] = {{CURSOR_HAND, "hand"}, {CURSOR_UP, "increase"}, {CURSOR_DOWN, "decrease"}, {CURSOR_NONE, "no cursor"}};
        double lx = 4;
        const double ly = height - kLabelHeight - 2;
        for (const auto& e : entries) {
            draw_label(cr, lx, ly, e.name, cursor_colour(e.cursor), kLabelHeight);
            cairo_text_extents_t te;
            cairo_text_extents(cr, e.name, &te);
            lx += te.x_advance + 10;
        }
        draw_label(cr, lx, ly, "solid: click (key event or handler, buttons)  dashed: tooltip area", {1, 1, 1},
                   kLabelHeight);
    }
    cairo_surface_flush(target);
}

}  // namespace ardelvine::hostapp
