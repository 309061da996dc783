// Controls and lamps: switches in each of their positions and the plates
// that name the positions, push-pull knobs, guards, quadrant levers and
// warning lamps dark and lit.
#include <string>
#include <string_view>
#include <utility>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

// Legends on plates and lamps: capitals 6.2 pixels high.
constexpr double kLegendSize = 9.0;

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
    if (r < 16) {
        // A pilot lamp too small to carry a legend.
        p.layout().no_text();
        p.fill_circle(cx, cy, r, lit ? lens.lit : lens.dark);
        return;
    }
    // A thin chrome bezel so the lens, and its legend, get the room.
    const double glass = r * 0.88;
    p.fill_circle(cx, cy, r, kMetal);
    p.stroke_circle(cx, cy, r - 0.75, 1.0, kMetalLight);
    p.fill_circle(cx, cy, glass, lit ? lens.lit : lens.dark);
    // The legend keeps a pixel and a half clear of the rim.
    p.layout().face_circle(cx, cy, glass - 1.5);
    // A glint on the glass at the rim, clear of the legend.
    if (lit) {
        cairo_new_sub_path(p.cr());
        cairo_arc(p.cr(), cx, cy, glass - 1.5, radians(200) - kPi / 2, radians(240) - kPi / 2);
        cairo_set_line_width(p.cr(), 1.5);
        p.colour({1.0, 1.0, 0.92});
        cairo_stroke(p.cr());
    }
    const Caption c = caption_of(record.gauge);
    const Colour ink = lit ? Colour{0.15, 0.12, 0.05} : Colour{0.62, 0.57, 0.48};
    p.font_narrow(true);
    if (c.bottom.empty()) {
        p.text(c.top, cx, cy, kLegendSize, ink);
    } else {
        p.text(c.top, cx, cy - kLegendSize * 0.5, kLegendSize, ink);
        p.text(c.bottom, cx, cy + kLegendSize * 0.5, kLegendSize, ink);
    }
    p.font_narrow(false);
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

// Where a rotary control's position v of n points, clockwise from 12: two
// positions at 10:30 and 1:30, more spread over a third of the dial.
double position_angle(int v, int n) {
    if (n <= 1) return 0.0;
    const double half = n == 2 ? 45.0 : 60.0;
    return radians(-half + 2 * half * v / (n - 1));
}

std::string_view position_name(std::string_view gauge, int v, int n) {
    static constexpr std::string_view magnetos[] = {"OFF", "R", "L", "BOTH"};
    if (gauge == "Magnetos_Switch" && v < 4) return magnetos[v];
    if (gauge == "NAV_GPS_Switch") return v == 0 ? "NAV" : "GPS";
    if (n == 2) return v == 0 ? "OFF" : "ON";
    return "";
}

bool lever_switch(int w, int h) { return h >= 1.3 * w; }
bool push_pull(std::string_view gauge) { return gauge == "Carburetor_Heat" || gauge == "Engine_Primer"; }

// A toggle seen head-on: its two legends in bands at the top and bottom of
// the plate, the nut between them, the lever reaching up to (not over) the
// legend of the position it is in.
struct Toggle {
    double band;   // height of each legend band
    double nut_y, nut_r, tip_r;
    double tip_y(bool up, double h) const { return up ? band + tip_r + 1 : h - band - tip_r - 1; }
};

Toggle toggle_of(double w, double h) {
    Toggle t{};
    t.band = kLegendSize * 0.69 + 3.5;
    t.nut_y = h / 2;
    t.nut_r = std::min(w * 0.24, (h - 2 * t.band) * 0.26);
    t.tip_r = std::clamp(w * 0.14, 3.5, 7.0);
    return t;
}

// The space a rotary control turns in: its centre and the radius its
// pointer reaches; legends go outside it.
struct Rotary {
    double cx, cy, reach;
};

// The title written under a control, where the plate has room for one.
std::string_view control_title(std::string_view gauge) {
    if (gauge == "Autopilot_Switch") return "AUTOPILOT";
    if (gauge == "Magnetos_Switch") return "MAGNETOS";
    if (gauge == "Carburetor_Heat") return "CARB HEAT";
    if (gauge == "Engine_Primer") return "PRIMER";
    return "";
}

}  // namespace

LeverKnob lever_knob(int w, int h) {
    const double height = std::min<double>({34.0, h - kLeverLabelRoom - 2.0, w * 0.75});
    return {std::max(1.0, h - height - kLeverLabelRoom), height};
}

void draw_lamp(Painter& p, const BitmapRecord& record, const Uses&) { lamp(p, record, false); }
void draw_lamp_lit(Painter& p, const BitmapRecord& record, const Uses&) { lamp(p, record, true); }

void draw_switch(Painter& p, const BitmapRecord& record, const Uses&) {
    const int w = p.width(), h = p.height();
    const auto [first, images] = family_of(record);
    (void)first;
    const int v = record.variant;
    const double cx = w / 2.0, cy = h / 2.0;
    if (lever_switch(w, h)) {
        // The nut, and the bat-handle lever from it toward the position.
        const Toggle t = toggle_of(w, h);
        const double tip_y = t.tip_y(v == 1, h);
        p.fill_circle(cx, t.nut_y, t.nut_r, kMetal);
        p.stroke_circle(cx, t.nut_y, t.nut_r, 1.2, kMetalLight);
        cairo_t* cr = p.cr();
        cairo_move_to(cr, cx - t.tip_r * 0.45, t.nut_y);
        cairo_line_to(cr, cx - t.tip_r * 0.75, tip_y);
        cairo_line_to(cr, cx + t.tip_r * 0.75, tip_y);
        cairo_line_to(cr, cx + t.tip_r * 0.45, t.nut_y);
        cairo_close_path(cr);
        p.colour(kMetalLight);
        cairo_fill(cr);
        p.fill_circle(cx, tip_y, t.tip_r, {0.88, 0.88, 0.86});
        p.fill_circle(cx - t.tip_r * 0.3, tip_y - t.tip_r * 0.3, t.tip_r * 0.3, {1.0, 1.0, 0.98});
        return;
    }
    const double r = std::min(cx, cy) - 1;
    if (push_pull(record.gauge)) {
        // A push-pull knob seen end-on: pulled out it stands nearer, larger,
        // with its bright shaft showing round it.
        const double out = r * 0.62, in = r * 0.52;
        const bool pulled = v == 1;
        const Colour knob_colour = record.gauge == "Carburetor_Heat" ? Colour{0.60, 0.12, 0.10} : kMetal;
        if (pulled) p.fill_circle(cx, cy, out + 1.5, {0.95, 0.80, 0.25});
        const double k = pulled ? out : in;
        p.fill_circle(cx, cy, k, knob_colour);
        p.stroke_circle(cx, cy, k * 0.75, std::max(1.0, k * 0.08), {0.9, 0.9, 0.88});
        p.fill_circle(cx - k * 0.3, cy - k * 0.3, k * 0.15, {0.95, 0.95, 0.92});
        return;
    }
    // A rotary switch: a bar knob whose pointer names the position.
    const double a = position_angle(v, images);
    const double disc = r * 0.55, reach = r * 0.7;
    p.fill_circle(cx, cy, disc, kMetal);
    p.stroke_circle(cx, cy, disc, 1.5, kMetalLight);
    p.line(cx - reach * dx_of(a), cy - reach * dy_of(a), cx + reach * dx_of(a), cy + reach * dy_of(a), r * 0.3,
           kMetalDark);
    p.line(cx, cy, cx + reach * dx_of(a), cy + reach * dy_of(a), std::max(1.5, r * 0.08), kInk);
}

// The plate behind a switch: the names of its positions, placed where no
// position of the control covers them.
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
    const std::string_view gauge = control->gauge;
    if (lever_switch(control->width, control->height)) {
        const Toggle t = toggle_of(cw, ch);
        const double top = cy - ch / 2, bottom = cy + ch / 2;
        p.font_narrow(true);
        p.text(position_name(gauge, 1, images), cx, top + t.band / 2 + 0.5, kLegendSize, kInk);
        p.text(position_name(gauge, 0, images), cx, bottom - t.band / 2 - 0.5, kLegendSize, kInk);
        p.font_narrow(false);
        return;
    }
    const double r = std::min(cw, ch) / 2.0 - 1;
    if (r < 20) {
        // A push button too small to name its positions: the bezel it sits in.
        p.layout().no_text();
        p.stroke_circle(cx, cy, r, 1.5, kMetalLight);
        return;
    }
    if (push_pull(gauge)) {
        // The knob's seat, its name above and how it works below.
        p.fill_circle(cx, cy, r * 0.66, {0.08, 0.08, 0.09});
        p.font_narrow(true);
        p.text(control_title(gauge), cx, kLegendSize * 0.5 + 2.5, kLegendSize, kInk);
        p.text("PULL ON", cx, h - kLegendSize * 0.5 - 2.5, kLegendSize, kInk, false);
        p.font_narrow(false);
        return;
    }
    if (images < 2) return;
    // Upright legends just outside the pointer's reach, one per position.
    const double reach = r * 0.7 + 2.5;
    p.font_narrow(true);
    for (int v = 0; v < images; ++v) {
        const double a = position_angle(v, images);
        const std::string_view name = position_name(gauge, v, images);
        const double hw = p.text_width(name, kLegendSize) / 2, hh = kLegendSize * 0.36;
        const double d = reach + std::abs(hw * dx_of(a)) + std::abs(hh * dy_of(a));
        p.text(name, cx + d * dx_of(a), cy + d * dy_of(a), kLegendSize, kInk);
    }
    const std::string_view title = control_title(gauge);
    if (!title.empty()) p.text(title, w / 2.0, h - kLegendSize * 0.5 - 3, kLegendSize, kInk);
    p.font_narrow(false);
}

// The closed guard: a red wire bail round the lever, so the lever and both
// legends stay in sight while it is down.
void draw_guard(Painter& p, const BitmapRecord&, const Uses&) {
    const int w = p.width(), h = p.height();
    const Toggle t = toggle_of(w, h);
    const Colour red{0.80, 0.12, 0.10}, dark{0.50, 0.07, 0.06};
    const double x0 = w * 0.16, x1 = w * 0.84, y0 = t.band + 1.5, y1 = h - t.band - 1.5;
    p.rounded(x0, y0, x1 - x0, y1 - y0, w * 0.14);
    p.colour(red);
    cairo_set_line_width(p.cr(), std::max(3.0, w * 0.09));
    cairo_stroke(p.cr());
    // Its hinge across the bottom, and the spring posts.
    p.line(x0, y1 - 1, x1, y1 - 1, 3.0, dark);
    p.fill_circle(x0, y1 - 1, 2.5, dark);
    p.fill_circle(x1, y1 - 1, 2.5, dark);
}

// A quadrant lever seen from the front: the knob alone, its shaft hidden in
// the slot. The knob sits at the same height in every lever's picture at
// rest, above a clear strip where the quadrant names the lever.
void draw_lever(Painter& p, const BitmapRecord& record, const Uses&) {
    static constexpr Colour knobs[] = {{0.16, 0.16, 0.17}, {0.15, 0.30, 0.70}, {0.75, 0.12, 0.10}};
    const int w = p.width(), h = p.height();
    const Colour c = knobs[record.variant % 3];
    const LeverKnob k = lever_knob(w, h);
    p.rounded(1, k.top, w - 2, k.height, k.height * 0.35);
    p.colour(c);
    cairo_fill(p.cr());
    p.rounded(1, k.top, w - 2, k.height, k.height * 0.35);
    p.colour(kMetalLight);
    cairo_set_line_width(p.cr(), 1.0);
    cairo_stroke(p.cr());
    // Grip ridges across the knob.
    for (int i = 1; i <= 3; ++i) {
        const double y = k.top + k.height * i / 4.0;
        p.line(w * 0.2, y, w * 0.8, y, 1.0, {c.r * 0.6 + 0.05, c.g * 0.6 + 0.05, c.b * 0.6 + 0.05});
    }
}

// ------------------------------------------------------------ plates and panels

}  // namespace ardelvine::tools::art
