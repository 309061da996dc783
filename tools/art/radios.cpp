// The radio stack and the ADF/VOR indicator, in the manner of a 1950s
// avionics rack: black crinkle-finish face plates with white engraving and
// chrome screws, bakelite knobs with a white index, bat-handle toggles and
// chicken-head selectors, digit drums and lit readouts behind dark windows,
// and the direction finder's multi-band dial. Everything is placed from the
// gauges' own records: drums, knobs, switches, lamps and readouts where their
// elements sit, band scales where the frequency pointer's table turns.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

namespace {

constexpr Colour kCrinkle{0.085, 0.085, 0.09};
constexpr Colour kCrinkleGrain{0.13, 0.13, 0.135};
constexpr Colour kEngraving{0.93, 0.92, 0.87};
constexpr Colour kBakelite{0.12, 0.10, 0.09};
constexpr Colour kBakeliteEdge{0.22, 0.19, 0.17};
constexpr Colour kChrome{0.72, 0.73, 0.75};
constexpr Colour kChromeDark{0.38, 0.39, 0.41};
constexpr Colour kWindow{0.03, 0.03, 0.035};
constexpr Colour kAmber{1.0, 0.70, 0.22};

// A stable speckle so the finish looks sprayed rather than flat.
void crinkle(Painter& p, double x, double y, double w, double h) {
    p.fill_rect(x, y, w, h, kCrinkle);
    unsigned seed = 2166136261u;
    const int dots = static_cast<int>(w * h / 14);
    for (int i = 0; i < dots; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double dx = (seed >> 8) % 10000 / 10000.0;
        seed = seed * 1664525u + 1013904223u;
        const double dy = (seed >> 8) % 10000 / 10000.0;
        p.fill_rect(x + dx * w, y + dy * h, 1, 1, kCrinkleGrain);
    }
}

// A face plate: crinkle finish, a bevelled edge and a chrome screw in each corner.
void face_plate(Painter& p) {
    const int w = p.width(), h = p.height();
    p.fill_rect(0, 0, w, h, kChromeDark);
    crinkle(p, 2, 2, w - 4, h - 4);
    p.line(1, 1, w - 1, 1, 1.5, {0.30, 0.30, 0.32});
    p.line(1, 1, 1, h - 1, 1.5, {0.30, 0.30, 0.32});
    const double s = std::clamp(std::min(w, h) * 0.035, 3.0, 5.5);
    for (const auto& [x, y] : {std::pair{s * 2, s * 2}, {w - s * 2, s * 2}, {s * 2, h - s * 2}, {w - s * 2, h - s * 2}}) {
        p.fill_circle(x, y, s, kChrome);
        p.stroke_circle(x, y, s, 0.8, kChromeDark);
        p.line(x - s * 0.7, y, x + s * 0.7, y, std::max(1.0, s * 0.3), kChromeDark);
    }
}

// Engraved legends: at least kLegendSize, in the condensed face where the
// set's crowded front asks for less.
constexpr double kLegendSize = 9.0;
void engrave(Painter& p, std::string_view text, double x, double y, double size, bool bold = true) {
    p.font_narrow(size < kLegendSize);
    p.text(text, x, y, std::max(size, kLegendSize), kEngraving, bold);
    p.font_narrow(false);
}

// A recessed window with a thin chrome surround.
void window_frame(Painter& p, double x, double y, double w, double h, double r = 3) {
    p.layout().cover(box_of(x - 2, y - 2, w + 4, h + 4), "a window");
    p.rounded(x - 2, y - 2, w + 4, h + 4, r + 1);
    p.colour(kChromeDark);
    cairo_fill(p.cr());
    p.rounded(x, y, w, h, r);
    p.colour(kWindow);
    cairo_fill(p.cr());
}

// A bakelite knob: fluted skirt, domed top, a white index line along `angle`.
void bakelite_knob(Painter& p, double cx, double cy, double r, double angle, double index_to) {
    if (r < 3) return;
    p.layout().cover_circle(cx, cy, r, "a knob");
    const int flutes = std::clamp(static_cast<int>(r * 0.9), 14, 36);
    p.fill_circle(cx, cy, r, kBakeliteEdge);
    for (int i = 0; i < flutes; ++i) {
        const double a = 2 * kPi * (i + 0.5) / flutes;
        p.fill_circle(cx + r * std::cos(a), cy + r * std::sin(a), r * 0.09 + 0.6, kCrinkle);
    }
    p.fill_circle(cx, cy, r * 0.78, kBakelite);
    p.stroke_circle(cx, cy, r * 0.78, std::max(1.0, r * 0.04), kBakeliteEdge);
    p.fill_circle(cx - r * 0.25, cy - r * 0.3, r * 0.18, {0.20, 0.17, 0.15});
    p.line(cx + r * 0.2 * dx_of(angle), cy + r * 0.2 * dy_of(angle), cx + index_to * dx_of(angle),
           cy + index_to * dy_of(angle), std::max(1.5, r * 0.1), kEngraving);
}

// The element of a gauge that draws `id`, if any.
const ElementHeader* element_with(const GaugeHeader* gauge, std::uint32_t id) {
    const ElementHeader* found = nullptr;
    for_each_element(gauge, [&](const ElementHeader* e) {
        if (found == nullptr && e->bitmap == id) found = e;
    });
    return found;
}

const GaugeHeader* gauge_of(const Uses& uses) { return uses.empty() ? nullptr : uses.front().gauge; }

// Frames under the gauge's digit drums and readouts, and engraved arrows over
// and under the transponder's digit buttons.
void windows_for_elements(Painter& p, const GaugeHeader* gauge) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for_each_element(gauge, [&](const ElementHeader* e) {
        if (e->kind == ElementKind::STRING) {
            const auto& s = as<StringElement>(e);
            window_frame(p, e->x - 3, e->y - 2, s.box_width + 6, s.box_height + 4);
        } else if (e->kind == ElementKind::MOVING_IMAGE || (e->kind == ElementKind::ICON && art_of(e->bitmap) == Art::Digit)) {
            const BitmapRecord* cell = resources::find_bitmap(e->kind == ElementKind::ICON ? e->bitmap : e->bitmap + 1);
            if (cell == nullptr) return;
            x0 = std::min(x0, double(e->x)), y0 = std::min(y0, double(e->y));
            x1 = std::max(x1, double(e->x + cell->width)), y1 = std::max(y1, double(e->y + cell->height));
        }
    });
    if (x1 > x0) window_frame(p, x0 - 3, y0 - 3, x1 - x0 + 6, y1 - y0 + 6, 2);
}

// ------------------------------------------------------------ the sets

void com_engraving(Painter& p) {
    engrave(p, "VHF COMM", 60, 14, 11);
    engrave(p, "COM 1", 60, 28, 8, false);
    engrave(p, "CHANNEL", 181, 8, 7);
    engrave(p, "\u25C4 25 kHz \u25BA", 181, 121, 7, false);
    engrave(p, "R: MHz", 228, 121, 6, false);
    engrave(p, "PUSH TO READ", 282, 46, 6, false);
    engrave(p, "POWER", 79, 52, 7);
    engrave(p, "ON", 251, 115, 6, false);
}

void nav_engraving(Painter& p) {
    engrave(p, "NAV 1", 137, 14, 10);
    engrave(p, "MHz", 79, 76, 7);
    engrave(p, "kHz", 195, 76, 7);
    engrave(p, "PWR", 39, 24, 7);
    engrave(p, "IDENT", 242, 41, 6);
    engrave(p, "ON", 277, 60, 5, false);
    engrave(p, "VOR / LOC", 137, 70, 7, false);
}

void transponder_engraving(Painter& p) {
    engrave(p, "IFF  TRANSPONDER", 157, 14, 10);
    engrave(p, "CODE", 157, 30, 7, false);
    engrave(p, "PWR", 41, 82, 7);
    engrave(p, "TEST", 221, 70, 6);
    // Each digit's buttons: a raised arrow over and under its drum.
    for (int i = 0; i < 4; ++i) {
        const double cx = 111 + 23 * i + 11.5;
        for (const auto& [y, up] : {std::pair{44.0, true}, {79.0, false}}) {
            p.rounded(cx - 9, y, 18, 11, 3);
            p.colour(kChromeDark);
            cairo_fill(p.cr());
            cairo_t* cr = p.cr();
            const double mid = y + 5.5;
            cairo_move_to(cr, cx, up ? mid - 3.5 : mid + 3.5);
            cairo_line_to(cr, cx - 4.5, up ? mid + 2.5 : mid - 2.5);
            cairo_line_to(cr, cx + 4.5, up ? mid + 2.5 : mid - 2.5);
            cairo_close_path(cr);
            p.colour(kEngraving);
            cairo_fill(cr);
        }
    }
}

// The direction finder's dial: one arc of frequencies per band about the
// pointer's pivot, at the angles its table gives (one degree per unit of the
// dial value): band 1 outermost, band 3 (the longest sweep) clear of the band
// knob in the middle.
struct AdfBand {
    double start, per_degree_khz, end, label_step, tick_step;
    const char* name;
};
constexpr AdfBand kAdfBands[] = {
    {200, 2.0, 410, 50, 10, "1"},
    {410, 2.5, 850, 100, 10, "2"},
    {850, 10.0 / 3.0, 1750, 100, 50, "3"},
};

void adf_dial(Painter& p, const GaugeHeader* gauge) {
    const ElementHeader* pointer_element = element_with(gauge, 1070);
    if (pointer_element == nullptr) return;
    const auto& pointer = as<Needle>(pointer_element);
    if (pointer.table == nullptr || pointer.table_entries < 2) return;
    const double px = pointer_element->x, py = pointer_element->y;
    const double a0 = direction(px, py, pointer.table[0].x, pointer.table[0].y);
    const double a1 = direction(px, py, pointer.table[1].x, pointer.table[1].y);
    const double degrees_per_unit =
        clockwise(a0, a1) * 180.0 / kPi / (pointer.table[1].value - pointer.table[0].value);
    const double reach = std::hypot(pointer.table[0].x - px, pointer.table[0].y - py);

    p.fill_circle(px, py, reach + 3, {0.80, 0.76, 0.64});  // the ivory dial
    p.stroke_circle(px, py, reach + 3, 2, kChromeDark);
    const Colour ink{0.12, 0.10, 0.08};
    struct Pending {
        std::string text;
        double a, r;
        Colour ink;
    };
    std::vector<Pending> later;
    for (int b = 0; b < 3; ++b) {
        const AdfBand& band = kAdfBands[b];
        const double r = reach - 6 - 16.0 * b;
        auto angle = [&](double khz) { return a0 + radians((khz - band.start) / band.per_degree_khz * degrees_per_unit); };
        cairo_new_sub_path(p.cr());
        cairo_arc(p.cr(), px, py, r, angle(band.start) - kPi / 2, angle(band.end) - kPi / 2);
        p.colour(ink);
        cairo_set_line_width(p.cr(), 1.0);
        cairo_stroke(p.cr());
        for (double khz = band.start; khz <= band.end + 1e-6; khz += band.tick_step) {
            const double a = angle(khz);
            const bool major = std::fmod(khz, band.label_step) < 1e-6 || khz == band.start || khz == band.end;
            p.mark(px + (r - (major ? 5 : 3)) * dx_of(a), py + (r - (major ? 5 : 3)) * dy_of(a), px + r * dx_of(a),
                   py + r * dy_of(a), major ? 1.4 : 0.8, ink);
            const bool named = khz == band.start || khz == band.end ||
                               (std::fmod(khz, band.label_step * 2) < 1e-6 && std::abs(khz - band.end) > band.label_step &&
                                std::abs(khz - band.start) > band.label_step);
            if (major && named) later.push_back({number(khz), a, r, ink});
        }
        later.push_back({band.name, angle(band.end) + radians(9), r + 2, {0.55, 0.10, 0.08}});
    }
    // Numbers inside their arcs where the band window, the band knob and the
    // readout leave them in sight; a number those would cover is left out.
    p.font_narrow(true);
    // Set along the arcs, so each fits between its arc and the next; the
    // lower half turned the other way, so none reads upside down.
    for (const Pending& l : later) {
        const double hw = p.text_width(l.text, kLegendSize) / 2 + 1, hh = kLegendSize * 0.36 + 1;
        const double inward = l.r - 6.5 - hh;
        const double down = std::cos(l.a) < 0 ? kPi : 0.0;
        const Box b{px + inward * dx_of(l.a), py + inward * dy_of(l.a), hw, hh, l.a + down};
        if (p.layout().clear(b)) p.text(l.text, b.cx, b.cy, kLegendSize, l.ink, true, l.a + down);
    }
    // The unit, at the first clear place round the middle of the dial.
    const double hw = p.text_width("kHz", kLegendSize) / 2 + 1, hh = kLegendSize * 0.36 + 1;
    for (int k = 0; k < 36; ++k) {
        const double a = radians(180 + 10 * k), rr = reach * (k < 18 ? 0.3 : 0.5);
        const Box b{px + rr * dx_of(a), py + rr * dy_of(a), hw, hh, 0.0};
        if (!p.layout().clear(b)) continue;
        p.text("kHz", b.cx, b.cy, kLegendSize, ink);
        break;
    }
    p.font_narrow(false);
}

void adf_engraving(Painter& p) {
    engrave(p, "ADF", 30, 16, 12);
    engrave(p, "RECEIVER", 30, 30, 7, false);
    engrave(p, "READ", 102, 40, 6, false);
    engrave(p, "TUNE", 326, 30, 8);
    engrave(p, "0.5 kHz", 326, 44, 6, false);
    engrave(p, "R: 5 kHz", 326, 54, 6, false);
    // The band knob's name where the dial leaves room for it.
    p.font_narrow(true);
    const double hw = p.text_width("BAND", kLegendSize) / 2 + 1, hh = kLegendSize * 0.36 + 1;
    for (const auto& [x, y] : {std::pair{220.0, 186.0}, {136.0, 186.0}, {178.0, 186.0}, {230.0, 175.0}}) {
        if (!p.layout().clear({x, y, hw, hh, 0.0})) continue;
        p.text("BAND", x, y, kLegendSize, kEngraving);
        break;
    }
    p.font_narrow(false);
    engrave(p, "IDENT", 80, 244, 7);
    engrave(p, "POWER", 275, 244, 7);
}

}  // namespace

void draw_radio_panel(Painter& p, const BitmapRecord& record, const Uses& uses) {
    face_plate(p);
    const GaugeHeader* gauge = gauge_of(uses);
    if (record.gauge == "Radio_ADF") adf_dial(p, gauge);
    windows_for_elements(p, gauge);
    if (record.gauge == "Radio_COM") com_engraving(p);
    if (record.gauge == "Radio_NAV") nav_engraving(p);
    if (record.gauge == "Radio_IFF_XPDR") transponder_engraving(p);
    if (record.gauge == "Radio_ADF") adf_engraving(p);
}

// The ADF's glass: a chrome ring round the dial and a frame round the band
// window, clear everywhere else so pointer and card show.
void draw_adf_glass(Painter& p, const BitmapRecord&, const Uses& uses) {
    const GaugeHeader* gauge = gauge_of(uses);
    const ElementHeader* pointer_element = element_with(gauge, 1070);
    const ElementHeader* card_element = element_with(gauge, 1060);
    if (pointer_element != nullptr) {
        const auto& pointer = as<Needle>(pointer_element);
        const double reach = std::hypot(pointer.table[0].x - pointer_element->x, pointer.table[0].y - pointer_element->y);
        p.stroke_circle(pointer_element->x, pointer_element->y, reach + 6, 5, kChrome);
        p.stroke_circle(pointer_element->x, pointer_element->y, reach + 8.5, 1, kChromeDark);
        // A glint on the glass.
        cairo_new_sub_path(p.cr());
        cairo_arc(p.cr(), pointer_element->x, pointer_element->y, reach - 4, radians(200), radians(235));
        p.colour({0.85, 0.85, 0.82});
        cairo_set_line_width(p.cr(), 1.5);
        cairo_stroke(p.cr());
    }
    if (card_element != nullptr) {
        const BitmapRecord* window = resources::find_bitmap(card_element->bitmap + 1);
        if (window != nullptr) {
            p.rounded(card_element->x - 2, card_element->y - 2, window->width + 4, window->height + 4, 4);
            p.colour(kChrome);
            cairo_set_line_width(p.cr(), 3);
            cairo_stroke(p.cr());
            // The band index: a red line at 12 o'clock over the card.
            const double cx = card_element->offset_x;
            p.line(cx, card_element->y + 1, cx, card_element->y + 12, 2, {0.85, 0.15, 0.10});
        }
    }
}

// The band card seen through its window: band b at 12 o'clock once the card
// has turned counter-clockwise by (1 - b) x 90 degrees (clockwise by
// (b - 1) x 90), with its range beneath.
void draw_band_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    p.fill_circle(cx, cy, r, {0.16, 0.15, 0.14});
    static constexpr std::string_view ranges[] = {"200 - 410 kHz", "410 - 850 kHz", "850 - 1750 kHz"};
    for (int b = 1; b <= 3; ++b) {
        const double a = radians(-(b - 1) * 90.0);
        const double rr = r * 0.82;
        p.text(std::string("BAND ") + std::to_string(b), cx + rr * dx_of(a), cy + rr * dy_of(a), r * 0.11, kAmber, true,
               a);
        const double r2 = r * 0.66;
        p.font_narrow(true);
        p.text(ranges[b - 1], cx + r2 * dx_of(a), cy + r2 * dy_of(a), std::max(kLegendSize, r * 0.075), kEngraving,
               false, a);
        p.font_narrow(false);
    }
}

// The COM channel selector: a big bakelite knob whose skirt carries twelve
// channel letters 30 degrees apart, so each channel step shows a new letter;
// they pass 12 o'clock in order as the knob turns clockwise.
void draw_channel_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    p.fill_circle(cx, cy, r, kChromeDark);
    p.fill_circle(cx, cy, r - 2, kBakelite);
    for (int k = 0; k < 12; ++k) {
        const double a = radians(-30.0 * k), rr = r * 0.78;
        p.text(std::string(1, char('A' + k)), cx + rr * dx_of(a), cy + rr * dy_of(a), std::max(kLegendSize, r * 0.17),
               kEngraving, true, a);
    }
    bakelite_knob(p, cx, cy, r * 0.55, 0.0, r * 0.5);
}

// Knobs that turn: a bakelite knob with its index along +x from its pivot,
// reaching to the bitmap's edge where there is room for a pointer.
void draw_radio_knob(Painter& p, const BitmapRecord&, const Uses& uses) {
    double cx = p.width() / 2.0, cy = p.height() / 2.0;
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::NEEDLE) cx = use.element->offset_x, cy = use.element->offset_y;
    const double r = std::min({cx, cy, p.width() - cx, p.height() - cy}) - 1;
    bakelite_knob(p, cx, cy, r, kPi / 2, std::min(p.width() - cx - 1, r * 0.95));
    if (p.width() - cx > r * 1.5) {
        // A pointer reaching out past the knob's edge.
        p.line(cx + r, cy, p.width() - 1, cy, 2.5, kEngraving);
        p.fill_circle(p.width() - 3, cy, 2, kEngraving);
    }
}

// Switches of the sets: bat-handle toggles where the picture is tall, chicken-
// head selectors with engraved OFF and ON otherwise.
void draw_radio_switch(Painter& p, const BitmapRecord& record, const Uses&) {
    const int w = p.width(), h = p.height();
    const bool on = record.variant == 1;
    const double cx = w / 2.0, cy = h / 2.0;
    if (h >= 1.2 * w) {
        const double nut = w * 0.36;
        p.fill_circle(cx, cy, nut, kChrome);
        p.stroke_circle(cx, cy, nut, 1, kChromeDark);
        p.fill_circle(cx, cy, nut * 0.55, kChromeDark);
        const double tip = on ? nut * 0.7 : h - nut * 0.7;
        cairo_t* cr = p.cr();
        cairo_move_to(cr, cx - w * 0.08, cy);
        cairo_line_to(cr, cx - w * 0.16, tip);
        cairo_line_to(cr, cx + w * 0.16, tip);
        cairo_line_to(cr, cx + w * 0.08, cy);
        cairo_close_path(cr);
        p.colour(kChrome);
        cairo_fill(cr);
        p.fill_circle(cx, tip, w * 0.17, {0.86, 0.86, 0.88});
        return;
    }
    const double r = std::min(cx, cy) - 1;
    const double a = radians(on ? 45.0 : -45.0);
    p.fill_circle(cx, cy + r * 0.15, r * 0.5, kChromeDark);
    engrave(p, "OFF", cx - r * 0.6, cy - r * 0.7, std::max(6.0, r * 0.3));
    engrave(p, "ON", cx + r * 0.6, cy - r * 0.7, std::max(6.0, r * 0.3));
    // The chicken head: a tapered bar pointing at the position, a round boss.
    cairo_t* cr = p.cr();
    const double len = r * 0.78, base = r * 0.22;
    const double bx = cx, by = cy + r * 0.15;
    cairo_move_to(cr, bx + len * dx_of(a), by + len * dy_of(a));
    cairo_line_to(cr, bx + base * dx_of(a + kPi / 2), by + base * dy_of(a + kPi / 2));
    cairo_line_to(cr, bx - len * 0.5 * dx_of(a), by - len * 0.5 * dy_of(a));
    cairo_line_to(cr, bx + base * dx_of(a - kPi / 2), by + base * dy_of(a - kPi / 2));
    cairo_close_path(cr);
    p.colour(kBakelite);
    cairo_fill_preserve(cr);
    p.colour(kBakeliteEdge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    p.line(bx, by, bx + len * 0.9 * dx_of(a), by + len * 0.9 * dy_of(a), std::max(1.0, r * 0.06), kEngraving);
}

// ------------------------------------------------------------ the indicator

namespace {

struct Round {
    double cx, cy, r;
};
// The lip of the small set's housing along its bottom edge.
constexpr double kLip = 9;
// The indicator's dial: centred on the card's axle, as large as the window.
Round indicator_dial(const Uses& uses) {
    for (const BitmapUse& use : uses) {
        const GaugeHeader* gauge = use.gauge;
        const ElementHeader* card = nullptr;
        for_each_element(gauge, [&](const ElementHeader* e) {
            if (card == nullptr && e->kind == ElementKind::SPRITE) card = e;
        });
        if (card != nullptr) {
            const BitmapRecord* window = resources::find_bitmap(card->bitmap + 1);
            double r = window != nullptr ? window->width / 2.0 - 2 : 148;
            // A housing shorter than the dial (the small set): the whole dial
            // drawn smaller, clear of the housing's lip at the bottom.
            const BitmapRecord* face = resources::find_bitmap(use.background->bitmap);
            if (face != nullptr) r = std::min(r, face->height - card->offset_y - kLip - 3.0);
            return {double(card->offset_x), double(card->offset_y), r};
        }
    }
    return {153, 152, 148};
}

}  // namespace

void draw_indicator_face(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Round d = indicator_dial(uses);
    p.fill_rect(0, 0, p.width(), p.height(), kCrinkle);
    p.fill_circle(d.cx, d.cy, d.r + 2, {0.07, 0.07, 0.075});
    // Fixed marks every 45 degrees round the rim, visible in either mode.
    for (int k = 0; k < 8; ++k) {
        const double a = radians(45.0 * k);
        p.line(d.cx + (d.r - 1) * dx_of(a), d.cy + (d.r - 1) * dy_of(a), d.cx + (d.r - 9) * dx_of(a),
               d.cy + (d.r - 9) * dy_of(a), 2.5, kEngraving);
    }
}

void draw_indicator_overlay(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const Round d = indicator_dial(uses);
    const GaugeHeader* gauge = gauge_of(uses);
    switch (record.id) {
        case 2010:
        case 3110:  // ADF mode: the mode's name in amber under the card's hub
            p.text("ADF", d.cx, d.cy + d.r * 0.45, 13, kAmber);
            break;
        case 2150:
        case 3140: {  // VOR mode: a lighter face with the deviation and glide slope dots
            p.fill_circle(d.cx, d.cy, d.r - 2, {0.10, 0.10, 0.11});
            for (const ElementHeader* e = gauge != nullptr ? gauge->elements[0] : nullptr; e != nullptr;
                 e = next_element(e)) {
                if (e->kind != ElementKind::NEEDLE || (e->bitmap != 2080 && e->bitmap != 2140)) continue;
                const auto& n = as<Needle>(e);
                const BitmapRecord* bitmap = resources::find_bitmap(e->bitmap);
                if (bitmap == nullptr || n.table_entries < 2) continue;
                // Dots along an arc the needle sweeps, five each side: the
                // course needle's near the centre, the glide slope's out right.
                // The deviation dots in a row below the centre; the glide
                // slope's in a column at the right of the open middle.
                const double reach = e->bitmap == 2080 ? (bitmap->width + e->offset_x) * 0.62
                                                       : d.cx + d.r * 0.6 - e->x;
                const double a0 = direction(e->x, e->y, n.table[0].x, n.table[0].y);
                const double sweep = clockwise(a0, direction(e->x, e->y, n.table[1].x, n.table[1].y));
                for (int i = 0; i <= 10; ++i) {
                    const double a = a0 + sweep * i / 10.0;
                    const double x = e->x + reach * dx_of(a), y = e->y + reach * dy_of(a);
                    if (i == 5)
                        p.fill_circle(x, y, 3.5, kEngraving);
                    else
                        p.stroke_circle(x, y, 2.8, 1.3, kEngraving);
                }
            }
            p.text("VOR", d.cx - d.r * 0.35, d.cy + d.r * 0.42, 11, {0.45, 0.9, 0.45});
            p.text("GS", d.cx + d.r * 0.42, d.cy - d.r * 0.45, 9, kEngraving);
            break;
        }
        case 2090:
        case 3150:  // VOR glass: the course window's frame and the fixed aircraft symbol
            window_frame(p, 125, 32, 70, 30, 3);
            p.fill_rect(127, 34, 66, 26, {0.02, 0.02, 0.025});
            p.line(d.cx - 22, d.cy + 4, d.cx + 22, d.cy + 4, 3, kAmber);
            p.line(d.cx, d.cy - 8, d.cx, d.cy + 18, 3, kAmber);
            p.line(d.cx - 8, d.cy + 16, d.cx + 8, d.cy + 16, 2.5, kAmber);
            break;
        default:
            break;
    }
}

// The bezel over everything: a chrome ring, the lubber mark at 12 o'clock, the
// knob's boss at the lower left and the mounting screws.
void draw_indicator_bezel(Painter& p, const BitmapRecord&, const Uses& uses) {
    const Round d = indicator_dial(uses);
    const int w = p.width(), h = p.height();
    cairo_t* cr = p.cr();
    // The square housing with a round hole: filled as one even-odd shape.
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_new_sub_path(cr);
    cairo_arc(cr, d.cx, d.cy, d.r, 0, 2 * kPi);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    p.colour({0.10, 0.10, 0.105});
    cairo_fill(cr);
    p.stroke_circle(d.cx, d.cy, d.r + 2, 5, kChrome);
    p.stroke_circle(d.cx, d.cy, d.r + 5, 1, kChromeDark);
    cairo_move_to(cr, d.cx, d.cy - d.r + 16);
    cairo_line_to(cr, d.cx - 7, d.cy - d.r + 2);
    cairo_line_to(cr, d.cx + 7, d.cy - d.r + 2);
    cairo_close_path(cr);
    p.colour(kAmber);
    cairo_fill(cr);
    // Where the dial runs past the housing's lower edge (the small set), the
    // housing's lip hides the bottom of the dial, finished with a chrome edge.
    if (h + 20 < w) {
        cairo_rectangle(cr, 0, h - kLip, w, kLip);
        p.colour({0.10, 0.10, 0.105});
        cairo_fill(cr);
        p.line(0, h - kLip, w, h - kLip, 1, kChromeDark);
    }
    for (const auto& [x, y] : {std::pair{12.0, 12.0}, {w - 12.0, 12.0}, {w - 12.0, h - 12.0}}) {
        p.fill_circle(x, y, 5, kChrome);
        p.line(x - 3.5, y, x + 3.5, y, 1.5, kChromeDark);
    }
    // The boss the course knob turns on, wherever its record puts it.
    if (const ElementHeader* knob = element_with(gauge_of(uses), 2060))
        p.fill_circle(knob->x + 1, knob->y, 34, kChromeDark);
}

// The indicator's card: a ring of headings round the dial's edge, open in the
// middle so the mode's marks on the face show through.
void draw_indicator_card(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const Round d = indicator_dial(uses);
    const double cx = record.width / 2.0, cy = record.height / 2.0;
    const double r = std::min(cx - 1, d.r - 2), inner = r * 0.74;
    cairo_t* cr = p.cr();
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, inner, 2 * kPi, 0);
    p.colour({0.07, 0.07, 0.075});
    cairo_fill(cr);
    heading_ring(p, cx, cy, r, kEngraving);
}

// The small indicator's window: the round dial cut off where its face ends.
void draw_indicator_window(Painter& p, const BitmapRecord&, const Uses& uses) {
    double cx = p.width() / 2.0, cy = p.width() / 2.0;
    for (const BitmapUse& use : uses)
        if (use.element->kind == ElementKind::SPRITE) {
            cx = use.element->offset_x - use.element->x;
            cy = use.element->offset_y - use.element->y;
        }
    p.fill_circle(cx, cy, std::min(std::min(cx, p.width() - cx) - 1, indicator_dial(uses).r), kMask);
}

// The NAV flags: striped red and white while the flag is up, the word when down.
void draw_nav_flag(Painter& p, const BitmapRecord& record, const Uses&) {
    const int w = p.width(), h = p.height();
    const bool tall = h > w;
    if (record.variant == 0) {
        p.fill_rect(0, 0, w, h, {0.85, 0.12, 0.10});
        for (double t = -std::max(w, h); t < std::max(w, h) * 2; t += 8)
            p.line(t, 0, t + std::max(w, h), std::max(w, h), 2.5, kEngraving);
        p.text(tall ? "OFF" : "NAV", w / 2.0, h / 2.0, std::min(w, h) * 0.5, {0.1, 0.1, 0.1}, true,
               tall ? -kPi / 2 : 0.0);
    } else {
        p.fill_rect(0, 0, w, h, {0.12, 0.12, 0.13});
        p.text(tall ? "TO" : "NAV", w / 2.0, h / 2.0, std::min(w, h) * 0.55, tall ? kEngraving : Colour{0.4, 0.9, 0.4},
               true, tall ? -kPi / 2 : 0.0);
    }
}

}  // namespace ardelvine::tools::art
