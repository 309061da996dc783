// Unit tests of whole gauges over the fake panel services: the gauges' chains,
// callbacks and mouse lists are reached through their headers as the host
// reaches them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/fake_services.h"

namespace ardelvine::test {

class FakePanel : public FakeServicesTest {
public:
    // Element n of a gauge's chain, as the host walks it.
    static ElementHeader* element(const GaugeHeader& gauge, int n) {
        ElementHeader* e = gauge.elements[0];
        for (int i = 0; i < n && e != nullptr; ++i) e = e->children ? e->children[0] : nullptr;
        return e;
    }
    template <typename Kind>
    static Kind* element_as(const GaugeHeader& gauge, int n) {
        return reinterpret_cast<Kind*>(element(gauge, n));
    }
    static int chain_length(const GaugeHeader& gauge) {
        int n = 0;
        while (element(gauge, n) != nullptr) ++n;
        return n;
    }

    // What the host does at an update: refresh the source, then ask the callback.
    static double evaluate(Icon* icon, double value) {
        icon->source.value = value;
        return icon->update != nullptr ? icon->update(&icon->header) : icon->source.value;
    }
    static double evaluate(Needle* needle, double value) {
        needle->source.value = value;
        return needle->update != nullptr ? needle->update(&needle->header) : needle->source.value;
    }

    // A click on mouse entry `entry` of `gauge` at (x, y) inside the area: the
    // handler when there is one, else the area's own key event.
    static void click(GaugeHeader& gauge, std::size_t entry, std::int32_t x = 1, std::int32_t y = 1,
                      std::uint32_t flags = MOUSE_LEFT) {
        const MouseRect& r = gauge.mouse[entry];
        ASSERT_EQ(r.kind, MouseKind::CHILD);
        if (r.handler != nullptr) {
            MouseClick at{x, y, &gauge};
            EXPECT_EQ(r.handler(&at, flags), 0);
        } else {
            events.emplace_back(r.event_id, 0);
        }
    }

    static std::string tooltip_text(const GaugeHeader& gauge, std::size_t entry, std::size_t arg = 0) {
        return gauge.mouse[entry].args[arg].text(0, 0, 0, 0, 0, 0);
    }
    static double tooltip_number(const GaugeHeader& gauge, std::size_t entry, std::size_t arg) {
        return gauge.mouse[entry].args[arg].number(0, 0, 0, 0, 0, 0);
    }

};

}  // namespace ardelvine::test
