// The panel-window buttons and the registration plate. A button is a small
// bevelled key with a pictogram of what it opens; the invisible button is a
// click spot laid over a panel's own art and draws nothing. The plate is a
// dark engraved placard, so the white text the plate carries by default reads.
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

constexpr Colour kKey{0.27, 0.28, 0.30};
constexpr Colour kKeyLight{0.55, 0.56, 0.58};
constexpr Colour kKeyShadow{0.12, 0.12, 0.13};
constexpr Colour kSymbol{0.93, 0.93, 0.88};
constexpr Colour kAmber{0.98, 0.72, 0.20};

// Pictograms are drawn in a 12 x 12 box; the key scales it onto its face.
using Pictogram = void (*)(cairo_t* cr);

void stroke(cairo_t* cr, double width, Colour c = kSymbol) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void fill(cairo_t* cr, Colour c = kSymbol) {
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
    cairo_fill(cr);
}

void close_cross(cairo_t* cr) {
    cairo_move_to(cr, 2.5, 2.5), cairo_line_to(cr, 9.5, 9.5);
    cairo_move_to(cr, 9.5, 2.5), cairo_line_to(cr, 2.5, 9.5);
    stroke(cr, 2.0);
}

// A radio set: a box with a frequency window and a knob.
void radio(cairo_t* cr) {
    cairo_rectangle(cr, 1, 3, 10, 7);
    stroke(cr, 1.2);
    cairo_rectangle(cr, 2.6, 4.8, 4.4, 2.2);
    fill(cr, kAmber);
    cairo_arc(cr, 8.8, 7.8, 1.2, 0, 2 * kPi);
    fill(cr);
    cairo_move_to(cr, 9, 3), cairo_line_to(cr, 11, 0.5);
    stroke(cr, 1.0);
}

// A runway seen on final: converging edges and the centre line.
void runway(cairo_t* cr) {
    cairo_move_to(cr, 4.5, 1.5), cairo_line_to(cr, 1, 11);
    cairo_move_to(cr, 7.5, 1.5), cairo_line_to(cr, 11, 11);
    stroke(cr, 1.3);
    for (double y : {2.5, 5.5, 8.5}) cairo_move_to(cr, 6, y), cairo_line_to(cr, 6, y + 1.6);
    stroke(cr, 1.0);
}

// A position fix: a ring with cross hairs.
void gps(cairo_t* cr) {
    cairo_arc(cr, 6, 6, 3.6, 0, 2 * kPi);
    stroke(cr, 1.3);
    cairo_move_to(cr, 6, 0.5), cairo_line_to(cr, 6, 3.5);
    cairo_move_to(cr, 6, 8.5), cairo_line_to(cr, 6, 11.5);
    cairo_move_to(cr, 0.5, 6), cairo_line_to(cr, 3.5, 6);
    cairo_move_to(cr, 8.5, 6), cairo_line_to(cr, 11.5, 6);
    stroke(cr, 1.2);
    cairo_arc(cr, 6, 6, 1.1, 0, 2 * kPi);
    fill(cr, kAmber);
}

// A throttle lever pushed forward over its quadrant, with its round knob.
void throttle(cairo_t* cr) {
    cairo_move_to(cr, 1.5, 11), cairo_curve_to(cr, 2.5, 7.5, 9.5, 7.5, 10.5, 11), cairo_close_path(cr);
    fill(cr, kKeyLight);
    cairo_move_to(cr, 6, 10), cairo_line_to(cr, 3.8, 3.6);
    stroke(cr, 1.6);
    cairo_arc(cr, 3.4, 2.6, 2.2, 0, 2 * kPi);
    fill(cr, kAmber);
}

// A compass rose: a ring and a needle whose north half is lit.
void compass(cairo_t* cr) {
    cairo_arc(cr, 6, 6, 5, 0, 2 * kPi);
    stroke(cr, 1.1);
    cairo_move_to(cr, 6, 1.8), cairo_line_to(cr, 7.6, 6), cairo_line_to(cr, 4.4, 6), cairo_close_path(cr);
    fill(cr, kAmber);
    cairo_move_to(cr, 6, 10.2), cairo_line_to(cr, 7.6, 6), cairo_line_to(cr, 4.4, 6), cairo_close_path(cr);
    fill(cr);
}

// A fuel drop.
void fuel(cairo_t* cr) {
    cairo_move_to(cr, 6, 0.8);
    cairo_curve_to(cr, 7.5, 3.5, 10, 5.8, 10, 8);
    cairo_arc(cr, 6, 8, 4, 0, kPi);
    cairo_curve_to(cr, 2, 5.8, 4.5, 3.5, 6, 0.8);
    cairo_close_path(cr);
    fill(cr, kAmber);
}

// A lightning bolt.
void electricity(cairo_t* cr) {
    cairo_move_to(cr, 7.5, 0.5), cairo_line_to(cr, 2.5, 7), cairo_line_to(cr, 5.8, 7);
    cairo_line_to(cr, 4.5, 11.5), cairo_line_to(cr, 9.5, 4.8), cairo_line_to(cr, 6.2, 4.8);
    cairo_close_path(cr);
    fill(cr, kAmber);
}

// A kneeboard: a page with its clip and lines of notes.
void kneeboard(cairo_t* cr) {
    cairo_rectangle(cr, 2, 1.5, 8, 10);
    fill(cr);
    cairo_rectangle(cr, 4, 0.5, 4, 2);
    fill(cr, kKeyLight);
    for (double y : {4.5, 6.5, 8.5}) cairo_move_to(cr, 3.5, y), cairo_line_to(cr, 8.5, y);
    stroke(cr, 0.9, kKeyShadow);
}

// A folded map with a route across it.
void map(cairo_t* cr) {
    cairo_move_to(cr, 0.5, 2), cairo_line_to(cr, 4, 0.8), cairo_line_to(cr, 8, 2), cairo_line_to(cr, 11.5, 0.8);
    cairo_line_to(cr, 11.5, 10), cairo_line_to(cr, 8, 11.2), cairo_line_to(cr, 4, 10), cairo_line_to(cr, 0.5, 11.2);
    cairo_close_path(cr);
    fill(cr);
    cairo_move_to(cr, 2, 9), cairo_line_to(cr, 5.5, 4.5), cairo_line_to(cr, 10, 3.5);
    stroke(cr, 1.2, kAmber);
}

// A controller's call: a speech bubble.
void atc(cairo_t* cr) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 6, 5, 5, 0, 2 * kPi);
    fill(cr);
    cairo_move_to(cr, 3, 8), cairo_line_to(cr, 1.5, 11.5), cairo_line_to(cr, 6, 9.5), cairo_close_path(cr);
    fill(cr);
    for (double x : {3.6, 6.0, 8.4}) cairo_arc(cr, x, 5, 0.8, 0, 2 * kPi), cairo_close_path(cr);
    fill(cr, kKeyShadow);
}

struct Face {
    std::string_view gauge;  // the gauge whose own face this is
    Pictogram pictogram;     // null: the button draws nothing at all
};

constexpr Face kFaces[] = {
    {"Invisible_Toggle", nullptr},  {"Close_Subpanel", close_cross}, {"Radios_Toggle", radio},
    {"Landing_View_Toggle", runway}, {"GPS_Toggle", gps},             {"Throttle_Toggle", throttle},
    {"Compass_Toggle", compass},     {"Fuel_Toggle", fuel},           {"Electricity_Toggle", electricity},
    {"Kneeboard_Toggle", kneeboard}, {"Map_Toggle", map},             {"ATC_Toggle", atc},
};

const Face* face_of(std::string_view gauge) {
    for (const Face& f : kFaces)
        if (f.gauge == gauge) return &f;
    return nullptr;
}

}  // namespace

void draw_window_button(Painter& p, const BitmapRecord& record, const Uses&) {
    const Face* face = face_of(record.gauge);
    if (face == nullptr) throw ArtError(bitmap_name(record) + ": a button without a pictogram");
    if (face->pictogram == nullptr) return;
    const double w = p.width(), h = p.height();
    cairo_t* cr = p.cr();
    // The key: a shadow under the bottom-right edge, a lit top-left edge.
    p.rounded(0.5, 0.5, w - 1, h - 1, 3);
    p.colour(kKeyShadow);
    cairo_fill(cr);
    p.rounded(0.5, 0.5, w - 2, h - 2, 3);
    p.colour(kKeyLight);
    cairo_fill(cr);
    p.rounded(1.5, 1.5, w - 3, h - 3, 2.5);
    p.colour(kKey);
    cairo_fill(cr);
    const double inset = w >= 16 ? 3.0 : 1.5;
    cairo_save(cr);
    cairo_translate(cr, inset, inset);
    cairo_scale(cr, (w - 2 * inset - 0.5) / 12.0, (h - 2 * inset - 0.5) / 12.0);
    face->pictogram(cr);
    cairo_restore(cr);
}

void draw_registration_plate(Painter& p, const BitmapRecord&, const Uses&) {
    const int w = p.width(), h = p.height();
    p.rounded(0.5, 0.5, w - 1, h - 1, 4);
    p.colour(kMetalLight);
    cairo_fill(p.cr());
    p.rounded(1.5, 1.5, w - 3, h - 3, 3);
    p.colour({0.10, 0.10, 0.11});
    cairo_fill(p.cr());
    p.rounded(3.5, 3.5, w - 7, h - 7, 2);
    p.colour(kMetal);
    cairo_set_line_width(p.cr(), 0.8);
    cairo_stroke(p.cr());
    p.screw(8, h / 2.0, 2.5);
    p.screw(w - 8, h / 2.0, 2.5);
}

}  // namespace ardelvine::tools::art
