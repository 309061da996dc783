#include "host/draw/area_overlay.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "host/draw/cairo_handles.h"
#include "host/load/mouse_areas.h"

namespace ardelvine::hostapp {

namespace {

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

std::string area_label(const MouseArea& a) {
    const MouseRect& r = *a.rect;
    std::string label;
    if (r.kind == MouseKind::CHILD) {
        label = r.handler != nullptr ? "fn" : "ev " + std::to_string(r.event_id);
        if ((r.click_flags & MOUSE_LEFT) != 0) label += " L";
        if ((r.click_flags & MOUSE_RIGHT) != 0) label += " R";
        if ((r.click_flags & MOUSE_REPEAT) != 0) label += " rep";
        if ((r.click_flags & MOUSE_DRAG) != 0) label += " drag";
        return label;
    }
    if (a.tooltip == nullptr) return {};
    const MouseRect& t = *a.tooltip;
    if (t.kind == MouseKind::TOOLTIP && t.tooltip_text != nullptr) {
        label = t.tooltip_text;
        if (label.size() > 28) label = label.substr(0, 26) + "..";
        return label;
    }
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "help 0x%04X", t.help_id);
    return buffer;
}

void draw_label(cairo_t* cr, double x, double y, const std::string& text, Rgb colour) {
    if (text.empty()) return;
    cairo_text_extents_t te;
    cairo_text_extents(cr, text.c_str(), &te);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_rectangle(cr, x, y, te.x_advance + 3, 10);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_move_to(cr, x + 1.5, y + 8);
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
                      const std::vector<std::unique_ptr<Placement>>& placements,
                      double scale) {
    Context context = new_context(target);
    cairo_t* cr = context.get();
    cairo_scale(cr, scale, scale);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 8);
    for (const auto& p : placements) {
        if (p->panel_window() != window.slot) continue;
        const BitmapSize size = p->background_size();
        const double sx = size.width > 0 ? static_cast<double>(p->width()) / size.width : 1.0;
        const double sy = size.height > 0 ? static_cast<double>(p->height()) / size.height : 1.0;
        for (const MouseArea& a : mouse_areas(p->mouse(), p->mouse_count(), size)) {
            const Rgb c = cursor_colour(a.rect->cursor);
            const double x = p->x() + a.x * sx, y = p->y() + a.y * sy, w = a.w * sx, h = a.h * sy;
            cairo_rectangle(cr, x + 0.5, y + 0.5, std::max(0.0, w - 1), std::max(0.0, h - 1));
            if (a.rect->kind == MouseKind::CHILD) {
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
            // Click areas label their top-left corner, tooltip areas their bottom-left.
            const double ly = a.rect->kind == MouseKind::CHILD ? y + 1 : y + std::max(0.0, h - 11);
            draw_label(cr, x + 1, ly, area_label(a), c);
        }
    }
    // Legend.
    const struct {
        std::int32_t cursor;
        const char* name;
    } legend[] = {{CURSOR_HAND, "hand"}, {CURSOR_UP, "increase"}, {CURSOR_DOWN, "decrease"}, {CURSOR_NONE, "no cursor"}};
    double lx = 4;
    const double ly = window.size_h - 14;
    for (const auto& l : legend) {
        draw_label(cr, lx, ly, l.name, cursor_colour(l.cursor));
        lx += 58;
    }
    draw_label(cr, lx, ly, "solid: click (ev N = key event, fn = handler)  dashed: tooltip area", {1, 1, 1});
    cairo_surface_flush(target);
}

}  // namespace ardelvine::hostapp
