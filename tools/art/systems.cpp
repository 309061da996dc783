// The engine and systems pictures that no general drawer fits: the fuel
// gauge's face in four quarters, the autopilot annunciator's panel with a
// legend beside every lamp and readout, and the starter's push button.
#include <cmath>
#include <map>
#include <string>
#include <string_view>

#include "model/tokens.h"
#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

// ------------------------------------------------------------ fuel quantity

// One quarter's scale: a tick every `step` gallons between the table's points,
// a heavy tick and a number on the points worth naming.
void fuel_scale(Painter& p, const Needle& n) {
    const double px = n.header.x, py = n.header.y;
    const NonlinearityEntry* t = n.table;
    const std::uint32_t count = n.table_entries;
    // The last distinct point is the end of the scale; beyond it the table holds.
    double top = 0;
    for (std::uint32_t i = 0; i + 1 < count; ++i)
        if (t[i].x != t[i + 1].x || t[i].y != t[i + 1].y) top = std::max({top, t[i].value, t[i + 1].value});
    const double step = top > 40 ? 5.0 : 2.5;
    for (std::uint32_t i = 0; i + 1 < count; ++i) {
        if (t[i].x == t[i + 1].x && t[i].y == t[i + 1].y) continue;
        const double a0 = direction(px, py, t[i].x, t[i].y), a1 = direction(px, py, t[i + 1].x, t[i + 1].y);
        double sweep = a1 - a0;
        if (sweep > kPi) sweep -= 2 * kPi;
        if (sweep < -kPi) sweep += 2 * kPi;
        const double r0 = std::hypot(t[i].x - px, t[i].y - py), r1 = std::hypot(t[i + 1].x - px, t[i + 1].y - py);
        const double lo = std::min(t[i].value, t[i + 1].value), hi = std::max(t[i].value, t[i + 1].value);
        for (double v = std::ceil(lo / step) * step; v <= hi + 1e-9; v += step) {
            const double f = (v - t[i].value) / (t[i + 1].value - t[i].value);
            const double a = a0 + f * sweep, r = r0 + f * (r1 - r0);
            p.mark(px + (r - 6) * dx_of(a), py + (r - 6) * dy_of(a), px + r * dx_of(a), py + r * dy_of(a), 1.3, kInk);
        }
    }
    double last_x = -100, last_y = -100;
    for (std::uint32_t i = 0; i < count; ++i) {
        const double v = t[i].value;
        if (v < 0 || v > top) continue;
        const double a = direction(px, py, t[i].x, t[i].y), r = std::hypot(t[i].x - px, t[i].y - py);
        p.mark(px + (r - 11) * dx_of(a), py + (r - 11) * dy_of(a), px + r * dx_of(a), py + r * dy_of(a), 2.6, kInk);
        // Empty, full, and round numbers that keep clear of "F".
        const double round = top > 40 ? 20.0 : 10.0;
        const bool named = v == 0 || v == top || (std::fmod(v, round) == 0 && top - v > round / 2);
        const double lx = px + (r - 21) * dx_of(a), ly = py + (r - 21) * dy_of(a);
        if (!named || std::hypot(lx - last_x, ly - last_y) < 15) continue;
        p.text(v == 0 ? "E" : v == top ? "F" : number(v), lx, ly, 10, kInk);
        last_x = lx, last_y = ly;
    }
}

}  // namespace

void draw_fuel_face(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const int w = p.width(), h = p.height();
    const double cx = w / 2.0, cy = h / 2.0, r = std::min(cx, cy) - 1;
    p.fill_rect(0, 0, w, h, kMetalDark);
    p.fill_circle(cx, cy, r, kFace);
    // The quarters: mains above, auxiliaries below, left tanks on the left.
    p.line(cx, cy - r + 4, cx, cy + r - 4, 2.0, kMetal);
    p.line(cx - r + 4, cy, cx + r - 4, cy, 2.0, kMetal);
    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::NEEDLE && art_of(e->bitmap) == Art::Needle) fuel_scale(p, as<Needle>(e));
        });
    }
    const double size = std::clamp(r * 0.065, 6.0, 11.0);
    p.text("L MAIN", cx - r * 0.36, cy - r * 0.08, size, kInk);
    p.text("R MAIN", cx + r * 0.36, cy - r * 0.08, size, kInk);
    p.text("L AUX", cx - r * 0.36, cy + r * 0.09, size, kInk);
    p.text("R AUX", cx + r * 0.36, cy + r * 0.09, size, kInk);
    const Caption c = caption_of(record.gauge);
    p.fill_rect(cx - r * 0.2, cy - size * 1.4, r * 0.4, size * 2.8, kFace);
    p.text(c.top, cx, cy - size * 0.6, size * 1.1, kInk);
    p.font_narrow(true);
    p.text(c.bottom, cx, cy + size * 0.7, std::max(9.0, size * 0.8), kInk, false);
    p.font_narrow(false);
}

// ------------------------------------------------------------ autopilot annunciator

namespace {

struct Legend {
    std::uint32_t token;
    std::string_view text;
};

// What each lamp and readout of the annunciator tells, by the autopilot
// variable it shows.
constexpr Legend kLegends[] = {
    {tokens::AUTOPILOT_AVAILABLE, "AP AVAILABLE"},
    {tokens::AUTOPILOT_ENGAGED, "AP ENGAGED"},
    {tokens::AUTOPILOT_WING_LEVELER, "WING LEVELER"},
    {tokens::AUTOPILOT_NAV1_HOLD, "NAV HOLD"},
    {tokens::AUTOPILOT_HEADING_HOLD, "HDG HOLD"},
    {tokens::AUTOPILOT_HEADING, "HDG"},
    {tokens::AUTOPILOT_ALTITUDE_HOLD, "ALT HOLD"},
    {tokens::AUTOPILOT_ALTITUDE, "ALT"},
    {tokens::AUTOPILOT_ATTITUDE_HOLD, "ATT HOLD"},
    {tokens::AUTOPILOT_GLIDE_SLOPE_HOLD, "GS HOLD"},
    {tokens::AUTOPILOT_APPROACH_HOLD, "APPR HOLD"},
    {tokens::AUTOPILOT_BACK_COURSE_HOLD, "BC HOLD"},
    {tokens::AUTOPILOT_YAW_DAMPER, "YAW DAMPER"},
    {tokens::AUTOPILOT_AIRSPEED_HOLD, "IAS HOLD"},
    {tokens::AUTOPILOT_AIRSPEED, "IAS"},
    {tokens::AUTOPILOT_MACH_HOLD, "MACH HOLD"},
    {tokens::AUTOPILOT_MACH, "MACH"},
    {tokens::AUTOPILOT_VERTICAL_SPEED_HOLD, "VS HOLD"},
    {tokens::AUTOPILOT_VERTICAL_SPEED, "VS"},
    {tokens::AUTOTHROTTLE_ARMED, "A/THR ARMED"},
    {tokens::AUTOPILOT_RPM_HOLD, "RPM HOLD"},
    {tokens::AUTOPILOT_RPM, "RPM"},
    {tokens::FLIGHT_DIRECTOR_ACTIVE, "FLT DIRECTOR"},
    {tokens::AUTOTHROTTLE_ACTIVE, "A/THR ACTIVE"},
};

std::string_view legend_of(std::uint32_t token) {
    for (const Legend& l : kLegends)
        if (l.token == token) return l.text;
    return "";
}

// An empty lamp socket, so a lamp that is out still shows where it sits.
void socket(Painter& p, double x, double y, double size, Colour lens) {
    const double cx = x + size / 2, cy = y + size / 2;
    p.fill_circle(cx, cy, size * 0.72, kMetalLight);
    p.fill_circle(cx, cy, size * 0.5, lens);
}

}  // namespace

void draw_annunciator_panel(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const int w = p.width(), h = p.height();
    p.fill_rect(0, 0, w, h, {0.20, 0.21, 0.22});
    p.rounded(2, 2, w - 4, h - 4, 8);
    p.colour({0.25, 0.26, 0.28});
    cairo_fill(p.cr());
    for (const auto& [x, y] : {std::pair{12.0, 12.0}, {w - 12.0, 12.0}, {12.0, h - 12.0}, {w - 12.0, h - 12.0}})
        p.screw(x, y, 5);
    const Caption c = caption_of(record.gauge);
    p.text(c.top, w / 2.0, 28, 18, kInk);
    p.text(c.bottom, w / 2.0, 48, 11, kInk, false);

    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        // The lamp columns, by their x: a lamp alone in its column is one the
        // panel never lights, and gets no socket; each column is headed by
        // what its lamps tell, the mode armed or the mode on.
        std::map<int, std::pair<int, int>> columns;  // x: lamps, topmost y
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind != ElementKind::ICON) return;
            auto [it, added] = columns.try_emplace(e->x, 0, e->y);
            ++it->second.first;
            it->second.second = std::min(it->second.second, e->y);
        });
        int column = 0;
        for (const auto& [x, column_lamps] : columns) {
            if (column_lamps.first < 2) continue;
            p.font_narrow(true);
            p.text(column++ == 0 ? "ARM" : "ON", x + 4, column_lamps.second - 10, 9, kInk);
            p.font_narrow(false);
        }
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::ICON && columns[e->x].first < 2) return;
            if (e->kind == ElementKind::STRING) {
                const auto& s = as<StringElement>(e);
                p.rounded(e->x - 3, e->y - 2, s.box_width + 6, s.box_height + 4, 2);
                p.colour(kDisplay);
                cairo_fill(p.cr());
                p.text_left(legend_of(s.sources[0].token), e->x + s.box_width + 12, e->y + s.box_height / 2.0, 10,
                          kInk);
            } else if (e->kind == ElementKind::ICON) {
                const BitmapRecord* lamp = resources::find_bitmap(e->bitmap);
                if (lamp == nullptr) return;
                const auto& icon = as<Icon>(e);
                const bool legend = icon.source.token != 0;
                socket(p, e->x, e->y, lamp->width, legend ? Colour{0.08, 0.20, 0.09} : Colour{0.22, 0.17, 0.06});
                if (legend) p.text_left(legend_of(icon.source.token), e->x + lamp->width + 12, e->y + lamp->height / 2.0,
                                      10, kInk);
            }
        });
    }
}

// ------------------------------------------------------------ starter

void draw_starter_button(Painter& p, const BitmapRecord& record, const Uses&) {
    // Too small for a legend: a red mushroom button, lower when pressed.
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    const bool pressed = record.variant == 1;
    p.layout().no_text();
    p.fill_circle(cx, cy, r, kMetalLight);
    p.fill_circle(cx, cy, r - 2, kMetalDark);
    const double cap = pressed ? r * 0.62 : r * 0.75;
    p.fill_circle(cx, cy, cap, pressed ? Colour{0.55, 0.08, 0.06} : Colour{0.80, 0.12, 0.10});
    p.stroke_circle(cx, cy, cap * 0.6, 1.0, pressed ? Colour{0.45, 0.06, 0.05} : Colour{0.62, 0.09, 0.07});
    if (!pressed) {
        cairo_new_sub_path(p.cr());
        cairo_arc(p.cr(), cx, cy, cap - 1.2, radians(290) - kPi / 2, radians(340) - kPi / 2);
        cairo_set_line_width(p.cr(), 1.2);
        p.colour({0.95, 0.55, 0.5});
        cairo_stroke(p.cr());
    }
}

}  // namespace ardelvine::tools::art
