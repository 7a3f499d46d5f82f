#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "ui/logic/waveform/WaveformDetailViewLogic.h"

namespace NSQuillet {
namespace {

const char* GestureName(EWaveformGesture gesture) {
    switch (gesture) {
        case EWaveformGesture::kNone: return "None";
        case EWaveformGesture::kMoveLeftLocator: return "MoveLeftLocator";
        case EWaveformGesture::kMoveRightLocator: return "MoveRightLocator";
        case EWaveformGesture::kMoveSlice: return "MoveSlice";
        case EWaveformGesture::kInsertSlice: return "InsertSlice";
        case EWaveformGesture::kAudition: return "Audition";
    }
    return "?";
}

const char* PhaseName(ERangePhase phase) {
    switch (phase) {
        case ERangePhase::kBegin: return "begin";
        case ERangePhase::kContinue: return "continue";
        case ERangePhase::kEnd: return "end";
    }
    return "?";
}

// Writes down every call as one line; optionally sets the visible range back into the view
// before returning, as the group view may.
class CRecordingHandler final : public IWaveformDetailViewHandler {
public:
    void SetLocators(int32_t left, int32_t right) override {
        Log("SetLocators " + std::to_string(left) + " " + std::to_string(right));
    }
    void SliceClickedWithExtend(int32_t shownIndex) override {
        Log("SliceClickedWithExtend " + std::to_string(shownIndex));
    }
    void BeginGesture(EWaveformGesture gesture, int32_t shownIndex, int32_t frame) override {
        Log(std::string("Begin ") + GestureName(gesture) + " " + std::to_string(shownIndex) + " " +
            std::to_string(frame));
    }
    void ContinueGesture(int32_t frame) override {
        Log("Continue " + std::to_string(frame));
        if (fOnContinue) fOnContinue(frame);
    }
    void EndGesture() override { Log("End"); }
    void ContextClickOnSlice(const SPlainMouseEvent&, int32_t shownIndex) override {
        Log("ContextClickOnSlice " + std::to_string(shownIndex));
    }
    void ContextClickInWaveform(const SPlainMouseEvent&, int32_t frame) override {
        Log("ContextClickInWaveform " + std::to_string(frame));
    }
    void RangeSelection(int32_t start, int32_t end, ERangePhase phase, bool extend) override {
        Log("Range " + std::to_string(start) + " " + std::to_string(end) + " " + PhaseName(phase) +
            (extend ? " extend" : ""));
    }
    void SetVisibleRange(int32_t start, int32_t end) override {
        Log("SetVisibleRange " + std::to_string(start) + " " + std::to_string(end));
        if (fEchoRange) fEchoRange->SetVisibleRange({start, end});
    }
    void CursorDraggedTo(int32_t frame) override { Log("CursorDraggedTo " + std::to_string(frame)); }
    void VerticalZoomChanged(double factor) override { Log("VerticalZoomChanged " + std::to_string(factor)); }

    std::vector<std::string> Take() {
        std::vector<std::string> calls;
        calls.swap(fCalls);
        return calls;
    }

    CWaveformDetailViewLogic* fEchoRange = nullptr;
    std::function<void(int32_t)> fOnContinue;

private:
    void Log(const std::string& call) { fCalls.push_back(call); }
    std::vector<std::string> fCalls;
};

using Calls = std::vector<std::string>;

SPlainMouseEvent Event(int32_t x, int32_t y, uint32_t modifiers = 0, EMouseButton button = EMouseButton::kPrimary) {
    SPlainMouseEvent event;
    event.fX = x;
    event.fY = y;
    event.fModifiers = modifiers;
    event.fButton = button;
    return event;
}

// A 420 × 200 view (content x 10..409, 400 px; strip y 0..35, waveform below) showing all of a
// 4000-frame sample: 10 frames per pixel, x = 10 + frame / 10. Locators at 1000 and 3000,
// the cursor at 2500, shown slices at 0, 800 (muted, selected), 2000 (locked) and 3200.
class DetailViewLogicTest : public ::testing::Test {
protected:
    DetailViewLogicTest() {
        SWaveformDisplayModel model;
        model.fFrameCount = 4000;
        model.fUpperBound = 4000;
        model.fLeftLocator = 1000;
        model.fRightLocator = 3000;
        fLogic.SetModel(model);
        fLogic.SetViewSize(420, 200);
        fLogic.SetVisibleRange({0, 4000});
        fLogic.SetPlaybackCursor(2500);
        fLogic.SetSlices({{0, ESliceKind::kNormal, false},
                          {800, ESliceKind::kMuted, true},
                          {2000, ESliceKind::kLocked, false},
                          {3200, ESliceKind::kNormal, false}});
    }

    // Press, moves, release, all with `modifiers`; answers what was reported.
    Calls Drag(int32_t x, int32_t y, std::vector<int32_t> moves, uint32_t modifiers = 0) {
        fLogic.MouseDown(Event(x, y, modifiers));
        for (int32_t to : moves) fLogic.MouseMove(Event(to, y, modifiers));
        fLogic.MouseUp(Event(moves.empty() ? x : moves.back(), y, modifiers));
        EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kIdle);
        EXPECT_FALSE(fLogic.IsBusyWithMouse());
        return fHandler.Take();
    }

    CRecordingHandler fHandler;
    CWaveformDetailViewLogic fLogic{fHandler};
};

TEST_F(DetailViewLogicTest, MarkerRectanglesStandOnTheirHotSpots) {
    // Slice markers 11 x 18, hot spot (5, 17); their last row at y = 34, one above the strip's
    // last row 35: top = 35 - 18 = 17. Slice 800 at x = 90: left 85.
    EXPECT_EQ(fLogic.GetSliceMarkerRect(0), (SViewRect{5, 17, 11, 18}));
    EXPECT_EQ(fLogic.GetSliceMarkerRect(1), (SViewRect{85, 17, 11, 18}));
    EXPECT_EQ(fLogic.GetSliceMarkerRect(3), (SViewRect{325, 17, 11, 18}));
    EXPECT_EQ(fLogic.GetSliceMarkerRect(4), (SViewRect{}));
    // The cursor 13 x 11, hot (6, 10), at x = 260: left 254, top 35 - 11 = 24.
    EXPECT_EQ(fLogic.GetPlaybackCursorRect(), (SViewRect{254, 24, 13, 11}));
    // Left locator 12 x 14 with its left column on x = 110, widened 2 px left: 108..121.
    EXPECT_EQ(fLogic.GetLeftLocatorRect(), (SViewRect{108, 0, 14, 14}));
    // Right locator with its column 11 on x = 310: left 299, widened 2 px right: 299..312.
    EXPECT_EQ(fLogic.GetRightLocatorRect(), (SViewRect{299, 0, 14, 14}));
}

TEST_F(DetailViewLogicTest, LocatorHandlesDragWithTheirGrabOffsetAndSnapToSliceStarts) {
    struct SCase {
        const char* fName;
        int32_t fPressX;
        int32_t fMoveX;
        uint32_t fModifiers;
        Calls fCalls;
    };
    const SCase cases[] = {
        // Grab -1 (press 109, handle 110): x 229 -> 230 -> frame 2200, snapped to the start 2000.
        {"left snapped", 109, 229, 0, {"Begin MoveLeftLocator -1 1000", "Continue 2000", "End"}},
        {"left fine", 109, 229, kModifier_Fine, {"Begin MoveLeftLocator -1 1000", "Continue 2200", "End"}},
        // Past the right locator: stops at 2999, also when the snap would take it to 3200.
        {"left stops before right", 109, 400, 0, {"Begin MoveLeftLocator -1 1000", "Continue 2999", "End"}},
        // Grab -10 (press 300, handle 310): x 205 -> 215 -> 2050, nearest start 2000.
        {"right snapped", 300, 205, 0, {"Begin MoveRightLocator -1 3000", "Continue 2000", "End"}},
        {"right fine", 300, 205, kModifier_Fine, {"Begin MoveRightLocator -1 3000", "Continue 2050", "End"}},
        // x 50 -> 60 -> 500, below left + 1 = 1001; the snap to 800 is held back too.
        {"right stops after left", 300, 50, 0, {"Begin MoveRightLocator -1 3000", "Continue 1001", "End"}},
        // Beyond 3200 + (4000 - 3200) / 2 = 3600 the snap gives the end: x 390 -> 400 -> 3900.
        {"right to the end", 300, 390, 0, {"Begin MoveRightLocator -1 3000", "Continue 4000", "End"}},
    };
    for (const SCase& test : cases) {
        fLogic.MouseDown(Event(test.fPressX, 5, test.fModifiers));
        EXPECT_TRUE(fLogic.IsCapturing()) << test.fName;
        EXPECT_EQ(fLogic.GetCursorId(), 0) << test.fName;
        fLogic.MouseMove(Event(test.fMoveX, 5, test.fModifiers));
        fLogic.MouseUp(Event(test.fMoveX, 5, test.fModifiers));
        EXPECT_EQ(fHandler.Take(), test.fCalls) << test.fName;
    }
}

TEST_F(DetailViewLogicTest, ModifiersInTheUpperHalfOfTheStripStartALocatorDragWithoutAHandle) {
    // y 17 is the upper half (36 / 2 = 18) even on a slice marker's top row; grab offset 0:
    // x 150 -> 1400 (fine, no snap).
    EXPECT_EQ(Drag(212, 17, {150}, kModifier_Extend | kModifier_Fine),
              (Calls{"Begin MoveLeftLocator -1 2020", "Continue 1400", "End"}));
    EXPECT_EQ(Drag(200, 0, {350}, kModifier_Magnify | kModifier_Fine),
              (Calls{"Begin MoveRightLocator -1 1900", "Continue 3400", "End"}));
    // In the lower half the extend modifier toggles a slice instead, or extends a range.
    EXPECT_EQ(Drag(212, 18, {}, kModifier_Extend), (Calls{"SliceClickedWithExtend 2"}));
    EXPECT_EQ(Drag(150, 20, {}, kModifier_Extend),
              (Calls{"Range 1400 1400 begin extend", "Range 1400 1400 end extend"}));
}

TEST_F(DetailViewLogicTest, ASliceDragMovesFromItsGrabPointAndLandsOnZeroCrossingsUnlessFine) {
    // Loud and positive everywhere but frame 2405: from 2400 the search finds it forward.
    C16BitWaveSample sample(44100, 4000, false);
    for (int32_t frame = 0; frame < 4000; ++frame) sample.Set16(frame, frame == 2405 ? 0 : 16000, 1);
    fLogic.SetSample(&sample);
    // Grab 2 (press 212 on the handle at 210): x 252 -> 250 -> 2400.
    EXPECT_EQ(Drag(212, 30, {252}, kModifier_Fine), (Calls{"Begin MoveSlice 2 2000", "Continue 2400", "End"}));
    EXPECT_EQ(Drag(212, 30, {252}), (Calls{"Begin MoveSlice 2 2000", "Continue 2405", "End"}));
    // Clamped to the last frame.
    EXPECT_EQ(Drag(212, 30, {900}, kModifier_Fine), (Calls{"Begin MoveSlice 2 2000", "Continue 3999", "End"}));
}

TEST_F(DetailViewLogicTest, TheDraggedSliceIsFollowedWhenTheMoveReordersTheSlices) {
    // The group view copies the moved slices back: 800 dragged to 2400 becomes the third.
    fHandler.fOnContinue = [this](int32_t frame) {
        fLogic.SetSlices({{0, ESliceKind::kNormal, false},
                          {2000, ESliceKind::kLocked, false},
                          {frame, ESliceKind::kMuted, true},
                          {3200, ESliceKind::kNormal, false}});
    };
    fLogic.MouseDown(Event(90, 30));
    EXPECT_EQ(fLogic.GetDraggedSlice(), 1);
    fLogic.MouseMove(Event(250, 30, kModifier_Fine));
    EXPECT_EQ(fLogic.GetDraggedSlice(), 2);
    fLogic.MouseUp(Event(250, 30));
    EXPECT_EQ(fLogic.GetDraggedSlice(), -1);
    EXPECT_EQ(fHandler.Take(), (Calls{"Begin MoveSlice 1 800", "Continue 2400", "End"}));
}

TEST_F(DetailViewLogicTest, HandlesAreHitInOrderAndTheCursorDragReportsOnlyItsFrames) {
    // Grab -4 (press 256, cursor at 260): x 106 -> 110 -> 1000; the release reports nothing.
    fLogic.MouseDown(Event(256, 30));
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kPlaybackCursor);
    EXPECT_TRUE(fLogic.IsCapturing());
    fLogic.MouseMove(Event(106, 30));
    fLogic.MouseMove(Event(-50, 30));
    fLogic.MouseUp(Event(-50, 30));
    EXPECT_EQ(fHandler.Take(), (Calls{"CursorDraggedTo 1000", "CursorDraggedTo 0"}));
    // A slice marker over the cursor wins; a press with the mute tool still drags it.
    fLogic.SetPlaybackCursor(2000);
    fLogic.SetTool(kEditTool_Mute);
    EXPECT_EQ(Drag(210, 30, {}), (Calls{"Begin MoveSlice 2 2000", "End"}));
    // The right locator is tried before the left one where both overlap.
    fLogic.SetModel([&] {
        SWaveformDisplayModel model = fLogic.GetModel();
        model.fLeftLocator = model.fRightLocator = 3000;
        return model;
    }());
    EXPECT_EQ(Drag(310, 5, {}), (Calls{"Begin MoveRightLocator -1 3000", "End"}));
}

TEST_F(DetailViewLogicTest, ARangeDragReportsAnOrderedRangeAndSwapsItsMovingEnd) {
    fLogic.MouseDown(Event(150, 20));
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kRangeBothFree);
    EXPECT_EQ(fLogic.GetCursorId(), 1401);
    EXPECT_FALSE(fLogic.IsCapturing());
    EXPECT_TRUE(fLogic.IsBusyWithMouse());
    EXPECT_EQ(fHandler.Take(), (Calls{"Range 1400 1400 begin"}));
    struct SStep {
        int32_t fX;
        EDetailDragState fState;
        const char* fCall;
    };
    // Anchor 1400 (x 150).
    const SStep steps[] = {
        {170, EDetailDragState::kRangeMovingEnd, "Range 1400 1600 continue"},
        {120, EDetailDragState::kRangeMovingStart, "Range 1100 1400 continue"},
        // Back on the anchor the end that moved last keeps moving.
        {150, EDetailDragState::kRangeMovingStart, "Range 1400 1400 continue"},
        {400, EDetailDragState::kRangeMovingEnd, "Range 1400 3900 continue"},
    };
    for (const SStep& step : steps) {
        fLogic.MouseMove(Event(step.fX, 20));
        EXPECT_EQ(fLogic.GetDragState(), step.fState) << step.fX;
        EXPECT_EQ(fHandler.Take(), (Calls{step.fCall})) << step.fX;
    }
    // Auto-scroll belongs to the captured drags only.
    fLogic.AutoScroll(1);
    fLogic.MouseUp(Event(400, 20));
    EXPECT_EQ(fHandler.Take(), (Calls{"Range 1400 3900 end"}));
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kIdle);
}

TEST_F(DetailViewLogicTest, AnEmptyPlaceInTheStripStartsARangeOnlyWithTheArrowOrThePen) {
    const struct {
        uint32_t fTool;
        bool fRange;
    } tools[] = {{kEditTool_Arrow, true}, {kEditTool_Pen, true}, {kEditTool_Mute, false}, {kEditTool_Lock, false}};
    for (const auto& tool : tools) {
        fLogic.SetTool(tool.fTool);
        const Calls calls = Drag(150, 20, {160});
        EXPECT_EQ(calls.empty(), !tool.fRange) << tool.fTool;
    }
}

TEST_F(DetailViewLogicTest, APressInTheWaveformAuditionsOrInsertsByTool) {
    struct SCase {
        uint32_t fTool;
        int32_t fCursorId;
        Calls fCalls;
    };
    const SCase cases[] = {
        // The press plays the slice under it; moves report the frames entered (1400, 1600).
        {kEditTool_Arrow, 1701, {"Begin Audition -1 1400", "Continue 1400", "Continue 1600", "End"}},
        {kEditTool_Mute, 1701, {"Begin Audition -1 1400", "Continue 1400", "Continue 1600", "End"}},
        {kEditTool_Lock, 1701, {"Begin Audition -1 1400", "Continue 1400", "Continue 1600", "End"}},
        // Without a sample the pen's frame is not snapped; its moves report nothing.
        {kEditTool_Pen, 1700, {"Begin InsertSlice -1 1400", "End"}},
    };
    for (const SCase& test : cases) {
        fLogic.SetTool(test.fTool);
        fLogic.MouseDown(Event(150, 100));
        EXPECT_EQ(fLogic.GetCursorId(), test.fCursorId) << test.fTool;
        EXPECT_TRUE(fLogic.IsCapturing()) << test.fTool;
        fLogic.MouseMove(Event(170, 100));
        fLogic.MouseUp(Event(170, 100));
        EXPECT_EQ(fHandler.Take(), test.fCalls) << test.fTool;
    }
}

TEST_F(DetailViewLogicTest, ThePenLandsOnAZeroCrossingUnlessFine) {
    C16BitWaveSample sample(44100, 4000, false);
    for (int32_t frame = 0; frame < 4000; ++frame) sample.Set16(frame, frame == 1397 ? 0 : -16000, 1);
    fLogic.SetSample(&sample);
    fLogic.SetTool(kEditTool_Pen);
    // From 1400 the search steps +1, -1, +2, -2, +3, -3: 1397 is found going back.
    EXPECT_EQ(Drag(150, 100, {}), (Calls{"Begin InsertSlice -1 1397", "End"}));
    EXPECT_EQ(Drag(150, 100, {}, kModifier_Fine), (Calls{"Begin InsertSlice -1 1400", "End"}));
}

TEST_F(DetailViewLogicTest, MagnifyClickZoomsInAndMagnifyDragShowsTheBandAndSetsIt) {
    // A click at x 110 (frame 1000): frames per pixel 10 -> 8 (0.0625 x 2^7); end 0 + 400 x 8
    // = 3200, shifted by 1000 - 8 x 1000 / 10 = 200: [200, 3400).
    fLogic.MouseDown(Event(110, 100, kModifier_Magnify));
    EXPECT_TRUE(fLogic.IsBusyWithMouse());
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kIdle);
    EXPECT_FALSE(fLogic.GetMagnifyBand());
    fLogic.MouseUp(Event(110, 100, kModifier_Magnify));
    EXPECT_EQ(fHandler.Take(), (Calls{"SetVisibleRange 200 3400"}));
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{200, 3400}));

    // A drag at 10 frames per pixel again: from 1000 (x 110) to 2000 (x 210), then back to 500.
    fLogic.SetVisibleRange({0, 4000});
    fLogic.MouseDown(Event(110, 100, kModifier_Magnify));
    fLogic.MouseMove(Event(210, 100, kModifier_Magnify));
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kMagnify);
    EXPECT_EQ(fLogic.GetCursorId(), 1500);
    EXPECT_TRUE(fLogic.IsCapturing());
    EXPECT_EQ(fLogic.GetMagnifyBand(), (SVisibleRange{1000, 2000}));
    fLogic.MouseMove(Event(60, 100, kModifier_Magnify));
    EXPECT_EQ(fLogic.GetMagnifyBand(), (SVisibleRange{500, 1000}));
    fLogic.MouseUp(Event(60, 100, kModifier_Magnify));
    EXPECT_EQ(fHandler.Take(), (Calls{"SetVisibleRange 500 1000"}));
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{500, 1000}));
    EXPECT_FALSE(fLogic.GetMagnifyBand());

    // Dragged back to where it started: zoom in around the start, as a click.
    fLogic.SetVisibleRange({0, 4000});
    EXPECT_EQ(Drag(110, 100, {150, 110}, kModifier_Magnify), (Calls{"SetVisibleRange 200 3400"}));
}

TEST_F(DetailViewLogicTest, MagnifyWithFineZoomsOutAroundTheFrameUnderTheMouse) {
    // Whole sample shown: nothing to zoom out.
    EXPECT_EQ(Drag(110, 100, {}, kModifier_Magnify | kModifier_Fine), Calls{});
    // [1000, 3000) at 5 frames per pixel; x 110 is frame 1500. 5 -> 8 (first 0.0625 x 2^k
    // above 5.00625); end 1000 + 3200 = 4200, shifted by 500 - 8 x 500 / 5 = -300: [700, 3900).
    fLogic.SetVisibleRange({1000, 3000});
    EXPECT_EQ(Drag(110, 100, {}, kModifier_Magnify | kModifier_Fine), (Calls{"SetVisibleRange 700 3900"}));
    // At the deepest zoom a magnify click does nothing.
    fLogic.SetVisibleRange({1000, 1025});
    EXPECT_EQ(Drag(110, 100, {}, kModifier_Magnify), Calls{});
}

TEST_F(DetailViewLogicTest, SecondaryClicksOnASliceMarkerOrInTheWaveform) {
    const auto secondary = [&](int32_t x, int32_t y) {
        fLogic.MouseDown(Event(x, y, 0, EMouseButton::kSecondary));
        fLogic.MouseUp(Event(x, y, 0, EMouseButton::kSecondary));
        EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kIdle);
        return fHandler.Take();
    };
    EXPECT_EQ(secondary(212, 30), (Calls{"ContextClickOnSlice 2"}));
    EXPECT_EQ(secondary(150, 100), (Calls{"ContextClickInWaveform 1400"}));
    // An empty place or a locator in the strip offers no menu.
    EXPECT_EQ(secondary(150, 20), Calls{});
    EXPECT_EQ(secondary(110, 5), Calls{});
}

TEST_F(DetailViewLogicTest, APressDuringADragOrWithoutSoundStartsNothing) {
    fLogic.MouseDown(Event(212, 30));
    fLogic.MouseDown(Event(150, 100, 0, EMouseButton::kSecondary));
    fLogic.MouseDown(Event(90, 30));
    EXPECT_EQ(fLogic.GetDraggedSlice(), 2);
    fLogic.MouseUp(Event(212, 30, 0, EMouseButton::kSecondary));
    EXPECT_EQ(fLogic.GetDragState(), EDetailDragState::kSlice);
    fLogic.MouseUp(Event(212, 30));
    EXPECT_EQ(fHandler.Take(), (Calls{"Begin MoveSlice 2 2000", "End"}));

    fLogic.SetModel(SWaveformDisplayModel{});
    fLogic.SetVisibleRange({0, 0});
    for (int32_t y : {5, 30, 100}) EXPECT_EQ(Drag(150, y, {160}), Calls{}) << y;
}

// Auto-scroll at 5 frames per pixel ([1000, 3000)) during a fine slice drag held at x 500:
// frame (500 - 10) x 5 + start.
class DetailViewAutoScrollTest : public DetailViewLogicTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DetailViewAutoScrollTest, ScrollsBy64PixelsAndContinuesTheDragWhetherOrNotTheRangeIsEchoed) {
    if (GetParam()) fHandler.fEchoRange = &fLogic;
    fLogic.SetVisibleRange({1000, 3000});
    fLogic.MouseDown(Event(210, 30, kModifier_Fine));
    fLogic.MouseMove(Event(500, 30, kModifier_Fine));
    // One step: start = x to frame of 10 + 64 = 1320.
    fLogic.AutoScroll(1);
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{1320, 3320}));
    // Five more would pass 4000 - 2000: the start stops at 2000.
    fLogic.AutoScroll(5);
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{2000, 4000}));
    // At the end nothing scrolls and the drag is not repeated.
    fLogic.AutoScroll(1);
    // Back one step: (10 - 64 - 10) x 5 + 2000 = 1680.
    fLogic.AutoScroll(-1);
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{1680, 3680}));
    fLogic.MouseUp(Event(500, 30));
    EXPECT_EQ(fHandler.Take(), (Calls{"Begin MoveSlice 2 2000", "Continue 3450", "SetVisibleRange 1320 3320",
                                      "Continue 3770", "SetVisibleRange 2000 4000", "Continue 3999",
                                      "SetVisibleRange 1680 3680", "Continue 3999", "End"}));
}

INSTANTIATE_TEST_SUITE_P(Echo, DetailViewAutoScrollTest, ::testing::Bool());

TEST_F(DetailViewLogicTest, ScrollButtonsStepSixteenContentPixels) {
    // 2000 frames over the 400-pixel content: 5 per pixel, a step of 80 frames.
    fLogic.SetVisibleRange({1000, 3000});
    EXPECT_TRUE(fLogic.CanScrollLeft());
    EXPECT_TRUE(fLogic.CanScrollRight());
    fLogic.ScrollLeft();
    EXPECT_EQ(fLogic.GetVisibleRange(), (SVisibleRange{920, 2920}));
    fLogic.ScrollRight();
    fLogic.ScrollRight();
    EXPECT_EQ(fHandler.Take(), (Calls{"SetVisibleRange 920 2920", "SetVisibleRange 1000 3000",
                                      "SetVisibleRange 1080 3080"}));
    fLogic.SetVisibleRange({0, 4000});
    EXPECT_FALSE(fLogic.CanScrollLeft());
    EXPECT_FALSE(fLogic.CanZoomOut());
    fLogic.ScrollLeft();
    fLogic.ZoomOut();
    EXPECT_EQ(fHandler.Take(), Calls{});
}

TEST_F(DetailViewLogicTest, ZoomInWithoutAFrameZoomsAroundThePlaybackCursor) {
    // Cursor 2500: 10 -> 8 frames per pixel, end 3200, shifted by 2500 - 8 x 2500 / 10 = 500.
    fLogic.ZoomIn();
    EXPECT_EQ(fHandler.Take(), (Calls{"SetVisibleRange 500 3700"}));
}

TEST_F(DetailViewLogicTest, VerticalZoomStepsBy125WithinOneToSixteenAndReportsOnlyChanges) {
    EXPECT_FALSE(fLogic.CanVerticalZoomOut());
    fLogic.VerticalZoomOut();
    fLogic.VerticalZoomIn();
    EXPECT_DOUBLE_EQ(fLogic.GetVerticalZoom(), 1.25);
    fLogic.VerticalZoomOut();
    EXPECT_DOUBLE_EQ(fLogic.GetVerticalZoom(), 1.0);
    // 15 x 1.25 = 18.75, held at 16; then no further change.
    fLogic.SetVerticalZoom(15.0);
    fLogic.VerticalZoomIn();
    EXPECT_FALSE(fLogic.CanVerticalZoomIn());
    fLogic.VerticalZoomIn();
    EXPECT_EQ(fHandler.Take(), (Calls{"VerticalZoomChanged 1.250000", "VerticalZoomChanged 1.000000",
                                      "VerticalZoomChanged 16.000000"}));
    fLogic.SetVerticalZoom(40.0);
    EXPECT_DOUBLE_EQ(fLogic.GetVerticalZoom(), 16.0);
    fLogic.SetVerticalZoom(0.5);
    EXPECT_DOUBLE_EQ(fLogic.GetVerticalZoom(), 1.0);
    EXPECT_EQ(fHandler.Take(), Calls{});
}

}  // namespace
}  // namespace NSQuillet
