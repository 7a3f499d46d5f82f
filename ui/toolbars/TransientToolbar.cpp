#include "ui/toolbars/TransientToolbar.h"

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

CTransientToolbar::CTransientToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kTransientShaper, NSQuilletSkin::kTransientShaperLogoPictureId,
                        {EToolbarKnob::kShaperThreshold,
                         EToolbarKnob::kShaperRatio,
                         EToolbarKnob::kShaperAttack,
                         EToolbarKnob::kShaperRelease}) {
    setObjectName("CTransientToolbar");
    Refresh();
}

}  // namespace NSQuillet
