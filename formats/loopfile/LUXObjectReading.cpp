#include "formats/loopfile/LUXObjectReading.h"

#include "engine/LoopSettings.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/loopfile/QuilletFile.h"

namespace NSQuillet {

namespace {

void ApplyPreviewSettings(const SLoopFileSettings& settings, CQuilletSequencer& sequencer) {
    sequencer.SetPitch(settings.fPitch);
    sequencer.SetGain(settings.fGain);
    sequencer.ChangeSampler([&](CQuilletSampler& sampler) {
        sampler.SetEnvelopeOn(settings.fEnvelopeOn);
        sampler.SetAttack(settings.fEnvelopeAttack);
        sampler.SetDecay(settings.fEnvelopeDecay);
        sampler.SetStretch(settings.fEnvelopeStretch);
        sampler.SetShaperOn(settings.fTransientShaperOn);
        sampler.SetShaperThreshold(settings.fTransientShaperThreshold);
        sampler.SetShaperRatio(settings.fTransientShaperRatio);
        sampler.SetShaperAttack(settings.fTransientShaperAttack);
        sampler.SetShaperRelease(settings.fTransientShaperRelease);
    });
    sequencer.ChangeEqualizer([&](CEqualizerEffect& equalizer) {
        equalizer.SetOn(settings.fEqualizerOn);
        equalizer.SetLowCut(settings.fEqualizerLowCut);
        equalizer.SetLowFrequency(settings.fEqualizerLowFrequency);
        equalizer.SetLowQ(settings.fEqualizerLowQ);
        equalizer.SetLowGain(settings.fEqualizerLowGain);
        equalizer.SetHighFrequency(settings.fEqualizerHighFrequency);
        equalizer.SetHighQ(settings.fEqualizerHighQ);
        equalizer.SetHighGain(settings.fEqualizerHighGain);
        equalizer.SetHighCut(settings.fEqualizerHighCut);
    });
}

}  // namespace

std::unique_ptr<CLUXObject> ReadLUXObject(std::shared_ptr<CMedia> media) {
    const CQuilletFile file(std::move(media));
    const SLoopFileSettings settings = file.ReadSettings();
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    // The slice lengths follow the overview, so it must exist before the slices are read.
    sample->BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    file.ReadSlices(*slices);

    CLoopSettings loop;
    loop.SetBars(settings.fBars);
    loop.SetBeats(settings.fBeats);
    loop.SetTimeSignatureNumerator(settings.fTimeSignatureNumerator);
    loop.SetTimeSignatureDenominator(settings.fTimeSignatureDenominator);
    loop.SetPreviewTempo(settings.fPreviewTempo);
    loop.SetSilenceSelected(settings.fSilenceSelected);
    auto object =
        std::make_unique<CLUXObject>(std::move(sample), std::move(slices), loop, settings.fExportSlicesSeparately);
    object->ChangeSequencer([&](CQuilletSequencer& sequencer) { ApplyPreviewSettings(settings, sequencer); });
    return object;
}

}  // namespace NSQuillet
