// Vertical speed indicator. The token is metres per second times 256; the
// table's values are the face's marks in feet per minute times 1.3004799584
// (close to 0.00508 * 256), kept to ten significant digits. Zero sits at
// 9 o'clock; the needle stops at the 6000 marks either way.
#include "gauges/instruments/dial.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
namespace vertical_speed {
using namespace dials;

NonlinearityEntry table[] = {
    //       value      point        mark ft/min  direction
    through(-8453.119730, 258, 196),  // -6500  113°
    through(-7802.879750, 258, 196),  // -6000  113°
    through(-5201.919834, 224, 237),  // -4000  140°
    through(-3901.439875, 201, 259),  // -3000  155°
    through(-2600.959917, 151, 269),  // -2000  180°
    through(-1950.719938, 115, 269),  // -1500  197°
    through(-1300.479958, 85, 248),   // -1000  214°
    through(-650.2399792, 47, 209),   //  -500  240°
    through(0,            30, 150),   //     0  270°
    through(650.2399792,  47, 92),    //   500  299°
    through(1300.479958,  85, 53),    //  1000  326°
    through(1950.719938,  115, 31),   //  1500  343°
    through(2600.959917,  151, 31),   //  2000    0°
    through(3901.439875,  201, 42),   //  3000   25°
    through(5201.919834,  224, 63),   //  4000   40°
    through(7802.879750,  258, 104),  //  6000   67°
    through(8453.119730,  258, 104),  //  6500   67°
};
static_assert(std::size(table) == 17);

FailureRecord failures[] = {{failures::VERTICAL_SPEED, FAIL_FREEZE}, {failures::PITOT_STATIC, FAIL_ZERO}, {0}};

constinit Dial<1> dial = make_dial(dial, Vertical_Speed, {.face = bitmaps::VERTICAL_SPEED_FACE, .cover = bitmaps::VERTICAL_SPEED_COVER}, {
    {.bitmap = bitmaps::VERTICAL_SPEED_NEEDLE, .pivot = {151, 150}, .offset = {58, 11}, .token = tokens::VERTICAL_SPEED, .table = table, .failures = failures},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::VERTICAL_SPEED_INDICATOR), mouse_end_parent(), mouse_end()};

}  // namespace vertical_speed
}  // namespace

constinit GaugeHeader Vertical_Speed =
    make_gauge(registry::Vertical_Speed, vertical_speed::dial.chain, vertical_speed::mouse);

}  // namespace ardelvine::gauges
