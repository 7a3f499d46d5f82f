#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/application/WindowApplication.h"
#include "app/document/QuilletDocument.h"
#include "app/resources/AlertIds.h"
#include "app/resources/FailureAlert.h"
#include "app/resources/MenuIds.h"
#include "app/resources/ResourceReference.h"
#include "app/undo/Change.h"
#include "app/undo/Transaction.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/ui/FakeWindowApplication.h"
#include "ui/clipboard/LoopClipboard.h"
#include "app/document/SliceEditing.h"
#include "ui/dialogs/NoLengthSpecifiedDialog.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/toolbars/ToolbarTextField.h"
#include "ui/toolbars/WinTopToolBar.h"
#include "ui/logic/waveform/WaveformDocumentGestures.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformDisplayGroupView.h"
#include "ui/window/KeyTranslation.h"
#include "ui/window/QuilletWindow.h"

namespace NSQuillet {
namespace {

using namespace NSCommandIds;
using EAnswer = CDelayedWindowCloser::EAnswer;
using NSQuilletTest::CFakeApplication;

// The demo loop, analysed, as a pasted document without a file.
std::shared_ptr<CQuilletDocument> DemoDocument() { return NSQuilletTest::MakeDemoLoopDocument(0); }

std::shared_ptr<CQuilletDocument> EmptyDocument() {
    return std::make_shared<CQuilletDocument>(NSQuilletTest::MakeSample(16, 1, 0), true, SDocumentSettings{});
}

class QuilletWindowTest : public ::testing::Test {
protected:
    CQuilletWindow* Open(std::shared_ptr<CQuilletDocument> document) {
        fDocument = document;
        fWindow = new CQuilletWindow(fApplication, std::move(document));
        fApplication.fWindows = {fWindow.data()};
        fWindow->SetAskSaveChanges([this](QWidget*, const std::string& question) {
            fQuestions.push_back(question);
            return fAnswer;
        });
        fWindow->SetAskSavePath([this](QWidget*, const std::string& folder, const std::string& name) {
            fSavePathRequests.push_back(folder + "|" + name);
            return fSavePath;
        });
        fWindow->show();
        return fWindow.data();
    }
    ~QuilletWindowTest() override { delete fWindow.data(); }
    int32_t Sensitivity() const { return fDocument->GetSliceSequence().GetSensitivity(); }
    void Close() {
        fWindow->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CFakeApplication fApplication;
    std::shared_ptr<CQuilletDocument> fDocument;
    QPointer<CQuilletWindow> fWindow;
    std::vector<std::string> fQuestions;
    EAnswer fAnswer = EAnswer::kCancel;
    std::vector<std::string> fSavePathRequests;
    std::optional<std::string> fSavePath;
    NSQuilletTest::CTemporaryFolder fFolder;
};

TEST_F(QuilletWindowTest, WithoutSoundOnlyOpenCloseAndTheApplicationItemsAreEnabled) {
    Open(EmptyDocument());
    const std::set<int32_t> enabled = {kOpen,    kClose,   kOnlineDocumentation, kHomePage, kLoopsPage,
                                       kTechInfoAndSupport, kAbout, kPreferences,        kQuit};
    const std::vector<int32_t> all = {kOpen, kClose, kGetInfo, kSave, kSaveAs, kExport, kUndo, kRedo, kCut, kCopy,
                                      kPaste, kDelete, kSelectAll, kInvertSelection, kMagnifyToFit, kMagnifyToFitLoop,
                                      kJumpToCursor, kScrollDuringPlayback, kExportAsOneSample, kSilenceSelected,
                                      kNormalize, kConvertToMono, kConvertSampleFormat, kCropLoop, kRemoveDC,
                                      kReAnalyze, kAddSlicesAt16ths, kOnlineDocumentation, kHomePage, kLoopsPage,
                                      kTechInfoAndSupport, kAbout, kPreferences, kQuit};
    fWindow->UpdateCommandStates();
    for (int32_t command : all) {
        QAction* action = fWindow->FindAction(command);
        ASSERT_NE(action, nullptr) << command;
        EXPECT_EQ(action->isEnabled(), enabled.count(command) == 1) << command;
    }
    EXPECT_EQ(fWindow->FindAction(kOpen)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(fWindow->FindAction(kScrollDuringPlayback)->shortcut(), QKeySequence(Qt::Key_F));
    EXPECT_EQ(fWindow->FindAction(kCut)->text(), "Cu&t");
    EXPECT_EQ(fWindow->windowTitle(), "Untitled[*]");
    EXPECT_FALSE(fWindow->isWindowModified());
}

// The window is the document's last owner: its views let go of the document before it goes
// (AddressSanitizer reports the view that does not).
TEST_F(QuilletWindowTest, AWindowOwningItsDocumentAloneIsDestroyedCleanly) {
    Open(DemoDocument());
    std::weak_ptr<CQuilletDocument> document = fDocument;
    fDocument.reset();
    delete fWindow.data();
    EXPECT_TRUE(fWindow.isNull());
    EXPECT_TRUE(document.expired());
}

TEST_F(QuilletWindowTest, ADisabledCommandsShortcutDoesNothing) {
    Open(DemoDocument());
    // The loop has no length: Get Info is disabled, and its Ctrl+I neither opens the dialog.
    int informationShown = 0;
    const auto countDialog = [&] {
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++informationShown;
                modal->close();
            }
        });
    };
    fWindow->activateWindow();
    countDialog();
    QTest::keyClick(fWindow.data(), Qt::Key_I, Qt::ControlModifier);
    QApplication::processEvents();
    countDialog();
    fWindow->DoCommand(kGetInfo);
    QApplication::processEvents();
    EXPECT_EQ(informationShown, 0);
    EXPECT_FALSE(fWindow->FindAction(kGetInfo)->isEnabled());
}

TEST_F(QuilletWindowTest, TheModifiedMarkFollowsAnEditASaveAndAnUndo) {
    auto document = DemoDocument();
    NSQuilletTest::SaveAs(*document, fFolder.PathOf("demo.lx2"));
    Open(document);
    EXPECT_EQ(fWindow->windowTitle(), "demo.lx2[*]");
    EXPECT_FALSE(fWindow->isWindowModified());
    QTest::keyClick(fWindow.data(), Qt::Key_5);
    EXPECT_TRUE(fWindow->isWindowModified());
    EXPECT_EQ(fWindow->FindAction(kUndo)->text(), "Undo Change Sensitivity");
    fWindow->DoCommand(kSave);
    EXPECT_FALSE(fWindow->isWindowModified());
    fWindow->DoCommand(kUndo);
    EXPECT_TRUE(fWindow->isWindowModified());
    EXPECT_EQ(Sensitivity(), 50);
}

TEST_F(QuilletWindowTest, ClosingAnUnchangedDocumentNeverAsks) {
    auto document = DemoDocument();
    NSQuilletTest::SaveAs(*document, fFolder.PathOf("demo.lx2"));
    Open(document);
    CQuilletWindow* window = fWindow.data();
    Close();
    EXPECT_TRUE(fQuestions.empty());
    EXPECT_TRUE(fWindow.isNull());
    EXPECT_EQ(fApplication.fClosed, (std::vector<IDocumentWindow*>{window}));
}

TEST_F(QuilletWindowTest, AChangedUntitledDocumentAnsweredYesClosesOnlyAfterSaveAs) {
    struct SRow {
        const char* fCase;
        EAnswer fAnswer;
        bool fChoosePath;
        bool fClosed;
    };
    for (const SRow& row : {SRow{"Yes, Save As cancelled", EAnswer::kYes, false, false},
                            SRow{"Cancel", EAnswer::kCancel, true, false}, SRow{"No", EAnswer::kNo, true, true},
                            SRow{"Yes, Save As completed", EAnswer::kYes, true, true}}) {
        SCOPED_TRACE(row.fCase);
        fQuestions.clear();
        fSavePathRequests.clear();
        fApplication.fClosed.clear();
        fApplication.fSavedAs.clear();
        fApplication.fRecentFolder = fFolder.Path();
        Open(DemoDocument());
        fAnswer = row.fAnswer;
        fSavePath = row.fChoosePath ? std::optional<std::string>(fFolder.PathOf("saved")) : std::nullopt;
        Close();
        EXPECT_EQ(fQuestions, (std::vector<std::string>{"Save changes to the document “Untitled” before closing?"}));
        EXPECT_EQ(fWindow.isNull(), row.fClosed);
        EXPECT_EQ(fApplication.fClosed.size(), row.fClosed ? 1u : 0u);
        if (row.fAnswer == EAnswer::kYes) {
            EXPECT_EQ(fSavePathRequests, (std::vector<std::string>{fFolder.Path() + "|Untitled.lx2"}));
        } else {
            EXPECT_TRUE(fSavePathRequests.empty());
        }
        if (row.fAnswer == EAnswer::kYes && row.fClosed) {
            // The extension the dialog left off is added.
            EXPECT_EQ(fApplication.fSavedAs, (std::vector<std::string>{fFolder.PathOf("saved.lx2")}));
            EXPECT_FALSE(fDocument->IsModified());
        }
        if (!row.fClosed) {
            // Still there and still asking next time.
            EXPECT_TRUE(fWindow->isVisible());
            fWindow->CloseWithoutAsking();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(fWindow.isNull());
        }
    }
}

TEST_F(QuilletWindowTest, TheSaveChangesBoxHasYesNoCancelWithCancelForEscape) {
    const std::unique_ptr<QMessageBox> box = CQuilletWindow::MakeSaveChangesBox(nullptr, "question");
    std::vector<std::string> texts;
    for (QAbstractButton* button : box->buttons()) texts.push_back(button->text().toStdString());
    std::set<std::string> unordered(texts.begin(), texts.end());
    EXPECT_EQ(unordered, (std::set<std::string>{"&Yes", "&No", "Cancel"}));
    ASSERT_NE(box->escapeButton(), nullptr);
    EXPECT_EQ(box->escapeButton()->text(), "Cancel");
    EXPECT_EQ(box->text(), "question");
}

TEST_F(QuilletWindowTest, KeysReachTheLogicUnlessATextFieldTakesThem) {
    Open(DemoDocument());
    auto* field = new QLineEdit(fWindow.data());
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_5);
    EXPECT_EQ(field->text(), "5");
    EXPECT_EQ(Sensitivity(), 50);

    field->clearFocus();
    fWindow->setFocus();
    QTest::keyClick(fWindow.data(), Qt::Key_5);
    EXPECT_EQ(Sensitivity(), 55);
    QTest::keyClick(fWindow.data(), Qt::Key_W);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fEditTool, kEditTool_Mute);
    QTest::keyClick(fWindow.data(), Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fEditTool, kEditTool_Pen);
}

TEST_F(QuilletWindowTest, TheToolbarsComeWithTheSoundAndTheirFieldsGiveTheKeysBack) {
    Open(EmptyDocument());
    EXPECT_EQ(fWindow->GetToolbar(), nullptr);
    fDocument->PerformWaveSampleChange(NSQuilletTest::MakeSample(16, 1, 44100), "Open");
    QApplication::processEvents();
    CToolbar* strip = fWindow->GetToolbar();
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(strip->isVisible());
    EXPECT_LT(strip->geometry().bottom(), fWindow->GetWaveformView().mapTo(fWindow.data(), QPoint(0, 0)).y());

    // The window starts with the focus free, not in a knob; keys reach it.
    fWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fWindow.data()));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : fWindow.data(), Qt::Key_W);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fEditTool, kEditTool_Mute);

    // A field takes its keys, and Enter hands the focus back to the waveform.
    CToolbarTextField& bars = strip->GetTopToolBar().GetBarsTextEdit();
    QTest::mouseClick(&bars, Qt::LeftButton);
    ASSERT_TRUE(bars.hasFocus());
    bars.selectAll();
    QTest::keyClicks(&bars, "3");
    QTest::keyClick(&bars, Qt::Key_Return);
    EXPECT_EQ(fDocument->GetDocumentParameters().fLoop.GetBars(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &fWindow->GetWaveformView().GetDetailView());
    fWindow->UpdateCommandStates();
    EXPECT_EQ(fWindow->FindAction(kUndo)->text(), "Undo Change Loop Length");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fEditTool, kEditTool_Lock);
    EXPECT_EQ(strip->GetTopToolBar().GetToolsButtonGroup().checkedId(), 2);
}

TEST_F(QuilletWindowTest, KeypadZeroInBothNumLockStatesIsNotTheMainRowZero) {
    Open(DemoDocument());
    // Without an audio output the keypad's stop does not apply: the sensitivity stays.
    QTest::keyClick(fWindow.data(), Qt::Key_0, Qt::KeypadModifier);
    QTest::keyClick(fWindow.data(), Qt::Key_Insert, Qt::KeypadModifier);
    EXPECT_EQ(Sensitivity(), 50);
    // Keypad 1 without Num Lock is a keypad key, not End; keypad + raises the sensitivity.
    QTest::keyClick(fWindow.data(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Sensitivity(), 51);
    QTest::keyClick(fWindow.data(), Qt::Key_0);
    EXPECT_EQ(Sensitivity(), 0);
}

TEST_F(QuilletWindowTest, DroppedFilesAreOpened) {
    Open(EmptyDocument());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/loops/one.wav"), QUrl("https://example.org/x.wav"),
                  QUrl::fromLocalFile("/loops/two.aif")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fWindow.data(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(fWindow.data(), &drop);
    EXPECT_EQ(fApplication.fOpened, (std::vector<std::string>{"/loops/one.wav", "/loops/two.aif"}));
}

TEST(KeyTranslation, KeypadKeysAreTheSameInBothNumLockStates) {
    struct SRow {
        int fKey;
        Qt::KeyboardModifiers fModifiers;
        EKeyCode fCode;
        char32_t fCharacter;
        bool fKeypad;
    };
    const SRow rows[] = {
        {Qt::Key_0, Qt::KeypadModifier, EKeyCode::kCharacter, U'0', true},
        {Qt::Key_Insert, Qt::KeypadModifier, EKeyCode::kCharacter, U'0', true},
        {Qt::Key_End, Qt::KeypadModifier, EKeyCode::kCharacter, U'1', true},
        {Qt::Key_Down, Qt::KeypadModifier, EKeyCode::kCharacter, U'2', true},
        {Qt::Key_Left, Qt::KeypadModifier, EKeyCode::kCharacter, U'4', true},
        {Qt::Key_Right, Qt::KeypadModifier, EKeyCode::kCharacter, U'6', true},
        {Qt::Key_Home, Qt::KeypadModifier, EKeyCode::kCharacter, U'7', true},
        {Qt::Key_Up, Qt::KeypadModifier, EKeyCode::kCharacter, U'8', true},
        {Qt::Key_PageUp, Qt::KeypadModifier, EKeyCode::kCharacter, U'9', true},
        {Qt::Key_Enter, Qt::KeypadModifier, EKeyCode::kEnter, 0, true},
        {Qt::Key_0, Qt::NoModifier, EKeyCode::kCharacter, U'0', false},
        {Qt::Key_Left, Qt::NoModifier, EKeyCode::kLeft, 0, false},
        {Qt::Key_Up, Qt::NoModifier, EKeyCode::kUp, 0, false},
        {Qt::Key_Q, Qt::NoModifier, EKeyCode::kCharacter, U'Q', false},
    };
    for (const SRow& row : rows) {
        const QKeyEvent event(QEvent::KeyPress, row.fKey, row.fModifiers);
        const std::optional<SPlainKey> key = TranslateKey(event);
        ASSERT_TRUE(key.has_value()) << row.fKey;
        EXPECT_EQ(key->fCode, row.fCode) << row.fKey;
        EXPECT_EQ(key->fCharacter, row.fCharacter) << row.fKey;
        EXPECT_EQ(key->fKeypad, row.fKeypad) << row.fKey;
    }
    const QKeyEvent control(QEvent::KeyPress, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(TranslateKey(control)->fModifiers, kModifier_Magnify | kModifier_Extend);
    EXPECT_FALSE(TranslateKey(QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier)).has_value());
}

// A change that cannot be undone.
class CUnundoableChange final : public NSUndoPackage::CABCChange {
public:
    void Do() override {}
    void Undo() override { throw NSMishap::XStdRuntimeError("cannot undo"); }
};

TEST_F(QuilletWindowTest, AFailedUndoShowsItsAlert) {
    Open(DemoDocument());
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CUnundoableChange>());
    fDocument->CommitTransaction(transaction, "Change Pitch", "");
    fDocument->CloseUndoStep();
    CScriptedAlertPresenter alerts;
    fWindow->DoCommand(kUndo);
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fBody, "Quillet was unable to complete the Undo/Redo operation.");
    EXPECT_TRUE(fDocument->CanUndo());
}

TEST_F(QuilletWindowTest, CopyLoopAndTheApplicationCommands) {
    Open(DemoDocument());
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(fWindow->FindAction(kCopy)->text(), "&Copy Loop");
    // The loop has no length: Copy Loop asks for one first, and copies after the answer.
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CNoLengthSpecifiedDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        asked = true;
        QTest::keyClicks(dialog->GetBarsField(), "2");
        dialog->GetOKButton()->click();
    });
    fWindow->FindAction(kCopy)->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(fDocument->GetDocumentParameters().fLoop.GetBars(), 2);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->hasFormat(kMimeType_Wave));
    EXPECT_TRUE(copied->hasFormat(kMimeType_Loop));
    fWindow->FindAction(kPreferences)->trigger();
    fWindow->FindAction(kAbout)->trigger();
    fWindow->FindAction(kOpen)->trigger();
    EXPECT_EQ(fApplication.fCommands, (std::vector<int32_t>{kPreferences, kAbout, kOpen}));
    // Edit > Paste is never enabled and never reaches the application.
    fWindow->DoCommand(kPaste);
    EXPECT_EQ(fApplication.fCommands.size(), 3u);
}

TEST_F(QuilletWindowTest, TheSliceMenusLockCommandLocksTheSelectedSlicesThroughTheWindow) {
    Open(DemoDocument());
    QApplication::processEvents();
    CWaveformDisplayGroupView& waveform = fWindow->GetWaveformView();
    ASSERT_TRUE(waveform.isVisible());
    CSliceEditing(*fDocument).SelectSlice(1, false);
    CSliceEditing(*fDocument).SelectSlice(2, true);
    fDocument->CloseUndoStep();
    std::vector<SWaveformMenuItem> offered;
    waveform.SetMenuRunner([&](const std::vector<SWaveformMenuItem>& items, const QPoint&) {
        offered = items;
        return NSCommandIds::kLockSlices;
    });
    CWaveformDetailView& detail = waveform.GetDetailView();
    const CWaveformDetailViewLogic& logic = detail.GetLogic();
    const SViewRect marker = logic.GetSliceMarkerRect(1);
    const QPointF at(logic.GetGeometry().FrameToX(logic.GetSlices()[1].fPosition), marker.fTop + marker.fHeight / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, detail.mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&detail, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, detail.mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&detail, &release);
    ASSERT_FALSE(offered.empty());
    EXPECT_EQ(offered.front(), (SWaveformMenuItem{NSCommandIds::kLockSlices, "Lock Slices"}));
    const CSliceSequence& slices = fDocument->GetSliceSequence();
    EXPECT_EQ(slices.GetSlice(1)->GetKind(), ESliceKind::kLocked);
    EXPECT_EQ(slices.GetSlice(2)->GetKind(), ESliceKind::kLocked);
    EXPECT_NE(slices.GetSlice(3)->GetKind(), ESliceKind::kLocked);
    EXPECT_EQ(fWindow->FindAction(kUndo)->text(), "Undo Lock Slices");
}

TEST_F(QuilletWindowTest, TheZoomKeysReachTheWaveform) {
    Open(DemoDocument());
    QApplication::processEvents();
    const CWaveformDetailViewLogic& logic = fWindow->GetWaveformView().GetDetailView().GetLogic();
    const int32_t frames = fDocument->GetWaveSample().GetFrameCount();
    ASSERT_EQ(logic.GetVisibleRange(), (SVisibleRange{0, frames}));
    struct SRow {
        int fKey;
        Qt::KeyboardModifiers fModifiers;
        bool fNarrower;
    };
    for (const SRow& row : {SRow{Qt::Key_Plus, Qt::ControlModifier, true}, SRow{Qt::Key_Minus, Qt::ControlModifier, false},
                            SRow{Qt::Key_Equal, Qt::ControlModifier, true},
                            SRow{Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, false},
                            SRow{Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, true}}) {
        SCOPED_TRACE(row.fKey);
        const int32_t width = logic.GetVisibleRange().Width();
        QTest::keyClick(fWindow.data(), Qt::Key(row.fKey), row.fModifiers);
        if (row.fNarrower) EXPECT_LT(logic.GetVisibleRange().Width(), width);
        else EXPECT_GT(logic.GetVisibleRange().Width(), width);
    }
    fWindow->DoCommand(kMagnifyToFit);
    EXPECT_EQ(logic.GetVisibleRange(), (SVisibleRange{0, frames}));
}

}  // namespace
}  // namespace NSQuillet
