// Our host: loads the gauge module, places the gauges a panel configuration
// names, serves the four panel services, drives the gauges' lifecycle and
// updates, delivers mouse actions and tooltips, and reports what it saw.
//
// Lifecycle: at construction every placement is installed (service 2 with
// the module's handle), in window and line order; `ready` sends 14 to every
// gauge; each update sends 6 to the gauges of visible windows and evaluates
// their elements; destruction sends 12 to every gauge, then the module's
// deinit runs and the library is unloaded.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/load/module_loader.h"
#include "host/load/panel_config.h"
#include "host/load/placement.h"
#include "host/load/scenario.h"
#include "host/sim/simulation.h"
#include "platform/audio.h"

namespace ardelvine::hostapp {

#ifndef ARD_DEFAULT_MODULE
#define ARD_DEFAULT_MODULE "Ardelvine_Instr.gau"
#endif

// Where the module's sounds go.
enum class AudioOutput {
    OFFLINE,  // mixed without a sound card and not written anywhere: the play log is
              // the same on every machine
    DEVICE,   // the default output device; without one the module falls silent
};

class Host;

struct HostOptions {
    std::string module_path = ARD_DEFAULT_MODULE;
    std::string atc_id;  // empty: the simulation's default
    AudioOutput audio = AudioOutput::OFFLINE;
    // Write everything played to this WAV file instead (whatever `audio` says).
    std::string audio_capture;
    // A host without a main window leaves the module silent.
    bool main_window = true;
    // Called once every gauge is placed, before any sound opens or gauge code
    // runs; throws InputError to refuse the panel (pictures too large).
    std::function<void(const Host&)> accept;
    // False: the gauges are placed but never installed or removed, so no
    // gauge code runs at all (checking a panel without running it).
    bool install = true;
};

// Bounds on one run, far beyond any real scenario, so that a hostile one
// cannot take all memory: the updates and mouse actions (held repeats
// counted) and tooltips a scenario may ask for, and the sounds and tooltips
// recorded (key events: Simulation::kMaxEvents). A scenario past them is refused at the line
// that passes them.
inline constexpr std::uint64_t kMaxScenarioUpdates = 1000000;
inline constexpr std::uint64_t kMaxScenarioMouse = 100000;
inline constexpr std::size_t kMaxLogged = 100000;

struct TooltipShown {
    std::string gauge;
    int x, y;
    std::string text;
    std::uint32_t help = 0;  // the host text id the text comes from; 0 for a gauge's own text
};

struct SoundPlayed {
    std::string gauge;
    std::uint32_t wave;
};

// A reader's place in the host's records (key events, sounds, tooltips):
// how many of each the host has recorded since it started, forgotten ones
// included, when the reader last looked.
struct RecordCursor {
    std::uint64_t events = 0, sounds = 0, tooltips = 0;
    bool operator==(const RecordCursor&) const = default;
};

// What was recorded after a cursor, and the cursor that follows it.
struct NewRecords {
    std::vector<KeyEvent> events;
    std::vector<SoundPlayed> sounds;
    std::vector<TooltipShown> tooltips;
    RecordCursor next;
    // Records the host forgot before the reader took them.
    std::uint64_t missed = 0;
};

// How a host that runs without end (the live panel) keeps its records: once
// a list holds this many, half of what a run may record, the host forgets
// them all right after handing them out, so that it keeps recording what
// happens now.
struct RollingRecords {
    std::size_t events = Simulation::kMaxEvents / 2;
    std::size_t logged = kMaxLogged / 2;  // sounds, tooltips
};

// A mouse action as the scenario gives it.
struct MouseAction {
    Button button = Button::LEFT;
    std::uint32_t hold = 0;  // repeats while held, for areas that ask for them
};

// Checks a scenario against a panel before anything runs: every gauge it
// names is placed (as often as `Name#N` says) and every window it shows or
// hides exists. Throws InputError naming the scenario line. Given `module`,
// only that module's gauges count: another module's are outlines that take
// no click, drag or tooltip.
void validate_scenario(const PanelConfig& panel, const Scenario& scenario, const std::string& module = {});

class Host {
public:
    // Throws InputError for a missing module or a placement that names an
    // unknown module or gauge; nothing has run then.
    Host(PanelConfig panel, HostOptions options = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Service 14 to every gauge, or only to `only`: a panel holding both
    // start-state gauges starts in the state of the one that is named.
    void ready(Placement* only = nullptr);
    // Every placement removed (service 12) and then installed again (service
    // 2), in placement order, as when the simulator reloads the panel: what
    // the module keeps in its own variables stays.
    void reload();
    void update(std::uint32_t count = 1);
    // Mouse and tooltips; positions are pixels of the gauge's background.
    void click(Placement& gauge, int x, int y, MouseAction action);
    // Moves the mouse with the left button held. Drags in a row on one gauge
    // are one gesture: the first picks the drag area under the point, and
    // every later one goes to that same area with the point clamped to its
    // edges, even when it lies outside. A gesture begun where no drag area is
    // reaches nothing. Any other mouse action (click, tooltip), ready and
    // end_drag release the button; updates do not, as the panel keeps running
    // while a lever is held.
    void drag(Placement& gauge, int x, int y);
    void end_drag() { drag_ = {}; }
    std::string tooltip(Placement& gauge, int x, int y);
    // The tooltip with the help id it comes from; recorded only when `record`.
    TooltipShown tooltip_shown(Placement& gauge, int x, int y, bool record);

    // Lays the gauges out as `next` places them, with the gauges running on:
    // a placement whose line is still there (the same key in the same section,
    // placing the same gauge with the same parameters) keeps its state and
    // moves; one whose line is gone is removed (service 12); one on a new line
    // is placed and installed (service 2). The simulated aircraft and its
    // windows' visibility stay. Throws InputError, naming the line, for a
    // layout it cannot place; the host is then as it was.
    void relayout(PanelConfig next);

    // Checks every gauge a scenario names before anything runs; throws InputError.
    void validate(const Scenario& scenario) const;
    // Plays out what is still sounding and completes the audio capture file;
    // throws InputError when the file could not be written.
    void finish_audio();
    // Runs a scenario; `snapshot` is called with each snapshot command.
    void run(const Scenario& scenario, const std::function<void(const Command&)>& snapshot = {});

    Placement* find(const GaugeRef& ref);
    // The panel as placed: windows sized, virtual-cockpit gauges in texture
    // pixels, and its warnings with the host's own (other modules) in line order.
    const PanelConfig& panel() const { return panel_; }
    const std::vector<UnloadedGauge>& unloaded() const { return unloaded_; }
    // The panel line of each placement, in placement order.
    const std::vector<int>& placement_lines() const { return placement_lines_; }
    // Whether window `slot` of the panel is shown now (a virtual cockpit always is).
    // Asked for every gauge on every update, so kept inline.
    bool window_shown(std::size_t slot) const {
        if (slot >= window_entry_.size()) return false;
        return window_entry_[slot] == SIZE_MAX || sim_.window_visible_at(window_entry_[slot]);
    }
    Simulation& simulation() { return sim_; }
    const Simulation& simulation() const { return sim_; }
    const LoadedModule& module() const { return *module_; }
    std::vector<std::unique_ptr<Placement>>& placements() { return placements_; }
    const std::vector<std::unique_ptr<Placement>>& placements() const { return placements_; }
    bool night() const { return night_; }
    void set_night(bool night) { night_ = night; }
    std::uint64_t updates() const { return updates_; }
    const std::vector<TooltipShown>& tooltips() const { return tooltips_; }
    const std::vector<SoundPlayed>& sounds() const { return sounds_; }

    // The records as a reader sees them. A run keeps every record (up to its
    // bounds); rolling(limits) makes the host forget them as it runs on.
    void rolling(RollingRecords limits) { rolling_ = limits; }
    RecordCursor record_cursor() const;
    // Where the records still kept begin: what was forgotten so far.
    RecordCursor forgotten() const { return forgotten_; }
    // What was recorded after `cursor`; forgets nothing.
    NewRecords records_since(const RecordCursor& cursor) const;
    // The same; then, when rolling and a list is full, the host forgets
    // every record it holds (the reader has just been handed them).
    NewRecords take_records_since(const RecordCursor& cursor);

    // Pixel size of a module bitmap, {0, 0} when it is missing.
    BitmapSize bitmap_size(std::uint32_t id) const;

    // The JSON of `state`; without its records (key events, tooltips,
    // sounds: empty lists), for a reader that keeps them itself.
    nlohmann::ordered_json state(bool with_records = true) const;

private:
    // Design units to a virtual cockpit's texture pixels (1:1 for a window).
    struct TextureScale {
        double fx = 1.0, fy = 1.0;
        // Kept far inside int, whatever a texture's scale makes of a position.
        static int to_int(double v) { return static_cast<int>(std::clamp(std::round(v), -1e9, 1e9)); }
        int x(int v) const { return to_int(v * fx); }
        int y(int v) const { return to_int(v * fy); }
        int w(int v) const { return std::max(1, x(v)); }
        int h(int v) const { return std::max(1, y(v)); }
    };
    static TextureScale texture_scale(const WindowConfig& window);
    [[noreturn]] void unknown_gauge(const std::string& file, const GaugeLine& line) const;
    // A gauge line of this module placed in its window; throws InputError at its line.
    std::unique_ptr<Placement> make_placement(const std::string& file, const WindowConfig& window, const GaugeLine& line,
                                              const GaugeHeader& gauge);
    // Another module's gauge as written, then checked and in its window's units.
    static UnloadedGauge outline_of(const WindowConfig& window, const GaugeLine& line);
    static UnloadedGauge scaled_outline(const std::string& file, const WindowConfig& window, const UnloadedGauge& u);
    // Who each placement of this module's gauges in `panel` is across layouts, in placement order.
    std::vector<std::string> placement_ids(const PanelConfig& panel) const;
    void warn_unloaded();
    void size_windows();
    bool on_screen(const Placement& gauge) const;
    // Runs gauge code on behalf of one placement and credits it with the sounds it plays.
    template <typename Call>
    void with_gauge(Placement& gauge, Call&& call);
    // Credits `gauge` with the sounds played since the mixer's log held
    // `before`, then empties the log: returns the count it holds now, 0.
    std::size_t credit_sounds(const Placement& gauge, std::size_t before);

    PanelConfig panel_;
    Simulation sim_;
    void* main_window_ = nullptr;
    std::unique_ptr<LoadedModule> module_;
    std::vector<std::unique_ptr<Placement>> placements_;
    std::vector<UnloadedGauge> unloaded_;
    std::vector<int> placement_lines_;
    std::vector<std::string> placement_ids_;
    std::vector<std::size_t> window_entry_;  // per slot: its entry in sim_.windows()
    bool installed_ = true;
    std::vector<TooltipShown> tooltips_;
    struct DragGesture {
        const Placement* gauge = nullptr;  // null: the button is up
        const MouseRect* rect = nullptr;   // the area it began in; null when none
        int x = 0, y = 0, w = 0, h = 0;
    } drag_;
    std::vector<SoundPlayed> sounds_;
    bool night_ = false;
    std::uint64_t updates_ = 0;
    std::string capture_path_;
    bool log_full_ = false;  // a sound or tooltip went unrecorded
    std::optional<RollingRecords> rolling_;
    RecordCursor forgotten_;  // records forgotten so far, per list
};

template <typename Call>
void Host::with_gauge(Placement& gauge, Call&& call) {
    const std::size_t before = platform::audio_play_count();
    call();
    credit_sounds(gauge, before);
}

// The simulator's help texts for the help ids gauges use; null for an unknown id.
const char* help_text(std::uint32_t id);

// Formats a module tooltip text: "%n!fmt!" takes argument n from `args`,
// "%((expression))%!fmt!" evaluates the expression. The result never exceeds
// kTooltipMax characters, and nothing beyond `count` arguments is read.
inline constexpr std::size_t kTooltipMax = 511;
std::string format_tooltip(const char* text, const TooltipArg* args, std::uint32_t count, const Simulation& sim);

}  // namespace ardelvine::hostapp
