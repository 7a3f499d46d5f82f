#pragma once

#include <QFileDialog>

#include <optional>
#include <string>

#include "ui/logic/ExportFileTypes.h"

namespace NSQuillet {

// "Export Sound": Qt's own save dialog (as the Open dialog) listing the five export types,
// the proposed type's filter selected and the proposed name filled in; choosing another type
// puts its extension on the name. It asks nothing about an existing file: the export asks
// itself, file by file, with Replace and Replace All. User-interface thread.
class CExportSaveDialog final : public QFileDialog {
    Q_OBJECT
public:
    // Starts in DialogStartFolder(`folder`).
    CExportSaveDialog(const std::string& folder, const std::string& proposedName, EExportFormat proposedFormat,
                      QWidget* parent = nullptr);

    // The type whose filter is selected.
    EExportFormat GetChosenFormat() const;
    // The file chosen with the type's extension (ExportPathWithExtension); none before.
    std::optional<SExportTarget> GetTarget() const;

    // Modal over `parent`: the target, none when cancelled.
    static std::optional<SExportTarget> Ask(QWidget* parent, const std::string& folder, const std::string& proposedName,
                                            EExportFormat proposedFormat);
};

}  // namespace NSQuillet
