#pragma once

#include "ui/toolbars/ABCEffectToolbar.h"

namespace NSQuillet {

class CCompressorMeterView;

// The toolbar of the transient shaper: threshold, amount, attack and release, with its
// gain-change meter. User-interface thread.
class CTransientToolbar final : public CABCEffectToolbar {
    Q_OBJECT

public:
    CTransientToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);

    CCompressorMeterView& GetCompressorMeter() { return *fCompressorMeter; }

private:
    CCompressorMeterView* fCompressorMeter = nullptr;
};

}  // namespace NSQuillet
