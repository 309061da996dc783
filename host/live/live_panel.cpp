#include "host/live/live_panel.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>
#include <utility>

#include <nlohmann/json.hpp>

#include "host/load/text.h"
#include "host/run/window_files.h"

namespace ardelvine::hostapp {

namespace {

using json = nlohmann::ordered_json;
using Clock = std::chrono::steady_clock;

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
