#include "ui/dialogs/SelectActiveChannelsDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/logic/preferences/AudioPageModel.h"

namespace NSQuillet {

namespace {

// Rows shown without scrolling; more channels scroll.
constexpr int kVisibleRows = 8;

}  // namespace

CSelectActiveChannelsDialog::CSelectActiveChannelsDialog(int32_t channelCount, uint64_t activeChannels, QWidget* parent)
    : QDialog(parent), fList(new QListWidget(this)), fOKButton(nullptr), fCancelButton(nullptr) {
    setWindowTitle(QString::fromStdString(StringReference(NSStringIds::kSelectActiveChannelsTitle).GetText()));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    const int32_t channels = std::clamp(channelCount, 0, 64);
    for (int32_t channel = 0; channel < channels; ++channel) {
        auto* item = new QListWidgetItem(QString::fromStdString(FormatChannelRowText(channel)), fList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(((activeChannels >> channel) & 1u) ? Qt::Checked : Qt::Unchecked);
    }
    fList->setSelectionMode(QAbstractItemView::NoSelection);
    fList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int rowHeight = fList->count() > 0 ? fList->sizeHintForRow(0) : fList->fontMetrics().height() + 4;
    fList->setFixedHeight(rowHeight * kVisibleRows + 2 * fList->frameWidth());
    fList->setMinimumWidth(fList->fontMetrics().horizontalAdvance(QStringLiteral("64 / Right")) * 2 + 48);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    fOKButton = buttons->button(QDialogButtonBox::Ok);
    fCancelButton = buttons->button(QDialogButtonBox::Cancel);
    fCancelButton->setText(QString::fromStdString(FrameworkStringReference(NSFrameworkStringIds::kCancel).GetText()));
    fOKButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(fList, &QListWidget::itemChanged, this, [this] { fOKButton->setEnabled(GetActiveChannels() != 0); });
    fOKButton->setEnabled(GetActiveChannels() != 0);
    // The list gets the focus on a click or Tab; at first no row looks picked.
    fOKButton->setFocus();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fList);
    layout->addWidget(buttons);
}

uint64_t CSelectActiveChannelsDialog::GetActiveChannels() const {
    uint64_t channels = 0;
    for (int row = 0; row < fList->count(); ++row) {
        if (fList->item(row)->checkState() == Qt::Checked) channels |= uint64_t(1) << row;
    }
    return channels;
}

}  // namespace NSQuillet
