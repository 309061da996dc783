// Stand-ins for the system's resource and memory services as the sound loader
// uses them: a resource's bytes by module handle, type and id, and a block of
// memory for sample data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace ardelvine::platform {

// Finds, loads and locks resource (type, id) of `module`: its bytes stay valid
// while the module is loaded. False when there is no such resource.
bool lock_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size);
// Lets go of a locked resource (nothing to do while the module stays loaded).
void free_resource(const unsigned char* data);

// A block of `size` bytes (at least one), or null; freed by memory_free.
unsigned char* memory_alloc(std::size_t size);
void memory_free(unsigned char* block);

}  // namespace ardelvine::platform
