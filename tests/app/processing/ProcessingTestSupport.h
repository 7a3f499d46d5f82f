#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/DocumentParameters.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "tests/support/LoopDocumentFixture.h"

namespace NSQuilletTest {

// An operation without a window that counts Progress calls and, when told, presses Stop at
// the given call.
class CStoppingOperation final : public NSQuillet::CQuilletLengthyOperation {
public:
    explicit CStoppingOperation(int32_t stopAtCall = 0) : CQuilletLengthyOperation("Process", true, nullptr), fStopAt(stopAtCall) {}

    void Progress(int32_t permille) override {
        ++fCalls;
        if (fCalls == fStopAt) RequestStop();
        CQuilletLengthyOperation::Progress(permille);
    }
    int32_t GetCalls() const { return fCalls; }

private:
    int32_t fStopAt;
    int32_t fCalls = 0;
};

inline std::unique_ptr<NSQuillet::CABCWaveSample> MakeEmptySample(int32_t depth, bool stereo, int32_t frames,
                                                                  uint32_t rate = 44100) {
    if (depth == 24) return std::make_unique<NSQuillet::C24BitWaveSample>(rate, frames, stereo);
    return std::make_unique<NSQuillet::C16BitWaveSample>(rate, frames, stereo);
}

// Values in the sample's own scale (16-bit or 24-bit), channel 1 then, for stereo, channel 2.
inline std::unique_ptr<NSQuillet::CABCWaveSample> MakeSampleOf(int32_t depth, const std::vector<int32_t>& left,
                                                               const std::vector<int32_t>& right = {},
                                                               uint32_t rate = 44100) {
    auto sample = MakeEmptySample(depth, !right.empty(), int32_t(left.size()), rate);
    const int32_t shift = depth == 24 ? 0 : 8;
    for (int32_t f = 0; f < int32_t(left.size()); ++f) {
        sample->Set24(f, left[size_t(f)] * (1 << shift), 1);
        if (!right.empty()) sample->Set24(f, right[size_t(f)] * (1 << shift), 2);
    }
    return sample;
}

// Channel `channel` in the sample's own scale.
inline std::vector<int32_t> Values(const NSQuillet::CABCWaveSample& sample, int32_t channel) {
    std::vector<int32_t> values = Channel(sample, channel);
    if (sample.GetBitDepth() == 16)
        for (int32_t& v : values) v /= 256;
    return values;
}

// Drum-like audio below full scale: a decaying burst every 2205 frames over quiet noise, the
// channels different, the peak near 0.6.
inline std::unique_ptr<NSQuillet::CABCWaveSample> MakeHitsSample(int32_t depth, bool stereo, int32_t frames,
                                                                 uint32_t rate = 44100) {
    auto sample = MakeEmptySample(depth, stereo, frames, rate);
    uint32_t noise = 12345;
    for (int32_t f = 0; f < frames; ++f) {
        for (int32_t c = 1; c <= (stereo ? 2 : 1); ++c) {
            noise = noise * 1664525u + 1013904223u;
            const int32_t sinceHit = f % 2205;
            const int32_t envelope = sinceHit < 400 ? 20000 - sinceHit * 45 : 300;
            const int32_t value = int32_t(int64_t(int32_t(noise >> 16) - 32768) * envelope / 32768) + (c == 2 ? 7 : -5);
            sample->Set24(f, value * 256, c);
        }
    }
    return sample;
}

inline std::unique_ptr<NSQuillet::CQuilletDocument> MakeDocumentOf(std::unique_ptr<NSQuillet::CABCWaveSample> sample,
                                                                    std::unique_ptr<NSQuillet::CSliceSequence> slices = nullptr) {
    using namespace NSQuillet;
    // As opening does: the overview first, so the gate sees the audio.
    sample->BuildPreview();
    if (slices) slices->UpdateSliceLengths();
    if (!slices) {
        slices = std::make_unique<CSliceSequence>(sample.get());
        slices->InsertSlice(CSlice(0, 20000, ESliceKind::kNormal));
        slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    }
    // A loop file that is saved: not modified until something changes.
    return std::make_unique<CQuilletDocument>(std::move(sample), NSDiskKit::CFileSpec::FromPath("/nonexistent/loop.lx2"),
                                              SDocumentSettings{}, 0, std::move(slices));
}

// Everything a processing command may change, to compare before and after.
struct SDocumentSnapshot {
    int32_t fBitDepth = 0;
    uint32_t fRate = 0;
    bool fLoopSet = false;
    int32_t fLoopKind = 0;
    std::vector<std::vector<int32_t>> fChannels;
    std::unique_ptr<NSQuillet::CSliceSequence> fSlices;
    NSQuillet::SDocumentParameters fParameters;
    uint32_t fBase = 0;
    uint32_t fPosition = 0;
    std::vector<std::string> fStepNames;
    bool fModified = false;
    int32_t fSavedPosition = 0;
};

inline SDocumentSnapshot TakeSnapshot(const NSQuillet::CQuilletDocument& document) {
    SDocumentSnapshot s;
    const NSQuillet::CABCWaveSample& sample = document.GetWaveSample();
    s.fBitDepth = sample.GetBitDepth();
    s.fRate = sample.GetSampleRate();
    s.fLoopSet = sample.IsLoopSet();
    s.fLoopKind = sample.GetLoopKind();
    for (int32_t c = 1; c <= sample.GetChannelCount(); ++c) s.fChannels.push_back(Channel(sample, c));
    s.fSlices = std::make_unique<NSQuillet::CSliceSequence>(document.GetSliceSequence());
    s.fParameters = document.GetDocumentParameters();
    s.fBase = document.GetUndoHistory().GetBase();
    s.fPosition = document.GetUndoHistory().GetPosition();
    s.fStepNames = document.GetUndoHistory().GetStepNames();
    s.fModified = document.IsModified();
    s.fSavedPosition = document.GetSavedPosition();
    return s;
}

// Audio bit for bit, slices with their lengths, parameters; with `history` also the undo
// history and the modified state.
inline void ExpectSameState(const NSQuillet::CQuilletDocument& document, const SDocumentSnapshot& expected,
                            bool history) {
    const SDocumentSnapshot actual = TakeSnapshot(document);
    EXPECT_EQ(actual.fBitDepth, expected.fBitDepth);
    EXPECT_EQ(actual.fRate, expected.fRate);
    EXPECT_EQ(actual.fLoopSet, expected.fLoopSet);
    EXPECT_EQ(actual.fLoopKind, expected.fLoopKind);
    ASSERT_EQ(actual.fChannels.size(), expected.fChannels.size());
    for (size_t c = 0; c < expected.fChannels.size(); ++c)
        EXPECT_TRUE(actual.fChannels[c] == expected.fChannels[c]) << "channel " << c + 1;
    ExpectSameSlices(*actual.fSlices, *expected.fSlices);
    EXPECT_TRUE(actual.fParameters == expected.fParameters);
    if (!history) return;
    EXPECT_EQ(actual.fBase, expected.fBase);
    EXPECT_EQ(actual.fPosition, expected.fPosition);
    EXPECT_EQ(actual.fStepNames, expected.fStepNames);
    EXPECT_EQ(actual.fModified, expected.fModified);
    EXPECT_EQ(actual.fSavedPosition, expected.fSavedPosition);
}

inline void SetLocators(NSQuillet::CQuilletDocument& document, int32_t left, int32_t right) {
    NSQuillet::SDocumentParameters p = document.GetDocumentParameters();
    p.fLeftLocator = left;
    p.fRightLocator = right;
    document.PerformParametersChange(p, "Set Loop");
    document.CloseUndoStep();
}

inline void SetLoopLength(NSQuillet::CQuilletDocument& document, int32_t bars, int32_t beats, int32_t numerator,
                          int32_t denominator) {
    NSQuillet::SDocumentParameters p = document.GetDocumentParameters();
    p.fLoop.SetBars(bars);
    p.fLoop.SetBeats(beats);
    p.fLoop.SetTimeSignatureNumerator(numerator);
    p.fLoop.SetTimeSignatureDenominator(denominator);
    document.PerformParametersChange(p, "Change Loop Length");
    document.CloseUndoStep();
}

}  // namespace NSQuilletTest
