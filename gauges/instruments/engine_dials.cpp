// The engine dials: tachometer, manifold pressure, cylinder head temperature,
// and the two oil temperature and pressure gauges (the same gauge on two
// faces). Every needle shows 0 while the electrical failure is active.
#include "gauges/instruments/dial.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
using namespace dials;

FailureRecord engine_failures[] = {{failures::ENGINE, FAIL_NONE}, {failures::ELECTRICAL, FAIL_ZERO}, {0}};

// ------------------------------------------------------------ Tachometer

namespace tachometer {

NonlinearityEntry thousands_table[] = {
    //    rpm    point        direction
    through(-1,   149, 116),  //  53°
    through(0,    149, 116),  //  53°
    through(1000, 152, 155),  // 118°
    through(2000, 107, 170),  // 202°
    through(3000, 86, 128),   // 286°
    through(3300, 98, 115),   // 316°
    through(3500, 98, 115),   // 316°
};
static_assert(std::size(thousands_table) == 7);

// One turn per thousand, without end.
NonlinearityEntry hundreds_table[] = {through(0, 120, 30), through(500, 120, 210)};

constinit Dial<2> dial = make_dial(dial, Tachometer, {.face = bitmaps::TACHOMETER_FACE, .cover = bitmaps::TACHOMETER_COVER}, {
    // the small sub-dial
    {.bitmap = bitmaps::TACHOMETER_THOUSANDS_NEEDLE, .pivot = {120, 138}, .offset = {8, 3}, .token = tokens::ENGINE_RPM, .table = thousands_table,
     .failures = engine_failures},
    {.bitmap = bitmaps::TACHOMETER_HUNDREDS_NEEDLE, .pivot = {120, 120}, .offset = {35, 7}, .token = tokens::ENGINE_RPM, .table = hundreds_table,
     .failures = engine_failures},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::TACHOMETER), mouse_end_parent(), mouse_end()};

}  // namespace tachometer

// ------------------------------------------------------------ Manifold_Pressure

namespace manifold_pressure {

// Inches of mercury times 70.7328 (pounds per square foot); 300 degrees of
// sweep from 10 to 50 inches.
NonlinearityEntry table[] = {
    //    value     point        inHg  direction
    through(0,        88, 260),   //  0   210°
    through(707.328,  88, 260),   // 10   210°
    through(2121.984, 30, 151),   // 30   270°
    through(3536.64,  211, 255),  // 50   150°
    through(4243.968, 211, 255),  // 60   150°
};
static_assert(std::size(table) == 5);

constinit Dial<1> dial = make_dial(dial, Manifold_Pressure, {.face = bitmaps::MANIFOLD_FACE, .cover = bitmaps::MANIFOLD_COVER}, {
    {.bitmap = bitmaps::MANIFOLD_NEEDLE, .pivot = {151, 151}, .offset = {49, 18}, .token = tokens::MANIFOLD_PRESSURE, .table = table,
     .failures = engine_failures},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::MANIFOLD_PRESSURE), mouse_end_parent(), mouse_end()};

}  // namespace manifold_pressure

// ------------------------------------------------------------ CHT_Indicator

namespace cht {

// Degrees Rankine for marks in degrees Celsius.
NonlinearityEntry table[] = {
    //    value     point        °C   direction
    through(383.67,  41, 118),   // -60  315°
    through(401.67,  41, 118),   // -50  315°
    through(761.67,  136, 84),   // 150    6°
    through(1121.67, 206, 118),  // 350   45°
    through(1211.67, 206, 118),  // 400   45°
};
static_assert(std::size(table) == 5);

constinit Dial<1> dial = make_dial(dial, CHT_Indicator, {.face = bitmaps::CHT_FACE, .cover = bitmaps::CHT_COVER}, {
    {.bitmap = bitmaps::CHT_NEEDLE, .pivot = {123, 200}, .offset = {0, 5}, .token = tokens::CYLINDER_HEAD_TEMPERATURE, .table = table,
     .failures = engine_failures},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::CYLINDER_HEAD_TEMPERATURE), mouse_end_parent(), mouse_end()};

}  // namespace cht

// ------------------------------------------------------------ Oil_Temp_Press_1, Oil_Temp_Press_2

// Both gauges share their tables, failures and mouse areas; their needles sit
// on the same pivots, so the angles the host derives are the same for both.
namespace oil {

// Stored from the highest value down: the needle turns counter-clockwise as
// the pressure rises, from 6 o'clock through 108° to 12 o'clock.
NonlinearityEntry right_pressure_table[] = {
    //    lb/ft²  point        psi  direction
    through(5040, 162, 118),   // 35   359°
    through(4320, 162, 118),   // 30   359°
    through(2160, 227, 203),   // 15   108°
    through(720,  162, 250),   //  5   181°
    through(0,    162, 250),   //  0   181°
};
NonlinearityEntry left_pressure_table[] = {
    through(-144,  118, 250),  //  -1  181°
    through(0,     118, 250),  //   0  181°
    through(14400, 53, 182),   // 100  270°
    through(28800, 118, 117),  // 200  359°
    through(43200, 118, 117),  // 300  359°
};
NonlinearityEntry temperature_table[] = {
    //    °R      point        °C   direction
    through(489.87, 22, 110),   //  -1  285°
    through(491.67, 22, 110),   //   0  285°
    through(761.67, 259, 110),  // 150   75°
    through(851.67, 259, 110),  // 200   75°
};
static_assert(std::size(right_pressure_table) == 5 && std::size(left_pressure_table) == 5 &&
              std::size(temperature_table) == 4);

constexpr DialNeedle kNeedles[] = {
    // lower right, pounds per square foot
    {.bitmap = bitmaps::OIL_PRESSURE_NEEDLE, .pivot = {163, 182}, .offset = {8, 8}, .token = tokens::FUEL_PRESSURE, .table = right_pressure_table,
     .failures = engine_failures},
    // lower left, oil pressure in pounds per square foot
    {.bitmap = bitmaps::OIL_PRESSURE_NEEDLE, .pivot = {119, 182}, .offset = {8, 8}, .token = tokens::OIL_PRESSURE, .table = left_pressure_table,
     .failures = engine_failures},
    // upper half, oil temperature in degrees Rankine
    {.bitmap = bitmaps::OIL_TEMPERATURE_NEEDLE, .pivot = {141, 141}, .offset = {65, 10}, .token = tokens::OIL_TEMPERATURE, .table = temperature_table,
     .failures = engine_failures},
};
constexpr std::uint32_t kCover = bitmaps::OIL_COVER;

// Three help areas, each with the host's text and no tooltip entry, one for
// each scale. The oil pressure area covers the lower left quarter, where its
// needle turns, clear of the temperature area above it.
MouseRect mouse[] = {
    mouse_parent(),
    mouse_parent({0, 0, 280, 140}, CURSOR_NONE, help::OIL_TEMPERATURE),      // upper half: temperature
    mouse_end_parent(),
    mouse_parent({0, 140, 140, 140}, CURSOR_NONE, help::OIL_PRESSURE),    // lower left quarter: pressure
    mouse_end_parent(),
    mouse_parent({140, 140, 140, 140}, CURSOR_NONE, help::OIL_TEMPERATURE_AND_PRESSURE),  // lower right quarter: fuel pressure
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};

constinit Dial<3> dial_1 = make_dial(dial_1, Oil_Temp_Press_1, {.face = bitmaps::OIL_FACE_1, .cover = kCover}, kNeedles);
constinit Dial<3> dial_2 = make_dial(dial_2, Oil_Temp_Press_2, {.face = bitmaps::OIL_FACE_2, .cover = kCover}, kNeedles);

}  // namespace oil
}  // namespace

constinit GaugeHeader Tachometer = make_gauge(registry::Tachometer, tachometer::dial.chain, tachometer::mouse);
constinit GaugeHeader Manifold_Pressure =
    make_gauge(registry::Manifold_Pressure, manifold_pressure::dial.chain, manifold_pressure::mouse);
constinit GaugeHeader CHT_Indicator = make_gauge(registry::CHT_Indicator, cht::dial.chain, cht::mouse);
constinit GaugeHeader Oil_Temp_Press_1 = make_gauge(registry::Oil_Temp_Press_1, oil::dial_1.chain, oil::mouse);
constinit GaugeHeader Oil_Temp_Press_2 = make_gauge(registry::Oil_Temp_Press_2, oil::dial_2.chain, oil::mouse);

}  // namespace ardelvine::gauges
