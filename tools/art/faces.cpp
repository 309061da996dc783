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

// The marks and numbers of a needle's second turn round the dial.
constexpr Colour kSecondTurn{1.0, 0.72, 0.25};
// Units beside sub-dials: capitals 6.2 pixels high.
constexpr double kUnitSize = 9.0;

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
        auto same_point = [&](std::uint32_t i, std::uint32_t j) {
            return n.table[i].x == n.table[j].x && n.table[i].y == n.table[j].y;
        };
        std::uint32_t distinct = 1;
        for (std::uint32_t i = 1; i < count; ++i) distinct += same_point(i, i - 1) ? 0 : 1;
        const bool pinned = count >= 2 && same_point(count - 1, count - 2);
        if (distinct == 2 && !pinned) {
            continuous(n, px, py);
            return;
        }

        // The scale's arcs, one per stretch between two distinct points, in
        // the dial's units; a needle going round more than once starts a
        // second turn, marked apart.
        std::vector<Segment> segments;
        double turned = 0;
        for (std::uint32_t i = 0; i + 1 < count; ++i) {
            if (same_point(i, i + 1)) continue;
            Segment g;
            g.a0 = direction(px, py, n.table[i].x, n.table[i].y);
            g.sweep = clockwise(g.a0, direction(px, py, n.table[i + 1].x, n.table[i + 1].y));
            g.r0 = std::hypot(n.table[i].x - px, n.table[i].y - py);
            g.r1 = std::hypot(n.table[i + 1].x - px, n.table[i + 1].y - py);
            g.s0 = n.table[i].value * scale.factor + scale.offset;
            g.s1 = n.table[i + 1].value * scale.factor + scale.offset;
            g.turn = static_cast<int>((turned + 1e-6) / (2 * kPi));
            turned += g.sweep;
            if (g.s0 != g.s1) segments.push_back(g);
        }
        if (segments.empty()) return;
        const double rest = segments.front().a0;
        const BitmapRecord* picture = resources::find_bitmap(n.header.bitmap);
        const double reach = picture != nullptr ? picture->width - n.header.offset_x : dial_.r;
        sweeps_.push_back({px, py, reach, rest, std::min(turned, 2 * kPi)});
        const bool sub_dial = std::hypot(px - dial_.cx, py - dial_.cy) > dial_.r * 0.12;

        int turns = 0;
        for (const Segment& g : segments) turns = std::max(turns, g.turn + 1);
        for (int turn = 0; turn < turns; ++turn) {
            const Colour ink = turn == 0 ? kInk : kSecondTurn;
            double lo = 1e300, hi = -1e300, crowded = 1e300;
            for (const Segment& g : segments) {
                if (g.turn != turn) continue;
                lo = std::min({lo, g.s0, g.s1}), hi = std::max({hi, g.s0, g.s1});
                crowded = std::min(crowded, g.sweep * (g.r0 + g.r1) / 2 / std::abs(g.s1 - g.s0));
            }
            if (lo > hi) continue;
            // Even steps over the whole turn: the finest minor step at least
            // 4.5 pixels apart where the scale is most crowded, numbers at
            // multiples of the label step (coarser on a second turn).
            double step = scale.step > 0 ? scale.step : (hi - lo) / 10;
            while (step * crowded < 4.5) step = coarser(step);
            auto at = [&](double v, double& a, double& r) {
                for (const Segment& g : segments) {
                    if (g.turn != turn || v < std::min(g.s0, g.s1) - 1e-9 || v > std::max(g.s0, g.s1) + 1e-9) continue;
                    const double t = (v - g.s0) / (g.s1 - g.s0);
                    a = g.a0 + t * g.sweep, r = g.r0 + t * (g.r1 - g.r0);
                    return true;
                }
                return false;
            };
            double label_step = scale.label_step > 0 ? scale.label_step : hi - lo;
            if (turn > 0) label_step = coarser(label_step);
            while (!is_multiple(label_step, step)) step = coarser(step);
            // Where numbers a label step apart stand close, they are set
            // smaller and condensed.
            double r_mid = 0, arc = 0;
            for (const Segment& g : segments) {
                if (g.turn != turn) continue;
                r_mid = std::max(r_mid, (g.r0 + g.r1) / 2);
                arc += g.sweep * (g.r0 + g.r1) / 2;
            }
            const double spacing = label_step * arc / (hi - lo);
            const double size = std::clamp(std::min(number_size(r_mid), spacing * 0.5), 9.0, 18.0);
            const bool narrow = r_mid < dial_.r * 0.75 || spacing < 3.2 * size;
            std::vector<double> numbers;
            for (double v = std::ceil(lo / step - 1e-9) * step; v <= hi + 1e-9; v += step) {
                double a = 0, r = 0;
                if (!at(v, a, r)) continue;
                const bool major = is_multiple(v, label_step) || std::abs(v - lo) < 1e-9 || std::abs(v - hi) < 1e-9;
                const bool half = !major && is_multiple(v, label_step / 2);
                tick(px, py, a, r, major ? 10 : half ? 7 : 5, major ? 2.2 : 1.2, ink);
                if (major && is_multiple(v, label_step)) numbers.push_back(v);
            }
            if (sub_dial) ring(px, py, segments, turn, ink);
            if (sub_dial && turn == 0 && !scale.unit.empty())
                sub_dials_.push_back({px, py, reach, rest, std::min(turned, 2 * kPi), scale.unit});
            if (pinned && turn == turns - 1) stop(px, py, segments.back(), ink);
            if (!scale.labels) continue;
            // The numbers nearest zero first, so both halves of a centre-zero
            // dial keep the same ones; none under the needle at rest on a
            // second turn.
            // Rounder numbers first (multiples of coarser steps), so where the
            // scale is crowded it keeps the round ones.
            auto rank = [&](double v) {
                int k = 0;
                for (double m = label_step; k < 4 && is_multiple(v, m); m = coarser(m)) ++k;
                return k;
            };
            std::stable_sort(numbers.begin(), numbers.end(), [&](double a, double b) {
                if (rank(a) != rank(b)) return rank(a) > rank(b);
                return std::abs(a) < std::abs(b) - 1e-9;
            });
            for (double v : numbers) {
                double a = 0, r = 0;
                at(v, a, r);
                if (std::abs(std::remainder(a - rest, 2 * kPi)) < radians(12) && (turn > 0 || v != segments.front().s0))
                    continue;
                later_.push_back({px, py, a, r, number(scale.absolute ? std::abs(v) : v), ink, size, narrow});
            }
        }
    }

    // Numbers that only fill gaps between the table points'.
    void finish() {
        for (const Pending& l : later_) label(l.px, l.py, l.a, l.r, l.text, l.ink, 12, l.size, l.narrow);
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
        Colour ink;
        double size;
        bool narrow;
    };
    struct Segment {
        double a0, sweep, r0, r1, s0, s1;
        int turn;
    };

    // A thin arc along a sub-dial's marks, so its numbers read as a scale.
    void ring(double px, double py, const std::vector<Segment>& segments, int turn, Colour ink) {
        for (const Segment& g : segments) {
            if (g.turn != turn) continue;
            cairo_new_sub_path(p_.cr());
            const double r = fit(px, py, g.a0, (g.r0 + g.r1) / 2);
            cairo_arc(p_.cr(), px, py, r, g.a0 - kPi / 2, g.a0 + g.sweep - kPi / 2);
            p_.colour(ink);
            cairo_set_line_width(p_.cr(), 1.0);
            cairo_stroke(p_.cr());
        }
    }

    // The peg the needle rests against past the end of its scale.
    void stop(double px, double py, const Segment& last, Colour ink) {
        const double a = last.a0 + last.sweep + radians(5), r = fit(px, py, a, last.r1) - 4;
        p_.fill_circle(px + r * dx_of(a), py + r * dy_of(a), 2.5, ink);
        p_.layout().mark({px + r * dx_of(a), py + r * dy_of(a), 2.5, 2.5, 0.0});
    }

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

    void tick(double px, double py, double a, double r, double length, double width, Colour ink = kInk) {
        r = fit(px, py, a, r);
        ink_.push_back({px + (r - length / 2) * dx_of(a), py + (r - length / 2) * dy_of(a)});
        p_.mark(px + (r - length) * dx_of(a), py + (r - length) * dy_of(a), px + r * dx_of(a), py + r * dy_of(a),
                width, ink);
    }

    // A number just inside its mark, upright, where it clears every other
    // text, mark and hub; a number that cannot is left out.
    struct Placed {
        Box box;
        double size;
        bool narrow;
    };
    // Numbers as large as the dial allows, in the condensed face where the
    // scale is crowded or small.
    double number_size(double r) const { return std::clamp(std::min(dial_.r * 0.11, r * 0.3), 9.0, 18.0); }
    Placed label_box(double px, double py, double a, double r, const std::string& text, double clearance = 12,
                     double size = 0, bool narrow = false) {
        if (size <= 0) size = number_size(r), narrow = r < dial_.r * 0.75;
        p_.font_narrow(narrow);
        const double hw = p_.text_width(text, size) / 2 + 1.5, hh = size * 0.36 + 1;
        p_.font_narrow(false);
        const double inward = fit(px, py, a, r) - clearance - std::abs(hw * dx_of(a)) - std::abs(hh * dy_of(a));
        return {{px + inward * dx_of(a), py + inward * dy_of(a), hw, hh, 0.0}, size, narrow};
    }
    void label(double px, double py, double a, double r, const std::string& text, Colour ink = kInk,
               double clearance = 12, double size = 0, bool narrow = false) {
        const Placed l = label_box(px, py, a, r, text, clearance, size, narrow);
        if (!p_.layout().clear(l.box)) return;
        placed_.push_back({l.box.cx, l.box.cy});
        p_.font_narrow(l.narrow);
        p_.text(text, l.box.cx, l.box.cy, l.size, ink);
        p_.font_narrow(false);
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
        const double a0 = direction(px, py, n.table[0].x, n.table[0].y);
        // A hand that goes all round covers least where it rests.
        const BitmapRecord* picture = resources::find_bitmap(n.header.bitmap);
        const double reach = picture != nullptr ? picture->width - n.header.offset_x : dial_.r;
        sweeps_.push_back({px, py, reach, a0 - radians(20), radians(40)});
        for (const auto& [x, y] : rings_)
            if (x == px && y == py) return;
        rings_.push_back({px, py});
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
            label(px, py, a, r, std::to_string(clock ? (k == 0 ? 12 : k) : k), kInk, 14);
        }
    }

public:
    // The sectors the needles sweep, where no name or unit should sit.
    struct Sweep {
        double px, py, reach, a0, sweep;
        bool covers(double x, double y) const {
            return std::hypot(x - px, y - py) < reach + 3 && clockwise(a0, direction(px, py, x, y)) <= sweep;
        }
    };
    const std::vector<Sweep>& sweeps() const { return sweeps_; }
    // Sub-dials whose unit the face names beside them.
    struct SubDial {
        double px, py, reach, a0, sweep;
        std::string_view unit;
    };
    const std::vector<SubDial>& sub_dials() const { return sub_dials_; }

private:
    std::vector<Sweep> sweeps_;
    std::vector<SubDial> sub_dials_;
    Painter& p_;
    Dial dial_;
    std::vector<std::pair<double, double>> placed_, rings_, ink_;
    std::vector<Pending> later_;
};

// Whether a text box stays out of every needle's sweep (but that of the
// needle pivoted at `own`, if any).
bool out_of_sweeps(const FaceMarks& marks, const Box& b, const double* own = nullptr) {
    for (const FaceMarks::Sweep& sweep : marks.sweeps())
        for (double u : {-1.0, 0.0, 1.0})
            for (double v : {-1.0, 0.0, 1.0})
                if ((own == nullptr || sweep.px != own[0] || sweep.py != own[1]) &&
                    sweep.covers(b.cx + u * b.half_w, b.cy + v * b.half_h))
                    return false;
    return true;
}

// The gauge's name and unit, each at the first of a few heights where it
// clears the numbers, marks and hubs and no needle passes over it; then the
// unit of each sub-dial beside it, out of its needle's way.
void captions(Painter& p, std::string_view gauge, Dial dial, const FaceMarks& marks) {
    const Caption c = caption_of(gauge);
    const double size = std::clamp(dial.r * 0.09, 9.0, 14.0);
    auto fits = [&](const Box& b, bool strict) { return p.layout().clear(b) && (!strict || out_of_sweeps(marks, b)); };
    auto place = [&](std::string_view text, std::initializer_list<double> heights, bool bold) {
        if (text.empty()) return;
        const double hw = p.text_width(text, size, bold) / 2 + 1.5, hh = size * 0.36 + 1.5;
        for (bool strict : {true, false})
            for (double h : heights) {
                const Box b{dial.cx, dial.cy + h * dial.r, hw, hh, 0.0};
                if (!fits(b, strict)) continue;
                p.text(text, b.cx, b.cy, size, kInk, bold);
                return;
            }
    };
    place(c.top, {-0.32, -0.45, -0.2, 0.2, -0.25, -0.38, -0.58, 0.3, 0.42}, true);
    place(c.bottom, {0.36, 0.5, 0.24, 0.3, 0.42, 0.62, 0.7, -0.6}, false);
    p.font_narrow(true);
    for (const FaceMarks::SubDial& d : marks.sub_dials()) {
        const double hw = p.text_width(d.unit, kUnitSize) / 2 + 1.5, hh = kUnitSize * 0.36 + 1.5;
        // Inside its own scale, toward the middle of the arc, where its needle
        // passes over it only at mid-scale; else beside the sub-dial.
        const double own[2] = {d.px, d.py};
        bool done = false;
        for (double f : {0.5, 0.6, 0.4}) {
            for (double t : {0.5, 0.4, 0.6, 0.3, 0.7}) {
                const double a = d.a0 + d.sweep * t;
                const Box b{d.px + f * d.reach * dx_of(a), d.py + f * d.reach * dy_of(a), hw, hh, 0.0};
                if (done || !p.layout().clear(b) || !out_of_sweeps(marks, b, own)) continue;
                p.text(d.unit, b.cx, b.cy, kUnitSize, kInk);
                done = true;
            }
        }
        for (double f : {0.35, 0.5, 0.65})
            for (int k = 0; k < 24 && !done; ++k) {
                const double a = d.a0 + d.sweep + (2 * kPi - d.sweep) * (k + 0.5) / 24;
                const Box b{d.px + f * d.reach * dx_of(a), d.py + f * d.reach * dy_of(a), hw, hh, 0.0};
                if (!fits(b, true)) continue;
                p.text(d.unit, b.cx, b.cy, kUnitSize, kInk);
                done = true;
            }
    }
    p.font_narrow(false);
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

    for (const BitmapUse& use : uses)
        if (use.element == use.background) knobs_from_mouse(p, use.gauge);
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
