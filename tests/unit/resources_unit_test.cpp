// The packaged resources against the catalogue, and the catalogue against
// every bitmap the gauges' element records can ask for.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <span>
#include <string>

#include "module/exports.h"
#include "resources/catalogue.h"
#include "resources/formats.h"

namespace ardelvine {
namespace {

using resources::ChunkOrder;

std::span<const unsigned char> packaged(ResourceType type, std::uint32_t id) {
    for (std::uint32_t i = 0; i < Resources.count; ++i) {
        const ResourceEntry& e = Resources.entries[i];
        if (e.type == type && e.id == id) return {e.begin, static_cast<std::size_t>(e.end - e.begin)};
    }
    return {};
}

TEST(ResourceCatalogue, DirectoryHoldsExactlyTheCatalogue) {
    EXPECT_EQ(Resources.count, 194u + 3u);
    std::set<std::pair<ResourceType, std::uint32_t>> seen;
    for (std::uint32_t i = 0; i < Resources.count; ++i)
        EXPECT_TRUE(seen.insert({Resources.entries[i].type, Resources.entries[i].id}).second)
            << "listed twice: " << Resources.entries[i].id;
    for (const auto& bitmap : resources::kBitmaps)
        EXPECT_TRUE(seen.contains({ResourceType::BITMAP, bitmap.id})) << bitmap.id;
    for (std::uint32_t id : {10u, 20u, 30u}) EXPECT_TRUE(seen.contains({ResourceType::WAVE, id})) << id;
    // Drawn by no element, but part of the module all the same.
    for (std::uint32_t id : {380u, 1290u, 1300u, 2070u, 3160u})
        EXPECT_FALSE(packaged(ResourceType::BITMAP, id).empty()) << id;
    EXPECT_TRUE(packaged(ResourceType::BITMAP, 2461).empty());
}

TEST(ResourceCatalogue, EveryBitmapHasItsSizeAndDepth) {
    for (const auto& record : resources::kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(record.id));
        std::string why;
        const auto layout = resources::read_bmp(packaged(ResourceType::BITMAP, record.id), &why);
        ASSERT_TRUE(layout) << why;
        EXPECT_EQ(layout->width, record.width);
        EXPECT_EQ(layout->height, record.height);
        EXPECT_EQ(layout->bits, static_cast<int>(record.depth));
        EXPECT_EQ(layout->pixel_offset, 14u + 40u + 4u * layout->palette_entries);
    }
    EXPECT_EQ(resources::read_bmp(packaged(ResourceType::BITMAP, 60))->bits, 24);
}

TEST(ResourceCatalogue, WavesHaveTheirExactFormats) {
    struct Case {
        std::uint32_t id;
        std::uint16_t bits;
        std::uint32_t data;
        std::vector<std::string> chunks;
    };
    const Case cases[] = {
        {10, 16, 3828, {"fmt ", "data"}},
        {20, 8, 10304, {"LIST", "fmt ", "data"}},
        {30, 16, 6014, {"fmt ", "data", "LIST"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("wave " + std::to_string(c.id));
        const auto bytes = packaged(ResourceType::WAVE, c.id);
        std::string why;
        const auto header = resources::read_wave_header(bytes, &why);
        ASSERT_TRUE(header) << why;
        std::vector<std::string> order;
        for (const auto& chunk : header->chunks) order.push_back(chunk.id);
        EXPECT_EQ(order, c.chunks);
        EXPECT_EQ(header->format_bytes, 16u);
        EXPECT_EQ(header->format_tag, 1);
        EXPECT_EQ(header->channels, 1);
        EXPECT_EQ(header->rate, 22050u);
        EXPECT_EQ(header->bits, c.bits);
        EXPECT_EQ(header->block_align, c.bits / 8);
        EXPECT_EQ(header->byte_rate, 22050u * c.bits / 8);
        EXPECT_EQ(header->data_bytes, c.data);
        EXPECT_EQ(std::size_t{resources::read_le(bytes, 4, 4)} + 8, bytes.size());

        // Audible: a real waveform, loud at the start and silent at the end.
        const auto& data = *std::find_if(header->chunks.begin(), header->chunks.end(),
                                         [](const auto& k) { return k.id == "data"; });
        auto sample = [&](std::size_t i) {
            return c.bits == 8 ? (bytes[data.offset + i] - 128) / 128.0
                               : static_cast<std::int16_t>(resources::read_le(bytes, data.offset + 2 * i, 2)) / 32768.0;
        };
        const std::size_t n = c.data / (c.bits / 8);
        double energy = 0, peak = 0;
        for (std::size_t i = 0; i < n; ++i) energy += sample(i) * sample(i), peak = std::max(peak, std::abs(sample(i)));
        EXPECT_GT(std::sqrt(energy / n), 0.02);
        EXPECT_GT(peak, 0.5);
        EXPECT_LT(std::abs(sample(n - 1)), 0.02);
    }
}

// Every bitmap an element can draw: a static image's, a needle's and a
// slider's id; an icon's ids from its own for each of its images; a moving
// image's and a sprite's picture and the window after it.
TEST(ResourceCatalogue, EveryBitmapAnElementCanDrawExists) {
    std::size_t checked = 0;
    for (std::size_t g = 0; Linkage.gauges[g] != nullptr; ++g) {
        const GaugeHeader* gauge = Linkage.gauges[g];
        ElementHeader** const root = gauge->elements;
        ASSERT_NE(root, nullptr) << gauge->name;
        for (const ElementHeader* e = root[0]; e != nullptr;
             e = e->children != nullptr ? e->children[0] : nullptr) {
            std::vector<std::uint32_t> ids;
            switch (e->kind) {
                case ElementKind::STRING: break;
                case ElementKind::STATIC_IMAGE:
                case ElementKind::NEEDLE:
                case ElementKind::SLIDER: ids = {e->bitmap}; break;
                case ElementKind::MOVING_IMAGE:
                case ElementKind::SPRITE: ids = {e->bitmap, e->bitmap + 1}; break;
                case ElementKind::ICON:
                    for (std::uint32_t i = 0; i < reinterpret_cast<const Icon*>(e)->images; ++i) {
                        // The generator lamp's second image is never selected by its
                        // callback, and the module has no bitmap for it.
                        if (std::string_view(gauge->name) == "Generator_Light" && e->bitmap + i == 2461) continue;
                        ids.push_back(e->bitmap + i);
                    }
                    break;
            }
            for (std::uint32_t id : ids) {
                SCOPED_TRACE(std::string(gauge->name) + " bitmap " + std::to_string(id));
                const auto* record = resources::find_bitmap(id);
                ASSERT_NE(record, nullptr);
                const auto layout = resources::read_bmp(packaged(ResourceType::BITMAP, id));
                ASSERT_TRUE(layout);
                EXPECT_EQ(layout->width, record->width);
                EXPECT_EQ(layout->height, record->height);
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 62u);
}

}  // namespace
}  // namespace ardelvine
