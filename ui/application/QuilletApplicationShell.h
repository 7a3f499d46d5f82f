#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/application/ApplicationShell.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/PreferencesDialog.h"

namespace NSQuillet {

class CAudioCardManager;
class CWavePlayer;

// The application object's window library: document windows from the factory the entry sets,
// the Open dialog with its preview pane, one About box and one Preferences dialog, the system's browser, quitting.
// User-interface thread.
class CQuilletApplicationShell final : public QObject, public IApplicationShell {
    Q_OBJECT
public:
    using FWindowFactory = std::function<IDocumentWindow*(std::shared_ptr<CQuilletDocument> document)>;

    CQuilletApplicationShell();
    ~CQuilletApplicationShell() override;

    void SetWindowFactory(FWindowFactory factory) { fWindowFactory = std::move(factory); }
    // The audio output the Preferences dialog's Audio page sets up (not owned; it outlives
    // the dialogs); none: the page is disabled.
    void SetAudioCardManager(CAudioCardManager* manager) { fAudioCardManager = manager; }
    // The player the Open dialog previews files through (not owned); none: no preview playback.
    void SetPreviewPlayer(CWavePlayer* player) { fPreviewPlayer = player; }

    // Without a factory: an XIllegalCallSequence.
    IDocumentWindow* CreateDocumentWindow(std::shared_ptr<CQuilletDocument> document) override;
    std::optional<std::string> AskFileToOpen(const std::string& startFolder) override;
    std::optional<SClipboardLoop> ReadClipboardLoop() override;
    void ShowAbout() override;
    void ShowPreferences() override;
    bool OpenWebPage(const std::string& address) override;
    void ApplicationMenusChanged() override;
    void Quit() override;

    // Closes the About and Preferences dialogs (before the preferences go at exit).
    void CloseDialogs();
    CAboutDialog* GetAboutDialog() const { return fAbout.data(); }
    CQuilletPreferencesDialog* GetPreferencesDialog() const { return fPreferences.data(); }

signals:
    // The windows rebuild their application menus (the recent list changed).
    void applicationMenusChanged();

private:
    FWindowFactory fWindowFactory;
    CAudioCardManager* fAudioCardManager = nullptr;
    CWavePlayer* fPreviewPlayer = nullptr;
    QPointer<CAboutDialog> fAbout;
    QPointer<CQuilletPreferencesDialog> fPreferences;
};

}  // namespace NSQuillet
