// Stand-ins for the operating-system services that the module and the host
// both use: resources by id from a module handle, top-level windows found by
// class, and the running executable's path. The module and the host link this
// one shared library, as the module and the simulator both link the system's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "module/exports.h"

namespace ardelvine::platform {

using ModuleHandle = void*;
using WindowHandle = void*;

// The bytes of resource (type, id) of a loaded module, or false. The handle is
// the one the host got when it loaded the module.
bool find_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size);

// Every resource of a loaded module, or null.
const ResourceDirectory* resource_directory(ModuleHandle module);

// The host's main window: created under a class name, found by it.
WindowHandle create_window(const char* class_name);
void destroy_window(WindowHandle window);
WindowHandle find_window(const char* class_name);

// The full path of the running executable, zero-terminated and cut to fit;
// returns its length, 0 on failure.
std::size_t executable_path(char* buffer, std::size_t size);

}  // namespace ardelvine::platform
