// Which drawer draws which bitmap: one row per art kind, and rows that give
// one gauge's pictures of a kind their own drawer. A gauge's row wins over
// its kind's.
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "tools/art/drawers.h"

namespace ardelvine::tools {

namespace {

using namespace art;

struct Row {
    Art art;
    std::string_view gauge;  // empty: every gauge without a row of its own
    Drawer draw;
};

constexpr Row kDrawers[] = {
    {Art::Blank, "", draw_blank},
    {Art::Plate, "", draw_registration_plate},
    {Art::Button, "", draw_window_button},
    {Art::Panel, "", draw_panel},
    {Art::Panel, "AP_Tester", draw_annunciator_panel},
    {Art::Face, "", draw_face},
    {Art::Face, "Fuel_Quantity", draw_fuel_face},
    {Art::Cover, "", draw_cover},
    {Art::Overlay, "", draw_overlay},
    {Art::Needle, "", draw_needle},
    {Art::Knob, "", draw_knob},
    {Art::Card, "", draw_compass_card},
    {Art::Card, "Altimeter", draw_baro_card},
    {Art::Card, "Radio_COM", draw_channel_card},
    {Art::Card, "Radio_ADF", draw_band_card},
    // The radio stack and the ADF/VOR indicator.
    {Art::Panel, "Radio_COM", draw_radio_panel},
    {Art::Panel, "Radio_NAV", draw_radio_panel},
    {Art::Panel, "Radio_ADF", draw_radio_panel},
    {Art::Panel, "Radio_IFF_XPDR", draw_radio_panel},
    {Art::Cover, "Radio_ADF", draw_adf_glass},
    {Art::Knob, "Radio_NAV", draw_radio_knob},
    {Art::Knob, "Radio_ADF", draw_radio_knob},
    {Art::Knob, "ADF_VOR_Indicator", draw_radio_knob},
    {Art::Switch, "Radio_COM", draw_radio_switch},
    {Art::Switch, "Radio_NAV", draw_radio_switch},
    {Art::Switch, "Radio_ADF", draw_radio_switch},
    {Art::Switch, "Radio_IFF_XPDR", draw_radio_switch},
    {Art::Face, "ADF_VOR_Indicator", draw_indicator_face},
    {Art::Face, "ADF_VOR_Indicator_Small", draw_indicator_face},
    {Art::Overlay, "ADF_VOR_Indicator", draw_indicator_overlay},
    {Art::Overlay, "ADF_VOR_Indicator_Small", draw_indicator_overlay},
    {Art::Cover, "ADF_VOR_Indicator", draw_indicator_bezel},
    {Art::Cover, "ADF_VOR_Indicator_Small", draw_indicator_bezel},
    {Art::Window, "ADF_VOR_Indicator_Small", draw_indicator_window},
    {Art::Card, "ADF_VOR_Indicator", draw_indicator_card},
    {Art::Card, "ADF_VOR_Indicator_Small", draw_indicator_card},
    {Art::Flag, "ADF_VOR_Indicator", draw_nav_flag},
    {Art::Horizon, "", draw_horizon},
    {Art::Strip, "", draw_strip},
    {Art::Drum, "", draw_drum},
    {Art::Digit, "", draw_digit},
    {Art::Window, "", draw_window},
    {Art::Lamp, "", draw_lamp},
    {Art::LampLit, "", draw_lamp_lit},
    {Art::SwitchPlate, "", draw_switch_plate},
    {Art::Switch, "", draw_switch},
    {Art::Switch, "Starter_Switch", draw_starter_button},
    {Art::Guard, "", draw_guard},
    {Art::Lever, "", draw_lever},
    {Art::Bars, "", draw_bars},
    {Art::Ball, "", draw_ball},
    {Art::Flag, "", draw_flag},
    {Art::Unused, "", draw_unused},
    // The horizons, turn coordinator, compasses and clock.
    {Art::Face, "Attitude", draw_attitude_face},
    {Art::Face, "Attitude_w_Cage", draw_attitude_face},
    {Art::Horizon, "Attitude", draw_horizon_card},
    {Art::Window, "Attitude", draw_horizon_window},
    {Art::Needle, "Attitude", draw_bank_pointer},
    {Art::Overlay, "Attitude", draw_bank_scale},
    {Art::Bars, "Attitude", draw_reference_bars},
    {Art::Cover, "Attitude", draw_attitude_cover},
    {Art::Cover, "Attitude_w_Cage", draw_attitude_cover},
    {Art::Switch, "Attitude_w_Cage", draw_cage_knob},
    {Art::Face, "Turn_Coordinator", draw_turn_face},
    {Art::Ball, "Turn_Coordinator", draw_turn_ball},
    {Art::Overlay, "Turn_Coordinator", draw_tube_marks},
    {Art::Needle, "Turn_Coordinator", draw_turn_needle},
    {Art::Cover, "Turn_Coordinator", draw_turn_cover},
    {Art::Face, "Gyro_Compass", draw_gyro_face},
    {Art::Face, "Whiskey_Compass", draw_whiskey_face},
    {Art::Face, "Waltham_Clock", draw_clock_face},
    {Art::Needle, "Waltham_Clock", draw_clock_hand},
    {Art::Cover, "Waltham_Clock", draw_clock_cover},
};

// Every art kind has a drawer, and no kind or gauge has two.
constexpr bool complete() {
    for (int kind = 0; kind <= static_cast<int>(Art::Unused); ++kind) {
        int general = 0;
        for (const Row& row : kDrawers)
            if (static_cast<int>(row.art) == kind && row.gauge.empty()) ++general;
        if (general != 1) return false;
    }
    for (std::size_t i = 0; i < std::size(kDrawers); ++i)
        for (std::size_t j = i + 1; j < std::size(kDrawers); ++j)
            if (kDrawers[i].art == kDrawers[j].art && kDrawers[i].gauge == kDrawers[j].gauge) return false;
    return true;
}
static_assert(complete(), "every art kind needs exactly one general row, and no gauge two rows of one kind");

Drawer drawer_of(const resources::BitmapRecord& record) {
    Drawer general = nullptr;
    for (const Row& row : kDrawers) {
        if (row.art != record.art) continue;
        if (row.gauge == record.gauge && !row.gauge.empty()) return row.draw;
        if (row.gauge.empty()) general = row.draw;
    }
    return general;
}

}  // namespace

ArtBook::ArtBook(GaugeHeader* const* gauges) {
    for (std::size_t i = 0; gauges != nullptr && gauges[i] != nullptr; ++i) {
        const GaugeHeader* gauge = gauges[i];
        if (gauge->elements == nullptr || gauge->elements[0] == nullptr) continue;
        const ElementHeader* root = gauge->elements[0];
        for_each_element(gauge, [&](const ElementHeader* e) {
            if (e->bitmap == kNoBitmap) return;
            uses_[e->bitmap].push_back({gauge, e, root});
        });
    }
}

const std::vector<BitmapUse>& ArtBook::uses(std::uint32_t id) const {
    static const std::vector<BitmapUse> none;
    const auto it = uses_.find(id);
    return it != uses_.end() ? it->second : none;
}

namespace {

// What the gauge lays over a bitmap placed by element `under`: the windows
// and readouts its moving parts show through, the controls and lamps drawn
// on it, and the hubs of the needles that turn over it, in the bitmap's own
// pixels.
// How far a needle's drawn base reaches round its pivot: the farthest
// painted pixel at or behind the pivot, which sweeps a circle as it turns.
double needle_base(const ArtBook& book, const resources::BitmapRecord& needle, double px, double py) {
    cairo_surface_t* s = book.draw_plain(needle);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    double reach = 0;
    for (int y = 0; y < needle.height; ++y)
        for (int x = 0; x <= std::min<int>(needle.width - 1, int(px)); ++x)
            if (data[y * stride + 4 * x + 3] >= 128)
                reach = std::max(reach, std::hypot(x + 0.5 - px, y + 0.5 - py));
    cairo_surface_destroy(s);
    return reach;
}

// Which pixels of a picture are painted, row by row; `into` (the picture's
// size) keeps those already set.
void painted(const ArtBook& book, const resources::BitmapRecord& record, std::vector<bool>& into) {
    cairo_surface_t* s = book.draw_plain(record);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < record.height; ++y)
        for (int x = 0; x < record.width; ++x)
            if (data[y * stride + 4 * x + 3] >= 128) into[std::size_t(y) * record.width + x] = true;
    cairo_surface_destroy(s);
}

void covers_over(const ArtBook& book, Layout& layout, const BitmapUse& use, const resources::BitmapRecord& record) {
    const ElementHeader* under = use.element;
    if (under->kind != ElementKind::STATIC_IMAGE && under->kind != ElementKind::ICON) return;
    const double ox = under->x, oy = under->y;
    bool after = false;
    for_each_element(use.gauge, [&](const ElementHeader* e) {
        if (e == under) after = true;
        if (!after || e == under) return;
        const double x = e->x - ox, y = e->y - oy;
        if (e->kind == ElementKind::STRING) {
            const auto& s = as<StringElement>(e);
            layout.cover(box_of(x, y, s.box_width, s.box_height), "a readout");
            return;
        }
        const resources::BitmapRecord* picture = resources::find_bitmap(e->bitmap);
        if (picture == nullptr) return;
        const std::string name = "bitmap " + std::to_string(picture->id);
        switch (e->kind) {
            case ElementKind::NEEDLE: {
                if (e->offset_x < 0) return;
                layout.hub(x, y, needle_base(book, *picture, e->offset_x, e->offset_y));
                return;
            }
            case ElementKind::MOVING_IMAGE:
            case ElementKind::SPRITE: {
                const resources::BitmapRecord* window = resources::find_bitmap(e->bitmap + 1);
                if (window == nullptr || window->art != Art::Window) return;
                if (e->kind == ElementKind::SPRITE && picture->art == Art::Card && picture->width <= window->width) {
                    // A card that turns inside its window: what it paints at rest.
                    std::vector<bool> opaque(std::size_t(picture->width) * picture->height, false);
                    painted(book, *picture, opaque);
                    layout.cover_pixels(std::move(opaque), picture->width, int(e->offset_x - picture->width / 2.0 - ox),
                                        int(e->offset_y - picture->height / 2.0 - oy), "the card " + name);
                } else if (e->kind == ElementKind::SPRITE && window->width == window->height)
                    layout.cover_circle(x + window->width / 2.0, y + window->height / 2.0, window->width / 2.0,
                                        "the window of " + name);
                else
                    layout.cover(box_of(x, y, window->width, window->height), "the window of " + name);
                return;
            }
            default:
                break;
        }
        // Overlays belong to the face they lie on; a lit lamp is the same
        // lamp with its legend lit. Glass counts where it is painted.
        if (picture->art == Art::Overlay || picture->art == Art::Blank || picture->art == Art::LampLit) return;
        if (x >= record.width || y >= record.height || x + picture->width <= 0 || y + picture->height <= 0) return;
        // Whatever the picture shows (each image of an icon), at rest.
        const int images = e->kind == ElementKind::ICON ? std::max(1, int(as<Icon>(e).images)) : 1;
        std::vector<bool> opaque(std::size_t(picture->width) * picture->height, false);
        for (int k = 0; k < images; ++k) {
            const resources::BitmapRecord* image = resources::find_bitmap(picture->id + k);
            if (image == nullptr || image->width != picture->width || image->height != picture->height) break;
            painted(book, *image, opaque);
        }
        layout.cover_pixels(std::move(opaque), picture->width, int(x), int(y), name);
    });
}

}  // namespace

cairo_surface_t* ArtBook::draw_plain(const resources::BitmapRecord& record) const {
    Painter p(record.width, record.height);
    drawer_of(record)(p, record, uses(record.id));
    return p.release();
}

cairo_surface_t* ArtBook::draw(const resources::BitmapRecord& record, int scale,
                               std::vector<std::string>* problems, double* smallest_legend) const {
    Painter p(record.width, record.height, scale);
    const std::vector<BitmapUse>& users = uses(record.id);
    // What lies over the picture is known first, so its texts can keep clear.
    for (const BitmapUse& use : users) covers_over(*this, p.layout(), use, record);
    drawer_of(record)(p, record, users);
    if (smallest_legend != nullptr) *smallest_legend = p.layout().smallest_capital();
    if (problems != nullptr) {
        std::vector<std::string> found = p.layout().problems();
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        for (const std::string& problem : found) problems->push_back(bitmap_name(record) + ": " + problem);
    }
    return p.release();
}

}  // namespace ardelvine::tools
