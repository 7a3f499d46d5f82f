#pragma once

#include <memory>

#include "app/document/QuilletDocument.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace NSQuilletTest {

// One second of mono 16-bit audio: a short hit at the start and one locked slice at the very
// end sound; everything between them is silent and muted, so a gated preview plays nothing
// there. No loop length, no file.
inline std::unique_ptr<NSQuillet::CQuilletDocument> MakeMutedSilenceLoopDocument() {
    using namespace NSQuillet;
    constexpr int32_t kFrames = 44100;
    auto sample = std::make_unique<C16BitWaveSample>(44100, kFrames, false);
    for (int32_t i = 0; i < 400; ++i) sample->Set16(i, int16_t(i % 2 ? 20000 : -20000), 1);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(0, 30000, ESliceKind::kLocked));
    for (int32_t position : {15000, 20000, 25000}) slices->InsertSlice(CSlice(position, 30000, ESliceKind::kMuted));
    slices->InsertSlice(CSlice(kFrames - 1, 30000, ESliceKind::kLocked));
    slices->SetGateSensitivity(500);
    slices->UpdateSliceLengths();
    return std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
}

}  // namespace NSQuilletTest
