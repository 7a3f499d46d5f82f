#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/resources/AlertIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/SoundFileTestSupport.h"
#include "ui/logic/waveform/WaveformRangeRules.h"
#include "ui/toolbars/PeakMeterView.h"
#include "ui/waveform/OSLikePushButton.h"
#include "ui/waveform/VerticalWaveformRulerView.h"
#include "ui/waveform/WaveformDetailView.h"
#include "ui/waveform/WaveformDisplayGroupView.h"
#include "ui/waveform/WaveformNavigatorView.h"

namespace NSQuillet {
namespace {

// 2 bars × 4 beats × 22050 frames.
constexpr int32_t kDemoFrames = 176400;
constexpr int kContentWidth = 800;

void Send(QWidget& widget, QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// The demo loop (two bars previewed, two closed undo steps) in a group view whose detail view's
// content is exactly 800 pixels wide.
class WaveformDisplayGroupViewTest : public ::testing::Test {
protected:
    WaveformDisplayGroupViewTest() : fDocument(NSQuilletTest::MakeDemoLoopDocument(2)), fView(*fDocument) {
        fView.resize(1000, 320);
        fView.show();
        QApplication::processEvents();
        const int extra = fView.width() - Detail().width();
        fView.resize(kContentWidth + 2 * CWaveformGeometry::kContentInset + extra, 320);
        QApplication::processEvents();
    }

    CWaveformDetailView& Detail() { return fView.GetDetailView(); }
    const CWaveformGeometry& Geometry() { return Detail().GetLogic().GetGeometry(); }
    const std::vector<SWaveformMarkerSlice>& Slices() { return Detail().GetLogic().GetSlices(); }
    QPoint MarkerCentre(int32_t shownIndex) {
        const SViewRect rect = Detail().GetLogic().GetSliceMarkerRect(shownIndex);
        return QPoint(Geometry().FrameToX(Slices()[size_t(shownIndex)].fPosition), rect.fTop + rect.fHeight / 2);
    }
    int WaveY() {
        const SViewRect area = Geometry().GetWaveformArea();
        return area.fTop + area.fHeight / 2;
    }
    void SetTool(uint32_t tool) {
        SViewAndEditAttributes attributes = fDocument->GetViewAndEditAttributes();
        attributes.fEditTool = tool;
        fDocument->SetViewAndEditAttributes(attributes);
    }
    const CSlice* SliceAt(int32_t frame) { return fDocument->GetSliceSequence().FindSliceAt(frame); }

    std::unique_ptr<CQuilletDocument> fDocument;
    CWaveformDisplayGroupView fView;
};

TEST_F(WaveformDisplayGroupViewTest, StartsShowingTheWholeSampleAtTheLaidOutWidth) {
    ASSERT_EQ(Geometry().GetContentWidth(), kContentWidth);
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{0, kDemoFrames}));
    EXPECT_EQ(fView.GetNavigator().GetGripRect().width(), fView.GetNavigator().GetTrackRect().width());
    // Nothing to zoom out to or scroll; zooming in and the vertical zoom in are possible.
    EXPECT_TRUE(fView.GetZoomInButton().isEnabled());
    EXPECT_FALSE(fView.GetZoomOutButton().isEnabled());
    EXPECT_FALSE(fView.GetScrollLeftButton().isEnabled());
    EXPECT_FALSE(fView.GetScrollRightButton().isEnabled());
    EXPECT_TRUE(fView.GetVerticalZoomInButton().isEnabled());
    EXPECT_FALSE(fView.GetVerticalZoomOutButton().isEnabled());
    EXPECT_EQ(fView.GetZoomInButton().focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(fView.GetPeakMeter().width(), CWaveformDisplayGroupView::kPeakMeterWidth);
    EXPECT_GT(fView.GetPeakMeter().height(), fView.GetDetailView().height());
    EXPECT_TRUE(fView.GetPeakMeter().IsIdleTimerRunning());
}

TEST_F(WaveformDisplayGroupViewTest, DraggingASliceMarkerWithTheArrowIsOneMoveSliceStep) {
    ASSERT_GT(Slices().size(), 4u);
    const int32_t before = Slices()[3].fPosition;
    const QPoint press = MarkerCentre(3);
    // Alt: the slice follows the mouse exactly, not to a zero crossing.
    Send(Detail(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::AltModifier);
    Send(Detail(), QEvent::MouseMove, press + QPoint(10, 0), Qt::LeftButton, Qt::AltModifier);
    Send(Detail(), QEvent::MouseMove, press + QPoint(30, 0), Qt::LeftButton, Qt::AltModifier);
    Send(Detail(), QEvent::MouseButtonRelease, press + QPoint(30, 0), Qt::LeftButton, Qt::AltModifier);
    const int32_t moved = Geometry().XToFrame(press.x() + 30, 0, kDemoFrames - 1);
    // 30 pixels at 176400 / 800 = 220.5 frames per pixel.
    EXPECT_EQ(moved - Geometry().XToFrame(press.x(), 0, kDemoFrames - 1), 6615);
    ASSERT_NE(SliceAt(moved), nullptr);
    EXPECT_TRUE(SliceAt(moved)->IsSelected());
    EXPECT_EQ(SliceAt(before), nullptr);
    EXPECT_EQ(fDocument->GetUndoName(), "Move Slice");
    // Select and both moves are one step: one undo brings the slice back.
    fDocument->Undo();
    EXPECT_NE(SliceAt(before), nullptr);
    EXPECT_EQ(SliceAt(moved), nullptr);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Preview Tempo");
    EXPECT_EQ(Detail().GetLogic().GetDragState(), EDetailDragState::kIdle);
}

// What `widget` shows now, as its window's backing store holds it.
QImage ShownPixels(QWidget& widget) {
    const QRect area(widget.mapTo(widget.window(), QPoint(0, 0)), widget.size());
    const QImage window = widget.screen()->grabWindow(widget.window()->winId()).toImage();
    return window.copy(area).convertToFormat(QImage::Format_RGB32);
}

// A slice drag repaints only the span it changed; the pixels must be those of a full repaint.
TEST_F(WaveformDisplayGroupViewTest, ASliceDragPaintsByChangedSpansWhatAFullRepaintPaints) {
    QApplication::processEvents();
    const QPoint press = MarkerCentre(3);
    Send(Detail(), QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::AltModifier);
    QApplication::processEvents();
    // Over the next marker, back past the start, then right again: the list reorders on the way,
    // and the last steps leave the marker's old places behind.
    for (int dx : {12, 40, 90, 60, -25, 7, 30, 70}) {
        Send(Detail(), QEvent::MouseMove, press + QPoint(dx, 0), Qt::LeftButton, Qt::AltModifier);
        QApplication::processEvents();
    }
    const QImage painted = ShownPixels(Detail());
    const QImage full = Detail().grab().toImage().convertToFormat(QImage::Format_RGB32);
    Send(Detail(), QEvent::MouseButtonRelease, press + QPoint(70, 0), Qt::LeftButton, Qt::AltModifier);
    ASSERT_EQ(painted.size(), full.size());
    EXPECT_TRUE(painted == full);
}

TEST_F(WaveformDisplayGroupViewTest, ThePenInsertsALockedSliceWhereItIsPressed) {
    SetTool(kEditTool_Pen);
    // Between two slices, away from any marker.
    const int x = (Geometry().FrameToX(Slices()[1].fPosition) + Geometry().FrameToX(Slices()[2].fPosition)) / 2;
    const int32_t frame = Geometry().XToFrame(x, 0, kDemoFrames - 1);
    ASSERT_EQ(SliceAt(frame), nullptr);
    Send(Detail(), QEvent::MouseButtonPress, QPoint(x, WaveY()), Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(Detail().GetLogic().GetDragState(), EDetailDragState::kPenInsert);
    Send(Detail(), QEvent::MouseButtonRelease, QPoint(x, WaveY()), Qt::LeftButton, Qt::AltModifier);
    ASSERT_NE(SliceAt(frame), nullptr);
    EXPECT_EQ(SliceAt(frame)->GetKind(), ESliceKind::kLocked);
    EXPECT_EQ(fDocument->GetUndoName(), "Insert Slice");
    EXPECT_EQ(Slices()[2].fPosition, frame);
    EXPECT_EQ(Slices()[2].fKind, ESliceKind::kLocked);
}

TEST_F(WaveformDisplayGroupViewTest, TheMuteToolTogglesTheClickedSlice) {
    SetTool(kEditTool_Mute);
    const int32_t position = Slices()[2].fPosition;
    struct SRow {
        ESliceKind fKind;
        const char* fUndoName;
    };
    for (const SRow& row : {SRow{ESliceKind::kMuted, "Mute Slice"}, SRow{ESliceKind::kNormal, "Unmute Slice"}}) {
        SCOPED_TRACE(row.fUndoName);
        const QPoint press = MarkerCentre(2);
        Send(Detail(), QEvent::MouseButtonPress, press);
        Send(Detail(), QEvent::MouseButtonRelease, press);
        ASSERT_NE(SliceAt(position), nullptr);
        EXPECT_EQ(SliceAt(position)->GetKind(), row.fKind);
        EXPECT_EQ(Slices()[2].fKind, row.fKind);
        EXPECT_EQ(fDocument->GetUndoName(), row.fUndoName);
    }
}

TEST_F(WaveformDisplayGroupViewTest, ControlClickZoomsInByTwoAroundTheClickedFrame) {
    // x 410 is frame 400 × 220.5 = 88200; the zoom level below 220.5 frames per pixel is
    // 0.0625 × 2^11 = 128, so the width is 800 × 128 = 102400 frames; the clicked frame keeps
    // its pixel: start 88200 − 128 × 88200 / 220.5 = 37000.
    const QPoint click(CWaveformGeometry::kContentInset + 400, WaveY());
    Send(Detail(), QEvent::MouseButtonPress, click, Qt::LeftButton, Qt::ControlModifier);
    Send(Detail(), QEvent::MouseButtonRelease, click, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{37000, 139400}));
    EXPECT_EQ(Geometry().XToFrame(click.x(), 0, kDemoFrames - 1), 88200);
    EXPECT_EQ(fView.GetNavigator().GetGripRect().width(),
              (fView.GetNavigator().GetTrackRect().width() * 102400 + kDemoFrames / 2) / kDemoFrames);
    EXPECT_TRUE(fView.GetZoomOutButton().isEnabled());
    EXPECT_TRUE(fView.GetScrollLeftButton().isEnabled());
    EXPECT_TRUE(fView.GetScrollRightButton().isEnabled());
}

TEST_F(WaveformDisplayGroupViewTest, TheNavigatorDragScrollsOneToOne) {
    fView.GetNavigator().setFixedWidth(700);
    QApplication::processEvents();
    ASSERT_EQ(fView.GetNavigator().GetTrackRect().width(), 700);
    const QPoint click(CWaveformGeometry::kContentInset + 400, WaveY());
    Send(Detail(), QEvent::MouseButtonPress, click, Qt::LeftButton, Qt::ControlModifier);
    Send(Detail(), QEvent::MouseButtonRelease, click, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{37000, 139400}));

    CWaveformNavigatorView& navigator = fView.GetNavigator();
    const QPoint grip = navigator.GetGripRect().center();
    Send(navigator, QEvent::MouseButtonPress, grip);
    // 70 of 700 pixels is a tenth of 176400 frames: 17640 further; the width stays.
    Send(navigator, QEvent::MouseMove, grip + QPoint(70, 0));
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{54640, 157040}));
    // Far beyond the end: the range stops at the sample's end.
    Send(navigator, QEvent::MouseMove, grip + QPoint(600, 0));
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{74000, kDemoFrames}));
    Send(navigator, QEvent::MouseButtonRelease, grip + QPoint(600, 0));
    EXPECT_FALSE(navigator.IsDragging());
    EXPECT_FALSE(fView.GetScrollRightButton().isEnabled());
}

TEST_F(WaveformDisplayGroupViewTest, TheViewCommandsSetTheVisibleRange) {
    fView.ZoomIn();
    fView.MagnifyToFitLoop();
    const SDocumentParameters parameters = fDocument->GetDocumentParameters();
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{parameters.fLeftLocator, parameters.fRightLocator}));
    fView.MagnifyToFit();
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{0, kDemoFrames}));
    // The vertical zoom reaches the ruler and the buttons: 1.25 once.
    fView.GetVerticalZoomInButton().click();
    EXPECT_DOUBLE_EQ(fView.GetVerticalRuler().GetVerticalZoom(), 1.25);
    EXPECT_TRUE(fView.GetVerticalZoomOutButton().isEnabled());
}

TEST_F(WaveformDisplayGroupViewTest, AnUndoneSliceChangeKeepsTheVisibleRange) {
    const QPoint click(CWaveformGeometry::kContentInset + 400, WaveY());
    Send(Detail(), QEvent::MouseButtonPress, click, Qt::LeftButton, Qt::ControlModifier);
    Send(Detail(), QEvent::MouseButtonRelease, click, Qt::LeftButton, Qt::ControlModifier);
    SetTool(kEditTool_Pen);
    Send(Detail(), QEvent::MouseButtonPress, click, Qt::LeftButton, Qt::AltModifier);
    Send(Detail(), QEvent::MouseButtonRelease, click, Qt::LeftButton, Qt::AltModifier);
    fDocument->Undo();
    EXPECT_EQ(Detail().GetLogic().GetVisibleRange(), (SVisibleRange{37000, 139400}));
}

// A loop without a length over 20000 silent frames whose first slice point stands at 1000.
std::unique_ptr<CQuilletDocument> LateFirstSliceDocument() {
    auto sample = NSQuilletTest::MakeSample(16, 1, 20000);
    auto slices = std::make_unique<CSliceSequence>(sample.get());
    slices->InsertSlice(CSlice(1000, 16384, ESliceKind::kLocked));
    slices->InsertSlice(CSlice(9000, 16384, ESliceKind::kLocked));
    return std::make_unique<CQuilletDocument>(std::move(sample), false, SDocumentSettings{}, 0, std::move(slices));
}

TEST(WaveformLeftLocatorNote, MovesTheLeftLocatorOnlyWhenTheUserAgreesWithoutAnUndoStep) {
    struct SRow {
        const char* fCase;
        int32_t fAnswer;
        int32_t fLeftLocator;
    };
    // "[No][Yes]": Yes is the rightmost button (33), No the one before it (34).
    for (const SRow& row : {SRow{"Yes", 33, 1000}, SRow{"No", 34, 0}}) {
        SCOPED_TRACE(row.fCase);
        auto document = LateFirstSliceDocument();
        ASSERT_EQ(document->GetDocumentParameters().fLeftLocator, 0);
        CWaveformDisplayGroupView view(*document);
        CScriptedAlertPresenter alerts;
        alerts.Answer(row.fAnswer);
        view.OfferLeftLocatorMove();
        ASSERT_EQ(alerts.GetShown().size(), 1u);
        EXPECT_EQ(alerts.GetShown()[0].fBody, "Do you want to move the left locator to the first slice point?");
        EXPECT_EQ(alerts.GetShown()[0].fButtons, (std::vector<std::string>{"No", "Yes"}));
        EXPECT_EQ(document->GetDocumentParameters().fLeftLocator, row.fLeftLocator);
        EXPECT_FALSE(document->CanUndo());
        EXPECT_EQ(view.GetDetailView().GetLogic().GetModel().fLeftLocator, row.fLeftLocator);
    }
}

TEST(WaveformLeftLocatorNote, AsksNothingForALoopWithALengthOrAMovedLocator) {
    auto withLength = LateFirstSliceDocument();
    SDocumentParameters parameters = withLength->GetDocumentParameters();
    parameters.fLoop.SetBars(1);
    withLength->PerformParametersChange(parameters, "Change Loop Length");
    auto moved = LateFirstSliceDocument();
    parameters = moved->GetDocumentParameters();
    parameters.fLeftLocator = 10;
    moved->PerformParametersChange(parameters, "Move Left Locator");
    for (CQuilletDocument* document : {withLength.get(), moved.get()}) {
        CWaveformDisplayGroupView view(*document);
        CScriptedAlertPresenter alerts;
        view.OfferLeftLocatorMove();
        EXPECT_TRUE(alerts.GetShown().empty());
    }
}

TEST(WaveformStereo, TwoLanesForAStereoSampleAndOneForMono) {
    struct SRow {
        int32_t fChannels;
        int32_t fLanes;
    };
    for (const SRow& row : {SRow{1, 1}, SRow{2, 2}}) {
        auto document = std::make_unique<CQuilletDocument>(NSQuilletTest::MakeSample(16, row.fChannels, 5000), false,
                                                           SDocumentSettings{});
        CWaveformDisplayGroupView view(*document);
        EXPECT_EQ(view.GetDetailView().GetLaneCount(), row.fLanes);
        EXPECT_EQ(view.GetVerticalRuler().GetLaneCount(), row.fLanes);
        view.GetDetailView().SetSumOfChannels(true);
        EXPECT_EQ(view.GetDetailView().GetLaneCount(), 1);
    }
}

}  // namespace
}  // namespace NSQuillet
