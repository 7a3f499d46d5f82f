#include "formats/loopfile/LUXObjectReading.h"

#include "engine/LoopSettings.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/loopfile/QuilletFile.h"

namespace NSQuillet {

std::unique_ptr<CLUXObject> ReadLUXObject(std::shared_ptr<CMedia> media) {
    const CQuilletFile file(std::move(media));
    const SLoopFileSettings settings = file.ReadSettings();
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    // The slice lengths follow the overview, so it must exist before the slices are read.
    sample->BuildPreview();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    file.ReadSlices(*slices);

    return std::make_unique<CLUXObject>(std::move(sample), std::move(slices), settings.fLoop,
                                        settings.fExportSlicesSeparately);
}

}  // namespace NSQuillet
