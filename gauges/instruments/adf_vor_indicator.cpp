// The ADF/VOR indicator: one round instrument with two modes, switched by a
// click on its centre. In ADF mode a compass card (set by the knob) and the
// ADF bearing needle; in VOR mode NAV1's course window, deviation and glide
// slope needles, two flags and a pointer showing the heading against the
// selected course (set by the same knob). Every element decides on each
// evaluation whether its mode is showing.
//
// The large and the small instrument have the same records and callbacks and
// differ only in their face bitmaps. Each is one instantiation of Indicator
// below, so each has its own mode (shared by its placed copies) and its own
// click. The needles park when the radio that drives them is switched off.
#include <cmath>

#include "gauges/gauge.h"
#include "gauges/radios/radio.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
namespace {
namespace adf_vor {
using namespace radios;

constexpr std::uint32_t kCardToken = tokens::ADF_CARD;
constexpr std::uint32_t kBearingToken = tokens::ADF_BEARING;
constexpr std::uint32_t kDeviationToken = tokens::VOR1_COURSE_DEVIATION;
constexpr std::uint32_t kGlideSlopeToken = tokens::VOR1_GLIDE_SLOPE;
constexpr std::uint32_t kSignalToken = tokens::VOR1_SIGNAL;
constexpr std::uint32_t kToFromToken = tokens::VOR1_TO_FROM;
constexpr std::uint32_t kCourseToken = tokens::VOR1_COURSE;
constexpr std::uint32_t kHeadingToken = tokens::GYRO_HEADING;
constexpr std::uint32_t kSetCard = events::ADF_CARD_SET;
constexpr std::uint32_t kSetCourse = events::VOR1_COURSE_SET;
constexpr double kParked = 90.0;  // 3 o'clock

struct IndicatorArt {
    const GaugeEntry* gauge;  // its registry entry
    std::uint32_t face, adf_overlay, vor_overlay, card, vor_glass, bezel;
    // How far above the large face's place the knobs sit, so that they stay
    // on a smaller face.
    int knobs_raised = 0;
};
constexpr IndicatorArt kLarge{
    .gauge = &registry::ADF_VOR_Indicator,
    .face = bitmaps::INDICATOR_FACE,
    .adf_overlay = bitmaps::INDICATOR_ADF_OVERLAY,
    .vor_overlay = bitmaps::INDICATOR_VOR_OVERLAY,
    .card = bitmaps::INDICATOR_CARD,
    .vor_glass = bitmaps::INDICATOR_VOR_GLASS,
    .bezel = bitmaps::INDICATOR_BEZEL,
};
constexpr IndicatorArt kSmall{
    .gauge = &registry::ADF_VOR_Indicator_Small,
    .face = bitmaps::SMALL_INDICATOR_FACE,
    .adf_overlay = bitmaps::SMALL_INDICATOR_ADF_OVERLAY,
    .vor_overlay = bitmaps::SMALL_INDICATOR_VOR_OVERLAY,
    .card = bitmaps::SMALL_INDICATOR_CARD,
    .vor_glass = bitmaps::SMALL_INDICATOR_VOR_GLASS,
    .bezel = bitmaps::SMALL_INDICATOR_BEZEL,
    .knobs_raised = 46,
};

double source_value(const ElementHeader* element) {
    switch (element->kind) {
        case ElementKind::NEEDLE: return reinterpret_cast<const Needle*>(element)->source.value;
        case ElementKind::ICON: return reinterpret_cast<const Icon*>(element)->source.value;
        case ElementKind::SPRITE: return reinterpret_cast<const Sprite*>(element)->rotation.source.value;
        case ElementKind::STRING: return reinterpret_cast<const StringElement*>(element)->sources[0].value;
        case ElementKind::STATIC_IMAGE:
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE: break;
    }
    return 0.0;
}

// A token read as a whole number, cut toward zero; a value too large to be a
// course or a flag counts as 0.
std::int64_t whole_number(double value) {
    if (!(std::fabs(value) < 1e15)) return 0;
    return static_cast<std::int64_t>(std::trunc(value));
}

// One step of the knob, wrapping within 0..359.
std::int64_t knob_step(std::int64_t d, bool up, bool coarse) {
    if (up) return coarse ? (d > 349 ? d - 350 : d + 10) : (d >= 359 ? 0 : d + 1);
    return coarse ? (d < 10 ? d + 350 : d - 10) : (d <= 0 ? 359 : d - 1);
}

// The pointer shows heading minus course where that lies within 45 degrees of
// the course line (either way, and also beyond +-135 since the difference is
// not wrapped); elsewhere, and without a station, it parks.
double station_pointer(double heading, double course, double signal) {
    if (whole_number(signal) == 0) return kParked;
    double r = heading - course;
    if (r > -135.0 && r < -45.0) r = kParked;
    if (r > 45.0 && r < 135.0) r = kParked;
    return r;
}

template <const IndicatorArt& Art, GaugeHeader& Gauge>
struct Indicator {
    // Module-wide state of this instrument, shared by its placed copies.
    static inline std::int32_t adf_mode = 1;  // 1 ADF, 0 VOR
    static inline sound::GaugeSound sound{};
    static inline LastText course_text{};

    static void ARD_CALL service(GaugeHeader*, std::int32_t code, std::uintptr_t data) {
        sound::gauge_sound_service(sound, code, data, waves::TOGGLE_CLICK);
    }

    // Shows the element only in its mode; true when it is showing.
    static bool in_mode(ElementHeader* element, bool adf) {
        const bool shown = (adf_mode != 0) == adf;
        if (element != nullptr) {
            if (shown)
                element->image_flags &= ~IMAGE_HIDDEN;
            else
                element->image_flags |= IMAGE_HIDDEN;
        }
        return shown;
    }

    static double ARD_CALL adf_only(ElementHeader* e) { return in_mode(e, true), 0.0; }
    static double ARD_CALL vor_only(ElementHeader* e) { return in_mode(e, false), 0.0; }
    static double ARD_CALL adf_source(ElementHeader* e) { return in_mode(e, true), source_value(e); }
    static double ARD_CALL vor_source(ElementHeader* e) { return in_mode(e, false), source_value(e); }

    static double ARD_CALL bearing(ElementHeader* e) {
        in_mode(e, true);
        return radio_power.adf == 0 ? kParked : source_value(e);
    }
    static double ARD_CALL nav_source(ElementHeader* e) {
        in_mode(e, false);
        return radio_power.nav1 == 0 ? 0.0 : source_value(e);
    }
    static double ARD_CALL signal_flag(ElementHeader* e) {
        in_mode(e, false);
        return radio_power.nav1 != 0 && source_value(e) != 0.0 ? 1.0 : 0.0;
    }
    static double ARD_CALL station(ElementHeader* e) {
        in_mode(e, false);
        const double heading = panel_services::read_token(kHeadingToken);  // read whether used or not
        if (radio_power.nav1 == 0) return kParked;
        return station_pointer(heading, panel_services::read_token(kCourseToken), panel_services::read_token(kSignalToken));
    }
    static double ARD_CALL course_window(ElementHeader* e) {
        in_mode(e, false);
        const double course = source_value(e);
        write_bounded(e, "%03.0f", course, course_text);
        return course;
    }

    static std::int32_t ARD_CALL mode_click(MouseClick*, std::uint32_t) {
        adf_mode = adf_mode == 0 ? 1 : 0;
        sound::gauge_sound_click(sound);
        return 0;
    }

    static void knob(std::uint32_t flags, bool up) {
        bool coarse = false;
        if ((flags & MOUSE_LEFT) != 0)
            coarse = false;
        else if ((flags & MOUSE_RIGHT) != 0)
            coarse = true;
        else
            return;
        const bool adf = adf_mode != 0;
        const std::int64_t d = whole_number(panel_services::read_token(adf ? kCardToken : kCourseToken));
        panel_services::trigger_key_event(adf ? kSetCard : kSetCourse, static_cast<std::uint32_t>(knob_step(d, up, coarse)));
    }
    static std::int32_t ARD_CALL knob_down(MouseClick*, std::uint32_t flags) { return knob(flags, false), 0; }
    static std::int32_t ARD_CALL knob_up(MouseClick*, std::uint32_t flags) { return knob(flags, true), 0; }

    // ------------------------------------------------------------ records

    static constexpr std::size_t kElements = 16;
    static ElementHeader* chain[2 * kElements];

    // One degree per degree for the bearing and station pointers; the
    // deviation needle hangs from above the centre and swings 79 degrees, the
    // glide slope needle from the left edge 73 degrees; the knobs turn 6 and
    // 9 degrees per degree of course and card.
    static inline NonlinearityEntry bearing_table[] = {through(0, 154, 102), through(180, 154, 202)};
    static inline NonlinearityEntry station_table[] = {through(0, 156, 79), through(180, 156, 239)};
    static inline NonlinearityEntry deviation_table[] = {through(127, 218, 159), through(-127, 95, 159)};
    static inline NonlinearityEntry glide_table[] = {through(-119, 157, 98), through(119, 157, 221)};
    static inline NonlinearityEntry course_knob_table[] = {through(0, 37, 252), through(30, 37, 292)};
    static inline NonlinearityEntry card_knob_table[] = {through(0, 43, 243), through(20, 43, 299)};

    static inline FailureRecord card_failures[] = {{failures::ADF, FAIL_NONE}, {0}};
    static inline FailureRecord bearing_failures[] = {{failures::AVIONICS, FAIL_ZERO}, {failures::ELECTRICAL, FAIL_FREEZE}, {0}};
    static inline FailureRecord nav_failures[] = {{failures::NAV, FAIL_ZERO}, {failures::AVIONICS, FAIL_ZERO}, {failures::ELECTRICAL, FAIL_FREEZE}, {0}};
    static inline FailureRecord window_failures[] = {{failures::AVIONICS, FAIL_HIDE}, {0}};

    static constexpr IconSpec overlay(std::uint32_t bitmap, ElementCallback update, std::uint32_t flags) {
        return {.bitmap = bitmap, .at = {0, 0}, .images = 1, .update = update, .flags = flags};
    }

    static inline StaticImage face = plate(Gauge, Art.face, next_of(chain, 0));
    static inline Icon adf_overlay = icon(Gauge, overlay(Art.adf_overlay, adf_only, kLitSmoothFlags), next_of(chain, 1));
    static inline Icon vor_overlay = icon(Gauge, overlay(Art.vor_overlay, vor_only, kLitSmoothFlags), next_of(chain, 2));
    static inline Sprite card_sprite = card(Gauge, {.bitmap = Art.card, .at = {4, 2}, .axle = {154, 152},
                                                   .rotation_scale = 1.0, .rotation = adf_source,
                                                   .token = kCardToken, .failures = card_failures,
                                                   .flags = kLitSmoothFlags}, next_of(chain, 3));
    static inline Needle bearing_needle = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_BEARING_NEEDLE, .pivot = {154, 152}, .offset = {123, 20},
                                                          .table = bearing_table, .update = bearing,
                                                          .token = kBearingToken, .failures = bearing_failures,
                                                          .flags = kLitSmoothFlags}, next_of(chain, 4));
    static inline Needle station_needle = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_STATION_NEEDLE, .pivot = {156, 159}, .offset = {39, 12},
                                                          .table = station_table, .update = station,
                                                          .failures = nav_failures, .flags = kLitSmoothFlags},
                                                  next_of(chain, 5));
    static inline Needle deviation = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_DEVIATION_NEEDLE, .pivot = {155, 84}, .offset = {-7, 2},
                                                     .table = deviation_table, .update = nav_source,
                                                     .token = kDeviationToken, .failures = nav_failures,
                                                     .flags = kLitSmoothFlags}, next_of(chain, 6));
    static inline Needle glide_slope = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_GLIDE_SLOPE_NEEDLE, .pivot = {74, 159}, .offset = {0, 2},
                                                       .table = glide_table, .update = nav_source,
                                                       .token = kGlideSlopeToken, .failures = nav_failures,
                                                       .flags = kLitSmoothFlags}, next_of(chain, 7));
    static inline Icon vor_glass = icon(Gauge, overlay(Art.vor_glass, vor_only, kLitSmoothFlags), next_of(chain, 8));
    static inline Icon to_from = icon(Gauge, {.bitmap = bitmaps::INDICATOR_TO_FROM_FLAG, .at = {73, 139}, .images = 2, .token = kToFromToken,
                                              .update = nav_source, .failures = nav_failures,
                                              .flags = kLitSmoothFlags}, next_of(chain, 9));
    static inline Icon signal = icon(Gauge, {.bitmap = bitmaps::INDICATOR_SIGNAL_FLAG, .at = {131, 223}, .images = 2, .token = kSignalToken,
                                             .update = signal_flag, .failures = nav_failures,
                                             .flags = kLitSmoothFlags}, next_of(chain, 10));
    static inline StringElement course = text(Gauge, {.at = {127, 34}, .chars = 3, .width = 66, .height = 26,
                                                      .colour = 0xFFFFFF, .highlight = 0xFFFFFF,
                                                      .token = kCourseToken, .second_token = kCourseToken,
                                                      .update = course_window, .failures = window_failures,
                                                      .flags = kLitFlags}, next_of(chain, 11));
    // One bezel bitmap drawn at this place in either mode.
    static inline Icon vor_bezel = icon(Gauge, overlay(Art.bezel, vor_only, kPlainFlags), next_of(chain, 12));
    static inline Icon adf_bezel = icon(Gauge, overlay(Art.bezel, adf_only, kPlainFlags), next_of(chain, 13));
    static inline Needle course_knob = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_COURSE_KNOB, .pivot = {37, 272 - Art.knobs_raised}, .offset = {37, 37},
                                                       .table = course_knob_table, .update = vor_source,
                                                       .token = kCourseToken}, next_of(chain, 14));
    static inline Needle card_knob = pointer(Gauge, {.bitmap = bitmaps::INDICATOR_CARD_KNOB, .pivot = {43, 271 - Art.knobs_raised}, .offset = {28, 28},
                                                     .table = card_knob_table, .update = adf_source,
                                                     .token = kCardToken}, next_of(chain, 15));

    static inline MouseRect mouse[] = {
        mouse_parent(),
        mouse_parent({0, 0, 306, 104}),
        mouse_tooltip("ADF or VOR1"),
        mouse_end_parent(),
        mouse_parent({0, 236 - Art.knobs_raised, 72, 72}),
        mouse_end_parent(),
        mouse_child({103, 104, 100, 100}, CURSOR_HAND, MOUSE_LEFT, mode_click),
        mouse_child({0, 236 - Art.knobs_raised, 36, 72}, CURSOR_DOWN, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, knob_down),
        mouse_child({36, 236 - Art.knobs_raised, 36, 72}, CURSOR_UP, MOUSE_LEFT | MOUSE_RIGHT | MOUSE_REPEAT, knob_up),
        mouse_end_parent(),
        mouse_end(),
    };

    static consteval GaugeHeader header() { return make_gauge(*Art.gauge, chain, mouse, service); }
};

template <const IndicatorArt& Art, GaugeHeader& Gauge>
constinit ElementHeader* Indicator<Art, Gauge>::chain[2 * kElements] = {
    &face.header,           nullptr,
    &adf_overlay.header,    nullptr,
    &vor_overlay.header,    nullptr,
    &card_sprite.header,    nullptr,
    &bearing_needle.header, nullptr,
    &station_needle.header, nullptr,
    &deviation.header,      nullptr,
    &glide_slope.header,    nullptr,
    &vor_glass.header,      nullptr,
    &to_from.header,        nullptr,
    &signal.header,         nullptr,
    &course.header,         nullptr,
    &vor_bezel.header,      nullptr,
    &adf_bezel.header,      nullptr,
    &course_knob.header,    nullptr,
    &card_knob.header,      nullptr,
};

}  // namespace adf_vor
}  // namespace

constinit GaugeHeader ADF_VOR_Indicator = adf_vor::Indicator<adf_vor::kLarge, ADF_VOR_Indicator>::header();
constinit GaugeHeader ADF_VOR_Indicator_Small =
    adf_vor::Indicator<adf_vor::kSmall, ADF_VOR_Indicator_Small>::header();

}  // namespace ardelvine::gauges
