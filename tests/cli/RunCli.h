#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace NSQuilletTest {

// One run of quillet-cli in the test process: exit code and both streams.
struct SCliRun {
    int fExitCode;
    std::string fOut, fErr;
};

inline SCliRun RunCli(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int code = NSQuillet::NSCli::RunCommandLine(arguments, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace NSQuilletTest
