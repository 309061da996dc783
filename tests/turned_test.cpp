// The turned-picture painter against Cairo's own bilinear painting: a needle
// turned to any angle, bars slid by fractions of a pixel, a card turned
// behind a window open only in part, each at a scale that is not whole and
// painted in one go as well as band by band, as a redrawn box paints it.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "host/draw/cairo_handles.h"
#include "host/draw/turned.h"
#include "model/records.h"
#include "tests/pictures.h"

using namespace ardelvine;
using namespace ardelvine::hostapp;

namespace {

constexpr std::uint32_t kSmooth = IMAGE_TRANSPARENT | IMAGE_SMOOTH;
constexpr int kFace = 40;  // the gauge's pixels each way

// The bitmap pixel (ox, oy) put on (x, y), turned clockwise by `degrees`
// and then scaled by (sx, sy) about that point.
cairo_matrix_t placed(double x, double y, double degrees, double ox, double oy, double sx = 1, double sy = 1) {
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, x, y);
    cairo_matrix_rotate(&m, degrees * std::numbers::pi / 180.0);
    cairo_matrix_scale(&m, sx, sy);
    cairo_matrix_translate(&m, -ox, -oy);
    return m;
}

// A grey face at `scale`, as a gauge's under layer holds it, ready for the
// moving part; the context maps gauge pixels.
Context face_at(cairo_surface_t* target, double scale) {
    Context cr = new_context(target);
    cairo_set_source_rgb(cr.get(), 0.5, 0.5, 0.5);
    cairo_paint(cr.get());
    cairo_scale(cr.get(), scale, scale);
    return cr;
}

struct Placed {
    cairo_surface_t* picture;
    cairo_matrix_t place;              // picture pixels -> gauge pixels
    cairo_surface_t* window = nullptr;  // seen through it when set
    cairo_matrix_t window_place{};
};

// Paints `p` with the painter over the face, the target clipped to bands of
// `band` rows in turn (the whole picture at once when 0).
Surface painted(const Placed& p, double scale, int band) {
    const int size = static_cast<int>(std::lround(kFace * scale));
    Surface target = new_image(size, size);
    face_at(target.get(), scale);
    const Padded pad = pad_bitmap(p.picture);
    const Padded window = p.window != nullptr ? pad_bitmap(p.window) : Padded{};
    std::vector<Opening> openings;
    for (int y0 = 0; y0 < size; y0 += band > 0 ? band : size) {
        Context cr = new_context(target.get());
        cairo_rectangle(cr.get(), 0, y0, size, band > 0 ? band : size);
        cairo_clip(cr.get());
        cairo_scale(cr.get(), scale, scale);
        const bool took = p.window != nullptr
                              ? paint_turned(cr.get(), pad, p.place, kSmooth, &openings, &window, &p.window_place)
                              : paint_turned(cr.get(), pad, p.place, kSmooth);
        EXPECT_TRUE(took);
    }
    return target;
}

// The same painted by Cairo: bilinear, masked by the window's alpha.
Surface painted_by_cairo(const Placed& p, double scale) {
    const int size = static_cast<int>(std::lround(kFace * scale));
    Surface target = new_image(size, size);
    Context cr = face_at(target.get(), scale);
    if (p.window != nullptr) cairo_push_group(cr.get());
    cairo_save(cr.get());
    cairo_transform(cr.get(), &p.place);
    cairo_set_source_surface(cr.get(), p.picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr.get());
    cairo_restore(cr.get());
    if (p.window != nullptr) {
        cairo_pop_group_to_source(cr.get());
        cairo_transform(cr.get(), &p.window_place);
        cairo_mask_surface(cr.get(), p.window, 0, 0);
    }
    return target;
}

// Paints `p` both ways and compares: within a few steps of a channel of
// Cairo's rounding everywhere, over at least `inked` pixels that are not the
// face, and exactly the same whichever band a pixel was painted in.
void expect_as_cairo_paints(const Placed& p, double scale, int inked, const std::string& what) {
    const Surface whole = painted(p, scale, 0), banded = painted(p, scale, 7), cairo = painted_by_cairo(p, scale);
    const int size = cairo_image_surface_get_width(whole.get());
    int worst = 0, seen = 0, differing = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::uint32_t a = pixel(whole.get(), x, y), b = pixel(cairo.get(), x, y);
            seen += b != kGrey;
            differing += a != pixel(banded.get(), x, y);
            for (int shift = 0; shift < 32; shift += 8)
                worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        }
    EXPECT_LE(worst, 6) << what;
    EXPECT_GT(seen, inked) << what;
    EXPECT_EQ(differing, 0) << what << ": pixels that depend on the band painted";
}

TEST(TurnedPainter, NeedleTurnedToAnyAngleMatchesCairosBilinearPainting) {
    Surface pointer = new_image(24, 6);
    {
        Context cr = new_context(pointer.get());
        cairo_move_to(cr.get(), 0, 1), cairo_line_to(cr.get(), 24, 3), cairo_line_to(cr.get(), 0, 5);  // a tapering bar
        cairo_set_source_rgba(cr.get(), 1.0, 0.9, 0.2, 0.9);
        cairo_fill(cr.get());
    }
    for (double angle : {0.0, 37.0, 90.0, 200.5, 311.25})
        expect_as_cairo_paints({pointer.get(), placed(20, 21, angle, 3, 3)}, 1.7, 40,
                               std::to_string(angle) + " degrees");
}

// The horizon's reference bars slide by fractions of a pixel as well as whole ones.
TEST(TurnedPainter, SlidBarsMatchCairosBilinearPainting) {
    cairo_surface_t* bars = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 7);
    paint_rect(bars, 0, 2, 8, 2, 1.0, 0.6, 0.1);
    paint_rect(bars, 12, 2, 8, 2, 1.0, 0.6, 0.1);
    paint_rect(bars, 9, 1, 2, 5, 1.0, 1.0, 1.0);
    const std::pair<double, double> offsets[] = {{0, 0}, {0, -2.6}, {3.25, 1.5}, {-1.5, 7.9}};
    for (const auto& [dx, dy] : offsets)
        expect_as_cairo_paints({bars, placed(10 + dx, 16 + dy, 0, 0, 0)}, 1.45, 100,
                               std::to_string(dx) + ", " + std::to_string(dy));
    cairo_surface_destroy(bars);
}

// A card behind a round window (the horizon's), and behind a ring whose rows
// each open twice with a closed middle between, its edges soft.
TEST(TurnedPainter, CardTurnedBehindAWindowMatchesCairosMaskedPainting) {
    cairo_surface_t* card = solid(24, 40, 0.2, 0.5, 0.9);  // sky over ground, a white horizon line
    paint_rect(card, 0, 20, 24, 20, 0.55, 0.35, 0.15);
    paint_rect(card, 0, 19, 24, 2, 1, 1, 1);
    for (const bool ring : {false, true}) {
        Surface window = new_image(30, 30);
        {
            Context cr = new_context(window.get());
            cairo_arc(cr.get(), 15, 15, 12, 0, 2 * std::numbers::pi);
            if (ring) {
                cairo_new_sub_path(cr.get());
                cairo_arc_negative(cr.get(), 15, 15, 5.5, 2 * std::numbers::pi, 0);
            }
            cairo_set_source_rgba(cr.get(), 1, 1, 1, ring ? 0.8 : 1.0);
            cairo_fill(cr.get());
        }
        const std::pair<double, double> poses[] = {{0, 0}, {-30, 4}, {90, -6}, {211.5, 2.5}};  // turned, slid
        for (const auto& [degrees, shift] : poses) {
            // Turned about the card's middle at (20, 19), slid along its own
            // axis, squeezed to 0.9 of its height.
            cairo_matrix_t place = placed(20, 19, degrees, 0, 0);
            cairo_matrix_translate(&place, 0, shift);
            cairo_matrix_scale(&place, 1.0, 0.9);
            cairo_matrix_translate(&place, -12, -20);
            expect_as_cairo_paints({card, place, window.get(), placed(5, 4, 0, 0, 0)}, 1.3, 500,
                                   std::to_string(degrees) + " degrees, " + std::to_string(shift) +
                                       (ring ? ", ring" : ""));
        }
    }
    cairo_surface_destroy(card);
}

}  // namespace
