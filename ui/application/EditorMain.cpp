#include "ui/application/EditorMain.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "app/application/DocumentWindow.h"
#include "app/application/Quillet.h"
#include "app/resources/ProgramResources.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/ExceptionBodyStorage.h"
#include "foundation/Version.h"
#include "ui/application/EditorApplication.h"
#include "ui/application/FirstPaintReport.h"
#include "ui/application/PathOpeningQueue.h"
#include "ui/application/QuitEventRouter.h"
#include "ui/application/SingleInstance.h"
#include "ui/logic/DisplayEnvironment.h"
#include "ui/logic/FatalFailure.h"
#include "ui/logic/SingleInstanceProtocol.h"

namespace NSQuillet {

namespace {

// How long a second editor process waits for the running one to take its files.
constexpr int kHandOverTimeoutMilliseconds = 10000;

const char* ReadEnvironment(const char* name) { return std::getenv(name); }

std::string ProgramName() {
    try {
        return StringReference(NSStringIds::kProgramName).GetText();
    } catch (...) {
        return kProgramName;
    }
}

void ShowFatalFailure(const std::exception* failure) {
    if (failure) std::fprintf(stderr, "quillet: %s\n", failure->what());
    const std::string text = FatalFailureText(failure);
    std::fprintf(stderr, "quillet: %s\n", text.c_str());
    if (!QApplication::instance()) return;
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(ProgramName()), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::vector<std::string> CommandLinePaths() {
    std::vector<std::string> arguments;
    const QStringList all = QApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(QFile::encodeName(all[i]).toStdString());
    return AbsolutePaths(arguments, QFile::encodeName(QDir::currentPath()).toStdString());
}

int RunApplication(QApplication& application) {
    const std::vector<std::string> paths = CommandLinePaths();
    CPathOpeningQueue* queue = nullptr;
    CSingleInstanceServer server(
        SingleInstanceSocketPath(ReadEnvironment, unsigned(getuid()), QFile::encodeName(QDir::tempPath()).toStdString()),
        [&queue](const std::vector<std::string>& received) {
            if (queue) queue->Enqueue(received);
        });
    switch (StartSingleInstance(server, paths, kHandOverTimeoutMilliseconds)) {
        case EInstanceStart::kHandedOver:
            return 0;
        case EInstanceStart::kFailed:
            std::fprintf(stderr, "quillet: another Quillet is running but did not take the files (%s)\n",
                         server.GetSocketPath().c_str());
            return 1;
        case EInstanceStart::kFirst:
            break;
    }

    CEditorApplication editor;
    CQuillet& quillet = editor.GetApplication();
    const CEditorLengthyOperationUI& progress = editor.GetProgress();

    CPathOpeningQueue openings({
        [&] {
            return quillet.IsStarted() && !quillet.IsQuitting() && !progress.IsBusy() &&
                   !QApplication::activeModalWidget();
        },
        [&](const std::string& path) { quillet.OpenPath(path); },
        [&] {
            if (!quillet.GetWindows().empty()) quillet.GetWindows().back()->BringToFront();
        },
    });
    queue = &openings;
    application.installEventFilter(&openings);
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &openings,
                     [&](Qt::ApplicationState state) {
                         if (quillet.IsStarted()) quillet.SetActive(state == Qt::ApplicationActive);
                     });

    const CQuitEventRouter quitRouter([&] { quillet.RequestQuit(); });
    const CFirstPaintReport firstPaint([&] { quillet.RequestQuit(); });
    quillet.Start();
    if (paths.empty()) {
        quillet.StartWithoutFiles();
    } else {
        for (const std::string& path : paths) quillet.OpenPath(path);
    }
    const int status = application.exec();
    queue = nullptr;
    application.removeEventFilter(&openings);
    return status;
}

}  // namespace

int RunEditor(int argc, char** argv) {
    std::exception_ptr startFailure;
    try {
        NSMishap::GetExceptionBodyStorage();
        CProgramResources::Get();
    } catch (...) {
        startFailure = std::current_exception();
    }
    if (!HasDisplayEnvironment(ReadEnvironment)) {
        std::fputs(NoDisplayMessage().c_str(), stderr);
        return 1;
    }

    QApplication::setApplicationName(kProgramName);
    QApplication::setOrganizationName("Moltrane Software");
    QApplication::setDesktopFileName("quillet");
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library too; the program's texts and files write
    // numbers with a point.
    std::setlocale(LC_NUMERIC, "C");
    // The application always keeps a window; it ends by its Quit command only.
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        if (startFailure) std::rethrow_exception(startFailure);
        return RunApplication(application);
    } catch (const std::exception& failure) {
        ShowFatalFailure(&failure);
    } catch (...) {
        ShowFatalFailure(nullptr);
    }
    return 1;
}

}  // namespace NSQuillet
