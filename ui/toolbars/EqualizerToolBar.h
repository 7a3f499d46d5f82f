#pragma once

#include "ui/toolbars/ABCEffectToolbar.h"

namespace NSQuillet {

// The toolbar of the preview equalizer: low cut, the low and high bands (frequency, gain, Q)
// and high cut. User-interface thread.
class CEqualizerToolBar final : public CABCEffectToolbar {
    Q_OBJECT

public:
    CEqualizerToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);
};

}  // namespace NSQuillet
