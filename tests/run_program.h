// Runs a command line through the shell for tests that drive a program as a
// user would, and returns its exit status and everything it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace ardelvine::testing {

struct ProgramRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

inline ProgramRun run_program(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

}  // namespace ardelvine::testing
