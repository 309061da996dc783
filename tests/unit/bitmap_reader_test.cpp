// The bitmap reader that both the build (replacement art) and the host
// (drawing) use: what it refuses, and that what it accepts is drawn the right
// way up with black transparent.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "resources/formats.h"

namespace ardelvine::resources {
namespace {

void put_le(std::vector<unsigned char>& b, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

// A bottom-up file of `width` x `height` pixels; 8-bit files get a table of
// `colours` entries where entry i is grey level i * 10 (entry 0 black).
std::vector<unsigned char> bmp(int width, int height, int bits, std::uint32_t colours = 4) {
    const std::uint32_t table = bits == 8 ? 4 * colours : 0;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t offset = 54 + table;
    std::vector<unsigned char> b(offset + stride * static_cast<std::uint32_t>(height), 0);
    b[0] = 'B', b[1] = 'M';
    put_le(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    put_le(b, 10, offset, 4);
    put_le(b, 14, 40, 4);
    put_le(b, 18, static_cast<std::uint32_t>(width), 4);
    put_le(b, 22, static_cast<std::uint32_t>(height), 4);
    put_le(b, 26, 1, 2);
    put_le(b, 28, static_cast<std::uint32_t>(bits), 2);
    put_le(b, 46, bits == 8 ? colours : 0, 4);
    for (std::uint32_t i = 0; i < table / 4; ++i)
        for (int c = 0; c < 3; ++c) b[54 + 4 * i + static_cast<std::uint32_t>(c)] = static_cast<unsigned char>(i * 10);
    return b;
}

TEST(BitmapReader, RefusesWhatItCannotDraw) {
    struct Case {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"not a bitmap", [](auto& b) { b[0] = 'X'; }, "not a BMP file"},
        {"header of an odd size", [](auto& b) { put_le(b, 14, 41, 4); }, "has an information header of 41 bytes"},
        {"old core header", [](auto& b) { put_le(b, 14, 12, 4); }, "has an information header of 12 bytes"},
        {"top-down rows", [](auto& b) { put_le(b, 22, static_cast<std::uint32_t>(-2), 4); }, "stores its rows top-down"},
        {"most negative height", [](auto& b) { put_le(b, 22, 0x80000000u, 4); }, "stores its rows top-down"},
        {"zero width", [](auto& b) { put_le(b, 18, 0, 4); }, "has no pixels"},
        {"two planes", [](auto& b) { put_le(b, 26, 2, 2); }, "has 2 colour planes"},
        {"16 bits", [](auto& b) { put_le(b, 28, 16, 2); }, "has 16 bits per pixel"},
        {"compressed", [](auto& b) { put_le(b, 30, 1, 4); }, "is compressed"},
        {"too many colours", [](auto& b) { put_le(b, 46, 257, 4); }, "has a colour table of 257 entries"},
        {"no colour table", [](auto& b) { put_le(b, 10, 54, 4); }, "is 8-bit without a colour table"},
        {"table into the pixels", [](auto& b) { put_le(b, 46, 5, 4); }, "has a colour table that runs into its pixels"},
        {"huge sides, few bytes", [](auto& b) { put_le(b, 18, 16000, 4), put_le(b, 22, 16000, 4); },
         "has fewer pixel bytes than its size needs"},
        {"wider than the cap", [](auto& b) { put_le(b, 18, 16385, 4); }, "is larger than 16384 pixels a side"},
        {"cut short", [](auto& b) { b.pop_back(); }, "has fewer pixel bytes than its size needs"},
        {"ends in its header", [](auto& b) { b.resize(30); }, "ends inside its header"},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> b = bmp(3, 2, 8);
        c.spoil(b);
        std::string why;
        EXPECT_FALSE(read_bmp(b, &why)) << c.name;
        EXPECT_EQ(why.rfind(c.reason, 0), 0u) << c.name << ": " << why;
    }
    std::vector<unsigned char> inside = bmp(3, 2, 24);
    put_le(inside, 10, 40, 4);
    std::string why;
    EXPECT_FALSE(read_bmp(inside, &why));
    EXPECT_EQ(why, "has its pixels inside its header");
}

TEST(BitmapReader, AcceptsTheFormsEditorsWrite) {
    for (int bits : {8, 24}) {
        const auto plain = read_bmp(bmp(3, 2, bits));
        ASSERT_TRUE(plain) << bits;
        EXPECT_EQ(plain->width, 3);
        EXPECT_EQ(plain->height, 2);
        EXPECT_EQ(plain->stride, bits == 8 ? 4u : 12u);
    }
    // A colour count of 0 means a full table of 256.
    std::vector<unsigned char> full = bmp(1, 1, 8, 256);
    put_le(full, 46, 0, 4);
    EXPECT_EQ(read_bmp(full)->palette_entries, 256u);
}

TEST(BitmapReader, DrawsBottomUpRowsWithBlackTransparent) {
    std::vector<unsigned char> b = bmp(2, 2, 8);
    const std::size_t pixels = 54 + 16;
    b[pixels + 0] = 1, b[pixels + 1] = 9;  // bottom row: grey 10, index past the table
    b[pixels + 4] = 0, b[pixels + 5] = 3;  // top row: black, grey 30
    const auto layout = read_bmp(b);
    ASSERT_TRUE(layout);
    // Sized from the layout read at run time, as every caller sizes it: a fixed
    // array lets the optimiser warn of rows the layout never has.
    std::vector<std::uint32_t> out(static_cast<std::size_t>(layout->width * layout->height));
    decode_bmp(*layout, b, reinterpret_cast<unsigned char*>(out.data()), 8);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], 0u);
    EXPECT_EQ(out[1], 0xFF1E1E1Eu);
    EXPECT_EQ(out[2], 0xFF0A0A0Au);
    EXPECT_EQ(out[3], 0u);

    std::vector<unsigned char> rgb = bmp(1, 1, 24);
    rgb[54] = 0x30, rgb[55] = 0x20, rgb[56] = 0x10;  // stored blue, green, red
    const auto one_pixel = read_bmp(rgb);
    ASSERT_TRUE(one_pixel);
    std::vector<std::uint32_t> one(static_cast<std::size_t>(one_pixel->width * one_pixel->height));
    decode_bmp(*one_pixel, rgb, reinterpret_cast<unsigned char*>(one.data()), 4);
    EXPECT_EQ(one[0], 0xFF102030u);
}

}  // namespace
}  // namespace ardelvine::resources
