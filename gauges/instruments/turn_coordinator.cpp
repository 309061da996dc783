// Turn coordinator: a ball in its curved tube and a turn needle over it. The
// ball runs sideways with the slip token and rises as it leaves the middle,
// because the tube curves up at both ends; the needle shows the rate of turn.
#include "gauges/instruments/dial.h"
#include "model/tokens.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
namespace turn_coordinator {
using namespace dials;

// The tube is a parabola: the ball rises by the square of its travel.
double ARD_CALL turn_ball_drop(ElementHeader* element) {
    if (element == nullptr) return 0.0;
    const double slip = reinterpret_cast<Slider*>(element)->y.source.value;
    return slip * slip;
}

double ARD_CALL turn_rate_scale(ElementHeader* element) {
    if (element == nullptr) return 0.0;
    return reinterpret_cast<Needle*>(element)->source.value * (1.0 / 256.0);
}

constexpr std::size_t kElements = 5;
extern ElementHeader* chain[2 * kElements];

// The needle sweeps 90 degrees through 12 o'clock between the marks for
// -4.5 and 4.5 and stops there.
NonlinearityEntry needle_table[] = {
    through(-5, 66, 128),    // 315 degrees
    through(-4.5, 66, 128),  // 315 degrees
    through(4.5, 132, 128),  //  45 degrees
    through(5, 132, 128),    //  45 degrees
};

// The instrument's own failure freezes the needle; an electrical failure lets
// it fall back to the middle.
FailureRecord needle_failures[] = {{failures::TURN_COORDINATOR, FAIL_FREEZE}, {failures::ELECTRICAL, FAIL_ZERO}, {0}};

StaticImage face = plate(Turn_Coordinator, bitmaps::TURN_FACE, next_of(chain, 0), kLitFlags);

Slider ball = {
    .header = {.kind = ElementKind::SLIDER, .bitmap = bitmaps::TURN_BALL, .x = 88, .y = 119, .gauge = &Turn_Coordinator,
               .children = next_of(chain, 1), .failures = nullptr, .image_flags = kLitSmoothFlags},
    .x = {.source = {.token = tokens::TURN_BALL}, .scale = 0.46875},
    .y = {.source = {.token = tokens::TURN_BALL}, .scale = -9.0 / 16384.0},
    .x_update = nullptr,
    .y_update = turn_ball_drop,
};
static_assert(-9.0 / 16384.0 == -0.00054931640625);

// The tube's clip and centre marks, always its first picture.
Icon tube_marks = {
    .header = {.kind = ElementKind::ICON, .bitmap = bitmaps::TURN_OVERLAY, .x = 81, .y = 110, .gauge = &Turn_Coordinator,
               .children = next_of(chain, 2), .failures = nullptr, .image_flags = kLitFlags},
    .source = {.token = 0},
    .scale = 1.0,
    .images = 1,
    .update = nullptr,
};

Needle needle = {
    .header = {.kind = ElementKind::NEEDLE, .bitmap = bitmaps::TURN_AIRPLANE, .x = 99, .y = 161, .offset_x = 22, .offset_y = 13,
               .gauge = &Turn_Coordinator, .children = next_of(chain, 3), .failures = needle_failures,
               .image_flags = kLitSmoothFlags},
    .source = {.token = tokens::TURN_RATE},
    .table = needle_table,
    .table_entries = std::size(needle_table),
    .max_swing = 0,
    .update = turn_rate_scale,
};

StaticImage cover = plate(Turn_Coordinator, bitmaps::TURN_COVER, nullptr);

ElementHeader* chain[] = {
    &face.header,       nullptr,
    &ball.header,       nullptr,
    &tube_marks.header, nullptr,
    &needle.header,     nullptr,
    &cover.header,      nullptr,
};

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::TURN_COORDINATOR), mouse_end_parent(), mouse_end()};

}  // namespace turn_coordinator
}  // namespace

constinit GaugeHeader Turn_Coordinator =
    make_gauge(registry::Turn_Coordinator, turn_coordinator::chain, turn_coordinator::mouse);

}  // namespace ardelvine::gauges
