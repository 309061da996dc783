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

constexpr std::uint32_t kPanel = bitmaps::AP_PANEL, kLamp = bitmaps::AP_LAMP, kModeLamp = bitmaps::AP_MODE_LAMP;

// The panel's rows in chain order: each readout's and lamp's height on the
// panel and the variable it shows; each mode lamp's height, in the column to
// the left of the lamps.
struct Row {
    std::int32_t y;
    std::uint32_t token;
};

constexpr Point kFootLamp = {256, 255};

constexpr std::int32_t kReadoutX = 34;
constexpr Row kReadouts[] = {
    {519, tokens::AUTOPILOT_RPM},
    {505, tokens::AUTOPILOT_MACH},
    {491, tokens::AUTOPILOT_AIRSPEED},
    {477, tokens::AUTOPILOT_VERTICAL_SPEED},
    {463, tokens::AUTOPILOT_ALTITUDE},
    {449, tokens::AUTOPILOT_HEADING},
};

constexpr std::int32_t kLampX = 83;
constexpr Row kLamps[] = {
    {423, tokens::AUTOPILOT_RPM_HOLD},
    {409, tokens::AUTOTHROTTLE_ARMED},
    {381, tokens::AUTOPILOT_MACH_HOLD},
    {367, tokens::AUTOTHROTTLE_ACTIVE},
    {353, tokens::AUTOPILOT_AIRSPEED_HOLD},
    {325, tokens::AUTOPILOT_ATTITUDE_HOLD},
    {311, tokens::AUTOPILOT_WING_LEVELER},
    {283, tokens::AUTOPILOT_VERTICAL_SPEED_HOLD},
    {255, tokens::AUTOPILOT_ALTITUDE_HOLD},
    {227, tokens::AUTOPILOT_BACK_COURSE_HOLD},
    {213, tokens::AUTOPILOT_GLIDE_SLOPE_HOLD},
    {199, tokens::AUTOPILOT_APPROACH_HOLD},
    {185, tokens::AUTOPILOT_NAV1_HOLD},
    {157, tokens::AUTOPILOT_HEADING_HOLD},
    {129, tokens::FLIGHT_DIRECTOR_ACTIVE},
    {115, tokens::AUTOPILOT_YAW_DAMPER},
    {101, tokens::AUTOPILOT_ENGAGED},
    {73, tokens::AUTOPILOT_AVAILABLE},
};

constexpr std::int32_t kModeLampX = 54;
constexpr std::int32_t kModeLamps[] = {423, 409, 381, 367, 353, 325, 311, 283, 262, 248,
                                       227, 213, 199, 185, 157, 129, 115, 101, 73};

// Places in the chain: panel, foot lamp, readouts, lamps, mode lamps.
constexpr std::size_t kFootLampAt = 1;
constexpr std::size_t kFirstReadoutAt = kFootLampAt + 1;
constexpr std::size_t kFirstLampAt = kFirstReadoutAt + kApReadouts;
constexpr std::size_t kFirstModeLampAt = kFirstLampAt + kApLamps;
static_assert(std::size(kReadouts) == kApReadouts && std::size(kLamps) == kApLamps &&
              std::size(kModeLamps) == kApModeLamps);
static_assert(kFirstModeLampAt + kApModeLamps == kApTesterElements);

struct Annunciator {
    StaticImage panel;
    Icon foot_lamp;
    StringElement readouts[kApReadouts];
    Icon lamps[kApLamps];
    Icon mode_lamps[kApModeLamps];
    ElementHeader* chain[2 * kApTesterElements];
};

constexpr Icon lamp(ElementHeader** next, std::uint32_t bitmap, Point at, std::uint32_t token,
                    ElementCallback update) {
    return icon(AP_Tester, {.bitmap = bitmap, .at = at, .images = 1, .token = token, .update = update,
                            .failures = failures, .flags = kBrightFlags},
                next);
}

constexpr StringElement readout(ElementHeader** next, Row row) {
    StringElement s{.header = {.kind = ElementKind::STRING, .bitmap = kNoBitmap, .x = kReadoutX, .y = row.y,
                               .gauge = &AP_Tester, .children = next, .failures = failures,
                               .image_flags = kBrightFlags},
                    .sources = {{.token = row.token}, {.token = 0}, {.token = 0}},
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

// `self` is the object being initialised: the elements point into its chain.
constexpr Annunciator make_annunciator(Annunciator& self) {
    Annunciator a{};
    auto place = [&](std::size_t n, ElementHeader& element) { a.chain[2 * n] = &element; };
    a.panel = plate(AP_Tester, kPanel, next_of(self.chain, 0));
    place(0, self.panel.header);
    a.foot_lamp = lamp(next_of(self.chain, kFootLampAt), kModeLamp, kFootLamp, 0, &ap_dark_lamp);
    place(kFootLampAt, self.foot_lamp.header);
    for (std::size_t i = 0; i < kApReadouts; ++i) {
        a.readouts[i] = readout(next_of(self.chain, kFirstReadoutAt + i), kReadouts[i]);
        place(kFirstReadoutAt + i, self.readouts[i].header);
    }
    for (std::size_t i = 0; i < kApLamps; ++i) {
        a.lamps[i] = lamp(next_of(self.chain, kFirstLampAt + i), kLamp, {kLampX, kLamps[i].y}, kLamps[i].token,
                          &ap_lamp);
        place(kFirstLampAt + i, self.lamps[i].header);
    }
    for (std::size_t i = 0; i < kApModeLamps; ++i) {
        a.mode_lamps[i] = lamp(next_of(self.chain, kFirstModeLampAt + i), kModeLamp, {kModeLampX, kModeLamps[i]}, 0,
                               &ap_dark_lamp);
        place(kFirstModeLampAt + i, self.mode_lamps[i].header);
    }
    return a;
}

// ------------------------------------------------------------ records, in drawing order

constinit Annunciator annunciator = make_annunciator(annunciator);

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Autopilot annunciator"),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace

constinit GaugeHeader AP_Tester = make_gauge(registry::AP_Tester, annunciator.chain, mouse);

}  // namespace ardelvine::gauges
