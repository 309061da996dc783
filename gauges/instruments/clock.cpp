// Waltham clock: hour, minute and second hands on the time of day. Each hand's
// table holds only 12 and 6 o'clock, so the hands keep turning as the seconds
// count on: the hour hand once per 12 hours, the minute hand once per hour,
// the second hand once per minute.
#include "gauges/instruments/dial.h"
#include "model/tokens.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
namespace waltham {
using namespace dials;

constexpr Point kPivot = {153, 150};

// (153, 130) is 12 o'clock and (153, 170) 6 o'clock from the pivot.
NonlinearityEntry hour_table[] = {through(0, 153, 130), through(21600, 153, 170)};
NonlinearityEntry minute_table[] = {through(0, 153, 130), through(1800, 153, 170)};
NonlinearityEntry second_table[] = {through(0, 153, 130), through(30, 153, 170)};

constinit Dial<3> dial = make_dial(dial, Waltham_Clock, {.face = bitmaps::CLOCK_FACE, .cover = bitmaps::CLOCK_COVER}, {
    {.bitmap = bitmaps::CLOCK_HOUR_HAND, .pivot = kPivot, .offset = {12, 12}, .token = tokens::TIME_OF_DAY, .table = hour_table, .failures = nullptr},
    {.bitmap = bitmaps::CLOCK_MINUTE_HAND, .pivot = kPivot, .offset = {12, 12}, .token = tokens::TIME_OF_DAY, .table = minute_table, .failures = nullptr},
    {.bitmap = bitmaps::CLOCK_SECOND_HAND, .pivot = kPivot, .offset = {53, 8}, .token = tokens::TIME_OF_DAY, .table = second_table, .failures = nullptr},
});

// The whole clock carries one help text on the area itself and another in its
// tooltip entry; the host shows the tooltip entry's.
MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, CURSOR_NONE, help::CLOCK_AREA),
    mouse_tooltip_id(help::CLOCK),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace waltham
}  // namespace

constinit GaugeHeader Waltham_Clock = make_gauge(registry::Waltham_Clock, waltham::dial.chain, waltham::mouse);

}  // namespace ardelvine::gauges
