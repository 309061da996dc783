#include "host/live/live_panel.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <thread>
#include <utility>

#include <zlib.h>

#include <nlohmann/json.hpp>

#include "host/load/text.h"
#include "host/run/window_files.h"

namespace ardelvine::hostapp {

namespace {

using json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

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

std::string event_text(const char* name, const json& data) {
    return std::string("event: ") + name + "\ndata: " + data.dump() + "\n\n";
}

// Records as `state` and the stream write them.
json event_json(const KeyEvent& e) { return {{"event", e.event}, {"param", e.param}}; }
json sound_json(const SoundPlayed& s) { return {{"gauge", panel_text_utf8(s.gauge)}, {"wave", s.wave}}; }
json tooltip_json(const TooltipShown& t) {
    json j = {{"gauge", panel_text_utf8(t.gauge)}, {"x", t.x}, {"y", t.y}, {"text", panel_text_utf8(t.text)}};
    if (t.help != 0) j["help"] = t.help;
    return j;
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

// The picture `surface` holds as the one after `old`, to be numbered
// `version`, or null when its pixels are `old`'s.
// Where the renderer's last draw changed the picture window_picture gave,
// null when not known: it painted all of it, or the picture is a copy with
// more drawn over it.
const std::vector<Box>* damage_of(const Renderer& renderer, const Surface& copy) {
    return copy || !renderer.damage() ? nullptr : &*renderer.damage();
}

// `damage` is where the renderer drew since `old` when it knows (else null);
// `plain` that `surface` is the renderer's own picture.
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

}  // namespace

LivePanel::LivePanel(Host& host, RollingRecords records)
    : host_(host), bitmaps_(host_bitmaps(host)), fine_(host_fine_bitmaps(host)), renderer_(bitmaps_), pictures_(host.panel().windows.size()) {
    for (const WindowConfig& w : host_.panel().windows) shown_.push_back(host_.window_shown(w.slot));
    number_windows();
    night_ = host_.night();
    host_.rolling(records);
    // What the host recorded before is in `state`, not in any message.
    take_records();
    unpublished_ = {};
}

LivePanel::~LivePanel() { stop(); }

void LivePanel::layout_changed() {
    renderer_.invalidate();
    scaled_.clear();
    const auto& windows = host_.panel().windows;
    shown_.resize(windows.size(), false);
    number_windows();
}

void LivePanel::start() {
    // The pictures as the panel stands, before the first live update.
    tick();
    thread_ = std::thread([this] { loop(); });
}

void LivePanel::stop() {
    {
        std::lock_guard lock(work_mutex_);
        stopping_ = true;
    }
    work_ready_.notify_all();
    if (thread_.joinable()) thread_.join();
    // Work nobody will run: its callers learn that the panel stopped.
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(work_mutex_);
        dropped.swap(work_);
    }
    dropped.clear();
    {
        std::lock_guard lock(messages_mutex_);
        closed_ = true;
    }
    message_ready_.notify_all();
}

bool LivePanel::stopped() const {
    std::lock_guard lock(work_mutex_);
    return stopping_;
}

void LivePanel::post(std::function<void()> work) {
    {
        std::lock_guard lock(work_mutex_);
        if (stopping_) throw PanelStopped();
        work_.push_back(std::move(work));
    }
    work_ready_.notify_one();
}

void LivePanel::loop() {
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kSecondsPerUpdate));
    Clock::time_point next = Clock::now() + period;
    for (;;) {
        std::deque<std::function<void()>> batch;
        {
            std::unique_lock lock(work_mutex_);
            work_ready_.wait_until(lock, next, [&] { return stopping_ || !work_.empty(); });
            if (stopping_) return;
            batch.swap(work_);
        }
        // Clicks act at once (their sounds go out now); their pictures follow
        // with the next update, as in the simulator.
        for (auto& work : batch) work();
        if (!batch.empty()) publish(false);
        const Clock::time_point now = Clock::now();
        if (now < next) continue;
        const Clock::time_point began = now;
        host_.update();
        tick();
        const double took = std::chrono::duration<double>(Clock::now() - began).count();
        {
            std::lock_guard lock(stats_mutex_);
            ++stats_.updates;
            stats_.busiest = std::max(stats_.busiest, took);
            stats_.busy += took;
            if (now - next >= period) ++stats_.late;
        }
        // A panel that fell behind starts afresh rather than running updates back to back.
        next += period;
        if (next < now) next = now + period;
    }
}

void LivePanel::tick() {
    const Lighting lighting = lighting_of(host_);
    const auto& windows = host_.panel().windows;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const WindowConfig& w = windows[i];
        // The page shows the panel's windows; a virtual cockpit's texture is no window to open.
        if (w.vcockpit || !host_.window_shown(w.slot)) continue;
        Surface copy;
        cairo_surface_t* surface = window_picture(host_, renderer_, w, lighting, false, copy);
        const std::vector<Box>* damage = damage_of(renderer_, copy);
        std::shared_ptr<const WindowPicture> old;
        {
            std::lock_guard lock(pictures_mutex_);
            old = pictures_[i];
        }
        const std::uint64_t version = old ? old->version + 1 : 1;
        // After a re-layout this place may hold another window: its picture
        // is no basis to tell changes from, and the page gets a whole one.
        if (old && old->index != w.index) old = nullptr;
        auto picture = picture_after(old, surface, version, damage, !copy);
        if (!picture) continue;
        picture->index = w.index;
        picture->version = version;
        picture->update = host_.updates();
        std::lock_guard lock(pictures_mutex_);
        pictures_[i] = std::move(picture);
        changed_.push_back(static_cast<std::uint64_t>(i));
    }
    publish(true);
}

void LivePanel::publish(bool drawn) {
    json update = {{"update", host_.updates()}};
    bool news = false;
    if (drawn) {
        json pictures = json::array();
        {
            std::lock_guard lock(pictures_mutex_);
            for (std::uint64_t i : changed_)
                pictures.push_back({{"window", pictures_[i]->index}, {"version", pictures_[i]->version}});
            changed_.clear();
        }
        if (!pictures.empty()) {
            update["pictures"] = std::move(pictures);
            news = true;
        }
    }
    take_records();
    const NewRecords records = std::exchange(unpublished_, {});
    if (!records.events.empty()) {
        json list = json::array();
        for (std::size_t i = 0; i < records.events.size() && i < kRecordsInMessage; ++i)
            list.push_back(event_json(records.events[i]));
        update["events"] = std::move(list);
        if (records.events.size() > kRecordsInMessage) update["events_more"] = records.events.size() - kRecordsInMessage;
        news = true;
    }
    if (!records.sounds.empty()) {
        json list = json::array();
        for (std::size_t i = 0; i < records.sounds.size() && i < kRecordsInMessage; ++i)
            list.push_back(sound_json(records.sounds[i]));
        update["sounds"] = std::move(list);
        if (records.sounds.size() > kRecordsInMessage) update["sounds_more"] = records.sounds.size() - kRecordsInMessage;
        news = true;
    }
    json windows = json::array();
    const auto& configs = host_.panel().windows;
    for (std::size_t i = 0; i < configs.size(); ++i) {
        const bool shown = host_.window_shown(i);
        if (configs[i].vcockpit || shown == shown_[i]) continue;
        shown_[i] = shown;
        windows.push_back({{"window", configs[i].index}, {"ident", configs[i].ident}, {"visible", shown}});
    }
    if (!windows.empty()) {
        update["windows"] = std::move(windows);
        news = true;
    }
    if (host_.night() != night_) {
        night_ = host_.night();
        update["lighting"] = night_ ? "night" : "day";
        news = true;
    }
    if (!news) return;
    auto text = std::make_shared<const std::string>(event_text("update", update));
    {
        std::lock_guard lock(messages_mutex_);
        message_bytes_ += text->size();
        messages_.push_back({++last_message_, std::move(text)});
        while (messages_.size() > 1 && (messages_.size() > kKeptMessages || message_bytes_ > kKeptMessageBytes)) {
            message_bytes_ -= messages_.front().text->size();
            messages_.pop_front();
        }
    }
    message_ready_.notify_all();
}

void LivePanel::RecordText::add(std::string piece) {
    if (piece.empty()) return;
    // Pieces join while the one before is no more than twice the newest:
    // their sizes fall along the list, and a byte is copied a few times at most.
    while (!pieces.empty() && pieces.back()->size() <= 2 * piece.size()) {
        piece = *pieces.back() + "," + piece;
        pieces.pop_back();
    }
    pieces.push_back(std::make_shared<const std::string>(std::move(piece)));
}

void LivePanel::take_records() {
    NewRecords records = host_.take_records_since(records_);
    records_ = records.next;
    const auto joined = [](const auto& list, auto item) {
        std::string text;
        for (const auto& r : list) {
            if (!text.empty()) text += ',';
            text += item(r).dump();
        }
        return text;
    };
    std::string events = joined(records.events, event_json);
    std::string sounds = joined(records.sounds, sound_json);
    std::string tooltips = joined(records.tooltips, tooltip_json);
    // The host forgets its records all at once, right after handing them out.
    const RecordCursor forgotten = host_.forgotten();
    {
        std::lock_guard lock(texts_mutex_);
        events_text_.add(std::move(events));
        sounds_text_.add(std::move(sounds));
        tooltips_text_.add(std::move(tooltips));
        if (forgotten.events == records_.events) events_text_.pieces.clear();
        if (forgotten.sounds == records_.sounds) sounds_text_.pieces.clear();
        if (forgotten.tooltips == records_.tooltips) tooltips_text_.pieces.clear();
    }
    const auto append = [](auto& to, auto& from) { to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end())); };
    append(unpublished_.events, records.events);
    append(unpublished_.sounds, records.sounds);
}

LivePanel::Pieces LivePanel::state_json() {
    struct Parts {
        json state;
        std::vector<std::shared_ptr<const std::string>> events, sounds, tooltips;
    };
    const Parts parts = call([this](Host& host) {
        take_records();
        Parts p{host.state(false), {}, {}, {}};
        std::lock_guard lock(texts_mutex_);
        p.events = events_text_.pieces;
        p.sounds = sounds_text_.pieces;
        p.tooltips = tooltips_text_.pieces;
        return p;
    });
    Pieces out;
    const auto text = [&](std::string t) { out.push_back(std::make_shared<const std::string>(std::move(t))); };
    const auto list = [&](const Pieces& pieces) {
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) text(",");
            out.push_back(pieces[i]);
        }
    };
    // The keys in the order Host::state() gives them.
    const json& s = parts.state;
    text("{\"gauges\":" + s["gauges"].dump() + ",\"unloaded\":" + s["unloaded"].dump() + ",\"events\":[");
    list(parts.events);
    text("],\"windows\":" + s["windows"].dump() + ",\"tooltips\":[");
    list(parts.tooltips);
    text("],\"sounds\":[");
    list(parts.sounds);
    text("],\"held\":" + s["held"].dump() + ",\"updates\":" + s["updates"].dump() + "}");
    return out;
}

std::shared_ptr<const WindowPicture> LivePanel::picture(int index) const {
    std::lock_guard lock(pictures_mutex_);
    for (std::size_t i = 0; i < window_numbers_.size(); ++i)
        if (window_numbers_[i] == index) return pictures_[i];
    return nullptr;
}

void LivePanel::number_windows() {
    std::vector<int> numbers;
    for (const WindowConfig& w : host_.panel().windows) numbers.push_back(w.vcockpit ? -1 : w.index);
    std::lock_guard lock(pictures_mutex_);
    window_numbers_ = std::move(numbers);
    pictures_.resize(window_numbers_.size());
}

LivePanel::Shown LivePanel::picture(int index, double scale) {
    if (scale == 1.0) {
        auto p = picture(index);
        return p ? Shown{p, p->version, p->update} : Shown{};
    }
    return call([&](Host& host) -> Shown {
        const auto& windows = host.panel().windows;
        std::size_t i = 0;
        while (i < windows.size() && (windows[i].vcockpit || windows[i].index != index)) ++i;
        std::shared_ptr<const WindowPicture> base;
        if (i < windows.size()) {
            std::lock_guard lock(pictures_mutex_);
            base = pictures_[i];
        }
        if (!base) return {};
        auto kept = std::find_if(scaled_.begin(), scaled_.end(), [&](const Scaled& s) { return s.scale == scale; });
        if (kept == scaled_.end()) {
            check_picture_sizes(host, scale);
            if (scaled_.size() == kKeptScales)
                scaled_.erase(std::min_element(scaled_.begin(), scaled_.end(),
                                               [](const Scaled& a, const Scaled& b) { return a.used < b.used; }));
            scaled_.push_back({scale, std::make_unique<Renderer>(bitmaps_, scale, fine_), std::vector<Shown>(windows.size()), 0});
            kept = scaled_.end() - 1;
        }
        kept->used = ++scaled_uses_;
        Shown& last = kept->shown[i];
        // The picture at 1 tells what moved: while its version stands, so does
        // this one, and each picture drawn here has a version of its own, as
        // the changes a reader is sent since a version need.
        if (last.picture && last.version == base->version) return last;
        Surface copy;
        cairo_surface_t* surface = window_picture(host, *kept->renderer, windows[i], lighting_of(host), false, copy);
        if (auto drawn = picture_after(last.picture, surface, base->version, damage_of(*kept->renderer, copy), !copy)) {
            drawn->index = index;
            drawn->version = base->version;
            drawn->update = host.updates();
            last.picture = std::move(drawn);
        }
        last.version = base->version;
        last.update = host.updates();
        return last;
    });
}

std::vector<LivePanel::Message> LivePanel::messages_after(std::uint64_t after, std::chrono::milliseconds wait,
                                                          bool* lost, std::size_t max_bytes) const {
    std::unique_lock lock(messages_mutex_);
    message_ready_.wait_for(lock, wait, [&] { return closed_ || last_message_ > after; });
    std::vector<Message> out;
    if (lost != nullptr) *lost = !messages_.empty() && messages_.front().number > after + 1;
    std::size_t bytes = 0;
    for (const Message& m : messages_) {
        if (m.number <= after) continue;
        if (!out.empty() && bytes + m.text->size() > max_bytes) break;
        bytes += m.text->size();
        out.push_back(m);
    }
    return out;
}

std::uint64_t LivePanel::last_message() const {
    std::lock_guard lock(messages_mutex_);
    return last_message_;
}

LivePanel::Stats LivePanel::stats() const {
    std::lock_guard lock(stats_mutex_);
    return stats_;
}

}  // namespace ardelvine::hostapp
