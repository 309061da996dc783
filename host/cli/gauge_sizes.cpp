#include "host/cli/gauge_sizes.h"

#include <algorithm>
#include <limits>

#include "host/load/placement.h"

namespace ardelvine::hostapp {

std::vector<GaugeSize> gauge_sizes(const LoadedModule& module) {
    std::vector<GaugeSize> out;
    for (const GaugeHeader* g : module.gauges()) {
        const std::uint32_t id = background_bitmap(*g);
        const BitmapInfo face = bitmap_info(module.handle(), id).value_or(BitmapInfo{0, 0});
        const int width = static_cast<int>(std::min<std::uint32_t>(g->default_width, std::numeric_limits<int>::max()));
        out.push_back({g, g->default_width, proportional_height(width, {face.width, face.height}), id, face});
    }
    return out;
}

}  // namespace ardelvine::hostapp
