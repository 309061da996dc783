// Readers for the headers of the two resource file formats: a device-
// independent bitmap file (BITMAPFILEHEADER + BITMAPINFOHEADER) and a RIFF
// WAVE file. They check structure and report geometry and format; they do not
// decode pixels or samples. The art generator validates replacement art with
// them, and the tests check the packaged resources with them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
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

struct BmpHeader {
    std::int32_t width = 0, height = 0;  // height negative for a top-down bitmap
    std::uint16_t bits = 0;
    std::uint32_t compression = 0;
    std::uint32_t colours_used = 0;
    std::uint32_t pixel_offset = 0;
};

// The header of a BMP file, or an explanation of what is wrong with it.
inline std::optional<BmpHeader> read_bmp_header(std::span<const unsigned char> bytes, std::string* why = nullptr) {
    auto fail = [&](const char* reason) -> std::optional<BmpHeader> {
        if (why != nullptr) *why = reason;
        return std::nullopt;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return fail("not a BMP file");
    if (read_le(bytes, 14, 4) < 40) return fail("not a BITMAPINFOHEADER bitmap");
    BmpHeader header;
    header.pixel_offset = read_le(bytes, 10, 4);
    header.width = static_cast<std::int32_t>(read_le(bytes, 18, 4));
    header.height = static_cast<std::int32_t>(read_le(bytes, 22, 4));
    header.bits = static_cast<std::uint16_t>(read_le(bytes, 28, 2));
    header.compression = read_le(bytes, 30, 4);
    header.colours_used = read_le(bytes, 46, 4);
    if (header.width <= 0 || header.height == 0) return fail("empty bitmap");
    const std::uint64_t stride = (static_cast<std::uint64_t>(header.width) * header.bits + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(header.height < 0 ? -std::int64_t{header.height} : header.height);
    if (header.compression == 0 && header.pixel_offset + stride * rows > bytes.size())
        return fail("pixel data shorter than the header says");
    return header;
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
