#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/resources/MenuIds.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "engine/WaveSample.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/FreeRunningAudioOutput.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "ui/logic/WindowCommands.h"

namespace NSQuillet {
namespace {

using namespace NSCommandIds;

class CScriptedDialogs final : public IWindowDialogs {
public:
    void ShowLoopInformation() override { fCalls.push_back("info"); }
    void Export() override { fCalls.push_back("export"); }
    void CopyLoop() override { fCalls.push_back("copy"); }
    std::optional<EMonoChoice> AskConvertToMono(EMonoChoice proposed) override {
        fCalls.push_back("mono");
        fProposedMono = proposed;
        return fMono;
    }
    std::optional<SSampleFormat> AskConvertSampleFormat(const SSampleFormat& current) override {
        fCalls.push_back("format");
        fCurrentFormat = current;
        return fFormat;
    }

    std::vector<std::string> fCalls;
    std::optional<EMonoChoice> fMono;
    std::optional<EMonoChoice> fProposedMono;
    std::optional<SSampleFormat> fFormat;
    std::optional<SSampleFormat> fCurrentFormat;
};

class CRecordingWaveform final : public IWaveformCommands {
public:
    void ZoomIn() override { fCalls.push_back("in"); }
    void ZoomOut() override { fCalls.push_back("out"); }
    void MagnifyToFit() override { fCalls.push_back("fit"); }
    void MagnifyToFitLoop() override { fCalls.push_back("fit loop"); }
    void JumpToCursor() override { fCalls.push_back("jump"); }
    std::vector<std::string> fCalls;
};

SPlainKey Character(char32_t c, uint32_t modifiers = 0) { return SPlainKey{EKeyCode::kCharacter, c, false, modifiers}; }
SPlainKey Keypad(char32_t c) { return SPlainKey{EKeyCode::kCharacter, c, true, 0}; }
SPlainKey Code(EKeyCode code, bool keypad = false) { return SPlainKey{code, 0, keypad, 0}; }

// 44100 frames of stereo with MakeFiveSlicesOfEveryKind at sensitivity 60.
class WindowCommands : public ::testing::Test {
protected:
    void Make(const SDocumentSettings& settings = {}, int32_t channels = 2) {
        fDocument = NSQuilletTest::MakeLoopDocument(16, channels, 44100, 44100, settings);
        fCommands = std::make_unique<CWindowCommands>(*fDocument, fDialogs);
    }
    int32_t Sensitivity() const { return fDocument->GetSliceSequence().GetSensitivity(); }
    uint32_t Tool() const { return fDocument->GetViewAndEditAttributes().fEditTool; }
    uint32_t Position() const { return fDocument->GetUndoHistory().GetPosition(); }

    CScriptedDialogs fDialogs;
    std::unique_ptr<CQuilletDocument> fDocument;
    std::unique_ptr<CWindowCommands> fCommands;
};

TEST_F(WindowCommands, DigitsSetTheSensitivityInStepsOf11EachItsOwnStep) {
    Make();
    EXPECT_TRUE(fCommands->DoKey(Character('5'), true));
    EXPECT_EQ(Sensitivity(), 55);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Sensitivity");
    EXPECT_TRUE(fCommands->DoKey(Character('9'), true));
    EXPECT_EQ(Sensitivity(), 99);
    // The step was closed after 5: 9 is a second step.
    EXPECT_EQ(Position(), 2u);
    fDocument->Undo();
    EXPECT_EQ(Sensitivity(), 55);
}

TEST_F(WindowCommands, PlusAndMinusStopAtTheEndsAndMergeIntoOneStep) {
    Make();
    fCommands->DoKey(Character('9'), true);
    const uint32_t at99 = Position();
    fCommands->DoKey(Character('+'), true);
    EXPECT_EQ(Sensitivity(), 99);
    EXPECT_EQ(Position(), at99);

    fCommands->DoKey(Character('-'), true);
    fCommands->DoKey(Character('-'), true);
    EXPECT_EQ(Sensitivity(), 97);
    EXPECT_EQ(Position(), at99 + 1);

    fCommands->DoKey(Character('0'), true);
    const uint32_t at0 = Position();
    EXPECT_EQ(Sensitivity(), 0);
    fCommands->DoKey(Character('-'), true);
    EXPECT_EQ(Sensitivity(), 0);
    EXPECT_EQ(Position(), at0);
    fCommands->DoKey(Keypad('+'), true);
    EXPECT_EQ(Sensitivity(), 1);
}

TEST_F(WindowCommands, LettersAndCtrlDigitsChooseTheTools) {
    Make();
    struct SRow {
        SPlainKey fKey;
        uint32_t fTool;
    };
    for (const SRow& row : {SRow{Character('w'), kEditTool_Mute}, SRow{Character('E'), kEditTool_Lock},
                            SRow{Character('r'), kEditTool_Pen}, SRow{Character('Q'), kEditTool_Arrow},
                            SRow{Character('2', kModifier_Magnify), kEditTool_Mute},
                            SRow{Character('3', kModifier_Magnify), kEditTool_Lock},
                            SRow{Character('4', kModifier_Magnify), kEditTool_Pen},
                            SRow{Character('1', kModifier_Magnify), kEditTool_Arrow}}) {
        EXPECT_TRUE(fCommands->DoKey(row.fKey, true));
        EXPECT_EQ(Tool(), row.fTool);
    }
    // A tool is no undo step, and Ctrl+digit leaves the sensitivity alone.
    EXPECT_FALSE(fDocument->CanUndo());
    EXPECT_EQ(Sensitivity(), 60);
}

TEST_F(WindowCommands, KeypadZeroStopsWhereMainRowZeroSetsTheSensitivity) {
    Make();
    // No audio output: the keypad 0 stop is not allowed and changes nothing.
    EXPECT_FALSE(fCommands->DoKey(Keypad('0'), true));
    EXPECT_EQ(Sensitivity(), 60);
    EXPECT_TRUE(fCommands->DoKey(Character('0'), true));
    EXPECT_EQ(Sensitivity(), 0);
}

TEST_F(WindowCommands, WithoutSoundNoKeyAndNoCommandActs) {
    fDocument = std::make_unique<CQuilletDocument>(NSQuilletTest::MakeSample(16, 1, 0), true, SDocumentSettings{});
    fCommands = std::make_unique<CWindowCommands>(*fDocument, fDialogs);
    for (const SPlainKey& key : {Character('5'), Character('+'), Character('W'), Character('2', kModifier_Magnify),
                                 Code(EKeyCode::kDelete), Code(EKeyCode::kSpace), Keypad('1'), Code(EKeyCode::kLeft)})
        EXPECT_FALSE(fCommands->DoKey(key, true));
    for (int32_t command : {kSelectAll, kNormalize, kRemoveDC, kReAnalyze, kConvertSampleFormat, kCopy, kExport})
        EXPECT_FALSE(fCommands->DoCommand(command)) << command;
    EXPECT_EQ(Tool(), kEditTool_Arrow);
    EXPECT_FALSE(fDocument->CanUndo());
    EXPECT_FALSE(fDocument->IsModified());
    EXPECT_TRUE(fDialogs.fCalls.empty());
}

TEST_F(WindowCommands, DisabledCommandsDoNothing) {
    Make({}, 1);
    // No loop length, mono, locators round the whole sample.
    for (int32_t command : {kGetInfo, kAddSlicesAt16ths, kConvertToMono, kCropLoop, kCut, kPaste, kUndo, kRedo})
        EXPECT_FALSE(fCommands->DoCommand(command)) << command;
    EXPECT_TRUE(fDialogs.fCalls.empty());
    EXPECT_FALSE(fDocument->CanUndo());
    // Open, Close and Save are not run here.
    EXPECT_FALSE(fCommands->DoCommand(kSave));
    EXPECT_FALSE(fCommands->DoCommand(kOpen));
}

TEST_F(WindowCommands, EditCommandsAreOneStepEachAndUndoable) {
    Make();
    // Shown and selected: slices 3 and 4 (sensitivity 60, threshold 12908).
    const int32_t before = fDocument->GetSliceSequence().GetSliceCount();
    EXPECT_TRUE(fCommands->DoCommand(kDelete));
    EXPECT_EQ(fDocument->GetSliceSequence().GetSliceCount(), before - 2);
    EXPECT_FALSE(fCommands->DoCommand(kDelete));  // nothing shown is selected now
    EXPECT_TRUE(fCommands->DoCommand(kSelectAll));
    EXPECT_TRUE(fCommands->DoKey(Code(EKeyCode::kBackspace), true));
    EXPECT_EQ(Position(), 3u);
    EXPECT_TRUE(fCommands->DoCommand(kUndo));
    EXPECT_TRUE(fCommands->DoCommand(kUndo));
    EXPECT_TRUE(fCommands->DoCommand(kRedo));
    EXPECT_EQ(Position(), 2u);
}

TEST_F(WindowCommands, SliceCommandsOfTheWaveform) {
    Make();
    EXPECT_TRUE(fCommands->DoCommand(kMuteSlices));
    EXPECT_EQ(fDocument->GetUndoName(), "Mute Slices");
    EXPECT_TRUE(fCommands->DoCommand(kLockSlices));
    EXPECT_EQ(Position(), 2u);
    EXPECT_TRUE(fCommands->DoCommand(kUnlockSlices));
    EXPECT_EQ(Position(), 3u);
}

TEST_F(WindowCommands, DialogCommandsGoThroughThePort) {
    Make();
    EXPECT_TRUE(fCommands->DoCommand(kCopy));
    EXPECT_TRUE(fCommands->DoCommand(kExport));
    // Convert to Mono cancelled: nothing changes; chosen: one step.
    EXPECT_TRUE(fCommands->DoCommand(kConvertToMono));
    EXPECT_EQ(fDialogs.fProposedMono, std::optional<EMonoChoice>(EMonoChoice::kMix));
    EXPECT_TRUE(fDocument->GetWaveSample().IsStereo());
    fDialogs.fMono = EMonoChoice::kLeft;
    EXPECT_TRUE(fCommands->DoCommand(kConvertToMono));
    EXPECT_FALSE(fDocument->GetWaveSample().IsStereo());
    EXPECT_EQ(fDocument->GetUndoName(), "Convert to Mono");
    // The sample's own format is proposed.
    fDialogs.fFormat = SSampleFormat{44100, 24};
    EXPECT_TRUE(fCommands->DoCommand(kConvertSampleFormat));
    EXPECT_EQ(fDialogs.fCurrentFormat, std::optional<SSampleFormat>(SSampleFormat{44100, 16}));
    EXPECT_EQ(fDocument->GetWaveSample().GetBitDepth(), 24);
    EXPECT_EQ(fDialogs.fCalls, (std::vector<std::string>{"copy", "export", "mono", "mono", "format"}));

    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    fDocument->PerformParametersChange(parameters, "Change Loop Length");
    EXPECT_TRUE(fCommands->DoCommand(kGetInfo));
    EXPECT_EQ(fDialogs.fCalls.back(), "info");
}

TEST_F(WindowCommands, ViewCommandsAndZoomKeysReachTheWaveformWhenThereIsOne) {
    Make();
    EXPECT_TRUE(fCommands->DoCommand(kMagnifyToFit));
    EXPECT_TRUE(fCommands->DoKey(Character('+', kModifier_Magnify), true));
    CRecordingWaveform waveform;
    fCommands->SetWaveform(&waveform);
    fCommands->DoCommand(kMagnifyToFit);
    fCommands->DoCommand(kMagnifyToFitLoop);
    fCommands->DoCommand(kJumpToCursor);
    fCommands->DoKey(Character('+', kModifier_Magnify), true);
    fCommands->DoKey(Character('-', kModifier_Magnify), true);
    EXPECT_EQ(waveform.fCalls, (std::vector<std::string>{"fit", "fit loop", "jump", "in", "out"}));
    EXPECT_EQ(Sensitivity(), 60);
}

TEST_F(WindowCommands, ProcessCommands) {
    Make();
    CScriptedAlertPresenter alerts;
    // Normalize asks first: Cancel (the leftmost of three, answer 35) changes nothing.
    alerts.Answer(35);
    EXPECT_TRUE(fCommands->DoCommand(kNormalize));
    EXPECT_FALSE(fDocument->CanUndo());
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fButtons, (std::vector<std::string>{"Cancel", "Each Slice", "Whole File"}));

    EXPECT_TRUE(fCommands->DoCommand(kExportAsOneSample));
    EXPECT_FALSE(fDocument->GetDocumentParameters().fExportSlicesSeparately);
    EXPECT_FALSE(fCommands->DoCommand(kSilenceSelected));  // preview off

    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLeftLocator = 100;
    parameters.fRightLocator = 44000;
    fDocument->PerformParametersChange(parameters, "Set Loop");
    EXPECT_TRUE(fCommands->DoCommand(kCropLoop));
    // 44000 − 100 frames are left.
    EXPECT_EQ(fDocument->GetWaveSample().GetFrameCount(), 43900);
    EXPECT_EQ(fDocument->GetUndoName(), "Crop Loop");
    EXPECT_FALSE(fCommands->DoCommand(kCropLoop));
    EXPECT_TRUE(fCommands->DoCommand(kRemoveDC));
    EXPECT_EQ(fDocument->GetUndoName(), "Remove DC");
}

// A Null Output of the test's own, calling back without waiting.
class WindowPlaybackKeys : public WindowCommands {
protected:
    ~WindowPlaybackKeys() override { fDocument.reset(); }
    SDocumentSettings Output() { return fOutput.Settings(); }

    NSQuilletTest::SFreeRunningAudioOutput fOutput;
};

TEST_F(WindowPlaybackKeys, PlayKeysStoreTheirPlayModes) {
    Make(Output());
    ASSERT_TRUE(fDocument->CanPlay());
    struct SRow {
        const char* fCase;
        SPlainKey fKey;
        bool fFocusFree;
        bool fActs;
        uint32_t fMode;
    };
    const SRow rows[] = {
        {"keypad Enter", Code(EKeyCode::kEnter, true), true, true, CQuilletDocument::kPlayMode_Loop},
        {"keypad 7", Keypad('7'), true, true, CQuilletDocument::kPlayMode_PreviousSlice},
        {"keypad 9", Keypad('9'), true, true, CQuilletDocument::kPlayMode_CurrentSliceAndMoveToNext},
        {"Up", Code(EKeyCode::kUp), true, true, CQuilletDocument::kPlayMode_CurrentSlice},
        {"keypad 8", Keypad('8'), true, true, CQuilletDocument::kPlayMode_CurrentSlice},
        {"Up in a text field", Code(EKeyCode::kUp), false, false, CQuilletDocument::kPlayMode_Stopped},
        {"Space while stopped", Code(EKeyCode::kSpace), true, true, CQuilletDocument::kPlayMode_Loop},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        fDocument->StopOrRewind();
        ASSERT_FALSE(fDocument->IsPlaying());
        EXPECT_EQ(fCommands->DoKey(row.fKey, row.fFocusFree), row.fActs);
        EXPECT_EQ(fDocument->GetPlayMode(), row.fMode);
    }
    // Playing: Space and keypad 0 stop.
    EXPECT_TRUE(fCommands->DoKey(Code(EKeyCode::kSpace), true));
    EXPECT_FALSE(fDocument->IsPlaying());
    fCommands->DoKey(Code(EKeyCode::kEnter, true), true);
    EXPECT_TRUE(fDocument->IsPlaying());
    EXPECT_TRUE(fCommands->DoKey(Keypad('0'), true));
    EXPECT_FALSE(fDocument->IsPlaying());
}

TEST_F(WindowPlaybackKeys, CursorKeysMoveThePlayPosition) {
    Make(Output());
    // Active at sensitivity 60: slice 0 (31000), slice 2 (locked, 2 × 8820 + 7 = 17647),
    // slice 3 (32767, 3 × 8820 + 1 = 26461) and slice 4 (locked, 44099).
    SDocumentParameters parameters = fDocument->GetDocumentParameters();
    parameters.fLeftLocator = 10000;
    parameters.fRightLocator = 30000;
    fDocument->PerformParametersChange(parameters, "Set Loop");
    struct SRow {
        const char* fCase;
        int32_t fLeft;
        int32_t fRight;
        SPlainKey fKey;
        int32_t fPosition;
    };
    const SRow rows[] = {
        {"loop start: first slice at or after the left locator", 10000, 30000, Keypad('1'), 17647},
        {"loop start on a slice", 17647, 30000, Keypad('1'), 17647},
        {"loop start past the right locator: the slice before", 18000, 20000, Keypad('1'), 17647},
        {"loop end: first slice at or after the right locator", 10000, 30000, Keypad('2'), 44099},
        {"loop end on a slice", 10000, 26461, Keypad('2'), 26461},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        fDocument->SetPlayPosition(0);
        parameters = fDocument->GetDocumentParameters();
        parameters.fLeftLocator = row.fLeft;
        parameters.fRightLocator = row.fRight;
        fDocument->PerformParametersChange(parameters, "Set Loop");
        EXPECT_TRUE(fCommands->DoKey(row.fKey, true));
        EXPECT_EQ(fDocument->GetPlayPosition(), row.fPosition);
    }
}

}  // namespace
}  // namespace NSQuillet
