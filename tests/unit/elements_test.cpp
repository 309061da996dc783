#include <gtest/gtest.h>

#include "model/elements.h"

namespace ardelvine {
namespace {

TEST(ElementHelpers, WalkSetAndClearAlongAChain) {
    StaticImage a{}, b{}, c{};
    ElementHeader* chain[] = {&a.header, nullptr, &b.header, nullptr, &c.header, nullptr};
    a.header.children = chain_link(chain, 1);
    b.header.children = chain_link(chain, 2);

    EXPECT_EQ(element_down(&a.header, 0), &a.header);
    EXPECT_EQ(element_down(&a.header, 2), &c.header);
    EXPECT_EQ(element_down(&a.header, 3), nullptr);
    EXPECT_EQ(element_down(nullptr, 1), nullptr);

    element_set_flags(&a.header, 1, IMAGE_HIDDEN | IMAGE_LIT);
    EXPECT_EQ(b.header.image_flags, IMAGE_HIDDEN | IMAGE_LIT);
    element_clear_flags(&a.header, 1, IMAGE_HIDDEN);
    EXPECT_EQ(b.header.image_flags, IMAGE_LIT);
    element_set_flags(&a.header, 7, IMAGE_HIDDEN);  // past the end: nothing happens
    EXPECT_EQ(c.header.image_flags, 0u);
}

}  // namespace
}  // namespace ardelvine
