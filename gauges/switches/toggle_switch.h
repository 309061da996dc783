// The two-position switches. A lever drawn from one simulation variable, a
// click that sends one toggle key event and plays the click, and a tooltip
// naming the switch and its state. The switch never changes the variable
// itself: the picture follows once the simulation has acted on the event.
//
// Guarded switches add a hinged cover over the lever. The cover lives only in
// the module (closed when the module loads, never saved): a right click opens
// or closes it, a left click reaches the lever only while it is open.
//
// Every switch is one SwitchRow (registry entry, token, key event, tooltip). The
// records and callbacks below are written once as class templates over that
// row and the gauge's header; each instantiation is one gauge, and its static
// state (lever flag or cover, click sound) is module-wide, shared by every
// placed copy of that gauge and never reset at install or kill.
#pragma once

#include <cstdint>

#include "gauges/gauge.h"
#include "module/host.h"
#include "sound/gauge_sound.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {

struct SwitchRow {
    const GaugeEntry* gauge;  // its registry entry: name and width
    std::uint32_t token;      // the variable the lever shows
    std::uint32_t key_event;  // sent with parameter 0 when the lever is clicked
    const char* tooltip;      // one string argument: the state
};


// The lifecycle of every switch: open a device and load the click at install,
// release both at kill; nothing else.
template <sound::GaugeSound& Sound>
void ARD_CALL switch_service(GaugeHeader*, std::int32_t service, std::uintptr_t data) {
    sound::gauge_sound_service(Sound, service, data, waves::TOGGLE_CLICK);
}

// The value the host refreshed in an icon's source before calling its callback.
inline double icon_source_value(const ElementHeader* element) {
    return reinterpret_cast<const Icon*>(element)->source.value;
}

// ------------------------------------------------------------ plain switch

template <const SwitchRow& Row, GaugeHeader& Gauge>
struct PlainSwitch {
    static_assert(Row.token != 0 && Row.key_event != 0);

    // Module-wide state.
    static inline std::int32_t on_flag = 0;  // the lever as last drawn; read by the tooltip
    static sound::GaugeSound sound;

    // Lever on only for exactly 1.0; 2.0, 0.5 or anything else draws it off.
    static double ARD_CALL switch_icon_value(ElementHeader* element) {
        if (element == nullptr) return 0.0;
        on_flag = icon_source_value(element) == 1.0 ? 1 : 0;
        return on_flag != 0 ? 1.0 : 0.0;
    }

    // Whatever the flags: the rectangle asks the host for left clicks only.
    static std::int32_t ARD_CALL switch_click(MouseClick*, std::uint32_t) {
        panel_services::trigger_key_event(Row.key_event, 0);
        sound::gauge_sound_click(sound);
        return 0;
    }

    static const char* ARD_CALL switch_state_text(ARD_TOOLTIP_WORDS) {
        return on_flag != 0 ? "On" : "Off";
    }

    // Records, in drawing order.
    static StaticImage plate;
    static Icon lever;
    static ElementHeader* chain[2 * 2];
    static TooltipArg state_arg[1];
    static MouseRect mouse[5];

    static constexpr GaugeHeader header() {
        return make_gauge(*Row.gauge, chain, mouse, &switch_service<sound>);
    }
};

// Defined outside the class so that every compiler emits it: an inline member
// named only as a template argument is left undefined by clang.
template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit sound::GaugeSound PlainSwitch<Row, Gauge>::sound{};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit StaticImage PlainSwitch<Row, Gauge>::plate = gauges::plate(Gauge, bitmaps::TOGGLE_PLATE, next_of(chain, 0));

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit Icon PlainSwitch<Row, Gauge>::lever = icon(
    Gauge, {.bitmap = bitmaps::TOGGLE_LEVER /* off, then on */, .images = 2, .token = Row.token, .update = &switch_icon_value},
    next_of(chain, 1));

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit ElementHeader* PlainSwitch<Row, Gauge>::chain[2 * 2] = {&plate.header, nullptr, &lever.header, nullptr};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit TooltipArg PlainSwitch<Row, Gauge>::state_arg[1] = {tooltip_text(&switch_state_text)};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit MouseRect PlainSwitch<Row, Gauge>::mouse[5] = {
    mouse_parent(),
    mouse_tooltip(Row.tooltip, state_arg),
    mouse_child({0, 0, 30, 44}, CURSOR_HAND, MOUSE_LEFT, &switch_click),
    mouse_end_parent(),
    mouse_end(),
};

// ------------------------------------------------------------ guarded switch

template <const SwitchRow& Row, GaugeHeader& Gauge>
struct GuardedSwitch {
    static_assert(Row.token != 0 && Row.key_event != 0);

    // Module-wide state.
    static inline std::int32_t cover_closed = 1;  // 1: protected, 0: accessible
    static sound::GaugeSound sound;

    // Any non-zero value draws the lever on, negative ones included.
    static double ARD_CALL guarded_icon_value(ElementHeader* element) {
        if (element == nullptr) return 0.0;
        return icon_source_value(element) != 0.0 ? 1.0 : 0.0;
    }

    // -1 draws no image, so the lever shows through the open cover.
    static double ARD_CALL cover_icon_value(ElementHeader*) { return cover_closed != 0 ? 0.0 : -1.0; }

    // Left wins when both bits come together; a left click on the closed cover
    // does nothing at all, not even the click.
    static std::int32_t ARD_CALL guarded_click(MouseClick*, std::uint32_t flags) {
        if ((flags & MOUSE_LEFT) != 0) {
            if (cover_closed == 0) {
                panel_services::trigger_key_event(Row.key_event, 0);
                sound::gauge_sound_click(sound);
            }
        } else if ((flags & MOUSE_RIGHT) != 0) {
            cover_closed = cover_closed == 0 ? 1 : 0;
            sound::gauge_sound_click(sound);
        }
        return 0;
    }

    // Reads the variable afresh rather than the lever's copy, and says "on"
    // only above zero: a negative value draws the lever on but reads "off".
    static const char* ARD_CALL guarded_state_text(ARD_TOOLTIP_WORDS) {
        const bool on = panel_services::read_token(Row.token) > 0.0;
        if (cover_closed != 0) return on ? "on and protected" : "off and protected";
        return on ? "on and accessible" : "off and accessible";
    }

    // Records, in drawing order: the cover comes last, over the lever.
    static StaticImage plate;
    static Icon lever;
    static Icon cover;
    static ElementHeader* chain[2 * 3];
    static TooltipArg state_arg[1];
    static MouseRect mouse[5];

    static constexpr GaugeHeader header() {
        return make_gauge(*Row.gauge, chain, mouse, &switch_service<sound>);
    }
};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit sound::GaugeSound GuardedSwitch<Row, Gauge>::sound{};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit StaticImage GuardedSwitch<Row, Gauge>::plate = gauges::plate(Gauge, bitmaps::GUARDED_PLATE, next_of(chain, 0));

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit Icon GuardedSwitch<Row, Gauge>::lever = icon(
    Gauge, {.bitmap = bitmaps::GUARDED_LEVER /* off, then on */, .images = 2, .token = Row.token, .update = &guarded_icon_value},
    next_of(chain, 1));

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit Icon GuardedSwitch<Row, Gauge>::cover = icon(
    Gauge, {.bitmap = bitmaps::GUARD_COVER /* closed cover */, .images = 1, .token = 0, .update = &cover_icon_value},
    next_of(chain, 2));

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit ElementHeader* GuardedSwitch<Row, Gauge>::chain[2 * 3] = {&plate.header, nullptr, &lever.header, nullptr,
                                                          &cover.header, nullptr};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit TooltipArg GuardedSwitch<Row, Gauge>::state_arg[1] = {tooltip_text(&guarded_state_text)};

template <const SwitchRow& Row, GaugeHeader& Gauge>
constinit MouseRect GuardedSwitch<Row, Gauge>::mouse[5] = {
    mouse_parent(),
    mouse_tooltip(Row.tooltip, state_arg),
    mouse_child({0, 5, 54, 110}, CURSOR_HAND, MOUSE_LEFT | MOUSE_RIGHT, &guarded_click),
    mouse_end_parent(),
    mouse_end(),
};

}  // namespace ardelvine::gauges
