#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/logic/DelayedWindowCloser.h"

namespace NSQuillet {
namespace {

using EAnswer = CDelayedWindowCloser::EAnswer;

TEST(DelayedWindowCloser, AsksWithTheDocumentsName) {
    EXPECT_EQ(CDelayedWindowCloser("Funk.lx2", false, {}).GetQuestion(),
              "Save changes to the document “Funk.lx2” before closing?");
    EXPECT_EQ(CDelayedWindowCloser("Untitled", true, {}).GetQuestion(),
              "Save changes to the document “Untitled” before quitting?");
}

TEST(DelayedWindowCloser, EachAnswerActsOnceAndASecondAnswerNever) {
    struct SRow {
        const char* fCase;
        EAnswer fAnswer;
        bool fSaveSucceeds;
        bool fClosed;
        std::vector<std::string> fLog;
    };
    const SRow rows[] = {
        {"Yes, saved", EAnswer::kYes, true, true, {"save", "close"}},
        {"Yes, save cancelled or failed", EAnswer::kYes, false, false, {"save"}},
        {"No", EAnswer::kNo, true, true, {"close"}},
        {"Cancel", EAnswer::kCancel, true, false, {}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        std::vector<std::string> log;
        CDelayedWindowCloser closer("Untitled", false,
                                    {[&] {
                                         log.push_back("save");
                                         return row.fSaveSucceeds;
                                     },
                                     [&] { log.push_back("close"); }});
        EXPECT_FALSE(closer.IsFinished());
        EXPECT_EQ(closer.Answer(row.fAnswer), row.fClosed);
        EXPECT_TRUE(closer.IsFinished());
        for (EAnswer again : {EAnswer::kYes, EAnswer::kNo}) EXPECT_FALSE(closer.Answer(again));
        EXPECT_EQ(log, row.fLog);
    }
}

TEST(DelayedWindowCloser, AnAnswerArrivingDuringTheSaveDoesNotCloseTwice) {
    std::vector<std::string> log;
    CDelayedWindowCloser* self = nullptr;
    CDelayedWindowCloser closer("Untitled", true,
                                {[&] {
                                     log.push_back("save");
                                     EXPECT_FALSE(self->Answer(EAnswer::kNo));
                                     return true;
                                 },
                                 [&] { log.push_back("close"); }});
    self = &closer;
    EXPECT_TRUE(closer.Answer(EAnswer::kYes));
    EXPECT_EQ(log, (std::vector<std::string>{"save", "close"}));
}

}  // namespace
}  // namespace NSQuillet
