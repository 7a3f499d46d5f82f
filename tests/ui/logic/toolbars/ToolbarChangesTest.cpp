#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/document/QuilletDocument.h"
#include "engine/SliceSequence.h"
#include "tests/support/LoopDocumentFixture.h"
#include "ui/logic/toolbars/ToolbarChanges.h"

namespace NSQuillet {
namespace {

SEffectPreset Preset(EPresetEffect effect, const char* name) {
    for (const SEffectPreset& preset : LoadEffectPresets(effect)) {
        if (preset.fName == name) return preset;
    }
    ADD_FAILURE() << "no preset " << name;
    return {};
}

// Two seconds of 44.1 kHz mono with five slices and no loop length.
class ToolbarChangesTest : public ::testing::Test {
protected:
    CLoopSettings Loop() const { return fDocument->GetDocumentParameters().fLoop; }
    size_t Steps() const { return fDocument->GetUndoHistory().GetPosition(); }

    std::unique_ptr<CQuilletDocument> fDocument = NSQuilletTest::MakeLoopDocument(16, 1, 88200);
};

TEST_F(ToolbarChangesTest, ZeroBeatsWithoutBarsGivesOneBarAsOneStep) {
    ChooseLoopBeats(*fDocument, 0);
    EXPECT_EQ(Loop().GetBars(), 1);
    EXPECT_EQ(Loop().GetBeats(), 0);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Loop Length");
    EXPECT_EQ(Steps(), 1u);
    ChooseLoopBeats(*fDocument, 3);
    EXPECT_EQ(Loop().GetBars(), 1);
    EXPECT_EQ(Loop().GetBeats(), 3);
    // Each choice is a step of its own, though the names are equal.
    EXPECT_EQ(Steps(), 2u);
    // Choosing what the loop has already is no step.
    ChooseLoopBeats(*fDocument, 3);
    SetLoopBars(*fDocument, 1);
    EXPECT_EQ(Steps(), 2u);
    SetLoopBars(*fDocument, 12);
    EXPECT_EQ(Loop().GetBars(), 12);
    fDocument->Undo();
    EXPECT_EQ(Loop().GetBars(), 1);
}

TEST_F(ToolbarChangesTest, TogglesAreStepsOfTheirOwnNamedAfterTheirControl) {
    TogglePreviewPlay(*fDocument);
    EXPECT_TRUE(Loop().IsPreviewOn());
    TogglePreviewPlay(*fDocument);
    EXPECT_FALSE(Loop().IsPreviewOn());
    EXPECT_EQ(Steps(), 2u);
    EXPECT_EQ(fDocument->GetUndoName(), "Toggle Preview Play");

    const struct {
        EPresetEffect fEffect;
        bool fOnAtFirst;
        const char* fName;
    } rows[] = {
        {EPresetEffect::kEnvelope, true, "Toggle Envelope On/Off"},
        {EPresetEffect::kTransientShaper, false, "Toggle Transient Shaper On/Off"},
        {EPresetEffect::kEqualizer, false, "Toggle Equalizer On/Off"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fName);
        EXPECT_EQ(IsEffectOn(*fDocument, row.fEffect), row.fOnAtFirst);
        EXPECT_EQ(ToggleEffect(*fDocument, row.fEffect), !row.fOnAtFirst);
        EXPECT_EQ(fDocument->GetUndoName(), row.fName);
        fDocument->Undo();
        EXPECT_EQ(IsEffectOn(*fDocument, row.fEffect), row.fOnAtFirst);
    }
}

TEST_F(ToolbarChangesTest, APresetSetsExactlyItsValuesAsOneStep) {
    // Everything else of the document stays: the switch and the other effects.
    ToggleEffect(*fDocument, EPresetEffect::kEqualizer);
    const SEffectParameters before = fDocument->GetEffectParameters();
    SelectEffectPreset(*fDocument, EPresetEffect::kTransientShaper,
                       Preset(EPresetEffect::kTransientShaper, "Pressurize"));
    SEffectParameters expected = before;
    expected.fTransientShaper.fThreshold = 0;
    expected.fTransientShaper.fRatio = 45;
    expected.fTransientShaper.fAttack = 18;
    expected.fTransientShaper.fRelease = 156;
    EXPECT_EQ(fDocument->GetEffectParameters(), expected);
    EXPECT_EQ(fDocument->GetUndoName(), "Select Transient Shaper Preset");

    SelectEffectPreset(*fDocument, EPresetEffect::kEnvelope, Preset(EPresetEffect::kEnvelope, "Fake Backwards"));
    const SEnvelopeSettings envelope = fDocument->GetDocumentParameters().fEnvelope;
    EXPECT_EQ(envelope, (SEnvelopeSettings{true, 243, 445, 0}));
    EXPECT_EQ(fDocument->GetUndoName(), "Select Envelope Preset");
    const size_t steps = Steps();
    // The same preset again changes nothing and makes no step.
    SelectEffectPreset(*fDocument, EPresetEffect::kEnvelope, Preset(EPresetEffect::kEnvelope, "Fake Backwards"));
    EXPECT_EQ(Steps(), steps);
    SelectEffectPreset(*fDocument, EPresetEffect::kEnvelope, Preset(EPresetEffect::kEnvelope, "Reset"));
    EXPECT_EQ(fDocument->GetDocumentParameters().fEnvelope, SEnvelopeSettings{});
    fDocument->Undo();
    EXPECT_EQ(fDocument->GetDocumentParameters().fEnvelope, envelope);
}

TEST_F(ToolbarChangesTest, TheSensitivityOfADragIsOneStepOnceClosed) {
    ChangeSensitivity(*fDocument, 61);
    ChangeSensitivity(*fDocument, 70);
    ChangeSensitivity(*fDocument, 150);  // clamped to 99
    fDocument->CloseUndoStep();
    EXPECT_EQ(fDocument->GetSliceSequence().GetSensitivity(), 99);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Sensitivity");
    EXPECT_EQ(Steps(), 1u);
    fDocument->Undo();
    EXPECT_EQ(fDocument->GetSliceSequence().GetSensitivity(), 60);
}

TEST_F(ToolbarChangesTest, TheTempoFieldsValueIsClampedIntoThePreviewRange) {
    SetLoopBars(*fDocument, 1);
    SetPreviewTempo(*fDocument, 999000);
    EXPECT_EQ(Loop().GetPreviewTempo(), 450000);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Preview Tempo");
}

TEST(ToolbarLoopTempoTest, TheLoopsOwnTempoComesFromItsBeatsOverTheLocators) {
    const struct {
        int32_t fLeft;
        int32_t fRight;
        uint32_t fRate;
        int32_t fBars;
        int32_t fBeats;
        int32_t fNumerator;
        int32_t fTempo;
        const char* fText;
        std::optional<int32_t> fReset;
    } rows[] = {
        // 4 beats in 88200 / 44100 = 2 s: 120 BPM.
        {0, 88200, 44100, 1, 0, 4, 120000, "120.000 BPM", 120000},
        // 2 × 3 beats in 66150 / 44100 = 1.5 s: 240 BPM.
        {22050, 88200, 44100, 2, 0, 3, 240000, "240.000 BPM", 240000},
        // 4 + 3 beats in 88200 / 48000 = 1.8375 s: 228.5714… BPM, to the nearest thousandth.
        {0, 88200, 48000, 1, 3, 4, 228571, "228.571 BPM", 228571},
        // 16 × 4 beats in 2 s: 1920 BPM, above what a loop file keeps (999.999) and the
        // preview takes (450).
        {0, 88200, 44100, 16, 0, 4, 999999, "999.999 BPM", 450000},
        // 1 beat in 88200 / 22050 = 4 s: 15 BPM, under the preview's 20.
        {0, 88200, 22050, 0, 1, 4, 15000, "15.000 BPM", 20000},
        {0, 88200, 44100, 0, 0, 4, 0, "none", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fText);
        SDocumentParameters parameters;
        parameters.fLeftLocator = row.fLeft;
        parameters.fRightLocator = row.fRight;
        parameters.fLoop.SetBars(row.fBars);
        parameters.fLoop.SetBeats(row.fBeats);
        parameters.fLoop.SetTimeSignatureNumerator(row.fNumerator);
        const int32_t tempo = GetLoopTempo(parameters, row.fRate);
        EXPECT_EQ(tempo, row.fTempo);
        EXPECT_EQ(FormatLoopTempoText(tempo), row.fText);
        EXPECT_EQ(GetTempoKnobResetValue(tempo), row.fReset);
    }
}

}  // namespace
}  // namespace NSQuillet
