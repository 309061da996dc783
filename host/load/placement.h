// One placed gauge. The host gives every placement its own copy of the
// module's header, element chain and mouse list, as the simulator does: the
// parameter string, the user-data word, image flags, help ids and string
// buffers then belong to that placement, while state the module keeps in its
// own variables stays shared by every copy of a gauge. Nonlinearity tables and
// failure lists stay the module's, read in place.
//
// Evaluation, once per update, walks the chain in drawing order: refresh each
// source from its token, call the element's callback, apply the active
// failures, honour the hidden flag, then turn the value into what the kind
// draws (needle angle, icon image, offsets, rotation, text).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/records.h"

namespace ardelvine::hostapp {

class Simulation;

struct ElementState {
    ElementHeader* element = nullptr;  // the placement's copy
    // The element's kind as installed, which the copy was sized for; kept here
    // so that each update branches on it without first following `element`.
    ElementKind kind = ElementKind::STATIC_IMAGE;
    bool visible = true;
    bool evaluated = false;  // has a value been shown yet
    double value = 0.0;      // the value shown (NEEDLE, ICON; x for two-axis kinds)
    double value_y = 0.0;
    double value_rotation = 0.0;
    double angle = 0.0;  // NEEDLE: unwrapped degrees clockwise from 12 o'clock
    int image = 0;       // ICON
    double dx = 0.0, dy = 0.0;  // SLIDER, MOVING_IMAGE, SPRITE: pixels
    double rotation = 0.0;      // SPRITE: degrees
    double travel_x = 0.0, travel_y = 0.0;  // MOVING_IMAGE: how far the strip reaches past its window
    std::uint32_t segment = 0;              // NEEDLE: the table segment of the last angle
    bool monotonic_table = false;           // NEEDLE: may that segment answer first
};

struct BitmapSize {
    int width = 0, height = 0;
};
// Pixel size of a module bitmap, {0, 0} when there is none. Asked only while a
// placement is installed, never per update.
using BitmapSizes = std::function<BitmapSize(std::uint32_t id)>;

// "STATIC_IMAGE", "NEEDLE", ...: the kind as `state` and the catalogue name it.
const char* element_kind_name(ElementKind kind);

// The bitmap of a gauge's background, the root of its chain; 0 without one.
std::uint32_t background_bitmap(const GaugeHeader& gauge);
// The height a gauge takes when its panel line gives a width alone: that
// width in the proportions of its background (square without one), at least 1.
int proportional_height(int width, BitmapSize background);

union AnyElement {
    ElementHeader header;
    StaticImage static_image;
    Needle needle;
    StringElement string;
    Slider slider;
    Icon icon;
    MovingImage moving_image;
    Sprite sprite;
};

class Placement {
public:
    Placement(const GaugeHeader& gauge, const std::string& parameters, int window, int x, int y, int w,
              int h, const BitmapSizes& sizes = {});
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;

    const std::string& name() const { return name_; }
    GaugeHeader* header() { return &header_; }
    const GaugeHeader* original() const { return original_; }
    // The ident of its window.
    int window() const { return window_; }
    // Which window of the panel configuration holds it (WindowConfig::slot):
    // windows may share an ident, so the ident alone does not say.
    std::size_t panel_window() const { return panel_window_; }
    void set_panel_window(std::size_t slot) { panel_window_ = slot; }
    // Placed anew by the designer: another place, size or window.
    void move_to(int window, std::size_t slot, int x, int y, int w, int h) {
        window_ = window, panel_window_ = slot, x_ = x, y_ = y, w_ = w, h_ = h;
    }
    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return w_; }
    int height() const { return h_; }
    // The background bitmap's size, the gauge's own pixel grid; a module without
    // art is measured as placed.
    BitmapSize background_size() const { return background_; }

    std::vector<ElementState>& elements() { return states_; }
    const std::vector<ElementState>& elements() const { return states_; }
    MouseRect* mouse() { return mouse_.data(); }
    std::size_t mouse_count() const { return mouse_.size(); }

    void service(std::int32_t code, std::uintptr_t data);
    void evaluate(const Simulation& sim);

private:
    template <bool Failures>
    void evaluate_elements(const Simulation& sim);

    std::string name_;
    const GaugeHeader* original_;
    GaugeHeader header_;
    std::vector<AnyElement> copies_;
    std::vector<ElementHeader*> chain_;  // {element, null} pairs
    std::vector<MouseRect> mouse_;
    std::vector<char> parameters_;
    std::vector<std::unique_ptr<char[]>> text_buffers_;
    std::vector<ElementState> states_;
    int window_, x_, y_, w_, h_;
    std::size_t panel_window_ = 0;
    BitmapSize background_;
};

// A gauge of another module: the host cannot run it, so it is only shown
// where it stands, as an outline with its name.
struct UnloadedGauge {
    std::string module, gauge;
    std::size_t window = 0;  // WindowConfig::slot
    int x = 0, y = 0, w = 0, h = 0;
    int line = 0;
};
// The side of an outline whose panel line gives no width: another module's
// default size is unknown here.
inline constexpr int kUnloadedDefaultSide = 50;

// The longest element chain the host accepts; a longer one means a cycle.
inline constexpr std::size_t kMaxChain = 256;
// The widest and tallest a placed gauge may be, in panel units.
inline constexpr int kMaxGaugeSide = 16384;
// The most characters a string element may declare; its buffer holds that
// many, the terminator and some slack.
inline constexpr std::uint32_t kMaxStringChars = 4096;
// The longest mouse list the host accepts before its end entry.
inline constexpr std::size_t kMaxMouseRects = 1024;

}  // namespace ardelvine::hostapp
