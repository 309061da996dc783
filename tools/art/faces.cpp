// Dial faces and what is fixed over them: the marks and numbers read off
// the tables of the needles that turn over a face, the gauge's name and
// unit, the glass and bezel, and mode overlays.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/art/drawers.h"
#include "tools/art/scales.h"

namespace ardelvine::tools::art {

namespace {

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

    void needle(const Needle& n, const BitmapRecord& face) {
        if (n.table == nullptr || n.table_entries == 0) return;
        const Scale* found = scale_of(n.source.token);
        if (found == nullptr)
            throw ArtError(bitmap_name(face) + ": a needle over this face reads token " +
                           std::to_string(n.source.token) +
                           ", which has no scale; add its units to tools/art/scales.cpp");
        const Scale& scale = *found;
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
        p_.mark(px + (r - length) * dx_of(a), py + (r - length) * dy_of(a), px + r * dx_of(a), py + r * dy_of(a),
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

}  // namespace

void draw_face(Painter& p, const BitmapRecord& record, const Uses& uses) {
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
    p.layout().face_circle(dial.cx, dial.cy, dial.r);

    FaceMarks marks(p, dial);
    bool any = false;
    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::NEEDLE && art_of(e->bitmap) == Art::Needle) {
                marks.needle(as<Needle>(e), record);
                any = true;
            }
        });
        knobs_from_mouse(p, use.gauge);
    }
    if (!any) marks.generic();
    marks.finish();
    captions(p, record.gauge, dial, marks);
}

void draw_cover(Painter& p, const BitmapRecord&, const Uses&) {
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

void draw_overlay(Painter& p, const BitmapRecord& record, const Uses&) {
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

}  // namespace ardelvine::tools::art
