// Transponder: the four-digit reply code (one octal digit per 4 bits), one
// digit stepped per event and wrapping within itself, 7 to 0 and 0 to 7.
#include "host/sim/radio_tuning.h"
#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {{tokens::TRANSPONDER_CODE, 0x1200}};

// The rule's amount is the digit (0 thousands to 3 units) and its sign the
// direction: +d+1 up, -(d+1) down.
void step_digit(Simulation& sim, const EventRule& rule, std::uint32_t) {
    const int signed_digit = static_cast<int>(rule.amount);
    const int digit = (signed_digit > 0 ? signed_digit : -signed_digit) - 1;
    sim.write_token(rule.token, radio_tuning::transponder_digit(radio_tuning::bits_of(sim.token(rule.token)), digit,
                                                              signed_digit > 0 ? 1 : -1));
}

constexpr EventRule digit(std::uint32_t event, int place, int direction) {
    return custom(event, step_digit, tokens::TRANSPONDER_CODE, direction * (place + 1));
}

constexpr EventRule kEvents[] = {
    digit(events::TRANSPONDER_THOUSANDS_UP, 0, +1), digit(events::TRANSPONDER_THOUSANDS_DOWN, 0, -1),
    digit(events::TRANSPONDER_HUNDREDS_UP, 1, +1),  digit(events::TRANSPONDER_HUNDREDS_DOWN, 1, -1),
    digit(events::TRANSPONDER_TENS_UP, 2, +1),      digit(events::TRANSPONDER_TENS_DOWN, 2, -1),
    digit(events::TRANSPONDER_UNITS_UP, 3, +1),     digit(events::TRANSPONDER_UNITS_DOWN, 3, -1),
};

}  // namespace

extern const System transponder = {"transponder", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
