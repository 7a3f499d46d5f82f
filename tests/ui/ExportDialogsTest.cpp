#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>
#include <vector>

#include "formats/export/ExportFileFormats.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/ui/ModalDriver.h"
#include "ui/dialogs/ExportSaveDialog.h"
#include "ui/dialogs/ExportSettingsDialog.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::WhenModalShows;

template <typename TValue>
std::vector<TValue> ItemValues(const QComboBox& popup) {
    std::vector<TValue> values;
    for (int i = 0; i < popup.count(); ++i) values.push_back(popup.itemData(i).value<TValue>());
    return values;
}

TEST(ExportSettingsDialog, OffersExactlyTheRatesAndDepthsOfTheChosenFormat) {
    for (EExportFormat format :
         {EExportFormat::kWave, EExportFormat::kAiff, EExportFormat::kSoundFont, EExportFormat::kSamplerProgram}) {
        SCOPED_TRACE(GetExportFormatName(format));
        const std::unique_ptr<CABCExportFileFormat> chosen = MakeExportFileFormat(format);
        CExportSettingsDialog dialog(*chosen, SExportSettings{});
        EXPECT_EQ(ItemValues<uint32_t>(*dialog.GetSampleRatePopup()), chosen->GetSampleRates());
        EXPECT_EQ(ItemValues<int32_t>(*dialog.GetBitDepthPopup()), chosen->GetBitDepths());
        EXPECT_EQ(dialog.GetSampleRatePopup()->itemText(0), QString("%1 Hz").arg(chosen->GetSampleRates().front()));
    }
}

TEST(ExportSettingsDialog, StartsAtTheProposedSettingsAndAnswersWhatIsShown) {
    const std::unique_ptr<CABCExportFileFormat> wave = MakeExportFileFormat(EExportFormat::kWave);
    CExportSettingsDialog dialog(*wave, SExportSettings{88200, 24, true});
    EXPECT_EQ(dialog.windowTitle(), "Export Settings");
    EXPECT_EQ(dialog.GetSampleRatePopup()->currentText(), "88200 Hz");
    EXPECT_EQ(dialog.GetBitDepthPopup()->currentText(), "24-bit");
    EXPECT_TRUE(dialog.GetMIDIFileCheckBox()->isChecked());
    EXPECT_EQ(dialog.GetMIDIFileCheckBox()->text(), "Export MIDI File with Same Name");
    dialog.GetSampleRatePopup()->setCurrentIndex(0);
    QTest::mouseClick(dialog.GetMIDIFileCheckBox(), Qt::LeftButton);
    const SExportSettings settings = dialog.GetSettings();
    EXPECT_EQ(settings.fSampleRate, 11025u);
    EXPECT_EQ(settings.fBitDepth, 24);
    EXPECT_FALSE(settings.fExportMIDIWithSameName);
}

TEST(DialogExportDialogs, AnswerTheSettingsOnOKAndNoneOnCancel) {
    const std::unique_ptr<CABCExportFileFormat> program = MakeExportFileFormat(EExportFormat::kSamplerProgram);
    CDialogExportDialogs dialogs(nullptr);
    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CExportSettingsDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->GetSampleRatePopup()->setCurrentIndex(dialog->GetSampleRatePopup()->findData(22050u));
        QTest::mouseClick(dialog->GetOKButton(), Qt::LeftButton);
    });
    const std::optional<SExportSettings> answer = dialogs.AskExportSettings(*program, SExportSettings{44100, 16, true});
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->fSampleRate, 22050u);
    EXPECT_EQ(answer->fBitDepth, 16);
    EXPECT_TRUE(answer->fExportMIDIWithSameName);

    WhenModalShows([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<CExportSettingsDialog*>(modal)->GetCancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dialogs.AskExportSettings(*program, SExportSettings{}), std::nullopt);
}

QLineEdit* NameField(QFileDialog& dialog) { return dialog.findChild<QLineEdit*>("fileNameEdit"); }

TEST(ExportSaveDialog, ListsTheFiveTypesWithTheProposedOneAndNameInTheRecentFolder) {
    NSQuilletTest::CTemporaryFolder folder;
    CExportSaveDialog dialog(folder.Path(), "Funk.mid", EExportFormat::kMIDI);
    EXPECT_EQ(dialog.windowTitle(), "Export Sound");
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{"Wave File (*.wav)", "Audio IFF (*.aif *.aiff)", "Standard MIDI File (*.mid)",
                           "SoundFont File (*.sf2)", "Sampler Program File (*.akp)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "Standard MIDI File (*.mid)");
    EXPECT_EQ(dialog.GetChosenFormat(), EExportFormat::kMIDI);
    EXPECT_EQ(QDir(dialog.directory()).absolutePath().toStdString(), folder.Path());
    ASSERT_NE(NameField(dialog), nullptr);
    EXPECT_EQ(NameField(dialog)->text(), "Funk.mid");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    // The export asks about existing files itself, slice by slice.
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(ExportSaveDialog, AnotherTypePutsItsExtensionOnTheName) {
    NSQuilletTest::CTemporaryFolder folder;
    CExportSaveDialog dialog(folder.Path(), "Funk.mid", EExportFormat::kMIDI);
    dialog.show();
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    types->setFocus();
    // From MIDI (the third) up to the first, WAVE, as the user picks it.
    QTest::keyClick(types, Qt::Key_Up);
    QTest::keyClick(types, Qt::Key_Up);
    EXPECT_EQ(dialog.GetChosenFormat(), EExportFormat::kWave);
    EXPECT_EQ(NameField(dialog)->text(), "Funk.wav");
    EXPECT_EQ(dialog.GetTarget(),
              std::optional<SExportTarget>(SExportTarget{folder.PathOf("Funk.wav"), EExportFormat::kWave}));
}

TEST(ExportSaveDialog, AskAnswersTheNamedFileWithTheTypesExtensionOrNone) {
    NSQuilletTest::CTemporaryFolder folder;
    folder.Make("Beat.aif", "already there");
    const auto typeName = [](const QString& name) {
        WhenModalShows([name](QWidget* modal) {
            auto* dialog = qobject_cast<CExportSaveDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            NameField(*dialog)->setText(name);
            QTest::keyClick(NameField(*dialog), Qt::Key_Return);
        });
    };
    // An existing file is chosen without a question of the dialog's own.
    typeName("Beat.aif");
    EXPECT_EQ(CExportSaveDialog::Ask(nullptr, folder.Path(), "Funk.aif", EExportFormat::kAiff),
              std::optional<SExportTarget>(SExportTarget{folder.PathOf("Beat.aif"), EExportFormat::kAiff}));
    typeName("Groove");
    EXPECT_EQ(CExportSaveDialog::Ask(nullptr, folder.Path(), "Funk.aif", EExportFormat::kAiff),
              std::optional<SExportTarget>(SExportTarget{folder.PathOf("Groove.aif"), EExportFormat::kAiff}));

    WhenModalShows([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(CExportSaveDialog::Ask(nullptr, folder.Path(), "Funk.aif", EExportFormat::kAiff), std::nullopt);
}

}  // namespace
}  // namespace NSQuillet
