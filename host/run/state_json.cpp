// The `state` report: what every placed gauge's elements show after the last
// update, and what the host saw happen (key events, panel windows, tooltips,
// sounds) and which tokens are held, as JSON. Every string in it is valid UTF-8 whatever bytes a gauge
// wrote (see panel_text_utf8).
#include <cstring>
#include <string>

#include "host/run/host.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

using json = nlohmann::ordered_json;

json text(std::string_view bytes) { return panel_text_utf8(bytes); }

// Where a gauge stands: the ident of its window, or the number of its virtual cockpit.
json where(const WindowConfig& w) {
    if (w.vcockpit) return {{"vcockpit", w.index}};
    return {{"window", w.ident}};
}

json element_json(int index, const ElementState& s) {
    const ElementHeader& e = *s.element;
    json j = {{"index", index}, {"kind", element_kind_name(e.kind)}};
    if (e.kind != ElementKind::STRING) j["bitmap"] = e.bitmap;
    j["visible"] = s.visible;
    j["flags"] = e.image_flags;
    switch (e.kind) {
        case ElementKind::STATIC_IMAGE: break;
        case ElementKind::NEEDLE:
            j["value"] = s.value;
            j["angle"] = s.angle;
            break;
        case ElementKind::STRING: {
            const auto& str = reinterpret_cast<const StringElement&>(e);
            j["text"] = text(str.text != nullptr ? std::string_view(str.text, strnlen(str.text, str.chars + 63)) : "");
            j["color"] = str.foreground;
            j["background"] = str.background;
            j["highlight"] = str.highlight;
            j["font"] = text(std::string_view(str.font, strnlen(str.font, kFontNameLength)));
            break;
        }
        case ElementKind::ICON:
            j["value"] = s.value;
            j["image"] = s.image;
            break;
        case ElementKind::SLIDER:
        case ElementKind::MOVING_IMAGE:
            j["value"] = s.value;
            j["value_y"] = s.value_y;
            j["dx"] = s.dx;
            j["dy"] = s.dy;
            break;
        case ElementKind::SPRITE:
            j["value"] = s.value;
            j["value_y"] = s.value_y;
            j["dx"] = s.dx;
            j["dy"] = s.dy;
            j["rotation"] = s.rotation;
            break;
    }
    return j;
}

}  // namespace

nlohmann::ordered_json Host::state(bool with_records) const {
    json gauges = json::array();
    for (const auto& p : placements_) {
        json elements = json::array();
        int index = 0;
        for (const ElementState& s : p->elements()) elements.push_back(element_json(index++, s));
        json g = {{"name", text(p->name())}};
        g.update(where(panel_.windows[p->panel_window()]));
        g.update({{"x", p->x()}, {"y", p->y()}, {"w", p->width()}, {"h", p->height()}});
        g["elements"] = std::move(elements);
        gauges.push_back(std::move(g));
    }
    json unloaded = json::array();
    for (const UnloadedGauge& u : unloaded_) {
        json g = {{"module", text(u.module)}, {"gauge", text(u.gauge)}};
        g.update(where(panel_.windows[u.window]));
        g.update({{"x", u.x}, {"y", u.y}, {"w", u.w}, {"h", u.h}});
        unloaded.push_back(std::move(g));
    }
    json events = json::array(), tooltips = json::array(), sounds = json::array();
    if (with_records) {
        for (const KeyEvent& e : sim_.events()) events.push_back({{"event", e.event}, {"param", e.param}});
        for (const TooltipShown& t : tooltips_) {
            json j = {{"gauge", text(t.gauge)}, {"x", t.x}, {"y", t.y}, {"text", text(t.text)}};
            if (t.help != 0) j["help"] = t.help;
            tooltips.push_back(std::move(j));
        }
        for (const SoundPlayed& s : sounds_) sounds.push_back({{"gauge", text(s.gauge)}, {"wave", s.wave}});
    }
    json windows = json::array();
    for (const PanelWindowState& w : sim_.windows()) windows.push_back({{"ident", w.ident}, {"visible", w.visible}});
    json held = json::array();
    for (std::uint32_t token : sim_.held_tokens()) held.push_back(token);
    return {{"gauges", std::move(gauges)}, {"unloaded", std::move(unloaded)}, {"events", std::move(events)},
            {"windows", std::move(windows)}, {"tooltips", std::move(tooltips)}, {"sounds", std::move(sounds)},
            {"held", std::move(held)}, {"updates", updates_}};
}

}  // namespace ardelvine::hostapp
