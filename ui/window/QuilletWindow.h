#pragma once

#include <QMainWindow>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application/DocumentWindow.h"
#include "app/document/DocumentListener.h"
#include "ui/logic/DelayedWindowCloser.h"
#include "ui/logic/ExportFileTypes.h"
#include "ui/logic/WindowCommandStates.h"
#include "ui/logic/WindowCommands.h"
#include "ui/toolbars/ToolbarHost.h"

class QAction;
class QMenu;
class QMessageBox;
class QStackedWidget;

namespace NSQuillet {

class CQuilletDocument;
class CToolbar;
class CWaveformDisplayGroupView;
class IWindowApplication;

// One document's window: its menus, keys, title, drops and the close conversation. Shows the
// empty-document view until the document has sound. Deletes itself when closed, after telling
// the application. User-interface thread.
class CQuilletWindow final : public QMainWindow,
                             public IDocumentWindow,
                             private IDocumentListener,
                             private IWindowDialogs,
                             private IToolbarHost {
    Q_OBJECT

public:
    // Asks for the file a Save As writes, starting in `folder` with `proposedName`; none when
    // cancelled.
    using FAskSavePath = std::function<std::optional<std::string>(QWidget* parent, const std::string& folder,
                                                                  const std::string& proposedName)>;
    // Asks the save-changes question.
    using FAskSaveChanges = std::function<CDelayedWindowCloser::EAnswer(QWidget* parent, const std::string& question)>;
    // Asks for the file an Export writes and its type, starting in `folder` with
    // `proposedName` and `proposedFormat`'s type; none when cancelled.
    using FAskExportTarget = std::function<std::optional<SExportTarget>(
        QWidget* parent, const std::string& folder, const std::string& proposedName, EExportFormat proposedFormat)>;

    CQuilletWindow(IWindowApplication& application, std::shared_ptr<CQuilletDocument> document,
                   QWidget* parent = nullptr);
    ~CQuilletWindow() override;

    // IDocumentWindow
    CQuilletDocument& GetDocument() override { return *fDocument; }
    std::shared_ptr<CQuilletDocument> GetSharedDocument() override { return fDocument; }
    void BringToFront() override;
    bool RequestClose(bool quitting) override;
    void CloseWithoutAsking() override;

    void SetAskSavePath(FAskSavePath ask) { fAskSavePath = std::move(ask); }
    void SetAskSaveChanges(FAskSaveChanges ask) { fAskSaveChanges = std::move(ask); }
    void SetAskExportTarget(FAskExportTarget ask) { fAskExportTarget = std::move(ask); }
    // The view commands and zoom keys go to `waveform` (not owned; null: none); at the start
    // the window's own group view.
    void SetWaveform(IWaveformCommands* waveform) { fCommands.SetWaveform(waveform); }
    CWaveformDisplayGroupView& GetWaveformView() { return *fWaveform; }
    // The toolbar strip; null until the document has sound.
    CToolbar* GetToolbar() { return fToolbar; }

    // The action of a command in the menu bar, null when there is none.
    QAction* FindAction(int32_t command) const;
    // Recomputes every menu item's state from the document, the preferences and the focus.
    void UpdateCommandStates();
    // Runs a menu command inside the application's command runner; a disabled one does nothing.
    void DoCommand(int32_t command);

    // The default questions: the Qt file dialog for "Loop files (*.lx2)", and the message box
    // with "Yes", "No" and "Cancel", Cancel the escape button. The export's is
    // CExportSaveDialog::Ask.
    static std::optional<std::string> AskSavePathWithDialog(QWidget* parent, const std::string& folder,
                                                            const std::string& proposedName);
    static std::unique_ptr<QMessageBox> MakeSaveChangesBox(QWidget* parent, const std::string& question);

public slots:
    void CopyLoopToClipboard();
    // Hands the loop out by a drag; blocks until the drop.
    void StartLoopDragOut();

public:
    // Hands the slices (full indices) out by a drag as WAVE files, one per slice; the loop
    // when none of them sounds. Blocks until the drop.
    void StartSlicesDragOut(const std::vector<int32_t>& slices);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // IDocumentListener
    void OnParametersChanged() override;
    void OnSlicesChanged() override;
    void OnWaveSampleChanged() override;
    void OnViewAndEditAttributesChanged() override;
    void OnUndoHistoryChanged() override;
    void OnTitleChanged() override;
    void OnPlaybackStateChanged() override;

    // IWindowDialogs
    void ShowLoopInformation() override;
    void Export() override;
    void CopyLoop() override;
    std::optional<EMonoChoice> AskConvertToMono(EMonoChoice proposed) override;
    std::optional<SSampleFormat> AskConvertSampleFormat(const SSampleFormat& current) override;

    // IToolbarHost
    void RunToolbarCommand(const std::function<void()>& work) override;
    void DoWindowAction(EWindowAction action) override;
    ILoopLengthRequest& GetLoopLengthRequest() override;
    void ReturnFocusToWindow() override;

    void BuildMenus();
    void AddProgramMenu(int32_t menuEntry);
    QAction* AddCommand(QMenu& menu, int32_t command, const QString& text);
    void AddApplicationItems(int32_t menuEntry, QMenu& menu);
    void FillOpenRecent();
    void FillWindowMenu();
    void CloseAll();
    bool IsFocusFree() const;
    bool HasSound() const;
    void UpdateTitle();
    void UpdateView();
    void OfferLeftLocatorMoveOnce();
    bool Save();
    bool SaveAs();
    bool ConfirmClose(bool quitting);
    bool IsApplicationMenuCommand(int32_t command) const;
    void CloseNow();
    // Where the file dialogs start: the folder of the newest recent entry, or what is left of it.
    std::string GetStartFolder() const;

    IWindowApplication& fApplication;
    std::shared_ptr<CQuilletDocument> fDocument;
    CWindowCommands fCommands;
    CWindowCommandStates fStates;
    std::map<int32_t, QAction*> fActions;
    std::map<int32_t, QString> fResourceTexts;
    QMenu* fOpenRecentMenu = nullptr;
    QMenu* fWindowMenu = nullptr;
    QAction* fPasteAsNewDocument = nullptr;
    QStackedWidget* fViews = nullptr;
    CToolbar* fToolbar = nullptr;
    std::unique_ptr<ILoopLengthRequest> fLoopLengthRequest;
    QWidget* fEmptyView = nullptr;
    CWaveformDisplayGroupView* fWaveform = nullptr;
    std::unique_ptr<CDelayedWindowCloser> fCloser;
    // The left locator's question is asked once, when the sound is first shown.
    bool fLeftLocatorOffered = false;
    bool fCloseAllowed = false;
    bool fClosed = false;
    FAskSavePath fAskSavePath = &CQuilletWindow::AskSavePathWithDialog;
    FAskSaveChanges fAskSaveChanges;
    FAskExportTarget fAskExportTarget;
};

}  // namespace NSQuillet
