#include "tools/bitmap_file.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "resources/formats.h"

namespace ardelvine::tools {

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// The darkest colour a drawn pixel may have; anything darker is transparent.
constexpr Rgb kDarkest{8, 8, 8};

// Index 0 is transparent black; then a 6x6x6 colour cube (its black lifted to
// kDarkest) and 39 further greys, because instrument art is mostly grey.
class Palette {
public:
    Palette() {
        colours_[0] = {0, 0, 0};
        std::size_t n = 1;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colours_[n++] = {std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51)};
        colours_[1] = kDarkest;
        for (int i = 0; n < 256; ++i) {
            const int level = 6 + i * 249 / 38;
            if (level % 51 == 0) continue;
            colours_[n++] = {std::uint8_t(level), std::uint8_t(level), std::uint8_t(level)};
        }
        cache_.fill(0);
    }

    const std::array<Rgb, 256>& colours() const { return colours_; }

    // The nearest opaque entry, remembered per 6-bit-per-channel cell.
    std::uint8_t nearest(Rgb c) {
        const std::size_t key = (std::size_t{c.r} >> 2 << 12) | (std::size_t{c.g} >> 2 << 6) | (c.b >> 2);
        if (cache_[key] != 0) return cache_[key];
        int best = 1;
        long best_distance = -1;
        for (int i = 1; i < 256; ++i) {
            const long dr = long{colours_[i].r} - c.r, dg = long{colours_[i].g} - c.g, db = long{colours_[i].b} - c.b;
            const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (best_distance < 0 || distance < best_distance) best = i, best_distance = distance;
        }
        cache_[key] = static_cast<std::uint8_t>(best);
        return cache_[key];
    }

private:
    std::array<Rgb, 256> colours_{};
    std::array<std::uint8_t, 64 * 64 * 64> cache_{};
};

// A surface pixel: transparent, or its un-premultiplied colour.
bool opaque_pixel(const unsigned char* row, int x, Rgb* colour) {
    std::uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    const std::uint32_t a = argb >> 24;
    if (a < 128) return false;
    auto channel = [&](int shift) {
        const std::uint32_t v = (argb >> shift) & 0xFF;
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (v * 255 + a / 2) / a));
    };
    *colour = {channel(16), channel(8), channel(0)};
    if (colour->r < kDarkest.r && colour->g < kDarkest.g && colour->b < kDarkest.b) *colour = kDarkest;
    return true;
}

}  // namespace

std::vector<unsigned char> encode_bmp(cairo_surface_t* surface, resources::Depth depth) {
    static Palette palette;
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int source_stride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);

    const bool indexed = depth == resources::Depth::Palette8;
    const int bits = indexed ? 8 : 24;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t table_bytes = indexed ? 256 * 4 : 0;
    const std::uint32_t offset = 14 + 40 + table_bytes;
    const std::uint32_t image_bytes = stride * static_cast<std::uint32_t>(height);

    std::vector<unsigned char> out;
    out.reserve(offset + image_bytes);
    out.push_back('B');
    out.push_back('M');
    resources::append_le(out, offset + image_bytes, 4);
    resources::append_le(out, 0, 4);
    resources::append_le(out, offset, 4);
    resources::append_le(out, 40, 4);
    resources::append_le(out, static_cast<std::uint32_t>(width), 4);
    resources::append_le(out, static_cast<std::uint32_t>(height), 4);  // bottom-up
    resources::append_le(out, 1, 2);
    resources::append_le(out, static_cast<std::uint32_t>(bits), 2);
    resources::append_le(out, 0, 4);  // no compression
    resources::append_le(out, image_bytes, 4);
    resources::append_le(out, 2835, 4);  // 72 dpi
    resources::append_le(out, 2835, 4);
    resources::append_le(out, indexed ? 256 : 0, 4);
    resources::append_le(out, 0, 4);
    if (indexed)
        for (const Rgb& c : palette.colours()) out.insert(out.end(), {c.b, c.g, c.r, 0});

    for (int y = height - 1; y >= 0; --y) {
        const unsigned char* row = pixels + static_cast<std::ptrdiff_t>(y) * source_stride;
        const std::size_t row_start = out.size();
        for (int x = 0; x < width; ++x) {
            Rgb c{0, 0, 0};
            const bool drawn = opaque_pixel(row, x, &c);
            if (indexed)
                out.push_back(drawn ? palette.nearest(c) : 0);
            else
                out.insert(out.end(), {c.b, c.g, c.r});
        }
        out.resize(row_start + stride, 0);
    }
    return out;
}

}  // namespace ardelvine::tools
