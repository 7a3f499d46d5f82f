#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/ui/PaintCounter.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/toolbars/KnobValueEntry.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"
#include "ui/toolbars/QuilletKnobView.h"

namespace NSQuillet {
namespace {

using Events = std::vector<std::string>;

// Writes down every call as "begin", "value N" or "end".
class CRecordingHandler final : public IQuilletKnobViewHandler {
public:
    void BeginChange(CQuilletKnobView&) override { fEvents.push_back("begin"); }
    void ValueChanged(CQuilletKnobView&, int32_t value) override { fEvents.push_back("value " + std::to_string(value)); }
    void EndChange(CQuilletKnobView&) override { fEvents.push_back("end"); }
    Events Take() { return std::exchange(fEvents, {}); }
    const Events& Get() const { return fEvents; }

private:
    Events fEvents;
};

// Stands for the document window: it records the keys that reach it.
class CKeyRecordingWindow final : public QWidget {
public:
    std::vector<int> fKeys;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        fKeys.push_back(event->key());
        event->accept();
    }
};

void SendMouse(QWidget& widget, QEvent::Type type, const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void SendWheel(QWidget& widget, QPoint angle, QPoint pixels = QPoint(), Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(14, 14);
    QWheelEvent event(at, widget.mapToGlobal(at), pixels, angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

void SendKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// One knob of the toolbars in a window that stands for the document window, shown and active.
class QuilletKnobViewTest : public ::testing::Test {
protected:
    QuilletKnobViewTest() {
        fWindow.resize(240, 120);
        fOther = new QLineEdit(&fWindow);
        fOther->setGeometry(150, 80, 80, 24);
        fWindow.show();
        fWindow.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fWindow));
    }

    CQuilletKnobView& Make(EToolbarKnob kind, int32_t value, bool withEntry = false) {
        const SKnobSettings& settings = GetToolbarKnobSettings(kind);
        if (settings.fScale == EKnobScale::kLogarithmic) {
            fKnob = std::make_unique<CQuilletLogKnobView>(&fWindow, fHandler, settings, "Knob tip", "knob");
        } else {
            fKnob = std::make_unique<CQuilletKnobView>(&fWindow, fHandler, settings, "Knob tip", "knob");
        }
        fKnob->setGeometry(100, 40, 28, 28);
        fKnob->SetValue(value);
        if (withEntry) {
            fKnob->SetValueEntry([kind](int32_t v) { return GetKnobValueEntryText(kind, v); },
                                 [kind](const std::string& text) { return ParseKnobValueEntry(kind, text); });
        }
        fKnob->show();
        QApplication::processEvents();
        return *fKnob;
    }

    void Drag(const std::vector<QPoint>& moves, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint start(14, 14);
        SendMouse(*fKnob, QEvent::MouseButtonPress, start, modifiers);
        for (const QPoint& move : moves) SendMouse(*fKnob, QEvent::MouseMove, start + move, modifiers);
        SendMouse(*fKnob, QEvent::MouseButtonRelease, start + (moves.empty() ? QPoint() : moves.back()), modifiers);
    }

    void DoubleClick(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPoint at(14, 14);
        SendMouse(*fKnob, QEvent::MouseButtonPress, at, modifiers);
        SendMouse(*fKnob, QEvent::MouseButtonRelease, at, modifiers);
        SendMouse(*fKnob, QEvent::MouseButtonDblClick, at, modifiers);
        SendMouse(*fKnob, QEvent::MouseButtonRelease, at, modifiers);
    }

    void FocusByTab() {
        fKnob->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(fKnob->hasFocus());
    }

    CKeyRecordingWindow fWindow;
    QLineEdit* fOther = nullptr;
    CRecordingHandler fHandler;
    std::unique_ptr<CQuilletKnobView> fKnob;
};

TEST_F(QuilletKnobViewTest, ADragOfManyMovesIsOneGesture) {
    // Pitch from 100 cents, 25 cents a pixel to the right.
    Make(EToolbarKnob::kPitch, 100);
    SendMouse(*fKnob, QEvent::MouseButtonPress, QPoint(14, 14));
    EXPECT_EQ(fKnob->cursor().shape(), Qt::BitmapCursor);  // the skin's cursor 870
    for (int x = 15; x <= 18; ++x) SendMouse(*fKnob, QEvent::MouseMove, QPoint(x, 14));
    SendMouse(*fKnob, QEvent::MouseMove, QPoint(18, 4));  // 10 up beats 4 across: +250
    SendMouse(*fKnob, QEvent::MouseButtonRelease, QPoint(18, 4));
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 125", "value 150", "value 175", "value 200", "value 450", "end"}));
    EXPECT_EQ(fKnob->GetValue(), 450);
    EXPECT_FALSE(fKnob->testAttribute(Qt::WA_SetCursor));
    EXPECT_FALSE(fKnob->IsDragging());
}

TEST_F(QuilletKnobViewTest, SlowDragsAddUpAndThePitchStopsOnZeroOnce) {
    // Threshold, 0.7 a pixel: the first pixel is no step, the second makes one.
    Make(EToolbarKnob::kShaperThreshold, 77);
    Drag({{1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 78", "end"}));

    // Pitch −40: 3 px = +75 would cross 0 and stops on it; then it goes on, 25 a pixel.
    Make(EToolbarKnob::kPitch, -40);
    Drag({{3, 0}, {4, 0}, {8, 0}});
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 0", "value 25", "value 125", "end"}));

    // Shift is fine: pitch at 0.5 cents a pixel.
    Make(EToolbarKnob::kPitch, 100);
    Drag({{4, 0}}, Qt::ShiftModifier);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 102", "end"}));
}

TEST_F(QuilletKnobViewTest, CtrlClickResetsToTheDefaultOrTheOverride) {
    Make(EToolbarKnob::kLowGain, -5400);
    SendMouse(*fKnob, QEvent::MouseButtonPress, QPoint(14, 14), Qt::ControlModifier);
    SendMouse(*fKnob, QEvent::MouseMove, QPoint(30, 14), Qt::ControlModifier);
    SendMouse(*fKnob, QEvent::MouseButtonRelease, QPoint(30, 14), Qt::ControlModifier);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 0", "end"}));
    EXPECT_EQ(fKnob->GetValue(), 0);

    // The tempo knob resets to the loop's own tempo when the toolbar says so.
    Make(EToolbarKnob::kPreviewTempo, 140000);
    fKnob->SetResetValue(120000);
    Drag({}, Qt::ControlModifier);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 120000", "end"}));
    fKnob->SetResetValue(std::nullopt);
    Drag({}, Qt::ControlModifier);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 20000", "end"}));
}

TEST_F(QuilletKnobViewTest, TheRightButtonDoesNothing) {
    Make(EToolbarKnob::kPitch, 100);
    SendMouse(*fKnob, QEvent::MouseButtonPress, QPoint(14, 14), Qt::NoModifier, Qt::RightButton);
    SendMouse(*fKnob, QEvent::MouseMove, QPoint(30, 14), Qt::NoModifier, Qt::RightButton);
    SendMouse(*fKnob, QEvent::MouseButtonRelease, QPoint(30, 14), Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(fHandler.Take(), Events{});
    EXPECT_EQ(fKnob->GetValue(), 100);
}

TEST_F(QuilletKnobViewTest, AWheelBurstIsOneGestureEndedByATimeOrAPress) {
    ASSERT_FALSE(Make(EToolbarKnob::kPitch, 0).hasFocus());  // the wheel needs no focus
    SendWheel(*fKnob, QPoint(0, 120));
    SendWheel(*fKnob, QPoint(0, 240));                       // two notches at once
    SendWheel(*fKnob, QPoint(0, -120));
    EXPECT_EQ(fHandler.Get(), (Events{"begin", "value 25", "value 75", "value 50"}));
    EXPECT_TRUE(fKnob->IsInBurst());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fKnob->IsInBurst(); }, 3000));
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 25", "value 75", "value 50", "end"}));

    // A touchpad's small deltas add up to notches; Shift steps finely (1 cent); a press ends
    // the burst at once, before its own gesture.
    SendWheel(*fKnob, QPoint(0, 60));
    EXPECT_EQ(fHandler.Get(), Events{});
    SendWheel(*fKnob, QPoint(0, 60));
    SendWheel(*fKnob, QPoint(0, 120), QPoint(), Qt::ShiftModifier);
    SendWheel(*fKnob, QPoint(), QPoint(0, 120));  // pixels only
    Drag({});
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 75", "value 76", "value 100", "end", "begin", "end"}));

    // A logarithmic knob moves by a visible factor: the gain from 0 dB, one filmstrip frame.
    Make(EToolbarKnob::kProcessingGain, 1000);
    SendWheel(*fKnob, QPoint(0, 120));
    fKnob->hide();
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 1112", "end"}));  // × 1.112, +0.92 dB
}

TEST_F(QuilletKnobViewTest, ArrowAndPageKeysStepWhileFocusedAndFocusOutEndsTheBurst) {
    Make(EToolbarKnob::kPreviewTempo, 120000);
    FocusByTab();
    QTest::keyClick(fKnob.get(), Qt::Key_Up);
    QTest::keyClick(fKnob.get(), Qt::Key_Right);
    QTest::keyClick(fKnob.get(), Qt::Key_Down);
    QTest::keyClick(fKnob.get(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(fKnob.get(), Qt::Key_PageUp);
    QTest::keyClick(fKnob.get(), Qt::Key_PageDown);
    QTest::keyClick(fKnob.get(), Qt::Key_Left);
    EXPECT_EQ(fHandler.Get(), (Events{"begin", "value 121000", "value 122000", "value 121000", "value 121100",
                                      "value 131000", "value 121000", "value 120000"}));
    fOther->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(fHandler.Get().back(), "end");
    fHandler.Take();

    FocusByTab();
    QTest::keyClick(fKnob.get(), Qt::Key_End);
    QTest::keyClick(fKnob.get(), Qt::Key_Home);
    QTest::keyClick(fKnob.get(), Qt::Key_Home);  // at the bottom already: nothing to report
    fKnob->hide();
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 450000", "value 20000", "end"}));
    // Only the Shift key itself went on to the window.
    EXPECT_EQ(fWindow.fKeys, std::vector<int>{Qt::Key_Shift});
}

TEST_F(QuilletKnobViewTest, KeysTheKnobHasNoUseForReachTheWindow) {
    Make(EToolbarKnob::kPitch, 0);
    FocusByTab();
    for (int key : {int(Qt::Key_Escape), int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_5), int(Qt::Key_W)}) {
        SendKey(*fKnob, key);
    }
    // Ctrl or Alt with an arrow stays the window's too.
    SendKey(*fKnob, Qt::Key_Up, Qt::ControlModifier);
    SendKey(*fKnob, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(fWindow.fKeys, (std::vector<int>{Qt::Key_Escape, Qt::Key_Space, Qt::Key_Return, Qt::Key_5, Qt::Key_W,
                                               Qt::Key_Up, Qt::Key_Left}));
    EXPECT_EQ(fHandler.Get(), Events{});

    // A window shortcut on Space still fires; one on Up yields to the focused knob.
    int spaces = 0;
    int ups = 0;
    QAction space(&fWindow);
    space.setShortcut(Qt::Key_Space);
    QObject::connect(&space, &QAction::triggered, [&] { ++spaces; });
    QAction up(&fWindow);
    up.setShortcut(Qt::Key_Up);
    QObject::connect(&up, &QAction::triggered, [&] { ++ups; });
    fWindow.addAction(&space);
    fWindow.addAction(&up);
    QTest::keyClick(fKnob.get(), Qt::Key_Space);
    QTest::keyClick(fKnob.get(), Qt::Key_Up);
    EXPECT_EQ(spaces, 1);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(fKnob->GetValue(), 25);
}

TEST_F(QuilletKnobViewTest, DoubleClickOpensATypingFieldThatEnterTakesAndEscapeCancels) {
    Make(EToolbarKnob::kPitch, 100, true);
    DoubleClick();
    QLineEdit* field = fKnob->GetValueEntryField();
    ASSERT_NE(field, nullptr);
    // The first click was a gesture without a value; the double click itself adds nothing.
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "end"}));
    EXPECT_EQ(field->parentWidget(), &fWindow);
    EXPECT_TRUE(field->isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->text(), "1.00");
    EXPECT_EQ(field->selectedText(), "1.00");
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance("450.000"));
    EXPECT_TRUE(field->geometry().contains(fKnob->geometry().center()));

    QTest::keyClicks(field, "-3,5");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value -350", "end"}));
    EXPECT_EQ(fKnob->GetValue(), -350);

    // Out of range: clamped. Not a number: the field stays with its text selected.
    DoubleClick();
    fHandler.Take();
    field = fKnob->GetValueEntryField();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "abc");
    QTest::keyClick(field, Qt::Key_Enter);
    ASSERT_EQ(fKnob->GetValueEntryField(), field);
    EXPECT_EQ(field->selectedText(), "abc");
    EXPECT_EQ(fHandler.Get(), Events{});
    QTest::keyClicks(field, "99");
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 2400", "end"}));

    // Escape cancels, and neither it nor the typing reaches the window.
    DoubleClick();
    fHandler.Take();
    field = fKnob->GetValueEntryField();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "5");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    EXPECT_EQ(fHandler.Get(), Events{});
    EXPECT_TRUE(fWindow.fKeys.empty());
    EXPECT_EQ(fKnob->GetValue(), 2400);

    // Losing the focus cancels; an unedited Enter changes nothing.
    DoubleClick();
    fHandler.Take();
    QTest::keyClicks(fKnob->GetValueEntryField(), "5");
    fOther->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    DoubleClick();
    fHandler.Take();
    QTest::keyClick(fKnob->GetValueEntryField(), Qt::Key_Return);
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    EXPECT_EQ(fHandler.Get(), Events{});
    EXPECT_EQ(fKnob->GetValue(), 2400);
}

TEST_F(QuilletKnobViewTest, AnOpenFieldMayGoWithTheWindowBeforeTheKnob) {
    Make(EToolbarKnob::kPitch, 100, true);
    DoubleClick();
    delete fKnob->GetValueEntryField();  // the window's children go first
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    fKnob->hide();
    fKnob.reset();
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "end"}));
}

TEST_F(QuilletKnobViewTest, WithoutAnEntryADoubleClickIsTwoClicks) {
    Make(EToolbarKnob::kPitch, 100);
    DoubleClick();
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "end", "begin", "end"}));

    // A Ctrl double click resets once: the second click adds no change.
    Make(EToolbarKnob::kPitch, 100, true);
    DoubleClick(Qt::ControlModifier);
    EXPECT_EQ(fKnob->GetValueEntryField(), nullptr);
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 0", "end"}));
}

TEST_F(QuilletKnobViewTest, ADisabledKnobIgnoresInputAndDisablingEndsADrag) {
    Make(EToolbarKnob::kPitch, 100);
    fKnob->setEnabled(false);
    Drag({{5, 0}});
    SendWheel(*fKnob, QPoint(0, 120));
    SendKey(*fKnob, Qt::Key_Up);
    EXPECT_EQ(fHandler.Take(), Events{});
    EXPECT_EQ(fKnob->GetValue(), 100);

    fKnob->setEnabled(true);
    SendMouse(*fKnob, QEvent::MouseButtonPress, QPoint(14, 14));
    SendMouse(*fKnob, QEvent::MouseMove, QPoint(15, 14));
    fKnob->setEnabled(false);
    SendMouse(*fKnob, QEvent::MouseMove, QPoint(20, 14));
    SendMouse(*fKnob, QEvent::MouseButtonRelease, QPoint(20, 14));
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 125", "end"}));
    EXPECT_FALSE(fKnob->testAttribute(Qt::WA_SetCursor));

    // Hiding ends a drag, a burst and a typing field alike.
    fKnob->setEnabled(true);
    SendMouse(*fKnob, QEvent::MouseButtonPress, QPoint(14, 14));
    fKnob->hide();
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "end"}));
}

TEST_F(QuilletKnobViewTest, SettingTheValueNeitherReportsNorRepaintsWithoutAChange) {
    Make(EToolbarKnob::kPitch, 100);
    CPaintCounter paints(*fKnob);
    QApplication::processEvents();  // the first paint after showing
    paints.fCount = 0;
    fKnob->SetValue(100);
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 0);
    fKnob->SetValue(5000);  // clamped
    QApplication::processEvents();
    EXPECT_EQ(paints.fCount, 1);
    EXPECT_EQ(fKnob->GetValue(), 2400);
    EXPECT_EQ(fHandler.Get(), Events{});
}

TEST_F(QuilletKnobViewTest, AssistiveToolsSeeADialWithItsValue) {
    Make(EToolbarKnob::kLowFrequency, 100);  // a logarithmic knob
    fKnob->SetValueText("100 Hz");
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(fKnob.get());
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Dial);
    EXPECT_EQ(access->text(QAccessible::Name), "Knob tip");
    EXPECT_EQ(access->text(QAccessible::Value), "100 Hz");
    EXPECT_EQ(access->text(QAccessible::Description), "100 Hz");
    QAccessibleValueInterface* value = access->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 100);
    EXPECT_EQ(value->minimumValue().toInt(), 20);
    EXPECT_EQ(value->maximumValue().toInt(), 3000);
    EXPECT_EQ(value->minimumStepSize().toInt(), 1);

    // Value-change announcements reach only an active platform bridge, which the offscreen
    // platform lacks; the values themselves are checked here.
    value->setCurrentValue(250);
    value->setCurrentValue(250);   // no change: nothing reported
    value->setCurrentValue(9999);  // clamped
    fKnob->SetValue(400);          // the toolbar's value is not reported
    EXPECT_EQ(fHandler.Take(), (Events{"begin", "value 250", "end", "begin", "value 3000", "end"}));
    EXPECT_EQ(value->currentValue().toInt(), 400);
}

// Distance between two colours, summed over the channels.
int Distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST_F(QuilletKnobViewTest, DrawsTheFilmstripFrameAndAFocusRing) {
    Make(EToolbarKnob::kPitch, -2400);
    const QImage bottom = fKnob->grab().toImage();
    fKnob->SetValue(2400);
    const QImage top = fKnob->grab().toImage();
    EXPECT_NE(bottom, top);
    fKnob->setEnabled(false);
    EXPECT_NE(fKnob->grab().toImage(), top);
    fKnob->setEnabled(true);

    // The ring runs between the body and the track, 10.75 px from the centre (14, 14).
    FocusByTab();
    const QImage focused = fKnob->grab().toImage();
    const QColor highlight = fKnob->palette().color(QPalette::Highlight);
    const QPoint onRing(14, 3);
    EXPECT_LT(Distance(focused.pixelColor(onRing), highlight), Distance(top.pixelColor(onRing), highlight));
    EXPECT_LT(Distance(focused.pixelColor(onRing), highlight), 120);
}

}  // namespace
}  // namespace NSQuillet
