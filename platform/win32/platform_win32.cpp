// The host's side of the platform services on Windows itself: resources
// from a module's resource section, a real top-level window, and libraries
// loaded by LoadLibraryA. What the module calls is in module_services_win32.cpp.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/import_trace.h"
#include "platform/win32/resource.h"
#include "resources/formats.h"

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

namespace {

// The system keeps a bitmap resource without the 14-byte header of a bitmap
// file. The host reads bitmaps with the one reader of bitmap files that the
// build's art check and the Linux host use, so it is handed the file: the
// header put back in front of a copy, made once per module and bitmap.
using BitmapKey = std::pair<ModuleHandle, std::uint32_t>;
std::map<BitmapKey, std::vector<unsigned char>>& bitmap_files() {
    static std::map<BitmapKey, std::vector<unsigned char>> files;
    return files;
}

constexpr std::size_t kFileHeaderBytes = 14;

// Where the pixels begin in the file: after the header, the information
// header, the three colour masks of a BITFIELDS bitmap with the short header,
// and the colour table. Nothing when the bitmap is too short to say.
std::optional<std::uint32_t> pixel_offset(std::span<const unsigned char> dib) {
    if (dib.size() < 40) return std::nullopt;
    const std::uint64_t info = resources::read_le(dib, 0, 4);
    const std::uint32_t bits = resources::read_le(dib, 14, 2), compression = resources::read_le(dib, 16, 4);
    const std::uint64_t colours = resources::read_le(dib, 32, 4);
    const std::uint64_t entries = colours != 0 || bits > 8 ? colours : std::uint64_t{1} << bits;
    const std::uint64_t masks = compression == 3 /* BI_BITFIELDS */ && info == 40 ? 12 : 0;
    const std::uint64_t offset = kFileHeaderBytes + info + masks + 4 * entries;
    if (offset > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

}  // namespace

bool find_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size) {
    LockedResource locked{};
    if (!win32::lock(module, type, id, &locked)) return false;
    std::span<const unsigned char> bytes(locked.bytes, locked.size);
    if (type == ResourceType::BITMAP) {
        std::vector<unsigned char>& file = bitmap_files()[{module, id}];
        if (file.empty()) {
            const auto offset = pixel_offset(bytes);
            const std::uint64_t total = kFileHeaderBytes + std::uint64_t{bytes.size()};
            if (!offset || total > UINT32_MAX) return false;
            file = {'B', 'M'};
            resources::append_le(file, static_cast<std::uint32_t>(total), 4);
            resources::append_le(file, 0, 4);  // reserved
            resources::append_le(file, *offset, 4);
            file.insert(file.end(), bytes.begin(), bytes.end());
        }
        bytes = file;
    }
    if (data != nullptr) *data = bytes.data();
    if (size != nullptr) *size = bytes.size();
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
    if (library == nullptr) return;
    // The handle may come back for another library.
    auto& files = bitmap_files();
    std::erase_if(files, [library](const auto& entry) { return entry.first.first == library; });
    FreeLibrary(static_cast<HMODULE>(library));
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
