#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "app/opening/ShownFileInfo.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "app/resources/MenuIds.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/MutedSilenceLoopDocument.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/ui/FakeWindowApplication.h"
#include "tests/ui/ModalDriver.h"
#include "ui/dialogs/AlertDialogPresenter.h"
#include "ui/dialogs/ConvertSampleFormatDialog.h"
#include "ui/dialogs/ConvertToMonoDialog.h"
#include "ui/dialogs/ExportSettingsDialog.h"
#include "ui/dialogs/LoopInformationDialog.h"
#include "ui/dialogs/NoLengthSpecifiedDialog.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/toolbars/WinTopToolBar.h"
#include "ui/window/QuilletWindow.h"

namespace NSQuillet {
namespace {

using namespace NSCommandIds;
using NSQuilletTest::CModalScript;
using NSQuilletTest::WhenModalShows;
using FModalAction = std::function<void(QWidget*)>;

// A window over the document with the application's preferences installed.
class WindowDialogs : public ::testing::Test {
protected:
    WindowDialogs() { SetPreferences(&fPreferences); }
    ~WindowDialogs() override {
        delete fWindow.data();
        SetPreferences(nullptr);
    }

    void Open(std::shared_ptr<CQuilletDocument> document) {
        fDocument = document;
        fWindow = new CQuilletWindow(fApplication, std::move(document));
        fApplication.fWindows = {fWindow.data()};
        fWindow->show();
    }
    // 44100 frames of 16-bit stereo at 44100 Hz with the five slices of every kind, saved, so
    // that it starts unmodified.
    void OpenSavedLoop() {
        auto document = NSQuilletTest::MakeLoopDocument(16, 2, 44100);
        NSQuilletTest::SaveAs(*document, fFolder.PathOf("loop.lx2"));
        Open(std::move(document));
    }
    uint32_t Position() const { return fDocument->GetUndoHistory().GetPosition(); }
    size_t Steps() const { return fDocument->GetUndoHistory().GetStepCount(); }

    CPreferences fPreferences;
    NSQuilletTest::CFakeApplication fApplication;
    std::shared_ptr<CQuilletDocument> fDocument;
    QPointer<CQuilletWindow> fWindow;
    NSQuilletTest::CTemporaryFolder fFolder;
};

template <typename TDialog>
TDialog& As(QWidget* modal) {
    auto* dialog = qobject_cast<TDialog*>(modal);
    if (!dialog) throw std::logic_error("another modal widget than expected");
    return *dialog;
}

void Choose(QComboBox& popup, const QVariant& value) { popup.setCurrentIndex(popup.findData(value)); }

TEST_F(WindowDialogs, ConvertSampleFormatCancelChangesNothingAndOKIsOneStepStoredAsTheNextChoice) {
    OpenSavedLoop();
    fPreferences.SetConvertSampleFormatRate(22050);
    fPreferences.SetConvertSampleFormatBitDepth(24);
    const uint32_t position = Position();
    const size_t steps = Steps();

    // The sample's own format is proposed, not the one stored; Cancel after a change of both.
    WhenModalShows([](QWidget* modal) {
        auto& dialog = As<CConvertSampleFormatDialog>(modal);
        EXPECT_EQ(dialog.GetFormat(), (SSampleFormat{44100, 16}));
        Choose(*dialog.GetSampleRatePopup(), 48000u);
        Choose(*dialog.GetBitDepthPopup(), 24);
        QTest::mouseClick(dialog.GetCancelButton(), Qt::LeftButton);
    });
    fWindow->DoCommand(kConvertSampleFormat);
    EXPECT_EQ(Position(), position);
    EXPECT_EQ(Steps(), steps);
    EXPECT_FALSE(fDocument->IsModified());
    EXPECT_EQ(fDocument->GetWaveSample().GetSampleRate(), 44100u);
    EXPECT_EQ(fPreferences.GetConvertSampleFormatRate(), 22050u);
    EXPECT_EQ(fPreferences.GetConvertSampleFormatBitDepth(), 24u);

    WhenModalShows([](QWidget* modal) {
        auto& dialog = As<CConvertSampleFormatDialog>(modal);
        Choose(*dialog.GetSampleRatePopup(), 48000u);
        Choose(*dialog.GetBitDepthPopup(), 24);
        QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
    });
    fWindow->DoCommand(kConvertSampleFormat);
    EXPECT_EQ(Position(), position + 1);
    EXPECT_EQ(fDocument->GetUndoName(), "Convert Sample Format");
    EXPECT_EQ(fDocument->GetWaveSample().GetSampleRate(), 48000u);
    EXPECT_EQ(fDocument->GetWaveSample().GetBitDepth(), 24);
    EXPECT_TRUE(fDocument->IsModified());
    EXPECT_EQ(fPreferences.GetConvertSampleFormatRate(), 48000u);
    EXPECT_EQ(fPreferences.GetConvertSampleFormatBitDepth(), 24u);
}

TEST_F(WindowDialogs, ConvertToMonoStartsAtTheStoredChoiceAndStoresTheNewOneOnlyOnOK) {
    OpenSavedLoop();
    fPreferences.SetConvertToMonoSelection(EMonoChoice::kRight);
    const uint32_t position = Position();

    WhenModalShows([](QWidget* modal) {
        auto& dialog = As<CConvertToMonoDialog>(modal);
        EXPECT_TRUE(dialog.GetChoiceButton(EMonoChoice::kRight)->isChecked());
        QRadioButton* left = dialog.GetChoiceButton(EMonoChoice::kLeft);
        QTest::mouseClick(left, Qt::LeftButton, {}, QPoint(left->iconSize().width() / 2 + 2, left->height() / 2));
        QTest::mouseClick(dialog.GetCancelButton(), Qt::LeftButton);
    });
    fWindow->DoCommand(kConvertToMono);
    EXPECT_TRUE(fDocument->GetWaveSample().IsStereo());
    EXPECT_EQ(Position(), position);
    EXPECT_FALSE(fDocument->IsModified());
    EXPECT_EQ(fPreferences.GetConvertToMonoSelection(), EMonoChoice::kRight);

    WhenModalShows([](QWidget* modal) {
        auto& dialog = As<CConvertToMonoDialog>(modal);
        QRadioButton* left = dialog.GetChoiceButton(EMonoChoice::kLeft);
        QTest::mouseClick(left, Qt::LeftButton, {}, QPoint(left->iconSize().width() / 2 + 2, left->height() / 2));
        QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
    });
    fWindow->DoCommand(kConvertToMono);
    EXPECT_FALSE(fDocument->GetWaveSample().IsStereo());
    EXPECT_EQ(Position(), position + 1);
    EXPECT_EQ(fDocument->GetUndoName(), "Convert to Mono");
    EXPECT_EQ(fPreferences.GetConvertToMonoSelection(), EMonoChoice::kLeft);
}

// The five slices over 44100 frames: 0, 17647, 26461 and 44099 are active, 8820 is muted.
TEST_F(WindowDialogs, GetInfoShowsTheLoopAndChangesNothing) {
    OpenSavedLoop();
    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    fDocument->PerformParametersChange(parameters, "Change Loop Length");
    fDocument->CloseUndoStep();
    const uint32_t position = Position();
    std::vector<std::string> lines;
    WhenModalShows([&](QWidget* modal) {
        auto& dialog = As<CLoopInformationDialog>(modal);
        lines = {dialog.windowTitle().toStdString(), dialog.GetTitleLine()->text().toStdString(),
                 dialog.GetSampleFormatLine()->text().toStdString(), dialog.GetLoopLengthLine()->text().toStdString()};
        QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
    });
    fWindow->DoCommand(kGetInfo);
    // 44100 frames at 44100 Hz: 1.00 s.
    EXPECT_EQ(lines, (std::vector<std::string>{"Loop Information", "Information for loop.lx2",
                                               "Sample format: Stereo, 44100 Hz, 16-bit",
                                               "Loop length: 1 Bars, 1.00 s / 4 slices"}));
    EXPECT_EQ(Position(), position);
}

// A name longer than the dialog is wide wraps, every word of it shown.
TEST_F(WindowDialogs, GetInfoWrapsALongName) {
    const std::string name = "Breakbeat from the second take of the Saturday session, slowed down, with the snare "
                             "doubled and the hats pushed forward a little.lx2";
    auto document = NSQuilletTest::MakeLoopDocument(16, 2, 44100);
    NSQuilletTest::SaveAs(*document, fFolder.PathOf(name));
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    document->PerformParametersChange(parameters, "Change Loop Length");
    CLoopInformationDialog dialog(*document);
    dialog.show();
    QApplication::processEvents();
    QLabel& title = *dialog.GetTitleLine();
    EXPECT_EQ(title.text().toStdString(), "Information for " + name);
    const QRect needed = QFontMetrics(title.font())
                             .boundingRect(QRect(0, 0, title.contentsRect().width(), 100000), Qt::TextWordWrap,
                                           title.text());
    EXPECT_GT(needed.height(), QFontMetrics(title.font()).height());
    EXPECT_LE(needed.height(), title.contentsRect().height());
    EXPECT_LE(title.geometry().right(), dialog.contentsRect().right());
}

// Beats need a loop length: the top toolbar's units popup asks with the length dialog.
TEST_F(WindowDialogs, TheBeatsRulerOfALoopWithoutLengthAsksForItWithTheLengthDialog) {
    Open(NSQuilletTest::MakeDemoLoopDocument(0));
    QApplication::processEvents();
    ASSERT_NE(fWindow->GetToolbar(), nullptr);
    QComboBox& units = fWindow->GetToolbar()->GetTopToolBar().GetRulerUnitsPopup();
    units.setFocus();
    // Time, Samples, Beats: two steps down choose Beats, the first answered Cancel.
    {
        NSQuilletTest::CModalScript script({[](QWidget* modal) {
            QTest::mouseClick(As<CNoLengthSpecifiedDialog>(modal).GetCancelButton(), Qt::LeftButton);
        }});
        QTest::keyClick(&units, Qt::Key_Down);
        QTest::keyClick(&units, Qt::Key_Down);
        EXPECT_EQ(script.GetActionsLeft(), 0u);
    }
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fHorizontalRulerUnits, kRulerUnits_Samples);
    EXPECT_EQ(units.currentIndex(), 1);
    EXPECT_EQ(fDocument->GetDocumentParameters().fLoop.GetBars(), 0);
    {
        NSQuilletTest::CModalScript script({[](QWidget* modal) {
            auto& dialog = As<CNoLengthSpecifiedDialog>(modal);
            QTest::keyClicks(dialog.GetBarsField(), "3");
            QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
        }});
        QTest::keyClick(&units, Qt::Key_Down);
        EXPECT_EQ(script.GetActionsLeft(), 0u);
    }
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fHorizontalRulerUnits, kRulerUnits_Beats);
    EXPECT_EQ(fDocument->GetDocumentParameters().fLoop.GetBars(), 3);
}

struct SAskedTarget {
    std::string fFolder;
    std::string fName;
    EExportFormat fFormat;
};

// The export of the demo loop's slices as WAVE files into the test's folder, the save dialog
// answered by a script and everything after it by the editor's own dialogs.
class WindowExport : public WindowDialogs {
protected:
    WindowExport() : fAlerts(GetAlertPresenter()) {
        SetAlertPresenter(&fPresenter);
        fApplication.fRecentFolder = fFolder.Path();
        OpenForExport(NSQuilletTest::MakeDemoLoopDocument(2));
    }
    // A window over `document` whose save dialog answers fTarget.
    void OpenForExport(std::shared_ptr<CQuilletDocument> document) {
        delete fWindow.data();
        Open(std::move(document));
        fWindow->SetAskExportTarget([this](QWidget*, const std::string& folder, const std::string& name,
                                           EExportFormat format) -> std::optional<SExportTarget> {
            fAsked.push_back({folder, name, format});
            return fTarget;
        });
    }
    ~WindowExport() override { SetAlertPresenter(fAlerts); }

    // Runs Export with `actions` answering its dialogs; an unexpected one is closed and fails.
    void Export(std::deque<FModalAction> actions) {
        const size_t expected = actions.size();
        actions.push_back([](QWidget* modal) {
            ADD_FAILURE() << "unexpected " << modal->metaObject()->className() << " "
                          << modal->windowTitle().toStdString();
            modal->close();
        });
        CModalScript script(std::move(actions));
        fWindow->DoCommand(kExport);
        EXPECT_EQ(script.GetActionsLeft(), 1u) << expected << " dialogs expected";
    }
    // What the file of slice `number` (from 1) holds.
    SShownFileInfo Slice(int number) const {
        char name[32];
        std::snprintf(name, sizeof name, "Funk %03d.wav", number);
        return ReadShownFileInfo(fFolder.PathOf(name));
    }

    IAlertPresenter* fAlerts;
    CAlertDialogPresenter fPresenter;
    std::vector<SAskedTarget> fAsked;
    SExportTarget fTarget{fFolder.PathOf("Funk.wav"), EExportFormat::kWave};
};

FModalAction AnswerSettings(uint32_t rate, int32_t depth, bool midi, SExportSettings* shown = nullptr) {
    return [=](QWidget* modal) {
        auto& dialog = As<CExportSettingsDialog>(modal);
        if (shown) *shown = dialog.GetSettings();
        Choose(*dialog.GetSampleRatePopup(), rate);
        Choose(*dialog.GetBitDepthPopup(), depth);
        dialog.GetMIDIFileCheckBox()->setChecked(midi);
        QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
    };
}

// Clicks `button` of the alert box shown, keeping its texts in `question`.
FModalAction AnswerAlert(const QString& button, QString* question) {
    return [=](QWidget* modal) {
        auto& box = As<QMessageBox>(modal);
        *question = box.text() + " " + box.informativeText();
        for (QAbstractButton* each : box.buttons()) {
            if (each->text().remove('&') == button) {
                each->click();
                return;
            }
        }
        ADD_FAILURE() << "no button " << button.toStdString();
        box.close();
    };
}

TEST_F(WindowExport, WritesTheSlicesAndAsksBeforeReplacingThemOnTheNextRun) {
    const int32_t slices = fDocument->GetExportSliceCount();
    ASSERT_GT(slices, 1);
    const uint32_t position = Position();

    // First run: the preferences' defaults propose MIDI and 44100 Hz, 16-bit, no MIDI file.
    SExportSettings shown;
    Export({AnswerSettings(48000, 24, true, &shown)});
    ASSERT_EQ(fAsked.size(), 1u);
    EXPECT_EQ(fAsked[0].fFolder, fFolder.Path());
    EXPECT_EQ(fAsked[0].fName, "Untitled.mid");
    EXPECT_EQ(fAsked[0].fFormat, EExportFormat::kMIDI);
    EXPECT_EQ(shown.fSampleRate, 44100u);
    EXPECT_EQ(shown.fBitDepth, 16);
    EXPECT_FALSE(shown.fExportMIDIWithSameName);
    for (int number = 1; number <= slices; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(Slice(number).fFile.fSampleRate, 48000);
        EXPECT_EQ(Slice(number).fFile.fBitDepth, 24);
    }
    EXPECT_EQ(Slice(slices + 1).fReason, NSPreviewReason::kNotFound);
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Funk.mid")));
    EXPECT_EQ(fPreferences.GetLastExportExtension(), ".wav");
    EXPECT_EQ(fPreferences.GetExportSampleRate(), 48000u);
    EXPECT_EQ(fPreferences.GetExportBitDepth(), 24u);
    EXPECT_TRUE(fPreferences.GetExportFlag());
    EXPECT_EQ(Position(), position);

    // Second run: WAVE and the last settings proposed; the first file asks, Replace All answers
    // for every slice and the MIDI file.
    QString question;
    Export({AnswerSettings(44100, 16, true, &shown), AnswerAlert("Replace All", &question)});
    ASSERT_EQ(fAsked.size(), 2u);
    EXPECT_EQ(fAsked[1].fName, "Untitled.wav");
    EXPECT_EQ(fAsked[1].fFormat, EExportFormat::kWave);
    EXPECT_EQ(shown.fSampleRate, 48000u);
    EXPECT_EQ(shown.fBitDepth, 24);
    EXPECT_TRUE(shown.fExportMIDIWithSameName);
    EXPECT_TRUE(question.contains("The file already exists!")) << question.toStdString();
    EXPECT_TRUE(question.contains("“Funk 001.wav”")) << question.toStdString();
    for (int number = 1; number <= slices; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(Slice(number).fFile.fSampleRate, 44100);
        EXPECT_EQ(Slice(number).fFile.fBitDepth, 16);
    }
    EXPECT_EQ(fPreferences.GetExportSampleRate(), 44100u);

    // Third run: Cancel at the question keeps the files and the preferences as they were.
    Export({AnswerSettings(22050, 24, false), AnswerAlert("Cancel", &question)});
    EXPECT_EQ(Slice(1).fFile.fSampleRate, 44100);
    EXPECT_EQ(fPreferences.GetExportSampleRate(), 44100u);
    EXPECT_EQ(fPreferences.GetExportBitDepth(), 16u);
    EXPECT_TRUE(fPreferences.GetExportFlag());
}

TEST_F(WindowExport, CancelledSettingsWriteNothingAndKeepThePreferences) {
    Export({[](QWidget* modal) {
        QTest::mouseClick(As<CExportSettingsDialog>(modal).GetCancelButton(), Qt::LeftButton);
    }});
    EXPECT_EQ(fAsked.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(fFolder.Path()));
    EXPECT_EQ(fPreferences.GetLastExportExtension(), ".mid");
    EXPECT_EQ(fPreferences.GetExportSampleRate(), 44100u);
}

TEST_F(WindowExport, ALoopWithoutLengthAsksForItWithTheLengthDialogFirst) {
    OpenForExport(NSQuilletTest::MakeDemoLoopDocument(0));
    const uint32_t position = Position();
    // Cancelled: the export ends there.
    Export({[](QWidget* modal) {
        QTest::mouseClick(As<CNoLengthSpecifiedDialog>(modal).GetCancelButton(), Qt::LeftButton);
    }});
    EXPECT_TRUE(fAsked.empty());
    EXPECT_EQ(Position(), position);

    Export({[](QWidget* modal) {
                auto& dialog = As<CNoLengthSpecifiedDialog>(modal);
                QTest::keyClicks(dialog.GetBarsField(), "2");
                QTest::mouseClick(dialog.GetOKButton(), Qt::LeftButton);
            },
            [](QWidget* modal) {
                QTest::mouseClick(As<CExportSettingsDialog>(modal).GetCancelButton(), Qt::LeftButton);
            }});
    EXPECT_EQ(fAsked.size(), 1u);
    EXPECT_EQ(fDocument->GetDocumentParameters().fLoop.GetBars(), 2);
    EXPECT_EQ(Position(), position + 1);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Loop Length");
}

// 100 locked slices of sound over a second: a MIDI file takes 92 of them from key 36 up to 127.
TEST_F(WindowExport, TooManySlicesForTheFormatAskFirstAndOKExportsTheFirstOnes) {
    constexpr int32_t kFrames = 44100;
    auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, false);
    for (int32_t i = 0; i < kFrames; ++i) sample->Set16(i, int16_t((i * 37) % 20000 - 10000), 1);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    for (int32_t i = 0; i < 100; ++i) slices->InsertSlice(CSlice(i * kFrames / 100, 20000, ESliceKind::kLocked));
    slices->UpdateSliceLengths();
    OpenForExport(
        std::make_shared<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices)));
    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    fDocument->PerformParametersChange(parameters, "Change Loop Length");
    fDocument->CloseUndoStep();
    ASSERT_EQ(fDocument->GetExportSliceCount(), 100);
    fTarget = SExportTarget{fFolder.PathOf("Funk.mid"), EExportFormat::kMIDI};
    fPreferences.SetLastExportExtension(".wav");

    QString question;
    Export({AnswerAlert("Cancel", &question)});
    EXPECT_TRUE(question.contains("Too many slices!")) << question.toStdString();
    EXPECT_TRUE(
        question.contains("You’ve got 100 slices, but a file of this type can only use 92. Would you like to use "
                          "the first 92 slices?"))
        << question.toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(fFolder.Path()));
    EXPECT_EQ(fPreferences.GetLastExportExtension(), ".wav");

    // MIDI has no settings to ask for: written right after the question.
    Export({AnswerAlert("OK", &question)});
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("Funk.mid")));
    EXPECT_EQ(fPreferences.GetLastExportExtension(), ".mid");
}

// Between the locators everything is silent and muted, so the gated loop plays nothing there.
TEST_F(WindowExport, ALoopOfMutedSilenceHasNothingToExport) {
    OpenForExport(NSQuilletTest::MakeMutedSilenceLoopDocument());
    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    parameters.fLeftLocator = 11025;
    parameters.fRightLocator = 33075;
    fDocument->PerformParametersChange(parameters, "Set Loop");
    fDocument->CloseUndoStep();
    ASSERT_EQ(fDocument->GetExportSliceCount(), 0);
    CScriptedAlertPresenter alerts;
    Export({});
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fHeading, "Nothing to export!");
    EXPECT_TRUE(fAsked.empty());
}

}  // namespace
}  // namespace NSQuillet
