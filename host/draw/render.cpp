#include "host/draw/render.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "host/draw/cairo_handles.h"
#include "host/draw/geometry.h"
#include "host/load/error.h"

namespace ardelvine::hostapp {

namespace {

// The image-flag bits that change how an element looks.
constexpr std::uint32_t kLookFlags = IMAGE_TRANSPARENT | IMAGE_BRIGHT | IMAGE_SMOOTH | IMAGE_LIT;

// Everything about an element that its picture depends on.
struct ElementKey {
    bool visible = false;
    std::uint32_t bitmap = 0;
    std::uint32_t flags = 0;
    int image = 0;
    double angle = 0, dx = 0, dy = 0, rotation = 0;
    std::string text;
    bool operator==(const ElementKey&) const = default;
};

ElementKey key_of(const ElementState& s) {
    ElementKey k{s.visible, s.element->bitmap, s.element->image_flags & kLookFlags, 0, 0, 0, 0, 0, {}};
    if (!s.visible) return k;
    switch (s.element->kind) {
        case ElementKind::STATIC_IMAGE: break;
        case ElementKind::NEEDLE: k.angle = s.angle; break;
        case ElementKind::STRING: k.text = shown_text(any(s).string); break;
        case ElementKind::ICON: k.image = s.image; break;
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE:
            k.dx = s.dx, k.dy = s.dy;
            break;
        case ElementKind::SPRITE:
            k.dx = s.dx, k.dy = s.dy, k.rotation = s.rotation;
            break;
    }
    return k;
}

// Whether an element still looks as its key says.
bool same_look(const ElementKey& k, const ElementState& s) {
    if (k.visible != s.visible || k.bitmap != s.element->bitmap || k.flags != (s.element->image_flags & kLookFlags))
        return false;
    if (!s.visible) return true;
    switch (s.element->kind) {
        case ElementKind::STATIC_IMAGE: return true;
        case ElementKind::NEEDLE: return k.angle == s.angle;
        case ElementKind::STRING: {
            const StringElement& e = any(s).string;
            const std::size_t n = e.text == nullptr ? 0 : strnlen(e.text, e.chars);
            return k.text.size() == n && (n == 0 || std::memcmp(k.text.data(), e.text, n) == 0);
        }
        case ElementKind::ICON: return k.image == s.image;
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE: return k.dx == s.dx && k.dy == s.dy;
        case ElementKind::SPRITE: return k.dx == s.dx && k.dy == s.dy && k.rotation == s.rotation;
    }
    return false;
}

// One gauge as the window picture holds it.
struct GaugePicture {
    const Placement* placement = nullptr;
    std::vector<ElementKey> keys;
    // Static images below the first moving element and above the last one,
    // pre-drawn at the gauge's pixel rectangle; null when there are none.
    Surface under, over;
    // The whole gauge as it looks now (under layer, moving elements, over
    // layer): what the window picture is made of. A frame redraws only the
    // parts of it that changed.
    Surface picture;
    std::size_t live_begin = 0, live_end = 0;
    double x = 0, y = 0, sx = 1, sy = 1;  // gauge pixels -> picture pixels
    int px = 0, py = 0, pw = 0, ph = 0;   // the picture pixels it covers
    // No earlier gauge shares its rectangle, so its under layer carries the
    // window background and is copied, not blended.
    bool backdrop = false;
    bool drawn = false;
};

struct WindowPicture {
    Surface surface;
    Lighting lighting;
    bool valid = false;    // layers and picture match `lighting`
    bool repaint = false;  // draw the whole picture again, layers as they are
    std::vector<GaugePicture> gauges;
};

}  // namespace

struct Renderer::Impl {
    Impl(BitmapStore store, double picture_scale) : bitmaps(std::move(store)), scale(picture_scale) {}
    BitmapStore bitmaps;
    double scale = 1.0;
    std::map<std::size_t, WindowPicture> windows;  // by WindowConfig::slot
};

namespace {

void draw_elements(const Drawing& d, const std::vector<ElementState>& states, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) draw_element(d, states[i]);
}

// Lays out a gauge on the window picture: its pixel rectangle and scale, and
// which elements are drawn live each frame.
void lay_out(GaugePicture& g, Renderer::Impl& impl, double scale) {
    const Placement& p = *g.placement;
    const auto& states = p.elements();
    cairo_surface_t* background = states.empty() ? nullptr : impl.bitmaps.bitmap(states[0].element->bitmap, Tint::NONE);
    const int bw = background != nullptr ? width_of(background) : p.width();
    const int bh = background != nullptr ? height_of(background) : p.height();
    g.x = p.x() * scale, g.y = p.y() * scale;
    g.sx = bw > 0 ? p.width() * scale / bw : scale;
    g.sy = bh > 0 ? p.height() * scale / bh : scale;
    g.px = static_cast<int>(std::floor(g.x));
    g.py = static_cast<int>(std::floor(g.y));
    g.pw = static_cast<int>(std::ceil(g.x + p.width() * scale)) - g.px;
    g.ph = static_cast<int>(std::ceil(g.y + p.height() * scale)) - g.py;
    g.live_begin = states.size();
    g.live_end = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i].element->kind == ElementKind::STATIC_IMAGE) continue;
        g.live_begin = std::min(g.live_begin, i);
        g.live_end = i + 1;
    }
    if (g.live_end == 0) g.live_begin = g.live_end = states.size();
}

// Maps gauge pixels onto a target whose origin is (ox, oy) in picture pixels.
void enter_gauge(cairo_t* cr, const GaugePicture& g, double ox, double oy) {
    cairo_translate(cr, g.x - ox, g.y - oy);
    cairo_scale(cr, g.sx, g.sy);
}

// The window's background where the target's origin is picture pixel
// (ox, oy): its colour, and its bitmap stretched over the whole window.
void fill_background(cairo_t* cr, Renderer::Impl& impl, const WindowConfig& window, Lighting lighting, double ox,
                     double oy) {
    const Tint tint = lighting.night ? Tint::DARK : Tint::NONE;
    const std::uint32_t bgr = window.background[0] | (window.background[1] << 8) | (window.background[2] << 16);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    set_colour(cr, bgr, tint, lighting);
    cairo_paint(cr);
    if (cairo_surface_t* picture = impl.bitmaps.background(window, tint)) {
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_translate(cr, -ox, -oy);
        cairo_scale(cr, window.size_w * impl.scale / width_of(picture), window.size_h * impl.scale / height_of(picture));
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

// Draws elements [begin, end) of a gauge into a layer of its pixel rectangle.
// A layer with a backdrop starts as the window's background colour, so that
// it can later be copied in place rather than blended.
Surface draw_layer(const GaugePicture& g, Renderer::Impl& impl, Lighting lighting, std::size_t begin,
                   std::size_t end, const WindowConfig* backdrop) {
    const auto& states = g.placement->elements();
    bool any_visible = false;
    for (std::size_t i = begin; i < end; ++i) any_visible = any_visible || states[i].visible;
    if ((!any_visible && backdrop == nullptr) || g.pw <= 0 || g.ph <= 0) return nullptr;
    Surface layer = new_image(g.pw, g.ph);
    Context cr = new_context(layer.get());
    if (backdrop != nullptr) fill_background(cr.get(), impl, *backdrop, lighting, g.px, g.py);
    enter_gauge(cr.get(), g, g.px, g.py);
    draw_elements({cr.get(), impl.bitmaps, lighting}, states, begin, end);
    check_cairo(cairo_status(cr.get()));
    return layer;
}

bool range_changed(const std::vector<ElementKey>& before, const std::vector<ElementKey>& now, std::size_t begin,
                   std::size_t end) {
    if (before.size() != now.size()) return true;
    for (std::size_t i = begin; i < end; ++i)
        if (!(before[i] == now[i])) return true;
    return false;
}

void paint_layer(cairo_t* cr, const GaugePicture& g, cairo_surface_t* layer, cairo_operator_t op) {
    if (layer == nullptr) return;
    cairo_set_operator(cr, op);
    cairo_set_source_surface(cr, layer, g.px, g.py);
    cairo_rectangle(cr, g.px, g.py, g.pw, g.ph);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
}

Box box_of(const GaugePicture& g) { return {g.px, g.py, g.px + g.pw, g.py + g.ph}; }

// The picture pixels that a w x h bitmap placed on the gauge by `place` can
// touch, with a pixel to spare for filtering.
Box placed_box(const GaugePicture& g, const cairo_matrix_t& place, int w, int h) {
    if (!usable(place) || w <= 0 || h <= 0) return {};
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, {double(w), 0.0}, {0.0, double(h)}, {double(w), double(h)}}) {
        double x = cx, y = cy;
        cairo_matrix_transform_point(&place, &x, &y);
        x = g.x + x * g.sx, y = g.y + y * g.sy;
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    const double limit = 1e6;  // a wild value: the whole gauge
    if (!(x0 > -limit && y0 > -limit && x1 < limit && y1 < limit)) return box_of(g);
    return {static_cast<int>(std::floor(x0)) - 1, static_cast<int>(std::floor(y0)) - 1,
            static_cast<int>(std::ceil(x1)) + 1, static_cast<int>(std::ceil(y1)) + 1};
}

// The picture pixels an element drew, or will draw, with the look `k`.
Box element_box(const GaugePicture& g, Renderer::Impl& impl, const ElementState& s, const ElementKey& k) {
    if (!k.visible) return {};
    const ElementHeader& e = *s.element;
    const auto size_of = [&](std::uint32_t id) {
        cairo_surface_t* b = impl.bitmaps.bitmap(id, Tint::NONE);
        return std::pair{width_of(b), height_of(b)};
    };
    switch (e.kind) {
        case ElementKind::STATIC_IMAGE: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, shifted(e.x, e.y), w, h);
        }
        case ElementKind::NEEDLE: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, needle_matrix(e, k.angle), w, h);
        }
        case ElementKind::ICON: {
            const auto [w, h] = size_of(e.bitmap + static_cast<std::uint32_t>(std::max(k.image, 0)));
            return placed_box(g, shifted(e.x, e.y), w, h);
        }
        case ElementKind::SLIDER: {
            const auto [w, h] = size_of(e.bitmap);
            return placed_box(g, shifted(e.x + k.dx, e.y + k.dy), w, h);
        }
        case ElementKind::STRING: {
            const auto& text = any(s).string;
            return placed_box(g, shifted(e.x, e.y), static_cast<int>(text.box_width),
                              static_cast<int>(text.box_height));
        }
        case ElementKind::MOVING_IMAGE:
        case ElementKind::SPRITE: {
            // Seen through its window when it has one: only where the window
            // is open, and a window pixel around it that filtering reaches.
            if (cairo_surface_t* window = impl.bitmaps.bitmap(e.bitmap + 1, Tint::NONE)) {
                const Padded& open = impl.bitmaps.padded(window);
                if (open.pixels.empty())
                    return placed_box(g, shifted(e.x, e.y), width_of(window), height_of(window));
                if (open.x1 <= open.x0) return {};
                return placed_box(g, shifted(e.x + open.x0 - 1, e.y + open.y0 - 1), open.x1 - open.x0 + 2,
                                  open.y1 - open.y0 + 2);
            }
            const auto [w, h] = size_of(e.bitmap);
            if (e.kind == ElementKind::MOVING_IMAGE) return placed_box(g, shifted(e.x + k.dx, e.y + k.dy), w, h);
            return placed_box(g, sprite_matrix(any(s).sprite, k.dx, k.dy, k.rotation, w, h), w, h);
        }
    }
    return box_of(g);
}

// Whether a layer is transparent all over `box` (picture pixels): glass over
// a dial leaves most moving parts uncovered.
bool clear_within(const GaugePicture& g, cairo_surface_t* layer, const Box& box) {
    if (layer == nullptr) return true;
    const Box inside = box.clipped(box_of(g));
    const unsigned char* data = cairo_image_surface_get_data(layer);
    const int stride = cairo_image_surface_get_stride(layer);
    for (int y = inside.y0; y < inside.y1; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y - g.py) * stride);
        for (int x = inside.x0; x < inside.x1; ++x)
            if (row[x - g.px] != 0) return false;
    }
    return true;
}

// Brings the part `box` of a gauge's picture up to date from its layers and
// its moving elements.
void redraw_picture(GaugePicture& g, Renderer::Impl& impl, Lighting lighting, const Box& box) {
    if (box.empty()) return;
    if (!g.picture) g.picture = new_image(g.pw, g.ph);
    Context cr = new_context(g.picture.get());
    cairo_translate(cr.get(), -g.px, -g.py);  // picture pixels
    cairo_rectangle(cr.get(), box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
    cairo_clip(cr.get());
    if (g.under) {
        paint_layer(cr.get(), g, g.under.get(), CAIRO_OPERATOR_SOURCE);
    } else {
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr.get());
        cairo_set_operator(cr.get(), CAIRO_OPERATOR_OVER);
    }
    if (g.live_begin < g.live_end) {
        cairo_save(cr.get());
        enter_gauge(cr.get(), g, 0, 0);
        draw_elements({cr.get(), impl.bitmaps, lighting}, g.placement->elements(), g.live_begin, g.live_end);
        cairo_restore(cr.get());
    }
    if (!clear_within(g, g.over.get(), box)) paint_layer(cr.get(), g, g.over.get(), CAIRO_OPERATOR_OVER);
    check_cairo(cairo_status(cr.get()));
    cairo_surface_flush(g.picture.get());
}

// Puts a gauge's picture on the window picture, inside whatever clip is set.
void compose(cairo_t* cr, const GaugePicture& g) {
    paint_layer(cr, g, g.picture.get(), g.backdrop ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
}

bool overlaps(const GaugePicture& a, const Box& b) {
    return a.px < b.x1 && b.x0 < a.px + a.pw && a.py < b.y1 && b.y0 < a.py + a.ph;
}

bool overlaps(const GaugePicture& a, const GaugePicture& b) { return overlaps(a, box_of(b)); }

// Whether elements still look as `keys` says, without building new keys.
bool keys_match(const std::vector<ElementKey>& keys, const std::vector<ElementState>& states) {
    if (keys.size() != states.size()) return false;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!same_look(keys[i], states[i])) return false;
    return true;
}

}  // namespace

Renderer::Renderer(BitmapSource bitmaps, double scale, FineSource fine)
    : impl_(std::make_unique<Impl>(BitmapStore(std::move(bitmaps), std::move(fine), fineness_for(scale)), scale)),
      scale_(scale) {
    if (!(scale > 0.0) || scale > 16.0) throw InputError("render scale must be above 0 and at most 16");
}

Renderer::~Renderer() = default;

void Renderer::invalidate() { impl_->windows.clear(); }

void Renderer::repaint() {
    for (auto& [ident, pic] : impl_->windows) pic.repaint = true;
}

cairo_surface_t* Renderer::draw(const WindowConfig& window, const std::vector<std::unique_ptr<Placement>>& placements,
                                Lighting lighting) {
    Impl& impl = *impl_;
    if (impl.bitmaps.set_night_colour(lighting.night_colour)) impl.windows.clear();
    WindowPicture& pic = impl.windows[window.slot];
    const int width = std::max(1, static_cast<int>(std::lround(window.size_w * scale_)));
    const int height = std::max(1, static_cast<int>(std::lround(window.size_h * scale_)));
    if (!pic.surface || width_of(pic.surface.get()) != width || height_of(pic.surface.get()) != height) {
        pic.surface.reset();
        pic.surface = new_image(width, height);
        pic.valid = false;
    }

    // The window's gauges; a different set starts the picture afresh.
    std::vector<const Placement*> mine;
    for (const auto& p : placements)
        if (p->panel_window() == window.slot) mine.push_back(p.get());
    bool same = mine.size() == pic.gauges.size();
    for (std::size_t i = 0; same && i < mine.size(); ++i) same = pic.gauges[i].placement == mine[i];
    if (!same) {
        pic.gauges.clear();
        for (const Placement* p : mine) pic.gauges.push_back(GaugePicture{.placement = p});
        pic.valid = false;
    }
    const bool relayer = !pic.valid || !(pic.lighting == lighting);
    const bool full = relayer || pic.repaint;

    // Bring each gauge's layers, picture and keys up to date; note the
    // window pixels that changed.
    std::vector<Box> damage;
    std::size_t changed = 0;
    for (std::size_t gi = 0; gi < pic.gauges.size(); ++gi) {
        GaugePicture& g = pic.gauges[gi];
        const auto& states = g.placement->elements();
        const bool fresh = relayer || !g.drawn;
        if (!fresh && keys_match(g.keys, states)) continue;
        std::vector<ElementKey> keys;
        keys.reserve(states.size());
        for (const ElementState& s : states) keys.push_back(key_of(s));
        if (fresh) {
            lay_out(g, impl, scale_);
            g.backdrop = std::none_of(pic.gauges.begin(), pic.gauges.begin() + static_cast<std::ptrdiff_t>(gi),
                                      [&](const GaugePicture& earlier) { return overlaps(earlier, g); });
            g.picture.reset();
        }
        Box box;
        if (fresh || range_changed(g.keys, keys, 0, g.live_begin)) {
            g.under = draw_layer(g, impl, lighting, 0, g.live_begin, g.backdrop ? &window : nullptr);
            box = box_of(g);
        }
        if (fresh || range_changed(g.keys, keys, g.live_end, keys.size())) {
            g.over = draw_layer(g, impl, lighting, g.live_end, states.size(), nullptr);
            box = box_of(g);
        }
        if (box.empty()) {
            // Only moving elements changed: where each was and where it is now.
            for (std::size_t i = g.live_begin; i < g.live_end; ++i) {
                if (g.keys[i] == keys[i]) continue;
                box.add(element_box(g, impl, states[i], g.keys[i]));
                box.add(element_box(g, impl, states[i], keys[i]));
            }
            box = box.clipped(box_of(g));
        }
        g.keys = std::move(keys);
        g.drawn = true;
        ++changed;
        redraw_picture(g, impl, lighting, box);
        if (!box.empty()) damage.push_back(box);
    }
    redrawn_ = full ? pic.gauges.size() : changed;
    damage_ = full ? std::nullopt : std::optional(damage);

    if (!full && damage.empty()) return pic.surface.get();  // the window picture stands as it is
    Context cr = new_context(pic.surface.get());
    if (full) {
        // The background shows wherever no gauge brings its own; those
        // rectangles never overlap, so even-odd filling leaves them out.
        cairo_save(cr.get());
        cairo_rectangle(cr.get(), 0, 0, width, height);
        for (const GaugePicture& g : pic.gauges)
            if (g.backdrop) cairo_rectangle(cr.get(), g.px, g.py, g.pw, g.ph);
        cairo_set_fill_rule(cr.get(), CAIRO_FILL_RULE_EVEN_ODD);
        cairo_clip(cr.get());
        fill_background(cr.get(), impl, window, lighting, 0, 0);
        cairo_restore(cr.get());
        for (const GaugePicture& g : pic.gauges) compose(cr.get(), g);
    } else {
        for (const Box& box : damage) {
            cairo_save(cr.get());
            cairo_rectangle(cr.get(), box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
            cairo_clip(cr.get());
            // A gauge that brings its own background and covers the box
            // hides the window and every gauge before it (none overlaps it).
            std::size_t first = 0;
            for (std::size_t gi = 0; gi < pic.gauges.size(); ++gi) {
                const GaugePicture& g = pic.gauges[gi];
                if (g.backdrop && g.picture && box_of(g).contains(box)) first = gi + 1;
            }
            if (first == 0) fill_background(cr.get(), impl, window, lighting, 0, 0);
            for (std::size_t gi = first == 0 ? 0 : first - 1; gi < pic.gauges.size(); ++gi)
                if (overlaps(pic.gauges[gi], box)) compose(cr.get(), pic.gauges[gi]);
            cairo_restore(cr.get());
        }
    }
    check_cairo(cairo_status(cr.get()));
    cairo_surface_flush(pic.surface.get());
    pic.lighting = lighting;
    pic.valid = true;
    pic.repaint = false;
    return pic.surface.get();
}

}  // namespace ardelvine::hostapp
