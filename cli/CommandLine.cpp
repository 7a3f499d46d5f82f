#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <utility>

#include "app/operations/LengthyOperationUI.h"
#include "cli/AlertPrinter.h"
#include "cli/DecodeSubcommand.h"
#include "cli/DevicesSubcommand.h"
#include "cli/DiagnosticPrinter.h"
#include "cli/ExitCode.h"
#include "cli/ExportSubcommand.h"
#include "cli/InfoSubcommand.h"
#include "cli/PlaySubcommand.h"
#include "cli/ProcessSubcommand.h"
#include "cli/RenderSubcommand.h"
#include "cli/SliceSubcommand.h"
#include "cli/SlicesSubcommand.h"
#include "cli/Subcommand.h"
#include "cli/SubcommandGuard.h"
#include "cli/TerminalProgressUI.h"
#include "foundation/Version.h"

namespace NSQuillet::NSCli {

namespace {

struct SGlobalOptions {
    bool fVerbose = false;
    bool fQuiet = false;
    bool fYes = false;
};

// Sets the process-wide alert presenter, progress UI and diagnostic sink for one command, and
// takes them back.
class CSubcommandEnvironment {
public:
    CSubcommandEnvironment(IAlertPresenter& alerts, NSCourier::ILengthyOperationUI& progress,
                           NSMishap::IDiagnosticSink& diagnostics) {
        SetAlertPresenter(&alerts);
        NSCourier::SetLengthyOperationUI(&progress);
        NSMishap::SetDiagnosticSink(&diagnostics);
    }
    ~CSubcommandEnvironment() {
        NSMishap::SetDiagnosticSink(nullptr);
        NSCourier::SetLengthyOperationUI(nullptr);
        SetAlertPresenter(nullptr);
    }
    CSubcommandEnvironment(const CSubcommandEnvironment&) = delete;
    CSubcommandEnvironment& operator=(const CSubcommandEnvironment&) = delete;
};

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillet: slices drum and music loops, sets their tempo, saves and exports them.", "quillet-cli"};
    app.set_version_flag("--version", std::string("quillet-cli ") + kProgramVersion);
    SGlobalOptions options;
    app.add_flag("--verbose", options.fVerbose, "Print the diagnostic message after each alert");
    app.add_flag("--quiet", options.fQuiet, "Hide progress bars, and the summary line of several inputs");
    app.add_flag("--yes", options.fYes, "Answer every question with its affirmative button");
    app.require_subcommand(0, 1);
    app.fallthrough();

    std::vector<std::pair<CLI::App*, std::unique_ptr<ISubcommand>>> commands;
    auto add = [&](std::unique_ptr<ISubcommand> command) {
        commands.emplace_back(app.get_subcommands({}).back(), std::move(command));
    };
    add(MakeInfoSubcommand(app));
    add(MakeSlicesSubcommand(app));
    add(MakeSliceSubcommand(app));
    add(MakeDecodeSubcommand(app));
    add(MakeRenderSubcommand(app));
    add(MakeExportSubcommand(app));
    add(MakeProcessSubcommand(app));
    add(MakeDevicesSubcommand(app));
    add(MakePlaySubcommand(app));

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error, out, err);
        return code == 0 ? kExitSuccess : kExitUsage;
    }

    for (auto& entry : commands) {
        if (!entry.first->parsed()) continue;
        ISubcommand& command = *entry.second;
        CAlertPrinter alerts(err, options.fVerbose, options.fYes);
        CTerminalProgressUI progress(err, !options.fQuiet && CTerminalProgressUI::IsErrorStreamATerminal());
        CDiagnosticPrinter diagnostics(err, options.fVerbose);
        CSubcommandEnvironment environment(alerts, progress, diagnostics);
        SSubcommandContext context{out, err, alerts, options.fYes, options.fVerbose, options.fQuiet};
        return RunGuarded(alerts, [&] { return command.Run(context); });
    }
    err << app.help();
    return kExitUsage;
}

}  // namespace NSQuillet::NSCli
