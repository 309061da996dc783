#include "platform/memory.h"

#include <new>

#include "platform/fault.h"

namespace ardelvine::platform {

bool lock_resource(ModuleHandle module, ResourceType type, std::uint32_t id,
                   const unsigned char** data, std::size_t* size) {
    if (fault_step(FaultStep::RESOURCE_FIND)) return false;
    return find_resource(module, type, id, data, size);
}

void free_resource(const unsigned char*) {}

unsigned char* memory_alloc(std::size_t size) {
    if (fault_step(FaultStep::MEMORY)) return nullptr;
    return new (std::nothrow) unsigned char[size == 0 ? 1 : size];
}

void memory_free(unsigned char* block) { delete[] block; }

}  // namespace ardelvine::platform
