// Altimeter: a barometric card seen through a window of the face, three hands
// on indicated altitude, and the setting knob below the dial. The hands' tables
// hold only 12 and 6 o'clock, so the hands keep turning for any altitude; the
// hundreds hand is held at 12 o'clock below zero.
#include "gauges/instruments/dial.h"
#include "model/events.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {

// The card turns 90 degrees per inch of mercury away from 29.9 and stops at
// 27.9 and 31.5 (a setting that is not a number counts as the low stop).
double ARD_CALL altimeter_baro_rotation(ElementHeader* element) {
    if (element == nullptr) return 0.0;
    double setting = reinterpret_cast<Sprite*>(element)->rotation.source.value;
    if (!(setting > 27.9)) setting = 27.9;
    if (setting >= 31.5) setting = 31.5;
    return setting - 29.9;
}

namespace altimeter {
using namespace dials;

constexpr std::size_t kElements = 6;
extern ElementHeader* chain[2 * kElements];

constexpr Point kPivot = {131, 127};

// (131, 77) is 12 o'clock and (131, 177) 6 o'clock from the pivot.
NonlinearityEntry ten_thousands_table[] = {through(0, 131, 77), through(50000, 131, 177)};
NonlinearityEntry thousands_table[] = {through(0, 131, 77), through(5000, 131, 177)};
NonlinearityEntry hundreds_table[] = {through(-1, 131, 77), through(0, 131, 77), through(500, 131, 177)};
static_assert(std::size(ten_thousands_table) == 2 && std::size(thousands_table) == 2 &&
              std::size(hundreds_table) == 3);

FailureRecord hand_failures[] = {{failures::PITOT_STATIC, FAIL_FREEZE}, {failures::ALTIMETER, FAIL_FREEZE}, {0}};

StaticImage face = plate(Altimeter, bitmaps::ALTIMETER_FACE, next_of(chain, 0), kLitFlags);

// The card shows through its window (the next bitmap).
Sprite baro_card = {
    .header = {.kind = ElementKind::SPRITE, .bitmap = bitmaps::ALTIMETER_SETTING_CARD, .x = 200, .y = 100, .offset_x = 131,
               .offset_y = 127, .gauge = &Altimeter, .children = next_of(chain, 1), .failures = nullptr,
               .image_flags = kLitSmoothFlags},
    .x = {.source = {.token = 0}, .scale = 1.0},
    .y = {.source = {.token = 0}, .scale = 1.0},
    .rotation = {.source = {.token = tokens::KOHLSMAN_SETTING}, .scale = 90.0},
    .texture_x = 1.0f,
    .texture_y = 1.0f,
    .x_update = nullptr,
    .y_update = nullptr,
    .rotation_update = altimeter_baro_rotation,
};

Needle ten_thousands = dial_needle(Altimeter, next_of(chain, 2),
    {.bitmap = bitmaps::ALTIMETER_TEN_THOUSANDS_HAND, .pivot = kPivot, .offset = {0, 6}, .token = tokens::ALTITUDE_INDICATED, .table = ten_thousands_table,
     .failures = hand_failures});
Needle thousands = dial_needle(Altimeter, next_of(chain, 3),
    {.bitmap = bitmaps::ALTIMETER_THOUSANDS_HAND, .pivot = kPivot, .offset = {33, 14}, .token = tokens::ALTITUDE_INDICATED, .table = thousands_table,
     .failures = hand_failures});
Needle hundreds = dial_needle(Altimeter, next_of(chain, 4),
    {.bitmap = bitmaps::ALTIMETER_HUNDREDS_HAND, .pivot = kPivot, .offset = {35, 13}, .token = tokens::ALTITUDE_INDICATED, .table = hundreds_table,
     .failures = hand_failures});

StaticImage cover = plate(Altimeter, bitmaps::ALTIMETER_COVER, nullptr);

ElementHeader* chain[] = {
    &face.header,          nullptr,
    &baro_card.header,     nullptr,
    &ten_thousands.header, nullptr,
    &thousands.header,     nullptr,
    &hundreds.header,      nullptr,
    &cover.header,         nullptr,
};

// The knob's left half lowers the setting and its right half raises it; the
// host sends the key events itself, repeatedly while the button is held.
constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({0, 0, 262, 203}, mouse_tooltip_id(help::ALTIMETER)),
    tooltip_area({12, 203, 42, 42}, mouse_tooltip_id(help::ALTIMETER_SETTING_KNOB)),
    mouse_child_event({12, 203, 21, 42}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_REPEAT, events::KOHLSMAN_DECREASE),
    mouse_child_event({33, 203, 21, 42}, CURSOR_UP, MOUSE_LEFT | MOUSE_REPEAT, events::KOHLSMAN_INCREASE),
    mouse_end_parent(),
    mouse_end());
static_assert(std::size(mouse) == 11);

}  // namespace altimeter
}  // namespace

constinit GaugeHeader Altimeter = make_gauge(registry::Altimeter, altimeter::chain, altimeter::mouse.data());

}  // namespace ardelvine::gauges
