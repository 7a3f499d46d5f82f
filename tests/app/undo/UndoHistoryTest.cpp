#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/undo/Change.h"
#include "app/undo/Transaction.h"
#include "app/undo/UndoHistory.h"
#include "foundation/Mishap.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RecordingDiagnosticSink.h"

namespace NSUndoPackage {
namespace {

using TLog = std::vector<std::string>;

// Sets an integer and remembers the value it replaced; logs every call. A failing call
// throws before touching the value.
class CSetValue final : public CABCChange {
public:
    CSetValue(std::string name, int& value, int newValue, TLog& log)
        : fName(std::move(name)), fValue(value), fNew(newValue), fLog(log) {}

    void Do() override {
        fLog.push_back("do " + fName);
        if (fFailDo) throw NSMishap::XWrite("do failed");
        fOld = fValue;
        fValue = fNew;
    }
    void Undo() override {
        fLog.push_back("undo " + fName);
        if (fFailUndo) throw NSMishap::XWrite("undo failed");
        fValue = fOld;
    }

    bool fFailDo = false;
    bool fFailUndo = false;

private:
    std::string fName;
    int& fValue;
    int fNew;
    int fOld = 0;
    TLog& fLog;
};

class UndoHistory : public testing::Test {
protected:
    CSetValue* Add(VTransaction& transaction, const std::string& name, int value) {
        auto change = std::make_unique<CSetValue>(name, fValue, value, fLog);
        CSetValue* raw = change.get();
        transaction.Add(std::move(change));
        return raw;
    }
    // One command: one change setting the value, committed under `name` and `key`.
    CSetValue* Commit(const std::string& name, int value, const std::string& key) {
        VTransaction transaction;
        CSetValue* change = Add(transaction, name, value);
        fHistory.Commit(transaction, name, key);
        EXPECT_TRUE(transaction.IsEmpty());
        return change;
    }
    void Undo() { fHistory.MoveTo(fHistory.GetPosition() - 1); }
    void Redo() { fHistory.MoveTo(fHistory.GetPosition() + 1); }

    int fValue = 0;
    TLog fLog;
    CUndoHistory fHistory{10};
};

TEST_F(UndoHistory, EleventhCommitDropsTheOldestStepAndUndoStopsAfterTen) {
    for (int i = 1; i <= 11; ++i) Commit("step " + std::to_string(i), i, "step " + std::to_string(i));
    EXPECT_EQ(fHistory.GetStepCount(), 10u);
    EXPECT_EQ(fHistory.GetBase(), 1u);
    EXPECT_EQ(fHistory.GetPosition(), 11u);
    EXPECT_EQ(fHistory.GetStepNames().front(), "step 2");
    EXPECT_EQ(fHistory.GetUndoName(), "step 11");
    for (int i = 0; i < 10; ++i) Undo();
    EXPECT_FALSE(fHistory.CanUndo());
    EXPECT_TRUE(fHistory.CanRedo());
    EXPECT_EQ(fHistory.GetRedoName(), "step 2");
    // The first step is gone: its value stays.
    EXPECT_EQ(fValue, 1);
    EXPECT_THROW(Undo(), NSMishap::XStdOutOfRange);
    EXPECT_EQ(fHistory.GetPosition(), 1u);
}

TEST_F(UndoHistory, EqualKeysMergeIntoOneStepWhoseUndoRestoresTheValueBeforeTheFirst) {
    fValue = 7;
    Commit("Change Pitch", 10, "Change Pitch");
    Commit("Change Pitch", 20, "Change Pitch");
    Commit("Change Pitch", 30, "Change Pitch");
    EXPECT_EQ(fHistory.GetStepCount(), 1u);
    EXPECT_EQ(fHistory.GetPosition(), 1u);
    Undo();
    EXPECT_EQ(fValue, 7);
    EXPECT_EQ(fLog, (TLog{"do Change Pitch", "do Change Pitch", "do Change Pitch", "undo Change Pitch",
                          "undo Change Pitch", "undo Change Pitch"}));
    Redo();
    EXPECT_EQ(fValue, 30);
}

TEST_F(UndoHistory, MergedStepTakesTheNameOfTheLastCommit) {
    Commit("Select Slice", 1, "Move Slice");
    Commit("Move Slice", 2, "Move Slice");
    EXPECT_EQ(fHistory.GetStepNames(), (std::vector<std::string>{"Move Slice"}));
}

TEST_F(UndoHistory, CommitAfterUndoDropsTheRedoSteps) {
    Commit("a", 1, "a");
    Commit("b", 2, "b");
    Commit("c", 3, "c");
    Undo();
    Undo();
    Commit("d", 4, "d");
    EXPECT_EQ(fHistory.GetStepNames(), (std::vector<std::string>{"a", "d"}));
    EXPECT_FALSE(fHistory.CanRedo());
    Undo();
    EXPECT_EQ(fValue, 1);
}

TEST_F(UndoHistory, NoMergeAcrossAnUndoOrARedo) {
    Commit("Change Pitch", 1, "Change Pitch");
    Commit("Change Gain", 2, "Change Gain");
    Undo();
    Commit("Change Pitch", 3, "Change Pitch");
    EXPECT_EQ(fHistory.GetStepCount(), 2u);

    Undo();
    Redo();
    Commit("Change Pitch", 4, "Change Pitch");
    EXPECT_EQ(fHistory.GetStepCount(), 3u);
    Undo();
    EXPECT_EQ(fValue, 3);
}

TEST_F(UndoHistory, EmptyTransactionCommitsNothing) {
    VTransaction empty;
    fHistory.Commit(empty, "nothing", "nothing");
    EXPECT_EQ(fHistory.GetStepCount(), 0u);
    EXPECT_EQ(fHistory.GetMergeKey(), "");
}

TEST_F(UndoHistory, FailingRedoRollsBackItsCompletedChangesAndKeepsThePosition) {
    VTransaction transaction;
    Add(transaction, "first", 1);
    CSetValue* second = Add(transaction, "second", 2);
    fHistory.Commit(transaction, "two", "two");
    Undo();
    fLog.clear();
    second->fFailDo = true;
    EXPECT_FAILURE(Redo(), XWrite, "do failed");
    EXPECT_EQ(fLog, (TLog{"do first", "do second", "undo first"}));
    EXPECT_EQ(fValue, 0);
    EXPECT_EQ(fHistory.GetPosition(), 0u);
}

TEST(UndoHistoryFailure, FailedRollbackAndFailedUndoAreRuntimeErrorsOfTheUndoStep) {
    struct SRow {
        const char* fCase;
        bool fRedo;
        const char* fMessage;
    };
    for (const SRow& row : {SRow{"redo whose rollback fails", true, "Rollback due to exception in ExecuteDo() failed"},
                            SRow{"undo that fails", false, "Exception in ExecuteUndo()"}}) {
        SCOPED_TRACE(row.fCase);
        int value = 0;
        TLog log;
        CUndoHistory history(10);
        VTransaction transaction;
        auto first = std::make_unique<CSetValue>("first", value, 1, log);
        auto second = std::make_unique<CSetValue>("second", value, 2, log);
        CSetValue* firstRaw = first.get();
        CSetValue* secondRaw = second.get();
        transaction.Add(std::move(first));
        transaction.Add(std::move(second));
        history.Commit(transaction, "two", "two");
        if (row.fRedo) {
            history.MoveTo(0);
            secondRaw->fFailDo = true;
            firstRaw->fFailUndo = true;
        } else {
            firstRaw->fFailUndo = true;
        }
        const uint32_t position = history.GetPosition();
        const auto caught = NSQuilletTest::CatchFailure([&] { history.MoveTo(row.fRedo ? 1 : 0); });
        EXPECT_EQ(caught.fCode, uint32_t(NSMishap::kFailureCode_RuntimeError));
        EXPECT_EQ(caught.fMessage, row.fMessage);
        EXPECT_EQ(caught.fTarget, "undo_step");
        EXPECT_EQ(history.GetPosition(), position);
    }
}

TEST(Transaction, FailingDoLeavesTheTransactionAsItWasAndDestructionRollsBackInReverse) {
    int value = 0;
    TLog log;
    {
        VTransaction transaction;
        transaction.Add(std::make_unique<CSetValue>("first", value, 1, log));
        transaction.Add(std::make_unique<CSetValue>("second", value, 2, log));
        auto third = std::make_unique<CSetValue>("third", value, 3, log);
        third->fFailDo = true;
        EXPECT_FAILURE(transaction.Add(std::move(third)), XWrite, "do failed");
        EXPECT_EQ(transaction.GetChanges().size(), 2u);
        EXPECT_EQ(value, 2);
    }
    EXPECT_EQ(value, 0);
    EXPECT_EQ(log, (TLog{"do first", "do second", "do third", "undo second", "undo first"}));
}

TEST(Transaction, ReleasedChangesStayApplied) {
    int value = 0;
    TLog log;
    {
        VTransaction transaction;
        transaction.Add(std::make_unique<CSetValue>("first", value, 1, log));
        EXPECT_EQ(transaction.Release().size(), 1u);
        EXPECT_TRUE(transaction.IsEmpty());
    }
    EXPECT_EQ(value, 1);
    EXPECT_EQ(log, (TLog{"do first"}));
}

TEST(Transaction, FailingUndoDuringDestructionIsReportedAndStillUndoesTheOlderChanges) {
    NSQuilletTest::CRecordingDiagnosticSink diagnostics;
    int value = 0;
    TLog log;
    {
        VTransaction transaction;
        transaction.Add(std::make_unique<CSetValue>("first", value, 1, log));
        auto second = std::make_unique<CSetValue>("second", value, 2, log);
        second->fFailUndo = true;
        transaction.Add(std::move(second));
    }
    EXPECT_EQ(log, (TLog{"do first", "do second", "undo second", "undo first"}));
    EXPECT_EQ(value, 0);
    ASSERT_EQ(diagnostics.fReported.size(), 1u);
    EXPECT_EQ(diagnostics.fReported[0].fContext, "Rollback due to exception in ~VTransaction() failed");
    EXPECT_EQ(diagnostics.fReported[0].fMessage, "undo failed");
}

TEST(Transaction, RollbackReportsAFailingUndo) {
    int value = 0;
    TLog log;
    VTransaction transaction;
    transaction.Add(std::make_unique<CSetValue>("first", value, 1, log));
    auto second = std::make_unique<CSetValue>("second", value, 2, log);
    second->fFailUndo = true;
    transaction.Add(std::move(second));
    EXPECT_FAILURE(transaction.Rollback(), XStdRuntimeError, "Rollback due to exception in ~VTransaction() failed");
    EXPECT_EQ(transaction.GetChanges().size(), 1u);
    transaction.Rollback();
    EXPECT_EQ(value, 0);
}

}  // namespace
}  // namespace NSUndoPackage
