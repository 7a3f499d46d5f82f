#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/operations/QuilletLengthyOperation.h"
#include "foundation/Mishap.h"

using namespace NSCourier;
using NSQuillet::CQuilletLengthyOperation;

namespace {

class CFakeClock final : public IMillisecondClock {
public:
    uint64_t NowMilliseconds() const override { return fNow; }
    void Advance(uint64_t milliseconds) { fNow += milliseconds; }

private:
    uint64_t fNow = 1000000;
};

// Records what the operation does to its window.
struct SWindowLog {
    int fCreated = 0;
    int fClosed = 0;
    int fUpdates = 0;
    int fEventPasses = 0;
    int32_t fLastProgress = -1;
    std::string fTitle;
    std::string fText;
    bool fStoppable = true;
    bool fStopPressed = false;
    int fBusyGuards = 0;
};

class CRecordingWindow final : public ILengthyOperationWindow {
public:
    explicit CRecordingWindow(SWindowLog& log) : fLog(log) {}
    ~CRecordingWindow() override { ++fLog.fClosed; }
    void SetProgress(int32_t permille) override {
        ++fLog.fUpdates;
        fLog.fLastProgress = permille;
    }
    void SetProgressText(const std::string& text) override { fLog.fText = text; }
    bool WantsEvents() const override { return true; }
    void ProcessPendingEvents() override { ++fLog.fEventPasses; }
    void Notify(int32_t) override {}
    bool IsStopPressed() const override { return fLog.fStopPressed; }

private:
    SWindowLog& fLog;
};

class CBusyGuard final : public IBusyGuard {
public:
    explicit CBusyGuard(SWindowLog& log) : fLog(log) { ++fLog.fBusyGuards; }
    ~CBusyGuard() override { --fLog.fBusyGuards; }

private:
    SWindowLog& fLog;
};

class CRecordingUI final : public ILengthyOperationUI {
public:
    std::unique_ptr<IBusyGuard> CreateBusyGuard() override { return std::make_unique<CBusyGuard>(fLog); }
    std::unique_ptr<ILengthyOperationWindow> CreateWindow(CLengthyOperation&, const std::string& title,
                                                          bool stoppable) override {
        ++fLog.fCreated;
        fLog.fTitle = title;
        fLog.fStoppable = stoppable;
        return std::make_unique<CRecordingWindow>(fLog);
    }
    bool IsInterrupted() const override { return fInterrupted; }

    SWindowLog fLog;
    bool fInterrupted = false;
};

// Runs `milliseconds` of work reporting every `step` ms.
void Work(CLengthyOperation& operation, CFakeClock& clock, uint64_t milliseconds, uint64_t step) {
    for (uint64_t t = 0; t < milliseconds; t += step) {
        clock.Advance(step);
        operation.Progress(int32_t(t * 1000 / milliseconds));
    }
}

}  // namespace

TEST(LengthyOperation, ATwoSecondJobShowsNoWindow) {
    CFakeClock clock;
    CRecordingUI ui;
    {
        CQuilletLengthyOperation operation("Analyze", true, &ui, clock);
        EXPECT_EQ(ui.fLog.fBusyGuards, 1);
        Work(operation, clock, 2000, 10);
        EXPECT_FALSE(operation.HasWindow());
    }
    EXPECT_EQ(ui.fLog.fCreated, 0);
    EXPECT_EQ(ui.fLog.fBusyGuards, 0);
}

TEST(LengthyOperation, WindowAppearsAfterTheDelayReleasesTheBusyGuardAndClosesWithTheOperation) {
    CFakeClock clock;
    CRecordingUI ui;
    {
        CQuilletLengthyOperation operation("Normalize", false, &ui, clock);
        operation.SetText("Normalizing (finding peak)…");
        clock.Advance(3000);
        operation.Progress(300);  // exactly the delay: not yet more than it
        EXPECT_FALSE(operation.HasWindow());
        clock.Advance(100);
        operation.Progress(310);
        ASSERT_TRUE(operation.HasWindow());
        EXPECT_EQ(ui.fLog.fTitle, "Normalize");
        EXPECT_FALSE(ui.fLog.fStoppable);
        EXPECT_EQ(ui.fLog.fText, "Normalizing (finding peak)…");
        EXPECT_EQ(ui.fLog.fLastProgress, 310);
        EXPECT_EQ(ui.fLog.fBusyGuards, 0);
        operation.SetText("Normalizing (changing gain)…");
        EXPECT_EQ(ui.fLog.fText, "Normalizing (changing gain)…");
    }
    EXPECT_EQ(ui.fLog.fCreated, 1);
    EXPECT_EQ(ui.fLog.fClosed, 1);
}

TEST(LengthyOperation, WindowIsUpdatedAtMostOncePer100Milliseconds) {
    CFakeClock clock;
    CRecordingUI ui;
    CQuilletLengthyOperation operation("Save", true, &ui, clock);
    clock.Advance(3500);
    operation.Progress(0);
    ASSERT_TRUE(operation.HasWindow());
    const int before = ui.fLog.fUpdates;
    // 1000 calls spread over 50 ms.
    for (int i = 0; i < 1000; ++i) {
        if (i % 20 == 0) clock.Advance(1);
        operation.Progress(i);
    }
    EXPECT_LE(ui.fLog.fUpdates - before, 1);
    clock.Advance(100);
    operation.Progress(999);
    EXPECT_EQ(ui.fLog.fUpdates - before, 1);
    EXPECT_EQ(ui.fLog.fLastProgress, 999);
    EXPECT_EQ(ui.fLog.fEventPasses, 2);
}

TEST(LengthyOperation, StopIsSeenFromRequestWindowOrInterruptAndAbortsWithUserPressedStop) {
    CFakeClock clock;
    CRecordingUI ui;
    CQuilletLengthyOperation early("Analyze", true, &ui, clock);
    EXPECT_FALSE(early.IsStopRequested());
    early.RequestStop();
    EXPECT_FALSE(early.HasWindow());
    EXPECT_TRUE(early.IsStopRequested());
    try {
        NSQuillet::ThrowIfStopRequested(early);
        ADD_FAILURE() << "no abort";
    } catch (const NSMishap::XAbort& stop) {
        EXPECT_STREQ(stop.what(), "user pressed stop");
    }

    CQuilletLengthyOperation shown("Analyze", true, &ui, clock);
    clock.Advance(3200);
    shown.Progress(500);
    ASSERT_TRUE(shown.HasWindow());
    EXPECT_FALSE(shown.IsStopRequested());
    ui.fLog.fStopPressed = true;
    EXPECT_TRUE(shown.IsStopRequested());

    CQuilletLengthyOperation interrupted("Analyze", true, &ui, clock);
    ui.fLog.fStopPressed = false;
    EXPECT_FALSE(interrupted.IsStopRequested());
    ui.fInterrupted = true;
    EXPECT_TRUE(interrupted.IsStopRequested());
}

TEST(LengthyOperation, WithoutUserInterfaceTheWorkRunsWindowless) {
    CFakeClock clock;
    CQuilletLengthyOperation operation("Analyze", true, nullptr, clock);
    Work(operation, clock, 10000, 50);
    EXPECT_FALSE(operation.HasWindow());
    EXPECT_FALSE(operation.IsStopRequested());
}
