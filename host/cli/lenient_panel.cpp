#include "host/cli/lenient_panel.h"

#include <algorithm>
#include <filesystem>

#include "host/load/default_panel.h"
#include "host/load/error.h"
#include "host/load/text.h"

namespace ardelvine::hostapp {

namespace {

// The line an error of `file` names, and its message without "FILE:LINE: ";
// line 0 when it names none.
UnreadableLine located(const std::string& message, const std::string& file) {
    const std::string prefix = file + ":";
    if (message.rfind(prefix, 0) != 0) return {0, message};
    std::size_t at = prefix.size(), digits = 0;
    int line = 0;
    while (at < message.size() && digits < 9 && message[at] >= '0' && message[at] <= '9')
        line = line * 10 + (message[at++] - '0'), ++digits;
    if (digits == 0 || message.compare(at, 2, ": ") != 0) return {0, message};
    return {line, message.substr(at + 2)};
}

}  // namespace

LenientPanel read_panel_leniently(const std::string& name, const HostOptions& options) {
    const bool builtin = name == "default";
    const std::string file = builtin ? "(built-in panel)" : name;
    std::vector<std::string> lines = text_lines(builtin ? std::string(kDefaultPanel) : read_file(name), file);
    LenientPanel out;
    for (;;) {
        std::string text;
        for (const std::string& l : lines) text.append(l).append("\n");
        try {
            PanelConfig panel = parse_panel_config(text, file);
            if (!builtin) find_backgrounds(panel, std::filesystem::path(name).parent_path().string());
            out.host = std::make_unique<Host>(std::move(panel), options);
            break;
        } catch (const InputError& e) {
            const UnreadableLine error = located(e.what(), file);
            // Each line is left out once: an error it does not end is no line's.
            if (error.line <= 0 || error.line > static_cast<int>(lines.size()) || lines[error.line - 1].empty()) throw;
            // A file of garbage is not worth reading to its end: the errors
            // listed are the answer, and nothing is checked.
            if (out.errors.size() == kMaxUnreadable) {
                out.more_errors = true;
                break;
            }
            out.errors.push_back(error);
            lines[error.line - 1].clear();
        }
    }
    std::stable_sort(out.errors.begin(), out.errors.end(),
                     [](const UnreadableLine& a, const UnreadableLine& b) { return a.line < b.line; });
    return out;
}

}  // namespace ardelvine::hostapp
