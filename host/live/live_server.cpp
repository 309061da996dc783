#include "host/live/live_server.h"

#include <httplib.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include <nlohmann/json.hpp>

#include "host/live/cockpit_page.h"
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
// The server's threads: requests in flight, kept-alive connections and the
// open event streams all hold one.
constexpr std::size_t kServerThreads = 2 * kMaxStreams + 16;
constexpr std::size_t kMaxTokensAsked = 64;

// A request refused: its status and the one line that says why.
struct Refusal {
    int status;
    std::string reason;
};

[[noreturn]] void refuse(int status, std::string reason) { throw Refusal{status, std::move(reason)}; }

void reply_json(httplib::Response& res, const json& body) { res.set_content(body.dump(), "application/json"); }

// A request's JSON object, its keys checked against those the request takes.
class Body {
public:
    Body(const httplib::Request& req, std::initializer_list<const char*> keys) {
        const std::string type = req.get_header_value("Content-Type");
        if (type.rfind("application/json", 0) != 0)
            refuse(415, "the body must be JSON, sent as Content-Type: application/json");
        j_ = json::parse(req.body, nullptr, false);
        if (j_.is_discarded()) refuse(400, "the body is not valid JSON");
        if (!j_.is_object()) refuse(400, "the body must be a JSON object");
        for (const auto& [key, value] : j_.items()) {
            bool known = false;
            for (const char* k : keys) known = known || key == k;
            if (!known) refuse(400, "unknown key '" + printable(key, 64) + "'");
        }
    }

    bool has(const char* key) const { return j_.contains(key); }
    const json& at(const char* key) const {
        if (!j_.contains(key)) refuse(400, std::string("missing key '") + key + "'");
        return j_.at(key);
    }

    long long whole(const char* key, long long lo, long long hi) const {
        const json& v = at(key);
        double d = 0.0;
        if (v.is_number_integer()) d = static_cast<double>(v.get<long long>());
        else if (v.is_number_unsigned()) d = static_cast<double>(v.get<unsigned long long>());
        else if (v.is_number_float() && std::floor(v.get<double>()) == v.get<double>()) d = v.get<double>();
        else refuse(400, std::string("'") + key + "' must be a whole number");
        if (d < static_cast<double>(lo) || d > static_cast<double>(hi))
            refuse(400, std::string("'") + key + "' must lie in " + std::to_string(lo) + ".." + std::to_string(hi));
        return static_cast<long long>(d);
    }
    long long whole(const char* key, long long lo, long long hi, long long fallback) const {
        return has(key) ? whole(key, lo, hi) : fallback;
    }
    double number(const char* key) const {
        const json& v = at(key);
        if (!v.is_number()) refuse(400, std::string("'") + key + "' must be a number");
        const double d = v.get<double>();
        if (!std::isfinite(d)) refuse(400, std::string("'") + key + "' must be finite");
        return d;
    }
    bool flag(const char* key, bool fallback) const {
        if (!has(key)) return fallback;
        if (!j_.at(key).is_boolean()) refuse(400, std::string("'") + key + "' must be true or false");
        return j_.at(key).get<bool>();
    }
    std::string text(const char* key) const {
        const json& v = at(key);
        if (!v.is_string()) refuse(400, std::string("'") + key + "' must be a string");
        return v.get<std::string>();
    }

private:
    json j_;
};

// "Name" or "Name#2", the second placement of a gauge.
GaugeRef gauge_ref(const std::string& text) {
    GaugeRef ref;
    const auto hash = text.find('#');
    ref.name = text.substr(0, hash);
    if (hash != std::string::npos) {
        const auto n = parse_integer(text.substr(hash + 1));
        if (!n || *n < 1 || *n > 9999) refuse(400, "'gauge' takes NAME or NAME#N with N from 1 to 9999");
        ref.occurrence = static_cast<int>(*n);
    }
    if (ref.name.empty()) refuse(400, "'gauge' must name a gauge");
    return ref;
}

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

int query_whole(const httplib::Request& req, const char* key, long long lo, long long hi) {
    if (!req.has_param(key)) refuse(400, std::string("missing parameter '") + key + "'");
    const auto v = parse_integer(req.get_param_value(key));
    if (!v) refuse(400, std::string("parameter '") + key + "' must be a whole number");
    if (*v < lo || *v > hi)
        refuse(400, std::string("parameter '") + key + "' must lie in " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<int>(*v);
}

// What a mouse action did: the key events and sounds recorded since `before`.
json effects(Host& host, const RecordCursor& before) {
    const NewRecords records = host.records_since(before);
    json events = json::array(), sounds = json::array();
    for (const KeyEvent& e : records.events) events.push_back({{"event", e.event}, {"param", e.param}});
    for (const SoundPlayed& s : records.sounds) sounds.push_back({{"gauge", panel_text_utf8(s.gauge)}, {"wave", s.wave}});
    return {{"update", host.updates()}, {"events", std::move(events)}, {"sounds", std::move(sounds)}};
}

const char* cursor_name(std::int32_t cursor) {
    switch (cursor) {
        case CURSOR_HAND: return "hand";
        case CURSOR_UP: return "up";
        case CURSOR_DOWN: return "down";
        default: return "arrow";
    }
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
                           {"window_pos", panel_text_utf8(w.window_pos)}});
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
        json areas = json::array();
        for (const MouseArea& a : mouse_areas(p->mouse(), p->mouse_count(), p->background_size())) {
            areas.push_back({{"kind", a.rect->kind == MouseKind::CHILD ? "click" : "group"},
                             {"x", a.x},
                             {"y", a.y},
                             {"w", a.w},
                             {"h", a.h},
                             {"depth", a.depth},
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
    return json{{"windows", std::move(windows)}, {"gauges", std::move(gauges)}, {"start_states", start_states},
                {"failure_keys", std::move(failure_keys)}}
        .dump();
}

bool host_header_allowed(const std::string& header, int port) {
    const std::string p = ":" + std::to_string(port);
    for (const char* name : {"127.0.0.1", "localhost", "[::1]"})
        if (header == name || header == name + p) return true;
    return false;
}

}  // namespace

bool loopback_address(const std::string& address) {
    return address == "localhost" || address == "::1" || address.rfind("127.", 0) == 0;
}

LiveServer::LiveServer(Host& host, const ServeOptions& options)
    : host_(host), options_(options), server_(std::make_unique<httplib::Server>()) {
    layout_ = layout_json(host_);
    if (const ResourceDirectory* dir = platform::resource_directory(host_.module().handle())) {
        for (std::uint32_t i = 0; i < dir->count; ++i) {
            const ResourceEntry& e = dir->entries[i];
            if (e.type == ResourceType::WAVE)
                waves_[e.id] = std::string(reinterpret_cast<const char*>(e.begin), e.end - e.begin);
        }
    }
    server_->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
    server_->set_payload_max_length(kMaxRequestBody);
    server_->set_keep_alive_timeout(5);
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
    panel_ = std::make_unique<LivePanel>(host_, options_.records);
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
    server_->stop();
}

bool LiveServer::serving() const { return server_->is_running(); }

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
    // through a name that points here.
    s.set_pre_routing_handler([this, check_host](const httplib::Request& req, httplib::Response& res) {
        if (check_host && !host_header_allowed(req.get_header_value("Host"), port_)) {
            res.status = 403;
            res.set_content("requests must name this machine's loopback address as their Host\n", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_header("X-Content-Type-Options", "nosniff");
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

    s.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kCockpitPage.data(), kCockpitPage.size(), "text/html; charset=utf-8");
    });
    s.Get("/cockpit.js", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kCockpitScript.data(), kCockpitScript.size(), "text/javascript; charset=utf-8");
    });
    s.Get("/cockpit.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kCockpitStyle.data(), kCockpitStyle.size(), "text/css; charset=utf-8");
    });
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
        json body = json::parse(layout_);
        for (std::size_t i = 0; i < body["windows"].size(); ++i) {
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
        reply_json(res, panel_->call([](Host& host) { return host.state(); }));
    }));
    s.Get(R"(/window/(\d{1,6})\.png)", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const int index = std::stoi(req.matches[1]);
        bool exists = false;
        for (const WindowConfig& w : host_.panel().windows) exists = exists || (!w.vcockpit && w.index == index);
        if (!exists) refuse(404, "the panel has no window " + std::string(req.matches[1]));
        const auto picture = panel_->picture(index);
        if (!picture) refuse(404, "window " + std::string(req.matches[1]) + " has not been shown yet");
        res.set_header("X-Picture-Version", std::to_string(picture->version));
        res.set_header("X-Picture-Update", std::to_string(picture->update));
        res.set_content(picture->png(), "image/png");
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
            const auto messages = panel_->messages_after(*last, kStreamQuiet, &lost);
            if (panel_->stopped()) {
                sink.done();
                return false;
            }
            std::string out;
            if (lost) out += "event: resync\ndata: {}\n\n";
            for (const auto& m : messages) {
                out += m.text;
                *last = m.number;
            }
            if (out.empty()) out = ": quiet\n\n";
            return sink.write(out.data(), out.size());
        });
    }));
    s.Get("/tooltip", guarded([this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("gauge")) refuse(400, "missing parameter 'gauge'");
        const GaugeRef ref = gauge_ref(req.get_param_value("gauge"));
        const int x = query_whole(req, "x", -kMaxMousePosition, kMaxMousePosition);
        const int y = query_whole(req, "y", -kMaxMousePosition, kMaxMousePosition);
        reply_json(res, panel_->call([&](Host& host) {
            Placement& p = placed(host, ref, false);
            const std::size_t before = host.tooltips().size();
            const std::string text = host.tooltip(p, x, y);
            json j = {{"gauge", panel_text_utf8(p.name())}, {"x", x}, {"y", y}, {"text", panel_text_utf8(text)}};
            if (host.tooltips().size() > before && host.tooltips().back().help != 0)
                j["help"] = host.tooltips().back().help;
            return j;
        }));
    }));
    s.Get("/tokens", guarded([this](const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("numbers")) refuse(400, "missing parameter 'numbers' (a comma-separated list of tokens)");
        std::vector<std::uint32_t> numbers;
        for (const std::string& t : split(req.get_param_value("numbers"), ',')) {
            const auto n = parse_integer(trim(t));
            if (!n || *n < 0 || *n > 0xFFFFFFFFll) refuse(400, "'numbers' holds token numbers 0 to 4294967295");
            if (numbers.size() == kMaxTokensAsked)
                refuse(400, "at most " + std::to_string(kMaxTokensAsked) + " tokens at a time");
            numbers.push_back(static_cast<std::uint32_t>(*n));
        }
        reply_json(res, panel_->call([&](Host& host) {
            json j = json::object();
            for (std::uint32_t n : numbers) j[std::to_string(n)] = host.simulation().token(n);
            return j;
        }));
    }));

    s.Post("/click", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req, {"gauge", "x", "y", "button", "hold"});
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
        const Body b(req, {"gauge", "x", "y", "end"});
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
        const Body b(req, {"token", "value"});
        const auto token = static_cast<std::uint32_t>(b.whole("token", 0, 0xFFFFFFFFll));
        const double value = b.number("value");
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_token(token, value);
            return json{{"token", token}, {"value", host.simulation().token(token)}};
        }));
    }));
    s.Post("/fail", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req, {"key", "on"});
        const auto key = static_cast<std::uint32_t>(b.whole("key", 1, 63));
        if (!b.has("on")) refuse(400, "missing key 'on'");
        const bool on = b.flag("on", false);
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_failure(key, on);
            return json{{"key", key}, {"on", on}};
        }));
    }));
    s.Post("/lighting", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req, {"mode"});
        const std::string mode = b.text("mode");
        if (mode != "day" && mode != "night") refuse(400, "'mode' takes day or night");
        reply_json(res, panel_->call([&](Host& host) {
            host.set_night(mode == "night");
            return json{{"mode", mode}};
        }));
    }));
    s.Post("/window", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req, {"ident", "visible"});
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
        for (const WindowConfig& w : host_.panel().windows) known = known || (!w.vcockpit && w.ident == ident);
        if (!known) refuse(404, "the panel has no window with ident " + std::to_string(ident));
        reply_json(res, panel_->call([&](Host& host) {
            host.simulation().set_window_visible(ident, visible);
            return json{{"ident", ident}, {"visible", visible}};
        }));
    }));
    s.Post("/ready", guarded([this](const httplib::Request& req, httplib::Response& res) {
        const Body b(req, {"gauge"});
        const std::optional<GaugeRef> ref = b.has("gauge") ? std::optional(gauge_ref(b.text("gauge"))) : std::nullopt;
        reply_json(res, panel_->call([&](Host& host) {
            const RecordCursor before = host.record_cursor();
            host.ready(ref ? &placed(host, *ref, false) : nullptr);
            return effects(host, before);
        }));
    }));
}

}  // namespace ardelvine::hostapp
