#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

#include "ui/logic/toolbars/ToolbarKnobs.h"

class QLabel;

namespace NSQuillet {

class CQuilletKnobView;
class IQuilletKnobViewHandler;

// One toolbar knob with its heading above and its value text below: the logarithmic knob
// where its settings say so. The value text keeps the width of the widest text the knob can
// show, so that a turn never moves the toolbar's other controls. User-interface thread.
class CToolbarKnobGroup final : public QWidget {
    Q_OBJECT

public:
    CToolbarKnobGroup(EToolbarKnob knob, IQuilletKnobViewHandler& handler, QWidget* parent = nullptr);

    EToolbarKnob GetKnob() const { return fKnob; }
    CQuilletKnobView& GetView() { return *fView; }
    QLabel& GetHeading() { return *fHeading; }
    QLabel& GetValueLabel() { return *fValueText; }

    // The knob's value (in its own units) and its text; changes nothing when they are shown.
    void ShowValue(int32_t value);

private:
    EToolbarKnob fKnob;
    CQuilletKnobView* fView = nullptr;
    QLabel* fHeading = nullptr;
    QLabel* fValueText = nullptr;
    std::optional<int32_t> fShown;
};

// The toolbars' small type of headings and value texts.
QFont ToolbarSmallFont(const QFont& font);

}  // namespace NSQuillet
