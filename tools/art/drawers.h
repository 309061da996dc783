// Every drawer of the art generator. A drawer paints one bitmap of the
// catalogue on a transparent surface of its size, from the catalogue record
// and the module's element records that use it; the table in
// tools/art/dispatch.cpp says which drawer draws which art kind.
#pragma once

#include "tools/art/paint.h"

namespace ardelvine::tools::art {

using Drawer = void (*)(Painter& p, const BitmapRecord& record, const Uses& uses);

// faces.cpp: faces and what is fixed over them
void draw_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_cover(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_overlay(Painter& p, const BitmapRecord& record, const Uses& uses);

// moving.cpp: moving parts
void draw_needle(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_knob(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_compass_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_baro_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_horizon(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_strip(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_drum(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_digit(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_window(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_flag(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_bars(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_ball(Painter& p, const BitmapRecord& record, const Uses& uses);

// controls.cpp: switches, controls and lamps
void draw_switch(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_switch_plate(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_guard(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_lever(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_lamp(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_lamp_lit(Painter& p, const BitmapRecord& record, const Uses& uses);

// Where a quadrant lever's knob sits in its w x h picture: the picture's
// bottom kLeverLabelRoom pixels stay clear for the lever's name.
inline constexpr double kLeverLabelRoom = 15.0;
struct LeverKnob {
    double top, height;
};
LeverKnob lever_knob(int w, int h);

// panels.cpp: panels
void draw_panel(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_blank(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_unused(Painter& p, const BitmapRecord& record, const Uses& uses);

// systems.cpp: engine and systems pictures of their own
void draw_fuel_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_annunciator_panel(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_starter_button(Painter& p, const BitmapRecord& record, const Uses& uses);

// buttons.cpp: the panel-window buttons and the registration plate
void draw_window_button(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_registration_plate(Painter& p, const BitmapRecord& record, const Uses& uses);

// radios.cpp: the radio stack and the ADF/VOR indicator
void draw_radio_panel(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_adf_glass(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_channel_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_band_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_radio_knob(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_radio_switch(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_indicator_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_indicator_overlay(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_indicator_bezel(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_indicator_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_indicator_window(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_nav_flag(Painter& p, const BitmapRecord& record, const Uses& uses);

// flight_instruments.cpp: the horizons, turn coordinator, compasses and clock
void draw_attitude_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_horizon_card(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_horizon_window(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_bank_pointer(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_bank_scale(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_reference_bars(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_attitude_cover(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_cage_knob(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_turn_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_turn_ball(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_tube_marks(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_turn_needle(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_turn_cover(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_gyro_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_whiskey_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_clock_face(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_clock_hand(Painter& p, const BitmapRecord& record, const Uses& uses);
void draw_clock_cover(Painter& p, const BitmapRecord& record, const Uses& uses);

}  // namespace ardelvine::tools::art
