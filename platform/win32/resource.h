// A resource of a loaded module, found and locked through the system's
// resource functions, and the system's text for an error code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace ardelvine::platform {

struct LockedResource {
    const unsigned char* bytes;
    std::size_t size;
    void* loaded;  // what FreeResource takes back
};

namespace win32 {

// FindResourceA (type RT_BITMAP or "WAVE", numeric id), LoadResource,
// LockResource and SizeofResource. False when any of them fails.
bool lock(ModuleHandle module, ResourceType type, std::uint32_t id, LockedResource* out);

std::string error_text(unsigned long code);

}  // namespace win32
}  // namespace ardelvine::platform
