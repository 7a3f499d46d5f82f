#include "ui/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "ui/logic/AboutContents.h"
#include "ui/skin/BitmapFetcher.h"
#include "ui/skin/SkinResources.h"

namespace NSQuillet {

namespace {

constexpr int32_t kAboutBannerPicture = 11001;
constexpr int32_t kAboutStripPicture = 11003;
constexpr int kIconSize = 48;

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString Text(const CResourceReference& reference) { return QString::fromStdString(reference.GetText()); }

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowTitle(Text(StringReference(NSStringIds::kAboutMenuTitle)).remove(QChar(0x2026)));

    // The skin's banner carries the program's name; the strip below closes the box.
    NSQuilletSkin::CSkinBitmapFetcher skin(devicePixelRatioF());
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(skin.FetchBitmap(kAboutBannerPicture));
    banner->setAlignment(Qt::AlignHCenter);
    banner->setAccessibleName(Text(StringReference(NSStringIds::kProgramName)));
    auto* strip = new QLabel(this);
    strip->setPixmap(skin.FetchBitmap(kAboutStripPicture));
    strip->setAlignment(Qt::AlignHCenter);

    fIcon = new QLabel(this);
    fIcon->setPixmap(NSQuilletSkin::GetApplicationIcon().pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
    fIcon->setAlignment(Qt::AlignTop);
    fVersion = PlainLabel(QString::fromStdString(CAboutContents::GetVersionText()), this);
    fVersion->setObjectName("version");
    fVersion->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = fVersion->font();
    bold.setBold(true);
    fVersion->setFont(bold);
    auto* facts = new QVBoxLayout;
    facts->setSpacing(2);
    facts->addWidget(fVersion);
    facts->addWidget(PlainLabel(Text(StringReference(NSStringIds::kAboutLine)), this));
    facts->addWidget(PlainLabel(Text(StringReference(NSStringIds::kCompanyName)), this));
    auto* identity = new QHBoxLayout;
    identity->setSpacing(12);
    identity->addWidget(fIcon);
    identity->addLayout(facts, 1);

    // Name, use and licence of each library in three columns.
    auto* heading = PlainLabel(Text(StringReference(NSStringIds::kAboutLibrariesHeading)), this);
    heading->setFont(bold);
    auto* libraries = new QGridLayout;
    libraries->setHorizontalSpacing(16);
    libraries->setVerticalSpacing(2);
    int row = 0;
    for (const SAboutLibrary& library : CAboutContents::GetLibraries()) {
        libraries->addWidget(PlainLabel(QString::fromStdString(library.fName), this), row, 0);
        libraries->addWidget(PlainLabel(QString::fromStdString(library.fUse), this), row, 1);
        libraries->addWidget(PlainLabel(QString::fromStdString(library.fLicence), this), row, 2);
        ++row;
    }
    libraries->setColumnStretch(2, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close =
        buttons->addButton(Text(FrameworkStringReference(NSFrameworkStringIds::kClose)), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner);
    layout->addSpacing(8);
    layout->addLayout(identity);
    layout->addSpacing(10);
    layout->addWidget(heading);
    layout->addLayout(libraries);
    layout->addSpacing(8);
    layout->addWidget(strip);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace NSQuillet
