#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/AlertPrinter.h"
#include "cli/CommandLine.h"
#include "cli/DiagnosticPrinter.h"
#include "cli/SubcommandGuard.h"
#include "foundation/DiskKitStatus.h"
#include "foundation/Mishap.h"
#include "foundation/Version.h"
#include "tests/cli/RunCli.h"

using namespace NSQuillet::NSCli;
using NSQuilletTest::RunCli;

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
              "quillet-cli: File system object not found: The operation could not be completed because the file "
              "system object was not found. [kFailureCode_RuntimeError_NotFound: cannot open loop.wav, file, error "
              "5001]\n");
}

TEST(AlertPrinter, QuestionsAreDeclinedWithTheirTextUnlessYesAndWarningsMakeSilentAbortsFailures) {
    const auto question = NSQuillet::ParseAlert(
        "[WARN]The sound file you are about to open is long, which might make operations in Quillet slower. "
        "Are you sure you want to open this file?[Cancel][Open Anyway]");
    std::ostringstream err;
    CAlertPrinter declining(err, false);
    // Leftmost of two buttons: 34.
    EXPECT_EQ(declining.Present(question), 34);
    EXPECT_EQ(err.str(), "quillet-cli: Warning: The sound file you are about to open is long, which might make "
                         "operations in Quillet slower. Are you sure you want to open this file?\n");
    EXPECT_FALSE(declining.HasShownFailureAlert());
    EXPECT_EQ(RunGuarded(declining, []() -> EExitCode { throw NSMishap::XSilentAbort("declined"); }), kExitStopped);

    std::ostringstream yesErr;
    CAlertPrinter agreeing(yesErr, false, true);
    EXPECT_EQ(agreeing.Present(question), 33);
    EXPECT_EQ(yesErr.str(), "");

    EXPECT_EQ(agreeing.Present(NSQuillet::ParseAlert("[NOTE][LUX files may not sound as expected!]Adjust it.[OK]")), 33);
    EXPECT_EQ(yesErr.str(), "quillet-cli: LUX files may not sound as expected!: Adjust it.\n");
    EXPECT_FALSE(agreeing.HasShownFailureAlert());
    agreeing.Present(NSQuillet::ParseAlert("[WARN]Quillet only supports Mono and Stereo sound files.[OK]"));
    EXPECT_TRUE(agreeing.HasShownFailureAlert());
    EXPECT_EQ(RunGuarded(agreeing, []() -> EExitCode { throw NSMishap::XSilentAbort("invalid sound file info"); }),
              kExitFailure);
}

TEST(DiagnosticPrinter, PrintsWhatWasBeingDoneAndTheFailureWithItsCodeWhenVerbose) {
    const NSMishap::SDiagnostic diagnostic{"resuming the audio output", NSMishap::XNotReady::kFailureCode,
                                           "audio device lost"};
    std::ostringstream quiet, verbose;
    CDiagnosticPrinter(quiet, false).Report(diagnostic);
    CDiagnosticPrinter(verbose, true).Report(diagnostic);
    EXPECT_EQ(quiet.str(), "quillet-cli: Diagnostic: resuming the audio output: audio device lost\n");
    EXPECT_EQ(verbose.str(),
              "quillet-cli: Diagnostic: resuming the audio output: audio device lost "
              "[kFailureCode_RuntimeError_NotReady]\n");
}
