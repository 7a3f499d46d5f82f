#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/application/ApplicationShell.h"
#include "app/application/DocumentWindow.h"
#include "app/application/Quillet.h"
#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/WavePlayer.h"
#include "tests/app/preferences/PreferencesTestSupport.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuilletTest {

// A document window that records what the application asks of it; closing tells the
// application at once, as the editor's window does when it is closed.
class CFakeWindow final : public NSQuillet::IDocumentWindow {
public:
    explicit CFakeWindow(std::shared_ptr<NSQuillet::CQuilletDocument> document) : fDocument(std::move(document)) {}

    NSQuillet::CQuilletDocument& GetDocument() override { return *fDocument; }
    std::shared_ptr<NSQuillet::CQuilletDocument> GetSharedDocument() override { return fDocument; }
    void BringToFront() override { ++fBroughtToFront; }
    bool RequestClose(bool quitting) override {
        fCloseRequests.push_back(quitting);
        if (!fAgreesToClose) return false;
        Close();
        return true;
    }
    void CloseWithoutAsking() override {
        ++fClosedWithoutAsking;
        Close();
    }

    bool IsClosed() const { return fClosed; }
    std::string GetName() const { return fDocument->GetDisplayName(); }

    // False: the close conversation ends in Cancel.
    bool fAgreesToClose = true;
    int fBroughtToFront = 0;
    int fClosedWithoutAsking = 0;
    std::vector<bool> fCloseRequests;

private:
    void Close() {
        ASSERT_FALSE(fClosed) << "closed twice";
        fClosed = true;
        NSQuillet::CQuillet::Get()->WindowClosed(this);
    }

    std::shared_ptr<NSQuillet::CQuilletDocument> fDocument;
    bool fClosed = false;
};

// The window library as a recorder: windows it made, the dialogs and pages asked for, the
// clipboard and the Open dialog's answers scripted.
class CRecordingShell final : public NSQuillet::IApplicationShell {
public:
    NSQuillet::IDocumentWindow* CreateDocumentWindow(std::shared_ptr<NSQuillet::CQuilletDocument> document) override {
        fWindows.push_back(std::make_unique<CFakeWindow>(std::move(document)));
        return fWindows.back().get();
    }
    std::optional<std::string> AskFileToOpen(const std::string& startFolder) override {
        fOpenDialogFolders.push_back(startFolder);
        if (fWhileOpenDialogShows) fWhileOpenDialogShows();
        return fFileToOpen;
    }
    std::optional<NSQuillet::SClipboardLoop> ReadClipboardLoop() override { return fClipboard; }
    void ShowAbout() override { ++fAboutShown; }
    void ShowPreferences() override {
        if (fPreferencesOutOfMemory) throw std::bad_alloc();
        ++fPreferencesShown;
    }
    bool OpenWebPage(const std::string& address) override {
        fWebPages.push_back(address);
        return fWebPagesOpen;
    }
    void ApplicationMenusChanged() override { ++fMenusChanged; }
    void Quit() override { ++fQuitCalls; }

    // The windows not closed, oldest first.
    std::vector<CFakeWindow*> OpenWindows() const {
        std::vector<CFakeWindow*> open;
        for (const auto& window : fWindows) {
            if (!window->IsClosed()) open.push_back(window.get());
        }
        return open;
    }
    std::vector<std::string> OpenWindowNames() const {
        std::vector<std::string> names;
        for (CFakeWindow* window : OpenWindows()) names.push_back(window->GetName());
        return names;
    }

    std::vector<std::unique_ptr<CFakeWindow>> fWindows;
    std::vector<std::string> fOpenDialogFolders;
    std::function<void()> fWhileOpenDialogShows;
    std::optional<std::string> fFileToOpen;
    std::optional<NSQuillet::SClipboardLoop> fClipboard;
    int fAboutShown = 0;
    int fPreferencesShown = 0;
    bool fPreferencesOutOfMemory = false;
    std::vector<std::string> fWebPages;
    bool fWebPagesOpen = true;
    int fMenusChanged = 0;
    int fQuitCalls = 0;
};

inline NSQuillet::SHelpAddresses TestHelpAddresses() {
    NSQuillet::SHelpAddresses help;
    help.fDocumentation = "file:///opt/quillet/share/doc/quillet/README.md";
    help.fHomePage = "https://quillet.example.org/";
    help.fLoopsPage = "https://quillet.example.org/loops/";
    help.fSupport = "https://quillet.example.org/support/";
    return help;
}

// Headings of the alerts shown, else their bodies.
inline std::vector<std::string> ShownHeadings(const NSQuillet::CScriptedAlertPresenter& presenter) {
    std::vector<std::string> headings;
    for (const NSQuillet::SAlert& alert : presenter.GetShown())
        headings.push_back(alert.fHeading.empty() ? alert.fBody : alert.fHeading);
    return headings;
}

// The application with its own configuration folder, the Null Output forced, a recording
// shell, scripted alerts and a folder for the test's files.
class ApplicationTest : public ::testing::Test {
protected:
    ~ApplicationTest() override {
        if (fApplication) fApplication->Stop();
        fApplication.reset();
    }

    NSQuillet::CQuillet& Start() {
        fApplication = std::make_unique<NSQuillet::CQuillet>(fShell, fManager, fPlayer, TestHelpAddresses());
        fApplication->Start();
        return *fApplication;
    }
    // Ends the application as the process does: stopped, then destroyed; its windows go.
    void End() {
        fApplication->Stop();
        fApplication.reset();
        fShell.fWindows.clear();
    }

    // A mono 16-bit WAVE file of `frames` frames in the test's folder.
    std::string MakeWave(const std::string& name, int32_t frames = 4410) const {
        return fFiles.Make(name, WriteToBytes(*MakeSample(16, 1, frames), NSQuillet::ESoundFileType::kWave));
    }

    std::vector<std::string> RecentPaths() const {
        std::vector<std::string> paths;
        for (const auto& entry : NSQuillet::GetPreferences()->GetRecentDocuments().GetEntries())
            paths.push_back(entry.fPath);
        return paths;
    }

    CPreferencesHome fHome;
    CScopedEnvironmentVariable fDevice{"QUILLET_AUDIO_DEVICE", std::string("null")};
    CScopedEnvironmentVariable fRecord{"QUILLET_NULL_OUTPUT_RECORD", std::nullopt};
    NSQuillet::CScriptedAlertPresenter fAlerts;
    CTemporaryFolder fFiles;
    NSQuillet::CAudioCardManager fManager;
    NSQuillet::CWavePlayer fPlayer{fManager};
    CRecordingShell fShell;
    std::unique_ptr<NSQuillet::CQuillet> fApplication;
};

}  // namespace NSQuilletTest
