#pragma once

#include <functional>

#include "cli/AlertPrinter.h"
#include "cli/ExitCode.h"

namespace NSQuillet::NSCli {

// Runs one command and turns how it ended into the exit code: a stop (XAbort) ends with 3, a
// silent abort with 3 (a declined question) or 1 (after a warning alert), any other failure
// prints the alert the editor would show for it (ChooseFailureAlert) and ends with 1.
EExitCode RunGuarded(const CAlertPrinter& alerts, const std::function<EExitCode()>& command);

}  // namespace NSQuillet::NSCli
