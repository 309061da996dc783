#include <iostream>
#include <string>
#include <vector>

#include "host/cli/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return ardelvine::hostapp::run_cli(args, std::cout, std::cerr);
}
