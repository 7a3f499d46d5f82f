#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/saving/DocumentSaving.h"
#include "engine/SliceSequence.h"
#include "tests/support/DistinctSettingGroups.h"
#include "tests/support/SoundFileTestSupport.h"

namespace NSQuilletTest {

// Five slices of every kind and selection over `sample`: normal, muted and selected, locked,
// normal and selected, locked and selected; gate 500, sensitivity 60.
inline std::unique_ptr<NSQuillet::CSliceSequence> MakeFiveSlicesOfEveryKind(const NSQuillet::CABCWaveSample& sample) {
    using namespace NSQuillet;
    const int32_t frames = sample.GetFrameCount();
    auto slices = std::make_unique<CSliceSequence>(&sample);
    const int32_t step = frames / 5;
    slices->InsertSlice(CSlice(0, 31000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(step, 12000, ESliceKind::kMuted, true));
    slices->InsertSlice(CSlice(2 * step + 7, 1, ESliceKind::kLocked));
    slices->InsertSlice(CSlice(3 * step + 1, 32767, ESliceKind::kNormal, true));
    slices->InsertSlice(CSlice(frames - 1, 16384, ESliceKind::kLocked, true));
    slices->SetGateSensitivity(500);
    slices->SetSensitivity(60);
    return slices;
}

// A pasted document over MakeSample's audio with MakeFiveSlicesOfEveryKind.
inline std::unique_ptr<NSQuillet::CQuilletDocument> MakeLoopDocument(int32_t depth, int32_t channels, int32_t frames,
                                                                     uint32_t rate = 44100,
                                                                     const NSQuillet::SDocumentSettings& settings = {}) {
    using namespace NSQuillet;
    auto sample = MakeSample(depth, channels, frames, rate);
    auto slices = MakeFiveSlicesOfEveryKind(*sample);
    return std::make_unique<CQuilletDocument>(std::move(sample), false, settings, 0, std::move(slices));
}

// Gives every setting a loop file keeps a value other than its default, each within what the
// file stores and loads unchanged.
inline void ChangeEverySetting(NSQuillet::CQuilletDocument& document) {
    using namespace NSQuillet;
    const int32_t frames = document.GetWaveSample().GetFrameCount();
    SDocumentParameters p = document.GetDocumentParameters();
    p.fExportSlicesSeparately = false;
    p.fLoop.SetSilenceSelected(true);
    p.fLoop.SetPreviewOn(true);
    p.fLoop.SetTimeSignatureNumerator(3);
    p.fLoop.SetTimeSignatureDenominator(8);
    p.fLoop.SetBars(2);
    p.fLoop.SetBeats(1);
    p.fPitch = -700;
    p.fLeftLocator = 100;
    p.fRightLocator = frames - 200;
    p.fEnvelope = DistinctEnvelope();
    document.PerformParametersChange(p, "Change Loop Length");
    // The first loop length took the loop's own tempo; now one of the user's.
    p = document.GetDocumentParameters();
    p.fLoop.SetPreviewTempo(97500);
    document.PerformParametersChange(p, "Change Preview Tempo");

    SEffectParameters e = document.GetEffectParameters();
    e.fProcessingGain = 1500;
    e.fTransientShaper = DistinctTransientShaper();
    e.fEqualizer = DistinctEqualizer();
    document.PerformEffectParametersChange(e, "Select Equalizer Preset");

    document.SetViewAndEditAttributes({kRulerUnits_Beats, kEditTool_Lock});
    document.SetWindowState(0x12345678u, 0xCAFEF00Du, 0x5A);
}

inline void ExpectSameSlices(const NSQuillet::CSliceSequence& actual, const NSQuillet::CSliceSequence& expected) {
    EXPECT_EQ(actual.GetSensitivity(), expected.GetSensitivity());
    EXPECT_EQ(actual.GetGateSensitivity(), expected.GetGateSensitivity());
    ASSERT_EQ(actual.GetSliceCount(), expected.GetSliceCount());
    for (int32_t i = 0; i < expected.GetSliceCount(); ++i) {
        const NSQuillet::CSlice& a = *actual.GetSlice(i);
        const NSQuillet::CSlice& e = *expected.GetSlice(i);
        EXPECT_EQ(a.GetPosition(), e.GetPosition()) << "slice " << i;
        EXPECT_EQ(a.GetLevel(), e.GetLevel()) << "slice " << i;
        EXPECT_EQ(a.GetKind(), e.GetKind()) << "slice " << i;
        EXPECT_EQ(a.IsSelected(), e.IsSelected()) << "slice " << i;
        EXPECT_EQ(a.GetLength(), e.GetLength()) << "slice " << i;
    }
}

inline void SaveAs(NSQuillet::CQuilletDocument& document, const std::string& path) {
    NSQuillet::CQuilletLengthyOperation operation("Save", true, nullptr);
    NSQuillet::SaveDocumentAs(document, NSDiskKit::CFileSpec::FromPath(path), operation);
}

inline void Save(NSQuillet::CQuilletDocument& document) {
    NSQuillet::CQuilletLengthyOperation operation("Save", true, nullptr);
    NSQuillet::SaveDocument(document, operation);
}

inline std::unique_ptr<NSQuillet::CQuilletDocument> Open(const std::string& path,
                                                         const NSQuillet::SDocumentSettings& settings = {}) {
    NSQuillet::CQuilletLengthyOperation operation("Open", true, nullptr);
    return NSQuillet::OpenDocument(path, settings, operation);
}

}  // namespace NSQuilletTest
