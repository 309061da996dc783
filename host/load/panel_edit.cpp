#include "host/load/panel_edit.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <unordered_map>

#include "host/load/panel_config.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

[[noreturn]] void not_found(const std::string& what) { throw PanelEditError(PanelEditError::Kind::NOT_FOUND, what); }
[[noreturn]] void bad(const std::string& what) { throw PanelEditError(PanelEditError::Kind::BAD, what); }

std::atomic<std::uint64_t> g_line_ids{0};
std::uint64_t new_line_id() { return ++g_line_ids; }

bool space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A window section's name as the reader takes it: {vcockpit, NN}.
std::optional<std::pair<bool, int>> window_of(std::string_view name) {
    if (auto n = numbered_section(std::string(name), "window")) return std::pair{false, *n};
    if (auto n = numbered_section(std::string(name), "vcockpit")) return std::pair{true, *n};
    return std::nullopt;
}

// [begin, end) of the text in [from, to) without the white space around it.
std::pair<std::size_t, std::size_t> trimmed(const std::string& s, std::size_t from, std::size_t to) {
    while (from < to && space(s[from])) ++from;
    while (to > from && space(s[to - 1])) --to;
    return {from, to};
}

// Where a gauge line's fields lie: [begin, end) of each comma-separated
// field of its value, up to its comment.
struct GaugeFields {
    std::size_t key_begin = 0, key_end = 0, value_begin = 0;
    std::vector<std::pair<std::size_t, std::size_t>> fields;
    int width_field = -1, height_field = -1;
};

GaugeFields gauge_fields(const std::string& raw) {
    GaugeFields g;
    const std::size_t eq = raw.find('=');
    std::tie(g.key_begin, g.key_end) = trimmed(raw, 0, eq);
    std::size_t end = std::min(raw.find("//"), raw.size());
    const std::string code = raw.substr(eq + 1, end - eq - 1);
    // The `;` the reader takes for a comment ends the fields too.
    if (gauge_without_comment(trim(code)) != trim(code)) end = eq + 1 + code.find(';');
    g.value_begin = trimmed(raw, eq + 1, end).first;
    std::size_t start = eq + 1;
    for (;;) {
        const std::size_t comma = raw.find(',', start);
        const std::size_t stop = comma == std::string::npos || comma > end ? end : comma;
        g.fields.emplace_back(start, stop);
        if (stop == end) break;
        start = stop + 1;
    }
    auto whole = [&](std::size_t i) {
        return i < g.fields.size() &&
               parse_integer(std::string_view(raw).substr(g.fields[i].first, g.fields[i].second - g.fields[i].first));
    };
    if (whole(3)) {
        g.width_field = 3;
        if (whole(4)) g.height_field = 4;
    }
    return g;
}

// The white space a field starts with: how the line spaces its fields.
std::string field_spacing(const std::string& raw, std::pair<std::size_t, std::size_t> field) {
    return raw.substr(field.first, trimmed(raw, field.first, field.second).first - field.first);
}

}  // namespace

PanelText::PanelText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bom_ = "\xEF\xBB\xBF";
        bytes.remove_prefix(3);
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        const std::size_t text_end = i;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines_.push_back({std::string(bytes.substr(start, text_end - start)), std::string(bytes.substr(text_end, i + 1 - text_end)),
                          new_line_id()});
        start = i + 1;
    }
    if (start < bytes.size()) lines_.push_back({std::string(bytes.substr(start)), "", new_line_id()});
    read_ = std::make_shared<const std::vector<Line>>(lines_);
}

std::string PanelText::bytes() const {
    std::string out = bom_;
    for (const Line& l : lines_) out += l.text + l.end;
    return out;
}

bool PanelText::changed() const {
    if (lines_.size() != read_->size()) return true;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].id != (*read_)[i].id) return true;
    return false;
}

std::string PanelText::line_end() const {
    for (const Line& l : lines_)
        if (!l.end.empty()) return l.end;
    return "\n";
}

std::optional<PanelText::Found> PanelText::section(std::string_view name) const {
    const auto wanted = window_of(name);
    if (!wanted) return std::nullopt;
    std::optional<Found> found;
    bool in_window = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const PanelLine read = read_panel_line(lines_[i].text, in_window);
        if (read.kind != PanelLine::Kind::SECTION) continue;
        if (found && found->end == 0) found->end = i;
        const auto w = window_of(read.name);
        in_window = w.has_value();
        if (w == wanted) found = Found{i, 0};
    }
    if (found && found->end == 0) found->end = lines_.size();
    return found;
}

PanelText::Found PanelText::section_or_throw(std::string_view name) const {
    const auto found = section(name);
    if (!found) not_found("the panel has no section [" + printable(name, 64) + "]");
    return *found;
}

bool PanelText::has_section(std::string_view name) const { return section(name).has_value(); }

std::size_t PanelText::gauge_index(std::string_view name, std::string_view key) const {
    const Found s = section_or_throw(name);
    const std::string wanted = lower(key);
    std::optional<std::size_t> at;
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const PanelLine read = read_panel_line(lines_[i].text, true);
        if (read.kind != PanelLine::Kind::KEY || read.name != wanted || !is_gauge_key(read.name)) continue;
        if (gauge_without_comment(read.value).empty()) continue;  // places nothing
        if (at) bad(printable(key, 64) + " is given twice in [" + printable(name, 64) + "]: give each gauge line its own number");
        at = i;
    }
    if (!at) not_found(std::string("[").append(printable(name, 64)).append("] has no gauge line ").append(printable(key, 64)));
    return *at;
}

int PanelText::gauge_line(std::string_view section, std::string_view key) const {
    return static_cast<int>(gauge_index(section, key)) + 1;
}

void PanelText::place_gauge(std::string_view section, std::string_view key, const GaugePlace& place) {
    Line& line = lines_[gauge_index(section, key)];
    const std::string& raw = line.text;
    const GaugeFields g = gauge_fields(raw);
    if (g.fields.size() < 3) bad("the line of " + printable(key, 64) + " gives no x and y");
    if (place.h && !place.w && g.width_field < 0) bad("a height needs a width");
    // The numbers' own characters; what lies between them is kept as it is.
    auto token = [&](int field) {
        return trimmed(raw, g.fields[static_cast<std::size_t>(field)].first, g.fields[static_cast<std::size_t>(field)].second);
    };
    const auto x = token(1), y = token(2);
    const std::string sep = std::string(",").append(field_spacing(raw, g.fields[2]));
    auto kept = [&](std::pair<std::size_t, std::size_t> t) { return raw.substr(t.first, t.second - t.first); };
    std::string out = raw.substr(0, x.first) + std::to_string(place.x) + raw.substr(x.second, y.first - x.second) +
                      std::to_string(place.y);
    std::size_t rest = y.second;
    if (g.width_field >= 0) {
        const auto w = token(g.width_field);
        out += raw.substr(rest, w.first - rest) + (place.w ? std::to_string(*place.w) : kept(w));
        rest = w.second;
        if (g.height_field >= 0) {
            const auto h = token(g.height_field);
            out += raw.substr(rest, h.first - rest) + (place.h ? std::to_string(*place.h) : kept(h));
            rest = h.second;
        } else if (place.h) {
            out += sep + std::to_string(*place.h);
        }
    } else if (place.w) {
        out += sep + std::to_string(*place.w) + (place.h ? sep + std::to_string(*place.h) : "");
    }
    out += raw.substr(rest);
    if (out != line.text) line = {std::move(out), line.end, new_line_id()};
}

void PanelText::insert(std::size_t at, std::string text) {
    // The line before keeps its ending; a last line without one gets one,
    // and the new line ends as it did, so the file still ends as it did.
    std::string end = line_end();
    if (at > 0 && lines_[at - 1].end.empty()) {
        Line& before = lines_[at - 1];
        before = {before.text, end, new_line_id()};
        end.clear();
    } else if (at > 0) {
        end = lines_[at - 1].end;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), std::move(end), new_line_id()});
}

std::string PanelText::add_gauge(std::string_view section, std::string_view gauge, const GaugePlace& place) {
    const Found s = section_or_throw(section);
    const std::string name = trim(gauge);
    const auto bang = name.find('!');
    if (bang == std::string::npos || bang == 0 || bang + 1 == name.size() ||
        name.find_first_of(",;\r\n") != std::string::npos || name.find("//") != std::string::npos ||
        std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        bad("'gauge' takes Module!Gauge, without commas, semicolons, slashes or control characters");
    if (place.h && !place.w) bad("a height needs a width");
    std::optional<std::size_t> last_gauge, last_key;
    long long highest = -1;
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const PanelLine read = read_panel_line(lines_[i].text, true);
        if (read.kind != PanelLine::Kind::KEY) continue;
        last_key = i;
        if (!is_gauge_key(read.name)) continue;
        last_gauge = i;
        highest = std::max(highest, *parse_integer(read.name.substr(5)));
    }
    if (highest >= 9999) bad("[" + printable(section, 64) + "] has no gauge number left after gauge" + std::to_string(highest));
    std::string digits = std::to_string(highest + 1);
    if (digits.size() < 2) digits.insert(0, "0");
    std::string text, sep = ", ", key = std::string("gauge") + digits;
    if (last_gauge) {
        // In the style of the section's last gauge line: indent, key case, spacing.
        const std::string& like = lines_[*last_gauge].text;
        const GaugeFields g = gauge_fields(like);
        key = like.substr(g.key_begin, 5) + digits;
        text = like.substr(0, g.key_begin) + key + like.substr(g.key_end, g.value_begin - g.key_end);
        if (g.fields.size() > 1) sep = "," + field_spacing(like, g.fields[1]);
    } else {
        text = key + "=";
    }
    text += name + sep + std::to_string(place.x) + sep + std::to_string(place.y);
    if (place.w) text += sep + std::to_string(*place.w);
    if (place.h) text += sep + std::to_string(*place.h);
    insert((last_gauge ? *last_gauge : last_key ? *last_key : s.header) + 1, std::move(text));
    return key;
}

void PanelText::remove_gauge(std::string_view section, std::string_view key) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(gauge_index(section, key)));
}

void PanelText::set_window_key(std::string_view section, std::string_view key, std::string_view value) {
    const Found s = section_or_throw(section);
    const std::string wanted = lower(key);
    std::optional<std::size_t> at;
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const PanelLine read = read_panel_line(lines_[i].text, true);
        if (read.kind == PanelLine::Kind::KEY && read.name == wanted) at = i;  // the reader keeps the last
    }
    if (!at) {
        // Before the gauges: after the settings the section opens with.
        std::size_t where = s.header + 1;
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            const PanelLine read = read_panel_line(lines_[i].text, true);
            if (read.kind != PanelLine::Kind::KEY) continue;
            if (is_gauge_key(read.name)) break;
            where = i + 1;
        }
        insert(where, std::string(key) + "=" + std::string(value));
        return;
    }
    Line& line = lines_[*at];
    std::string raw = line.text;
    const std::size_t eq = raw.find('=');
    const std::size_t comment = std::min({raw.find("//"), raw.find(';', eq), raw.size()});
    const auto [b, e] = trimmed(raw, eq + 1, comment);
    raw.replace(b, e - b, value);
    if (raw != line.text) line = {std::move(raw), line.end, new_line_id()};
}

void PanelText::add_window(std::string_view section) {
    if (!window_of(section)) bad("'" + printable(section, 64) + "' is no window section name (WindowNN)");
    if (has_section(section)) bad("the panel has a section [" + printable(section, 64) + "] already");
    std::size_t at = lines_.size();
    if (at > 0 && !trim(lines_[at - 1].text).empty()) insert(at++, "");
    insert(at, std::string("[").append(section).append("]"));
}

std::string PanelText::diff(const std::string& name, int context) const {
    const std::vector<Line>& a = *read_;
    const std::vector<Line>& b = lines_;
    // Lines keep their order, so the lines read that are still here are the
    // longest common run, and the diff follows from them.
    std::unordered_map<std::uint64_t, std::size_t> in_a;
    for (std::size_t i = 0; i < a.size(); ++i) in_a.emplace(a[i].id, i);
    std::vector<bool> kept(a.size(), false), from_a(b.size(), false);
    for (std::size_t j = 0; j < b.size(); ++j) {
        const auto it = in_a.find(b[j].id);
        if (it != in_a.end()) kept[it->second] = from_a[j] = true;
    }
    struct Op {
        char kind;  // ' ', '-', '+'
        std::size_t i, j;  // positions in a and b before the op
    };
    std::vector<Op> ops;
    for (std::size_t i = 0, j = 0; i < a.size() || j < b.size();) {
        if (i < a.size() && !kept[i]) ops.push_back({'-', i++, j});
        else if (j < b.size() && !from_a[j]) ops.push_back({'+', i, j++});
        else ops.push_back({' ', i++, j++});
    }
    std::string out;
    const auto ctx = static_cast<std::size_t>(std::max(0, context));
    std::size_t k = 0;
    while (k < ops.size()) {
        while (k < ops.size() && ops[k].kind == ' ') ++k;
        if (k == ops.size()) break;
        std::size_t first = k >= ctx ? k - ctx : 0, last = k;
        // Changes closer than twice the context share a hunk.
        for (std::size_t gap = 0; last < ops.size(); ++last) {
            gap = ops[last].kind == ' ' ? gap + 1 : 0;
            if (gap > 2 * ctx) break;
        }
        while (last > k && ops[last - 1].kind == ' ') --last;
        const std::size_t end = std::min(ops.size(), last + ctx);
        std::size_t na = 0, nb = 0;
        for (std::size_t m = first; m < end; ++m) {
            na += ops[m].kind != '+';
            nb += ops[m].kind != '-';
        }
        auto range = [](std::size_t start, std::size_t n) {
            return std::to_string(n == 0 ? start : start + 1) + (n == 1 ? std::string() : std::string(",").append(std::to_string(n)));
        };
        if (out.empty()) out = "--- " + name + "\n+++ " + name + "\n";
        out += "@@ -" + range(ops[first].i, na) + " +" + range(ops[first].j, nb) + " @@\n";
        for (std::size_t m = first; m < end; ++m)
            out += ops[m].kind + (ops[m].kind == '+' ? b[ops[m].j].text : a[ops[m].i].text) + "\n";
        k = end;
    }
    return out;
}

}  // namespace ardelvine::hostapp
