#pragma once

#include <cstdint>
#include <optional>

#include "ui/toolbars/ABCToolbar.h"

class QLabel;
class QSlider;

namespace NSQuillet {

class CToolbarPictureButton;
class CToolbarTextField;

// The second toolbar: Silence Selected, the slicing sensitivity fader and the slice count, the
// gate sensitivity, pitch and processing gain knobs, and the preview tempo (knob and field)
// beside the loop's own tempo. User-interface thread.
class CSecondToolBar final : public CABCToolbar {
    Q_OBJECT

public:
    CSecondToolBar(CQuilletDocument& document, IToolbarHost& host, QWidget* parent = nullptr);

    void Refresh() override;

    CToolbarPictureButton& GetSilenceSelectedToolbarButton() { return *fSilenceSelectedToolbarButton; }
    QSlider& GetSensitivityFader() { return *fSensitivityFader; }
    QLabel& GetSensitivityText() { return *fSensitivityText; }
    QLabel& GetNumSlicesText() { return *fNumSlicesText; }
    CToolbarTextField& GetPreviewTempoTextEdit() { return *fPreviewTempoTextEdit; }
    QLabel& GetOriginalTempoText() { return *fOriginalTempoText; }

private:
    void FaderMoved(int value);
    void TakePreviewTempo(const QString& text);
    void ShowPreviewTempo(int32_t tempo, bool evenWhileTyping);

    CToolbarPictureButton* fSilenceSelectedToolbarButton = nullptr;
    QSlider* fSensitivityFader = nullptr;
    QLabel* fSensitivityText = nullptr;
    QLabel* fNumSlicesText = nullptr;
    CToolbarTextField* fPreviewTempoTextEdit = nullptr;
    QLabel* fOriginalTempoText = nullptr;
    QString fSlicesLabel;
    QString fOriginalLabel;
    std::optional<int32_t> fShownSliceCount;
    std::optional<int32_t> fShownLoopTempo;
    std::optional<int32_t> fFormattedPreviewTempo;
    QString fPreviewTempoText;
};

}  // namespace NSQuillet
