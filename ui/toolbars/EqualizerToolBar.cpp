#include "ui/toolbars/EqualizerToolBar.h"

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

namespace {
using K = EToolbarKnob;
}  // namespace

CEqualizerToolBar::CEqualizerToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kEqualizer, NSQuilletSkin::kEqualizerLogoPictureId,
                        {K::kLowCut, K::kLowFrequency, K::kLowGain, K::kLowQ, K::kHighFrequency, K::kHighGain,
                         K::kHighQ, K::kHighCut}) {
    setObjectName("CEqualizerToolBar");
    Refresh();
}

}  // namespace NSQuillet
