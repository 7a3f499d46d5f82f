#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace NSQuilletTest {

inline constexpr int32_t kFourSliceFrames = 88200;  // 2 s at 44100 Hz

// Stereo 16-bit at 44100 Hz: a ramp from `base` on the left, its mirror on the right.
inline std::unique_ptr<NSQuillet::C16BitWaveSample> MakeRampSample(int16_t base = 0,
                                                                   int32_t frames = kFourSliceFrames) {
    auto sample = std::make_unique<NSQuillet::C16BitWaveSample>(44100, frames, true);
    for (int32_t frame = 0; frame < frames; ++frame) {
        sample->Set16(frame, int16_t(base + frame % 1000), 1);
        sample->Set16(frame, int16_t(base - frame % 1000), 2);
    }
    return sample;
}

// Four shown normal slices of level 20000, a quarter of the loop apart.
inline std::unique_ptr<NSQuillet::CSliceSequence> MakeFourSlices(const NSQuillet::CABCWaveSample* sample) {
    using namespace NSQuillet;
    auto slices = std::make_unique<CSliceSequence>(sample);
    for (int32_t position : {0, 22050, 44100, 66150}) slices->InsertSlice(CSlice(position, 20000, ESliceKind::kNormal));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    return slices;
}

// A document over MakeRampSample with MakeFourSlices: pasted when `path` is empty.
inline std::unique_ptr<NSQuillet::CQuilletDocument> MakeFourSliceDocument(
    const std::string& path = "", const NSQuillet::SDocumentSettings& settings = {}, int32_t knownTempo = 0) {
    using namespace NSQuillet;
    auto sample = MakeRampSample();
    auto slices = MakeFourSlices(sample.get());
    if (path.empty())
        return std::make_unique<CQuilletDocument>(std::move(sample), false, settings, knownTempo, std::move(slices));
    return std::make_unique<CQuilletDocument>(std::move(sample), NSDiskKit::CFileSpec::FromPath(path), settings,
                                              knownTempo, std::move(slices));
}

inline std::vector<int32_t> Positions(const NSQuillet::CQuilletDocument& document) {
    std::vector<int32_t> positions;
    for (const NSQuillet::CSlice& slice : document.GetSliceSequence().GetSlices())
        positions.push_back(slice.GetPosition());
    return positions;
}

}  // namespace NSQuilletTest
