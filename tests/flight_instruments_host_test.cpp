// The horizons, the turn coordinator, both compasses and the clock on the
// example panel, driven through the host: the knobs and the cage as the
// simulated aircraft answers them, failures on the turn needle, the compass
// cards across their range and past it, the horizon's clamp and signs as
// `state` reports them, and the clock running with the updates.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "host/run/host.h"
#include "model/events.h"
#include "model/tokens.h"
#include "tests/example_panel.h"

namespace ardelvine::hostapp {
namespace {

struct FlightInstrumentsOnPanel : ExamplePanel {
    FlightInstrumentsOnPanel() : ExamplePanel(ARD_SOURCE_DIR "/examples/flight_instruments.cfg") {}

    double token(std::uint32_t number) { return host->simulation().token(number); }
    void click(const std::string& name, int x, int y, std::uint32_t hold = 0, Button button = Button::LEFT) {
        host->click(gauge(name), x, y, {button, hold});
    }
};

// Element indices in the chains.
constexpr std::size_t kCard = 1, kBankPointer = 2, kBars = 3, kCageKnob = 6;
constexpr std::size_t kTurnNeedle = 3;
constexpr std::size_t kHourHand = 1, kMinuteHand = 2, kSecondHand = 3;

// Knob halves: the horizons' bars knob, the gyro compass's setting knob.
constexpr int kBarsDownX = 110, kBarsUpX = 135, kBarsY = 250;
constexpr int kGyroDownX = 95, kGyroUpX = 140, kGyroY = 290;

// ------------------------------------------------------------ reference bars

TEST_F(FlightInstrumentsOnPanel, ReferenceBarsFollowTheKnobOnBothHorizonsAndStop) {
    for (const char* horizon : {"Attitude", "Attitude_w_Cage"}) {
        SCOPED_TRACE(horizon);
        host->simulation().set_token(tokens::ATTITUDE_BARS_POSITION, 0.0);
        host->simulation().clear_events();

        click(horizon, kBarsUpX, kBarsY, 9);  // held: ten steps up
        EXPECT_EQ(token(tokens::ATTITUDE_BARS_POSITION), 50.0);
        host->update();
        EXPECT_NEAR(element(horizon, kBars).dy, -7.0, 1e-9);  // up the dial

        click(horizon, kBarsDownX, kBarsY, 39);  // forty steps down: past the stop
        EXPECT_EQ(token(tokens::ATTITUDE_BARS_POSITION), -100.0);
        click(horizon, kBarsUpX, kBarsY, 99);
        EXPECT_EQ(token(tokens::ATTITUDE_BARS_POSITION), 100.0);
        click(horizon, kBarsDownX, kBarsY, 0, Button::RIGHT);  // the knob takes no right clicks
        EXPECT_EQ(token(tokens::ATTITUDE_BARS_POSITION), 100.0);
        host->update();
        EXPECT_NEAR(element(horizon, kBars).dy, -14.0, 1e-9);
        EXPECT_EQ(element(horizon, kBars).dx, 0.0);

        const auto& sent = host->simulation().events();
        ASSERT_EQ(sent.size(), 150u);
        EXPECT_EQ(sent.front().event, events::ATTITUDE_BARS_UP);
        EXPECT_EQ(sent[10].event, events::ATTITUDE_BARS_DOWN);
    }
}

// ------------------------------------------------------------ gyro compass knob

TEST_F(FlightInstrumentsOnPanel, GyroKnobTurnsTheSettingAndTheCardFollowsAcrossNorth) {
    constexpr double kPerDegree = 65536.0 / 360.0;
    set(tokens::GYRO_HEADING, 358.0);

    click("Gyro_Compass", kGyroUpX, kGyroY, 4);  // five degrees up, across 360
    EXPECT_NEAR(token(tokens::GYRO_HEADING), 3.0, 1e-9);
    EXPECT_NEAR(token(tokens::GYRO_DRIFT), 5 * kPerDegree, 1e-6);
    host->update();
    // The strip runs from 360 on its left to 0 on its right, 1080 pixels of travel.
    EXPECT_NEAR(element("Gyro_Compass", kCard).dx, -357.0 / 360.0 * 1080.0, 1e-9);
    // The knob turns once per 120 degrees of card: 15 degrees for five.
    EXPECT_NEAR(element("Gyro_Compass", 2).angle, 15.0, 1e-6);

    click("Gyro_Compass", kGyroDownX, kGyroY, 9);  // ten degrees down: the setting wraps too
    EXPECT_NEAR(token(tokens::GYRO_HEADING), 353.0, 1e-9);
    EXPECT_NEAR(token(tokens::GYRO_DRIFT), 65536.0 - 5 * kPerDegree, 1e-6);
    host->update();
    EXPECT_NEAR(element("Gyro_Compass", kCard).dx, -7.0 / 360.0 * 1080.0, 1e-9);

    EXPECT_EQ(host->simulation().events().front().event, events::GYRO_DRIFT_INCREASE);
    EXPECT_EQ(host->simulation().events().back().event, events::GYRO_DRIFT_DECREASE);
}

// ------------------------------------------------------------ cage

TEST_F(FlightInstrumentsOnPanel, CageKnobComesOutLocksAndSpringsBack) {
    click("Attitude_w_Cage", 240, 250);
    EXPECT_EQ(token(tokens::ATTITUDE_CAGE), 1.0);
    host->update();  // drawn on its way out, locked by the end of the update
    EXPECT_EQ(element("Attitude_w_Cage", kCageKnob).image, 1);
    EXPECT_EQ(token(tokens::ATTITUDE_CAGE), 2.0);
    host->update();
    EXPECT_EQ(element("Attitude_w_Cage", kCageKnob).image, 2);

    click("Attitude_w_Cage", 240, 250);  // unlocked: straight back in
    host->update();
    EXPECT_EQ(element("Attitude_w_Cage", kCageKnob).image, 0);

    click("Attitude_w_Cage", 240, 250);  // a second press on the way out lets it go too
    click("Attitude_w_Cage", 240, 250);
    host->update();
    EXPECT_EQ(element("Attitude_w_Cage", kCageKnob).image, 0);
    EXPECT_EQ(host->simulation().events().size(), 4u);
}

// ------------------------------------------------------------ turn needle

// Angles count on from the table's first direction, 315 degrees: 12 o'clock
// reads 360.
TEST_F(FlightInstrumentsOnPanel, TurnNeedleSweepsBetweenItsMarksAndStopsThere) {
    const std::pair<double, double> cases[] = {
        {0, 360}, {256, 370}, {1152, 405}, {1153, 405}, {5000, 405}, {-1152, 315}, {-90000, 315},
    };
    for (const auto& [rate, angle] : cases) {
        set(tokens::TURN_RATE, rate);
        EXPECT_NEAR(element("Turn_Coordinator", kTurnNeedle).angle, angle, 1e-9) << rate;
    }
}

TEST_F(FlightInstrumentsOnPanel, TurnNeedleFreezesOnItsOwnFailureAndFallsToTheMiddleOnTheElectrical) {
    struct Case {
        std::uint32_t key;
        double shown;  // the needle's value while failed, after turning from 1.5 to -3 marks
        double angle;
    };
    const Case cases[] = {{18, 1.5, 375.0}, {20, 0.0, 360.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        set(tokens::TURN_RATE, 1.5 * 256);
        host->simulation().set_failure(c.key, true);
        set(tokens::TURN_RATE, -3.0 * 256);
        EXPECT_EQ(element("Turn_Coordinator", kTurnNeedle).value, c.shown);
        EXPECT_NEAR(element("Turn_Coordinator", kTurnNeedle).angle, c.angle, 1e-9);
        host->simulation().set_failure(c.key, false);
        host->update();
        EXPECT_NEAR(element("Turn_Coordinator", kTurnNeedle).angle, 330.0, 1e-9);
    }
}

// ------------------------------------------------------------ compass cards

TEST_F(FlightInstrumentsOnPanel, CompassCardsTravelOverTheHeadingAndNeverVertically) {
    struct Card {
        const char* gauge;
        std::uint32_t token;
        double travel;  // strip width less window width
    };
    const Card cards[] = {{"Gyro_Compass", tokens::GYRO_HEADING, 1080.0},
                          {"Whiskey_Compass", tokens::MAGNETIC_COMPASS, 216.0}};
    // Heading -> the fraction of the travel the strip has moved left; outside
    // 0 to 360 it stays at the nearer end.
    const std::pair<double, double> headings[] = {{0, 1.0},   {90, 0.75},  {359, 1.0 / 360.0},
                                                  {360, 0.0}, {-30, 1.0}, {400, 0.0}};
    for (const Card& card : cards) {
        for (const auto& [heading, fraction] : headings) {
            set(card.token, heading);
            const ElementState& s = element(card.gauge, kCard);
            EXPECT_NEAR(s.dx, -fraction * card.travel, 1e-9) << card.gauge << " at " << heading;
            EXPECT_EQ(s.dy, 0.0) << card.gauge << ": the vertical axis runs from 360 to 360";
        }
    }
}

// ------------------------------------------------------------ horizon in the state report

TEST_F(FlightInstrumentsOnPanel, StateReportsTheClampedPitchAndTheBankTurn) {
    struct Case {
        double pitch, bank;
        double card_pitch;  // after the clamp
        double pointer;     // bank pointer, degrees clockwise from 12 o'clock
    };
    const Case cases[] = {
        {55, 30, 40, 210},    // nose down past the stop; left wing down: pointer right of 6 o'clock
        {-90, -30, -40, 150},
        {12.5, 0, 12.5, 180},
    };
    for (const Case& c : cases) {
        host->simulation().set_token(tokens::ATTITUDE_PITCH, c.pitch);
        set(tokens::ATTITUDE_BANK, c.bank);
        const auto state = host->state();
        for (int g : {0, 1}) {
            const auto& card = state["gauges"][g]["elements"][kCard];
            ASSERT_EQ(card["kind"], "SPRITE");
            EXPECT_EQ(card["value_y"].get<double>(), c.card_pitch) << c.pitch;
            EXPECT_NEAR(card["dy"].get<double>(), c.card_pitch * 1.3, 1e-9) << c.pitch;
            EXPECT_EQ(card["dx"].get<double>(), 0.0);
            EXPECT_EQ(card["rotation"].get<double>(), -c.bank);
            EXPECT_NEAR(state["gauges"][g]["elements"][kBankPointer]["angle"].get<double>(), c.pointer, 1e-9);
        }
    }
}

// ------------------------------------------------------------ clock

// The hands' angles are unwrapped: the minute hand has turned once per hour.
double on_face(double angle) { return std::fmod(angle, 360.0); }

TEST_F(FlightInstrumentsOnPanel, ClockShowsTheTimeSetAndRunsOnWithTheUpdates) {
    set(tokens::TIME_OF_DAY, 45296);  // 12:34:56, shown exactly by the update after the set
    EXPECT_NEAR(element("Waltham_Clock", kHourHand).angle, 377.4667, 1e-4);
    EXPECT_NEAR(on_face(element("Waltham_Clock", kMinuteHand).angle), 209.6, 1e-9);
    EXPECT_NEAR(on_face(element("Waltham_Clock", kSecondHand).angle), 336.0, 1e-9);

    host->update(18);  // one second later
    EXPECT_NEAR(on_face(element("Waltham_Clock", kSecondHand).angle), 342.0, 1e-6);
    EXPECT_NEAR(token(tokens::TIME_OF_DAY), 45297.0 + 1.0 / 18.0, 1e-6);

    // Over midnight the time goes round to 0 and the hands from 12 o'clock.
    host->simulation().set_token(tokens::TIME_OF_DAY, 86399.0);
    host->update(36);
    EXPECT_NEAR(token(tokens::TIME_OF_DAY), 1.0, 1e-6);
    EXPECT_NEAR(element("Waltham_Clock", kSecondHand).angle, 6.0 - 6.0 / 18.0, 1e-6);
    EXPECT_LT(element("Waltham_Clock", kHourHand).angle, 1.0);
}

TEST_F(FlightInstrumentsOnPanel, TooltipsOfTheCageKnobAndTheClock) {
    EXPECT_EQ(host->tooltip(gauge("Attitude_w_Cage"), 240, 250), "Attitude indicator cage button");
    EXPECT_EQ(host->tooltip(gauge("Attitude_w_Cage"), 110, 250), "Attitude indicator plane adjusting button");
    // The clock's tooltip entry, inside the area that carries another help id.
    EXPECT_EQ(host->tooltip(gauge("Waltham_Clock"), 150, 150), help_text(0x3018));
    EXPECT_EQ(host->tooltip(gauge("Gyro_Compass"), 118, 290), help_text(0xAB35));
}

}  // namespace
}  // namespace ardelvine::hostapp
