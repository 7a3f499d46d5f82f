#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/processing/AddSlicesAtSixteenthsCommand.h"
#include "app/processing/ParameterToggleCommands.h"
#include "app/processing/ReAnalyzeCommand.h"
#include "foundation/Mishap.h"
#include "tests/app/processing/ProcessingTestSupport.h"
#include "tests/support/ScriptedAlertPresenter.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CStoppingOperation;
using NSQuilletTest::MakeDocumentOf;

std::vector<int32_t> Positions(const CSliceSequence& slices) {
    std::vector<int32_t> positions;
    for (const CSlice& slice : slices.GetSlices()) positions.push_back(slice.GetPosition());
    return positions;
}

// A normal, selected slice of level 20000 at frame 0 only.
std::unique_ptr<CQuilletDocument> MakeGridDocument(int32_t frames) {
    auto sample = NSQuilletTest::MakeEmptySample(16, false, frames);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(0, 20000, ESliceKind::kNormal, true));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    return MakeDocumentOf(std::move(sample), std::move(slices));
}

// ---- Re-Analyze ----

TEST(ReAnalyzeCommand, MergesNewSlicesAndThenFindsNothingMore) {
    auto document = MakeDocumentOf(NSQuilletTest::MakeHitsSample(16, true, 44100));
    ASSERT_EQ(document->GetSliceSequence().GetSliceCount(), 1);
    CStoppingOperation first;
    EXPECT_TRUE(ReAnalyze(*document, first));
    // One hit every 2205 frames: twenty in the second.
    EXPECT_GE(document->GetSliceSequence().GetSliceCount(), 20);
    EXPECT_EQ(document->GetUndoName(), "Re-Analyze");
    EXPECT_EQ(first.GetText(), "Finding slices…");

    const auto before = NSQuilletTest::TakeSnapshot(*document);
    CScriptedAlertPresenter alerts;
    CStoppingOperation second;
    EXPECT_FALSE(ReAnalyze(*document, second));
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fBody, "Re-Analyze did not find any new slices!");
    NSQuilletTest::ExpectSameState(*document, before, true);
}

// ---- Add Slices at 1/16ths ----

TEST(AddSlicesAtSixteenthsCommand, SixteenthsPerBeatIsSixteenOverTheDenominator) {
    EXPECT_EQ(SixteenthsPerBeat(4), 4);
    EXPECT_EQ(SixteenthsPerBeat(8), 2);
    EXPECT_EQ(SixteenthsPerBeat(2), 8);
    EXPECT_EQ(SixteenthsPerBeat(16), 1);
    EXPECT_EQ(SixteenthsPerBeat(32), 0);
}

TEST(AddSlicesAtSixteenthsCommand, GridPointsPerSignature) {
    struct SCase {
        const char* fName;
        int32_t fNumerator;
        int32_t fDenominator;
        int32_t fBars;
        int32_t fBeats;
        int32_t fLeft;
        int32_t fRight;
        std::vector<int32_t> fPositions;  // the whole list afterwards
    };
    const SCase cases[] = {
        // 6 beats of 2000 frames, 2 sixteenths each: every 1000 frames.
        {"6/8", 6, 8, 1, 0, 0, 12000, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000}},
        // 3 beats of 4000 frames, 4 sixteenths each.
        {"3/4", 3, 4, 1, 0, 0, 12000, {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000}},
        // 2 beats of 2000 (T = 0 × 7 + 2), 2 sixteenths each.
        {"7/8 beats only", 7, 8, 0, 2, 0, 4000, {0, 1000, 2000, 3000}},
        // B = 10007 / 4 = 2501.75, S = 625.4375; p = 100 + b·B + j·S truncated, e.g.
        // 100 + 3·2501.75 + 3·625.4375 = 9481.5625 -> 9481.
        {"4/4 uneven", 4, 4, 1, 0, 100, 10107,
         {0, 100, 725, 1350, 1976, 2601, 3227, 3852, 4478, 5103, 5728, 6354, 6979, 7605, 8230, 8856, 9481}},
    };
    for (const SCase& c : cases) {
        auto document = MakeGridDocument(12000);
        NSQuilletTest::SetLoopLength(*document, c.fBars, c.fBeats, c.fNumerator, c.fDenominator);
        NSQuilletTest::SetLocators(*document, c.fLeft, c.fRight);
        ASSERT_TRUE(CanAddSlicesAtSixteenths(*document));
        EXPECT_TRUE(AddSlicesAtSixteenths(*document)) << c.fName;
        const CSliceSequence& slices = document->GetSliceSequence();
        EXPECT_EQ(Positions(slices), c.fPositions) << c.fName;
        for (const CSlice& slice : slices.GetSlices()) {
            if (slice.GetPosition() == 0) {
                // Frame 0 keeps its level and selection; inside the loop it is locked.
                EXPECT_EQ(slice.GetLevel(), 20000) << c.fName;
                EXPECT_TRUE(slice.IsSelected()) << c.fName;
                EXPECT_EQ(slice.GetKind(), c.fLeft == 0 ? ESliceKind::kLocked : ESliceKind::kNormal) << c.fName;
            } else {
                EXPECT_EQ(slice.GetLevel(), 16384) << c.fName;
                EXPECT_FALSE(slice.IsSelected()) << c.fName;
                EXPECT_EQ(slice.GetKind(), ESliceKind::kLocked) << c.fName;
            }
        }
        EXPECT_EQ(document->GetUndoName(), "Add Slices at 1/16ths") << c.fName;
    }
}

TEST(AddSlicesAtSixteenthsCommand, MoreThanAThousandPointsAsksFirst) {
    struct SCase {
        int32_t fBars;
        int32_t fBeats;
        bool fAsks;
        int32_t fAnswer;  // 33 OK, 34 Cancel
        int32_t fSlicesAfter;
    };
    const SCase cases[] = {
        {62, 2, false, 0, 1000},  // (62 × 4 + 2) × 4 = 1000: no question
        {63, 0, true, 34, 1},     // 1008 > 1000, Cancel
        {63, 0, true, 33, 1008},  // OK; B = 44100 / 252 = 175, S = 43.75: all distinct
    };
    for (const SCase& c : cases) {
        auto document = MakeGridDocument(44100);
        NSQuilletTest::SetLoopLength(*document, c.fBars, c.fBeats, 4, 4);
        const auto before = NSQuilletTest::TakeSnapshot(*document);
        CScriptedAlertPresenter alerts;
        if (c.fAsks) alerts.Answer(c.fAnswer);
        if (c.fAsks && c.fAnswer != 33) {
            EXPECT_THROW(AddSlicesAtSixteenths(*document), NSMishap::XSilentAbort);
            NSQuilletTest::ExpectSameState(*document, before, true);
        } else {
            EXPECT_TRUE(AddSlicesAtSixteenths(*document));
        }
        EXPECT_EQ(document->GetSliceSequence().GetSliceCount(), c.fSlicesAfter) << c.fBars << " bars";
        ASSERT_EQ(alerts.GetShown().size(), c.fAsks ? 1u : 0u);
        if (c.fAsks) {
            EXPECT_EQ(alerts.GetShown()[0].fHeading, "This will add more than 1000 slices!");
        }
    }
}

TEST(AddSlicesAtSixteenthsCommand, NothingNewSaysNoSlicesWereAdded) {
    struct SCase {
        const char* fName;
        std::function<void(CQuilletDocument&)> fPrepare;
    };
    const SCase cases[] = {
        {"grid already there",
         [](CQuilletDocument& d) {
             NSQuilletTest::SetLoopLength(d, 1, 0, 4, 4);
             ASSERT_TRUE(AddSlicesAtSixteenths(d));
         }},
        {"no loop length", [](CQuilletDocument&) {}},
        {"empty loop", [](CQuilletDocument& d) {
             NSQuilletTest::SetLoopLength(d, 1, 0, 4, 4);
             NSQuilletTest::SetLocators(d, 500, 500);
         }},
        {"finer than a frame", [](CQuilletDocument& d) {
             NSQuilletTest::SetLoopLength(d, 1, 0, 4, 4);
             NSQuilletTest::SetLocators(d, 500, 510);
         }},
    };
    for (const SCase& c : cases) {
        auto document = MakeGridDocument(12000);
        c.fPrepare(*document);
        const auto before = NSQuilletTest::TakeSnapshot(*document);
        CScriptedAlertPresenter alerts;
        EXPECT_FALSE(AddSlicesAtSixteenths(*document)) << c.fName;
        ASSERT_EQ(alerts.GetShown().size(), 1u) << c.fName;
        EXPECT_EQ(alerts.GetShown()[0].fBody, "No slices were added.");
        NSQuilletTest::ExpectSameState(*document, before, true);
    }
    EXPECT_FALSE(CanAddSlicesAtSixteenths(*MakeGridDocument(100)));
}

// ---- Toggles ----

TEST(ParameterToggleCommands, EachToggleIsItsOwnStep) {
    struct SCase {
        std::function<void(CQuilletDocument&)> fToggle;
        std::function<bool(const SDocumentParameters&)> fFlag;
        const char* fName;
    };
    const SCase cases[] = {
        {ToggleExportAsOneSample, [](const SDocumentParameters& p) { return p.fExportSlicesSeparately; },
         "Toggle Export As One Sample"},
        {ToggleSilenceSelected, [](const SDocumentParameters& p) { return p.fLoop.IsSilenceSelected(); },
         "Toggle Silence Selected"},
    };
    for (const SCase& c : cases) {
        auto document = MakeGridDocument(1000);
        const bool initial = c.fFlag(document->GetDocumentParameters());
        const uint32_t position = document->GetUndoHistory().GetPosition();
        c.fToggle(*document);
        EXPECT_EQ(c.fFlag(document->GetDocumentParameters()), !initial) << c.fName;
        EXPECT_EQ(document->GetUndoName(), c.fName);
        c.fToggle(*document);
        EXPECT_EQ(c.fFlag(document->GetDocumentParameters()), initial) << c.fName;
        EXPECT_EQ(document->GetUndoHistory().GetPosition(), position + 2) << c.fName;
        document->Undo();
        EXPECT_EQ(c.fFlag(document->GetDocumentParameters()), !initial) << c.fName;
        EXPECT_TRUE(document->IsModified());
    }
}

TEST(ParameterToggleCommands, SilenceSelectedNeedsThePreview) {
    auto document = MakeGridDocument(1000);
    EXPECT_FALSE(CanToggleSilenceSelected(*document));
    SDocumentParameters p = document->GetDocumentParameters();
    p.fLoop.SetPreviewOn(true);
    document->PerformParametersChange(p, "Toggle Preview Play");
    EXPECT_TRUE(CanToggleSilenceSelected(*document));
}

}  // namespace
}  // namespace NSQuillet
