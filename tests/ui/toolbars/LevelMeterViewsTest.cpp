#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include <memory>

#include "app/document/QuilletDocument.h"
#include "engine/16BitWaveSample.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/ui/PaintCounter.h"
#include "ui/toolbars/CompressorMeterView.h"
#include "ui/toolbars/PeakMeterView.h"

namespace NSQuillet {
namespace {

CLevelMeter::SReading Reading(float left, float right, bool clipped = false) { return {left, right, clipped}; }

void Click(QWidget& widget, Qt::MouseButton button) {
    const QPointF at(8, 20);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget.mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// A peak meter 200 pixels high on the (stereo) demo loop, fed by the test alone: bars at x 1..6
// and 9..14; clip lamps on rows 1..5; 40 lamps share rows 10..198 (4.7 rows each), each 3 rows
// high at the bottom of its share: the top lamp on rows 11..13, the bottom one on 196..198.
class PeakMeterViewTest : public ::testing::Test {
protected:
    PeakMeterViewTest() : fDocument(NSQuilletTest::MakeDemoLoopDocument(2)), fMeter(*fDocument) {
        fMeter.SetIdleTicking(false);
        fMeter.resize(16, 200);
        fMeter.show();
        QApplication::processEvents();
    }

    QColor At(int x, int y) { return fMeter.grab().toImage().pixelColor(x, y); }
    // The lamps' colours: red (239, 74, 54) at the top and green (69, 196, 99) below, lit at
    // full strength and dark at 0.18 over the ground.
    bool TopLit(int bar) { return At(3 + 8 * bar, 12).red() > 180; }
    bool BottomLit(int bar) { return At(3 + 8 * bar, 197).green() > 150; }
    bool ClipLit() { return At(3, 3).red() > 180 && At(11, 3).red() > 180; }

    std::unique_ptr<CQuilletDocument> fDocument;
    CPeakMeterView fMeter;
};

TEST_F(PeakMeterViewTest, AFullScaleLevelLightsTheTopAndSilenceNothing) {
    ASSERT_TRUE(fDocument->GetWaveSample().IsStereo());
    EXPECT_EQ(fMeter.toolTip(), "Output level (click to clear the clip light)");
    EXPECT_FALSE(TopLit(0) || BottomLit(0) || TopLit(1) || BottomLit(1));

    fMeter.Tick(Reading(1.0f, 0.0f), 0.0);
    EXPECT_EQ(fMeter.GetModel().GetPosition(0), 999);
    EXPECT_EQ(fMeter.GetLitLamps(0), 40);
    EXPECT_EQ(fMeter.GetLitLamps(1), 0);
    EXPECT_TRUE(TopLit(0));
    EXPECT_TRUE(BottomLit(0));
    EXPECT_FALSE(TopLit(1));
    EXPECT_FALSE(BottomLit(1));

    // −40 dB: position 999 − 444 = 555 lights ceil(555 × 40 / 999) = 23 lamps, the bottom not the top.
    fMeter.Tick(Reading(0.0f, 0.01f), 0.0);
    EXPECT_EQ(fMeter.GetLitLamps(1), 23);
    EXPECT_TRUE(BottomLit(1));
    EXPECT_FALSE(TopLit(1));

    // A second later both have fallen by 0.98^689 (−121 dB): dark.
    fMeter.Tick(Reading(0.0f, 0.0f), 1000.0);
    EXPECT_EQ(fMeter.GetLitLamps(0), 0);
    EXPECT_EQ(fMeter.GetLitLamps(1), 0);
    EXPECT_FALSE(TopLit(0) || BottomLit(0) || BottomLit(1));
}

TEST_F(PeakMeterViewTest, RepaintsOnlyWhenTheLampsChange) {
    CPaintCounter paints(fMeter);
    // Idle ticks of a document that does not play change nothing.
    EXPECT_FALSE(fMeter.IsIdleTimerRunning());
    fMeter.SetIdleTicking(true);
    EXPECT_TRUE(fMeter.IsIdleTimerRunning());
    QTest::qWait(5 * CPeakMeterView::kIdleIntervalMs);
    EXPECT_EQ(paints.fCount, 0);
    fMeter.SetIdleTicking(false);

    fMeter.Tick(Reading(0.5f, 0.5f), 0.0);  // −6.02 dB: position 933, 38 lamps
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 1);
    fMeter.Tick(Reading(0.5f, 0.5f), 0.0);
    fMeter.Tick(Reading(0.0f, 0.0f), 1.0);  // 0.493: position 931, still 38 lamps
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 1);
    EXPECT_EQ(fMeter.GetLitLamps(0), 38);

    fMeter.SetIdleTicking(true);
    fMeter.hide();
    EXPECT_FALSE(fMeter.IsIdleTimerRunning());
    fMeter.show();
    EXPECT_TRUE(fMeter.IsIdleTimerRunning());
}

TEST_F(PeakMeterViewTest, TheClipLightHoldsUntilAClick) {
    fMeter.Tick(Reading(1.0f, 1.0f, true), 0.0);
    fMeter.Tick(Reading(0.0f, 0.0f), 30.0);
    EXPECT_FALSE(fMeter.GetModel().IsClipped());  // the last reading did not clip
    EXPECT_TRUE(fMeter.IsClipLit());
    EXPECT_TRUE(ClipLit());

    Click(fMeter, Qt::RightButton);
    EXPECT_TRUE(fMeter.IsClipLit());
    Click(fMeter, Qt::LeftButton);
    EXPECT_FALSE(fMeter.IsClipLit());
    EXPECT_FALSE(ClipLit());
}

TEST(PeakMeterViewMonoTest, AMonoSampleShowsItsSignalOnBothBars) {
    CQuilletDocument mono(std::make_unique<C16BitWaveSample>(44100, 4410, false), false, SDocumentSettings{});
    CPeakMeterView meter(mono);
    // The right peak of a mono reading is not read: both bars show −40 dB, 23 lamps.
    meter.Tick(Reading(0.01f, 0.9f), 0.0);
    EXPECT_EQ(meter.GetLitLamps(0), 23);
    EXPECT_EQ(meter.GetLitLamps(1), 23);

    auto stereo = NSQuilletTest::MakeDemoLoopDocument(2);
    CPeakMeterView both(*stereo);
    both.Tick(Reading(0.01f, 0.9f), 0.0);
    EXPECT_EQ(both.GetLitLamps(0), 23);
    // −0.915 dB: 999 − trunc(10.16) = 989 lights ceil(39.6) = 40.
    EXPECT_EQ(both.GetLitLamps(1), 40);
}

// The gain-change meter at its size hint, fed by the test alone: the picture at (1, 1); reduction lamp i (from the
// centre) at picture x 46 − 5i, boost lamp i at 51 + 5i, rows 1..6.
class CompressorMeterViewTest : public ::testing::Test {
protected:
    CompressorMeterViewTest() : fDocument(NSQuilletTest::MakeDemoLoopDocument(2)), fMeter(*fDocument) {
        fMeter.SetIdleTicking(false);
        fMeter.resize(fMeter.sizeHint());
        fMeter.show();
        QApplication::processEvents();
    }

    QColor Reduction(int lamp) { return fMeter.grab().toImage().pixelColor(1 + 47 - 5 * lamp, 4); }
    QColor Boost(int lamp) { return fMeter.grab().toImage().pixelColor(1 + 52 + 5 * lamp, 4); }

    std::unique_ptr<CQuilletDocument> fDocument;
    CCompressorMeterView fMeter;
};

TEST_F(CompressorMeterViewTest, ReductionGrowsLeftAndBoostRightOneLampADecibel) {
    EXPECT_EQ(fMeter.sizeHint(), QSize(103, 10));
    EXPECT_EQ(fMeter.accessibleName(), "Gain change meter");
    EXPECT_EQ(fMeter.toolTip(), "Gain change meter");
    // Dark lamps are the lit ones under 80 % of the ground (27, 31, 36).
    EXPECT_LT(Reduction(0).red(), 100);
    EXPECT_LT(Boost(0).green(), 100);

    fMeter.Tick(0.5, 1.0, 0.0);  // −6.02 dB: six lamps
    EXPECT_EQ(fMeter.GetReductionLamps(), 6);
    EXPECT_EQ(fMeter.GetBoostLamps(), 0);
    // Orange (224, 123, 36): lamp 0 at full strength, lamp 5 at 0.8; lamp 6 is dark.
    EXPECT_GT(Reduction(0).red(), 200);
    EXPECT_GT(Reduction(5).red(), 160);
    EXPECT_LT(Reduction(6).red(), 100);
    EXPECT_LT(Boost(0).green(), 100);

    fMeter.Tick(1.0, 2.0, 0.0);  // +6.02 dB; the reduction is held
    EXPECT_EQ(fMeter.GetReductionLamps(), 6);
    EXPECT_EQ(fMeter.GetBoostLamps(), 6);
    EXPECT_GT(Boost(0).green(), 200);  // teal (111, 224, 192)

    fMeter.Tick(1.0, 1.0, 10000.0);  // fallen back to no change
    EXPECT_EQ(fMeter.GetReductionLamps(), 0);
    EXPECT_EQ(fMeter.GetBoostLamps(), 0);
    EXPECT_LT(Reduction(0).red(), 100);
}

TEST_F(CompressorMeterViewTest, RepaintsOnlyWhenTheLampsChange) {
    CPaintCounter paints(fMeter);
    fMeter.SetIdleTicking(true);
    EXPECT_TRUE(fMeter.IsIdleTimerRunning());
    QTest::qWait(5 * CCompressorMeterView::kIdleIntervalMs);
    EXPECT_EQ(paints.fCount, 0);
    fMeter.SetIdleTicking(false);

    fMeter.Tick(0.7, 1.3, 0.0);  // −3.1 and +2.3 dB
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 1);
    fMeter.Tick(0.7, 1.3, 0.0);
    fMeter.Tick(1.0, 1.0, 1.0);  // a millisecond of fall: 0.7007, the same three lamps
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 1);
    EXPECT_EQ(fMeter.GetReductionLamps(), 3);
    EXPECT_EQ(fMeter.GetBoostLamps(), 2);

    fMeter.SetIdleTicking(true);
    fMeter.hide();
    EXPECT_FALSE(fMeter.IsIdleTimerRunning());
    fMeter.show();
    EXPECT_TRUE(fMeter.IsIdleTimerRunning());
}

}  // namespace
}  // namespace NSQuillet
