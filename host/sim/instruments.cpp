// Flight and navigation instruments: the barometric setting, the course and
// card settings, the gyro and attitude adjustments, and the clock. The
// readings the instruments show (speed, altitude, attitude, headings,
// needles) keep the values a scenario sets: nothing here flies the aircraft.
#include <algorithm>
#include <cmath>

#include "host/sim/system.h"
#include "host/sim/simulation.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::hostapp::sim {
namespace {

constexpr OwnedToken kTokens[] = {
    {tokens::KOHLSMAN_SETTING, 29.92},  {tokens::AIRSPEED_INDICATED, 0.0}, {tokens::ALTITUDE_INDICATED, 0.0},
    {tokens::VERTICAL_SPEED, 0.0},      {tokens::ATTITUDE_PITCH, 0.0},     {tokens::ATTITUDE_BANK, 0.0},
    {tokens::ATTITUDE_BARS_POSITION, 0.0}, {tokens::ATTITUDE_CAGE, 0.0},   {tokens::TURN_BALL, 0.0},
    {tokens::TURN_RATE, 0.0},           {tokens::GYRO_HEADING, 0.0},       {tokens::GYRO_DRIFT, 0.0},
    {tokens::MAGNETIC_COMPASS, 0.0},    {tokens::TIME_OF_DAY, 0.0},        {tokens::OUTSIDE_AIR_TEMPERATURE, 0.0},
    {tokens::ADF_CARD, 0.0},            {tokens::ADF_BEARING, 0.0},        {tokens::VOR1_COURSE, 0.0},
    {tokens::VOR1_COURSE_DEVIATION, 0.0}, {tokens::VOR1_GLIDE_SLOPE, 0.0}, {tokens::VOR1_SIGNAL, 0.0},
    {tokens::VOR1_TO_FROM, 0.0},        {tokens::HYDRAULIC_PRESSURE, 0.0}, {tokens::FLAPS_POSITION, 0.0},
    {tokens::GEAR_POSITION, 0.0},       {tokens::GEAR_LEFT_POSITION, 0.0}, {tokens::GEAR_RIGHT_POSITION, 0.0},
    {tokens::DIVE_BRAKE_POSITION, 0.0}, {tokens::TAIL_HOOK_POSITION, 0.0},
};

// The barometric knob moves the setting a hundredth of an inch of mercury
// per step, the resolution a pilot sets on the dial, within its travel.
constexpr double kKohlsmanMin = 27.5;
constexpr double kKohlsmanMax = 31.5;

void step_kohlsman(Simulation& sim, const EventRule& rule, std::uint32_t) {
    const double stepped = std::round((sim.token(rule.token) + rule.amount) * 100.0) / 100.0;
    sim.write_token(rule.token, std::clamp(stepped, kKohlsmanMin, kKohlsmanMax));
}

// The reference bars move a twentieth of their travel per step of the knob,
// and stop 100 either side of the middle (14 pixels on the dial).
constexpr double kBarsStep = 5.0;
constexpr double kBarsStop = 100.0;

void step_bars(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, std::clamp(sim.token(rule.token) + rule.amount, -kBarsStop, kBarsStop));
}

// A value brought into [0, turn).
double wrapped(double value, double turn) {
    const double w = std::fmod(value, turn);
    return w < 0.0 ? w + turn : w;
}

// The gyro's setting knob turns the card a degree per step. The setting
// counts 0x10000 per whole turn of the card and wraps there; the gyro heading
// moves with it, so the card follows the knob from wherever the scenario put
// it.
constexpr double kSettingPerTurn = 65536.0;

void step_gyro(Simulation& sim, const EventRule& rule, std::uint32_t) {
    const double degrees = rule.amount;
    sim.write_token(tokens::GYRO_DRIFT, wrapped(sim.token(tokens::GYRO_DRIFT) + degrees * kSettingPerTurn / 360.0,
                                              kSettingPerTurn));
    sim.write_token(tokens::GYRO_HEADING, wrapped(sim.token(tokens::GYRO_HEADING) + degrees, 360.0));
}

// The cage knob: 0 pushed in (the gyro free), 1 on its way out, 2 pulled and
// locked. A press while it is in starts pulling it; it locks at the end of
// the next update (settle_instruments). A press while it is out or on its way
// unlocks it and it springs straight back in.
constexpr double kCageFree = 0.0;
constexpr double kCagePulling = 1.0;
constexpr double kCageLocked = 2.0;

void press_cage(Simulation& sim, const EventRule& rule, std::uint32_t) {
    sim.write_token(rule.token, sim.token(rule.token) == kCageFree ? kCagePulling : kCageFree);
}

constexpr double kSecondsPerDay = 86400.0;

// Between updates: the cage knob finishes coming out, and the clock runs on
// by one update's time from wherever it stands, round to 0 at midnight: a
// `set` of the clock sets it as a watch is set, and holds nothing. Caging moves the knob only: both horizons read the
// same pitch and bank, so levelling them would level the horizon that is not
// caged as well.
void settle_instruments(Simulation& sim) {
    if (sim.token(tokens::ATTITUDE_CAGE) == kCagePulling) sim.drive_token(tokens::ATTITUDE_CAGE, kCageLocked);
    const double time = sim.token(tokens::TIME_OF_DAY) + kSecondsPerUpdate;
    sim.write_token(tokens::TIME_OF_DAY, time >= kSecondsPerDay ? std::fmod(time, kSecondsPerDay) : time);
}

// Parked, the aircraft stands level on the ground: no speed, no climb, no
// turn. Started, it keeps whatever the instruments show.
void start_instruments(Simulation& sim, StartState state) {
    if (state != StartState::PARKED) return;
    for (std::uint32_t token : {tokens::AIRSPEED_INDICATED, tokens::VERTICAL_SPEED, tokens::ATTITUDE_PITCH,
                                tokens::ATTITUDE_BANK, tokens::TURN_RATE, tokens::TURN_BALL})
        sim.write_token(token, 0.0);
}

constexpr EventRule kEvents[] = {
    custom(events::KOHLSMAN_INCREASE, step_kohlsman, tokens::KOHLSMAN_SETTING, +0.01),
    custom(events::KOHLSMAN_DECREASE, step_kohlsman, tokens::KOHLSMAN_SETTING, -0.01),
    set_param(events::VOR1_COURSE_SET, tokens::VOR1_COURSE),
    set_param(events::ADF_CARD_SET, tokens::ADF_CARD),
    custom(events::GYRO_DRIFT_INCREASE, step_gyro, 0, +1.0),
    custom(events::GYRO_DRIFT_DECREASE, step_gyro, 0, -1.0),
    custom(events::ATTITUDE_BARS_UP, step_bars, tokens::ATTITUDE_BARS_POSITION, +kBarsStep),
    custom(events::ATTITUDE_BARS_DOWN, step_bars, tokens::ATTITUDE_BARS_POSITION, -kBarsStep),
    custom(events::ATTITUDE_CAGE_BUTTON, press_cage, tokens::ATTITUDE_CAGE),
};

}  // namespace

extern const System instruments = {"instruments", kTokens, kEvents, settle_instruments,
                                      start_instruments};

}  // namespace ardelvine::hostapp::sim
