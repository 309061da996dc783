// Readers of the two resource file formats: a device-independent bitmap file
// (checked and decoded) and a RIFF WAVE file (its chunks and format). The art
// generator validates replacement art with them, the host draws bitmaps with
// them, and the tests check the packaged resources with them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ardelvine::resources {

inline std::uint32_t read_le(std::span<const unsigned char> bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

inline void append_le(std::vector<unsigned char>& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// An uncompressed bitmap file as the module's bitmaps are stored: a
// BITMAPINFOHEADER (or one of its longer successors), one colour plane,
// 8 bits with a colour table or 24 bits, rows stored bottom-up. This one set
// of rules decides both what the build packages as replacement art and what
// the host draws, so nothing is packaged that the host cannot draw.
inline constexpr std::int64_t kBmpMaxSide = 16384;

struct BmpLayout {
    int width = 0, height = 0;
    int bits = 0;                      // 8 or 24
    std::uint32_t palette_offset = 0;  // 8-bit: where the colour table starts
    std::uint32_t palette_entries = 0;  // 8-bit: entries in the table (at most 256)
    std::uint32_t pixel_offset = 0;
    std::uint32_t stride = 0;  // bytes per stored row, a multiple of 4
};

// The layout of a bitmap file after every check against the bytes at hand,
// or nothing and the reason. Whatever it accepts, decode_bmp draws.
inline std::optional<BmpLayout> read_bmp(std::span<const unsigned char> bytes, std::string* why = nullptr) {
    auto fail = [&](const std::string& reason) -> std::optional<BmpLayout> {
        if (why != nullptr) *why = reason;
        return std::nullopt;
    };
    if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M') return fail("not a BMP file");
    const std::uint32_t info = read_le(bytes, 14, 4);
    if (info != 40 && info != 52 && info != 56 && info != 108 && info != 124)
        return fail("has an information header of " + std::to_string(info) +
                    " bytes (a bitmap's is 40, 52, 56, 108 or 124)");
    if (14 + std::size_t{info} > bytes.size()) return fail("ends inside its header");
    const auto width = static_cast<std::int64_t>(static_cast<std::int32_t>(read_le(bytes, 18, 4)));
    const auto height = static_cast<std::int64_t>(static_cast<std::int32_t>(read_le(bytes, 22, 4)));
    const std::uint32_t planes = read_le(bytes, 26, 2), bits = read_le(bytes, 28, 2);
    const std::uint32_t compression = read_le(bytes, 30, 4), colours_used = read_le(bytes, 46, 4);
    if (width <= 0 || height == 0) return fail("has no pixels");
    if (height < 0) return fail("stores its rows top-down; save it bottom-up");
    if (width > kBmpMaxSide || height > kBmpMaxSide)
        return fail("is larger than " + std::to_string(kBmpMaxSide) + " pixels a side");
    if (planes != 1) return fail("has " + std::to_string(planes) + " colour planes (a bitmap has 1)");
    if (bits != 8 && bits != 24)
        return fail("has " + std::to_string(bits) + " bits per pixel (8 with a colour table, or 24)");
    if (compression != 0) return fail("is compressed; save it uncompressed");

    BmpLayout l;
    l.width = static_cast<int>(width);
    l.height = static_cast<int>(height);
    l.bits = static_cast<int>(bits);
    l.palette_offset = 14 + info;
    l.pixel_offset = read_le(bytes, 10, 4);
    std::uint64_t header_end = l.palette_offset;
    if (bits == 8) {
        if (colours_used > 256) return fail("has a colour table of " + std::to_string(colours_used) + " entries (at most 256)");
        l.palette_entries = colours_used == 0 ? 256 : colours_used;
        header_end += 4ull * l.palette_entries;
        if (l.pixel_offset <= l.palette_offset) return fail("is 8-bit without a colour table");
        if (header_end > l.pixel_offset) return fail("has a colour table that runs into its pixels");
    }
    if (l.pixel_offset < header_end) return fail("has its pixels inside its header");
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    l.stride = static_cast<std::uint32_t>(stride);
    if (std::uint64_t{l.pixel_offset} + stride * static_cast<std::uint64_t>(height) > bytes.size())
        return fail("has fewer pixel bytes than its size needs");
    return l;
}

// Draws a bitmap that read_bmp accepted into rows of 32-bit premultiplied
// ARGB words, top row first, `out_stride` bytes apart. Pure black (0,0,0) is
// the transparent colour of every bitmap and becomes 0; every other colour
// is opaque. An 8-bit index past the colour table is transparent.
inline void decode_bmp(const BmpLayout& l, std::span<const unsigned char> bytes, unsigned char* out,
                       std::size_t out_stride) {
    std::uint32_t palette[256] = {};
    for (std::uint32_t i = 0; i < l.palette_entries; ++i) {
        const std::size_t at = l.palette_offset + 4 * std::size_t{i};
        palette[i] = std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 1]} << 8 | bytes[at];
    }
    for (int y = 0; y < l.height; ++y) {
        const unsigned char* in = bytes.data() + l.pixel_offset + std::size_t{l.stride} * static_cast<std::size_t>(l.height - 1 - y);
        unsigned char* row = out + out_stride * static_cast<std::size_t>(y);
        for (int x = 0; x < l.width; ++x) {
            std::uint32_t rgb = 0;
            if (l.bits == 8) {
                rgb = palette[in[x]];
            } else {
                const unsigned char* p = in + 3 * static_cast<std::size_t>(x);
                rgb = std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
            }
            const std::uint32_t argb = rgb == 0 ? 0u : (0xFF000000u | rgb);
            std::memcpy(row + 4 * static_cast<std::size_t>(x), &argb, 4);
        }
    }
}

struct WaveChunk {
    std::string id;
    std::uint32_t size;
    std::size_t offset;  // of the chunk's data within the file
};

struct WaveHeader {
    std::vector<WaveChunk> chunks;  // the RIFF form's subchunks, in file order
    std::uint16_t format_tag = 0, channels = 0, block_align = 0, bits = 0;
    std::uint32_t rate = 0, byte_rate = 0;
    std::uint32_t format_bytes = 0, data_bytes = 0;
};

// The chunks and format of a RIFF WAVE file, or an explanation.
inline std::optional<WaveHeader> read_wave_header(std::span<const unsigned char> bytes, std::string* why = nullptr) {
    auto fail = [&](const char* reason) -> std::optional<WaveHeader> {
        if (why != nullptr) *why = reason;
        return std::nullopt;
    };
    auto tag_at = [&](std::size_t at) { return std::string(reinterpret_cast<const char*>(&bytes[at]), 4); };
    if (bytes.size() < 12 || tag_at(0) != "RIFF" || tag_at(8) != "WAVE") return fail("not a RIFF WAVE file");
    const std::size_t end = std::min<std::size_t>(bytes.size(), 8 + std::size_t{read_le(bytes, 4, 4)});
    WaveHeader header;
    bool have_format = false, have_data = false;
    for (std::size_t at = 12; at + 8 <= end;) {
        WaveChunk chunk{tag_at(at), read_le(bytes, at + 4, 4), at + 8};
        if (chunk.offset + chunk.size > end) return fail("a chunk runs past the end of the file");
        if (chunk.id == "fmt " && chunk.size >= 16) {
            have_format = true;
            header.format_bytes = chunk.size;
            header.format_tag = static_cast<std::uint16_t>(read_le(bytes, chunk.offset, 2));
            header.channels = static_cast<std::uint16_t>(read_le(bytes, chunk.offset + 2, 2));
            header.rate = read_le(bytes, chunk.offset + 4, 4);
            header.byte_rate = read_le(bytes, chunk.offset + 8, 4);
            header.block_align = static_cast<std::uint16_t>(read_le(bytes, chunk.offset + 12, 2));
            header.bits = static_cast<std::uint16_t>(read_le(bytes, chunk.offset + 14, 2));
        } else if (chunk.id == "data" && have_format && !have_data) {
            have_data = true;
            header.data_bytes = chunk.size;
        }
        header.chunks.push_back(chunk);
        at = chunk.offset + chunk.size + (chunk.size & 1);
    }
    if (!have_format) return fail("no \"fmt \" chunk");
    if (!have_data) return fail("no \"data\" chunk after \"fmt \"");
    return header;
}

}  // namespace ardelvine::resources
