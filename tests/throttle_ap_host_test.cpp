// The throttle quadrant and the autopilot annunciator through the host: a
// drag in a slot becomes the lever's event, the simulation moves the lever's
// variable, and every placed quadrant draws the lever there at the next
// update; the annunciator's lamps and readouts follow their variables and
// go out with the electrical failure.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/host_on_panel.h"
#include "model/events.h"
#include "model/tokens.h"
#include "resources/help.h"
#include "model/failures.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=700,620
gauge00=Ardelvine_Instr!Throttle_Quadrant, 0, 0, 217
gauge01=Ardelvine_Instr!Throttle_Quadrant, 220, 0, 108
gauge02=Ardelvine_Instr!AP_Tester, 340, 0, 319
)";

struct ThrottleOnPanel : HostOnPanel {
    void SetUp() override { open(kPanel, "throttle.cfg"); }

    Events events() { return events_since(0); }
    double lever_dy(int lever, int copy = 1) { return element("Throttle_Quadrant", lever, copy).dy; }
};

TEST_F(ThrottleOnPanel, DragMovesTheLeverInEveryCopy) {
    host->update();
    EXPECT_EQ(lever_dy(1), 0.0);

    host->drag(gauge("Throttle_Quadrant"), 40, 5 + 146);  // lever 1, half way up its slot
    EXPECT_EQ(events(), (Events{{events::THROTTLE_SET, 8219}}));
    EXPECT_NEAR(host->simulation().token(tokens::THROTTLE_LEVER), 8219.0 / 16384.0, 1e-12);
    EXPECT_EQ(lever_dy(1), 0.0) << "the lever follows the simulation, at the next update";

    host->update();
    EXPECT_NEAR(lever_dy(1), -200.0 * 8219.0 / 16384.0, 1e-9);
    EXPECT_NEAR(lever_dy(1, 2), lever_dy(1), 1e-9) << "the second quadrant shows the same lever";

    // A click sets a lever too; the second copy's slot reads its own header.
    host->click(gauge("Throttle_Quadrant", 2), 100, 5, {});
    host->click(gauge("Throttle_Quadrant", 2), 180, 5 + 287, {});
    host->update();
    EXPECT_EQ(lever_dy(2), -244.0);
    EXPECT_NEAR(lever_dy(3), -242.0 * 335.0 / 16384.0, 1e-9);
    EXPECT_NEAR(host->simulation().token(tokens::MIXTURE_LEVER), 335.0 / 16384.0, 1e-12);
}

// A drag is a hand on one lever: it stays with the slot it began in wherever
// the pointer goes, and past the slot's ends it holds the lever at the end.
TEST_F(ThrottleOnPanel, DragStaysWithItsSlotAndStopsAtTheEnds) {
    Placement& q = gauge("Throttle_Quadrant");
    host->drag(q, 100, 290);  // middle slot, near the bottom
    host->drag(q, 40, 151);   // over the left slot: still the middle lever
    host->drag(q, 100, -50);  // above the top
    host->drag(q, 300, 400);  // off the gauge, below and to the right
    host->end_drag();
    host->drag(q, 180, 100);  // a new gesture in the right slot
    EXPECT_EQ(events(), (Events{{events::PROPELLER_SET, 447},
                                {events::PROPELLER_SET, 8219},
                                {events::PROPELLER_SET, 16384},
                                {events::PROPELLER_SET, 55},   // the slot's last pixel, 292 of 293
                                {events::MIXTURE_SET, 11071}}));
    host->update();
    EXPECT_NEAR(lever_dy(2), -244.0 * 55.0 / 16384.0, 1e-9);

    // A gesture begun outside every slot moves nothing, even when it enters one.
    host->end_drag();
    host->drag(q, 5, 100);
    host->drag(q, 40, 100);
    EXPECT_EQ(events().size(), 5u);
}

// Each slot's tooltip names the lever that a drag in that slot moves, as the
// simulated aircraft understands its token.
TEST_F(ThrottleOnPanel, EachSlotsTooltipNamesTheLeverItMoves) {
    const struct {
        std::uint32_t token;
        const char* name;
    } levers[] = {{tokens::THROTTLE_LEVER, "Throttle lever"},
                  {tokens::PROPELLER_LEVER, "Propeller lever"},
                  {tokens::MIXTURE_LEVER, "Mixture lever"}};
    Placement& q = gauge("Throttle_Quadrant");
    for (int x : {40, 100, 180}) {
        host->update();
        for (const auto& l : levers) host->simulation().set_token(l.token, 0.0);
        host->drag(q, x, 30);  // near the top of the slot
        host->end_drag();
        const std::string shown = host->tooltip(q, x, 100);
        int moved = 0;
        for (const auto& l : levers) {
            if (host->simulation().token(l.token) == 0.0) continue;
            ++moved;
            EXPECT_EQ(shown, l.name) << "slot at x " << x;
        }
        EXPECT_EQ(moved, 1) << "slot at x " << x;
    }
    const nlohmann::ordered_json tips = host->state()["tooltips"];
    ASSERT_EQ(tips.size(), 3u);
    EXPECT_EQ(tips[0]["help"], help::THROTTLE_LEVER);
    EXPECT_EQ(tips[1]["help"], help::PROPELLER_LEVER);
    EXPECT_EQ(tips[2]["help"], help::MIXTURE_LEVER);
}

TEST_F(ThrottleOnPanel, AnnunciatorFollowsItsVariablesAndFailure20) {
    host->simulation().set_token(tokens::AUTOPILOT_ALTITUDE_HOLD, 1.0);
    host->simulation().set_token(tokens::AUTOPILOT_ALTITUDE, 4500.0);
    host->simulation().set_token(tokens::AUTOPILOT_VERTICAL_SPEED, -700.0);
    host->update();
    const auto& tester = gauge("AP_Tester").elements();
    ASSERT_EQ(tester.size(), 45u);
    auto text = [&](int n) { return std::string(reinterpret_cast<const StringElement*>(tester[n].element)->text); };
    EXPECT_EQ(text(6), "  4500");
    EXPECT_EQ(text(5), "  -700");
    int lit = 0;
    for (int n = 8; n < 45; ++n) lit += tester[n].visible ? 1 : 0;
    EXPECT_EQ(lit, 1);
    EXPECT_TRUE(tester[16].visible) << "the altitude hold lamp";

    host->simulation().set_failure(failures::ELECTRICAL, true);
    host->update();
    EXPECT_TRUE(tester[0].visible);
    for (int n = 1; n < 45; ++n) EXPECT_FALSE(tester[n].visible) << n;
    EXPECT_EQ(host->tooltip(gauge("AP_Tester"), 100, 300), "Autopilot annunciator");
}

}  // namespace
}  // namespace ardelvine::hostapp
