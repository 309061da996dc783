#include "host/run/host.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "host/draw/bitmap_info.h"
#include "host/load/error.h"
#include "host/load/text.h"
#include "platform/host_window.h"
#include "platform/platform.h"

namespace ardelvine::hostapp {

namespace {

// The one host whose panel the module is serving; the panel services reach it here.
Host* g_active = nullptr;

std::int32_t ARD_CALL service_panel_window_toggle(std::uint32_t ident) {
    if (g_active != nullptr) g_active->simulation().toggle_window(ident);
    return 1;
}

std::int32_t ARD_CALL service_trigger_key_event(std::uint32_t event, std::uint32_t param) {
    if (g_active != nullptr) g_active->simulation().key_event(event, param);
    return 1;
}

void ARD_CALL service_lookup_var(ModuleVar* var) {
    if (g_active != nullptr && var != nullptr) var->value = g_active->simulation().token(var->token);
}

std::int32_t ARD_CALL service_evaluate_expression(const char* expression, double* number, std::int32_t* integer,
                                                  const char** text) {
    if (g_active == nullptr || expression == nullptr) return 0;
    double value = 0.0;
    if (!g_active->simulation().evaluate(expression, &value, text)) return 0;
    if (number != nullptr) *number = value;
    // The whole-number answer saturates: a value past the 32-bit range or NaN
    // (a scenario can set any token) must not be converted as it stands.
    if (integer != nullptr)
        *integer = value != value ? 0 : static_cast<std::int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
    return 1;
}

PanelServices make_services() {
    PanelServices table{};
    table.entry[ENTRY_PANEL_WINDOW_TOGGLE - 1] = reinterpret_cast<ServiceEntry>(&service_panel_window_toggle);
    table.entry[ENTRY_TRIGGER_KEY_EVENT - 1] = reinterpret_cast<ServiceEntry>(&service_trigger_key_event);
    table.entry[ENTRY_LOOKUP_VAR - 1] = reinterpret_cast<ServiceEntry>(&service_lookup_var);
    table.entry[ENTRY_EVALUATE_EXPRESSION - 1] = reinterpret_cast<ServiceEntry>(&service_evaluate_expression);
    return table;
}

PanelServices g_services = make_services();

bool same_module(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Host::Host(PanelConfig panel, HostOptions options) : panel_(std::move(panel)) {
    if (g_active != nullptr) throw InputError("only one host may run at a time in a process");
    if (!options.atc_id.empty()) sim_.atc_id = options.atc_id;
    module_ = std::make_unique<LoadedModule>(options.module_path, &g_services);
    if (options.main_window) main_window_ = platform::create_host_main_window();
    g_active = this;

    // Resolve every placement before any gauge code runs; another module's
    // gauges are only outlined.
    struct Pending {
        const WindowConfig* window;
        const GaugeLine* line;
        GaugeHeader* gauge;
    };
    std::vector<Pending> pending;
    for (const WindowConfig& w : panel_.windows) {
        window_entry_.push_back(w.vcockpit ? SIZE_MAX : sim_.add_window(w.ident, w.visible));
        for (const GaugeLine& g : w.gauges) {
            if (!same_module(g.module, module_->name())) {
                unloaded_.push_back(outline_of(w, g));
                continue;
            }
            GaugeHeader* header = module_->find(g.gauge);
            if (header == nullptr) {
                g_active = nullptr;
                unknown_gauge(panel_.file, g);
            }
            pending.push_back({&w, &g, header});
        }
    }
    warn_unloaded();
    try {
        for (const Pending& p : pending) {
            placements_.push_back(make_placement(panel_.file, *p.window, *p.line, *p.gauge));
            placement_lines_.push_back(p.line->line);
        }
        placement_ids_ = placement_ids(panel_);
        for (UnloadedGauge& u : unloaded_) u = scaled_outline(panel_.file, panel_.windows[u.window], u);
        size_windows();
        if (options.accept) options.accept(*this);
        // The capture file is made only for a panel that was accepted, before
        // any gauge opens its sound device.
        if (!options.audio_capture.empty()) {
            if (!platform::audio_capture_begin(options.audio_capture.c_str()))
                throw input_error(options.audio_capture, 0, "cannot write the audio capture file");
            capture_path_ = options.audio_capture;
        } else if (options.audio == AudioOutput::OFFLINE) {
            platform::audio_capture_begin(nullptr);
        }
    } catch (...) {
        placements_.clear();
        module_.reset();
        platform::destroy_window(main_window_);
        platform::audio_shutdown();
        g_active = nullptr;
        throw;
    }
    installed_ = options.install;
    if (!installed_) return;
    for (auto& p : placements_)
        with_gauge(*p, [&] { p->service(PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<std::uintptr_t>(module_->handle())); });
}

void Host::unknown_gauge(const std::string& file, const GaugeLine& g) const {
    std::vector<std::string> names;
    for (const GaugeHeader* h : module_->gauges()) names.push_back(h->name);
    const std::vector<std::string> near = nearest_names(g.gauge, names);
    throw input_error(file, g.line,
                      "module " + module_->name() + " has no gauge named '" + g.gauge + "'" +
                          (near.empty() ? "" : "; did you mean " + one_of(near) + "?"));
}

std::unique_ptr<Placement> Host::make_placement(const std::string& file, const WindowConfig& window,
                                                const GaugeLine& line, const GaugeHeader& gauge) {
    if (!line.width && gauge.default_width > static_cast<std::uint32_t>(kMaxGaugeSide))
        throw input_error(file, line.line,
                          "gauge " + line.gauge + " has a default width of " + std::to_string(gauge.default_width) +
                              " (the host places at most " + std::to_string(kMaxGaugeSide) + "); give a width");
    const TextureScale t = texture_scale(window);
    const int given_w = line.width.value_or(static_cast<int>(gauge.default_width));
    const int w = given_w > 0 ? t.w(given_w) : given_w;
    // A section of zero size may place its gauges so, drawing nothing.
    const bool nothing = window.zero_size && w == 0;
    if ((w <= 0 && !nothing) || w > kMaxGaugeSide)
        throw input_error(file, line.line,
                          "gauge " + line.gauge + ": width " + std::to_string(w) + " must lie in 1.." +
                              std::to_string(kMaxGaugeSide));
    int h = line.height.value_or(0) > 0 ? t.h(*line.height) : 0;
    if (h == 0 && !nothing) h = proportional_height(w, bitmap_size(background_bitmap(gauge)));
    if (h > kMaxGaugeSide)
        throw input_error(file, line.line,
                          "gauge " + line.gauge + ": height " + std::to_string(h) + " must lie in 1.." +
                              std::to_string(kMaxGaugeSide));
    try {
        auto p = std::make_unique<Placement>(gauge, line.parameters, static_cast<int>(window.ident), t.x(line.x),
                                             t.y(line.y), w, h, [this](std::uint32_t id) { return bitmap_size(id); });
        p->set_panel_window(window.slot);
        return p;
    } catch (const InputError& fault) {
        // What the module got wrong, at the line that placed it.
        throw input_error(file, line.line, fault.what());
    }
}

UnloadedGauge Host::outline_of(const WindowConfig& w, const GaugeLine& g) {
    return {g.module, g.gauge, w.slot, g.x, g.y, g.width.value_or(kUnloadedDefaultSide),
            g.height.value_or(g.width.value_or(kUnloadedDefaultSide)), g.line};
}

UnloadedGauge Host::scaled_outline(const std::string& file, const WindowConfig& window, const UnloadedGauge& u) {
    if (u.w > kMaxGaugeSide || u.h > kMaxGaugeSide)
        throw input_error(file, u.line, "gauge " + u.gauge + ": width and height must lie in 1.." + std::to_string(kMaxGaugeSide));
    const TextureScale t = texture_scale(window);
    return {u.module, u.gauge, u.window, t.x(u.x), t.y(u.y), t.w(u.w), t.h(u.h), u.line};
}

std::vector<std::string> Host::placement_ids(const PanelConfig& panel) const {
    std::vector<std::string> ids;
    std::map<std::string, int> seen;
    for (const WindowConfig& w : panel.windows)
        for (const GaugeLine& g : w.gauges) {
            if (!same_module(g.module, module_->name())) continue;
            std::string id = section_name(w) + '\n' + lower(g.key) + '\n' + g.gauge + '\n' + g.parameters;
            id += '\n' + std::to_string(++seen[id]);
            ids.push_back(std::move(id));
        }
    return ids;
}

void Host::relayout(PanelConfig next) {
    // Everything is made and checked before anything changes.
    const std::vector<std::string> ids = placement_ids(next);
    std::map<std::string, std::size_t> old;
    for (std::size_t i = 0; i < placement_ids_.size(); ++i) old.emplace(placement_ids_[i], i);
    struct Next {
        std::unique_ptr<Placement> made;  // a new placement, or
        std::size_t kept = SIZE_MAX;      // the old one that moves
        std::unique_ptr<Placement> place;  // where it moves to
        int line = 0;
    };
    std::vector<Next> list;
    std::vector<UnloadedGauge> outlines;
    for (const WindowConfig& w : next.windows)
        for (const GaugeLine& g : w.gauges) {
            if (!same_module(g.module, module_->name())) {
                outlines.push_back(scaled_outline(next.file, w, outline_of(w, g)));
                continue;
            }
            const GaugeHeader* header = module_->find(g.gauge);
            if (header == nullptr) unknown_gauge(next.file, g);
            Next n;
            n.line = g.line;
            const auto it = old.find(ids[list.size()]);
            // The place is worked out as for a new one, and only its numbers kept.
            n.place = make_placement(next.file, w, g, *header);
            if (it != old.end()) n.kept = it->second;
            else n.made = std::move(n.place);
            list.push_back(std::move(n));
        }

    std::vector<bool> kept(placements_.size(), false);
    for (const Next& n : list)
        if (n.kept != SIZE_MAX) kept[n.kept] = true;
    for (std::size_t i = 0; i < placements_.size(); ++i) {
        if (kept[i]) continue;
        Placement& gone = *placements_[i];
        if (drag_.gauge == &gone) end_drag();
        if (installed_) with_gauge(gone, [&] { gone.service(PANEL_SERVICE_PRE_KILL, 0); });
    }
    // Windows keep their entries in the simulation while their ident stays;
    // a new window, or a new ident, gets a new one.
    std::vector<std::size_t> entries;
    for (std::size_t slot = 0; slot < next.windows.size(); ++slot) {
        const WindowConfig& w = next.windows[slot];
        const bool same = slot < panel_.windows.size() && !panel_.windows[slot].vcockpit && !w.vcockpit &&
                          panel_.windows[slot].ident == w.ident;
        if (w.vcockpit) entries.push_back(SIZE_MAX);
        else if (same) entries.push_back(window_entry_[slot]);
        else entries.push_back(sim_.add_window(w.ident, slot < panel_.windows.size() ? window_shown(slot) : w.visible));
    }
    for (std::size_t entry : window_entry_)
        if (entry != SIZE_MAX && std::find(entries.begin(), entries.end(), entry) == entries.end()) sim_.drop_window(entry);
    window_entry_ = std::move(entries);

    std::vector<std::unique_ptr<Placement>> placed;
    std::vector<Placement*> fresh;
    placement_lines_.clear();
    for (Next& n : list) {
        if (n.kept != SIZE_MAX) {
            std::unique_ptr<Placement>& p = placements_[n.kept];
            p->move_to(n.place->window(), n.place->panel_window(), n.place->x(), n.place->y(), n.place->width(),
                       n.place->height());
            placed.push_back(std::move(p));
        } else {
            fresh.push_back(n.made.get());
            placed.push_back(std::move(n.made));
        }
        placement_lines_.push_back(n.line);
    }
    placements_ = std::move(placed);
    placement_ids_ = ids;
    unloaded_ = std::move(outlines);
    panel_ = std::move(next);
    size_windows();
    if (!installed_) return;
    for (Placement* p : fresh)
        with_gauge(*p, [&] { p->service(PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<std::uintptr_t>(module_->handle())); });
}

Host::TextureScale Host::texture_scale(const WindowConfig& w) {
    TextureScale t;
    if (w.vcockpit && w.size_given && w.height_given && w.texture_w > 0 && !w.zero_size) {
        t.fx = static_cast<double>(w.texture_w) / w.size_w;
        t.fy = static_cast<double>(w.texture_h) / w.size_h;
    }
    return t;
}

void Host::warn_unloaded() {
    std::vector<std::string> modules;
    for (const UnloadedGauge& u : unloaded_) {
        bool seen = false;
        for (const std::string& m : modules) seen = seen || same_module(m, u.module);
        if (seen) continue;
        modules.push_back(u.module);
        int count = 0;
        for (const UnloadedGauge& other : unloaded_) count += same_module(other.module, u.module) ? 1 : 0;
        panel_.warnings.push_back({u.line, std::to_string(count) + (count == 1 ? " gauge" : " gauges") + " of module '" +
                                               u.module + "' cannot run here (this host runs " + module_->name() +
                                               "): shown as outlines"});
    }
    std::stable_sort(panel_.warnings.begin(), panel_.warnings.end(),
                     [](const PanelWarning& a, const PanelWarning& b) { return a.line < b.line; });
}

// A window without a size holds its gauges as placed; one with a width alone
// takes the height they need. A virtual cockpit is its texture. A section of
// zero size stays so: nothing of it is drawn.
void Host::size_windows() {
    for (WindowConfig& w : panel_.windows) {
        if (w.zero_size) continue;
        if (w.vcockpit && w.texture_w > 0) {
            w.size_w = w.texture_w, w.size_h = w.texture_h;
            w.size_given = w.height_given = true;
        }
        if (w.size_given && w.height_given) continue;
        if (!w.size_given) w.size_w = 1;
        w.size_h = 1;
        auto hold = [&](int x, int y, int width, int height) {
            if (!w.size_given) w.size_w = std::max(w.size_w, x + width);
            w.size_h = std::max(w.size_h, y + height);
        };
        for (const auto& p : placements_)
            if (p->panel_window() == w.slot) hold(p->x(), p->y(), p->width(), p->height());
        for (const UnloadedGauge& u : unloaded_)
            if (u.window == w.slot) hold(u.x, u.y, u.w, u.h);
    }
}

void Host::finish_audio() {
    if (!platform::audio_capture_finish() && !capture_path_.empty())
        throw input_error(capture_path_, 0, "cannot write the audio capture file");
}

Host::~Host() {
    if (installed_)
        for (auto& p : placements_) with_gauge(*p, [&] { p->service(PANEL_SERVICE_PRE_KILL, 0); });
    placements_.clear();
    module_.reset();
    // What is still sounding goes into the capture; then every device closes.
    platform::audio_shutdown();
    platform::destroy_window(main_window_);
    g_active = nullptr;
}


BitmapSize Host::bitmap_size(std::uint32_t id) const {
    const auto info = bitmap_info(module_->handle(), id);
    return info ? BitmapSize{info->width, info->height} : BitmapSize{};
}

void Host::ready(Placement* only) {
    end_drag();
    for (auto& p : placements_)
        if (only == nullptr || p.get() == only) with_gauge(*p, [&] { p->service(PANEL_SERVICE_PANEL_READY, 0); });
}

void Host::reload() {
    for (auto& p : placements_) with_gauge(*p, [&] { p->service(PANEL_SERVICE_PRE_KILL, 0); });
    for (auto& p : placements_)
        with_gauge(*p, [&] { p->service(PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<std::uintptr_t>(module_->handle())); });
}

std::size_t Host::credit_sounds(const Placement& gauge, std::size_t before) {
    const std::size_t after = platform::audio_play_count();
    for (std::size_t i = before; i < after; ++i) {
        if (sounds_.size() < kMaxLogged) sounds_.push_back({gauge.name(), platform::audio_play_entry(i).wave});
        else log_full_ = true;
    }
    // The mixer's own play log has been read: it need not grow with the run.
    if (after > 0) platform::audio_clear_play_log();
    return 0;
}

void Host::update(std::uint32_t count) {
    // The button stays down across updates: a live panel keeps updating while
    // a lever is dragged (a scenario's own commands release it).
    for (std::uint32_t n = 0; n < count; ++n) {
        // Each gauge's sounds are credited as it finishes, which leaves the
        // log empty for the next: the count need not be asked before each
        // one, and an empty log after a gauge means it played nothing.
        const std::size_t* logged = platform::audio_play_count_address();
        std::size_t played = *logged;
        for (auto& p : placements_) {
            if (!window_shown(p->panel_window())) continue;
            p->service(PANEL_SERVICE_PRE_UPDATE, 0);
            p->evaluate(sim_);
            played = *logged != 0 ? credit_sounds(*p, played) : 0;
        }
        sim_.settle();
        platform::audio_advance(kSecondsPerUpdate);
        ++updates_;
    }
}

Placement* Host::find(const GaugeRef& ref) {
    int seen = 0;
    for (auto& p : placements_)
        if (p->name() == ref.name && ++seen == ref.occurrence) return p.get();
    return nullptr;
}

void validate_scenario(const PanelConfig& panel, const Scenario& scenario, const std::string& module) {
    std::uint64_t updates = 0, mouse = 0;
    for (const Command& c : scenario.commands) {
        if (c.kind == Command::Kind::UPDATE && (updates += c.number) > kMaxScenarioUpdates)
            throw input_error(scenario.file, c.line,
                              "the scenario would run more than " + std::to_string(kMaxScenarioUpdates) + " updates");
        const std::uint64_t actions = c.kind == Command::Kind::CLICK ? 1 + std::uint64_t{c.number}
                                      : c.kind == Command::Kind::DRAG || c.kind == Command::Kind::TOOLTIP ? 1
                                                                                                            : 0;
        if ((mouse += actions) > kMaxScenarioMouse)
            throw input_error(scenario.file, c.line,
                              "the scenario would make more than " + std::to_string(kMaxScenarioMouse) +
                                  " mouse actions (clicks, held repeats, drags and tooltips)");
        if (c.kind == Command::Kind::WINDOW) {
            bool known = false;
            for (const WindowConfig& w : panel.windows) known = known || (!w.vcockpit && w.ident == c.number);
            if (!known)
                throw input_error(scenario.file, c.line, "the panel has no window with ident " + std::to_string(c.number));
            continue;
        }
        const bool names_gauge = c.kind == Command::Kind::CLICK || c.kind == Command::Kind::DRAG ||
                                 c.kind == Command::Kind::TOOLTIP || (c.kind == Command::Kind::READY && !c.gauge.name.empty());
        if (!names_gauge) continue;
        int seen = 0;
        for (const WindowConfig& w : panel.windows)
            for (const GaugeLine& g : w.gauges)
                if (g.gauge == c.gauge.name && (module.empty() || same_module(g.module, module))) ++seen;
        if (seen < c.gauge.occurrence)
            throw input_error(scenario.file, c.line,
                              seen == 0 ? "no gauge '" + c.gauge.name + "'" + (module.empty() ? "" : " of " + module) +
                                              " is placed on this panel"
                                        : "gauge '" + c.gauge.name + "' is placed only " + std::to_string(seen) + " time(s)");
    }
}

void Host::validate(const Scenario& scenario) const { validate_scenario(panel_, scenario, module_->name()); }

RecordCursor Host::record_cursor() const {
    return {forgotten_.events + sim_.events().size(), forgotten_.sounds + sounds_.size(),
            forgotten_.tooltips + tooltips_.size()};
}

namespace {

// The records of `list` after the reader's count `seen`, where the list
// begins at record `first`; counts what the reader missed.
template <typename Record>
std::vector<Record> records_after(const std::vector<Record>& list, std::uint64_t first, std::uint64_t seen,
                                  std::uint64_t& missed) {
    if (seen < first) missed += first - seen;
    const std::uint64_t from = std::max(seen, first) - first;
    if (from >= list.size()) return {};
    return std::vector<Record>(list.begin() + static_cast<std::ptrdiff_t>(from), list.end());
}

}  // namespace

NewRecords Host::records_since(const RecordCursor& cursor) const {
    NewRecords out;
    out.events = records_after(sim_.events(), forgotten_.events, cursor.events, out.missed);
    out.sounds = records_after(sounds_, forgotten_.sounds, cursor.sounds, out.missed);
    out.tooltips = records_after(tooltips_, forgotten_.tooltips, cursor.tooltips, out.missed);
    out.next = record_cursor();
    return out;
}

NewRecords Host::take_records_since(const RecordCursor& cursor) {
    NewRecords out = records_since(cursor);
    if (rolling_ && (sim_.events().size() >= rolling_->events || sounds_.size() >= rolling_->logged ||
                     tooltips_.size() >= rolling_->logged)) {
        forgotten_ = record_cursor();
        sim_.clear_events();
        tooltips_.clear();
        sounds_.clear();
        log_full_ = false;
    }
    return out;
}

void Host::run(const Scenario& scenario, const std::function<void(const Command&)>& snapshot) {
    validate(scenario);
    for (const Command& c : scenario.commands) {
        if (c.kind != Command::Kind::DRAG) end_drag();
        switch (c.kind) {
            case Command::Kind::SET: sim_.set_token(c.number, c.value); break;
            case Command::Kind::RELEASE: sim_.release(c.number); break;
            case Command::Kind::AIRCRAFT: sim_.start(c.on ? StartState::RUNNING : StartState::PARKED); break;
            case Command::Kind::UPDATE: update(c.number); break;
            case Command::Kind::READY: ready(c.gauge.name.empty() ? nullptr : find(c.gauge)); break;
            case Command::Kind::RELOAD: reload(); break;
            case Command::Kind::CLICK: click(*find(c.gauge), c.x, c.y, {c.button, c.number}); break;
            case Command::Kind::DRAG: drag(*find(c.gauge), c.x, c.y); break;
            case Command::Kind::TOOLTIP: tooltip(*find(c.gauge), c.x, c.y); break;
            case Command::Kind::FAIL: sim_.set_failure(c.number, c.on); break;
            case Command::Kind::LIGHTING: night_ = c.on; break;
            case Command::Kind::WINDOW: sim_.set_window_visible(c.number, c.on); break;
            case Command::Kind::ATC: sim_.atc_id = c.text; break;
            case Command::Kind::SNAPSHOT:
                if (snapshot) snapshot(c);
                break;
        }
        if (sim_.events_lost() || log_full_)
            throw input_error(scenario.file, c.line,
                              sim_.events_lost() ? "the scenario would record more than " +
                                                       std::to_string(Simulation::kMaxEvents) + " key events"
                                                 : "the scenario would record more than " +
                                                       std::to_string(kMaxLogged) + " sounds or tooltips");
    }
}

}  // namespace ardelvine::hostapp
