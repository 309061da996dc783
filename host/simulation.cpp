#include "host/simulation.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {

namespace {

// A step of the barometric knob: one hundredth of an inch of mercury, the
// resolution a pilot sets on the dial, within the knob's travel.
constexpr double kKohlsmanStep = 0.01;
constexpr double kKohlsmanMin = 27.5;
constexpr double kKohlsmanMax = 31.5;

// Toggle events and the token each flips (the system's switch as the
// simulation reports it).
struct Toggle {
    std::uint32_t event;
    std::uint32_t token;
};
constexpr Toggle kToggles[] = {
    {events::AVIONICS_MASTER_TOGGLE, tokens::AVIONICS_MASTER},
    {events::BATTERY_MASTER_TOGGLE, tokens::BATTERY_MASTER},
    {events::BEACON_LIGHTS_TOGGLE, tokens::BEACON_LIGHTS},
    {events::LANDING_LIGHTS_TOGGLE, tokens::LANDING_LIGHTS},
    {events::NAVIGATION_LIGHTS_TOGGLE, tokens::NAVIGATION_LIGHTS},
    {events::PANEL_LIGHTS_TOGGLE, tokens::PANEL_LIGHTS},
    {events::PITOT_HEAT_TOGGLE, tokens::PITOT_HEAT},
    {events::STROBE_LIGHTS_TOGGLE, tokens::STROBE_LIGHTS},
    {events::FUEL_VALVE_TOGGLE, tokens::FUEL_VALVE},
    {events::GENERATOR_TOGGLE, tokens::GENERATOR_SWITCH},
};

}  // namespace

Simulation::Simulation() {
    set_token(tokens::KOHLSMAN_SETTING, 29.92);
}

void Simulation::set_token(std::uint32_t number, double value) {
    if (number < kFlatTokens)
        flat_[number] = value;
    else
        other_[number] = value;
}

void Simulation::key_event(std::uint32_t event, std::uint32_t param) {
    events_.push_back({event, param});
    for (const Toggle& t : kToggles) {
        if (t.event == event) {
            set_token(t.token, token(t.token) == 0.0 ? 1.0 : 0.0);
            return;
        }
    }
    switch (event) {
        case events::KOHLSMAN_INCREASE:  // barometric setting up
        case events::KOHLSMAN_DECREASE:  // and down, on the hundredth, within the knob's travel
            set_token(tokens::KOHLSMAN_SETTING,
                      std::clamp(std::round((token(tokens::KOHLSMAN_SETTING) + (event == events::KOHLSMAN_INCREASE ? kKohlsmanStep : -kKohlsmanStep)) *
                                            100.0) / 100.0,
                                 kKohlsmanMin, kKohlsmanMax));
            return;
        case events::PANEL_WINDOW_TOGGLE:  // toggle the panel window whose ident is the parameter
            toggle_window(param);
            return;
        case events::PANEL_WINDOW_OPEN:  // open it
            set_window_visible(param, true);
            return;
        case events::PANEL_WINDOW_CLOSE:  // close it
            set_window_visible(param, false);
            return;
        default:
            return;
    }
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
    if (e == "(A:ATCID,STRING)") {
        if (text != nullptr) *text = atc_id.c_str();
        return true;
    }
    if (e == "(A:HYDRAULICPRESSURE,PSI)") {
        // The simulation keeps pounds per square foot.
        if (number != nullptr) *number = token(tokens::HYDRAULIC_PRESSURE) / 144.0;
        return true;
    }
    return false;
}

}  // namespace ardelvine::hostapp
