#include "host/draw/bitmap_info.h"

#include <span>

#include "platform/platform.h"
#include "resources/formats.h"

namespace ardelvine::hostapp {

std::optional<BitmapInfo> bitmap_info(void* module, std::uint32_t id) {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!platform::find_resource(module, ResourceType::BITMAP, id, &data, &size) || data == nullptr) return std::nullopt;
    const auto layout = resources::read_bmp(std::span<const unsigned char>(data, size));
    if (!layout) return std::nullopt;
    return BitmapInfo{layout->width, layout->height};
}

}  // namespace ardelvine::hostapp
