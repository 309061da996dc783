// A panel file edited in place: the designer's moves, resizes, added and
// removed gauges and window settings change only the lines they touch, and
// every other byte of the file (comments, blank lines, key case, spacing,
// tabs, line endings, unknown keys, other modules' lines, the order of the
// sections) is written back as it was read.
//
// Lines are read exactly as the panel reader reads them (read_panel_line),
// so a section or key found here is the one the reader places.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ardelvine::hostapp {

// An edit that cannot be made; nothing was changed.
struct PanelEditError : std::runtime_error {
    enum class Kind { NOT_FOUND, BAD } kind;
    PanelEditError(Kind k, const std::string& what) : std::runtime_error(what), kind(k) {}
};

// Where a gauge goes: its numbers on the panel line. A width or height left
// out stays as the line has it.
struct GaugePlace {
    int x = 0, y = 0;
    std::optional<int> w, h;
};

class PanelText {
public:
    explicit PanelText(std::string_view bytes);

    // The file as it stands after the edits.
    std::string bytes() const;
    // Whether any line differs from the file as read (or as last saved).
    bool changed() const;
    // The file as it stands is what was saved: the diff starts from here.
    void saved() { read_ = std::make_shared<const std::vector<Line>>(lines_); }
    // Diffs from where `other` starts (a copy kept for undo, after a save).
    void diff_from(const PanelText& other) { read_ = other.read_; }

    // Sections are named as the reader names windows ("Window00",
    // "Vcockpit01", in any case); keys in any case ("gauge03").
    bool has_section(std::string_view section) const;
    // The line (from 1, as the reader counts) of a gauge key; throws NOT_FOUND.
    int gauge_line(std::string_view section, std::string_view key) const;

    // Rewrites the numbers of a gauge line; its module, gauge, parameters,
    // spacing and comment stay.
    void place_gauge(std::string_view section, std::string_view key, const GaugePlace& place);
    // A gauge line after the section's last one, keyed one past its highest
    // gaugeNN and written in the style of that last line. Returns the key.
    std::string add_gauge(std::string_view section, std::string_view gauge, const GaugePlace& place);
    void remove_gauge(std::string_view section, std::string_view key);
    // Sets `key=value` in a window section: the line that holds the key keeps
    // its key's spelling and its comment, or a line is added after the
    // section's last setting before its gauges.
    void set_window_key(std::string_view section, std::string_view key, std::string_view value);
    // A new, empty window section at the end of the file.
    void add_window(std::string_view section);

    // The unified diff from the file as read to the file as it stands, with
    // `context` unchanged lines around each change; empty when nothing changed.
    std::string diff(const std::string& name, int context = 3) const;

private:
    struct Line {
        std::string text;   // without its ending
        std::string end;    // "\n", "\r\n", "\r" or "" for a last line without one
        // Who the line is: set when it is read or written, kept by copies, so
        // that a line of the file as read is found in any later version.
        std::uint64_t id = 0;
    };
    struct Found {
        std::size_t header = 0, end = 0;  // the section's header line and one past its last line
    };
    std::optional<Found> section(std::string_view name) const;
    Found section_or_throw(std::string_view name) const;
    std::size_t gauge_index(std::string_view section, std::string_view key) const;
    void insert(std::size_t at, std::string text);
    std::string line_end() const;

    std::string bom_;
    std::vector<Line> lines_;
    // The file as read, shared by every copy kept for undo.
    std::shared_ptr<const std::vector<Line>> read_;
};

}  // namespace ardelvine::hostapp
