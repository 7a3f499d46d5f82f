#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include "cli/ExitCode.h"
#include "foundation/Version.h"

namespace NSQuillet::NSCli {

namespace {

struct SGlobalOptions {
    bool fVerbose = false;
    bool fQuiet = false;
};

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillet: slices drum and music loops, sets their tempo, saves and exports them.", "quillet-cli"};
    app.set_version_flag("--version", std::string("quillet-cli ") + kProgramVersion);
    SGlobalOptions options;
    app.add_flag("--verbose", options.fVerbose, "Print the diagnostic message after each alert");
    app.add_flag("--quiet", options.fQuiet, "Hide progress bars");
    app.require_subcommand(0, 1);

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error, out, err);
        return code == 0 ? kExitSuccess : kExitUsage;
    }

    // Commands register themselves as subcommands and run through RunGuarded; without one
    // there is nothing to do.
    err << app.help();
    return kExitUsage;
}

}  // namespace NSQuillet::NSCli
