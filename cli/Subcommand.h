#pragma once

#include <ostream>
#include <string>

#include "cli/AlertPrinter.h"
#include "cli/ExitCode.h"

namespace NSQuillet::NSCli {

// What a running command may use: the output streams and the alert printer.
struct SSubcommandContext {
    std::ostream& fOut;
    std::ostream& fErr;
    CAlertPrinter& fAlerts;
    // --yes: replace existing outputs and answer questions affirmatively.
    bool fAnswerYes;
    // --verbose and --quiet.
    bool fVerbose = false;
    bool fQuiet = false;
};

// Prints `message` under the heading "Usage"; the command then ends with the usage exit code.
inline EExitCode UsageError(SSubcommandContext& context, const std::string& message) {
    context.fAlerts.PrintAlert("Usage", message);
    return kExitUsage;
}

// One subcommand of quillet-cli. Its options are bound when it registers with the parser;
// Run is called once, inside the command guard, when the command line chose it.
class ISubcommand {
public:
    virtual ~ISubcommand() = default;
    virtual EExitCode Run(SSubcommandContext& context) = 0;
};

}  // namespace NSQuillet::NSCli
