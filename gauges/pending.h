// A gauge whose own behaviour is still to come: its header, its background and
// a whole-gauge mouse area, so that every name of the module can be placed.
#pragma once

#include "gauges/gauge.h"

namespace ardelvine::gauges {
void ARD_CALL pending_callback(GaugeHeader*, std::int32_t, std::uintptr_t);
}

#define ARD_PENDING_CALLBACK_true ::ardelvine::gauges::pending_callback
#define ARD_PENDING_CALLBACK_false nullptr

#define ARD_PENDING_GAUGE(NAME, WIDTH, BITMAP, HAS_CALLBACK)                                       \
    namespace pending_##NAME {                                                                     \
    StaticImage background = {                                                                     \
        .header = {.kind = ElementKind::STATIC_IMAGE, .bitmap = BITMAP, .gauge = &NAME,            \
                   .image_flags = IMAGE_TRANSPARENT | IMAGE_RESTORE}};                             \
    ElementHeader* chain[] = {&background.header, nullptr};                                        \
    MouseRect mouse[] = {mouse_parent(), mouse_end_parent(), mouse_end()};                         \
    }                                                                                              \
    GaugeHeader NAME = make_gauge(#NAME, WIDTH, pending_##NAME::chain, pending_##NAME::mouse,      \
                                  ARD_PENDING_CALLBACK_##HAS_CALLBACK);
