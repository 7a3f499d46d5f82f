#include "ui/dialogs/LoopInformationDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/logic/LoopInformationTexts.h"

namespace NSQuillet {

namespace {

QLabel* Line(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

CLoopInformationDialog::CLoopInformationDialog(const CQuilletDocument& document, QWidget* parent) : QDialog(parent) {
    PrepareModalDialog(*this, DialogText(NSStringIds::kLoopInformationTitle));
    const SLoopInformationTexts texts = MakeLoopInformationTexts(CaptureLoopInformation(document));
    fTitle = Line(texts.fTitle, this);
    QFont bold = fTitle->font();
    bold.setBold(true);
    fTitle->setFont(bold);
    // A long name wraps instead of widening the dialog past the screen.
    fTitle->setWordWrap(true);
    fTitle->setMaximumWidth(fTitle->fontMetrics().averageCharWidth() * 60);
    fSampleFormat = Line(texts.fSampleFormat, this);
    fLoopLength = Line(texts.fLoopLength, this);

    auto* buttons = new QDialogButtonBox(this);
    fOKButton =
        buttons->addButton(QString::fromStdString(FrameworkStringReference(NSFrameworkStringIds::kOK).GetText()),
                           QDialogButtonBox::AcceptRole);
    fOKButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fTitle);
    layout->addSpacing(6);
    layout->addWidget(fSampleFormat);
    layout->addWidget(fLoopLength);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace NSQuillet
