#include "host/draw/elements.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "host/draw/fonts.h"
#include "host/draw/geometry.h"
#include "host/draw/turned.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

}  // namespace

std::string shown_text(const StringElement& e) {
    if (e.text == nullptr) return {};
    return std::string(e.text, strnlen(e.text, e.chars));
}

cairo_matrix_t needle_matrix(const ElementHeader& element, double angle_deg) {
    // The needle bitmap points along +x (3 o'clock, 90 degrees).
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, element.x, element.y);
    cairo_matrix_rotate(&m, (angle_deg - 90.0) * kDegree);
    cairo_matrix_translate(&m, -element.offset_x, -element.offset_y);
    return m;
}

cairo_matrix_t sprite_matrix(const Sprite& sprite, double dx, double dy, double rotation_deg, int picture_width,
                             int picture_height) {
    const double tx = sprite.texture_x != 0.0f ? sprite.texture_x : 1.0;
    const double ty = sprite.texture_y != 0.0f ? sprite.texture_y : 1.0;
    // A sprite's values count the simulator's way round: positive rotation
    // turns the picture counter-clockwise and positive y moves it up, both
    // along the picture's own axes once it has turned.
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, sprite.header.offset_x, sprite.header.offset_y);
    cairo_matrix_rotate(&m, -rotation_deg * kDegree);
    cairo_matrix_translate(&m, dx, -dy);
    cairo_matrix_scale(&m, tx, ty);
    cairo_matrix_translate(&m, -picture_width / 2.0, -picture_height / 2.0);
    return m;
}

cairo_matrix_t shifted(double x, double y) {
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, x, y);
    return m;
}

void set_colour(cairo_t* cr, std::uint32_t bgr, Tint tint, const Lighting& lighting) {
    const TintFactors f = tint_factors(tint, lighting.night_colour);
    cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0 * f.r, ((bgr >> 8) & 0xFF) / 255.0 * f.g,
                         ((bgr >> 16) & 0xFF) / 255.0 * f.b);
}

namespace {

cairo_filter_t filter_for(std::uint32_t flags) {
    return (flags & IMAGE_SMOOTH) != 0 ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST;
}

// Paints a bitmap placed on the gauge by `place` (bitmap pixels -> gauge pixels).
void paint_bitmap(cairo_t* cr, cairo_surface_t* bitmap, const cairo_matrix_t& place, std::uint32_t flags) {
    if (bitmap == nullptr || !usable(place)) return;
    cairo_save(cr);
    cairo_transform(cr, &place);
    if ((flags & IMAGE_TRANSPARENT) == 0) {
        cairo_rectangle(cr, 0, 0, drawn_width(bitmap), drawn_height(bitmap));
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_fill(cr);
    }
    // Painting an unrepeated source touches only its own extents, and unlike
    // filling a turned rectangle needs no coverage mask.
    cairo_set_source_surface(cr, bitmap, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), filter_for(flags));
    cairo_paint(cr);
    cairo_restore(cr);
}

void draw_static_image(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    paint_bitmap(d.cr, d.bitmap(e.bitmap, e), shifted(e.x, e.y), e.image_flags);
}

void draw_needle(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    cairo_surface_t* bitmap = d.bitmap(e.bitmap, e);
    const cairo_matrix_t place = needle_matrix(e, s.angle);
    if (bitmap == nullptr || !usable(place)) return;
    if (!paint_turned(d.cr, d.bitmaps.padded(bitmap), place, e.image_flags))
        paint_bitmap(d.cr, bitmap, place, e.image_flags);
}

void draw_icon(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    if (s.image < 0) return;
    paint_bitmap(d.cr, d.bitmap(e.bitmap + static_cast<std::uint32_t>(s.image), e), shifted(e.x, e.y), e.image_flags);
}

void draw_slider(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    cairo_surface_t* bitmap = d.bitmap(e.bitmap, e);
    const cairo_matrix_t place = shifted(e.x + s.dx, e.y + s.dy);
    if (bitmap == nullptr || !usable(place)) return;
    // Smoothed sliders slide every frame too (the reference bars over the
    // horizon card), so they are painted like needles.
    if (!paint_turned(d.cr, d.bitmaps.padded(bitmap), place, e.image_flags)) paint_bitmap(d.cr, bitmap, place, e.image_flags);
}

// Draws `picture` placed by `place`, seen only through the window bitmap
// (id + 1) at the element's position: its opaque pixels let the picture through.
void draw_through_window(const Drawing& d, const ElementHeader& e, cairo_surface_t* picture,
                         const cairo_matrix_t& place) {
    if (picture == nullptr || !usable(place)) return;
    cairo_surface_t* window = d.bitmaps.drawn(e.bitmap + 1, Tint::NONE);
    cairo_t* cr = d.cr;
    cairo_save(cr);
    if (window != nullptr && d.bitmaps.opaque(e.bitmap + 1)) {
        // A window open all over is just its rectangle.
        cairo_rectangle(cr, e.x, e.y, drawn_width(window), drawn_height(window));
        cairo_clip(cr);
        paint_bitmap(cr, picture, place, e.image_flags);
    } else if (window != nullptr) {
        cairo_rectangle(cr, e.x, e.y, drawn_width(window), drawn_height(window));
        cairo_clip(cr);
        if ((e.image_flags & IMAGE_TRANSPARENT) != 0) {
            // The picture itself is the source and the window its mask: one
            // pass, with no intermediate group to fill and blend.
            cairo_pattern_t* source = cairo_pattern_create_for_surface(picture);
            cairo_matrix_t inverse = place;
            cairo_matrix_invert(&inverse);
            cairo_pattern_set_matrix(source, &inverse);
            cairo_pattern_set_filter(source, filter_for(e.image_flags));
            cairo_set_source(cr, source);
            cairo_pattern_destroy(source);
        } else {
            cairo_push_group(cr);
            paint_bitmap(cr, picture, place, e.image_flags);
            cairo_pop_group_to_source(cr);
        }
        cairo_pattern_t* mask = cairo_pattern_create_for_surface(window);
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, -e.x, -e.y);
        cairo_pattern_set_matrix(mask, &m);
        cairo_pattern_set_filter(mask, filter_for(e.image_flags));
        cairo_mask(cr, mask);
        cairo_pattern_destroy(mask);
    } else {
        paint_bitmap(cr, picture, place, e.image_flags);
    }
    cairo_restore(cr);
}

void draw_moving_image(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    draw_through_window(d, e, d.bitmap(e.bitmap, e), shifted(e.x + s.dx, e.y + s.dy));
}

void draw_sprite(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    cairo_surface_t* picture = d.bitmap(e.bitmap, e);
    if (picture == nullptr) return;
    // The matrix centres the picture by its size in record coordinates.
    const cairo_matrix_t place =
        sprite_matrix(any(s).sprite, s.dx, s.dy, s.rotation, static_cast<int>(std::lround(drawn_width(picture))),
                      static_cast<int>(std::lround(drawn_height(picture))));
    // A card that turns every frame behind its window (the horizon) is
    // painted like a needle, through the window's pixels.
    cairo_surface_t* window = d.bitmaps.drawn(e.bitmap + 1, Tint::NONE);
    if (window != nullptr && usable(place)) {
        const cairo_matrix_t window_place = shifted(e.x, e.y);
        if (paint_turned(d.cr, d.bitmaps.padded(picture), place, e.image_flags, &d.bitmaps.openings(),
                         &d.bitmaps.padded(window), &window_place))
            return;
    }
    draw_through_window(d, e, picture, place);
}

const char* font_family(const StringElement& e) {
    return font_for_face(std::string(e.font, strnlen(e.font, kFontNameLength))).c_str();
}

void draw_string(const Drawing& d, const ElementState& s) {
    const StringElement& e = any(s).string;
    const Tint tint = element_tint(e.header.image_flags, d.lighting);
    const double bw = e.box_width, bh = e.box_height;
    cairo_t* cr = d.cr;
    cairo_save(cr);
    cairo_translate(cr, e.header.x, e.header.y);
    cairo_rectangle(cr, 0, 0, bw, bh);
    // A black background is the transparent colour.
    if ((e.header.image_flags & IMAGE_TRANSPARENT) == 0 || (e.background & 0xFFFFFF) != 0) {
        set_colour(cr, e.background, tint, d.lighting);
        cairo_fill_preserve(cr);
    }
    cairo_clip(cr);
    const std::string text = panel_text_utf8(shown_text(e));
    if (!text.empty() && bh > 0 && bw > 0) {
        cairo_select_font_face(cr, font_family(e), CAIRO_FONT_SLANT_NORMAL,
                               e.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        double size = bh * 0.8;
        cairo_set_font_size(cr, size);
        cairo_text_extents_t te;
        cairo_text_extents(cr, text.c_str(), &te);
        if (te.x_advance > bw) {
            size *= bw / te.x_advance;
            cairo_set_font_size(cr, size);
            cairo_text_extents(cr, text.c_str(), &te);
        }
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        double x = 0.0, y = fe.ascent;
        if ((e.draw_flags & TEXT_CENTRE) != 0) x = (bw - te.x_advance) / 2.0;
        else if ((e.draw_flags & TEXT_RIGHT) != 0) x = bw - te.x_advance;
        if ((e.draw_flags & TEXT_MIDDLE) != 0) y = (bh - (fe.ascent + fe.descent)) / 2.0 + fe.ascent;
        else if ((e.draw_flags & TEXT_BOTTOM) != 0) y = bh - fe.descent;
        set_colour(cr, e.foreground, tint, d.lighting);
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, text.c_str());
    }
    cairo_restore(cr);
}

}  // namespace

void draw_element(const Drawing& d, const ElementState& s) {
    if (!s.visible) return;
    switch (s.element->kind) {
        case ElementKind::STATIC_IMAGE: draw_static_image(d, s); break;
        case ElementKind::NEEDLE: draw_needle(d, s); break;
        case ElementKind::STRING: draw_string(d, s); break;
        case ElementKind::SLIDER: draw_slider(d, s); break;
        case ElementKind::ICON: draw_icon(d, s); break;
        case ElementKind::MOVING_IMAGE: draw_moving_image(d, s); break;
        case ElementKind::SPRITE: draw_sprite(d, s); break;
    }
}

}  // namespace ardelvine::hostapp
