#include "ui/toolbars/ToolbarKnobGroup.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/resources/ResourceReference.h"
#include "ui/logic/toolbars/KnobValueEntry.h"
#include "ui/logic/toolbars/ToolbarKnobParameters.h"
#include "ui/logic/toolbars/ValueTexts.h"
#include "ui/toolbars/QuilletKnobView.h"

namespace NSQuillet {

namespace {

QString Text(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

// The widest value text over the knob's range, sampled.
int WidestValueText(EToolbarKnob knob, const QFontMetrics& metrics) {
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    constexpr int32_t kSamples = 128;
    int widest = 0;
    const auto measure = [&](int32_t value) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(GetKnobValueText(knob, value))));
    };
    for (int32_t i = 0; i <= kSamples; ++i)
        measure(settings.fMinimum + int32_t(int64_t(settings.fMaximum - settings.fMinimum) * i / kSamples));
    measure(settings.fDefault);
    return widest;
}

}  // namespace

QFont ToolbarSmallFont(const QFont& font) {
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() * 0.85);
    return small;
}

CToolbarKnobGroup::CToolbarKnobGroup(EToolbarKnob knob, IQuilletKnobViewHandler& handler, QWidget* parent)
    : QWidget(parent), fKnob(knob) {
    const SToolbarKnobDescription& description = GetToolbarKnobDescription(knob);
    const SKnobSettings& settings = GetToolbarKnobSettings(knob);
    const QString tooltip = Text(description.fTooltip);
    const QString name = QString::fromLatin1(description.fObjectName);
    if (settings.fScale == EKnobScale::kLogarithmic) {
        fView = new CQuilletLogKnobView(this, handler, settings, tooltip, name);
    } else {
        fView = new CQuilletKnobView(this, handler, settings, tooltip, name);
    }
    // A double click types a value in the units the value text shows.
    fView->SetValueEntry([knob](int32_t value) { return GetKnobValueEntryText(knob, value); },
                         [knob](const std::string& text) { return ParseKnobValueEntry(knob, text); });
    const QFont small = ToolbarSmallFont(font());
    fHeading = new QLabel(Text(description.fHeading), this);
    fValueText = new QLabel(this);
    for (QLabel* label : {fHeading, fValueText}) {
        label->setFont(small);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        label->setToolTip(tooltip);
    }
    const QFontMetrics metrics(small);
    const int width = std::max(fView->sizeHint().width(), std::max(WidestValueText(knob, metrics),
                                                                    metrics.horizontalAdvance(fHeading->text())));
    fValueText->setFixedWidth(width + 2);
    fHeading->setFixedWidth(width + 2);
    fValueText->setFixedHeight(metrics.height());
    fHeading->setFixedHeight(metrics.height());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(fHeading, 0, Qt::AlignHCenter);
    layout->addWidget(fView, 0, Qt::AlignHCenter);
    layout->addWidget(fValueText, 0, Qt::AlignHCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ShowValue(fView->GetValue());
}

void CToolbarKnobGroup::ShowValue(int32_t value) {
    fView->SetValue(value);
    value = fView->GetValue();
    if (fShown == value) return;
    fShown = value;
    const QString text = QString::fromStdString(GetKnobValueText(fKnob, value));
    fValueText->setText(text);
    fView->SetValueText(text);
}

}  // namespace NSQuillet
