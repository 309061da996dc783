// Reaching a gauge's callbacks the way the host does: elements down the
// chain, click areas and tooltips in mouse-list order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"

namespace ardelvine::test {

inline ElementHeader* element(const GaugeHeader& gauge, int n) {
    ElementHeader* e = gauge.elements[0];
    for (int i = 0; i < n && e != nullptr; ++i) e = e->children ? e->children[0] : nullptr;
    return e;
}

template <typename T>
T& element_as(const GaugeHeader& gauge, int n) {
    return *reinterpret_cast<T*>(element(gauge, n));
}

// The click areas (CHILD entries), in list order.
inline std::vector<const MouseRect*> click_areas(const GaugeHeader& gauge) {
    std::vector<const MouseRect*> out;
    for (const MouseRect* m = gauge.mouse; m->kind != MouseKind::END; ++m)
        if (m->kind == MouseKind::CHILD) out.push_back(m);
    return out;
}

inline void click(GaugeHeader& gauge, int area, std::uint32_t flags) {
    MouseClick at{1, 1, &gauge};
    click_areas(gauge).at(static_cast<std::size_t>(area))->handler(&at, flags);
}

// The tooltip entries with a text of the module's, in list order.
inline std::vector<const MouseRect*> tooltips(const GaugeHeader& gauge) {
    std::vector<const MouseRect*> out;
    for (const MouseRect* m = gauge.mouse; m->kind != MouseKind::END; ++m)
        if (m->kind == MouseKind::TOOLTIP && m->tooltip_text != nullptr) out.push_back(m);
    return out;
}

inline double number_arg(const GaugeHeader& gauge, int n) {
    return tooltips(gauge).at(0)->args[n].number(0, 0, 0, 0, 0, 0);
}
inline std::string text_arg(const GaugeHeader& gauge, int n) {
    return tooltips(gauge).at(0)->args[n].text(0, 0, 0, 0, 0, 0);
}

// What the host does for an element: the callback's value.
inline double evaluate(ElementHeader* e) {
    switch (e->kind) {
        case ElementKind::NEEDLE: return reinterpret_cast<Needle*>(e)->update(e);
        case ElementKind::ICON: return reinterpret_cast<Icon*>(e)->update(e);
        case ElementKind::MOVING_IMAGE: return reinterpret_cast<MovingImage*>(e)->y_update(e);
        case ElementKind::SPRITE: return reinterpret_cast<Sprite*>(e)->rotation_update(e);
        case ElementKind::STRING: return reinterpret_cast<StringElement*>(e)->update(e);
        case ElementKind::STATIC_IMAGE:
        case ElementKind::SLIDER: break;
    }
    return 0.0;
}

inline bool hidden(const ElementHeader* e) { return (e->image_flags & IMAGE_HIDDEN) != 0; }
inline bool lit(const ElementHeader* e) { return (e->image_flags & IMAGE_LIT) != 0; }

}  // namespace ardelvine::test
