#include "ui/dialogs/PreferencesDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

#include "app/application/Quillet.h"
#include "app/preferences/Preferences.h"
#include "app/resources/MenuIds.h"
#include "app/preferences/PreferencesAccess.h"
#include "tests/app/application/ApplicationTestSupport.h"
#include "tests/app/preferences/PreferencesTestSupport.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/SteppedAudioOutput.h"
#include "ui/application/QuilletApplicationShell.h"
#include "ui/dialogs/AudioPreferencesPage.h"
#include "ui/dialogs/SelectActiveChannelsDialog.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CScriptedKit;

// The driver popup's line of `device`, -1 when it lists none.
int DriverEntry(const CAudioPreferencesPage& page, const QString& device) {
    for (int i = 0; i < page.GetDriverPopup()->count(); ++i) {
        const bool choosable = page.GetDriverPopup()->model()->flags(page.GetDriverPopup()->model()->index(i, 0)) & Qt::ItemIsEnabled;
        if (choosable && page.GetDriverPopup()->itemText(i) == device) return i;
    }
    return -1;
}

// Picks a popup's line as the user does.
void Pick(QComboBox* popup, int index) {
    ASSERT_GE(index, 0);
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

float LoudestOf(const std::vector<float>& samples) {
    float loudest = 0.0f;
    for (float value : samples) loudest = std::max(loudest, std::fabs(value));
    return loudest;
}

TEST(PreferencesDialog, AGeneralBoxChangesThePreferenceAtOnceAndSurvivesARestart) {
    NSQuilletTest::CPreferencesHome home;
    CScriptedAlertPresenter alerts;
    CQuilletApplicationShell shell;
    {
        CScriptedKit kit;
        CAudioCardManager manager(&kit);
        CWavePlayer player(manager);
        shell.SetAudioCardManager(&manager);
        CQuillet application(shell, manager, player, NSQuilletTest::TestHelpAddresses());
        application.Start();
        application.DoApplicationCommand(NSCommandIds::kPreferences);
        CQuilletPreferencesDialog* dialog = shell.GetPreferencesDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(dialog->isModal());
        dialog->hide();
        application.DoApplicationCommand(NSCommandIds::kPreferences);
        EXPECT_EQ(shell.GetPreferencesDialog(), dialog) << "one instance, brought to the front";
        EXPECT_TRUE(dialog->isVisible());
        QTest::mouseClick(dialog->GetViewStereoAsSumCheckBox(), Qt::LeftButton);
        EXPECT_TRUE(GetPreferences()->GetViewStereoFilesAsSumOfLR()) << "at once";
        // The device chosen on the Audio page is stored with the preferences as well.
        dialog->GetPages()->setCurrentWidget(dialog->GetAudioPage());
        Pick(dialog->GetAudioPage()->GetDriverPopup(), DriverEntry(*dialog->GetAudioPage(), "Server"));
        EXPECT_EQ(manager.GetDevice().fName, "Server");
        shell.CloseDialogs();
        application.Stop();
        shell.SetAudioCardManager(nullptr);
    }
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CWavePlayer player(manager);
    CQuillet application(shell, manager, player, NSQuilletTest::TestHelpAddresses());
    application.Start();
    EXPECT_FALSE(application.IsFirstRun());
    ASSERT_NE(GetPreferences(), nullptr);
    EXPECT_TRUE(GetPreferences()->GetViewStereoFilesAsSumOfLR());
    EXPECT_FALSE(GetPreferences()->GetDefaultBarsToOne());
    EXPECT_EQ(manager.GetDevice().fName, "Server");
    shell.ShowPreferences();
    EXPECT_TRUE(shell.GetPreferencesDialog()->GetViewStereoAsSumCheckBox()->isChecked());
    shell.CloseDialogs();
    application.Stop();
    EXPECT_TRUE(alerts.GetShown().empty());
}

// The dialog on a stepped audio output whose card is the scripted "Server", with the scripted
// machine's JACK server, studio interface and Null Output, and a demo loop playing through it.
class AudioPage : public ::testing::Test {
protected:
    AudioPage() {
        fOutput.fKit.OfferMoreHostApis();
        fDocument = NSQuilletTest::MakeDemoLoopDocument(2, fOutput.Settings());
        fDialog = std::make_unique<CQuilletPreferencesDialog>(&fOutput.fManager);
        fDialog->show();
        fDialog->GetPages()->setCurrentWidget(fDialog->GetAudioPage());
        QApplication::processEvents();
    }
    ~AudioPage() override {
        fDialog.reset();
        fOutput.Close();
    }

    CAudioPreferencesPage& Page() const { return *fDialog->GetAudioPage(); }
    // The loop plays and sounds: loud pieces come out and the play position moves.
    bool LoopPlays() {
        fDocument->PlayLoop();
        if (!fDocument->IsPlaying()) return false;
        const int32_t before = fDocument->GetPlayPosition();
        fOutput.fRecording.clear();
        fOutput.RenderPieces(40);
        const bool sounds = LoudestOf(fOutput.fRecording) > 0.05f && fDocument->GetPlayPosition() != before;
        // The stop waits for the audio thread to serve it, which the test plays meanwhile.
        std::atomic<bool> stopping{true};
        std::thread audio([&] {
            float left[256], right[256];
            float* channels[2] = {left, right};
            while (stopping.load()) {
                fOutput.fManager.GetRenderer().Render(256, channels, 2);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        fDocument->StopOrRewind();
        stopping.store(false);
        audio.join();
        return sounds;
    }

    NSQuilletTest::SSteppedAudioOutput fOutput;
    std::unique_ptr<CQuilletDocument> fDocument;
    std::unique_ptr<CQuilletPreferencesDialog> fDialog;
};

TEST_F(AudioPage, ShowsTheOpenDeviceWithTheLabelsAndTexts) {
    EXPECT_EQ(fDialog->GetPages()->tabText(1), "Audio");
    QStringList labels;
    for (QLabel* label : Page().findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"Audio Card Driver:", "Sample Rate:", "Buffer Size:", "Output Latency:", "Active Channels:",
                             "Clock Source:", "512 samples", "23.2 ms", "2 out of 2"})
        EXPECT_TRUE(labels.contains(text)) << text;
    EXPECT_EQ(Page().GetChannelsButton()->text(), "Channels...");
    EXPECT_EQ(Page().GetControlPanelButton()->text(), "Control Panel...");
    EXPECT_EQ(Page().GetDriverPopup()->currentText(), "Server");
    EXPECT_EQ(Page().GetStatePictureId(), kDriverWorkingPicture);
    EXPECT_FALSE(Page().GetStatePicture()->pixmap().isNull());
    EXPECT_EQ(Page().GetRatePopup()->currentText(), "44100 Hz");
    EXPECT_EQ(Page().GetRatePopup()->count(), 2);
    EXPECT_FALSE(Page().GetControlPanelButton()->isEnabled()) << "ALSA has no control panel";
    EXPECT_FALSE(Page().GetClockSourcePopup()->isEnabled());
    EXPECT_GE(DriverEntry(Page(), "Null Output"), 0) << "the Null Output is listed";
    EXPECT_EQ(DriverEntry(Page(), "ALSA"), -1) << "a host API's line is not choosable";
}

TEST_F(AudioPage, ListsTheNullOutputAndSwitchingToItKeepsPlaybackWorking) {
    ASSERT_TRUE(LoopPlays());
    Pick(Page().GetDriverPopup(), DriverEntry(Page(), "Null Output"));
    EXPECT_TRUE(fOutput.fManager.GetDevice().fIsNullOutput);
    EXPECT_EQ(Page().GetDriverPopup()->currentText(), "Null Output");
    EXPECT_EQ(Page().GetStatePictureId(), kDriverWorkingPicture);
    EXPECT_EQ(Page().GetChannelsText()->text(), "2 out of 8");
    EXPECT_TRUE(fDocument->CanPlay());
    EXPECT_TRUE(LoopPlays());
}

TEST_F(AudioPage, AFailingDeviceShowsItsAlertAndTheNotWorkingPictureWhileTheLoopStillPlays) {
    CScriptedAlertPresenter alerts;
    Pick(Page().GetDriverPopup(), DriverEntry(Page(), "Busy"));
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fHeading, "The audio device “Busy” could not be opened.");
    EXPECT_EQ(Page().GetStatePictureId(), kDriverNotWorkingPicture);
    EXPECT_EQ(Page().GetDriverPopup()->currentText(), "Busy");
    EXPECT_FALSE(Page().GetRatePopup()->isEnabled());
    EXPECT_FALSE(Page().GetBufferSlider()->isEnabled());
    EXPECT_FALSE(Page().GetChannelsButton()->isEnabled());
    EXPECT_TRUE(LoopPlays()) << "the Null Output plays in the busy device's place";
}

TEST_F(AudioPage, TheRateSliderAndArrowsApplyEachChangeAtOnce) {
    Pick(Page().GetRatePopup(), 1);
    EXPECT_EQ(fOutput.fManager.GetOutputRate(), 48000u);
    QTest::mouseClick(Page().GetBufferUpArrow(), Qt::LeftButton);
    EXPECT_EQ(fOutput.fManager.GetSettings().fBufferFrames, 1024);
    EXPECT_EQ(Page().GetBufferText()->text(), "1024 samples");
    QTest::mouseClick(Page().GetBufferDownArrow(), Qt::LeftButton);
    QTest::mouseClick(Page().GetBufferDownArrow(), Qt::LeftButton);
    EXPECT_EQ(fOutput.fManager.GetSettings().fBufferFrames, 256);
    Page().GetBufferSlider()->setFocus();
    QTest::keyClick(Page().GetBufferSlider(), Qt::Key_Home);
    EXPECT_EQ(fOutput.fManager.GetSettings().fBufferFrames, 16);
    EXPECT_FALSE(Page().GetBufferDownArrow()->isEnabled());
    // 2 × 16 / 48000 s.
    EXPECT_EQ(Page().GetLatencyText()->text(), "0.7 ms");

    Pick(Page().GetDriverPopup(), DriverEntry(Page(), "system"));
    EXPECT_EQ(Page().GetRatePopup()->currentText(), "48000 Hz");
    EXPECT_FALSE(Page().GetRatePopup()->isEnabled()) << "a JACK server's own rate only";
    EXPECT_EQ(Page().GetBufferText()->text(), "256 samples");
    EXPECT_FALSE(Page().GetBufferSlider()->isEnabled());
    EXPECT_FALSE(Page().GetBufferUpArrow()->isEnabled());
}

TEST_F(AudioPage, SelectActiveChannelsAppliesOnOKAndLeavesOnCancel) {
    Pick(Page().GetDriverPopup(), DriverEntry(Page(), "Multichannel Interface"));
    ASSERT_TRUE(Page().GetControlPanelButton()->isEnabled());
    QTest::mouseClick(Page().GetControlPanelButton(), Qt::LeftButton);
    EXPECT_EQ(fOutput.fKit.fControlPanelOpenings, 1);
    ASSERT_TRUE(Page().GetClockSourcePopup()->isEnabled());
    Pick(Page().GetClockSourcePopup(), 1);
    EXPECT_EQ(fOutput.fManager.GetClockSource(), 1);

    // Runs `answer` on the dialog once it shows.
    const auto answerDialog = [this](std::function<void(CSelectActiveChannelsDialog&)> answer) {
        auto shown = std::make_shared<bool>(false);
        QTimer::singleShot(0, [shown, answer] {
            auto* dialog = qobject_cast<CSelectActiveChannelsDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            *shown = true;
            answer(*dialog);
        });
        QTest::mouseClick(Page().GetChannelsButton(), Qt::LeftButton);
        return *shown;
    };
    EXPECT_TRUE(answerDialog([](CSelectActiveChannelsDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select Active Channels");
        ASSERT_EQ(dialog.GetList()->count(), 8);
        EXPECT_EQ(dialog.GetList()->item(0)->text(), "1 / Left");
        EXPECT_EQ(dialog.GetList()->item(1)->text(), "2 / Right");
        EXPECT_EQ(dialog.GetList()->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(dialog.GetList()->item(2)->checkState(), Qt::Unchecked);
        dialog.GetList()->item(2)->setCheckState(Qt::Checked);
        dialog.GetOKButton()->click();
    }));
    EXPECT_EQ(fOutput.fManager.GetSettings().fActiveChannels, 0b111u);
    EXPECT_EQ(Page().GetChannelsText()->text(), "3 out of 8");

    EXPECT_TRUE(answerDialog([](CSelectActiveChannelsDialog& dialog) {
        for (int row = 0; row < dialog.GetList()->count(); ++row) dialog.GetList()->item(row)->setCheckState(Qt::Unchecked);
        EXPECT_FALSE(dialog.GetOKButton()->isEnabled()) << "at least one channel plays";
        dialog.GetCancelButton()->click();
    }));
    EXPECT_EQ(fOutput.fManager.GetSettings().fActiveChannels, 0b111u);
}

TEST(PreferencesDialog, WithoutAnAudioOutputTheAudioPageIsDisabled) {
    CQuilletPreferencesDialog dialog(nullptr);
    CAudioPreferencesPage& page = *dialog.GetAudioPage();
    EXPECT_EQ(page.GetController(), nullptr);
    for (QWidget* control : std::initializer_list<QWidget*>{page.GetDriverPopup(), page.GetRatePopup(), page.GetBufferSlider(),
                                                            page.GetChannelsButton(), page.GetControlPanelButton(),
                                                            page.GetClockSourcePopup()})
        EXPECT_FALSE(control->isEnabled());
    EXPECT_EQ(page.GetStatePictureId(), kDriverNotWorkingPicture);
}

}  // namespace
}  // namespace NSQuillet
