#include "ui/dialogs/AlertDialogPresenter.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/ui/ModalDriver.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::WhenModalShows;

// What the test saw of the shown box.
struct SShownBox {
    QMessageBox::Icon fIcon = QMessageBox::NoIcon;
    QString fTitle;
    QString fText;
    QString fInformativeText;
    std::vector<QString> fLabelsLeftToRight;
};

std::vector<QAbstractButton*> ButtonsLeftToRight(QMessageBox* box) {
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* button : box->buttons())
        if (button->isVisible()) buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(), [box](QAbstractButton* a, QAbstractButton* b) {
        return a->mapTo(box, QPoint(0, 0)).x() < b->mapTo(box, QPoint(0, 0)).x();
    });
    return buttons;
}

// Presents `alert`; when it shows, records it, then clicks the button at `click` (from the
// left) or, with none, presses Esc (and, when Esc left the box open, clicks `afterEscape`).
int32_t PresentAndAnswer(const SAlert& alert, std::optional<size_t> click, SShownBox& shown,
                         std::optional<size_t> afterEscape = std::nullopt, bool* stayedOpenAfterEscape = nullptr) {
    WhenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown.fIcon = box->icon();
        shown.fTitle = box->windowTitle();
        shown.fText = box->text();
        shown.fInformativeText = box->informativeText();
        const std::vector<QAbstractButton*> buttons = ButtonsLeftToRight(box);
        for (QAbstractButton* button : buttons) shown.fLabelsLeftToRight.push_back(button->text());
        if (click) {
            buttons.at(*click)->click();
            return;
        }
        QTest::keyClick(box, Qt::Key_Escape);
        if (stayedOpenAfterEscape) *stayedOpenAfterEscape = box->isVisible();
        if (box->isVisible() && afterEscape) buttons.at(*afterEscape)->click();
    });
    CAlertDialogPresenter presenter;
    return presenter.Present(alert);
}

SAlert MakeAlert(EAlertKind kind, std::string heading, std::string body, std::vector<std::string> buttons) {
    SAlert alert;
    alert.fKind = kind;
    alert.fHeading = std::move(heading);
    alert.fBody = std::move(body);
    alert.fButtons = std::move(buttons);
    return alert;
}

const SAlert kLongFile = MakeAlert(EAlertKind::kWarn, "", "The sound file is long. Open it?", {"Cancel", "Open Anyway"});
const SAlert kMoveLocator = MakeAlert(EAlertKind::kNote, "", "Move the left locator?", {"No", "Yes"});
const SAlert kDiskFull = MakeAlert(EAlertKind::kStop, "Disk Full", "Not enough space on the disk.", {"OK"});
const SAlert kSaveChanges = MakeAlert(EAlertKind::kWarn, "", "Save changes to the document “a.lx2” before quitting?",
                                      {"_Yes", "_No", "Cancel"});

struct SAnswerCase {
    const char* fName;
    SAlert fAlert;
    std::optional<size_t> fClick;  // none: Esc
    int32_t fAnswer;
};

class AlertAnswer : public testing::TestWithParam<SAnswerCase> {};

// Answers count from the right: the rightmost button 33, the one left of it 34, then 35.
TEST_P(AlertAnswer, IsThatOfTheButtonPressed) {
    SShownBox shown;
    EXPECT_EQ(PresentAndAnswer(GetParam().fAlert, GetParam().fClick, shown), GetParam().fAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Alerts, AlertAnswer,
    testing::Values(SAnswerCase{"OpenAnyway", kLongFile, 1, 33}, SAnswerCase{"Cancel", kLongFile, 0, 34},
                    SAnswerCase{"EscPressesCancel", kLongFile, std::nullopt, 34},
                    SAnswerCase{"Yes", kMoveLocator, 1, 33}, SAnswerCase{"EscPressesNo", kMoveLocator, std::nullopt, 34},
                    SAnswerCase{"EscPressesTheOnlyButton", kDiskFull, std::nullopt, 33},
                    SAnswerCase{"SaveYes", kSaveChanges, 0, 35}, SAnswerCase{"SaveNo", kSaveChanges, 1, 34},
                    SAnswerCase{"EscPressesCancelNotNo", kSaveChanges, std::nullopt, 33}),
    [](const testing::TestParamInfo<SAnswerCase>& info) { return std::string(info.param.fName); });

TEST(AlertDialogPresenter, EscDoesNothingWhenNoButtonMeansCancel) {
    SShownBox shown;
    bool stayedOpen = false;
    const SAlert choice = MakeAlert(EAlertKind::kNote, "", "Which channel?", {"Left", "Right"});
    EXPECT_EQ(PresentAndAnswer(choice, std::nullopt, shown, size_t(0), &stayedOpen), 34);
    EXPECT_TRUE(stayedOpen);
}

TEST(AlertDialogPresenter, ShowsKindAsIconAndHeadingAboveBody) {
    SShownBox stop;
    PresentAndAnswer(kDiskFull, 0, stop);
    EXPECT_EQ(stop.fIcon, QMessageBox::Critical);
    EXPECT_EQ(stop.fTitle, "Quillet");
    EXPECT_EQ(stop.fText, "Disk Full");
    EXPECT_EQ(stop.fInformativeText, "Not enough space on the disk.");

    SShownBox warn;
    PresentAndAnswer(kLongFile, 0, warn);
    EXPECT_EQ(warn.fIcon, QMessageBox::Warning);
    EXPECT_EQ(warn.fText, "The sound file is long. Open it?");
    EXPECT_EQ(warn.fInformativeText, "");

    SShownBox note;
    PresentAndAnswer(kMoveLocator, 0, note);
    EXPECT_EQ(note.fIcon, QMessageBox::Information);
}

TEST(AlertDialogPresenter, ShowsTheTablesLineBreaksAndAccessKeys) {
    SShownBox shown;
    PresentAndAnswer(MakeAlert(EAlertKind::kStop, "", "Quillet cannot run.\rPlease update.", {"_Yes", "R&B"}), 0, shown);
    EXPECT_EQ(shown.fText, "Quillet cannot run.\nPlease update.");
    EXPECT_EQ(shown.fLabelsLeftToRight, (std::vector<QString>{"&Yes", "R&&B"}));
}

TEST(AlertDialogPresenter, AnAlertWithoutButtonsGetsOne) {
    SShownBox shown;
    EXPECT_EQ(PresentAndAnswer(MakeAlert(EAlertKind::kNote, "", "Done.", {}), std::nullopt, shown), 33);
    EXPECT_EQ(shown.fLabelsLeftToRight.size(), 1u);
}

// A style that lays dialog buttons out by one desktop's convention.
class CButtonLayoutStyle final : public QProxyStyle {
public:
    explicit CButtonLayoutStyle(int layout) : QProxyStyle(QStyleFactory::create("Fusion")), fLayout(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return fLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int fLayout;
};

class AlertButtonOrder : public testing::TestWithParam<int> {};

// The desktops order Accept, Reject, Yes and No buttons differently; the alert's order must
// stay as written under every one of them.
TEST_P(AlertButtonOrder, IsTheAlertsOrderUnderEveryDesktopConvention) {
    const QString before = QApplication::style()->name();
    QApplication::setStyle(new CButtonLayoutStyle(GetParam()));
    SShownBox shown;
    const SAlert three = MakeAlert(EAlertKind::kWarn, "", "Save?", {"Don’t Save", "Cancel", "Save"});
    EXPECT_EQ(PresentAndAnswer(three, 2, shown), 33);
    QApplication::setStyle(before);
    EXPECT_EQ(shown.fLabelsLeftToRight, (std::vector<QString>{"Don’t Save", "Cancel", "Save"}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, AlertButtonOrder,
                         testing::Values(int(QDialogButtonBox::WinLayout), int(QDialogButtonBox::MacLayout),
                                         int(QDialogButtonBox::KdeLayout), int(QDialogButtonBox::GnomeLayout),
                                         int(QDialogButtonBox::AndroidLayout)));

// The whole text shows, on one line or wrapped into lines the label is high enough for: a
// long body without a heading was cut at forty characters.
TEST(AlertDialogPresenter, ShowsEveryWordOfALongBodyWithOrWithoutAHeading) {
    const std::string longBody = "Do you wish to normalize the whole file, or each individual slice? "
                                 "The sample is long and the question is longer still.";
    const SAlert alerts[] = {{EAlertKind::kNote, "", longBody, {"Cancel", "Each Slice", "Whole File"}},
                             {EAlertKind::kNote, "Heading", longBody, {"OK"}},
                             {EAlertKind::kNote, "", "Short.", {"OK"}}};
    for (const SAlert& alert : alerts) {
        SCOPED_TRACE(alert.fHeading + "|" + alert.fBody);
        bool checked = false;
        WhenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"}) {
                auto* label = box->findChild<QLabel*>(name);
                if (!label || label->text().isEmpty()) continue;
                const QFontMetrics metrics(label->font());
                if (label->wordWrap()) {
                    const QRect needed = metrics.boundingRect(QRect(0, 0, label->contentsRect().width(), 100000),
                                                              Qt::TextWordWrap, label->text());
                    EXPECT_LE(needed.height(), label->contentsRect().height()) << name;
                    EXPECT_GT(needed.height(), metrics.height()) << name << " wraps a long text";
                } else {
                    EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width()) << name;
                }
                EXPECT_LE(label->geometry().right(), box->contentsRect().right()) << name;
            }
            checked = true;
            box->buttons().front()->click();
        });
        CAlertDialogPresenter().Present(alert);
        EXPECT_TRUE(checked);
    }
}

}  // namespace
}  // namespace NSQuillet
