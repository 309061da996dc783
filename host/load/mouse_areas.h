// The mouse areas of a placed gauge, with their nesting, for hit-testing and
// for drawing them over a panel.
#pragma once

#include <vector>

#include "host/load/placement.h"
#include "model/records.h"

namespace ardelvine::hostapp {

struct MouseArea {
    const MouseRect* rect;  // the PARENT or CHILD entry
    int depth;              // how many PARENTs enclose it
    int x, y, w, h;         // in background pixels; a whole-gauge PARENT is resolved
    const MouseRect* tooltip;  // PARENT: its TOOLTIP entry, or itself when it carries a help id
    int parent = -1;           // the index of the innermost enclosing PARENT in the list, -1 for none
};

std::vector<MouseArea> mouse_areas(const MouseRect* list, std::size_t count, BitmapSize gauge_size);

// The innermost area of `kind` under the point (first listed on a tie), or null.
const MouseArea* area_at(const std::vector<MouseArea>& areas, int x, int y, MouseKind kind, bool need_tooltip);

}  // namespace ardelvine::hostapp
