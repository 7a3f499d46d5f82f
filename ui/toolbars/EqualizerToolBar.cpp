#include "ui/toolbars/EqualizerToolBar.h"

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

CEqualizerToolBar::CEqualizerToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kEqualizer, NSQuilletSkin::kEqualizerLogoPictureId,
                        {EToolbarKnob::kLowCut,
                         EToolbarKnob::kLowFrequency,
                         EToolbarKnob::kLowGain,
                         EToolbarKnob::kLowQ,
                         EToolbarKnob::kHighFrequency,
                         EToolbarKnob::kHighGain,
                         EToolbarKnob::kHighQ,
                         EToolbarKnob::kHighCut}) {
    setObjectName("CEqualizerToolBar");
    Refresh();
}

}  // namespace NSQuillet
