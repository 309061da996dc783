// Radios: COM1, NAV1 and the ADF receiver with their frequencies, the station
// identifier audio and the NAV/GPS selector. Frequencies are held as the
// simulator holds them, binary-coded decimal; radio_tuning.h does the digit
// arithmetic (steps, channel rasters, carries, wrap at the band ends).
#include "host/sim/radio_tuning.h"
#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::COM1_FREQUENCY, 0x2280},      // 122.80 MHz
    {tokens::NAV1_FREQUENCY, 0x1130},      // 111.30 MHz
    {tokens::ADF_FREQUENCY, 0x365},        // 365.0 kHz
    {tokens::ADF_FREQUENCY_EXTENDED, 0.0},
    {tokens::ADF_IDENT_AUDIO, 0.0},
    {tokens::NAV1_IDENT_AUDIO, 0.0},
    {tokens::GPS_DRIVES_NAV1, 0.0},
};

using Step = std::uint32_t (*)(std::uint32_t bits, int direction);

// Each tuning rule's amount is its direction, +1 or -1.
template <Step step>
void tune(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, step(radio_tuning::bits_of(sim.token(rule.token)), rule.amount > 0 ? 1 : -1));
}

radio_tuning::AdfTokens adf_now(const Simulation& sim) {
    return {radio_tuning::bits_of(sim.token(tokens::ADF_FREQUENCY)),
            radio_tuning::bits_of(sim.token(tokens::ADF_FREQUENCY_EXTENDED))};
}

void adf_store(Simulation& sim, radio_tuning::AdfTokens f) {
    sim.write_token(tokens::ADF_FREQUENCY, f.units);
    sim.write_token(tokens::ADF_FREQUENCY_EXTENDED, f.tenths);
}

// The amount is the step in tenths of a kilohertz.
void adf_tune(Simulation& sim, const EventRule& rule, std::uint32_t) {
    adf_store(sim, radio_tuning::adf_step(adf_now(sim), static_cast<int>(rule.amount)));
}

void adf_set(Simulation& sim, const EventRule&, std::uint32_t param) { adf_store(sim, radio_tuning::adf_set(param)); }

constexpr EventRule kEvents[] = {
    custom(events::COM1_WHOLE_UP, tune<radio_tuning::com_whole>, tokens::COM1_FREQUENCY, +1),
    custom(events::COM1_WHOLE_DOWN, tune<radio_tuning::com_whole>, tokens::COM1_FREQUENCY, -1),
    custom(events::COM1_FRACTION_UP, tune<radio_tuning::com_channel>, tokens::COM1_FREQUENCY, +1),
    custom(events::COM1_FRACTION_DOWN, tune<radio_tuning::com_channel>, tokens::COM1_FREQUENCY, -1),
    custom(events::NAV1_WHOLE_UP, tune<radio_tuning::nav_whole>, tokens::NAV1_FREQUENCY, +1),
    custom(events::NAV1_WHOLE_DOWN, tune<radio_tuning::nav_whole>, tokens::NAV1_FREQUENCY, -1),
    custom(events::NAV1_FRACTION_UP, tune<radio_tuning::nav_fraction>, tokens::NAV1_FREQUENCY, +1),
    custom(events::NAV1_FRACTION_DOWN, tune<radio_tuning::nav_fraction>, tokens::NAV1_FREQUENCY, -1),
    custom(events::ADF_FREQUENCY_SET, adf_set),
    custom(events::ADF_TENTH_UP, adf_tune, 0, +1),
    custom(events::ADF_TENTH_DOWN, adf_tune, 0, -1),
    custom(events::ADF_WHOLE_UP, adf_tune, 0, +10),
    custom(events::ADF_WHOLE_DOWN, adf_tune, 0, -10),
    set_value(events::NAV1_IDENT_ON, tokens::NAV1_IDENT_AUDIO, 1.0),
    set_value(events::NAV1_IDENT_OFF, tokens::NAV1_IDENT_AUDIO, 0.0),
    recorded(events::NAV2_IDENT_OFF, "NAV2 is not part of this aircraft's panel"),
    // The ADF's tone switch reads back whether the identifier is heard.
    set_value(events::ADF_IDENT_ON, tokens::ADF_IDENT_AUDIO, 1.0),
    set_value(events::ADF_IDENT_OFF, tokens::ADF_IDENT_AUDIO, 0.0),
    toggle(events::NAV_GPS_TOGGLE, tokens::GPS_DRIVES_NAV1),
};

}  // namespace

extern const System radios = {"radios", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
