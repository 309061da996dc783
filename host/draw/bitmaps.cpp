#include "host/draw/bitmaps.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "host/draw/cairo_handles.h"
#include "host/draw/geometry.h"
#include "model/records.h"
#include "platform/platform.h"
#include "resources/formats.h"

namespace ardelvine::hostapp {

namespace {

std::span<const unsigned char> bitmap_bytes(void* module, std::uint32_t id) {
    const unsigned char* data = nullptr;
    std::size_t length = 0;
    if (!platform::find_resource(module, ResourceType::BITMAP, id, &data, &length)) return {};
    return {data, length};
}

cairo_surface_t* decode(std::span<const unsigned char> bytes) {
    const auto layout = resources::read_bmp(bytes);
    if (!layout) return nullptr;
    cairo_surface_t* surface = new_image(layout->width, layout->height).release();
    cairo_surface_flush(surface);
    resources::decode_bmp(*layout, bytes, cairo_image_surface_get_data(surface),
                          static_cast<std::size_t>(cairo_image_surface_get_stride(surface)));
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace

cairo_surface_t* decode_bitmap(void* module, std::uint32_t id) { return decode(bitmap_bytes(module, id)); }

cairo_surface_t* decode_bitmap_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes);
}

cairo_surface_t* BitmapCache::get(std::uint32_t id) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end()) it = surfaces_.emplace(id, Surface(decode_bitmap(module_, id))).first;
    return it->second.get();
}

std::string fine_pack_of(const std::string& module_path) {
    return std::filesystem::path(module_path).replace_extension(".hires").string();
}

FineSource fine_bitmap_files(const std::string& pack_dir) {
    auto files = std::make_shared<std::map<std::pair<std::uint32_t, int>, Surface>>();
    return [files, pack_dir](std::uint32_t id, int factor) {
        auto it = files->find({id, factor});
        if (it == files->end()) {
            const std::string name = "bitmap-" + std::to_string(id) + "@" + std::to_string(factor) + "x.bmp";
            Surface fine(decode_bitmap_file((std::filesystem::path(pack_dir) / name).string()));
            if (fine) cairo_surface_set_device_scale(fine.get(), factor, factor);
            it = files->emplace(std::pair{id, factor}, std::move(fine)).first;
        }
        return it->second.get();
    };
}

int fineness_for(double scale) { return scale >= 2.5 ? 3 : scale >= 1.5 ? 2 : 1; }

namespace {

// A copy of a picture (as fine as it is) with its colours multiplied.
Surface tinted_copy(cairo_surface_t* plain, TintFactors f) {
    const int w = width_of(plain), h = height_of(plain);
    Surface copy = new_image(w, h);
    cairo_surface_flush(plain);
    cairo_surface_flush(copy.get());
    const unsigned char* from = cairo_image_surface_get_data(plain);
    const int from_stride = cairo_image_surface_get_stride(plain);
    unsigned char* data = cairo_image_surface_get_data(copy.get());
    const int stride = cairo_image_surface_get_stride(copy.get());
    const double fineness = fineness_of(plain);
    cairo_surface_set_device_scale(copy.get(), fineness, fineness);
    for (int row = 0; row < h; ++row) {
        auto* px = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(row) * stride);
        std::memcpy(px, from + static_cast<std::ptrdiff_t>(row) * from_stride, 4 * static_cast<std::size_t>(w));
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

}  // namespace

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

cairo_surface_t* BitmapStore::tinted(std::uint32_t id, cairo_surface_t* plain, int fineness, Tint tint) {
    if (plain == nullptr || tint == Tint::NONE) return plain;
    const std::uint64_t key = (std::uint64_t{id} << 8) | static_cast<std::uint64_t>(fineness << 4) |
                              static_cast<std::uint8_t>(tint);
    auto it = tinted_.find(key);
    if (it != tinted_.end()) return it->second.get();
    return tinted_.emplace(key, tinted_copy(plain, tint_factors(tint, night_colour_))).first->second.get();
}

cairo_surface_t* BitmapStore::bitmap(std::uint32_t id, Tint tint) {
    return tinted(id, source_ ? source_(id) : nullptr, 1, tint);
}

cairo_surface_t* BitmapStore::drawn(std::uint32_t id, Tint tint) {
    if (fineness_ <= 1 || !fine_) return bitmap(id, tint);
    auto it = fine_plain_.find(id);
    if (it == fine_plain_.end()) {
        cairo_surface_t* plain = source_ ? source_(id) : nullptr;
        cairo_surface_t* fine = plain != nullptr ? fine_(id, fineness_) : nullptr;
        // A finer drawing of another picture (the module's art replaced) would
        // put every pivot and window in the wrong place.
        if (fine != nullptr && (width_of(fine) != width_of(plain) * fineness_ ||
                                height_of(fine) != height_of(plain) * fineness_ || fineness_of(fine) != fineness_))
            fine = nullptr;
        it = fine_plain_.emplace(id, fine).first;
    }
    if (it->second == nullptr) return bitmap(id, tint);
    return tinted(id, it->second, fineness_, tint);
}

bool BitmapStore::opaque(std::uint32_t id) {
    auto it = opaque_.find(id);
    if (it != opaque_.end()) return it->second;
    cairo_surface_t* s = source_ ? source_(id) : nullptr;
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
    return opaque_.emplace(id, all).first->second;
}

const Padded& BitmapStore::padded(cairo_surface_t* bitmap) {
    auto it = padded_.find(bitmap);
    if (it != padded_.end()) return it->second;
    return padded_.emplace(bitmap, pad_bitmap(bitmap)).first->second;
}

cairo_surface_t* BitmapStore::background(const WindowConfig& window, Tint tint) {
    if (window.background_path.empty()) return nullptr;
    auto it = backgrounds_.find(window.slot);
    if (it == backgrounds_.end())
        it = backgrounds_.emplace(window.slot, Surface(decode_bitmap_file(window.background_path))).first;
    if (!it->second || tint == Tint::NONE) return it->second.get();
    auto dark = dark_backgrounds_.find(window.slot);
    if (dark == dark_backgrounds_.end())
        dark = dark_backgrounds_.emplace(window.slot, tinted_copy(it->second.get(), tint_factors(tint, night_colour_))).first;
    return dark->second.get();
}

bool BitmapStore::set_night_colour(const std::optional<RgbBytes>& colour) {
    if (night_colour_ == colour) return false;
    night_colour_ = colour;
    tinted_.clear();
    // Turned pictures were kept by the address of a tinted bitmap now gone.
    padded_.clear();
    openings_.clear();
    dark_backgrounds_.clear();
    return true;
}

}  // namespace ardelvine::hostapp
