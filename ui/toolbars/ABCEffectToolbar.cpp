#include "ui/toolbars/ABCEffectToolbar.h"

#include <QBoxLayout>
#include <QMenu>
#include <QToolButton>

#include "app/document/QuilletDocument.h"
#include "app/resources/AlertIds.h"
#include "app/resources/NoteCounters.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/logic/toolbars/ToolbarChanges.h"
#include "ui/toolbars/ToolbarKnobGroup.h"
#include "ui/toolbars/ToolbarLogoView.h"
#include "ui/toolbars/ToolbarPictureButton.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

bool IsOn(EPresetEffect effect, const SToolbarConditions& conditions) {
    switch (effect) {
        case EPresetEffect::kEnvelope: return conditions.fEnvelopeOn;
        case EPresetEffect::kTransientShaper: return conditions.fTransientShaperOn;
        case EPresetEffect::kEqualizer: return conditions.fEqualizerOn;
    }
    return false;
}

bool KnobsEnabled(EPresetEffect effect, const SToolbarEnables& enables) {
    switch (effect) {
        case EPresetEffect::kEnvelope: return enables.fEnvelope;
        case EPresetEffect::kTransientShaper: return enables.fTransientShaper;
        case EPresetEffect::kEqualizer: return enables.fEqualizer;
    }
    return false;
}

}  // namespace

CABCEffectToolbar::CABCEffectToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent,
                                     EPresetEffect effect, int32_t logoPictureId,
                                     std::initializer_list<EToolbarKnob> knobs)
    : CABCToolbar(document, host, parent), fEffect(effect), fPresets(LoadEffectPresets(effect)) {
    QBoxLayout& row = GetRow();
    auto* identity = new QVBoxLayout;
    identity->setSpacing(3);
    fLogo = new CToolbarLogoView(logoPictureId, this);
    fOnOffButton = new CToolbarPictureButton(Text(NSStringIds::kHelp_EffectOnOff), this);
    fOnOffButton->setObjectName("fOnOffButton");
    identity->addWidget(fLogo, 0, Qt::AlignHCenter);
    identity->addWidget(fOnOffButton, 0, Qt::AlignHCenter);
    row.addLayout(identity);
    connect(fOnOffButton, &QAbstractButton::clicked, this, [this] { Toggle(); });

    fPresetMenuButton = new QToolButton(this);
    fPresetMenuButton->setObjectName("fPresetMenuButton");
    // The menu's arrow after the text, not over it.
    fPresetMenuButton->setText(Text(NSStringIds::kHelp_Presets) + QString::fromUtf8(" \u25BE"));
    fPresetMenuButton->setStyleSheet("QToolButton::menu-indicator { image: none; width: 0px; }");
    fPresetMenuButton->setToolTip(Text(NSStringIds::kHelp_Presets));
    fPresetMenuButton->setAccessibleName(Text(NSStringIds::kHelp_Presets));
    fPresetMenuButton->setFocusPolicy(Qt::NoFocus);
    fPresetMenuButton->setPopupMode(QToolButton::InstantPopup);
    fPresetMenuButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    fPresetMenu = new QMenu(fPresetMenuButton);
    for (size_t i = 0; i < fPresets.size(); ++i) {
        QAction* action = fPresetMenu->addAction(QString::fromStdString(fPresets[i].fName));
        connect(action, &QAction::triggered, this, [this, i] { Select(i); });
    }
    fPresetMenuButton->setMenu(fPresetMenu);
    row.addWidget(fPresetMenuButton, 0, Qt::AlignVCenter);
    AddSeparator(row);

    for (const EToolbarKnob knob : knobs) AddKnob(row, knob);
}

void CABCEffectToolbar::Refresh() {
    const SKnobParameters parameters = CaptureKnobParameters(GetDocument());
    const SToolbarConditions conditions = CaptureToolbarConditions(GetDocument(), parameters);
    const SToolbarEnables enables = ComputeToolbarEnables(conditions);
    const bool on = IsOn(fEffect, conditions);
    if (fOnOffButton->isChecked() != on) fOnOffButton->setChecked(on);
    ShowKnobValues(parameters);
    const bool knobs = KnobsEnabled(fEffect, enables);
    for (CToolbarKnobGroup* group : GetKnobGroups()) SetEnabledIfChanged(*group, knobs);
    SetEnabledIfChanged(*fPresetMenuButton, knobs);
    SetEnabledIfChanged(*fOnOffButton, enables.fSoundControls);
}

void CABCEffectToolbar::Toggle() {
    Run([this] {
        const bool on = ToggleEffect(GetDocument(), fEffect);
        if (IsEffectsNotAudibleNoteDue(on, CaptureToolbarConditions(GetDocument())) &&
            GetNoteCounters().MayShow(ENote::kEffectsNotAudible)) {
            ShowAlert(AlertReference(NSAlertIds::kEffectsNotAudible));
        }
    });
}

void CABCEffectToolbar::Select(size_t preset) {
    if (preset >= fPresets.size()) return;
    Run([this, preset] { SelectEffectPreset(GetDocument(), fEffect, fPresets[preset]); });
}

}  // namespace NSQuillet
