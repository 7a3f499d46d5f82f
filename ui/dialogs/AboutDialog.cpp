#include "ui/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "foundation/Version.h"
#include "ui/skin/BitmapFetcher.h"

namespace NSQuillet {

namespace {

constexpr int32_t kAboutBannerPicture = 11001;
constexpr int32_t kAboutStripPicture = 11003;

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

    // The skin's banner carries the program's name; the strip below closes the box.
    NSQuilletSkin::CSkinBitmapFetcher skin(devicePixelRatioF());
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(skin.FetchBitmap(kAboutBannerPicture));
    banner->setAlignment(Qt::AlignHCenter);
    banner->setAccessibleName(QString::fromStdString(StringReference(NSStringIds::kProgramName).GetText()));
    auto* strip = new QLabel(this);
    strip->setPixmap(skin.FetchBitmap(kAboutStripPicture));
    strip->setAlignment(Qt::AlignHCenter);
    QLabel* version = PlainLabel(kProgramVersion, this);
    version->setObjectName("version");
    QLabel* line = PlainLabel(StringReference(NSStringIds::kAboutLine).GetText(), this);
    QLabel* company = PlainLabel(StringReference(NSStringIds::kCompanyName).GetText(), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(banner);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(line);
    layout->addWidget(company);
    layout->addWidget(strip);
    layout->addWidget(buttons);
}

}  // namespace NSQuillet
