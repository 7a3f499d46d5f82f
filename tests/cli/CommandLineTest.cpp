#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/AlertPrinter.h"
#include "cli/CommandGuard.h"
#include "cli/CommandLine.h"
#include "foundation/DiskKitStatus.h"
#include "foundation/Mishap.h"
#include "foundation/Version.h"

using namespace NSQuillet::NSCli;

namespace {

struct SRun {
    int fExitCode;
    std::string fOut, fErr;
};

SRun RunCli(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    int code = RunCommandLine(arguments, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace

TEST(CommandLine, VersionHelpAndUsageErrorsGiveTheirExitCodes) {
    auto version = RunCli({"--version"});
    EXPECT_EQ(version.fExitCode, 0);
    EXPECT_EQ(version.fOut, std::string("quillet-cli ") + NSQuillet::kProgramVersion + "\n");

    auto help = RunCli({"--help"});
    EXPECT_EQ(help.fExitCode, 0);
    EXPECT_NE(help.fOut.find("--version"), std::string::npos);

    for (auto arguments : std::vector<std::vector<std::string>>{{"--no-such-option"}, {"no-such-command"}, {}}) {
        auto bad = RunCli(arguments);
        EXPECT_EQ(bad.fExitCode, 2);
        EXPECT_FALSE(bad.fErr.empty());
    }
}

TEST(CommandGuard, FailuresPrintOneAlertAndStopsEndWithThree) {
    std::ostringstream err;
    CAlertPrinter quiet(err, false);
    EXPECT_EQ(RunGuarded(quiet, [] { return kExitSuccess; }), kExitSuccess);
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(RunGuarded(quiet, []() -> EExitCode { throw NSMishap::XSilentAbort("quiet"); }), kExitStopped);
    EXPECT_EQ(err.str(), "");

    EXPECT_EQ(RunGuarded(quiet, []() -> EExitCode { throw NSMishap::XAbort("user pressed stop"); }), kExitStopped);
    EXPECT_EQ(err.str(), "quillet-cli: Stopped: user pressed stop\n");

    std::ostringstream verboseErr;
    CAlertPrinter verbose(verboseErr, true);
    EXPECT_EQ(RunGuarded(verbose, []() -> EExitCode {
                  NSDiskKit::CheckDiskKitStatus(NSDiskKit::kDiskKitNotFound, "cannot open loop.wav");
                  return kExitSuccess;
              }),
              kExitFailure);
    EXPECT_EQ(verboseErr.str(),
              "quillet-cli: Error: cannot open loop.wav [kFailureCode_RuntimeError_NotFound: cannot open loop.wav, "
              "file, error 5001]\n");
}
