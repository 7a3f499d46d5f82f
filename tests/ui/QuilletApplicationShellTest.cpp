#include "ui/application/QuilletApplicationShell.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesAccess.h"
#include "foundation/Mishap.h"
#include "foundation/Version.h"
#include "ui/logic/BuildNumber.h"

namespace NSQuillet {
namespace {

TEST(QuilletApplicationShell, ShowsOneAboutBoxWithTheVersion) {
    CQuilletApplicationShell shell;
    shell.ShowAbout();
    QPointer<CAboutDialog> about = shell.GetAboutDialog();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    QStringList texts;
    for (QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(QString("%1 (build %2)").arg(kProgramVersion, kProgramBuild)))
        << texts.join("|").toStdString();
    const QLabel* banner = about->findChild<QLabel*>("banner");
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(banner->pixmap().isNull());
    EXPECT_EQ(banner->accessibleName(), "Quillet");
    EXPECT_EQ(about->windowTitle(), "About Quillet");
    shell.ShowAbout();
    EXPECT_EQ(shell.GetAboutDialog(), about.data());
    about->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(about);
    shell.ShowAbout();
    EXPECT_NE(shell.GetAboutDialog(), nullptr);
}

// The General page's boxes in the dialog's order, each with its preference.
struct SPreferenceBox {
    QCheckBox* (CQuilletPreferencesDialog::*fBox)() const;
    bool (CPreferences::*fGet)() const;
    void (CPreferences::*fSet)(bool);
    const char* fLabel;
};

const SPreferenceBox kBoxes[] = {
    {&CQuilletPreferencesDialog::GetAlwaysMoveLeftLocatorCheckBox, &CPreferences::GetAlwaysMoveLeftLocatorToFirstSlice,
     &CPreferences::SetAlwaysMoveLeftLocatorToFirstSlice, "Always move left locator to first slice point"},
    {&CQuilletPreferencesDialog::GetDefaultBarsToOneCheckBox, &CPreferences::GetDefaultBarsToOne,
     &CPreferences::SetDefaultBarsToOne, "Set \"Bars\" to 1 in new documents"},
    {&CQuilletPreferencesDialog::GetCropToLoopCheckBox, &CPreferences::GetCropToLoopWhenExportingAsOneSample,
     &CPreferences::SetCropToLoopWhenExportingAsOneSample, "Export as one sample will crop to loop"},
    {&CQuilletPreferencesDialog::GetViewStereoAsSumCheckBox, &CPreferences::GetViewStereoFilesAsSumOfLR,
     &CPreferences::SetViewStereoFilesAsSumOfLR, "View stereo files as sum of L+R"},
};

TEST(QuilletApplicationShell, PreferencesBoxesChangeAndFollowThePreferences) {
    CPreferences preferences;
    SetPreferences(&preferences);
    CQuilletApplicationShell shell;
    shell.ShowPreferences();
    CQuilletPreferencesDialog* dialog = shell.GetPreferencesDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->isModal());
    shell.ShowPreferences();
    EXPECT_EQ(shell.GetPreferencesDialog(), dialog);

    for (const SPreferenceBox& entry : kBoxes) {
        QCheckBox* box = (dialog->*entry.fBox)();
        EXPECT_EQ(box->text(), entry.fLabel);
        EXPECT_TRUE(box->isEnabled());
        EXPECT_FALSE(box->isChecked()) << entry.fLabel;  // all four default to off
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_TRUE((preferences.*entry.fGet)()) << entry.fLabel;
        (preferences.*entry.fSet)(false);
        EXPECT_FALSE(box->isChecked()) << entry.fLabel;
    }
    EXPECT_TRUE(preferences.IsChanged());
    shell.CloseDialogs();
    SetPreferences(nullptr);
}

TEST(QuilletApplicationShell, PreferencesBoxesAreDisabledWithoutPreferences) {
    SetPreferences(nullptr);
    CQuilletApplicationShell shell;
    shell.ShowPreferences();
    for (const SPreferenceBox& entry : kBoxes) EXPECT_FALSE((shell.GetPreferencesDialog()->*entry.fBox)()->isEnabled());
}

TEST(QuilletApplicationShell, PreferencesGoneBeforeTheDialogAreLeftAlone) {
    CQuilletApplicationShell shell;
    {
        CPreferences preferences;
        SetPreferences(&preferences);
        shell.ShowPreferences();
    }
    QTest::mouseClick(shell.GetPreferencesDialog()->GetDefaultBarsToOneCheckBox(), Qt::LeftButton);
    shell.CloseDialogs();
    EXPECT_EQ(shell.GetPreferencesDialog(), nullptr);
}

TEST(QuilletApplicationShell, CreatesWindowsOnlyThroughItsFactory) {
    CQuilletApplicationShell shell;
    EXPECT_THROW(shell.CreateDocumentWindow(nullptr), NSMishap::XIllegalCallSequence);
    int made = 0;
    shell.SetWindowFactory([&](std::shared_ptr<CQuilletDocument>) -> IDocumentWindow* {
        ++made;
        return nullptr;
    });
    shell.CreateDocumentWindow(nullptr);
    EXPECT_EQ(made, 1);
}

TEST(QuilletApplicationShell, RefusesAWebAddressThatIsNotOne) {
    CQuilletApplicationShell shell;
    EXPECT_FALSE(shell.OpenWebPage(""));
    EXPECT_FALSE(shell.OpenWebPage("not an address"));
}

}  // namespace
}  // namespace NSQuillet
