// Needle angles from nonlinearity tables, on tables of the module's own dials.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/load/needle.h"

namespace ardelvine::hostapp {
namespace {

struct Table {
    int pivot_x, pivot_y;
    std::vector<NonlinearityEntry> entries;
    double angle(double value) {
        fill_table_angles(entries.data(), static_cast<std::uint32_t>(entries.size()), pivot_x, pivot_y);
        return table_angle(entries.data(), static_cast<std::uint32_t>(entries.size()), value);
    }
};

Table airspeed() {
    return {150, 150, {{150, 32, 0, 0}, {182, 33, 35, 0}, {235, 66, 60, 0}, {150, 273, 120, 0},
                       {150, 80, 200, 0}, {148, 217, 330, 0}, {109, 97, 430, 0}, {109, 97, 500, 0}}};
}
Table hundreds() { return {131, 127, {{131, 77, -1, 0}, {131, 77, 0, 0}, {131, 177, 500, 0}}}; }
Table thousands() { return {131, 127, {{131, 77, 0, 0}, {131, 177, 5000, 0}}}; }
// Values fall along the table: the needle turns counter-clockwise as the value rises.
Table falling() { return {100, 100, {{100, 0, 5040, 0}, {200, 100, 4320, 0}, {100, 200, 2160, 0}, {0, 100, 0, 0}}}; }

TEST(Needle, DirectionsClockwiseFromTwelve) {
    EXPECT_DOUBLE_EQ(direction_deg(0, 0, 0, -10), 0.0);
    EXPECT_DOUBLE_EQ(direction_deg(0, 0, 10, 0), 90.0);
    EXPECT_DOUBLE_EQ(direction_deg(0, 0, 0, 10), 180.0);
    EXPECT_DOUBLE_EQ(direction_deg(0, 0, -10, 0), 270.0);
}

TEST(Needle, AirspeedTurnsAlmostTwice) {
    Table t = airspeed();
    struct Case {
        double value, angle, tolerance;
    } cases[] = {
        {0, 0, 1e-9},        {60, 45.6, 0.5},      {120, 180, 1e-9},
        {160, 270, 1e-9},    // halfway through the half turn from 6 to 12 o'clock
        {200, 360, 1e-9},    // 12 o'clock again, one turn on
        {430, 360 + 322, 0.5}, {500, 360 + 322, 0.5}, {900, 360 + 322, 0.5},  // pinned by the repeated point
        {-35, -15.5, 0.6},   // below the table the first segment goes on
    };
    for (const Case& c : cases) EXPECT_NEAR(t.angle(c.value), c.angle, c.tolerance) << c.value;
}

TEST(Needle, AltimeterHandsKeepTurning) {
    Table h = hundreds();
    struct Case {
        double value, angle;
    } cases[] = {{0, 0}, {250, 90}, {500, 180}, {750, 270}, {1000, 360}, {10250, 3690}, {-1, 0}, {-300, 0}};
    for (const Case& c : cases) EXPECT_NEAR(h.angle(c.value), c.angle, 1e-9) << c.value;
    Table k = thousands();
    EXPECT_NEAR(k.angle(12500), 450.0, 1e-9);
    EXPECT_NEAR(k.angle(-2500), -90.0, 1e-9);
}

TEST(Needle, FallingTableTurnsBackwards) {
    Table t = falling();
    // Stored order 5040 (12), 4320 (3), 2160 (6), 0 (9): clockwise as stored.
    EXPECT_NEAR(t.angle(5040), 0, 1e-9);
    EXPECT_NEAR(t.angle(4320), 90, 1e-9);
    EXPECT_NEAR(t.angle(3240), 135, 1e-9);
    EXPECT_NEAR(t.angle(0), 270, 1e-9);
    EXPECT_NEAR(t.angle(-720), 300, 1e-9) << "past the last entry the last segment goes on";
    EXPECT_NEAR(t.angle(5760), -90, 1e-9) << "before the first entry the first segment goes on";
}

TEST(Needle, HalfTurnStepsAreClockwiseAndDegenerateTablesAreSafe) {
    Table half{0, 0, {{0, -10, 0, 0}, {0, 10, 1, 0}, {0, -10, 2, 0}}};
    EXPECT_NEAR(half.angle(1), 180, 1e-9);
    EXPECT_NEAR(half.angle(2), 360, 1e-9);
    Table one{0, 0, {{10, 0, 5, 0}}};
    EXPECT_NEAR(one.angle(-100), 90, 1e-9);
    EXPECT_EQ(table_angle(nullptr, 0, 3.0), 0.0);
    Table same{0, 0, {{0, -10, 1, 0}, {10, 0, 1, 0}}};  // equal values: no rate, no division by zero
    EXPECT_TRUE(std::isfinite(same.angle(5)));
}

// The quick answer a needle gets every update from its remembered segment
// must be table_angle's own, bit for bit, whatever values came before: on
// segment ends, before and past the table, on equal-valued entries, and on
// tables whose values turn back (where no quick answer may be given).
TEST(Needle, RememberedSegmentAnswersExactlyAsTheSearch) {
    std::vector<Table> tables = {airspeed(), hundreds(), thousands(), falling()};
    tables.push_back({0, 0, {{0, -10, 0, 0}, {10, 0, 10, 0}, {0, 10, 10, 0}, {-10, 0, 20, 0}, {0, -9, 20, 0}}});
    tables.push_back({0, 0, {{0, -10, 0, 0}, {10, 0, 50, 0}, {0, 10, 20, 0}, {-10, 0, 80, 0}}});  // turns back
    tables.push_back({0, 0, {{0, -10, 7, 0}}});
    for (Table& t : tables) {
        const auto n = static_cast<std::uint32_t>(t.entries.size());
        fill_table_angles(t.entries.data(), n, t.pivot_x, t.pivot_y);
        const bool monotonic = table_is_monotonic(t.entries.data(), n);
        std::vector<double> values = {std::nan(""), 1e9, -1e9};
        for (const NonlinearityEntry& e : t.entries)
            for (double d : {-1.0, -1e-9, 0.0, 1e-9, 0.5, 1.0}) values.push_back(e.value + d);
        // Every value after every other, so each starts from every remembered segment.
        for (double before : values)
            for (double value : values) {
                std::uint32_t segment = 0;
                table_angle(t.entries.data(), n, before, monotonic, segment);
                const double quick = table_angle(t.entries.data(), n, value, monotonic, segment);
                const double searched = table_angle(t.entries.data(), n, value);
                if (std::isnan(searched))
                    EXPECT_TRUE(std::isnan(quick));
                else
                    EXPECT_EQ(quick, searched) << "value " << value << " after " << before << ", table of " << n;
            }
    }
    Table turns_back = tables[5];
    EXPECT_FALSE(table_is_monotonic(turns_back.entries.data(), 4));
    EXPECT_TRUE(table_is_monotonic(tables[3].entries.data(), 4));
}

}  // namespace
}  // namespace ardelvine::hostapp
