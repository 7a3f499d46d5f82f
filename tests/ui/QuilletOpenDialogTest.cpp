#include "ui/dialogs/QuilletOpenDialog.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "engine/AudioOutputState.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/RiffBytes.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/ui/ModalDriver.h"
#include "ui/application/QuilletApplicationShell.h"

namespace NSQuillet {
namespace {

using namespace NSQuilletTest;
using EField = CQuilletOpenPreviewPane::EField;

class CWorkingOutput final : public IAudioOutputState {
public:
    uint32_t GetOutputRate() const override { return 44100; }
    bool IsOutputRunning() const override { return false; }
    bool IsOutputWorking() const override { return true; }
};

// A PCM WAVE file of silent frames: 44 header bytes and the data.
std::string WaveBytes(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
    using namespace NSRiffBytes;
    const uint16_t block = uint16_t(channels * bits / 8);
    const Bytes fmt = U16(1) + U16(channels) + U32(rate) + U32(rate * block) + U16(block) + U16(bits);
    const Bytes body = Id("WAVE") + Chunk("fmt ", fmt) + Chunk("data", Zeros(size_t(frames) * block));
    const Bytes riff = Id("RIFF") + U32(uint32_t(body.size())) + body;
    return std::string(riff.begin(), riff.end());
}

QString Q(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The files of the tests, and a dialog over their folder previewing through a player of its own.
struct SOpenDialogFixture {
    SOpenDialogFixture() {
        fDemo = MakeDemoLoopDocument(2);
        fDemoPath = fFolder.PathOf("demo.lx2");
        SaveAs(*fDemo, fDemoPath);
        fSecondLoopPath = fFolder.PathOf("second.lx2");
        SaveAs(*MakeDemoLoopDocument(1), fSecondLoopPath);
        fMonoPath = fFolder.Make("mono24.wav", WaveBytes(1, 48000, 24, 48000));
        fDeepPath = fFolder.Make("deep.wav", WaveBytes(2, 44100, 32, 100));
        fDialog = std::make_unique<CQuilletOpenDialog>(Q(fFolder.Path()), &fPlayer);
        fDialog->show();
    }
    ~SOpenDialogFixture() {
        fDialog.reset();
        fPlayer.Stop();
    }

    CQuilletOpenPreviewPane& Pane() { return *fDialog->GetPreviewPane(); }
    QString Field(EField field) { return Pane().GetValueField(field)->text(); }
    // Clicks `path` in the dialog's list once the list shows it, as a user selects a file, and
    // waits for the pane to take it.
    bool Select(const std::string& path) {
        // The list or the detail view, whichever shows; they share one selection.
        auto* list = fDialog->findChild<QAbstractItemView*>("listView");
        if (auto* details = fDialog->findChild<QAbstractItemView*>("treeView"); details->isVisible()) list = details;
        const QString name = QFileInfo(Q(path)).fileName();
        QModelIndex index;
        const bool listed = QTest::qWaitFor([&] {
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(list->rootIndex()); ++row) {
                const QModelIndex at = model->index(row, 0, list->rootIndex());
                if (at.data().toString() == name) index = at;
            }
            return index.isValid();
        }, 5000);
        if (!listed) return false;
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(index).center());
        return QTest::qWaitFor([&] { return Pane().GetShownPath() == Q(path); }, 5000);
    }
    bool WaitForInformation() {
        return QTest::qWaitFor([&] { return Pane().GetPlayButton()->isEnabled() || !Message().isEmpty(); }, 5000);
    }
    // "line 1|line 2", "" without a message.
    QString Message() {
        const QString first = Pane().GetMessageLine(0)->text();
        const QString second = Pane().GetMessageLine(1)->text();
        return first.isEmpty() && second.isEmpty() ? QString() : first + "|" + second;
    }
    void SetAutoPlay(bool on) {
        if (Pane().GetAutoPlayCheckBox()->isChecked() != on) Pane().GetAutoPlayCheckBox()->click();
    }

    CTemporaryFolder fFolder;
    std::unique_ptr<CQuilletDocument> fDemo;
    std::string fDemoPath, fSecondLoopPath, fMonoPath, fDeepPath;
    CWorkingOutput fOutput;
    CWavePlayer fPlayer{fOutput};
    std::unique_ptr<CQuilletOpenDialog> fDialog;
};

TEST(QuilletOpenDialog, ShowsTheFileTypesInItsFolderWithThePaneBesideTheList) {
    SOpenDialogFixture fixture;
    CQuilletOpenDialog& dialog = *fixture.fDialog;
    EXPECT_EQ(dialog.windowTitle(), "Open Audio File");
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(Q(fixture.fFolder.Path())).canonicalPath());
    ASSERT_FALSE(dialog.nameFilters().isEmpty());
    EXPECT_TRUE(dialog.nameFilters().front().startsWith("Sound and loop files"));
    // Beside the list: to its right, overlapping it vertically.
    auto* list = dialog.findChild<QWidget*>("listView");
    ASSERT_NE(list, nullptr);
    if (auto* details = dialog.findChild<QWidget*>("treeView"); details->isVisible()) list = details;
    ASSERT_TRUE(list->isVisible());
    const QRect listArea(list->mapTo(&dialog, QPoint()), list->size());
    const QRect paneArea(fixture.Pane().mapTo(&dialog, QPoint()), fixture.Pane().size());
    EXPECT_GE(paneArea.left(), listArea.right());
    EXPECT_TRUE(paneArea.top() < listArea.bottom() && listArea.top() < paneArea.bottom());
    // Nothing selected: every value field is "n/a", Play and Stop off.
    for (int field = 0; field < CQuilletOpenPreviewPane::kFieldCount; ++field)
        EXPECT_EQ(fixture.Field(EField(field)), "n/a") << field;
    EXPECT_FALSE(fixture.Pane().GetPlayButton()->isEnabled());
    EXPECT_FALSE(fixture.Pane().GetStopButton()->isEnabled());
}

TEST(QuilletOpenDialog, ThePaneShowsTheSelectedFilesValues) {
    SOpenDialogFixture fixture;
    fixture.SetAutoPlay(false);
    const CSliceSequence& slices = fixture.fDemo->GetSliceSequence();
    int32_t active = 0;
    for (const CSlice& slice : slices.GetSlices()) active += slices.IsSliceActive(slice);
    const QString demoSize = QString::fromStdString(FormatByteSizeText(QFileInfo(Q(fixture.fDemoPath)).size()));
    const QString demoExport = QString::fromStdString(FormatByteSizeText(fixture.fDemo->GetExportSize() * 2));
    struct SRow {
        std::string fPath;
        std::array<QString, CQuilletOpenPreviewPane::kFieldCount> fTexts;
    };
    const SRow rows[] = {
        // Two bars of 4/4 over 176400 frames at 44100 Hz (4 s): 120 BPM; the loop is the whole sound.
        {fixture.fDemoPath,
         {"LUX2 File", "Stereo", "4.00 s", "16-bit", "44100 Hz", demoSize, "120.0 BPM", "4/4", "2 Bars", "100 %",
          QString::number(active), demoExport}},
        // 44 + 48000 × 3 bytes = 140.67 kB; a sound file has no loop.
        {fixture.fMonoPath,
         {"Wave File", "Mono", "1.00 s", "24-bit", "48000 Hz", "140.7 kB", "n/a", "n/a", "n/a", "n/a", "n/a", "n/a"}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fPath);
        ASSERT_TRUE(fixture.Select(row.fPath));
        ASSERT_TRUE(fixture.WaitForInformation());
        for (int field = 0; field < CQuilletOpenPreviewPane::kFieldCount; ++field)
            EXPECT_EQ(fixture.Field(EField(field)), row.fTexts[size_t(field)]) << "field " << field;
        EXPECT_EQ(fixture.Message(), "");
        EXPECT_TRUE(fixture.Pane().GetPlayButton()->isEnabled());
    }
}

TEST(QuilletOpenDialog, AutoPlayPlaysEachNewlySelectedFileAndStopsThePreviousOne) {
    SOpenDialogFixture fixture;
    CQuilletOpenPreviewPane& pane = fixture.Pane();
    fixture.SetAutoPlay(true);
    ASSERT_TRUE(fixture.Select(fixture.fDemoPath));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.fPlayer.GetMode() == CWavePlayer::kPlayingLoopObject; }, 5000));
    EXPECT_TRUE(pane.IsPreviewPlaying());
    EXPECT_TRUE(pane.GetStopButton()->isEnabled());

    // Another selection stops the first at once, before the next one is even read (Select
    // returns without running the event loop once the click has reached the pane).
    ASSERT_TRUE(fixture.Select(fixture.fMonoPath));
    EXPECT_FALSE(fixture.fPlayer.IsPlaying());
    EXPECT_EQ(fixture.Field(EField::kType), "n/a");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.fPlayer.GetMode() == CWavePlayer::kPlayingSample; }, 5000));

    // A file that cannot be previewed says why and plays nothing.
    ASSERT_TRUE(fixture.Select(fixture.fDeepPath));
    ASSERT_TRUE(fixture.WaitForInformation());
    EXPECT_EQ(fixture.Message(), "Unsupported|bit depth");
    EXPECT_FALSE(fixture.fPlayer.IsPlaying());
    EXPECT_FALSE(pane.GetPlayButton()->isEnabled());
    EXPECT_EQ(fixture.Field(EField::kBits), "32-bit");

    // Back to a loop, then the dialog closes: its preview stops.
    ASSERT_TRUE(fixture.Select(fixture.fSecondLoopPath));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.fPlayer.GetMode() == CWavePlayer::kPlayingLoopObject; }, 5000));
    fixture.fDialog->reject();
    EXPECT_FALSE(fixture.fPlayer.IsPlaying());
}

TEST(QuilletOpenDialog, PlayAndStopWithoutAutoPlay) {
    SOpenDialogFixture fixture;
    CQuilletOpenPreviewPane& pane = fixture.Pane();
    fixture.SetAutoPlay(false);
    ASSERT_TRUE(fixture.Select(fixture.fDemoPath));
    ASSERT_TRUE(fixture.WaitForInformation());
    QTest::qWait(50);
    EXPECT_FALSE(fixture.fPlayer.IsPlaying());
    QSignalSpy started(&pane, &CQuilletOpenPreviewPane::previewStarted);
    QTest::mouseClick(pane.GetPlayButton(), Qt::LeftButton);
    ASSERT_TRUE(started.wait(5000));
    EXPECT_EQ(fixture.fPlayer.GetMode(), CWavePlayer::kPlayingLoopObject);
    QTest::mouseClick(pane.GetStopButton(), Qt::LeftButton);
    EXPECT_FALSE(fixture.fPlayer.IsPlaying());
    EXPECT_FALSE(pane.GetStopButton()->isEnabled());
    // Play again plays the preview already read.
    QTest::mouseClick(pane.GetPlayButton(), Qt::LeftButton);
    EXPECT_EQ(fixture.fPlayer.GetMode(), CWavePlayer::kPlayingLoopObject);
}

TEST(QuilletOpenDialog, AutoPlayIsThePreference) {
    CPreferences preferences;
    SetPreferences(&preferences);
    for (const bool on : {false, true}) {
        preferences.SetAutoPlay(on);
        CWorkingOutput output;
        CWavePlayer player(output);
        CQuilletOpenPreviewPane pane(&player);
        EXPECT_EQ(pane.GetAutoPlayCheckBox()->isChecked(), on);
        pane.GetAutoPlayCheckBox()->click();
        EXPECT_EQ(preferences.GetAutoPlay(), !on);
    }
    SetPreferences(nullptr);
}

TEST(QuilletOpenDialog, AGoneStartFolderStartsInItsNearestFolderLeft) {
    CTemporaryFolder folder;
    const CQuilletOpenDialog dialog(Q(folder.PathOf("gone/deeper")), nullptr);
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(Q(folder.Path())).canonicalPath());
}

TEST(QuilletApplicationShell, AsksForAFileInTheOpenDialogStartingInTheGivenFolder) {
    CTemporaryFolder folder;
    const std::string path = folder.Make("loop.wav", WaveBytes(1, 44100, 16, 441));
    CQuilletApplicationShell shell;
    for (const bool accept : {true, false}) {
        QString shownFolder;
        WhenModalShows([&](QWidget* modal) {
            auto* dialog = qobject_cast<CQuilletOpenDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            shownFolder = QDir(dialog->directory()).canonicalPath();
            dialog->selectFile(Q(path));
            QDialog* asked = dialog;
            accept ? asked->accept() : asked->reject();
        });
        const std::optional<std::string> chosen = shell.AskFileToOpen(folder.Path());
        EXPECT_EQ(shownFolder, QDir(Q(folder.Path())).canonicalPath());
        if (accept) {
            ASSERT_TRUE(chosen.has_value());
            EXPECT_EQ(QFileInfo(Q(*chosen)).canonicalFilePath(), QFileInfo(Q(path)).canonicalFilePath());
        } else {
            EXPECT_FALSE(chosen.has_value());
        }
    }
}

}  // namespace
}  // namespace NSQuillet
