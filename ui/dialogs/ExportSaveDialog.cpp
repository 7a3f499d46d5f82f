#include "ui/dialogs/ExportSaveDialog.h"

#include <QStringList>

#include "app/resources/StringIds.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/logic/DialogStartFolder.h"

namespace NSQuillet {

CExportSaveDialog::CExportSaveDialog(const std::string& folder, const std::string& proposedName,
                                     EExportFormat proposedFormat, QWidget* parent)
    : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
    setWindowTitle(DialogText(NSStringIds::kExportSound));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const SExportFileType& type : GetExportFileTypes()) filters << QString::fromStdString(type.fFilter);
    setNameFilters(filters);
    selectNameFilter(QString::fromStdString(GetExportFileType(proposedFormat).fFilter));
    const std::string start = DialogStartFolder(folder);
    if (!start.empty()) setDirectory(QString::fromStdString(start));
    selectFile(QString::fromStdString(proposedName));
}

EExportFormat CExportSaveDialog::GetChosenFormat() const {
    const std::string filter = selectedNameFilter().toStdString();
    for (const SExportFileType& type : GetExportFileTypes())
        if (type.fFilter == filter) return type.fFormat;
    return GetExportFileTypes().front().fFormat;
}

std::optional<SExportTarget> CExportSaveDialog::GetTarget() const {
    const QStringList files = selectedFiles();
    if (files.size() != 1 || files.front().isEmpty()) return std::nullopt;
    const EExportFormat format = GetChosenFormat();
    return SExportTarget{ExportPathWithExtension(files.front().toStdString(), format), format};
}

std::optional<SExportTarget> CExportSaveDialog::Ask(QWidget* parent, const std::string& folder,
                                                    const std::string& proposedName, EExportFormat proposedFormat) {
    CExportSaveDialog dialog(folder, proposedName, proposedFormat, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetTarget();
}

}  // namespace NSQuillet
