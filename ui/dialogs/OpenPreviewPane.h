#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

#include "app/opening/FilePreview.h"
#include "app/opening/FilePreviewWorker.h"
#include "engine/WavePlayerListener.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace NSQuillet {

class CWavePlayer;

// The Open dialog's preview pane: "File Information" and "Quillet Information" of the
// selected file, read by a worker thread (CFilePreviewWorker) so that the dialog never waits
// for a file, Play, Stop and Auto Play (the preference), and the two message lines saying why a
// file cannot be previewed. A result that arrives after the selection moved on is dropped.
// User-interface thread.
class CQuilletOpenPreviewPane final : public QWidget, private IWavePlayerListener {
    Q_OBJECT
public:
    enum EField {
        kType,
        kChannels,
        kLength,
        kBits,
        kFreq,
        kSize,
        kTempo,
        kSign,
        kLoopLength,
        kUsage,
        kSlices,
        kExportSize,
        kFieldCount,
    };

    // Previews play through `player` (not owned, outlives the pane); null: Play stays off.
    explicit CQuilletOpenPreviewPane(CWavePlayer* player, QWidget* parent = nullptr);
    // Stops its preview and waits for the worker.
    ~CQuilletOpenPreviewPane() override;

    // The file selected now: the fields go back to "n/a", a preview playing stops and the file
    // is read; with Auto Play on it plays once read, unless it is too long or cannot be
    // previewed. "" or a folder: nothing is read. The same path again changes nothing.
    void ShowFile(const QString& path);
    // Stops the preview if it plays, and one being read will not start.
    void StopPreview();

    const QString& GetShownPath() const { return fShownPath; }
    bool IsPreviewPlaying() const { return fPlaying; }
    QLabel* GetValueField(EField field) const { return fValues[size_t(field)]; }
    QLabel* GetMessageLine(int line) const { return fMessage[size_t(line)]; }
    QPushButton* GetPlayButton() const { return fPlayButton; }
    QPushButton* GetStopButton() const { return fStopButton; }
    QCheckBox* GetAutoPlayCheckBox() const { return fAutoPlayCheckBox; }

signals:
    // The fields show the information of `path`.
    void informationShown(const QString& path);
    // The preview of the shown file started playing.
    void previewStarted();

private:
    void WavePlayerStarted() override;
    void WavePlayerStopped() override;

    bool IsAutoPlayOn() const;
    void SetAutoPlay(bool on);
    void Deliver(CFilePreviewWorker::SResult& result);
    void ShowInformation(const SShownFileInfo& info);
    void ShowReason(int32_t reason);
    void ClearFields();
    void Play();
    void StartPreview();
    void UpdateButtons();

    CWavePlayer* fPlayer;
    std::array<QLabel*, kFieldCount> fValues{};
    std::array<QLabel*, 2> fMessage{};
    QPushButton* fPlayButton;
    QPushButton* fStopButton;
    QCheckBox* fAutoPlayCheckBox;
    QTimer* fIdleTimer;
    // Auto Play without preferences (not started).
    bool fAutoPlayWithoutPreferences;
    QString fShownPath;
    uint64_t fGeneration = 0;
    int32_t fReason = NSPreviewReason::kNone;
    bool fInformationShown = false;
    // Play as soon as the preview of the shown file is read.
    bool fPlayWanted = false;
    bool fPlaying = false;
    // The shown file's preview once read; the player is stopped before it goes.
    std::unique_ptr<CFilePreview> fPreview;
    // Last: gone first, so that nothing is delivered to a pane being destroyed.
    std::unique_ptr<CFilePreviewWorker> fWorker;
};

}  // namespace NSQuillet
