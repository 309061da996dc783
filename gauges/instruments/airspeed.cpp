// Airspeed indicator: one needle on indicated airspeed that goes almost twice
// round the face, and stops at the end of the scale.
#include "gauges/instruments/dial.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
namespace airspeed {
using namespace dials;

NonlinearityEntry table[] = {
    //    knots  point        direction
    through(0,     150, 32),   //   0°
    through(35,    182, 33),   //  15°
    through(60,    235, 66),   //  45°
    through(120,   150, 273),  // 180°
    through(200,   150, 80),   //   0°, second turn
    through(330,   148, 217),  // 182°
    through(430,   109, 97),   // 322°
    through(500,   109, 97),   // 322°: the needle stops here
};
static_assert(std::size(table) == 8);

FailureRecord failures[] = {{failures::AIRSPEED, FAIL_ZERO}, {failures::PITOT_STATIC, FAIL_ZERO}, {0}};

constinit Dial<1> dial = make_dial(dial, Airspeed, {.face = bitmaps::AIRSPEED_FACE, .cover = bitmaps::AIRSPEED_COVER}, {
    {.bitmap = bitmaps::AIRSPEED_NEEDLE, .pivot = {150, 150}, .offset = {41, 18}, .token = tokens::AIRSPEED_INDICATED, .table = table, .failures = failures},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::AIRSPEED_INDICATOR), mouse_end_parent(), mouse_end()};

}  // namespace airspeed
}  // namespace

constinit GaugeHeader Airspeed = make_gauge(registry::Airspeed, airspeed::dial.chain, airspeed::mouse);

}  // namespace ardelvine::gauges
