#include "host/load/panel_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>

#include "host/load/error.h"
#include "host/load/text.h"
#include "params/params.h"
#include "resources/formats.h"

namespace ardelvine::hostapp {

namespace {

// Keys of a window section that the simulator knows and that change nothing
// in this host's pictures or state.
constexpr const char* kIgnoredWindowKeys[] = {"sizing", "type", "child_3d", "render_3d_window",
                                               "alpha", "window_size_ratio", "texture"};

bool is_ignored_key(const std::string& key) {
    for (const char* k : kIgnoredWindowKeys)
        if (key == k) return true;
    return false;
}

// "file_1024" -> 1024: the background for that screen width.
std::optional<int> sized_file_key(const std::string& key) {
    if (key.rfind("file_", 0) != 0) return std::nullopt;
    const auto n = parse_integer(key.substr(5));
    if (!n || *n <= 0 || *n > 100000) return std::nullopt;
    return static_cast<int>(*n);
}

}  // namespace

// "WindowNN" -> NN (with prefix "window"), "VcockpitNN" -> NN.
std::optional<int> numbered_section(const std::string& section, std::string_view prefix) {
    const std::string l = lower(trim(section));
    if (l.rfind(prefix, 0) != 0 || l.size() == prefix.size()) return std::nullopt;
    auto n = parse_integer(l.substr(prefix.size()));
    if (!n || *n < 0 || *n > 999) return std::nullopt;
    return static_cast<int>(*n);
}

namespace {

// The line without its comment: `//` anywhere; `;` too unless it may be part
// of a gauge's parameters.
std::string without_comment(std::string line, bool gauge_line) {
    const auto slashes = line.find("//");
    if (slashes != std::string::npos) line.erase(slashes);
    if (!gauge_line) {
        const auto semicolon = line.find(';');
        if (semicolon != std::string::npos) line.erase(semicolon);
    }
    return trim(line);
}

}  // namespace

// A gauge line's `;` is a comment as on any other line, unless the parameter
// string has begun before it: parameters may hold one. Without this a note
// after the width ("160 ; the ASI") would turn the width into parameters.
std::string gauge_without_comment(const std::string& value) {
    const auto semicolon = value.find(';');
    if (semicolon == std::string::npos) return value;
    const auto fields = split(value.substr(0, semicolon), ',');
    std::size_t next = 3;  // past the name, x and y
    while (next < fields.size() && next < 5 && parse_integer(fields[next])) ++next;
    for (std::size_t i = next; i < fields.size(); ++i)
        if (!trim(fields[i]).empty()) return value;
    return trim(value.substr(0, semicolon));
}

bool is_gauge_key(const std::string& key) {
    return key.rfind("gauge", 0) == 0 && key.size() > 5 && parse_integer(key.substr(5)).has_value();
}

PanelLine read_panel_line(std::string_view raw, bool in_window) {
    PanelLine out;
    const std::string whole = trim(raw);
    if (whole.empty() || whole[0] == ';' || whole.rfind("//", 0) == 0) return out;
    const auto eq = whole.find('=');
    const bool gauge_line = in_window && eq != std::string::npos && is_gauge_key(lower(trim(whole.substr(0, eq))));
    out.text = without_comment(whole, gauge_line);
    const std::string& l = out.text;
    if (l.empty()) return out;
    if (l[0] == '[') {
        out.kind = l.back() == ']' ? PanelLine::Kind::SECTION : PanelLine::Kind::BAD_SECTION;
        if (l.back() == ']') out.name = trim(l.substr(1, l.size() - 2));
        return out;
    }
    const auto is = l.find('=');
    if (is == std::string::npos) {
        out.kind = PanelLine::Kind::NOT_KEY;
        return out;
    }
    out.kind = PanelLine::Kind::KEY;
    out.key = trim(l.substr(0, is));
    out.name = lower(out.key);
    out.value = trim(l.substr(is + 1));
    return out;
}

namespace {

class Parser {
public:
    explicit Parser(const std::string& file) : file_(file) {}

    [[noreturn]] void fail(const std::string& what) const { throw input_error(file_, line_, what); }
    void warn(const std::string& what) { config_.warnings.push_back({line_, what}); }
    // The line of each gaugeNN key by section (counted as read), to hear of one given twice.
    std::map<std::pair<std::size_t, std::string>, int> gauge_keys_;

    int integer(const std::string& text, const char* what) const {
        auto v = parse_integer(text);
        if (!v || *v < -1000000 || *v > 1000000) fail(std::string("expected a whole number for ") + what + ", got '" + echo(trim(text)) + "'");
        return static_cast<int>(*v);
    }

    // A size: a side of 0 makes the section one of zero size.
    void pair(const std::string& value, const char* what, int& a, int& b, WindowConfig& w) const {
        auto parts = split(value, ',');
        if (parts.size() != 2) fail(std::string("expected two numbers for ") + what + ", got '" + echo(value) + "'");
        a = integer(parts[0], what);
        b = integer(parts[1], what);
        if (a < 0 || b < 0) fail(std::string(what) + " must not be negative");
        w.zero_size = w.zero_size || a == 0 || b == 0;
    }

    RgbBytes colour(const std::string& value, const char* what) const {
        auto parts = split(value, ',');
        if (parts.size() != 3) fail(std::string("expected ") + what + "=r,g,b, got '" + echo(value) + "'");
        RgbBytes c{};
        for (std::size_t i = 0; i < 3; ++i) {
            const int v = integer(parts[i], what);
            if (v < 0 || v > 255) fail(std::string(what) + " parts must lie in 0..255");
            c[i] = static_cast<std::uint8_t>(v);
        }
        return c;
    }

    GaugeLine gauge(const std::string& value) const {
        GaugeLine g;
        g.line = line_;
        auto fields = split(value, ',');
        const std::string name = trim(fields[0]);
        const auto bang = name.find('!');
        if (bang == std::string::npos || bang == 0 || bang + 1 == name.size())
            fail("expected Module!Gauge, x, y[, w[, h]][, parameters], got '" + echo(trim(value)) + "'");
        g.module = trim(name.substr(0, bang));
        g.gauge = trim(name.substr(bang + 1));
        if (fields.size() < 3) fail("gauge " + echo(g.gauge) + ": expected x and y after the gauge name");
        g.x = integer(fields[1], "x");
        g.y = integer(fields[2], "y");
        std::size_t next = 3;
        if (next < fields.size() && parse_integer(fields[next])) {
            g.width = integer(fields[next++], "width");
            if (next < fields.size() && parse_integer(fields[next])) g.height = integer(fields[next++], "height");
        }
        // "160.5" is a size written wrongly, not a parameter string.
        if (next < fields.size() && next < 5 && !parse_integer(fields[next]) && parse_number(fields[next]))
            fail("gauge " + echo(g.gauge) + ": expected a whole number for the " + (next == 3 ? "width" : "height") +
                 ", got '" + echo(trim(fields[next])) + "'");
        // 0 only in a section of zero size, known once the section is read.
        if (g.width && *g.width < 0) fail("gauge " + echo(g.gauge) + ": width must be positive");
        if (g.height && *g.height < 0) fail("gauge " + echo(g.gauge) + ": height must be positive");
        std::string rest;
        for (std::size_t i = next; i < fields.size(); ++i) {
            if (i > next) rest += ',';
            rest += fields[i];
        }
        g.parameters = trim(rest);
        return g;
    }

    void window_key(WindowConfig& w, const std::string& key, const std::string& value) {
        if (is_gauge_key(key)) {
            const std::string placed = gauge_without_comment(value);
            if (placed.empty()) {
                warn("'" + echo(key) + "' places nothing, ignored");
                return;
            }
            const auto [first, fresh] = gauge_keys_.try_emplace({config_.windows.size(), key}, line_);
            if (!fresh)
                warn(echo(key) + " is given again in [" + section_name(w) + "] (first at line " +
                     std::to_string(first->second) + "): this host places both, the simulator reads only one; " +
                     "give each gauge line its own number");
            w.gauges.push_back(gauge(placed));
            w.gauges.back().key = key_as_written_;
        } else if (key == "size_mm") {
            // One number is a width; the background bitmap or the gauges give the height.
            if (split(value, ',').size() == 1) {
                w.size_w = integer(value, "size_mm");
                if (w.size_w < 0) fail("size_mm must not be negative");
                w.zero_size = w.zero_size || w.size_w == 0;
                w.height_given = false;
            } else {
                pair(value, "size_mm", w.size_w, w.size_h, w);
                w.height_given = true;
            }
            w.size_given = true;
        } else if (key == "pixel_size") {
            pair(value, "pixel_size", w.texture_w, w.texture_h, w);
            // A texture is a picture: no larger than the host draws one.
            if (w.texture_w > 16384 || w.texture_h > 16384) fail("pixel_size must lie in 0..16384 a side");
        } else if (key == "visible") {
            const int v = integer(value, "visible");
            if (v != 0 && v != 1) fail("expected visible=0 or visible=1");
            w.visible = v == 1;
        } else if (key == "nomenu") {
            w.nomenu = integer(value, "nomenu") != 0;
        } else if (key == "ident") {
            if (auto n = parse_integer(value)) {
                if (*n < 0 || *n > 0x7FFFFFFF) fail("ident out of range");
                w.ident = static_cast<std::uint32_t>(*n);
            } else if (auto named = window_ident_by_name(value)) {
                w.ident = *named;
            } else {
                warn("ident '" + echo(value) + "' is no window name this host knows; " + section_name(w) +
                     " keeps ident " + std::to_string(w.ident));
            }
        } else if (key == "position") {
            const int at = integer(value, "position");
            if (at >= 0 && at <= 8) w.position = at;
            else warn("position=" + std::to_string(at) + " is no place on the screen (0 to 8), ignored");
        } else if (key == "zorder") {
            w.zorder = integer(value, "zorder");
        } else if (key == "window_size") {
            w.window_size = value;
        } else if (key == "window_pos") {
            w.window_pos = value;
        } else if (key == "background_color") {
            w.background = colour(value, "background_color");
        } else if (key == "file" || sized_file_key(key)) {
            // file= wins; otherwise the background made for the widest screen.
            const int width = key == "file" ? 1 << 30 : *sized_file_key(key);
            if (width >= background_width_) {
                background_width_ = width;
                w.background_file = value;
                w.background_line = line_;
            }
        } else if (!is_ignored_key(key)) {
            warn("unknown key '" + echo(key) + "' in [" + section_name(w) + "], ignored");
        }
    }

    PanelConfig parse(const std::string& text) {
        config_ = {};
        config_.file = file_;
        std::vector<std::pair<int, std::string>> titles;
        enum class Section { NONE, TITLES, WINDOW, COLOUR, OTHER } section = Section::NONE;
        WindowConfig* window = nullptr;

        line_ = 0;
        for (const std::string& raw : text_lines(text, file_)) {
            ++line_;
            const PanelLine read = read_panel_line(raw, section == Section::WINDOW);
            const std::string& l = read.text;
            if (read.kind == PanelLine::Kind::NOTHING) continue;
            if (read.kind == PanelLine::Kind::BAD_SECTION) fail("expected a section name in brackets, got '" + echo(l) + "'");
            if (read.kind == PanelLine::Kind::SECTION) {
                const std::string& name = read.name;
                const auto window_n = numbered_section(name, "window");
                const auto vc_n = numbered_section(name, "vcockpit");
                window = nullptr;
                background_width_ = 0;
                if (lower(name) == "window titles") {
                    section = Section::TITLES;
                } else if (lower(name) == "color" || lower(name) == "colour") {
                    section = Section::COLOUR;
                } else if (window_n || vc_n) {
                    const bool vc = vc_n.has_value();
                    const int n = vc ? *vc_n : *window_n;
                    for (const auto& w : config_.windows)
                        if (w.index == n && w.vcockpit == vc) fail("section [" + echo(name) + "] is defined twice");
                    section = Section::WINDOW;
                    config_.windows.push_back({});
                    window = &config_.windows.back();
                    window->index = n;
                    window->vcockpit = vc;
                    window->ident = vc || n == 0 ? 0 : 10000 + static_cast<std::uint32_t>(n);
                    window->line = line_;
                } else {
                    section = Section::OTHER;  // views and the like: not ours
                }
                continue;
            }
            if (read.kind == PanelLine::Kind::NOT_KEY) fail("expected key=value, got '" + echo(l) + "'");
            const std::string& key = read.name;
            const std::string& value = read.value;
            switch (section) {
                case Section::NONE:
                    fail("'" + echo(key) + "' stands before any [section]");
                case Section::OTHER:
                    break;
                case Section::COLOUR:
                    if (key == "night") config_.night_colour = colour(value, "Night");
                    break;
                case Section::TITLES: {
                    auto n = numbered_section(key, "window");
                    if (!n) {
                        warn(std::string("'").append(echo(key)).append("' in [Window Titles] names no window, ignored"));
                        break;
                    }
                    titles.emplace_back(*n, value);
                    break;
                }
                case Section::WINDOW:
                    key_as_written_ = read.key;
                    window_key(*window, key, value);
                    break;
            }
        }
        for (std::size_t i = 0; i < config_.windows.size(); ++i) {
            WindowConfig& w = config_.windows[i];
            w.slot = i;
            for (auto& [n, title] : titles)
                if (!w.vcockpit && w.index == n) w.title = title;
            if (w.title.empty()) w.title = w.vcockpit ? section_name(w) : "Window" + std::to_string(w.index);
            if (w.zero_size) {
                w.size_w = w.size_h = 0;
                w.size_given = w.height_given = true;
                continue;
            }
            for (const GaugeLine& g : w.gauges) {
                line_ = g.line;
                if (g.width == 0) fail("gauge " + echo(g.gauge) + ": width must be positive");
                if (g.height == 0) fail("gauge " + echo(g.gauge) + ": height must be positive");
            }
            if (!w.size_given) {
                // Until the host knows the gauges' sizes: as large as what it holds.
                for (const GaugeLine& g : w.gauges) {
                    w.size_w = std::max(w.size_w, g.x + g.width.value_or(100));
                    w.size_h = std::max(w.size_h, g.y + g.height.value_or(g.width.value_or(100)));
                }
            } else if (!w.height_given) {
                for (const GaugeLine& g : w.gauges)
                    w.size_h = std::max(w.size_h, g.y + g.height.value_or(g.width.value_or(100)));
            }
        }
        if (config_.windows.empty()) {
            line_ = 0;
            fail("no [WindowNN] section: the panel has no windows");
        }
        return std::move(config_);
    }

private:
    std::string file_;
    int line_ = 0;
    int background_width_ = 0;  // which of a section's background keys counts
    std::string key_as_written_;
    PanelConfig config_;
};

// The entry of `folder` named `name` whatever its case; empty when none is.
std::filesystem::path find_ignoring_case(const std::filesystem::path& folder, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path exact = folder / name;
    if (fs::exists(exact, ec)) return exact;
    const std::string wanted = lower(name);
    try {
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (lower(it->path().filename().string()) == wanted) return it->path();
    } catch (const std::exception&) {
        // A name the system cannot spell in this program's characters is no match.
    }
    return {};
}

// Whether `path` (canonical) is `folder` (canonical) or lies within it.
bool within(const std::filesystem::path& folder, const std::filesystem::path& path) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty()) continue;  // the trailing separator of "dir/"
        if (p == path.end() || *p != *f) return false;
    }
    return true;
}

// Where `name`, written as the simulator writes it (either separator, any
// case), stands within `folder` (canonical). Each step is found whatever its
// case and resolved with its symbolic links before the next is looked up, so
// that no folder outside is even listed.
struct Found {
    std::filesystem::path path;  // empty when nothing is there
    bool outside = false;        // absolute, on a drive, or a step leads out
};
Found inside_folder(const std::filesystem::path& folder, const std::string& name) {
    namespace fs = std::filesystem;
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos) return {{}, true};
    std::string steps = name;
    std::replace(steps.begin(), steps.end(), '\\', '/');
    fs::path at = folder;
    for (const std::string& part : split(steps, '/')) {
        if (part.empty() || part == ".") continue;
        fs::path next = part == ".." ? at.parent_path() : find_ignoring_case(at, part);
        if (next.empty()) return {};
        std::error_code ec;
        next = fs::weakly_canonical(next, ec);
        if (ec || !within(folder, next)) return {{}, true};
        at = next;
    }
    return {at, false};
}

// Backgrounds are whole-window pictures; past this they are refused unread.
constexpr std::uintmax_t kMaxBackgroundBytes = 64u << 20;

}  // namespace

std::string section_name(const WindowConfig& window) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", window.index);
    return (window.vcockpit ? "Vcockpit" : "Window") + std::string(number);
}

std::optional<std::uint32_t> window_ident_by_name(const std::string& name) {
    for (const params::WindowName& n : params::kWindowNames)
        if (name == n.name) return static_cast<std::uint32_t>(n.ident);
    return std::nullopt;
}

std::vector<std::int64_t> button_windows(const char* parameters, std::string_view options) {
    if (parameters == nullptr || parameters[0] == '\0') return {0};
    std::string text(parameters);
    text.erase(std::min(text.size(), text.find_first_of("/#'")));
    std::vector<std::int64_t> idents;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (options.find(text[i]) == std::string_view::npos) continue;
        const char* argument = text.c_str() + i + 1;
        if (*argument == '\0') continue;
        std::int64_t ident = std::strtol(argument, nullptr, 10);
        for (const params::WindowName& n : params::kWindowNames)
            if (std::strncmp(argument, n.name, std::strlen(n.name)) == 0) {
                ident = n.ident;
                break;
            }
        idents.push_back(ident);
    }
    return idents;
}

PanelConfig parse_panel_config(const std::string& text, const std::string& file_name) {
    return Parser(file_name).parse(text);
}

void find_backgrounds(PanelConfig& config, const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path given = folder.empty() ? fs::path(".") : fs::path(folder);
    fs::path base = fs::weakly_canonical(given, ec);
    if (ec) base = fs::absolute(given, ec).lexically_normal();
    for (WindowConfig& w : config.windows) {
        if (w.background_file.empty()) continue;
        auto warn = [&](const std::string& why) {
            config.warnings.push_back({w.background_line, "background bitmap " + echo(w.background_file) + " " + why +
                                                              ": a plain background instead"});
        };
        const auto [at, outside] = inside_folder(base, w.background_file);
        if (outside) {
            // Only the panel's own folder: `serve --bind` would otherwise show
            // any bitmap the host can read to whoever reaches it.
            warn("lies outside the panel's folder");
            continue;
        }
        if (at.empty() || !fs::is_regular_file(at, ec)) {
            warn("is not beside the panel file");
            continue;
        }
        const std::uintmax_t size = fs::file_size(at, ec);
        if (ec || size > kMaxBackgroundBytes) {
            warn(ec ? "cannot be read" : "is larger than 64 MB");
            continue;
        }
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
        std::ifstream in(at, std::ios::binary);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!in) {
            warn("cannot be read");
            continue;
        }
        std::string why;
        const auto layout = resources::read_bmp(std::span<const unsigned char>(bytes), &why);
        if (!layout) {
            warn(why);
            continue;
        }
        w.background_path = at.string();
        w.background_w = layout->width;
        w.background_h = layout->height;
        if (w.size_given && !w.height_given) {
            w.size_h = std::max(1, static_cast<int>((static_cast<long long>(w.size_w) * layout->height + layout->width / 2) /
                                                    layout->width));
            w.height_given = true;
        }
    }
}

PanelConfig load_panel_config(const std::string& path) {
    PanelConfig config = parse_panel_config(read_file(path), path);
    find_backgrounds(config, std::filesystem::path(path).parent_path().string());
    return config;
}

}  // namespace ardelvine::hostapp
