// The art generator's layout check, on texts drawn with the painter the
// drawers use: each planted fault is refused, a clean picture passes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tools/art/paint.h"

namespace ardelvine::tools::art {
namespace {

struct Case {
    const char* name;
    std::function<void(Painter&)> draw;
    const char* fault;  // a word the refusal must contain; null: no fault
};

TEST(ArtLayout, RefusesWhatADesignerWouldNotShip) {
    const Case cases[] = {
        {"apart", [](Painter& p) { p.text("200", 30, 30, 12, kInk), p.text("330", 70, 70, 12, kInk); }, nullptr},
        {"overlap", [](Painter& p) { p.text("200", 50, 50, 12, kInk), p.text("330", 58, 52, 12, kInk); }, "overlaps"},
        {"turned apart",
         [](Painter& p) { p.text("100", 30, 50, 12, kInk, true, 1.2), p.text("150", 52, 50, 12, kInk, true, 1.2); },
         nullptr},
        {"outside the bitmap", [](Painter& p) { p.text("OFF", 3, 50, 12, kInk); }, "leaves its face"},
        {"outside a round face",
         [](Painter& p) { p.layout().face_circle(50, 50, 40), p.text("KNOTS", 50, 12, 12, kInk); }, "leaves its face"},
        {"four pixels", [](Painter& p) { p.text("kHz", 50, 50, 5.8, kInk); }, "px high"},
        {"six pixels", [](Painter& p) { p.text("kHz", 50, 50, 9, kInk); }, nullptr},
        {"on a mark", [](Painter& p) { p.mark(40, 50, 60, 50, 2, kInk), p.text("100", 50, 52, 12, kInk); }, "scale mark"},
        {"under a hub", [](Painter& p) { p.layout().hub(50, 50, 12), p.text("ALT", 50, 58, 12, kInk); }, "hub"},
        {"under a window",
         [](Painter& p) { p.layout().cover(box_of(60, 40, 30, 20), "a window"), p.text("BAND", 55, 50, 12, kInk); },
         "window"},
        {"too small for text", [](Painter& p) { p.layout().no_text(), p.text("ST", 50, 50, 12, kInk); }, "too small"},
    };
    for (const Case& c : cases) {
        Painter p(100, 100);
        c.draw(p);
        std::string all;
        for (const std::string& problem : p.layout().problems()) all += problem + "\n";
        if (c.fault == nullptr)
            EXPECT_EQ(all, "") << c.name;
        else
            EXPECT_NE(all.find(c.fault), std::string::npos) << c.name << ": " << all;
    }
}

}  // namespace
}  // namespace ardelvine::tools::art
