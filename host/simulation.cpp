#include "host/simulation.h"

#include <cctype>

#include "host/sim/system.h"

namespace ardelvine::hostapp {

Simulation::Simulation() {
    for (const sim::System* system : sim::systems())
        for (const sim::OwnedToken& owned : system->tokens) set_token(owned.token, owned.start);
}

void Simulation::set_token(std::uint32_t number, double value) {
    if (number < kFlatTokens)
        flat_[number] = value;
    else
        other_[number] = value;
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

void Simulation::add_window(std::uint32_t ident, bool visible) {
    for (auto& w : windows_) {
        if (w.ident == ident) {
            w.visible = visible;
            return;
        }
    }
    windows_.push_back({ident, visible});
}

bool Simulation::window_visible(std::uint32_t ident) const {
    for (const auto& w : windows_)
        if (w.ident == ident) return w.visible;
    return false;
}

void Simulation::set_window_visible(std::uint32_t ident, bool visible) {
    for (auto& w : windows_)
        if (w.ident == ident) w.visible = visible;
}

void Simulation::toggle_window(std::uint32_t ident) {
    for (auto& w : windows_)
        if (w.ident == ident) w.visible = !w.visible;
}

void Simulation::set_failure(std::uint32_t key, bool active) {
    if (key == 0 || key >= 64) return;
    if (active)
        failures_ |= (std::uint64_t{1} << key);
    else
        failures_ &= ~(std::uint64_t{1} << key);
}

namespace {

std::string normalised(const std::string& text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool Simulation::evaluate(const std::string& expression, double* number, const char** text) const {
    const std::string e = normalised(expression);
    for (const sim::ExpressionAnswer& a : sim::expression_answers())
        if (e == a.expression) return a.answer(*this, number, text);
    return false;
}

}  // namespace ardelvine::hostapp
