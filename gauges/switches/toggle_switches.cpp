// The ten two-position switches, one row each. What they share (plate, lever,
// cover, mouse area, callbacks, click sound) is in toggle_switch.h.
#include "gauges/switches/toggle_switch.h"

namespace ardelvine::gauges {
namespace {

// Plain switches: plate 2370, lever 2380 off / 2381 on, hand area 30 x 44 at (0,0).
constexpr SwitchRow kAvionics{.name = "Avionics_Switch", .token = 740 /* avionics master */,
                              .key_event = 66293, .tooltip = "Avionics switch (%1!s!)"};
constexpr SwitchRow kBattery{.name = "Battery_Switch", .token = 364 /* battery master */,
                             .key_event = 66241, .tooltip = "Battery switch (%1!s!)"};
constexpr SwitchRow kBeacon{.name = "Beacon_Lights_Switch", .token = 368 /* beacon lights */,
                            .key_event = 66239, .tooltip = "Beacon lights switch (%1!s!)"};
constexpr SwitchRow kLanding{.name = "Landing_Lights_Switch", .token = 14 /* landing lights */,
                             .key_event = 65751, .tooltip = "Landing lights switch (%1!s!)"};
constexpr SwitchRow kNavigation{.name = "Navigation_Lights_Switch", .token = 619 /* navigation lights */,
                                .key_event = 66379, .tooltip = "Navigation lights switch (%1!s!)"};
constexpr SwitchRow kPanel{.name = "Panel_Lights_Switch", .token = 10 /* panel lights */,
                           .key_event = 65750, .tooltip = "Panel lights switch (%1!s!)"};
constexpr SwitchRow kPitot{.name = "Pitot_Heat_Switch", .token = 13 /* pitot heat */,
                           .key_event = 65858, .tooltip = "Pitot heat switch (%1!s!)"};
constexpr SwitchRow kStrobe{.name = "Strobe_Lights_Switch", .token = 11 /* strobe lights */,
                            .key_event = 65560, .tooltip = "Strobe lights switch (%1!s!)"};

// Guarded switches: plate 2420, lever 2440 off / 2441 on, cover 2430, hand area
// 54 x 110 at (0,5) taking left and right clicks.
constexpr SwitchRow kFuelValve{.name = "Fuel_Valve", .token = 895 /* fuel valve open */,
                               .key_event = 66494, .tooltip = "Fuel valve (%1!s!)"};
constexpr SwitchRow kGenerator{.name = "Generator_Switch", .token = 565 /* generator switch */,
                               .key_event = 66363, .tooltip = "Generator switch (%1!s!)"};

}  // namespace

constinit GaugeHeader Avionics_Switch = PlainSwitch<kAvionics, Avionics_Switch>::header();
constinit GaugeHeader Battery_Switch = PlainSwitch<kBattery, Battery_Switch>::header();
constinit GaugeHeader Beacon_Lights_Switch = PlainSwitch<kBeacon, Beacon_Lights_Switch>::header();
constinit GaugeHeader Landing_Lights_Switch = PlainSwitch<kLanding, Landing_Lights_Switch>::header();
constinit GaugeHeader Navigation_Lights_Switch = PlainSwitch<kNavigation, Navigation_Lights_Switch>::header();
constinit GaugeHeader Panel_Lights_Switch = PlainSwitch<kPanel, Panel_Lights_Switch>::header();
constinit GaugeHeader Pitot_Heat_Switch = PlainSwitch<kPitot, Pitot_Heat_Switch>::header();
constinit GaugeHeader Strobe_Lights_Switch = PlainSwitch<kStrobe, Strobe_Lights_Switch>::header();

constinit GaugeHeader Fuel_Valve = GuardedSwitch<kFuelValve, Fuel_Valve>::header();
constinit GaugeHeader Generator_Switch = GuardedSwitch<kGenerator, Generator_Switch>::header();

}  // namespace ardelvine::gauges
