#pragma once

#include <stdexcept>
#include <string>

namespace ardelvine::hostapp {

// Bad external input: a panel configuration, scenario, module file or command
// line. The message names the file and line where there is one; the program
// prints it on one line and exits with status 2.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline InputError input_error(const std::string& file, int line, const std::string& what) {
    if (line > 0) return InputError(file + ":" + std::to_string(line) + ": " + what);
    return InputError(file + ": " + what);
}

}  // namespace ardelvine::hostapp
