// The host's view of the module's resources: bitmaps decoded into surfaces
// with black made transparent, and the export of every resource to files.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/draw/bitmaps.h"
#include "host/load/error.h"
#include "host/cli/resources_export.h"
#include "platform/platform.h"
#include "resources/formats.h"
#include "tests/run_program.h"

namespace ardelvine::hostapp {
namespace {

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = dlopen(ARD_DEFAULT_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module_, nullptr) << dlerror();
    }
    void TearDown() override {
        if (module_ != nullptr) dlclose(module_);
    }
    void* module_ = nullptr;
};

TEST_F(ModuleResources, BitmapInfoGivesCatalogueSizes) {
    struct Case {
        std::uint32_t id;
        int width, height;
    };
    for (const Case& c : {Case{1400, 300, 300}, {60, 19, 19}, {480, 1219, 53}, {1410, 152, 36}, {7000, 319, 600}}) {
        const auto info = bitmap_info(module_, c.id);
        ASSERT_TRUE(info) << c.id;
        EXPECT_EQ(info->width, c.width) << c.id;
        EXPECT_EQ(info->height, c.height) << c.id;
    }
    EXPECT_FALSE(bitmap_info(module_, 2461));
    EXPECT_FALSE(bitmap_info(module_, 10));  // a sound, not a bitmap
    EXPECT_FALSE(bitmap_info(nullptr, 1400));
}

// Every pixel of a decoded bitmap is either fully transparent (black in the
// file) or opaque, and a needle has both.
TEST_F(ModuleResources, DecodedBitmapsAreOpaqueOrTransparent) {
    BitmapCache cache(module_);
    for (std::uint32_t id : {1410u, 60u, 2380u}) {
        cairo_surface_t* s = cache.get(id);
        ASSERT_NE(s, nullptr) << id;
        EXPECT_EQ(cache.get(id), s) << "decoded once";
        const auto info = bitmap_info(module_, id);
        ASSERT_EQ(cairo_image_surface_get_width(s), info->width);
        ASSERT_EQ(cairo_image_surface_get_height(s), info->height);
        int transparent = 0, opaque = 0;
        for (int y = 0; y < info->height; ++y) {
            const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
            for (int x = 0; x < info->width; ++x) {
                std::uint32_t p;
                std::memcpy(&p, row + 4 * x, 4);
                if (p == 0) ++transparent;
                else if ((p >> 24) == 0xFF) ++opaque;
                else ADD_FAILURE() << id << " has a half-transparent pixel at " << x << "," << y;
            }
        }
        EXPECT_GT(transparent, 0) << id;
        EXPECT_GT(opaque, 0) << id;
    }
    EXPECT_EQ(cache.get(2461), nullptr);
}

TEST_F(ModuleResources, ExportWritesEveryResourceByteForByte) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "ardelvine-export";
    std::filesystem::remove_all(dir);
    EXPECT_EQ(export_resources(module_, dir.string()), 197u);
    for (const auto& [type, id, name] : {std::tuple{ResourceType::BITMAP, 1400u, "bitmap-1400.bmp"},
                                         {ResourceType::BITMAP, 60u, "bitmap-60.bmp"},
                                         {ResourceType::WAVE, 20u, "wave-20.wav"}}) {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        ASSERT_TRUE(platform::find_resource(module_, type, id, &data, &size));
        std::ifstream in(dir / name, std::ios::binary);
        const std::vector<char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_EQ(file.size(), size) << name;
        EXPECT_EQ(std::memcmp(file.data(), data, size), 0) << name;
    }
    std::filesystem::remove_all(dir);
    EXPECT_THROW(export_resources(nullptr, dir.string()), InputError);
}

// Replacement art passes the same reader the host draws with: a file the host
// could not draw stops the build naming the file and why, and a name the
// package would never include is not counted as packaged.
TEST(ReplacementArt, BuildRefusesWhatTheHostCannotDraw) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / "ardelvine-art";
    const fs::path art = dir / "art", out = dir / "out";
    const std::string generator = std::string(ARD_GEN_ASSETS) + " --out " + out.string() + " --asm " +
                                  (dir / "r.S").string() + " --art " + art.string();
    auto bitmap = [&](std::uint32_t id) {
        std::ifstream in(fs::path(ARD_ASSET_DIR) / ("bitmap-" + std::to_string(id) + ".bmp"), std::ios::binary);
        return std::vector<char>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    };
    auto write = [&](const std::string& name, const std::vector<char>& bytes) {
        fs::remove_all(art);
        fs::create_directories(art);
        std::ofstream(art / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    std::vector<char> good = bitmap(60);
    ASSERT_GT(good.size(), 54u);

    write("bitmap-60.bmp", good);
    auto run = ardelvine::testing::run_program(generator);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("packaged 1 replacement"), std::string::npos) << run.output;
    // Generated pictures come finer too, at the same depth; a replaced one
    // does not, so a host enlarges the replacement rather than the picture
    // it replaced.
    for (const auto& [name, size] : {std::pair{"bitmap-1400@2x.bmp", 600}, {"bitmap-1400@3x.bmp", 900}}) {
        std::ifstream in(out / name, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto layout = resources::read_bmp(bytes);
        ASSERT_TRUE(layout) << name;
        EXPECT_EQ(layout->width, size) << name;
        EXPECT_EQ(layout->bits, 8) << name;
    }
    EXPECT_FALSE(fs::exists(out / "bitmap-60@2x.bmp"));
    EXPECT_TRUE(fs::exists(out / "bitmap-50@2x.bmp"));

    write("bitmap-060.bmp", good);
    run = ardelvine::testing::run_program(generator);
    EXPECT_NE(run.output.find("packaged 0 replacement"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("bitmap-060.bmp: ignored"), std::string::npos) << run.output;

    std::vector<char> top_down = good;
    for (int i = 0; i < 4; ++i) top_down[22 + i] = static_cast<char>((-19 >> (8 * i)) & 0xFF);
    write("bitmap-60.bmp", top_down);
    run = ardelvine::testing::run_program(generator);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("bitmap-60.bmp: stores its rows top-down"), std::string::npos) << run.output;
    fs::remove_all(dir);
}

}  // namespace
}  // namespace ardelvine::hostapp
