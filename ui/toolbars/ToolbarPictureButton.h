#pragma once

#include <QAbstractButton>

#include <cstdint>

#include "ui/logic/SkinPictures.h"
#include "ui/waveform/ViewPictures.h"

namespace NSQuillet {

// A toolbar button drawn from the skin's button pictures: normal, pressed (also while it is
// on) and disabled; or an effect's on/off switch, whose two pictures show off and on and which
// is never drawn disabled. Its on state is what the toolbar sets from the document: a click
// only reports itself. Never takes the keyboard focus, so the window's keys keep reaching the
// waveform. User-interface thread.
class CToolbarPictureButton final : public QAbstractButton {
    Q_OBJECT

public:
    CToolbarPictureButton(NSQuilletSkin::EButtonPicture picture, const QString& tooltip, QWidget* parent = nullptr);
    // The effect on/off switch.
    CToolbarPictureButton(const QString& tooltip, QWidget* parent = nullptr);

    bool IsEffectSwitch() const { return fEffectSwitch; }
    // The picture drawn now.
    int32_t GetPictureId() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The toolbar sets the on state from the document, so a click never turns a button on;
    // turning off stays, which the exclusive group uses for the button that was on.
    void nextCheckState() override;

private:
    NSQuilletSkin::EButtonPicture fPicture = NSQuilletSkin::EButtonPicture::kArrowTool;
    bool fEffectSwitch = false;
    CViewPictures fPictures;
};

}  // namespace NSQuillet
