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

// X(id, width, height, depth, gauge, art, variant)
#define ARDELVINE_BITMAPS(X)                                   \
    X(40, 5, 5, 8, Engine_On, Blank, 0)                        \
    X(50, 150, 25, 8, Registration, Plate, 0)                  \
    X(60, 19, 19, 24, Kneeboard_Toggle, Button, 0)             \
    X(80, 19, 19, 8, ATC_Toggle, Button, 0)                    \
    X(70, 12, 12, 8, Map_Toggle, Button, 0)                    \
    X(100, 19, 19, 8, Invisible_Toggle, Button, 0)             \
    X(110, 19, 19, 8, Close_Subpanel, Button, 0)               \
    X(120, 19, 19, 8, Radios_Toggle, Button, 0)                \
    X(130, 19, 19, 8, Landing_View_Toggle, Button, 0)          \
    X(140, 19, 19, 8, GPS_Toggle, Button, 0)                   \
    X(150, 19, 19, 8, Throttle_Toggle, Button, 0)              \
    X(160, 19, 19, 8, Compass_Toggle, Button, 0)               \
    X(170, 19, 19, 8, Fuel_Toggle, Button, 0)                  \
    X(180, 19, 19, 8, Electricity_Toggle, Button, 0)           \
    X(1090, 350, 130, 8, Radio_COM, Panel, 0)                  \
    X(1100, 17, 17, 8, Radio_COM, LampLit, 0)                  \
    X(1110, 67, 58, 8, Radio_COM, Switch, 0)                   \
    X(1111, 67, 58, 8, Radio_COM, Switch, 1)                   \
    X(1120, 98, 98, 8, Radio_COM, Card, 0)                     \
    X(1121, 98, 98, 8, Radio_COM, Window, 0)                   \
    X(1000, 350, 250, 8, Radio_ADF, Panel, 0)                  \
    X(1010, 64, 64, 8, Radio_ADF, Knob, 0)                     \
    X(1020, 66, 42, 8, Radio_ADF, Knob, 0)                     \
    X(1030, 64, 64, 8, Radio_ADF, Switch, 0)                   \
    X(1031, 64, 64, 8, Radio_ADF, Switch, 1)                   \
    X(1040, 11, 11, 8, Radio_ADF, LampLit, 0)                  \
    X(1050, 64, 64, 8, Radio_ADF, Switch, 0)                   \
    X(1051, 64, 64, 8, Radio_ADF, Switch, 1)                   \
    X(1060, 195, 195, 8, Radio_ADF, Card, 0)                   \
    X(1061, 94, 76, 8, Radio_ADF, Window, 0)                   \
    X(1070, 195, 195, 8, Radio_ADF, Needle, 0)                 \
    X(1080, 350, 250, 8, Radio_ADF, Cover, 0)                  \
    X(1210, 288, 95, 8, Radio_NAV, Panel, 0)                   \
    X(1220, 34, 34, 8, Radio_NAV, Knob, 0)                     \
    X(1230, 13, 198, 8, Radio_NAV, Drum, 0)                    \
    X(1231, 13, 18, 8, Radio_NAV, Window, 0)                   \
    X(1240, 13, 36, 8, Radio_NAV, Drum, 0)                     \
    X(1241, 13, 18, 8, Radio_NAV, Window, 0)                   \
    X(1250, 13, 18, 8, Radio_NAV, Digit, 1)                    \
    X(1260, 28, 53, 8, Radio_NAV, Switch, 0)                   \
    X(1261, 28, 53, 8, Radio_NAV, Switch, 1)                   \
    X(1270, 34, 34, 8, Radio_NAV, Switch, 0)                   \
    X(1271, 34, 34, 8, Radio_NAV, Switch, 1)                   \
    X(1280, 10, 10, 8, Radio_NAV, LampLit, 0)                  \
    X(1130, 261, 99, 8, Radio_IFF_XPDR, Panel, 0)              \
    X(1140, 12, 231, 8, Radio_IFF_XPDR, Drum, 0)               \
    X(1141, 12, 21, 8, Radio_IFF_XPDR, Window, 0)              \
    X(1150, 28, 68, 8, Radio_IFF_XPDR, Switch, 0)              \
    X(1151, 28, 68, 8, Radio_IFF_XPDR, Switch, 1)              \
    X(1160, 12, 12, 8, Radio_IFF_XPDR, LampLit, 0)             \
    X(1170, 26, 32, 8, Radio_IFF_XPDR, Switch, 0)              \
    X(1171, 26, 32, 8, Radio_IFF_XPDR, Switch, 1)              \
    X(3210, 72, 72, 8, Autopilot_Switch, SwitchPlate, 0)       \
    X(3220, 72, 72, 8, Autopilot_Switch, Switch, 0)            \
    X(3221, 72, 72, 8, Autopilot_Switch, Switch, 1)            \
    X(7000, 319, 600, 8, AP_Tester, Panel, 0)                  \
    X(7010, 8, 8, 8, AP_Tester, LampLit, 0)                    \
    X(7020, 8, 8, 8, AP_Tester, LampLit, 0)                    \
    X(250, 262, 254, 8, Altimeter, Face, 0)                    \
    X(260, 220, 220, 8, Altimeter, Card, 0)                    \
    X(261, 45, 54, 8, Altimeter, Window, 0)                    \
    X(270, 149, 26, 8, Altimeter, Needle, 0)                   \
    X(280, 98, 28, 8, Altimeter, Needle, 0)                    \
    X(290, 75, 12, 8, Altimeter, Needle, 0)                    \
    X(300, 262, 254, 8, Altimeter, Cover, 0)                   \
    X(310, 250, 275, 8, Attitude, Face, 0)                     \
    X(320, 190, 340, 8, Attitude, Horizon, 0)                  \
    X(321, 250, 250, 8, Attitude, Window, 0)                   \
    X(330, 95, 10, 8, Attitude, Needle, 0)                     \
    X(340, 250, 250, 8, Attitude, Overlay, 0)                  \
    X(350, 128, 81, 8, Attitude, Bars, 0)                      \
    X(360, 250, 275, 8, Attitude, Cover, 0)                    \
    X(370, 106, 106, 8, Attitude_w_Cage, Switch, 0)            \
    X(371, 106, 106, 8, Attitude_w_Cage, Switch, 1)            \
    X(372, 106, 106, 8, Attitude_w_Cage, Switch, 2)            \
    X(3060, 300, 310, 8, Attitude_w_Cage, Face, 0)             \
    X(3070, 300, 310, 8, Attitude_w_Cage, Cover, 0)            \
    X(390, 200, 200, 8, Turn_Coordinator, Face, 0)             \
    X(400, 134, 26, 8, Turn_Coordinator, Needle, 0)            \
    X(410, 24, 31, 8, Turn_Coordinator, Ball, 0)               \
    X(420, 38, 44, 8, Turn_Coordinator, Overlay, 0)            \
    X(430, 200, 200, 8, Turn_Coordinator, Cover, 0)            \
    X(440, 300, 300, 8, Vertical_Speed, Face, 0)               \
    X(450, 182, 22, 8, Vertical_Speed, Needle, 0)              \
    X(460, 300, 300, 8, Vertical_Speed, Cover, 0)              \
    X(470, 233, 335, 8, Gyro_Compass, Face, 0)                 \
    X(480, 1219, 53, 8, Gyro_Compass, Strip, 0)                \
    X(481, 139, 53, 8, Gyro_Compass, Window, 0)                \
    X(490, 82, 82, 8, Gyro_Compass, Knob, 0)                   \
    X(1400, 300, 300, 8, Airspeed, Face, 0)                    \
    X(1410, 152, 36, 8, Airspeed, Needle, 0)                   \
    X(1420, 300, 300, 8, Airspeed, Cover, 0)                   \
    X(1310, 176, 20, 8, Oil_Temp_Press_1, Needle, 0)           \
    X(1312, 75, 16, 8, Oil_Temp_Press_1, Needle, 0)            \
    X(1330, 280, 280, 8, Oil_Temp_Press_1, Cover, 0)           \
    X(1340, 280, 280, 8, Oil_Temp_Press_1, Face, 0)            \
    X(1350, 280, 280, 8, Oil_Temp_Press_2, Face, 0)            \
    X(1360, 240, 240, 8, Tachometer, Face, 0)                  \
    X(1370, 130, 14, 8, Tachometer, Needle, 0)                 \
    X(1380, 40, 6, 8, Tachometer, Needle, 0)                   \
    X(1390, 240, 240, 8, Tachometer, Cover, 0)                 \
    X(1180, 300, 300, 8, Manifold_Pressure, Face, 0)           \
    X(1190, 168, 36, 8, Manifold_Pressure, Needle, 0)          \
    X(1200, 300, 300, 8, Manifold_Pressure, Cover, 0)          \
    X(1430, 244, 244, 8, CHT_Indicator, Face, 0)               \
    X(1440, 120, 10, 8, CHT_Indicator, Needle, 0)              \
    X(1450, 244, 244, 8, CHT_Indicator, Cover, 0)              \
    X(2230, 217, 303, 8, Throttle_Quadrant, Panel, 0)          \
    X(2240, 51, 46, 8, Throttle_Quadrant, Lever, 2)            \
    X(2250, 49, 49, 8, Throttle_Quadrant, Lever, 1)            \
    X(2260, 51, 93, 8, Throttle_Quadrant, Lever, 0)            \
    X(2270, 216, 216, 8, Hydr_Press_Indicator, Face, 0)        \
    X(2280, 116, 21, 8, Hydr_Press_Indicator, Needle, 0)       \
    X(2290, 216, 216, 8, Hydr_Press_Indicator, Cover, 0)       \
    X(2300, 99, 103, 8, Magnetos_Switch, SwitchPlate, 0)       \
    X(2310, 76, 69, 8, Magnetos_Switch, Switch, 0)             \
    X(2311, 76, 69, 8, Magnetos_Switch, Switch, 1)             \
    X(2312, 76, 69, 8, Magnetos_Switch, Switch, 2)             \
    X(2313, 76, 69, 8, Magnetos_Switch, Switch, 3)             \
    X(2320, 300, 300, 8, Fuel_Quantity, Face, 0)               \
    X(2330, 99, 18, 8, Fuel_Quantity, Needle, 0)               \
    X(2340, 300, 300, 8, Fuel_Quantity, Cover, 0)              \
    X(2000, 306, 308, 8, ADF_VOR_Indicator, Face, 0)           \
    X(2010, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)        \
    X(2020, 56, 56, 8, ADF_VOR_Indicator, Knob, 0)             \
    X(2030, 246, 40, 8, ADF_VOR_Indicator, Needle, 0)          \
    X(2040, 270, 270, 8, ADF_VOR_Indicator, Card, 0)           \
    X(2041, 300, 300, 8, ADF_VOR_Indicator, Window, 0)         \
    X(2050, 306, 308, 8, ADF_VOR_Indicator, Cover, 0)          \
    X(2060, 74, 74, 8, ADF_VOR_Indicator, Knob, 0)             \
    X(2080, 150, 4, 8, ADF_VOR_Indicator, Needle, 0)           \
    X(2090, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)        \
    X(2100, 20, 42, 8, ADF_VOR_Indicator, Flag, 0)             \
    X(2101, 20, 42, 8, ADF_VOR_Indicator, Flag, 1)             \
    X(2120, 44, 20, 8, ADF_VOR_Indicator, Flag, 0)             \
    X(2121, 44, 20, 8, ADF_VOR_Indicator, Flag, 1)             \
    X(2130, 116, 24, 8, ADF_VOR_Indicator, Needle, 0)          \
    X(2140, 150, 4, 8, ADF_VOR_Indicator, Needle, 0)           \
    X(2150, 306, 308, 8, ADF_VOR_Indicator, Overlay, 0)        \
    X(3100, 306, 264, 8, ADF_VOR_Indicator_Small, Face, 0)     \
    X(3110, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)  \
    X(3120, 306, 264, 8, ADF_VOR_Indicator_Small, Cover, 0)    \
    X(3130, 270, 270, 8, ADF_VOR_Indicator_Small, Card, 0)     \
    X(3131, 300, 262, 8, ADF_VOR_Indicator_Small, Window, 0)   \
    X(3140, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)  \
    X(3150, 306, 264, 8, ADF_VOR_Indicator_Small, Overlay, 0)  \
    X(2160, 300, 300, 8, Waltham_Clock, Face, 0)               \
    X(2170, 155, 15, 8, Waltham_Clock, Needle, 0)              \
    X(2180, 116, 23, 8, Waltham_Clock, Needle, 0)              \
    X(2190, 88, 23, 8, Waltham_Clock, Needle, 0)               \
    X(2200, 300, 300, 8, Waltham_Clock, Cover, 0)              \
    X(1460, 196, 196, 8, OAT_Indicator, Face, 0)               \
    X(1470, 104, 4, 8, OAT_Indicator, Needle, 0)               \
    X(1480, 196, 196, 8, OAT_Indicator, Cover, 0)              \
    X(2210, 76, 49, 8, Whiskey_Compass, Face, 0)               \
    X(2220, 292, 23, 8, Whiskey_Compass, Strip, 0)             \
    X(2221, 76, 23, 8, Whiskey_Compass, Window, 0)             \
    X(2390, 206, 206, 8, Voltmeter, Face, 0)                   \
    X(2400, 91, 8, 8, Voltmeter, Needle, 0)                    \
    X(2410, 206, 206, 8, Voltmeter, Cover, 0)                  \
    X(2350, 30, 60, 8, NAV_GPS_Switch, SwitchPlate, 0)         \
    X(2360, 30, 60, 8, NAV_GPS_Switch, Switch, 0)              \
    X(2361, 30, 60, 8, NAV_GPS_Switch, Switch, 1)              \
    X(2370, 30, 44, 8, Battery_Switch, SwitchPlate, 0)         \
    X(2380, 30, 44, 8, Battery_Switch, Switch, 0)              \
    X(2381, 30, 44, 8, Battery_Switch, Switch, 1)              \
    X(2420, 54, 120, 8, Fuel_Valve, SwitchPlate, 0)            \
    X(2430, 54, 120, 8, Fuel_Valve, Guard, 0)                  \
    X(2440, 54, 120, 8, Fuel_Valve, Switch, 0)                 \
    X(2441, 54, 120, 8, Fuel_Valve, Switch, 1)                 \
    X(3080, 28, 28, 8, Starter_Switch, SwitchPlate, 0)         \
    X(3090, 28, 28, 8, Starter_Switch, Switch, 0)              \
    X(3091, 28, 28, 8, Starter_Switch, Switch, 1)              \
    X(3170, 60, 60, 8, Carburetor_Heat, SwitchPlate, 0)        \
    X(3180, 60, 60, 8, Carburetor_Heat, Switch, 0)             \
    X(3181, 60, 60, 8, Carburetor_Heat, Switch, 1)             \
    X(3190, 70, 70, 8, Engine_Primer, SwitchPlate, 0)          \
    X(3200, 70, 70, 8, Engine_Primer, Switch, 0)               \
    X(3201, 70, 70, 8, Engine_Primer, Switch, 1)               \
    X(2450, 48, 48, 8, Generator_Light, Lamp, 0)               \
    X(2460, 48, 48, 8, Generator_Light, LampLit, 0)            \
    X(2470, 48, 48, 8, Gear_Warning_Light, Lamp, 0)            \
    X(2480, 48, 48, 8, Gear_Warning_Light, LampLit, 0)         \
    X(3000, 48, 48, 8, Dive_Brake_Warning_Light, Lamp, 0)      \
    X(3010, 48, 48, 8, Dive_Brake_Warning_Light, LampLit, 0)   \
    X(3020, 48, 48, 8, Tail_Hook_Warning_Light, Lamp, 0)       \
    X(3030, 48, 48, 8, Tail_Hook_Warning_Light, LampLit, 0)    \
    X(3040, 48, 48, 8, Flaps_Warning_Light, Lamp, 0)           \
    X(3050, 48, 48, 8, Flaps_Warning_Light, LampLit, 0)        \
    X(380, 30, 30, 8, , Unused, 0)                             \
    X(1290, 5, 18, 8, , Unused, 0)                             \
    X(1300, 70, 18, 8, , Unused, 0)                            \
    X(2070, 306, 308, 8, , Unused, 0)                          \
    X(3160, 306, 264, 8, , Unused, 0)

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

#define ARD_BITMAP_RECORD(id, w, h, bits, gauge, art, variant) \
    BitmapRecord{id, w, h, Depth(bits), #gauge, Art::art, variant},
inline constexpr BitmapRecord kBitmaps[] = {ARDELVINE_BITMAPS(ARD_BITMAP_RECORD)};
#undef ARD_BITMAP_RECORD

#define ARD_WAVE_RECORD(id, name, bits, bytes, order) WaveRecord{id, bits, bytes, ChunkOrder::order},
inline constexpr WaveRecord kWaves[] = {ARDELVINE_WAVES(ARD_WAVE_RECORD)};
#undef ARD_WAVE_RECORD

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
