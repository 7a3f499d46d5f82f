#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/DocumentListener.h"
#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "engine/SliceSequence.h"
#include "tests/app/document/FourSliceDocument.h"
#include "tests/support/FreeRunningAudioOutput.h"
#include "tests/support/PlaybackNotificationCounter.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "ui/logic/waveform/WaveformDocumentGestures.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::kFourSliceFrames;
using NSQuilletTest::Positions;
using Names = std::vector<std::string>;

std::vector<bool> Selection(const CQuilletDocument& document) {
    std::vector<bool> selected;
    for (const CSlice& slice : document.GetSliceSequence().GetSlices()) selected.push_back(slice.IsSelected());
    return selected;
}

void SetTool(CQuilletDocument& document, uint32_t tool) {
    SViewAndEditAttributes attributes = document.GetViewAndEditAttributes();
    attributes.fEditTool = tool;
    document.SetViewAndEditAttributes(attributes);
}

void PutLocators(CQuilletDocument& document, int32_t left, int32_t right) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLeftLocator = left;
    parameters.fRightLocator = right;
    document.PerformParametersChange(parameters, "Set Loop");
    document.CloseUndoStep();
}

// The four shown normal slices at 0, 22050, 44100 and 66150 of an 88200-frame sample, the
// locators around all of it, no undo step yet.
class DocumentGesturesTest : public ::testing::Test {
protected:
    DocumentGesturesTest() { PutLocators(*fDocument, 0, kFourSliceFrames); }

    Names Steps() const { return fDocument->GetUndoHistory().GetStepNames(); }
    // The steps after those present when the test body started.
    Names NewSteps() const {
        const Names all = Steps();
        return Names(all.begin() + long(fStepsBefore), all.end());
    }
    void SetUp() override { fStepsBefore = Steps().size(); }

    std::unique_ptr<CQuilletDocument> fDocument = NSQuilletTest::MakeFourSliceDocument();
    CWaveformDocumentGestures fGestures{*fDocument};
    size_t fStepsBefore = 0;
};

TEST_F(DocumentGesturesTest, AnArrowDragOnASliceIsOneMoveSliceStepThatFollowsTheReorderedSlice) {
    fGestures.BeginGesture(EWaveformGesture::kMoveSlice, 1, 22050);
    EXPECT_EQ(fGestures.GetGesture(), EWaveformGesture::kMoveSlice);
    fGestures.ContinueGesture(30000);
    // Past the slice at 44100: it becomes the third, and the next move must still move it.
    fGestures.ContinueGesture(50000);
    fGestures.ContinueGesture(52000);
    fGestures.EndGesture();
    EXPECT_EQ(fGestures.GetGesture(), EWaveformGesture::kNone);
    EXPECT_EQ(NewSteps(), (Names{"Move Slice"}));
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 44100, 52000, 66150}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, false, true, false}));
    // Moves after the end change nothing.
    fGestures.ContinueGesture(10000);
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 44100, 52000, 66150}));
    fDocument->Undo();
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 22050, 44100, 66150}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>(4, false)));
}

TEST_F(DocumentGesturesTest, ASliceDragByToolSelectsMutesOrLocksAndOnlyTheArrowAndPenMove) {
    struct SCase {
        uint32_t fTool;
        Names fSteps;
        std::vector<int32_t> fPositions;
        ESliceKind fKind;
    };
    const SCase cases[] = {
        {kEditTool_Arrow, {"Move Slice"}, {0, 30000, 44100, 66150}, ESliceKind::kNormal},
        {kEditTool_Pen, {"Move Slice"}, {0, 30000, 44100, 66150}, ESliceKind::kNormal},
        {kEditTool_Mute, {"Mute Slice"}, {0, 22050, 44100, 66150}, ESliceKind::kMuted},
        {kEditTool_Lock, {"Lock Slice"}, {0, 22050, 44100, 66150}, ESliceKind::kLocked},
    };
    for (const SCase& test : cases) {
        auto document = NSQuilletTest::MakeFourSliceDocument();
        SetTool(*document, test.fTool);
        CWaveformDocumentGestures gestures(*document);
        gestures.BeginGesture(EWaveformGesture::kMoveSlice, 1, 22050);
        gestures.ContinueGesture(30000);
        gestures.EndGesture();
        EXPECT_EQ(document->GetUndoHistory().GetStepNames(), test.fSteps) << test.fTool;
        EXPECT_EQ(Positions(*document), test.fPositions) << test.fTool;
        EXPECT_EQ(document->GetSliceSequence().GetSlice(1)->GetKind(), test.fKind) << test.fTool;
    }
}

TEST(DocumentGestures, ShownIndicesSkipHiddenSlices) {
    auto sample = NSQuilletTest::MakeRampSample();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    // At sensitivity 50 the threshold is about 16200: level 1000 is hidden.
    slices->InsertSlice(CSlice(0, 20000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(11000, 1000, ESliceKind::kNormal, true));
    slices->InsertSlice(CSlice(22050, 20000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(44100, 20000, ESliceKind::kNormal));
    slices->SetSensitivity(50);
    CQuilletDocument document(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
    CWaveformDocumentGestures gestures(document);

    // The range selection leaves the hidden slice's selection alone, inside the range or not.
    gestures.RangeSelection(0, 0, ERangePhase::kBegin, false);
    gestures.RangeSelection(0, 50000, ERangePhase::kContinue, false);
    EXPECT_EQ(Selection(document), (std::vector<bool>{true, true, true, true}));
    gestures.RangeSelection(40000, 50000, ERangePhase::kEnd, false);
    EXPECT_EQ(Selection(document), (std::vector<bool>{false, true, false, true}));
    // Shown slice 1 is the full list's third.
    gestures.BeginGesture(EWaveformGesture::kMoveSlice, 1, 22050);
    gestures.ContinueGesture(30000);
    gestures.EndGesture();
    EXPECT_EQ(Positions(document), (std::vector<int32_t>{0, 11000, 30000, 44100}));
    // Its extent ends at the next shown slice; no menu for a shown index beyond the list.
    EXPECT_EQ(gestures.SliceRangeAt(15000), (SVisibleRange{0, 30000}));
    EXPECT_TRUE(gestures.PrepareSliceMenu(3).empty());
}

TEST_F(DocumentGesturesTest, ALocatorDragIsOneStepWhoseCommitsMerge) {
    fGestures.BeginGesture(EWaveformGesture::kMoveLeftLocator, -1, 0);
    fGestures.ContinueGesture(1000);
    fGestures.ContinueGesture(2000);
    // Unchanged: no commit.
    fGestures.ContinueGesture(2000);
    fGestures.EndGesture();
    fGestures.BeginGesture(EWaveformGesture::kMoveRightLocator, -1, kFourSliceFrames);
    fGestures.ContinueGesture(70000);
    fGestures.ContinueGesture(66150);
    fGestures.EndGesture();
    EXPECT_EQ(NewSteps(), (Names{"Move Left Locator", "Move Right Locator"}));
    EXPECT_EQ(fDocument->GetDocumentParameters().fLeftLocator, 2000);
    EXPECT_EQ(fDocument->GetDocumentParameters().fRightLocator, 66150);
    fDocument->Undo();
    EXPECT_EQ(fDocument->GetDocumentParameters().fRightLocator, kFourSliceFrames);
    fDocument->Undo();
    EXPECT_EQ(fDocument->GetDocumentParameters().fLeftLocator, 0);
}

TEST_F(DocumentGesturesTest, SetLocatorsIsOneSetLoopStep) {
    fGestures.SetLocators(22050, 44100);
    fGestures.SetLocators(22050, 44100);
    fGestures.SetLocators(0, 66150);
    EXPECT_EQ(NewSteps(), (Names{"Set Loop", "Set Loop"}));
    EXPECT_EQ(fDocument->GetDocumentParameters().fLeftLocator, 0);
    EXPECT_EQ(fDocument->GetDocumentParameters().fRightLocator, 66150);
}

TEST_F(DocumentGesturesTest, EachPenPressInsertsASliceAsItsOwnStep) {
    fGestures.BeginGesture(EWaveformGesture::kInsertSlice, -1, 30000);
    fGestures.EndGesture();
    fGestures.BeginGesture(EWaveformGesture::kInsertSlice, -1, 31000);
    fGestures.EndGesture();
    EXPECT_EQ(NewSteps(), (Names{"Insert Slice", "Insert Slice"}));
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 22050, 30000, 31000, 44100, 66150}));
}

TEST_F(DocumentGesturesTest, AnExtendClickTogglesOneSliceKeepingTheOthers) {
    fGestures.SliceClickedWithExtend(1);
    fGestures.SliceClickedWithExtend(3);
    fGestures.SliceClickedWithExtend(1);
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(NewSteps(), (Names{"Select Slice", "Select Slice", "Select Slice"}));
}

TEST_F(DocumentGesturesTest, ARangeSelectsTheSlicesStartingInsideItAsOneStep) {
    struct SStep {
        int32_t fStart;
        int32_t fEnd;
        std::vector<bool> fSelection;
    };
    // Both ends belong to the range.
    const SStep steps[] = {
        {20000, 22049, {false, false, false, false}},
        {20000, 44100, {false, true, true, false}},
        {20000, 70000, {false, true, true, true}},
        {22050, 30000, {false, true, false, false}},
    };
    fGestures.RangeSelection(20000, 20000, ERangePhase::kBegin, false);
    for (const SStep& step : steps) {
        fGestures.RangeSelection(step.fStart, step.fEnd, ERangePhase::kContinue, false);
        EXPECT_EQ(Selection(*fDocument), step.fSelection) << step.fEnd;
    }
    fGestures.RangeSelection(22050, 30000, ERangePhase::kEnd, false);
    EXPECT_EQ(NewSteps(), (Names{"Select Slice"}));
    // The next range is a step of its own; one that changes nothing commits nothing.
    fGestures.RangeSelection(22050, 22050, ERangePhase::kBegin, false);
    fGestures.RangeSelection(22050, 22060, ERangePhase::kContinue, false);
    fGestures.RangeSelection(22050, 22060, ERangePhase::kEnd, false);
    EXPECT_EQ(NewSteps(), (Names{"Select Slice"}));
}

TEST_F(DocumentGesturesTest, AnExtendedRangeJoinsTheSelectionHeldAtItsBegin) {
    fGestures.SliceClickedWithExtend(3);
    fGestures.RangeSelection(0, 0, ERangePhase::kBegin, true);
    fGestures.RangeSelection(0, 30000, ERangePhase::kContinue, true);
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{true, true, false, true}));
    // Slices the range left again lose the selection it gave them, not the one they had.
    fGestures.RangeSelection(40000, 50000, ERangePhase::kContinue, true);
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, false, true, true}));
    fGestures.RangeSelection(40000, 50000, ERangePhase::kEnd, true);
    EXPECT_EQ(NewSteps(), (Names{"Select Slice", "Select Slice"}));
}

TEST_F(DocumentGesturesTest, DraggingTheCursorLocatesOnlyWhenItEntersAnotherSlice) {
    NSQuilletTest::CPlaybackNotificationCounter counter;
    fDocument->AddListener(&counter);
    fGestures.CursorDraggedTo(30000);
    EXPECT_EQ(fDocument->GetPlayPosition(), 22050);
    EXPECT_EQ(fDocument->GetCurrentSlice(), 1);
    EXPECT_EQ(counter.fCalls, 1);
    fGestures.CursorDraggedTo(40000);
    EXPECT_EQ(counter.fCalls, 1);
    fGestures.CursorDraggedTo(100);
    EXPECT_EQ(fDocument->GetPlayPosition(), 0);
    EXPECT_EQ(counter.fCalls, 2);
    fDocument->RemoveListener(&counter);
    EXPECT_TRUE(NewSteps().empty());
}

TEST_F(DocumentGesturesTest, SliceMenuSelectsTheClickedSliceAndNamesItsStateAndCount) {
    using Items = std::vector<SWaveformMenuItem>;
    const SWaveformMenuItem left{kSetLeftLocatorToThisSlice, "Set Left Locator to This Slice"};
    const SWaveformMenuItem right{kSetRightLocatorToThisSlice, "Set Right Locator to This Slice"};
    // One slice selected by the menu itself: singular, and a "Select Slice" step.
    EXPECT_EQ(fGestures.PrepareSliceMenu(1), (Items{{20250, "Lock Slice"}, {20252, "Mute Slice"}, left, right}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(NewSteps(), (Names{"Select Slice"}));
    // Another slice is added to the selection: plural.
    EXPECT_EQ(fGestures.PrepareSliceMenu(2), (Items{{20250, "Lock Slices"}, {20252, "Mute Slices"}, left, right}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, true, true, false}));
    // Lock and mute by the clicked slice's own state; an already selected one adds no step.
    CSliceEditing editing(*fDocument);
    editing.SetSelectedSlicesLocked(true);
    fDocument->CloseUndoStep();
    EXPECT_EQ(fGestures.PrepareSliceMenu(2), (Items{{20251, "Unlock Slices"}, {20252, "Mute Slices"}, left, right}));
    editing.SelectSlice(0, false);
    editing.SetSelectedSlicesMuted(true);
    fDocument->CloseUndoStep();
    const size_t steps = Steps().size();
    EXPECT_EQ(fGestures.PrepareSliceMenu(0), (Items{{20250, "Lock Slice"}, {20253, "Unmute Slice"}, left, right}));
    EXPECT_EQ(Steps().size(), steps);
}

TEST(DocumentGestures, TheWaveformMenuOffersTheLocatorAndMagnifyCommands) {
    EXPECT_EQ(CWaveformDocumentGestures::WaveformMenu(),
              (std::vector<SWaveformMenuItem>{{20254, "Set Left Locator to This Slice"},
                                              {20255, "Set Right Locator to This Slice"},
                                              {20270, "Set Loop Around This Slice"},
                                              {20304, "Magnify to Fit"},
                                              {20305, "Magnify to Fit Loop"},
                                              {20310, "Magnify to Fit Slice"}}));
}

TEST_F(DocumentGesturesTest, SliceCommandsSetTheLocatorsToTheSliceUnderTheClick) {
    struct SCase {
        const char* fName;
        int32_t fCommand;
        int32_t fFrame;
        int32_t fLeftBefore;
        int32_t fRightBefore;
        int32_t fLeft;
        int32_t fRight;
        const char* fStep;
    };
    const SCase cases[] = {
        {"left", 20254, 30000, 0, kFourSliceFrames, 22050, kFourSliceFrames, "Move Left Locator"},
        {"right", 20255, 30000, 0, kFourSliceFrames, 0, 44100, "Move Right Locator"},
        // The last slice ends at the sample's end.
        {"right of the last", 20255, 88199, 0, 44100, 0, kFourSliceFrames, "Move Right Locator"},
        {"loop", 20270, 50000, 0, kFourSliceFrames, 44100, 66150, "Set Loop"},
        // A locator sent past the other one takes that one to the slice's other end.
        {"left past right", 20254, 70000, 0, 44100, 66150, kFourSliceFrames, "Move Left Locator"},
        {"right before left", 20255, 100, 44100, kFourSliceFrames, 0, 22050, "Move Right Locator"},
    };
    for (const SCase& test : cases) {
        PutLocators(*fDocument, test.fLeftBefore, test.fRightBefore);
        EXPECT_TRUE(fGestures.DoSliceCommand(test.fCommand, test.fFrame)) << test.fName;
        EXPECT_EQ(fDocument->GetDocumentParameters().fLeftLocator, test.fLeft) << test.fName;
        EXPECT_EQ(fDocument->GetDocumentParameters().fRightLocator, test.fRight) << test.fName;
        EXPECT_EQ(fDocument->GetUndoName(), test.fStep) << test.fName;
    }
    // Each command its own step, even when the same one repeats; the window's commands are
    // left to it.
    auto document = NSQuilletTest::MakeFourSliceDocument();
    CWaveformDocumentGestures gestures(*document);
    EXPECT_TRUE(gestures.DoSliceCommand(20254, 30000));
    EXPECT_TRUE(gestures.DoSliceCommand(20254, 50000));
    EXPECT_FALSE(gestures.DoSliceCommand(20304, 30000));
    EXPECT_FALSE(gestures.DoSliceCommand(20310, 30000));
    EXPECT_EQ(document->GetUndoHistory().GetStepNames(), (Names{"Move Left Locator", "Move Left Locator"}));
    EXPECT_EQ(fGestures.SliceRangeAt(66150), (SVisibleRange{66150, kFourSliceFrames}));
    EXPECT_FALSE(fGestures.SliceRangeAt(-1));
}

// Auditioning through an audio output of the test's own, the loop previewed as one bar.
class DocumentGesturesAuditionTest : public ::testing::Test {
protected:
    DocumentGesturesAuditionTest() {
        SDocumentParameters parameters = fDocument->GetDocumentParameters();
        parameters.fLoop.SetBars(1);
        parameters.fLoop.SetPreviewOn(true);
        fDocument->PerformParametersChange(parameters, "Change Loop Length");
        fDocument->AddListener(&fCounter);
    }
    ~DocumentGesturesAuditionTest() override { fDocument->RemoveListener(&fCounter); }

    NSQuilletTest::CScopedEnvironmentVariable fNoForcedDevice{"QUILLET_AUDIO_DEVICE", std::nullopt};
    NSQuilletTest::SFreeRunningAudioOutput fOutput;
    std::unique_ptr<CQuilletDocument> fDocument = NSQuilletTest::MakeFourSliceDocument("", fOutput.Settings());
    CWaveformDocumentGestures fGestures{*fDocument};
    NSQuilletTest::CPlaybackNotificationCounter fCounter;
};

TEST_F(DocumentGesturesAuditionTest, EachSliceEnteredPlaysOnceAndTheBeginForgetsTheLastOne) {
    ASSERT_TRUE(fDocument->CanPlay());
    struct SStep {
        int32_t fFrame;
        int fPlays;
    };
    const SStep steps[] = {
        {1000, 1},   // slice 0 entered
        {2000, 1},   // still inside
        {30000, 2},  // slice 1
        {1000, 3},   // back into slice 0
        {-5, 3},     // outside the sample
        {kFourSliceFrames, 3},
    };
    fGestures.BeginGesture(EWaveformGesture::kAudition, -1, 1000);
    for (const SStep& step : steps) {
        fGestures.ContinueGesture(step.fFrame);
        EXPECT_EQ(fCounter.fCalls, step.fPlays) << step.fFrame;
    }
    EXPECT_EQ(fDocument->GetPlayMode(), CQuilletDocument::kPlayMode_ChosenSlice);
    fGestures.EndGesture();
    // A new audition plays the same slice again.
    fGestures.BeginGesture(EWaveformGesture::kAudition, -1, 1000);
    fGestures.ContinueGesture(1000);
    EXPECT_EQ(fCounter.fCalls, 4);
    fGestures.EndGesture();
}

TEST(DocumentGestures, AuditionWithoutAnAudioOutputPlaysNothing) {
    auto document = NSQuilletTest::MakeFourSliceDocument();
    NSQuilletTest::CPlaybackNotificationCounter counter;
    document->AddListener(&counter);
    CWaveformDocumentGestures gestures(*document);
    gestures.BeginGesture(EWaveformGesture::kAudition, -1, 1000);
    gestures.ContinueGesture(1000);
    gestures.ContinueGesture(30000);
    gestures.EndGesture();
    EXPECT_EQ(counter.fCalls, 0);
    EXPECT_EQ(document->GetPlayMode(), CQuilletDocument::kPlayMode_Stopped);
    document->RemoveListener(&counter);
}

}  // namespace
}  // namespace NSQuillet
