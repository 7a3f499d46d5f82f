#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/processing/ConvertToMonoCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/processing/NormalizeCommand.h"
#include "app/processing/RemoveDCCommand.h"
#include "foundation/Mishap.h"
#include "tests/app/processing/ProcessingTestSupport.h"
#include "tests/support/ScriptedAlertPresenter.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CStoppingOperation;
using NSQuilletTest::MakeDocumentOf;
using NSQuilletTest::MakeSampleOf;
using NSQuilletTest::Values;

const char* const kAlreadyNormalized = "This sample is already normalized! No processing will take place.";

// ---- Normalize ----

TEST(NormalizeCommand, QuestionAnswersPickTheScope) {
    struct SCase {
        int32_t fAnswer;
        std::optional<ENormalizeScope> fScope;
    };
    // "[Cancel][Each Slice][Whole File]": 33 is the rightmost button.
    for (const SCase& c : {SCase{33, ENormalizeScope::kWholeFile}, SCase{34, ENormalizeScope::kEachSlice},
                           SCase{35, std::nullopt}}) {
        CScriptedAlertPresenter alerts;
        alerts.Answer(c.fAnswer);
        EXPECT_EQ(AskNormalizeScope(), c.fScope) << c.fAnswer;
        ASSERT_EQ(alerts.GetShown().size(), 1u);
        EXPECT_EQ(alerts.GetShown()[0].fBody, "Do you wish to normalize the whole file, or each individual slice?");
    }
}

TEST(NormalizeCommand, GainRuleOnAHalfScalePeak) {
    // Peak 0.5, so gain = 1 / 0.5 - 2^-16 = 1.9999847412109375 (exact in float). Each value v is
    // read as v / 2^15 (or / 2^23), multiplied, and written × 32767 (or × 8388607), rounded:
    //   -16384: -0.99999237060546875 × 32767 = -32766.75  -> -32767
    //     8192:  0.49999618530273438 × 32767 =  16383.375 ->  16383
    //      100:  (25 × 2^-13) × gain × 32767 ≈  199.9924  ->    200
    //        1:  2^-15 × gain × 32767         ≈    1.9999  ->      2
    //  4194304 (24-bit): 0.99999237060546875 × 8388607 = 8388543.0000076 -> 8388543
    struct SCase {
        int32_t fDepth;
        std::vector<int32_t> fIn;
        std::vector<int32_t> fOut;
    };
    for (const SCase& c : {SCase{16, {-16384, 8192, 100, 1, 0, -3}, {-32767, 16383, 200, 2, 0, -6}},
                           SCase{24, {4194304, -2097152, 1, 0}, {8388543, -4194272, 2, 0}}}) {
        auto document = MakeDocumentOf(MakeSampleOf(c.fDepth, c.fIn));
        CStoppingOperation operation;
        EXPECT_TRUE(Normalize(*document, operation, ENormalizeScope::kWholeFile));
        EXPECT_EQ(Values(document->GetWaveSample(), 1), c.fOut) << c.fDepth << "-bit";
        EXPECT_EQ(document->GetUndoName(), "Normalize");
    }
}

TEST(NormalizeCommand, PeaksFromOneMinusTwoToTheMinus14AreAlreadyNormalized) {
    struct SCase {
        int32_t fDepth;
        int32_t fPeakValue;
        bool fNormalized;
    };
    const SCase cases[] = {
        {16, 32766, true},     // 1 - 2^-14 exactly
        {16, -32766, true},
        {16, 32767, true},     // 1 - 2^-15: the search ends here
        {16, -32768, true},    // 1.0
        {16, 32765, false},
        {24, 8388096, true},   // 32766 × 256 = (1 - 2^-14) × 2^23
        {24, 8388095, false},
        {24, -8388608, true},
        {16, 0, true},         // silence: nothing to scale
    };
    for (const SCase& c : cases) {
        // The peak sits in the right channel, after frames of smaller values (none for silence).
        const std::vector<int32_t> left = c.fPeakValue == 0 ? std::vector<int32_t>(4, 0) : std::vector<int32_t>{100, -200, 300, 5};
        auto document = MakeDocumentOf(MakeSampleOf(c.fDepth, left, {0, c.fPeakValue == 0 ? 0 : 7, c.fPeakValue, 0}));
        const auto before = NSQuilletTest::TakeSnapshot(*document);
        CScriptedAlertPresenter alerts;
        CStoppingOperation operation;
        const bool changed = Normalize(*document, operation, ENormalizeScope::kWholeFile);
        EXPECT_EQ(changed, !c.fNormalized) << c.fDepth << "-bit peak " << c.fPeakValue;
        if (c.fNormalized) {
            ASSERT_EQ(alerts.GetShown().size(), 1u);
            EXPECT_EQ(alerts.GetShown()[0].fBody, kAlreadyNormalized);
            NSQuilletTest::ExpectSameState(*document, before, true);
        } else {
            EXPECT_TRUE(alerts.GetShown().empty());
            EXPECT_EQ(document->GetUndoHistory().GetPosition(), before.fPosition + 1);
        }
    }
}

TEST(NormalizeCommand, EachSliceScalesTheRangesOfShownUnmutedSlices) {
    // Sensitivity 50 gives threshold 16218: level 30000 is shown, level 100 hidden.
    const std::vector<int32_t> in = {
        1000, -1000,                                     // before the first shown slice: kept
        -16384, 8192, 100, 4096, 1, 0, 0, 0,             // normal at 2 (hidden one at 5 inside): peak 0.5
        5000, -9000, 3, 0, 0, 0, 0, 0, 0, 0,             // muted at 10: kept
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                    // locked at 20: peak 0, kept
        7, 32766, -5, 0, 0, 0, 0, 0, 0, 0,               // normal at 30: already normalized, kept
        16384, -3, 0, 0, 0, 0, 0, 0,                     // normal at 40: peak 0.5
    };
    // Gain 2 - 2^-16 as in GainRuleOnAHalfScalePeak; 4096: 0.24999809265 × 32767 = 8191.69 -> 8192
    // (a cut at the hidden slice would have scaled it by almost 8).
    std::vector<int32_t> out = in;
    out[2] = -32767;
    out[3] = 16383;
    out[4] = 200;
    out[5] = 8192;
    out[6] = 2;
    out[40] = 32767;
    out[41] = -6;

    auto sample = MakeSampleOf(16, in);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(2, 30000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(5, 100, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(10, 30000, ESliceKind::kMuted));
    slices->InsertSlice(CSlice(20, 30000, ESliceKind::kLocked));
    slices->InsertSlice(CSlice(30, 30000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(40, 30000, ESliceKind::kNormal));
    slices->SetSensitivity(50);
    auto document = MakeDocumentOf(std::move(sample), std::move(slices));

    CStoppingOperation operation;
    EXPECT_TRUE(Normalize(*document, operation, ENormalizeScope::kEachSlice));
    EXPECT_EQ(Values(document->GetWaveSample(), 1), out);
    EXPECT_EQ(document->GetUndoName(), "Normalize");
    EXPECT_EQ(document->GetSliceSequence().GetSliceCount(), 6);
}

TEST(NormalizeCommand, EachSliceWithNothingToScaleSaysSoAndChangesNothing) {
    auto sample = MakeSampleOf(16, {100, 200, -32768, 0, 5, 6});
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(0, 30000, ESliceKind::kMuted));
    slices->InsertSlice(CSlice(2, 30000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(4, 30000, ESliceKind::kMuted));
    slices->SetSensitivity(50);
    auto document = MakeDocumentOf(std::move(sample), std::move(slices));
    const auto before = NSQuilletTest::TakeSnapshot(*document);

    CScriptedAlertPresenter alerts;
    CStoppingOperation operation;
    EXPECT_FALSE(Normalize(*document, operation, ENormalizeScope::kEachSlice));
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fBody, kAlreadyNormalized);
    NSQuilletTest::ExpectSameState(*document, before, true);
}

// ---- Convert to Mono ----

TEST(ConvertToMonoCommand, MixHalvesTheIntegerSumTowardZero) {
    struct SCase {
        int32_t fDepth;
        std::vector<int32_t> fLeft;
        std::vector<int32_t> fRight;
        std::vector<int32_t> fMix;
    };
    const SCase cases[] = {
        {16, {-3, -3, 3, 32767, -32768, -32768, 1}, {2, -2, 2, 32767, -32768, 32767, 0}, {0, -2, 2, 32767, -32768, 0, 0}},
        {24, {-3, -3, 8388607, -8388608, 8388607}, {2, -2, 8388607, -8388608, -8388608}, {0, -2, 8388607, -8388608, 0}},
    };
    for (const SCase& c : cases) {
        auto document = MakeDocumentOf(MakeSampleOf(c.fDepth, c.fLeft, c.fRight));
        CStoppingOperation operation;
        ConvertToMono(*document, operation, EMonoChoice::kMix);
        const CABCWaveSample& mono = document->GetWaveSample();
        EXPECT_FALSE(mono.IsStereo());
        EXPECT_EQ(mono.GetBitDepth(), c.fDepth);
        EXPECT_EQ(Values(mono, 1), c.fMix) << c.fDepth << "-bit";
        EXPECT_EQ(document->GetUndoName(), "Convert to Mono");
    }
}

TEST(ConvertToMonoCommand, LeftAndRightCopyTheirChannelExactly) {
    for (int32_t depth : {16, 24}) {
        for (EMonoChoice choice : {EMonoChoice::kLeft, EMonoChoice::kRight}) {
            auto sample = NSQuilletTest::MakeSample(depth, 2, 3000, 48000);
            sample->SetLocators(2, 100, 2900);
            const std::vector<int32_t> kept = Values(*sample, choice == EMonoChoice::kLeft ? 1 : 2);
            auto document = MakeDocumentOf(std::move(sample));
            CStoppingOperation operation;
            ConvertToMono(*document, operation, choice);
            const CABCWaveSample& mono = document->GetWaveSample();
            EXPECT_FALSE(mono.IsStereo());
            EXPECT_TRUE(Values(mono, 1) == kept) << depth << "-bit choice " << int(choice);
            EXPECT_EQ(mono.GetSampleRate(), 48000u);
            EXPECT_EQ(mono.GetLoopKind(), 2);
            EXPECT_EQ(mono.GetLeftLocator(), 100);
            EXPECT_EQ(mono.GetRightLocator(), 2900);
        }
    }
}

TEST(ConvertToMonoCommand, AMonoSampleIsRefused) {
    auto document = MakeDocumentOf(MakeSampleOf(16, {1, 2, 3}));
    EXPECT_FALSE(CanConvertToMono(*document));
    const auto before = NSQuilletTest::TakeSnapshot(*document);
    CStoppingOperation operation;
    EXPECT_THROW(ConvertToMono(*document, operation, EMonoChoice::kMix), NSMishap::XStdLogicError);
    NSQuilletTest::ExpectSameState(*document, before, true);
    EXPECT_TRUE(CanConvertToMono(*MakeDocumentOf(MakeSampleOf(16, {1}, {2}))));
}

// ---- Remove DC ----

// The filter as written, in double, for comparison within one step of the integer scale.
std::vector<double> ReferenceRemoveDC(const std::vector<int32_t>& values, double scale, double rate) {
    const double a = std::exp(-2.0 * M_PI * 10.0 / rate);
    const size_t start = std::min(values.size(), size_t(5 * rate));
    double state = 0.0;
    for (size_t n = start; n-- > 0;) state = a * state + (1.0 - a) * (values[n] / scale);
    std::vector<double> out(values.size());
    double low = state;
    for (size_t n = 0; n < values.size(); ++n) {
        const double x = values[n] / scale;
        low = x * (1.0 - a) + low * a;
        out[n] = (x - low) * (scale - 1.0);
    }
    return out;
}

TEST(RemoveDCCommand, ConstantOffsetIsGoneFromTheFirstFrame) {
    // Shorter than five seconds the filter starts from the whole sample; without that start the
    // first output would be about the whole offset.
    // The float state settles within a few float steps of the offset divided by (1 - a): well
    // under one 16-bit step, which is 256 steps at 24 bits.
    struct SCase {
        int32_t fDepth;
        uint32_t fRate;
        int32_t fFrames;
        int32_t fOffset;
        int32_t fTolerance;
    };
    const SCase cases[] = {
        {16, 11025, 11025, 1000, 1},        // 1 s
        {16, 44100, 66150, -12000, 1},      // 1.5 s
        {16, 11025, 77175, 3000, 1},        // 7 s: starts from the first 5 s
        {24, 48000, 96000, 2000000, 256},   // 2 s
    };
    for (const SCase& c : cases) {
        auto document = MakeDocumentOf(MakeSampleOf(c.fDepth, std::vector<int32_t>(size_t(c.fFrames), c.fOffset), {}, c.fRate));
        CStoppingOperation operation;
        RemoveDC(*document, operation);
        const std::vector<int32_t> out = Values(document->GetWaveSample(), 1);
        int32_t worst = 0;
        for (int32_t v : out) worst = std::max(worst, std::abs(v));
        EXPECT_LE(worst, c.fTolerance) << c.fDepth << "-bit at " << c.fRate << " Hz, " << c.fFrames << " frames";
        EXPECT_EQ(document->GetUndoName(), "Remove DC");
    }
}

TEST(RemoveDCCommand, FollowsTheOnePoleFilterAsWritten) {
    struct SCase {
        int32_t fDepth;
        uint32_t fRate;
        int32_t fFrames;
        int32_t fTolerance;  // steps of the integer scale; at 24 bits the float state's rounding shows
    };
    for (const SCase& c : {SCase{16, 11025, 30000, 1}, SCase{16, 44100, 250000, 1}, SCase{24, 48000, 40000, 256}}) {
        const double scale = c.fDepth == 24 ? 8388608.0 : 32768.0;
        std::vector<int32_t> left(size_t(c.fFrames));
        std::vector<int32_t> right(size_t(c.fFrames));
        for (int32_t f = 0; f < c.fFrames; ++f) {
            left[size_t(f)] = int32_t(scale * (0.2 + 0.5 * std::sin(f * 0.05)));
            right[size_t(f)] = int32_t(scale * (f < c.fFrames / 2 ? -0.3 : 0.4));
        }
        auto document = MakeDocumentOf(MakeSampleOf(c.fDepth, left, right, c.fRate));
        CStoppingOperation operation;
        RemoveDC(*document, operation);
        for (int32_t channel = 1; channel <= 2; ++channel) {
            const std::vector<double> expected = ReferenceRemoveDC(channel == 1 ? left : right, scale, c.fRate);
            const std::vector<int32_t> actual = Values(document->GetWaveSample(), channel);
            double worst = 0.0;
            for (size_t n = 0; n < actual.size(); ++n) worst = std::max(worst, std::fabs(actual[n] - expected[n]));
            EXPECT_LE(worst, c.fTolerance) << c.fDepth << "-bit at " << c.fRate << " Hz, channel " << channel;
        }
    }
}

TEST(RemoveDCCommand, InPlaceGivesTheCommittedValuesAndItsStopsAreTheSame) {
    // Long enough for the two channels to run on two threads; the right channel steps, so
    // a mix-up of the channels or of the chunks shows.
    for (int32_t depth : {16, 24}) {
        SCOPED_TRACE(std::to_string(depth) + "-bit");
        constexpr int32_t kFrames = 3 * 65536 + 77;
        const double scale = depth == 24 ? 8388608.0 : 32768.0;
        std::vector<int32_t> left(static_cast<size_t>(kFrames));
        std::vector<int32_t> right(static_cast<size_t>(kFrames));
        for (int32_t f = 0; f < kFrames; ++f) {
            left[size_t(f)] = int32_t(scale * (0.1 + 0.6 * std::sin(f * 0.013)));
            right[size_t(f)] = int32_t(scale * (f % 20000 < 9000 ? -0.45 : 0.35));
        }
        auto document = MakeDocumentOf(MakeSampleOf(depth, left, right, 22050));
        CStoppingOperation committed;
        RemoveDC(*document, committed);
        auto sample = MakeSampleOf(depth, left, right, 22050);
        CStoppingOperation inPlace;
        RemoveDCInPlace(*sample, inPlace);
        for (int32_t channel = 1; channel <= 2; ++channel)
            EXPECT_EQ(Values(*sample, channel), Values(document->GetWaveSample(), channel)) << "channel " << channel;
        EXPECT_EQ(inPlace.GetCalls(), committed.GetCalls());

        CStoppingOperation stopping(2);
        EXPECT_THROW(RemoveDCInPlace(*MakeSampleOf(depth, left, right, 22050), stopping), NSMishap::XAbort);
    }
}

// ---- Crop Loop ----

TEST(CropLoopCommand, KeepsTheLoopFramesAndMovesTheSlicesInside) {
    for (int32_t depth : {16, 24}) {
        auto sample = NSQuilletTest::MakeSample(depth, 2, 8000);
        std::vector<int32_t> left = Values(*sample, 1);
        std::vector<int32_t> right = Values(*sample, 2);
        auto slices = std::make_unique<CSliceSequence>(sample.get());
        for (int32_t position : {0, 999, 1000, 2500, 4999, 5000, 7000})
            slices->InsertSlice(CSlice(position, 20000, position == 2500 ? ESliceKind::kMuted : ESliceKind::kNormal,
                                       position == 4999));
        slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
        auto document = MakeDocumentOf(std::move(sample), std::move(slices));
        NSQuilletTest::SetLocators(*document, 1000, 5000);
        ASSERT_TRUE(CanCropLoop(*document));

        CStoppingOperation operation;
        CropLoop(*document, operation);
        const CABCWaveSample& cropped = document->GetWaveSample();
        ASSERT_EQ(cropped.GetFrameCount(), 4000);
        EXPECT_TRUE(Values(cropped, 1) == std::vector<int32_t>(left.begin() + 1000, left.begin() + 5000));
        EXPECT_TRUE(Values(cropped, 2) == std::vector<int32_t>(right.begin() + 1000, right.begin() + 5000));
        EXPECT_EQ(cropped.GetLeftLocator(), 0);
        EXPECT_EQ(cropped.GetRightLocator(), 4000);
        const CSliceSequence& kept = document->GetSliceSequence();
        ASSERT_EQ(kept.GetSliceCount(), 3);
        EXPECT_EQ(kept.GetSlice(0)->GetPosition(), 0);
        EXPECT_EQ(kept.GetSlice(1)->GetPosition(), 1500);
        EXPECT_EQ(kept.GetSlice(1)->GetKind(), ESliceKind::kMuted);
        EXPECT_EQ(kept.GetSlice(2)->GetPosition(), 3999);
        EXPECT_TRUE(kept.GetSlice(2)->IsSelected());
        EXPECT_EQ(document->GetUndoName(), "Crop Loop");
        EXPECT_FALSE(CanCropLoop(*document));
    }
}

TEST(CropLoopCommand, ALoopWithoutSlicesGetsOneAtTheStart) {
    auto document = MakeDocumentOf(NSQuilletTest::MakeSample(16, 1, 3000));
    NSQuilletTest::SetLocators(*document, 10, 2000);
    CStoppingOperation operation;
    CropLoop(*document, operation);
    ASSERT_EQ(document->GetSliceSequence().GetSliceCount(), 1);
    EXPECT_EQ(document->GetSliceSequence().GetSlice(0)->GetPosition(), 0);
    EXPECT_EQ(document->GetSliceSequence().GetSlice(0)->GetLevel(), 16384);
}

TEST(CropLoopCommand, NothingToCropIsRefused) {
    struct SCase {
        int32_t fLeft;
        int32_t fRight;
    };
    for (const SCase& c : {SCase{0, 3000}, SCase{1500, 1500}}) {
        auto document = MakeDocumentOf(NSQuilletTest::MakeSample(16, 1, 3000));
        NSQuilletTest::SetLocators(*document, c.fLeft, c.fRight);
        EXPECT_FALSE(CanCropLoop(*document));
        const auto before = NSQuilletTest::TakeSnapshot(*document);
        CStoppingOperation operation;
        EXPECT_THROW(CropLoop(*document, operation), NSMishap::XStdLogicError);
        NSQuilletTest::ExpectSameState(*document, before, true);
    }
}

}  // namespace
}  // namespace NSQuillet
