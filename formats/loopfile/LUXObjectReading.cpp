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
        sampler.SetEnvelope(settings.fEnvelope);
        sampler.SetTransientShaper(settings.fTransientShaper);
    });
    sequencer.ChangeEqualizer([&](CEqualizerEffect& equalizer) { equalizer.SetSettings(settings.fEqualizer); });
}

}  // namespace

std::unique_ptr<CLUXObject> ReadLUXObject(std::shared_ptr<CMedia> media, CLUX2DecompressCallback* callback) {
    const CQuilletFile file(std::move(media));
    const SLoopFileSettings settings = file.ReadSettings();
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(callback);
    // The slice lengths follow the overview, so it must exist before the slices are read.
    sample->BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    file.ReadSlices(*slices);

    auto object = std::make_unique<CLUXObject>(std::move(sample), std::move(slices), settings.fLoop,
                                               settings.fExportSlicesSeparately);
    object->ChangeSequencer([&](CQuilletSequencer& sequencer) { ApplyPreviewSettings(settings, sequencer); });
    return object;
}

}  // namespace NSQuillet
