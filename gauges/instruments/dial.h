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

// A needle driven by its token (through its callback where it has one), with
// no swing limit.
constexpr Needle dial_needle(GaugeHeader& gauge, ElementHeader** next, const DialNeedle& needle) {
    if (needle.token == 0) throw "a dial needle is driven by a token";
    return pointer(gauge,
                   {.bitmap = needle.bitmap, .pivot = needle.pivot, .offset = needle.offset, .table = needle.table,
                    .update = needle.update, .token = needle.token, .failures = needle.failures,
                    .flags = kLitSmoothFlags},
                   next);
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
    dial.face = plate(gauge, art.face, next_of(self.chain, 0), kLitFlags);
    dial.chain[0] = &self.face.header;
    for (std::size_t i = 0; i < N; ++i) {
        dial.needles[i] = dial_needle(gauge, next_of(self.chain, i + 1), needles[i]);
        dial.chain[2 * (i + 1)] = &self.needles[i].header;
    }
    dial.cover = plate(gauge, art.cover, nullptr);  // the cover is always the innermost element
    dial.chain[2 * (N + 1)] = &self.cover.header;
    return dial;
}

}  // namespace ardelvine::gauges::dials
