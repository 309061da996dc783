// The size of a module bitmap, read from its header alone. Placement heights,
// strip travel and mouse hit-testing need it; drawing does not come into it,
// so every build of the host has it.
#pragma once

#include <cstdint>
#include <optional>

namespace ardelvine::hostapp {

struct BitmapInfo {
    int width, height;
};

// The size of bitmap `id` of a loaded module, as the one bitmap reader
// (resources/formats.h) reads it; nothing when the module has no such bitmap
// or the reader refuses it.
std::optional<BitmapInfo> bitmap_info(void* module, std::uint32_t id);

}  // namespace ardelvine::hostapp
