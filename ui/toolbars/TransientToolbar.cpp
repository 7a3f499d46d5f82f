#include "ui/toolbars/TransientToolbar.h"

#include <QBoxLayout>

#include "ui/logic/SkinPictures.h"
#include "ui/toolbars/CompressorMeterView.h"

namespace NSQuillet {

namespace {
using K = EToolbarKnob;
}  // namespace

CTransientToolbar::CTransientToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kTransientShaper,
                        NSQuilletSkin::kTransientShaperLogoPictureId,
                        {K::kShaperThreshold, K::kShaperRatio, K::kShaperAttack, K::kShaperRelease}) {
    setObjectName("CTransientToolbar");
    AddSeparator(GetRow());
    fCompressorMeter = new CCompressorMeterView(document, this);
    fCompressorMeter->setObjectName("fCompressorMeter");
    GetRow().addWidget(fCompressorMeter, 0, Qt::AlignVCenter);
    Refresh();
}

}  // namespace NSQuillet
