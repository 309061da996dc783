#include "host/cli/catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <ostream>
#include <set>
#include <span>
#include <sstream>
#include <vector>

#include "host/cli/cli_options.h"
#include "host/cli/gauge_sizes.h"
#include "host/draw/render.h"
#include "host/load/error.h"
#include "host/load/mouse_areas.h"
#include "host/run/host.h"
#include "host/run/window_files.h"
#include "host/sim/system.h"
#include "model/events.h"
#include "model/tokens.h"
#include "module/gauge_descriptions.h"
#include "params/options.h"
#include "params/params.h"

namespace ardelvine::hostapp {

namespace {

namespace fs = std::filesystem;
using gauges::GaugeDescription;
using params::OptionDoc;

// What the module says of a gauge before any host runs it; copied out so
// that the module can be unloaded between the hosts that run each gauge.
struct GaugeFacts {
    std::string name;
    std::uint32_t width;
    int height;
    std::uint32_t bitmap;
    BitmapInfo face;
    bool callback;
};

struct Picture {
    std::string file, caption;
    int width, height;
};

struct TokenRead {
    std::uint32_t token;
    std::vector<std::string> elements;  // "0 NEEDLE", ...
};

struct EventSent {
    std::uint32_t event;
    std::set<std::uint32_t> params;
    std::vector<std::string> when;  // "left click at 10,12", "panel ready", "mouse record"
};

struct TooltipShownAt {
    int x, y;
    std::string text;
    std::uint32_t help;
};

struct FailureRow {
    std::uint32_t key, action;
    int element;
    ElementKind kind;
};

struct Card {
    GaugeFacts facts;
    const GaugeDescription* description = nullptr;
    int place_w = 0, place_h = 0;  // the pictures' placement: the background's pixels
    RecordCursor seen;  // the host's records already taken into the card
    std::vector<Picture> pictures;
    std::vector<TokenRead> tokens;
    std::vector<EventSent> events;
    std::vector<TooltipShownAt> tooltips;
    std::vector<FailureRow> failures;
    std::set<std::uint32_t> sounds;
    bool window_options = false, plate_options = false;
};

// The window that a probe button opens, so that a toggle of it can be told
// from one of the main panel.
constexpr std::int32_t kProbeWindow = 10;  // THROTTLE_PANEL
constexpr const char* kProbeButton = "tTHROTTLE_PANEL";
constexpr const char* kProbePlate = "tZQ7";
constexpr const char* kModuleName = "Ardelvine_Instr";
// The mouse-area picture's longer side reaches at least this many pixels.
constexpr double kAreasSide = 360;

std::string html(std::string_view text) {
    std::string out;
    for (char ch : text) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += ch;
        }
    }
    return out;
}

std::string hex(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", v);
    return buffer;
}

std::string number(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::string panel_line(const std::string& gauge, int x, int y, int w, int h, const std::string& parameters = {}) {
    std::string line = "gauge00=" + std::string(kModuleName) + "!" + gauge + ", " + std::to_string(x) + ", " +
                       std::to_string(y) + ", " + std::to_string(w) + ", " + std::to_string(h);
    return parameters.empty() ? line : line + ", " + parameters;
}

// The size a ready panel line gives: the gauge at its face's own pixels, where
// its legends read and nothing is enlarged; a gauge that shows nothing keeps
// its default size.
std::pair<int, int> line_size(const GaugeFacts& g, const gauges::GaugeDescription& d) {
    if (d.group == gauges::GaugeGroup::INVISIBLE || g.face.width <= 0 || g.face.height <= 0)
        return {static_cast<int>(g.width), g.height};
    return {g.face.width, g.face.height};
}

// One window that holds the gauge alone at its background's pixels; a
// hidden second window gives the probe button a window to toggle.
std::string panel_text(const GaugeFacts& g, int w, int h, const std::string& parameters) {
    std::string text = "[Window Titles]\nWindow00=" + g.name + "\n\n[Window00]\nsize_mm=" + std::to_string(w) + "," +
                       std::to_string(h) + "\nposition=0\nvisible=1\nident=MAIN_PANEL\nbackground_color=40,42,46\n" +
                       panel_line(g.name, 0, 0, w, h, parameters) + "\n";
    text += "\n[Window01]\nsize_mm=20,20\nvisible=0\nident=THROTTLE_PANEL\n";
    return text;
}

HostOptions catalogue_host(const std::string& module_path) {
    HostOptions o;
    o.module_path = module_path;
    o.audio = AudioOutput::OFFLINE;
    return o;
}

std::vector<GaugeFacts> read_facts(const std::string& module_path) {
    PanelServices none{};
    LoadedModule module(module_path, &none);
    if (module.name() != kModuleName)
        throw InputError("the catalogue describes " + std::string(kModuleName) + ", not " + module.name());
    std::vector<GaugeFacts> out;
    for (const GaugeSize& s : gauge_sizes(module))
        out.push_back({s.gauge->name, s.width, s.height, s.bitmap, s.face, s.gauge->callback != nullptr});
    return out;
}

// ------------------------------------------------------------ reading the placed gauge

std::vector<const ModuleVar*> sources(const ElementState& s) {
    const auto* any = reinterpret_cast<const AnyElement*>(s.element);
    switch (s.kind) {
        case ElementKind::STATIC_IMAGE: return {};
        case ElementKind::NEEDLE: return {&any->needle.source};
        case ElementKind::STRING:
            return {&any->string.sources[0], &any->string.sources[1], &any->string.sources[2]};
        case ElementKind::SLIDER: return {&any->slider.x.source, &any->slider.y.source};
        case ElementKind::ICON: return {&any->icon.source};
        case ElementKind::MOVING_IMAGE: return {&any->moving_image.x.source, &any->moving_image.y.source};
        case ElementKind::SPRITE: return {&any->sprite.x.source, &any->sprite.y.source, &any->sprite.rotation.source};
    }
    return {};
}

void read_records(Placement& p, Card& card) {
    int index = 0;
    for (const ElementState& s : p.elements()) {
        const std::string element = std::to_string(index) + " " + element_kind_name(s.kind);
        for (const ModuleVar* v : sources(s)) {
            if (v->token == 0) continue;
            auto it = std::find_if(card.tokens.begin(), card.tokens.end(),
                                   [&](const TokenRead& t) { return t.token == v->token; });
            if (it == card.tokens.end()) it = card.tokens.insert(card.tokens.end(), {v->token, {}});
            if (std::find(it->elements.begin(), it->elements.end(), element) == it->elements.end())
                it->elements.push_back(element);
        }
        for (const FailureRecord* f = s.element->failures; f != nullptr && f->key != 0; ++f)
            card.failures.push_back({f->key, f->action, index, s.kind});
        ++index;
    }
    for (const MouseArea& a : mouse_areas(p.mouse(), p.mouse_count(), p.background_size()))
        if (a.rect->kind == MouseKind::CHILD && a.rect->handler == nullptr && a.rect->event_id != 0) {
            auto it = std::find_if(card.events.begin(), card.events.end(),
                                   [&](const EventSent& e) { return e.event == a.rect->event_id; });
            if (it == card.events.end()) it = card.events.insert(card.events.end(), {a.rect->event_id, {}, {}});
            it->when.push_back("mouse area at " + std::to_string(a.x) + "," + std::to_string(a.y));
        }
}

// Takes what the host recorded since the last call: key events and sounds.
void take_records(Host& host, Card& card, const std::string& when) {
    const NewRecords records = host.records_since(card.seen);
    card.seen = records.next;
    for (const KeyEvent& k : records.events) {
        auto it = std::find_if(card.events.begin(), card.events.end(), [&](const EventSent& e) { return e.event == k.event; });
        if (it == card.events.end()) it = card.events.insert(card.events.end(), {k.event, {}, {}});
        it->params.insert(k.param);
        if (it->when.size() < 6 && std::find(it->when.begin(), it->when.end(), when) == it->when.end())
            it->when.push_back(when);
    }
    for (const SoundPlayed& s : records.sounds) card.sounds.insert(s.wave);
}

void write_png(cairo_surface_t* picture, const std::string& path) {
    const cairo_status_t status = cairo_surface_write_to_png(picture, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) throw InputError("cannot write " + path + ": " + cairo_status_to_string(status));
}

// The mouse areas are drawn over a copy large enough for their labels to be
// read: twice the bitmap's pixels, more for a small gauge.
double areas_scale(const Card& card) {
    const int side = std::max({card.place_w, card.place_h, 1});
    return std::clamp(std::ceil(kAreasSide / side), 2.0, 8.0);
}

void draw_pictures(Host& host, Card& card, const std::string& out_dir) {
    const WindowConfig& window = host.panel().windows[0];
    const auto shoot = [&](Renderer& r, const std::string& what, bool areas, const std::string& caption) {
        Surface copy;
        cairo_surface_t* picture = window_picture(host, r, window, lighting_of(host), areas, copy, false);
        const std::string file = card.facts.name + "-" + what + ".png";
        write_png(picture, (fs::path(out_dir) / "pictures" / file).string());
        card.pictures.push_back({file, caption, cairo_image_surface_get_width(picture),
                                 cairo_image_surface_get_height(picture)});
    };
    Renderer one(host_bitmaps(host), 1.0), two(host_bitmaps(host), 2.0), big(host_bitmaps(host), areas_scale(card));
    shoot(one, "day", false, "by day, 1x");
    shoot(two, "day-2x", false, "by day, 2x");
    host.set_night(true);
    host.simulation().set_token(tokens::PANEL_LIGHTS, 1.0);
    host.update();
    shoot(one, "night", false, "at night, panel lights on, 1x");
    shoot(two, "night-2x", false, "at night, panel lights on, 2x");
    host.set_night(false);
    host.simulation().set_token(tokens::PANEL_LIGHTS, 0.0);
    host.update();
    shoot(big, "areas", true, "mouse areas, " + number(big.scale()) + "x");
    card.seen = host.record_cursor();
}

void ask_tooltips(Host& host, Placement& p, Card& card) {
    for (const MouseArea& a : mouse_areas(p.mouse(), p.mouse_count(), p.background_size())) {
        if (a.tooltip == nullptr || a.w <= 0 || a.h <= 0) continue;
        const int x = a.x + a.w / 2, y = a.y + a.h / 2;
        const std::string text = host.tooltip(p, x, y);
        const std::uint32_t help = host.tooltips().empty() ? 0 : host.tooltips().back().help;
        if (text.empty()) continue;
        const bool seen = std::any_of(card.tooltips.begin(), card.tooltips.end(),
                                      [&](const TooltipShownAt& t) { return t.text == text; });
        if (!seen) card.tooltips.push_back({x, y, text, help});
    }
    card.seen = host.record_cursor();
}

// Every click area with every button it takes, one action at a time, the
// main panel shown again before each (a button may hide it).
void click_areas(Host& host, Placement& p, Card& card) {
    const std::vector<MouseArea> areas = mouse_areas(p.mouse(), p.mouse_count(), p.background_size());
    for (const MouseArea& a : areas) {
        if (a.rect->kind != MouseKind::CHILD || a.w <= 0 || a.h <= 0) continue;
        const int x = a.x + a.w / 2, y = a.y + a.h / 2;
        const std::string at = " at " + std::to_string(x) + "," + std::to_string(y);
        const std::uint32_t flags = a.rect->click_flags;
        const auto act = [&](const std::string& what, auto&& action) {
            host.simulation().set_window_visible(0, true);
            action();
            host.update();
            take_records(host, card, what + at);
        };
        if ((flags & MOUSE_LEFT) != 0) act("left click", [&] { host.click(p, x, y, {Button::LEFT, 0}); });
        if ((flags & MOUSE_RIGHT) != 0) act("right click", [&] { host.click(p, x, y, {Button::RIGHT, 0}); });
        if ((flags & MOUSE_DRAG) != 0)
            act("drag", [&] {
                host.drag(p, x, y);
                host.end_drag();
            });
    }
}

void run_gauge(const std::string& module_path, Card& card, const std::string& out_dir) {
    const GaugeFacts& g = card.facts;
    card.place_w = g.face.width > 0 ? g.face.width : static_cast<int>(g.width);
    card.place_h = g.face.height > 0 ? g.face.height : g.height;
    Host host(parse_panel_config(panel_text(g, card.place_w, card.place_h, ""), g.name + ".cfg"),
              catalogue_host(module_path));
    Placement& p = *host.placements().at(0);
    read_records(p, card);
    take_records(host, card, "installed");
    // The aircraft flies when the panel comes up, so that a start-state gauge
    // shows what it does to a running one.
    host.simulation().set_token(tokens::ENGINE_RUNNING, 1.0);
    host.ready();
    take_records(host, card, "panel ready");
    host.update(2);
    take_records(host, card, "every update");
    draw_pictures(host, card, out_dir);
    ask_tooltips(host, p, card);
    click_areas(host, p, card);
}

// Whether the gauge reads the window buttons' options: a click with the
// probe string toggles the probe window.
bool takes_window_options(const std::string& module_path, const Card& card) {
    Host host(parse_panel_config(panel_text(card.facts, card.place_w, card.place_h, kProbeButton), "probe.cfg"),
              catalogue_host(module_path));
    Placement& p = *host.placements().at(0);
    for (const MouseArea& a : mouse_areas(p.mouse(), p.mouse_count(), p.background_size()))
        if (a.rect->kind == MouseKind::CHILD && (a.rect->click_flags & MOUSE_LEFT) != 0)
            host.click(p, a.x + a.w / 2, a.y + a.h / 2, {Button::LEFT, 0});
    for (const KeyEvent& k : host.simulation().events())
        if (k.event == events::PANEL_WINDOW_TOGGLE && k.param == kProbeWindow) return true;
    return false;
}

// Whether the gauge reads the plate's options: the probe text shows.
bool takes_plate_options(const std::string& module_path, const Card& card) {
    Host host(parse_panel_config(panel_text(card.facts, card.place_w, card.place_h, kProbePlate), "probe.cfg"),
              catalogue_host(module_path));
    host.update();
    for (const ElementState& s : host.placements().at(0)->elements()) {
        const auto& string = reinterpret_cast<const AnyElement*>(s.element)->string;
        if (s.kind == ElementKind::STRING && string.text != nullptr && std::string(string.text) == kProbePlate + 1)
            return true;
    }
    return false;
}

// ------------------------------------------------------------ what the host's aircraft does

const char* system_of(const sim::EventRule* rule) {
    for (const sim::System* s : sim::systems())
        if (!s->events.empty() && rule >= s->events.data() && rule < s->events.data() + s->events.size())
            return s->name;
    return "";
}

std::string token_name(std::uint32_t token) {
    const tokens::Named* t = tokens::find(token);
    return (t != nullptr ? std::string(t->name) + " " : std::string()) + "(" + std::to_string(token) + ")";
}

std::string aircraft_effect(std::uint32_t event) {
    const sim::EventRule* rule = sim::find_rule(event);
    if (rule == nullptr) return "nothing: an event the host's aircraft does not know (recorded only)";
    if (rule->effect == nullptr) return std::string("recorded only: ") + rule->reason;
    const std::string token = rule->token != 0 ? token_name(rule->token) : "";
    if (rule->effect == sim::flip) return "toggles " + token + " between 0 and 1";
    if (rule->effect == sim::set_to_param)
        return "sets " + token + " to the parameter" + (rule->amount != 1.0 ? " times " + number(rule->amount) : "");
    if (rule->effect == sim::set_lever) return "puts " + token + " at the parameter / 16384 (0 back, 1 forward)";
    if (rule->effect == sim::set_to_amount) return "sets " + token + " to " + number(rule->amount);
    return std::string("acted on by the ") + system_of(rule) + " system" + (token.empty() ? "" : ", moving " + token);
}

// ------------------------------------------------------------ pages

const char* const kStyle = R"(body { font: 15px/1.45 "Liberation Sans", Arial, sans-serif; margin: 0; color: #1d2126; background: #f4f2ee; }
header, main { max-width: 1080px; margin: 0 auto; padding: 0 20px; }
header { padding-top: 14px; }
header a { color: #44617d; }
h1 { font-size: 28px; margin: 6px 0 2px; }
h2 { font-size: 19px; margin: 26px 0 8px; border-bottom: 1px solid #cfc9bf; padding-bottom: 3px; }
p.what { font-size: 17px; margin: 4px 0 14px; }
code, pre { font: 14px "Liberation Mono", "Courier New", monospace; }
pre.line { background: #1f2329; color: #e8e3d8; padding: 10px 12px; border-radius: 4px; overflow-x: auto; user-select: all; }
table { border-collapse: collapse; margin: 4px 0 8px; }
th, td { text-align: left; vertical-align: top; padding: 4px 12px 4px 0; border-bottom: 1px solid #e0dbd2; }
th { font-weight: bold; color: #4b525a; font-size: 13px; }
td.n { text-align: right; font-variant-numeric: tabular-nums; }
.facts td:first-child { color: #4b525a; padding-right: 22px; }
.pictures { display: flex; flex-wrap: wrap; gap: 18px; align-items: flex-end; }
figure { margin: 0; }
figure img { display: block; background: #2a2c30; border: 1px solid #bdb6aa; image-rendering: pixelated; }
figcaption { font-size: 13px; color: #4b525a; margin-top: 3px; }
.none { color: #6b7178; font-style: italic; }
.group { display: flex; flex-wrap: wrap; gap: 14px; }
.card { width: 190px; background: #fff; border: 1px solid #d8d2c8; border-radius: 5px; padding: 8px; text-decoration: none; color: inherit; }
.card:hover { border-color: #44617d; }
.card .thumb { height: 130px; display: flex; align-items: center; justify-content: center; background: #2a2c30; border-radius: 3px; }
.card img { max-width: 174px; max-height: 124px; }
.card b { display: block; margin-top: 6px; font-size: 14px; word-break: break-all; }
.card span { font-size: 12px; color: #4b525a; }
.legend span { display: inline-block; margin-right: 14px; font-size: 13px; }
.legend i { display: inline-block; width: 12px; height: 12px; margin-right: 4px; vertical-align: -1px; border: 2px solid; }
)";

std::string page_head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + html(title) +
           "</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n";
}

// The opening of a table with these column headings.
std::string table_head(std::initializer_list<const char*> headings) {
    std::string out = "<table>\n<tr>";
    for (const char* h : headings) out.append("<th>").append(h).append("</th>");
    return out + "</tr>\n";
}

std::string none(const std::string& text) { return "<p class=\"none\">" + html(text) + "</p>\n"; }

std::string figure(const Picture& p) {
    return "<figure><img src=\"pictures/" + html(p.file) + "\" width=\"" + std::to_string(p.width) + "\" height=\"" +
           std::to_string(p.height) + "\" alt=\"" + html(p.caption) + "\"><figcaption>" + html(p.caption) +
           "</figcaption></figure>\n";
}

std::string options_section(const Card& card) {
    if (!card.window_options && !card.plate_options) return none("It reads no parameter string.");
    std::ostringstream s;
    const auto rows = card.window_options ? std::span<const OptionDoc>(params::kButtonOptions)
                                          : std::span<const OptionDoc>(params::kPlateOptions);
    s << "<p>An option is a lower-case letter followed at once by its argument, with no space between: "
         "<code>tRADIO_STACK_PANEL</code>, not <code>t RADIO_STACK_PANEL</code>. <code>/</code>, <code>#</code> and "
         "<code>'</code> begin a comment.</p>\n";
    s << table_head({"option", "when", "what", "example panel line"});
    for (const OptionDoc& o : rows)
        s << "<tr><td><code>" << o.letter << html(o.argument) << "</code></td><td>" << html(o.when) << "</td><td>"
          << html(o.what) << "</td><td><code>"
          << html(panel_line(card.facts.name, 10, 10, line_size(card.facts, *card.description).first,
                                 line_size(card.facts, *card.description).second, o.example))
          << "</code></td></tr>\n";
    s << "</table>\n";
    if (card.window_options) {
        s << "<p>A button without a parameter string toggles the main panel (window 0).</p>\n<p>WINDOW names "
             "(or a number):";
        for (const params::WindowName& w : params::kWindowNames)
            s << " <code>" << html(w.name) << "</code>&nbsp;(" << w.ident << ")";
        s << ".</p>\n<p>TOOLTIP names:";
        for (const params::TooltipName& t : params::kTooltipNames) {
            const char* text = help_text(t.help_id);
            s << " <code>" << html(t.name) << "</code>" << (text != nullptr ? "&nbsp;(&ldquo;" + html(text) + "&rdquo;)" : "");
        }
        s << ".</p>\n";
    }
    return s.str();
}

std::string gauge_page(const Card& card) {
    const GaugeFacts& g = card.facts;
    std::ostringstream s;
    s << page_head(g.name + " - Ardelvine instruments");
    s << "<header><a href=\"index.html\">Ardelvine instruments: all gauges</a> &rsaquo; "
      << html(gauges::kGroupTitles[static_cast<int>(card.description->group)]) << "</header>\n<main>\n";
    s << "<h1>" << html(g.name) << "</h1>\n<p class=\"what\">" << html(card.description->sentence) << "</p>\n";

    const auto [line_w, line_h] = line_size(g, *card.description);
    s << "<h2>Panel line</h2>\n<pre class=\"line\">" << html(panel_line(g.name, 10, 10, line_w, line_h))
      << "</pre>\n";
    if (card.window_options)
        s << "<p>Add a parameter string (below) naming the window: without one a click toggles window 0, the main "
             "panel, and <code>check</code> says so.</p>\n";
    s << "<table class=\"facts\">\n<tr><td>default size</td><td>" << g.width << " &times; " << g.height
      << " panel units (what a line without width and height gets; any other size is scaled)</td></tr>\n"
      << "<tr><td>bitmap</td><td>" << g.face.width << " &times; " << g.face.height << " pixels (id " << g.bitmap
      << "): clicks, tooltips and scenario points are in these pixels</td></tr>\n"
      << "<tr><td>proportions</td><td>" << (g.face.height > 0 ? number(std::round(100.0 * g.face.width / g.face.height) / 100.0) : "-")
      << " wide for 1 high; <code>check</code> reports a placement more than 1.25 times off them</td></tr>\n"
      << "<tr><td>lifecycle callback</td><td>" << (g.callback ? "yes" : "no") << "</td></tr>\n</table>\n";

    s << "<h2>Pictures</h2>\n<div class=\"pictures\">\n";
    for (const Picture& p : card.pictures) s << figure(p);
    s << "</div>\n<p class=\"legend\"><span><i style=\"border-color:#338cff\"></i>hand cursor</span>"
         "<span><i style=\"border-color:#33d94d\"></i>increase</span><span><i style=\"border-color:#ff5940\"></i>"
         "decrease</span><span><i style=\"border-color:#d9d9d9\"></i>no cursor</span> solid: click area; dashed: "
         "tooltip area</p>\n";

    s << "<h2>Tokens it reads</h2>\n";
    if (card.tokens.empty()) {
        s << none("None: nothing it shows moves with a simulation variable.");
    } else {
        s << table_head({"token", "name", "unit", "elements"});
        for (const TokenRead& t : card.tokens) {
            const tokens::Named* named = tokens::find(t.token);
            std::string elements;
            for (const std::string& e : t.elements) elements += (elements.empty() ? "" : ", ") + e;
            s << "<tr><td class=\"n\">" << t.token << "</td><td><code>" << (named ? named->name : "?") << "</code></td><td>"
              << html(named ? named->unit : "") << "</td><td>" << html(elements) << "</td></tr>\n";
        }
        s << "</table>\n";
    }

    s << "<h2>Key events it sends</h2>\n";
    if (card.events.empty()) {
        s << none("None.");
    } else {
        s << table_head({"event", "name", "parameter", "when", "what the host's aircraft does"});
        for (const EventSent& e : card.events) {
            const char* name = events::name_of(e.event);
            std::string params, when;
            int shown = 0;
            for (std::uint32_t v : e.params) params += (shown++ == 0 ? "" : ", ") + std::to_string(v);
            if (e.params.size() > 4) params = std::to_string(*e.params.begin()) + " to " + std::to_string(*e.params.rbegin());
            for (const std::string& w : e.when) when += (when.empty() ? "" : "; ") + w;
            s << "<tr><td class=\"n\">" << e.event << "</td><td><code>" << (name ? name : "?") << "</code></td><td>"
              << html(params) << "</td><td>" << html(when) << "</td><td>" << html(aircraft_effect(e.event))
              << "</td></tr>\n";
        }
        s << "</table>\n";
    }

    s << "<h2>Tooltips</h2>\n";
    if (card.tooltips.empty()) {
        s << none("None.");
    } else {
        s << table_head({"at", "text as shown", "from"});
        for (const TooltipShownAt& t : card.tooltips)
            s << "<tr><td>" << t.x << "," << t.y << "</td><td>" << html(t.text) << "</td><td>"
              << (t.help != 0 ? "host help text " + hex(t.help) : std::string("the gauge")) << "</td></tr>\n";
        s << "</table>\n";
    }

    s << "<h2>Parameter string</h2>\n" << options_section(card);

    s << "<h2>Failures</h2>\n";
    if (card.failures.empty()) {
        s << none("No failure acts on it.");
    } else {
        s << table_head({"failure key", "while the failure is on", "elements"});
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> rows;
        for (const FailureRow& f : card.failures) {
            std::string& elements = rows[{f.key, f.action}];
            elements += (elements.empty() ? "" : ", ") + std::to_string(f.element) + " " + element_kind_name(f.kind);
        }
        for (const auto& [key, elements] : rows) {
            const char* action = key.second == FAIL_FREEZE ? "keeps its last value"
                                 : key.second == FAIL_ZERO ? "shows 0"
                                 : key.second == FAIL_HIDE ? "is hidden"
                                                           : "nothing visible";
            s << "<tr><td class=\"n\">" << key.first << "</td><td>" << action << "</td><td>" << html(elements)
              << "</td></tr>\n";
        }
        s << "</table>\n<p>A scenario switches a failure with <code>fail KEY on</code>.</p>\n";
    }

    s << "<h2>Sounds</h2>\n";
    if (card.sounds.empty()) {
        s << none("None.");
    } else {
        s << "<p>";
        for (std::uint32_t w : card.sounds) s << "WAVE " << w << " (<code>wave-" << w << ".wav</code> of <code>resources export</code>) ";
        s << "on a click.</p>\n";
    }
    s << "</main>\n</body>\n</html>\n";
    return s.str();
}

std::string index_page(const std::vector<Card>& cards) {
    std::ostringstream s;
    s << page_head("Ardelvine instruments: gauge catalogue");
    s << "<header></header>\n<main>\n<h1>Ardelvine instruments: gauge catalogue</h1>\n";
    s << "<p class=\"what\">The " << cards.size() << " gauges of <code>" << kModuleName
      << ".gau</code>, grouped as in a cockpit. A panel line places a gauge by name: <code>gaugeNN=" << kModuleName
      << "!NAME, x, y, width, height</code>; sizes are panel units, and a line without width and height gets the "
         "default size shown here.</p>\n";
    for (int group = 0; group < static_cast<int>(std::size(gauges::kGroupTitles)); ++group) {
        s << "<h2>" << html(gauges::kGroupTitles[group]) << "</h2>\n<div class=\"group\">\n";
        for (const Card& c : cards) {
            if (static_cast<int>(c.description->group) != group) continue;
            const Picture& thumb = c.pictures.front();
            s << "<a class=\"card\" href=\"" << html(c.facts.name) << ".html\"><div class=\"thumb\"><img src=\"pictures/"
              << html(thumb.file) << "\" alt=\"\"></div><b>" << html(c.facts.name) << "</b><span>" << c.facts.width
              << " &times; " << c.facts.height << " panel units</span></a>\n";
        }
        s << "</div>\n";
    }
    s << "<p>Made by <code>gaugehost catalogue</code> from the module's records.</p>\n</main>\n</body>\n</html>\n";
    return s.str();
}

void write_file(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw InputError("cannot write " + path.string());
}

}  // namespace

std::size_t write_catalogue(const std::string& module_path, const std::string& out_dir) {
    std::error_code ec;
    fs::create_directories(fs::path(out_dir) / "pictures", ec);
    if (ec) throw InputError("cannot create " + out_dir + ": " + ec.message());
    std::vector<Card> cards;
    for (GaugeFacts& facts : read_facts(module_path)) {
        Card card;
        card.description = gauges::find_description(facts.name);
        if (card.description == nullptr) throw InputError("gauge " + facts.name + " has no description");
        card.facts = std::move(facts);
        run_gauge(module_path, card, out_dir);
        if (card.facts.callback) {
            card.window_options = takes_window_options(module_path, card);
            card.plate_options = !card.window_options && takes_plate_options(module_path, card);
        }
        cards.push_back(std::move(card));
    }
    write_file(fs::path(out_dir) / "style.css", kStyle);
    for (const Card& c : cards) write_file(fs::path(out_dir) / (c.facts.name + ".html"), gauge_page(c));
    write_file(fs::path(out_dir) / "index.html", index_page(cards));
    return cards.size();
}

int cmd_catalogue(const Options& o, std::ostream& out, std::ostream&) {
    if (o.positional.size() != 1) throw InputError("catalogue needs one folder to write into");
    const std::size_t pages = write_catalogue(option(o, "--module", ARD_DEFAULT_MODULE), o.positional[0]);
    out << "Wrote the catalogue of " << pages << " gauges to " << (fs::path(o.positional[0]) / "index.html").string()
        << "\n";
    return 0;
}

}  // namespace ardelvine::hostapp
