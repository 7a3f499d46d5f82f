#include "ui/application/QuilletApplicationShell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "foundation/Mishap.h"
#include "ui/clipboard/LoopClipboard.h"
#include "ui/dialogs/QuilletOpenDialog.h"

namespace NSQuillet {

namespace {

// Shows a one-instance window: the open one is brought to the front.
void Present(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace

CQuilletApplicationShell::CQuilletApplicationShell() = default;

CQuilletApplicationShell::~CQuilletApplicationShell() { CloseDialogs(); }

IDocumentWindow* CQuilletApplicationShell::CreateDocumentWindow(std::shared_ptr<CQuilletDocument> document) {
    if (!fWindowFactory) throw NSMishap::XIllegalCallSequence("no document window factory");
    return fWindowFactory(std::move(document));
}

std::optional<std::string> CQuilletApplicationShell::AskFileToOpen(const std::string& startFolder) {
    return CQuilletOpenDialog::Ask(QApplication::activeWindow(), startFolder, fPreviewPlayer);
}

std::optional<SClipboardLoop> CQuilletApplicationShell::ReadClipboardLoop() { return NSQuillet::ReadClipboardLoop(); }

void CQuilletApplicationShell::ShowAbout() {
    if (!fAbout) fAbout = new CAboutDialog;
    Present(fAbout);
}

void CQuilletApplicationShell::ShowPreferences() {
    if (!fPreferences) fPreferences = new CQuilletPreferencesDialog(fAudioCardManager);
    Present(fPreferences);
}

bool CQuilletApplicationShell::OpenWebPage(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) return false;
    return QDesktopServices::openUrl(url);
}

void CQuilletApplicationShell::ApplicationMenusChanged() { emit applicationMenusChanged(); }

// Leaves the run loop without Qt's quit, which would close the windows again.
void CQuilletApplicationShell::Quit() {
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void CQuilletApplicationShell::CloseDialogs() {
    delete fAbout.data();
    delete fPreferences.data();
}

}  // namespace NSQuillet
