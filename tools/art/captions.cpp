#include "tools/art/paint.h"

namespace ardelvine::tools::art {

namespace {

// Names and units written on faces and panels, by gauge.
constexpr Caption kCaptions[] = {
    {"Airspeed", "AIRSPEED", "KNOTS"},
    {"Altimeter", "ALT", "100 FT"},
    {"Vertical_Speed", "VERTICAL SPEED", "100 FT/MIN"},
    {"Tachometer", "RPM", "x100"},
    {"Manifold_Pressure", "MANIFOLD", "IN HG"},
    {"CHT_Indicator", "CYL TEMP", "\u00B0C"},
    {"Oil_Temp_Press_1", "OIL \u00B0C", "ENGINE 1"},
    {"Oil_Temp_Press_2", "OIL \u00B0C", "ENGINE 2"},
    {"Hydr_Press_Indicator", "HYDRAULIC", "PSI x1000"},
    {"OAT_Indicator", "AIR TEMP", "\u00B0C"},
    {"Voltmeter", "VOLTS", "DC"},
    {"Fuel_Quantity", "FUEL", "GALLONS"},
    {"Turn_Coordinator", "TURN COORDINATOR", "2 MIN"},
    {"Attitude", "", "ATTITUDE"},
    {"Attitude_w_Cage", "", "ATTITUDE"},
    {"Waltham_Clock", "", "WALTHAM"},
    {"Gyro_Compass", "DIRECTIONAL GYRO", ""},
    {"ADF_VOR_Indicator", "", ""},
    {"Radio_COM", "COM 1", ""},
    {"Radio_NAV", "NAV 1", ""},
    {"Radio_ADF", "ADF", ""},
    {"Radio_IFF_XPDR", "TRANSPONDER", ""},
    {"AP_Tester", "AUTOPILOT", "ANNUNCIATOR"},
    {"Throttle_Quadrant", "", ""},
    {"Generator_Light", "GEN", "OFF"},
    {"Gear_Warning_Light", "GEAR", "DOWN"},
    {"Dive_Brake_Warning_Light", "DIVE", "BRAKE"},
    {"Tail_Hook_Warning_Light", "TAIL", "HOOK"},
    {"Flaps_Warning_Light", "FLAPS", ""},
};

}  // namespace

Caption caption_of(std::string_view gauge) {
    for (const Caption& c : kCaptions)
        if (c.gauge == gauge) return c;
    return {gauge, "", ""};
}

}  // namespace ardelvine::tools::art
