// The table-driven dials as records: chain and mouse-list shape, the needle
// tables read geometrically, the altimeter card's clamp and the voltmeter's
// tooltip producer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "model/elements.h"
#include "module/exports.h"
#include "module/gauge_list.h"
#include "resources/catalogue.h"
#include "model/failures.h"

namespace ardelvine {
namespace {

using namespace gauges;

std::vector<ElementHeader*> chain_of(const GaugeHeader& gauge) {
    std::vector<ElementHeader*> chain;
    for (ElementHeader* e = gauge.elements[0]; e != nullptr; e = e->children ? e->children[0] : nullptr)
        chain.push_back(e);
    return chain;
}

Needle& needle_at(const GaugeHeader& gauge, std::uint32_t index) {
    ElementHeader* e = element_down(gauge.elements[0], index);
    EXPECT_NE(e, nullptr);
    EXPECT_EQ(e->kind, ElementKind::NEEDLE);
    return *reinterpret_cast<Needle*>(e);
}

// ------------------------------------------------------------ chain and mouse shape

struct DialShape {
    GaugeHeader* gauge;
    const GaugeEntry& entry;     // name and width, from the registry
    std::size_t elements;        // background, moving parts, cover
    std::uint32_t tooltip_help;  // help id of the tooltip entry, 0 for a module text
};

const std::vector<DialShape>& dial_shapes() {
    static const std::vector<DialShape> shapes = {
        {&Airspeed, registry::Airspeed, 3, 0x3002},
        {&Altimeter, registry::Altimeter, 6, 0x3051},
        {&Vertical_Speed, registry::Vertical_Speed, 3, 0x3099},
        {&Tachometer, registry::Tachometer, 4, 0x3210},
        {&Manifold_Pressure, registry::Manifold_Pressure, 3, 0x30A0},
        {&CHT_Indicator, registry::CHT_Indicator, 3, 0x30D0},
        {&Oil_Temp_Press_1, registry::Oil_Temp_Press_1, 5, 0},
        {&Oil_Temp_Press_2, registry::Oil_Temp_Press_2, 5, 0},
        {&Hydr_Press_Indicator, registry::Hydr_Press_Indicator, 3, 0},
        {&OAT_Indicator, registry::OAT_Indicator, 3, 0x3224},
        {&Voltmeter, registry::Voltmeter, 3, 0},
    };
    return shapes;
}

TEST(Dials, EachElementsOnlyChildIsTheNextOneAndTheCoverIsInnermost) {
    for (const DialShape& d : dial_shapes()) {
        SCOPED_TRACE(d.entry.name);
        const GaugeHeader& g = *d.gauge;
        EXPECT_EQ(g.version, kGaugeHeaderVersion);
        EXPECT_STREQ(g.name, d.entry.name);
        EXPECT_EQ(g.default_width, d.entry.width);
        EXPECT_EQ(g.callback, nullptr);
        ASSERT_NE(g.elements, nullptr);
        EXPECT_EQ(g.elements[1], nullptr);

        std::vector<ElementHeader*> chain = chain_of(g);
        ASSERT_EQ(chain.size(), d.elements);
        for (std::size_t i = 0; i < chain.size(); ++i) {
            SCOPED_TRACE(i);
            const ElementHeader& e = *chain[i];
            // Every bitmap is catalogued, the face as this dial's own.
            const resources::BitmapRecord* art = resources::find_bitmap(e.bitmap);
            ASSERT_NE(art, nullptr) << e.bitmap;
            if (i == 0) {
                EXPECT_EQ(art->gauge, g.name) << e.bitmap;
            }
            EXPECT_EQ(e.gauge, &g);
            if (i + 1 < chain.size()) {
                ASSERT_NE(e.children, nullptr);
                EXPECT_EQ(e.children[1], nullptr) << "one child per element";
            } else {
                EXPECT_EQ(e.children, nullptr) << "the cover is the innermost element";
            }
            if (i == 0 || i + 1 == chain.size()) {
                EXPECT_EQ(e.kind, ElementKind::STATIC_IMAGE);
                EXPECT_EQ(e.image_flags, i == 0 ? 0x4003u : 0x3u);
                EXPECT_EQ(e.failures, nullptr);
                continue;
            }
            EXPECT_EQ(e.image_flags, 0x4083u);
            if (e.kind != ElementKind::NEEDLE) continue;  // the altimeter card, checked below
            const auto& n = reinterpret_cast<const Needle&>(e);
            EXPECT_NE(n.source.token, 0u);
            EXPECT_EQ(n.update, nullptr);
            EXPECT_EQ(n.max_swing, 0u);
            EXPECT_NE(n.table, nullptr);
        }
    }
}

TEST(Dials, MouseListsOpenOnTheWholeGaugeBalanceAndCarryTheirTooltip) {
    for (const DialShape& d : dial_shapes()) {
        SCOPED_TRACE(d.entry.name);
        const MouseRect* m = d.gauge->mouse;
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m[0].kind, MouseKind::PARENT);
        EXPECT_EQ(m[0].x | m[0].y | m[0].width | m[0].height, 0);
        int depth = 0;
        std::size_t i = 0;
        for (; m[i].kind != MouseKind::END; ++i) {
            if (m[i].kind == MouseKind::PARENT) ++depth;
            if (m[i].kind == MouseKind::END_PARENT) --depth;
            if (depth == 0) {
                ASSERT_EQ(m[i + 1].kind, MouseKind::END) << "everything lies inside the whole-gauge area";
            }
        }
        EXPECT_EQ(depth, 0);
        if (d.gauge == &Oil_Temp_Press_1 || d.gauge == &Oil_Temp_Press_2) continue;  // help areas only
        const MouseRect* tooltip = m;
        while (tooltip->kind != MouseKind::TOOLTIP && tooltip->kind != MouseKind::END) ++tooltip;
        ASSERT_EQ(tooltip->kind, MouseKind::TOOLTIP);
        EXPECT_EQ(tooltip->help_id, d.tooltip_help);
    }
}

TEST(Dials, HydraulicTooltipLeavesTheValueToTheHost) {
    const MouseRect& tooltip = Hydr_Press_Indicator.mouse[1];
    EXPECT_STREQ(tooltip.tooltip_text, "Hydraulic Pressure (%((A:HYDRAULIC PRESSURE, psi))%!d! PSI)");
    EXPECT_EQ(tooltip.event_id, 0u);
    EXPECT_EQ(tooltip.args, nullptr);
}

// ------------------------------------------------------------ needles and tables

// Direction from the pivot to a table point, degrees clockwise from 12 o'clock.
double direction(const Needle& n, const NonlinearityEntry& e) {
    double deg = std::atan2(e.x - n.header.x, n.header.y - e.y) * 180.0 / std::numbers::pi;
    return deg < 0 ? deg + 360.0 : deg;
}

// Sum of the clockwise turns from entry to entry in stored order. A transposed
// pair of rows adds a whole turn; a wrong point shifts it.
double sweep(const Needle& n) {
    double total = 0.0;
    for (std::uint32_t i = 1; i < n.table_entries; ++i) {
        double step = direction(n, n.table[i]) - direction(n, n.table[i - 1]);
        total += step < 0 ? step + 360.0 : step;
    }
    return total;
}

bool same_point(const NonlinearityEntry& a, const NonlinearityEntry& b) { return a.x == b.x && a.y == b.y; }

using Failures = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (key, action)

struct NeedleCase {
    GaugeHeader* gauge;
    std::uint32_t index;  // in the chain
    std::uint32_t token;
    std::uint32_t entries;
    double sweep;  // degrees, clockwise in stored order
    bool pinned_low, pinned_high;  // the end segment is between two equal points
    Failures failures;
};

const Failures kEngine = {{failures::ENGINE, 0}, {failures::ELECTRICAL, 2}};
const Failures kAltitude = {{failures::PITOT_STATIC, 1}, {failures::ALTIMETER, 1}};

const std::vector<NeedleCase> kNeedles = {
    {&Airspeed, 1, 61, 8, 682.3, false, true, {{failures::AIRSPEED, 2}, {failures::PITOT_STATIC, 2}}},
    {&Altimeter, 2, 74, 2, 180.0, false, false, kAltitude},
    {&Altimeter, 3, 74, 2, 180.0, false, false, kAltitude},
    {&Altimeter, 4, 74, 3, 180.0, true, false, kAltitude},
    {&Vertical_Speed, 1, 65, 17, 313.5, true, true, {{failures::VERTICAL_SPEED, 1}, {failures::PITOT_STATIC, 2}}},
    {&Tachometer, 1, 390, 7, 263.5, true, true, kEngine},
    {&Tachometer, 2, 390, 2, 180.0, false, false, kEngine},
    {&Manifold_Pressure, 1, 391, 5, 300.0, true, true, kEngine},
    {&CHT_Indicator, 1, 415, 5, 90.4, true, true, kEngine},
    {&Oil_Temp_Press_1, 1, 425, 5, 181.7, true, true, kEngine},
    {&Oil_Temp_Press_1, 2, 562, 5, 178.3, true, true, kEngine},
    {&Oil_Temp_Press_1, 3, 561, 4, 150.7, true, true, kEngine},
    {&Hydr_Press_Indicator, 1, 732, 5, 180.0, true, true, {}},
    {&OAT_Indicator, 1, 341, 7, 79.4, true, true, {}},
    {&Voltmeter, 1, 753, 5, 90.5, true, true, kEngine},
};

TEST(Dials, NeedleTablesTurnThroughTheirScales) {
    for (const NeedleCase& c : kNeedles) {
        SCOPED_TRACE(std::string(c.gauge->name) + " element " + std::to_string(c.index));
        const Needle& n = needle_at(*c.gauge, c.index);
        EXPECT_EQ(n.source.token, c.token);
        ASSERT_EQ(n.table_entries, c.entries);
        EXPECT_NEAR(sweep(n), c.sweep, 0.1);
        EXPECT_EQ(same_point(n.table[0], n.table[1]), c.pinned_low);
        EXPECT_EQ(same_point(n.table[c.entries - 2], n.table[c.entries - 1]), c.pinned_high);

        // Values run one way only: up everywhere but token 425's table.
        const bool falling = c.token == 425;
        for (std::uint32_t i = 1; i < n.table_entries; ++i) {
            EXPECT_EQ(n.table[i].value < n.table[i - 1].value, falling) << "row " << i;
            EXPECT_EQ(n.table[i].angle, 0.0);
        }

        Failures failures;
        for (const FailureRecord* f = n.header.failures; f && f->key != 0; ++f) {
            failures.emplace_back(f->key, f->action);
            EXPECT_EQ(f->reserved, 0u);
        }
        EXPECT_EQ(failures, c.failures);
    }
}

TEST(Dials, VerticalSpeedValuesAreTheMarksToTenDigits) {
    // Vertical speed: marks in feet per minute times 1.3004799584, to ten
    // significant digits, symmetrical about 0.
    const Needle& vs = needle_at(Vertical_Speed, 1);
    for (std::uint32_t i = 0; i < vs.table_entries; ++i) {
        SCOPED_TRACE(i);
        const double value = vs.table[i].value;
        const double mark = std::round(value / 1.3004799584 / 500.0) * 500.0;
        EXPECT_NEAR(value, mark * 1.3004799584, std::fabs(value) * 5e-10);
        EXPECT_EQ(value, -vs.table[vs.table_entries - 1 - i].value);
    }
    EXPECT_EQ(vs.table[0].value, -8453.119730);
    EXPECT_EQ(vs.table[7].value, -650.2399792);
}

// ------------------------------------------------------------ altimeter card

Sprite& baro_card() {
    ElementHeader* e = element_down(Altimeter.elements[0], 1);
    EXPECT_EQ(e->kind, ElementKind::SPRITE);
    return *reinterpret_cast<Sprite*>(e);
}

TEST(Dials, AltimeterCardStopsAtTheEndsOfItsScale) {
    Sprite& card = baro_card();
    EXPECT_EQ(card.rotation.source.token, 76u);
    EXPECT_EQ(card.rotation.scale, 90.0);
    ASSERT_NE(card.rotation_update, nullptr);
    const double saved = card.rotation.source.value;
    struct Case {
        double setting, turn_deg;
    };
    const Case cases[] = {
        {0.0, -180.0},  {27.0, -180.0}, {27.9, -180.0}, {28.4, -135.0}, {29.9, 0.0},
        {30.92, 91.8},  {31.49, 143.1}, {31.5, 144.0},  {32.0, 144.0},   {99.0, 144.0},
        {std::numeric_limits<double>::quiet_NaN(), -180.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        card.rotation.source.value = c.setting;
        EXPECT_NEAR(card.rotation_update(&card.header) * card.rotation.scale, c.turn_deg, 1e-9);
    }
    card.rotation.source.value = saved;
    EXPECT_EQ(card.rotation_update(nullptr), 0.0);
}

// ------------------------------------------------------------ voltmeter tooltip

ModuleVar g_seen;
int g_lookups = 0;

void ARD_CALL fake_lookup_var(ModuleVar* var) {
    g_seen = *var;
    ++g_lookups;
    var->value = var->token == 753 ? 9.46 : -1.0;
}

// Installs a panel-services table whose only entry is lookup_var, for the
// lifetime of the object.
struct FakeServices {
    PanelServices table{};
    PanelServices* saved;
    FakeServices() : saved(ImportTable.panel.table) {
        table.entry[ENTRY_LOOKUP_VAR - 1] = reinterpret_cast<ServiceEntry>(&fake_lookup_var);
        ImportTable.panel.table = &table;
    }
    ~FakeServices() { ImportTable.panel.table = saved; }
};

TEST(Dials, VoltmeterTooltipReadsTheBusVoltageThroughTheHost) {
    const MouseRect& tooltip = Voltmeter.mouse[1];
    ASSERT_EQ(tooltip.event_id, 1u);
    TooltipNumberFn volts = tooltip.args[0].number;
    ASSERT_NE(volts, nullptr);
    {
        FakeServices services;
        g_lookups = 0;
        g_seen = ModuleVar{1, reinterpret_cast<void*>(1), 1, 1.0, 1.0};
        EXPECT_EQ(volts(1, 2, 3, 4, 5, 6), 9.46);
        EXPECT_EQ(g_lookups, 1);
        EXPECT_EQ(g_seen.token, 753u);
        EXPECT_EQ(g_seen.host_pointer, nullptr);
        EXPECT_EQ(g_seen.value_type, 0u);
        EXPECT_EQ(g_seen.value, 0.0);
        EXPECT_EQ(g_seen.previous, 0.0);
    }
    // Without the host's table there is nothing to read.
    EXPECT_EQ(volts(0, 0, 0, 0, 0, 0), 0.0);
}

}  // namespace
}  // namespace ardelvine
