#include "ui/dialogs/NoLengthSpecifiedDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <optional>
#include <string>

#include "tests/ui/ModalDriver.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::WhenModalShows;

struct STypingCase {
    const char* fTyped;
    const char* fShown;
    std::optional<int32_t> fBars;
};

class NoLengthSpecifiedTyping : public testing::TestWithParam<STypingCase> {};

// The field keeps digits only, three at most; OK only for a number above 0.
TEST_P(NoLengthSpecifiedTyping, KeepsDigitsAndEnablesOKAboveZero) {
    CNoLengthSpecifiedDialog dialog;
    QTest::keyClicks(dialog.GetBarsField(), GetParam().fTyped);
    EXPECT_EQ(dialog.GetBarsField()->text().toStdString(), GetParam().fShown);
    EXPECT_EQ(dialog.GetBars(), GetParam().fBars);
    EXPECT_EQ(dialog.GetOKButton()->isEnabled(), GetParam().fBars.has_value());
}

INSTANTIATE_TEST_SUITE_P(Dialog, NoLengthSpecifiedTyping,
                         testing::Values(STypingCase{"", "", std::nullopt}, STypingCase{"0", "0", std::nullopt},
                                         STypingCase{"000", "000", std::nullopt}, STypingCase{"1", "1", 1},
                                         STypingCase{"12a3", "123", 123}, STypingCase{"-5", "5", 5},
                                         STypingCase{"1.5", "15", 15}, STypingCase{"9999", "999", 999},
                                         STypingCase{"007", "007", 7}));

TEST(NoLengthSpecifiedDialog, ShowsTheTablesTexts) {
    CNoLengthSpecifiedDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Quillet");
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Loop Length cannot be set to 0 Bars. Please enter the correct number of Bars."));
    EXPECT_TRUE(texts.contains("Bars:"));
    EXPECT_EQ(dialog.GetOKButton()->text(), "OK");
    EXPECT_EQ(dialog.GetCancelButton()->text(), "Cancel");
}

TEST(DialogLoopLengthRequest, AnswersTheBarsEnteredOrNoneWhenCancelled) {
    CDialogLoopLengthRequest request(nullptr);

    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CNoLengthSpecifiedDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->GetBarsField(), "4");
        QTest::mouseClick(dialog->GetOKButton(), Qt::LeftButton);
    });
    EXPECT_EQ(request.AskLoopLengthBars(), std::optional<int32_t>(4));

    WhenModalShows([](QWidget* modal) {
        auto* dialog = qobject_cast<CNoLengthSpecifiedDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->GetBarsField(), "4");
        QTest::mouseClick(dialog->GetCancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(request.AskLoopLengthBars(), std::nullopt);
}

TEST(DialogLoopLengthRequest, ReturnOnZeroKeepsTheDialogOpen) {
    CDialogLoopLengthRequest request(nullptr);
    bool stayedOpen = false;
    WhenModalShows([&](QWidget* modal) {
        auto* dialog = qobject_cast<CNoLengthSpecifiedDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTest::keyClicks(dialog->GetBarsField(), "0");
        QTest::keyClick(dialog->GetBarsField(), Qt::Key_Return);
        stayedOpen = dialog->isVisible();
        QTest::keyClick(dialog->GetBarsField(), Qt::Key_Backspace);
        QTest::keyClicks(dialog->GetBarsField(), "2");
        QTest::keyClick(dialog->GetBarsField(), Qt::Key_Return);
    });
    EXPECT_EQ(request.AskLoopLengthBars(), std::optional<int32_t>(2));
    EXPECT_TRUE(stayedOpen);
}

}  // namespace
}  // namespace NSQuillet
