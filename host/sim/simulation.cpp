#include "host/sim/simulation.h"

#include "host/sim/system.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {

Simulation::Simulation() {
    for (const sim::System* system : sim::systems())
        for (const sim::OwnedToken& owned : system->tokens) write_token(owned.token, owned.start);
    start(StartState::PARKED);
}

// The clock is set as a watch is, and runs on: holding it would stop it.
void Simulation::hold(std::uint32_t number) {
    if (number == tokens::TIME_OF_DAY) return;
    if (number < kFlatTokens) {
        if (held_flat_[number]) return;
        held_flat_[number] = true;
    }
    held_.insert(number);
}

void Simulation::release(std::uint32_t number) {
    if (number < kFlatTokens) held_flat_[number] = false;
    held_.erase(number);
}

void Simulation::release_all() {
    held_flat_.reset();
    held_.clear();
}

void Simulation::start(StartState state) {
    release_all();
    memory_ = {};
    for (const sim::System* system : sim::systems())
        if (system->start != nullptr) system->start(*this, state);
}

void Simulation::key_event(std::uint32_t event, std::uint32_t param) {
    if (events_.size() < kMaxEvents) events_.push_back({event, param});
    else events_lost_ = true;
    if (const sim::EventRule* rule = sim::find_rule(event); rule != nullptr && rule->effect != nullptr)
        rule->effect(*this, *rule, param);
}

void Simulation::settle() {
    for (const sim::System* system : sim::systems())
        if (system->settle != nullptr) system->settle(*this);
}

double Simulation::other_token(std::uint32_t number) const {
    auto it = other_.find(number);
    return it == other_.end() ? 0.0 : it->second;
}

std::size_t Simulation::add_window(std::uint32_t ident, bool visible) {
    windows_.push_back({ident, visible});
    return windows_.size() - 1;
}

bool Simulation::window_visible(std::uint32_t ident) const {
    for (const auto& w : windows_)
        if (w.ident == ident && w.visible) return true;
    return false;
}

void Simulation::set_window_visible(std::uint32_t ident, bool visible) {
    for (auto& w : windows_)
        if (w.ident == ident) w.visible = visible;
}

// Windows sharing an ident toggle as one: an ident that shows anywhere is
// open, and closes everywhere; flipping each alone would keep two windows
// that started apart forever apart.
void Simulation::toggle_window(std::uint32_t ident) { set_window_visible(ident, !window_visible(ident)); }

void Simulation::set_failure(std::uint32_t key, bool active) {
    if (key == 0 || key >= 64) return;
    if (active)
        failures_ |= (std::uint64_t{1} << key);
    else
        failures_ &= ~(std::uint64_t{1} << key);
}

namespace {

// Whether a module's expression is the answer's text, ignoring case and white
// space as the simulator does. Compared in place: the registration plate asks
// on every update, and an update allocates nothing.
bool same_expression(std::string_view asked, std::string_view known) {
    std::size_t k = 0;
    for (char c : asked) {
        // The C locale's white space and upper case, without a library call per character.
        if (c == ' ' || (c >= '\t' && c <= '\r')) continue;
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        if (k == known.size() || upper != known[k]) return false;
        ++k;
    }
    return k == known.size();
}

}  // namespace

bool Simulation::evaluate(std::string_view expression, double* number, const char** text) const {
    for (const sim::ExpressionAnswer& a : sim::expression_answers())
        if (same_expression(expression, a.expression)) return a.answer(*this, number, text);
    return false;
}

}  // namespace ardelvine::hostapp
