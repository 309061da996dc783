// Element builders for the radio panels and the ADF/VOR indicator, so that a
// gauge's chain reads like its table: one line per element with bitmap,
// position, what drives it, failures and image flags. Each takes the list that
// holds the next element (next_of(chain, n)), or null for the last one.
#pragma once

#include <cstdint>
#include <span>

#include "gauges/gauge.h"

namespace ardelvine::gauges::radios {

inline constexpr std::uint32_t kPlainFlags = IMAGE_TRANSPARENT | IMAGE_RESTORE;                // 0x3
inline constexpr std::uint32_t kBrightFlags = kPlainFlags | IMAGE_BRIGHT;                      // 0x7
inline constexpr std::uint32_t kSmoothFlags = kPlainFlags | IMAGE_SMOOTH;                      // 0x83
inline constexpr std::uint32_t kLitFlags = kPlainFlags | IMAGE_LIT;                            // 0x4003
inline constexpr std::uint32_t kLitSmoothFlags = kSmoothFlags | IMAGE_LIT;                     // 0x4083
static_assert(kPlainFlags == 0x3 && kBrightFlags == 0x7 && kSmoothFlags == 0x83 && kLitFlags == 0x4003 &&
              kLitSmoothFlags == 0x4083);

struct At {
    std::int32_t x = 0, y = 0;
};

constexpr StaticImage plate(GaugeHeader& gauge, std::uint32_t bitmap, ElementHeader** next,
                            std::uint32_t flags = kPlainFlags) {
    return StaticImage{.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmap, .x = 0, .y = 0,
                                  .gauge = &gauge, .children = next, .image_flags = flags}};
}

struct IconSpec {
    std::uint32_t bitmap;  // the first image; the others follow it
    At at;
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
    At at;
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
    At pivot;   // on the background
    At offset;  // the point of the pointer's bitmap that lies on the pivot
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
    At at;
    At axle;
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
    At at;
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
                    .draw_flags = 0x25,
                    .chars = s.chars,
                    .update = s.update};
    return e;
}

}  // namespace ardelvine::gauges::radios
