// Radios: COM1, NAV1 and the ADF receiver with their frequencies, the station
// identifier audio and the NAV/GPS selector.
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::COM1_FREQUENCY, 0.0}, {tokens::NAV1_FREQUENCY, 0.0},  {tokens::ADF_FREQUENCY, 0.0},
    {tokens::ADF_FREQUENCY_EXTENDED, 0.0}, {tokens::ADF_IDENT_AUDIO, 0.0}, {tokens::GPS_DRIVES_NAV1, 0.0},
};

constexpr const char* kTuning = "tuning arithmetic not simulated yet";
constexpr const char* kIdentifier = "an identifier tone: nothing a panel shows";

constexpr EventRule kEvents[] = {
    recorded(events::COM1_WHOLE_DOWN, kTuning),
    recorded(events::COM1_WHOLE_UP, kTuning),
    recorded(events::COM1_FRACTION_DOWN, kTuning),
    recorded(events::COM1_FRACTION_UP, kTuning),
    recorded(events::NAV1_WHOLE_DOWN, kTuning),
    recorded(events::NAV1_WHOLE_UP, kTuning),
    recorded(events::NAV1_FRACTION_DOWN, kTuning),
    recorded(events::NAV1_FRACTION_UP, kTuning),
    recorded(events::ADF_FREQUENCY_SET, kTuning),
    recorded(events::ADF_TENTH_DOWN, kTuning),
    recorded(events::ADF_TENTH_UP, kTuning),
    recorded(events::ADF_WHOLE_DOWN, kTuning),
    recorded(events::ADF_WHOLE_UP, kTuning),
    recorded(events::NAV1_IDENT_OFF, kIdentifier),
    recorded(events::NAV1_IDENT_ON, kIdentifier),
    recorded(events::NAV2_IDENT_OFF, kIdentifier),
    // The ADF's tone switch reads back whether the identifier is heard.
    set_value(events::ADF_IDENT_OFF, tokens::ADF_IDENT_AUDIO, 0.0),
    set_value(events::ADF_IDENT_ON, tokens::ADF_IDENT_AUDIO, 1.0),
    toggle(events::NAV_GPS_TOGGLE, tokens::GPS_DRIVES_NAV1),
};

}  // namespace

extern const System radios = {"radios", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
