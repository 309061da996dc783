// The two compasses: a heading card strip seen through a window. Both strips
// run from high headings on the left to low ones on the right, as a card read
// from the pilot's side does, so the window's centre shows the heading when
// the strip has travelled (360 - heading) / 360 of its overhang. The gyro
// compass adds a setting knob below its window.
#include "gauges/instruments/dial.h"
#include "model/events.h"
#include "model/tokens.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {

// Either compass card fails in place.
FailureRecord card_failures[] = {{failures::COMPASS, FAIL_NONE}, {0}};

// A card strip: horizontal travel over the heading from 360 down to 0, no
// vertical travel (both ends of that axis are 360, so it never moves).
constexpr MovingImage heading_strip(GaugeHeader& gauge, std::uint32_t bitmap, Point at,
                                    std::uint32_t token, ElementHeader** children) {
    return MovingImage{
        .header = {.kind = ElementKind::MOVING_IMAGE, .bitmap = bitmap, .x = at.x, .y = at.y, .gauge = &gauge,
                   .children = children, .failures = card_failures, .image_flags = kLitSmoothFlags},
        .x = {.source = {.token = token}, .minimum = 360.0, .maximum = 0.0},
        .y = {.source = {.token = 0}, .minimum = 360.0, .maximum = 360.0},
        .x_update = nullptr,
        .y_update = nullptr,
    };
}

// ---------------------------------------------------------------- Gyro_Compass

namespace gyro {
using namespace dials;

constexpr std::size_t kElements = 3;
extern ElementHeader* chain[2 * kElements];

StaticImage face = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::GYRO_COMPASS_FACE, .gauge = &Gyro_Compass,
                               .children = next_of(chain, 0), .image_flags = kPlainFlags}};

// The card strip (1219 by 53) shows through its window (139 by 53).
MovingImage card = heading_strip(Gyro_Compass, bitmaps::GYRO_COMPASS_STRIP, {48, 65}, tokens::GYRO_HEADING, next_of(chain, 1));

// The knob turns once per third of a full card setting.
NonlinearityEntry knob_table[] = {
    through(0, 118, 273),             //   0 degrees
    through(0x10000 / 6.0, 118, 313),   // 180 degrees
};

Needle knob = {
    .header = {.kind = ElementKind::NEEDLE, .bitmap = bitmaps::GYRO_DRIFT_KNOB, .x = 118, .y = 293, .offset_x = 41, .offset_y = 41,
               .gauge = &Gyro_Compass, .children = nullptr, .failures = nullptr,
               .image_flags = kSmoothFlags},
    .source = {.token = tokens::GYRO_DRIFT},
    .table = knob_table,
    .table_entries = std::size(knob_table),
    .max_swing = 0,
    .update = nullptr,
};
static_assert((kSmoothFlags) == 0x83);

ElementHeader* chain[] = {
    &face.header, nullptr,
    &card.header, nullptr,
    &knob.header, nullptr,
};

// The knob's left half turns the setting down, its right half up; the host
// sends the key events itself, repeatedly while the button is held.

MouseRect mouse[] = {
    mouse_parent(),
    mouse_parent({0, 0, 232, 252}),
    mouse_tooltip_id(help::HEADING_INDICATOR),
    mouse_end_parent(),
    mouse_parent({77, 252, 82, 82}, CURSOR_NONE, help::HEADING_INDICATOR_AREA),
    mouse_end_parent(),
    mouse_child_event({77, 252, 41, 82}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_REPEAT, events::GYRO_DRIFT_DECREASE),
    mouse_child_event({118, 252, 41, 82}, CURSOR_UP, MOUSE_LEFT | MOUSE_REPEAT, events::GYRO_DRIFT_INCREASE),
    mouse_end_parent(),
    mouse_end(),
};
static_assert(std::size(mouse) == 10);
}  // namespace gyro

// ---------------------------------------------------------------- Whiskey_Compass

namespace whiskey {
using namespace dials;

constexpr std::size_t kElements = 2;
extern ElementHeader* chain[2 * kElements];

StaticImage face = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::MAGNETIC_COMPASS_FACE, .gauge = &Whiskey_Compass,
                               .children = next_of(chain, 0), .image_flags = kPlainFlags}};

// The card strip (292 by 23) shows through its window (76 by 23).
MovingImage card = heading_strip(Whiskey_Compass, bitmaps::MAGNETIC_COMPASS_STRIP, {0, 10}, tokens::MAGNETIC_COMPASS, next_of(chain, 1));

ElementHeader* chain[] = {
    &face.header, nullptr,
    &card.header, nullptr,
};

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::MAGNETIC_COMPASS), mouse_end_parent(), mouse_end()};
}  // namespace whiskey

}  // namespace

constinit GaugeHeader Gyro_Compass = make_gauge(registry::Gyro_Compass, gyro::chain, gyro::mouse);
constinit GaugeHeader Whiskey_Compass = make_gauge(registry::Whiskey_Compass, whiskey::chain, whiskey::mouse);

}  // namespace ardelvine::gauges
