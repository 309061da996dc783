// Placeholders for every gauge the registry marks as not built yet: each
// keeps its real name, width, background bitmap and (where it will have one)
// a lifecycle callback, so panels can place it today.
#include "gauges/pending.h"

namespace ardelvine::gauges {

void ARD_CALL pending_callback(GaugeHeader*, std::int32_t, std::uintptr_t) {}

#define ARD_PLACEHOLDER_built(name)
#define ARD_PLACEHOLDER_placeholder(name) ARD_PENDING_GAUGE(name)
#define ARD_PLACEHOLDER(name, width, callback, state) ARD_PLACEHOLDER_##state(name)
ARDELVINE_GAUGES(ARD_PLACEHOLDER)
#undef ARD_PLACEHOLDER
#undef ARD_PLACEHOLDER_placeholder
#undef ARD_PLACEHOLDER_built

}  // namespace ardelvine::gauges
