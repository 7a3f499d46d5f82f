#include "ui/dialogs/LengthyOperationWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/operations/MillisecondClock.h"
#include "app/operations/QuilletLengthyOperation.h"

namespace NSQuillet {
namespace {

class CFakeClock final : public NSCourier::IMillisecondClock {
public:
    uint64_t NowMilliseconds() const override { return fNow; }
    uint64_t fNow = 10000;
};

CLengthyOperationDialog* FindShownDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CLengthyOperationDialog*>(widget); dialog && dialog->isVisible()) return dialog;
    return nullptr;
}

bool HasWaitCursor() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

class LengthyOperationWindow : public testing::Test {
protected:
    // Starts an operation at 10000 ms that reports progress every 100 ms, last at `until`.
    std::unique_ptr<CQuilletLengthyOperation> StartAndRunUntil(uint64_t until, bool stoppable = true) {
        fClock.fNow = 10000;
        auto operation = std::make_unique<CQuilletLengthyOperation>("Analyze", stoppable, &fUI, fClock);
        for (fClock.fNow = 10100; fClock.fNow + 100 <= until; fClock.fNow += 100) operation->Progress(100);
        fClock.fNow = until;
        operation->Progress(100);
        return operation;
    }

    CFakeClock fClock;
    CEditorLengthyOperationUI fUI;
};

TEST_F(LengthyOperationWindow, IsNotShownBeforeTheDelayAndTheWaitCursorIs) {
    auto operation = StartAndRunUntil(12900);
    EXPECT_EQ(FindShownDialog(), nullptr);
    EXPECT_TRUE(HasWaitCursor());
    EXPECT_TRUE(fUI.IsBusy());
    operation.reset();
    EXPECT_FALSE(HasWaitCursor());
    EXPECT_FALSE(fUI.IsBusy());
}

TEST_F(LengthyOperationWindow, IsShownAfterTheDelayWithTitleTextAndProgress) {
    auto operation = StartAndRunUntil(12900);
    operation->SetText("Finding slices…");
    fClock.fNow = 13001;
    operation->Progress(250);
    CLengthyOperationDialog* dialog = FindShownDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->GetProgressBar()->value(), 250);
    EXPECT_FALSE(HasWaitCursor());
    EXPECT_TRUE(fUI.IsBusy());
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Analyze"));
    EXPECT_TRUE(texts.contains("Finding slices…"));
    EXPECT_EQ(dialog->GetStopButton()->text(), "Stop");

    operation->SetText("Normalizing (changing gain)…");
    texts.clear();
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Normalizing (changing gain)…"));

    operation.reset();
    EXPECT_EQ(FindShownDialog(), nullptr);
    EXPECT_FALSE(fUI.IsBusy());
}

TEST_F(LengthyOperationWindow, UpdatesAtMostOncePer100Milliseconds) {
    auto operation = StartAndRunUntil(13001);
    CLengthyOperationDialog* dialog = FindShownDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->GetProgressBar()->value(), 100);
    // 1000 reports within 50 ms of the last update.
    for (int i = 1; i <= 1000; ++i) {
        fClock.fNow = 13001 + uint64_t(i) / 20;
        operation->Progress(i);
    }
    EXPECT_EQ(dialog->GetProgressBar()->value(), 100);
    fClock.fNow = 13101;
    operation->Progress(900);
    EXPECT_EQ(dialog->GetProgressBar()->value(), 900);
}

TEST_F(LengthyOperationWindow, HandsOutPendingEventsWhenUpdated) {
    auto operation = StartAndRunUntil(13001);
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    fClock.fNow = 13101;
    operation->Progress(500);
    EXPECT_TRUE(delivered);
}

TEST_F(LengthyOperationWindow, EscPressesStop) {
    auto operation = StartAndRunUntil(13001);
    CLengthyOperationDialog* dialog = FindShownDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(operation->IsStopRequested());
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(operation->IsStopRequested());
    // The window stays until the work ends.
    EXPECT_EQ(FindShownDialog(), dialog);
}

TEST_F(LengthyOperationWindow, StopButtonRequestsStop) {
    auto operation = StartAndRunUntil(13001);
    CLengthyOperationDialog* dialog = FindShownDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->GetStopButton(), Qt::LeftButton);
    EXPECT_TRUE(operation->IsStopRequested());
}

TEST_F(LengthyOperationWindow, WorkThatCannotStopIgnoresEscAndTheCloseBox) {
    auto operation = StartAndRunUntil(13001, false);
    CLengthyOperationDialog* dialog = FindShownDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->GetStopButton()->isEnabled());
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->close();
    EXPECT_FALSE(operation->IsStopRequested());
    EXPECT_EQ(FindShownDialog(), dialog);
}

}  // namespace
}  // namespace NSQuillet
