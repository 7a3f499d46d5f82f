#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "app/document/QuilletDocument.h"
#include "app/resources/MenuIds.h"
#include "app/resources/MenuTable.h"
#include "app/resources/ProgramResources.h"
#include "tests/support/LoopDocumentFixture.h"
#include "ui/logic/WindowCommandStates.h"

namespace NSQuillet {
namespace {

using namespace NSCommandIds;

// Every command of the program's menus, read from the menu table itself, and the slice
// commands of the waveform's context menus.
std::set<int32_t> AllWindowCommands() {
    std::set<int32_t> commands = {kLockSlices, kUnlockSlices, kMuteSlices, kUnmuteSlices};
    for (const SMenu* menu : CProgramResources::Get().GetMenuTable(kProgramMenuTable).GetMenus())
        for (const SMenuItem& item : menu->fItems)
            if (!item.fSeparator) commands.insert(item.fCommandId);
    return commands;
}

// A loaded stereo loop with everything enabled that can be.
SWindowDocumentState LoadedState() {
    SWindowDocumentState state;
    state.fHasSound = true;
    state.fModified = true;
    state.fCanUndo = true;
    state.fUndoName = "Change Pitch";
    state.fCanRedo = true;
    state.fRedoName = "Move Slice";
    state.fShownSliceSelected = true;
    state.fCanCrop = true;
    state.fLoopLengthSet = true;
    state.fStereo = true;
    state.fPreviewOn = true;
    return state;
}

TEST(WindowCommandStates, EveryMenuCommandHasAState) {
    for (int32_t command : AllWindowCommands()) {
        SCOPED_TRACE(command);
        EXPECT_TRUE(IsWindowMenuCommand(command));
        EXPECT_TRUE(ComputeCommandState(command, LoadedState(), false).has_value());
    }
    EXPECT_FALSE(IsWindowMenuCommand(kQuit));
    EXPECT_FALSE(ComputeCommandState(kPreferences, LoadedState(), false).has_value());
}

TEST(WindowCommandStates, WithoutSoundOnlyOpenCloseAndTheHelpPagesAreEnabled) {
    // The empty document's other inputs as favourable as they come: only the sound is missing.
    SWindowDocumentState state = LoadedState();
    state.fHasSound = false;
    const std::set<int32_t> enabled = {kOpen, kClose, kOnlineDocumentation, kHomePage, kLoopsPage, kTechInfoAndSupport};
    for (int32_t command : AllWindowCommands()) {
        SCOPED_TRACE(command);
        EXPECT_EQ(ComputeCommandState(command, state, true)->fEnabled, enabled.count(command) == 1);
    }
}

TEST(WindowCommandStates, EachRuleFollowsItsInput) {
    struct SRow {
        const char* fCase;
        int32_t fCommand;
        void (*fChange)(SWindowDocumentState&);
        bool fEnabledBefore;
        bool fEnabledAfter;
    };
    const SRow rows[] = {
        {"Get Info needs a loop length", kGetInfo, [](SWindowDocumentState& s) { s.fLoopLengthSet = false; }, true, false},
        {"Add Slices needs a loop length", kAddSlicesAt16ths, [](SWindowDocumentState& s) { s.fLoopLengthSet = false; },
         true, false},
        {"Convert to Mono needs stereo", kConvertToMono, [](SWindowDocumentState& s) { s.fStereo = false; }, true, false},
        {"Crop Loop needs locators inside", kCropLoop, [](SWindowDocumentState& s) { s.fCanCrop = false; }, true, false},
        {"Save needs changes", kSave, [](SWindowDocumentState& s) { s.fModified = false; }, true, false},
        {"Save As without changes", kSaveAs, [](SWindowDocumentState& s) { s.fModified = false; }, true, true},
        {"Export without a loop length", kExport, [](SWindowDocumentState& s) { s.fLoopLengthSet = false; }, true, true},
        {"Delete needs a shown selected slice", kDelete,
         [](SWindowDocumentState& s) { s.fShownSliceSelected = false; }, true, false},
        {"Invert needs a shown selected slice", kInvertSelection,
         [](SWindowDocumentState& s) { s.fShownSliceSelected = false; }, true, false},
        {"Lock needs a shown selected slice", kLockSlices,
         [](SWindowDocumentState& s) { s.fShownSliceSelected = false; }, true, false},
        {"Unmute needs a shown selected slice", kUnmuteSlices,
         [](SWindowDocumentState& s) { s.fShownSliceSelected = false; }, true, false},
        {"Select All without a selection", kSelectAll, [](SWindowDocumentState& s) { s.fShownSliceSelected = false; },
         true, true},
        {"Silence Selected needs the preview", kSilenceSelected, [](SWindowDocumentState& s) { s.fPreviewOn = false; },
         true, false},
        {"Undo needs a step", kUndo, [](SWindowDocumentState& s) { s.fCanUndo = false; }, true, false},
        {"Redo needs a step", kRedo, [](SWindowDocumentState& s) { s.fCanRedo = false; }, true, false},
        {"Cut never", kCut, [](SWindowDocumentState&) {}, false, false},
        {"Paste never", kPaste, [](SWindowDocumentState&) {}, false, false},
        {"Copy with sound", kCopy, [](SWindowDocumentState& s) { s.fLoopLengthSet = false; }, true, true},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        SWindowDocumentState state = LoadedState();
        EXPECT_EQ(ComputeCommandState(row.fCommand, state, false)->fEnabled, row.fEnabledBefore);
        row.fChange(state);
        EXPECT_EQ(ComputeCommandState(row.fCommand, state, false)->fEnabled, row.fEnabledAfter);
    }
}

TEST(WindowCommandStates, MarksShowTheFlagsAndThePreference) {
    SWindowDocumentState state = LoadedState();
    EXPECT_TRUE(ComputeCommandState(kScrollDuringPlayback, state, true)->fMarked);
    EXPECT_FALSE(ComputeCommandState(kScrollDuringPlayback, state, false)->fMarked);
    // Exported as one sample when the separately flag is 0.
    state.fExportSlicesSeparately = true;
    EXPECT_FALSE(ComputeCommandState(kExportAsOneSample, state, false)->fMarked);
    state.fExportSlicesSeparately = false;
    EXPECT_TRUE(ComputeCommandState(kExportAsOneSample, state, false)->fMarked);
    state.fSilenceSelected = true;
    EXPECT_TRUE(ComputeCommandState(kSilenceSelected, state, false)->fMarked);
    state.fSilenceSelected = false;
    EXPECT_FALSE(ComputeCommandState(kSilenceSelected, state, false)->fMarked);
}

TEST(WindowCommandStates, UndoRedoAndCopyLabels) {
    SWindowDocumentState state = LoadedState();
    EXPECT_EQ(ComputeCommandState(kUndo, state, false)->fLabel, std::optional<std::string>("Undo Change Pitch"));
    EXPECT_EQ(ComputeCommandState(kRedo, state, false)->fLabel, std::optional<std::string>("Redo Move Slice"));
    const SCommandState copy = *ComputeCommandState(kCopy, state, false);
    EXPECT_EQ(copy.fLabel, std::optional<std::string>("Copy Loop"));
    EXPECT_EQ(copy.fAccessKey, 'C');
    // Without a step the resource's own label ("_Undo") stays.
    state.fCanUndo = false;
    state.fCanRedo = false;
    EXPECT_FALSE(ComputeCommandState(kUndo, state, false)->fLabel.has_value());
    EXPECT_FALSE(ComputeCommandState(kRedo, state, false)->fLabel.has_value());
    EXPECT_FALSE(ComputeCommandState(kSave, state, false)->fLabel.has_value());
}

TEST(WindowCommandStates, EditItemsKeepTheirStateWhileTheFocusIsInATextField) {
    CWindowCommandStates states;
    EXPECT_FALSE(states.Find(kUndo)->fEnabled);
    EXPECT_EQ(states.Find(kQuit), nullptr);

    SWindowDocumentState state = LoadedState();
    states.Update(state, false, true);
    EXPECT_TRUE(states.Find(kUndo)->fEnabled);
    EXPECT_EQ(states.Find(kUndo)->fLabel, std::optional<std::string>("Undo Change Pitch"));

    state.fCanUndo = false;
    state.fShownSliceSelected = false;
    state.fStereo = false;
    states.Update(state, false, false);
    EXPECT_TRUE(states.Find(kUndo)->fEnabled);
    EXPECT_EQ(states.Find(kUndo)->fLabel, std::optional<std::string>("Undo Change Pitch"));
    EXPECT_TRUE(states.Find(kDelete)->fEnabled);
    // The other menus follow at once.
    EXPECT_FALSE(states.Find(kConvertToMono)->fEnabled);

    states.Update(state, false, true);
    EXPECT_FALSE(states.Find(kUndo)->fEnabled);
    EXPECT_FALSE(states.Find(kDelete)->fEnabled);
}

TEST(WindowCommandStates, CapturedFromTheDocument) {
    // 1000 frames, stereo; MakeFiveSlicesOfEveryKind at sensitivity 60 (threshold
    // 32767 − ⌈60 × 32767 / 99⌉ = 12908) shows the selected slices 3 (32767) and 4 (locked).
    auto document = NSQuilletTest::MakeLoopDocument(16, 2, 1000);
    SWindowDocumentState state = CaptureWindowDocumentState(*document);
    EXPECT_TRUE(state.fHasSound);
    EXPECT_TRUE(state.fModified);  // pasted: never saved
    EXPECT_FALSE(state.fCanUndo);
    EXPECT_TRUE(state.fShownSliceSelected);
    EXPECT_TRUE(state.fStereo);
    EXPECT_FALSE(state.fLoopLengthSet);
    EXPECT_FALSE(state.fCanCrop);  // locators 0..1000 hold the whole sample

    struct SRow {
        int32_t fLeft;
        int32_t fRight;
        bool fCanCrop;
    };
    for (const SRow& row : {SRow{1, 1000, true}, SRow{0, 999, true}, SRow{0, 1000, false}}) {
        SCOPED_TRACE(std::to_string(row.fLeft) + ".." + std::to_string(row.fRight));
        SDocumentParameters parameters = document->GetDocumentParameters();
        parameters.fLeftLocator = row.fLeft;
        parameters.fRightLocator = row.fRight;
        parameters.fLoop.SetBars(1);
        document->PerformParametersChange(parameters, "Set Loop");
        state = CaptureWindowDocumentState(*document);
        EXPECT_EQ(state.fCanCrop, row.fCanCrop);
        EXPECT_TRUE(state.fLoopLengthSet);
        EXPECT_EQ(state.fUndoName, "Set Loop");
    }

    auto empty = std::make_unique<CQuilletDocument>(NSQuilletTest::MakeSample(16, 1, 0), true, SDocumentSettings{});
    state = CaptureWindowDocumentState(*empty);
    EXPECT_FALSE(state.fHasSound);
    EXPECT_FALSE(state.fModified);
    EXPECT_FALSE(state.fStereo);
}

TEST(WindowCommandStates, AccessKeyTexts) {
    const SAccessKeyText copy = SplitAccessKey("_Copy Loop");
    EXPECT_EQ(copy.fText, "Copy Loop");
    EXPECT_EQ(copy.fAccessKey, 'C');
    EXPECT_EQ(SplitAccessKey("Undo Move Slice").fAccessKey, '\0');

    struct SRow {
        const char* fLabel;
        char fKey;
        const char* fText;
    };
    for (const SRow& row : {SRow{"Cut", 't', "Cu&t"}, SRow{"Add Slices at 1/16ths", 'i', "Add Sl&ices at 1/16ths"},
                            SRow{"Magnify to Fit Loop", 'L', "Magnify to Fit &Loop"},
                            SRow{"Rock & Roll", 'R', "&Rock && Roll"}, SRow{"Undo Drum & Bass", '\0', "Undo Drum && Bass"}}) {
        EXPECT_EQ(ToAmpersandAccessKey(row.fLabel, row.fKey), row.fText);
    }
}

}  // namespace
}  // namespace NSQuillet
