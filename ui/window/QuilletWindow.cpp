#include "ui/window/QuilletWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <vector>

#include "app/application/WindowApplication.h"
#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/export/AlertReplaceQuestion.h"
#include "app/export/ExportFlow.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/preferences/ExportPreferencesMapping.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ProgramResources.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "app/saving/DocumentSaving.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "platform/diskkit/FileSpec.h"
#include "ui/clipboard/LoopClipboard.h"
#include "ui/dialogs/ConvertSampleFormatDialog.h"
#include "ui/dialogs/ConvertToMonoDialog.h"
#include "ui/dialogs/ExportSaveDialog.h"
#include "ui/dialogs/ExportSettingsDialog.h"
#include "ui/dialogs/LoopInformationDialog.h"
#include "ui/dialogs/NoLengthSpecifiedDialog.h"
#include "ui/logic/DialogStartFolder.h"
#include "ui/skin/SkinResources.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformDisplayGroupView.h"
#include "ui/window/KeyTranslation.h"

namespace NSQuillet {

namespace {

using namespace NSCommandIds;

constexpr int kMaximumTitleLength = 1023;

QString Text(const CResourceReference& reference) { return QString::fromStdString(reference.GetText()); }
QString FrameworkText(int32_t entry) { return Text(FrameworkStringReference(entry)); }

QString MenuText(const std::string& label, char accessKey) {
    return QString::fromStdString(ToAmpersandAccessKey(label, accessKey));
}

Qt::KeyboardModifiers ShortcutModifiers(int32_t combination) {
    switch (combination) {
    case kMenuModifier_None:
        return Qt::NoModifier;
    case kMenuModifier_Primary:
        return Qt::ControlModifier;
    case 2:
        return Qt::ControlModifier | Qt::ShiftModifier;
    case 3:
        return Qt::AltModifier;
    default:
        return Qt::ControlModifier | Qt::AltModifier;
    }
}

QKeySequence Shortcut(const SMenuItem& item) {
    if (item.fShortcutKey == '\0') return {};
    return QKeySequence(QKeyCombination(ShortcutModifiers(item.fShortcutModifiers), Qt::Key(item.fShortcutKey)));
}

// The framework menus' kinds and their titles in the framework's string table.
int32_t FrameworkMenuTitle(const std::string& kind) {
    if (kind == "File menu title") return NSFrameworkStringIds::kFileMenu;
    if (kind == "Edit menu title") return NSFrameworkStringIds::kEditMenu;
    if (kind == "Help menu title") return NSFrameworkStringIds::kHelpMenu;
    return 0;
}

bool IsMarkable(int32_t command) {
    return command == kScrollDuringPlayback || command == kExportAsOneSample || command == kSilenceSelected;
}

CDelayedWindowCloser::EAnswer AskWithBox(QWidget* parent, const std::string& question) {
    const std::unique_ptr<QMessageBox> box = CQuilletWindow::MakeSaveChangesBox(parent, question);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    const QMessageBox::ButtonRole role = clicked ? box->buttonRole(clicked) : QMessageBox::RejectRole;
    if (role == QMessageBox::YesRole) return CDelayedWindowCloser::EAnswer::kYes;
    if (role == QMessageBox::NoRole) return CDelayedWindowCloser::EAnswer::kNo;
    return CDelayedWindowCloser::EAnswer::kCancel;
}

}  // namespace

CQuilletWindow::CQuilletWindow(IWindowApplication& application, std::shared_ptr<CQuilletDocument> document,
                               QWidget* parent)
    : QMainWindow(parent), fApplication(application), fDocument(std::move(document)), fCommands(*fDocument, *this),
      fAskSaveChanges(&AskWithBox), fAskExportTarget(&CExportSaveDialog::Ask) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);

    fViews = new QStackedWidget(this);
    fEmptyView = new QWidget(fViews);
    auto* emptyLayout = new QVBoxLayout(fEmptyView);
    auto* icon = new QLabel(fEmptyView);
    icon->setPixmap(NSQuilletSkin::GetApplicationIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    auto* message = new QLabel(Text(StringReference(NSStringIds::kDropSoundFilesHere)), fEmptyView);
    message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    emptyLayout->addWidget(icon);
    emptyLayout->addWidget(message);
    fWaveform = new CWaveformDisplayGroupView(*fDocument, fViews);
    fWaveform->SetRunner([this](const std::function<void()>& work) { fApplication.RunCommand(work); });
    fWaveform->SetWindowCommand([this](int32_t command) { DoCommand(command); });
    fWaveform->SetDragOut([this](const std::vector<int32_t>& slices) {
        if (slices.empty()) StartLoopDragOut();
        else StartSlicesDragOut(slices);
    });
    fViews->addWidget(fEmptyView);
    fViews->addWidget(fWaveform);
    // The toolbar strip goes above the views once the document has sound.
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(fViews, 1);
    setCentralWidget(central);
    fCommands.SetWaveform(fWaveform);
    fLoopLengthRequest = std::make_unique<CDialogLoopLengthRequest>(this);
    // Wide enough for the toolbars in three rows above a waveform of a useful height.
    resize(1000, 640);

    BuildMenus();
    fDocument->AddListener(this);
    UpdateTitle();
    UpdateView();
    UpdateCommandStates();
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommandStates(); });
}

CQuilletWindow::~CQuilletWindow() {
    fDocument->RemoveListener(this);
    // The views listen to the document: they go while it still exists, before the members do.
    fCommands.SetWaveform(nullptr);
    delete fToolbar;
    fToolbar = nullptr;
    fWaveform = nullptr;
    fEmptyView = nullptr;
    delete fViews;
    fViews = nullptr;
}

// Menus ------------------------------------------------------------------------------------

void CQuilletWindow::BuildMenus() {
    const CMenuTable& table = CProgramResources::Get().GetMenuTable(kProgramMenuTable);
    for (const SMenu* menu : table.GetMenus()) {
        if (menu->fId == NSMenuIds::kHelp) {
            fWindowMenu = menuBar()->addMenu(MenuText(FrameworkText(NSFrameworkStringIds::kWindowMenu).toStdString(), 'W'));
            connect(fWindowMenu, &QMenu::aboutToShow, this, &CQuilletWindow::FillWindowMenu);
        }
        AddProgramMenu(menu->fId);
    }
}

void CQuilletWindow::AddProgramMenu(int32_t menuEntry) {
    const SMenu& resource = CProgramResources::Get().GetMenuTable(kProgramMenuTable).GetMenu(menuEntry);
    QString title;
    if (resource.fFrameworkMenu) {
        const std::string text = FrameworkText(FrameworkMenuTitle(resource.fTitle)).toStdString();
        title = MenuText(text, text.empty() ? '\0' : text[0]);
    } else {
        title = MenuText(resource.fTitle, resource.fTitleAccessKey);
    }
    QMenu* menu = menuBar()->addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, &CQuilletWindow::UpdateCommandStates);
    for (const SMenuItem& item : resource.fItems) {
        if (item.fSeparator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = AddCommand(*menu, item.fCommandId, MenuText(item.fLabel, item.fAccessKey));
        action->setShortcut(Shortcut(item));
        if (item.fCommandId == kOpen) AddApplicationItems(kOpen, *menu);
    }
    AddApplicationItems(menuEntry, *menu);
}

QAction* CQuilletWindow::AddCommand(QMenu& menu, int32_t command, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setCheckable(IsMarkable(command));
    connect(action, &QAction::triggered, this, [this, command] { DoCommand(command); });
    fActions[command] = action;
    fResourceTexts[command] = text;
    return action;
}

// The application's items where Linux programs keep them: Open Recent and Paste as New
// Document after Open, Quit at the end of File, Preferences at the end of Edit, About at the
// end of Help.
void CQuilletWindow::AddApplicationItems(int32_t menuEntry, QMenu& menu) {
    switch (menuEntry) {
    case kOpen: {
        fOpenRecentMenu = menu.addMenu(MenuText(FrameworkText(NSFrameworkStringIds::kOpenRecent).toStdString(), 'R'));
        connect(fOpenRecentMenu, &QMenu::aboutToShow, this, &CQuilletWindow::FillOpenRecent);
        for (int32_t command = kOpenRecentFirst; command <= kOpenRecentLast; ++command)
            AddCommand(*fOpenRecentMenu, command, QString());
        fPasteAsNewDocument = menu.addAction(
            MenuText(StringReference(NSStringIds::kOperation_PasteAsNewDocument).GetText(), 'N'));
        fPasteAsNewDocument->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
        connect(fPasteAsNewDocument, &QAction::triggered, this, [this] {
            if (fApplication.IsApplicationCommandEnabled(kPaste))
                fApplication.RunCommand([this] { fApplication.DoApplicationCommand(kPaste); });
        });
        break;
    }
    case NSMenuIds::kFile: {
        menu.addSeparator();
        QAction* quit = AddCommand(menu, kQuit, MenuText(FrameworkText(NSFrameworkStringIds::kExit).toStdString(), 'x'));
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        break;
    }
    case NSMenuIds::kEdit:
        menu.addSeparator();
        AddCommand(menu, kPreferences, MenuText(FrameworkText(NSFrameworkStringIds::kPreferences).toStdString(), 'e'));
        break;
    case NSMenuIds::kHelp:
        menu.addSeparator();
        AddCommand(menu, kAbout, MenuText(StringReference(NSStringIds::kAboutMenuTitle).GetText(), 'A'));
        break;
    default:
        break;
    }
}

void CQuilletWindow::FillOpenRecent() {
    bool any = false;
    for (int32_t command = kOpenRecentFirst; command <= kOpenRecentLast; ++command) {
        QAction* action = fActions[command];
        const std::string label = fApplication.GetRecentCommandLabel(command);
        action->setVisible(!label.empty());
        action->setText(QString::fromStdString(ToAmpersandAccessKey(label, '\0')));
        action->setEnabled(!label.empty() && fApplication.IsApplicationCommandEnabled(command));
        any = any || !label.empty();
    }
    fOpenRecentMenu->menuAction()->setEnabled(any);
}

void CQuilletWindow::FillWindowMenu() {
    fWindowMenu->clear();
    // One window is this one: the list marks it as a choice among the others.
    auto* windows = new QActionGroup(fWindowMenu);
    for (IDocumentWindow* window : fApplication.GetWindows()) {
        QAction* action = fWindowMenu->addAction(
            QString::fromStdString(ToAmpersandAccessKey(window->GetDocument().GetDisplayName(), '\0')));
        action->setCheckable(true);
        action->setChecked(window == static_cast<IDocumentWindow*>(this));
        windows->addAction(action);
        connect(action, &QAction::triggered, this, [window] { window->BringToFront(); });
    }
    fWindowMenu->addSeparator();
    QAction* closeAll = fWindowMenu->addAction(MenuText(FrameworkText(NSFrameworkStringIds::kCloseAll).toStdString(), 'A'));
    connect(closeAll, &QAction::triggered, this, &CQuilletWindow::CloseAll, Qt::QueuedConnection);
}

void CQuilletWindow::CloseAll() {
    const std::vector<IDocumentWindow*> windows = fApplication.GetWindows();
    for (IDocumentWindow* window : windows)
        if (!window->RequestClose(false)) return;
}

QAction* CQuilletWindow::FindAction(int32_t command) const {
    if (command == kPaste) return fActions.at(kPaste);
    const auto at = fActions.find(command);
    return at == fActions.end() ? nullptr : at->second;
}

bool CQuilletWindow::IsApplicationMenuCommand(int32_t command) const {
    // Paste of the Edit menu is the window's (never enabled); the application's paste is the
    // File menu's Paste as New Document.
    return command != kPaste && fApplication.IsApplicationCommand(command);
}

void CQuilletWindow::UpdateCommandStates() {
    const CPreferences* preferences = GetPreferences();
    fStates.Update(CaptureWindowDocumentState(*fDocument), preferences && preferences->GetScrollDuringPlayback(),
                   IsFocusFree());
    for (const auto& [command, action] : fActions) {
        if (command >= kOpenRecentFirst && command <= kOpenRecentLast) continue;
        if (IsApplicationMenuCommand(command)) {
            action->setEnabled(fApplication.IsApplicationCommandEnabled(command));
            continue;
        }
        const SCommandState* state = fStates.Find(command);
        if (!state) continue;
        action->setEnabled(state->fEnabled);
        if (action->isCheckable()) action->setChecked(state->fMarked);
        action->setText(state->fLabel ? MenuText(*state->fLabel, state->fAccessKey) : fResourceTexts[command]);
    }
    if (fPasteAsNewDocument) fPasteAsNewDocument->setEnabled(fApplication.IsApplicationCommandEnabled(kPaste));
}

void CQuilletWindow::DoCommand(int32_t command) {
    UpdateCommandStates();
    if (IsApplicationMenuCommand(command)) {
        if (fApplication.IsApplicationCommandEnabled(command))
            fApplication.RunCommand([this, command] { fApplication.DoApplicationCommand(command); });
        return;
    }
    const SCommandState* state = fStates.Find(command);
    if (!state || !state->fEnabled) return;
    switch (command) {
    case kClose:
        RequestClose(false);
        return;
    case kSave:
        fApplication.RunCommand([this] { Save(); });
        return;
    case kSaveAs:
        fApplication.RunCommand([this] { SaveAs(); });
        return;
    default:
        fApplication.RunCommand([this, command] { fCommands.DoCommand(command); });
        return;
    }
}

bool CQuilletWindow::IsFocusFree() const {
    const QWidget* focus = focusWidget();
    return !focus || focus == this || (fViews && (focus == fViews || fViews->isAncestorOf(focus)));
}

bool CQuilletWindow::HasSound() const { return fDocument->GetWaveSample().GetFrameCount() > 0; }

// Title and views -----------------------------------------------------------------------------

void CQuilletWindow::UpdateTitle() {
    setWindowTitle(QString::fromStdString(fDocument->GetDisplayName()).left(kMaximumTitleLength) + "[*]");
    setWindowModified(fDocument->IsModified() && HasSound());
}

void CQuilletWindow::UpdateView() {
    if (!HasSound()) {
        fViews->setCurrentWidget(fEmptyView);
        return;
    }
    fViews->setCurrentWidget(fWaveform);
    if (!fToolbar) {
        fToolbar = new CToolbar(*fDocument, *this, centralWidget());
        static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(0, fToolbar);
        // The knobs take the focus by Tab: without a focus of its own the window would hand it
        // to the first knob when it becomes active, and the keys would no longer reach it.
        if (!IsFocusFree() || !focusWidget()) fWaveform->GetDetailView().setFocus(Qt::OtherFocusReason);
    }
    OfferLeftLocatorMoveOnce();
}

// Asked after the window has appeared, so that the question stands over it.
void CQuilletWindow::OfferLeftLocatorMoveOnce() {
    if (fLeftLocatorOffered || !isVisible() || !HasSound()) return;
    fLeftLocatorOffered = true;
    QTimer::singleShot(0, this, [this] {
        if (!fClosed) fWaveform->OfferLeftLocatorMove();
    });
}

void CQuilletWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    OfferLeftLocatorMoveOnce();
}

void CQuilletWindow::OnParametersChanged() { UpdateCommandStates(); }
void CQuilletWindow::OnSlicesChanged() { UpdateCommandStates(); }
void CQuilletWindow::OnWaveSampleChanged() {
    UpdateView();
    UpdateTitle();
    UpdateCommandStates();
}
void CQuilletWindow::OnViewAndEditAttributesChanged() {}
void CQuilletWindow::OnUndoHistoryChanged() { UpdateCommandStates(); }
void CQuilletWindow::OnTitleChanged() {
    UpdateTitle();
    UpdateCommandStates();
}
void CQuilletWindow::OnPlaybackStateChanged() {}

// Keys and drops -----------------------------------------------------------------------------

void CQuilletWindow::keyPressEvent(QKeyEvent* event) {
    const std::optional<SPlainKey> key = TranslateKey(*event);
    bool handled = false;
    if (key) fApplication.RunCommand([&] { handled = fCommands.DoKey(*key, IsFocusFree()); });
    if (handled) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CQuilletWindow::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CQuilletWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    if (paths.empty()) return;
    event->acceptProposedAction();
    for (const std::string& path : paths) fApplication.OpenPath(path);
}

// Dialogs and the clipboard ------------------------------------------------------------------

void CQuilletWindow::ShowLoopInformation() {
    CLoopInformationDialog dialog(*fDocument, this);
    dialog.exec();
}

// The remembered choices go back to the preferences only when the export is done: a cancel
// anywhere leaves them as they were.
void CQuilletWindow::Export() {
    CPreferences* preferences = GetPreferences();
    SExportPreferences remembered = preferences ? GetExportPreferences(*preferences) : SExportPreferences{};
    const std::string proposedName = BeginExport(*fDocument, *fLoopLengthRequest, remembered);
    const std::optional<SExportTarget> target =
        fAskExportTarget(this, GetStartFolder(), proposedName, remembered.fLastFormat);
    if (!target) return;
    CDialogExportDialogs settings(this);
    CAlertReplaceQuestion replaceQuestion;
    FinishExport(*fDocument, target->fFormat, NSDiskKit::CFileSpec::FromPath(target->fPath), settings, replaceQuestion,
                 remembered);
    if (preferences) StoreExportPreferences(*preferences, remembered);
}

void CQuilletWindow::CopyLoop() { CopyLoopToClipboard(); }

void CQuilletWindow::CopyLoopToClipboard() {
    CDialogLoopLengthRequest lengthRequest(this);
    NSQuillet::CopyLoopToClipboard(*fDocument, lengthRequest);
}

void CQuilletWindow::StartLoopDragOut() {
    fApplication.RunCommand([this] {
        CDialogLoopLengthRequest lengthRequest(this);
        StartLoopDrag(this, *fDocument, lengthRequest);
    });
}

void CQuilletWindow::StartSlicesDragOut(const std::vector<int32_t>& slices) {
    fApplication.RunCommand([this, &slices] {
        CDialogLoopLengthRequest lengthRequest(this);
        StartSlicesDrag(this, *fDocument, slices, lengthRequest);
    });
}

std::optional<EMonoChoice> CQuilletWindow::AskConvertToMono(EMonoChoice proposed) {
    return CConvertToMonoDialog::Ask(this, proposed);
}

std::optional<SSampleFormat> CQuilletWindow::AskConvertSampleFormat(const SSampleFormat& current) {
    return CConvertSampleFormatDialog::Ask(this, current);
}

// The toolbars -------------------------------------------------------------------------------

void CQuilletWindow::RunToolbarCommand(const std::function<void()>& work) { fApplication.RunCommand(work); }

void CQuilletWindow::DoWindowAction(EWindowAction action) { fCommands.DoAction(action); }

ILoopLengthRequest& CQuilletWindow::GetLoopLengthRequest() { return *fLoopLengthRequest; }

void CQuilletWindow::ReturnFocusToWindow() {
    if (fWaveform && fWaveform->isVisible()) {
        fWaveform->GetDetailView().setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

// Saving and closing -------------------------------------------------------------------------

std::optional<std::string> CQuilletWindow::AskSavePathWithDialog(QWidget* parent, const std::string& folder,
                                                                  const std::string& proposedName) {
    const QString start = folder.empty() ? QString::fromStdString(proposedName)
                                         : QString::fromStdString(folder) + "/" + QString::fromStdString(proposedName);
    const QString path = QFileDialog::getSaveFileName(parent, QString(), start, "Loop files (*.lx2)");
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::unique_ptr<QMessageBox> CQuilletWindow::MakeSaveChangesBox(QWidget* parent, const std::string& question) {
    using namespace NSFrameworkStringIds;
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, Text(StringReference(NSStringIds::kProgramName)),
                                             QString::fromStdString(question), QMessageBox::NoButton, parent);
    auto label = [](int32_t entry) {
        const SAccessKeyText text = SplitAccessKey(FrameworkStringReference(entry).GetText());
        return MenuText(text.fText, text.fAccessKey);
    };
    box->addButton(label(kYes), QMessageBox::YesRole);
    box->addButton(label(kNo), QMessageBox::NoRole);
    QPushButton* cancel = box->addButton(label(kCancel), QMessageBox::RejectRole);
    box->setEscapeButton(cancel);
    return box;
}

bool CQuilletWindow::Save() {
    if (fDocument->NeedsSaveAs()) return SaveAs();
    CQuilletLengthyOperation operation(StringReference(NSStringIds::kOperation_Save).GetText());
    SaveDocument(*fDocument, operation);
    return true;
}

bool CQuilletWindow::SaveAs() {
    std::string name = fDocument->GetDisplayName();
    const size_t dot = name.rfind('.');
    if (fDocument->HasFile() && dot != std::string::npos && dot > 0) name.erase(dot);
    const std::optional<std::string> chosen =
        fAskSavePath(this, GetStartFolder(), name + kDocumentText_LoopFileExtension);
    if (!chosen) return false;
    std::string path = *chosen;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += kDocumentText_LoopFileExtension;
    CQuilletLengthyOperation operation(StringReference(NSStringIds::kOperation_Save).GetText());
    SaveDocumentAs(*fDocument, NSDiskKit::CFileSpec::FromPath(path), operation);
    fApplication.DocumentSavedAs(path, fDocument->GetDisplayName());
    return true;
}

std::string CQuilletWindow::GetStartFolder() const { return DialogStartFolder(fApplication.GetRecentFolder()); }

void CQuilletWindow::BringToFront() {
    show();
    raise();
    activateWindow();
}

bool CQuilletWindow::ConfirmClose(bool quitting) {
    if (fDocument->IsPlaying()) fDocument->StopOrRewind();
    if (!fDocument->IsModified()) return true;
    // A conversation already waiting takes this request: its answer decides.
    if (fCloser) return false;
    bool closed = false;
    fCloser = std::make_unique<CDelayedWindowCloser>(
        fDocument->GetDisplayName(), quitting,
        CDelayedWindowCloser::SActions{[this] {
                                           bool saved = false;
                                           fApplication.RunCommand([&] { saved = Save(); });
                                           return saved;
                                       },
                                       [&closed] { closed = true; }});
    const CDelayedWindowCloser::EAnswer answer = fAskSaveChanges(this, fCloser->GetQuestion());
    fCloser->Answer(answer);
    fCloser.reset();
    return closed;
}

bool CQuilletWindow::RequestClose(bool quitting) {
    if (fClosed) return true;
    if (!fCloseAllowed && !ConfirmClose(quitting)) return false;
    fCloseAllowed = true;
    close();
    return true;
}

void CQuilletWindow::CloseWithoutAsking() {
    fCloseAllowed = true;
    close();
}

void CQuilletWindow::closeEvent(QCloseEvent* event) {
    if (!fCloseAllowed && !ConfirmClose(fApplication.IsQuitting())) {
        event->ignore();
        return;
    }
    fCloseAllowed = true;
    event->accept();
    if (!fClosed) {
        fClosed = true;
        fApplication.WindowClosed(this);
    }
}

}  // namespace NSQuillet
