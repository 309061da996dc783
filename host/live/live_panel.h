// A panel kept running live: one panel thread owns the Host and updates it
// 18 times a second, as the simulator does. Everything else (the web
// server's threads) hands work to that thread and waits for the answer, so
// module code is never called from two threads at once.
//
// After each update the thread draws the visible windows and keeps a copy of
// every picture that changed; readers take the newest copy without waiting
// for the panel. What happened (pictures changed, key events, sounds played,
// windows shown or hidden, lighting) is published as numbered messages that
// the event stream hands on.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "host/run/host.h"
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

class LivePanel {
public:
    static constexpr double kUpdatesPerSecond = 1.0 / kSecondsPerUpdate;
    // Messages kept for readers that fall behind, by count and by bytes; a
    // reader further back is told to start over.
    static constexpr std::size_t kKeptMessages = 512;
    static constexpr std::size_t kKeptMessageBytes = 1 << 20;
    // Key events and sounds one message lists; past them it says how many more
    // there were (`state` has them all).
    static constexpr std::size_t kRecordsInMessage = 64;

    struct Message {
        std::uint64_t number;
        std::shared_ptr<const std::string> text;  // one server-sent event, "event: ...\ndata: ...\n\n"
    };

    // `host` is driven only from the panel thread once start() has run; it
    // keeps its records rolling by `records`.
    explicit LivePanel(Host& host, RollingRecords records = {});
    ~LivePanel();
    LivePanel(const LivePanel&) = delete;
    LivePanel& operator=(const LivePanel&) = delete;

    void start();
    // After the host's layout changed (Host::relayout), on the panel thread:
    // every window is drawn afresh at the next update.
    void layout_changed();
    // Ends the panel thread after the work it holds; work handed in later fails.
    void stop();
    bool stopped() const;

    // Runs `work(host)` on the panel thread and returns what it returns;
    // exceptions come back to the caller. Throws PanelStopped once stopped.
    template <typename Work>
    auto call(Work&& work) -> std::invoke_result_t<Work&, Host&>;

    // The newest picture of window `index`, null until it has been drawn.
    std::shared_ptr<const WindowPicture> picture(int index) const;
    // Window `index` drawn at `scale` pixels per panel unit as the panel
    // stands, by a renderer kept for that scale (the kKeptScales used last;
    // 1 is the pictures above). Null until the window has been drawn at 1.
    // Its version is the one of the window's picture at 1 whose state it
    // shows. Throws InputError when the panel's pictures at `scale` would
    // pass the host's caps.
    static constexpr std::size_t kKeptScales = 4;
    struct Shown {
        std::shared_ptr<const WindowPicture> picture;  // null: not drawn yet
        std::uint64_t version = 0, update = 0;
    };
    Shown picture(int index, double scale);

    // Messages numbered above `after`, waiting up to `wait` for one, and at
    // most `max_bytes` of them (one at least). `lost` is set when some were
    // dropped before the reader got them. The texts are shared, not copied.
    std::vector<Message> messages_after(std::uint64_t after, std::chrono::milliseconds wait, bool* lost,
                                        std::size_t max_bytes = SIZE_MAX) const;
    std::uint64_t last_message() const;

    // The JSON of `state` as the panel stands, in pieces that joined make the
    // document, written on the caller's thread: the panel thread hands over
    // the gauges' state and the records it keeps as text, and writes nothing
    // for the reader. The records' pieces are shared, not copied.
    using Pieces = std::vector<std::shared_ptr<const std::string>>;
    Pieces state_json();

    struct Stats {
        std::uint64_t updates = 0;  // panel updates run live
        std::uint64_t late = 0;     // updates that started a whole period late
        double busiest = 0.0;       // seconds, the longest update with its drawing
        double busy = 0.0;          // seconds, all updates with their drawing
    };
    Stats stats() const;

    struct PanelStopped : std::runtime_error {
        PanelStopped() : std::runtime_error("the panel has stopped") {}
    };

private:
    void post(std::function<void()> work);
    // Keeps the windows' numbers for readers (panel thread, or before it starts).
    void number_windows();
    void loop();
    void tick();
    // Publishes what changed since the last message; `drawn` after an update.
    void publish(bool drawn);
    // Takes the host's new records: into the next message, and as text into
    // the records `state` lists.
    void take_records();

    Host& host_;
    BitmapSource bitmaps_;
    FineSource fine_;  // the finer drawings, for pictures asked at 1.5 times or more
    Renderer renderer_;

    // Renderers for the other scales asked for, with the last picture each
    // drew of every window (panel thread only).
    struct Scaled {
        double scale;
        std::unique_ptr<Renderer> renderer;
        std::vector<Shown> shown;  // by position in the panel's window list
        std::uint64_t used;
    };
    std::vector<Scaled> scaled_;
    std::uint64_t scaled_uses_ = 0;

    mutable std::mutex work_mutex_;
    std::condition_variable work_ready_;
    std::deque<std::function<void()>> work_;
    bool stopping_ = false;
    std::thread thread_;

    mutable std::mutex pictures_mutex_;
    std::vector<std::shared_ptr<const WindowPicture>> pictures_;  // by position in the panel's window list
    std::vector<int> window_numbers_;  // NN of each, -1 for a virtual cockpit: for readers off the panel thread
    std::vector<std::uint64_t> changed_;                          // window indices drawn anew since the last message

    mutable std::mutex messages_mutex_;
    mutable std::condition_variable message_ready_;
    std::deque<Message> messages_;
    std::size_t message_bytes_ = 0;
    std::uint64_t last_message_ = 0;
    bool closed_ = false;

    // What the last message reported (panel thread only).
    RecordCursor records_;
    NewRecords unpublished_;

    // The host's records as `state` writes them, each list in pieces of
    // comma-separated items, never changed once made: a reader takes the
    // pieces, not their bytes. Pieces join as they grow, so that few are kept.
    struct RecordText {
        std::vector<std::shared_ptr<const std::string>> pieces;
        void add(std::string piece);
    };
    mutable std::mutex texts_mutex_;
    RecordText events_text_, sounds_text_, tooltips_text_;
    std::vector<bool> shown_;
    bool night_ = false;

    mutable std::mutex stats_mutex_;
    Stats stats_;
};

template <typename Work>
auto LivePanel::call(Work&& work) -> std::invoke_result_t<Work&, Host&> {
    using Result = std::invoke_result_t<Work&, Host&>;
    std::future<Result> result;
    {
        // Only the queued work holds the task: work dropped unrun breaks its promise.
        auto task = std::make_shared<std::packaged_task<Result()>>([this, &work] { return work(host_); });
        result = task->get_future();
        post([task] { (*task)(); });
    }
    try {
        return result.get();
    } catch (const std::future_error&) {
        throw PanelStopped();  // dropped unrun when the panel stopped
    }
}

}  // namespace ardelvine::hostapp
