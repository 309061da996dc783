// The module's resource script: every bitmap and sound, by numeric id.
//
// Element records name their pictures by these ids; the sound library loads
// the WAVEs by theirs. Sizes are the geometry that positions, pivots and mouse
// boxes of the gauges are measured against. Bitmaps are uncompressed device-
// independent bitmaps, 8 bits per pixel with a colour table (id 60 alone has
// 24 bits per pixel); pure black is the transparent colour.
//
// Each bitmap row also says which gauge first uses it and what the picture is
// (its Art), so that the art generator knows what to draw even for a picture
// no element record shows. Id 2461 is deliberately
// absent: the Generator_Light icon names it as its second image but never
// shows that image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

namespace ardelvine::resources {

// What a bitmap shows.
enum class Art : std::uint8_t {
    Blank,        // an invisible gauge's token picture
    Plate,        // an engraved name plate
    Button,       // a small push button that opens or closes a window
    Panel,        // a radio or annunciator face plate
    Face,         // a dial's background: marks and numbers
    Cover,        // glass and bezel drawn over the needles: transparent inside
    Overlay,      // a mostly transparent mode overlay on a face
    Needle,       // a pointer, drawn along +x from its pivot
    Knob,         // a round knob with a pointer line along +x from its centre
    Card,         // a round card seen through a window (rotating sprite)
    Horizon,      // the attitude ball: sky, ground and pitch ladder
    Strip,        // a horizontal heading strip
    Drum,         // a vertical strip of digit cells
    Digit,        // one fixed digit cell
    Window,       // the frame through which a card, strip or drum shows
    Lamp,         // a dark lamp
    LampLit,      // a lit lamp, or a power-on indicator
    SwitchPlate,  // the fixed plate behind a switch or control
    Switch,       // one position of a switch, knob or control (variant = position)
    Guard,        // a closed guard cover
    Lever,        // a throttle-quadrant lever knob
    Bars,         // the attitude reference bars
    Ball,         // the turn coordinator's ball
    Flag,         // an indicator flag (variant = state)
    Unused,       // present in the module, drawn by no element
};

enum class Depth : std::uint8_t { Palette8 = 8, Rgb24 = 24 };

struct BitmapRecord {
    std::uint32_t id;
    std::uint16_t width, height;
    Depth depth;
    std::string_view gauge;  // the first gauge that uses it; empty when none does
    Art art;
    std::uint8_t variant;  // switch position or flag state; 0 otherwise
};

// X(id, name, width, height, depth, gauge, art, variant)
#define ARDELVINE_BITMAPS(X)                                                \
    X(40, INVISIBLE_TOKEN, 5, 5, 8, Engine_On, Blank, 0)                    \
    X(50, REGISTRATION_PLATE, 150, 25, 8, Registration, Plate, 0)           \
    X(60, KNEEBOARD_BUTTON, 19, 19, 24, Kneeboard_Toggle, Button, 0)        \
    X(80, ATC_BUTTON, 19, 19, 8, ATC_Toggle, Button, 0)                     \
    X(70, MAP_BUTTON, 12, 12, 8, Map_Toggle, Button, 0)                     \
    X(100, INVISIBLE_BUTTON, 19, 19, 8, Invisible_Toggle, Button, 0)        \
    X(110, CLOSE_BUTTON, 19, 19, 8, Close_Subpanel, Button, 0)              \
    X(120, RADIOS_BUTTON, 19, 19, 8, Radios_Toggle, Button, 0)              \
    X(130, LANDING_VIEW_BUTTON, 19, 19, 8, Landing_View_Toggle, Button, 0)  \
    X(140, GPS_BUTTON, 19, 19, 8, GPS_Toggle, Button, 0)                    \
    X(150, THROTTLE_BUTTON, 19, 19, 8, Throttle_Toggle, Button, 0)          \
    X(160, COMPASS_BUTTON, 19, 19, 8, Compass_Toggle, Button, 0)            \
    X(170, FUEL_BUTTON, 19, 19, 8, Fuel_Toggle, Button, 0)                  \
    X(180, ELECTRICITY_BUTTON, 19, 19, 8, Electricity_Toggle, Button, 0)    \
    X(1090, COM_PANEL, 350, 130, 8, Radio_COM, Panel, 0)                    \
    X(1100, COM_POWER_LAMP, 17, 17, 8, Radio_COM, LampLit, 0)               \
    X(1110, COM_MAIN_SWITCH, 67, 58, 8, Radio_COM, Switch, 0)               \
    X(1111, COM_MAIN_SWITCH_ON, 67, 58, 8, Radio_COM, Switch, 1)            \
    X(1120, COM_TUNING_CARD, 98, 98, 8, Radio_COM, Card, 0)                 \
    X(1121, COM_TUNING_WINDOW, 98, 98, 8, Radio_COM, Window, 0)             \
    X(1000, ADF_PANEL, 350, 250, 8, Radio_ADF, Panel, 0)                    \
    X(1010, ADF_BAND_KNOB, 64, 64, 8, Radio_ADF, Knob, 0)                   \
    X(1020, ADF_TUNING_KNOB, 66, 42, 8, Radio_ADF, Knob, 0)                 \
    X(1030, ADF_MAIN_SWITCH, 64, 64, 8, Radio_ADF, Switch, 0)               \
    X(1031, ADF_MAIN_SWITCH_ON, 64, 64, 8, Radio_ADF, Switch, 1)            \
    X(1040, ADF_POWER_LAMP, 11, 11, 8, Radio_ADF, LampLit, 0)               \
    X(1050, ADF_TONE_SWITCH, 64, 64, 8, Radio_ADF, Switch, 0)               \
    X(1051, ADF_TONE_SWITCH_ON, 64, 64, 8, Radio_ADF, Switch, 1)            \
    X(1060, ADF_BAND_CARD, 195, 195, 8, Radio_ADF, Card, 0)                 \
    X(1061, ADF_BAND_WINDOW, 94, 76, 8, Radio_ADF, Window, 0)               \
    X(1070, ADF_FREQUENCY_POINTER, 195, 195, 8, Radio_ADF, Needle, 0)       \
    X(1080, ADF_GLASS, 350, 250, 8, Radio_ADF, Cover, 0)                    \
    X(1210, NAV_PANEL, 288, 95, 8, Radio_NAV, Panel, 0)                     \
    X(1220, NAV_KNOB, 34, 34, 8, Radio_NAV, Knob, 0)                        \
    X(1230, NAV_DIGIT_DRUM, 13, 198, 8, Radio_NAV, Drum, 0)                 \
    X(1231, NAV_DIGIT_WINDOW, 13, 18, 8, Radio_NAV, Window, 0)              \
    X(1240, NAV_TENS_DRUM, 13, 36, 8, Radio_NAV, Drum, 0)                   \
    X(1241, NAV_TENS_WINDOW, 13, 18, 8, Radio_NAV, Window, 0)               \
    X(1250, NAV_LEADING_ONE, 13, 18, 8, Radio_NAV, Digit, 1)                \
    X(1260, NAV_MAIN_SWITCH, 28, 53, 8, Radio_NAV, Switch, 0)               \
    X(1261, NAV_MAIN_SWITCH_ON, 28, 53, 8, Radio_NAV, Switch, 1)            \
    X(1270, NAV_TONE_SWITCH, 34, 34, 8, Radio_NAV, Switch, 0)               \
    X(1271, NAV_TONE_SWITCH_ON, 34, 34, 8, Radio_NAV, Switch, 1)            \
    X(1280, NAV_POWER_LAMP, 10, 10, 8, Radio_NAV, LampLit, 0)               \
    X(1130, XPDR_PANEL, 261, 99, 8, Radio_IFF_XPDR, Panel, 0)               \
    X(1140, XPDR_DIGIT_DRUM, 12, 231, 8, Radio_IFF_XPDR, Drum, 0)           \
    X(1141, XPDR_DIGIT_WINDOW, 12, 21, 8, Radio_IFF_XPDR, Window, 0)        \
    X(1150, XPDR_MAIN_SWITCH, 28, 68, 8, Radio_IFF_XPDR, Switch, 0)         \
    X(1151, XPDR_MAIN_SWITCH_ON, 28, 68, 8, Radio_IFF_XPDR, Switch, 1)      \
    X(1160, XPDR_POWER_LAMP, 12, 12, 8, Radio_IFF_XPDR, LampLit, 0)         \
    X(1170, XPDR_SECOND_SWITCH, 26, 32, 8, Radio_IFF_XPDR, Switch, 0)       \
    X(1171, XPDR_SECOND_SWITCH_ON, 26, 32, 8, Radio_IFF_XPDR, Switch, 1)    \
    X(3210, AUTOPILOT_PLATE, 72, 72, 8, Autopilot_Switch, SwitchPlate, 0)   \
    X(3220, AUTOPILOT_SWITCH, 72, 72, 8, Autopilot_Switch, Switch, 0)       \
    X(3221, AUTOPILOT_SWITCH_ENGAGED, 72, 72, 8, Autopilot_Switch, Switch, 1)\
    X(7000, AP_PANEL, 319, 600, 8, AP_Tester, Panel, 0)                     \
    X(7010, AP_MODE_LAMP, 8, 8, 8, AP_Tester, LampLit, 0)                   \
    X(7020, AP_LAMP, 8, 8, 8, AP_Tester, LampLit, 0)                        \
    X(250, ALTIMETER_FACE, 262, 254, 8, Altimeter, Face, 0)                 \
    X(260, ALTIMETER_SETTING_CARD, 220, 220, 8, Altimeter, Card, 0)         \
    X(261, ALTIMETER_SETTING_WINDOW, 45, 54, 8, Altimeter, Window, 0)       \
    X(270, ALTIMETER_HUNDREDS_HAND, 149, 26, 8, Altimeter, Needle, 0)       \
    X(280, ALTIMETER_THOUSANDS_HAND, 98, 28, 8, Altimeter, Needle, 0)       \
    X(290, ALTIMETER_TEN_THOUSANDS_HAND, 75, 12, 8, Altimeter, Needle, 0)   \
    X(300, ALTIMETER_COVER, 262, 254, 8, Altimeter, Cover, 0)               \
    X(310, ATTITUDE_FACE, 250, 275, 8, Attitude, Face, 0)                   \
    X(320, ATTITUDE_HORIZON, 190, 340, 8, Attitude, Horizon, 0)             \
    X(321, ATTITUDE_HORIZON_WINDOW, 250, 250, 8, Attitude, Window, 0)       \
    X(330, ATTITUDE_BANK_POINTER, 95, 10, 8, Attitude, Needle, 0)           \
    X(340, ATTITUDE_GLASS, 250, 250, 8, Attitude, Overlay, 0)               \
    X(350, ATTITUDE_BARS, 128, 81, 8, Attitude, Bars, 0)                    \
    X(360, ATTITUDE_COVER, 250, 275, 8, Attitude, Cover, 0)                 \
    X(370, CAGE_KNOB, 106, 106, 8, Attitude_w_Cage, Switch, 0)              \
    X(371, CAGE_KNOB_TURNING, 106, 106, 8, Attitude_w_Cage, Switch, 1)      \
    X(372, CAGE_KNOB_CAGED, 106, 106, 8, Attitude_w_Cage, Switch, 2)        \
    X(3060, CAGED_ATTITUDE_FACE, 300, 310, 8, Attitude_w_Cage, Face, 0)     \
    X(3070, CAGED_ATTITUDE_COVER, 300, 310, 8, Attitude_w_Cage, Cover, 0)   \
    X(390, TURN_FACE, 200, 200, 8, Turn_Coordinator, Face, 0)               \
    X(400, TURN_AIRPLANE, 134, 26, 8, Turn_Coordinator, Needle, 0)          \
    X(410, TURN_BALL, 24, 31, 8, Turn_Coordinator, Ball, 0)                 \
    X(420, TURN_OVERLAY, 38, 44, 8, Turn_Coordinator, Overlay, 0)           \
    X(430, TURN_COVER, 200, 200, 8, Turn_Coordinator, Cover, 0)             \
    X(440, VERTICAL_SPEED_FACE, 300, 300, 8, Vertical_Speed, Face, 0)       \
    X(450, VERTICAL_SPEED_NEEDLE, 182, 22, 8, Vertical_Speed, Needle, 0)    \
    X(460, VERTICAL_SPEED_COVER, 300, 300, 8, Vertical_Speed, Cover, 0)     \
    X(470, GYRO_COMPASS_FACE, 233, 335, 8, Gyro_Compass, Face, 0)           \
    X(480, GYRO_COMPASS_STRIP, 1219, 53, 8, Gyro_Compass, Strip, 0)         \
    X(481, GYRO_COMPASS_WINDOW, 139, 53, 8, Gyro_Compass, Window, 0)        \
    X(490, GYRO_DRIFT_KNOB, 82, 82, 8, Gyro_Compass, Knob, 0)               \
    X(1400, AIRSPEED_FACE, 300, 300, 8, Airspeed, Face, 0)                  \
    X(1410, AIRSPEED_NEEDLE, 152, 36, 8, Airspeed, Needle, 0)               \
    X(1420, AIRSPEED_COVER, 300, 300, 8, Airspeed, Cover, 0)                \
    X(1310, OIL_TEMPERATURE_NEEDLE, 176, 20, 8, Oil_Temp_Press_1, Needle, 0)\
    X(1312, OIL_PRESSURE_NEEDLE, 75, 16, 8, Oil_Temp_Press_1, Needle, 0)    \
    X(1330, OIL_COVER, 280, 280, 8, Oil_Temp_Press_1, Cover, 0)             \
    X(1340, OIL_FACE_1, 280, 280, 8, Oil_Temp_Press_1, Face, 0)             \
    X(1350, OIL_FACE_2, 280, 280, 8, Oil_Temp_Press_2, Face, 0)             \
    X(1360, TACHOMETER_FACE, 240, 240, 8, Tachometer, Face, 0)              \
    X(1370, TACHOMETER_HUNDREDS_NEEDLE, 130, 14, 8, Tachometer, Needle, 0)  \
    X(1380, TACHOMETER_THOUSANDS_NEEDLE, 40, 6, 8, Tachometer, Needle, 0)   \
    X(1390, TACHOMETER_COVER, 240, 240, 8, Tachometer, Cover, 0)            \
    X(1180, MANIFOLD_FACE, 300, 300, 8, Manifold_Pressure, Face, 0)         \
    X(1190, MANIFOLD_NEEDLE, 168, 36, 8, Manifold_Pressure, Needle, 0)      \
    X(1200, MANIFOLD_COVER, 300, 300, 8, Manifold_Pressure, Cover, 0)       \
    X(1430, CHT_FACE, 244, 244, 8, CHT_Indicator, Face, 0)                  \
    X(1440, CHT_NEEDLE, 120, 10, 8, CHT_Indicator, Needle, 0)               \
    X(1450, CHT_COVER, 244, 244, 8, CHT_Indicator, Cover, 0)                \
    X(2230, QUADRANT_PANEL, 217, 303, 8, Throttle_Quadrant, Panel, 0)       \
    X(2240, QUADRANT_RIGHT_LEVER, 51, 46, 8, Throttle_Quadrant, Lever, 2)   \
    X(2250, QUADRANT_MIDDLE_LEVER, 49, 49, 8, Throttle_Quadrant, Lever, 1)  \
    X(2260, QUADRANT_LEFT_LEVER, 51, 93, 8, Throttle_Quadrant, Lever, 0)    \
    X(2270, HYDRAULIC_FACE, 216, 216, 8, Hydr_Press_Indicator, Face, 0)     \
    X(2280, HYDRAULIC_NEEDLE, 116, 21, 8, Hydr_Press_Indicator, Needle, 0)  \
    X(2290, HYDRAULIC_COVER, 216, 216, 8, Hydr_Press_Indicator, Cover, 0)   \
    X(2300, MAGNETOS_PLATE, 99, 103, 8, Magnetos_Switch, SwitchPlate, 0)    \
    X(2310, MAGNETOS_KEY, 76, 69, 8, Magnetos_Switch, Switch, 0)            \
    X(2311, MAGNETOS_KEY_RIGHT, 76, 69, 8, Magnetos_Switch, Switch, 1)      \
    X(2312, MAGNETOS_KEY_LEFT, 76, 69, 8, Magnetos_Switch, Switch, 2)       \
    X(2313, MAGNETOS_KEY_BOTH, 76, 69, 8, Magnetos_Switch, Switch, 3)       \
    X(2320, FUEL_FACE, 300, 300, 8, Fuel_Quantity, Face, 0)                 \
    X(2330, FUEL_NEEDLE, 99, 18, 8, Fuel_Quantity, Needle, 0)               \
    X(2340, FUEL_COVER, 300, 300, 8, Fuel_Quantity, Cover, 0)               \
    X(2000, INDICATOR_FACE, 306, 308, 8, ADF_VOR_Indicator, Face, 0)        \
    X(2010, INDICATOR_ADF_OVERLAY, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)\
    X(2020, INDICATOR_CARD_KNOB, 56, 56, 8, ADF_VOR_Indicator, Knob, 0)     \
    X(2030, INDICATOR_BEARING_NEEDLE, 246, 40, 8, ADF_VOR_Indicator, Needle, 0)\
    X(2040, INDICATOR_CARD, 270, 270, 8, ADF_VOR_Indicator, Card, 0)        \
    X(2041, INDICATOR_CARD_WINDOW, 300, 300, 8, ADF_VOR_Indicator, Window, 0)\
    X(2050, INDICATOR_BEZEL, 306, 308, 8, ADF_VOR_Indicator, Cover, 0)      \
    X(2060, INDICATOR_COURSE_KNOB, 74, 74, 8, ADF_VOR_Indicator, Knob, 0)   \
    X(2080, INDICATOR_DEVIATION_NEEDLE, 150, 4, 8, ADF_VOR_Indicator, Needle, 0)\
    X(2090, INDICATOR_VOR_GLASS, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)\
    X(2100, INDICATOR_TO_FROM_FLAG, 20, 42, 8, ADF_VOR_Indicator, Flag, 0)  \
    X(2101, INDICATOR_TO_FROM_FLAG_2, 20, 42, 8, ADF_VOR_Indicator, Flag, 1)\
    X(2120, INDICATOR_SIGNAL_FLAG, 44, 20, 8, ADF_VOR_Indicator, Flag, 0)   \
    X(2121, INDICATOR_SIGNAL_FLAG_2, 44, 20, 8, ADF_VOR_Indicator, Flag, 1) \
    X(2130, INDICATOR_STATION_NEEDLE, 116, 24, 8, ADF_VOR_Indicator, Needle, 0)\
    X(2140, INDICATOR_GLIDE_SLOPE_NEEDLE, 150, 4, 8, ADF_VOR_Indicator, Needle, 0)\
    X(2150, INDICATOR_VOR_OVERLAY, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)\
    X(3100, SMALL_INDICATOR_FACE, 306, 264, 8, ADF_VOR_Indicator_Small, Face, 0)\
    X(3110, SMALL_INDICATOR_ADF_OVERLAY, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)\
    X(3120, SMALL_INDICATOR_BEZEL, 306, 264, 8, ADF_VOR_Indicator_Small, Cover, 0)\
    X(3130, SMALL_INDICATOR_CARD, 270, 270, 8, ADF_VOR_Indicator_Small, Card, 0)\
    X(3131, SMALL_INDICATOR_CARD_WINDOW, 300, 262, 8, ADF_VOR_Indicator_Small, Window, 0)\
    X(3140, SMALL_INDICATOR_VOR_OVERLAY, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)\
    X(3150, SMALL_INDICATOR_VOR_GLASS, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)\
    X(2160, CLOCK_FACE, 300, 300, 8, Waltham_Clock, Face, 0)                \
    X(2170, CLOCK_SECOND_HAND, 155, 15, 8, Waltham_Clock, Needle, 0)        \
    X(2180, CLOCK_MINUTE_HAND, 116, 23, 8, Waltham_Clock, Needle, 0)        \
    X(2190, CLOCK_HOUR_HAND, 88, 23, 8, Waltham_Clock, Needle, 0)           \
    X(2200, CLOCK_COVER, 300, 300, 8, Waltham_Clock, Cover, 0)              \
    X(1460, OAT_FACE, 196, 196, 8, OAT_Indicator, Face, 0)                  \
    X(1470, OAT_NEEDLE, 104, 4, 8, OAT_Indicator, Needle, 0)                \
    X(1480, OAT_COVER, 196, 196, 8, OAT_Indicator, Cover, 0)                \
    X(2210, MAGNETIC_COMPASS_FACE, 76, 49, 8, Whiskey_Compass, Face, 0)     \
    X(2220, MAGNETIC_COMPASS_STRIP, 292, 23, 8, Whiskey_Compass, Strip, 0)  \
    X(2221, MAGNETIC_COMPASS_WINDOW, 76, 23, 8, Whiskey_Compass, Window, 0) \
    X(2390, VOLTMETER_FACE, 206, 206, 8, Voltmeter, Face, 0)                \
    X(2400, VOLTMETER_NEEDLE, 91, 8, 8, Voltmeter, Needle, 0)               \
    X(2410, VOLTMETER_COVER, 206, 206, 8, Voltmeter, Cover, 0)              \
    X(2350, NAV_GPS_PLATE, 30, 60, 8, NAV_GPS_Switch, SwitchPlate, 0)       \
    X(2360, NAV_GPS_SWITCH, 30, 60, 8, NAV_GPS_Switch, Switch, 0)           \
    X(2361, NAV_GPS_SWITCH_GPS, 30, 60, 8, NAV_GPS_Switch, Switch, 1)       \
    X(2370, TOGGLE_PLATE, 30, 44, 8, Battery_Switch, SwitchPlate, 0)        \
    X(2380, TOGGLE_LEVER, 30, 44, 8, Battery_Switch, Switch, 0)             \
    X(2381, TOGGLE_LEVER_ON, 30, 44, 8, Battery_Switch, Switch, 1)          \
    X(2420, GUARDED_PLATE, 54, 120, 8, Fuel_Valve, SwitchPlate, 0)          \
    X(2430, GUARD_COVER, 54, 120, 8, Fuel_Valve, Guard, 0)                  \
    X(2440, GUARDED_LEVER, 54, 120, 8, Fuel_Valve, Switch, 0)               \
    X(2441, GUARDED_LEVER_ON, 54, 120, 8, Fuel_Valve, Switch, 1)            \
    X(3080, STARTER_PLATE, 28, 28, 8, Starter_Switch, SwitchPlate, 0)       \
    X(3090, STARTER_SWITCH, 28, 28, 8, Starter_Switch, Switch, 0)           \
    X(3091, STARTER_SWITCH_ENGAGED, 28, 28, 8, Starter_Switch, Switch, 1)   \
    X(3170, CARB_HEAT_PLATE, 60, 60, 8, Carburetor_Heat, SwitchPlate, 0)    \
    X(3180, CARB_HEAT_KNOB, 60, 60, 8, Carburetor_Heat, Switch, 0)          \
    X(3181, CARB_HEAT_KNOB_HOT, 60, 60, 8, Carburetor_Heat, Switch, 1)      \
    X(3190, PRIMER_PLATE, 70, 70, 8, Engine_Primer, SwitchPlate, 0)         \
    X(3200, PRIMER_KNOB, 70, 70, 8, Engine_Primer, Switch, 0)               \
    X(3201, PRIMER_KNOB_IN, 70, 70, 8, Engine_Primer, Switch, 1)            \
    X(2450, GENERATOR_LAMP, 48, 48, 8, Generator_Light, Lamp, 0)            \
    X(2460, GENERATOR_LAMP_LIT, 48, 48, 8, Generator_Light, LampLit, 0)     \
    X(2470, GEAR_LAMP, 48, 48, 8, Gear_Warning_Light, Lamp, 0)              \
    X(2480, GEAR_LAMP_LIT, 48, 48, 8, Gear_Warning_Light, LampLit, 0)       \
    X(3000, DIVE_BRAKE_LAMP, 48, 48, 8, Dive_Brake_Warning_Light, Lamp, 0)  \
    X(3010, DIVE_BRAKE_LAMP_LIT, 48, 48, 8, Dive_Brake_Warning_Light, LampLit, 0)\
    X(3020, TAIL_HOOK_LAMP, 48, 48, 8, Tail_Hook_Warning_Light, Lamp, 0)    \
    X(3030, TAIL_HOOK_LAMP_LIT, 48, 48, 8, Tail_Hook_Warning_Light, LampLit, 0)\
    X(3040, FLAPS_LAMP, 48, 48, 8, Flaps_Warning_Light, Lamp, 0)            \
    X(3050, FLAPS_LAMP_LIT, 48, 48, 8, Flaps_Warning_Light, LampLit, 0)     \
    X(380, UNUSED_ROUND, 30, 30, 8, , Unused, 0)                            \
    X(1290, UNUSED_BAR, 5, 18, 8, , Unused, 0)                              \
    X(1300, UNUSED_STRIP, 70, 18, 8, , Unused, 0)                           \
    X(2070, UNUSED_INDICATOR_OVERLAY, 306, 308, 8, , Unused, 0)             \
    X(3160, UNUSED_SMALL_INDICATOR_OVERLAY, 306, 264, 8, , Unused, 0)

enum class ChunkOrder : std::uint8_t {
    Plain,            // "fmt ", "data"
    ListBeforeFormat, // "LIST", "fmt ", "data"
    ListAfterData,    // "fmt ", "data", "LIST"
};

// The click and servo sounds; see the sound library for who loads which.
struct WaveRecord {
    std::uint32_t id;
    std::uint16_t bits_per_sample;
    std::uint32_t data_bytes;
    ChunkOrder order;
};

inline constexpr std::uint32_t kWaveRate = 22050;  // mono PCM throughout

// X(id, name, bits per sample, data bytes, chunk order)
#define ARDELVINE_WAVES(X)                                \
    X(10, TOGGLE_CLICK, 16, 3828, Plain)                  \
    X(20, SERVO_RUN, 8, 10304, ListBeforeFormat)          \
    X(30, DETENT_CLICK, 16, 6014, ListAfterData)

#define ARD_BITMAP_RECORD(id, name, w, h, bits, gauge, art, variant) \
    BitmapRecord{id, w, h, Depth(bits), #gauge, Art::art, variant},
inline constexpr BitmapRecord kBitmaps[] = {ARDELVINE_BITMAPS(ARD_BITMAP_RECORD)};
#undef ARD_BITMAP_RECORD

#define ARD_WAVE_RECORD(id, name, bits, bytes, order) WaveRecord{id, bits, bytes, ChunkOrder::order},
inline constexpr WaveRecord kWaves[] = {ARDELVINE_WAVES(ARD_WAVE_RECORD)};
#undef ARD_WAVE_RECORD

// bitmaps::COM_PANEL and so on: each bitmap's id by what it shows. A multi-
// image icon names its first image; the others follow it.
namespace bitmaps {
#define ARD_BITMAP_NAME(id, name, ...) inline constexpr std::uint32_t name = id;
ARDELVINE_BITMAPS(ARD_BITMAP_NAME)
#undef ARD_BITMAP_NAME
}  // namespace bitmaps

// waves::TOGGLE_CLICK and so on: each sound's id by what it sounds like.
namespace waves {
#define ARD_WAVE_NAME(id, name, ...) inline constexpr std::uint16_t name = id;
ARDELVINE_WAVES(ARD_WAVE_NAME)
#undef ARD_WAVE_NAME
}  // namespace waves

inline constexpr std::size_t kBitmapCount = 194;
inline constexpr std::size_t kWaveCount = 3;
static_assert(std::size(kBitmaps) == kBitmapCount);
static_assert(std::size(kWaves) == kWaveCount);

constexpr const BitmapRecord* find_bitmap(std::uint32_t id) {
    for (const BitmapRecord& record : kBitmaps)
        if (record.id == id) return &record;
    return nullptr;
}

constexpr const WaveRecord* find_wave(std::uint32_t id) {
    for (const WaveRecord& record : kWaves)
        if (record.id == id) return &record;
    return nullptr;
}

namespace detail {
constexpr bool ids_unique() {
    for (std::size_t i = 0; i < std::size(kBitmaps); ++i)
        for (std::size_t j = i + 1; j < std::size(kBitmaps); ++j)
            if (kBitmaps[i].id == kBitmaps[j].id) return false;
    return true;
}
}  // namespace detail
static_assert(detail::ids_unique(), "a bitmap id is listed twice");
static_assert(find_bitmap(2461) == nullptr, "the generator lamp has no second image");
static_assert(find_bitmap(60)->depth == Depth::Rgb24);

}  // namespace ardelvine::resources
