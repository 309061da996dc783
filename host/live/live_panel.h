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
#include "host/live/window_picture.h"

namespace ardelvine::hostapp {

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
