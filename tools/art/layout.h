// What a bitmap's drawer put where, and whether a designer would ship it:
// every text's box, every scale mark, the region the texts must stay in, the
// windows and controls laid over the picture and the hubs of the needles that
// turn over it. The generator refuses a picture whose texts overlap each
// other or a mark, leave their face, cross or hide under a window or control,
// sit under a needle's hub, or are too small to read.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ardelvine::tools::art {

// The smallest capital height a legend may have at the bitmap's own size.
inline constexpr double kMinCapHeight = 6.0;

// A rectangle turned by `turn` radians clockwise about its centre.
struct Box {
    double cx, cy, half_w, half_h, turn = 0.0;
};

Box box_of(double x, double y, double w, double h);

class Layout {
public:
    Layout(double width, double height) : width_(width), height_(height) {}

    // Texts stay inside this circle (a round dial, a lamp's lens) instead of
    // the whole bitmap.
    void face_circle(double cx, double cy, double r);
    void text(std::string s, Box box, double cap_height);
    void mark(Box box) { marks_.push_back(box); }
    // Something drawn over the picture: a window the moving parts show
    // through, a switch or knob. A text that reaches under it is hidden.
    void cover(Box box, std::string what) { covers_.push_back({box, std::move(what)}); }
    // A picture drawn over this one at (x, y): texts under its painted
    // pixels (`opaque`, row by row, w wide) are hidden.
    void cover_pixels(std::vector<bool> opaque, int w, int x, int y, std::string what) {
        pictures_.push_back({std::move(opaque), w, x, y, std::move(what)});
    }
    void cover_circle(double cx, double cy, double r, std::string what) { circles_.push_back({cx, cy, r, std::move(what)}); }
    void hub(double cx, double cy, double r) { cover_circle(cx, cy, r, "the hub of a needle"); }
    // A bitmap too small for any legend: it must carry none.
    void no_text() { textless_ = true; }

    // Whether a text in `box` would clear every text, mark, cover and hub
    // drawn so far, and stay on the face.
    bool clear(const Box& box) const;

    // The capital height of the smallest text, 0 without any.
    double smallest_capital() const;

    // Every fault, as sentences naming the texts.
    std::vector<std::string> problems() const;

private:
    struct Text {
        std::string s;
        Box box;
        double cap;
    };
    struct Cover {
        Box box;
        std::string what;
    };
    struct Circle {
        double cx, cy, r;
        std::string what;
    };
    struct Picture {
        std::vector<bool> opaque;
        int w, x, y;
        std::string what;
    };
    double width_, height_;
    std::vector<Picture> pictures_;
    bool round_ = false, textless_ = false;
    Circle face_{};
    std::vector<Text> texts_;
    std::vector<Box> marks_;
    std::vector<Cover> covers_;
    std::vector<Circle> circles_;
};

// Whether two boxes share any area, each grown by `margin` on every side.
bool overlap(const Box& a, const Box& b, double margin = 0.0);

}  // namespace ardelvine::tools::art
