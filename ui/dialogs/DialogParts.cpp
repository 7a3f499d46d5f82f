#include "ui/dialogs/DialogParts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

namespace {

template <typename TValue>
void Fill(QComboBox& popup, const SChoiceList<TValue>& choices, const std::function<std::string(TValue)>& text) {
    popup.clear();
    for (const TValue value : choices.fValues)
        popup.addItem(QString::fromStdString(text(value)), QVariant::fromValue(value));
    popup.setCurrentIndex(choices.fValues.empty() ? -1 : int(choices.fSelected));
}

}  // namespace

QString DialogText(int32_t entry) { return QString::fromStdString(StringReference(entry).GetText()); }

void FillChoicePopup(QComboBox& popup, const SChoiceList<uint32_t>& choices,
                     const std::function<std::string(uint32_t)>& text) {
    Fill(popup, choices, text);
}

void FillChoicePopup(QComboBox& popup, const SChoiceList<int32_t>& choices,
                     const std::function<std::string(int32_t)>& text) {
    Fill(popup, choices, text);
}

SOKCancelButtons AddOKCancelButtons(QDialog& dialog, QBoxLayout& layout) {
    auto* box = new QDialogButtonBox(&dialog);
    SOKCancelButtons buttons;
    buttons.fOK = box->addButton(QString::fromStdString(FrameworkStringReference(NSFrameworkStringIds::kOK).GetText()),
                                 QDialogButtonBox::AcceptRole);
    buttons.fCancel =
        box->addButton(QString::fromStdString(FrameworkStringReference(NSFrameworkStringIds::kCancel).GetText()),
                       QDialogButtonBox::RejectRole);
    buttons.fOK->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addSpacing(6);
    layout.addWidget(box);
    return buttons;
}

void PrepareModalDialog(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(dialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    dialog.setModal(true);
}

}  // namespace NSQuillet
