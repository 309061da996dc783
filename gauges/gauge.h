// Building blocks for the gauge files: a gauge is its header, its element
// chain (see model/elements.h for the chain array), its mouse list and a few
// callbacks. The builders below are constexpr, so every record is constant-
// initialised static data and a wrong pointer or count fails the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "model/elements.h"
#include "model/records.h"
#include "module/gauge_list.h"

namespace ardelvine::gauges {

// A gauge's header: name and width come from its registry entry. A gauge with
// a lifecycle callback passes it, one without passes none, and the registry
// must agree, or the build fails. (The choice is made by the overload, not by
// comparing the callback with null: the address of a template's function is
// not a constant a sanitizer build lets the compiler compare.)
template <std::size_t N>
consteval GaugeHeader make_gauge(const GaugeEntry& entry, ElementHeader* (&chain)[N], MouseRect* mouse,
                                 GaugeCallback callback) {
    static_assert(N >= 2 && N % 2 == 0, "a chain holds {element, null} pairs");
    if (!entry.callback) throw "the registry says this gauge has no callback";
    GaugeHeader header{};
    header.version = kGaugeHeaderVersion;
    header.name = entry.name;
    header.elements = chain_link(chain, 0);
    header.default_width = entry.width;
    header.default_height = 0;
    header.adjust_x = 0.0f;
    header.adjust_y = 0.0f;
    header.mouse = mouse;
    header.callback = callback;
    header.user_data = 0;
    header.parameters = nullptr;
    return header;
}

template <std::size_t N>
consteval GaugeHeader make_gauge(const GaugeEntry& entry, ElementHeader* (&chain)[N], MouseRect* mouse) {
    static_assert(N >= 2 && N % 2 == 0, "a chain holds {element, null} pairs");
    if (entry.callback) throw "the registry says this gauge has a callback";
    GaugeHeader header{};
    header.version = kGaugeHeaderVersion;
    header.name = entry.name;
    header.elements = chain_link(chain, 0);
    header.default_width = entry.width;
    header.mouse = mouse;
    header.callback = nullptr;
    return header;
}

// The list holding the element after element n, or null for the last one.
template <std::size_t N>
constexpr ElementHeader** next_of(ElementHeader* (&chain)[N], std::size_t n) {
    return 2 * (n + 1) < N ? chain_link(chain, n + 1) : nullptr;
}

// ------------------------------------------------------------ mouse entries

constexpr MouseRect mouse_parent(std::int32_t x = 0, std::int32_t y = 0, std::int32_t w = 0,
                                 std::int32_t h = 0, std::int32_t cursor = CURSOR_NONE,
                                 std::uint32_t help_id = 0) {
    MouseRect r{};
    r.kind = MouseKind::PARENT;
    r.x = x, r.y = y, r.width = w, r.height = h;
    r.cursor = cursor;
    r.help_id = help_id;
    r.handler = nullptr;
    return r;
}

constexpr MouseRect mouse_end_parent() {
    MouseRect r{};
    r.kind = MouseKind::END_PARENT;
    r.cursor = CURSOR_NONE;
    r.handler = nullptr;
    return r;
}

constexpr MouseRect mouse_end() {
    MouseRect r{};
    r.kind = MouseKind::END;
    r.cursor = CURSOR_NONE;
    r.handler = nullptr;
    return r;
}

// A click area whose clicks the host turns into a key event by itself.
constexpr MouseRect mouse_child_event(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                                      std::int32_t cursor, std::uint32_t flags, std::uint32_t event) {
    MouseRect r{};
    r.kind = MouseKind::CHILD;
    r.x = x, r.y = y, r.width = w, r.height = h;
    r.cursor = cursor;
    r.click_flags = flags;
    r.event_id = event;
    r.handler = nullptr;
    return r;
}

// A click area handled by module code.
constexpr MouseRect mouse_child(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                                std::int32_t cursor, std::uint32_t flags, MouseHandler handler) {
    MouseRect r{};
    r.kind = MouseKind::CHILD;
    r.x = x, r.y = y, r.width = w, r.height = h;
    r.cursor = cursor;
    r.click_flags = flags;
    r.handler = handler;
    return r;
}

// A tooltip that is one of the host's texts.
constexpr MouseRect mouse_tooltip_id(std::uint32_t help_id) {
    MouseRect r{};
    r.kind = MouseKind::TOOLTIP;
    r.cursor = CURSOR_NONE;
    r.help_id = help_id;
    r.tooltip_text = nullptr;
    return r;
}

// A tooltip text of the module, with its argument array.
template <std::size_t N>
constexpr MouseRect mouse_tooltip(const char* text, TooltipArg (&args)[N]) {
    MouseRect r{};
    r.kind = MouseKind::TOOLTIP;
    r.cursor = CURSOR_NONE;
    r.event_id = N;
    r.tooltip_text = text;
    r.args = args;
    return r;
}

constexpr MouseRect mouse_tooltip(const char* text) {
    MouseRect r{};
    r.kind = MouseKind::TOOLTIP;
    r.cursor = CURSOR_NONE;
    r.tooltip_text = text;
    return r;
}

constexpr TooltipArg tooltip_number(TooltipNumberFn fn) {
    TooltipArg a{};
    a.number = fn;
    return a;
}

constexpr TooltipArg tooltip_text(TooltipTextFn fn) {
    TooltipArg a{};
    a.text = fn;
    return a;
}

}  // namespace ardelvine::gauges

// Tooltip producers ignore the six words the host passes them.
#define ARD_TOOLTIP_WORDS std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t
