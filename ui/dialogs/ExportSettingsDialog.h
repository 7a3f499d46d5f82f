#pragma once

#include <QDialog>

#include <optional>

#include "app/export/ExportFlow.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace NSQuillet {

// "Export Settings": the sample rates and bit depths the chosen export format offers, starting
// at the proposed ones (ExportSettingsChoices), and "Export MIDI File with Same Name".
// User-interface thread.
class CExportSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    CExportSettingsDialog(const CABCExportFileFormat& format, const SExportSettings& proposed,
                          QWidget* parent = nullptr);

    // The settings the controls show.
    SExportSettings GetSettings() const;

    QComboBox* GetSampleRatePopup() const { return fSampleRates; }
    QComboBox* GetBitDepthPopup() const { return fBitDepths; }
    QCheckBox* GetMIDIFileCheckBox() const { return fMIDIFile; }
    QPushButton* GetOKButton() const { return fOKButton; }
    QPushButton* GetCancelButton() const { return fCancelButton; }

private:
    QComboBox* fSampleRates;
    QComboBox* fBitDepths;
    QCheckBox* fMIDIFile;
    QPushButton* fOKButton = nullptr;
    QPushButton* fCancelButton = nullptr;
};

// The export flow's dialogs in the editor: Export Settings, modal over `parent`.
class CDialogExportDialogs final : public IExportDialogs {
public:
    explicit CDialogExportDialogs(QWidget* parent) : fParent(parent) {}
    std::optional<SExportSettings> AskExportSettings(const CABCExportFileFormat& format,
                                                     const SExportSettings& proposed) override;

private:
    QWidget* fParent;
};

}  // namespace NSQuillet
