#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return NSQuillet::NSCli::RunCommandLine(arguments, std::cout, std::cerr);
}
