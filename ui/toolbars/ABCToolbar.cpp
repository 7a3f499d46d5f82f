#include "ui/toolbars/ABCToolbar.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPainter>

#include <algorithm>

#include "app/document/QuilletDocument.h"
#include "app/resources/ResourceReference.h"
#include "ui/toolbars/ToolbarHost.h"
#include "ui/toolbars/ToolbarKnobGroup.h"

namespace NSQuillet {

namespace {

constexpr int kMargin = 5;
constexpr int kSpacing = 5;
constexpr qreal kCornerRadius = 4.0;

}  // namespace

void SetEnabledIfChanged(QWidget& widget, bool enabled) {
    // Only the widget's own setting: its ancestors' do not count.
    if (widget.testAttribute(Qt::WA_ForceDisabled) == enabled) widget.setEnabled(enabled);
}

CABCToolbar::CABCToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : QFrame(parent), fDocument(document), fHost(host) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    fRow = new QHBoxLayout(this);
    fRow->setContentsMargins(kMargin + 1, kMargin, kMargin + 1, kMargin);
    fRow->setSpacing(kSpacing);
    fDocument.AddListener(this);
}

CABCToolbar::~CABCToolbar() { fDocument.RemoveListener(this); }

void CABCToolbar::Run(const std::function<void()>& work) {
    fHost.RunToolbarCommand(work);
    Refresh();
}

CToolbarKnobGroup* CABCToolbar::AddKnob(QBoxLayout& layout, EToolbarKnob knob) {
    auto* group = new CToolbarKnobGroup(knob, *this, this);
    layout.addWidget(group, 0, Qt::AlignVCenter);
    fKnobs.push_back(group);
    return group;
}

QLabel* CABCToolbar::AddLabel(QBoxLayout& layout, int32_t textEntry) {
    auto* label = new QLabel(QString::fromStdString(StringReference(textEntry).GetText()), this);
    layout.addWidget(label, 0, Qt::AlignVCenter);
    return label;
}

void CABCToolbar::AddSeparator(QBoxLayout& layout) {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    layout.addWidget(line);
}

CToolbarKnobGroup* CABCToolbar::FindKnobGroup(EToolbarKnob knob) const {
    const auto at = std::find_if(fKnobs.begin(), fKnobs.end(),
                                 [knob](const CToolbarKnobGroup* group) { return group->GetKnob() == knob; });
    return at == fKnobs.end() ? nullptr : *at;
}

CToolbarKnobGroup* CABCToolbar::GroupOf(const CQuilletKnobView& knob) const {
    const auto at = std::find_if(fKnobs.begin(), fKnobs.end(),
                                 [&knob](CToolbarKnobGroup* group) { return &group->GetView() == &knob; });
    return at == fKnobs.end() ? nullptr : *at;
}

void CABCToolbar::ShowKnobValues(const SKnobParameters& parameters) {
    for (CToolbarKnobGroup* group : fKnobs) group->ShowValue(GetKnobValue(group->GetKnob(), parameters));
}

// A gesture starts a step of its own, whatever was pending before.
void CABCToolbar::BeginChange(CQuilletKnobView&) { fDocument.CloseUndoStep(); }

void CABCToolbar::ValueChanged(CQuilletKnobView& knob, int32_t value) {
    CToolbarKnobGroup* group = GroupOf(knob);
    if (!group) return;
    const EToolbarKnob which = group->GetKnob();
    Run([this, which, value] { ChangeKnobValue(fDocument, which, value); });
}

void CABCToolbar::EndChange(CQuilletKnobView&) { fDocument.CloseUndoStep(); }

void CABCToolbar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ground = palette().color(QPalette::Window);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(ground.lighter(106));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);
}

}  // namespace NSQuillet
