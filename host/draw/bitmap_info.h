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

// The size of bitmap `id` of a loaded module; nothing when the module has no
// such bitmap or its header cannot be read. Takes a whole BMP file as well as
// a bitmap kept without its file header, as the system's resource section
// keeps it.
std::optional<BitmapInfo> bitmap_info(void* module, std::uint32_t id);

}  // namespace ardelvine::hostapp
