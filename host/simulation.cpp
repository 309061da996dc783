#include "host/simulation.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace ardelvine::hostapp {

namespace {

// Token numbers the simulation moves.
constexpr std::uint32_t TOKEN_KOHLSMAN = 76;  // barometric setting, inches of mercury
constexpr std::uint32_t TOKEN_HYDRAULIC_PRESSURE = 732;  // pounds per square foot

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
    {66293, 740},  // avionics master
    {66241, 364},  // battery master
    {66239, 368},  // beacon lights
    {65751, 14},   // landing lights
    {66379, 619},  // navigation lights
    {65750, 10},   // panel lights
    {65858, 13},   // pitot heat
    {65560, 11},   // strobe lights
    {66494, 895},  // fuel valve
    {66363, 565},  // generator switch
};

}  // namespace

Simulation::Simulation() {
    set_token(TOKEN_KOHLSMAN, 29.92);
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
        case 65883:  // barometric setting up
        case 65884:  // and down, on the hundredth, within the knob's travel
            set_token(TOKEN_KOHLSMAN,
                      std::clamp(std::round((token(TOKEN_KOHLSMAN) + (event == 65883 ? kKohlsmanStep : -kKohlsmanStep)) *
                                            100.0) / 100.0,
                                 kKohlsmanMin, kKohlsmanMax));
            return;
        case 66506:  // toggle the panel window whose ident is the parameter
            toggle_window(param);
            return;
        case 66507:  // open it
            set_window_visible(param, true);
            return;
        case 66508:  // close it
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
        if (number != nullptr) *number = token(TOKEN_HYDRAULIC_PRESSURE) / 144.0;
        return true;
    }
    return false;
}

}  // namespace ardelvine::hostapp
