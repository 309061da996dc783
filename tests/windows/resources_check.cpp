// Checks the Windows module's resource section against the catalogue: every
// bitmap a BITMAP resource and every sound a "WAVE" resource under its id, in
// language 1036, with the catalogue's size, depth and format, and nothing
// else of either type, and the version resource with the project's version.
// Run under Wine with the module's path; prints one line
// per fault and exits 1 when there is any.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <span>
#include <string>

#include "resources/catalogue.h"
#include "resources/formats.h"

using namespace ardelvine;

namespace {

int faults = 0;

void fault(const std::string& what) {
    std::printf("FAIL: %s\n", what.c_str());
    ++faults;
}

constexpr WORD kLanguage = MAKELANGID(0x0C, 0x01);  // 1036

std::span<const unsigned char> resource(HMODULE module, const char* type, std::uint32_t id) {
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kLanguage);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return {static_cast<const unsigned char*>(bytes), SizeofResource(module, found)};
}

BOOL CALLBACK collect(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<std::uint32_t>*>(ids)->insert(static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(name)));
    else
        reinterpret_cast<std::set<std::uint32_t>*>(ids)->insert(0xFFFFFFFFu);  // a named resource is a fault
    return TRUE;
}

std::set<std::uint32_t> ids_of(HMODULE module, const char* type) {
    std::set<std::uint32_t> ids;
    EnumResourceNamesA(module, type, collect, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

void check_bitmap(HMODULE module, const resources::BitmapRecord& r) {
    const std::string name = "bitmap " + std::to_string(r.id);
    const auto bytes = resource(module, MAKEINTRESOURCEA(2) /* RT_BITMAP */, r.id);
    if (bytes.size() < 40) return fault(name + ": no BITMAP resource in language 1036");
    // A bitmap resource is the file without its 14-byte file header.
    const auto width = static_cast<std::int32_t>(resources::read_le(bytes, 4, 4));
    const auto height = static_cast<std::int32_t>(resources::read_le(bytes, 8, 4));
    const auto bits = resources::read_le(bytes, 14, 2);
    const auto compression = resources::read_le(bytes, 16, 4);
    const auto colours = resources::read_le(bytes, 32, 4);
    if (resources::read_le(bytes, 0, 4) != 40) fault(name + ": not a BITMAPINFOHEADER bitmap");
    if (width != r.width || (height != r.height && height != -r.height))
        fault(name + ": " + std::to_string(width) + "x" + std::to_string(height) + ", not " + std::to_string(r.width) +
              "x" + std::to_string(r.height));
    if (bits != static_cast<std::uint32_t>(r.depth)) fault(name + ": " + std::to_string(bits) + " bits per pixel");
    if (compression != 0) fault(name + ": compressed");
    const std::size_t palette = bits == 8 ? 4 * (colours != 0 ? colours : 256) : 0;
    if (bits == 8 && colours > 256) fault(name + ": more than 256 colours");
    const std::size_t stride = (static_cast<std::size_t>(r.width) * bits + 31) / 32 * 4;
    if (bytes.size() < 40 + palette + stride * r.height)
        fault(name + ": " + std::to_string(bytes.size()) + " bytes, too short for its pixels");
}

void check_wave(HMODULE module, const resources::WaveRecord& r) {
    const std::string name = "WAVE " + std::to_string(r.id);
    const auto bytes = resource(module, "WAVE", r.id);
    std::string why;
    const auto header = resources::read_wave_header(bytes, &why);
    if (!header) return fault(name + ": " + (bytes.empty() ? std::string("no such resource in language 1036") : why));
    if (header->format_tag != 1 || header->channels != 1 || header->rate != resources::kWaveRate)
        fault(name + ": not mono PCM at 22050 samples per second");
    if (header->bits != r.bits_per_sample) fault(name + ": " + std::to_string(header->bits) + " bits per sample");
    if (header->data_bytes != r.data_bytes) fault(name + ": " + std::to_string(header->data_bytes) + " data bytes");
    if (header->format_bytes != 16) fault(name + ": fmt chunk of " + std::to_string(header->format_bytes) + " bytes");
}

// The version resource gives the project's version (ARD_PROJECT_VERSION,
// "x.y.z") as file and product version, both in its fixed part and as the
// FileVersion and ProductVersion texts "x.y.z.0".
void check_version(HMODULE module) {
    const auto bytes = resource(module, MAKEINTRESOURCEA(16) /* RT_VERSION */, 1);
    if (bytes.empty()) return fault("no version resource in language 1036");
    unsigned major = 0, minor = 0, patch = 0;
    std::sscanf(ARD_PROJECT_VERSION, "%u.%u.%u", &major, &minor, &patch);
    const std::uint32_t high = major << 16 | minor, low = patch << 16;
    // VS_FIXEDFILEINFO: its signature, then file and product version words.
    std::size_t at = 0;
    while (at + 52 <= bytes.size() && resources::read_le(bytes, at, 4) != 0xFEEF04BDu) at += 4;
    if (at + 52 > bytes.size()) return fault("version resource without its fixed part");
    if (resources::read_le(bytes, at + 8, 4) != high || resources::read_le(bytes, at + 12, 4) != low ||
        resources::read_le(bytes, at + 16, 4) != high || resources::read_le(bytes, at + 20, 4) != low)
        fault(std::string("fixed file or product version is not ") + ARD_PROJECT_VERSION);
    // The texts are UTF-16: "FileVersion", padding to four bytes, the value.
    const std::string text = std::string(ARD_PROJECT_VERSION) + ".0";
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        std::u16string wanted(key, key + std::strlen(key));
        const auto* units = reinterpret_cast<const char16_t*>(bytes.data());
        const std::u16string all(units, bytes.size() / 2);
        const auto found = all.find(wanted + u'\0');
        std::size_t value = found == std::u16string::npos ? found : found + wanted.size() + 1;
        while (value < all.size() && all[value] == u'\0') ++value;
        if (value >= all.size() || all.compare(value, text.size(), std::u16string(text.begin(), text.end())) != 0)
            fault(std::string(key) + " is not " + text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: resources_check MODULE.gau\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        std::printf("FAIL: %s: cannot load\n", argv[1]);
        return 1;
    }
    std::set<std::uint32_t> expected_bitmaps, expected_waves;
    for (const resources::BitmapRecord& r : resources::kBitmaps) {
        expected_bitmaps.insert(r.id);
        check_bitmap(module, r);
    }
    for (const resources::WaveRecord& r : resources::kWaves) {
        expected_waves.insert(r.id);
        check_wave(module, r);
    }
    if (ids_of(module, MAKEINTRESOURCEA(2)) != expected_bitmaps) fault("BITMAP resources other than the catalogue's");
    if (ids_of(module, "WAVE") != expected_waves) fault("WAVE resources other than the catalogue's");
    check_version(module);
    std::printf("%zu bitmaps and %zu sounds checked, %d fault(s)\n", expected_bitmaps.size(), expected_waves.size(),
                faults);
    return faults == 0 ? 0 : 1;
}
