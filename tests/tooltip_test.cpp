// Tooltip formatting, including texts a careless or hostile module might hold.
#include <gtest/gtest.h>

#include <limits>

#include "host/run/host.h"
#include "model/tokens.h"

namespace ardelvine::hostapp {
namespace {

double ARD_CALL frequency(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return 121.5;
}
double ARD_CALL volts(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return 9.25;
}
const char* ARD_CALL on(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return "On";
}
const char* ARD_CALL none(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return nullptr;
}

double g_number = 0.0;
double ARD_CALL stored(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    return g_number;
}

TooltipArg number_arg(TooltipNumberFn fn) {
    TooltipArg a{};
    a.number = fn;
    return a;
}
TooltipArg text_arg(TooltipTextFn fn) {
    TooltipArg a{};
    a.text = fn;
    return a;
}

TEST(Tooltip, Placeholders) {
    Simulation sim;
    sim.set_token(tokens::HYDRAULIC_PRESSURE, 1500.0 * 144.0);  // pounds per square foot
    const TooltipArg radio[] = {number_arg(frequency), text_arg(on)};
    const TooltipArg volt[] = {number_arg(volts)};
    const TooltipArg empty_text[] = {text_arg(none)};
    struct Case {
        const char* text;
        const TooltipArg* args;
        std::uint32_t count;
        const char* shown;
    } cases[] = {
        {"Communications Radio COM1 - %1!07.3f! MHz", radio, 2, "Communications Radio COM1 - 121.500 MHz"},
        {"COM1 main switch (%2!s!)", radio, 2, "COM1 main switch (On)"},  // names fewer than it holds
        {"Main bus voltage (%1!4.1f! volts)", volt, 1, "Main bus voltage ( 9.2 volts)"},
        {"Hydraulic Pressure (%((A:HYDRAULIC PRESSURE, psi))%!d! PSI)", nullptr, 0, "Hydraulic Pressure (1500 PSI)"},
        {"Plain text", nullptr, 0, "Plain text"},
        {"%1!d! and %1!x!", volt, 1, "9 and 9"},
        {"(%1!s!)", empty_text, 1, "()"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_tooltip(c.text, c.args, c.count, sim), c.shown) << c.text;
}

// An integer conversion shows the whole part a reading has passed, not the
// nearest one: a needle at 9.7 has not reached 10.
TEST(Tooltip, IntegerConversionsTruncateTowardZero) {
    Simulation sim;
    const TooltipArg arg[] = {number_arg(stored)};
    const struct {
        double value;
        const char* shown;
    } cases[] = {{9.7, "9 9"}, {-9.7, "-9 -9"}, {0.99, "0 0"}, {-0.5, "0 0"}, {255.9, "255 255"}};
    for (const auto& c : cases) {
        g_number = c.value;
        EXPECT_EQ(format_tooltip("%1!d! %1!i!", arg, 1, sim), c.shown) << c.value;
    }
}

TEST(Tooltip, HostileTextsNeverReadPastArgumentsOrRunLong) {
    Simulation sim;
    const TooltipArg one[] = {number_arg(volts)};
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = {
        {"%2!s!", ""},                    // beyond the array: nothing is read
        {"%0!d!", "%0!d!"},               // arguments count from 1: not a placeholder
        {"%1!n!", "%1!n!"},               // no conversion that writes
        {"%1!ld!", "%1!ld!"},             // no length modifiers
        {"%1!*d!", "%1!*d!"},             // no widths from arguments
        {"%1!999d!", "%1!999d!"},         // no huge widths
        {"%1!.9999f!", "%1!.9999f!"},
        {"%1!s", "%1!s"},                 // unterminated
        {"100%", "100%"},
        {"%%1!d!", "%9"},
        {"%((A:NOTHING, psi))%!d!", "0"},  // an unknown expression reads 0
        {"%((A:HYDRAULIC PRESSURE, psi))", "%((A:HYDRAULIC PRESSURE, psi))"},
        {"%1!#s! %1!0s!", "9.25 9.25"},   // flags that mean nothing for %s are dropped
    };
    for (const Case& c : cases) EXPECT_EQ(format_tooltip(c.text, one, 1, sim), c.shown) << c.text;

    std::string huge(10000, 'x');
    EXPECT_EQ(format_tooltip(huge.c_str(), nullptr, 0, sim).size(), kTooltipMax);
    std::string many;
    for (int i = 0; i < 500; ++i) many += "%1!64.1f!";
    EXPECT_LE(format_tooltip(many.c_str(), one, 1, sim).size(), kTooltipMax);
    EXPECT_EQ(format_tooltip(nullptr, one, 1, sim), "");
}

// Every help id a gauge of the module shows has a text in the host; a new
// id without one would show only as a number.
TEST(Tooltip, EveryHelpIdOfTheModuleHasAHostText) {
    PanelServices none{};
    LoadedModule module(ARD_DEFAULT_MODULE, &none);
    std::size_t ids = 0;
    for (const GaugeHeader* g : module.gauges()) {
        for (const MouseRect* r = g->mouse; r != nullptr && r->kind != MouseKind::END; ++r) {
            if (r->help_id == 0) continue;
            ++ids;
            EXPECT_NE(help_text(r->help_id), nullptr) << g->name << " help id 0x" << std::hex << r->help_id;
        }
    }
    EXPECT_GT(ids, 20u);
}

// A number too long for its conversion, or for what is left of the tooltip,
// is shown in exponent form rather than cut.
TEST(Tooltip, NumbersAreNeverCutShort) {
    Simulation sim;
    const TooltipArg arg[] = {number_arg(stored)};
    struct Case {
        const char* text;
        double value;
        const char* shown;
    } cases[] = {
        {"%1!f!", 1e200, "1.000000e+200"},
        {"%1!.2f!", -1e300, "-1.00e+300"},
        {"%1!d!", 1e200, "1.000000e+200"},
        {"%1!.3d!", -5e19, "-5.000000e+19"},
        {"%1!d!", std::numeric_limits<double>::quiet_NaN(), "nan"},
        {"%1!x!", std::numeric_limits<double>::infinity(), "inf"},
        {"%1!f!", 12345.5, "12345.500000"},
        {"%1!d!", -9e18, "-9000000000000000000"},
    };
    for (const Case& c : cases) {
        g_number = c.value;
        EXPECT_EQ(format_tooltip(c.text, arg, 1, sim), c.shown) << c.text << " " << c.value;
    }
    // Near the cap, a number that would be cut falls back to exponent form.
    g_number = 1e40;
    const std::string text = std::string(kTooltipMax - 20, '.') + "%1!f!";
    const std::string shown = format_tooltip(text.c_str(), arg, 1, sim);
    EXPECT_EQ(shown.substr(kTooltipMax - 20), "1.000000e+40");
}

}  // namespace
}  // namespace ardelvine::hostapp
