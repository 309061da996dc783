// The fuel quantity gauge: one face in four quarters, one needle per tank
// (left main upper left, right main upper right, auxiliaries below) and a
// tooltip per quarter with the tank's contents in gallons.
//
// The simulation gives each tank's level as a fraction scaled to 8388610 and
// each tank's capacity in gallons; the needles show gallons, worked out with
// the capacities that the start-state gauges captured. Each needle keeps the
// gallons it last showed, and its quarter's tooltip tells exactly that.
//
// Left needles pivot on the left edge of their quarter and right needles on
// the right edge, so the left tables run from full down to empty and those
// needles turn counter-clockwise as the tank fills.
#include "gauges/systems/fuel_tanks.h"

#include "gauges/instruments/dial.h"
#include "model/tokens.h"
#include "module/host.h"
#include "model/failures.h"

namespace ardelvine::gauges {

FuelTanks FuelTankCapacities = {0.0, 0.0, 0.0, 0.0};

void capture_fuel_tank_capacities() {
    struct Capture {
        std::uint32_t token;
        double FuelTanks::* capacity;
    };
    // The order the simulation is asked in.
    constexpr Capture kCaptures[] = {
        {tokens::FUEL_LEFT_AUX_CAPACITY, &FuelTanks::left_aux},
        {tokens::FUEL_RIGHT_AUX_CAPACITY, &FuelTanks::right_aux},
        {tokens::FUEL_LEFT_MAIN_CAPACITY, &FuelTanks::left_main},
        {tokens::FUEL_RIGHT_MAIN_CAPACITY, &FuelTanks::right_main},
    };
    for (const Capture& c : kCaptures) {
        const double gallons = panel_services::read_token(c.token);
        if (gallons > 0.0) FuelTankCapacities.*c.capacity = gallons;
    }
}

namespace {
using namespace dials;

// A level variable at this value is a full tank.
constexpr double kFullLevel = 8388610.0;

// The gallons each needle last showed.
FuelTanks contents = {0.0, 0.0, 0.0, 0.0};

template <double FuelTanks::* Tank>
double ARD_CALL tank_gallons(ElementHeader* element) {
    if (element == nullptr) return contents.*Tank;
    const double level = reinterpret_cast<const Needle*>(element)->source.value;
    contents.*Tank = FuelTankCapacities.*Tank * level / kFullLevel;
    return contents.*Tank;
}

template <double FuelTanks::* Tank>
double ARD_CALL tank_tip(ARD_TOOLTIP_WORDS) {
    return contents.*Tank;
}

// Main tanks: 0 to 70 gallons, held at the ends beyond.
NonlinearityEntry left_main_table[] = {
    //  gal  point        direction
    through(80, 123, 20),   //  45°
    through(70, 123, 20),   //  45°
    through(60, 129, 32),   //  55°
    through(50, 138, 45),   //  67°
    through(40, 144, 60),   //  79°
    through(30, 145, 82),   //  95°
    through(20, 139, 102),  // 111°
    through(10, 131, 119),  // 125°
    through(0,  122, 129),  // 135°
    through(-1, 122, 129),  // 135°
};
NonlinearityEntry right_main_table[] = {
    through(-1, 179, 129),  // 224°
    through(0,  179, 129),  // 224°
    through(10, 170, 119),  // 235°
    through(20, 163, 102),  // 249°
    through(30, 157, 81),   // 265°
    through(40, 161, 61),   // 281°
    through(50, 162, 45),   // 293°
    through(60, 171, 32),   // 305°
    through(70, 177, 19),   // 316°
    through(80, 177, 19),   // 316°
};

// Auxiliary tanks: 0 to 30 gallons.
NonlinearityEntry left_aux_table[] = {
    through(40, 121, 173),  //  46°
    through(30, 121, 173),  //  46°
    through(25, 129, 178),  //  52°
    through(20, 134, 191),  //  63°
    through(15, 141, 205),  //  75°
    through(10, 142, 224),  //  89°
    through(5,  138, 254),  // 113°
    through(0,  123, 281),  // 136°
    through(-1, 123, 281),  // 136°
};
NonlinearityEntry right_aux_table[] = {
    through(-1, 177, 282),  // 224°
    through(0,  177, 282),  // 224°
    through(5,  161, 255),  // 247°
    through(10, 159, 224),  // 271°
    through(15, 159, 205),  // 285°
    through(20, 166, 190),  // 298°
    through(25, 171, 178),  // 308°
    through(30, 176, 170),  // 314°
    through(40, 176, 170),  // 314°
};
static_assert(std::size(left_main_table) == 10 && std::size(right_main_table) == 10);
static_assert(std::size(left_aux_table) == 9 && std::size(right_aux_table) == 9);

FailureRecord failures[] = {{failures::ENGINE, FAIL_NONE}, {failures::ELECTRICAL, FAIL_ZERO}, {0}};

constexpr std::uint32_t kNeedle = bitmaps::FUEL_NEEDLE;
constexpr Point kNeedlePivot = {23, 9};

// Drawn right auxiliary first and left main last.
constinit Dial<4> dial = make_dial(dial, Fuel_Quantity, {.face = bitmaps::FUEL_FACE, .cover = bitmaps::FUEL_COVER}, {
    {.bitmap = kNeedle, .pivot = {232, 225}, .offset = kNeedlePivot, .token = tokens::FUEL_RIGHT_AUX_LEVEL,
     .table = right_aux_table, .failures = failures, .update = &tank_gallons<&FuelTanks::right_aux>},
    {.bitmap = kNeedle, .pivot = {68, 225}, .offset = kNeedlePivot, .token = tokens::FUEL_LEFT_AUX_LEVEL,
     .table = left_aux_table, .failures = failures, .update = &tank_gallons<&FuelTanks::left_aux>},
    {.bitmap = kNeedle, .pivot = {232, 75}, .offset = kNeedlePivot, .token = tokens::FUEL_RIGHT_MAIN_LEVEL,
     .table = right_main_table, .failures = failures, .update = &tank_gallons<&FuelTanks::right_main>},
    {.bitmap = kNeedle, .pivot = {68, 75}, .offset = kNeedlePivot, .token = tokens::FUEL_LEFT_MAIN_LEVEL,
     .table = left_main_table, .failures = failures, .update = &tank_gallons<&FuelTanks::left_main>},
});

// One argument list for the four quarters; each text names only its own tank.
TooltipArg contents_args[] = {
    tooltip_number(&tank_tip<&FuelTanks::left_main>),
    tooltip_number(&tank_tip<&FuelTanks::right_main>),
    tooltip_number(&tank_tip<&FuelTanks::left_aux>),
    tooltip_number(&tank_tip<&FuelTanks::right_aux>),
};

constinit auto mouse = mouse_list(
    mouse_parent(),
    tooltip_area({0, 0, 150, 150}, mouse_tooltip("Fuel quantity left main tank (%1!3.1f! gal)", contents_args)),
    tooltip_area({150, 0, 150, 150}, mouse_tooltip("Fuel quantity right main tank (%2!3.1f! gal)", contents_args)),
    tooltip_area({0, 150, 150, 150}, mouse_tooltip("Fuel quantity left auxiliary tank (%3!3.1f! gal)", contents_args)),
    tooltip_area({150, 150, 150, 150},
                 mouse_tooltip("Fuel quantity right auxiliary tank (%4!3.1f! gal)", contents_args)),
    mouse_end_parent(),
    mouse_end());

}  // namespace

constinit GaugeHeader Fuel_Quantity = make_gauge(registry::Fuel_Quantity, dial.chain, mouse.data());

}  // namespace ardelvine::gauges
