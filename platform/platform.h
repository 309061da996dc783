// Stand-ins for the operating-system services that the module and the host
// both use: resources by id from a module handle, top-level windows found by
// class, and the running executable's path. The module and the host link this
// one shared library, as the module and the simulator both link the system's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "module/exports.h"

namespace ardelvine::platform {

using ModuleHandle = void*;
using WindowHandle = void*;

// The bytes of resource (type, id) of a loaded module, or false. The handle is
// the one the host got when it loaded the module. A bitmap is a whole BMP file
// on every platform (on Windows the file header is put back in front of the
// resource, which the system keeps without it).
bool find_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size);

// Every resource of a loaded module, or null (always null on Windows, whose
// resource section is searched by id only).
const ResourceDirectory* resource_directory(ModuleHandle module);

// A library loaded by path and the records it exports by name. On failure
// load_library returns null and says why in `why` (when given).
ModuleHandle load_library(const char* path, std::string* why);
void* library_symbol(ModuleHandle library, const char* name);
void free_library(ModuleHandle library);

// The host's main window: created under a class name, found by it.
WindowHandle create_window(const char* class_name);
void destroy_window(WindowHandle window);
WindowHandle find_window(const char* class_name);

// The full path of the running executable, zero-terminated and cut to fit;
// returns its length, 0 on failure.
std::size_t executable_path(char* buffer, std::size_t size);

}  // namespace ardelvine::platform
