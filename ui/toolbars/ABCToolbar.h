#pragma once

#include <QFrame>

#include <functional>
#include <vector>

#include "app/document/DocumentListener.h"
#include "ui/logic/toolbars/ToolbarKnobParameters.h"
#include "ui/logic/toolbars/ToolbarKnobs.h"
#include "ui/toolbars/QuilletKnobView.h"

class QBoxLayout;
class QLabel;

namespace NSQuillet {

class CQuilletDocument;
class CToolbarKnobGroup;
class IToolbarHost;

// What the five toolbars share: each listens to the document and refreshes all its controls
// when it reports a change, runs its controls' document work through the window's command
// runner, and turns each knob gesture into one undo step named after the knob (value changed
// sets the parameter in the pending step, end change closes it). User-interface thread.
class CABCToolbar : public QFrame, protected IDocumentListener, protected IQuilletKnobViewHandler {
    Q_OBJECT

public:
    // Both outlive the toolbar. Listens to the document from construction on.
    CABCToolbar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent);
    ~CABCToolbar() override;

    // Reads every parameter the toolbar shows and sets its controls; a control is touched
    // only where what it shows changes.
    virtual void Refresh() = 0;

    // The knob groups in their order on the toolbar.
    const std::vector<CToolbarKnobGroup*>& GetKnobGroups() const { return fKnobs; }
    CToolbarKnobGroup* FindKnobGroup(EToolbarKnob knob) const;

protected:
    CQuilletDocument& GetDocument() { return fDocument; }
    IToolbarHost& GetHost() { return fHost; }
    // Runs document work; a failure is shown, and the toolbar shows the document again.
    void Run(const std::function<void()>& work);

    // Controls the subclasses place on their row.
    CToolbarKnobGroup* AddKnob(QBoxLayout& layout, EToolbarKnob knob);
    QLabel* AddLabel(QBoxLayout& layout, int32_t textEntry);
    void AddSeparator(QBoxLayout& layout);
    // The row of controls, with the toolbar's margins.
    QBoxLayout& GetRow() { return *fRow; }

    // The knobs' values as the document holds them.
    void ShowKnobValues(const SKnobParameters& parameters);

    // IQuilletKnobViewHandler
    void BeginChange(CQuilletKnobView& knob) override;
    void ValueChanged(CQuilletKnobView& knob, int32_t value) override;
    void EndChange(CQuilletKnobView& knob) override;

    // IDocumentListener: every kind of change but the title's and the undo history's alone.
    void OnParametersChanged() override { Refresh(); }
    void OnSlicesChanged() override { Refresh(); }
    void OnWaveSampleChanged() override { Refresh(); }
    void OnViewAndEditAttributesChanged() override { Refresh(); }
    void OnUndoHistoryChanged() override {}
    void OnTitleChanged() override {}
    void OnPlaybackStateChanged() override { Refresh(); }

    void paintEvent(QPaintEvent* event) override;

private:
    CToolbarKnobGroup* GroupOf(const CQuilletKnobView& knob) const;

    CQuilletDocument& fDocument;
    IToolbarHost& fHost;
    QBoxLayout* fRow = nullptr;
    std::vector<CToolbarKnobGroup*> fKnobs;
};

// Sets `widget`'s enabled state only when it differs.
void SetEnabledIfChanged(QWidget& widget, bool enabled);

}  // namespace NSQuillet
