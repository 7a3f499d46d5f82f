#pragma once

#include <functional>

#include "cli/AlertPrinter.h"
#include "cli/ExitCode.h"

namespace NSQuillet::NSCli {

// Runs one command and turns how it ended into the exit code: a stop (XAbort) and a silent
// abort end with 3, any other failure prints its alert and ends with 1.
EExitCode RunGuarded(const CAlertPrinter& alerts, const std::function<EExitCode()>& command);

}  // namespace NSQuillet::NSCli
