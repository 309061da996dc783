// The pictures of the horizons, the turn coordinator, the two compasses and
// the clock. Geometry comes from the gauges' records wherever they hold it:
// the horizon's centre, pitch scale and travel from its sprite, the ball's
// tube from its slider's scales, the compass headings from the strips'
// ranges, the hands' lengths from their pivots.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

constexpr Colour kSky{0.22, 0.50, 0.84};
constexpr Colour kGround{0.52, 0.33, 0.15};
constexpr Colour kOrange{1.0, 0.55, 0.10};
constexpr Colour kCase{0.14, 0.14, 0.15};
constexpr Colour kLuminous{0.92, 0.95, 0.80};

template <typename T>
const T* first_use(const Uses& uses, ElementKind kind) {
    for (const BitmapUse& use : uses)
        if (use.element->kind == kind) return &as<T>(use.element);
    return nullptr;
}

template <typename T>
const T* first_in_gauge(const Uses& uses, ElementKind kind) {
    const T* found = nullptr;
    for (const BitmapUse& use : uses)
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (found == nullptr && e->kind == kind) found = &as<T>(e);
        });
    return found;
}

void polygon(Painter& p, std::initializer_list<std::pair<double, double>> points, Colour c) {
    cairo_t* cr = p.cr();
    bool first = true;
    for (auto [x, y] : points) {
        if (first) cairo_move_to(cr, x, y);
        else cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_close_path(cr);
    p.colour(c);
    cairo_fill(cr);
}

// A ring between two radii.
void ring(Painter& p, double cx, double cy, double inner, double outer, Colour c) {
    cairo_t* cr = p.cr();
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, outer, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, inner, 2 * kPi, 0);
    p.colour(c);
    cairo_fill(cr);
}

// A case: a rounded square plate with a screw in each corner.
void instrument_case(Painter& p, double w, double h, double screw_inset) {
    p.rounded(1, 1, w - 2, h - 2, std::min(w, h) * 0.06);
    p.colour(kCase);
    cairo_fill(p.cr());
    const double s = std::max(3.0, std::min(w, h) * 0.022);
    for (auto [x, y] : {std::pair{screw_inset, screw_inset}, {w - screw_inset, screw_inset},
                        {screw_inset, h - screw_inset}, {w - screw_inset, h - screw_inset}})
        p.screw(x, y, s);
}

// A bezel ring with a thin bright inner edge.
void bezel(Painter& p, double cx, double cy, double inner, double outer) {
    ring(p, cx, cy, inner, outer, kMetal);
    p.stroke_circle(cx, cy, inner + 0.5, 1.2, kMetalLight);
    p.stroke_circle(cx, cy, outer - 0.5, 1.0, kMetalDark);
}

// ------------------------------------------------------------ horizons

// What the horizon's records say about its geometry, in gauge pixels.
struct Horizon {
    double cx = 125, cy = 122;  // the card's axle
    double per_degree = 1.3;    // card travel per degree of pitch on the gauge
    double texture_y = 1.0;     // the card's vertical squeeze
    double stop = 40;           // pitch at which the card stops
    double window = 92;         // radius of the round window
};

Horizon horizon_of(const Uses& uses) {
    Horizon h;
    const Sprite* card = first_in_gauge<Sprite>(uses, ElementKind::SPRITE);
    if (card == nullptr) return h;
    h.cx = card->header.offset_x;
    h.cy = card->header.offset_y;
    h.per_degree = std::abs(card->y.scale) > 0 ? std::abs(card->y.scale) : 1.3;
    h.texture_y = card->texture_y > 0 ? card->texture_y : 1.0;
    if (card->y_update != nullptr) {
        // Ask the gauge's own clamp where the card stops.
        Sprite probe = *card;
        probe.y.source.value = 1e6;
        h.stop = std::abs(probe.y_update(&probe.header));
    }
    const BitmapRecord* picture = resources::find_bitmap(card->header.bitmap);
    if (picture != nullptr) {
        // The window stays inside the card wherever it turns or slides.
        const double half_w = picture->width * std::abs(card->texture_x) / 2.0;
        const double half_h = picture->height * h.texture_y / 2.0 - h.stop * h.per_degree;
        h.window = std::floor(std::min(half_w, half_h)) - 2.0;
    }
    return h;
}

}  // namespace

// The dial the card shows through: a dark face, the bank scale's ring and
// the knob that sets the reference bars, all around the card's axle.
void draw_attitude_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Horizon h = horizon_of(uses);
    const double w = p.width(), ht = p.height();
    instrument_case(p, w, ht, 12);
    p.fill_circle(h.cx, h.cy, h.window + 26, kFace);
    // The bars' knob below the dial: left half lowers, right half raises.
    const double knob_y = h.cy + h.window + 40;
    knob(p, h.cx, knob_y, 19, 0.0, 14);
    p.text("-", h.cx - 30, knob_y, 14, kInk);
    p.text("+", h.cx + 30, knob_y, 14, kInk);
    for (const BitmapUse& use : uses) {
        if (use.element != use.background || use.gauge->elements == nullptr) continue;
        // The cage knob's recess, where the horizon has one.
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind != ElementKind::ICON) return;
            const BitmapRecord* icon = resources::find_bitmap(e->bitmap);
            if (icon == nullptr) return;
            const double r = std::min(icon->width, icon->height) / 2.0;
            p.fill_circle(e->x + r, e->y + r, r - 4, {0.08, 0.08, 0.09});
            // Its legend beside it in two lines, or above it, where clear.
            p.font_narrow(true);
            const double kx = e->x + r, ky = e->y + r, size = 9;
            const double hw = p.text_width("PULL TO", size) / 2 + 1, hh = size * 0.36 + 1;
            for (const auto& [x, y] : {std::pair{e->x - hw - 3, ky}, {kx, e->y - 2 * hh - 3}, {e->x - hw - 3, ky - r}}) {
                if (!p.layout().clear({x, y - hh - 0.5, hw, hh, 0.0}) || !p.layout().clear({x, y + hh + 0.5, hw, hh, 0.0}))
                    continue;
                p.text("PULL TO", x, y - hh - 0.5, size, kInk);
                p.text("CAGE", x, y + hh + 0.5, size, kInk);
                break;
            }
            p.font_narrow(false);
        });
    }
}

// Sky above, ground below, the horizon line between, and a pitch ladder whose
// rungs meet the reference bars at the pitch they are marked with.
void draw_horizon_card(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Horizon h = horizon_of(uses);
    const double w = p.width(), ht = p.height(), mid = ht / 2.0;
    // Card pixels per degree: the card is squeezed by its texture scale after
    // it has slid, so its marks are drawn that much further apart.
    const double per_degree = h.per_degree / h.texture_y;
    // Flat colours: the card is stored with a 256-colour table.
    p.fill_rect(0, 0, w, mid, kSky);
    p.fill_rect(0, mid, w, ht - mid, kGround);
    p.line(0, mid, w, mid, 3.0, kInk);

    // Nose-up rungs in the sky, nose-down rungs in the ground.
    for (int deg = 5; deg <= 90; deg += 5) {
        const bool ten = deg % 10 == 0;
        const double half = deg == 90 ? 8 : ten ? w * 0.17 : w * 0.08;
        for (int side : {-1, 1}) {
            const double y = mid + side * deg * per_degree;
            if (y < 6 || y > ht - 6) continue;
            p.line(w / 2 - half, y, w / 2 + half, y, ten ? 2.0 : 1.4, kInk);
            if (ten && deg < 90) {
                const std::string label = std::to_string(deg);
                p.text(label, w / 2 - half - 11, y, 11, kInk);
                p.text(label, w / 2 + half + 11, y, 11, kInk);
            }
        }
    }
    // Ground lines converging on the horizon, as an old card paints them.
    for (int k : {-2, -1, 1, 2})
        p.line(w / 2 + k * 14, mid + 2, w / 2 + k * 60, ht, 1.0, {0.42, 0.26, 0.11});
}

// The round window the card shows through.
void draw_horizon_window(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Horizon h = horizon_of(uses);
    const Sprite* card = first_in_gauge<Sprite>(uses, ElementKind::SPRITE);
    const double x = card != nullptr ? card->header.x : 0, y = card != nullptr ? card->header.y : 0;
    p.fill_circle(h.cx - x, h.cy - y, h.window, kMask);
}

// The sky pointer: a triangle at the far end from the pivot, pointing out at
// the bank scale; the rest of the bitmap is left open so the card shows.
void draw_bank_pointer(Painter& p, const BitmapRecord&, const Uses&) {
    const double h = p.height(), c = h / 2.0;
    polygon(p, {{0.5, c}, {16, 0.5}, {16, h - 0.5}}, kOrange);
    p.line(16, c, 22, c, 2.0, kOrange);
}

// Bank scale marks at 10, 20, 30, 60 and 90 degrees either side of the index
// at 12 o'clock, between the window and the bezel; luminous.
void draw_bank_scale(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Horizon h = horizon_of(uses);
    const double inner = h.window + 3, outer = h.window + 18;
    for (int deg : {-90, -60, -30, -20, -10, 10, 20, 30, 60, 90}) {
        const double a = radians(deg);
        const bool long_mark = deg % 30 == 0;
        const double r1 = long_mark ? outer : inner + 9;
        p.line(h.cx + inner * dx_of(a), h.cy + inner * dy_of(a), h.cx + r1 * dx_of(a), h.cy + r1 * dy_of(a),
               long_mark ? 3.0 : 2.0, kLuminous);
    }
    for (int deg : {-45, 45}) {
        const double a = radians(deg), r = inner + 5;
        polygon(p, {{h.cx + (r + 6) * dx_of(a), h.cy + (r + 6) * dy_of(a)},
                    {h.cx + r * dx_of(a - 0.05), h.cy + r * dy_of(a - 0.05)},
                    {h.cx + r * dx_of(a + 0.05), h.cy + r * dy_of(a + 0.05)}},
                kLuminous);
    }
    // The fixed index: a triangle pointing down at the sky pointer.
    polygon(p, {{h.cx, h.cy - inner + 1}, {h.cx - 8, h.cy - outer}, {h.cx + 8, h.cy - outer}}, kLuminous);
}

// The little aircraft: wings level with the card's axle and a stand below.
void draw_reference_bars(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    double cx = w / 2.0, wing = 3;
    const Horizon hz = horizon_of(uses);
    if (const Slider* bars = first_use<Slider>(uses, ElementKind::SLIDER)) {
        cx = hz.cx - bars->header.x;
        wing = std::max(3.0, hz.cy - bars->header.y);
    }
    p.line(4, wing, cx - 16, wing, 5, kOrange);
    p.line(cx + 16, wing, w - 4, wing, 5, kOrange);
    polygon(p, {{cx - 16, wing - 2.5}, {cx, wing + 7}, {cx + 16, wing - 2.5}, {cx + 16, wing + 2.5}, {cx, wing + 11},
                {cx - 16, wing + 2.5}},
            kOrange);
    p.fill_circle(cx, wing, 3, kInk);
    // The stand rises from the bottom of the case.
    polygon(p, {{cx - 2, wing + 10}, {cx + 2, wing + 10}, {cx + 9, h - 1}, {cx - 9, h - 1}}, kOrange);
}

// Bezel over the dial, leaving the face's knobs open.
void draw_attitude_cover(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Horizon h = horizon_of(uses);
    // The bezel stays inside the case, however near its edge the dial sits.
    const double outer = std::min(h.window + 30, std::min(h.cx, p.width() - h.cx) - 1);
    bezel(p, h.cx, h.cy, std::min(h.window + 20, outer - 6), outer);
    // Glass glint.
    cairo_t* cr = p.cr();
    cairo_new_sub_path(cr);
    cairo_arc(cr, h.cx, h.cy, h.window + 16, radians(200) - kPi / 2, radians(250) - kPi / 2);
    cairo_set_line_width(cr, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
    cairo_stroke(cr);
}

// The cage knob pushed in (0), on its way out (1), pulled and locked (2).
void draw_cage_knob(Painter& p, const BitmapRecord& record, const Uses&) {
    const double w = p.width(), h = p.height(), cx = w / 2, cy = h / 2;
    const int position = record.variant;
    const double r = 26 + 6 * position;
    if (position > 0) p.fill_circle(cx + 3, cy + 4, r, {0.05, 0.05, 0.06});  // shadow of a knob standing out
    knob(p, cx, cy, r, 0.0, 0.0);
    // Caged, a red band shows round the knob's face.
    if (position == 2) ring(p, cx, cy, r * 0.45, r * 0.62, {0.85, 0.12, 0.10});
}

namespace {

// ------------------------------------------------------------ turn coordinator

// The tube the ball runs in, from the ball's slider: the ball's centre at
// rest, and its rise per pixel of sideways travel squared.
struct Tube {
    double cx = 100, cy = 134.5, rise = 0.0025, half = 60, ball = 11;
};

Tube tube_of(const Uses& uses) {
    Tube t;
    const Slider* ball = first_in_gauge<Slider>(uses, ElementKind::SLIDER);
    if (ball == nullptr) return t;
    const BitmapRecord* picture = resources::find_bitmap(ball->header.bitmap);
    const double bw = picture != nullptr ? picture->width : 24, bh = picture != nullptr ? picture->height : 31;
    t.cx = ball->header.x + bw / 2;
    t.cy = ball->header.y + bh / 2;
    t.ball = std::min(bw, bh) / 2 - 1;
    // Sideways: slip x scale; up: slip squared x scale. The slip runs to 127.
    if (ball->x.scale != 0) t.rise = std::abs(ball->y.scale) / (ball->x.scale * ball->x.scale);
    t.half = 127 * std::abs(ball->x.scale) + t.ball + 3;
    return t;
}

void tube_path(Painter& p, const Tube& t, double offset) {
    cairo_t* cr = p.cr();
    for (double dx = -t.half; dx <= t.half; dx += 2) {
        const double y = t.cy - t.rise * dx * dx + offset;
        if (dx == -t.half) cairo_move_to(cr, t.cx + dx, y);
        else cairo_line_to(cr, t.cx + dx, y);
    }
}

}  // namespace

void draw_turn_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    instrument_case(p, w, h, 10);
    p.fill_circle(w / 2, h / 2, w / 2 - 10, kFace);
    // The turn needle's marks: centre and the two stops, from its table.
    if (const Needle* n = first_in_gauge<Needle>(uses, ElementKind::NEEDLE)) {
        const double px = n->header.x, py = n->header.y;
        const BitmapRecord* picture = resources::find_bitmap(n->header.bitmap);
        const double reach = picture != nullptr ? picture->width - n->header.offset_x : 100;
        auto mark_at = [&](double a, double width) {
            p.line(px + (reach - 6) * dx_of(a), py + (reach - 6) * dy_of(a), px + (reach + 8) * dx_of(a),
                   py + (reach + 8) * dy_of(a), width, kInk);
        };
        const double left = direction(px, py, n->table[1].x, n->table[1].y);
        const double right = direction(px, py, n->table[n->table_entries - 2].x, n->table[n->table_entries - 2].y);
        mark_at(left, 6);
        mark_at(right, 6);
        mark_at(0, 3);
        p.text("L", px + (reach - 18) * dx_of(left), py + (reach - 18) * dy_of(left), 14, kInk);
        p.text("R", px + (reach - 18) * dx_of(right), py + (reach - 18) * dy_of(right), 14, kInk);
        p.fill_circle(px, py, 9, kMetalDark);
    }
    // The ball's glass tube, curving up at both ends.
    const Tube t = tube_of(uses);
    cairo_t* cr = p.cr();
    tube_path(p, t, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2 * t.ball + 6);
    p.colour(kMetalLight);
    cairo_stroke(cr);
    tube_path(p, t, 0);
    cairo_set_line_width(cr, 2 * t.ball + 2);
    p.colour({0.80, 0.84, 0.78});
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    p.text("2 MIN", w * 0.3, h * 0.79, 11, kInk);
    p.text("TURN", w * 0.7, h * 0.79, 11, kInk);
}

// The ball: dark, with a highlight.
void draw_turn_ball(Painter& p, const BitmapRecord&, const Uses&) {
    const double w = p.width(), h = p.height(), r = std::min(w, h) / 2 - 1;
    p.fill_circle(w / 2, h / 2, r, {0.10, 0.10, 0.11});
    p.fill_circle(w / 2 - r * 0.35, h / 2 - r * 0.35, r * 0.28, kMetalLight);
}

// The clip over the middle of the tube: two lines the ball sits between.
void draw_tube_marks(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    double gap = 13;
    const Tube t = tube_of(uses);
    gap = t.ball + 2;
    p.line(w / 2 - gap, 1, w / 2 - gap, h - 1, 2.0, {0.08, 0.08, 0.09});
    p.line(w / 2 + gap, 1, w / 2 + gap, h - 1, 2.0, {0.08, 0.08, 0.09});
}

// The turn needle: a hub, a counterweight, and a pointer that starts clear of
// the tube so the ball stays in view.
void draw_turn_needle(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    double px = 22, cy = h / 2;
    if (const Needle* n = first_use<Needle>(uses, ElementKind::NEEDLE)) px = n->header.offset_x, cy = n->header.offset_y;
    const double gap = px + 46;
    polygon(p, {{w - 1, cy}, {gap + 12, cy - 4}, {gap, cy - 2.5}, {gap, cy + 2.5}, {gap + 12, cy + 4}}, kInk);
    p.line(1, cy, px, cy, 5, kMetal);
    p.fill_circle(px, cy, 7, kMetal);
    p.fill_circle(px, cy, 3, kMetalLight);
}

namespace {

// ------------------------------------------------------------ compasses

// A heading strip's window on its face: a recess with index marks above and
// below the window's centre, where the heading is read.
void strip_recess(Painter& p, const MovingImage& strip) {
    const BitmapRecord* window = resources::find_bitmap(strip.header.bitmap + 1);
    if (window == nullptr) return;
    const double x = strip.header.x, y = strip.header.y, w = window->width, h = window->height;
    p.rounded(x - 4, y - 4, w + 8, h + 8, 4);
    p.colour({0.06, 0.06, 0.07});
    cairo_fill(p.cr());
    const double cx = x + w / 2;
    const double mark = std::clamp(h * 0.25, 4.0, 9.0);
    if (y - 4 - mark > 0) polygon(p, {{cx, y - 3}, {cx - mark, y - 4 - mark}, {cx + mark, y - 4 - mark}}, kOrange);
    if (y + h + 4 + mark < p.height()) polygon(p, {{cx, y + h + 3}, {cx - mark, y + h + 4 + mark}, {cx + mark, y + h + 4 + mark}}, kOrange);
}

}  // namespace

void draw_gyro_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    instrument_case(p, w, h, 12);
    if (const MovingImage* strip = first_in_gauge<MovingImage>(uses, ElementKind::MOVING_IMAGE)) {
        strip_recess(p, *strip);
        p.text("DIRECTIONAL GYRO", w / 2, strip->header.y - 32, 13, kInk);
    }
    // The setting knob's seat and label.
    if (const Needle* knob_needle = first_in_gauge<Needle>(uses, ElementKind::NEEDLE)) {
        const double kx = knob_needle->header.x, ky = knob_needle->header.y;
        p.fill_circle(kx, ky, 44, {0.08, 0.08, 0.09});
        p.text("SET", kx, ky - 54, 11, kInk);
        p.text("-", kx - 52, ky, 16, kInk);
        p.text("+", kx + 52, ky, 16, kInk);
    }
}

void draw_whiskey_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    p.rounded(1, 1, w - 2, h - 2, 8);
    p.colour(kCase);
    cairo_fill(p.cr());
    if (const MovingImage* strip = first_in_gauge<MovingImage>(uses, ElementKind::MOVING_IMAGE)) {
        const BitmapRecord* window = resources::find_bitmap(strip->header.bitmap + 1);
        if (window != nullptr) {
            const double cx = strip->header.x + window->width / 2.0, y = strip->header.y;
            polygon(p, {{cx, y + 1}, {cx - 4, y - 6}, {cx + 4, y - 6}}, kOrange);
            // The lubber line below the card, with the card's little plate.
            p.line(cx, y + window->height, cx, y + window->height + 6, 2, kOrange);
            p.font_narrow(true);
            p.text("COMPASS", cx, h - 6, 9, kInk, false);
            p.font_narrow(false);
        }
    }
}

namespace {

// ------------------------------------------------------------ clock

struct Hand {
    double seconds_per_turn;
    double px, py;  // pivot in the bitmap
};

Hand hand_of(const Uses& uses) {
    Hand hand{3600, 12, 12};
    if (const Needle* n = first_use<Needle>(uses, ElementKind::NEEDLE)) {
        hand.px = n->header.offset_x, hand.py = n->header.offset_y;
        if (n->table_entries >= 2) {
            const double a0 = direction(n->header.x, n->header.y, n->table[0].x, n->table[0].y);
            const double a1 = direction(n->header.x, n->header.y, n->table[1].x, n->table[1].y);
            const double turn = clockwise(a0, a1);
            if (turn > 0) hand.seconds_per_turn = (n->table[1].value - n->table[0].value) * 2 * kPi / turn;
        }
    }
    return hand;
}

}  // namespace

void draw_clock_hand(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width();
    const Hand hand = hand_of(uses);
    const double px = hand.px, cy = hand.py, tip = w - 1;
    if (hand.seconds_per_turn <= 60.5) {
        // Second hand: a thin red needle with a counterweighted tail.
        const Colour red{0.90, 0.20, 0.15};
        const double tail = std::max(2.0, px - 18);
        p.line(tail, cy, tip, cy, 1.6, red);
        p.fill_circle(px - 11, cy, 4.5, red);
        p.fill_circle(px, cy, 3.5, red);
        return;
    }
    // Hour and minute hands: a lance, broader for the hour.
    const bool hour = hand.seconds_per_turn > 4000;
    const double half = hour ? 6.5 : 4.5;
    polygon(p, {{tip, cy}, {tip - (hour ? 22 : 26), cy - half}, {px + 8, cy - half * 0.45}, {px - 8, cy - 2},
                {px - 8, cy + 2}, {px + 8, cy + half * 0.45}, {tip - (hour ? 22 : 26), cy + half}},
            kLuminous);
    p.line(px + 14, cy, tip - (hour ? 26 : 30), cy, 1.4, {0.35, 0.36, 0.33});
    p.fill_circle(px, cy, 6, kMetal);
}

// A twelve-hour face centred on the hands' pivot.
void draw_clock_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    double cx = w / 2, cy = h / 2;
    if (const Needle* n = first_in_gauge<Needle>(uses, ElementKind::NEEDLE)) cx = n->header.x, cy = n->header.y;
    instrument_case(p, w, h, 14);
    const double r = std::min({cx, cy, w - cx, h - cy}) - 12;
    p.fill_circle(cx, cy, r, kFace);
    for (int minute = 0; minute < 60; ++minute) {
        const double a = radians(minute * 6.0);
        const bool hour = minute % 5 == 0;
        const double r0 = r - (hour ? 16 : 8);
        p.mark(cx + r0 * dx_of(a), cy + r0 * dy_of(a), cx + (r - 3) * dx_of(a), cy + (r - 3) * dy_of(a),
               hour ? 3.5 : 1.3, kInk);
        if (hour) {
            const int n = minute == 0 ? 12 : minute / 5;
            p.text(std::to_string(n), cx + (r - 34) * dx_of(a), cy + (r - 34) * dy_of(a), 24, kLuminous);
        }
    }
    p.text("WALTHAM", cx, cy - r * 0.45, 13, kInk);
    p.text("8 DAY", cx, cy + r * 0.47, 10, kInk, false);
}

void draw_clock_cover(Painter& p, const BitmapRecord&, const Uses& uses) {
    const double w = p.width(), h = p.height();
    double cx = w / 2, cy = h / 2;
    if (const Needle* n = first_in_gauge<Needle>(uses, ElementKind::NEEDLE)) cx = n->header.x, cy = n->header.y;
    const double r = std::min({cx, cy, w - cx, h - cy}) - 12;
    bezel(p, cx, cy, r - 2, r + 6);
    p.fill_circle(cx, cy, 5, kMetalLight);
    p.fill_circle(cx, cy, 2, kMetalDark);
}

// Bezel and the pivot's cap over the turn needle.
void draw_turn_cover(Painter& p, const BitmapRecord&, const Uses&) {
    const double w = p.width(), h = p.height();
    bezel(p, w / 2, h / 2, w / 2 - 12, w / 2 - 4);
}

}  // namespace ardelvine::tools::art
