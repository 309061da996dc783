// What every drawer of the art generator shares: the palette, a Cairo
// painter with the strokes the instruments are made of, angles measured the
// way the renderer turns needles, and walks over the module's records.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"
#include "resources/catalogue.h"
#include "tools/art.h"
#include "tools/art/layout.h"

namespace ardelvine::tools::art {

using resources::Art;
using resources::BitmapRecord;
using Uses = std::vector<BitmapUse>;

// Art the generator cannot draw from the module's records: the build stops
// with this message, which names the bitmap.
struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr double kPi = std::numbers::pi;

struct Colour {
    double r, g, b;
};

// Drawn colours stay clear of pure black, the transparent colour.
inline constexpr Colour kFace{0.11, 0.11, 0.12};
inline constexpr Colour kMetal{0.30, 0.31, 0.33};
inline constexpr Colour kMetalDark{0.18, 0.19, 0.20};
inline constexpr Colour kMetalLight{0.62, 0.63, 0.65};
inline constexpr Colour kInk{0.95, 0.95, 0.92};
inline constexpr Colour kDisplay{0.06, 0.06, 0.06};
inline constexpr Colour kMask{0.5, 0.5, 0.5};

// ------------------------------------------------------------ drawing helpers

class Painter {
public:
    // A picture of width x height bitmap pixels, drawn `scale` times finer:
    // drawers work in bitmap pixels whatever the scale.
    Painter(int width, int height, int scale = 1)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale)),
          cr_(cairo_create(surface_)),
          width_(width),
          height_(height),
          layout_(width, height) {
        cairo_scale(cr_, scale, scale);
        // Texts measured and placed the same at every scale.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_set_font_options(cr_, options);
        cairo_font_options_destroy(options);
    }
    // The picture stays the painter's until release() hands it over.
    ~Painter() {
        cairo_destroy(cr_);
        if (!released_) cairo_surface_destroy(surface_);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }
    Layout& layout() { return layout_; }
    // Texts set in the condensed face, for legends on narrow plates.
    void font_narrow(bool on) { family_ = on ? "Liberation Sans Narrow" : "Liberation Sans"; }
    cairo_surface_t* release() {
        cairo_surface_flush(surface_);
        released_ = true;
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
        place(s, x, y, size, c, bold, turn, false);
    }
    // Text starting at x, centred vertically on y.
    void text_left(std::string_view s, double x, double y, double size, Colour c, bool bold = true) {
        place(s, x, y, size, c, bold, 0.0, true);
    }
    // The width of a text's ink at a size.
    double text_width(std::string_view s, double size, bool bold = true) {
        cairo_text_extents_t e = extents(s, size, bold);
        return e.width;
    }
    // Text that fits a width: the size shrinks until it does.
    void text_fit(std::string_view s, double x, double y, double size, double max_width, Colour c) {
        while (size > 4 && text_width(s, size) > max_width) size -= 0.5;
        text(s, x, y, size, c);
    }
    // A scale mark: a line that texts keep clear of.
    void mark(double x0, double y0, double x1, double y1, double width, Colour c) {
        line(x0, y0, x1, y1, width, c);
        const double length = std::hypot(x1 - x0, y1 - y0);
        layout_.mark({(x0 + x1) / 2, (y0 + y1) / 2, length / 2, width / 2, std::atan2(y1 - y0, x1 - x0)});
    }
    void screw(double x, double y, double r) {
        fill_circle(x, y, r, kMetalLight);
        stroke_circle(x, y, r, 1.0, kMetalDark);
        line(x - r * 0.7, y - r * 0.7, x + r * 0.7, y + r * 0.7, std::max(1.0, r * 0.3), kMetalDark);
    }

private:
    cairo_text_extents_t extents(std::string_view s, double size, bool bold) {
        const std::string str(s);
        cairo_select_font_face(cr_, family_, CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, str.c_str(), &e);
        return e;
    }
    void place(std::string_view s, double x, double y, double size, Colour c, bool bold, double turn, bool left) {
        if (s.empty()) return;
        const std::string str(s);
        cairo_save(cr_);
        const cairo_text_extents_t e = extents(s, size, bold);
        cairo_text_extents_t capital;
        cairo_text_extents(cr_, "H", &capital);
        const double cx = left ? x + e.width / 2 : x;
        layout_.text(str, {cx, y, e.width / 2, e.height / 2, turn}, capital.height);
        cairo_translate(cr_, cx, y);
        cairo_rotate(cr_, turn);
        cairo_move_to(cr_, -e.width / 2 - e.x_bearing, -e.height / 2 - e.y_bearing);
        colour(c);
        cairo_show_text(cr_, str.c_str());
        cairo_restore(cr_);
    }

    cairo_surface_t* surface_;
    cairo_t* cr_;
    bool released_ = false;
    int width_, height_;
    Layout layout_;
    const char* family_ = "Liberation Sans";
};

// Direction in radians clockwise from 12 o'clock to screen offsets.
inline double dx_of(double angle) { return std::sin(angle); }
inline double dy_of(double angle) { return -std::cos(angle); }
inline double radians(double deg) { return deg * kPi / 180.0; }

// Angle (radians, clockwise from 12) from a pivot to a point.
inline double direction(double px, double py, double x, double y) { return std::atan2(x - px, py - y); }

// Clockwise turn from a to b, in [0, 2 pi).
inline double clockwise(double a, double b) {
    double d = std::fmod(b - a, 2 * kPi);
    if (d < 0) d += 2 * kPi;
    return d;
}

// A value as a dial writes it: whole numbers without decimals, else one.
std::string number(double v);

// A knob: a ridged disc with a pointer line from its centre along `angle`.
void knob(Painter& p, double cx, double cy, double r, double angle, double pointer_to);

// Headings round a card of radius r, north at 12 o'clock: a mark every 5
// degrees, a number every 30 turned with the card, N E S W.
void heading_ring(Painter& p, double cx, double cy, double r, Colour ink);

// Knobs under the arrow cursors of a gauge's mouse areas: each pair of
// decrease/increase halves is one knob.
void knobs_from_mouse(Painter& p, const GaugeHeader* gauge);

// Names and units written on faces and panels, by gauge.
struct Caption {
    std::string_view gauge;
    std::string_view top, bottom;
};
Caption caption_of(std::string_view gauge);

// ------------------------------------------------------------ records

template <typename T>
const T& as(const ElementHeader* e) {
    return *reinterpret_cast<const T*>(e);
}

inline const ElementHeader* next_element(const ElementHeader* e) {
    return e->children != nullptr ? e->children[0] : nullptr;
}

template <typename F>
void for_each_element(const GaugeHeader* gauge, F&& f) {
    if (gauge == nullptr || gauge->elements == nullptr) return;
    for (const ElementHeader* e = gauge->elements[0]; e != nullptr; e = next_element(e)) f(e);
}

inline Art art_of(std::uint32_t id) {
    const BitmapRecord* r = resources::find_bitmap(id);
    return r != nullptr ? r->art : Art::Unused;
}

// "bitmap 1234 (Airspeed)": how messages name a bitmap.
std::string bitmap_name(const BitmapRecord& record);

}  // namespace ardelvine::tools::art
