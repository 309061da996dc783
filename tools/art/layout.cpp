#include "tools/art/layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace ardelvine::tools::art {

namespace {

struct Point {
    double x, y;
};

std::array<Point, 4> corners(const Box& b, double margin) {
    const double c = std::cos(b.turn), s = std::sin(b.turn);
    const double hw = b.half_w + margin, hh = b.half_h + margin;
    std::array<Point, 4> out{};
    const double signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i) {
        const double x = signs[i][0] * hw, y = signs[i][1] * hh;
        out[i] = {b.cx + x * c - y * s, b.cy + x * s + y * c};
    }
    return out;
}

// Distance from a point to the nearest point of a box (0 inside).
double distance(const Box& b, double x, double y) {
    const double c = std::cos(b.turn), s = std::sin(b.turn);
    const double dx = x - b.cx, dy = y - b.cy;
    const double u = dx * c + dy * s, v = -dx * s + dy * c;
    const double ou = std::max(0.0, std::abs(u) - b.half_w), ov = std::max(0.0, std::abs(v) - b.half_h);
    return std::hypot(ou, ov);
}

template <typename P>
bool hides(const P& pic, const Box& b) {
    const int h = pic.w > 0 ? int(pic.opaque.size()) / pic.w : 0;
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const Point& p : corners(b, 0.0))
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    for (int y = std::max(0, int(std::floor(y0)) - pic.y); y < std::min(h, int(std::ceil(y1)) - pic.y); ++y)
        for (int x = std::max(0, int(std::floor(x0)) - pic.x); x < std::min(pic.w, int(std::ceil(x1)) - pic.x); ++x)
            if (pic.opaque[std::size_t(y) * pic.w + x] && distance(b, pic.x + x + 0.5, pic.y + y + 0.5) == 0.0)
                return true;
    return false;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

std::string at(const Box& b) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, " at (%.0f, %.0f)", b.cx, b.cy);
    return buffer;
}

}  // namespace

Box box_of(double x, double y, double w, double h) { return {x + w / 2, y + h / 2, w / 2, h / 2, 0.0}; }

bool overlap(const Box& a, const Box& b, double margin) {
    // Separating axes: the two axes of each box.
    const auto ca = corners(a, margin), cb = corners(b, margin);
    for (const Box* box : {&a, &b}) {
        for (const double turn : {box->turn, box->turn + 1.5707963267948966}) {
            const double ax = std::cos(turn), ay = std::sin(turn);
            double a_lo = 1e300, a_hi = -1e300, b_lo = 1e300, b_hi = -1e300;
            for (const Point& p : ca) a_lo = std::min(a_lo, p.x * ax + p.y * ay), a_hi = std::max(a_hi, p.x * ax + p.y * ay);
            for (const Point& p : cb) b_lo = std::min(b_lo, p.x * ax + p.y * ay), b_hi = std::max(b_hi, p.x * ax + p.y * ay);
            if (a_hi <= b_lo || b_hi <= a_lo) return false;
        }
    }
    return true;
}

void Layout::face_circle(double cx, double cy, double r) {
    round_ = true;
    face_ = {cx, cy, r};
}

void Layout::text(std::string s, Box box, double cap_height) { texts_.push_back({std::move(s), box, cap_height}); }

double Layout::smallest_capital() const {
    double smallest = 0;
    for (const Text& t : texts_) smallest = smallest == 0 ? t.cap : std::min(smallest, t.cap);
    return smallest;
}

bool Layout::clear(const Box& box) const {
    for (const Text& t : texts_)
        if (overlap(box, t.box, 0.5)) return false;
    for (const Box& m : marks_)
        if (overlap(box, m, 0.5)) return false;
    for (const Cover& c : covers_)
        if (overlap(box, c.box, 0.0)) return false;
    for (const Circle& c : circles_)
        if (distance(box, c.cx, c.cy) < c.r) return false;
    for (const Picture& pic : pictures_)
        if (hides(pic, box)) return false;
    for (const Point& p : corners(box, 0.0)) {
        if (round_ && std::hypot(p.x - face_.cx, p.y - face_.cy) > face_.r) return false;
        if (!round_ && (p.x < 0 || p.y < 0 || p.x > width_ || p.y > height_)) return false;
    }
    return true;
}

std::vector<std::string> Layout::problems() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const Text& t = texts_[i];
        const std::string name = quoted(t.s);
        if (textless_) {
            out.push_back(name + " is written on a bitmap too small for any legend");
            continue;
        }
        if (t.cap < kMinCapHeight - 1e-6) {
            char buffer[96];
            std::snprintf(buffer, sizeof buffer, " is %.1f px high; a legend needs %.0f", t.cap, kMinCapHeight);
            out.push_back(name + buffer);
        }
        for (std::size_t j = i + 1; j < texts_.size(); ++j)
            if (overlap(t.box, texts_[j].box, 0.5)) out.push_back(name + " overlaps " + quoted(texts_[j].s) + at(t.box));
        for (const Box& m : marks_)
            if (overlap(t.box, m, 0.5)) {
                out.push_back(name + " touches a scale mark" + at(m));
                break;
            }
        bool inside = true;
        for (const Point& p : corners(t.box, 0.0)) {
            if (round_) inside = inside && std::hypot(p.x - face_.cx, p.y - face_.cy) <= face_.r;
            else inside = inside && p.x >= 0 && p.y >= 0 && p.x <= width_ && p.y <= height_;
        }
        if (!inside) out.push_back(name + " leaves its face" + at(t.box));
        for (const Cover& c : covers_)
            if (overlap(t.box, c.box, 0.0)) out.push_back(name + " runs under " + c.what + at(c.box));
        for (const Picture& pic : pictures_)
            if (hides(pic, t.box)) out.push_back(name + " runs under " + pic.what + at(t.box));
        for (const Circle& c : circles_)
            if (distance(t.box, c.cx, c.cy) < c.r) out.push_back(name + " runs under " + c.what + at({c.cx, c.cy, 0, 0}));
    }
    return out;
}

}  // namespace ardelvine::tools::art
