// The designer's session of `serve --edit`: the panel file held as text
// (PanelText), each edit written into it, read back by the panel reader and
// laid out on the running host (Host::relayout), so that the gauges keep
// running while they move; undo and redo; the diff a save would write; the
// save itself, which writes the panel file given and nothing else.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

#include "host/live/request_checks.h"
#include "host/load/panel_config.h"
#include "host/load/panel_edit.h"

namespace ardelvine::hostapp {

class Host;
class LivePanel;

// The module's gauges for the designer's catalogue: name, default size in
// panel units and what each is; and a gauge's picture (its background
// bitmap) as PNG, empty for a gauge without one. On the panel thread.
nlohmann::ordered_json gauge_catalogue(Host& host);
std::string gauge_picture(Host& host, const std::string& name);

// Edits kept for undo, by count and by the bytes of the texts they keep.
inline constexpr std::size_t kMaxUndo = 500;
inline constexpr std::size_t kMaxUndoBytes = 64u << 20;

class PanelDesigner {
public:
    // `path` is the panel file the host was started from; `laid_out` runs on
    // the panel thread after every layout the host takes (the server's copy
    // of the layout is made there).
    PanelDesigner(std::string path, LivePanel& panel, std::function<void(Host&)> laid_out);

    // The edits of the HTTP interface, from the request's body; each answers
    // JSON or throws Refusal with nothing changed.
    nlohmann::ordered_json place(const Body& b);
    nlohmann::ordered_json add(const Body& b);
    nlohmann::ordered_json remove(const Body& b);
    nlohmann::ordered_json window(const Body& b);
    nlohmann::ordered_json undo();
    nlohmann::ordered_json redo();
    nlohmann::ordered_json save();
    std::string diff();

private:
    // Reads `next` back, lays it out on the host and makes it the text; the
    // text before goes to `to` (the undo or the redo list).
    // Texts kept for undo or redo, newest last, with their sizes.
    struct History {
        std::deque<PanelText> texts;
        std::deque<std::size_t> sizes;
        std::size_t bytes = 0;
        void push(PanelText text, std::size_t size);
        PanelText pop();
        void clear() { *this = {}; }
    };
    void take(PanelText next, History* to);
    // Makes `change` to a copy of the text and takes it as one step to undo;
    // answers the history's state. The caller holds mutex_.
    nlohmann::ordered_json apply(const std::function<void(PanelText&)>& change);
    // Undo (from undo_ to redo_) or redo (the other way).
    nlohmann::ordered_json step(History& from, History& to, const char* none);
    nlohmann::ordered_json status() const;

    std::string path_;
    LivePanel& panel_;
    std::function<void(Host&)> laid_out_;
    std::mutex mutex_;       // edits one at a time
    std::mutex save_mutex_;  // a second save while one runs is refused
    PanelText text_;
    std::string on_disk_;  // the file as loaded or last saved
    std::size_t text_size_ = 0;
    PanelConfig config_;   // the text as the host last laid it out, as read
    bool backed_up_ = false;
    History undo_, redo_;
};

}  // namespace ardelvine::hostapp
