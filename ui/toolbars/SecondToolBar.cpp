#include "ui/toolbars/SecondToolBar.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "app/document/QuilletDocument.h"
#include "app/processing/ParameterToggleCommands.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "ui/logic/SkinPictures.h"
#include "ui/logic/toolbars/ToolbarChanges.h"
#include "ui/toolbars/QuilletKnobView.h"
#include "ui/toolbars/ToolbarHost.h"
#include "ui/toolbars/ToolbarKnobGroup.h"
#include "ui/toolbars/ToolbarPictureButton.h"
#include "ui/toolbars/ToolbarTextField.h"

namespace NSQuillet {

namespace {

using namespace NSStringIds;

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

constexpr int kFaderWidth = 100;

}  // namespace

CSecondToolBar::CSecondToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCToolbar(document, host, parent), fSlicesLabel(Text(kSlicesLabel)), fOriginalLabel(Text(kOriginalLabel)) {
    setObjectName("CSecondToolBar");
    QBoxLayout& row = GetRow();
    const QFont small = ToolbarSmallFont(font());

    fSilenceSelectedToolbarButton = new CToolbarPictureButton(NSQuilletSkin::EButtonPicture::kSilenceSelected,
                                                              Text(kHelp_SilenceSelected), this);
    row.addWidget(fSilenceSelectedToolbarButton, 0, Qt::AlignVCenter);
    connect(fSilenceSelectedToolbarButton, &QAbstractButton::clicked, this, [this] {
        Run([this] {
            if (CanToggleSilenceSelected(GetDocument())) ToggleSilenceSelected(GetDocument());
        });
    });
    AddSeparator(row);

    // The fader with its label and value above, the slice count below.
    auto* sensitivity = new QGridLayout;
    sensitivity->setHorizontalSpacing(4);
    sensitivity->setVerticalSpacing(2);
    QLabel* sensLabel = new QLabel(Text(kSensLabel), this);
    sensLabel->setToolTip(Text(kHelp_Sensitivity));
    fSensitivityFader = new QSlider(Qt::Horizontal, this);
    fSensitivityFader->setObjectName("fSensitivityFader");
    fSensitivityFader->setRange(0, CSliceSequence::kMaximumSensitivity);
    fSensitivityFader->setPageStep(11);
    fSensitivityFader->setToolTip(Text(kHelp_Sensitivity));
    fSensitivityFader->setAccessibleName(Text(kHelp_Sensitivity));
    fSensitivityFader->setFocusPolicy(Qt::NoFocus);
    fSensitivityFader->setFixedWidth(kFaderWidth);
    fSensitivityText = new QLabel(this);
    fSensitivityText->setFixedWidth(QFontMetrics(font()).horizontalAdvance("99") + 4);
    fSensitivityText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fNumSlicesText = new QLabel(this);
    fNumSlicesText->setObjectName("fNumSlicesText");
    fNumSlicesText->setFont(small);
    sensitivity->addWidget(sensLabel, 0, 0);
    sensitivity->addWidget(fSensitivityFader, 0, 1);
    sensitivity->addWidget(fSensitivityText, 0, 2);
    sensitivity->addWidget(fNumSlicesText, 1, 1, 1, 2, Qt::AlignLeft);
    row.addLayout(sensitivity);
    connect(fSensitivityFader, &QSlider::valueChanged, this, &CSecondToolBar::FaderMoved);
    // A drag is one step: it starts one of its own and closes it at the end.
    connect(fSensitivityFader, &QSlider::sliderPressed, this, [this] { GetDocument().CloseUndoStep(); });
    connect(fSensitivityFader, &QSlider::sliderReleased, this, [this] { GetDocument().CloseUndoStep(); });
    AddSeparator(row);

    AddKnob(row, EToolbarKnob::kGateSensitivity);
    AddKnob(row, EToolbarKnob::kPitch);
    AddKnob(row, EToolbarKnob::kProcessingGain);
    AddSeparator(row);

    // The tempo knob's value text is the field beside it, which also takes a typed tempo.
    CToolbarKnobGroup* tempo = AddKnob(row, EToolbarKnob::kPreviewTempo);
    QSizePolicy keepPlace = tempo->GetValueLabel().sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    tempo->GetValueLabel().setSizePolicy(keepPlace);
    tempo->GetValueLabel().hide();
    auto* tempoTexts = new QVBoxLayout;
    tempoTexts->setSpacing(2);
    tempoTexts->setContentsMargins(0, 0, 3, 0);
    fPreviewTempoTextEdit = new CToolbarTextField(this);
    fPreviewTempoTextEdit->setObjectName("fPreviewTempoTextEdit");
    fPreviewTempoTextEdit->setToolTip(Text(kHelp_PreviewTempo));
    fPreviewTempoTextEdit->setAccessibleName(Text(kHelp_PreviewTempo));
    fPreviewTempoTextEdit->setAlignment(Qt::AlignRight);
    fPreviewTempoTextEdit->setFixedWidth(
        fPreviewTempoTextEdit->fontMetrics().horizontalAdvance(QString::fromStdString(FormatPreviewTempoText(450000))) +
        14);
    fPreviewTempoTextEdit->SetTake([this](const QString& text) { TakePreviewTempo(text); });
    fPreviewTempoTextEdit->SetShow(
        [this] { ShowPreviewTempo(GetDocument().GetDocumentParameters().fLoop.GetPreviewTempo(), true); });
    fPreviewTempoTextEdit->SetLeave([this] { GetHost().ReturnFocusToWindow(); });
    fOriginalTempoText = new QLabel(this);
    fOriginalTempoText->setObjectName("fOriginalTempoText");
    fOriginalTempoText->setFont(small);
    // As wide as the widest loop tempo, so that the toolbar keeps its width.
    fOriginalTempoText->setMinimumWidth(QFontMetrics(small).horizontalAdvance(
        fOriginalLabel + " " + QString::fromStdString(FormatLoopTempoText(999999))));
    tempoTexts->addWidget(fPreviewTempoTextEdit);
    tempoTexts->addWidget(fOriginalTempoText);
    row.addLayout(tempoTexts);

    Refresh();
}

void CSecondToolBar::Refresh() {
    CQuilletDocument& document = GetDocument();
    const SKnobParameters parameters = CaptureKnobParameters(document);
    const SToolbarEnables enables = ComputeToolbarEnables(CaptureToolbarConditions(document, parameters));
    const CLoopSettings& loop = parameters.fDocument.fLoop;

    if (fSilenceSelectedToolbarButton->isChecked() != loop.IsSilenceSelected())
        fSilenceSelectedToolbarButton->setChecked(loop.IsSilenceSelected());
    const int32_t sensitivity = document.GetSliceSequence().GetSensitivity();
    if (fSensitivityFader->value() != sensitivity) {
        const QSignalBlocker quiet(fSensitivityFader);
        fSensitivityFader->setValue(sensitivity);
    }
    const QString sensitivityText = QString::number(sensitivity);
    if (fSensitivityText->text() != sensitivityText) fSensitivityText->setText(sensitivityText);
    const int32_t slices = CountShownSlices(document);
    if (fShownSliceCount != slices) {
        fShownSliceCount = slices;
        fNumSlicesText->setText(fSlicesLabel + " " + QString::number(slices));
    }

    ShowKnobValues(parameters);
    const int32_t loopTempo = GetLoopTempo(parameters.fDocument, document.GetWaveSample().GetSampleRate());
    if (fShownLoopTempo != loopTempo) {
        fShownLoopTempo = loopTempo;
        fOriginalTempoText->setText(fOriginalLabel + " " + QString::fromStdString(FormatLoopTempoText(loopTempo)));
        if (CToolbarKnobGroup* tempo = FindKnobGroup(EToolbarKnob::kPreviewTempo))
            tempo->GetView().SetResetValue(GetTempoKnobResetValue(loopTempo));
    }
    ShowPreviewTempo(loop.GetPreviewTempo(), false);

    SetEnabledIfChanged(*fSilenceSelectedToolbarButton, enables.fSilenceSelected);
    SetEnabledIfChanged(*fSensitivityFader, enables.fSoundControls);
    for (CToolbarKnobGroup* group : GetKnobGroups()) {
        SetEnabledIfChanged(*group, group->GetKnob() == EToolbarKnob::kPreviewTempo ? enables.fPreviewTempo
                                                                                     : enables.fSoundControls);
    }
    SetEnabledIfChanged(*fPreviewTempoTextEdit, enables.fPreviewTempo);
}

void CSecondToolBar::FaderMoved(int value) {
    Run([this, value] {
        ChangeSensitivity(GetDocument(), value);
        // A click beside the handle or a wheel notch is a step of its own; a drag closes its
        // step when it ends.
        if (!fSensitivityFader->isSliderDown()) GetDocument().CloseUndoStep();
    });
}

void CSecondToolBar::TakePreviewTempo(const QString& text) {
    if (const std::optional<int32_t> tempo = ParsePreviewTempoText(text.toStdString()))
        Run([this, tempo] { SetPreviewTempo(GetDocument(), *tempo); });
}

void CSecondToolBar::ShowPreviewTempo(int32_t tempo, bool evenWhileTyping) {
    if (fFormattedPreviewTempo != tempo) {
        fFormattedPreviewTempo = tempo;
        fPreviewTempoText = QString::fromStdString(FormatPreviewTempoText(tempo));
    }
    fPreviewTempoTextEdit->ShowText(fPreviewTempoText, evenWhileTyping);
}

}  // namespace NSQuillet
