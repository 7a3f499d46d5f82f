#pragma once

#include <QTimer>

#include "app/application/Quillet.h"
#include "ui/application/QuilletApplicationShell.h"
#include "ui/dialogs/AlertDialogPresenter.h"
#include "ui/dialogs/LengthyOperationWindow.h"
#include "ui/skin/BitmapFetcher.h"
#include "ui/skin/QuilletSkin.h"

namespace NSQuillet {

// The application object with the editor around it: alerts as message boxes and lengthy
// operations in their progress window, both installed for the process while this exists, the
// program's skin, and the shell with the editor's document windows. Not started; at its end
// the dialogs close, the application stops and the loop's transfer files go. While it exists
// the wave player's idle processing runs from the run loop, so that a playback that has ended
// is stopped and its document's play mode returns to stopped. User-interface thread.
class CEditorApplication {
public:
    CEditorApplication();
    ~CEditorApplication();
    CEditorApplication(const CEditorApplication&) = delete;
    CEditorApplication& operator=(const CEditorApplication&) = delete;

    CQuillet& GetApplication() { return fApplication; }
    CQuilletApplicationShell& GetShell() { return fShell; }
    const CEditorLengthyOperationUI& GetProgress() const { return fProgress; }

private:
    // Before the windows, which draw with it, and gone after them.
    NSQuilletSkin::CSkinBitmapFetcher fSkinPictures;
    NSQuilletSkin::CQuilletSkin fSkin{fSkinPictures};
    CAlertDialogPresenter fAlerts;
    CEditorLengthyOperationUI fProgress;
    CQuilletApplicationShell fShell;
    CQuillet fApplication;
    QTimer fAudioIdle;
};

}  // namespace NSQuillet
