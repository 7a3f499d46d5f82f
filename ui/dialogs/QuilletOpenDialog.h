#pragma once

#include <QFileDialog>

#include <optional>
#include <string>

#include "ui/dialogs/OpenPreviewPane.h"

namespace NSQuillet {

class CWavePlayer;

// "Open Audio File": Qt's own file dialog (the system's cannot hold the pane) with the preview
// pane beside the file list, the types the editor opens as filters, one existing file to
// choose. Each file selected is shown in the pane; closing the dialog stops its preview.
// User-interface thread.
class CQuilletOpenDialog final : public QFileDialog {
    Q_OBJECT
public:
    // Starts in `startFolder` ("" for Qt's choice), or in its nearest folder left when it is
    // gone; previews through `player` (may be null).
    CQuilletOpenDialog(const QString& startFolder, CWavePlayer* player, QWidget* parent = nullptr);

    CQuilletOpenPreviewPane* GetPreviewPane() const { return fPane; }

    // Shows the dialog modally; the chosen file's path, none when cancelled.
    static std::optional<std::string> Ask(QWidget* parent, const std::string& startFolder, CWavePlayer* player);

    void done(int result) override;

private:
    void ShowSelection();

    CQuilletOpenPreviewPane* fPane;
};

}  // namespace NSQuillet
