#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application/WindowApplication.h"
#include "app/document/QuilletDocument.h"
#include "app/preferences/RecentlyUsedDocumentsListener.h"

namespace NSQuillet {

class CAudioCardManager;
class CPreferences;
class CWavePlayer;
class IApplicationShell;
class IDocumentWindow;
struct SRecentDocument;

// The addresses the Help commands open, fixed when the program is built.
struct SHelpAddresses {
    std::string fDocumentation;
    std::string fHomePage;
    std::string fLoopsPage;
    std::string fSupport;
};

// The addresses the build was configured with (the QUILLET_*_ADDRESS cache variables).
SHelpAddresses GetDefaultHelpAddresses();

// The application: the preferences and the recent list, the audio device, the open document
// windows, the application commands and the answer to failures that end a command. One for the
// process; user-interface thread.
class CQuillet final : public IWindowApplication, private IRecentlyUsedDocumentsListener {
public:
    CQuillet(IApplicationShell& shell, CAudioCardManager& manager, CWavePlayer& player, SHelpAddresses help);
    ~CQuillet();
    CQuillet(const CQuillet&) = delete;
    CQuillet& operator=(const CQuillet&) = delete;

    // The process's application object while one exists, else null.
    static CQuillet* Get();

    // Creates and installs the preferences, reads the preferences file (a missing or empty
    // file: the first run, no alert) and starts the audio device; then counts as started.
    void Start();
    // Writes the preferences file when the preferences changed, closes the audio output and
    // releases the preferences; each step guarded, failures swallowed.
    void Stop();
    bool IsStarted() const { return fStarted; }
    bool IsFirstRun() const { return fFirstRun; }

    // No files on the command line: ensures a window (no Open dialog).
    void StartWithoutFiles();
    // Opens by path (command line, drop, another editor process): closes pristine windows, an
    // unknown type gets "Cannot read file", a file already open brings its window to the front,
    // else it opens in a new window and goes to the top of the recent list; ensures a window.
    // Failures are answered by their alert.
    void OpenPath(const std::string& path) override;

    // Application commands (About, Open…, Paste as New Document, Preferences…, Open Recent
    // 20150–20157, the Help pages, Quit: NSCommandIds).
    bool IsApplicationCommand(int32_t command) const override;
    bool IsApplicationCommandEnabled(int32_t command) const override;
    // The label of an Open Recent entry; "" when there is none.
    std::string GetRecentCommandLabel(int32_t command) const override;
    void DoApplicationCommand(int32_t command) override;

    // Stops the wave player, then asks each window to close ("…before quitting?"); the first
    // Cancel abandons the quit. When all closed, the shell quits.
    void RequestQuit() override;
    bool IsQuitting() const override { return fQuitting; }

    // The application became inactive or active: the audio device is released or taken again
    // (only once started).
    void SetActive(bool active);
    // The audio output's idle processing, every few tens of ms: the wave player stops what has
    // ended, and a stream that died or a due device switch is noticed; a problem found shows
    // its alert. Never throws.
    void AudioIdle();

    // A window has closed and is gone: forgotten; a new pristine window unless quitting.
    void WindowClosed(IDocumentWindow* window) override;
    const std::vector<IDocumentWindow*>& GetWindows() const override { return fWindows; }

    // A document was saved as `path`: it goes to the top of the recent list.
    void DocumentSavedAs(const std::string& path, const std::string& displayName) override;
    // The folder of the newest recent entry, where file dialogs start; "" when there is none.
    std::string GetRecentFolder() const override;
    // What new documents take from the preferences and the audio output.
    SDocumentSettings GetDocumentSettings() const;

    // The exception responder: runs `command`; a failure that escapes it is shown with the alert
    // the failure-to-alert choice gives (none for an abort). False when it failed.
    bool RunCommand(const std::function<void()>& command) override;
    void ReportFailure(const std::exception& failure);
    void ReportUnknownFailure();

private:
    void OnRecentlyUsedDocumentsChanged() override;

    // Opens `path` as OpenPath does, without ensuring a window; the path the recent list took
    // for it, "" when nothing was opened.
    std::string OpenFile(const std::string& path);
    IDocumentWindow* FindWindowShowing(const std::string& path) const;
    // A window for `document`, then the pristine windows closed.
    void ShowInNewWindow(const std::shared_ptr<CQuilletDocument>& document);
    void ClosePristineWindows(const IDocumentWindow* keep);
    // No window: a pristine empty document in a new one.
    void EnsureWindow();
    void AddRecentDocument(const std::string& path, const std::string& displayName);
    // The entry of an Open Recent command; null when there is none.
    const SRecentDocument* RecentEntry(int32_t command) const;
    void AskAndOpen();
    void OpenRecent(int32_t command);
    void OpenHelpPage(int32_t command);
    void ShowPreferences();
    void PasteAsNewDocument();

    IApplicationShell& fShell;
    CAudioCardManager& fAudioCardManager;
    CWavePlayer& fWavePlayer;
    SHelpAddresses fHelp;
    std::unique_ptr<CPreferences> fPreferences;
    std::vector<IDocumentWindow*> fWindows;
    bool fStarted = false;
    bool fFirstRun = false;
    bool fQuitting = false;
    bool fOpenDialogShowing = false;
};

}  // namespace NSQuillet
