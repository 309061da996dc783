#include "host/panel_config.h"

#include <algorithm>
#include <cctype>

#include "host/error.h"
#include "host/text.h"

namespace ardelvine::hostapp {

namespace {

struct NamedIdent {
    const char* name;
    std::uint32_t ident;
};
constexpr NamedIdent kWindowNames[] = {
    {"MAIN_PANEL", 0},           {"RADIO_STACK_PANEL", 50},   {"COMPASS_PANEL", 75},
    {"ANNUNCIATOR_PANEL", 125},  {"ANNUNCIATOR2_PANEL", 150}, {"COLLECTIVE_PANEL", 200},
    {"THROTTLE_PANEL", 10},      {"MINI_CONTROLS_PANEL", 100}, {"IFR_MAIN_PANEL", 175},
    {"GPS_PANEL", 225},          {"OVERHEAD_PANEL", 250},
};

// Keys of a window section that the simulator knows and this host does not use.
constexpr const char* kIgnoredWindowKeys[] = {"file", "file_1024", "file_1280", "file_1600", "nomenu",
                                               "zorder", "sizing", "type", "child_3d", "render_3d_window",
                                               "pixel_size", "alpha"};

bool is_ignored_key(const std::string& key) {
    for (const char* k : kIgnoredWindowKeys)
        if (key == k) return true;
    return false;
}

// "WindowNN" -> NN
std::optional<int> window_number(const std::string& section) {
    const std::string l = lower(section);
    if (l.rfind("window", 0) != 0 || l.size() == 6) return std::nullopt;
    auto n = parse_integer(l.substr(6));
    if (!n || *n < 0 || *n > 999) return std::nullopt;
    return static_cast<int>(*n);
}

class Parser {
public:
    Parser(const std::string& file) : file_(file) {}

    [[noreturn]] void fail(const std::string& what) const { throw input_error(file_, line_, what); }

    int integer(const std::string& text, const char* what) const {
        auto v = parse_integer(text);
        if (!v || *v < -1000000 || *v > 1000000) fail(std::string("expected a whole number for ") + what + ", got '" + trim(text) + "'");
        return static_cast<int>(*v);
    }

    void pair(const std::string& value, const char* what, int& a, int& b) const {
        auto parts = split(value, ',');
        if (parts.size() != 2) fail(std::string("expected two numbers for ") + what + ", got '" + value + "'");
        a = integer(parts[0], what);
        b = integer(parts[1], what);
    }

    GaugeLine gauge(const std::string& value) const {
        GaugeLine g;
        g.line = line_;
        auto fields = split(value, ',');
        const std::string name = trim(fields[0]);
        const auto bang = name.find('!');
        if (bang == std::string::npos || bang == 0 || bang + 1 == name.size())
            fail("expected Module!Gauge, x, y[, w[, h]][, parameters], got '" + trim(value) + "'");
        g.module = trim(name.substr(0, bang));
        g.gauge = trim(name.substr(bang + 1));
        if (fields.size() < 3) fail("gauge " + g.gauge + ": expected x and y after the gauge name");
        g.x = integer(fields[1], "x");
        g.y = integer(fields[2], "y");
        std::size_t next = 3;
        if (next < fields.size() && parse_integer(fields[next])) {
            g.width = integer(fields[next++], "width");
            if (next < fields.size() && parse_integer(fields[next])) g.height = integer(fields[next++], "height");
        }
        // "160.5" is a size written wrongly, not a parameter string.
        if (next < fields.size() && next < 5 && !parse_integer(fields[next]) && parse_number(fields[next]))
            fail("gauge " + g.gauge + ": expected a whole number for the " + (next == 3 ? "width" : "height") +
                 ", got '" + trim(fields[next]) + "'");
        if (g.width && *g.width <= 0) fail("gauge " + g.gauge + ": width must be positive");
        if (g.height && *g.height <= 0) fail("gauge " + g.gauge + ": height must be positive");
        std::string rest;
        for (std::size_t i = next; i < fields.size(); ++i) {
            if (i > next) rest += ',';
            rest += fields[i];
        }
        g.parameters = trim(rest);
        return g;
    }

    PanelConfig parse(const std::string& text) {
        PanelConfig config;
        config.file = file_;
        std::vector<std::pair<int, std::string>> titles;
        enum class Section { NONE, TITLES, WINDOW, OTHER } section = Section::NONE;
        WindowConfig* window = nullptr;
        bool window_has_size = false;

        auto finish_window = [&] {
            if (window != nullptr && !window_has_size) {
                // No size given: the panel is as large as what it holds.
                for (const GaugeLine& g : window->gauges) {
                    window->size_w = std::max(window->size_w, g.x + g.width.value_or(100));
                    window->size_h = std::max(window->size_h, g.y + g.height.value_or(g.width.value_or(100)));
                }
            }
        };

        line_ = 0;
        for (const std::string& raw : split(text, '\n')) {
            ++line_;
            const std::string l = trim(raw);
            if (l.empty() || l[0] == ';' || l.rfind("//", 0) == 0) continue;
            if (l[0] == '[') {
                if (l.back() != ']') fail("expected a section name in brackets, got '" + l + "'");
                finish_window();
                window = nullptr;
                const std::string name = trim(l.substr(1, l.size() - 2));
                if (lower(name) == "window titles") {
                    section = Section::TITLES;
                } else if (auto n = window_number(name)) {
                    for (const auto& w : config.windows)
                        if (w.index == *n) fail("window " + name + " is defined twice");
                    section = Section::WINDOW;
                    config.windows.push_back({});
                    window = &config.windows.back();
                    window->index = *n;
                    window->ident = *n == 0 ? 0 : 10000 + static_cast<std::uint32_t>(*n);
                    window->line = line_;
                    window_has_size = false;
                } else {
                    section = Section::OTHER;  // views, colours and the like: not ours
                }
                continue;
            }
            const auto eq = l.find('=');
            if (eq == std::string::npos) fail("expected key=value, got '" + l + "'");
            const std::string key = lower(trim(l.substr(0, eq)));
            const std::string value = trim(l.substr(eq + 1));
            switch (section) {
                case Section::NONE:
                    fail("'" + key + "' stands before any [section]");
                case Section::OTHER:
                    break;
                case Section::TITLES: {
                    auto n = window_number(key);
                    if (!n) fail("expected WindowNN=title, got '" + l + "'");
                    titles.emplace_back(*n, value);
                    break;
                }
                case Section::WINDOW:
                    if (key.rfind("gauge", 0) == 0 && key.size() > 5 && parse_integer(key.substr(5))) {
                        window->gauges.push_back(gauge(value));
                    } else if (key == "size_mm") {
                        pair(value, "size_mm", window->size_w, window->size_h);
                        if (window->size_w <= 0 || window->size_h <= 0) fail("size_mm must be positive");
                        window_has_size = window->size_given = true;
                    } else if (key == "visible") {
                        const int v = integer(value, "visible");
                        if (v != 0 && v != 1) fail("expected visible=0 or visible=1");
                        window->visible = v == 1;
                    } else if (key == "ident") {
                        if (auto n = parse_integer(value)) {
                            if (*n < 0 || *n > 0x7FFFFFFF) fail("ident out of range");
                            window->ident = static_cast<std::uint32_t>(*n);
                        } else if (auto named = window_ident_by_name(value)) {
                            window->ident = *named;
                        } else {
                            fail("expected a number or a window name for ident, got '" + value + "'");
                        }
                    } else if (key == "position") {
                        window->position = integer(value, "position");
                    } else if (key == "window_size") {
                        window->window_size = value;
                    } else if (key == "window_pos") {
                        window->window_pos = value;
                    } else if (key == "background_color") {
                        auto parts = split(value, ',');
                        if (parts.size() != 3) fail("expected background_color=r,g,b");
                        for (int i = 0; i < 3; ++i) {
                            const int c = integer(parts[static_cast<std::size_t>(i)], "background_color");
                            if (c < 0 || c > 255) fail("background_color parts must lie in 0..255");
                            window->background[i] = static_cast<std::uint8_t>(c);
                        }
                    } else if (!is_ignored_key(key)) {
                        fail("unknown key '" + key + "' in a window section");
                    }
                    break;
            }
        }
        finish_window();
        for (auto& [n, title] : titles)
            for (auto& w : config.windows)
                if (w.index == n) w.title = title;
        for (auto& w : config.windows)
            if (w.title.empty()) w.title = "Window" + std::to_string(w.index);
        if (config.windows.empty()) {
            line_ = 0;
            fail("no [WindowNN] section: the panel has no windows");
        }
        for (std::size_t i = 0; i < config.windows.size(); ++i)
            for (std::size_t j = i + 1; j < config.windows.size(); ++j)
                if (config.windows[i].ident == config.windows[j].ident) {
                    line_ = config.windows[j].line;
                    fail("two windows share ident " + std::to_string(config.windows[j].ident));
                }
        return config;
    }

private:
    std::string file_;
    int line_ = 0;
};

}  // namespace

std::optional<std::uint32_t> window_ident_by_name(const std::string& name) {
    for (const NamedIdent& n : kWindowNames)
        if (name == n.name) return n.ident;
    return std::nullopt;
}

PanelConfig parse_panel_config(const std::string& text, const std::string& file_name) {
    return Parser(file_name).parse(text);
}

PanelConfig load_panel_config(const std::string& path) { return parse_panel_config(read_file(path), path); }

}  // namespace ardelvine::hostapp
