#include "host/live/live_server.h"

#include <httplib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/live/cockpit_page.h"
#include "host/live/connection_gate.h"
#include "host/live/designer.h"
#include "host/live/request_checks.h"
#include "host/load/error.h"
#include "host/load/mouse_areas.h"
#include "host/load/text.h"
#include "platform/platform.h"

namespace ardelvine::hostapp {

namespace {

using json = nlohmann::ordered_json;

// How long a quiet event stream waits before a keep-alive comment; a reader
// that went away is noticed when that write fails.
constexpr std::chrono::milliseconds kStreamQuiet{5000};
// What an event stream writes at a time.
constexpr std::size_t kStreamBatchBytes = 256 << 10;
// `state` documents written at once, and what one writes at a time.
constexpr int kStateWriters = 2;
constexpr std::chrono::seconds kStateWait{5};
constexpr std::size_t kStateWriteBytes = 256 << 10;
// The server's threads: each answers one whole request at a time, and an
// open event stream holds one.
constexpr std::size_t kServerThreads = 2 * kMaxStreams + 16;

// The cockpit page and its files, which any page may load; the rest is the
// panel's, and only for this server's own page.
struct PageFile {
    const char* path;
    const std::string_view& bytes;
    const char* type;
};
const PageFile kPageFiles[] = {
    {"/", kCockpitPage, "text/html; charset=utf-8"},
    {"/cockpit.css", kCockpitStyle, "text/css; charset=utf-8"},
    {"/cockpit.js", kCockpitScript, "text/javascript; charset=utf-8"},
    {"/drawer.js", kDrawerScript, "text/javascript; charset=utf-8"},
    {"/designer.js", kDesignerScript, "text/javascript; charset=utf-8"},
};

Reach reach_of(const httplib::Request& req) {
    bool page = false;
    for (const PageFile& f : kPageFiles) page = page || (req.method == "GET" && req.path == f.path);
    return page ? Reach::PAGE : Reach::PANEL;
}

void reply_json(httplib::Response& res, const json& body) { res.set_content(body.dump(), "application/json"); }

// Runs on the panel thread: the placement a request names, in a visible window.
Placement& placed(Host& host, const GaugeRef& ref, bool must_show) {
    Placement* p = host.find(ref);
    if (p == nullptr) {
        std::string name = printable(ref.name, 64);
        if (ref.occurrence > 1) name += "#" + std::to_string(ref.occurrence);
        refuse(404, "no gauge '" + name + "' is placed on this panel");
    }
    if (must_show && host.panel().windows[p->panel_window()].vcockpit)
        refuse(409, "gauge '" + p->name() + "' is in a virtual cockpit, which this page does not show");
    if (must_show && !host.window_shown(p->panel_window()))
        refuse(409, "gauge '" + p->name() + "' is in a hidden window");
    return *p;
}

Button button_named(const std::string& name) {
    if (name == "left") return Button::LEFT;
    if (name == "right") return Button::RIGHT;
    if (name == "both") return Button::BOTH;
    refuse(400, "'button' takes left, right or both");
}

// A query parameter's value, nullopt when absent.
std::optional<std::string> param(const httplib::Request& req, const char* key) {
    if (!req.has_param(key)) return std::nullopt;
    return req.get_param_value(key);
}

// What a mouse action did: the key events and sounds recorded since `before`.
json effects(Host& host, const RecordCursor& before) {
    const NewRecords records = host.records_since(before);
    json events = json::array(), sounds = json::array();
    for (const KeyEvent& e : records.events) events.push_back({{"event", e.event}, {"param", e.param}});
    for (const SoundPlayed& s : records.sounds) sounds.push_back({{"gauge", panel_text_utf8(s.gauge)}, {"wave", s.wave}});
    return {{"update", host.updates()}, {"events", std::move(events)}, {"sounds", std::move(sounds)}};
}

// Where a patch's pieces go: "x,y,w,h" in the picture for each, then
// ",px,py" where it sits in the patch unless at 0,0; pieces apart by ";".
std::string patch_header(const WindowPicture::Patch& patch) {
    std::string out;
    for (const WindowPicture::Piece& p : patch.pieces) {
        if (!out.empty()) out += ';';
        out += std::to_string(p.from.x) + ',' + std::to_string(p.from.y) + ',' + std::to_string(p.from.w) + ',' +
               std::to_string(p.from.h);
        if (p.at_x != 0 || p.at_y != 0) out += ',' + std::to_string(p.at_x) + ',' + std::to_string(p.at_y);
    }
    return out;
}

const char* cursor_name(std::int32_t cursor) {
    switch (cursor) {
        case CURSOR_HAND: return "hand";
        case CURSOR_UP: return "up";
        case CURSOR_DOWN: return "down";
        default: return "arrow";
    }
}

// The gauge line of `window` at file line `line`.
const GaugeLine* line_at(const WindowConfig& window, int line) {
    for (const GaugeLine& g : window.gauges)
        if (g.line == line) return &g;
    return nullptr;
}

// The panel as the page lays it out: windows, gauges and their mouse areas.
std::string layout_json(Host& host) {
    json windows = json::array();
    for (const WindowConfig& w : host.panel().windows) {
        if (w.vcockpit) continue;  // textures of the 3D cockpit: not on the page
        windows.push_back({{"window", w.index},
                           {"ident", w.ident},
                           {"title", panel_text_utf8(w.title)},
                           {"w", w.size_w},
                           {"h", w.size_h},
                           {"position", w.position},
                           {"zorder", w.zorder},
                           {"window_size", panel_text_utf8(w.window_size)},
                           {"window_pos", panel_text_utf8(w.window_pos)},
                           {"visible_at_start", w.visible},
                           {"section", section_name(w)}});
    }
    json gauges = json::array();
    std::map<std::string, int> seen;
    std::vector<std::string> start_states;
    for (const auto& p : host.placements()) {
        const int n = ++seen[p->name()];
        const std::string ref = n == 1 ? p->name() : p->name() + "#" + std::to_string(n);
        // Counted all the same, so that NAME#N names the gauge the host finds.
        const WindowConfig& in = host.panel().windows[p->panel_window()];
        if (in.vcockpit) continue;
        const int window = in.index;
        const std::size_t index = static_cast<std::size_t>(&p - host.placements().data());
        const GaugeLine* line = line_at(in, host.placement_lines()[index]);
        json areas = json::array();
        for (const MouseArea& a : mouse_areas(p->mouse(), p->mouse_count(), p->background_size())) {
            areas.push_back({{"kind", a.rect->kind == MouseKind::CHILD ? "click" : "group"},
                             {"x", a.x},
                             {"y", a.y},
                             {"w", a.w},
                             {"h", a.h},
                             {"depth", a.depth},
                             {"parent", a.parent},
                             {"cursor", cursor_name(a.rect->cursor)},
                             {"left", (a.rect->click_flags & MOUSE_LEFT) != 0},
                             {"right", (a.rect->click_flags & MOUSE_RIGHT) != 0},
                             {"repeat", (a.rect->click_flags & MOUSE_REPEAT) != 0},
                             {"drag", (a.rect->click_flags & MOUSE_DRAG) != 0},
                             {"tooltip", a.tooltip != nullptr}});
        }
        gauges.push_back({{"gauge", panel_text_utf8(ref)},
                          {"window", window},
                          {"x", p->x()},
                          {"y", p->y()},
                          {"w", p->width()},
                          {"h", p->height()},
                          {"bw", p->background_size().width},
                          {"bh", p->background_size().height},
                          {"section", section_name(in)},
                          {"key", line != nullptr ? panel_text_utf8(line->key) : ""},
                          {"line", line != nullptr ? line->line : 0},
                          {"areas", std::move(areas)}});
        if ((p->name() == "Engine_On" || p->name() == "Engine_Off") && n == 1) start_states.push_back(p->name());
    }
    // Failure keys with the gauges they act on, for the page to offer.
    std::map<std::uint32_t, std::vector<std::string>> failing;
    for (const auto& p : host.placements()) {
        for (const ElementState& e : p->elements()) {
            for (const FailureRecord* f = e.element->failures; f != nullptr && f->key != 0; ++f) {
                auto& names = failing[f->key];
                if (std::find(names.begin(), names.end(), p->name()) == names.end()) names.push_back(p->name());
            }
        }
    }
    json failure_keys = json::array();
    for (const auto& [key, names] : failing) failure_keys.push_back({{"key", key}, {"gauges", names}});
    // Other modules' gauges, which the pictures outline.
    json outlines = json::array();
    for (const UnloadedGauge& u : host.unloaded()) {
        const WindowConfig& in = host.panel().windows[u.window];
        if (in.vcockpit) continue;
        const GaugeLine* line = line_at(in, u.line);
        outlines.push_back({{"gauge", panel_text_utf8(u.module + "!" + u.gauge)},
                            {"window", in.index},
                            {"x", u.x},
                            {"y", u.y},
                            {"w", u.w},
                            {"h", u.h},
                            {"section", section_name(in)},
                            {"key", line != nullptr ? panel_text_utf8(line->key) : ""},
                            {"line", u.line}});
    }
    return json{{"windows", std::move(windows)}, {"gauges", std::move(gauges)}, {"outlines", std::move(outlines)},
                {"start_states", start_states}, {"failure_keys", std::move(failure_keys)}}
        .dump();
}

}  // namespace

LiveServer::LiveServer(Host& host, const ServeOptions& options)
    : host_(host), options_(options), server_(std::make_unique<GatedServer>(kServerThreads, kMaxRequestBody)) {
    laid_out(host_);
    if (const ResourceDirectory* dir = platform::resource_directory(host_.module().handle())) {
        for (std::uint32_t i = 0; i < dir->count; ++i) {
            const ResourceEntry& e = dir->entries[i];
            if (e.type == ResourceType::WAVE)
                waves_[e.id] = std::string(reinterpret_cast<const char*>(e.begin), e.end - e.begin);
        }
    }
    server_->set_payload_max_length(kMaxRequestBody);
    routes();
    if (options_.port < 0 || options_.port > kMaxPort)
        throw InputError("--port takes 0 to " + std::to_string(kMaxPort));
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.bind);
        if (port_ < 0) throw InputError("cannot listen on " + options_.bind);
    } else {
        if (!server_->bind_to_port(options_.bind, options_.port))
            throw InputError("cannot listen on " + options_.bind + " port " + std::to_string(options_.port) +
                             " (in use, or not an address of this machine)");
        port_ = options_.port;
    }
    server_->widen_backlog();
    panel_ = std::make_unique<LivePanel>(host_, options_.records);
    if (!options_.edit.empty())
        designer_ = std::make_unique<PanelDesigner>(options_.edit, *panel_, [this](Host& host) { laid_out(host); });
}

void LiveServer::laid_out(Host& host) {
    auto layout = std::make_shared<Layout>();
    layout->json = layout_json(host);
    for (const WindowConfig& w : host.panel().windows)
        if (!w.vcockpit) layout->windows.push_back({w.index, w.ident});
    std::lock_guard lock(layout_mutex_);
    layout_ = std::move(layout);
}

std::shared_ptr<const LiveServer::Layout> LiveServer::layout() const {
    std::lock_guard lock(layout_mutex_);
    return layout_;
}

LiveServer::~LiveServer() { stop(); }

std::string LiveServer::address() const {
    const bool v6 = options_.bind.find(':') != std::string::npos;
    return "http://" + (v6 ? "[" + options_.bind + "]" : options_.bind) + ":" + std::to_string(port_) + "/";
}

void LiveServer::run() {
    if (stopping_) return;
    running_ = true;
    panel_->start();
    server_->listen_after_bind();
    running_ = false;
}

void LiveServer::stop() {
    if (stopping_.exchange(true)) return;
    // The panel first: event streams waiting on it end, and requests in flight get 503.
    panel_->stop();
    while (running_ && !server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // Connections already made are accepted and refused before the socket closes.
    server_->drain_backlog(std::chrono::milliseconds(50), std::chrono::seconds(1));
    server_->stop();
}

bool LiveServer::serving() const { return server_->is_running(); }

LiveServer::StateTurn::StateTurn(LiveServer& s) : server(s) {
    std::unique_lock lock(server.state_mutex_);
    if (!server.state_turn_.wait_for(lock, kStateWait, [&] { return server.state_writers_ < kStateWriters; }))
        refuse(503, "the panel's state is being sent to other readers; ask again");
    ++server.state_writers_;
}

LiveServer::StateTurn::~StateTurn() {
    {
        std::lock_guard lock(server.state_mutex_);
        --server.state_writers_;
    }
    server.state_turn_.notify_one();
}

ConnectionCounts LiveServer::connection_counts() const { return server_->counts(); }

void LiveServer::routes() {
    httplib::Server& s = *server_;
    const bool check_host = loopback_address(options_.bind);

    // Every handler answers a refusal the same way: a status and one line.
    auto guarded = [](auto handler) {
        return [handler](const httplib::Request& req, httplib::Response& res) {
            try {
                handler(req, res);
            } catch (const Refusal& r) {
                res.status = r.status;
                res.set_content(r.reason + "\n", "text/plain; charset=utf-8");
            } catch (const LivePanel::PanelStopped&) {
                res.status = 503;
                res.set_content("the panel has stopped\n", "text/plain; charset=utf-8");
            }
        };
    };

    // A page of another site must not reach a panel served on this machine
    // through a name that points here, nor make a browser act on it.
    s.set_pre_routing_handler([this, check_host](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_header("X-Content-Type-Options", "nosniff");
        try {
            if (req.get_header_value_count("Host") > 1) refuse(400, "a request names one Host");
            const std::string host = req.get_header_value("Host");
            if (check_host && !host_header_allowed(host, port_))
                refuse(403, "requests must name this machine's loopback address as their Host");
            check_origin(reach_of(req), req.get_header_value("Origin"), req.get_header_value("Sec-Fetch-Site"), host);
        } catch (const Refusal& r) {
            res.status = r.status;
            res.set_content(r.reason + "\n", "text/plain; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return;
        std::string reason;
        switch (res.status) {
            case 404: reason = "no such resource: " + printable(req.path, 200); break;
            case 413: reason = "the body is larger than " + std::to_string(kMaxRequestBody) + " bytes"; break;
            case 400: reason = "the request is malformed"; break;
            default: reason = "the request was refused (" + std::to_string(res.status) + ")"; break;
        }
        res.set_content(reason + "\n", "text/plain; charset=utf-8");
    });

    for (const PageFile& f : kPageFiles)
        s.Get(f.path, [&f](const httplib::Request&, httplib::Response& res) { res.set_content(f.bytes.data(), f.bytes.size(), f.type); });
    s.Get("/panel", guarded([this](const httplib::Request&, httplib::Response& res) {
        // The layout never changes; what is shown and the lighting do.
        json now = panel_->call([](Host& host) {
            json shown = json::array(), failures = json::array();
            for (const WindowConfig& w : host.panel().windows)
                if (!w.vcockpit) shown.push_back(host.window_shown(w.slot));
            for (std::uint32_t key = 1; key < 64; ++key)
                if (host.simulation().failure_active(key)) failures.push_back(key);
            return json{{"visible", std::move(shown)}, {"lighting", host.night() ? "night" : "day"},
                        {"failures", std::move(failures)}, {"update", host.updates()}};
        });
        json body = json::parse(layout()->json);
        body["edit"] = designer_ != nullptr;
        for (std::size_t i = 0; i < body["windows"].size() && i < now["visible"].size(); ++i) {
            json& w = body["windows"][i];
            w["visible"] = now["visible"][i];
            const auto picture = panel_->picture(w["window"].get<int>());
            w["version"] = picture ? picture->version : 0;
        }
        body["lighting"] = now["lighting"];
        body["failures"] = now["failures"];
        body["update"] = now["update"];
        body["stream"] = panel_->last_message();
        reply_json(res, body);
    }));
    s.Get("/state", guarded([this](const httplib::Request&, httplib::Response& res) {
        // A few documents go out at a time: each is large when the records
        // are, and the panel's own thread must keep its share of the machine.
        auto turn = std::make_shared<StateTurn>(*this);
        auto pieces = std::make_shared<LivePanel::Pieces>(panel_->state_json());
        std::size_t length = 0;
        for (const auto& p : *pieces) length += p->size();
        res.set_content_provider(length, "application/json",
                                 [pieces, turn, at = std::size_t{0}, done = std::size_t{0}](
                                     std::size_t offset, std::size_t, httplib::DataSink& sink) mutable {
                                     // Pieces in order; the library asks from where the last write ended.
                                     while (at < pieces->size() && done + (*pieces)[at]->size() <= offset)
                                         done += (*pieces)[at++]->size();
                                     if (at == pieces->size()) return true;
                                     const std::string& piece = *(*pieces)[at];
                                     const std::size_t from = offset - done;
                                     const std::size_t n = std::min(piece.size() - from, kStateWriteBytes);
                                     return sink.write(piece.data() + from, n);
                                 });
    }));
    s.Get(R"(/window/(\d{1,6})\.png)", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const int index = std::stoi(req.matches[1]);
        bool exists = false;
        for (const auto& w : layout()->windows) exists = exists || w.index == index;
        if (!exists) refuse(404, "the panel has no window " + std::string(req.matches[1]));
        const double scale = picture_scale(param(req, "scale"));
        const auto since_text = param(req, "since");
        const int since = since_text ? query_whole(since_text, "since", 0, INT_MAX) : 0;
        LivePanel::Shown shown;
        try {
            shown = panel_->picture(index, scale);
        } catch (const InputError&) {
            refuse(400, "at scale " + *param(req, "scale") + " the panel's pictures would pass the host's size caps");
        }
        if (!shown.picture) refuse(404, "window " + std::string(req.matches[1]) + " has not been shown yet");
        res.set_header("X-Picture-Version", std::to_string(shown.version));
        res.set_header("X-Picture-Update", std::to_string(shown.update));
        // A reader that shows a picture of this scale (`since` its version)
        // is sent what changed from it, when the changes kept reach back to
        // it and their patch is no more than half of the picture.
        const WindowPicture& picture = *shown.picture;
        std::optional<std::vector<WindowPicture::Rect>> changed;
        if (since_text) changed = picture.changed_since(static_cast<std::uint64_t>(since), shown.version);
        if (changed && changed->empty()) {
            res.status = 204;
            return;
        }
        if (changed) {
            const WindowPicture::Patch patch = WindowPicture::packed(std::move(*changed));
            if (2 * static_cast<std::int64_t>(patch.width) * patch.height <= static_cast<std::int64_t>(picture.width) * picture.height) {
                res.set_header("X-Patch", patch_header(patch));
                res.set_content(picture.png_of(patch), "image/png");
                return;
            }
        }
        res.set_content(picture.png(), "image/png");
    }));
    s.Get(R"(/wave/(\d{1,9})\.wav)", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const auto it = waves_.find(static_cast<std::uint32_t>(std::stoul(req.matches[1])));
        if (it == waves_.end()) refuse(404, "the module has no sound " + std::string(req.matches[1]));
        res.set_content(it->second, "audio/wav");
    }));
    s.Get("/stream", guarded([this](const httplib::Request&, httplib::Response& res) {
        if (++streams_ > kMaxStreams) {
            --streams_;
            refuse(503, "too many event streams are open (at most " + std::to_string(kMaxStreams) + ")");
        }
        auto last = std::make_shared<std::uint64_t>(panel_->last_message());
        auto held = std::shared_ptr<void>(nullptr, [this](void*) { --streams_; });
        res.set_chunked_content_provider("text/event-stream", [this, last, held](std::size_t, httplib::DataSink& sink) {
            bool lost = false;
            // A batch at a time, each message written from the panel's own copy.
            const auto messages = panel_->messages_after(*last, kStreamQuiet, &lost, kStreamBatchBytes);
            if (panel_->stopped()) {
                sink.done();
                return false;
            }
            if (lost) {
                // Fallen behind what the panel keeps: told to start over, and
                // dropped; its browser reconnects and reads the panel afresh.
                const std::string resync = "retry: 500\nevent: resync\ndata: {}\n\n";
                sink.write(resync.data(), resync.size());
                sink.done();
                return false;
            }
            if (messages.empty()) return sink.write(": quiet\n\n", 9);
            for (const auto& m : messages) {
                if (!sink.write(m.text->data(), m.text->size())) return false;
                *last = m.number;
            }
            return true;
        });
    }));
    s.Get("/tooltip", guarded([this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("gauge")) refuse(400, "missing parameter 'gauge'");
        const GaugeRef ref = gauge_ref(req.get_param_value("gauge"));
        const int x = query_whole(param(req, "x"), "x", -kMaxMousePosition, kMaxMousePosition);
        const int y = query_whole(param(req, "y"), "y", -kMaxMousePosition, kMaxMousePosition);
        // Only the page's own look at a tooltip is recorded, as a tooltip shown.
        const bool record = asked_by_page(req.get_header_value("Sec-Fetch-Site"));
        reply_json(res, panel_->call([&](Host& host) {
            Placement& p = placed(host, ref, false);
            const TooltipShown shown = host.tooltip_shown(p, x, y, record);
            json j = {{"gauge", panel_text_utf8(p.name())}, {"x", x}, {"y", y}, {"text", panel_text_utf8(shown.text)}};
            if (shown.help != 0) j["help"] = shown.help;
            return j;
        }));
    }));
    s.Get("/tokens", guarded([this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("numbers")) refuse(400, "missing parameter 'numbers' (a comma-separated list of tokens)");
        const std::vector<std::uint32_t> numbers = token_numbers(req.get_param_value("numbers"));
        reply_json(res, panel_->call([&](Host& host) {
            json j = json::object();
            for (std::uint32_t n : numbers) j[std::to_string(n)] = host.simulation().token(n);
            return j;
        }));
    }));

    s.Get("/held", guarded([this](const httplib::Request&, httplib::Response& res) {
        reply_json(res, panel_->call([&](Host& host) {
            json held = json::array();
            for (std::uint32_t token : host.simulation().held_tokens()) held.push_back(token);
            return json{{"held", std::move(held)}};
        }));
    }));

    s.Post("/click", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"gauge", "x", "y", "button", "hold"});
        const GaugeRef ref = gauge_ref(b.text("gauge"));
        const int x = static_cast<int>(b.whole("x", -kMaxMousePosition, kMaxMousePosition));
        const int y = static_cast<int>(b.whole("y", -kMaxMousePosition, kMaxMousePosition));
        const MouseAction action{b.has("button") ? button_named(b.text("button")) : Button::LEFT,
                                 static_cast<std::uint32_t>(b.whole("hold", 0, kMaxHold, 0))};
        reply_json(res, panel_->call([&](Host& host) {
            Placement& p = placed(host, ref, true);
            const RecordCursor before = host.record_cursor();
            host.click(p, x, y, action);
            return effects(host, before);
        }));
    }));
    s.Post("/drag", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"gauge", "x", "y", "end"});
        const GaugeRef ref = gauge_ref(b.text("gauge"));
        const int x = static_cast<int>(b.whole("x", -kMaxMousePosition, kMaxMousePosition));
        const int y = static_cast<int>(b.whole("y", -kMaxMousePosition, kMaxMousePosition));
        const bool end = b.flag("end", false);
        reply_json(res, panel_->call([&](Host& host) {
            Placement& p = placed(host, ref, true);
            const RecordCursor before = host.record_cursor();
            host.drag(p, x, y);
            if (end) host.end_drag();
            return effects(host, before);
        }));
    }));
    s.Post("/set", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"token", "value"});
        const auto token = static_cast<std::uint32_t>(b.whole("token", 0, 0xFFFFFFFFll));
        const double value = b.number("value");
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_token(token, value);
            return json{{"token", token}, {"value", host.simulation().token(token)}};
        }));
    }));
    // The simulated aircraft takes a token back that a set held.
    s.Post("/release", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"token"});
        const auto token = static_cast<std::uint32_t>(b.whole("token", 0, 0xFFFFFFFFll));
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().release(token);
            return json{{"token", token}, {"value", host.simulation().token(token)}};
        }));
    }));
    s.Post("/aircraft", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"state"});
        const std::string state = b.text("state");
        if (state != "running" && state != "parked") refuse(400, "'state' takes running or parked");
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().start(state == "running" ? StartState::RUNNING : StartState::PARKED);
            return json{{"state", state}};
        }));
    }));
    s.Post("/fail", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"key", "on"});
        const auto key = static_cast<std::uint32_t>(b.whole("key", 1, 63));
        if (!b.has("on")) refuse(400, "missing key 'on'");
        const bool on = b.flag("on", false);
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_failure(key, on);
            return json{{"key", key}, {"on", on}};
        }));
    }));
    s.Post("/lighting", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"mode"});
        const std::string mode = b.text("mode");
        if (mode != "day" && mode != "night") refuse(400, "'mode' takes day or night");
        reply_json(res, panel_->call([&](Host& host) {
            host.set_night(mode == "night");
            return json{{"mode", mode}};
        }));
    }));
    s.Post("/window", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"ident", "visible"});
        std::uint32_t ident = 0;
        if (b.at("ident").is_string()) {
            const auto named = window_ident_by_name(b.text("ident"));
            if (!named) refuse(400, "'ident' names no panel window: '" + printable(b.text("ident"), 64) + "'");
            ident = *named;
        } else {
            ident = static_cast<std::uint32_t>(b.whole("ident", 0, 0x7FFFFFFF));
        }
        if (!b.has("visible")) refuse(400, "missing key 'visible'");
        const bool visible = b.flag("visible", true);
        bool known = false;
        for (const auto& w : layout()->windows) known = known || w.ident == ident;
        if (!known) refuse(404, "the panel has no window with ident " + std::to_string(ident));
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_window_visible(ident, visible);
            return json{{"ident", ident}, {"visible", visible}};
        }));
    }));
    s.Post("/ready", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req.get_header_value("Content-Type"), req.body, {"gauge"});
        const std::optional<GaugeRef> ref = b.has("gauge") ? std::optional(gauge_ref(b.text("gauge"))) : std::nullopt;
        reply_json(res, panel_->call([&](Host& host) {
            const RecordCursor before = host.record_cursor();
            host.ready(ref ? &placed(host, *ref, false) : nullptr);
            return effects(host, before);
        }));
    }));

    // The designer's edits (serve --edit); without it they are refused.
    auto designing = [this](auto edit) {
        return [this, edit](const httplib::Request& req, httplib::Response& res) {
            if (designer_ == nullptr) refuse(403, "the panel is not served for editing (serve it with --edit)");
            edit(*designer_, req, res);
        };
    };
    auto edit_body = [](const httplib::Request& req, std::initializer_list<const char*> keys) {
        return Body(req.get_header_value("Content-Type"), req.body, keys);
    };
    // Undo, redo and save take no body, or an empty JSON object.
    auto no_body = [edit_body](const httplib::Request& req) {
        if (!req.body.empty()) edit_body(req, {});
    };
    s.Post("/edit/gauge", guarded(designing([edit_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        reply_json(res, d.place(edit_body(req, {"section", "key", "x", "y", "w", "h"})));
    })));
    s.Post("/edit/add", guarded(designing([edit_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        reply_json(res, d.add(edit_body(req, {"section", "gauge", "x", "y", "w", "h"})));
    })));
    s.Post("/edit/remove", guarded(designing([edit_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        reply_json(res, d.remove(edit_body(req, {"section", "key"})));
    })));
    s.Post("/edit/window", guarded(designing([edit_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        reply_json(res, d.window(edit_body(
                            req, {"section", "add", "size_mm", "window_pos", "window_size", "position", "visible", "ident"})));
    })));
    s.Post("/edit/undo", guarded(designing([no_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        no_body(req);
        reply_json(res, d.undo());
    })));
    s.Post("/edit/redo", guarded(designing([no_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        no_body(req);
        reply_json(res, d.redo());
    })));
    s.Post("/edit/save", guarded(designing([no_body](PanelDesigner& d, const httplib::Request& req, httplib::Response& res) {
        no_body(req);
        reply_json(res, d.save());
    })));
    s.Get("/edit/catalogue", guarded(designing([this](PanelDesigner&, const httplib::Request&, httplib::Response& res) {
        reply_json(res, panel_->call([](Host& host) { return gauge_catalogue(host); }));
    })));
    s.Get(R"(/edit/catalogue/([A-Za-z0-9_]{1,64})\.png)",
          guarded(designing([this](PanelDesigner&, const httplib::Request& req, httplib::Response& res) {
              const std::string name = req.matches[1];
              const std::string png = panel_->call([&](Host& host) { return gauge_picture(host, name); });
              if (png.empty()) refuse(404, "gauge '" + name + "' has no picture");
              res.set_content(png, "image/png");
          })));
    s.Get("/edit/diff", guarded(designing([](PanelDesigner& d, const httplib::Request&, httplib::Response& res) {
        res.set_content(d.diff(), "text/x-diff; charset=utf-8");
    })));
}

}  // namespace ardelvine::hostapp
