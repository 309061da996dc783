// The autopilot annunciator: a column of eighteen lamps, each lit while one
// autopilot variable is above zero, and six green seven-segment readouts of
// further autopilot values. It keeps no state and has no mouse action; its
// only tooltip names it. Failure 20 (electrical) puts out every lamp and
// readout, leaving the bare panel.
//
// Beside the lamps stand nineteen mode lamps (and one more at the foot of the
// panel) that nothing in the aircraft drives: they are wired dark.
#include "gauges/systems/ap_tester.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "gauges/gauge.h"
#include "model/tokens.h"
#include "model/failures.h"

namespace ardelvine::gauges {

bool ap_readout_format(double v, char (&text)[kApReadoutChars + 1]) {
    if (!std::isfinite(v) || v < -10000.0) return false;
    // Whatever its value class, the number ends up right-aligned in six
    // characters: the spare blank of the narrower classes only takes the digit
    // that rounding up to the next power of ten adds, and seven characters do
    // not fit. Written out here rather than by the C library, which costs many
    // times more on every update; the rounding is the library's: to nearest,
    // halves to even, and a negative number rounding to nothing shows "-0".
    const double rounded = std::nearbyint(v);
    if (rounded >= 1000000.0) return false;
    auto whole = static_cast<std::uint32_t>(std::fabs(rounded));
    char out[kApReadoutChars + 1];
    std::size_t at = kApReadoutChars;
    out[at] = '\0';
    do {
        out[--at] = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (std::signbit(rounded)) {
        if (at == 0) return false;
        out[--at] = '-';
    }
    while (at > 0) out[--at] = ' ';
    std::memcpy(text, out, sizeof out);
    return true;
}

namespace {


// Lit while the lamp's variable is above zero.
double ARD_CALL ap_lamp(ElementHeader* element) {
    if (element == nullptr) return -1.0;
    return reinterpret_cast<const Icon*>(element)->source.value > 0.0 ? 0.0 : -1.0;
}

// The mode lamps nothing drives.
double ARD_CALL ap_dark_lamp(ElementHeader*) { return -1.0; }

// Writes the readout's value into its text; a value that does not fit leaves
// the previous text standing.
double ARD_CALL ap_readout_text(ElementHeader* element) {
    if (element == nullptr) return 0.0;
    auto* readout = reinterpret_cast<StringElement*>(element);
    const double v = readout->sources[0].value;
    char text[kApReadoutChars + 1];
    if (readout->text != nullptr && ap_readout_format(v, text)) std::memcpy(readout->text, text, sizeof text);
    return v;
}

FailureRecord failures[] = {{failures::ELECTRICAL, FAIL_HIDE}, {0}};

extern ElementHeader* chain[2 * kApTesterElements];

constexpr Icon lamp(std::size_t n, std::uint32_t bitmap, std::int32_t x, std::int32_t y, std::uint32_t token,
                    ElementCallback update) {
    return Icon{.header = {.kind = ElementKind::ICON, .bitmap = bitmap, .x = x, .y = y,
                           .gauge = &AP_Tester, .children = next_of(chain, n), .failures = failures,
                           .image_flags = kBrightFlags},
                .source = {.token = token},
                .scale = 1.0,
                .images = 1,
                .update = update};
}

constexpr StringElement readout(std::size_t n, std::int32_t y, std::uint32_t token) {
    StringElement s{.header = {.kind = ElementKind::STRING, .bitmap = kNoBitmap, .x = 34, .y = y,
                               .gauge = &AP_Tester, .children = next_of(chain, n), .failures = failures,
                               .image_flags = kBrightFlags},
                    .sources = {{.token = token}, {.token = 0}, {.token = 0}},
                    .box_width = 60,
                    .box_height = 13,
                    .foreground = 0x23F905,
                    .background = 0x000000,
                    .highlight = 0x00FFFF,
                    .font = "Quartz",
                    .weight = 400,
                    .charset = 1,
                    .draw_flags = kCentredLine,
                    .chars = kApReadoutChars,
                    .update = &ap_readout_text};
    return s;
}

// ------------------------------------------------------------ records, in drawing order

StaticImage panel = {.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = 7000, .gauge = &AP_Tester,
                                .children = next_of(chain, 0), .image_flags = kPlainFlags}};

Icon foot_lamp = lamp(1, 7010, 256, 255, 0, &ap_dark_lamp);

StringElement readouts[kApReadouts] = {
    //      n  y    token
    readout(2, 519, tokens::AUTOPILOT_RPM),
    readout(3, 505, tokens::AUTOPILOT_MACH),
    readout(4, 491, tokens::AUTOPILOT_AIRSPEED),
    readout(5, 477, tokens::AUTOPILOT_VERTICAL_SPEED),
    readout(6, 463, tokens::AUTOPILOT_ALTITUDE),
    readout(7, 449, tokens::AUTOPILOT_HEADING),
};

constexpr std::uint32_t kLamp = 7020, kModeLamp = 7010;

Icon lamps[kApLamps] = {
    //   n   bitmap x   y    token
    lamp(8,  kLamp, 83, 423, tokens::AUTOPILOT_RPM_HOLD, &ap_lamp),
    lamp(9,  kLamp, 83, 409, tokens::AUTOTHROTTLE_ARMED, &ap_lamp),
    lamp(10, kLamp, 83, 381, tokens::AUTOPILOT_MACH_HOLD, &ap_lamp),
    lamp(11, kLamp, 83, 367, tokens::AUTOTHROTTLE_ACTIVE, &ap_lamp),
    lamp(12, kLamp, 83, 353, tokens::AUTOPILOT_AIRSPEED_HOLD, &ap_lamp),
    lamp(13, kLamp, 83, 325, tokens::AUTOPILOT_ATTITUDE_HOLD, &ap_lamp),
    lamp(14, kLamp, 83, 311, tokens::AUTOPILOT_WING_LEVELER, &ap_lamp),
    lamp(15, kLamp, 83, 283, tokens::AUTOPILOT_VERTICAL_SPEED_HOLD, &ap_lamp),
    lamp(16, kLamp, 83, 255, tokens::AUTOPILOT_ALTITUDE_HOLD, &ap_lamp),
    lamp(17, kLamp, 83, 227, tokens::AUTOPILOT_BACK_COURSE_HOLD, &ap_lamp),
    lamp(18, kLamp, 83, 213, tokens::AUTOPILOT_GLIDE_SLOPE_HOLD, &ap_lamp),
    lamp(19, kLamp, 83, 199, tokens::AUTOPILOT_APPROACH_HOLD, &ap_lamp),
    lamp(20, kLamp, 83, 185, tokens::AUTOPILOT_NAV1_HOLD, &ap_lamp),
    lamp(21, kLamp, 83, 157, tokens::AUTOPILOT_HEADING_HOLD, &ap_lamp),
    lamp(22, kLamp, 83, 129, tokens::FLIGHT_DIRECTOR_ACTIVE, &ap_lamp),
    lamp(23, kLamp, 83, 115, tokens::AUTOPILOT_YAW_DAMPER, &ap_lamp),
    lamp(24, kLamp, 83, 101, tokens::AUTOPILOT_ENGAGED, &ap_lamp),
    lamp(25, kLamp, 83, 73,  tokens::AUTOPILOT_AVAILABLE, &ap_lamp),
};

Icon mode_lamps[kApModeLamps] = {
    lamp(26, kModeLamp, 54, 423, 0, &ap_dark_lamp), lamp(27, kModeLamp, 54, 409, 0, &ap_dark_lamp),
    lamp(28, kModeLamp, 54, 381, 0, &ap_dark_lamp), lamp(29, kModeLamp, 54, 367, 0, &ap_dark_lamp),
    lamp(30, kModeLamp, 54, 353, 0, &ap_dark_lamp), lamp(31, kModeLamp, 54, 325, 0, &ap_dark_lamp),
    lamp(32, kModeLamp, 54, 311, 0, &ap_dark_lamp), lamp(33, kModeLamp, 54, 283, 0, &ap_dark_lamp),
    lamp(34, kModeLamp, 54, 262, 0, &ap_dark_lamp), lamp(35, kModeLamp, 54, 248, 0, &ap_dark_lamp),
    lamp(36, kModeLamp, 54, 227, 0, &ap_dark_lamp), lamp(37, kModeLamp, 54, 213, 0, &ap_dark_lamp),
    lamp(38, kModeLamp, 54, 199, 0, &ap_dark_lamp), lamp(39, kModeLamp, 54, 185, 0, &ap_dark_lamp),
    lamp(40, kModeLamp, 54, 157, 0, &ap_dark_lamp), lamp(41, kModeLamp, 54, 129, 0, &ap_dark_lamp),
    lamp(42, kModeLamp, 54, 115, 0, &ap_dark_lamp), lamp(43, kModeLamp, 54, 101, 0, &ap_dark_lamp),
    lamp(44, kModeLamp, 54, 73,  0, &ap_dark_lamp),
};

// Panel, foot lamp, readouts, lamps, mode lamps: each element's n above is its
// place in this chain.
ElementHeader* chain[2 * kApTesterElements] = {
    &panel.header, nullptr, &foot_lamp.header, nullptr,
    &readouts[0].header, nullptr, &readouts[1].header, nullptr, &readouts[2].header, nullptr,
    &readouts[3].header, nullptr, &readouts[4].header, nullptr, &readouts[5].header, nullptr,
    &lamps[0].header, nullptr, &lamps[1].header, nullptr, &lamps[2].header, nullptr,
    &lamps[3].header, nullptr, &lamps[4].header, nullptr, &lamps[5].header, nullptr,
    &lamps[6].header, nullptr, &lamps[7].header, nullptr, &lamps[8].header, nullptr,
    &lamps[9].header, nullptr, &lamps[10].header, nullptr, &lamps[11].header, nullptr,
    &lamps[12].header, nullptr, &lamps[13].header, nullptr, &lamps[14].header, nullptr,
    &lamps[15].header, nullptr, &lamps[16].header, nullptr, &lamps[17].header, nullptr,
    &mode_lamps[0].header, nullptr, &mode_lamps[1].header, nullptr, &mode_lamps[2].header, nullptr,
    &mode_lamps[3].header, nullptr, &mode_lamps[4].header, nullptr, &mode_lamps[5].header, nullptr,
    &mode_lamps[6].header, nullptr, &mode_lamps[7].header, nullptr, &mode_lamps[8].header, nullptr,
    &mode_lamps[9].header, nullptr, &mode_lamps[10].header, nullptr, &mode_lamps[11].header, nullptr,
    &mode_lamps[12].header, nullptr, &mode_lamps[13].header, nullptr, &mode_lamps[14].header, nullptr,
    &mode_lamps[15].header, nullptr, &mode_lamps[16].header, nullptr, &mode_lamps[17].header, nullptr,
    &mode_lamps[18].header, nullptr,
};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Autopilot annunciator"),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace

constinit GaugeHeader AP_Tester = make_gauge(registry::AP_Tester, chain, mouse);

}  // namespace ardelvine::gauges
