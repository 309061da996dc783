#include "host/cli/resources_export.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "host/load/error.h"
#include "platform/platform.h"

namespace ardelvine::hostapp {

std::size_t export_resources(void* module_handle, const std::string& dir) {
    const ResourceDirectory* directory = platform::resource_directory(module_handle);
    if (directory == nullptr) throw InputError("the gauge module has no resource directory");
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) throw input_error(dir, 0, "cannot create folder: " + error.message());

    std::size_t written = 0;
    for (std::uint32_t i = 0; i < directory->count; ++i) {
        const ResourceEntry& entry = directory->entries[i];
        const char* kind = entry.type == ResourceType::BITMAP ? "bitmap-" : entry.type == ResourceType::WAVE ? "wave-" : nullptr;
        if (kind == nullptr) continue;
        const char* extension = entry.type == ResourceType::BITMAP ? ".bmp" : ".wav";
        const std::filesystem::path path =
            std::filesystem::path(dir) / (kind + std::to_string(entry.id) + extension);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(entry.begin), entry.end - entry.begin);
        if (!out) throw input_error(path.string(), 0, "cannot write");
        ++written;
    }
    return written;
}

}  // namespace ardelvine::hostapp
