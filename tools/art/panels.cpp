// Panels: the face plates of radios and annunciators with a display window
// behind every readout, and pictures no element draws.
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

void draw_panel(Painter& p, const BitmapRecord& record, const Uses& uses) {
    const int w = p.width(), h = p.height();
    p.fill_rect(0, 0, w, h, {0.20, 0.21, 0.22});
    p.rounded(2, 2, w - 4, h - 4, 6);
    p.colour({0.26, 0.27, 0.29});
    cairo_fill(p.cr());
    const double s = std::clamp(std::min(w, h) * 0.03, 2.5, 5.0);
    for (const auto& [x, y] : {std::pair{s * 2.5, s * 2.5}, {w - s * 2.5, s * 2.5}, {s * 2.5, h - s * 2.5},
                               {w - s * 2.5, h - s * 2.5}})
        p.screw(x, y, s);
    const Caption c = caption_of(record.gauge);
    for (const BitmapUse& use : uses) {
        if (use.element != use.background) continue;
        for_each_element(use.gauge, [&](const ElementHeader* e) {
            if (e->kind == ElementKind::STRING) {
                // A display window behind each text readout.
                const auto& text = as<StringElement>(e);
                p.rounded(e->x - 3, e->y - 3, text.box_width + 6, text.box_height + 6, 3);
                p.colour(kDisplay);
                cairo_fill(p.cr());
            } else if (e->kind == ElementKind::SLIDER) {
                // A lever slot, from the knob's centre at full travel to its
                // centre at rest.
                const BitmapRecord* lever = resources::find_bitmap(e->bitmap);
                if (lever == nullptr) return;
                const auto& slider = as<Slider>(e);
                const LeverKnob k = lever_knob(lever->width, lever->height);
                const double x = e->x + lever->width / 2.0, centre = k.top + k.height / 2;
                const double rest = e->y + centre, full = e->y + slider.y.scale + centre;
                p.rounded(x - 4, std::min(rest, full) - 4, 8, std::abs(rest - full) + 8, 4);
                p.colour(kDisplay);
                cairo_fill(p.cr());
            }
        });
        knobs_from_mouse(p, use.gauge);
    }
    if (record.gauge == "Throttle_Quadrant") {
        static constexpr std::string_view names[] = {"THROTTLE", "PROP", "MIXTURE"};
        // Each lever's name under its slot, in the strip its knob leaves clear.
        int i = 0;
        for (const BitmapUse& use : uses)
            for_each_element(use.gauge, [&](const ElementHeader* e) {
                const BitmapRecord* lever = resources::find_bitmap(e->bitmap);
                if (e->kind != ElementKind::SLIDER || lever == nullptr || i >= 3) return;
                p.font_narrow(true);
                p.text(names[i++], e->x + lever->width / 2.0, e->y + lever->height - kLeverLabelRoom / 2, 9, kInk);
                p.font_narrow(false);
            });
        return;
    }
    p.text(c.top, w / 2.0, std::min(14.0, h * 0.1), std::clamp(h * 0.08, 7.0, 12.0), kInk);
    if (!c.bottom.empty()) p.text(c.bottom, w / 2.0, std::min(28.0, h * 0.2), std::clamp(h * 0.06, 6.0, 10.0), kInk);
}

void draw_blank(Painter&, const BitmapRecord&, const Uses&) {}

void draw_unused(Painter& p, const BitmapRecord&, const Uses&) { p.fill_rect(0, 0, p.width(), p.height(), kMetalDark); }

}  // namespace ardelvine::tools::art
