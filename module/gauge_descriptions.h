// What each gauge is, in one sentence a panel designer reads in the host's
// catalogue, and the group of the cockpit it belongs to. Everything else the
// catalogue says of a gauge is read from its records; these sentences are the
// one thing written by hand. The table follows the registry's order, and the
// build fails when it does not name exactly the registry's gauges.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "module/gauge_list.h"

namespace ardelvine::gauges {

// The groups of a cockpit, in the order the catalogue's index shows them.
enum class GaugeGroup { FLIGHT, ENGINE, RADIOS, SWITCHES, LIGHTS, PANEL_BUTTONS, INVISIBLE };

inline constexpr const char* kGroupTitles[] = {
    "Flight instruments", "Engine and systems", "Radios", "Switches and controls",
    "Warning lights and annunciators", "Panel buttons", "Invisible gauges",
};

// X(name, group, sentence)
#define ARDELVINE_GAUGE_DESCRIPTIONS(X) \
    X(Engine_On, INVISIBLE, "Placed anywhere on a panel, switches every radio on when the panel comes up; it shows nothing.") \
    X(Engine_Off, INVISIBLE, "Placed anywhere on a panel, shuts the aircraft down to cold and dark when the panel comes up; it shows nothing.") \
    X(Registration, RADIOS, "A small plate showing the aircraft's identifier, or a fixed text, in a colour and font the panel line chooses.") \
    X(Kneeboard_Toggle, PANEL_BUTTONS, "A push button that shows or hides the simulator's kneeboard.") \
    X(ATC_Toggle, PANEL_BUTTONS, "A push button that shows or hides the simulator's air traffic control window.") \
    X(Map_Toggle, PANEL_BUTTONS, "A small push button that shows or hides the simulator's map.") \
    X(Invisible_Toggle, PANEL_BUTTONS, "A push button without a picture of its own: its parameter string says which windows it opens, closes or toggles.") \
    X(Close_Subpanel, PANEL_BUTTONS, "A push button for closing a subpanel: its parameter string names the window.") \
    X(Radios_Toggle, PANEL_BUTTONS, "A push button for the radio stack window: its parameter string names the window.") \
    X(Landing_View_Toggle, PANEL_BUTTONS, "A push button that switches between the normal and the landing view, by the view steps of its parameter string.") \
    X(GPS_Toggle, PANEL_BUTTONS, "A push button for the GPS window: its parameter string names the window.") \
    X(Throttle_Toggle, PANEL_BUTTONS, "A push button for the throttle quadrant window: its parameter string names the window.") \
    X(Compass_Toggle, PANEL_BUTTONS, "A push button for the compass window: its parameter string names the window.") \
    X(Fuel_Toggle, PANEL_BUTTONS, "A push button for the fuel subpanel: its parameter string names the window.") \
    X(Electricity_Toggle, PANEL_BUTTONS, "A push button for the electrical switches' subpanel: its parameter string names the window.") \
    X(Radio_COM, RADIOS, "The COM1 radio: a tuning knob for channel and megahertz, the main switch and a frequency readout that lights when clicked.") \
    X(Radio_ADF, RADIOS, "The three-band ADF receiver: band knob and card, tuning knob and pointer, main and tone switches.") \
    X(Radio_NAV, RADIOS, "The NAV1 radio: the frequency on digit drums, megahertz and fraction knobs, main and identifier switches.") \
    X(Radio_IFF_XPDR, RADIOS, "The transponder: the four-digit reply code on drums with a pair of buttons per digit, and its main switch.") \
    X(Autopilot_Switch, SWITCHES, "The autopilot master switch.") \
    X(AP_Tester, LIGHTS, "The autopilot annunciator: a column of lamps for the autopilot's modes and six readouts of its settings.") \
    X(Altimeter, FLIGHT, "The altimeter: three hands on indicated altitude, the barometric setting in a window and its knob.") \
    X(Attitude, FLIGHT, "The artificial horizon, with the knob that moves the little aircraft up and down.") \
    X(Turn_Coordinator, FLIGHT, "The turn coordinator: rate of turn on the needle, slip on the ball.") \
    X(Vertical_Speed, FLIGHT, "The vertical speed indicator, up to 6000 feet per minute either way.") \
    X(Gyro_Compass, FLIGHT, "The gyro heading indicator: a heading strip in a window and the knob that sets its drift.") \
    X(Airspeed, FLIGHT, "The airspeed indicator, its needle going almost twice round the face.") \
    X(Attitude_w_Cage, FLIGHT, "The artificial horizon with a caging knob that shows whether the gyro is caged.") \
    X(Oil_Temp_Press_1, ENGINE, "Oil temperature and pressure on one dial (first face).") \
    X(Oil_Temp_Press_2, ENGINE, "Oil temperature and pressure on one dial: the same gauge as Oil_Temp_Press_1 on a second face.") \
    X(Tachometer, ENGINE, "The engine's revolutions per minute.") \
    X(Manifold_Pressure, ENGINE, "Manifold pressure in inches of mercury.") \
    X(CHT_Indicator, ENGINE, "The cylinder head temperature.") \
    X(Throttle_Quadrant, ENGINE, "Throttle, propeller and mixture levers in their slots, moved by a click or a drag.") \
    X(Hydr_Press_Indicator, ENGINE, "The hydraulic pressure.") \
    X(Magnetos_Switch, SWITCHES, "The magneto key: off, right, left, both, turned one step per click.") \
    X(Fuel_Quantity, ENGINE, "The four fuel tanks on one face, a needle per tank, each quarter's tooltip telling its gallons.") \
    X(ADF_VOR_Indicator, FLIGHT, "The ADF/VOR indicator: ADF bearing on a settable card, or NAV1's course, deviation and glide slope; a click on its centre switches.") \
    X(Waltham_Clock, FLIGHT, "The clock: hour, minute and second hands on the time of day.") \
    X(OAT_Indicator, FLIGHT, "The outside air temperature.") \
    X(Whiskey_Compass, FLIGHT, "The magnetic compass: a heading card in a window.") \
    X(Voltmeter, ENGINE, "The main bus voltage; its tooltip tells the volts.") \
    X(ADF_VOR_Indicator_Small, FLIGHT, "The ADF/VOR indicator on a smaller face: the same instrument as ADF_VOR_Indicator.") \
    X(NAV_GPS_Switch, SWITCHES, "The selector that lets NAV1 or the GPS drive the navigation.") \
    X(Battery_Switch, SWITCHES, "The battery master switch.") \
    X(Navigation_Lights_Switch, SWITCHES, "The navigation lights switch.") \
    X(Landing_Lights_Switch, SWITCHES, "The landing lights switch.") \
    X(Beacon_Lights_Switch, SWITCHES, "The beacon lights switch.") \
    X(Strobe_Lights_Switch, SWITCHES, "The strobe lights switch.") \
    X(Panel_Lights_Switch, SWITCHES, "The panel lights switch: at night the lit parts of the gauges glow while it is on.") \
    X(Pitot_Heat_Switch, SWITCHES, "The pitot heat switch.") \
    X(Generator_Switch, SWITCHES, "The generator switch, with a guard cover.") \
    X(Fuel_Valve, SWITCHES, "The fuel valve, with a guard cover.") \
    X(Avionics_Switch, SWITCHES, "The avionics master switch: the radios' power.") \
    X(Starter_Switch, SWITCHES, "The starter button, engaged while it is held.") \
    X(Carburetor_Heat, SWITCHES, "The carburettor heat knob.") \
    X(Engine_Primer, SWITCHES, "The primer pump: one stroke per click.") \
    X(Generator_Light, LIGHTS, "A warning light that comes on while the generator is not charging.") \
    X(Gear_Warning_Light, LIGHTS, "A warning light that comes on while the landing gear is down.") \
    X(Dive_Brake_Warning_Light, LIGHTS, "A warning light that comes on while the dive brakes are out.") \
    X(Tail_Hook_Warning_Light, LIGHTS, "A warning light that comes on while the tail hook is down.") \
    X(Flaps_Warning_Light, LIGHTS, "A warning light that comes on while the flaps are extended.")

struct GaugeDescription {
    std::string_view name;
    GaugeGroup group;
    const char* sentence;
};

#define ARD_GAUGE_DESCRIPTION(name, group, sentence) GaugeDescription{#name, GaugeGroup::group, sentence},
inline constexpr GaugeDescription kDescriptions[] = {ARDELVINE_GAUGE_DESCRIPTIONS(ARD_GAUGE_DESCRIPTION)};
#undef ARD_GAUGE_DESCRIPTION

constexpr bool descriptions_follow_registry() {
    if (std::size(kDescriptions) != std::size(kRegistry)) return false;
    for (std::size_t i = 0; i < std::size(kRegistry); ++i)
        if (kDescriptions[i].name != kRegistry[i].name) return false;
    return true;
}
static_assert(descriptions_follow_registry(), "one description per gauge of the registry, in its order");

// The description of a gauge by name, or null for a name not in the registry.
constexpr const GaugeDescription* find_description(std::string_view name) {
    for (const GaugeDescription& d : kDescriptions)
        if (d.name == name) return &d;
    return nullptr;
}

}  // namespace ardelvine::gauges
