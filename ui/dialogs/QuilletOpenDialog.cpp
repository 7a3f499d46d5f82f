#include "ui/dialogs/QuilletOpenDialog.h"

#include <QAbstractItemView>
#include <QFile>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStringList>
#include <QTreeView>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/logic/DialogStartFolder.h"
#include "ui/logic/OpenDialogFilter.h"

namespace NSQuillet {

CQuilletOpenDialog::CQuilletOpenDialog(const QString& startFolder, CWavePlayer* player, QWidget* parent)
    : QFileDialog(parent), fPane(new CQuilletOpenPreviewPane(player)) {
    setOption(QFileDialog::DontUseNativeDialog);
    setWindowTitle(QString::fromStdString(StringReference(NSStringIds::kOpenAudioFile).GetText()));
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    QStringList filters;
    for (const std::string& filter : OpenDialogFilters()) filters << QString::fromStdString(filter);
    setNameFilters(filters);
    const std::string start = DialogStartFolder(startFolder.toStdString());
    if (!start.empty()) setDirectory(QString::fromStdString(start));

    // Qt's dialog lays itself out in a grid: the pane takes a column of its own on the right.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(fPane, 0, grid->columnCount(), grid->rowCount(), 1);
    } else {
        layout()->addWidget(fPane);
    }
    // The detail view's size and date columns as wide as their texts, the name the rest; the
    // system's type column knows none of the loop files, and the pane tells the type.
    if (auto* details = findChild<QTreeView*>("treeView")) {
        details->header()->setStretchLastSection(false);
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        details->setColumnHidden(2, true);
    }
    // Room for the list beside the pane.
    resize(sizeHint().width() + fPane->sizeHint().width(), 480);

    // A click makes a file current; a selection made otherwise (typed, selectFile) only
    // selects it. The list and the detail view share one selection model.
    connect(this, &QFileDialog::currentChanged, this, [this] { ShowSelection(); });
    if (auto* list = findChild<QAbstractItemView*>("listView")) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ShowSelection(); });
    }
}

void CQuilletOpenDialog::ShowSelection() {
    const QStringList files = selectedFiles();
    fPane->ShowFile(files.size() == 1 ? files.front() : QString());
}

void CQuilletOpenDialog::done(int result) {
    fPane->StopPreview();
    QFileDialog::done(result);
}

std::optional<std::string> CQuilletOpenDialog::Ask(QWidget* parent, const std::string& startFolder,
                                                   CWavePlayer* player) {
    CQuilletOpenDialog dialog(QFile::decodeName(QByteArray::fromStdString(startFolder)), player, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.size() != 1) return std::nullopt;
    return QFile::encodeName(files.front()).toStdString();
}

}  // namespace NSQuillet
