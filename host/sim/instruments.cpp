// Flight and navigation instruments: the barometric setting, the course and
// card settings, and the gyro and attitude adjustments. The readings the
// instruments show (speed, altitude, attitude, headings, needles) keep the
// values a scenario sets: nothing here flies the aircraft.
#include <algorithm>
#include <cmath>

#include "host/sim/system.h"
#include "host/simulation.h"
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
    sim.set_token(rule.token, std::clamp(stepped, kKohlsmanMin, kKohlsmanMax));
}

constexpr EventRule kEvents[] = {
    custom(events::KOHLSMAN_INCREASE, step_kohlsman, tokens::KOHLSMAN_SETTING, +0.01),
    custom(events::KOHLSMAN_DECREASE, step_kohlsman, tokens::KOHLSMAN_SETTING, -0.01),
    set_param(events::VOR1_COURSE_SET, tokens::VOR1_COURSE),
    set_param(events::ADF_CARD_SET, tokens::ADF_CARD),
    recorded(events::GYRO_DRIFT_INCREASE, "the gyro setting is not simulated yet"),
    recorded(events::GYRO_DRIFT_DECREASE, "the gyro setting is not simulated yet"),
    recorded(events::ATTITUDE_BARS_UP, "the reference bars are not simulated yet"),
    recorded(events::ATTITUDE_BARS_DOWN, "the reference bars are not simulated yet"),
    recorded(events::ATTITUDE_CAGE_BUTTON, "caging is not simulated yet"),
};

}  // namespace

extern const System instruments = {"instruments", kTokens, kEvents};

}  // namespace ardelvine::hostapp::sim
