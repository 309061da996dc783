// Artificial horizons. A horizon card turns with bank and slides with pitch
// behind a round window; a bank pointer turns with it over the bank scale; the
// reference bars (the little aircraft) move up and down with the knob below
// the dial; glass and bezel lie on top. Attitude_w_Cage is the same horizon
// with a caging knob whose picture follows the gyro's cage state.
#include "gauges/instruments/dial.h"
#include "model/events.h"
#include "model/tokens.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
namespace attitude {
using namespace dials;

// The card slides 1.3 pixels per degree of pitch and stops at 40 degrees
// either way, which keeps its edges out of the window.
constexpr double kPitchStop = 40.0;
constexpr double pitch_limited(double pitch) {
    if (pitch > kPitchStop) return kPitchStop;
    if (pitch < -kPitchStop) return -kPitchStop;
    return pitch;
}
static_assert(pitch_limited(55) == 40 && pitch_limited(-90) == -40 && pitch_limited(12.5) == 12.5);

double pitch_of(ElementHeader* element) {
    return element != nullptr ? pitch_limited(reinterpret_cast<Sprite*>(element)->y.source.value) : 0.0;
}

// Each gauge has its own copy of the clamp.
double ARD_CALL attitude_pitch_limit(ElementHeader* element) { return pitch_of(element); }
double ARD_CALL cage_pitch_limit(ElementHeader* element) { return pitch_of(element); }

// The cage knob's picture is the cage position itself.
double ARD_CALL cage_position(ElementHeader* element) {
    return element != nullptr ? reinterpret_cast<Icon*>(element)->source.value : 0.0;
}

// The bank pointer points straight down at wings level and turns clockwise
// with the card, a quarter turn at 90 degrees of bank either way.
NonlinearityEntry bank_table[] = {
    through(-90, 175, 122),  //  90 degrees: 3 o'clock
    through(90, 75, 122),    // 270 degrees: 9 o'clock, clockwise through 6 o'clock
};

// Gyro failures leave the card and pointer where the gyro put them.
FailureRecord gyro_failures[] = {{failures::ATTITUDE, FAIL_NONE}, {failures::ENGINE, FAIL_NONE}, {failures::VACUUM, FAIL_NONE}, {0}};

constexpr Point kCentre = {125, 122};

// What differs between the two horizons.
struct Variant {
    std::uint32_t face, cover;
    ElementCallback pitch_limit;
};

// The six elements both horizons share, in drawing order.
struct Horizon {
    StaticImage face;
    Sprite card;
    Needle bank_pointer;
    Slider bars;
    StaticImage cover;
    StaticImage glass;
};

template <std::size_t N>
constexpr Horizon make_horizon(GaugeHeader& gauge, ElementHeader* (&chain)[N], const Variant& v) {
    return Horizon{
        .face = plate(gauge, v.face, next_of(chain, 0), kLitFlags),
        // The card shows through its round window (the next bitmap).
        .card = {
            .header = {.kind = ElementKind::SPRITE, .bitmap = bitmaps::ATTITUDE_HORIZON, .x = 0, .y = 0, .offset_x = kCentre.x,
                       .offset_y = kCentre.y, .gauge = &gauge, .children = next_of(chain, 1),
                       .failures = gyro_failures, .image_flags = kLitSmoothFlags},
            .x = {.source = {.token = 0}, .scale = 0.0},
            .y = {.source = {.token = tokens::ATTITUDE_PITCH}, .scale = 1.3},
            .rotation = {.source = {.token = tokens::ATTITUDE_BANK}, .scale = -1.0},
            .texture_x = 1.0f,
            .texture_y = 0.9f,
            .x_update = nullptr,
            .y_update = v.pitch_limit,
            .rotation_update = nullptr,
        },
        .bank_pointer = {
            .header = {.kind = ElementKind::NEEDLE, .bitmap = bitmaps::ATTITUDE_BANK_POINTER, .x = kCentre.x, .y = kCentre.y, .offset_x = 95,
                       .offset_y = 5, .gauge = &gauge, .children = next_of(chain, 2), .failures = gyro_failures,
                       .image_flags = kLitSmoothFlags},
            .source = {.token = tokens::ATTITUDE_BANK},
            .table = bank_table,
            .table_entries = std::size(bank_table),
            .max_swing = 0,
            .update = nullptr,
        },
        // A higher bar setting lifts the bars.
        .bars = {
            .header = {.kind = ElementKind::SLIDER, .bitmap = bitmaps::ATTITUDE_BARS, .x = 62, .y = 119, .gauge = &gauge,
                       .children = next_of(chain, 3), .failures = nullptr, .image_flags = kLitSmoothFlags},
            .x = {.source = {.token = 0}, .scale = 0.0},
            .y = {.source = {.token = tokens::ATTITUDE_BARS_POSITION}, .scale = -0.14},
            .x_update = nullptr,
            .y_update = nullptr,
        },
        .cover = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = v.cover, .gauge = &gauge,
                             .children = next_of(chain, 4), .image_flags = kPlainFlags}},
        .glass = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::ATTITUDE_GLASS, .gauge = &gauge,
                             .children = next_of(chain, 5), .image_flags = kLitSmoothFlags}},
    };
}

// The knob below the dial: its left half lowers the bars, its right half
// raises them; the host sends the key events itself, repeatedly while held.
constexpr std::uint32_t kHeld = MOUSE_LEFT | MOUSE_REPEAT;

// ---------------------------------------------------------------- Attitude

namespace plain {
extern ElementHeader* chain[2 * 6];

constinit Horizon horizon = make_horizon(Attitude, chain, {.face = bitmaps::ATTITUDE_FACE, .cover = bitmaps::ATTITUDE_COVER,
                                                           .pitch_limit = attitude_pitch_limit});

ElementHeader* chain[] = {
    &horizon.face.header,         nullptr,
    &horizon.card.header,         nullptr,
    &horizon.bank_pointer.header, nullptr,
    &horizon.bars.header,         nullptr,
    &horizon.cover.header,        nullptr,
    &horizon.glass.header,        nullptr,
};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip_id(help::ATTITUDE_INDICATOR),
    mouse_child_event({100, 235, 25, 41}, CURSOR_DOWN, kHeld, events::ATTITUDE_BARS_DOWN),
    mouse_child_event({125, 235, 25, 41}, CURSOR_UP, kHeld, events::ATTITUDE_BARS_UP),
    mouse_end_parent(),
    mouse_end(),
};
static_assert(std::size(mouse) == 6);
}  // namespace plain

// ---------------------------------------------------------------- Attitude_w_Cage

namespace caged {
extern ElementHeader* chain[2 * 7];

constinit Horizon horizon = make_horizon(Attitude_w_Cage, chain, {.face = bitmaps::CAGED_ATTITUDE_FACE, .cover = bitmaps::CAGED_ATTITUDE_COVER,
                                                                  .pitch_limit = cage_pitch_limit});

// Knob pushed in (0), on its way (1), pulled and locked (2).
Icon cage_knob = {
    .header = {.kind = ElementKind::ICON, .bitmap = bitmaps::CAGE_KNOB, .x = 194, .y = 204, .gauge = &Attitude_w_Cage,
               .children = nullptr, .failures = nullptr, .image_flags = kPlainFlags},
    .source = {.token = tokens::ATTITUDE_CAGE},
    .scale = 1.0,
    .images = 3,
    .update = cage_position,
};

ElementHeader* chain[] = {
    &horizon.face.header,         nullptr,
    &horizon.card.header,         nullptr,
    &horizon.bank_pointer.header, nullptr,
    &horizon.bars.header,         nullptr,
    &horizon.cover.header,        nullptr,
    &horizon.glass.header,        nullptr,
    &cage_knob.header,            nullptr,
};

constexpr Control kCageButton = control({194, 204, 100, 100}, mouse_tooltip("Attitude indicator cage button"),
                                         CURSOR_HAND, MOUSE_LEFT, events::ATTITUDE_CAGE_BUTTON);

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({0, 0, 250, 204}, mouse_tooltip_id(help::ATTITUDE_INDICATOR)),
    kCageButton.tooltip,
    tooltip_area({100, 235, 50, 50}, mouse_tooltip("Attitude indicator plane adjusting button")),
    kCageButton.click,
    mouse_child_event({100, 235, 25, 41}, CURSOR_DOWN, kHeld, events::ATTITUDE_BARS_DOWN),
    mouse_child_event({125, 235, 25, 41}, CURSOR_UP, kHeld, events::ATTITUDE_BARS_UP),
    mouse_end_parent(),
    mouse_end());
static_assert(std::size(mouse) == 15);
}  // namespace caged

}  // namespace attitude
}  // namespace

constinit GaugeHeader Attitude = make_gauge(registry::Attitude, attitude::plain::chain, attitude::plain::mouse);
constinit GaugeHeader Attitude_w_Cage =
    make_gauge(registry::Attitude_w_Cage, attitude::caged::chain, attitude::caged::mouse.data());

}  // namespace ardelvine::gauges
