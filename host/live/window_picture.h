// A drawn picture of a live panel window and what changed from the one
// before it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

#include "host/draw/render.h"

namespace ardelvine::hostapp {

// One drawn picture of a panel window, never changed once published.
//
// Its PNG is made when a reader first asks, from bands of rows deflated
// apart: a band whose pixels are the same in the window's picture before
// (its basis) is copied from that picture's PNG rather than deflated again.
// A click or a turning needle changes a few bands of a large window, so its
// next picture costs a fraction of a whole one.
struct WindowPicture {
    static constexpr int kBandRows = 32;

    int index = 0;              // NN of [WindowNN]
    std::uint64_t version = 0;  // counts the window's changed pictures, from 1
    std::uint64_t update = 0;   // the panel update it shows
    int width = 0, height = 0, stride = 0;
    // Cairo ARGB32 rows in bands of kBandRows (the last may be short); a band
    // the same as in the picture before is that picture's own, shared, so
    // that a picture costs the copy of the bands that changed.
    std::vector<std::shared_ptr<const std::vector<unsigned char>>> bands_of_rows;
    const unsigned char* row(int y) const {
        return bands_of_rows[static_cast<std::size_t>(y / kBandRows)]->data() + static_cast<std::size_t>(stride) * (y % kBandRows);
    }
    // Sets every band from `data`, rows of the picture's size and stride.
    void set_pixels(const unsigned char* data);
    // Band `n` copied from `data`.
    static std::shared_ptr<const std::vector<unsigned char>> band_of(const unsigned char* data, int stride, int height, int n);
    // The pixels are the renderer's own picture, nothing drawn over them: the
    // renderer's account of where it drew next is where the next one differs.
    bool plain = false;

    // A rectangle of the picture's pixels.
    struct Rect {
        int x = 0, y = 0, w = 0, h = 0;
        bool operator==(const Rect&) const = default;
    };
    // Changes are told in tiles of kTileColumns by kBandRows pixels (cut at
    // the picture's edges), runs of a band's tiles joined into one rectangle
    // and a run the same as the one above it joined to it.
    static constexpr int kTileColumns = 64;
    // What was drawn anew from one picture of the window at this scale to the
    // next: `to` is the next one's version, `from` the one before.
    struct Change {
        std::uint64_t from = 0, to = 0;
        std::vector<Rect> rects;
    };
    // The changes that led to this picture, oldest first, the last being the
    // one from the picture drawn just before it; none when that picture had
    // another size.
    static constexpr std::size_t kKeptChanges = 16;
    std::vector<Change> changes;

    // Where this picture differs from the one a reader shows, told as the
    // version it was handed (`shown`; `served` is the newest version this
    // picture is handed out under): no rectangles when nowhere, nullopt when
    // the changes kept do not reach back to it. A picture is handed out under
    // its own version up to, not including, the next picture's.
    std::optional<std::vector<Rect>> changed_since(std::uint64_t shown, std::uint64_t served) const;

    // A patch: rectangles of the picture packed into one smaller one, each
    // `from` where it sits in the picture `at` where it sits in the patch.
    struct Piece {
        Rect from;
        int at_x = 0, at_y = 0;
    };
    struct Patch {
        std::vector<Piece> pieces;
        int width = 0, height = 0;
    };
    static Patch packed(std::vector<Rect> rects);
    // The patch's pixels as PNG, encoded afresh on every call.
    std::string png_of(const Patch& patch) const;

    // The picture as PNG, encoded once by whichever reader asks first.
    const std::string& png() const;
    bool encoded() const { return encoded_flag_.load(std::memory_order_acquire); }

    // The picture to take unchanged bands from; set before it is published.
    // It holds no basis of its own once encoded, so no chain of old pictures
    // is kept alive.
    void set_basis(std::shared_ptr<const WindowPicture> basis) { basis_ = std::move(basis); }
    // What a picture drawn after this one should take as its basis: this one
    // once encoded, else its own basis (encoded, or none).
    static std::shared_ptr<const WindowPicture> basis_after(const std::shared_ptr<const WindowPicture>& picture);

    struct Band {
        std::string deflated;  // raw deflate blocks ending on a byte boundary
        std::uint32_t adler = 1;
        std::size_t length = 0;  // bytes before deflating
    };

private:
    mutable std::once_flag encoded_;
    mutable std::atomic<bool> encoded_flag_{false};
    mutable std::string png_;
    mutable std::vector<Band> bands_;
    mutable std::mutex basis_mutex_;
    mutable std::shared_ptr<const WindowPicture> basis_;
};

// Where the renderer drew since its last picture, when it knows: null when it
// painted all of it, or the picture is a copy with more drawn over it.
const std::vector<Box>* damage_of(const Renderer& renderer, const Surface& copy);

// The picture of `surface` after `old` (null: none yet), sharing the bands
// no change reached and keeping the changes that led to it; null when
// nothing changed. `damage` is where the renderer drew since `old` when it
// knows (else null); `plain` that `surface` is the renderer's own picture.
std::shared_ptr<WindowPicture> picture_after(const std::shared_ptr<const WindowPicture>& old, cairo_surface_t* surface,
                                             std::uint64_t version, const std::vector<Box>* damage, bool plain);

}  // namespace ardelvine::hostapp
