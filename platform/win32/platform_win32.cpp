// The host's side of the platform services on Windows itself: resources
// from a module's resource section, a real top-level window, and libraries
// loaded by LoadLibraryA. What the module calls is in module_services_win32.cpp.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/win32/import_trace.h"
#include "platform/win32/resource.h"

namespace ardelvine::platform {

namespace win32 {

std::string error_text(unsigned long code) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
    std::string why(text, n);
    // Some texts leave a place for the file name, which the caller gives.
    if (const auto insert = why.find(" for %1"); insert != std::string::npos) why.erase(insert, 7);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' ' || why.back() == '.'))
        why.pop_back();
    if (why.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "system error %lu", code);
        why = number;
    }
    return why;
}

}  // namespace win32

bool find_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size) {
    LockedResource locked{};
    if (!win32::lock(module, type, id, &locked)) return false;
    if (data != nullptr) *data = locked.bytes;
    if (size != nullptr) *size = locked.size;
    return true;
}

const ResourceDirectory* resource_directory(ModuleHandle) { return nullptr; }

ModuleHandle load_library(const char* path, std::string* why) {
    if (path == nullptr) return nullptr;
    // The system wants backslashes in paths it resolves itself.
    std::string native(path);
    for (char& c : native)
        if (c == '/') c = '\\';
    HMODULE library = LoadLibraryA(native.c_str());
    if (library == nullptr) {
        if (why != nullptr) *why = win32::error_text(GetLastError());
        return nullptr;
    }
    win32::trace_imports(library);
    return library;
}

void* library_symbol(ModuleHandle library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void free_library(ModuleHandle library) {
    if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}

namespace {

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcA(window, message, w, l);
}

}  // namespace

// The window is never shown: it exists so that the module, which looks for
// its host's main window by class, finds one.
WindowHandle create_window(const char* class_name) {
    if (class_name == nullptr) return nullptr;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.lpszClassName = class_name;
    if (RegisterClassA(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return CreateWindowExA(0, class_name, "gaugehost", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                           nullptr, nullptr, instance, nullptr);
}

void destroy_window(WindowHandle window) {
    if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

}  // namespace ardelvine::platform
