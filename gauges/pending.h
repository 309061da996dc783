// A gauge whose own behaviour is still to come: its registry entry, its
// background from the resource catalogue and a whole-gauge mouse area, so that
// every name of the module can be placed. gauges/pending.cpp makes one for
// every registry entry marked placeholder.
#pragma once

#include "gauges/gauge.h"
#include "resources/catalogue.h"

namespace ardelvine::gauges {
void ARD_CALL pending_callback(GaugeHeader*, std::int32_t, std::uintptr_t);

// A placeholder has a callback (which does nothing) where its gauge will have one.
template <const GaugeEntry& Entry, std::size_t N>
consteval GaugeHeader make_placeholder(ElementHeader* (&chain)[N], MouseRect* mouse) {
    if constexpr (Entry.callback)
        return make_gauge(Entry, chain, mouse, pending_callback);
    else
        return make_gauge(Entry, chain, mouse);
}
}

#define ARD_PENDING_GAUGE(NAME)                                                                    \
    namespace pending_##NAME {                                                                     \
    constexpr std::uint32_t kBackground = resources::background_of(#NAME);                         \
    static_assert(kBackground != 0, "the catalogue has no background for " #NAME);                 \
    StaticImage background = {                                                                     \
        .header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = kBackground, .gauge = &NAME,       \
                   .image_flags = IMAGE_TRANSPARENT | IMAGE_RESTORE}};                             \
    ElementHeader* chain[] = {&background.header, nullptr};                                        \
    MouseRect mouse[] = {mouse_parent(), mouse_end_parent(), mouse_end()};                         \
    }                                                                                              \
    constinit GaugeHeader NAME = make_placeholder<registry::NAME>(pending_##NAME::chain, pending_##NAME::mouse);
