// Controls and lamps: switches in each of their positions and the plates
// that name the positions, push-pull knobs, guards, quadrant levers and
// warning lamps dark and lit.
#include <string>
#include <string_view>
#include <utility>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

struct Lens {
    Colour dark, lit;
};

Lens lens_of(std::string_view gauge) {
    if (gauge == "Gear_Warning_Light" || gauge == "AP_Tester" || gauge.starts_with("Radio"))
        return {{0.10, 0.25, 0.10}, {0.25, 0.95, 0.30}};
    if (gauge == "Generator_Light") return {{0.30, 0.08, 0.08}, {1.00, 0.20, 0.15}};
    return {{0.30, 0.22, 0.06}, {1.00, 0.72, 0.10}};
}

void lamp(Painter& p, const BitmapRecord& record, bool lit) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 0.5;
    const Lens lens = lens_of(record.gauge);
    if (r < 8) {
        p.fill_circle(cx, cy, r, lit ? lens.lit : lens.dark);
        return;
    }
    p.fill_circle(cx, cy, r, kMetal);
    p.stroke_circle(cx, cy, r - 1, 1.5, kMetalLight);
    p.fill_circle(cx, cy, r * 0.78, lit ? lens.lit : lens.dark);
    p.layout().face_circle(cx, cy, r * 0.78);
    if (lit) p.fill_circle(cx - r * 0.5, cy - r * 0.3, r * 0.08, {1.0, 1.0, 0.92});
    const Caption c = caption_of(record.gauge);
    const Colour ink = lit ? Colour{0.15, 0.12, 0.05} : Colour{0.55, 0.50, 0.42};
    const double size = r * 0.36;
    if (c.bottom.empty()) {
        p.text(c.top, cx, cy, size, ink);
    } else {
        p.text(c.top, cx, cy - size * 0.6, size, ink);
        p.text(c.bottom, cx, cy + size * 0.6, size, ink);
    }
}

// The switch-image family a bitmap belongs to: first id and number of images.
std::pair<std::uint32_t, int> family_of(const BitmapRecord& record) {
    std::uint32_t first = record.id - record.variant;
    int images = 0;
    while (const BitmapRecord* r = resources::find_bitmap(first + images)) {
        if (r->art != record.art || r->variant != images) break;
        ++images;
    }
    return {first, images};
}

// Where a rotary control's position v of n points, clockwise from 12.
double position_angle(int v, int n) { return n <= 1 ? 0.0 : radians(-60.0 + 120.0 * v / (n - 1)); }

std::string_view position_name(std::string_view gauge, int v, int n) {
    static constexpr std::string_view magnetos[] = {"OFF", "R", "L", "BOTH"};
    if (gauge == "Magnetos_Switch" && v < 4) return magnetos[v];
    if (gauge == "NAV_GPS_Switch") return v == 0 ? "NAV" : "GPS";
    if (n == 2) return v == 0 ? "OFF" : "ON";
    if (n == 3) return v == 0 ? "" : v == 1 ? "CAGE" : "";
    return "";
}

bool lever_switch(int w, int h) { return h >= 1.3 * w; }

}  // namespace

void draw_lamp(Painter& p, const BitmapRecord& record, const Uses&) { lamp(p, record, false); }
void draw_lamp_lit(Painter& p, const BitmapRecord& record, const Uses&) { lamp(p, record, true); }

void draw_switch(Painter& p, const BitmapRecord& record, const Uses&) {
    const int w = p.width(), h = p.height();
    const auto [first, images] = family_of(record);
    (void)first;
    const int v = record.variant;
    const double cx = w / 2.0, cy = h / 2.0;
    if (lever_switch(w, h)) {
        // A toggle lever: down in the first position, up in the second.
        const double nut = w * 0.32;
        const double tip_y = v == 0 ? h - nut * 0.9 : nut * 0.9;
        p.fill_circle(cx, cy, nut, kMetal);
        p.stroke_circle(cx, cy, nut, 1.5, kMetalLight);
        p.line(cx, cy, cx, tip_y, w * 0.22, kMetalLight);
        p.fill_circle(cx, tip_y, w * 0.17, {0.85, 0.85, 0.83});
        return;
    }
    if (record.gauge == "Carburetor_Heat" || record.gauge == "Engine_Primer") {
        // A push-pull knob: pulled out it looks bigger and shows its stem.
        const double r = std::min(cx, cy) - 1;
        if (v == 1) p.stroke_circle(cx, cy, r * 0.95, r * 0.1, {0.9, 0.75, 0.2});
        p.fill_circle(cx, cy, v == 1 ? r * 0.85 : r * 0.7, record.gauge == "Carburetor_Heat" ? Colour{0.55, 0.12, 0.1}
                                                                                           : kMetal);
        p.stroke_circle(cx, cy, v == 1 ? r * 0.85 : r * 0.7, 1.5, kMetalLight);
        p.text(v == 1 ? "OUT" : "IN", cx, cy, r * 0.35, kInk);
        return;
    }
    const double r = std::min(cx, cy) - 1;
    const double a = position_angle(v, images);
    // A rotary switch: a bar knob whose pointer names the position.
    p.fill_circle(cx, cy, r * 0.8, kMetal);
    p.stroke_circle(cx, cy, r * 0.8, 1.5, kMetalLight);
    p.line(cx - r * 0.85 * dx_of(a), cy - r * 0.85 * dy_of(a), cx + r * 0.85 * dx_of(a), cy + r * 0.85 * dy_of(a),
           r * 0.35, kMetalDark);
    p.line(cx, cy, cx + r * 0.95 * dx_of(a), cy + r * 0.95 * dy_of(a), std::max(1.5, r * 0.1), kInk);
    p.text(position_name(record.gauge, v, images), cx, cy + r * 0.55, std::max(6.0, r * 0.22), kInk);
}

// The plate behind a switch: the names of its positions around it.
void draw_switch_plate(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const int w = p.width(), h = p.height();
    p.rounded(0.5, 0.5, w - 1, h - 1, std::min(w, h) * 0.15);
    p.colour(kMetalDark);
    cairo_fill(p.cr());
    // The control drawn over the plate, found as the icon child of the plate.
    const BitmapRecord* control = resources::find_bitmap(record.id + 10);
    double cx = w / 2.0, cy = h / 2.0, cw = w, ch = h;
    for (const BitmapUse& use : uses) {
        const ElementHeader* icon = next_element(use.element);
        if (icon == nullptr || icon->kind != ElementKind::ICON) continue;
        control = resources::find_bitmap(icon->bitmap);
        if (control == nullptr) continue;
        cx = icon->x + control->width / 2.0, cy = icon->y + control->height / 2.0;
        cw = control->width, ch = control->height;
        break;
    }
    if (control == nullptr || control->art != Art::Switch) return;
    const auto [first, images] = family_of(*control);
    (void)first;
    if (lever_switch(control->width, control->height)) {
        const double size = std::min(8.0, w * 0.3);
        p.text(position_name(control->gauge, 1, images), cx, std::max(5.0, cy - ch * 0.45), size, kInk);
        p.text(position_name(control->gauge, 0, images), cx, std::min(h - 5.0, cy + ch * 0.45), size, kInk);
        return;
    }
    const double r = std::min(cw, ch) / 2.0;
    for (int v = 0; v < images; ++v) {
        const double a = position_angle(v, images);
        const double rr = std::min(r + 7, std::min({cx, cy, w - cx, h - cy}) - 4);
        p.text(position_name(record.gauge, v, images), cx + rr * dx_of(a), cy + rr * dy_of(a), std::max(6.0, r * 0.2),
               kInk, true, a);
    }
}

void draw_guard(Painter& p, const BitmapRecord&, const Uses&) {
    const int w = p.width(), h = p.height();
    p.rounded(w * 0.12, h * 0.12, w * 0.76, h * 0.76, w * 0.2);
    p.colour({0.75, 0.12, 0.10});
    cairo_fill(p.cr());
    for (int i = 1; i < 6; ++i) p.line(w * 0.2, h * (0.12 + 0.76 * i / 6), w * 0.8, h * (0.12 + 0.76 * i / 6), 1.0,
                                       {0.55, 0.08, 0.07});
}

void draw_lever(Painter& p, const BitmapRecord& record, const Uses&) {
    static constexpr Colour knobs[] = {{0.16, 0.16, 0.17}, {0.15, 0.30, 0.70}, {0.75, 0.12, 0.10}};
    const int w = p.width(), h = p.height();
    const Colour c = knobs[record.variant % 3];
    const double grip = std::min(w, h) * 0.9;
    p.line(w / 2.0, grip * 0.5, w / 2.0, h, w * 0.18, kMetalLight);
    p.rounded(w / 2.0 - grip / 2, 1, grip, grip * 0.75, grip * 0.3);
    p.colour(c);
    cairo_fill(p.cr());
    p.rounded(w / 2.0 - grip / 2, 1, grip, grip * 0.75, grip * 0.3);
    p.colour(kMetalLight);
    cairo_set_line_width(p.cr(), 1.0);
    cairo_stroke(p.cr());
}

// ------------------------------------------------------------ plates and panels

}  // namespace ardelvine::tools::art
