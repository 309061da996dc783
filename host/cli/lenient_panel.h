// A panel read for checking: a line that cannot be read (a gauge position
// that is no number, a gauge the module does not have) is kept as an error
// and left out, and the rest is read and placed, so that one run of `check`
// reports every such line and still checks the others.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/run/host.h"

namespace ardelvine::hostapp {

struct UnreadableLine {
    int line;
    std::string message;  // without the file and line
};

struct LenientPanel {
    std::unique_ptr<Host> host;  // null when reading stopped at kMaxUnreadable
    std::vector<UnreadableLine> errors;  // in line order
    bool more_errors = false;            // past kMaxUnreadable, not listed
};

// The most unreadable lines listed; reading a file of garbage stops there.
inline constexpr std::size_t kMaxUnreadable = 100;

// `name` is a panel file or "default". Throws InputError for what leaves no
// panel to check: a missing file or module, an error that names no line.
LenientPanel read_panel_leniently(const std::string& name, const HostOptions& options);

}  // namespace ardelvine::hostapp
