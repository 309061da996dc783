// Which drawer draws which bitmap: one row per art kind, and rows that give
// one gauge's pictures of a kind their own drawer. A gauge's row wins over
// its kind's.
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

cairo_surface_t* ArtBook::draw(const resources::BitmapRecord& record) const {
    Painter p(record.width, record.height);
    drawer_of(record)(p, record, uses(record.id));
    return p.release();
}

}  // namespace ardelvine::tools
