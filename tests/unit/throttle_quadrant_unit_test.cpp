// The throttle quadrant's levers: where in a slot a click lands becomes the
// lever's position, scaled to the key event's 0..16384, always against the
// first slot's height and always read from the header that came with the click.
#include <cstring>

#include "gauges/systems/throttle_quadrant.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_list.h"
#include "tests/unit/fake_panel.h"

namespace ardelvine::test {
namespace {

using gauges::Throttle_Quadrant;

constexpr std::size_t kLever1Area = 10, kLever2Area = 11, kLever3Area = 12;

class ThrottleQuadrant : public FakePanel {};

TEST_F(ThrottleQuadrant, ClickHeightBecomesLeverPosition) {
    struct Case {
        std::size_t area;
        std::int32_t y;
        std::uint32_t event, parameter;
    };
    const Case cases[] = {
        {kLever1Area, 0, events::THROTTLE_SET, 16384},   // top of the slot: fully forward
        {kLever1Area, -7, events::THROTTLE_SET, 16384},  // above it (a drag past the top): still fully forward
        {kLever1Area, 146, events::THROTTLE_SET, 8219},  // 1 - 146/293 = 0.50171
        {kLever2Area, 146, events::PROPELLER_SET, 8219},
        {kLever1Area, 292, events::THROTTLE_SET, 55},  // last pixel of the slot
        {kLever1Area, 293, events::THROTTLE_SET, 0},   // bottom edge and below: fully back
        {kLever1Area, 400, events::THROTTLE_SET, 0},
        {kLever3Area, 287, events::MIXTURE_SET, 335},  // the shorter slot is measured against 293 too
        {kLever3Area, 0, events::MIXTURE_SET, 16384},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("area " + std::to_string(c.area) + " y " + std::to_string(c.y));
        events.clear();
        click(Throttle_Quadrant, c.area, 10, c.y, MOUSE_DRAG);
        EXPECT_EQ(events, (Events{{c.event, c.parameter}}));
    }
}

TEST_F(ThrottleQuadrant, FractionClampsAndRefusesAnEmptySlot) {
    EXPECT_EQ(gauges::lever_fraction(0, 293), 1.0);
    EXPECT_EQ(gauges::lever_fraction(293, 293), 0.0);
    EXPECT_DOUBLE_EQ(gauges::lever_fraction(73, 292), 0.75);
    EXPECT_EQ(gauges::lever_fraction(5, 0), 0.0);
    EXPECT_EQ(gauges::lever_fraction(5, -10), 0.0);
}

// The height comes from the clicked placement's own mouse list: a copy whose
// slot is taller scales the same click differently, and a click that carries
// no gauge sends nothing rather than reading a header from somewhere else.
TEST_F(ThrottleQuadrant, HeightComesFromTheClickedHeader) {
    MouseRect copy_mouse[15];
    std::memcpy(static_cast<void*>(copy_mouse), Throttle_Quadrant.mouse, sizeof copy_mouse);
    copy_mouse[1].height = 400;
    GaugeHeader copy = Throttle_Quadrant;
    copy.mouse = copy_mouse;

    MouseClick at{10, 100, &copy};
    copy_mouse[kLever2Area].handler(&at, MOUSE_LEFT);
    at.gauge = nullptr;
    copy_mouse[kLever2Area].handler(&at, MOUSE_LEFT);
    copy.mouse = nullptr;
    at.gauge = &copy;
    copy_mouse[kLever2Area].handler(&at, MOUSE_LEFT);
    copy_mouse[kLever2Area].handler(nullptr, MOUSE_LEFT);
    EXPECT_EQ(events, (Events{{events::PROPELLER_SET, 12288}}));  // (1 - 100/400) * 16384
}

TEST_F(ThrottleQuadrant, LeversFollowTheirTokensToTheTopOfTheSlot) {
    struct Lever {
        int element;
        std::uint32_t token;
        std::int32_t rest_y;
    };
    for (const Lever& l : {Lever{1, tokens::THROTTLE_LEVER, 205}, Lever{2, tokens::PROPELLER_LEVER, 249},
                           Lever{3, tokens::MIXTURE_LEVER, 247}}) {
        const Slider* s = element_as<Slider>(Throttle_Quadrant, l.element);
        EXPECT_EQ(s->header.kind, ElementKind::SLIDER);
        EXPECT_EQ(s->y.source.token, l.token);
        EXPECT_EQ(s->x.source.token, 0u);
        EXPECT_EQ(s->header.y, l.rest_y);
        EXPECT_EQ(s->header.y + s->y.scale * 1.0, 5.0) << "fully forward reaches the top of the slot";
    }
    EXPECT_EQ(chain_length(Throttle_Quadrant), 4);
}

}  // namespace
}  // namespace ardelvine::test
