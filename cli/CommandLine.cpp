#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <utility>

#include "app/LengthyOperationUI.h"
#include "cli/AlertPrinter.h"
#include "cli/Command.h"
#include "cli/CommandGuard.h"
#include "cli/DecodeCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ExitCode.h"
#include "cli/InfoCommand.h"
#include "cli/ProcessCommand.h"
#include "cli/RenderCommand.h"
#include "cli/SliceCommand.h"
#include "cli/SlicesCommand.h"
#include "cli/TerminalProgressUI.h"
#include "foundation/Version.h"

namespace NSQuillet::NSCli {

namespace {

struct SGlobalOptions {
    bool fVerbose = false;
    bool fQuiet = false;
    bool fYes = false;
};

// Sets the process-wide alert presenter and progress UI for one command, and takes them back.
class CCommandEnvironment {
public:
    CCommandEnvironment(IAlertPresenter& alerts, NSCourier::ILengthyOperationUI& progress) {
        SetAlertPresenter(&alerts);
        NSCourier::SetLengthyOperationUI(&progress);
    }
    ~CCommandEnvironment() {
        NSCourier::SetLengthyOperationUI(nullptr);
        SetAlertPresenter(nullptr);
    }
    CCommandEnvironment(const CCommandEnvironment&) = delete;
    CCommandEnvironment& operator=(const CCommandEnvironment&) = delete;
};

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillet: slices drum and music loops, sets their tempo, saves and exports them.", "quillet-cli"};
    app.set_version_flag("--version", std::string("quillet-cli ") + kProgramVersion);
    SGlobalOptions options;
    app.add_flag("--verbose", options.fVerbose, "Print the diagnostic message after each alert");
    app.add_flag("--quiet", options.fQuiet, "Hide progress bars");
    app.add_flag("--yes", options.fYes, "Answer every question with its affirmative button");
    app.require_subcommand(0, 1);
    app.fallthrough();

    std::vector<std::pair<CLI::App*, std::unique_ptr<ICommand>>> commands;
    auto add = [&](std::unique_ptr<ICommand> command) {
        commands.emplace_back(app.get_subcommands({}).back(), std::move(command));
    };
    add(MakeInfoCommand(app));
    add(MakeSlicesCommand(app));
    add(MakeSliceCommand(app));
    add(MakeDecodeCommand(app));
    add(MakeRenderCommand(app));
    add(MakeExportCommand(app));
    add(MakeProcessCommand(app));

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error, out, err);
        return code == 0 ? kExitSuccess : kExitUsage;
    }

    for (auto& entry : commands) {
        if (!entry.first->parsed()) continue;
        ICommand& command = *entry.second;
        CAlertPrinter alerts(err, options.fVerbose, options.fYes);
        CTerminalProgressUI progress(err, !options.fQuiet && CTerminalProgressUI::IsErrorStreamATerminal());
        CCommandEnvironment environment(alerts, progress);
        SCommandContext context{out, err, alerts, options.fYes};
        return RunGuarded(alerts, [&] { return command.Run(context); });
    }
    err << app.help();
    return kExitUsage;
}

}  // namespace NSQuillet::NSCli
