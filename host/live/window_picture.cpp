// Pictures of the live panel's windows: kept in bands of rows, compared
// with the picture before where the renderer drew, and encoded as PNG from
// bands deflated apart, whole or as patches of what changed.
#include "host/live/window_picture.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>
#include <utility>

#include <zlib.h>

namespace ardelvine::hostapp {

namespace {

void put_u32(std::string& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    out.append(bytes, 4);
}

void put_chunk(std::string& out, const char* type, const unsigned char* data, std::size_t size) {
    put_u32(out, static_cast<std::uint32_t>(size));
    const std::size_t begin = out.size();
    out.append(type, 4);
    out.append(reinterpret_cast<const char*>(data), size);
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + begin), static_cast<uInt>(size + 4));
    put_u32(out, static_cast<std::uint32_t>(crc));
}

// The rows of one band, Sub-filtered as PNG wants them: each byte less the
// one a pixel to its left. A window picture is opaque (its background fills
// it), so it goes out as 8-bit RGB.
// Columns `x` to `x + width` of the rows; the whole width by default.
void filter_rows(const WindowPicture& p, int first, int last, std::vector<unsigned char>& raw, int x0 = 0, int width = -1) {
    if (width < 0) width = p.width;
    const std::size_t row = 1 + 3 * static_cast<std::size_t>(width);
    raw.resize(row * static_cast<std::size_t>(last - first));
    for (int y = first; y < last; ++y) {
        unsigned char* line = raw.data() + row * static_cast<std::size_t>(y - first);
        line[0] = 1;  // Sub
        const auto* pixels =
            reinterpret_cast<const std::uint32_t*>(p.row(y)) + x0;
        unsigned char left[3] = {0, 0, 0};
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixels[x];
            const unsigned char rgb[3] = {static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 8),
                                          static_cast<unsigned char>(v)};
            for (int c = 0; c < 3; ++c) {
                line[1 + 3 * x + c] = static_cast<unsigned char>(rgb[c] - left[c]);
                left[c] = rgb[c];
            }
        }
    }
}

// Raw deflate at the fastest level, one band at a time from a fresh state,
// each ending in a sync flush, so that bands deflated at different times
// join into one stream.
class BandDeflater {
public:
    BandDeflater() {
        if (deflateInit2(&z_, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::bad_alloc();
    }
    ~BandDeflater() { deflateEnd(&z_); }
    BandDeflater(const BandDeflater&) = delete;
    BandDeflater& operator=(const BandDeflater&) = delete;

    WindowPicture::Band deflate(std::vector<unsigned char>& raw) {
        WindowPicture::Band band;
        band.length = raw.size();
        band.adler = static_cast<std::uint32_t>(adler32(1, raw.data(), static_cast<uInt>(raw.size())));
        deflateReset(&z_);
        band.deflated.resize(deflateBound(&z_, static_cast<uLong>(raw.size())) + 16);
        z_.next_in = raw.data();
        z_.avail_in = static_cast<uInt>(raw.size());
        z_.next_out = reinterpret_cast<Bytef*>(band.deflated.data());
        z_.avail_out = static_cast<uInt>(band.deflated.size());
        while (::deflate(&z_, Z_SYNC_FLUSH) == Z_OK && z_.avail_out == 0) {
            const std::size_t done = band.deflated.size();
            band.deflated.resize(2 * done);
            z_.next_out = reinterpret_cast<Bytef*>(band.deflated.data() + done);
            z_.avail_out = static_cast<uInt>(done);
        }
        band.deflated.resize(band.deflated.size() - z_.avail_out);
        return band;
    }

private:
    z_stream z_{};
};

bool same_band(const WindowPicture& a, const WindowPicture& b, std::size_t n) {
    return a.bands_of_rows[n] == b.bands_of_rows[n] || *a.bands_of_rows[n] == *b.bands_of_rows[n];
}

// Which tiles of a picture changed.
struct TileGrid {
    int width, height, columns, rows;
    std::vector<unsigned char> tiles;

    TileGrid(int w, int h)
        : width(w), height(h), columns((w + WindowPicture::kTileColumns - 1) / WindowPicture::kTileColumns),
          rows((h + WindowPicture::kBandRows - 1) / WindowPicture::kBandRows),
          tiles(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0) {}

    bool marked(int column, int row) const { return tiles[static_cast<std::size_t>(row) * columns + column] != 0; }
    void mark_tile(int column, int row) { tiles[static_cast<std::size_t>(row) * columns + column] = 1; }
    void mark(const WindowPicture::Rect& r) {
        for (int row = r.y / WindowPicture::kBandRows; row * WindowPicture::kBandRows < std::min(height, r.y + r.h); ++row)
            for (int column = r.x / WindowPicture::kTileColumns;
                 column * WindowPicture::kTileColumns < std::min(width, r.x + r.w); ++column)
                mark_tile(column, row);
    }
    // The marked tiles as rectangles: runs along a band, each joined to the
    // run of the same columns in the band above.
    std::vector<WindowPicture::Rect> rects() const {
        std::vector<WindowPicture::Rect> out, open, next;  // `open`: those reaching the band's top
        for (int row = 0; row < rows; ++row) {
            const int y = row * WindowPicture::kBandRows, h = std::min(height - y, WindowPicture::kBandRows);
            next.clear();
            for (int column = 0; column < columns;) {
                if (!marked(column, row)) {
                    ++column;
                    continue;
                }
                const int first = column;
                while (column < columns && marked(column, row)) ++column;
                const int x = first * WindowPicture::kTileColumns;
                const int w = std::min(width, column * WindowPicture::kTileColumns) - x;
                const auto above = std::find_if(open.begin(), open.end(), [&](const auto& r) { return r.x == x && r.w == w; });
                if (above == open.end()) {
                    next.push_back({x, y, w, h});
                } else {
                    next.push_back(*above);
                    next.back().h += h;
                    open.erase(above);
                }
            }
            out.insert(out.end(), open.begin(), open.end());
            open.swap(next);
        }
        out.insert(out.end(), open.begin(), open.end());
        return out;
    }
};

// An 8-bit RGB PNG of `width` x `height` pixels whose zlib stream is `stream`.
std::string png_file(int width, int height, const std::string& stream) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    unsigned char header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] = static_cast<unsigned char>(width >> (24 - 8 * i));
        header[4 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
    }
    header[8] = 8;  // bits per channel
    header[9] = 2;  // RGB
    put_chunk(out, "IHDR", header, sizeof header);
    put_chunk(out, "IDAT", reinterpret_cast<const unsigned char*>(stream.data()), stream.size());
    put_chunk(out, "IEND", nullptr, 0);
    return out;
}

// Pictures from this many pixels are deflated by two threads.
constexpr std::size_t kSharedPixels = 2'000'000;

// The picture's PNG from its bands: deflate's fastest level with the Sub
// filter, where Cairo's own writer takes far longer. Bands the same as in
// `basis` (an encoded picture of the same size, or null) are taken from it.
std::string encode_png(const WindowPicture& p, const WindowPicture* basis, const std::vector<WindowPicture::Band>* reuse,
                       std::vector<WindowPicture::Band>& bands) {
    const bool comparable = basis != nullptr && reuse != nullptr && basis->width == p.width &&
                            basis->height == p.height && basis->stride == p.stride;
    const std::size_t count = static_cast<std::size_t>((p.height + WindowPicture::kBandRows - 1) / WindowPicture::kBandRows);
    bands.assign(count, {});
    const auto encode = [&](std::size_t from, std::size_t to) {
        BandDeflater deflater;
        std::vector<unsigned char> raw;
        for (std::size_t n = from; n < to; ++n) {
            const int first = static_cast<int>(n) * WindowPicture::kBandRows;
            const int last = std::min(p.height, first + WindowPicture::kBandRows);
            if (comparable && n < reuse->size() && same_band(p, *basis, n)) {
                bands[n] = (*reuse)[n];
                continue;
            }
            filter_rows(p, first, last, raw);
            bands[n] = deflater.deflate(raw);
        }
    };
    // A picture of millions of pixels (a panel at twice its size or more) is
    // shared out between two threads: its bands deflate apart, and at the
    // panel's rate of updates one thread would fall behind.
    if (static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) < kSharedPixels) {
        encode(0, count);
    } else {
        std::exception_ptr failed;
        std::thread other([&] {
            try {
                encode(count / 2, count);
            } catch (...) {
                failed = std::current_exception();
            }
        });
        try {
            encode(0, count / 2);
        } catch (...) {
            other.join();
            throw;
        }
        other.join();
        if (failed) std::rethrow_exception(failed);
    }

    // One zlib stream: its header, the bands, an empty final block, and the
    // checksum of everything the bands hold.
    std::string stream("\x78\x01", 2);
    uLong adler = adler32(0, nullptr, 0);
    for (const WindowPicture::Band& band : bands) {
        stream += band.deflated;
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.length));
    }
    stream.append("\x03\x00", 2);
    put_u32(stream, static_cast<std::uint32_t>(adler));
    return png_file(p.width, p.height, stream);
}

}  // namespace

const std::string& WindowPicture::png() const {
    std::call_once(encoded_, [this] {
        std::shared_ptr<const WindowPicture> basis;
        {
            std::lock_guard lock(basis_mutex_);
            basis = basis_;
        }
        // The basis was encoded before it was chosen; asking again waits for
        // nothing and makes its bands safe to read here.
        if (basis) basis->png();
        png_ = encode_png(*this, basis.get(), basis ? &basis->bands_ : nullptr, bands_);
        std::lock_guard lock(basis_mutex_);
        basis_.reset();
    });
    encoded_flag_.store(true, std::memory_order_release);
    return png_;
}

std::shared_ptr<const std::vector<unsigned char>> WindowPicture::band_of(const unsigned char* data, int stride, int height, int n) {
    const std::size_t begin = static_cast<std::size_t>(stride) * static_cast<std::size_t>(n) * kBandRows;
    const std::size_t end = static_cast<std::size_t>(stride) * static_cast<std::size_t>(std::min(height, (n + 1) * kBandRows));
    return std::make_shared<const std::vector<unsigned char>>(data + begin, data + end);
}

void WindowPicture::set_pixels(const unsigned char* data) {
    bands_of_rows.clear();
    for (int n = 0; n * kBandRows < height; ++n) bands_of_rows.push_back(band_of(data, stride, height, n));
}

WindowPicture::Patch WindowPicture::packed(std::vector<Rect> rects) {
    // Shelves, tallest rectangles first, about as wide as the patch is high.
    std::sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.h > b.h || (a.h == b.h && a.w > b.w); });
    std::int64_t area = 0;
    int width = 0;
    for (const Rect& r : rects) {
        area += static_cast<std::int64_t>(r.w) * r.h;
        width = std::max(width, r.w);
    }
    width = std::max(width, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(area)))));
    Patch patch;
    int x = 0, y = 0, shelf = 0;
    for (const Rect& r : rects) {
        if (x + r.w > width) {
            x = 0;
            y += shelf;
            shelf = 0;
        }
        patch.pieces.push_back({r, x, y});
        patch.width = std::max(patch.width, x + r.w);
        shelf = std::max(shelf, r.h);
        x += r.w;
    }
    patch.height = y + shelf;
    return patch;
}

std::string WindowPicture::png_of(const Patch& patch) const {
    WindowPicture packed;
    packed.width = patch.width;
    packed.height = patch.height;
    packed.stride = 4 * patch.width;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(packed.stride) * static_cast<std::size_t>(patch.height), 0);
    for (const Piece& p : patch.pieces)
        for (int y = 0; y < p.from.h; ++y)
            std::memcpy(pixels.data() + static_cast<std::size_t>(packed.stride) * (p.at_y + y) + 4 * static_cast<std::size_t>(p.at_x),
                        row(p.from.y + y) + 4 * static_cast<std::size_t>(p.from.x), 4 * static_cast<std::size_t>(p.from.w));
    packed.set_pixels(pixels.data());
    std::vector<unsigned char> raw;
    filter_rows(packed, 0, packed.height, raw);
    BandDeflater deflater;
    const Band band = deflater.deflate(raw);
    std::string stream("\x78\x01", 2);
    stream += band.deflated;
    stream.append("\x03\x00", 2);
    put_u32(stream, band.adler);
    return png_file(packed.width, packed.height, stream);
}

std::optional<std::vector<WindowPicture::Rect>> WindowPicture::changed_since(std::uint64_t shown, std::uint64_t served) const {
    if (shown > served) return std::nullopt;
    if (shown < version && (changes.empty() || shown < changes.front().from)) return std::nullopt;
    TileGrid grid(width, height);
    for (const Change& c : changes)
        if (c.to > shown)
            for (const Rect& r : c.rects) grid.mark(r);
    return grid.rects();
}

std::shared_ptr<const WindowPicture> WindowPicture::basis_after(const std::shared_ptr<const WindowPicture>& picture) {
    if (!picture || picture->encoded()) return picture;
    std::lock_guard lock(picture->basis_mutex_);
    return picture->basis_;
}

namespace {

// Where `data`, rows of `old`'s size and stride, differs from `old`, in
// tiles: only those `damage` touches when the renderer told where it drew
// (non-null), every row otherwise, compared whole and then tile by tile.
std::vector<WindowPicture::Rect> changed_tiles(const WindowPicture& old, const unsigned char* data, const std::vector<Box>* damage) {
    TileGrid grid(old.width, old.height);
    const std::size_t stride = static_cast<std::size_t>(old.stride);
    const std::size_t row_bytes = 4 * static_cast<std::size_t>(old.width);
    const auto differs = [&](int y, std::size_t x, std::size_t bytes) {
        return std::memcmp(old.row(y) + x, data + stride * static_cast<std::size_t>(y) + x, bytes) != 0;
    };
    const auto tile_differs = [&](int column, int y) {
        const std::size_t x = 4 * static_cast<std::size_t>(column) * WindowPicture::kTileColumns;
        return differs(y, x, std::min(4 * static_cast<std::size_t>(WindowPicture::kTileColumns), row_bytes - x));
    };
    if (damage == nullptr) {
        for (int y = 0; y < old.height; ++y) {
            if (!differs(y, 0, row_bytes)) continue;
            for (int column = 0; column < grid.columns; ++column)
                if (!grid.marked(column, y / WindowPicture::kBandRows) && tile_differs(column, y))
                    grid.mark_tile(column, y / WindowPicture::kBandRows);
        }
        return grid.rects();
    }
    TileGrid seen(old.width, old.height);
    for (const Box& b : *damage) {
        const Box box = b.clipped({0, 0, old.width, old.height});
        if (box.empty()) continue;
        for (int row = box.y0 / WindowPicture::kBandRows; row * WindowPicture::kBandRows < box.y1; ++row)
            for (int column = box.x0 / WindowPicture::kTileColumns; column * WindowPicture::kTileColumns < box.x1; ++column) {
                if (seen.marked(column, row)) continue;
                seen.mark_tile(column, row);
                const int last = std::min(old.height, (row + 1) * WindowPicture::kBandRows);
                for (int y = row * WindowPicture::kBandRows; y < last; ++y)
                    if (tile_differs(column, y)) {
                        grid.mark_tile(column, row);
                        break;
                    }
            }
    }
    return grid.rects();
}

}  // namespace

const std::vector<Box>* damage_of(const Renderer& renderer, const Surface& copy) {
    return copy || !renderer.damage() ? nullptr : &*renderer.damage();
}

std::shared_ptr<WindowPicture> picture_after(const std::shared_ptr<const WindowPicture>& old, cairo_surface_t* surface,
                                             std::uint64_t version, const std::vector<Box>* damage, bool plain) {
    cairo_surface_flush(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int width = cairo_image_surface_get_width(surface);
    const bool comparable = old && old->width == width && old->height == height && old->stride == stride;
    std::vector<WindowPicture::Rect> changed;
    if (comparable) {
        changed = changed_tiles(*old, data, old->plain ? damage : nullptr);
        if (changed.empty()) return nullptr;
    }
    auto picture = std::make_shared<WindowPicture>();
    picture->width = width;
    picture->height = height;
    picture->stride = stride;
    if (comparable) {
        // Bands no change reaches are the old picture's.
        std::vector<bool> touched(old->bands_of_rows.size(), false);
        for (const WindowPicture::Rect& r : changed)
            for (int n = r.y / WindowPicture::kBandRows; n * WindowPicture::kBandRows < r.y + r.h; ++n) touched[static_cast<std::size_t>(n)] = true;
        for (std::size_t n = 0; n < touched.size(); ++n)
            picture->bands_of_rows.push_back(touched[n] ? WindowPicture::band_of(data, stride, height, static_cast<int>(n))
                                                        : old->bands_of_rows[n]);
    } else {
        picture->set_pixels(data);
    }
    picture->set_basis(WindowPicture::basis_after(old));
    picture->plain = plain;
    if (comparable) {
        const auto& kept = old->changes;
        const std::size_t from = kept.size() < WindowPicture::kKeptChanges ? 0 : kept.size() + 1 - WindowPicture::kKeptChanges;
        picture->changes.assign(kept.begin() + static_cast<std::ptrdiff_t>(from), kept.end());
        picture->changes.push_back({old->version, version, std::move(changed)});
    }
    return picture;
}

}  // namespace ardelvine::hostapp
