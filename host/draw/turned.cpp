#include "host/draw/turned.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "host/draw/geometry.h"
#include "model/records.h"

namespace ardelvine::hostapp {

Padded pad_bitmap(cairo_surface_t* s) {
    Padded pad;
    if (cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32) return pad;
    cairo_surface_flush(s);
    pad.width = width_of(s) + 2, pad.height = height_of(s) + 2;
    pad.fineness = fineness_of(s);
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
    return pad;
}

namespace {

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

}  // namespace

// Row by row over just the pixels a bilinear sample of the picture can
// reach: a needle is a thin bar whose turned bounding box is mostly empty.
bool paint_turned(cairo_t* cr, const Padded& pad, const cairo_matrix_t& place, std::uint32_t flags,
                  std::vector<Opening>* openings, const Padded* window, const cairo_matrix_t* window_place) {
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
    cairo_matrix_t pixels = place;
    if (pad.fineness != 1.0) cairo_matrix_scale(&pixels, 1.0 / pad.fineness, 1.0 / pad.fineness);
    cairo_matrix_multiply(&to_target, &pixels, &ctm);
    cairo_matrix_t inv = to_target;
    if (!usable(inv) || cairo_matrix_invert(&inv) != CAIRO_STATUS_SUCCESS) return true;
    const Opening* opening = nullptr;
    if (window != nullptr) {
        cairo_matrix_t window_inv = *window_place;
        if (window->fineness != 1.0) cairo_matrix_scale(&window_inv, 1.0 / window->fineness, 1.0 / window->fineness);
        cairo_matrix_multiply(&window_inv, &window_inv, &ctm);
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

}  // namespace ardelvine::hostapp
