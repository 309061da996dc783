#include "host/bitmaps.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#include <stb/stb_image.h>

#include <climits>
#include <cstring>

#include "platform/platform.h"

namespace ardelvine::hostapp {

namespace {

bool bitmap_bytes(void* module, std::uint32_t id, const unsigned char** data, int* size) {
    std::size_t length = 0;
    if (!platform::find_resource(module, ResourceType::BITMAP, id, data, &length)) return false;
    if (length == 0 || length > static_cast<std::size_t>(INT_MAX)) return false;
    *size = static_cast<int>(length);
    return true;
}

}  // namespace

std::optional<BitmapInfo> bitmap_info(void* module, std::uint32_t id) {
    const unsigned char* data = nullptr;
    int size = 0;
    if (!bitmap_bytes(module, id, &data, &size)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(data, size, &width, &height, &channels) == 0) return std::nullopt;
    return BitmapInfo{width, height};
}

cairo_surface_t* decode_bitmap(void* module, std::uint32_t id) {
    const unsigned char* data = nullptr;
    int size = 0;
    if (!bitmap_bytes(module, id, &data, &size)) return nullptr;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
    if (rgba == nullptr) return nullptr;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        stbi_image_free(rgba);
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
        const stbi_uc* in = rgba + static_cast<std::ptrdiff_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, in += 4) {
            const std::uint32_t r = in[0], g = in[1], b = in[2];
            // Opaque pixels need no premultiplication; black is the transparent colour.
            row[x] = (r | g | b) == 0 ? 0u : (0xFF000000u | r << 16 | g << 8 | b);
        }
    }
    cairo_surface_mark_dirty(surface);
    stbi_image_free(rgba);
    return surface;
}

cairo_surface_t* BitmapCache::get(std::uint32_t id) {
    auto it = surfaces_.find(id);
    if (it == surfaces_.end())
        it = surfaces_.emplace(id, std::unique_ptr<cairo_surface_t, SurfaceDeleter>(decode_bitmap(module_, id))).first;
    return it->second.get();
}

}  // namespace ardelvine::hostapp
