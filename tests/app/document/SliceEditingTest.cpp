#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/document/SliceEditing.h"
#include "engine/SliceSequence.h"
#include "tests/app/document/FourSliceDocument.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::Positions;

std::vector<bool> Selection(const CQuilletDocument& document) {
    std::vector<bool> selected;
    for (const CSlice& slice : document.GetSliceSequence().GetSlices()) selected.push_back(slice.IsSelected());
    return selected;
}

std::vector<ESliceKind> Kinds(const CQuilletDocument& document) {
    std::vector<ESliceKind> kinds;
    for (const CSlice& slice : document.GetSliceSequence().GetSlices()) kinds.push_back(slice.GetKind());
    return kinds;
}

// Editing the four shown normal slices of NSQuilletTest::MakeFourSliceDocument.
class SliceEditingTest : public ::testing::Test {
protected:
    std::unique_ptr<CQuilletDocument> fDocument = NSQuilletTest::MakeFourSliceDocument();
    CSliceEditing fEditing{*fDocument};
};

TEST_F(SliceEditingTest, SelectThenMoveIsOneMoveSliceStep) {
    fEditing.SelectSlice(1, false);
    EXPECT_EQ(fDocument->GetUndoName(), "Select Slice");
    int32_t index = fEditing.MoveSlice(1, 30000);
    index = fEditing.MoveSlice(index, 50000);
    EXPECT_EQ(index, 2);
    fDocument->CloseUndoStep();
    EXPECT_EQ(fDocument->GetUndoHistory().GetStepNames(), (std::vector<std::string>{"Move Slice"}));
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 44100, 50000, 66150}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, false, true, false}));
    fDocument->Undo();
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 22050, 44100, 66150}));
    EXPECT_EQ(Selection(*fDocument), (std::vector<bool>{false, false, false, false}));
    // A later selection after the closed step is a new step.
    fDocument->Redo();
    fDocument->CloseUndoStep();
    fEditing.SelectSlice(0, false);
    EXPECT_EQ(fDocument->GetUndoHistory().GetStepCount(), 2u);
}

TEST_F(SliceEditingTest, MoveOntoAnotherSliceOrAnUnchangedSelectionCommitsNothing) {
    EXPECT_EQ(fEditing.MoveSlice(1, 44100), 1);
    EXPECT_EQ(fEditing.MoveSlice(7, 100), 7);
    fEditing.SelectSlice(2, false);
    fDocument->CloseUndoStep();
    fEditing.SelectSlice(2, false);
    EXPECT_EQ(fDocument->GetUndoHistory().GetStepCount(), 1u);
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 22050, 44100, 66150}));
}

TEST(SliceEditing, InsertGivesALockedSliceAndKeepsTheLevelOfOneAlreadyThere) {
    auto sample = NSQuilletTest::MakeRampSample();
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(0, 20000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(22050, 5000, ESliceKind::kNormal));
    slices->InsertSlice(CSlice(44100, 3000, ESliceKind::kMuted, true));
    slices->InsertSlice(CSlice(66150, 1000, ESliceKind::kLocked));
    slices->SetSensitivity(CSliceSequence::kMaximumSensitivity);
    CQuilletDocument document(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
    CSliceEditing editing(document);

    struct SRow {
        const char* fCase;
        int32_t fFrame;
        int16_t fLevel;
        bool fSelected;
    };
    for (const SRow& row : {SRow{"between slices: the inserted level", 30000, 16384, false},
                            SRow{"over a normal slice", 22050, 5000, false},
                            SRow{"over a muted, selected slice", 44100, 3000, true}}) {
        SCOPED_TRACE(row.fCase);
        editing.InsertSlice(row.fFrame);
        EXPECT_EQ(document.GetUndoName(), "Insert Slice");
        const CSlice* slice = document.GetSliceSequence().FindSliceAt(row.fFrame);
        ASSERT_NE(slice, nullptr);
        EXPECT_EQ(slice->GetKind(), ESliceKind::kLocked);
        EXPECT_EQ(slice->GetLevel(), row.fLevel);
        EXPECT_EQ(slice->IsSelected(), row.fSelected);
        EXPECT_EQ(document.GetSliceSequence().GetSliceCount(), 5);
    }
    // A locked slice stays as it is, and outside the sample there is nothing to insert: no step.
    const size_t steps = document.GetUndoHistory().GetStepCount();
    editing.InsertSlice(66150);
    editing.InsertSlice(NSQuilletTest::kFourSliceFrames);
    editing.InsertSlice(-1);
    EXPECT_EQ(document.GetUndoHistory().GetStepCount(), steps);
    EXPECT_EQ(document.GetSliceSequence().FindSliceAt(66150)->GetLevel(), 1000);
    EXPECT_EQ(document.GetSliceSequence().GetSliceCount(), 5);
}

TEST_F(SliceEditingTest, SelectionCommandsAndTheirNames) {
    struct SRow {
        const char* fName;
        void (*fCommand)(CSliceEditing&);
        std::vector<ESliceKind> fKinds;
        std::vector<bool> fSelected;
    };
    using K = ESliceKind;
    const std::vector<SRow> rows = {
        {"Mute Slices", [](CSliceEditing& e) { e.SetSelectedSlicesMuted(true); },
         {K::kNormal, K::kMuted, K::kMuted, K::kNormal}, {false, true, true, false}},
        {"Lock Slices", [](CSliceEditing& e) { e.SetSelectedSlicesLocked(true); },
         {K::kNormal, K::kLocked, K::kLocked, K::kNormal}, {false, true, true, false}},
        {"Invert Selection", [](CSliceEditing& e) { e.InvertSelection(); },
         {K::kNormal, K::kNormal, K::kNormal, K::kNormal}, {true, false, false, true}},
        {"Select All Slices", [](CSliceEditing& e) { e.SelectAllSlices(); },
         {K::kNormal, K::kNormal, K::kNormal, K::kNormal}, {true, true, true, true}},
        {"Mute Slice", [](CSliceEditing& e) { e.ClickWithMuteTool(0); },
         {K::kMuted, K::kNormal, K::kNormal, K::kNormal}, {false, true, true, false}},
        {"Lock Slice", [](CSliceEditing& e) { e.ClickWithLockTool(3); },
         {K::kNormal, K::kNormal, K::kNormal, K::kLocked}, {false, true, true, false}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        auto document = NSQuilletTest::MakeFourSliceDocument();
        CSliceEditing editing(*document);
        editing.SelectSlice(1, false);
        editing.SelectSlice(2, true);
        document->CloseUndoStep();
        row.fCommand(editing);
        EXPECT_EQ(document->GetUndoName(), row.fName);
        EXPECT_EQ(Kinds(*document), row.fKinds);
        EXPECT_EQ(Selection(*document), row.fSelected);
        document->Undo();
        EXPECT_EQ(Selection(*document), (std::vector<bool>{false, true, true, false}));
    }
}

TEST(SliceEditing, AToolClickOnASelectedSliceSetsEverySelectedShownSliceToTheOppositeState) {
    using K = ESliceKind;
    // Nine slices: 0..5 selected, 5 hidden (level 100 at sensitivity 50: threshold 16218).
    const std::vector<K> initial = {K::kNormal, K::kMuted,  K::kLocked, K::kNormal, K::kMuted,
                                    K::kNormal, K::kNormal, K::kMuted,  K::kLocked};
    struct SRow {
        const char* fCase;
        void (CSliceEditing::*fClick)(int32_t);
        int32_t fIndex;
        std::vector<K> fKinds;
        const char* fName;  // "" when nothing changes
    };
    const std::vector<SRow> rows = {
        {"mute, normal selected", &CSliceEditing::ClickWithMuteTool, 0,
         {K::kMuted, K::kMuted, K::kLocked, K::kMuted, K::kMuted, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Mute Slices"},
        {"mute, muted selected", &CSliceEditing::ClickWithMuteTool, 1,
         {K::kNormal, K::kNormal, K::kLocked, K::kNormal, K::kNormal, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Unmute Slices"},
        // A lock outranks a mute: the locked slices stay, the others are muted.
        {"mute, locked selected", &CSliceEditing::ClickWithMuteTool, 2,
         {K::kMuted, K::kMuted, K::kLocked, K::kMuted, K::kMuted, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Mute Slices"},
        {"mute, normal alone", &CSliceEditing::ClickWithMuteTool, 6,
         {K::kNormal, K::kMuted, K::kLocked, K::kNormal, K::kMuted, K::kNormal, K::kMuted, K::kMuted, K::kLocked},
         "Mute Slice"},
        {"mute, muted alone", &CSliceEditing::ClickWithMuteTool, 7,
         {K::kNormal, K::kMuted, K::kLocked, K::kNormal, K::kMuted, K::kNormal, K::kNormal, K::kNormal, K::kLocked},
         "Unmute Slice"},
        {"mute, locked alone", &CSliceEditing::ClickWithMuteTool, 8, initial, ""},
        {"lock, normal selected", &CSliceEditing::ClickWithLockTool, 0,
         {K::kLocked, K::kLocked, K::kLocked, K::kLocked, K::kLocked, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Lock Slices"},
        {"lock, muted selected", &CSliceEditing::ClickWithLockTool, 1,
         {K::kLocked, K::kLocked, K::kLocked, K::kLocked, K::kLocked, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Lock Slices"},
        {"lock, locked selected", &CSliceEditing::ClickWithLockTool, 2,
         {K::kNormal, K::kMuted, K::kNormal, K::kNormal, K::kMuted, K::kNormal, K::kNormal, K::kMuted, K::kLocked},
         "Unlock Slices"},
        {"lock, normal alone", &CSliceEditing::ClickWithLockTool, 6,
         {K::kNormal, K::kMuted, K::kLocked, K::kNormal, K::kMuted, K::kNormal, K::kLocked, K::kMuted, K::kLocked},
         "Lock Slice"},
        {"lock, muted alone", &CSliceEditing::ClickWithLockTool, 7,
         {K::kNormal, K::kMuted, K::kLocked, K::kNormal, K::kMuted, K::kNormal, K::kNormal, K::kLocked, K::kLocked},
         "Lock Slice"},
        {"lock, locked alone", &CSliceEditing::ClickWithLockTool, 8,
         {K::kNormal, K::kMuted, K::kLocked, K::kNormal, K::kMuted, K::kNormal, K::kNormal, K::kMuted, K::kNormal},
         "Unlock Slice"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        auto sample = NSQuilletTest::MakeRampSample();
        auto slices = std::make_unique<CSliceSequence>(sample.get());
        for (int32_t i = 0; i < int32_t(initial.size()); ++i)
            slices->InsertSlice(CSlice(i * 8000, i == 5 ? 100 : 20000, initial[size_t(i)], i <= 5));
        slices->SetSensitivity(50);
        CQuilletDocument document(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
        CSliceEditing editing(document);

        (editing.*row.fClick)(row.fIndex);
        EXPECT_EQ(Kinds(document), row.fKinds);
        EXPECT_EQ(Selection(document), (std::vector<bool>{true, true, true, true, true, true, false, false, false}));
        if (*row.fName == 0) {
            EXPECT_FALSE(document.CanUndo());
            continue;
        }
        EXPECT_EQ(document.GetUndoHistory().GetStepNames(), (std::vector<std::string>{row.fName}));
        document.Undo();
        EXPECT_EQ(Kinds(document), initial);
    }
}

TEST_F(SliceEditingTest, UnmuteAndUnlockUndoTheirKindOnly) {
    fEditing.ClickWithMuteTool(1);
    fEditing.ClickWithLockTool(2);
    fEditing.SelectAllSlices();
    fEditing.SetSelectedSlicesMuted(false);
    EXPECT_EQ(fDocument->GetUndoName(), "Unmute Slices");
    EXPECT_EQ(fDocument->GetSliceSequence().GetSlice(1)->GetKind(), ESliceKind::kNormal);
    EXPECT_EQ(fDocument->GetSliceSequence().GetSlice(2)->GetKind(), ESliceKind::kLocked);
    // All selected: the click unlocks every selected locked slice, here the one.
    fEditing.ClickWithLockTool(2);
    EXPECT_EQ(fDocument->GetUndoName(), "Unlock Slices");
    EXPECT_EQ(Kinds(*fDocument), (std::vector<ESliceKind>(4, ESliceKind::kNormal)));
}

TEST_F(SliceEditingTest, DeleteRemovesTheSelectedShownSlices) {
    fEditing.SelectSlice(1, false);
    fEditing.SelectSlice(3, true);
    fDocument->CloseUndoStep();
    fEditing.DeleteSelectedSlices();
    EXPECT_EQ(fDocument->GetUndoName(), "Delete Slices");
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 44100}));
    fEditing.SelectAllSlices();
    fEditing.DeleteSelectedSlices();
    // Never empty: the placeholder at frame 0.
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0}));
    fDocument->Undo();
    fDocument->Undo();
    fDocument->Undo();
    EXPECT_EQ(Positions(*fDocument), (std::vector<int32_t>{0, 22050, 44100, 66150}));
}

}  // namespace
}  // namespace NSQuillet
