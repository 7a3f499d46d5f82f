#pragma once

#include <array>
#include <cstdint>

#include "ui/logic/toolbars/ToolbarControlRules.h"
#include "ui/toolbars/ABCToolbar.h"

class QButtonGroup;
class QComboBox;

namespace NSQuillet {

class CToolbarPictureButton;
class CToolbarTextField;

// The first toolbar: the edit tools, the preview toggle, the transport, the loop length (bars
// and beats), the time signature and the horizontal ruler's units. User-interface thread.
class CWinTopToolBar final : public CABCToolbar {
    Q_OBJECT

public:
    CWinTopToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);

    void Refresh() override;

    // Arrow, mute, lock, pen; one of them is on: the document's tool.
    QButtonGroup& GetToolsButtonGroup() { return *fToolsButtonGroup; }
    CToolbarPictureButton& GetToolButton(int32_t button) { return *fToolButtons[size_t(button)]; }
    CToolbarPictureButton& GetPreviewPlayButton() { return *fPreviewPlayButton; }
    // Stop, play loop, play previous slice, play current slice, play current slice and move to
    // next; one of them is on: the document's play mode.
    QButtonGroup& GetTransportButtonsButtonGroup() { return *fTransportButtonsButtonGroup; }
    CToolbarPictureButton& GetTransportButton(int32_t button) { return *fTransportButtons[size_t(button)]; }
    CToolbarTextField& GetBarsTextEdit() { return *fBarsTextEdit; }
    QComboBox& GetBeatsPopup() { return *fBeatsPopup; }
    QComboBox& GetTimeSignaturePopup() { return *fTimeSignaturePopup; }
    QComboBox& GetRulerUnitsPopup() { return *fRulerUnitsPopup; }

private:
    void TakeBars(const QString& text);
    void ShowBars();
    void ChooseBeats(int32_t item);
    void ChooseTimeSignature(int32_t item);
    void ChooseRulerUnits(int32_t item);
    void ShowTimeSignature(STimeSignature signature);
    void ShowRulerUnits();

    QButtonGroup* fToolsButtonGroup = nullptr;
    std::array<CToolbarPictureButton*, kToolButtonCount> fToolButtons{};
    CToolbarPictureButton* fPreviewPlayButton = nullptr;
    QButtonGroup* fTransportButtonsButtonGroup = nullptr;
    std::array<CToolbarPictureButton*, kTransportButtonCount> fTransportButtons{};
    CToolbarTextField* fBarsTextEdit = nullptr;
    QComboBox* fBeatsPopup = nullptr;
    QComboBox* fTimeSignaturePopup = nullptr;
    QComboBox* fRulerUnitsPopup = nullptr;
    // The popup's own items; a signature it does not offer is shown as one more item.
    int32_t fTimeSignatureItemCount = 0;
};

}  // namespace NSQuillet
