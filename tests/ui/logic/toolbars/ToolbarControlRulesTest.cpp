#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/document/ViewAndEditAttributes.h"
#include "ui/logic/toolbars/ToolbarControlRules.h"
#include "ui/logic/toolbars/ToolbarRows.h"

namespace NSQuillet {
namespace {

TEST(ToolbarControlRulesTest, TheBarsFieldTakesUpToThreeDigitsOnly) {
    const struct {
        const char* fText;
        std::optional<int32_t> fBars;
    } rows[] = {
        {"0", 0},       {"7", 7},          {"999", 999},       {"007", 7},         {"1000", std::nullopt},
        {"", std::nullopt}, {"1a", std::nullopt}, {" 2", std::nullopt}, {"-1", std::nullopt}, {"+3", std::nullopt},
        {"2.5", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseBarsText(row.fText), row.fBars) << '"' << row.fText << '"';
}

TEST(ToolbarControlRulesTest, ZeroBeatsWithZeroBarsGivesOneBar) {
    const struct {
        SLoopLength fCurrent;
        int32_t fBeats;
        SLoopLength fResult;
    } rows[] = {
        {{0, 0}, 0, {1, 0}},
        {{0, 3}, 0, {1, 0}},
        {{2, 1}, 0, {2, 0}},
        {{0, 0}, 3, {0, 3}},
        {{5, 2}, 7, {5, 7}},
    };
    for (const auto& row : rows) {
        const SLoopLength result = ChooseBeats(row.fCurrent, row.fBeats);
        EXPECT_EQ(result, row.fResult) << row.fCurrent.fBars << "+" << row.fCurrent.fBeats << " choose " << row.fBeats;
    }
}

TEST(ToolbarControlRulesTest, TimeSignatureItemsAreNumeratorsOverDenominators) {
    const std::vector<STimeSignature> expected = {{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 8}, {7, 8}};
    EXPECT_EQ(GetTimeSignatureItems(), expected);
    EXPECT_EQ(FindTimeSignatureItem(expected, {6, 8}), 4);
    EXPECT_EQ(FindTimeSignatureItem(expected, {2, 4}), 0);
    // A signature a loop file may hold but the popup does not offer.
    EXPECT_EQ(FindTimeSignatureItem(expected, {3, 8}), std::nullopt);
    EXPECT_EQ(FormatTimeSignature({12, 8}), "12/8");
    // Malformed items are left out, the others kept in order.
    EXPECT_EQ(ParseTimeSignatureItems("4/4;x;/8;3/;0/4;12/8; 5 / 4 "),
              (std::vector<STimeSignature>{{4, 4}, {12, 8}, {5, 4}}));
    EXPECT_EQ(SplitItems("Time;Samples;Beats"), (std::vector<std::string>{"Time", "Samples", "Beats"}));
}

TEST(ToolbarControlRulesTest, ThePreviewTempoFieldShowsThreeDecimalsAndTakesCommaOrPoint) {
    EXPECT_EQ(FormatPreviewTempoText(140000), "140.000 BPM");
    EXPECT_EQ(FormatPreviewTempoText(20000), "20.000 BPM");
    EXPECT_EQ(FormatPreviewTempoText(123456), "123.456 BPM");
    EXPECT_EQ(FormatPreviewTempoText(450000), "450.000 BPM");

    const struct {
        const char* fText;
        std::optional<int32_t> fTempo;
    } rows[] = {
        {"120", 120000},
        {"120,5", 120500},
        {"97.25 BPM", 97250},
        {" 88 bpm ", 88000},
        {".5e", std::nullopt},
        {"123.4567", 123457},  // rounded to thousandths: .4567 → .457
        {"999", 450000},       // clamped to the top
        {"450.0004", 450000},
        {"5", 20000},          // clamped to the bottom
        {"-3", 20000},
        {"140.", 140000},
        {",75", 20000},
        {"", std::nullopt},
        {"BPM", std::nullopt},
        {"abc", std::nullopt},
        {"1e3", std::nullopt},
        {"0x20", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1.2.3", std::nullopt},
        {"12 34", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(ParsePreviewTempoText(row.fText), row.fTempo) << '"' << row.fText << '"';
}

TEST(ToolbarControlRulesTest, PopupItemsAndButtonsMapToTheDocumentsValues) {
    const uint32_t units[] = {kRulerUnits_Time, kRulerUnits_Samples, kRulerUnits_Beats};
    for (int32_t item = 0; item < 3; ++item) {
        EXPECT_EQ(GetRulerUnitsOfItem(item), units[item]);
        EXPECT_EQ(GetItemOfRulerUnits(units[item]), item);
    }
    const uint32_t tools[] = {kEditTool_Arrow, kEditTool_Mute, kEditTool_Lock, kEditTool_Pen};
    const EWindowAction toolActions[] = {EWindowAction::kArrowTool, EWindowAction::kMuteTool,
                                         EWindowAction::kLockTool, EWindowAction::kPenTool};
    for (int32_t button = 0; button < kToolButtonCount; ++button) {
        EXPECT_EQ(GetToolOfButton(button), tools[button]);
        EXPECT_EQ(GetButtonOfTool(tools[button]), button);
        EXPECT_EQ(GetToolButtonAction(button), toolActions[button]);
    }
    EXPECT_EQ(GetButtonOfTool(0), -1);

    const struct {
        uint32_t fPlayMode;
        int32_t fButton;
        EWindowAction fAction;
    } transport[] = {
        {CQuilletDocument::kPlayMode_Stopped, 0, EWindowAction::kStop},
        {CQuilletDocument::kPlayMode_Loop, 1, EWindowAction::kPlayLoop},
        {CQuilletDocument::kPlayMode_PreviousSlice, 2, EWindowAction::kPlayPreviousSlice},
        {CQuilletDocument::kPlayMode_CurrentSlice, 3, EWindowAction::kPlayCurrentSlice},
        {CQuilletDocument::kPlayMode_CurrentSliceAndMoveToNext, 4, EWindowAction::kPlayCurrentSliceAndMoveToNext},
    };
    for (const auto& row : transport) {
        EXPECT_EQ(GetTransportButtonOfPlayMode(row.fPlayMode), row.fButton) << row.fPlayMode;
        EXPECT_EQ(GetTransportButtonAction(row.fButton), row.fAction) << row.fButton;
    }
    // A slice auditioned from the waveform sounds as the current slice does.
    EXPECT_EQ(GetTransportButtonOfPlayMode(CQuilletDocument::kPlayMode_ChosenSlice), 3);
}

TEST(ToolbarControlRulesTest, EffectKnobsNeedSoundTheLoopPreviewAndTheirEffectOn) {
    // Conditions: sound, can play, length, preview, envelope, shaper, equalizer.
    // Enables: sound controls, transport, silence selected, tempo, envelope, shaper, equalizer.
    const struct {
        const char* fCase;
        SToolbarConditions fConditions;
        SToolbarEnables fEnables;
    } rows[] = {
        {"no sound", {false, false, true, true, true, true, true}, {false, false, false, false, false, false, false}},
        {"everything on", {true, true, true, true, true, true, true}, {true, true, true, true, true, true, true}},
        {"no audio output", {true, false, true, true, true, true, true}, {true, false, true, true, true, true, true}},
        {"no loop length", {true, true, false, true, true, true, true}, {true, true, true, false, false, false, false}},
        {"preview off", {true, true, true, false, true, true, true}, {true, true, false, true, false, false, false}},
        {"envelope off", {true, true, true, true, false, true, true}, {true, true, true, true, false, true, true}},
        {"shaper off", {true, true, true, true, true, false, true}, {true, true, true, true, true, false, true}},
        {"equalizer off", {true, true, true, true, true, true, false}, {true, true, true, true, true, true, false}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fCase);
        const SToolbarEnables e = ComputeToolbarEnables(row.fConditions);
        EXPECT_EQ(e.fSoundControls, row.fEnables.fSoundControls);
        EXPECT_EQ(e.fTransport, row.fEnables.fTransport);
        EXPECT_EQ(e.fSilenceSelected, row.fEnables.fSilenceSelected);
        EXPECT_EQ(e.fPreviewTempo, row.fEnables.fPreviewTempo);
        EXPECT_EQ(e.fEnvelope, row.fEnables.fEnvelope);
        EXPECT_EQ(e.fTransientShaper, row.fEnables.fTransientShaper);
        EXPECT_EQ(e.fEqualizer, row.fEnables.fEqualizer);
    }
}

TEST(ToolbarControlRulesTest, TheEffectsNoteIsDueOnlyWhenSwitchingOnWhileThePreviewCannotPlay) {
    SToolbarConditions playing{true, true, true, true, false, false, false};
    SToolbarConditions noLength = playing;
    noLength.fLoopLengthSet = false;
    SToolbarConditions previewOff = playing;
    previewOff.fPreviewOn = false;
    EXPECT_FALSE(IsEffectsNotAudibleNoteDue(true, playing));
    EXPECT_TRUE(IsEffectsNotAudibleNoteDue(true, noLength));
    EXPECT_TRUE(IsEffectsNotAudibleNoteDue(true, previewOff));
    EXPECT_FALSE(IsEffectsNotAudibleNoteDue(false, previewOff));
}

TEST(ToolbarRowsTest, ToolbarsKeepTheirOrderAndWrapWhenTheyNoLongerFit) {
    const std::vector<int32_t> five = {700, 720, 290, 450, 560};
    const struct {
        const char* fCase;
        std::vector<int32_t> fWidths;
        int32_t fAvailable;
        std::vector<int32_t> fRows;
    } rows[] = {
        // 700 | 720 | 290 + 4 + 450 = 744 | 560
        {"900 wide", five, 900, {0, 1, 2, 2, 3}},
        // 700 + 4 + 720 = 1424; 290 + 4 + 450 + 4 + 560 = 1308
        {"1500 wide", five, 1500, {0, 0, 1, 1, 1}},
        // 1424 + 4 + 290 = 1718; 450 + 4 + 560 = 1014
        {"1800 wide", five, 1800, {0, 0, 0, 1, 1}},
        {"narrower than each", five, 100, {0, 1, 2, 3, 4}},
        {"an exact fit", {50, 50}, 104, {0, 0}},
        {"a pixel short", {50, 50}, 103, {0, 1}},
        {"none", {}, 500, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ArrangeToolbarRows(row.fWidths, row.fAvailable, 4), row.fRows) << row.fCase;
    }
}

}  // namespace
}  // namespace NSQuillet
