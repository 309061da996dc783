// A gauge's click sound belongs to its name, not to one placement: with two
// copies placed, removing one must leave the other clicking, and removing the
// last lets the sound go.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "host/run/host.h"

namespace ardelvine::hostapp {
namespace {

const char* kPanel = R"([Window00]
size_mm=400,200
gauge00=Ardelvine_Instr!Battery_Switch, 0, 0
gauge01=Ardelvine_Instr!Battery_Switch, 40, 0
gauge02=Ardelvine_Instr!Fuel_Valve, 80, 0
gauge03=Ardelvine_Instr!Fuel_Valve, 140, 0
)";

TEST(SoundCopies, RemovingOneCopyKeepsTheOtherClicking) {
    Host host(parse_panel_config(kPanel, "copies.cfg"));
    host.update();
    // The guarded valve clicks for a right click (its cover) whatever its state.
    const std::pair<const char*, Button> gauges[] = {{"Battery_Switch", Button::LEFT}, {"Fuel_Valve", Button::RIGHT}};
    for (const auto& [name, button] : gauges) {
        SCOPED_TRACE(name);
        Placement& first = *host.find({name, 1});
        Placement& second = *host.find({name, 2});
        const std::size_t before = host.sounds().size();

        first.service(PANEL_SERVICE_PRE_KILL, 0);  // the first copy's window goes away
        host.click(second, 15, 20, {.button = button});
        EXPECT_EQ(host.sounds().size(), before + 1);

        // Put back, then the other copy removed: still heard.
        first.service(PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<std::uintptr_t>(host.module().handle()));
        second.service(PANEL_SERVICE_PRE_KILL, 0);
        host.click(first, 15, 20, {.button = button});
        EXPECT_EQ(host.sounds().size(), before + 2);
        second.service(PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<std::uintptr_t>(host.module().handle()));
    }
}

}  // namespace
}  // namespace ardelvine::hostapp
