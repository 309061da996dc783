#include "model/elements.h"

namespace ardelvine {

ElementHeader* element_down(ElementHeader* element, std::uint32_t steps) {
    for (; element != nullptr && steps > 0; --steps) {
        if (element->children == nullptr) return nullptr;
        element = element->children[0];
    }
    return element;
}

void element_set_flags(ElementHeader* element, std::uint32_t steps, std::uint32_t bits) {
    if (ElementHeader* target = element_down(element, steps)) target->image_flags |= bits;
}

void element_clear_flags(ElementHeader* element, std::uint32_t steps, std::uint32_t bits) {
    if (ElementHeader* target = element_down(element, steps)) target->image_flags &= ~bits;
}

}  // namespace ardelvine
