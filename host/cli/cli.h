// The gaugehost command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ardelvine::hostapp {

// Runs one command; returns the exit status (0 ok, 2 bad input or usage).
int run_cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kUsage;

}  // namespace ardelvine::hostapp
