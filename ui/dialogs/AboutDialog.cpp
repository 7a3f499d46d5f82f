#include "ui/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/Version.h"

namespace NSQuillet {

namespace {

QLabel* PlainLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(QString::fromStdString(StringReference(NSStringIds::kAboutMenuTitle).GetText()).remove(QChar(0x2026)));

    QLabel* name = PlainLabel(StringReference(NSStringIds::kProgramName).GetText(), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setObjectName("name");
    QLabel* version = PlainLabel(kProgramVersion, this);
    version->setObjectName("version");
    QLabel* line = PlainLabel(StringReference(NSStringIds::kAboutLine).GetText(), this);
    QLabel* company = PlainLabel(StringReference(NSStringIds::kCompanyName).GetText(), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(line);
    layout->addWidget(company);
    layout->addWidget(buttons);
}

}  // namespace NSQuillet
