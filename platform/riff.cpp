#include "platform/riff.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/fault.h"

namespace ardelvine::platform {

struct RiffFile {
    const unsigned char* memory;  // memory source, or
    std::FILE* stream;            // file source
    std::uint64_t size;
    std::uint64_t position;
};

namespace {

// Reads up to `bytes` at `offset`; the count read.
std::size_t read_at(RiffFile* file, std::uint64_t offset, void* out, std::size_t bytes) {
    if (offset >= file->size) return 0;
    const std::uint64_t left = file->size - offset;
    const std::size_t n = bytes < left ? bytes : static_cast<std::size_t>(left);
    if (n == 0) return 0;
    if (file->memory != nullptr) {
        std::memcpy(out, file->memory + offset, n);
        return n;
    }
    if (offset > static_cast<std::uint64_t>(LONG_MAX)) return 0;
    if (std::fseek(file->stream, static_cast<long>(offset), SEEK_SET) != 0) return 0;
    return std::fread(out, 1, n, file->stream);
}

std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

RiffFile* open(const unsigned char* memory, std::FILE* stream, std::uint64_t size) {
    return new (std::nothrow) RiffFile{memory, stream, size, 0};
}

}  // namespace

RiffFile* riff_open_memory(const unsigned char* data, std::size_t size) {
    if (fault_step(FaultStep::RIFF_OPEN)) return nullptr;
    if (data == nullptr && size != 0) return nullptr;
    return open(data, nullptr, size);
}

RiffFile* riff_open_file(const char* path) {
    if (fault_step(FaultStep::RIFF_OPEN)) return nullptr;
    if (path == nullptr || path[0] == '\0') return nullptr;
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return nullptr;
    long size = -1;
    if (std::fseek(stream, 0, SEEK_END) == 0) size = std::ftell(stream);
    RiffFile* file = size >= 0 ? open(nullptr, stream, static_cast<std::uint64_t>(size)) : nullptr;
    if (file == nullptr) std::fclose(stream);
    return file;
}

void riff_close(RiffFile* file) {
    if (file == nullptr) return;
    if (file->stream != nullptr) std::fclose(file->stream);
    delete file;
}

bool riff_descend(RiffFile* file, RiffChunk* chunk, const RiffChunk* parent, RiffFind find) {
    if (fault_step(FaultStep::RIFF_DESCEND)) return false;
    if (file == nullptr || chunk == nullptr) return false;
    std::uint64_t end = file->size;
    if (parent != nullptr && parent->data_offset + parent->size < end)
        end = parent->data_offset + parent->size;
    const std::uint32_t wanted_id = find == RiffFind::RIFF ? RIFF_ID : chunk->id;

    std::uint64_t at = file->position;
    while (at + 8 <= end) {
        unsigned char header[12];
        if (read_at(file, at, header, 8) != 8) return false;
        const std::uint32_t id = le32(header);
        const std::uint32_t size = le32(header + 4);
        const std::uint64_t data = at + 8;
        if (id == wanted_id && data + size <= file->size) {
            const bool has_form = id == RIFF_ID || id == LIST_ID;
            std::uint32_t form = 0;
            if (has_form) {
                if (size < 4 || read_at(file, data, header + 8, 4) != 4) return false;
                form = le32(header + 8);
            }
            if (find != RiffFind::RIFF || form == chunk->form) {
                *chunk = RiffChunk{id, size, form, data};
                file->position = data + (has_form ? 4 : 0);
                return true;
            }
        }
        at = data + size + (size & 1u);
    }
    return false;
}

std::int64_t riff_read(RiffFile* file, void* out, std::size_t bytes) {
    if (fault_step(FaultStep::RIFF_READ)) return -1;
    if (file == nullptr || (out == nullptr && bytes != 0)) return -1;
    const std::size_t n = read_at(file, file->position, out, bytes);
    if (n < bytes && file->stream != nullptr && std::ferror(file->stream)) return -1;
    file->position += n;
    return static_cast<std::int64_t>(n);
}

bool riff_ascend(RiffFile* file, const RiffChunk* chunk) {
    if (fault_step(FaultStep::RIFF_ASCEND)) return false;
    if (file == nullptr || chunk == nullptr) return false;
    file->position = chunk->data_offset + chunk->size + (chunk->size & 1u);
    return true;
}

}  // namespace ardelvine::platform
