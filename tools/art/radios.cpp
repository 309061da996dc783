// The radios' own pictures: the communication radio's channel selector and
// the direction finder's band card.
#include <string>
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools::art {

// A channel selector: twelve lettered positions 30 degrees apart.
void draw_channel_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    knob(p, cx, cy, r, 0.0, r * 0.45);
    for (int k = 0; k < 12; ++k) {
        const double a = radians(30.0 * k), rr = r * 0.62;
        p.text(std::string(1, char('A' + k)), cx + rr * dx_of(a), cy + rr * dy_of(a), r * 0.18, kInk, true, a);
    }
}

// The band card: band b is read at 12 o'clock when the card has turned by
// (1 - b) x 90 degrees.
void draw_band_card(Painter& p, const BitmapRecord&, const Uses&) {
    const double cx = p.width() / 2.0, cy = p.height() / 2.0, r = std::min(cx, cy) - 1;
    p.fill_circle(cx, cy, r, kFace);
    static constexpr std::string_view bands[] = {"190-400", "400-850", "850-1750"};
    for (int b = 1; b <= 3; ++b) {
        const double a = radians((b - 1) * 90.0);
        const double rr = r * 0.78;
        p.text(std::string("BAND ") + std::to_string(b), cx + rr * dx_of(a), cy + rr * dy_of(a), r * 0.09, kInk, true,
               a);
        p.text(std::string(bands[b - 1]) + " kHz", cx + rr * 0.8 * dx_of(a), cy + rr * 0.8 * dy_of(a), r * 0.07, kInk,
               false, a);
    }
}

}  // namespace ardelvine::tools::art
