// The systems dials: hydraulic pressure, outside air temperature and the main
// bus voltmeter, whose tooltip reads the voltage itself.
#include "gauges/instruments/dial.h"
#include "module/host.h"
#include "model/failures.h"
#include "resources/help.h"

namespace ardelvine::gauges {
namespace {
using namespace dials;

double ARD_CALL voltmeter_bus_volts(ARD_TOOLTIP_WORDS) { return panel_services::read_token(tokens::MAIN_BUS_VOLTAGE); }

// ------------------------------------------------------------ Hydr_Press_Indicator

namespace hydraulic {

// Pounds per square foot; marks every 1000 psi.
NonlinearityEntry table[] = {
    //    lb/ft²    point        psi   direction
    through(-1,     30, 108),   //   –    270°
    through(0,      30, 108),   //    0   270°
    through(144000, 108, 30),   // 1000     0°
    through(288000, 270, 108),  // 2000    90°
    through(432000, 270, 108),  // 3000    90°
};
static_assert(std::size(table) == 5);

constinit Dial<1> dial = make_dial(dial, Hydr_Press_Indicator, {.face = bitmaps::HYDRAULIC_FACE, .cover = bitmaps::HYDRAULIC_COVER}, {
    {.bitmap = bitmaps::HYDRAULIC_NEEDLE, .pivot = {108, 108}, .offset = {39, 10}, .token = tokens::HYDRAULIC_PRESSURE, .table = table, .failures = nullptr},
});

// The host evaluates the bracketed variable itself; there are no arguments.
MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Hydraulic Pressure (%((A:HYDRAULIC PRESSURE, psi))%!d! PSI)"),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace hydraulic

// ------------------------------------------------------------ OAT_Indicator

namespace oat {

NonlinearityEntry table[] = {
    //    °C   point        direction
    through(-70, 35, 89),    // 320°
    through(-50, 35, 89),    // 320°
    through(-30, 59, 74),    // 337°
    through(0,   97, 65),    //   0°
    through(30,  135, 74),   //  23°
    through(50,  157, 88),   //  39°
    through(70,  157, 88),   //  39°
};
static_assert(std::size(table) == 7);

constinit Dial<1> dial = make_dial(dial, OAT_Indicator, {.face = bitmaps::OAT_FACE, .cover = bitmaps::OAT_COVER}, {
    {.bitmap = bitmaps::OAT_NEEDLE, .pivot = {97, 162}, .offset = {0, 2}, .token = tokens::OUTSIDE_AIR_TEMPERATURE, .table = table, .failures = nullptr},
});

MouseRect mouse[] = {mouse_parent(), mouse_tooltip_id(help::OUTSIDE_AIR_TEMPERATURE), mouse_end_parent(), mouse_end()};

}  // namespace oat

// ------------------------------------------------------------ Voltmeter

namespace voltmeter {

NonlinearityEntry table[] = {
    //   volts point        direction
    through(-1, 42, 94),     // 314°
    through(0,  42, 94),     // 314°
    through(15, 107, 67),    //   0°
    through(30, 171, 92),    //  45°
    through(50, 171, 92),    //  45°
};
static_assert(std::size(table) == 5);

FailureRecord failures[] = {{failures::ENGINE, FAIL_NONE}, {failures::ELECTRICAL, FAIL_ZERO}, {0}};

constinit Dial<1> dial = make_dial(dial, Voltmeter, {.face = bitmaps::VOLTMETER_FACE, .cover = bitmaps::VOLTMETER_COVER}, {
    {.bitmap = bitmaps::VOLTMETER_NEEDLE, .pivot = {107, 157}, .offset = {0, 4}, .token = tokens::MAIN_BUS_VOLTAGE, .table = table,
     .failures = failures},
});

TooltipArg tooltip_args[] = {tooltip_number(voltmeter_bus_volts)};

MouseRect mouse[] = {
    mouse_parent(),
    mouse_tooltip("Main bus voltage (%1!4.1f! volts)", tooltip_args),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace voltmeter
}  // namespace

constinit GaugeHeader Hydr_Press_Indicator =
    make_gauge(registry::Hydr_Press_Indicator, hydraulic::dial.chain, hydraulic::mouse);
constinit GaugeHeader OAT_Indicator = make_gauge(registry::OAT_Indicator, oat::dial.chain, oat::mouse);
constinit GaugeHeader Voltmeter = make_gauge(registry::Voltmeter, voltmeter::dial.chain, voltmeter::mouse);

}  // namespace ardelvine::gauges
