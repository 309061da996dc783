#pragma once

#include <stdexcept>
#include <string>

#include "host/load/text.h"

namespace ardelvine::hostapp {

// Bad external input: a panel configuration, scenario, module file or command
// line. The message names the file and line where there is one; the program
// prints it on one line and exits with status 2. What it echoes of the input
// is escaped here, whatever the call site quoted: a NUL would otherwise end
// the message where what() is read as a C string.
struct InputError : std::runtime_error {
    explicit InputError(const std::string& what) : std::runtime_error(printable(what, what.size())) {}
    explicit InputError(const char* what) : InputError(std::string(what)) {}
};

inline InputError input_error(const std::string& file, int line, const std::string& what) {
    if (line > 0) return InputError(file + ":" + std::to_string(line) + ": " + what);
    return InputError(file + ": " + what);
}

}  // namespace ardelvine::hostapp
