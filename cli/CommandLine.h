#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace NSQuillet::NSCli {

// Parses the command line and runs the chosen command; returns the process exit code.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace NSQuillet::NSCli
