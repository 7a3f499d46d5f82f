#include "ui/dialogs/AboutDialog.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "ui/logic/AboutContents.h"

namespace NSQuillet {
namespace {

TEST(AboutDialog, ShowsTheIconTheVersionWithItsBuildAndEachLibraryWithItsLicence) {
    CAboutDialog dialog;
    EXPECT_FALSE(dialog.isModal());
    EXPECT_FALSE(dialog.GetIconLabel()->pixmap().isNull());
    EXPECT_EQ(dialog.GetVersionLabel()->text().toStdString(), CAboutContents::GetVersionText());
    EXPECT_TRUE(dialog.GetVersionLabel()->text().contains(" (build "));
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
    for (const SAboutLibrary& library : CAboutContents::GetLibraries()) {
        EXPECT_TRUE(texts.contains(QString::fromStdString(library.fName))) << library.fName;
        EXPECT_TRUE(texts.contains(QString::fromStdString(library.fLicence))) << library.fName;
    }
}

}  // namespace
}  // namespace NSQuillet
