// The module's entry: Linkage lists every gauge header in a fixed order. The
// headers and all they point to are static data; nothing here allocates.
#include "module/exports.h"
#include "module/gauge_list.h"

namespace {

void ARD_CALL module_init() {}
void ARD_CALL module_deinit() {}

#define ARD_COUNT_GAUGE(name, width, callback) +1
static_assert(0 ARDELVINE_GAUGES(ARD_COUNT_GAUGE) == ardelvine::kGaugeCount);
#undef ARD_COUNT_GAUGE

}  // namespace

extern "C" {
ardelvine::LinkageRecord Linkage = {
    ardelvine::kLinkageId,
    module_init,
    module_deinit,
    0,
    0,
    ardelvine::kModuleVersion,
    {
#define ARD_GAUGE_POINTER(name, width, callback) &ardelvine::gauges::name,
        ARDELVINE_GAUGES(ARD_GAUGE_POINTER)
#undef ARD_GAUGE_POINTER
        nullptr,
    },
};
}
