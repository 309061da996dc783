#include "tools/art/paint.h"

#include <cstdio>

namespace ardelvine::tools::art {

std::string number(double v) {
    char buffer[32];
    if (std::abs(v - std::round(v)) < 0.05)
        std::snprintf(buffer, sizeof buffer, "%.0f", std::round(v) == 0.0 ? 0.0 : std::round(v));
    else
        std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return buffer;
}

void knob(Painter& p, double cx, double cy, double r, double angle, double pointer_to) {
    if (r < 2) return;
    p.layout().cover_circle(cx, cy, r, "a knob");
    const int ridges = std::clamp(static_cast<int>(r), 12, 40);
    for (int i = 0; i < ridges; ++i) {
        const double a = 2 * kPi * i / ridges;
        p.fill_circle(cx + r * 0.92 * std::cos(a), cy + r * 0.92 * std::sin(a), r * 0.12 + 0.5, kMetalDark);
    }
    p.fill_circle(cx, cy, r * 0.9, kMetal);
    p.fill_circle(cx, cy, r * 0.7, {0.24, 0.25, 0.27});
    p.stroke_circle(cx, cy, r * 0.7, std::max(1.0, r * 0.05), kMetalLight);
    p.line(cx, cy, cx + pointer_to * dx_of(angle), cy + pointer_to * dy_of(angle), std::max(1.5, r * 0.12), kInk);
}

void heading_ring(Painter& p, double cx, double cy, double r, Colour ink) {
    const double size = std::clamp(r * 0.12, 9.0, 20.0);
    for (int deg = 0; deg < 360; deg += 5) {
        const double a = radians(deg);
        const double length = deg % 30 == 0 ? r * 0.11 : deg % 10 == 0 ? r * 0.075 : r * 0.045;
        p.mark(cx + (r - 1 - length) * dx_of(a), cy + (r - 1 - length) * dy_of(a), cx + (r - 1) * dx_of(a),
               cy + (r - 1) * dy_of(a), deg % 10 == 0 ? 2.0 : 1.0, ink);
        if (deg % 30 != 0) continue;
        static constexpr std::string_view cardinal[] = {"N", "E", "S", "W"};
        const std::string text = deg % 90 == 0 ? std::string(cardinal[deg / 90]) : std::to_string(deg / 10);
        const double rr = r - 1 - r * 0.11 - size * 0.75;
        p.text(text, cx + rr * dx_of(a), cy + rr * dy_of(a), size, ink, true, a);
    }
}

void knobs_from_mouse(Painter& p, const GaugeHeader* gauge) {
    if (gauge == nullptr || gauge->mouse == nullptr) return;
    for (const MouseRect* m = gauge->mouse; m->kind != MouseKind::END; ++m) {
        if (m->kind != MouseKind::CHILD || m->cursor != CURSOR_DOWN) continue;
        const MouseRect* right = m + 1;
        if (right->kind != MouseKind::CHILD || right->cursor != CURSOR_UP) continue;
        const double x0 = m->x, y0 = std::min(m->y, right->y);
        const double x1 = right->x + right->width, y1 = std::max(m->y + m->height, right->y + right->height);
        const double r = std::min(x1 - x0, y1 - y0) / 2 - 1;
        knob(p, (x0 + x1) / 2, (y0 + y1) / 2, r, 0.0, r * 0.8);
    }
}

std::string bitmap_name(const BitmapRecord& record) {
    std::string name = "bitmap " + std::to_string(record.id);
    if (!record.gauge.empty()) name += " (" + std::string(record.gauge) + ")";
    return name;
}

}  // namespace ardelvine::tools::art
