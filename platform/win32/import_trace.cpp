#include "platform/win32/import_trace.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ardelvine::platform::win32 {

namespace {

std::FILE* trace_file() {
    static std::FILE* file = [] {
        const char* path = std::getenv("ARD_IMPORT_TRACE");
        return path != nullptr && *path != '\0' ? std::fopen(path, "ab") : nullptr;
    }();
    return file;
}

void note(const char* format, ...) {
    std::FILE* file = trace_file();
    if (file == nullptr) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fflush(file);
}

// A four-character code as text.
struct Fourcc {
    char text[5];
};
Fourcc fourcc_text(DWORD code) {
    Fourcc f{};
    std::memcpy(f.text, &code, 4);
    for (int i = 0; i < 4; ++i)
        if (f.text[i] < 0x20 || f.text[i] > 0x7e) f.text[i] = '?';
    return f;
}

// Replaces one method of an object's interface table (shared by every object
// of its class), keeping the original for the wrapper to call.
template <typename Method>
void wrap_method(void* object, int slot, Method wrapper, Method* original) {
    void** table = *static_cast<void***>(object);
    void* const hook = reinterpret_cast<void*>(wrapper);
    if (table[slot] == hook) return;
    DWORD protection = 0;
    if (!VirtualProtect(&table[slot], sizeof(void*), PAGE_EXECUTE_READWRITE, &protection)) return;
    *original = reinterpret_cast<Method>(table[slot]);
    table[slot] = hook;
    VirtualProtect(&table[slot], sizeof(void*), protection, &protection);
}

// ---------------------------------------------------------------- DirectSound objects

// Interface-table slots, in declaration order of IDirectSound and IDirectSoundBuffer.
constexpr int kCreateSoundBufferSlot = 3;
constexpr int kSetCooperativeLevelSlot = 6;
constexpr int kPlaySlot = 12;

using CreateSoundBufferFn = HRESULT(WINAPI*)(IDirectSound*, LPCDSBUFFERDESC, LPDIRECTSOUNDBUFFER*, LPUNKNOWN);
using SetCooperativeLevelFn = HRESULT(WINAPI*)(IDirectSound*, HWND, DWORD);
using PlayFn = HRESULT(WINAPI*)(IDirectSoundBuffer*, DWORD, DWORD, DWORD);
CreateSoundBufferFn real_create_sound_buffer = nullptr;
SetCooperativeLevelFn real_set_cooperative_level = nullptr;
PlayFn real_play = nullptr;

HRESULT WINAPI play(IDirectSoundBuffer* self, DWORD reserved, DWORD priority, DWORD flags) {
    const HRESULT result = real_play(self, reserved, priority, flags);
    note("IDirectSoundBuffer::Play flags=%lu -> 0x%08lx", flags, static_cast<unsigned long>(result));
    return result;
}

HRESULT WINAPI create_sound_buffer(IDirectSound* self, LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                   LPUNKNOWN outer) {
    const HRESULT result = real_create_sound_buffer(self, desc, buffer, outer);
    const WAVEFORMATEX* format = desc != nullptr ? desc->lpwfxFormat : nullptr;
    note("IDirectSound::CreateSoundBuffer size=%lu flags=0x%lx bytes=%lu rate=%lu bits=%u -> 0x%08lx",
         desc ? desc->dwSize : 0ul, desc ? desc->dwFlags : 0ul, desc ? desc->dwBufferBytes : 0ul,
         format ? format->nSamplesPerSec : 0ul, format ? format->wBitsPerSample : 0u,
         static_cast<unsigned long>(result));
    if (SUCCEEDED(result) && buffer != nullptr && *buffer != nullptr) wrap_method(*buffer, kPlaySlot, &play, &real_play);
    return result;
}

HRESULT WINAPI set_cooperative_level(IDirectSound* self, HWND window, DWORD level) {
    const HRESULT result = real_set_cooperative_level(self, window, level);
    note("IDirectSound::SetCooperativeLevel window=%s level=%lu -> 0x%08lx", window ? "set" : "none", level,
         static_cast<unsigned long>(result));
    return result;
}

// ---------------------------------------------------------------- imported functions

decltype(&DirectSoundCreate) real_direct_sound_create = nullptr;
decltype(&FindWindowA) real_find_window = nullptr;
decltype(&FindResourceA) real_find_resource = nullptr;
decltype(&GlobalAlloc) real_global_alloc = nullptr;
decltype(&mmioOpenA) real_mmio_open = nullptr;
decltype(&mmioDescend) real_mmio_descend = nullptr;
decltype(&mmioRead) real_mmio_read = nullptr;

HRESULT WINAPI direct_sound_create(LPCGUID guid, LPDIRECTSOUND* device, LPUNKNOWN outer) {
    const HRESULT result = real_direct_sound_create(guid, device, outer);
    note("DirectSoundCreate -> 0x%08lx", static_cast<unsigned long>(result));
    if (SUCCEEDED(result) && device != nullptr && *device != nullptr) {
        wrap_method(*device, kCreateSoundBufferSlot, &create_sound_buffer, &real_create_sound_buffer);
        wrap_method(*device, kSetCooperativeLevelSlot, &set_cooperative_level, &real_set_cooperative_level);
    }
    return result;
}

HWND WINAPI find_window(LPCSTR class_name, LPCSTR title) {
    HWND window = real_find_window(class_name, title);
    note("FindWindowA class=%s -> %s", class_name ? class_name : "(none)", window ? "found" : "none");
    return window;
}

HRSRC WINAPI find_resource(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = real_find_resource(module, name, type);
    char type_text[32];
    if (IS_INTRESOURCE(type))
        std::snprintf(type_text, sizeof type_text, "%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)));
    else
        std::snprintf(type_text, sizeof type_text, "%s", type);
    if (IS_INTRESOURCE(name))
        note("FindResourceA type=%s id=%u -> %s", type_text, static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)),
             found ? "found" : "none");
    else
        note("FindResourceA type=%s name=%s -> %s", type_text, name, found ? "found" : "none");
    return found;
}

HGLOBAL WINAPI global_alloc(UINT flags, SIZE_T bytes) {
    HGLOBAL block = real_global_alloc(flags, bytes);
    note("GlobalAlloc flags=0x%x bytes=%lu -> %s", flags, static_cast<unsigned long>(bytes), block ? "ok" : "none");
    return block;
}

HMMIO WINAPI mmio_open(LPSTR file, LPMMIOINFO info, DWORD flags) {
    HMMIO opened = real_mmio_open(file, info, flags);
    if (info != nullptr && info->fccIOProc == FOURCC_MEM)
        note("mmioOpenA memory bytes=%ld flags=0x%lx -> %s", info->cchBuffer, flags, opened ? "ok" : "none");
    else
        note("mmioOpenA file=%s flags=0x%lx -> %s", file ? file : "(none)", flags, opened ? "ok" : "none");
    return opened;
}

MMRESULT WINAPI mmio_descend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    const Fourcc wanted = fourcc_text(chunk == nullptr ? 0 : (flags & MMIO_FINDRIFF) ? chunk->fccType : chunk->ckid);
    const MMRESULT result = real_mmio_descend(file, chunk, parent, flags);
    note("mmioDescend %s '%s' -> %u size=%lu", (flags & MMIO_FINDRIFF) ? "RIFF" : "chunk", wanted.text, result,
         result == MMSYSERR_NOERROR && chunk ? chunk->cksize : 0ul);
    return result;
}

LONG WINAPI mmio_read(HMMIO file, HPSTR out, LONG bytes) {
    const LONG read = real_mmio_read(file, out, bytes);
    note("mmioRead bytes=%ld -> %ld", bytes, read);
    return read;
}

struct ImportHook {
    const char* name;
    void* wrapper;
    void** original;
};

template <typename Fn>
ImportHook hook(const char* name, Fn wrapper, Fn* original) {
    return ImportHook{name, reinterpret_cast<void*>(wrapper), reinterpret_cast<void**>(original)};
}

}  // namespace

void trace_imports(void* library) {
    if (library == nullptr || trace_file() == nullptr) return;
    const ImportHook hooks[] = {
        hook("DirectSoundCreate", &direct_sound_create, &real_direct_sound_create),
        hook("FindWindowA", &find_window, &real_find_window),
        hook("FindResourceA", &find_resource, &real_find_resource),
        hook("GlobalAlloc", &global_alloc, &real_global_alloc),
        hook("mmioOpenA", &mmio_open, &real_mmio_open),
        hook("mmioDescend", &mmio_descend, &real_mmio_descend),
        hook("mmioRead", &mmio_read, &real_mmio_read),
    };
    auto* base = static_cast<BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const ImportHook& h : hooks) {
                if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), h.name) != 0) continue;
                DWORD protection = 0;
                if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection)) continue;
                *h.original = reinterpret_cast<void*>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(h.wrapper);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            }
        }
    }
    note("traced %s", "library loaded");
}

}  // namespace ardelvine::platform::win32
