// Building blocks for the gauge files: a gauge is its header, its element
// chain (see model/elements.h for the chain array), its mouse list and a few
// callbacks. The builders below are constexpr, so every record is constant-
// initialised static data and a wrong pointer or count fails the build.
//
// Element builders take the list that holds the next element
// (next_of(chain, n)), or null for the last one, so that a gauge's chain reads
// like its table: one line per element with bitmap, position, what drives it,
// failures and image flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "model/elements.h"
#include "model/records.h"
#include "module/gauge_list.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {

// Gauges name their pictures and sounds by these.
namespace bitmaps = resources::bitmaps;
namespace waves = resources::waves;

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

// ------------------------------------------------------------ elements

// The image flags of every element of the module: five combinations.
inline constexpr std::uint32_t kPlainFlags = IMAGE_TRANSPARENT | IMAGE_RESTORE;                // 0x3
inline constexpr std::uint32_t kBrightFlags = kPlainFlags | IMAGE_BRIGHT;                      // 0x7
inline constexpr std::uint32_t kSmoothFlags = kPlainFlags | IMAGE_SMOOTH;                      // 0x83
inline constexpr std::uint32_t kLitFlags = kPlainFlags | IMAGE_LIT;                            // 0x4003
inline constexpr std::uint32_t kLitSmoothFlags = kSmoothFlags | IMAGE_LIT;                     // 0x4083
static_assert(kPlainFlags == 0x3 && kBrightFlags == 0x7 && kSmoothFlags == 0x83 && kLitFlags == 0x4003 &&
              kLitSmoothFlags == 0x4083);

// Every string of the module: centred both ways on one line.
inline constexpr std::uint32_t kCentredLine = TEXT_CENTRE | TEXT_MIDDLE | TEXT_ONE_LINE;
static_assert(kCentredLine == 0x25);

struct Point {
    std::int32_t x = 0, y = 0;
};

constexpr StaticImage plate(GaugeHeader& gauge, std::uint32_t bitmap, ElementHeader** next,
                            std::uint32_t flags = kPlainFlags) {
    return StaticImage{.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmap, .x = 0, .y = 0,
                                  .gauge = &gauge, .children = next, .image_flags = flags}};
}

struct IconSpec {
    std::uint32_t bitmap;  // the first image; the others follow it
    Point at;
    std::uint32_t images;
    std::uint32_t token = 0;  // 0: the value comes only from the callback
    ElementCallback update = nullptr;
    FailureRecord* failures = nullptr;
    std::uint32_t flags = kPlainFlags;
    double scale = 1.0;
};

constexpr Icon icon(GaugeHeader& gauge, const IconSpec& s, ElementHeader** next) {
    return Icon{.header = {.kind = ElementKind::ICON, .bitmap = s.bitmap, .x = s.at.x, .y = s.at.y,
                           .gauge = &gauge, .children = next, .failures = s.failures, .image_flags = s.flags},
                .source = {.token = s.token},
                .scale = s.scale,
                .images = s.images,
                .update = s.update};
}

// A digit drum: a strip of digit cells (bitmap) behind a one-cell window (the
// next id), moved vertically by its value between 0 and `top`.
struct DrumSpec {
    std::uint32_t bitmap;
    Point at;
    double top;  // 10 for a 0-9-0 strip, 1 for a 0-1 strip
    ElementCallback update;
    FailureRecord* failures;
    std::uint32_t token = 0;
};

constexpr MovingImage drum(GaugeHeader& gauge, const DrumSpec& s, ElementHeader** next) {
    return MovingImage{.header = {.kind = ElementKind::MOVING_IMAGE, .bitmap = s.bitmap, .x = s.at.x, .y = s.at.y,
                                  .gauge = &gauge, .children = next, .failures = s.failures,
                                  .image_flags = kSmoothFlags},
                       .x = {.source = {.token = 0}, .minimum = 0.0, .maximum = 0.0},
                       .y = {.source = {.token = s.token}, .minimum = 0.0, .maximum = s.top},
                       .x_update = nullptr,
                       .y_update = s.update};
}

struct PointerSpec {
    std::uint32_t bitmap;
    Point pivot;   // on the background
    Point offset;  // the point of the pointer's bitmap that lies on the pivot
    std::span<NonlinearityEntry> table;
    ElementCallback update = nullptr;
    std::uint32_t token = 0;
    FailureRecord* failures = nullptr;
    std::uint32_t flags = kSmoothFlags;
};

constexpr Needle pointer(GaugeHeader& gauge, const PointerSpec& s, ElementHeader** next) {
    if (s.table.size() < 2) throw "a needle table needs at least two entries";
    return Needle{.header = {.kind = ElementKind::NEEDLE, .bitmap = s.bitmap, .x = s.pivot.x, .y = s.pivot.y,
                             .offset_x = s.offset.x, .offset_y = s.offset.y, .gauge = &gauge, .children = next,
                             .failures = s.failures, .image_flags = s.flags},
                  .source = {.token = s.token},
                  .table = s.table.data(),
                  .table_entries = static_cast<std::uint32_t>(s.table.size()),
                  .max_swing = 0,
                  .update = s.update};
}

// One row of a needle table: at `value` the needle points through (x, y).
constexpr NonlinearityEntry through(double value, std::int32_t x, std::int32_t y) {
    return NonlinearityEntry{.x = x, .y = y, .value = value, .angle = 0.0};
}

// A turning picture (knob, card) seen through its window bitmap (the next id)
// placed at `at`; `axle` is the point of the background it turns about.
struct CardSpec {
    std::uint32_t bitmap;
    Point at;
    Point axle;
    double rotation_scale;
    ElementCallback rotation;
    std::uint32_t token = 0;
    FailureRecord* failures = nullptr;
    std::uint32_t flags = kSmoothFlags;
};

constexpr Sprite card(GaugeHeader& gauge, const CardSpec& s, ElementHeader** next) {
    return Sprite{.header = {.kind = ElementKind::SPRITE, .bitmap = s.bitmap, .x = s.at.x, .y = s.at.y,
                             .offset_x = s.axle.x, .offset_y = s.axle.y, .gauge = &gauge, .children = next,
                             .failures = s.failures, .image_flags = s.flags},
                  .x = {.source = {.token = 0}, .scale = 1.0},
                  .y = {.source = {.token = 0}, .scale = 1.0},
                  .rotation = {.source = {.token = s.token}, .scale = s.rotation_scale},
                  .texture_x = 1.0f,
                  .texture_y = 1.0f,
                  .x_update = nullptr,
                  .y_update = nullptr,
                  .rotation_update = s.rotation};
}

// A line of bold Arial centred in its box: the frequency readouts and the
// indicator's course window.
struct TextSpec {
    Point at;
    std::uint32_t chars;
    std::uint32_t width, height;
    std::uint32_t colour, highlight;  // 0x00BBGGRR on black
    std::uint32_t token;              // first source
    std::uint32_t second_token;       // 0 when not needed
    ElementCallback update;
    FailureRecord* failures;
    std::uint32_t flags;
};

constexpr StringElement text(GaugeHeader& gauge, const TextSpec& s, ElementHeader** next) {
    StringElement e{.header = {.kind = ElementKind::STRING, .bitmap = kNoBitmap, .x = s.at.x, .y = s.at.y,
                               .gauge = &gauge, .children = next, .failures = s.failures, .image_flags = s.flags},
                    .sources = {{.token = s.token}, {.token = s.second_token}, {.token = 0}},
                    .text = nullptr,
                    .box_width = s.width,
                    .box_height = s.height,
                    .foreground = s.colour,
                    .background = 0x000000,
                    .highlight = s.highlight,
                    .font = {'A', 'r', 'i', 'a', 'l'},
                    .weight = 700,
                    .charset = 1,
                    .draw_flags = kCentredLine,
                    .chars = s.chars,
                    .update = s.update};
    return e;
}

// ------------------------------------------------------------ mouse entries

// A mouse area on the background: its top left corner, width and height.
struct Rect {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

// With no area: the whole gauge.
constexpr MouseRect mouse_parent(Rect area = {}, std::int32_t cursor = CURSOR_NONE, std::uint32_t help_id = 0) {
    MouseRect r{};
    r.kind = MouseKind::PARENT;
    r.x = area.x, r.y = area.y, r.width = area.width, r.height = area.height;
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
constexpr MouseRect mouse_child_event(Rect area, std::int32_t cursor, std::uint32_t flags, std::uint32_t event) {
    MouseRect r{};
    r.kind = MouseKind::CHILD;
    r.x = area.x, r.y = area.y, r.width = area.width, r.height = area.height;
    r.cursor = cursor;
    r.click_flags = flags;
    r.event_id = event;
    r.handler = nullptr;
    return r;
}

// A click area handled by module code.
constexpr MouseRect mouse_child(Rect area, std::int32_t cursor, std::uint32_t flags, MouseHandler handler) {
    MouseRect r{};
    r.kind = MouseKind::CHILD;
    r.x = area.x, r.y = area.y, r.width = area.width, r.height = area.height;
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

// A few entries that stand together in a mouse list.
template <std::size_t N>
struct MouseRun {
    MouseRect entries[N];
};

// An area that only shows a tooltip: PARENT over the area, the tooltip
// (mouse_tooltip or mouse_tooltip_id), END_PARENT.
constexpr MouseRun<3> tooltip_area(Rect area, const MouseRect& tooltip) {
    return {{mouse_parent(area), tooltip, mouse_end_parent()}};
}

// A control whose tooltip area and click area are one rectangle. A gauge's
// list holds its tooltip areas before its click areas, so the two go into the
// list apart: `tooltip` among the areas, `click` among the clicks.
struct Control {
    MouseRun<3> tooltip;
    MouseRect click;
};

constexpr Control control(Rect area, const MouseRect& tooltip, std::int32_t cursor, std::uint32_t flags,
                          MouseHandler handler) {
    return {tooltip_area(area, tooltip), mouse_child(area, cursor, flags, handler)};
}

// The same, for a click area whose clicks the host turns into a key event.
constexpr Control control(Rect area, const MouseRect& tooltip, std::int32_t cursor, std::uint32_t flags,
                          std::uint32_t event) {
    return {tooltip_area(area, tooltip), mouse_child_event(area, cursor, flags, event)};
}

namespace detail {
template <typename Piece>
inline constexpr std::size_t kMouseEntries = 1;
template <std::size_t N>
inline constexpr std::size_t kMouseEntries<MouseRun<N>> = N;
constexpr void append(MouseRect*& out, const MouseRect& entry) { *out++ = entry; }
template <std::size_t N>
constexpr void append(MouseRect*& out, const MouseRun<N>& run) {
    for (const MouseRect& entry : run.entries) *out++ = entry;
}
}  // namespace detail

// A gauge's mouse list from its entries and runs, in order.
template <typename... Pieces>
constexpr auto mouse_list(const Pieces&... pieces) {
    std::array<MouseRect, (detail::kMouseEntries<Pieces> + ...)> list{};
    MouseRect* out = list.data();
    (detail::append(out, pieces), ...);
    return list;
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
