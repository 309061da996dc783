// The module's bitmaps as Cairo surfaces, and the store the renderer draws
// them from.
//
// A bitmap resource is an uncompressed BMP (8 bits with a colour table, or 24
// bits) found by numeric id in the module's resource directory, read by the
// same reader (resources/formats.h) that checks replacement art at build time. Decoded, it
// becomes an ARGB32 image surface in which pure black (0,0,0), the module's
// transparent colour, is fully transparent and every other pixel opaque; the
// renderer draws elements whose transparency flag is clear as they are.
//
// At night an element's bitmap is drawn tinted: its colours multiplied by
// moonlight, or by the panel's light colour while it is lit. The store keeps
// each bitmap in the forms drawing needs (tinted copies, the padded pixels
// the turned-picture painter reads, whether it is opaque all over) and every
// window's background bitmap, each made once on first use.
//
// Drawn at a scale of 1.5 or more, an element's bitmap comes from the finer
// drawings of the same pictures when there are any (twice as fine from 1.5,
// three times from 2.5): the host keeps them in a pack beside the module
// (`Ardelvine_Instr.hires/` next to `Ardelvine_Instr.gau`, one
// `bitmap-<id>@2x.bmp` / `@3x.bmp` file each), since the module itself carries
// only what the simulator draws. A finer bitmap carries its factor as its
// device scale, so every record keeps its 1x coordinates; one whose size is
// not exactly its factor times the module's bitmap (art replaced since the
// pack was made) is not used, and the module's bitmap is enlarged instead.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/draw/bitmap_info.h"
#include "host/draw/cairo_handles.h"
#include "host/draw/turned.h"
#include "host/load/panel_config.h"

namespace ardelvine::hostapp {

// Decodes bitmap `id` into a new surface that the caller destroys; null when
// the module has no such bitmap or it cannot be decoded. Throws DrawingError
// when memory for the surface runs out.
cairo_surface_t* decode_bitmap(void* module, std::uint32_t id);
// A bitmap file (a window's background), decoded the same way; null when it
// cannot be read or decoded.
cairo_surface_t* decode_bitmap_file(const std::string& path);

// Decoded bitmaps of one module, each decoded once on first use.
class BitmapCache {
public:
    explicit BitmapCache(void* module) : module_(module) {}

    // The surface of bitmap `id`, owned by the cache; null when there is none.
    cairo_surface_t* get(std::uint32_t id);

private:
    void* module_;
    std::unordered_map<std::uint32_t, Surface> surfaces_;
};

// Decoded module bitmaps by resource id (ARGB32, transparent colour cleared).
// The source keeps ownership; null for an id it does not have.
using BitmapSource = std::function<cairo_surface_t*(std::uint32_t id)>;
// The finer drawing of a bitmap, `factor` (2 or 3) pixels to each of the
// module bitmap's, carrying the factor as its device scale; owned by the
// source, null where there is none.
using FineSource = std::function<cairo_surface_t*(std::uint32_t id, int factor)>;

// The pack of finer drawings that belongs to the module at `module_path`:
// the folder named like the module with `.hires` for its extension.
std::string fine_pack_of(const std::string& module_path);
// The finer drawings in a pack folder, each decoded once on first use; a
// missing folder or file gives null.
FineSource fine_bitmap_files(const std::string& pack_dir);
// Which finer drawing a picture drawn at `scale` uses: 1 (the module's
// bitmap), 2 or 3.
int fineness_for(double scale);

struct Lighting {
    bool night = false;
    bool panel_lights = false;
    // The panel's own colour for its lights at night ([Color] Night=); none:
    // a warm flood light.
    std::optional<RgbBytes> night_colour;
    bool operator==(const Lighting&) const = default;
};

// What an element's colours are multiplied by under a lighting.
enum class Tint : std::uint8_t { NONE, DARK, LIT };
Tint element_tint(std::uint32_t image_flags, Lighting lighting);
struct TintFactors {
    double r, g, b;
};
TintFactors tint_factors(Tint tint, const std::optional<RgbBytes>& night_colour = {});

// The bitmaps one renderer draws from, in every form it draws them.
class BitmapStore {
public:
    explicit BitmapStore(BitmapSource source, FineSource fine = {}, int fineness = 1)
        : source_(std::move(source)), fine_(std::move(fine)), fineness_(fineness) {}

    // The bitmap under a tint: the source's own for NONE, else a copy with
    // its colours multiplied, owned by the store. Null when there is none.
    cairo_surface_t* bitmap(std::uint32_t id, Tint tint);
    // The bitmap as it is painted: the finer drawing the store draws with
    // when it has one (its device scale says how fine), else `bitmap`.
    cairo_surface_t* drawn(std::uint32_t id, Tint tint);
    // Whether a bitmap has no transparent pixel.
    bool opaque(std::uint32_t id);
    // A bitmap's pixels with a transparent border, for painting it turned.
    const Padded& padded(cairo_surface_t* bitmap);
    // The openings of sprite windows, by placement, that the painter keeps.
    std::vector<Opening>& openings() { return openings_; }
    // A window's background bitmap, plain or darkened; null when it has none
    // or it cannot be read.
    cairo_surface_t* background(const WindowConfig& window, Tint tint);

    // Lit bitmaps take the colour of the panel's lights; another colour
    // drops every tinted bitmap and what was made from them. Returns whether
    // the colour changed.
    bool set_night_colour(const std::optional<RgbBytes>& colour);

private:
    cairo_surface_t* tinted(std::uint32_t id, cairo_surface_t* plain, int fineness, Tint tint);

    BitmapSource source_;
    FineSource fine_;
    int fineness_;
    // Finer drawings checked against their module bitmap, by id; null: none fits.
    std::unordered_map<std::uint32_t, cairo_surface_t*> fine_plain_;
    // The colour tinted bitmaps were made under.
    std::optional<RgbBytes> night_colour_;
    std::unordered_map<std::uint64_t, Surface> tinted_;
    std::unordered_map<std::uint32_t, bool> opaque_;
    // By the address of the surface, plain or tinted.
    std::unordered_map<cairo_surface_t*, Padded> padded_;
    std::vector<Opening> openings_;
    // Background bitmaps by window slot, plain and darkened; null when unreadable.
    std::map<std::size_t, Surface> backgrounds_, dark_backgrounds_;
};

}  // namespace ardelvine::hostapp
