// The ten two-position switches, one row each. What they share (plate, lever,
// cover, mouse area, callbacks, click sound) is in toggle_switch.h.
#include "gauges/switches/toggle_switch.h"
#include "model/events.h"
#include "model/tokens.h"

namespace ardelvine::gauges {
namespace {

// Plain switches: toggle plate and lever, hand area 30 x 44 at (0,0).
constexpr SwitchRow kAvionics{.gauge = &registry::Avionics_Switch, .token = tokens::AVIONICS_MASTER,
                              .key_event = events::AVIONICS_MASTER_TOGGLE, .tooltip = "Avionics switch (%1!s!)"};
constexpr SwitchRow kBattery{.gauge = &registry::Battery_Switch, .token = tokens::BATTERY_MASTER,
                             .key_event = events::BATTERY_MASTER_TOGGLE, .tooltip = "Battery switch (%1!s!)"};
constexpr SwitchRow kBeacon{.gauge = &registry::Beacon_Lights_Switch, .token = tokens::BEACON_LIGHTS,
                            .key_event = events::BEACON_LIGHTS_TOGGLE, .tooltip = "Beacon lights switch (%1!s!)"};
constexpr SwitchRow kLanding{.gauge = &registry::Landing_Lights_Switch, .token = tokens::LANDING_LIGHTS,
                             .key_event = events::LANDING_LIGHTS_TOGGLE, .tooltip = "Landing lights switch (%1!s!)"};
constexpr SwitchRow kNavigation{.gauge = &registry::Navigation_Lights_Switch, .token = tokens::NAVIGATION_LIGHTS,
                                .key_event = events::NAVIGATION_LIGHTS_TOGGLE, .tooltip = "Navigation lights switch (%1!s!)"};
constexpr SwitchRow kPanel{.gauge = &registry::Panel_Lights_Switch, .token = tokens::PANEL_LIGHTS,
                           .key_event = events::PANEL_LIGHTS_TOGGLE, .tooltip = "Panel lights switch (%1!s!)"};
constexpr SwitchRow kPitot{.gauge = &registry::Pitot_Heat_Switch, .token = tokens::PITOT_HEAT,
                           .key_event = events::PITOT_HEAT_TOGGLE, .tooltip = "Pitot heat switch (%1!s!)"};
constexpr SwitchRow kStrobe{.gauge = &registry::Strobe_Lights_Switch, .token = tokens::STROBE_LIGHTS,
                            .key_event = events::STROBE_LIGHTS_TOGGLE, .tooltip = "Strobe lights switch (%1!s!)"};

// Guarded switches: guarded plate and lever under the guard cover, hand area
// 54 x 110 at (0,5) taking left and right clicks.
constexpr SwitchRow kFuelValve{.gauge = &registry::Fuel_Valve, .token = tokens::FUEL_VALVE,
                               .key_event = events::FUEL_VALVE_TOGGLE, .tooltip = "Fuel valve (%1!s!)"};
constexpr SwitchRow kGenerator{.gauge = &registry::Generator_Switch, .token = tokens::GENERATOR_SWITCH,
                               .key_event = events::GENERATOR_TOGGLE, .tooltip = "Generator switch (%1!s!)"};

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
