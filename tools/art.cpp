#include "tools/art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

namespace ardelvine::tools {

namespace {

using resources::Art;
using resources::BitmapRecord;

constexpr double kPi = std::numbers::pi;

struct Colour {
    double r, g, b;
};

// Drawn colours stay clear of pure black, the transparent colour.
constexpr Colour kFace{0.11, 0.11, 0.12};
constexpr Colour kMetal{0.30, 0.31, 0.33};
constexpr Colour kMetalDark{0.18, 0.19, 0.20};
constexpr Colour kMetalLight{0.62, 0.63, 0.65};
constexpr Colour kInk{0.95, 0.95, 0.92};
constexpr Colour kDisplay{0.06, 0.06, 0.06};
constexpr Colour kMask{0.5, 0.5, 0.5};

// ------------------------------------------------------------ drawing helpers

class Painter {
public:
    Painter(int width, int height)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
          cr_(cairo_create(surface_)),
          width_(width),
          height_(height) {}
    ~Painter() { cairo_destroy(cr_); }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }
    cairo_surface_t* release() {
        cairo_surface_flush(surface_);
        return surface_;
    }

    void colour(Colour c) { cairo_set_source_rgb(cr_, c.r, c.g, c.b); }
    void fill_rect(double x, double y, double w, double h, Colour c) {
        cairo_rectangle(cr_, x, y, w, h);
        colour(c);
        cairo_fill(cr_);
    }
    void fill_circle(double x, double y, double r, Colour c) {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x, y, std::max(r, 0.5), 0, 2 * kPi);
        colour(c);
        cairo_fill(cr_);
    }
    void stroke_circle(double x, double y, double r, double line, Colour c) {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x, y, std::max(r, 0.5), 0, 2 * kPi);
        colour(c);
        cairo_set_line_width(cr_, line);
        cairo_stroke(cr_);
    }
    void line(double x0, double y0, double x1, double y1, double width, Colour c) {
        cairo_move_to(cr_, x0, y0);
        cairo_line_to(cr_, x1, y1);
        colour(c);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
        cairo_stroke(cr_);
    }
    void rounded(double x, double y, double w, double h, double r) {
        r = std::min({r, w / 2, h / 2});
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x + w - r, y + r, r, -kPi / 2, 0);
        cairo_arc(cr_, x + w - r, y + h - r, r, 0, kPi / 2);
        cairo_arc(cr_, x + r, y + h - r, r, kPi / 2, kPi);
        cairo_arc(cr_, x + r, y + r, r, kPi, 3 * kPi / 2);
        cairo_close_path(cr_);
    }
    // Text centred on (x, y), rotated by `turn` radians clockwise.
    void text(std::string_view s, double x, double y, double size, Colour c, bool bold = true, double turn = 0.0) {
        if (s.empty() || size < 3) return;
        const std::string str(s);
        cairo_save(cr_);
        cairo_select_font_face(cr_, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, str.c_str(), &e);
        cairo_translate(cr_, x, y);
        cairo_rotate(cr_, turn);
        cairo_move_to(cr_, -e.width / 2 - e.x_bearing, -e.height / 2 - e.y_bearing);
        colour(c);
        cairo_show_text(cr_, str.c_str());
        cairo_restore(cr_);
    }
    // Text that fits a width: the size shrinks until it does.
    void text_fit(std::string_view s, double x, double y, double size, double max_width, Colour c) {
        const std::string str(s);
        cairo_select_font_face(cr_, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        for (; size > 4; size -= 0.5) {
            cairo_set_font_size(cr_, size);
            cairo_text_extents_t e;
            cairo_text_extents(cr_, str.c_str(), &e);
            if (e.width <= max_width) break;
        }
        text(s, x, y, size, c);
    }
    void screw(double x, double y, double r) {
        fill_circle(x, y, r, kMetalLight);
        stroke_circle(x, y, r, 1.0, kMetalDark);
        line(x - r * 0.7, y - r * 0.7, x + r * 0.7, y + r * 0.7, std::max(1.0, r * 0.3), kMetalDark);
    }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_, height_;
};

// Direction in radians clockwise from 12 o'clock to screen offsets.
double dx_of(double angle) { return std::sin(angle); }
double dy_of(double angle) { return -std::cos(angle); }
double radians(double deg) { return deg * kPi / 180.0; }

std::string number(double v) {
    char buffer[32];
    if (std::abs(v - std::round(v)) < 0.05)
        std::snprintf(buffer, sizeof buffer, "%.0f", std::round(v) == 0.0 ? 0.0 : std::round(v));
    else
        std::snprintf(buffer, sizeof buffer, "%.1f", v);
    return buffer;
}

// A knob: a ridged disc with a pointer line from its centre along `angle`.
void knob(Painter& p, double cx, double cy, double r, double angle, double pointer_to) {
    if (r < 2) return;
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

// ------------------------------------------------------------ units

// How a needle's source value reads on its face.
struct Scale {
    std::uint32_t token;
    double factor, offset;  // shown = value * factor + offset
    double step;            // minor tick spacing in shown units; 0 = ticks at table points only
    double label_step;      // further numbers at multiples of this; 0 = table points only
    bool labels;
    bool absolute;  // numbers without sign (both halves of a centre-zero dial)
};

constexpr double kRankineToCelsius = -(459.67 + 32.0) / 1.8;

constexpr Scale kScales[] = {
    {61, 1.0, 0.0, 10, 20, true, false},                   // indicated airspeed, knots
    {65, 1.0 / 130.048, 0.0, 1, 0, true, true},            // vertical speed, 100 ft/min
    {390, 0.001, 0.0, 0.5, 1, true, false},                // engine rpm, thousands
    {391, 1.0 / 70.7328, 0.0, 2, 10, true, false},         // manifold pressure, inHg
    {415, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},  // cylinder head, deg C
    {425, 1.0 / 144.0, 0.0, 5, 5, true, false},            // pressure, psi
    {562, 1.0 / 144.0, 0.0, 20, 100, true, false},         // oil pressure, psi
    {561, 1.0 / 1.8, kRankineToCelsius, 10, 50, true, false},  // oil temperature, deg C
    {732, 1.0 / 144000.0, 0.0, 0.25, 1, true, false},      // hydraulic pressure, 1000 psi
    {341, 1.0, 0.0, 5, 10, true, false},                   // outside air, deg C
    {753, 1.0, 0.0, 1, 5, true, false},                    // bus volts
    {80, 1.0, 0.0, 10, 0, false, false},                   // bank, degrees
    {70, 1.0, 0.0, 0, 0, false, false},                    // turn rate
};

Scale scale_of(const Needle& needle) {
    for (const Scale& s : kScales)
        if (s.token == needle.source.token) return s;
    return {needle.source.token, 1.0, 0.0, 0, 0, true, false};  // fuel gallons and the like: as they are
}

// Names and units written on faces and panels, by gauge.
struct Caption {
    std::string_view gauge;
    std::string_view top, bottom;
};

constexpr Caption kCaptions[] = {
    {"Airspeed", "AIRSPEED", "KNOTS"},
    {"Altimeter", "ALT", "100 FT"},
    {"Vertical_Speed", "VERTICAL SPEED", "100 FT/MIN"},
    {"Tachometer", "RPM", "x100"},
    {"Manifold_Pressure", "MANIFOLD", "IN HG"},
    {"CHT_Indicator", "CYL TEMP", "\u00B0C"},
    {"Oil_Temp_Press_1", "OIL \u00B0C", "PSI"},
    {"Oil_Temp_Press_2", "OIL \u00B0C", "PSI"},
    {"Hydr_Press_Indicator", "HYDRAULIC", "PSI x1000"},
    {"OAT_Indicator", "AIR TEMP", "\u00B0C"},
    {"Voltmeter", "VOLTS", "DC"},
    {"Fuel_Quantity", "FUEL", "GALLONS"},
    {"Turn_Coordinator", "TURN COORDINATOR", "2 MIN"},
    {"Attitude", "", "ATTITUDE"},
    {"Attitude_w_Cage", "", "ATTITUDE"},
    {"Waltham_Clock", "", "WALTHAM"},
    {"Gyro_Compass", "DIRECTIONAL GYRO", ""},
    {"ADF_VOR_Indicator", "", ""},
    {"Radio_COM", "COM 1", ""},
    {"Radio_NAV", "NAV 1", ""},
    {"Radio_ADF", "ADF", ""},
    {"Radio_IFF_XPDR", "TRANSPONDER", ""},
    {"AP_Tester", "AUTOPILOT", "ANNUNCIATOR"},
    {"Throttle_Quadrant", "", ""},
    {"Generator_Light", "GEN", "OFF"},
    {"Gear_Warning_Light", "GEAR", "DOWN"},
    {"Dive_Brake_Warning_Light", "DIVE", "BRAKE"},
    {"Tail_Hook_Warning_Light", "TAIL", "HOOK"},
    {"Flaps_Warning_Light", "FLAPS", ""},
    {"Kneeboard_Toggle", "K", ""},
    {"ATC_Toggle", "ATC", ""},
    {"Map_Toggle", "M", ""},
    {"Invisible_Toggle", "", ""},
    {"Close_Subpanel", "X", ""},
    {"Radios_Toggle", "R", ""},
    {"Landing_View_Toggle", "L", ""},
    {"GPS_Toggle", "G", ""},
    {"Throttle_Toggle", "T", ""},
    {"Compass_Toggle", "C", ""},
    {"Fuel_Toggle", "F", ""},
    {"Electricity_Toggle", "E", ""},
};

Caption caption_of(std::string_view gauge) {
    for (const Caption& c : kCaptions)
        if (c.gauge == gauge) return c;
    return {gauge, "", ""};
}

// ------------------------------------------------------------ records

template <typename T>
const T& as(const ElementHeader* e) {
    return *reinterpret_cast<const T*>(e);
}

const ElementHeader* next_element(const ElementHeader* e) {
    return e->children != nullptr ? e->children[0] : nullptr;
}

template <typename F>
void for_each_element(const GaugeHeader* gauge, F&& f) {
    if (gauge == nullptr || gauge->elements == nullptr) return;
    for (const ElementHeader* e = gauge->elements[0]; e != nullptr; e = next_element(e)) f(e);
}

Art art_of(std::uint32_t id) {
    const BitmapRecord* r = resources::find_bitmap(id);
    return r != nullptr ? r->art : Art::Unused;
}

// Angle (radians, clockwise from 12) from a pivot to a point.
double direction(double px, double py, double x, double y) { return std::atan2(x - px, py - y); }

// Clockwise turn from a to b, in [0, 2 pi).
double clockwise(double a, double b) {
    double d = std::fmod(b - a, 2 * kPi);
    if (d < 0) d += 2 * kPi;
    return d;
}

// ------------------------------------------------------------ faces

struct Dial {
    double cx, cy, r;
};

Dial dial_of(int w, int h) {
    const double side = std::min(w, h);
    return {w / 2.0, side / 2.0 + (h > w ? 0.0 : (h - side) / 2.0), side / 2.0 - 1.0};
}

bool round_face(int w, int h) { return std::max(w, h) <= 1.25 * std::min(w, h); }

class FaceMarks {
public:
    FaceMarks(Painter& p, Dial dial) : p_(p), dial_(dial) {}

    void needle(const Needle& n) {
        if (n.table == nullptr || n.table_entries == 0) return;
        const Scale scale = scale_of(n);
        const double px = n.header.x, py = n.header.y;
        const std::uint32_t count = n.table_entries;
        auto point_angle = [&](std::uint32_t i) { return direction(px, py, n.table[i].x, n.table[i].y); };
        auto point_radius = [&](std::uint32_t i) { return std::hypot(n.table[i].x - px, n.table[i].y - py); };
        auto same_point = [&](std::uint32_t i, std::uint32_t j) {
            return n.table[i].x == n.table[j].x && n.table[i].y == n.table[j].y;
        };
        auto shown = [&](double v) {
            const double s = v * scale.factor + scale.offset;
            return scale.absolute ? std::abs(s) : s;
        };

        std::uint32_t distinct = 1;
        for (std::uint32_t i = 1; i < count; ++i) distinct += same_point(i, i - 1) ? 0 : 1;
        const bool pinned = count >= 2 && same_point(count - 1, count - 2);
        if (distinct == 2 && !pinned) {
            continuous(n, px, py);
            return;
        }

        // Ticks along each segment, at multiples of the scale's step.
        for (std::uint32_t i = 0; i + 1 < count; ++i) {
            if (same_point(i, i + 1)) continue;
            const double a0 = point_angle(i), sweep = clockwise(a0, point_angle(i + 1));
            const double r0 = point_radius(i), r1 = point_radius(i + 1);
            const double s0 = n.table[i].value * scale.factor + scale.offset;
            const double s1 = n.table[i + 1].value * scale.factor + scale.offset;
            if (scale.step <= 0 || s0 == s1) continue;
            const double lo = std::min(s0, s1), hi = std::max(s0, s1);
            // Coarser ticks where the scale is crowded.
            const double pixels_per_unit = sweep * (r0 + r1) / 2 / (hi - lo);
            double step = scale.step;
            while (step * pixels_per_unit < 4.5) step = coarser(step);
            for (double s = std::ceil(lo / step - 1e-9) * step; s <= hi + 1e-9; s += step) {
                const double t = (s - s0) / (s1 - s0);
                const double a = a0 + t * sweep, r = r0 + t * (r1 - r0);
                const bool major = scale.label_step > 0 && is_multiple(s, scale.label_step);
                tick(px, py, a, r, major ? 9 : 5, major ? 2.0 : 1.2);
                if (major && scale.labels) later_.push_back({px, py, a, r, number(scale.absolute ? std::abs(s) : s)});
            }
        }
        // A heavy mark and a number at every table point; of several entries
        // on one point, the one inside the scale is named.
        for (std::uint32_t i = 0; i < count; ++i) {
            const bool first_group = i + 1 < count && same_point(i, i + 1) && (i == 0 || same_point(i, 0));
            if (first_group) continue;  // the last entry of the opening group names it
            if (i > 0 && same_point(i, i - 1) && !(i == 1 || same_point(i - 1, 0))) continue;
            const double a = point_angle(i), r = point_radius(i);
            tick(px, py, a, r, 11, 2.5);
            if (scale.labels) label(px, py, a, r, number(shown(n.table[i].value)));
        }
    }

    // Numbers that only fill gaps between the table points'.
    void finish() {
        for (const Pending& l : later_) label(l.px, l.py, l.a, l.r, l.text);
        later_.clear();
    }

    // A ring of generic marks for a face whose needles are not known yet.
    void generic() {
        for (int i = 0; i < 60; ++i) {
            const double a = 2 * kPi * i / 60;
            tick(dial_.cx, dial_.cy, a, dial_.r * 0.88, i % 5 == 0 ? 10 : 5, i % 5 == 0 ? 2.5 : 1.2);
        }
    }

private:
    struct Pending {
        double px, py, a, r;
        std::string text;
    };

    // The next of 1, 2, 5, 10, 20... above a step.
    static double coarser(double step) {
        const double decade = std::pow(10.0, std::floor(std::log10(step)));
        const double m = step / decade;
        return (m < 1.5 ? 2.0 : m < 3.0 ? 5.0 : 10.0) * decade;
    }

    static bool is_multiple(double v, double step) {
        const double q = v / step;
        return std::abs(q - std::round(q)) < 1e-6;
    }

    // A radius along direction a from the pivot, pulled in to stay on the dial.
    double fit(double px, double py, double a, double r) const {
        const double ox = px - dial_.cx, oy = py - dial_.cy, dx = dx_of(a), dy = dy_of(a);
        const double edge = dial_.r - 3;
        const double b = ox * dx + oy * dy, c = ox * ox + oy * oy - edge * edge;
        const double disc = b * b - c;
        return disc < 0 ? r : std::min(r, -b + std::sqrt(disc));
    }

    void tick(double px, double py, double a, double r, double length, double width) {
        r = fit(px, py, a, r);
        ink_.push_back({px + (r - length / 2) * dx_of(a), py + (r - length / 2) * dy_of(a)});
        p_.line(px + (r - length) * dx_of(a), py + (r - length) * dy_of(a), px + r * dx_of(a), py + r * dy_of(a),
                width, kInk);
    }

    void label(double px, double py, double a, double r, const std::string& text) {
        const double size = std::clamp(std::min(dial_.r * 0.11, r * 0.3), 7.0, 18.0);
        const double inward = fit(px, py, a, r) - 11 - size * 0.9;
        const double x = px + inward * dx_of(a), y = py + inward * dy_of(a);
        if (!free(x, y, size * 1.6)) return;
        placed_.push_back({x, y});
        p_.text(text, x, y, size, kInk);
    }

public:
    // Whether a label centred on (x, y) keeps `distance` from every other.
    bool free(double x, double y, double distance, bool clear_of_ticks = false) const {
        for (const auto& [lx, ly] : placed_)
            if (std::hypot(lx - x, ly - y) < distance) return false;
        if (clear_of_ticks)
            for (const auto& [tx, ty] : ink_)
                if (std::abs(tx - x) < distance && std::abs(ty - y) < distance * 0.5) return false;
        return true;
    }
    void reserve(double x, double y) { placed_.push_back({x, y}); }

private:

    // A hand that keeps turning: a full ring of numbers at the dial's edge.
    void continuous(const Needle& n, double px, double py) {
        for (const auto& [x, y] : rings_)
            if (x == px && y == py) return;
        rings_.push_back({px, py});
        const double a0 = direction(px, py, n.table[0].x, n.table[0].y);
        const double a1 = direction(px, py, n.table[n.table_entries - 1].x, n.table[n.table_entries - 1].y);
        const double sweep = clockwise(a0, a1);
        if (sweep <= 0) return;
        const double per_turn = (n.table[n.table_entries - 1].value - n.table[0].value) * 2 * kPi / sweep;
        const bool clock = std::abs(per_turn - 43200.0) < 1.0 || std::abs(per_turn - 3600.0) < 1.0;
        const int numbers = clock ? 12 : 10, minor = clock ? 5 : 5;
        const double r = std::min(dial_.r * 0.9, std::hypot(px - dial_.cx, py - dial_.cy) + dial_.r * 0.9);
        for (int i = 0; i < numbers * minor; ++i) {
            const double a = a0 + 2 * kPi * i / (numbers * minor);
            tick(px, py, a, r, i % minor == 0 ? 12 : 6, i % minor == 0 ? 3.0 : 1.4);
        }
        for (int k = 0; k < numbers; ++k) {
            const double a = a0 + 2 * kPi * k / numbers;
            label(px, py, a, r, std::to_string(clock ? (k == 0 ? 12 : k) : k));
        }
    }

    Painter& p_;
    Dial dial_;
    std::vector<std::pair<double, double>> placed_, rings_, ink_;
    std::vector<Pending> later_;
};

// Knobs under the arrow cursors of a gauge's mouse areas: each pair of
// decrease/increase halves is one knob.
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

// The gauge's name and unit, each where it clears the numbers.
void captions(Painter& p, std::string_view gauge, Dial dial, FaceMarks& marks) {
    const Caption c = caption_of(gauge);
    const double size = std::clamp(dial.r * 0.09, 6.0, 14.0);
    auto place = [&](std::string_view text, std::initializer_list<double> heights, bool bold) {
        if (text.empty()) return;
        const double clearance = std::max(size * 0.6 * text.size() / 2 + size, size * 2.0);
        for (double h : heights) {
            const double y = dial.cy + h * dial.r;
            bool clear = true;
            for (double dx : {-0.5, 0.0, 0.5})
                clear = clear && marks.free(dial.cx + dx * clearance, y, clearance * 0.55, true);
            if (!clear) continue;
            p.text(text, dial.cx, y, size, kInk, bold);
            marks.reserve(dial.cx, y);
            return;
        }
    };
    place(c.top, {-0.32, -0.45, -0.2, -0.58, 0.2}, true);
    place(c.bottom, {0.36, 0.5, 0.24, 0.62, -0.6}, false);
}

void draw_face(Painter& p, const BitmapRecord& record, const std::vector<BitmapUse>& uses) {
    const int w = p.width(), h = p.height();
    if (!round_face(w, h)) {
        // An instrument housing rather than a round dial.
        p.rounded(0.5, 0.5, w - 1, h - 1, std::min(w, h) * 0.12);
        p.colour(kMetalDark);
        cairo_fill(p.cr());
        p.text_fit(caption_of(record.gauge).top, w / 2.0, std::min(h * 0.12, 20.0), 12, w - 8, kInk);
        for (const BitmapUse& use : uses) knobs_from_mouse(p, use.gauge);
        return;
    }
    const Dial dial = dial_of(w, h);
    p.fill_rect(0, 0, w, h, kMetalDark);
    p.fill_circle(dial.cx, dial.cy, dial.r, kFace);

    FaceMarks marks(p, dial);
    bool any = false;
    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::NEEDLE && art_of(e->bitmap) == Art::Needle) {
                marks.needle(as<Needle>(e));
                any = true;
            }
        });
        knobs_from_mouse(p, use.gauge);
    }
    if (!any) marks.generic();
    marks.finish();
    captions(p, record.gauge, dial, marks);
}

void draw_cover(Painter& p) {
    const Dial dial = dial_of(p.width(), p.height());
    const double bezel = std::max(3.0, dial.r * 0.06);
    p.stroke_circle(dial.cx, dial.cy, dial.r - bezel / 2, bezel, kMetal);
    p.stroke_circle(dial.cx, dial.cy, dial.r - bezel, 1.0, kMetalLight);
    if (p.width() >= 150) {
        const double s = dial.r * 0.05;
        for (const auto& [x, y] : {std::pair{0.08, 0.08}, {0.92, 0.08}, {0.08, 0.92}, {0.92, 0.92}})
            if (std::hypot(x * p.width() - dial.cx, y * p.height() - dial.cy) > dial.r + s)
                p.screw(x * p.width(), y * p.height(), s);
    }
}

// ------------------------------------------------------------ moving parts

struct Pivot {
    double x, y;
    bool known;
};

Pivot pivot_of(const std::vector<BitmapUse>& uses, int h) {
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::NEEDLE || use.element->kind == ElementKind::SPRITE)
            return {double(use.element->offset_x), double(use.element->offset_y), true};
    return {h / 2.0, h / 2.0, false};
}

void draw_needle(Painter& p, const std::vector<BitmapUse>& uses) {
    const int w = p.width(), h = p.height();
    const Pivot pivot = pivot_of(uses, h);
    const double cy = pivot.y;
    if (pivot.x < 0 || h <= 6) {
        // A bar or a hairline: the whole length, hub where the pivot is.
        const double from = std::max(0.0, pivot.x - 2 * h);
        p.line(from, cy, w, cy, std::max(1.5, h - 1.0), kInk);
        if (pivot.x >= 0) p.fill_circle(pivot.x, cy, std::min(h / 2.0, 3.0), kInk);
        return;
    }
    const double half = std::clamp(h * 0.22, 1.5, 5.0);
    const double tip = w - 1.0;
    cairo_t* cr = p.cr();
    cairo_move_to(cr, tip, cy);
    cairo_line_to(cr, pivot.x + (tip - pivot.x) * 0.15, cy - half);
    cairo_line_to(cr, std::max(1.0, pivot.x - (tip - pivot.x) * 0.25), cy - half * 0.7);
    cairo_line_to(cr, std::max(1.0, pivot.x - (tip - pivot.x) * 0.25), cy + half * 0.7);
    cairo_line_to(cr, pivot.x + (tip - pivot.x) * 0.15, cy + half);
    cairo_close_path(cr);
    p.colour(kInk);
    cairo_fill(cr);
    const double hub = std::min({h / 2.0 - 0.5, 7.0, pivot.x + 0.0, double(w - pivot.x)});
    if (hub >= 2) {
        p.fill_circle(pivot.x, cy, hub, kMetal);
        p.fill_circle(pivot.x, cy, hub * 0.4, kMetalLight);
    }
}

void draw_knob(Painter& p, const std::vector<BitmapUse>& uses) {
    const int w = p.width(), h = p.height();
    Pivot c = pivot_of(uses, h);
    if (!c.known) c = {std::min(w, h) / 2.0, h / 2.0, false};
    const double r = std::min({c.x, c.y, w - c.x, h - c.y}) - 1;
    knob(p, c.x, c.y, r, kPi / 2, w - c.x - 1);
}

// Headings around a card; `turn` adds to every heading's angle.
void compass_rose(Painter& p, double cx, double cy, double r) {
    p.fill_circle(cx, cy, r, kFace);
    const double size = std::clamp(r * 0.13, 7.0, 20.0);
    for (int deg = 0; deg < 360; deg += 5) {
        const double a = radians(deg);
        const double length = deg % 30 == 0 ? r * 0.12 : deg % 10 == 0 ? r * 0.08 : r * 0.05;
        p.line(cx + (r - 1 - length) * dx_of(a), cy + (r - 1 - length) * dy_of(a), cx + (r - 1) * dx_of(a),
               cy + (r - 1) * dy_of(a), deg % 10 == 0 ? 2.0 : 1.0, kInk);
        if (deg % 30 == 0) {
            static constexpr std::string_view cardinal[] = {"N", "E", "S", "W"};
            const std::string text = deg % 90 == 0 ? std::string(cardinal[deg / 90]) : std::to_string(deg / 10);
            const double rr = r - 1 - r * 0.12 - size * 0.8;
            p.text(text, cx + rr * dx_of(a), cy + rr * dy_of(a), size, kInk, true, a);
        }
    }
}

void draw_card(Painter& p, const BitmapRecord& record) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    if (record.gauge == "Altimeter") {
        // Barometric scale: the card turns 90 degrees per inch from 29.9 at
        // rest, read at 3 o'clock.
        p.fill_circle(cx, cy, r, kFace);
        for (int k = 279; k <= 315; ++k) {
            const double a = radians(90.0 - (k / 10.0 - 29.9) * 90.0);
            const bool major = k % 2 == 0;
            p.line(cx + (r - (major ? 10 : 6)) * dx_of(a), cy + (r - (major ? 10 : 6)) * dy_of(a), cx + r * dx_of(a),
                   cy + r * dy_of(a), 1.5, kInk);
            if (major) {
                char text[8];
                std::snprintf(text, sizeof text, "%.1f", k / 10.0);
                const double rr = r - 26;
                p.text(text, cx + rr * dx_of(a), cy + rr * dy_of(a), 10, kInk, true, a - kPi / 2);
            }
        }
        return;
    }
    if (record.gauge == "Radio_COM") {
        // A channel selector: twelve lettered positions 30 degrees apart.
        knob(p, cx, cy, r, 0.0, r * 0.45);
        for (int k = 0; k < 12; ++k) {
            const double a = radians(30.0 * k), rr = r * 0.62;
            p.text(std::string(1, char('A' + k)), cx + rr * dx_of(a), cy + rr * dy_of(a), r * 0.18, kInk, true, a);
        }
        return;
    }
    if (record.gauge == "Radio_ADF") {
        // The band card: band b is read at 12 o'clock when the card has turned
        // by (1 - b) x 90 degrees.
        p.fill_circle(cx, cy, r, kFace);
        static constexpr std::string_view bands[] = {"190-400", "400-850", "850-1750"};
        for (int b = 1; b <= 3; ++b) {
            const double a = radians((b - 1) * 90.0);
            const double rr = r * 0.78;
            p.text(std::string("BAND ") + std::to_string(b), cx + rr * dx_of(a), cy + rr * dy_of(a), r * 0.09, kInk,
                   true, a);
            p.text(std::string(bands[b - 1]) + " kHz", cx + rr * 0.8 * dx_of(a), cy + rr * 0.8 * dy_of(a), r * 0.07,
                   kInk, false, a);
        }
        return;
    }
    compass_rose(p, cx, cy, r);
}

void draw_horizon(Painter& p) {
    const int w = p.width(), h = p.height();
    const double cy = h / 2.0;
    p.fill_rect(0, 0, w, cy, {0.23, 0.50, 0.82});
    p.fill_rect(0, cy, w, h - cy, {0.50, 0.33, 0.16});
    p.line(0, cy, w, cy, 2.5, kInk);
    const double per_degree = 1.3;
    for (int deg = 5; deg <= 60; deg += 5) {
        const double half = deg % 10 == 0 ? w * 0.18 : w * 0.08;
        for (int sign : {-1, 1}) {
            const double y = cy - sign * deg * per_degree;
            if (y < 4 || y > h - 4) continue;
            p.line(w / 2.0 - half, y, w / 2.0 + half, y, 1.5, kInk);
            if (deg % 10 == 0) {
                p.text(std::to_string(deg), w / 2.0 - half - 10, y, 9, kInk);
                p.text(std::to_string(deg), w / 2.0 + half + 10, y, 9, kInk);
            }
        }
    }
}

// The first moving-image record that uses a strip or drum bitmap.
const MovingImage* moving_of(const std::vector<BitmapUse>& uses) {
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::MOVING_IMAGE) return &as<MovingImage>(use.element);
    return nullptr;
}

void draw_strip(Painter& p, const BitmapRecord& record, const std::vector<BitmapUse>& uses) {
    const int w = p.width(), h = p.height();
    p.fill_rect(0, 0, w, h, kFace);
    const BitmapRecord* window = resources::find_bitmap(record.id + 1);
    const double window_w = window != nullptr ? window->width : w / 8.0;
    const MovingImage* moving = moving_of(uses);
    const double minimum = moving != nullptr ? moving->x.minimum : 360.0;
    const double maximum = moving != nullptr ? moving->x.maximum : 0.0;
    if (maximum == minimum) return;
    // The window's centre shows heading v when the strip is shifted by the
    // fraction of v between minimum and maximum.
    const double travel = w - window_w;
    auto x_of = [&](double heading) { return (heading - minimum) / (maximum - minimum) * travel + window_w / 2; };
    const double per_degree = std::abs(travel / (maximum - minimum));
    const double size = std::clamp(h * 0.42, 7.0, 18.0);
    const int lo = static_cast<int>(std::floor(std::min(minimum, maximum) - window_w / per_degree));
    const int hi = static_cast<int>(std::ceil(std::max(minimum, maximum) + window_w / per_degree));
    for (int deg = lo - lo % 5; deg <= hi; deg += 5) {
        const double x = x_of(deg);
        if (x < -20 || x > w + 20) continue;
        const int heading = ((deg % 360) + 360) % 360;
        const double length = heading % 30 == 0 ? h * 0.3 : heading % 10 == 0 ? h * 0.2 : h * 0.12;
        p.line(x, h - 1 - length, x, h - 1, heading % 10 == 0 ? 2.0 : 1.0, kInk);
        if (heading % 30 == 0) {
            static constexpr std::string_view cardinal[] = {"N", "E", "S", "W"};
            const std::string text =
                heading % 90 == 0 ? std::string(cardinal[heading / 90]) : std::to_string(heading / 10);
            p.text(text, x, h * 0.38, size, kInk);
        } else if (heading % 10 == 0 && per_degree >= 2.0) {
            p.text(std::to_string(heading / 10), x, h * 0.4, size * 0.55, kInk, false);
        }
    }
    (void)record;
}

void draw_digit_cell(Painter& p, double y, double cell_h, int digit) {
    const int w = p.width();
    p.fill_rect(0, y, w, cell_h, {0.13, 0.13, 0.13});
    p.text(std::to_string(digit), w / 2.0, y + cell_h / 2.0, std::min(cell_h * 0.8, w * 1.25), kInk);
}

void draw_drum(Painter& p, const BitmapRecord& record) {
    const BitmapRecord* window = resources::find_bitmap(record.id + 1);
    const double cell = window != nullptr ? window->height : p.width() * 1.5;
    const int cells = static_cast<int>(std::lround(p.height() / cell));
    for (int k = 0; k < cells; ++k) draw_digit_cell(p, k * cell, cell, k % 10);
}

// The mask through which a strip, drum or card shows: filled where the
// picture is visible, transparent elsewhere.
void draw_window(Painter& p, const BitmapRecord& record) {
    const BitmapRecord* picture = resources::find_bitmap(record.id - 1);
    const int w = p.width(), h = p.height();
    if (picture != nullptr && (picture->art == Art::Card || picture->art == Art::Horizon) && w == h) {
        p.fill_circle(w / 2.0, h / 2.0, w / 2.0 - 1, kMask);
    } else if (picture != nullptr && picture->art == Art::Card && std::abs(w - h) < w / 5) {
        p.fill_circle(w / 2.0, h / 2.0, std::min(w, h) / 2.0 - 1, kMask);
    } else {
        p.fill_rect(0, 0, w, h, kMask);
    }
}

// ------------------------------------------------------------ controls

struct Lens {
    Colour dark, lit;
};

Lens lens_of(std::string_view gauge) {
    if (gauge == "Gear_Warning_Light" || gauge == "AP_Tester" || gauge.starts_with("Radio"))
        return {{0.10, 0.25, 0.10}, {0.25, 0.95, 0.30}};
    if (gauge == "Generator_Light") return {{0.30, 0.08, 0.08}, {1.00, 0.20, 0.15}};
    return {{0.30, 0.22, 0.06}, {1.00, 0.72, 0.10}};
}

void draw_lamp(Painter& p, const BitmapRecord& record, bool lit) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 0.5;
    const Lens lens = lens_of(record.gauge);
    if (r < 8) {
        p.fill_circle(cx, cy, r, lit ? lens.lit : lens.dark);
        return;
    }
    p.fill_circle(cx, cy, r, kMetal);
    p.stroke_circle(cx, cy, r - 1, 1.5, kMetalLight);
    p.fill_circle(cx, cy, r * 0.78, lit ? lens.lit : lens.dark);
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
    if (n == 2) return v == 0 ? "OFF" : "ON";
    if (n == 3) return v == 0 ? "" : v == 1 ? "CAGE" : "";
    return "";
}

bool lever_switch(int w, int h) { return h >= 1.3 * w; }

void draw_switch(Painter& p, const BitmapRecord& record) {
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
void draw_switch_plate(Painter& p, const BitmapRecord& record, const std::vector<BitmapUse>& uses) {
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
        p.text("ON", cx, std::max(5.0, cy - ch * 0.45), std::min(8.0, w * 0.3), kInk);
        p.text("OFF", cx, std::min(h - 5.0, cy + ch * 0.45), std::min(8.0, w * 0.3), kInk);
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

void draw_guard(Painter& p) {
    const int w = p.width(), h = p.height();
    p.rounded(w * 0.12, h * 0.12, w * 0.76, h * 0.76, w * 0.2);
    p.colour({0.75, 0.12, 0.10});
    cairo_fill(p.cr());
    for (int i = 1; i < 6; ++i) p.line(w * 0.2, h * (0.12 + 0.76 * i / 6), w * 0.8, h * (0.12 + 0.76 * i / 6), 1.0,
                                       {0.55, 0.08, 0.07});
}

void draw_lever(Painter& p, const BitmapRecord& record) {
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

void draw_panel(Painter& p, const BitmapRecord& record, const std::vector<BitmapUse>& uses) {
    const int w = p.width(), h = p.height();
    p.fill_rect(0, 0, w, h, {0.20, 0.21, 0.22});
    p.rounded(2, 2, w - 4, h - 4, 6);
    p.colour({0.26, 0.27, 0.29});
    cairo_fill(p.cr());
    const double s = std::clamp(std::min(w, h) * 0.03, 2.5, 5.0);
    for (const auto& [x, y] : {std::pair{s * 2.5, s * 2.5}, {w - s * 2.5, s * 2.5}, {s * 2.5, h - s * 2.5},
                               {w - s * 2.5, h - s * 2.5}})
        p.screw(x, y, s);
    const Caption c = caption_of(record.gauge);
    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::STRING) {
                // A display window behind each text readout.
                const auto& text = as<StringElement>(e);
                p.rounded(e->x - 3, e->y - 3, text.box_width + 6, text.box_height + 6, 3);
                p.colour(kDisplay);
                cairo_fill(p.cr());
            } else if (e->kind == ElementKind::SLIDER) {
                // A lever slot, from the top of the travel to the lever's rest.
                const BitmapRecord* lever = resources::find_bitmap(e->bitmap);
                if (lever == nullptr) return;
                const double x = e->x + lever->width / 2.0;
                p.rounded(x - 4, 5, 8, e->y + lever->height - 5, 4);
                p.colour(kDisplay);
                cairo_fill(p.cr());
            }
        });
        knobs_from_mouse(p, use.gauge);
    }
    if (record.gauge == "Throttle_Quadrant") {
        static constexpr std::string_view names[] = {"THROTTLE", "PROP", "MIXTURE"};
        for (int i = 0; i < 3; ++i) p.text(names[i], w * (0.2 + 0.3 * i), h - 8, 8, kInk);
        return;
    }
    p.text(c.top, w / 2.0, std::min(14.0, h * 0.1), std::clamp(h * 0.08, 7.0, 12.0), kInk);
    if (!c.bottom.empty()) p.text(c.bottom, w / 2.0, std::min(28.0, h * 0.2), std::clamp(h * 0.06, 6.0, 10.0), kInk);
}

void draw_plate(Painter& p) {
    const int w = p.width(), h = p.height();
    p.rounded(0.5, 0.5, w - 1, h - 1, 4);
    p.colour({0.78, 0.76, 0.70});
    cairo_fill(p.cr());
    p.rounded(2.5, 2.5, w - 5, h - 5, 3);
    p.colour({0.35, 0.33, 0.30});
    cairo_set_line_width(p.cr(), 1.0);
    cairo_stroke(p.cr());
    p.screw(7, h / 2.0, 3);
    p.screw(w - 7, h / 2.0, 3);
}

void draw_button(Painter& p, const BitmapRecord& record) {
    const int w = p.width(), h = p.height();
    p.rounded(0.5, 0.5, w - 1, h - 1, 3);
    p.colour({0.35, 0.36, 0.38});
    cairo_fill(p.cr());
    p.rounded(1.5, 1.5, w - 3, h - 3, 2);
    p.colour(kMetalLight);
    cairo_set_line_width(p.cr(), 1.0);
    cairo_stroke(p.cr());
    p.text_fit(caption_of(record.gauge).top, w / 2.0, h / 2.0, h * 0.6, w - 4, kInk);
}

void draw_flag(Painter& p, const BitmapRecord& record) {
    const int w = p.width(), h = p.height();
    const bool tall = h > w;
    if (record.variant == 0) {
        p.fill_rect(0, 0, w, h, {0.85, 0.12, 0.10});
        for (double t = -std::max(w, h); t < std::max(w, h) * 2; t += 8)
            p.line(t, 0, t + std::max(w, h), std::max(w, h), 2.5, kInk);
    } else {
        p.fill_rect(0, 0, w, h, {0.20, 0.20, 0.21});
        p.text(tall ? "TO" : "GS", w / 2.0, h / 2.0, std::min(w, h) * 0.55, kInk, true, tall ? -kPi / 2 : 0.0);
    }
}

void draw_overlay(Painter& p, const BitmapRecord& record) {
    const int w = p.width(), h = p.height();
    switch (record.id) {
        case 2010:
        case 3110:
            p.text("ADF", w / 2.0, h * 0.72, 14, {1.0, 0.75, 0.2});
            break;
        case 2150:
        case 3140:
            p.text("VOR", w / 2.0, h * 0.72, 14, {0.4, 0.9, 0.4});
            break;
        case 2090:
        case 3150:
            // Deviation dots either side of the centre of the course needle.
            for (int i = -5; i <= 5; ++i)
                if (i != 0) p.stroke_circle(w / 2.0 + i * 12, h / 2.0, 3, 1.5, kInk);
            break;
        case 420:
            p.line(w / 2.0 - 13, 0, w / 2.0 - 13, h, 2, kInk);
            p.line(w / 2.0 + 13, 0, w / 2.0 + 13, h, 2, kInk);
            break;
        case 340: {
            // The fixed bank index at the top of the attitude dial.
            cairo_t* cr = p.cr();
            cairo_move_to(cr, w / 2.0, 16);
            cairo_line_to(cr, w / 2.0 - 7, 4);
            cairo_line_to(cr, w / 2.0 + 7, 4);
            cairo_close_path(cr);
            p.colour({1.0, 0.6, 0.1});
            cairo_fill(cr);
            break;
        }
        default:
            break;
    }
}

void draw_bars(Painter& p) {
    const int w = p.width(), h = p.height();
    const Colour orange{1.0, 0.55, 0.1};
    p.line(4, 3, w * 0.36, 3, 4, orange);
    p.line(w * 0.64, 3, w - 4, 3, 4, orange);
    p.fill_circle(w / 2.0, 3, 3, orange);
    p.line(w / 2.0, 6, w / 2.0, h * 0.75, 3, orange);
    p.rounded(w * 0.3, h * 0.75, w * 0.4, h * 0.25 - 1, 4);
    p.colour(kMetalDark);
    cairo_fill(p.cr());
}

}  // namespace

// ------------------------------------------------------------ ArtBook

ArtBook::ArtBook(GaugeHeader* const* gauges) {
    for (std::size_t i = 0; gauges != nullptr && gauges[i] != nullptr; ++i) {
        const GaugeHeader* gauge = gauges[i];
        if (gauge->elements == nullptr || gauge->elements[0] == nullptr) continue;
        const ElementHeader* root = gauge->elements[0];
        for_each_element(gauge, [&](const ElementHeader* e) {
            if (e->bitmap == kNoBitmap) return;
            uses_[e->bitmap].push_back({gauge, e, root});
        });
    }
}

const std::vector<BitmapUse>& ArtBook::uses(std::uint32_t id) const {
    static const std::vector<BitmapUse> none;
    const auto it = uses_.find(id);
    return it != uses_.end() ? it->second : none;
}

cairo_surface_t* ArtBook::draw(const BitmapRecord& record) const {
    Painter p(record.width, record.height);
    const std::vector<BitmapUse>& used = uses(record.id);
    switch (record.art) {
        case Art::Blank: break;
        case Art::Plate: draw_plate(p); break;
        case Art::Button: draw_button(p, record); break;
        case Art::Panel: draw_panel(p, record, used); break;
        case Art::Face: draw_face(p, record, used); break;
        case Art::Cover: draw_cover(p); break;
        case Art::Overlay: draw_overlay(p, record); break;
        case Art::Needle: draw_needle(p, used); break;
        case Art::Knob: draw_knob(p, used); break;
        case Art::Card: draw_card(p, record); break;
        case Art::Horizon: draw_horizon(p); break;
        case Art::Strip: draw_strip(p, record, used); break;
        case Art::Drum: draw_drum(p, record); break;
        case Art::Digit: draw_digit_cell(p, 0, record.height, record.variant); break;
        case Art::Window: draw_window(p, record); break;
        case Art::Lamp: draw_lamp(p, record, false); break;
        case Art::LampLit: draw_lamp(p, record, true); break;
        case Art::SwitchPlate: draw_switch_plate(p, record, used); break;
        case Art::Switch: draw_switch(p, record); break;
        case Art::Guard: draw_guard(p); break;
        case Art::Lever: draw_lever(p, record); break;
        case Art::Bars: draw_bars(p); break;
        case Art::Flag: draw_flag(p, record); break;
        case Art::Ball: {
            const double r = std::min(record.width, record.height) / 2.0 - 1;
            p.fill_circle(record.width / 2.0, record.height / 2.0, r, {0.12, 0.12, 0.12});
            p.fill_circle(record.width / 2.0 - r * 0.3, record.height / 2.0 - r * 0.3, r * 0.25, kMetalLight);
            break;
        }
        case Art::Unused: p.fill_rect(0, 0, record.width, record.height, kMetalDark); break;
    }
    return p.release();
}

}  // namespace ardelvine::tools
