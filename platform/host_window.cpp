#include "platform/host_window.h"

#include <cstring>

namespace ardelvine::platform {

std::size_t path_name_offset(const char* path) {
    std::size_t name = 0;
    for (std::size_t i = 0; path[i] != '\0'; ++i)
        if (path[i] == '/' || path[i] == '\\' || (i == 1 && path[i] == ':')) name = i + 1;
    return name;
}

std::size_t path_stem_length(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot != nullptr ? static_cast<std::size_t>(dot - name) : std::strlen(name);
}

const char* host_window_class(const char* executable_path) {
    if (executable_path == nullptr) return kHostClassClassic;
    const char* name = executable_path + path_name_offset(executable_path);
    const std::size_t length = path_stem_length(name);
    if (length >= 4 && name[3] == '2') return kHostClassCurrent;
    if (length >= 1 && name[0] == 'C') return kHostClassCurrent;
    return kHostClassClassic;
}

}  // namespace ardelvine::platform
