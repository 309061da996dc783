// Tooltip texts. A module text may hold placeholders "%n!fmt!" (argument n,
// from 1, formatted with a printf conversion) and "%((expression))%!fmt!" (a
// host variable expression). Texts come from a module the host does not
// trust: only conversions a tooltip can mean are accepted, widths and
// precisions are bounded, arguments past the array are never read and the
// result never grows past kTooltipMax characters. Anything that is not a
// well-formed placeholder is shown as it stands.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "host/run/host.h"
#include "resources/help.h"

namespace ardelvine::hostapp {

namespace {

constexpr int kMaxWidth = 64;
constexpr std::size_t kMaxArgText = 256;
constexpr std::size_t kMaxExpression = 256;

struct Conversion {
    char format[24];  // a printf conversion built from checked parts
    char type;
    std::size_t length;  // characters consumed, "!...!" included
};

// Parses "!fmt!" at `p`: flags, width, precision and one conversion letter.
bool parse_conversion(const char* p, Conversion& out) {
    if (*p != '!') return false;
    const char* q = p + 1;
    std::string flags;
    while (*q != '\0' && std::strchr("-+ 0#", *q) != nullptr && flags.size() < 5) flags += *q++;
    std::string size;
    int width = 0, digits = 0;
    while (*q >= '0' && *q <= '9' && digits < 3) width = width * 10 + (*q - '0'), size += *q++, ++digits;
    if (width > kMaxWidth || (*q >= '0' && *q <= '9')) return false;
    if (*q == '.') {
        size += *q++;
        int precision = 0;
        digits = 0;
        while (*q >= '0' && *q <= '9' && digits < 3) precision = precision * 10 + (*q - '0'), size += *q++, ++digits;
        if (precision > kMaxWidth || (*q >= '0' && *q <= '9')) return false;
    }
    if (*q == '\0' || std::strchr("diuxXofFeEgGs", *q) == nullptr || q[1] != '!') return false;
    out.type = *q;
    // Flags that mean nothing for the conversion are dropped rather than handed to printf.
    const char* meaningless = out.type == 's' ? "0#+ " : (std::strchr("diu", out.type) != nullptr ? "#" : "");
    std::string kept;
    for (char ch : flags)
        if (std::strchr(meaningless, ch) == nullptr) kept += ch;
    std::snprintf(out.format, sizeof out.format, "%%%s%s%c", kept.c_str(), size.c_str(), out.type);
    out.length = static_cast<std::size_t>(q + 2 - p);
    return true;
}

// The conversion with its letter replaced by `type`, precision kept.
std::string with_type(const Conversion& c, char type) {
    std::string f(c.format);
    f.back() = type;
    return f;
}

// A number as the conversion asks for it, or in exponent form when it would
// run past the widest field (a 200-digit reading helps nobody), would not fit
// in the `room` left, or an integer conversion cannot hold it; a number is
// never shown cut short.
std::string format_number(const Conversion& c, double value, std::size_t room) {
    char buffer[kTooltipMax + kMaxWidth + 8];
    int n = -1;
    switch (c.type) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            // Integer conversions show the value truncated toward zero.
            if (std::isfinite(value) && std::fabs(std::trunc(value)) < 9.2e18) {
                std::string with_ll(c.format);
                with_ll.insert(with_ll.size() - 1, "ll");
                n = std::snprintf(buffer, sizeof buffer, with_ll.c_str(), static_cast<long long>(std::trunc(value)));
            }
            break;
        }
        case 's':
            n = std::snprintf(buffer, sizeof buffer, "%g", value);
            break;
        default:
            n = std::snprintf(buffer, sizeof buffer, c.format, value);
            break;
    }
    if (n < 0 || n > kMaxWidth || static_cast<std::size_t>(n) > room) {
        // An integer conversion's precision counts digits, not decimals: drop it.
        std::string f = with_type(c, 'e');
        if (std::strchr("diuxXo", c.type) != nullptr) {
            if (const auto dot = f.find('.'); dot != std::string::npos) f.erase(dot, f.size() - 1 - dot);
        }
        std::snprintf(buffer, sizeof buffer, f.c_str(), value);
    }
    return buffer;
}

std::string format_text(const Conversion& c, const char* text, std::size_t room) {
    const std::string bounded = text != nullptr ? std::string(text, strnlen(text, kMaxArgText)) : std::string();
    if (c.type != 's') return format_number(c, 0.0, room);
    char buffer[kMaxArgText + kMaxWidth + 1];
    std::snprintf(buffer, sizeof buffer, c.format, bounded.c_str());
    return buffer;
}

std::string format_argument(const Conversion& c, const TooltipArg& arg, std::size_t room) {
    if (arg.text != nullptr) return format_text(c, arg.text(0, 0, 0, 0, 0, 0), room);
    if (arg.number != nullptr) return format_number(c, arg.number(0, 0, 0, 0, 0, 0), room);
    return format_number(c, 0.0, room);
}

}  // namespace

std::string format_tooltip(const char* text, const TooltipArg* args, std::uint32_t count, const Simulation& sim) {
    std::string out;
    if (text == nullptr) return out;
    const char* p = text;
    const char* end = text + strnlen(text, 4096);
    while (p < end && out.size() < kTooltipMax) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        Conversion c{};
        // %n!fmt!
        if (p[1] >= '1' && p[1] <= '9') {
            const char* q = p + 1;
            unsigned n = 0;
            while (*q >= '0' && *q <= '9' && n < 1000) n = n * 10 + static_cast<unsigned>(*q++ - '0');
            if (parse_conversion(q, c)) {
                if (args != nullptr && n >= 1 && n <= count) out += format_argument(c, args[n - 1], kTooltipMax - out.size());
                p = q + c.length;
                continue;
            }
        }
        // %((expression))%!fmt!
        if (p[1] == '(' && p[2] == '(') {
            const char* close = std::strstr(p + 3, "))%");
            if (close != nullptr && close < end && static_cast<std::size_t>(close - p) < kMaxExpression &&
                parse_conversion(close + 3, c)) {
                const std::string expression(p + 2, close + 1);  // "(A:..., unit)"
                double value = 0.0;
                const char* result_text = nullptr;
                sim.evaluate(expression, &value, &result_text);
                out += result_text != nullptr && c.type == 's' ? format_text(c, result_text, kTooltipMax - out.size())
                                                               : format_number(c, value, kTooltipMax - out.size());
                p = close + 3 + c.length;
                continue;
            }
        }
        out += *p++;
    }
    if (out.size() > kTooltipMax) out.resize(kTooltipMax);
    return out;
}

const char* help_text(std::uint32_t id) {
    struct Entry {
        std::uint32_t id;
        const char* text;
    };
    static constexpr Entry kTexts[] = {
        {help::AIRSPEED_INDICATOR, "Airspeed indicator"},
        {help::CLOCK, "Clock"},
        {help::GENERATOR_WARNING_LIGHT, "Generator warning light"},
        {help::ALTIMETER, "Altimeter"},
        {help::ALTIMETER_SETTING_KNOB, "Altimeter setting knob"},
        {help::TURN_COORDINATOR, "Turn coordinator"},
        {help::ATTITUDE_INDICATOR, "Attitude indicator"},
        {help::VERTICAL_SPEED_INDICATOR, "Vertical speed indicator"},
        {help::MANIFOLD_PRESSURE, "Manifold pressure gauge"},
        {help::CYLINDER_HEAD_TEMPERATURE, "Cylinder head temperature gauge"},
        {help::TRANSPONDER, "Transponder"},
        {help::MIXTURE_LEVER, "Mixture lever"},
        {help::PROPELLER_LEVER, "Propeller lever"},
        {help::THROTTLE_LEVER, "Throttle lever"},
        {help::MAGNETIC_COMPASS, "Magnetic compass"},
        {help::HEADING_INDICATOR, "Heading indicator"},
        {help::TACHOMETER, "Tachometer"},
        {help::OUTSIDE_AIR_TEMPERATURE, "Outside air temperature gauge"},
        {help::CARBURETOR_HEAT, "Carburetor heat"},
        {help::CLOCK_AREA, "Clock"},
        {help::OIL_TEMPERATURE_AND_PRESSURE, "Oil temperature and pressure"},
        {help::HEADING_INDICATOR_AREA, "Heading indicator"},
        {help::NAV_GPS_SWITCH, "NAV/GPS switch"},
        {help::OIL_PRESSURE, "Oil pressure gauge"},
        {help::OIL_TEMPERATURE, "Oil temperature gauge"},
        {help::STARTER_SWITCH, "Starter switch"},
        {help::RADIO_STACK_WINDOW, "Display/Hide the radio stack"},
        {help::GPS_WINDOW, "Display/Hide the GPS"},
        {help::THROTTLE_QUADRANT_WINDOW, "Display/Hide the throttle quadrant"},
        {help::COMPASS_WINDOW, "Display/Hide the compass"},
        {help::FUEL_PANEL_WINDOW, "Display/Hide the fuel panel"},
        {help::COLLECTIVE_WINDOW, "Display/Hide the collective"},
        {help::MAP_WINDOW, "Display/Hide the map"},
        {help::KNEEBOARD_WINDOW, "Display/Hide the kneeboard"},
        {help::ATC_WINDOW, "Display/Hide the ATC window"},
    };
    for (const Entry& e : kTexts)
        if (e.id == id) return e.text;
    return nullptr;
}

}  // namespace ardelvine::hostapp
