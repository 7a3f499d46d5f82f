#pragma once

namespace NSQuillet::NSCli {

enum EExitCode : int {
    kExitSuccess = 0,
    kExitFailure = 1,    // a failure; its alert was printed
    kExitUsage = 2,      // the command line was wrong
    kExitStopped = 3,    // stopped by the user, or a question declined
};

}  // namespace NSQuillet::NSCli
