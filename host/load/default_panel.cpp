#include "host/load/default_panel.h"

namespace ardelvine::hostapp {

const char* const kDefaultPanel = R"(// Every gauge of the module, each at a size where its smallest legend reads
// (6 pixels or more) and no bitmap is enlarged past 1.25 times. Every window
// button opens a window of this panel, or one of the simulator's own views.
[Window Titles]
Window00=Main Panel
Window01=Radio Stack
Window02=Throttle Quadrant
Window03=Fuel
Window04=Electrical
Window05=Compass

[Window00]
size_mm=1960,1190
ident=MAIN_PANEL
visible=1
background_color=24,26,28
// flight instruments: airspeed, attitude and altimeter over turn, heading and
// vertical speed
gauge00=Ardelvine_Instr!Airspeed, 10, 10, 250
gauge01=Ardelvine_Instr!Attitude, 270, 10, 250
gauge02=Ardelvine_Instr!Altimeter, 530, 10, 250
gauge03=Ardelvine_Instr!Turn_Coordinator, 25, 335, 220
gauge04=Ardelvine_Instr!Gyro_Compass, 278, 320, 233
gauge05=Ardelvine_Instr!Vertical_Speed, 530, 320, 250
// engine instruments
gauge06=Ardelvine_Instr!Tachometer, 800, 10, 240
gauge07=Ardelvine_Instr!Manifold_Pressure, 1050, 10, 250
gauge08=Ardelvine_Instr!Fuel_Quantity, 1310, 10, 300
gauge09=Ardelvine_Instr!CHT_Indicator, 800, 320, 244
gauge10=Ardelvine_Instr!Oil_Temp_Press_1, 1050, 320, 280
gauge11=Ardelvine_Instr!Oil_Temp_Press_2, 1340, 320, 280
// the compass over the windscreen frame, the autopilot's annunciator beside
gauge12=Ardelvine_Instr!Whiskey_Compass, 1745, 10, 90
gauge13=Ardelvine_Instr!AP_Tester, 1630, 80, 319
// navigation and the smaller instruments
gauge14=Ardelvine_Instr!ADF_VOR_Indicator, 10, 700, 300
gauge15=Ardelvine_Instr!ADF_VOR_Indicator_Small, 320, 700, 300
gauge16=Ardelvine_Instr!Waltham_Clock, 630, 700, 270
gauge17=Ardelvine_Instr!Attitude_w_Cage, 910, 700, 250
gauge18=Ardelvine_Instr!OAT_Indicator, 1170, 700, 196
gauge19=Ardelvine_Instr!Voltmeter, 1376, 700, 206
gauge20=Ardelvine_Instr!Hydr_Press_Indicator, 1592, 700, 216
// switches, controls and lights
gauge21=Ardelvine_Instr!Battery_Switch, 10, 1040
gauge22=Ardelvine_Instr!Generator_Switch, 50, 1020, 54
gauge23=Ardelvine_Instr!Fuel_Valve, 114, 1020, 54
gauge24=Ardelvine_Instr!Avionics_Switch, 178, 1040
gauge25=Ardelvine_Instr!Navigation_Lights_Switch, 218, 1040
gauge26=Ardelvine_Instr!Landing_Lights_Switch, 258, 1040
gauge27=Ardelvine_Instr!Beacon_Lights_Switch, 298, 1040
gauge28=Ardelvine_Instr!Strobe_Lights_Switch, 338, 1040
gauge29=Ardelvine_Instr!Panel_Lights_Switch, 378, 1040
gauge30=Ardelvine_Instr!Pitot_Heat_Switch, 418, 1040
gauge31=Ardelvine_Instr!NAV_GPS_Switch, 458, 1030
gauge32=Ardelvine_Instr!Autopilot_Switch, 510, 1030, 72
gauge33=Ardelvine_Instr!Magnetos_Switch, 600, 1020, 99
gauge34=Ardelvine_Instr!Starter_Switch, 715, 1055, 28
gauge35=Ardelvine_Instr!Carburetor_Heat, 760, 1040, 60
gauge36=Ardelvine_Instr!Engine_Primer, 835, 1035, 70
gauge37=Ardelvine_Instr!Generator_Light, 925, 1045, 48
gauge38=Ardelvine_Instr!Gear_Warning_Light, 985, 1045, 48
gauge39=Ardelvine_Instr!Dive_Brake_Warning_Light, 1045, 1045, 48
gauge40=Ardelvine_Instr!Tail_Hook_Warning_Light, 1105, 1045, 48
gauge41=Ardelvine_Instr!Flaps_Warning_Light, 1165, 1045, 48
gauge42=Ardelvine_Instr!Engine_On, 1230, 1045, 5
gauge43=Ardelvine_Instr!Engine_Off, 1245, 1045, 5
// panel window buttons
gauge44=Ardelvine_Instr!Kneeboard_Toggle, 1700, 1040
gauge45=Ardelvine_Instr!ATC_Toggle, 1725, 1040
gauge46=Ardelvine_Instr!Map_Toggle, 1752, 1042, 15
gauge47=Ardelvine_Instr!Invisible_Toggle, 1775, 1040, tTHROTTLE_PANEL
gauge48=Ardelvine_Instr!Close_Subpanel, 1800, 1040, cRADIO_STACK_PANEL cTHROTTLE_PANEL c300 c301 cCOMPASS_PANEL
gauge49=Ardelvine_Instr!Radios_Toggle, 1825, 1040, tRADIO_STACK_PANEL
gauge50=Ardelvine_Instr!Landing_View_Toggle, 1850, 1040, p1
gauge51=Ardelvine_Instr!GPS_Toggle, 1875, 1040, hTOGGLE_GPS_WINDOW
gauge52=Ardelvine_Instr!Throttle_Toggle, 1700, 1080, tTHROTTLE_PANEL
gauge53=Ardelvine_Instr!Compass_Toggle, 1725, 1080, tCOMPASS_PANEL hTOGGLE_COMPASS_WINDOW
gauge54=Ardelvine_Instr!Fuel_Toggle, 1750, 1080, t300 hTOGGLE_FUEL_WINDOW
gauge55=Ardelvine_Instr!Electricity_Toggle, 1775, 1080, b180 t301
gauge56=Ardelvine_Instr!Registration, 10, 1155, 150

// The subpanels float over the main panel where the simulator puts them:
// by window_pos (fractions of the screen), by position (0 top left to 8
// bottom right) or, with neither, cascading from the top right.
[Window01]
size_mm=370,630
ident=RADIO_STACK_PANEL
visible=1
window_pos=0.80,0.08
zorder=1
background_color=24,26,28
gauge00=Ardelvine_Instr!Radio_COM, 10, 10, 350
gauge01=Ardelvine_Instr!Radio_NAV, 10, 150, 288
gauge02=Ardelvine_Instr!Radio_ADF, 10, 255, 350
gauge03=Ardelvine_Instr!Radio_IFF_XPDR, 10, 515, 261

[Window02]
size_mm=240,330
ident=THROTTLE_PANEL
visible=1
position=7
zorder=1
background_color=24,26,28
gauge00=Ardelvine_Instr!Throttle_Quadrant, 10, 10, 217

// The fuel gauge large, with the fuel valve, over the middle of the screen.
[Window03]
size_mm=450,380
ident=300
visible=0
position=4
window_size=0.30,0.45
zorder=2
background_color=24,26,28
gauge00=Ardelvine_Instr!Fuel_Quantity, 10, 10, 360
gauge01=Ardelvine_Instr!Fuel_Valve, 386, 130, 54

// The voltmeter, the generator and its lamp, the battery, the avionics and
// the lights.
[Window04]
size_mm=340,290
ident=301
visible=0
zorder=2
background_color=24,26,28
gauge00=Ardelvine_Instr!Voltmeter, 10, 10, 206
gauge01=Ardelvine_Instr!Generator_Light, 232, 20, 48
gauge02=Ardelvine_Instr!Generator_Switch, 232, 90, 54
gauge03=Ardelvine_Instr!Battery_Switch, 296, 120
gauge04=Ardelvine_Instr!Avionics_Switch, 10, 236
gauge05=Ardelvine_Instr!Navigation_Lights_Switch, 50, 236
gauge06=Ardelvine_Instr!Landing_Lights_Switch, 90, 236
gauge07=Ardelvine_Instr!Beacon_Lights_Switch, 130, 236
gauge08=Ardelvine_Instr!Strobe_Lights_Switch, 170, 236
gauge09=Ardelvine_Instr!Panel_Lights_Switch, 210, 236
gauge10=Ardelvine_Instr!Pitot_Heat_Switch, 250, 236

// The compass shown large: window_size asks for a sixth of the screen.
[Window05]
size_mm=115,80
ident=COMPASS_PANEL
visible=0
window_size=0.16,0.16
zorder=2
background_color=24,26,28
gauge00=Ardelvine_Instr!Whiskey_Compass, 10, 10, 95
)";

const char* const kDefaultScenario = R"(# A short flight: cruise numbers, one click and one tooltip, then the
# subpanels closed and opened again with the panel-window buttons.
# The aircraft is cruising at 3500 feet when the panel comes up: engine
# running at cruise power, battery, generator and avionics on; of the two
# start-state gauges the panel holds, Engine_On sets the start: radios on.
set 74 3500       # indicated altitude, feet: the engine breathes the air up here
aircraft running  # throttle 0.85, propeller 0.95, mixture rich
set 290 70        # fuel tank capacities, gallons: mains 70, auxiliaries 30
set 384 70
set 292 30
set 298 30
set 289 6291457   # levels, 8388610 full: left main 3/4, right main 2/3,
set 383 5592407   #   auxiliaries 1/2 and 1/4; released, so that the
set 291 4194305   #   engine burns from them
set 297 2097152
release 289
release 383
release 291
release 297
ready Engine_On
set 104 1         # autopilot: wing leveler and altitude hold lamps,
set 108 1         #   altitude and heading readouts
set 109 3500
set 107 95
set 61 120        # indicated airspeed, knots
set 65 2.5        # vertical speed
set 76 29.92      # barometric setting
set 341 8         # outside air temperature, Celsius: a standard day at 3500 feet
# The radio stack: COM1 122.800, NAV1 113.90, ADF 365.0 kHz, squawk 1200.
set 23 8832       # COM1 (BCD 0x2280)
set 24 5008       # NAV1 (BCD 0x1390)
set 16 869        # ADF (BCD 0x365)
set 38 4608       # transponder (octal digits 0x1200)
set 39 35         # ADF relative bearing, degrees
set 45 90         # NAV1 course
set 84 95         # heading: gyro compass, and the magnetic compass a little off
set 83 98
set 78 -3         # a gentle turn to the right: nose 3 degrees up, 15 degrees
set 80 -15        #   of bank (positive is left wing down), the turn needle
set 70 200        #   short of its standard-rate mark, the ball a little in
set 69 12         #   the turn
set 557 51330     # clock 14:15:30
set 43 1          # NAV1 receives a station
set 40 -25        # course deviation
set 44 1          # TO
update 2
click Radio_COM 270 10               # COM1's readout, up for sixty updates
click ADF_VOR_Indicator_Small 150 150  # the small indicator in VOR mode
click Landing_Lights_Switch 15 22
update
tooltip Landing_Lights_Switch 15 22
snapshot cruise
click Close_Subpanel 9 9    # closes the radio stack and the throttle window
update
snapshot subpanels-closed
click Radios_Toggle 9 9     # each opens again with its own button
click Throttle_Toggle 9 9
update
)";

}  // namespace ardelvine::hostapp
