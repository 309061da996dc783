// A RIFF reader in the manner of the system's multimedia file services: open
// a file or a block of memory, descend into chunks found by identifier,
// read, ascend past the chunk to its even-padded end, close.
//
// The reader never reads outside its source: a read near the end returns
// fewer bytes, and a chunk whose declared data runs past the end of the source
// is never found (its bytes could not be delivered).
#pragma once

#include <cstddef>
#include <cstdint>

namespace ardelvine::platform {

constexpr std::uint32_t fourcc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(a)) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(d)) << 24;
}

inline constexpr std::uint32_t RIFF_ID = fourcc('R', 'I', 'F', 'F');
inline constexpr std::uint32_t LIST_ID = fourcc('L', 'I', 'S', 'T');

struct RiffFile;

struct RiffChunk {
    std::uint32_t id;           // chunk identifier (what to find, on entry)
    std::uint32_t size;         // bytes of data, form type included for RIFF and LIST
    std::uint32_t form;         // form or list type of a RIFF or LIST chunk
    std::uint64_t data_offset;  // where the data begins in the source
};

enum class RiffFind : std::uint32_t {
    CHUNK,  // the next chunk with chunk.id
    RIFF,   // the next "RIFF" chunk with form type chunk.form
};

// Opens a copy-free view of `size` bytes, or a named file; null on failure.
RiffFile* riff_open_memory(const unsigned char* data, std::size_t size);
RiffFile* riff_open_file(const char* path);
void riff_close(RiffFile* file);

// Searches from the current position up to the end of `parent` (or of the
// source when parent is null), skipping other chunks. On success fills
// `chunk` and leaves the position at the start of its data (after the form
// type for RIFF and LIST). On failure the position is unspecified.
bool riff_descend(RiffFile* file, RiffChunk* chunk, const RiffChunk* parent, RiffFind find);

// Reads up to `bytes` bytes from the current position; the count read, or -1
// on error. Reads are not bounded by the current chunk, only by the source.
std::int64_t riff_read(RiffFile* file, void* out, std::size_t bytes);

// Moves to the end of `chunk`, padded to an even length.
bool riff_ascend(RiffFile* file, const RiffChunk* chunk);

}  // namespace ardelvine::platform
