#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "ui/logic/toolbars/EffectPresets.h"
#include "ui/toolbars/ABCToolbar.h"

class QMenu;
class QToolButton;

namespace NSQuillet {

class CToolbarLogoView;
class CToolbarPictureButton;
struct SToolbarConditions;

// An effect's toolbar: its logo, its on/off switch, its presets menu and its knobs. The knobs
// and the presets are enabled while the document has sound, the preview can play the loop and
// the effect is on; switching the effect on while the preview cannot play shows, as often as
// its counter allows, the note that the effects cannot be heard yet. User-interface thread.
class CABCEffectToolbar : public CABCToolbar {
    Q_OBJECT

public:
    void Refresh() override;

    EPresetEffect GetEffect() const { return fEffect; }
    CToolbarLogoView& GetLogo() { return *fLogo; }
    CToolbarPictureButton& GetOnOffButton() { return *fOnOffButton; }
    QToolButton& GetPresetMenuButton() { return *fPresetMenuButton; }
    QMenu& GetPresetMenu() { return *fPresetMenu; }
    const std::vector<SEffectPreset>& GetPresets() const { return fPresets; }

protected:
    CABCEffectToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent, EPresetEffect effect,
                      int32_t logoPictureId, std::initializer_list<EToolbarKnob> knobs);

private:
    void Toggle();
    void Select(size_t preset);

    EPresetEffect fEffect;
    CToolbarLogoView* fLogo = nullptr;
    CToolbarPictureButton* fOnOffButton = nullptr;
    QToolButton* fPresetMenuButton = nullptr;
    QMenu* fPresetMenu = nullptr;
    std::vector<SEffectPreset> fPresets;
};

}  // namespace NSQuillet
