#pragma once

#include "ui/toolbars/ABCEffectToolbar.h"

namespace NSQuillet {

// The toolbar of the envelope the preview's slice voices are shaped by: attack, decay and
// stretch. User-interface thread.
class CEnvelopeToolbar final : public CABCEffectToolbar {
    Q_OBJECT

public:
    CEnvelopeToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);
};

}  // namespace NSQuillet
