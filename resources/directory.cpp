// The module's resource directory: every bitmap and sound of the catalogue,
// found by type and numeric id. The bytes themselves are assembled into the
// module from the files the art generator writes at build time; the assembler
// file names each one ard_bitmap_<id> / ard_wave_<id> with an _end label.
#include "module/exports.h"
#include "resources/catalogue.h"

#define ARD_DECLARE_BITMAP(id, ...) \
    extern const unsigned char ard_bitmap_##id[], ard_bitmap_##id##_end[];
#define ARD_DECLARE_WAVE(id, ...) extern const unsigned char ard_wave_##id[], ard_wave_##id##_end[];
extern "C" {
ARDELVINE_BITMAPS(ARD_DECLARE_BITMAP)
ARDELVINE_WAVES(ARD_DECLARE_WAVE)
}
#undef ARD_DECLARE_BITMAP
#undef ARD_DECLARE_WAVE

namespace {

using ardelvine::ResourceEntry;
using ardelvine::ResourceType;

#define ARD_BITMAP_ENTRY(id, ...) ResourceEntry{ResourceType::BITMAP, id, ard_bitmap_##id, ard_bitmap_##id##_end},
#define ARD_WAVE_ENTRY(id, ...) ResourceEntry{ResourceType::WAVE, id, ard_wave_##id, ard_wave_##id##_end},
const ResourceEntry entries[] = {
    ARDELVINE_BITMAPS(ARD_BITMAP_ENTRY)
    ARDELVINE_WAVES(ARD_WAVE_ENTRY)
};
#undef ARD_BITMAP_ENTRY
#undef ARD_WAVE_ENTRY

static_assert(std::size(entries) == ardelvine::resources::kBitmapCount + ardelvine::resources::kWaveCount);

}  // namespace

extern "C" {
const ardelvine::ResourceDirectory Resources = {static_cast<std::uint32_t>(std::size(entries)), entries};
}
