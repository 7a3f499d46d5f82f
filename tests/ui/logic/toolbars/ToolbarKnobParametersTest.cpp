#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/resources/ResourceReference.h"
#include "engine/SliceSequence.h"
#include "tests/support/LoopDocumentFixture.h"
#include "ui/logic/toolbars/ToolbarKnobParameters.h"

namespace NSQuillet {
namespace {

std::string Text(int32_t entry) { return StringReference(entry).GetText(); }

TEST(ToolbarKnobParametersTest, EachKnobIsNamedAsItsToolbarShowsIt) {
    const struct {
        EToolbarKnob fKnob;
        const char* fTooltip;
        const char* fHeading;
        const char* fUndoName;
        const char* fObjectName;
    } rows[] = {
        {EToolbarKnob::kGateSensitivity, "Gate sensitivity", "Gate Sens", "Change Gate Sensitivity",
         "fGateSensitivityKnob"},
        {EToolbarKnob::kPitch, "Preview pitch", "Pitch", "Change Pitch", "fPitchKnob"},
        {EToolbarKnob::kProcessingGain, "Processing gain", "Gain", "Change Processing Gain", "fProcessingGainKnob"},
        {EToolbarKnob::kPreviewTempo, "Preview tempo", "Tempo", "Change Preview Tempo", "fPreviewTempoKnob"},
        {EToolbarKnob::kEnvelopeAttack, "Attack length", "Attack", "Change Envelope Attack", "fAttackKnob"},
        {EToolbarKnob::kEnvelopeDecay, "Decay length", "Decay", "Change Envelope Decay", "fDecayKnob"},
        {EToolbarKnob::kEnvelopeStretch, "Stretch amount", "Stretch", "Change Envelope Stretch", "fStretchKnob"},
        {EToolbarKnob::kShaperThreshold, "Threshold value", "Thrsh", "Change Transient Shaper Threshold",
         "fThresholdKnob"},
        {EToolbarKnob::kShaperRatio, "Ratio value", "Amount", "Change Transient Shaper Ratio", "fRatioKnob"},
        {EToolbarKnob::kShaperAttack, "Attack time", "Attack", "Change Transient Shaper Attack", "fAttackKnob"},
        {EToolbarKnob::kShaperRelease, "Release time", "Release", "Change Transient Shaper Release", "fReleaseKnob"},
        {EToolbarKnob::kLowCut, "Low cutoff", "Lo Cut", "Change Equalizer Low Cut", "fLowCutKnob"},
        {EToolbarKnob::kLowFrequency, "Low EQ frequency", "Lo", "Change Equalizer Low Freq", "fLowFreqKnob"},
        {EToolbarKnob::kLowGain, "Low gain", "G", "Change Equalizer Low Gain", "fLowGainKnob"},
        {EToolbarKnob::kLowQ, "Low Q value", "Q", "Change Equalizer Low Q", "fLowQKnob"},
        {EToolbarKnob::kHighFrequency, "High EQ frequency", "Hi", "Change Equalizer High Freq", "fHighFreqKnob"},
        {EToolbarKnob::kHighGain, "High gain", "G", "Change Equalizer High Gain", "fHighGainKnob"},
        {EToolbarKnob::kHighQ, "High Q value", "Q", "Change Equalizer High Q", "fHighQKnob"},
        {EToolbarKnob::kHighCut, "High cutoff", "Hi Cut", "Change Equalizer High Cut", "fHighCutKnob"},
    };
    static_assert(sizeof rows / sizeof rows[0] == kToolbarKnobCount, "every knob has a row");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fObjectName);
        const SToolbarKnobDescription& description = GetToolbarKnobDescription(row.fKnob);
        EXPECT_EQ(Text(description.fTooltip), row.fTooltip);
        EXPECT_EQ(Text(description.fHeading), row.fHeading);
        EXPECT_EQ(UndoText(description.fUndoName), row.fUndoName);
        EXPECT_EQ(std::string(description.fObjectName), row.fObjectName);
    }
}

// Each knob reads and writes its own field, and no other.
TEST(ToolbarKnobParametersTest, EachKnobWritesItsOwnFieldOnly) {
    using FField = std::function<int32_t(const SKnobParameters&)>;
    const struct {
        EToolbarKnob fKnob;
        int32_t fValue;
        FField fField;
    } rows[] = {
        {EToolbarKnob::kGateSensitivity, 321, [](auto& p) { return p.fGateSensitivity; }},
        {EToolbarKnob::kPitch, -1250, [](auto& p) { return p.fDocument.fPitch; }},
        {EToolbarKnob::kProcessingGain, 7000, [](auto& p) { return p.fEffects.fProcessingGain; }},
        {EToolbarKnob::kPreviewTempo, 98765, [](auto& p) { return p.fDocument.fLoop.GetPreviewTempo(); }},
        {EToolbarKnob::kEnvelopeAttack, 111, [](auto& p) { return p.fDocument.fEnvelope.fAttack; }},
        {EToolbarKnob::kEnvelopeDecay, 222, [](auto& p) { return p.fDocument.fEnvelope.fDecay; }},
        {EToolbarKnob::kEnvelopeStretch, 77, [](auto& p) { return p.fDocument.fEnvelope.fStretch; }},
        {EToolbarKnob::kShaperThreshold, 12, [](auto& p) { return p.fEffects.fTransientShaper.fThreshold; }},
        {EToolbarKnob::kShaperRatio, 13, [](auto& p) { return p.fEffects.fTransientShaper.fRatio; }},
        {EToolbarKnob::kShaperAttack, 14, [](auto& p) { return p.fEffects.fTransientShaper.fAttack; }},
        {EToolbarKnob::kShaperRelease, 515, [](auto& p) { return p.fEffects.fTransientShaper.fRelease; }},
        {EToolbarKnob::kLowCut, 4000, [](auto& p) { return p.fEffects.fEqualizer.fLowCut; }},
        {EToolbarKnob::kLowFrequency, 2000, [](auto& p) { return p.fEffects.fEqualizer.fLowFrequency; }},
        {EToolbarKnob::kLowGain, -17000, [](auto& p) { return p.fEffects.fEqualizer.fLowGain; }},
        {EToolbarKnob::kLowQ, 9000, [](auto& p) { return p.fEffects.fEqualizer.fLowQ; }},
        {EToolbarKnob::kHighFrequency, 15000, [](auto& p) { return p.fEffects.fEqualizer.fHighFrequency; }},
        {EToolbarKnob::kHighGain, 16000, [](auto& p) { return p.fEffects.fEqualizer.fHighGain; }},
        {EToolbarKnob::kHighQ, 600, [](auto& p) { return p.fEffects.fEqualizer.fHighQ; }},
        {EToolbarKnob::kHighCut, 150, [](auto& p) { return p.fEffects.fEqualizer.fHighCut; }},
    };
    const SKnobParameters defaults;
    for (const auto& row : rows) {
        SCOPED_TRACE(GetToolbarKnobDescription(row.fKnob).fObjectName);
        ASSERT_NE(row.fField(defaults), row.fValue);
        SKnobParameters changed = defaults;
        SetKnobValue(row.fKnob, row.fValue, changed);
        EXPECT_EQ(row.fField(changed), row.fValue);
        EXPECT_EQ(GetKnobValue(row.fKnob, changed), row.fValue);
        // Every other knob still reads its default.
        for (int32_t other = 0; other < kToolbarKnobCount; ++other) {
            const auto knob = EToolbarKnob(other);
            if (knob == row.fKnob) continue;
            EXPECT_EQ(GetKnobValue(knob, changed), GetKnobValue(knob, defaults)) << other;
        }
    }
}

TEST(ToolbarKnobParametersTest, TheDecayKnobsTopIsTheEndlessDecayAndValuesAreClampedToTheKnob) {
    const struct {
        const char* fCase;
        EToolbarKnob fKnob;
        int32_t fWritten;
        int32_t fParameter;  // what the document then holds
        int32_t fKnobValue;  // what the knob then shows
    } rows[] = {
        {"decay at the top", EToolbarKnob::kEnvelopeDecay, 750, 1023, 750},
        {"decay below the top", EToolbarKnob::kEnvelopeDecay, 749, 749, 749},
        {"decay under the knob's bottom", EToolbarKnob::kEnvelopeDecay, 10, 58, 58},
        {"pitch above +24 semitones", EToolbarKnob::kPitch, 3000, 2400, 2400},
        {"tempo under 20 BPM", EToolbarKnob::kPreviewTempo, 1000, 20000, 20000},
        {"high cut above 20 kHz", EToolbarKnob::kHighCut, 30000, 20000, 20000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fCase);
        SKnobParameters parameters;
        SetKnobValue(row.fKnob, row.fWritten, parameters);
        const int32_t held = row.fKnob == EToolbarKnob::kEnvelopeDecay ? parameters.fDocument.fEnvelope.fDecay
                             : row.fKnob == EToolbarKnob::kPitch       ? parameters.fDocument.fPitch
                             : row.fKnob == EToolbarKnob::kPreviewTempo
                                 ? parameters.fDocument.fLoop.GetPreviewTempo()
                                 : parameters.fEffects.fEqualizer.fHighCut;
        EXPECT_EQ(held, row.fParameter);
        EXPECT_EQ(GetKnobValue(row.fKnob, parameters), row.fKnobValue);
    }
    // An older file's decay below the knob's range shows at the knob's bottom.
    SKnobParameters old;
    old.fDocument.fEnvelope.fDecay = 30;
    EXPECT_EQ(GetKnobValue(EToolbarKnob::kEnvelopeDecay, old), 58);
}

class ChangeKnobValueTest : public ::testing::Test {
protected:
    std::unique_ptr<CQuilletDocument> fDocument = NSQuilletTest::MakeLoopDocument(16, 1, 88200);
};

TEST_F(ChangeKnobValueTest, ValuesOfOneGestureMergeIntoOneNamedStep) {
    const struct {
        EToolbarKnob fKnob;
        int32_t fFirst;
        int32_t fSecond;
        const char* fName;
    } rows[] = {
        {EToolbarKnob::kPitch, 100, 300, "Change Pitch"},
        {EToolbarKnob::kLowGain, -3000, -6000, "Change Equalizer Low Gain"},
        {EToolbarKnob::kGateSensitivity, 100, 200, "Change Gate Sensitivity"},
        {EToolbarKnob::kEnvelopeDecay, 400, 750, "Change Envelope Decay"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fName);
        const SKnobParameters before = CaptureKnobParameters(*fDocument);
        const std::string undoBefore = fDocument->GetUndoName();
        EXPECT_TRUE(ChangeKnobValue(*fDocument, row.fKnob, row.fFirst));
        EXPECT_TRUE(ChangeKnobValue(*fDocument, row.fKnob, row.fSecond));
        fDocument->CloseUndoStep();
        EXPECT_EQ(GetKnobValue(row.fKnob, CaptureKnobParameters(*fDocument)), row.fSecond);
        EXPECT_EQ(fDocument->GetUndoName(), row.fName);
        fDocument->Undo();
        EXPECT_EQ(GetKnobValue(row.fKnob, CaptureKnobParameters(*fDocument)), GetKnobValue(row.fKnob, before));
        EXPECT_EQ(fDocument->GetUndoName(), undoBefore);
        fDocument->Redo();
    }
    // The gate sensitivity lives in the slice sequence.
    EXPECT_EQ(fDocument->GetSliceSequence().GetGateSensitivity(), 200);
    EXPECT_EQ(fDocument->GetDocumentParameters().fEnvelope.fDecay, 1023);
}

TEST_F(ChangeKnobValueTest, AValueTheDocumentHoldsAlreadyMakesNoStep) {
    const int32_t pitch = fDocument->GetDocumentParameters().fPitch;
    EXPECT_FALSE(ChangeKnobValue(*fDocument, EToolbarKnob::kPitch, pitch));
    // The gate of MakeFiveSlicesOfEveryKind is 500.
    EXPECT_FALSE(ChangeKnobValue(*fDocument, EToolbarKnob::kGateSensitivity, 500));
    // The decay is endless: the knob's top is no change.
    EXPECT_FALSE(ChangeKnobValue(*fDocument, EToolbarKnob::kEnvelopeDecay, 750));
    EXPECT_FALSE(fDocument->CanUndo());
}

}  // namespace
}  // namespace NSQuillet
