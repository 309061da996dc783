// The simulation behind the panel: token values, the key events gauges send,
// panel windows, active failures, and the aircraft's identifier. The four
// panel services read and change this state. What each key event does, and
// which expressions have answers, is told per aircraft system in host/sim/.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ardelvine::hostapp {

struct KeyEvent {
    std::uint32_t event;
    std::uint32_t param;
};

struct PanelWindowState {
    std::uint32_t ident;
    bool visible;
};

// Simulated time per panel update, by which the clock on the panel, the
// aircraft's systems and the mixer's clock move on.
inline constexpr double kSecondsPerUpdate = 1.0 / 18.0;

// The states an aircraft can be put in at once (scenario `aircraft`).
enum class StartState {
    PARKED,   // cold: engine stopped, switches off, levers back, at rest
    RUNNING,  // engine running, electrics on, temperatures and pressures up
};

namespace sim {

// What the systems keep between updates that no token shows.
struct Memory {
    double cranked_seconds = 0.0;  // turned by the starter with spark and fuel since the engine last ran
    bool primed = false;           // the primer was pushed since the engine last ran
    bool starter_pressed = false;  // by its key event, since the last update
    bool primer_pressed = false;
    // The outside pressure, pounds per square foot, at the altitude it was
    // last worked out for (0: not yet).
    double outside_pressure_psf = 0.0;
    double outside_pressure_altitude = 0.0;
};

}  // namespace sim

class Simulation {
public:
    Simulation();

    // Token values; a token never set reads 0.
    double token(std::uint32_t number) const {
        return number < kFlatTokens ? flat_[number] : other_token(number);
    }
    // Three ways a token is written:
    // - set_token, from outside the aircraft (a scenario's `set`, the live
    //   page): the token takes the value and is held at it, so that the
    //   systems leave it alone until it is released;
    // - write_token, by a key event or a start state: whether held or not;
    // - drive_token, by a system stepping on its own: not while held.
    void set_token(std::uint32_t number, double value) {
        write_token(number, value);
        hold(number);
    }
    void write_token(std::uint32_t number, double value) {
        if (number < kFlatTokens)
            flat_[number] = value;
        else
            other_[number] = value;
    }
    void drive_token(std::uint32_t number, double value) {
        if (!held(number)) write_token(number, value);
    }
    bool held(std::uint32_t number) const {
        return number < kFlatTokens ? held_flat_[number] : held_.count(number) != 0;
    }
    // The tokens held now, in ascending order.
    const std::set<std::uint32_t>& held_tokens() const { return held_; }
    // Hands a token back to the systems, which move it from the value it has.
    void release(std::uint32_t number);
    void release_all();

    // Every hold released and each system put in the state at once (its
    // tokens written as a key event would); the clock and the radios'
    // frequencies stay.
    void start(StartState state);
    sim::Memory& memory() { return memory_; }

    // A key event from a gauge or a mouse area: recorded, then given to the
    // system whose table holds it. Unknown events are only recorded. The
    // record keeps at most kMaxEvents; events past them still act, and
    // events_lost() says so.
    void key_event(std::uint32_t event, std::uint32_t param);
    const std::vector<KeyEvent>& events() const { return events_; }
    static constexpr std::size_t kMaxEvents = 1000000;
    bool events_lost() const { return events_lost_; }
    // Forgets the events recorded so far, keeping the room they took.
    void clear_events() {
        events_.clear();
        events_lost_ = false;
    }

    // The end of a panel update: each system steps by one update's time.
    void settle();

    // Panel windows, one entry each in the order they are added. Windows may
    // share an ident: what is done to an ident (open, close, toggle) is done
    // to every window that has it, and an ident is visible while any of its
    // windows is.
    std::size_t add_window(std::uint32_t ident, bool visible);
    bool window_visible(std::uint32_t ident) const;
    bool window_visible_at(std::size_t entry) const { return entry < windows_.size() && windows_[entry].visible; }
    void set_window_visible(std::uint32_t ident, bool visible);
    // A window the panel no longer has: hidden for good, so that it keeps no ident shown.
    void drop_window(std::size_t entry) {
        if (entry < windows_.size()) windows_[entry].visible = false;
    }
    void toggle_window(std::uint32_t ident);
    const std::vector<PanelWindowState>& windows() const { return windows_; }

    // Failures by key (1 to 63).
    void set_failure(std::uint32_t key, bool active);
    bool failure_active(std::uint32_t key) const { return key < 64 && ((failures_ >> key) & 1u); }
    bool any_failure_active() const { return failures_ != 0; }

    // Answers to expression evaluation.
    std::string atc_id = "N4471A";
    // Evaluates the expressions host/sim/expressions.cpp answers, compared
    // without spaces or case; false for anything else.
    bool evaluate(std::string_view expression, double* number, const char** text) const;

private:
    // Tokens past the flat table; kept out of line so that token() stays small
    // enough to inline wherever it is read.
    double other_token(std::uint32_t number) const;
    void hold(std::uint32_t number);
    static constexpr std::uint32_t kFlatTokens = 2048;
    std::array<double, kFlatTokens> flat_{};
    std::unordered_map<std::uint32_t, double> other_;
    std::bitset<kFlatTokens> held_flat_;  // the systems' tokens are all here: one bit test per write
    std::set<std::uint32_t> held_;
    sim::Memory memory_;
    std::vector<KeyEvent> events_;
    std::vector<PanelWindowState> windows_;
    std::uint64_t failures_ = 0;
    bool events_lost_ = false;
};

}  // namespace ardelvine::hostapp
