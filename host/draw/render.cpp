#include "host/draw/render.h"

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numbers>
#include <tuple>
#include <unordered_map>

#include "host/draw/bitmaps.h"
#include "host/draw/cairo_handles.h"
#include "host/draw/fonts.h"
#include "host/load/error.h"
#include "host/load/mouse_areas.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Text-drawing flag bits of a STRING element.
constexpr std::uint32_t kTextCentre = 0x1;
constexpr std::uint32_t kTextRight = 0x2;
constexpr std::uint32_t kTextMiddle = 0x4;
constexpr std::uint32_t kTextBottom = 0x8;

// The image-flag bits that change how an element looks.
constexpr std::uint32_t kLookFlags = IMAGE_TRANSPARENT | IMAGE_BRIGHT | IMAGE_SMOOTH | IMAGE_LIT;

int width_of(cairo_surface_t* s) { return s != nullptr ? cairo_image_surface_get_width(s) : 0; }
int height_of(cairo_surface_t* s) { return s != nullptr ? cairo_image_surface_get_height(s) : 0; }

const AnyElement& any(const ElementState& s) { return *reinterpret_cast<const AnyElement*>(s.element); }

std::string shown_text(const StringElement& e) {
    if (e.text == nullptr) return {};
    return std::string(e.text, strnlen(e.text, e.chars));
}

// Everything about an element that its picture depends on.
struct ElementKey {
    bool visible = false;
    std::uint32_t bitmap = 0;
    std::uint32_t flags = 0;
    int image = 0;
    double angle = 0, dx = 0, dy = 0, rotation = 0;
    std::string text;
    bool operator==(const ElementKey&) const = default;
};

ElementKey key_of(const ElementState& s) {
    ElementKey k{s.visible, s.element->bitmap, s.element->image_flags & kLookFlags, 0, 0, 0, 0, 0, {}};
    if (!s.visible) return k;
    switch (s.element->kind) {
        case ElementKind::STATIC_IMAGE: break;
        case ElementKind::NEEDLE: k.angle = s.angle; break;
        case ElementKind::STRING: k.text = shown_text(any(s).string); break;
        case ElementKind::ICON: k.image = s.image; break;
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE:
            k.dx = s.dx, k.dy = s.dy;
            break;
        case ElementKind::SPRITE:
            k.dx = s.dx, k.dy = s.dy, k.rotation = s.rotation;
            break;
    }
    return k;
}

// Whether an element still looks as its key says.
bool same_look(const ElementKey& k, const ElementState& s) {
    if (k.visible != s.visible || k.bitmap != s.element->bitmap || k.flags != (s.element->image_flags & kLookFlags))
        return false;
    if (!s.visible) return true;
    switch (s.element->kind) {
        case ElementKind::STATIC_IMAGE: return true;
        case ElementKind::NEEDLE: return k.angle == s.angle;
        case ElementKind::STRING: {
            const StringElement& e = any(s).string;
            const std::size_t n = e.text == nullptr ? 0 : strnlen(e.text, e.chars);
            return k.text.size() == n && (n == 0 || std::memcmp(k.text.data(), e.text, n) == 0);
        }
        case ElementKind::ICON: return k.image == s.image;
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE: return k.dx == s.dx && k.dy == s.dy;
        case ElementKind::SPRITE: return k.dx == s.dx && k.dy == s.dy && k.rotation == s.rotation;
    }
    return false;
}

// One gauge as the window picture holds it.
struct GaugePicture {
    const Placement* placement = nullptr;
    std::vector<ElementKey> keys;
    // Static images below the first moving element and above the last one,
    // pre-drawn at the gauge's pixel rectangle; null when there are none.
    Surface under, over;
    // The whole gauge as it looks now (under layer, moving elements, over
    // layer): what the window picture is made of. A frame redraws only the
    // parts of it that changed.
    Surface picture;
    std::size_t live_begin = 0, live_end = 0;
    double x = 0, y = 0, sx = 1, sy = 1;  // gauge pixels -> picture pixels
    int px = 0, py = 0, pw = 0, ph = 0;   // the picture pixels it covers
    // No earlier gauge shares its rectangle, so its under layer carries the
    // window background and is copied, not blended.
    bool backdrop = false;
    bool drawn = false;
};

// Marks a 2x2 block of a bitmap whose four pixels differ or are partly
// transparent; 0 is a transparent one.
constexpr std::uint8_t kMixedBlock = 255;

// A bitmap's premultiplied pixels inside a one-pixel transparent border.
struct Padded {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    // Per pixel, the 2x2 block whose top left corner it is: when all four
    // are the same opaque colour, that colour's place in `colours`, 0 when
    // all are transparent, else kMixedBlock. A bilinear sample inside such
    // a block is that colour, so the wide plain areas of a card cost one
    // byte read instead of four pixels (a byte each keeps the card's map
    // small enough to stay in the processor's nearest cache).
    std::vector<std::uint8_t> blocks;
    std::vector<std::uint32_t> colours;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the bitmap pixels that are not transparent, ends exclusive
};

// How much of each target pixel a window bitmap placed without turning lets
// through, 0 to 128, worked out once per placement: the window stays put
// while the card behind it turns.
struct Opening {
    const Padded* window = nullptr;
    cairo_matrix_t to_window{};  // target pixel -> window pixel
    int y0 = 0;
    struct Row {
        int x0 = 0, x1 = 0;        // pixels the window reaches at all
        int open0 = 0, open1 = 0;  // a run of them it lets through whole
        std::size_t at = 0;        // where the row's values start in `cover`
    };
    std::vector<Row> rows;
    std::vector<std::uint8_t> cover;
};

// A copy of a picture with its colours multiplied.
Surface tinted_copy(cairo_surface_t* plain, TintFactors f) {
    const int w = width_of(plain), h = height_of(plain);
    Surface copy = new_image(w, h);
    {
        Context cr = new_context(copy.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr.get(), plain, 0, 0);
        cairo_paint(cr.get());
    }
    cairo_surface_flush(copy.get());
    unsigned char* data = cairo_image_surface_get_data(copy.get());
    const int stride = cairo_image_surface_get_stride(copy.get());
    for (int row = 0; row < h; ++row) {
        auto* px = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(row) * stride);
        for (int col = 0; col < w; ++col) {
            const std::uint32_t p = px[col];
            const auto r = static_cast<std::uint32_t>(((p >> 16) & 0xFF) * f.r);
            const auto g = static_cast<std::uint32_t>(((p >> 8) & 0xFF) * f.g);
            const auto b = static_cast<std::uint32_t>((p & 0xFF) * f.b);
            px[col] = (p & 0xFF000000u) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(copy.get());
    return copy;
}

struct WindowPicture {
    Surface surface;
    Lighting lighting;
    bool valid = false;    // layers and picture match `lighting`
    bool repaint = false;  // draw the whole picture again, layers as they are
    std::vector<GaugePicture> gauges;
};

}  // namespace

struct Renderer::Impl {
    BitmapSource bitmaps;
    double scale = 1.0;
    // The colour tinted bitmaps were made under; another empties the cache.
    std::optional<RgbBytes> night_colour;
    // Background bitmaps by window slot, plain and darkened; null when unreadable.
    std::map<std::size_t, Surface> backgrounds, dark_backgrounds;

    cairo_surface_t* background(const WindowConfig& window, Tint tint) {
        if (window.background_path.empty()) return nullptr;
        auto it = backgrounds.find(window.slot);
        if (it == backgrounds.end()) it = backgrounds.emplace(window.slot, Surface(decode_bitmap_file(window.background_path))).first;
        if (!it->second || tint == Tint::NONE) return it->second.get();
        auto dark = dark_backgrounds.find(window.slot);
        if (dark == dark_backgrounds.end())
            dark = dark_backgrounds.emplace(window.slot, tinted_copy(it->second.get(), tint_factors(tint, night_colour))).first;
        return dark->second.get();
    }
    std::unordered_map<cairo_surface_t*, Padded> padded_bitmaps;
    std::vector<Opening> openings;  // of sprite windows, by placement

    // A bitmap's pixels with a transparent border, for painting it turned.
    const Padded& padded(cairo_surface_t* s) {
        auto it = padded_bitmaps.find(s);
        if (it != padded_bitmaps.end()) return it->second;
        Padded pad;
        if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32) {
            cairo_surface_flush(s);
            pad.width = width_of(s) + 2, pad.height = height_of(s) + 2;
            pad.pixels.assign(static_cast<std::size_t>(pad.width) * pad.height, 0);
            const unsigned char* data = cairo_image_surface_get_data(s);
            const int stride = cairo_image_surface_get_stride(s);
            for (int row = 0; row + 2 < pad.height; ++row)
                std::memcpy(pad.pixels.data() + static_cast<std::size_t>(row + 1) * pad.width + 1,
                            data + static_cast<std::ptrdiff_t>(row) * stride, 4 * static_cast<std::size_t>(pad.width - 2));
            pad.blocks.assign(pad.pixels.size(), 0);
            pad.colours.assign(1, 0);
            std::unordered_map<std::uint32_t, std::uint8_t> places;
            for (int row = 0; row + 1 < pad.height; ++row)
                for (int col = 0; col + 1 < pad.width; ++col) {
                    const std::uint32_t* t = pad.pixels.data() + static_cast<std::size_t>(row) * pad.width + col;
                    std::uint8_t& block = pad.blocks[static_cast<std::size_t>(row) * pad.width + col];
                    block = kMixedBlock;
                    if (t[0] != t[1] || t[0] != t[pad.width] || t[0] != t[pad.width + 1]) continue;
                    if (t[0] == 0) {
                        block = 0;
                    } else if ((t[0] >> 24) == 0xFF) {
                        // Past 254 colours a block is sampled as a mixed one.
                        auto [at, fresh] = places.try_emplace(t[0], static_cast<std::uint8_t>(pad.colours.size()));
                        if (fresh && pad.colours.size() < kMixedBlock) pad.colours.push_back(t[0]);
                        else if (fresh) at->second = kMixedBlock;
                        block = at->second;
                    }
                }
            pad.colours.resize(256, 0);  // any block's place reads a colour
            pad.x0 = pad.width, pad.y0 = pad.height;
            for (int row = 0; row < pad.height - 2; ++row)
                for (int col = 0; col < pad.width - 2; ++col)
                    if (pad.pixels[static_cast<std::size_t>(row + 1) * pad.width + col + 1] != 0) {
                        pad.x0 = std::min(pad.x0, col), pad.x1 = std::max(pad.x1, col + 1);
                        pad.y0 = std::min(pad.y0, row), pad.y1 = std::max(pad.y1, row + 1);
                    }
        }
        return padded_bitmaps.emplace(s, std::move(pad)).first->second;
    }
    std::unordered_map<std::uint64_t, Surface> tinted;
    std::map<std::size_t, WindowPicture> windows;  // by WindowConfig::slot
    std::unordered_map<std::uint32_t, bool> opaque_bitmaps;

    // Whether a bitmap has no transparent pixel.
    bool opaque(std::uint32_t id) {
        auto it = opaque_bitmaps.find(id);
        if (it != opaque_bitmaps.end()) return it->second;
        cairo_surface_t* s = bitmaps ? bitmaps(id) : nullptr;
        bool all = s != nullptr;
        if (all) {
            cairo_surface_flush(s);
            const unsigned char* data = cairo_image_surface_get_data(s);
            const int stride = cairo_image_surface_get_stride(s);
            for (int row = 0; all && row < height_of(s); ++row) {
                const auto* px = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(row) * stride);
                for (int col = 0; all && col < width_of(s); ++col) all = (px[col] >> 24) == 0xFF;
            }
        }
        return opaque_bitmaps.emplace(id, all).first->second;
    }

    // The bitmap under a tint: the source's own for NONE, else a cached copy
    // with its colours multiplied.
    cairo_surface_t* bitmap(std::uint32_t id, Tint tint) {
        cairo_surface_t* plain = bitmaps ? bitmaps(id) : nullptr;
        if (plain == nullptr || tint == Tint::NONE) return plain;
        const std::uint64_t key = (std::uint64_t{id} << 8) | static_cast<std::uint8_t>(tint);
        auto it = tinted.find(key);
        if (it != tinted.end()) return it->second.get();
        return tinted.emplace(key, tinted_copy(plain, tint_factors(tint, night_colour))).first->second.get();
    }
};

Tint element_tint(std::uint32_t image_flags, Lighting lighting) {
    if (!lighting.night || (image_flags & IMAGE_BRIGHT) != 0) return Tint::NONE;
    if ((image_flags & IMAGE_LIT) != 0 && lighting.panel_lights) return Tint::LIT;
    return Tint::DARK;
}

TintFactors tint_factors(Tint tint, const std::optional<RgbBytes>& night_colour) {
    switch (tint) {
        case Tint::NONE: return {1.0, 1.0, 1.0};
        case Tint::DARK: return {0.16, 0.17, 0.22};   // moonlight on an unlit panel
        case Tint::LIT:
            if (night_colour) return {(*night_colour)[0] / 255.0, (*night_colour)[1] / 255.0, (*night_colour)[2] / 255.0};
            return {0.95, 0.72, 0.50};  // warm panel flood light
    }
    return {1.0, 1.0, 1.0};
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

namespace {

cairo_filter_t filter_for(std::uint32_t flags) {
    return (flags & IMAGE_SMOOTH) != 0 ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST;
}

void set_colour(cairo_t* cr, std::uint32_t bgr, Tint tint, const Lighting& lighting) {
    const TintFactors f = tint_factors(tint, lighting.night_colour);
    cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0 * f.r, ((bgr >> 8) & 0xFF) / 255.0 * f.g,
                         ((bgr >> 16) & 0xFF) / 255.0 * f.b);
}

// A placement that a value gone wild (NaN, infinite, a zero texture scale)
// has not broken; Cairo would otherwise put the whole context in error.
bool usable(const cairo_matrix_t& m) {
    for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0})
        if (!std::isfinite(v)) return false;
    cairo_matrix_t inverse = m;
    return cairo_matrix_invert(&inverse) == CAIRO_STATUS_SUCCESS;
}

// A rectangle of picture pixels.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 exclusive
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    void add(const Box& b) {
        if (b.empty()) return;
        if (empty()) {
            *this = b;
            return;
        }
        x0 = std::min(x0, b.x0), y0 = std::min(y0, b.y0), x1 = std::max(x1, b.x1), y1 = std::max(y1, b.y1);
    }
    bool contains(const Box& b) const { return x0 <= b.x0 && y0 <= b.y0 && b.x1 <= x1 && b.y1 <= y1; }
    Box clipped(const Box& to) const {
        return {std::max(x0, to.x0), std::max(y0, to.y0), std::min(x1, to.x1), std::min(y1, to.y1)};
    }
};

// Paints a bitmap placed on the gauge by `place` (bitmap pixels -> gauge pixels).
void paint_bitmap(cairo_t* cr, cairo_surface_t* bitmap, const cairo_matrix_t& place, std::uint32_t flags) {
    if (bitmap == nullptr || !usable(place)) return;
    cairo_save(cr);
    cairo_transform(cr, &place);
    if ((flags & IMAGE_TRANSPARENT) == 0) {
        cairo_rectangle(cr, 0, 0, width_of(bitmap), height_of(bitmap));
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

cairo_matrix_t shifted(double x, double y) {
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, x, y);
    return m;
}

// One element drawn onto a gauge whose pixels the context's matrix maps.
struct Drawing {
    cairo_t* cr;
    Renderer::Impl& impl;
    Lighting lighting;

    cairo_surface_t* bitmap(std::uint32_t id, const ElementHeader& e) const {
        return impl.bitmap(id, element_tint(e.image_flags, lighting));
    }
};

void draw_static_image(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    paint_bitmap(d.cr, d.bitmap(e.bitmap, e), shifted(e.x, e.y), e.image_flags);
}

// Fixed point: 16 fraction bits, 1/2^16 of a pixel.
constexpr double kOne = 1 << 16;
std::int64_t fixed(double v) { return static_cast<std::int64_t>(std::floor(v * kOne + 0.5)); }

// Integer division rounding down or up, for either sign.
std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
std::int64_t ceil_div(std::int64_t a, std::int64_t b) { return -floor_div(-a, b); }

// Narrows [lo, hi] to the integers x where lo_v <= start + x step <= hi_v.
void narrow_steps(std::int64_t start, std::int64_t step, std::int64_t lo_v, std::int64_t hi_v, std::int64_t& lo,
                  std::int64_t& hi) {
    if (step == 0) {
        if (start < lo_v || start > hi_v) hi = lo - 1;
        return;
    }
    if (step < 0) {  // lo_v <= s + x t <= hi_v  is  -hi_v <= -s + x (-t) <= -lo_v
        const std::int64_t low = -hi_v;
        hi_v = -lo_v, lo_v = low, start = -start, step = -step;
    }
    lo = std::max(lo, ceil_div(lo_v - start, step));
    hi = std::min(hi, floor_div(hi_v - start, step));
}

// Narrows [lo, hi] to the pixel centres c where L < a c + b < H.
void narrow_centres(double a, double b, double L, double H, double& lo, double& hi) {
    if (std::abs(a) < 1e-12) {
        if (!(L < b && b < H)) hi = lo - 1;
        return;
    }
    const double r1 = (L - b) / a, r2 = (H - b) / a;
    lo = std::max(lo, std::min(r1, r2));
    hi = std::min(hi, std::max(r1, r2));
}

// The target pixels of row `y` (centres between lo and hi) as a half-open range.
std::pair<int, int> pixel_span(double lo, double hi) {
    if (!(lo < hi)) return {0, 0};
    const double a = std::floor(lo - 0.5), b = std::ceil(hi - 0.5) + 1;
    const double limit = 1 << 30;
    return {static_cast<int>(std::clamp(a, -limit, limit)), static_cast<int>(std::clamp(b, -limit, limit))};
}

// Two pixels' four channels, 16 bits each, and the same for one pixel.
using Lanes8 = std::uint16_t __attribute__((vector_size(16)));
using Lanes4 = std::uint16_t __attribute__((vector_size(8)));
using Bytes8 = std::uint8_t __attribute__((vector_size(8)));
using Bytes4 = std::uint8_t __attribute__((vector_size(4)));

inline Lanes8 widen_pair(const std::uint32_t* p) {
    Bytes8 b;
    std::memcpy(&b, p, sizeof b);
    return __builtin_convertvector(b, Lanes8);
}
inline Lanes8 swap_halves(Lanes8 v) { return __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3); }

// The bilinear sample of `pad` at (u, v) (border pixels included), let
// through `open` of 128, over the pixel at `d`; rounded as the bilinear
// filter and OVER operator of Cairo round. No branches: a row's samples
// switch between kinds too often for guessing to pay.
inline __attribute__((always_inline)) void mix_over(std::uint32_t& d, const Padded& pad, std::int64_t u,
                                                    std::int64_t v, std::uint16_t open) {
    const std::uint32_t* t0 = pad.pixels.data() + (v >> 16) * pad.width + (u >> 16);
    const std::uint32_t* t1 = t0 + pad.width;
    // Across each row, then down: (a (128 - t) + b t + 64) / 128 each time.
    const auto fu = static_cast<std::uint16_t>((u >> 9) & 0x7F), fv = static_cast<std::uint16_t>((v >> 9) & 0x7F);
    const auto gu = static_cast<std::uint16_t>(128 - fu), gv = static_cast<std::uint16_t>(128 - fv);
    const Lanes8 across = {gu, gu, gu, gu, fu, fu, fu, fu};
    Lanes8 top = widen_pair(t0) * across, bottom = widen_pair(t1) * across;
    top = (top + swap_halves(top) + 64) >> 7;           // lanes 0-3
    bottom = (bottom + swap_halves(bottom) + 64) >> 7;  // lanes 4-7
    const Lanes8 down = {gv, gv, gv, gv, fv, fv, fv, fv};
    Lanes8 both = __builtin_shufflevector(top, bottom, 0, 1, 2, 3, 12, 13, 14, 15) * down;
    both = (both + swap_halves(both) + 64) >> 7;
    Lanes4 src = __builtin_shufflevector(both, both, 0, 1, 2, 3);
    src = (src * open + 64) >> 7;  // exact when open is 128
    // What shows of the pixel below; none when the sample is opaque.
    const auto keep = static_cast<std::uint16_t>(255 - src[3]);
    Bytes4 b;
    std::memcpy(&b, &d, sizeof b);
    Lanes4 m = __builtin_convertvector(b, Lanes4) * keep + 128;
    m = (m + (m >> 8)) >> 8;
    src += m;
    src |= (src >> 8) * 255;  // at most 255 once narrowed to bytes
    const Bytes4 out = __builtin_convertvector(src, Bytes4);
    std::memcpy(&d, &out, sizeof d);
}

// The same for a sample that may be transparent or inside one colour.
inline void sample_over(std::uint32_t& d, const Padded& pad, std::int64_t u, std::int64_t v, std::uint16_t open) {
    const std::uint8_t block = pad.blocks[static_cast<std::size_t>((v >> 16) * pad.width + (u >> 16))];
    if (block == 0) return;
    if (block != kMixedBlock && open == 128) d = pad.colours[block];
    else mix_over(d, pad, u, v, open);
}

// How much of a target pixel the window lets through, 0 to 128, from the
// alpha of the four window pixels around the sample (u, v).
std::uint8_t window_opening(const Padded& window, std::int64_t u, std::int64_t v) {
    const std::int64_t iu = u >> 16, iv = v >> 16;
    if (iu < 0 || iv < 0 || iu > window.width - 2 || iv > window.height - 2) return 0;
    const std::uint32_t* t0 = window.pixels.data() + iv * window.width + iu;
    const std::uint32_t* t1 = t0 + window.width;
    if ((t0[0] & t0[1] & t1[0] & t1[1]) >> 24 == 0xFF) return 128;  // well inside the opening
    const std::uint64_t fu = (u >> 9) & 0x7F, fv = (v >> 9) & 0x7F;
    const std::uint64_t top = (t0[0] >> 24) * (128 - fu) + (t0[1] >> 24) * fu;
    const std::uint64_t bottom = (t1[0] >> 24) * (128 - fu) + (t1[1] >> 24) * fu;
    return static_cast<std::uint8_t>(((top * (128 - fv) + bottom * fv) * 128 + 255 * 64 * 128) / (255 * 128 * 128));
}

// Sample positions along a target row, in 1/2^16 pixel and shifted by the
// border's pixel: u = u0 + x du. Anchored at the row's first pixel, not at
// where drawing starts, so a pixel comes out the same however much of the
// picture is redrawn around it.
struct RowSteps {
    std::int64_t u0, v0, du, dv;
    RowSteps(const cairo_matrix_t& inv, int y) {
        const double cy = y + 0.5;
        const double ub = inv.xy * cy + inv.x0, vb = inv.yy * cy + inv.y0;
        u0 = fixed(inv.xx * 0.5 + ub + 0.5), v0 = fixed(inv.yx * 0.5 + vb + 0.5);
        du = fixed(inv.xx), dv = fixed(inv.yx);
    }
    // Narrows [lo, hi] to the pixels whose four samples lie inside `pad`.
    void inside(const Padded& pad, std::int64_t& lo, std::int64_t& hi) const {
        narrow_steps(u0, du, 0, (std::int64_t{pad.width - 1} << 16) - 1, lo, hi);
        narrow_steps(v0, dv, 0, (std::int64_t{pad.height - 1} << 16) - 1, lo, hi);
    }
};

Opening make_opening(const Padded& window, const cairo_matrix_t& to_window, int height) {
    Opening o{&window, to_window, 0, {}, {}};
    // The target rows the window's pixels can reach.
    cairo_matrix_t from_window = to_window;
    cairo_matrix_invert(&from_window);
    double top = 1e300, bottom = -1e300;
    for (const auto& [cx, cy] : {std::pair{window.x0 - 1.0, window.y0 - 1.0}, {window.x1 + 1.0, window.y0 - 1.0},
                                 {window.x0 - 1.0, window.y1 + 1.0}, {window.x1 + 1.0, window.y1 + 1.0}}) {
        double x = cx, y = cy;
        cairo_matrix_transform_point(&from_window, &x, &y);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    o.y0 = static_cast<int>(std::clamp(std::floor(top), 0.0, double(height)));
    const int y1 = static_cast<int>(std::clamp(std::ceil(bottom) + 1, double(o.y0), double(height)));
    o.rows.resize(static_cast<std::size_t>(y1 - o.y0));
    for (int y = o.y0; y < y1; ++y) {
        Opening::Row& r = o.rows[static_cast<std::size_t>(y - o.y0)];
        const RowSteps at(to_window, y);
        const double cy = y + 0.5;
        double lo = -1e9, hi = 1e9;
        narrow_centres(to_window.xx, to_window.xy * cy + to_window.x0, window.x0 - 0.5, window.x1 + 0.5, lo, hi);
        narrow_centres(to_window.yx, to_window.yy * cy + to_window.y0, window.y0 - 0.5, window.y1 + 0.5, lo, hi);
        std::tie(r.x0, r.x1) = pixel_span(lo, hi);
        r.at = o.cover.size();
        int best = 0;
        for (int x = r.x0, run = 0; x < r.x1; ++x) {
            const std::uint8_t c = window_opening(window, at.u0 + x * at.du, at.v0 + x * at.dv);
            o.cover.push_back(c);
            run = c == 128 ? run + 1 : 0;
            if (run > best) best = run, r.open1 = x + 1, r.open0 = x + 1 - run;
        }
        if (best == 0) r.open0 = r.open1 = r.x0;
    }
    return o;
}

// A needle turns a little every frame, so it is the one picture drawn most
// often; its bitmap is a thin bar whose turned bounding box is mostly empty.
// It is painted here directly, row by row over just the pixels a bilinear
// sample of it can reach, instead of over its whole turned box. A sprite's
// picture comes the same way, seen through its window: `window`, placed by
// `window_place` without turning, lets it through by its own alpha, sampled
// the same way (and kept in `openings` per placement). Returns false where
// this does not apply (no plain rectangular clip, unsmoothed or backed
// elements, a target that is not an image), and Cairo draws instead.
bool paint_turned(cairo_t* cr, const Padded& pad, const cairo_matrix_t& place, std::uint32_t flags,
                  std::vector<Opening>* openings = nullptr, const Padded* window = nullptr,
                  const cairo_matrix_t* window_place = nullptr) {
    constexpr std::uint32_t kNeeds = IMAGE_TRANSPARENT | IMAGE_SMOOTH;
    cairo_surface_t* target = cairo_get_target(cr);
    if ((flags & kNeeds) != kNeeds || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32 || pad.pixels.empty())
        return false;
    if (window != nullptr && (window->pixels.empty() || window_place == nullptr || openings == nullptr)) return false;
    if (pad.x1 <= pad.x0) return true;  // nothing but transparent pixels
    if (window != nullptr && window->x1 <= window->x0) return true;  // a window with no opening
    double ox = 0, oy = 0;
    cairo_surface_get_device_offset(target, &ox, &oy);
    if (ox != 0 || oy != 0) return false;
    // The clip, in target pixels: one whole-pixel rectangle or nothing.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
    cairo_restore(cr);
    Box clip{0, 0, width_of(target), height_of(target)};
    bool plain = clips->status == CAIRO_STATUS_SUCCESS && clips->num_rectangles <= 1;
    if (plain && clips->num_rectangles == 1) {
        const cairo_rectangle_t& r = clips->rectangles[0];
        const Box box{static_cast<int>(r.x), static_cast<int>(r.y), static_cast<int>(r.x + r.width),
                      static_cast<int>(r.y + r.height)};
        plain = box.x0 == r.x && box.y0 == r.y && box.x1 == r.x + r.width && box.y1 == r.y + r.height;
        clip = box.clipped(clip);
    }
    cairo_rectangle_list_destroy(clips);
    if (!plain) return false;
    if (clip.empty()) return true;

    // Target pixel -> bitmap pixel.
    cairo_matrix_t ctm, to_target;
    cairo_get_matrix(cr, &ctm);
    cairo_matrix_multiply(&to_target, &place, &ctm);
    cairo_matrix_t inv = to_target;
    if (!usable(inv) || cairo_matrix_invert(&inv) != CAIRO_STATUS_SUCCESS) return true;
    const Opening* opening = nullptr;
    if (window != nullptr) {
        cairo_matrix_t window_inv;
        cairo_matrix_multiply(&window_inv, window_place, &ctm);
        if (!usable(window_inv) || cairo_matrix_invert(&window_inv) != CAIRO_STATUS_SUCCESS) return true;
        // Far too wide to work out ahead (a wild texture scale): nothing shows.
        if (std::abs(window_inv.xx) < 1e-3 || std::abs(window_inv.yy) < 1e-3) return true;
        const auto same = [&](const Opening& o) {
            const cairo_matrix_t& m = o.to_window;
            return o.window == window && m.xx == window_inv.xx && m.yx == window_inv.yx && m.xy == window_inv.xy &&
                   m.yy == window_inv.yy && m.x0 == window_inv.x0 && m.y0 == window_inv.y0;
        };
        auto found = std::find_if(openings->begin(), openings->end(), same);
        if (found == openings->end()) {
            if (openings->size() >= 16) openings->erase(openings->begin());
            openings->push_back(make_opening(*window, window_inv, height_of(target)));
            found = openings->end() - 1;
        }
        opening = &*found;
    }

    cairo_surface_flush(target);
    unsigned char* out = cairo_image_surface_get_data(target);
    const int out_stride = cairo_image_surface_get_stride(target);
    const std::uint8_t* blocks = pad.blocks.data();
    const std::uint32_t* colours = pad.colours.data();
    const std::int64_t pitch = pad.width;
    Box touched;
    for (int y = clip.y0; y < clip.y1; ++y) {
        const Opening::Row* open_row = nullptr;
        if (opening != nullptr) {
            if (y < opening->y0 || y - opening->y0 >= static_cast<int>(opening->rows.size())) continue;
            open_row = &opening->rows[static_cast<std::size_t>(y - opening->y0)];
        }
        const double cy = y + 0.5;
        double lo = clip.x0, hi = clip.x1;
        narrow_centres(inv.xx, inv.xy * cy + inv.x0, pad.x0 - 0.5, pad.x1 + 0.5, lo, hi);
        narrow_centres(inv.yx, inv.yy * cy + inv.y0, pad.y0 - 0.5, pad.y1 + 0.5, lo, hi);
        const auto [a, b] = pixel_span(lo, hi);
        std::int64_t x0 = std::max(a, clip.x0), x1 = std::min(b, clip.x1) - 1;  // x1 inclusive here
        const RowSteps at(inv, y);
        at.inside(pad, x0, x1);
        if (open_row != nullptr) x0 = std::max<std::int64_t>(x0, open_row->x0), x1 = std::min<std::int64_t>(x1, open_row->x1 - 1);
        if (x0 > x1) continue;
        ++x1;
        auto* row = reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(y) * out_stride);
        // Where the window lets the whole pixel through: the plain blocks of
        // the card are copied as they are.
        std::int64_t f0 = x0, f1 = x1;
        if (open_row != nullptr)
            f0 = std::clamp<std::int64_t>(open_row->open0, x0, x1), f1 = std::clamp<std::int64_t>(open_row->open1, f0, x1);
        const auto edge = [&](std::int64_t from, std::int64_t to) {
            const std::uint8_t* cover = opening->cover.data() + open_row->at;
            for (std::int64_t x = from; x < to; ++x)
                if (const std::uint8_t c = cover[x - open_row->x0]; c != 0)
                    sample_over(row[x], pad, at.u0 + x * at.du, at.v0 + x * at.dv, c);
        };
        if (open_row != nullptr) edge(x0, f0);
        // In two passes: plain blocks copied and mixed ones noted, then the
        // mixed ones sampled.
        constexpr int kChunk = 256;
        std::uint16_t mixed[kChunk];
        for (std::int64_t c0 = f0; c0 < f1; c0 += kChunk) {
            const std::int64_t c1 = std::min<std::int64_t>(f1, c0 + kChunk);
            int n = 0;
            std::int64_t u = at.u0 + c0 * at.du, v = at.v0 + c0 * at.dv;
            for (std::int64_t x = c0; x < c1; ++x, u += at.du, v += at.dv) {
                const std::uint8_t block = blocks[(v >> 16) * pitch + (u >> 16)];
                const std::uint32_t colour = colours[block];  // 0 for transparent and mixed blocks
                const std::uint32_t below = 0u - static_cast<std::uint32_t>(colour == 0);  // all ones or none
                row[x] = colour | (row[x] & below);
                mixed[n] = static_cast<std::uint16_t>(x - c0);
                n += block == kMixedBlock;
            }
            for (int i = 0; i < n; ++i) {
                const std::int64_t x = c0 + mixed[i];
                mix_over(row[x], pad, at.u0 + x * at.du, at.v0 + x * at.dv, 128);
            }
        }
        if (open_row != nullptr) edge(f1, x1);
        touched.add({static_cast<int>(x0), y, static_cast<int>(x1), y + 1});
    }
    if (!touched.empty())
        cairo_surface_mark_dirty_rectangle(target, touched.x0, touched.y0, touched.x1 - touched.x0,
                                           touched.y1 - touched.y0);
    return true;
}

void draw_needle(const Drawing& d, const ElementState& s) {
    const ElementHeader& e = *s.element;
    cairo_surface_t* bitmap = d.bitmap(e.bitmap, e);
    const cairo_matrix_t place = needle_matrix(e, s.angle);
    if (bitmap == nullptr || !usable(place)) return;
    if (!paint_turned(d.cr, d.impl.padded(bitmap), place, e.image_flags))
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
    if (!paint_turned(d.cr, d.impl.padded(bitmap), place, e.image_flags)) paint_bitmap(d.cr, bitmap, place, e.image_flags);
}

// Draws `picture` placed by `place`, seen only through the window bitmap
// (id + 1) at the element's position: its opaque pixels let the picture through.
void draw_through_window(const Drawing& d, const ElementHeader& e, cairo_surface_t* picture,
                         const cairo_matrix_t& place) {
    if (picture == nullptr || !usable(place)) return;
    cairo_surface_t* window = d.impl.bitmap(e.bitmap + 1, Tint::NONE);
    cairo_t* cr = d.cr;
    cairo_save(cr);
    if (window != nullptr && d.impl.opaque(e.bitmap + 1)) {
        // A window open all over is just its rectangle.
        cairo_rectangle(cr, e.x, e.y, width_of(window), height_of(window));
        cairo_clip(cr);
        paint_bitmap(cr, picture, place, e.image_flags);
    } else if (window != nullptr) {
        cairo_rectangle(cr, e.x, e.y, width_of(window), height_of(window));
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
    const cairo_matrix_t place =
        sprite_matrix(any(s).sprite, s.dx, s.dy, s.rotation, width_of(picture), height_of(picture));
    // A card that turns every frame behind its window (the horizon) is
    // painted like a needle, through the window's pixels.
    cairo_surface_t* window = d.impl.bitmap(e.bitmap + 1, Tint::NONE);
    if (window != nullptr && usable(place)) {
        const cairo_matrix_t window_place = shifted(e.x, e.y);
        if (paint_turned(d.cr, d.impl.padded(picture), place, e.image_flags, &d.impl.openings, &d.impl.padded(window),
                         &window_place))
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
        if ((e.draw_flags & kTextCentre) != 0) x = (bw - te.x_advance) / 2.0;
        else if ((e.draw_flags & kTextRight) != 0) x = bw - te.x_advance;
        if ((e.draw_flags & kTextMiddle) != 0) y = (bh - (fe.ascent + fe.descent)) / 2.0 + fe.ascent;
        else if ((e.draw_flags & kTextBottom) != 0) y = bh - fe.descent;
        set_colour(cr, e.foreground, tint, d.lighting);
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, text.c_str());
    }
    cairo_restore(cr);
}

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

void draw_elements(const Drawing& d, const std::vector<ElementState>& states, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) draw_element(d, states[i]);
}

// Lays out a gauge on the window picture: its pixel rectangle and scale, and
// which elements are drawn live each frame.
void lay_out(GaugePicture& g, Renderer::Impl& impl, double scale) {
    const Placement& p = *g.placement;
    const auto& states = p.elements();
    cairo_surface_t* background = states.empty() ? nullptr : impl.bitmap(states[0].element->bitmap, Tint::NONE);
    const int bw = background != nullptr ? width_of(background) : p.width();
    const int bh = background != nullptr ? height_of(background) : p.height();
    g.x = p.x() * scale, g.y = p.y() * scale;
    g.sx = bw > 0 ? p.width() * scale / bw : scale;
    g.sy = bh > 0 ? p.height() * scale / bh : scale;
    g.px = static_cast<int>(std::floor(g.x));
    g.py = static_cast<int>(std::floor(g.y));
    g.pw = static_cast<int>(std::ceil(g.x + p.width() * scale)) - g.px;
    g.ph = static_cast<int>(std::ceil(g.y + p.height() * scale)) - g.py;
    g.live_begin = states.size();
    g.live_end = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i].element->kind == ElementKind::STATIC_IMAGE) continue;
        g.live_begin = std::min(g.live_begin, i);
        g.live_end = i + 1;
    }
    if (g.live_end == 0) g.live_begin = g.live_end = states.size();
}

// Maps gauge pixels onto a target whose origin is (ox, oy) in picture pixels.
void enter_gauge(cairo_t* cr, const GaugePicture& g, double ox, double oy) {
    cairo_translate(cr, g.x - ox, g.y - oy);
    cairo_scale(cr, g.sx, g.sy);
}

// The window's background where the target's origin is picture pixel
// (ox, oy): its colour, and its bitmap stretched over the whole window.
void fill_background(cairo_t* cr, Renderer::Impl& impl, const WindowConfig& window, Lighting lighting, double ox,
                     double oy) {
    const Tint tint = lighting.night ? Tint::DARK : Tint::NONE;
    const std::uint32_t bgr = window.background[0] | (window.background[1] << 8) | (window.background[2] << 16);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    set_colour(cr, bgr, tint, lighting);
    cairo_paint(cr);
    if (cairo_surface_t* picture = impl.background(window, tint)) {
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_translate(cr, -ox, -oy);
        cairo_scale(cr, window.size_w * impl.scale / width_of(picture), window.size_h * impl.scale / height_of(picture));
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

// Draws elements [begin, end) of a gauge into a layer of its pixel rectangle.
// A layer with a backdrop starts as the window's background colour, so that
// it can later be copied in place rather than blended.
Surface draw_layer(const GaugePicture& g, Renderer::Impl& impl, Lighting lighting, std::size_t begin,
                   std::size_t end, const WindowConfig* backdrop) {
    const auto& states = g.placement->elements();
    bool any_visible = false;
    for (std::size_t i = begin; i < end; ++i) any_visible = any_visible || states[i].visible;
    if ((!any_visible && backdrop == nullptr) || g.pw <= 0 || g.ph <= 0) return nullptr;
    Surface layer = new_image(g.pw, g.ph);
    Context cr = new_context(layer.get());
    if (backdrop != nullptr) fill_background(cr.get(), impl, *backdrop, lighting, g.px, g.py);
    enter_gauge(cr.get(), g, g.px, g.py);
    draw_elements({cr.get(), impl, lighting}, states, begin, end);
    check_cairo(cairo_status(cr.get()));
    return layer;
}

bool range_changed(const std::vector<ElementKey>& before, const std::vector<ElementKey>& now, std::size_t begin,
                   std::size_t end) {
    if (before.size() != now.size()) return true;
    for (std::size_t i = begin; i < end; ++i)
        if (!(before[i] == now[i])) return true;
    return false;
}

void paint_layer(cairo_t* cr, const GaugePicture& g, cairo_surface_t* layer, cairo_operator_t op) {
    if (layer == nullptr) return;
    cairo_set_operator(cr, op);
    cairo_set_source_surface(cr, layer, g.px, g.py);
    cairo_rectangle(cr, g.px, g.py, g.pw, g.ph);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

Box box_of(const GaugePicture& g) { return {g.px, g.py, g.px + g.pw, g.py + g.ph}; }

// The picture pixels that a w x h bitmap placed on the gauge by `place` can
// touch, with a pixel to spare for filtering.
Box placed_box(const GaugePicture& g, const cairo_matrix_t& place, int w, int h) {
    if (!usable(place) || w <= 0 || h <= 0) return {};
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, {double(w), 0.0}, {0.0, double(h)}, {double(w), double(h)}}) {
        double x = cx, y = cy;
        cairo_matrix_transform_point(&place, &x, &y);
        x = g.x + x * g.sx, y = g.y + y * g.sy;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    const double limit = 1e6;  // a wild value: the whole gauge
    if (!(x0 > -limit && y0 > -limit && x1 < limit && y1 < limit)) return box_of(g);
    return {static_cast<int>(std::floor(x0)) - 1, static_cast<int>(std::floor(y0)) - 1,
            static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
}

// The picture pixels an element drew, or will draw, with the look `k`.
Box element_box(const GaugePicture& g, Renderer::Impl& impl, const ElementState& s, const ElementKey& k) {
    if (!k.visible) return {};
    const ElementHeader& e = *s.element;
    const auto size_of = [&](std::uint32_t id) {
        cairo_surface_t* b = impl.bitmap(id, Tint::NONE);
        return std::pair{width_of(b), height_of(b)};
    };
    switch (e.kind) {
        case ElementKind::STATIC_IMAGE: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, shifted(e.x, e.y), w, h);
        }
        case ElementKind::NEEDLE: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, needle_matrix(e, k.angle), w, h);
        }
        case ElementKind::ICON: {
            const auto [w, h] = size_of(e.bitmap + static_cast<std::uint32_t>(std::max(k.image, 0)));
            return placed_box(g, shifted(e.x, e.y), w, h);
        }
        case ElementKind::SLIDER: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, shifted(e.x + k.dx, e.y + k.dy), w, h);
        }
        case ElementKind::STRING: {
            const auto& text = any(s).string;
            return placed_box(g, shifted(e.x, e.y), static_cast<int>(text.box_width),
                              static_cast<int>(text.box_height));
        }
        case ElementKind::MOVING_IMAGE:
        case ElementKind::SPRITE: {
            // Seen through its window when it has one: only where the window
            // is open, and a window pixel around it that filtering reaches.
            if (cairo_surface_t* window = impl.bitmap(e.bitmap + 1, Tint::NONE)) {
                const Padded& open = impl.padded(window);
                if (open.pixels.empty())
                    return placed_box(g, shifted(e.x, e.y), width_of(window), height_of(window));
                if (open.x1 <= open.x0) return {};
                return placed_box(g, shifted(e.x + open.x0 - 1, e.y + open.y0 - 1), open.x1 - open.x0 + 2,
                                  open.y1 - open.y0 + 2);
            }
            const auto [w, h] = size_of(e.bitmap);
            if (e.kind == ElementKind::MOVING_IMAGE) return placed_box(g, shifted(e.x + k.dx, e.y + k.dy), w, h);
            return placed_box(g, sprite_matrix(any(s).sprite, k.dx, k.dy, k.rotation, w, h), w, h);
        }
    }
    return box_of(g);
}

// Whether a layer is transparent all over `box` (picture pixels): glass over
// a dial leaves most moving parts uncovered.
bool clear_within(const GaugePicture& g, cairo_surface_t* layer, const Box& box) {
    if (layer == nullptr) return true;
    const Box inside = box.clipped(box_of(g));
    const unsigned char* data = cairo_image_surface_get_data(layer);
    const int stride = cairo_image_surface_get_stride(layer);
    for (int y = inside.y0; y < inside.y1; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y - g.py) * stride);
        for (int x = inside.x0; x < inside.x1; ++x)
            if (row[x - g.px] != 0) return false;
    }
    return true;
}

// Brings the part `box` of a gauge's picture up to date from its layers and
// its moving elements.
void redraw_picture(GaugePicture& g, Renderer::Impl& impl, Lighting lighting, const Box& box) {
    if (box.empty()) return;
    if (!g.picture) g.picture = new_image(g.pw, g.ph);
    Context cr = new_context(g.picture.get());
    cairo_translate(cr.get(), -g.px, -g.py);  // picture pixels
    cairo_rectangle(cr.get(), box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
    cairo_clip(cr.get());
    if (g.under) {
        paint_layer(cr.get(), g, g.under.get(), CAIRO_OPERATOR_SOURCE);
    } else {
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
    }
    if (g.live_begin < g.live_end) {
        cairo_save(cr.get());
        enter_gauge(cr.get(), g, 0, 0);
        draw_elements({cr.get(), impl, lighting}, g.placement->elements(), g.live_begin, g.live_end);
        cairo_restore(cr.get());
    }
    if (!clear_within(g, g.over.get(), box)) paint_layer(cr.get(), g, g.over.get(), CAIRO_OPERATOR_OVER);
    check_cairo(cairo_status(cr.get()));
    cairo_surface_flush(g.picture.get());
}

// Puts a gauge's picture on the window picture, inside whatever clip is set.
void compose(cairo_t* cr, const GaugePicture& g) {
    paint_layer(cr, g, g.picture.get(), g.backdrop ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

bool overlaps(const GaugePicture& a, const Box& b) {
    return a.px < b.x1 && b.x0 < a.px + a.pw && a.py < b.y1 && b.y0 < a.py + a.ph;
}

bool overlaps(const GaugePicture& a, const GaugePicture& b) { return overlaps(a, box_of(b)); }

// Whether elements still look as `keys` says, without building new keys.
bool keys_match(const std::vector<ElementKey>& keys, const std::vector<ElementState>& states) {
    if (keys.size() != states.size()) return false;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!same_look(keys[i], states[i])) return false;
    return true;
}

}  // namespace

Renderer::Renderer(BitmapSource bitmaps, double scale) : impl_(std::make_unique<Impl>()), scale_(scale) {
    if (!(scale > 0.0) || scale > 16.0) throw InputError("render scale must be above 0 and at most 16");
    impl_->bitmaps = std::move(bitmaps);
    impl_->scale = scale;
}

Renderer::~Renderer() = default;

void Renderer::invalidate() { impl_->windows.clear(); }

void Renderer::repaint() {
    for (auto& [ident, pic] : impl_->windows) pic.repaint = true;
}

cairo_surface_t* Renderer::draw(const WindowConfig& window, const std::vector<std::unique_ptr<Placement>>& placements,
                                Lighting lighting) {
    Impl& impl = *impl_;
    if (impl.night_colour != lighting.night_colour) {
        impl.night_colour = lighting.night_colour;
        impl.tinted.clear();
        // Turned pictures were kept by the address of a tinted bitmap now gone.
        impl.padded_bitmaps.clear();
        impl.openings.clear();
        impl.dark_backgrounds.clear();
        impl.windows.clear();
    }
    WindowPicture& pic = impl.windows[window.slot];
    const int width = std::max(1, static_cast<int>(std::lround(window.size_w * scale_)));
    const int height = std::max(1, static_cast<int>(std::lround(window.size_h * scale_)));
    if (!pic.surface || width_of(pic.surface.get()) != width || height_of(pic.surface.get()) != height) {
        pic.surface.reset();
        pic.surface = new_image(width, height);
        pic.valid = false;
    }

    // The window's gauges; a different set starts the picture afresh.
    std::vector<const Placement*> mine;
    for (const auto& p : placements)
        if (p->panel_window() == window.slot) mine.push_back(p.get());
    bool same = mine.size() == pic.gauges.size();
    for (std::size_t i = 0; same && i < mine.size(); ++i) same = pic.gauges[i].placement == mine[i];
    if (!same) {
        pic.gauges.clear();
        for (const Placement* p : mine) pic.gauges.push_back(GaugePicture{.placement = p});
        pic.valid = false;
    }
    const bool relayer = !pic.valid || !(pic.lighting == lighting);
    const bool full = relayer || pic.repaint;

    // Bring each gauge's layers, picture and keys up to date; note the
    // window pixels that changed.
    std::vector<Box> damage;
    std::size_t changed = 0;
    for (std::size_t gi = 0; gi < pic.gauges.size(); ++gi) {
        GaugePicture& g = pic.gauges[gi];
        const auto& states = g.placement->elements();
        const bool fresh = relayer || !g.drawn;
        if (!fresh && keys_match(g.keys, states)) continue;
        std::vector<ElementKey> keys;
        keys.reserve(states.size());
        for (const ElementState& s : states) keys.push_back(key_of(s));
        if (fresh) {
            lay_out(g, impl, scale_);
            g.backdrop = std::none_of(pic.gauges.begin(), pic.gauges.begin() + static_cast<std::ptrdiff_t>(gi),
                                      [&](const GaugePicture& earlier) { return overlaps(earlier, g); });
            g.picture.reset();
        }
        Box box;
        if (fresh || range_changed(g.keys, keys, 0, g.live_begin)) {
            g.under = draw_layer(g, impl, lighting, 0, g.live_begin, g.backdrop ? &window : nullptr);
            box = box_of(g);
        }
        if (fresh || range_changed(g.keys, keys, g.live_end, keys.size())) {
            g.over = draw_layer(g, impl, lighting, g.live_end, states.size(), nullptr);
            box = box_of(g);
        }
        if (box.empty()) {
            // Only moving elements changed: where each was and where it is now.
            for (std::size_t i = g.live_begin; i < g.live_end; ++i) {
                if (g.keys[i] == keys[i]) continue;
                box.add(element_box(g, impl, states[i], g.keys[i]));
                box.add(element_box(g, impl, states[i], keys[i]));
            }
            box = box.clipped(box_of(g));
        }
        g.keys = std::move(keys);
        g.drawn = true;
        ++changed;
        redraw_picture(g, impl, lighting, box);
        if (!box.empty()) damage.push_back(box);
    }
    redrawn_ = full ? pic.gauges.size() : changed;

    if (!full && damage.empty()) return pic.surface.get();  // the window picture stands as it is
    Context cr = new_context(pic.surface.get());
    if (full) {
        // The background shows wherever no gauge brings its own; those
        // rectangles never overlap, so even-odd filling leaves them out.
        cairo_save(cr.get());
        cairo_rectangle(cr.get(), 0, 0, width, height);
        for (const GaugePicture& g : pic.gauges)
            if (g.backdrop) cairo_rectangle(cr.get(), g.px, g.py, g.pw, g.ph);
        cairo_set_fill_rule(cr.get(), CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr.get());
        fill_background(cr.get(), impl, window, lighting, 0, 0);
        cairo_restore(cr.get());
        for (const GaugePicture& g : pic.gauges) compose(cr.get(), g);
    } else {
        for (const Box& box : damage) {
            cairo_save(cr.get());
            cairo_rectangle(cr.get(), box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
            cairo_clip(cr.get());
            // A gauge that brings its own background and covers the box
            // hides the window and every gauge before it (none overlaps it).
            std::size_t first = 0;
            for (std::size_t gi = 0; gi < pic.gauges.size(); ++gi) {
                const GaugePicture& g = pic.gauges[gi];
                if (g.backdrop && g.picture && box_of(g).contains(box)) first = gi + 1;
            }
            if (first == 0) fill_background(cr.get(), impl, window, lighting, 0, 0);
            for (std::size_t gi = first == 0 ? 0 : first - 1; gi < pic.gauges.size(); ++gi)
                if (overlaps(pic.gauges[gi], box)) compose(cr.get(), pic.gauges[gi]);
            cairo_restore(cr.get());
        }
    }
    check_cairo(cairo_status(cr.get()));
    cairo_surface_flush(pic.surface.get());
    pic.lighting = lighting;
    pic.valid = true;
    pic.repaint = false;
    return pic.surface.get();
}

}  // namespace ardelvine::hostapp
