#include "ui/toolbars/EnvelopeToolbar.h"

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

CEnvelopeToolbar::CEnvelopeToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kEnvelope, NSQuilletSkin::kEnvelopeLogoPictureId,
                        {EToolbarKnob::kEnvelopeAttack,
                         EToolbarKnob::kEnvelopeDecay,
                         EToolbarKnob::kEnvelopeStretch}) {
    setObjectName("CEnvelopeToolbar");
    Refresh();
}

}  // namespace NSQuillet
