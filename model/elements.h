// Small operations on element chains, and the layout convention every gauge
// uses for its chain.
//
// A gauge's elements form one chain from the background upwards. Each gauge
// keeps them in one array of pointer pairs, {element, null}, in drawing order:
//
//     ElementHeader* chain[] = {&background.header, nullptr, &needle.header, nullptr, ...};
//
// so that the pair at index 2n is both "the list holding element n" (the
// header's element list for n = 0, element n-1's child list otherwise) and a
// properly terminated one-entry list. `chain_link(chain, n)` names that pair.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/records.h"

namespace ardelvine {

constexpr ElementHeader** chain_link(ElementHeader** chain, std::size_t n) { return chain + 2 * n; }

// Follows the first child `steps` times; null as soon as an element has no child.
ElementHeader* element_down(ElementHeader* element, std::uint32_t steps);

// Set or clear image-flag bits on the element `steps` below `element`; nothing
// when there is no such element.
void element_set_flags(ElementHeader* element, std::uint32_t steps, std::uint32_t bits);
void element_clear_flags(ElementHeader* element, std::uint32_t steps, std::uint32_t bits);

inline bool has_flags(const ElementHeader* element, std::uint32_t bits) {
    return (element->image_flags & bits) == bits;
}

}  // namespace ardelvine
