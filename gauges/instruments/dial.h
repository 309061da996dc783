// The skeleton shared by the table-driven dials: a lit face, needles that the
// host turns straight from a token through their nonlinearity tables, and a
// cover drawn over the needles. Each element's only child is the next one, so
// the chain order is the drawing order.
//
// A dial with nothing but needles between face and cover is one `Dial<N>`
// built by `make_dial`; a dial with other elements (the altimeter's card) uses
// the element builders directly. Either way the records are constant-
// initialised, and a needle without a usable table fails the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gauges/gauge.h"
#include "model/tokens.h"

namespace ardelvine::gauges::dials {

inline constexpr std::uint32_t kFaceFlags = IMAGE_LIT | IMAGE_RESTORE | IMAGE_TRANSPARENT;
inline constexpr std::uint32_t kNeedleFlags = IMAGE_LIT | IMAGE_SMOOTH | IMAGE_RESTORE | IMAGE_TRANSPARENT;
inline constexpr std::uint32_t kCoverFlags = IMAGE_RESTORE | IMAGE_TRANSPARENT;
static_assert(kFaceFlags == 0x4003 && kNeedleFlags == 0x4083 && kCoverFlags == 0x3);

// One row of a needle table: at `value` the needle points through (x, y) of the face.
constexpr NonlinearityEntry mark(double value, std::int32_t x, std::int32_t y) {
    return NonlinearityEntry{.x = x, .y = y, .value = value, .angle = 0.0};
}

struct Point {
    std::int32_t x, y;
};

struct DialNeedle {
    std::uint32_t bitmap;
    Point pivot;   // on the face
    Point offset;  // the point of the needle bitmap that lies on the pivot
    std::uint32_t token;
    std::span<NonlinearityEntry> table;
    FailureRecord* failures;  // null: no failure affects the needle
    ElementCallback update = nullptr;  // null: the needle shows its token as it is
};

struct DialArt {
    std::uint32_t face;
    std::uint32_t cover;
};

constexpr StaticImage dial_face(GaugeHeader& gauge, std::uint32_t bitmap, ElementHeader** children) {
    return StaticImage{.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmap, .gauge = &gauge,
                                  .children = children, .image_flags = kFaceFlags}};
}

// The cover is always the innermost element.
constexpr StaticImage dial_cover(GaugeHeader& gauge, std::uint32_t bitmap) {
    return StaticImage{.header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = bitmap, .gauge = &gauge,
                                  .children = nullptr, .image_flags = kCoverFlags}};
}

// A needle driven by its token (through its callback where it has one), with
// no swing limit.
constexpr Needle dial_needle(GaugeHeader& gauge, ElementHeader** children, const DialNeedle& needle) {
    if (needle.table.size() < 2) throw "a needle table needs at least two entries";
    if (needle.token == 0) throw "a dial needle is driven by a token";
    return Needle{
        .header = {.kind = ElementKind::NEEDLE, .bitmap = needle.bitmap, .x = needle.pivot.x,
                   .y = needle.pivot.y, .offset_x = needle.offset.x, .offset_y = needle.offset.y,
                   .gauge = &gauge, .children = children, .failures = needle.failures,
                   .image_flags = kNeedleFlags},
        .source = {.token = needle.token},
        .table = needle.table.data(),
        .table_entries = static_cast<std::uint32_t>(needle.table.size()),
        .max_swing = 0,
        .update = needle.update,
    };
}

// Face, N needles and cover, with the chain that links them.
template <std::size_t N>
struct Dial {
    static constexpr std::size_t kElements = N + 2;
    StaticImage face;
    Needle needles[N];
    StaticImage cover;
    ElementHeader* chain[2 * kElements];
};

// `self` is the object being initialised: the elements point into its chain.
template <std::size_t N>
constexpr Dial<N> make_dial(Dial<N>& self, GaugeHeader& gauge, DialArt art, const DialNeedle (&needles)[N]) {
    Dial<N> dial{};
    dial.face = dial_face(gauge, art.face, next_of(self.chain, 0));
    dial.chain[0] = &self.face.header;
    for (std::size_t i = 0; i < N; ++i) {
        dial.needles[i] = dial_needle(gauge, next_of(self.chain, i + 1), needles[i]);
        dial.chain[2 * (i + 1)] = &self.needles[i].header;
    }
    dial.cover = dial_cover(gauge, art.cover);
    dial.chain[2 * (N + 1)] = &self.cover.header;
    return dial;
}

}  // namespace ardelvine::gauges::dials
