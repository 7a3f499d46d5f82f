#pragma once

#include <QWidget>

#include <memory>

#include "ui/logic/preferences/AudioPageController.h"
#include "ui/waveform/ViewPictures.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QToolButton;

namespace NSQuillet {

class CAudioCardManager;

// The Preferences dialog's Audio page: the audio card driver popup (devices under their host
// APIs) with the driver's state picture, and in a group the sample rate popup, the buffer size
// slider with its "^0 samples" and arrows, the output latency, the active channels with
// "Channels..." (Select Active Channels), "Control Panel..." and the clock source popup.
// Every change goes to the audio output at once (CAudioPageController); the device list is
// read anew when the page is first shown. Without a manager every control is disabled.
class CAudioPreferencesPage final : public QWidget, private IAudioPageView {
    Q_OBJECT
public:
    // `manager` not owned; it outlives the page.
    explicit CAudioPreferencesPage(CAudioCardManager* manager, QWidget* parent = nullptr);
    ~CAudioPreferencesPage() override;

    // Null without a manager.
    CAudioPageController* GetController() const { return fController.get(); }

    QComboBox* GetDriverPopup() const { return fDriverPopup; }
    QLabel* GetStatePicture() const { return fStatePicture; }
    QComboBox* GetRatePopup() const { return fRatePopup; }
    QSlider* GetBufferSlider() const { return fBufferSlider; }
    QLabel* GetBufferText() const { return fBufferText; }
    QToolButton* GetBufferUpArrow() const { return fBufferUp; }
    QToolButton* GetBufferDownArrow() const { return fBufferDown; }
    QLabel* GetLatencyText() const { return fLatencyText; }
    QLabel* GetChannelsText() const { return fChannelsText; }
    QPushButton* GetChannelsButton() const { return fChannelsButton; }
    QPushButton* GetControlPanelButton() const { return fControlPanelButton; }
    QComboBox* GetClockSourcePopup() const { return fClockSourcePopup; }
    // The picture shown: kDriverWorkingPicture or kDriverNotWorkingPicture.
    int32_t GetStatePictureId() const { return fStatePictureId; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowAudioPage(const SAudioPageState& state) override;
    void SelectActiveChannels();

    CViewPictures fPictures;
    QComboBox* fDriverPopup;
    QLabel* fStatePicture;
    QComboBox* fRatePopup;
    QSlider* fBufferSlider;
    QLabel* fBufferText;
    QToolButton* fBufferUp;
    QToolButton* fBufferDown;
    QLabel* fLatencyText;
    QLabel* fChannelsText;
    QPushButton* fChannelsButton;
    QPushButton* fControlPanelButton;
    QComboBox* fClockSourcePopup;
    int32_t fStatePictureId = kDriverNotWorkingPicture;
    bool fScanned = false;
    // Last: it is made once the widgets it shows into exist, and goes before them.
    std::unique_ptr<CAudioPageController> fController;
};

}  // namespace NSQuillet
