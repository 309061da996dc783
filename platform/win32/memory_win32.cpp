// Resources and sample memory for the sound loader, through the system's
// resource functions and movable global memory.
#include <windows.h>

#include "platform/memory.h"
#include "platform/win32/resource.h"

namespace ardelvine::platform {

namespace win32 {

bool lock(ModuleHandle module, ResourceType type, std::uint32_t id, LockedResource* out) {
    const char* kind = type == ResourceType::WAVE ? "WAVE" : MAKEINTRESOURCEA(2) /* RT_BITMAP */;
    HRSRC found = FindResourceA(static_cast<HMODULE>(module), MAKEINTRESOURCEA(id), kind);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(static_cast<HMODULE>(module), found);
    if (loaded == nullptr) return false;
    void* bytes = LockResource(loaded);
    const DWORD size = SizeofResource(static_cast<HMODULE>(module), found);
    if (bytes == nullptr || size == 0) {
        FreeResource(loaded);
        return false;
    }
    *out = LockedResource{static_cast<const unsigned char*>(bytes), size, loaded};
    return true;
}

}  // namespace win32

namespace {

// The sound loader holds one resource at a time between lock and free; a few
// slots leave room for more without any allocation.
LockedResource held[4];

}  // namespace

bool lock_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size) {
    LockedResource locked{};
    if (!win32::lock(module, type, id, &locked)) return false;
    for (LockedResource& slot : held) {
        if (slot.bytes == nullptr) {
            slot = locked;
            break;
        }
    }
    if (data != nullptr) *data = locked.bytes;
    if (size != nullptr) *size = locked.size;
    return true;
}

void free_resource(const unsigned char* data) {
    for (LockedResource& slot : held) {
        if (slot.bytes != nullptr && slot.bytes == data) {
            FreeResource(slot.loaded);
            slot = LockedResource{};
            return;
        }
    }
}

unsigned char* memory_alloc(std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
    if (block == nullptr) return nullptr;
    void* bytes = GlobalLock(block);
    if (bytes == nullptr) GlobalFree(block);
    return static_cast<unsigned char*>(bytes);
}

void memory_free(unsigned char* bytes) {
    if (bytes == nullptr) return;
    HGLOBAL block = GlobalHandle(bytes);
    if (block == nullptr) return;
    GlobalUnlock(block);
    GlobalFree(block);
}

}  // namespace ardelvine::platform
