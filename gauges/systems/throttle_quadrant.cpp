// The throttle quadrant: three levers side by side in their slots. A click
// (or a drag with the button held) at some height in a slot becomes that
// lever's new position, sent to the simulation as a key event with a
// parameter from 0 (fully back) to 16384 (fully forward). The pictures follow
// the simulation's lever variables, not the click, so a lever moves once the
// simulation has applied the event.
//
// Every slot's height is taken from the first slot's mouse area, 293 pixels,
// also for the third lever whose slot is 288 high: a click on its last pixel
// therefore still sends a small positive position. The height is read from
// the header that comes with the click, the placement actually clicked, never
// from a header remembered from an earlier service call (which may belong to
// a placement that no longer exists, or to none before the first call).
#include "gauges/systems/throttle_quadrant.h"

#include "gauges/gauge.h"
#include "module/host.h"
#include "resources/help.h"

namespace ardelvine::gauges {

double lever_fraction(std::int32_t y, std::int32_t height) {
    if (height <= 0) return 0.0;
    const double c = 1.0 - static_cast<double>(y) / static_cast<double>(height);
    if (c <= 0.0) return 0.0;
    if (c >= 1.0) return 1.0;
    return c;
}

namespace {

constexpr std::uint32_t kLeverArea = MOUSE_LEFT | MOUSE_DRAG;
static_assert(kLeverArea == 0x20800000u);

constexpr std::uint32_t kLeverFullTravel = 16384;

// The slot that sets every lever's scale: the second entry of the mouse list.
constexpr std::size_t kHeightSlotEntry = 1;

void send_lever(const MouseClick* click, std::uint32_t event) {
    if (click == nullptr || click->gauge == nullptr || click->gauge->mouse == nullptr) return;
    const std::int32_t height = click->gauge->mouse[kHeightSlotEntry].height;
    const double f = lever_fraction(click->y, height);
    panel_services::trigger_key_event(event, static_cast<std::uint32_t>(f * kLeverFullTravel));
}

std::int32_t ARD_CALL throttle_lever1_click(MouseClick* click, std::uint32_t) {
    send_lever(click, kLever1Event);
    return 0;
}
std::int32_t ARD_CALL throttle_lever2_click(MouseClick* click, std::uint32_t) {
    send_lever(click, kLever2Event);
    return 0;
}
std::int32_t ARD_CALL throttle_lever3_click(MouseClick* click, std::uint32_t) {
    send_lever(click, kLever3Event);
    return 0;
}

// The quadrant keeps nothing between calls: the slot height comes with each click.
void ARD_CALL throttle_quadrant_callback(GaugeHeader*, std::int32_t, std::uintptr_t) {}

struct LeverRow {
    std::uint32_t bitmap;
    std::int32_t x, y;    // the lever's rest position, fully back
    std::uint32_t token;  // 0 fully back .. 1 fully forward
    double scale;         // pixels per unit: at 1 the lever's top edge reaches y = 5
};

constexpr Slider lever(GaugeHeader& gauge, const LeverRow& row, ElementHeader** children) {
    return Slider{.header = {.kind = ElementKind::SLIDER, .bitmap = row.bitmap, .x = row.x, .y = row.y,
                             .gauge = &gauge, .children = children, .image_flags = kPlainFlags},
                  .x = {.source = {.token = 0}, .scale = 1.0},
                  .y = {.source = {.token = row.token}, .scale = row.scale}};
}

// ------------------------------------------------------------ records, in drawing order

extern ElementHeader* chain[2 * 4];

StaticImage quadrant = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmaps::QUADRANT_PANEL, .gauge = &Throttle_Quadrant,
                                   .children = next_of(chain, 0), .image_flags = kPlainFlags}};

constexpr LeverRow kLevers[] = {
    {.bitmap = bitmaps::QUADRANT_LEFT_LEVER, .x = 21, .y = 205, .token = kLever1Token, .scale = -200.0},   // left
    {.bitmap = bitmaps::QUADRANT_MIDDLE_LEVER, .x = 83, .y = 249, .token = kLever2Token, .scale = -244.0},   // middle
    {.bitmap = bitmaps::QUADRANT_RIGHT_LEVER, .x = 162, .y = 247, .token = kLever3Token, .scale = -242.0},  // right
};

Slider lever1 = lever(Throttle_Quadrant, kLevers[0], next_of(chain, 1));
Slider lever2 = lever(Throttle_Quadrant, kLevers[1], next_of(chain, 2));
Slider lever3 = lever(Throttle_Quadrant, kLevers[2], next_of(chain, 3));
ElementHeader* chain[2 * 4] = {&quadrant.header, nullptr, &lever1.header, nullptr,
                               &lever2.header, nullptr, &lever3.header, nullptr};

// Each slot's tooltip area, then the three click-and-drag areas over the same slots.
constexpr Control kLever1 =
    control({21, 5, 51, 293}, mouse_tooltip_id(help::MIXTURE_LEVER), CURSOR_HAND, kLeverArea, &throttle_lever1_click);
constexpr Control kLever2 =
    control({83, 5, 49, 293}, mouse_tooltip_id(help::PROPELLER_LEVER), CURSOR_HAND, kLeverArea, &throttle_lever2_click);
constexpr Control kLever3 =
    control({162, 5, 51, 288}, mouse_tooltip_id(help::THROTTLE_LEVER), CURSOR_HAND, kLeverArea, &throttle_lever3_click);

constinit auto mouse = mouse_list(mouse_parent(),
                                  kLever1.tooltip, kLever2.tooltip, kLever3.tooltip,
                                  kLever1.click, kLever2.click, kLever3.click,
                                  mouse_end_parent(), mouse_end());
static_assert(std::size(mouse) == 15);

}  // namespace

constinit GaugeHeader Throttle_Quadrant =
    make_gauge(registry::Throttle_Quadrant, chain, mouse.data(), &throttle_quadrant_callback);

}  // namespace ardelvine::gauges
