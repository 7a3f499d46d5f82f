#include "ui/application/EditorApplication.h"

#include "app/operations/LengthyOperationUI.h"
#include "app/resources/Alert.h"
#include "engine/AudioCardManager.h"
#include "engine/WavePlayer.h"
#include "foundation/Diagnostics.h"
#include "ui/application/EditorWindows.h"
#include "ui/clipboard/LoopClipboard.h"

namespace NSQuillet {

namespace {

constexpr int kAudioIdleIntervalMs = 20;

}  // namespace

CEditorApplication::CEditorApplication()
    : fApplication(fShell, CAudioCardManager::Get(), CWavePlayer::Get(), GetDefaultHelpAddresses()) {
    fShell.SetPreviewPlayer(&CWavePlayer::Get());
    SetAlertPresenter(&fAlerts);
    NSCourier::SetLengthyOperationUI(&fProgress);
    fShell.SetAudioCardManager(&CAudioCardManager::Get());
    UseEditorWindows(fShell, fApplication);
    fAudioIdle.setInterval(kAudioIdleIntervalMs);
    QObject::connect(&fAudioIdle, &QTimer::timeout, &fAudioIdle, [this] { fApplication.AudioIdle(); });
    fAudioIdle.start();
}

CEditorApplication::~CEditorApplication() {
    fAudioIdle.stop();
    fShell.CloseDialogs();
    fApplication.Stop();
    NSMishap::RunReportingFailure("removing the loop's transfer files", [] { RemoveLoopTransferFiles(); });
    NSCourier::SetLengthyOperationUI(nullptr);
    SetAlertPresenter(nullptr);
}

}  // namespace NSQuillet
