// Transponder: the four-digit reply code, one digit stepped per event.
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {{tokens::TRANSPONDER_CODE, 0.0}};

constexpr const char* kDigits = "digit arithmetic not simulated yet";

constexpr EventRule kEvents[] = {
    recorded(events::TRANSPONDER_THOUSANDS_UP, kDigits),   recorded(events::TRANSPONDER_THOUSANDS_DOWN, kDigits),
    recorded(events::TRANSPONDER_HUNDREDS_UP, kDigits),    recorded(events::TRANSPONDER_HUNDREDS_DOWN, kDigits),
    recorded(events::TRANSPONDER_TENS_UP, kDigits),        recorded(events::TRANSPONDER_TENS_DOWN, kDigits),
    recorded(events::TRANSPONDER_UNITS_UP, kDigits),       recorded(events::TRANSPONDER_UNITS_DOWN, kDigits),
};

}  // namespace

extern const System transponder = {"transponder", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
