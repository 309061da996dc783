#include "host/draw/bitmap_info.h"

#include <cstdlib>
#include <span>

#include "platform/platform.h"
#include "resources/formats.h"

namespace ardelvine::hostapp {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER

// A bitmap without its file header: the info header's own size comes first.
std::optional<BitmapInfo> dib_info(std::span<const unsigned char> bytes) {
    if (bytes.size() < kInfoHeaderBytes || resources::read_le(bytes, 0, 4) < kInfoHeaderBytes) return std::nullopt;
    const auto width = static_cast<std::int32_t>(resources::read_le(bytes, 4, 4));
    const auto height = static_cast<std::int32_t>(resources::read_le(bytes, 8, 4));
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    return BitmapInfo{width, std::abs(height)};
}

}  // namespace

std::optional<BitmapInfo> bitmap_info(void* module, std::uint32_t id) {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!platform::find_resource(module, ResourceType::BITMAP, id, &data, &size) || data == nullptr) return std::nullopt;
    const std::span<const unsigned char> bytes(data, size);
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M') return dib_info(bytes);
    const auto layout = resources::read_bmp(bytes);
    if (!layout) return std::nullopt;
    return BitmapInfo{layout->width, layout->height};
}

}  // namespace ardelvine::hostapp
