#include "host/load/scenario.h"

#include <cctype>

#include "host/load/error.h"
#include "host/load/panel_config.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

constexpr long long kMaxUpdates = 1000000;
// Snapshot names become the start of file names.
constexpr std::size_t kMaxSnapshotName = 64;

class Parser {
public:
    explicit Parser(const std::string& file) : file_(file) {}

    [[noreturn]] void fail(const std::string& what) const { throw input_error(file_, line_, what); }

    long long whole(const std::string& text, const char* what, long long lo, long long hi) const {
        auto v = parse_integer(text);
        if (!v) fail(std::string("expected a whole number for ") + what + ", got '" + echo(text) + "'");
        if (*v < lo || *v > hi)
            fail(std::string(what) + " must lie in " + std::to_string(lo) + ".." + std::to_string(hi));
        return *v;
    }

    GaugeRef gauge(const std::string& text) const {
        GaugeRef ref;
        const auto hash = text.find('#');
        ref.name = text.substr(0, hash);
        if (hash != std::string::npos)
            ref.occurrence = static_cast<int>(whole(text.substr(hash + 1), "placement number", 1, 9999));
        if (ref.name.empty()) fail("expected a gauge name");
        return ref;
    }

    void expect(const std::vector<std::string>& w, std::size_t lo, std::size_t hi, const char* usage) const {
        if (w.size() < lo || w.size() > hi) fail(std::string("expected: ") + usage);
    }

    Scenario parse(const std::string& text) {
        Scenario s;
        s.file = file_;
        for (const std::string& raw : text_lines(text, file_)) {
            ++line_;
            std::string l = raw;
            if (auto hash = l.find('#'); hash != std::string::npos && (hash == 0 || std::isspace(static_cast<unsigned char>(l[hash - 1]))))
                l = l.substr(0, hash);  // a comment; `Name#2` keeps its hash
            const auto w = split_words(l);
            if (w.empty()) continue;
            Command c{};
            c.line = line_;
            const std::string& verb = w[0];
            if (verb == "set") {
                expect(w, 3, 3, "set TOKEN VALUE");
                c.kind = Command::Kind::SET;
                c.number = static_cast<std::uint32_t>(whole(w[1], "token", 0, 0xFFFFFFFF));
                auto v = parse_number(w[2]);
                if (!v) fail("expected a number for the value, got '" + echo(w[2]) + "'");
                c.value = *v;
            } else if (verb == "release") {
                expect(w, 2, 2, "release TOKEN");
                c.kind = Command::Kind::RELEASE;
                c.number = static_cast<std::uint32_t>(whole(w[1], "token", 0, 0xFFFFFFFF));
            } else if (verb == "aircraft") {
                expect(w, 2, 2, "aircraft running|parked");
                c.kind = Command::Kind::AIRCRAFT;
                c.on = on_off(w[1], "running", "parked");
            } else if (verb == "update") {
                expect(w, 1, 2, "update [N]");
                c.kind = Command::Kind::UPDATE;
                c.number = w.size() == 2 ? static_cast<std::uint32_t>(whole(w[1], "update count", 1, kMaxUpdates)) : 1;
            } else if (verb == "ready") {
                expect(w, 1, 2, "ready [GAUGE]");
                c.kind = Command::Kind::READY;
                if (w.size() == 2) c.gauge = gauge(w[1]);
            } else if (verb == "reload") {
                expect(w, 1, 1, "reload");
                c.kind = Command::Kind::RELOAD;
            } else if (verb == "click") {
                expect(w, 4, 7, "click GAUGE X Y [left|right|both] [hold N]");
                c.kind = Command::Kind::CLICK;
                position(w, c);
                for (std::size_t i = 4; i < w.size(); ++i) {
                    if (w[i] == "left") c.button = Button::LEFT;
                    else if (w[i] == "right") c.button = Button::RIGHT;
                    else if (w[i] == "both") c.button = Button::BOTH;
                    else if (w[i] == "hold" && i + 1 < w.size())
                        c.number = static_cast<std::uint32_t>(whole(w[++i], "hold count", 0, kMaxHold));
                    else fail("expected left, right, both or hold N, got '" + echo(w[i]) + "'");
                }
            } else if (verb == "drag") {
                expect(w, 4, 4, "drag GAUGE X Y");
                c.kind = Command::Kind::DRAG;
                position(w, c);
            } else if (verb == "tooltip") {
                expect(w, 4, 4, "tooltip GAUGE X Y");
                c.kind = Command::Kind::TOOLTIP;
                position(w, c);
            } else if (verb == "fail") {
                expect(w, 3, 3, "fail KEY on|off");
                c.kind = Command::Kind::FAIL;
                c.number = static_cast<std::uint32_t>(whole(w[1], "failure key", 1, 63));
                c.on = on_off(w[2], "on", "off");
            } else if (verb == "lighting") {
                expect(w, 2, 2, "lighting day|night");
                c.kind = Command::Kind::LIGHTING;
                c.on = on_off(w[1], "night", "day");
            } else if (verb == "window") {
                expect(w, 3, 3, "window IDENT show|hide");
                c.kind = Command::Kind::WINDOW;
                if (auto named = window_ident_by_name(w[1])) c.number = *named;
                else c.number = static_cast<std::uint32_t>(whole(w[1], "window ident", 0, 0x7FFFFFFF));
                c.on = on_off(w[2], "show", "hide");
            } else if (verb == "atc") {
                expect(w, 2, 2, "atc IDENTIFIER");
                c.kind = Command::Kind::ATC;
                c.text = w[1];
            } else if (verb == "snapshot") {
                expect(w, 2, 2, "snapshot NAME");
                c.kind = Command::Kind::SNAPSHOT;
                if (w[1].size() > kMaxSnapshotName)
                    fail("a snapshot name is at most " + std::to_string(kMaxSnapshotName) + " characters long");
                for (char ch : w[1])
                    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != '-' && ch != '_')
                        fail("a snapshot name holds letters, digits, '-' and '_' only");
                c.text = w[1];
            } else {
                fail("unknown command '" + echo(verb) + "' (set, release, aircraft, update, ready, reload, click, drag, tooltip, fail, lighting, window, atc, snapshot)");
            }
            s.commands.push_back(c);
        }
        return s;
    }

private:
    void position(const std::vector<std::string>& w, Command& c) const {
        c.gauge = gauge(w[1]);
        c.x = static_cast<int>(whole(w[2], "x", -kMaxMousePosition, kMaxMousePosition));
        c.y = static_cast<int>(whole(w[3], "y", -kMaxMousePosition, kMaxMousePosition));
    }

    bool on_off(const std::string& word, const char* yes, const char* no) const {
        if (word == yes) return true;
        if (word == no) return false;
        fail(std::string("expected ") + yes + " or " + no + ", got '" + echo(word) + "'");
    }

    std::string file_;
    int line_ = 0;
};

}  // namespace

Scenario parse_scenario(const std::string& text, const std::string& file_name) {
    return Parser(file_name).parse(text);
}

Scenario load_scenario(const std::string& path) { return parse_scenario(read_file(path), path); }

}  // namespace ardelvine::hostapp
