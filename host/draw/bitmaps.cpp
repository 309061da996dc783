#include "host/draw/bitmaps.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "host/draw/cairo_handles.h"
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
    if (it == surfaces_.end())
        it = surfaces_.emplace(id, std::unique_ptr<cairo_surface_t, SurfaceDeleter>(decode_bitmap(module_, id))).first;
    return it->second.get();
}

}  // namespace ardelvine::hostapp
