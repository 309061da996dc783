#include "platform/platform.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace ardelvine::platform {

const ResourceDirectory* resource_directory(ModuleHandle module) {
    if (module == nullptr) return nullptr;
    return static_cast<const ResourceDirectory*>(dlsym(module, kResourceSymbol));
}

bool find_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size) {
    const ResourceDirectory* directory = resource_directory(module);
    if (directory == nullptr) return false;
    for (std::uint32_t i = 0; i < directory->count; ++i) {
        const ResourceEntry& entry = directory->entries[i];
        if (entry.type == type && entry.id == id) {
            if (data != nullptr) *data = entry.begin;
            if (size != nullptr) *size = static_cast<std::size_t>(entry.end - entry.begin);
            return true;
        }
    }
    return false;
}

ModuleHandle load_library(const char* path, std::string* why) {
    ModuleHandle library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr && why != nullptr) {
        const char* error = dlerror();
        *why = error != nullptr ? error : "unknown error";
    }
    return library;
}

void* library_symbol(ModuleHandle library, const char* name) {
    return library != nullptr ? dlsym(library, name) : nullptr;
}

void free_library(ModuleHandle library) {
    if (library != nullptr) dlclose(library);
}

namespace {

struct Window {
    std::string class_name;
};

std::vector<std::unique_ptr<Window>>& windows() {
    static std::vector<std::unique_ptr<Window>> list;
    return list;
}

}  // namespace

WindowHandle create_window(const char* class_name) {
    if (class_name == nullptr) return nullptr;
    windows().push_back(std::make_unique<Window>(Window{class_name}));
    return windows().back().get();
}

void destroy_window(WindowHandle window) {
    auto& list = windows();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->get() == window) {
            list.erase(it);
            return;
        }
    }
}

WindowHandle find_window(const char* class_name) {
    if (class_name == nullptr) return nullptr;
    for (const auto& window : windows())
        if (window->class_name == class_name) return window.get();
    return nullptr;
}

std::size_t executable_path(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    ssize_t n = readlink("/proc/self/exe", buffer, size - 1);
    if (n <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[n] = '\0';
    return static_cast<std::size_t>(n);
}

}  // namespace ardelvine::platform
