#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/DSPTables.h"
#include "engine/QuilletSampler.h"
#include "tests/engine/AllocationFaults.h"

namespace NSQuillet {
namespace {

constexpr int32_t kBlock = CQuilletSampler::kBlockFrames;
constexpr float kScale = 0.8333333f;
using EStage = CQuilletSampler::EVoiceStage;

// Channel 1 holds value(frame) / 32768; a stereo channel 2 holds its negation.
std::unique_ptr<C16BitWaveSample> MakeSample(int32_t frames, const std::function<int32_t(int32_t)>& value,
                                             bool stereo = false, uint32_t rate = 44100) {
    auto sample = std::make_unique<C16BitWaveSample>(rate, frames, stereo);
    for (int32_t frame = 0; frame < frames; ++frame) {
        sample->Set16(frame, int16_t(value(frame)), 1);
        if (stereo) sample->Set16(frame, int16_t(-value(frame)), 2);
    }
    return sample;
}

// Frame i holds i / 32768.
std::unique_ptr<C16BitWaveSample> MakeRamp(int32_t frames, bool stereo = false, uint32_t rate = 44100) {
    return MakeSample(frames, [](int32_t frame) { return frame; }, stereo, rate);
}

// Every frame 0.5.
std::unique_ptr<C16BitWaveSample> MakeHalf(int32_t frames) {
    return MakeSample(frames, [](int32_t) { return 16384; });
}

struct SRendered {
    std::vector<float> fLeft;
    std::vector<float> fRight;
};

SRendered Render(CQuilletSampler& sampler, int32_t blocks) {
    SRendered out{std::vector<float>(size_t(blocks * kBlock)), std::vector<float>(size_t(blocks * kBlock))};
    for (int32_t b = 0; b < blocks; ++b) sampler.RenderBlock(out.fLeft.data() + b * kBlock, out.fRight.data() + b * kBlock);
    return out;
}

SPlayListEntry Entry(int32_t start, int32_t end, int32_t envelopeStart, int32_t envelopeEnd, float level = 1.0f) {
    return {start, end, envelopeStart, envelopeEnd, level};
}

CQuilletSampler::SVoiceState Voice(const CQuilletSampler& sampler, int32_t voice = 0) {
    return sampler.GetVoiceState(voice);
}

struct SAttackRow {
    uint32_t fRate;
    int32_t fBlocks;
};

TEST(QuilletSamplerEnvelope, AttackRisesByTheRiseTableEachBlockUntilItPassesOne) {
    const SAttackRow rows[] = {
        {44100, 732},  // T[600] = 1061.25 ms over 1.4512 ms blocks = 731.27: block 732 passes 1
        {96000, 1592}, // 1061.25 ms over 0.6667 ms blocks = 1591.88
    };
    for (const SAttackRow& row : rows) {
        SCOPED_TRACE(row.fRate);
        auto sample = MakeHalf(100);
        CQuilletSampler sampler(sample.get(), row.fRate);
        sampler.SetAttack(600);
        // The envelope end lies beyond every frame read, so the stretch never begins.
        sampler.StartSliceVoice(Entry(0, 200000, 0, 200000));
        EXPECT_EQ(Voice(sampler).fStage, EStage::kAttack);
        EXPECT_EQ(Voice(sampler).fLevel, 0.0f);
        const float rise = sampler.GetTables().GetRise(600);
        float expected = 0.0f;
        int32_t blocks = 0;
        float left[kBlock], right[kBlock];
        while (Voice(sampler).fStage == EStage::kAttack && blocks < 5000) {
            sampler.RenderBlock(left, right);
            ++blocks;
            expected += rise;
            if (expected <= 1.0f) {
                ASSERT_EQ(Voice(sampler).fLevel, expected) << blocks;
            }
        }
        EXPECT_EQ(blocks, row.fBlocks);
        EXPECT_EQ(Voice(sampler).fStage, EStage::kDecay);
        EXPECT_EQ(Voice(sampler).fLevel, 1.0f);
    }
}

TEST(QuilletSamplerEnvelope, DecayMultipliesByTheFallTableEachBlock) {
    auto sample = MakeHalf(100);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetAttack(0);
    sampler.SetDecay(300);
    sampler.StartSliceVoice(Entry(0, 100000, 0, 100000));
    EXPECT_EQ(Voice(sampler).fStage, EStage::kDecay);
    EXPECT_EQ(Voice(sampler).fLevel, 1.0f);
    const float fall = sampler.GetTables().GetFall(300);
    float expected = 1.0f;
    for (int32_t block = 1; block <= 42; ++block) {
        Render(sampler, 1);
        expected *= fall;
        ASSERT_EQ(Voice(sampler).fLevel, expected) << block;
    }
    // T[300] = 61.37 ms is 42.29 blocks: after 42 the level is 0.25^(42/42.29) = 0.2524.
    EXPECT_NEAR(Voice(sampler).fLevel, 0.2524f, 0.0005f);
}

TEST(QuilletSamplerEnvelope, EnvelopeOffIgnoresAttackAndDecay) {
    auto sample = MakeHalf(100);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetEnvelopeOn(false);
    sampler.SetAttack(600);
    sampler.SetDecay(300);
    sampler.StartSliceVoice(Entry(0, 100000, 0, 100000));
    EXPECT_EQ(Voice(sampler).fStage, EStage::kDecay);
    Render(sampler, 50);
    EXPECT_EQ(Voice(sampler).fLevel, 1.0f);
    EXPECT_TRUE(sampler.IsSounding());
}

TEST(QuilletSamplerEnvelope, ReleasedVoiceGlidesToSilenceInOneBlockThenIdles) {
    auto sample = MakeHalf(100000);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetEnvelopeOn(false);
    sampler.StartSliceVoice(Entry(0, 100000, 0, 100000));
    Render(sampler, 3);
    sampler.ReleaseAllVoices();
    EXPECT_EQ(Voice(sampler).fStage, EStage::kRelease);
    const SRendered release = Render(sampler, 1);
    // The gain glides from 0.8333333 toward 0.8333333 × F[0] (1.8e-9) in 64 equal steps.
    for (int32_t j = 0; j < kBlock; ++j) EXPECT_NEAR(release.fLeft[size_t(j)], 0.5f * kScale * (64 - j) / 64, 1e-6f) << j;
    EXPECT_FALSE(sampler.IsSounding());
    const SRendered after = Render(sampler, 1);
    EXPECT_EQ(after.fLeft, std::vector<float>(kBlock, 0.0f));
}

TEST(QuilletSamplerGain, AttackBlockRisesWithTheAttackSlopeAndHoldsAtTheTarget) {
    auto sample = MakeHalf(1000);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetAttack(21);
    sampler.StartSliceVoice(Entry(0, 1000, 0, 1000));
    const SRendered out = Render(sampler, 1);
    // R[21] = 1.4512 / 0.96348 = 1.50625 passes 1 in this block: target 1 × 0.8333333, slope
    // a = 1.50625 / 64 = 0.023535; 0.8333333 / a = 35.4, so frame 36 is the first at the target.
    const float slope = sampler.GetTables().GetRise(21) / 64;
    for (int32_t j = 0; j < 36; ++j) EXPECT_NEAR(out.fLeft[size_t(j)], 0.5f * slope * j, 1e-6f) << j;
    for (int32_t j = 36; j < kBlock; ++j) EXPECT_EQ(out.fLeft[size_t(j)], 0.5f * kScale) << j;
    EXPECT_EQ(Voice(sampler).fStage, EStage::kDecay);
    EXPECT_EQ(Voice(sampler).fGain, kScale);
}

TEST(QuilletSamplerGain, OutsideTheAttackOrWhenTheGlideIsSteeperTheGainMovesInEqualSteps) {
    struct SRow {
        bool fEnvelopeOn;
        int16_t fGain;
        float fTarget;
    } rows[] = {
        {false, 1000, kScale},                     // no attack stage: glide to 1 × 0.8333333
        {true, 32767, 1.0f * 32.767f * kScale},    // glide r = 27.3/64 exceeds a = 0.0235
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fGain);
        auto sample = MakeHalf(1000);
        CQuilletSampler sampler(sample.get(), 44100);
        sampler.SetEnvelopeOn(row.fEnvelopeOn);
        sampler.SetGain(row.fGain);
        sampler.StartSliceVoice(Entry(0, 1000, 0, 1000));
        const SRendered out = Render(sampler, 1);
        for (int32_t j = 0; j < kBlock; ++j)
            EXPECT_NEAR(out.fLeft[size_t(j)], 0.5f * row.fTarget * j / 64, 1e-5f * row.fTarget) << j;
        EXPECT_NEAR(Voice(sampler).fGain, row.fTarget, 1e-5f * row.fTarget);
    }
}

// Source frame read at traversal step k of a slice (0, 640) with turning points 600 and 640:
// 0..639 forward, then 639 down to 601 and 600 up to 639, and again.
int32_t BouncingFrame(int32_t k) {
    if (k < 640) return k;
    const int32_t m = (k - 640) % 79;
    return m < 39 ? 639 - m : 600 + (m - 39);
}

TEST(QuilletSamplerStretch, ASliceShorterThanItsGapReadsBackAndForthBetweenTheTurningPoints) {
    for (bool stereo : {false, true}) {
        SCOPED_TRACE(stereo ? "stereo" : "mono");
        auto sample = MakeRamp(2000, stereo);
        CQuilletSampler sampler(sample.get(), 44100);
        sampler.SetAttack(0);
        sampler.SetStretch(32767);
        sampler.StartSliceVoice(Entry(0, 640, 600, 640));
        const int32_t blocks = 40;
        const SRendered out = Render(sampler, blocks);
        EXPECT_TRUE(sampler.IsSounding());
        EXPECT_TRUE(Voice(sampler).fStretching);
        // s = 640 × 32768 / 100 = 209715; the fade A loses 1/209715 per frame read once the turn is reached.
        for (int32_t n = kBlock; n < blocks * kBlock; ++n) {
            const int32_t k = n + 2;  // output frame n is centred on traversal step n + 2
            const double fade = 1.0 - std::max(0, k - 640) / 209715.0;
            const double frame = out.fLeft[size_t(n)] * 32768.0 / (kScale * fade);
            ASSERT_EQ(std::lround(frame), BouncingFrame(k)) << "output frame " << n;
            ASSERT_EQ(out.fRight[size_t(n)], stereo ? -out.fLeft[size_t(n)] : out.fLeft[size_t(n)]) << n;
        }
    }
}

TEST(QuilletSamplerStretch, FadesOverTheStretchSpanPlusTheTailThenFallsSilent) {
    struct SRow {
        bool fEnvelopeOn;
        int16_t fStretch;
        int32_t fFadeFrames;
        int32_t fSilentAfter;
    } rows[] = {
        {true, 49, 640, 20},   // s = 640 × 50/100 = 320, plus 960 − 640: 10 blocks of fade
        {true, 99, 960, 25},   // s = 640, plus 320: 15 blocks
        {false, 49, 326, 16},  // envelope off: s = 640/100 = 6, plus 320: 5.1 blocks
        {true, -1000, 0, 11},  // s = 640 × −999/100 < 2 − 320: step 1, silent in the first block
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fEnvelopeOn << " " << row.fStretch);
        auto sample = MakeHalf(2000);
        CQuilletSampler sampler(sample.get(), 44100);
        sampler.SetEnvelopeOn(row.fEnvelopeOn);
        sampler.SetAttack(0);
        sampler.SetStretch(row.fStretch);
        sampler.StartSliceVoice(Entry(0, 960, 0, 640));
        // The first ten blocks read frames 0..639 unfaded.
        Render(sampler, 10);
        EXPECT_EQ(Voice(sampler).fFade, 1.0f);
        EXPECT_TRUE(Voice(sampler).fStretching);
        int32_t block = 10;
        while (sampler.IsSounding() && block < 100) {
            Render(sampler, 1);
            ++block;
            const int32_t faded = (block - 10) * kBlock;
            if (sampler.IsSounding()) {
                ASSERT_NEAR(Voice(sampler).fFade, 1.0 - double(faded) / row.fFadeFrames, 1e-5) << block;
            }
        }
        EXPECT_EQ(block, row.fSilentAfter);
        EXPECT_EQ(Render(sampler, 1).fLeft, std::vector<float>(kBlock, 0.0f));
    }
}

TEST(QuilletSamplerStretch, SlopeFactorFallsToTheEndLevelOnTheWayBackAndRisesAgain) {
    auto sample = MakeHalf(2000);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetAttack(0);
    sampler.SetStretch(32767);
    // End level 0.5 over turning points 600..640: B changes by (1 − 0.5)/40 = 0.0125 a frame.
    sampler.StartSliceVoice(Entry(0, 640, 600, 640, 0.5f));
    const SRendered out = Render(sampler, 14);
    auto slopeAt = [&](int32_t k) {
        const double fade = 1.0 - std::max(0, k - 640) / 209715.0;
        return out.fLeft[size_t(k - 2)] / (0.5 * kScale * fade);
    };
    EXPECT_NEAR(slopeAt(639), 1.0, 1e-5);     // before the turn
    EXPECT_NEAR(slopeAt(640), 1.0, 1e-5);     // frame 639 again, the first stretched read
    EXPECT_NEAR(slopeAt(641), 0.9875, 1e-5);  // 1 − 0.0125
    EXPECT_NEAR(slopeAt(679), 0.5125, 1e-5);  // frame 600: 1 − 39 × 0.0125
    EXPECT_NEAR(slopeAt(718), 1.0, 1e-5);     // frame 639 on the way forward: 0.5125 + 39 × 0.0125
    EXPECT_NEAR(slopeAt(719), 1.0125, 1e-5);  // and once more on turning back
}

TEST(QuilletSamplerVoices, EachStartTakesTheNextOfEightVoicesAndReleasesTheSoundingOnes) {
    auto sample = MakeHalf(20000);
    CQuilletSampler sampler(sample.get(), 44100);
    EXPECT_FALSE(sampler.IsSounding());
    EXPECT_EQ(sampler.GetSoundingSliceStart(), -1);
    for (int32_t i = 0; i < 9; ++i) {
        EXPECT_EQ(sampler.GetNextVoice(), i % 8);
        sampler.StartSliceVoice(Entry(1000 * i, 1000 * i + 500, 1000 * i, 1000 * i + 500));
        EXPECT_EQ(sampler.GetSoundingSliceStart(), 1000 * i);
        for (int32_t v = 0; v < 8; ++v) {
            const auto state = Voice(sampler, v);
            if (v == i % 8) {
                EXPECT_EQ(state.fStart, 1000 * i);
                EXPECT_EQ(state.fStage, EStage::kAttack);
            } else if (v < i) {
                EXPECT_EQ(state.fStage, EStage::kRelease) << v;
            } else {
                EXPECT_EQ(state.fStage, EStage::kIdle) << v;
            }
        }
    }
    EXPECT_EQ(sampler.GetNextVoice(), 1);
    // The released voices die within the block; the newest sounds on.
    Render(sampler, 1);
    for (int32_t v = 1; v < 8; ++v) EXPECT_EQ(Voice(sampler, v).fStage, EStage::kIdle) << v;
    EXPECT_EQ(Voice(sampler, 0).fStart, 8000);
    EXPECT_EQ(sampler.GetSoundingSliceStart(), 8000);
    sampler.SilenceAllVoices();
    EXPECT_FALSE(sampler.IsSounding());
    EXPECT_EQ(sampler.GetSoundingSliceStart(), -1);
}

TEST(QuilletSamplerVoices, ThePreviousVoiceFadesOutUnderTheNextSlice) {
    // 0.5 for frames below 5000, silence after.
    auto sample = MakeSample(10000, [](int32_t frame) { return frame < 5000 ? 16384 : 0; });
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetEnvelopeOn(false);
    sampler.StartSliceVoice(Entry(0, 5000, 0, 5000));
    Render(sampler, 3);
    sampler.StartSliceVoice(Entry(6000, 9000, 6000, 9000));
    const SRendered out = Render(sampler, 1);
    for (int32_t j = 0; j < kBlock; ++j) EXPECT_NEAR(out.fLeft[size_t(j)], 0.5f * kScale * (64 - j) / 64, 1e-6f) << j;
    EXPECT_EQ(Voice(sampler, 0).fStage, EStage::kIdle);
    EXPECT_EQ(Voice(sampler, 1).fStage, EStage::kDecay);
}

struct SPitchRow {
    int16_t fCents;
    uint32_t fSampleRate;
    double fFramesPerOutput;
    double fTolerance;
};

TEST(QuilletSamplerPitch, PitchAndRatesSetTheSourceFramesReadPerOutputFrame) {
    const SPitchRow rows[] = {
        {0, 44100, 1.0, 1e-3},
        {1200, 44100, 2.0, 1e-3},       // step 32768
        {-1200, 44100, 0.5, 1e-3},      // step 8192: phases 0 and 128
        {2400, 44100, 4.0, 1e-3},
        {0, 22050, 0.5, 1e-3},          // rate ratio 1/2
        {0, 88200, 2.0, 1e-3},          // rate ratio 2
        {1200, 22050, 1.0, 1e-3},
        {100, 44100, 17358.0 / 16384, 0.02},  // P[13000] = 17358, arbitrary phases
    };
    for (const SPitchRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fCents << " cents from " << row.fSampleRate);
        auto sample = MakeRamp(2000, false, row.fSampleRate);
        CQuilletSampler sampler(sample.get(), 44100);
        sampler.SetEnvelopeOn(false);
        sampler.SetPitch(row.fCents);
        sampler.StartSliceVoice(Entry(0, 2000, 0, 2000));
        const SRendered out = Render(sampler, 3);
        // After the first block the gain is 0.8333333; output n stands for source point 2 + n × rate.
        for (int32_t n = kBlock; n < 3 * kBlock; ++n)
            ASSERT_NEAR(out.fLeft[size_t(n)] * 32768.0 / kScale, 2.0 + n * row.fFramesPerOutput, row.fTolerance) << n;
    }
}

TEST(QuilletSamplerPitch, ExtremeStepsAreClampedAndStayInsideTheSourceBuffers) {
    // 1000000 Hz played at 11025 Hz, four octaves and more up: the step is clamped to 1048576,
    // 64 × 1048576 / 16384 = 4096 frames a block.
    auto fast = MakeRamp(20000, true, 1000000);
    CQuilletSampler sampler(fast.get(), 11025);
    sampler.SetPitch(32767);
    sampler.SetEnvelopeOn(false);
    sampler.StartSliceVoice(Entry(0, 20000, 0, 20000));
    SRendered out = Render(sampler, 1);
    EXPECT_EQ(Voice(sampler).fPosition, 4096);
    EXPECT_EQ(Voice(sampler).fPhase, 0);
    Render(sampler, 1);
    EXPECT_EQ(Voice(sampler).fPosition, 8192);
    for (float value : out.fLeft) EXPECT_TRUE(std::isfinite(value));

    // The lowest pitch step is 10: 640/16384 of a frame a block, one frame after 26 blocks.
    auto slow = MakeRamp(100);
    CQuilletSampler crawling(slow.get(), 44100);
    crawling.SetPitch(-32768);
    crawling.StartSliceVoice(Entry(0, 100, 0, 100));
    Render(crawling, 25);
    EXPECT_EQ(Voice(crawling).fPosition, 0);  // 25 × 640 = 16000 < 16384
    Render(crawling, 1);
    EXPECT_EQ(Voice(crawling).fPosition, 1);  // 26 × 640 = 16640
    EXPECT_EQ(Voice(crawling).fPhase, 256);
}

TEST(QuilletSamplerRaw, LoopingRawVoiceWrapsFromTheEndToTheLoopStart) {
    auto sample = MakeRamp(1000);
    CQuilletSampler sampler(sample.get(), 44100);
    // Raw playback ignores the preview's pitch, gain, envelope and shaper.
    sampler.SetPitch(1200);
    sampler.SetGain(500);
    sampler.SetShaperOn(true);
    sampler.SetAttack(600);
    sampler.StartRawVoice(100, 300, 100, true);
    const SRendered out = Render(sampler, 10);
    // The first block glides from 0 to 0.8333333.
    for (int32_t n = 0; n < kBlock; ++n)
        ASSERT_NEAR(out.fLeft[size_t(n)], (102 + n) / 32768.0f * kScale * n / 64, 1e-6f) << n;
    for (int32_t n = kBlock; n < 10 * kBlock; ++n)
        ASSERT_EQ(std::lround(out.fLeft[size_t(n)] * 32768.0 / kScale), 100 + (n + 2) % 200) << n;
    EXPECT_TRUE(sampler.IsSounding());
    EXPECT_EQ(sampler.GetSoundingSliceStart(), 100);
}

TEST(QuilletSamplerRaw, RawVoiceStopsAtItsEnd) {
    auto sample = MakeRamp(1000);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.StartRawVoice(100, 300, 100, false);
    Render(sampler, 1);
    const SRendered out = Render(sampler, 2);  // output frames 64..191: source 166..293
    for (int32_t i = 0; i < 2 * kBlock; ++i)
        ASSERT_EQ(std::lround(out.fLeft[size_t(i)] * 32768.0 / kScale), 166 + i) << i;
    EXPECT_TRUE(sampler.IsSounding());
    // The fourth block reads past frame 300 (100 + 4 × 64 = 356): frames from 300 on are silence.
    const SRendered last = Render(sampler, 1);
    for (int32_t i = 0; i < kBlock; ++i) {
        const int32_t frame = 294 + i;
        if (frame < 300) {
            EXPECT_EQ(std::lround(last.fLeft[size_t(i)] * 32768.0 / kScale), frame) << i;
        } else {
            EXPECT_EQ(last.fLeft[size_t(i)], 0.0f) << i;
        }
    }
    EXPECT_FALSE(sampler.IsSounding());
}

struct SShaperRow {
    int16_t fThreshold;
    int16_t fRatio;
    int16_t fRelease;
    float fGain;
};

TEST(QuilletSamplerShaper, ShaperGainFollowsThresholdRatioAndFollower) {
    // The follower starts at 1.0 (shaper attack 0); release 1023 keeps it there, release 0
    // drops it to 1.8e-9 in the first block, below every threshold.
    const SShaperRow rows[] = {
        {0, 127, 1023, 0.4997501f},  // 1 / (1 − 1 + 2 × 1 × 1 + 0.001)
        {0, 127, 0, 47.619048f},     // t = 0.01: 1 / (0.02 + 0.001)
        {256, 127, 0, 0.4948046f},   // t = 1.01: 1 / (2.02 + 0.001)
        {77, 39, 1023, 0.7644754f},  // r = 39/127: 1 / (1 + 0.3070866 + 0.001)
        {77, 0, 0, 0.9990010f},      // r = 0: 1 / 1.001
        {0, 300, 0, 47.619048f},     // a ratio above 127 counts as 127
        {0, -50, 0, 0.9990010f},     // and below 0 as 0
    };
    for (const SShaperRow& row : rows) {
        SCOPED_TRACE(testing::Message() << row.fThreshold << " " << row.fRatio << " " << row.fRelease);
        auto sample = MakeHalf(10000);
        CQuilletSampler sampler(sample.get(), 44100);
        sampler.SetEnvelopeOn(false);
        sampler.SetShaperOn(true);
        sampler.SetShaperThreshold(row.fThreshold);
        sampler.SetShaperRatio(row.fRatio);
        sampler.SetShaperAttack(0);
        sampler.SetShaperRelease(row.fRelease);
        sampler.StartSliceVoice(Entry(0, 10000, 0, 10000));
        const SRendered out = Render(sampler, 3);
        float smallest = 0, largest = 0;
        sampler.GetGainMeter(smallest, largest);
        EXPECT_NEAR(smallest, row.fGain, 1e-5f * row.fGain);
        EXPECT_NEAR(largest, row.fGain, 1e-5f * row.fGain);
        EXPECT_NEAR(out.fLeft[size_t(3 * kBlock - 1)], 0.5f * kScale * row.fGain, 1e-5f * row.fGain);
        // Nothing measured since the last read.
        sampler.GetGainMeter(smallest, largest);
        EXPECT_EQ(smallest, 1.0f);
        EXPECT_EQ(largest, 1.0f);
    }
}

TEST(QuilletSamplerShaper, MeterKeepsTheSmallestAndLargestGainSinceTheLastRead) {
    auto sample = MakeHalf(100000);
    CQuilletSampler sampler(sample.get(), 44100);
    sampler.SetEnvelopeOn(false);
    sampler.StartSliceVoice(Entry(0, 100000, 0, 100000));
    Render(sampler, 5);
    float smallest = 0, largest = 0;
    sampler.GetGainMeter(smallest, largest);
    EXPECT_EQ(smallest, 1.0f);  // shaper off: nothing measured
    EXPECT_EQ(largest, 1.0f);

    sampler.SetShaperOn(true);
    sampler.SetShaperThreshold(0);
    sampler.SetShaperRatio(127);
    sampler.SetShaperAttack(193);
    sampler.SetShaperRelease(1023);
    sampler.StartSliceVoice(Entry(0, 100000, 0, 100000));
    Render(sampler, 40);
    sampler.GetGainMeter(smallest, largest);
    // The follower rises from 0 by R[193] a block to 1.0: the first block is the largest gain.
    const float rise = sampler.GetTables().GetRise(193);
    EXPECT_NEAR(largest, 1.0f / (2.0f * rise + 0.001f), 1e-4f);
    EXPECT_NEAR(smallest, 0.4997501f, 1e-6f);  // 1 / 2.001 once the follower reaches 1.0
}

TEST(QuilletSamplerRealTime, VoiceOperationsAndRenderingNeverAllocate) {
    auto sample = MakeRamp(30000, true);
    CQuilletSampler sampler(sample.get(), 48000);
    sampler.SetShaperOn(true);
    sampler.SetPitch(700);
    float left[kBlock], right[kBlock];
    const size_t before = NSQuilletTest::GetThreadAllocationCount();
    for (int32_t i = 0; i < 20; ++i) {
        sampler.StartSliceVoice(Entry(1000 * i, 1000 * i + 600, 1000 * i + 300, 1000 * i + 400, 0.7f));
        for (int32_t b = 0; b < 10; ++b) sampler.RenderBlock(left, right);
    }
    sampler.StartRawVoice(0, 30000, 100, true);
    sampler.RenderBlock(left, right);
    sampler.ReleaseAllVoices();
    sampler.RenderBlock(left, right);
    sampler.SilenceAllVoices();
    EXPECT_EQ(NSQuilletTest::GetThreadAllocationCount(), before);
}

TEST(QuilletSampler, CopyKeepsTheSettingsWithEveryVoiceIdle) {
    auto sample = MakeHalf(1000);
    CQuilletSampler sampler(sample.get(), 96000);
    sampler.SetPitch(-300);
    sampler.SetGain(1500);
    sampler.SetEnvelopeOn(false);
    sampler.SetAttack(5);
    sampler.SetDecay(6);
    sampler.SetStretch(7);
    sampler.SetShaperOn(true);
    sampler.SetShaperThreshold(8);
    sampler.SetShaperRatio(9);
    sampler.SetShaperAttack(10);
    sampler.SetShaperRelease(11);
    sampler.StartSliceVoice(Entry(0, 1000, 0, 1000));
    const CQuilletSampler copy(sampler);
    EXPECT_EQ(copy.GetWaveSample(), sample.get());
    EXPECT_EQ(copy.GetOutputRate(), 96000u);
    EXPECT_EQ(copy.GetPitch(), -300);
    EXPECT_EQ(copy.GetGain(), 1500.0f);
    EXPECT_FALSE(copy.IsEnvelopeOn());
    EXPECT_EQ(copy.GetAttack(), 5);
    EXPECT_EQ(copy.GetDecay(), 6);
    EXPECT_EQ(copy.GetStretch(), 7);
    EXPECT_TRUE(copy.IsShaperOn());
    EXPECT_EQ(copy.GetShaperThreshold(), 8);
    EXPECT_EQ(copy.GetShaperRatio(), 9);
    EXPECT_EQ(copy.GetShaperAttack(), 10);
    EXPECT_EQ(copy.GetShaperRelease(), 11);
    EXPECT_TRUE(sampler.IsSounding());
    EXPECT_FALSE(copy.IsSounding());
}

TEST(QuilletSampler, DefaultsAndRateClamp) {
    CQuilletSampler sampler(nullptr, 4000);
    EXPECT_EQ(sampler.GetOutputRate(), 11025u);
    EXPECT_EQ(sampler.GetTables().GetOutputRate(), 11025u);
    EXPECT_EQ(sampler.GetPitch(), 0);
    EXPECT_EQ(sampler.GetGain(), 1000.0f);
    EXPECT_TRUE(sampler.IsEnvelopeOn());
    EXPECT_EQ(sampler.GetAttack(), 21);
    EXPECT_EQ(sampler.GetDecay(), 1023);
    EXPECT_EQ(sampler.GetStretch(), 40);
    EXPECT_FALSE(sampler.IsShaperOn());
    EXPECT_EQ(sampler.GetShaperThreshold(), 77);
    EXPECT_EQ(sampler.GetShaperRatio(), 39);
    EXPECT_EQ(sampler.GetShaperAttack(), 193);
    EXPECT_EQ(sampler.GetShaperRelease(), 350);
    sampler.SetOutputRate(2000000);
    EXPECT_EQ(sampler.GetOutputRate(), 1000000u);
    // Without a sample the voices read silence.
    sampler.StartSliceVoice(Entry(0, 1000, 0, 1000));
    EXPECT_EQ(Render(sampler, 3).fLeft, std::vector<float>(3 * kBlock, 0.0f));
}

TEST(QuilletSamplerRobustness, RandomEntriesAndSettingsGiveFiniteOutput) {
    std::mt19937 random(77);
    auto pick = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
    const float levels[] = {0.0f, 1.0f, 0.3f, 40000.0f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(), -2.0f};
    for (int32_t trial = 0; trial < 30; ++trial) {
        const int32_t frames = pick(0, 6000);
        auto sample = MakeSample(frames, [&](int32_t) { return pick(-32768, 32767); }, trial % 2 == 1,
                                 uint32_t(pick(1000, 2000000)));
        CQuilletSampler sampler(sample.get(), uint32_t(pick(1000, 2000000)));
        float left[kBlock], right[kBlock];
        for (int32_t event = 0; event < 20; ++event) {
            sampler.SetPitch(int16_t(pick(-32768, 32767)));
            sampler.SetGain(int16_t(pick(-32768, 32767)));
            sampler.SetEnvelopeOn(pick(0, 1) == 1);
            sampler.SetAttack(int16_t(pick(-100, 1200)));
            sampler.SetDecay(int16_t(pick(-100, 1200)));
            sampler.SetStretch(int16_t(pick(-32768, 32767)));
            sampler.SetShaperOn(pick(0, 1) == 1);
            sampler.SetShaperThreshold(int16_t(pick(-32768, 32767)));
            sampler.SetShaperRatio(int16_t(pick(-32768, 32767)));
            sampler.SetShaperAttack(int16_t(pick(-100, 1200)));
            sampler.SetShaperRelease(int16_t(pick(-100, 1200)));
            const int32_t a = pick(-1000, 7000), b = pick(-1000, 7000), c = pick(-1000, 7000), d = pick(-1000, 7000);
            if (pick(0, 4) == 0) sampler.StartRawVoice(a, b, c, pick(0, 1) == 1);
            else sampler.StartSliceVoice(Entry(a, b, c, d, levels[pick(0, 6)]));
            for (int32_t block = pick(1, 30); block > 0; --block) {
                sampler.RenderBlock(left, right);
                for (int32_t j = 0; j < kBlock; ++j)
                    ASSERT_TRUE(std::isfinite(left[j]) && std::isfinite(right[j])) << "trial " << trial << " event " << event;
            }
        }
    }
}

}  // namespace
}  // namespace NSQuillet
