#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <optional>
#include <vector>

#include "tests/ui/ModalDriver.h"
#include "ui/dialogs/ConvertSampleFormatDialog.h"
#include "ui/dialogs/ConvertToMonoDialog.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::WhenModalShows;

constexpr EMonoChoice kAllChoices[] = {EMonoChoice::kLeft, EMonoChoice::kRight, EMonoChoice::kMix};

// A radio button takes clicks on its circle and its text only: the click lands on the circle.
void ClickChoice(const CConvertToMonoDialog& dialog, EMonoChoice choice) {
    QRadioButton* button = dialog.GetChoiceButton(choice);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->iconSize().width() / 2 + 2, button->height() / 2));
}

int CheckedCount(const CConvertToMonoDialog& dialog) {
    int checked = 0;
    for (EMonoChoice choice : kAllChoices) checked += dialog.GetChoiceButton(choice)->isChecked() ? 1 : 0;
    return checked;
}

TEST(ConvertToMonoDialog, StartsAtTheProposedChoiceAndAlwaysHasExactlyOne) {
    // A stored value outside the three starts at Mix.
    const std::pair<EMonoChoice, EMonoChoice> starts[] = {{EMonoChoice::kLeft, EMonoChoice::kLeft},
                                                          {EMonoChoice::kRight, EMonoChoice::kRight},
                                                          {EMonoChoice::kMix, EMonoChoice::kMix},
                                                          {EMonoChoice(7), EMonoChoice::kMix}};
    for (const auto& [proposed, shown] : starts) {
        SCOPED_TRACE(int(proposed));
        CConvertToMonoDialog dialog(proposed);
        EXPECT_EQ(CheckedCount(dialog), 1);
        EXPECT_TRUE(dialog.GetChoiceButton(shown)->isChecked());
        EXPECT_EQ(dialog.GetChoice(), shown);
        // Clicking a choice, the chosen one again included, leaves exactly that one.
        for (EMonoChoice choice : {EMonoChoice::kRight, EMonoChoice::kRight, EMonoChoice::kLeft, EMonoChoice::kMix}) {
            ClickChoice(dialog, choice);
            EXPECT_EQ(CheckedCount(dialog), 1);
            EXPECT_EQ(dialog.GetChoice(), choice);
        }
    }
}

TEST(ConvertToMonoDialog, ShowsTheGroupAndItsThreeChoicesInOrder) {
    CConvertToMonoDialog dialog(EMonoChoice::kMix);
    EXPECT_EQ(dialog.windowTitle(), "Convert to Mono");
    std::vector<QString> texts;
    for (EMonoChoice choice : kAllChoices) texts.push_back(dialog.GetChoiceButton(choice)->text());
    EXPECT_EQ(texts, (std::vector<QString>{"Left", "Right", "Mix Left+Right"}));
    EXPECT_EQ(dialog.GetOKButton()->text(), "OK");
    EXPECT_EQ(dialog.GetCancelButton()->text(), "Cancel");
}

TEST(ConvertToMonoDialog, AskAnswersTheChoiceOnOKAndNoneOnCancel) {
    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CConvertToMonoDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ClickChoice(*dialog, EMonoChoice::kRight);
        QTest::mouseClick(dialog->GetOKButton(), Qt::LeftButton);
    });
    EXPECT_EQ(CConvertToMonoDialog::Ask(nullptr, EMonoChoice::kLeft), std::optional<EMonoChoice>(EMonoChoice::kRight));

    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CConvertToMonoDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ClickChoice(*dialog, EMonoChoice::kRight);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(CConvertToMonoDialog::Ask(nullptr, EMonoChoice::kLeft), std::nullopt);
}

std::vector<QString> ItemTexts(const QComboBox& popup) {
    std::vector<QString> texts;
    for (int i = 0; i < popup.count(); ++i) texts.push_back(popup.itemText(i));
    return texts;
}

TEST(ConvertSampleFormatDialog, OffersTheSevenRatesAndBothDepthsWithTheSamplesOwnSelected) {
    CConvertSampleFormatDialog dialog(SSampleFormat{48000, 24});
    EXPECT_EQ(dialog.windowTitle(), "Convert Sample Format");
    EXPECT_EQ(
        ItemTexts(*dialog.GetSampleRatePopup()),
        (std::vector<QString>{"11025 Hz", "22050 Hz", "32000 Hz", "44100 Hz", "48000 Hz", "88200 Hz", "96000 Hz"}));
    EXPECT_EQ(ItemTexts(*dialog.GetBitDepthPopup()), (std::vector<QString>{"16-bit", "24-bit"}));
    EXPECT_EQ(dialog.GetSampleRatePopup()->currentText(), "48000 Hz");
    EXPECT_EQ(dialog.GetBitDepthPopup()->currentText(), "24-bit");
    EXPECT_EQ(dialog.GetFormat(), (SSampleFormat{48000, 24}));
}

TEST(ConvertSampleFormatDialog, AskAnswersThePopupsOnOKAndNoneOnCancel) {
    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CConvertSampleFormatDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->GetSampleRatePopup()->setCurrentIndex(dialog->GetSampleRatePopup()->findData(22050u));
        dialog->GetBitDepthPopup()->setCurrentIndex(dialog->GetBitDepthPopup()->findData(24));
        QTest::mouseClick(dialog->GetOKButton(), Qt::LeftButton);
    });
    EXPECT_EQ(CConvertSampleFormatDialog::Ask(nullptr, SSampleFormat{44100, 16}),
              std::optional<SSampleFormat>(SSampleFormat{22050, 24}));

    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CConvertSampleFormatDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->GetBitDepthPopup()->setCurrentIndex(1);
        QTest::mouseClick(dialog->GetCancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(CConvertSampleFormatDialog::Ask(nullptr, SSampleFormat{44100, 16}), std::nullopt);
}

}  // namespace
}  // namespace NSQuillet
