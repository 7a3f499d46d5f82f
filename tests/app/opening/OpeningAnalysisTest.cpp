#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/opening/OpeningAnalysis.h"
#include "app/operations/LengthyOperationUI.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

// Silence with a one-frame impulse of 1000 at each position. Each impulse meets the settled
// floor 151 of the silence before it (its emphasised value 2000 / 4 = 500 > 151), so the
// analysis finds one slice at each.
std::unique_ptr<CABCWaveSample> Impulses(int32_t frames, const std::vector<int32_t>& positions) {
    auto sample = std::make_unique<C16BitWaveSample>(44100, frames, false);
    for (int32_t position : positions) sample->Set16(position, 1000, 1);
    return sample;
}

// The analysis reads in blocks of 2^20 frames; a stop is seen at the start of the second.
const int32_t kTwoBlocks = (1 << 20) + 2000;
const std::vector<int32_t> kImpulses = {1000, 100000, (1 << 20) + 1000};

std::vector<int32_t> Positions(const CSliceSequence& slices) {
    std::vector<int32_t> positions;
    for (const CSlice& slice : slices.GetSlices()) positions.push_back(slice.GetPosition());
    return positions;
}

// Ctrl-C pressed before the work starts.
class CInterruptedUI final : public NSCourier::ILengthyOperationUI {
public:
    CInterruptedUI() { NSCourier::SetLengthyOperationUI(this); }
    ~CInterruptedUI() override { NSCourier::SetLengthyOperationUI(nullptr); }
    std::unique_ptr<NSCourier::IBusyGuard> CreateBusyGuard() override { return nullptr; }
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow(NSCourier::CLengthyOperation&, const std::string&,
                                                                     bool) override {
        return nullptr;
    }
    bool IsInterrupted() const override { return true; }
};

TEST(OpeningAnalysis, AnOpenedSoundFileGetsTheSlicesTheAnalysisFinds) {
    CTemporaryFolder folder;
    const std::string path =
        folder.Make("hits.wav", WriteToBytes(*Impulses(kTwoBlocks, kImpulses), ESoundFileType::kWave));
    CScriptedAlertPresenter presenter;
    for (EStoppedAnalysis stopped : {EStoppedAnalysis::kKeepSlicesFound, EStoppedAnalysis::kStopOpening}) {
        const auto document = OpenAnalyzedDocument(path, stopped);
        EXPECT_EQ(Positions(document->GetSliceSequence()), kImpulses);
    }
    EXPECT_TRUE(presenter.GetShown().empty());
}

TEST(OpeningAnalysis, AStoppedAnalysisShowsItsNoteThenKeepsWhatItFoundOrEndsTheOpening) {
    for (EStoppedAnalysis stopped : {EStoppedAnalysis::kKeepSlicesFound, EStoppedAnalysis::kStopOpening}) {
        const bool keep = stopped == EStoppedAnalysis::kKeepSlicesFound;
        SCOPED_TRACE(keep ? "keep" : "stop");
        const auto sample = Impulses(kTwoBlocks, kImpulses);
        CScriptedAlertPresenter presenter;
        CInterruptedUI interrupted;
        std::unique_ptr<CSliceSequence> slices;
        if (keep) {
            slices = AnalyzeOpenedSound(*sample, stopped);
            // The slice at 1000 went in when the onset at 100000 began; that one was still
            // pending at the stop and is dropped, and the frame-0 placeholder is cleaned up.
            EXPECT_EQ(Positions(*slices), std::vector<int32_t>{1000});
        } else {
            EXPECT_FAILURE(slices = AnalyzeOpenedSound(*sample, stopped), XAbort, "user pressed stop");
            EXPECT_EQ(slices, nullptr);
        }
        ASSERT_EQ(presenter.GetShown().size(), 1u);
        EXPECT_EQ(presenter.GetShown()[0].fKind, EAlertKind::kNote);
        EXPECT_EQ(presenter.GetShown()[0].fHeading, "Analyze was interrupted!");
    }
}

}  // namespace
