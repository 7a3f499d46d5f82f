#include <gtest/gtest.h>

#include <memory>

#include "app/document/QuilletDocument.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/SteppedAudioOutput.h"

namespace {

using namespace NSQuillet;
using NSQuilletTest::SSteppedAudioOutput;

using FEdit = void (*)(SDocumentParameters&, SEffectParameters&);

// One closed step of whatever `edit` changes; none changes nothing.
void Apply(CQuilletDocument& document, FEdit edit) {
    if (!edit) return;
    SDocumentParameters parameters = document.GetDocumentParameters();
    SEffectParameters effects = document.GetEffectParameters();
    edit(parameters, effects);
    if (parameters != document.GetDocumentParameters()) document.PerformParametersChange(parameters, "Change");
    if (effects != document.GetEffectParameters()) document.PerformEffectParametersChange(effects, "Change");
    document.CloseUndoStep();
}

// Two outputs play the demo loop's preview in lockstep; one document takes a change between two
// pieces. Everything before the change must agree to the bit, and the change must be heard
// within the next piece: the render path takes a parameter at its next 64-frame block and
// holds no more than one 256-frame piece ahead.
TEST(ParameterLatency, AChangeMadeBetweenPiecesIsHeardInTheNextPiece) {
    struct SRow {
        const char* fName;
        FEdit fSetUp;
        FEdit fChange;
    };
    const SRow rows[] = {
        {"processing gain", nullptr, [](SDocumentParameters&, SEffectParameters& e) { e.fProcessingGain = 500; }},
        {"pitch", nullptr, [](SDocumentParameters& p, SEffectParameters&) { p.fPitch = 700; }},
        {"envelope decay", nullptr, [](SDocumentParameters& p, SEffectParameters&) { p.fEnvelope.fDecay = 100; }},
        {"shaper ratio", [](SDocumentParameters&, SEffectParameters& e) { e.fTransientShaper.fOn = true; },
         [](SDocumentParameters&, SEffectParameters& e) { e.fTransientShaper.fRatio = 127; }},
        {"equalizer low gain", [](SDocumentParameters&, SEffectParameters& e) { e.fEqualizer.fOn = true; },
         [](SDocumentParameters&, SEffectParameters& e) { e.fEqualizer.fLowGain = 18000; }},
        {"equalizer switch", nullptr,
         [](SDocumentParameters&, SEffectParameters& e) {
             e.fEqualizer.fOn = true;
             e.fEqualizer.fHighCut = 200;
         }},
    };
    // Far enough into the loop that a slice sounds when the change comes (the demo loop's first
    // hit is at frame 0).
    constexpr int32_t kPiecesBefore = 20;
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        SSteppedAudioOutput plain;
        SSteppedAudioOutput changed;
        auto plainDocument = NSQuilletTest::MakeDemoLoopDocument(2, plain.Settings());
        auto changedDocument = NSQuilletTest::MakeDemoLoopDocument(2, changed.Settings());
        Apply(*plainDocument, row.fSetUp);
        Apply(*changedDocument, row.fSetUp);
        plainDocument->PlayLoop();
        changedDocument->PlayLoop();
        plain.RenderPieces(kPiecesBefore);
        changed.RenderPieces(kPiecesBefore);
        ASSERT_EQ(plain.fRecording, changed.fRecording);
        Apply(*changedDocument, row.fChange);
        plain.RenderPieces(2);
        changed.RenderPieces(2);
        const int64_t changeFrame = int64_t(kPiecesBefore) * SSteppedAudioOutput::kPieceFrames;
        const int64_t heard = NSQuilletTest::FirstDifferingFrame(plain.fRecording, changed.fRecording);
        EXPECT_GE(heard, changeFrame);
        EXPECT_LT(heard, changeFrame + SSteppedAudioOutput::kPieceFrames);
        plain.Close();
        changed.Close();
    }
}

// A device asking for less than a piece gets the rest of a piece already computed: a change
// is heard from the next piece the renderer computes, never later.
TEST(ParameterLatency, SmallCallbacksHearAChangeAtTheNextPieceBoundary) {
    SSteppedAudioOutput plain;
    SSteppedAudioOutput changed;
    auto plainDocument = NSQuilletTest::MakeDemoLoopDocument(2, plain.Settings());
    auto changedDocument = NSQuilletTest::MakeDemoLoopDocument(2, changed.Settings());
    plainDocument->PlayLoop();
    changedDocument->PlayLoop();
    // 20 pieces and 100 frames into the 21st: the rest of that piece is already computed.
    for (SSteppedAudioOutput* output : {&plain, &changed}) {
        output->RenderPieces(20);
        output->Render(100);
    }
    Apply(*changedDocument, [](SDocumentParameters&, SEffectParameters& e) { e.fProcessingGain = 0; });
    for (SSteppedAudioOutput* output : {&plain, &changed}) {
        for (int i = 0; i < 8; ++i) output->Render(64);
    }
    const int64_t heard = NSQuilletTest::FirstDifferingFrame(plain.fRecording, changed.fRecording);
    // 21 × 256 = 5376: the first piece computed after the change, in its first 64-frame block
    // (the gain glides there from its old value).
    EXPECT_GE(heard, 5376);
    EXPECT_LT(heard, 5376 + 64);
    plain.Close();
    changed.Close();
}

}  // namespace
