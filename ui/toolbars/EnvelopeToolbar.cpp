#include "ui/toolbars/EnvelopeToolbar.h"

#include "ui/logic/SkinPictures.h"

namespace NSQuillet {

namespace {
using K = EToolbarKnob;
}  // namespace

CEnvelopeToolbar::CEnvelopeToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent)
    : CABCEffectToolbar(document, host, parent, EPresetEffect::kEnvelope, NSQuilletSkin::kEnvelopeLogoPictureId,
                        {K::kEnvelopeAttack, K::kEnvelopeDecay, K::kEnvelopeStretch}) {
    setObjectName("CEnvelopeToolbar");
    Refresh();
}

}  // namespace NSQuillet
