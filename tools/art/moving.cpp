// What moves over a face: needles and knobs turned about their pivot,
// cards and the horizon turned or shifted behind a window, heading strips and
// digit drums slid through theirs, flags, the reference bars and the ball.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {


struct Pivot {
    double x, y;
    bool known;
};

Pivot pivot_of(const Uses& uses, int h) {
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::NEEDLE || use.element->kind == ElementKind::SPRITE)
            return {double(use.element->offset_x), double(use.element->offset_y), true};
    return {h / 2.0, h / 2.0, false};
}

}  // namespace

void draw_needle(Painter& p, const BitmapRecord&, const Uses& uses) {
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
    cairo_line_to(cr, std::max(1.0, pivot.x - (tip - pivot.x) * 0.12), cy - half * 0.7);
    cairo_line_to(cr, std::max(1.0, pivot.x - (tip - pivot.x) * 0.12), cy + half * 0.7);
    cairo_line_to(cr, pivot.x + (tip - pivot.x) * 0.15, cy + half);
    cairo_close_path(cr);
    p.colour(kInk);
    cairo_fill(cr);
    const double hub = std::min({h / 2.0 - 0.5, 6.0, pivot.x + 0.0, double(w - pivot.x)});
    if (hub >= 2) {
        p.fill_circle(pivot.x, cy, hub, kMetal);
        p.fill_circle(pivot.x, cy, hub * 0.4, kMetalLight);
    }
}

void draw_knob(Painter& p, const BitmapRecord&, const Uses& uses) {
    const int w = p.width(), h = p.height();
    Pivot c = pivot_of(uses, h);
    if (!c.known) c = {std::min(w, h) / 2.0, h / 2.0, false};
    const double r = std::min({c.x, c.y, w - c.x, h - c.y}) - 1;
    knob(p, c.x, c.y, r, kPi / 2, w - c.x - 1);
}

// A heading card: the renderer turns it so the heading flown is at the top.
void draw_compass_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0;
    const double r = std::min(cx, cy) - 1;
    p.fill_circle(cx, cy, r, kFace);
    heading_ring(p, cx, cy, r, kInk);
}

// Barometric scale: the card turns 90 degrees per inch from 29.9 at rest,
// read at 3 o'clock.
void draw_baro_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    p.fill_circle(cx, cy, r, kFace);
    for (int k = 279; k <= 315; ++k) {
        const double a = radians(90.0 + (k / 10.0 - 29.9) * 90.0);
        const bool major = k % 2 == 0;
        p.mark(cx + (r - (major ? 10 : 6)) * dx_of(a), cy + (r - (major ? 10 : 6)) * dy_of(a), cx + r * dx_of(a),
               cy + r * dy_of(a), 1.5, kInk);
        if (major) {
            char text[8];
            std::snprintf(text, sizeof text, "%.1f", k / 10.0);
            const double rr = r - 26;
            p.text(text, cx + rr * dx_of(a), cy + rr * dy_of(a), 10, kInk, true, a - kPi / 2);
        }
    }
}

void draw_horizon(Painter& p, const BitmapRecord&, const Uses&) {
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
namespace {

const MovingImage* moving_of(const Uses& uses) {
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::MOVING_IMAGE) return &as<MovingImage>(use.element);
    return nullptr;
}

}  // namespace

void draw_strip(Painter& p, const BitmapRecord& record, const Uses& uses) {
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
            // A heading cut by the strip's end would show cut in the window.
            const double half = p.text_width(text, size) / 2;
            if (x - half >= 0 && x + half <= w) p.text(text, x, h * 0.38, size, kInk);
        } else if (heading % 10 == 0 && per_degree >= 2.0) {
            p.text(std::to_string(heading / 10), x, h * 0.4, size * 0.55, kInk, false);
        }
    }
}

namespace {

void digit_cell(Painter& p, double y, double cell_h, int digit) {
    const int w = p.width();
    p.fill_rect(0, y, w, cell_h, {0.13, 0.13, 0.13});
    p.text(std::to_string(digit), w / 2.0, y + cell_h / 2.0, std::min(cell_h * 0.8, w * 1.25), kInk);
}

}  // namespace

void draw_digit(Painter& p, const BitmapRecord& record, const Uses&) {
    digit_cell(p, 0, record.height, record.variant);
}

void draw_drum(Painter& p, const BitmapRecord& record, const Uses&) {
    const BitmapRecord* window = resources::find_bitmap(record.id + 1);
    const double cell = window != nullptr ? window->height : p.width() * 1.5;
    const int cells = static_cast<int>(std::lround(p.height() / cell));
    for (int k = 0; k < cells; ++k) digit_cell(p, k * cell, cell, k % 10);
}

// The mask through which a strip, drum or card shows: filled where the
// picture is visible, transparent elsewhere.
void draw_window(Painter& p, const BitmapRecord& record, const Uses&) {
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

void draw_flag(Painter& p, const BitmapRecord& record, const Uses&) {
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

void draw_bars(Painter& p, const BitmapRecord&, const Uses&) {
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

void draw_ball(Painter& p, const BitmapRecord&, const Uses&) {
    const double r = std::min(p.width(), p.height()) / 2.0 - 1;
    p.fill_circle(p.width() / 2.0, p.height() / 2.0, r, {0.12, 0.12, 0.12});
    p.fill_circle(p.width() / 2.0 - r * 0.3, p.height() / 2.0 - r * 0.3, r * 0.25, kMetalLight);
}

}  // namespace ardelvine::tools::art
