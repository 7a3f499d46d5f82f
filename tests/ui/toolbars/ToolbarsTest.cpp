#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/resources/NoteCounters.h"
#include "engine/SliceSequence.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/FreeRunningAudioOutput.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/ScriptedLoopLengthRequest.h"
#include "tests/support/SteppedAudioOutput.h"
#include "ui/logic/WindowCommands.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"
#include "ui/toolbars/CompressorMeterView.h"
#include "ui/toolbars/EnvelopeToolbar.h"
#include "ui/toolbars/EqualizerToolBar.h"
#include "ui/toolbars/QuilletKnobView.h"
#include "ui/toolbars/SecondToolBar.h"
#include "ui/toolbars/Toolbar.h"
#include "ui/toolbars/ToolbarHost.h"
#include "ui/toolbars/ToolbarKnobGroup.h"
#include "ui/toolbars/ToolbarLogoView.h"
#include "ui/toolbars/ToolbarPictureButton.h"
#include "ui/toolbars/ToolbarStripLayout.h"
#include "ui/toolbars/ToolbarTextField.h"
#include "ui/toolbars/TransientToolbar.h"
#include "ui/toolbars/WinTopToolBar.h"

namespace NSQuillet {
namespace {

// The window as the toolbars see it: its actions through the window's own commands, failures
// recorded, the focus handed to a stand-in for the waveform.
class CTestHost final : public IToolbarHost, private IWindowDialogs {
public:
    explicit CTestHost(CQuilletDocument& document) : fCommands(document, *this) {}

    void RunToolbarCommand(const std::function<void()>& work) override {
        try {
            work();
        } catch (const std::exception& failure) {
            fFailures.push_back(failure.what());
        }
    }
    void DoWindowAction(EWindowAction action) override { fCommands.DoAction(action); }
    ILoopLengthRequest& GetLoopLengthRequest() override { return fLengthRequest; }
    void ReturnFocusToWindow() override {
        ++fFocusReturns;
        if (fFocusTarget) fFocusTarget->setFocus();
    }

    NSQuilletTest::CScriptedLoopLengthRequest fLengthRequest;
    std::vector<std::string> fFailures;
    int fFocusReturns = 0;
    QWidget* fFocusTarget = nullptr;

private:
    void ShowLoopInformation() override {}
    void Export() override {}
    void CopyLoop() override {}
    std::optional<EMonoChoice> AskConvertToMono(EMonoChoice) override { return std::nullopt; }
    std::optional<SSampleFormat> AskConvertSampleFormat(const SSampleFormat&) override { return std::nullopt; }

    CWindowCommands fCommands;
};

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// The buttons of `group` that show themselves on: exactly one in an exclusive group.
std::vector<int> OnButtons(const QButtonGroup& group) {
    std::vector<int> on;
    for (QAbstractButton* button : group.buttons())
        if (button->isChecked()) on.push_back(group.id(button));
    return on;
}

// A press, `moves` moves of 3 pixels upwards each, and the release.
void DragUp(CQuilletKnobView& knob, int moves) {
    QPoint at(knob.width() / 2, knob.height() / 2);
    SendMouse(knob, QEvent::MouseButtonPress, at);
    for (int i = 0; i < moves; ++i) {
        at.ry() -= 3;
        SendMouse(knob, QEvent::MouseMove, at);
    }
    SendMouse(knob, QEvent::MouseButtonRelease, at);
}

// The demo loop (two bars previewed at 140 BPM, two closed steps; 176400 frames at 44.1 kHz:
// 8 beats in 4 s, so its own tempo is 120 BPM) under the toolbar strip, beside a widget that
// stands for the waveform.
class ToolbarsTest : public ::testing::Test {
protected:
    explicit ToolbarsTest(int32_t bars = 2, const SDocumentSettings& settings = {})
        : fDocument(NSQuilletTest::MakeDemoLoopDocument(bars, settings)), fHost(*fDocument) {
        auto* layout = new QVBoxLayout(&fWindow);
        fStrip = new CToolbar(*fDocument, fHost, &fWindow);
        fWaveform = new QWidget(&fWindow);
        fWaveform->setFocusPolicy(Qt::ClickFocus);
        fHost.fFocusTarget = fWaveform;
        layout->addWidget(fStrip);
        layout->addWidget(fWaveform);
        fWindow.resize(1000, 400);
        fWindow.show();
        fWindow.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&fWindow));
        QApplication::processEvents();
    }

    CWinTopToolBar& Top() { return fStrip->GetTopToolBar(); }
    CSecondToolBar& Second() { return fStrip->GetSecondToolBar(); }
    CABCToolbar& ToolbarOf(EToolbarKnob knob) {
        for (CABCToolbar* toolbar : std::initializer_list<CABCToolbar*>{
                 &fStrip->GetSecondToolBar(), &fStrip->GetEnvelopeToolbar(), &fStrip->GetTransientToolbar(),
                 &fStrip->GetEqualizerToolBar()}) {
            if (toolbar->FindKnobGroup(knob)) return *toolbar;
        }
        ADD_FAILURE() << "no knob " << int(knob);
        return fStrip->GetSecondToolBar();
    }
    CToolbarKnobGroup& Group(EToolbarKnob knob) { return *ToolbarOf(knob).FindKnobGroup(knob); }
    CQuilletKnobView& Knob(EToolbarKnob knob) { return Group(knob).GetView(); }
    SDocumentParameters Parameters() const { return fDocument->GetDocumentParameters(); }
    uint32_t Steps() const { return fDocument->GetUndoHistory().GetPosition(); }
    void SetEffects(const std::function<void(SDocumentParameters&, SEffectParameters&)>& change) {
        SDocumentParameters parameters = Parameters();
        SEffectParameters effects = fDocument->GetEffectParameters();
        change(parameters, effects);
        fDocument->PerformParametersChange(parameters, "Change Loop Length");
        fDocument->PerformEffectParametersChange(effects, "Toggle Equalizer On/Off");
        fDocument->CloseUndoStep();
    }
    void Type(CToolbarTextField& field, const QString& text) {
        QTest::mouseClick(&field, Qt::LeftButton);
        field.selectAll();
        QTest::keyClicks(&field, text);
    }

    std::unique_ptr<CQuilletDocument> fDocument;
    CTestHost fHost;
    QWidget fWindow;
    CToolbar* fStrip = nullptr;
    QWidget* fWaveform = nullptr;
};

TEST_F(ToolbarsTest, TheStripHoldsTheFiveToolbarsInOrderWithEveryKnob) {
    const std::vector<QWidget*> expected = {&fStrip->GetTopToolBar(), &fStrip->GetSecondToolBar(),
                                            &fStrip->GetEnvelopeToolbar(), &fStrip->GetTransientToolbar(),
                                            &fStrip->GetEqualizerToolBar()};
    std::vector<QWidget*> laidOut;
    for (int i = 0; i < fStrip->GetStripLayout().count(); ++i)
        laidOut.push_back(fStrip->GetStripLayout().itemAt(i)->widget());
    EXPECT_EQ(laidOut, expected);
    // Every knob is on its toolbar once, the logarithmic ones of their own class.
    for (int32_t i = 0; i < kToolbarKnobCount; ++i) {
        const auto knob = EToolbarKnob(i);
        const bool logarithmic = GetToolbarKnobSettings(knob).fScale == EKnobScale::kLogarithmic;
        EXPECT_EQ(qobject_cast<CQuilletLogKnobView*>(&Knob(knob)) != nullptr, logarithmic) << i;
        EXPECT_EQ(Knob(knob).focusPolicy(), Qt::TabFocus) << i;
    }
    // No toolbar lies outside the strip at this width, and none overlaps another.
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(fStrip->rect().contains(expected[i]->geometry())) << i;
        for (size_t j = i + 1; j < expected.size(); ++j)
            EXPECT_FALSE(expected[i]->geometry().intersects(expected[j]->geometry())) << i << " " << j;
    }
    EXPECT_EQ(Top().GetToolButton(0).toolTip(), "Arrow tool (Q)");
    EXPECT_EQ(Top().GetTransportButton(0).toolTip(), "Stop (Space, NumPad 0)");
    EXPECT_EQ(Top().GetTransportButton(4).toolTip(), "Play current slice and move to next (NumPad 9)");
    EXPECT_EQ(Top().GetPreviewPlayButton().toolTip(), "Preview toggle");
    EXPECT_EQ(Top().GetPreviewPlayButton().focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Top().GetBarsTextEdit().focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(Second().GetNumSlicesText().text().left(7), "Slices:");
    EXPECT_EQ(Second().GetOriginalTempoText().text(), "Original: 120.000 BPM");
    EXPECT_EQ(Group(EToolbarKnob::kLowCut).GetHeading().text(), "Lo Cut");
    EXPECT_TRUE(fStrip->GetTransientToolbar().GetCompressorMeter().isVisible());
    EXPECT_EQ(fStrip->GetEqualizerToolBar().GetLogo().GetPictureId(), 13420);
    EXPECT_EQ(fStrip->GetTransientToolbar().GetLogo().GetPictureId(), 13421);
    EXPECT_EQ(fStrip->GetEnvelopeToolbar().GetLogo().GetPictureId(), 13422);
}

TEST_F(ToolbarsTest, AKnobDragOfManyMovesIsOneUndoStepWithTheKnobsName) {
    SetEffects([](SDocumentParameters&, SEffectParameters& e) { e.fEqualizer.fOn = true; });
    const struct {
        EToolbarKnob fKnob;
        const char* fName;
    } rows[] = {
        {EToolbarKnob::kPitch, "Change Pitch"},
        {EToolbarKnob::kEnvelopeAttack, "Change Envelope Attack"},
        {EToolbarKnob::kLowGain, "Change Equalizer Low Gain"},
        {EToolbarKnob::kGateSensitivity, "Change Gate Sensitivity"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fName);
        CToolbarKnobGroup& group = Group(row.fKnob);
        ASSERT_TRUE(group.isEnabled());
        const int32_t before = group.GetView().GetValue();
        const QString textBefore = group.GetValueLabel().text();
        const uint32_t steps = Steps();
        DragUp(group.GetView(), 20);
        EXPECT_GT(group.GetView().GetValue(), before);
        EXPECT_NE(group.GetValueLabel().text(), textBefore);
        EXPECT_EQ(Steps(), steps + 1);
        EXPECT_EQ(fDocument->GetUndoName(), row.fName);
        // The toolbar shows the undone value at once.
        fDocument->Undo();
        EXPECT_EQ(group.GetView().GetValue(), before);
        EXPECT_EQ(group.GetValueLabel().text(), textBefore);
    }
    EXPECT_TRUE(fHost.fFailures.empty());
}

TEST_F(ToolbarsTest, AValueTypedIntoAKnobIsOneStep) {
    CQuilletKnobView& pitch = Knob(EToolbarKnob::kPitch);
    const QPoint at(pitch.width() / 2, pitch.height() / 2);
    const uint32_t steps = Steps();
    SendMouse(pitch, QEvent::MouseButtonPress, at);
    SendMouse(pitch, QEvent::MouseButtonRelease, at);
    SendMouse(pitch, QEvent::MouseButtonDblClick, at);
    SendMouse(pitch, QEvent::MouseButtonRelease, at);
    QLineEdit* field = pitch.GetValueEntryField();
    ASSERT_NE(field, nullptr);
    // The click before the double click changed nothing.
    EXPECT_EQ(Steps(), steps);
    field->selectAll();
    QTest::keyClicks(field, "-3,5");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(Parameters().fPitch, -350);
    EXPECT_EQ(Group(EToolbarKnob::kPitch).GetValueLabel().text(), "-3.50");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Pitch");
}

TEST_F(ToolbarsTest, TheDecayKnobsTopIsTheEndlessDecay) {
    CToolbarKnobGroup& decay = Group(EToolbarKnob::kEnvelopeDecay);
    EXPECT_EQ(decay.GetView().GetValue(), kDecayKnobTop);
    EXPECT_EQ(decay.GetValueLabel().text(), "∞ s");
    // Down from the top, then all the way back up.
    QPoint at(decay.GetView().width() / 2, decay.GetView().height() / 2);
    SendMouse(decay.GetView(), QEvent::MouseButtonPress, at);
    SendMouse(decay.GetView(), QEvent::MouseMove, at + QPoint(0, 40));
    SendMouse(decay.GetView(), QEvent::MouseButtonRelease, at + QPoint(0, 40));
    EXPECT_LT(Parameters().fEnvelope.fDecay, kDecayKnobTop);
    DragUp(decay.GetView(), 200);
    EXPECT_EQ(Parameters().fEnvelope.fDecay, 1023);
    EXPECT_EQ(decay.GetValueLabel().text(), "∞ s");
}

TEST_F(ToolbarsTest, CtrlClickOnTheTempoKnobResetsToTheLoopsTempoClamped) {
    const struct {
        int32_t fBars;
        int32_t fBeats;
        int32_t fTempo;
    } rows[] = {
        {2, 0, 120000},   // 8 beats in 4 s
        {0, 1, 20000},    // 1 beat in 4 s: 15 BPM, under the preview's 20
        {30, 0, 450000},  // 120 beats in 4 s: 1800 BPM, over the preview's 450
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fTempo);
        SetEffects([&](SDocumentParameters& p, SEffectParameters&) {
            p.fLoop.SetBars(row.fBars);
            p.fLoop.SetBeats(row.fBeats);
            p.fLoop.SetPreviewTempo(97000);
        });
        const uint32_t steps = Steps();
        CQuilletKnobView& tempo = Knob(EToolbarKnob::kPreviewTempo);
        const QPoint centre(tempo.width() / 2, tempo.height() / 2);
        SendMouse(tempo, QEvent::MouseButtonPress, centre, Qt::ControlModifier);
        SendMouse(tempo, QEvent::MouseButtonRelease, centre, Qt::ControlModifier);
        EXPECT_EQ(Parameters().fLoop.GetPreviewTempo(), row.fTempo);
        EXPECT_EQ(tempo.GetValue(), row.fTempo);
        EXPECT_EQ(Steps(), steps + 1);
        EXPECT_EQ(fDocument->GetUndoName(), "Change Preview Tempo");
    }
}

TEST_F(ToolbarsTest, TheTempoFieldClampsRefusesAndGivesTheFocusBack) {
    CToolbarTextField& field = Second().GetPreviewTempoTextEdit();
    EXPECT_EQ(field.text(), "140.000 BPM");
    Type(field, "999");
    EXPECT_EQ(field.text(), "999");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(Parameters().fLoop.GetPreviewTempo(), 450000);
    EXPECT_EQ(field.text(), "450.000 BPM");
    EXPECT_EQ(fDocument->GetUndoName(), "Change Preview Tempo");
    EXPECT_EQ(fHost.fFocusReturns, 1);
    EXPECT_TRUE(fWaveform->hasFocus());
    EXPECT_EQ(Knob(EToolbarKnob::kPreviewTempo).GetValue(), 450000);

    const uint32_t steps = Steps();
    Type(field, "fast");
    QTest::keyClick(&field, Qt::Key_Enter);
    EXPECT_EQ(field.text(), "450.000 BPM");
    EXPECT_EQ(Steps(), steps);

    Type(field, "97,5");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(Parameters().fLoop.GetPreviewTempo(), 97500);
    EXPECT_EQ(field.text(), "97.500 BPM");

    // Escape drops what was typed.
    Type(field, "200");
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_EQ(field.text(), "97.500 BPM");
    EXPECT_EQ(Parameters().fLoop.GetPreviewTempo(), 97500);
    EXPECT_EQ(fHost.fFocusReturns, 4);
}

TEST_F(ToolbarsTest, ATextFieldBeingTypedInKeepsItsTextWhileTheDocumentChanges) {
    CToolbarTextField& bars = Top().GetBarsTextEdit();
    Type(bars, "7");
    // A change elsewhere: the toolbars refresh, the field keeps what is being typed.
    SetEffects([](SDocumentParameters& p, SEffectParameters&) { p.fPitch = 300; });
    EXPECT_EQ(bars.text(), "7");
    QTest::keyClick(&bars, Qt::Key_Return);
    EXPECT_EQ(Parameters().fLoop.GetBars(), 7);
}

TEST_F(ToolbarsTest, TheBarsFieldTakesDigitsOnlyAndAtMost999) {
    CToolbarTextField& bars = Top().GetBarsTextEdit();
    Type(bars, "1a2b3c4");
    EXPECT_EQ(bars.text(), "123");
    QTest::keyClick(&bars, Qt::Key_Return);
    EXPECT_EQ(Parameters().fLoop.GetBars(), 123);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Loop Length");
    Type(bars, "9999");
    EXPECT_EQ(bars.text(), "999");
    QTest::keyClick(&bars, Qt::Key_Return);
    EXPECT_EQ(Parameters().fLoop.GetBars(), 999);
    // An emptied field is refused and shows the bars again.
    const uint32_t steps = Steps();
    Type(bars, "");
    QTest::keyClick(&bars, Qt::Key_Backspace);
    QTest::keyClick(&bars, Qt::Key_Return);
    EXPECT_EQ(bars.text(), "999");
    EXPECT_EQ(Steps(), steps);
}

class ToolbarsWithoutLengthTest : public ToolbarsTest {
protected:
    ToolbarsWithoutLengthTest() : ToolbarsTest(0) {}
};

TEST_F(ToolbarsWithoutLengthTest, ZeroBeatsWithZeroBarsGivesOneBarAndZeroBeats) {
    EXPECT_EQ(Top().GetBarsTextEdit().text(), "0");
    emit Top().GetBeatsPopup().activated(0);
    EXPECT_EQ(Parameters().fLoop.GetBars(), 1);
    EXPECT_EQ(Parameters().fLoop.GetBeats(), 0);
    EXPECT_EQ(Top().GetBarsTextEdit().text(), "1");
    EXPECT_EQ(Top().GetBeatsPopup().currentIndex(), 0);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Loop Length");
    EXPECT_EQ(Steps(), 1u);

    Top().GetTimeSignaturePopup().setCurrentIndex(4);
    emit Top().GetTimeSignaturePopup().activated(4);
    EXPECT_EQ(Parameters().fLoop.GetTimeSignatureNumerator(), 6);
    EXPECT_EQ(Parameters().fLoop.GetTimeSignatureDenominator(), 8);
    EXPECT_EQ(fDocument->GetUndoName(), "Change Time Signature");
}

TEST_F(ToolbarsWithoutLengthTest, BeatsRulerUnitsWithoutALengthAskForOneAndAreRefusedWhenDeclined) {
    QComboBox& units = Top().GetRulerUnitsPopup();
    ASSERT_EQ(units.currentIndex(), 0);
    units.setCurrentIndex(2);
    emit units.activated(2);
    EXPECT_EQ(fHost.fLengthRequest.fRequests, 1);
    // The refusal is a silent failure the command runner takes; the popup shows Time again.
    EXPECT_EQ(fHost.fFailures.size(), 1u);
    EXPECT_EQ(units.currentIndex(), 0);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fHorizontalRulerUnits, kRulerUnits_Time);

    fHost.fLengthRequest.fBars = 3;
    units.setCurrentIndex(2);
    emit units.activated(2);
    EXPECT_EQ(units.currentIndex(), 2);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fHorizontalRulerUnits, kRulerUnits_Beats);
    EXPECT_EQ(Top().GetBarsTextEdit().text(), "3");
    // Samples need no length.
    emit units.activated(1);
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fHorizontalRulerUnits, kRulerUnits_Samples);
}

TEST_F(ToolbarsWithoutLengthTest, EffectKnobsFollowTheLengthThePreviewAndTheirSwitch) {
    CToolbarKnobGroup& attack = Group(EToolbarKnob::kEnvelopeAttack);
    CToolbarKnobGroup& lowCut = Group(EToolbarKnob::kLowCut);
    CToolbarKnobGroup& tempo = Group(EToolbarKnob::kPreviewTempo);
    CToolbarPictureButton& preview = Top().GetPreviewPlayButton();
    // No length, preview off: no effect knob, no tempo; the envelope is on.
    EXPECT_FALSE(attack.isEnabled());
    EXPECT_FALSE(tempo.isEnabled());
    EXPECT_FALSE(Second().GetPreviewTempoTextEdit().isEnabled());
    EXPECT_TRUE(Group(EToolbarKnob::kPitch).isEnabled());
    EXPECT_FALSE(Second().GetSilenceSelectedToolbarButton().isEnabled());
    EXPECT_TRUE(fStrip->GetEnvelopeToolbar().GetOnOffButton().isChecked());

    emit Top().GetBeatsPopup().activated(2);
    EXPECT_TRUE(tempo.isEnabled());
    EXPECT_FALSE(attack.isEnabled());
    preview.click();
    EXPECT_TRUE(preview.isChecked());
    EXPECT_EQ(fDocument->GetUndoName(), "Toggle Preview Play");
    EXPECT_TRUE(attack.isEnabled());
    EXPECT_TRUE(fStrip->GetEnvelopeToolbar().GetPresetMenuButton().isEnabled());
    EXPECT_TRUE(Second().GetSilenceSelectedToolbarButton().isEnabled());
    // The equalizer is off: its knobs wait for its switch.
    EXPECT_FALSE(lowCut.isEnabled());
    fStrip->GetEqualizerToolBar().GetOnOffButton().click();
    EXPECT_TRUE(lowCut.isEnabled());
    EXPECT_EQ(fDocument->GetUndoName(), "Toggle Equalizer On/Off");
    fStrip->GetEnvelopeToolbar().GetOnOffButton().click();
    EXPECT_FALSE(attack.isEnabled());
    EXPECT_FALSE(fStrip->GetEnvelopeToolbar().GetOnOffButton().isChecked());
    preview.click();
    EXPECT_FALSE(lowCut.isEnabled());
    // Undo brings the equalizer's knobs back at once.
    fDocument->Undo();
    EXPECT_TRUE(lowCut.isEnabled());
}

TEST_F(ToolbarsWithoutLengthTest, SwitchingAnEffectOnWhileThePreviewCannotPlayShowsTheNoteWhileItsCounterAllows) {
    CScriptedAlertPresenter alerts;
    GetNoteCounters().Set(ENote::kEffectsNotAudible, 1);
    CToolbarPictureButton& shaper = fStrip->GetTransientToolbar().GetOnOffButton();
    shaper.click();
    EXPECT_TRUE(shaper.isChecked());
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fHeading, "You can’t hear the effects yet!");
    // Switching off shows nothing; the counter is used up for the next switching on.
    shaper.click();
    shaper.click();
    EXPECT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(GetNoteCounters().Get(ENote::kEffectsNotAudible), 0);

    // With the loop playable through the preview there is nothing to note.
    GetNoteCounters().Set(ENote::kEffectsNotAudible, 5);
    emit Top().GetBeatsPopup().activated(0);
    Top().GetPreviewPlayButton().click();
    fStrip->GetEqualizerToolBar().GetOnOffButton().click();
    EXPECT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(GetNoteCounters().Get(ENote::kEffectsNotAudible), 5);
}

TEST_F(ToolbarsTest, APresetIsOneStepSettingExactlyItsValuesAndEachResetRestoresTheDefaults) {
    SetEffects([](SDocumentParameters&, SEffectParameters& e) {
        e.fTransientShaper.fOn = true;
        e.fEqualizer.fOn = true;
    });
    const auto choose = [](CABCEffectToolbar& toolbar, const char* name) {
        for (QAction* action : toolbar.GetPresetMenu().actions()) {
            if (action->text() == name) return action->trigger();
        }
        ADD_FAILURE() << "no preset " << name;
    };
    CABCEffectToolbar& envelope = fStrip->GetEnvelopeToolbar();
    CABCEffectToolbar& shaper = fStrip->GetTransientToolbar();
    CABCEffectToolbar& equalizer = fStrip->GetEqualizerToolBar();
    EXPECT_EQ(envelope.GetPresetMenu().actions().size(), 7);

    uint32_t steps = Steps();
    choose(equalizer, "Bass Remove");
    EXPECT_EQ(Steps(), steps + 1);
    EXPECT_EQ(fDocument->GetUndoName(), "Select Equalizer Preset");
    const SEqualizerSettings bass = fDocument->GetEffectParameters().fEqualizer;
    EXPECT_EQ(bass, (SEqualizerSettings{true, 340, 380, 500, -4000, 5204, 1000, -3600, 7233}));
    EXPECT_EQ(Knob(EToolbarKnob::kHighCut).GetValue(), 7233);

    choose(shaper, "Chop the Peaks");
    EXPECT_EQ(fDocument->GetUndoName(), "Select Transient Shaper Preset");
    EXPECT_EQ(fDocument->GetEffectParameters().fTransientShaper, (STransientShaperSettings{true, 127, 127, 340, 632}));
    // The other effects stay as they were.
    EXPECT_EQ(fDocument->GetEffectParameters().fEqualizer, bass);

    choose(envelope, "Synth Chopper");
    EXPECT_EQ(fDocument->GetUndoName(), "Select Envelope Preset");
    EXPECT_EQ(Parameters().fEnvelope, (SEnvelopeSettings{true, 50, 220, 20}));
    EXPECT_EQ(Knob(EToolbarKnob::kEnvelopeDecay).GetValue(), 220);

    steps = Steps();
    for (CABCEffectToolbar* toolbar : {&envelope, &shaper, &equalizer}) choose(*toolbar, "Reset");
    EXPECT_EQ(Steps(), steps + 3);
    for (int32_t i = int32_t(EToolbarKnob::kEnvelopeAttack); i < kToolbarKnobCount; ++i) {
        const auto knob = EToolbarKnob(i);
        EXPECT_EQ(Knob(knob).GetValue(), GetToolbarKnobSettings(knob).fDefault) << i;
    }
    EXPECT_EQ(Parameters().fEnvelope.fDecay, 1023);
    EXPECT_EQ(Knob(EToolbarKnob::kEnvelopeDecay).GetValue(), kDecayKnobTop);
}

TEST_F(ToolbarsTest, TheSensitivityFadersDragIsOneStep) {
    QSlider& fader = Second().GetSensitivityFader();
    EXPECT_EQ(fader.value(), 50);
    fader.setSliderDown(true);
    for (int value : {52, 60, 71}) fader.setValue(value);
    fader.setSliderDown(false);
    EXPECT_EQ(fDocument->GetSliceSequence().GetSensitivity(), 71);
    EXPECT_EQ(Second().GetSensitivityText().text(), "71");
    EXPECT_EQ(fDocument->GetUndoName(), "Change Sensitivity");
    const uint32_t steps = Steps();
    // A click beside the handle is a step of its own.
    fader.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Steps(), steps + 1);
    fDocument->Undo();
    fDocument->Undo();
    EXPECT_EQ(fader.value(), 50);
    EXPECT_EQ(Second().GetSensitivityText().text(), "50");
}

TEST_F(ToolbarsTest, TheToolButtonsSetTheDocumentsToolAndShowIt) {
    QButtonGroup& tools = Top().GetToolsButtonGroup();
    EXPECT_TRUE(tools.exclusive());
    EXPECT_EQ(OnButtons(tools), std::vector<int>{0});
    Top().GetToolButton(1).click();
    EXPECT_EQ(fDocument->GetViewAndEditAttributes().fEditTool, kEditTool_Mute);
    EXPECT_EQ(OnButtons(tools), std::vector<int>{1});
    // Clicking the current tool keeps it.
    Top().GetToolButton(1).click();
    EXPECT_EQ(OnButtons(tools), std::vector<int>{1});
    fDocument->SetViewAndEditAttributes({kRulerUnits_Time, kEditTool_Pen});
    EXPECT_EQ(OnButtons(tools), std::vector<int>{3});
    // The tool is no undo step.
    EXPECT_EQ(fDocument->GetUndoName(), "Change Preview Tempo");
}

TEST_F(ToolbarsTest, WithoutAnAudioOutputTheTransportIsDisabled) {
    for (int32_t button = 0; button < kTransportButtonCount; ++button)
        EXPECT_FALSE(Top().GetTransportButton(button).isEnabled()) << button;
    EXPECT_EQ(OnButtons(Top().GetTransportButtonsButtonGroup()), std::vector<int>{0});
}

// The audio output is made before the document that plays through it and goes after it.
struct SAudioOutputFirst {
    NSQuilletTest::SFreeRunningAudioOutput fOutput;
};

class ToolbarsPlayingTest : private SAudioOutputFirst, public ToolbarsTest {
protected:
    ToolbarsPlayingTest() : ToolbarsTest(2, fOutput.Settings()) {}
    ~ToolbarsPlayingTest() override { fDocument->StopOrRewind(); }
    // Runs the wave player's idle processing until the document no longer plays.
    bool WaitUntilStopped() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (fDocument->IsPlaying() && std::chrono::steady_clock::now() < end) {
            QTest::qWait(5);
            fOutput.fPlayer.Idle();
        }
        return !fDocument->IsPlaying();
    }
};

TEST_F(ToolbarsPlayingTest, TheTransportShowsThePlayModeAndReturnsToStopWhenPlaybackEnds) {
    QButtonGroup& transport = Top().GetTransportButtonsButtonGroup();
    ASSERT_TRUE(Top().GetTransportButton(3).isEnabled());
    Top().GetTransportButton(3).click();
    EXPECT_EQ(fDocument->GetPlayMode(), CQuilletDocument::kPlayMode_CurrentSlice);
    EXPECT_EQ(OnButtons(transport), std::vector<int>{3});
    ASSERT_TRUE(WaitUntilStopped());
    EXPECT_EQ(OnButtons(transport), std::vector<int>{0});

    Top().GetTransportButton(1).click();
    EXPECT_EQ(fDocument->GetPlayMode(), CQuilletDocument::kPlayMode_Loop);
    EXPECT_EQ(OnButtons(transport), std::vector<int>{1});
    Top().GetTransportButton(0).click();
    EXPECT_FALSE(fDocument->IsPlaying());
    EXPECT_EQ(OnButtons(transport), std::vector<int>{0});
    EXPECT_TRUE(fHost.fFailures.empty());
}

struct SSteppedOutputFirst {
    NSQuilletTest::SSteppedAudioOutput fOutput;
};

// The toolbars on an output whose pieces the test renders itself, beside a second output that
// plays the same preview untouched, with the equalizer on in both.
class ToolbarsOnASteppedOutputTest : protected SSteppedOutputFirst,
                                     public ToolbarsTest,
                                     public ::testing::WithParamInterface<EToolbarKnob> {
protected:
    ToolbarsOnASteppedOutputTest()
        : ToolbarsTest(2, fOutput.Settings()), fUntouched(NSQuilletTest::MakeDemoLoopDocument(2, fPlain.Settings())) {
        SetEffects([](SDocumentParameters&, SEffectParameters& e) { e.fEqualizer.fOn = true; });
        SEffectParameters effects = fUntouched->GetEffectParameters();
        effects.fEqualizer.fOn = true;
        fUntouched->PerformEffectParametersChange(effects, "Toggle Equalizer On/Off");
    }
    ~ToolbarsOnASteppedOutputTest() override {
        fOutput.Close();
        fPlain.Close();
    }
    void RenderBoth(int32_t pieces) {
        fOutput.RenderPieces(pieces);
        fPlain.RenderPieces(pieces);
    }

    NSQuilletTest::SSteppedAudioOutput fPlain;
    std::unique_ptr<CQuilletDocument> fUntouched;
};

// From the knob to the ear: a drag's first move between two pieces is heard in the very next
// piece the audio output computes (256 frames, 5.8 ms at 44.1 kHz).
TEST_P(ToolbarsOnASteppedOutputTest, AKnobMoveIsHeardInTheNextPiece) {
    constexpr int32_t kPiece = NSQuilletTest::SSteppedAudioOutput::kPieceFrames;
    fDocument->PlayLoop();
    fUntouched->PlayLoop();
    RenderBoth(20);
    ASSERT_EQ(fOutput.fRecording, fPlain.fRecording);
    CQuilletKnobView& view = Knob(GetParam());
    ASSERT_TRUE(view.isEnabled());
    const int32_t before = view.GetValue();
    // Down: every knob of the table stands above its minimum.
    QPoint at(view.width() / 2, view.height() / 2);
    SendMouse(view, QEvent::MouseButtonPress, at);
    at.ry() += 10;
    SendMouse(view, QEvent::MouseMove, at);
    ASSERT_LT(view.GetValue(), before);
    RenderBoth(2);
    SendMouse(view, QEvent::MouseButtonRelease, at);
    const int64_t heard = NSQuilletTest::FirstDifferingFrame(fOutput.fRecording, fPlain.fRecording);
    EXPECT_GE(heard, 20 * kPiece);
    EXPECT_LT(heard, 21 * kPiece);
}

INSTANTIATE_TEST_SUITE_P(KnobsOfEachKind, ToolbarsOnASteppedOutputTest,
                         ::testing::Values(EToolbarKnob::kProcessingGain, EToolbarKnob::kPitch,
                                           EToolbarKnob::kEnvelopeDecay, EToolbarKnob::kLowGain,
                                           EToolbarKnob::kHighCut));

}  // namespace
}  // namespace NSQuillet
