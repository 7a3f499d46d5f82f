#pragma once

#include <cstdint>
#include <memory>

#include "engine/16BitWaveSample.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "tools/DemoLoop.h"

namespace NSQuilletTest {

// The demo loop, sliced, as the editor previews it: 2 bars at 140 BPM with pitch, envelope,
// stretch, shaper and equalizer all on, at `outputRate`. The sequencer is not playing yet.
struct SDemoLoopPreview {
    std::unique_ptr<NSQuillet::C16BitWaveSample> fSample = NSQuillet::NSTools::SDemoLoop::Render();
    NSQuillet::CSliceSequence fSlices{fSample.get()};
    std::unique_ptr<NSQuillet::CQuilletSequencer> fSequencer;

    explicit SDemoLoopPreview(uint32_t outputRate) {
        using namespace NSQuillet;
        fSlices.Analyze(nullptr);
        fSlices.SetSensitivity(50);
        fSlices.SetGateSensitivity(300);
        fSequencer = std::make_unique<CQuilletSequencer>(fSample.get(), &fSlices, outputRate);
        fSequencer->SetBars(2);
        fSequencer->SetPreviewOn(true);
        fSequencer->SetPreviewTempo(140000);
        fSequencer->SetPitch(300);
        fSequencer->ChangeSampler([](CQuilletSampler& sampler) {
            sampler.SetEnvelopeOn(true);
            sampler.SetAttack(40);
            sampler.SetDecay(600);
            sampler.SetStretch(80);
            sampler.SetShaperOn(true);
        });
        fSequencer->ChangeEqualizer([](CEqualizerEffect& equalizer) {
            equalizer.SetOn(true);
            equalizer.SetLowGain(6000);
            equalizer.SetHighGain(-9000);
            equalizer.SetLowCut(60);
            equalizer.SetHighCut(12000);
        });
    }
};

}  // namespace NSQuilletTest
