#include "ui/toolbars/Toolbar.h"

#include "ui/toolbars/EnvelopeToolbar.h"
#include "ui/toolbars/EqualizerToolBar.h"
#include "ui/toolbars/SecondToolBar.h"
#include "ui/toolbars/ToolbarStripLayout.h"
#include "ui/toolbars/TransientToolbar.h"
#include "ui/toolbars/WinTopToolBar.h"

namespace NSQuillet {

namespace {

constexpr int kStripMargin = 3;
constexpr int kToolbarSpacing = 3;

}  // namespace

CToolbar::CToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent) : QWidget(parent) {
    setObjectName("CToolbar");
    fLayout = new CToolbarStripLayout(this);
    fLayout->setContentsMargins(kStripMargin, kStripMargin, kStripMargin, kStripMargin);
    fLayout->setSpacing(kToolbarSpacing);
    fTop = new CWinTopToolBar(document, host, this);
    fSecond = new CSecondToolBar(document, host, this);
    fEnvelope = new CEnvelopeToolbar(document, host, this);
    fTransient = new CTransientToolbar(document, host, this);
    fEqualizer = new CEqualizerToolBar(document, host, this);
    for (QWidget* toolbar : std::initializer_list<QWidget*>{fTop, fSecond, fEnvelope, fTransient, fEqualizer})
        fLayout->addWidget(toolbar);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void CToolbar::RefreshAll() {
    fTop->Refresh();
    fSecond->Refresh();
    fEnvelope->Refresh();
    fTransient->Refresh();
    fEqualizer->Refresh();
}

}  // namespace NSQuillet
