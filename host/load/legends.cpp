#include "host/load/legends.h"

#include <algorithm>

namespace ardelvine::hostapp {

double smallest_legend(std::uint32_t id) {
    const auto rows = legend_heights();
    const auto it = std::lower_bound(rows.begin(), rows.end(), id,
                                     [](const LegendHeight& row, std::uint32_t key) { return row.id < key; });
    return it != rows.end() && it->id == id ? it->height : 0.0;
}

}  // namespace ardelvine::hostapp
