// The horizons, turn coordinator, compasses and clock as records: the chain of
// each in drawing order, the value callbacks, failure lists and mouse areas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/elements.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "model/failures.h"

namespace ardelvine {
namespace {

using namespace gauges;

// Record fields may sit off their natural alignment on the 32-bit target;
// gtest binds references, so it is handed copies.
template <typename T>
T copy(T value) {
    return value;
}

std::vector<ElementHeader*> chain_of(const GaugeHeader& gauge) {
    std::vector<ElementHeader*> chain;
    for (ElementHeader* e = gauge.elements[0]; e != nullptr; e = e->children ? e->children[0] : nullptr)
        chain.push_back(e);
    return chain;
}

template <typename T>
T& at(const GaugeHeader& gauge, std::uint32_t index) {
    ElementHeader* e = element_down(gauge.elements[0], index);
    EXPECT_NE(e, nullptr);
    return *reinterpret_cast<T*>(e);
}

using Failures = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (key, action)

Failures failures_of(const ElementHeader& e) {
    Failures out;
    for (const FailureRecord* f = e.failures; f != nullptr && f->key != 0; ++f) out.emplace_back(f->key, f->action);
    return out;
}

// ------------------------------------------------------------ chains

struct Row {
    ElementKind kind;
    std::uint32_t bitmap;
    std::int32_t x, y;
    std::uint32_t flags;
    Failures failures;
};

struct Shape {
    GaugeHeader* gauge;
    const char* name;
    std::uint32_t width;
    std::vector<Row> rows;
};

using K = ElementKind;
const Failures kGyro = {{failures::ATTITUDE, 0}, {failures::ENGINE, 0}, {failures::VACUUM, 0}};

std::vector<Row> horizon(std::uint32_t face, std::uint32_t cover) {
    return {
        {K::STATIC_IMAGE, face, 0, 0, 0x4003, {}},
        {K::SPRITE, 320, 0, 0, 0x4083, kGyro},
        {K::NEEDLE, 330, 125, 122, 0x4083, kGyro},
        {K::SLIDER, 350, 62, 119, 0x4083, {}},
        {K::STATIC_IMAGE, cover, 0, 0, 0x3, {}},
        {K::STATIC_IMAGE, 340, 0, 0, 0x4083, {}},
    };
}

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = [] {
        std::vector<Row> caged = horizon(3060, 3070);
        caged.push_back({K::ICON, 370, 194, 204, 0x3, {}});
        return std::vector<Shape>{
            {&Attitude, "Attitude", 100, horizon(310, 360)},
            {&Attitude_w_Cage, "Attitude_w_Cage", 100, caged},
            {&Turn_Coordinator, "Turn_Coordinator", 100,
             {{K::STATIC_IMAGE, 390, 0, 0, 0x4003, {}},
              {K::SLIDER, 410, 88, 119, 0x4083, {}},
              {K::ICON, 420, 81, 110, 0x4003, {}},
              {K::NEEDLE, 400, 99, 161, 0x4083, {{failures::TURN_COORDINATOR, 1}, {failures::ELECTRICAL, 2}}},
              {K::STATIC_IMAGE, 430, 0, 0, 0x3, {}}}},
            {&Gyro_Compass, "Gyro_Compass", 100,
             {{K::STATIC_IMAGE, 470, 0, 0, 0x3, {}},
              {K::MOVING_IMAGE, 480, 48, 65, 0x4083, {{failures::COMPASS, 0}}},
              {K::NEEDLE, 490, 118, 293, 0x83, {}}}},
            {&Whiskey_Compass, "Whiskey_Compass", 76,
             {{K::STATIC_IMAGE, 2210, 0, 0, 0x3, {}}, {K::MOVING_IMAGE, 2220, 0, 10, 0x4083, {{failures::COMPASS, 0}}}}},
            {&Waltham_Clock, "Waltham_Clock", 100,
             {{K::STATIC_IMAGE, 2160, 0, 0, 0x4003, {}},
              {K::NEEDLE, 2190, 153, 150, 0x4083, {}},
              {K::NEEDLE, 2180, 153, 150, 0x4083, {}},
              {K::NEEDLE, 2170, 153, 150, 0x4083, {}},
              {K::STATIC_IMAGE, 2200, 0, 0, 0x3, {}}}},
        };
    }();
    return all;
}

TEST(FlightInstruments, ChainsHoldTheirElementsInDrawingOrder) {
    for (const Shape& s : shapes()) {
        SCOPED_TRACE(s.name);
        const GaugeHeader& g = *s.gauge;
        EXPECT_STREQ(g.name, s.name);
        EXPECT_EQ(g.default_width, s.width);
        EXPECT_EQ(copy(g.callback), nullptr) << "no lifecycle code";
        EXPECT_EQ(g.elements[1], nullptr);
        const std::vector<ElementHeader*> chain = chain_of(g);
        ASSERT_EQ(chain.size(), s.rows.size());
        for (std::size_t i = 0; i < chain.size(); ++i) {
            SCOPED_TRACE(i);
            const ElementHeader& e = *chain[i];
            const Row& r = s.rows[i];
            EXPECT_EQ(e.kind, r.kind);
            EXPECT_EQ(e.bitmap, r.bitmap);
            EXPECT_EQ(e.x, r.x);
            EXPECT_EQ(e.y, r.y);
            EXPECT_EQ(e.image_flags, r.flags);
            EXPECT_EQ(failures_of(e), r.failures);
            EXPECT_EQ(copy(e.gauge), &g);
            if (e.children != nullptr) {
                EXPECT_EQ(e.children[1], nullptr) << "one child per element";
            }
        }
        EXPECT_EQ(copy(chain.back()->children), nullptr);
    }
}

// ------------------------------------------------------------ horizons

TEST(FlightInstruments, HorizonCardClampsPitchAndTurnsAgainstBank) {
    for (GaugeHeader* g : {&Attitude, &Attitude_w_Cage}) {
        SCOPED_TRACE(g->name);
        Sprite& card = at<Sprite>(*g, 1);
        EXPECT_EQ(card.header.offset_x, 125);
        EXPECT_EQ(card.header.offset_y, 122);
        EXPECT_EQ(card.x.source.token, 0u);
        EXPECT_EQ(copy(card.x.scale), 0.0);
        EXPECT_EQ(card.y.source.token, tokens::ATTITUDE_PITCH);
        EXPECT_EQ(copy(card.y.scale), 1.3);
        EXPECT_EQ(card.rotation.source.token, tokens::ATTITUDE_BANK);
        EXPECT_EQ(copy(card.rotation.scale), -1.0);
        EXPECT_EQ(copy(card.rotation_update), nullptr) << "bank goes to the card unchanged";
        EXPECT_EQ(copy(card.texture_x), 1.0f);
        EXPECT_EQ(copy(card.texture_y), 0.9f);
        ASSERT_NE(copy(card.y_update), nullptr);

        const double saved = card.y.source.value;
        const std::pair<double, double> cases[] = {
            {0, 0}, {12.5, 12.5}, {40, 40}, {40.01, 40}, {55, 40}, {-40, -40}, {-90, -40}, {-1e300, -40},
        };
        for (auto [pitch, shown] : cases) {
            card.y.source.value = pitch;
            EXPECT_EQ(card.y_update(&card.header), shown) << pitch;
        }
        card.y.source.value = saved;
        EXPECT_EQ(card.y_update(nullptr), 0.0);
    }
    EXPECT_NE(copy(at<Sprite>(Attitude, 1).y_update), copy(at<Sprite>(Attitude_w_Cage, 1).y_update))
        << "each horizon has its own clamp";
}

TEST(FlightInstruments, BankPointerAndBarsFollowTheirTokens) {
    for (GaugeHeader* g : {&Attitude, &Attitude_w_Cage}) {
        SCOPED_TRACE(g->name);
        const Needle& pointer = at<Needle>(*g, 2);
        EXPECT_EQ(pointer.source.token, tokens::ATTITUDE_BANK);
        EXPECT_EQ(pointer.header.offset_x, 95);
        EXPECT_EQ(pointer.header.offset_y, 5);
        EXPECT_EQ(copy(pointer.update), nullptr);
        ASSERT_EQ(pointer.table_entries, 2u);
        EXPECT_EQ(copy(pointer.table[0].value), -90.0);
        EXPECT_EQ(pointer.table[0].x, 175);  // 3 o'clock
        EXPECT_EQ(copy(pointer.table[1].value), 90.0);
        EXPECT_EQ(pointer.table[1].x, 75);  // 9 o'clock

        const Slider& bars = at<Slider>(*g, 3);
        EXPECT_EQ(bars.x.source.token, 0u);
        EXPECT_EQ(bars.y.source.token, tokens::ATTITUDE_BARS_POSITION);
        EXPECT_EQ(copy(bars.y.scale), -0.14);
        EXPECT_EQ(copy(bars.x_update), nullptr);
        EXPECT_EQ(copy(bars.y_update), nullptr);
    }
}

TEST(FlightInstruments, CageKnobShowsTheCageTokenAsItsImage) {
    Icon& knob = at<Icon>(Attitude_w_Cage, 6);
    EXPECT_EQ(knob.source.token, tokens::ATTITUDE_CAGE);
    EXPECT_EQ(knob.images, 3u);
    EXPECT_EQ(copy(knob.scale), 1.0);
    ASSERT_NE(copy(knob.update), nullptr);
    const double saved = knob.source.value;
    for (double v : {0.0, 1.0, 2.0, -1.0, 7.5}) {
        knob.source.value = v;
        EXPECT_EQ(knob.update(&knob.header), v);
    }
    knob.source.value = saved;
}

// ------------------------------------------------------------ turn coordinator

TEST(FlightInstruments, BallRisesOnTheSquareOfItsTravel) {
    Slider& ball = at<Slider>(Turn_Coordinator, 1);
    EXPECT_EQ(ball.x.source.token, tokens::TURN_BALL);
    EXPECT_EQ(ball.y.source.token, tokens::TURN_BALL);
    EXPECT_EQ(copy(ball.x_update), nullptr);
    ASSERT_NE(copy(ball.y_update), nullptr);
    struct Case {
        double slip, dx, dy;  // pixels, down positive
    };
    const Case cases[] = {{0, 0, 0}, {-64, -30, -2.25}, {64, 30, -2.25}, {127, 59.53125, -8.8599}, {-127, -59.53125, -8.8599}};
    const double saved = ball.y.source.value;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slip);
        ball.y.source.value = c.slip;
        EXPECT_DOUBLE_EQ(c.slip * ball.x.scale, c.dx);
        EXPECT_NEAR(ball.y_update(&ball.header) * ball.y.scale, c.dy, 1e-4);
    }
    ball.y.source.value = saved;
}

TEST(FlightInstruments, TurnNeedleDividesByTwoFiftySixAndStopsAtItsMarks) {
    Needle& needle = at<Needle>(Turn_Coordinator, 3);
    EXPECT_EQ(needle.source.token, tokens::TURN_RATE);
    ASSERT_NE(copy(needle.update), nullptr);
    const double saved = needle.source.value;
    for (auto [token, value] : {std::pair{0.0, 0.0}, {1152.0, 4.5}, {-1152.0, -4.5}, {256.0, 1.0}}) {
        needle.source.value = token;
        EXPECT_EQ(needle.update(&needle.header), value) << token;
    }
    needle.source.value = saved;
    // Both ends are pinned: two equal points at each end.
    ASSERT_EQ(needle.table_entries, 4u);
    EXPECT_EQ(needle.table[0].x, needle.table[1].x);
    EXPECT_EQ(needle.table[2].x, needle.table[3].x);
    EXPECT_EQ(copy(needle.table[1].value), -4.5);
    EXPECT_EQ(copy(needle.table[2].value), 4.5);
    EXPECT_EQ(at<Icon>(Turn_Coordinator, 2).source.token, 0u) << "the tube marks always show image 0";
}

// ------------------------------------------------------------ compasses and clock

TEST(FlightInstruments, CompassStripsRunFromThreeSixtyDownAndNeverMoveVertically) {
    for (auto [g, token] : {std::pair{&Gyro_Compass, tokens::GYRO_HEADING}, {&Whiskey_Compass, tokens::MAGNETIC_COMPASS}}) {
        SCOPED_TRACE(g->name);
        const MovingImage& card = at<MovingImage>(*g, 1);
        EXPECT_EQ(card.x.source.token, token);
        EXPECT_EQ(copy(card.x.minimum), 360.0);
        EXPECT_EQ(copy(card.x.maximum), 0.0);
        EXPECT_EQ(card.y.source.token, 0u);
        EXPECT_EQ(copy(card.y.minimum), 360.0);
        EXPECT_EQ(copy(card.y.maximum), 360.0);
    }
    const Needle& knob = at<Needle>(Gyro_Compass, 2);
    EXPECT_EQ(knob.source.token, tokens::GYRO_DRIFT);
    EXPECT_EQ(knob.header.offset_x, 41);
    EXPECT_EQ(copy(knob.table[1].value), 0x10000 / 6.0);
}

TEST(FlightInstruments, ClockHandsTurnOncePerTwelveHoursHourAndMinute) {
    struct Case {
        std::uint32_t index;
        double half_turn;  // seconds from 12 to 6 o'clock
        std::int32_t offset_x, offset_y;
    };
    for (const Case& c : {Case{1, 21600, 12, 12}, Case{2, 1800, 12, 12}, Case{3, 30, 53, 8}}) {
        const Needle& hand = at<Needle>(Waltham_Clock, c.index);
        EXPECT_EQ(hand.source.token, tokens::TIME_OF_DAY);
        ASSERT_EQ(hand.table_entries, 2u);
        EXPECT_EQ(copy(hand.table[0].value), 0.0);
        EXPECT_EQ(copy(hand.table[1].value), c.half_turn);
        EXPECT_EQ(hand.table[0].y, 130);
        EXPECT_EQ(hand.table[1].y, 170);
        EXPECT_EQ(hand.header.offset_x, c.offset_x);
        EXPECT_EQ(hand.header.offset_y, c.offset_y);
    }
}

// ------------------------------------------------------------ mouse areas

struct Click {
    std::int32_t x, y, w, h, cursor;
    std::uint32_t flags, event;
};

std::vector<Click> clicks_of(const GaugeHeader& g) {
    std::vector<Click> out;
    for (const MouseRect* m = g.mouse; m->kind != MouseKind::END; ++m)
        if (m->kind == MouseKind::CHILD) {
            EXPECT_EQ(copy(m->handler), nullptr) << "the host sends the event itself";
            out.push_back({m->x, m->y, m->width, m->height, m->cursor, m->click_flags, m->event_id});
        }
    return out;
}

bool operator==(const Click& a, const Click& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h && a.cursor == b.cursor && a.flags == b.flags &&
           a.event == b.event;
}

TEST(FlightInstruments, KnobsSendTheirEventsRepeatedlyWhileHeld) {
    const Click bars_down{100, 235, 25, 41, 2, 0x20200000, events::ATTITUDE_BARS_DOWN}, bars_up{125, 235, 25, 41, 1, 0x20200000, events::ATTITUDE_BARS_UP};
    const Click cage{194, 204, 100, 100, 5, 0x20000000, events::ATTITUDE_CAGE_BUTTON};
    EXPECT_TRUE((clicks_of(Attitude) == std::vector<Click>{bars_down, bars_up}));
    EXPECT_TRUE((clicks_of(Attitude_w_Cage) == std::vector<Click>{cage, bars_down, bars_up}));
    EXPECT_TRUE((clicks_of(Gyro_Compass) == std::vector<Click>{{77, 252, 41, 82, 2, 0x20200000, events::GYRO_DRIFT_DECREASE},
                                                              {118, 252, 41, 82, 1, 0x20200000, events::GYRO_DRIFT_INCREASE}}));
    for (GaugeHeader* g : {&Turn_Coordinator, &Whiskey_Compass, &Waltham_Clock}) EXPECT_TRUE(clicks_of(*g).empty());
}

std::string hex(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", id);
    return text;
}

// Every tooltip of a gauge in list order: a help id on an area or in a
// tooltip entry, or a module text.
std::vector<std::string> tooltips_of(const GaugeHeader& g) {
    std::vector<std::string> out;
    for (const MouseRect* m = g.mouse; m->kind != MouseKind::END; ++m) {
        if (m->kind == MouseKind::PARENT && m->help_id != 0) out.push_back("area " + hex(m->help_id));
        if (m->kind != MouseKind::TOOLTIP) continue;
        out.push_back(m->tooltip_text != nullptr ? std::string(m->tooltip_text) : "entry " + hex(m->help_id));
        EXPECT_EQ(m->event_id, 0u) << "no arguments";
    }
    return out;
}

TEST(FlightInstruments, TooltipsAreHelpIdsAndTheCageGaugesTexts) {
    using V = std::vector<std::string>;
    EXPECT_EQ(tooltips_of(Attitude), V{"entry 0x3092"});
    EXPECT_EQ(tooltips_of(Attitude_w_Cage),
              (V{"entry 0x3092", "Attitude indicator cage button", "Attitude indicator plane adjusting button"}));
    EXPECT_EQ(tooltips_of(Turn_Coordinator), V{"entry 0x3090"});
    EXPECT_EQ(tooltips_of(Gyro_Compass), (V{"entry 0x3208", "area 0xAB35"}));
    EXPECT_EQ(tooltips_of(Whiskey_Compass), V{"entry 0x31B8"});
    EXPECT_EQ(tooltips_of(Waltham_Clock), (V{"area 0xAB16", "entry 0x3018"}));
}

}  // namespace
}  // namespace ardelvine
