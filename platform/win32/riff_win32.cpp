// The RIFF reader on the system's multimedia file services (mmio). A resource
// is read as an in-memory file through the built-in memory reader.
#include <windows.h>
#include <mmsystem.h>

#include <climits>

#include "platform/riff.h"

namespace ardelvine::platform {

namespace {

HMMIO handle(RiffFile* file) { return reinterpret_cast<HMMIO>(file); }

MMCKINFO to_system(const RiffChunk& chunk) {
    MMCKINFO info{};
    info.ckid = chunk.id;
    info.cksize = chunk.size;
    info.fccType = chunk.form;
    info.dwDataOffset = static_cast<DWORD>(chunk.data_offset);
    return info;
}

}  // namespace

RiffFile* riff_open_memory(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > LONG_MAX) return nullptr;
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    // The reader never writes: the resource's bytes are only lent to it.
    info.pchBuffer = reinterpret_cast<HPSTR>(const_cast<unsigned char*>(data));
    info.cchBuffer = static_cast<LONG>(size);
    return reinterpret_cast<RiffFile*>(mmioOpenA(nullptr, &info, MMIO_READWRITE | MMIO_ALLOCBUF));
}

RiffFile* riff_open_file(const char* path) {
    if (path == nullptr) return nullptr;
    return reinterpret_cast<RiffFile*>(mmioOpenA(const_cast<char*>(path), nullptr, MMIO_READ | MMIO_ALLOCBUF));
}

void riff_close(RiffFile* file) {
    if (file != nullptr) mmioClose(handle(file), 0);
}

bool riff_descend(RiffFile* file, RiffChunk* chunk, const RiffChunk* parent, RiffFind find) {
    if (file == nullptr || chunk == nullptr) return false;
    MMCKINFO info = to_system(*chunk);
    MMCKINFO outer{};
    if (parent != nullptr) outer = to_system(*parent);
    const UINT flags = find == RiffFind::RIFF ? MMIO_FINDRIFF : MMIO_FINDCHUNK;
    if (mmioDescend(handle(file), &info, parent != nullptr ? &outer : nullptr, flags) != MMSYSERR_NOERROR) return false;
    *chunk = RiffChunk{info.ckid, info.cksize, info.fccType, info.dwDataOffset};
    return true;
}

std::int64_t riff_read(RiffFile* file, void* out, std::size_t bytes) {
    if (file == nullptr || out == nullptr || bytes > LONG_MAX) return -1;
    return mmioRead(handle(file), static_cast<HPSTR>(out), static_cast<LONG>(bytes));
}

bool riff_ascend(RiffFile* file, const RiffChunk* chunk) {
    if (file == nullptr || chunk == nullptr) return false;
    MMCKINFO info = to_system(*chunk);
    return mmioAscend(handle(file), &info, 0) == MMSYSERR_NOERROR;
}

}  // namespace ardelvine::platform
