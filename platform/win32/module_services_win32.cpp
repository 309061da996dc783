// The platform services the module itself calls on Windows, beside its
// sound, resources and RIFF reading: the host's main window found by class,
// and the path of the program that loaded the module.
#include <windows.h>

#include "platform/platform.h"

namespace ardelvine::platform {

WindowHandle find_window(const char* class_name) {
    if (class_name == nullptr) return nullptr;
    return FindWindowA(class_name, nullptr);
}

std::size_t executable_path(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    const DWORD n = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    if (n == 0) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[size - 1] = '\0';  // a cut path comes back unterminated on older systems
    return n < size ? n : size - 1;
}

}  // namespace ardelvine::platform
